// The files a writer used lately and the folder they last worked in, kept in
// the program's settings between sessions. Only these are remembered: the
// form's own controls start at their initial values every time.
#pragma once

#include <QString>
#include <QStringList>

namespace tq::ui {

class RecentFiles
{
public:
    static constexpr qsizetype Kept = 10;

    // The files opened or saved lately, most recent first, leaving out those
    // that are gone (a missing file stays remembered: its drive may be back).
    QStringList existing() const;
    // Puts path first (once), keeps the newest Kept, and remembers its folder.
    void add(const QString &path);

    // Where file dialogs start: the last folder used, else the home folder.
    QString lastFolder() const;
    void setLastFolder(const QString &folder);

private:
    QStringList remembered() const;
    void store(const QStringList &files);
};

} // namespace tq::ui
