// The headless driver, run as a separate process the way scripts use it: its
// JSON, its options, its refusals, and text that is not clean UTF-8.
#include "testlocale.h"

#include "jsonwriter.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class DriverTest : public QObject
{
    Q_OBJECT

private:
    struct Result
    {
        int status = -1;
        QByteArray out;
        QByteArray err;
    };

    QTemporaryDir m_dir;

    QString file(const QByteArray &content)
    {
        static int n = 0;
        const QString path = m_dir.filePath(QString("input%1.txt").arg(++n));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    Result analyze(const QStringList &args)
    {
        QProcess p;
        p.start(QCoreApplication::applicationDirPath() + "/tq-analyze", args);
        if (!p.waitForFinished(30000))
            qFatal("tq-analyze did not finish");
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                p.readAllStandardOutput(), p.readAllStandardError()};
    }

    QJsonObject json(const QByteArray &content, QStringList args = {})
    {
        const Result r = analyze(args << file(content));
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(r.out, &error);
        if (r.status != 0 || error.error != QJsonParseError::NoError || !doc.isObject())
            qWarning("status %d, %s: %s", r.status, qPrintable(error.errorString()), r.out.constData());
        return doc.object();
    }

private Q_SLOTS:
    void shape();
    void options_data();
    void options();
    void refusals_data();
    void refusals();
    void awkwardText_data();
    void awkwardText();
    void writerEscapes_data();
    void writerEscapes();
};

void DriverTest::shape()
{
    const QJsonObject o = json("cat dog cat dog cat", {"--progress"});
    const QJsonObject expected = QJsonDocument::fromJson(R"({
        "list": ["3 - cat", "2 - dog"],
        "colour": [[0,2,255],[4,6,255],[8,10,255],[12,14,255],[16,18,255]],
        "bold": [],
        "progress": [21.0526314, 42.1052628, 63.1578941, 84.2105255, 100]})").object();
    QCOMPARE(o.keys(), expected.keys());
    QCOMPARE(o["list"], expected["list"]);
    QCOMPARE(o["colour"], expected["colour"]);
    QCOMPARE(o["bold"], expected["bold"]);
    const QJsonArray progress = o["progress"].toArray();
    QCOMPARE(progress.size(), 5);
    for (int i = 0; i < 4; ++i)   // single precision, printed in full
        QCOMPARE(float(progress[i].toDouble()), float(4.0 * (i + 1) / 19 * 100));
    QCOMPARE(json("").keys(), QStringList({"bold", "colour", "list"}));
}

void DriverTest::options_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("colour");   // compact JSON of "colour"
    QTest::addColumn<QByteArray>("list");
    const QByteArray fox = "The quick brown fox jumps over the lazy dog.";
    QTest::newRow("defaults") << fox << QStringList{} << QByteArray("[]") << QByteArray();
    QTest::newRow("sensitivity") << fox << QStringList{"--sensitivity", "31"}
                                 << QByteArray("[[0,2,255],[31,33,255]]") << QByteArray();
    QTest::newRow("mode begin") << QByteArray("the other theme the end") << QStringList{"--mode", "begin"}
                                << QByteArray("[[0,2,255],[10,12,255],[16,18,255]]") << QByteArray();
    QTest::newRow("mode complete") << QByteArray("the other theme the end") << QStringList{"--mode", "complete"}
                                   << QByteArray("[[0,2,255],[16,18,255]]") << QByteArray();
    QTest::newRow("min length and filter") << QByteArray("an ab abc an") << QStringList{"--min-length", "2.5", "--filter"}
                                           << QByteArray("[]") << QByteArray(R"(["1 - abc"])");
    QTest::newRow("min length 1: colours offsets 0 and 8") << QByteArray("I think I am")
        << QStringList{"--min-length", "1", "--mode", "complete"}
        << QByteArray("[[0,0,255],[8,8,255]]") << QByteArray();
    QTest::newRow("empty min length") << QByteArray("a a") << QStringList{"--min-length", ""}
                                      << QByteArray("[[0,0,255],[2,2,255]]") << QByteArray(R"(["2 - a"])");
    QTest::newRow("negative min length is a value") << QByteArray("a a") << QStringList{"--min-length", "-1"}
                                                    << QByteArray("[[0,0,255],[2,2,255]]") << QByteArray(R"(["2 - a"])");
    QTest::newRow("UTF-16 offsets") << QByteArray("😀x 😀x") << QStringList{}
                                    << QByteArray("[[0,2,255],[4,6,255]]") << QByteArray(R"(["2 - x"])");
}

