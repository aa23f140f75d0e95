// The recent files and the last folder, as remembered between sessions.
#include "testlocale.h"
#include "privatefolders.h"

#include "recentfiles.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

using tq::ui::RecentFiles;

class RecentFilesTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString file(const QString &name)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.exists() && f.open(QIODevice::WriteOnly))
            f.write("x");
        return path;
    }

private Q_SLOTS:
    void initTestCase()
    {
        // Nowhere near the writer's own settings.
        QVERIFY(QSettings().fileName().startsWith(tqPrivateHome().path()));
    }
    void init() { QSettings().clear(); }

    void newestFirstOnceEachTenKept()
    {
        RecentFiles recent;
        QStringList added;
        for (int i = 0; i < 12; ++i) {
            added.prepend(file(QStringLiteral("f%1.txt").arg(i)));
            recent.add(added.first());
        }
        QCOMPARE(recent.existing(), added.mid(0, 10));
        // Using an older one again moves it to the top, without a second entry.
        recent.add(added.at(5));
        QStringList expected = added.mid(0, 10);
        expected.move(5, 0);
        QCOMPARE(recent.existing(), expected);
        // A relative name is remembered as the file itself.
        QDir::setCurrent(m_dir.path());
        recent.add(QStringLiteral("f3.txt"));
        QCOMPARE(recent.existing().first(), m_dir.filePath(QStringLiteral("f3.txt")));
        QCOMPARE(recent.existing().count(m_dir.filePath(QStringLiteral("f3.txt"))), 1);
    }

    void goneFilesSkippedButRemembered()
    {
        RecentFiles recent;
        const QString a = file(QStringLiteral("a.txt"));
        const QString b = file(QStringLiteral("b.txt"));
        recent.add(a);
        recent.add(b);
        QVERIFY(QFile::rename(b, b + QStringLiteral(".away")));
        QCOMPARE(recent.existing(), QStringList{a});
        QVERIFY(QFile::rename(b + QStringLiteral(".away"), b));
        QCOMPARE(recent.existing(), (QStringList{b, a}));
    }

    void lastFolder()
    {
        RecentFiles recent;
        QCOMPARE(recent.lastFolder(), QDir::homePath());
        QTemporaryDir other;
        recent.add(other.filePath(QStringLiteral("chapter.md")));
        QCOMPARE(recent.lastFolder(), other.path());
        recent.setLastFolder(m_dir.filePath(QStringLiteral("gone")));
        QCOMPARE(recent.lastFolder(), QDir::homePath());
    }
};

QTEST_GUILESS_MAIN(RecentFilesTest)
#include "tst_recentfiles.moc"
