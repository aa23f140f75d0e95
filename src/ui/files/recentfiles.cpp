#include "recentfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace tq::ui {

namespace {

const QString FilesKey = QStringLiteral("recent/files");
const QString FolderKey = QStringLiteral("recent/folder");

} // namespace

QStringList RecentFiles::remembered() const
{
    return QSettings().value(FilesKey).toStringList();
}

void RecentFiles::store(const QStringList &files)
{
    QSettings().setValue(FilesKey, files);
}

QStringList RecentFiles::existing() const
{
    QStringList files;
    for (const QString &path : remembered()) {
        if (QFileInfo(path).isFile())
            files.append(path);
    }
    return files;
}

void RecentFiles::add(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = remembered();
    files.removeAll(absolute);
    files.prepend(absolute);
    if (files.size() > Kept)
        files.resize(Kept);
    store(files);
    setLastFolder(QFileInfo(absolute).absolutePath());
}

QString RecentFiles::lastFolder() const
{
    const QString folder = QSettings().value(FolderKey).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

void RecentFiles::setLastFolder(const QString &folder)
{
    QSettings().setValue(FolderKey, folder);
}

} // namespace tq::ui
