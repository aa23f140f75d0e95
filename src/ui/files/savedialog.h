// Asking where to write a file, with the types on offer: a name typed
// without a suffix gets the chosen type's, before the dialog checks whether
// that file already exists (so the question about replacing it is asked for
// the file really written).
#pragma once

#include <QList>
#include <QString>

class QWidget;

namespace tq::ui {

struct FileType
{
    QString filter;   // "Plain text (*.txt)"
    QString suffix;   // "txt"
};

// The chosen path, or empty when the writer cancelled.
QString askSaveName(QWidget *parent, const QString &title, const QString &start,
                    const QList<FileType> &types, const FileType &selected);

} // namespace tq::ui
