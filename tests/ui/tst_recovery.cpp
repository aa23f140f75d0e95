// The recovery files: what they keep, when they are written, and that two
// sessions at once never take, overwrite or remove each other's.
#include "testlocale.h"

#include "recovery.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using tq::ui::RecoveredText;
using tq::ui::Recovery;

Q_DECLARE_METATYPE(RecoveredText)

namespace {

RecoveredText sample(const QString &content)
{
    return RecoveredText{{{QStringLiteral("path"), QStringLiteral("/tmp/chapter.txt")},
                          {QStringLiteral("encoding"), QByteArray("windows-1252")}},
                         content, false};
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.recovery")}, QDir::Files);
}

} // namespace

class RecoveryTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString folder() const { return m_dir->path() + QStringLiteral("/recovery"); }

    std::unique_ptr<Recovery> session(const QString &content, Recovery::Timing timing = {})
    {
        return std::make_unique<Recovery>(folder(), [content] { return sample(content); }, timing);
    }

private Q_SLOTS:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    void keepsTextExactly_data()
    {
        QTest::addColumn<RecoveredText>("text");
        QTest::newRow("plain") << sample(QStringLiteral("One.\u2029Two\u2028three\u00a0four.\n"));
        QTest::newRow("empty") << sample(QString());
        QTest::newRow("rich") << RecoveredText{{}, QStringLiteral("<p><i>Hi</i></p>"), true};
        QTest::newRow("no source") << RecoveredText{{}, QStringLiteral("x"), false};
        QTest::newRow("surrogates and nul")
            << sample(QStringLiteral("a\U0001F600b") + QChar(0) + QStringLiteral("c"));
    }
    void keepsTextExactly()
    {
        QFETCH(RecoveredText, text);
        const QString file = m_dir->filePath(QStringLiteral("x.recovery"));
        QVERIFY(Recovery::write(file, text));
        const std::optional<RecoveredText> back = Recovery::read(file);
        QVERIFY(back);
        QCOMPARE(back->content, text.content);
        QCOMPARE(back->source, text.source);
        QCOMPARE(back->rich, text.rich);
    }

    void refusesDamagedFiles_data()
    {
        QTest::addColumn<int>("cut");   // bytes kept of a good file; -1 appends junk instead
        QTest::newRow("empty") << 0;
        QTest::newRow("header only") << 8;
        QTest::newRow("truncated text") << 40;
        QTest::newRow("trailing junk") << -1;
    }
    void refusesDamagedFiles()
    {
        QFETCH(int, cut);
        const QString file = m_dir->filePath(QStringLiteral("x.recovery"));
        QVERIFY(Recovery::write(file, sample(QStringLiteral("a longer text than forty bytes, surely"))));
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadWrite));
        if (cut >= 0)
            QVERIFY(f.resize(cut));
        else
            QVERIFY(f.seek(f.size()) && f.write("junk") == 4);
        f.close();
        QVERIFY(!Recovery::read(file));
        QVERIFY(!Recovery::read(m_dir->filePath(QStringLiteral("missing.recovery"))));
    }

    void writtenAfterThePause()
    {
        auto s = session(QStringLiteral("typed"), {100, 10000});
        s->edited();
        QVERIFY(filesIn(folder()).isEmpty());   // nothing at the edit itself
        QTRY_COMPARE_WITH_TIMEOUT(filesIn(folder()).size(), 1, 3000);
        QCOMPARE(Recovery::read(s->fileName())->content, QStringLiteral("typed"));
        s->discard();
        QVERIFY(filesIn(folder()).isEmpty());
    }

    void writtenDuringEndlessTyping()
    {
        // Edits every 20 ms would push a plain pause timer back for ever.
        auto s = session(QStringLiteral("typed"), {200, 400});
        QElapsedTimer typing;
        typing.start();
        while (filesIn(folder()).isEmpty() && typing.elapsed() < 3000) {
            s->edited();
            QTest::qWait(20);
        }
        QCOMPARE(filesIn(folder()).size(), 1);
    }

    void twoSessionsKeepTheirOwn()
    {
        auto first = session(QStringLiteral("first"));
        auto second = session(QStringLiteral("second"));
        QVERIFY(first->writeNow());
        // A running session's file is not left behind.
        QVERIFY(!second->adoptLeftBehind());
        QVERIFY(second->writeNow());
        QVERIFY(first->fileName() != second->fileName());
        QCOMPARE(Recovery::read(first->fileName())->content, QStringLiteral("first"));
        QCOMPARE(Recovery::read(second->fileName())->content, QStringLiteral("second"));
        second->discard();
        QCOMPARE(filesIn(folder()).size(), 1);   // discarding one leaves the other's
    }

    void adoptsWhatAnEndedSessionLeft()
    {
        {
            auto ended = session(QStringLiteral("unsaved"));
            QVERIFY(ended->writeNow());
        }   // gone without discarding, as after a crash
        auto next = session(QStringLiteral("next"));
        const std::optional<RecoveredText> found = next->adoptLeftBehind();
        QVERIFY(found);
        QCOMPARE(found->content, QStringLiteral("unsaved"));
        // The adopted file is now this session's: a third session leaves it alone.
        auto third = session(QStringLiteral("third"));
        QVERIFY(!third->adoptLeftBehind());
        next->discard();
        QVERIFY(filesIn(folder()).isEmpty());
    }

    void damagedLeftoverIsDropped()
    {
        QVERIFY(QDir().mkpath(folder()));
        QFile junk(folder() + QStringLiteral("/junk.recovery"));
        QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("not a recovery file") > 0);
        junk.close();
        auto s = session(QStringLiteral("x"));
        QVERIFY(!s->adoptLeftBehind());
        QVERIFY(filesIn(folder()).isEmpty());
    }

    void unwritableFolderFailsQuietly()
    {
        QFile blocker(m_dir->filePath(QStringLiteral("recovery")));   // a file where the folder goes
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        auto s = session(QStringLiteral("x"));
        QVERIFY(!s->writeNow());
    }
};

QTEST_GUILESS_MAIN(RecoveryTest)
#include "tst_recovery.moc"
