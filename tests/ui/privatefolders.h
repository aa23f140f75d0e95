// Included by tests that reach settings or the data folder: before anything
// starts, the user's folders are swapped for a temporary one, which child
// processes inherit, so no test reads or changes the writer's real settings,
// recent files or recovery files.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

inline QTemporaryDir &tqPrivateHome()
{
    static QTemporaryDir home;
    return home;
}

static void tqUsePrivateFolders()
{
    for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"}) {
        const QString path = tqPrivateHome().filePath(QString::fromLatin1(name));
        QDir().mkpath(path);
        qputenv(name, QFile::encodeName(path));
    }
    QCoreApplication::setOrganizationName(QStringLiteral("Tallyquill"));
    QCoreApplication::setApplicationName(QStringLiteral("Tallyquill"));
}
Q_CONSTRUCTOR_FUNCTION(tqUsePrivateFolders)