void DriverTest::options()
{
    QFETCH(QByteArray, text);
    QFETCH(QStringList, args);
    QFETCH(QByteArray, colour);
    QFETCH(QByteArray, list);
    const QJsonObject o = json(text, args);
    QCOMPARE(QJsonDocument(o["colour"].toArray()).toJson(QJsonDocument::Compact), colour);
    if (!list.isEmpty())
        QCOMPARE(QJsonDocument(o["list"].toArray()).toJson(QJsonDocument::Compact), list);
}

void DriverTest::refusals_data()
{
    QTest::addColumn<QStringList>("args");
    const QString missing = m_dir.filePath("no such file.txt");
    QTest::newRow("missing file") << QStringList{missing};
    QTest::newRow("no file") << QStringList{"--filter"};
    QTest::newRow("two files") << QStringList{missing, missing};
    QTest::newRow("unknown option") << QStringList{"--bold-everything", missing};
    QTest::newRow("bad mode") << QStringList{"--mode", "sideways", missing};
    QTest::newRow("mode without value") << QStringList{"--mode"};
    QTest::newRow("negative sensitivity") << QStringList{"--sensitivity", "-1", missing};
    QTest::newRow("sensitivity not a number") << QStringList{"--sensitivity", "lots", missing};
    QTest::newRow("sensitivity too large") << QStringList{"--sensitivity", "99999999999", missing};
    QTest::newRow("directory") << QStringList{m_dir.path()};
    QTest::newRow("entries backwards") << QStringList{"--select", "5-2", missing};
    QTest::newRow("entry not a number") << QStringList{"--select", "1-x", missing};
}

void DriverTest::refusals()
{
    QFETCH(QStringList, args);
    const Result r = analyze(args);
    QCOMPARE(r.status, 2);
    QVERIFY(r.out.isEmpty());
    QVERIFY2(r.err.endsWith('\n') && r.err.count('\n') == 1, r.err.constData());
    QVERIFY(r.err.size() > 1);
}

void DriverTest::awkwardText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("list");
    QTest::newRow("invalid bytes become U+FFFD") << QByteArray("a\xff" "b") << QStringList{"1 - a\uFFFDb"};
    QTest::newRow("encoded surrogate is invalid too") << QByteArray("a\xed\xa0\x80" "b") << QStringList{};
    QTest::newRow("control characters") << QByteArray("a\x01" "b c\x1f" "d") << QStringList{"1 - a\x01" "b", "1 - c\x1f" "d"};
    QTest::newRow("NUL") << QByteArray("a\0b", 3) << QStringList{QString("1 - a") + QChar(0) + "b"};
    QTest::newRow("quotes and backslashes") << QByteArray(R"(a"b c\d)") << QStringList{"1 - a\"b", "1 - c\\d"};
    QTest::newRow("line breaks kept") << QByteArray("end.\r\nNext") << QStringList{"1 - end.\r\nnext"};
    QTest::newRow("emoji and right-to-left") << QByteArray("a😀b שלום") << QStringList{"1 - a😀b", "1 - "};
}

void DriverTest::awkwardText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, list);
    const QJsonObject o = json(bytes);
    QVERIFY(o.contains("list"));
    const QStringList lines = o["list"].toVariant().toStringList();
    if (list.isEmpty()) {   // some replacement, and no lone surrogate
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines[0].contains(QChar(0xFFFD)));
        for (QChar c : lines[0])
            QVERIFY(!c.isSurrogate());
    } else {
        QCOMPARE(lines, list);
    }
}

void DriverTest::writerEscapes_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("lone high surrogate") << QString("a") + QChar(0xD800) + "b";
    QTest::newRow("lone low surrogate at the end") << QString("a") + QChar(0xDC00);
    QTest::newRow("reversed pair") << QString(QChar(0xDE00)) + QChar(0xD83D);
    QTest::newRow("valid pair") << "😀";
    QTest::newRow("controls, quote, backslash") << QString("\x01\t\n\r\"\\") + QChar(0) + QChar(0x7f);
}

// Text with lone surrogates cannot come out of a UTF-8 file, but the writer
// must still give JSON that reads back to the same units.
void DriverTest::writerEscapes()
{
    QFETCH(QString, text);
    QByteArray out = "[";
    tq::appendJsonString(out, text);
    out += "]";
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(out, &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(doc.array().at(0).toString(), text);
    QVERIFY(!QString::fromUtf8(out).contains(QChar(0xFFFD)));
}

QTEST_GUILESS_MAIN(DriverTest)
#include "tst_driver.moc"
