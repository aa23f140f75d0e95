// Asking where to write a file, with the types on offer: a name typed
// without a suffix gets the chosen type's, before the dialog checks whether
// that file already exists (so the question about replacing it is asked for
// the file really written). Plain text types may offer a choice of
// encodings beside the name.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace tq::ui {

struct FileType
{
    QString filter;   // "Plain text (*.txt)"
    QString suffix;   // "txt"
    bool takesEncoding = false;
};

struct SaveChoice
{
    QString path;      // empty when the writer cancelled
    int encoding = 0;  // index into the encodings offered
};

// The chosen path, or empty when the writer cancelled.
QString askSaveName(QWidget *parent, const QString &title, const QString &start,
                    const QList<FileType> &types, const FileType &selected);
// The same with an "Encoding" choice among encodings (for the types that take
// one), starting at selectedEncoding. The caller asks about replacing an
// existing file, after its own checks of the name.
SaveChoice askSaveNameAndEncoding(QWidget *parent, const QString &title, const QString &start,
                                  const QList<FileType> &types, const FileType &selected,
                                  const QStringList &encodings, int selectedEncoding);

} // namespace tq::ui
