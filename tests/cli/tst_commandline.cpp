// tallyquill --analyze, run as scripts run it: without a display, its
// outputs agreeing with the headless driver's pass over the same opened
// file, and every refusal one line on standard error, status 2 and no file
// left behind.
#include "testlocale.h"

#include "documentcheck.h"
#include "filebytes.h"
#include "hostilefiles.h"
#include "resultlist.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QXmlStreamReader>

class CommandLineTest : public QObject
{
    Q_OBJECT

    struct Run
    {
        int status = -1;
        QByteArray out;
        QByteArray err;
    };

    QTemporaryDir m_dir;
    QString path(const QString &name) { return m_dir.filePath(name); }

    // No display and no platform chosen: the command line must need neither.
    static Run run(const QString &program, const QStringList &args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        p.setProcessEnvironment(env);
        p.start(QCoreApplication::applicationDirPath() + "/" + program, args);
        if (!p.waitForFinished(60000))
            qFatal("%s did not finish", qPrintable(program));
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
                p.readAllStandardError()};
    }

private Q_SLOTS:
    void initTestCase();
    void agreesWithTheDriver_data();
    void agreesWithTheDriver();
    void listOnStandardOutput();
    void phraseList();
    void report();
    void unreadableBytesNoted();
    void refused_data();
    void refused();
    void helpAndVersion();
};

void CommandLineTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(hostile::writeFile(path("blocker"), "a file, not a folder"));
    QVERIFY(hostile::writeFile(path("empty.docx"), ""));
    QVERIFY(QDir(m_dir.path()).mkdir("out"));
    QVERIFY(QDir(m_dir.path()).mkdir("refused"));
    const QString repeats = "The cat sat.\r\nThe cat sat on the mat, the  cat's hat.\r\n\r\nCats and hats.";
    QVERIFY(hostile::writeFile(path("repeats.txt"),
                               "\xFF\xFE" + QByteArray(reinterpret_cast<const char *>(repeats.utf16()), repeats.size() * 2)));
}

void CommandLineTest::agreesWithTheDriver_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("settings");
    QTest::newRow(".txt in UTF-16 with CR LF, defaults") << path("repeats.txt") << QStringList();
    QTest::newRow(".docx, sensitivity 200") << fixture("manuscript.docx") << QStringList{"--sensitivity", "200"};
    QTest::newRow(".odt, sensitivity 400, complete words")
        << fixture("pandoc.odt") << QStringList{"--sensitivity", "400", "--mode", "complete"};
    QTest::newRow(".docx, filtered, beginning of words")
        << fixture("pandoc.docx")
        << QStringList{"--filter", "--min-length", "5 letters", "--mode", "begin", "--sensitivity", "120"};
    QTest::newRow(".rtf, sensitivity 300") << fixture("manuscript.rtf") << QStringList{"--sensitivity", "300"};
    QTest::newRow(".fodt, line breaks separate")
        << fixture("manuscript-saved.fodt") << QStringList{"--line-breaks-separate", "--sensitivity", "300"};
}

// The word list file and the colours of the highlighted document are those
// of tq-analyze --open with the same settings, position by position.
void CommandLineTest::agreesWithTheDriver()
{
    QFETCH(QString, file);
    QFETCH(QStringList, settings);
    const QString list = path("out/list.txt");
    const QString html = path("out/highlighted.html");
    const Run ours = run("tallyquill", QStringList{"--analyze", file, "--word-list", list, "--highlighted", html} + settings);
    QCOMPARE(ours.status, 0);
    QCOMPARE(ours.out, QByteArray());
    QCOMPARE(ours.err, QByteArray());

    const Run driver = run("tq-analyze", settings + QStringList{"--open", file});
    QCOMPARE(driver.status, 0);
    const QJsonObject json = QJsonDocument::fromJson(driver.out).object();
    QStringList lines;
    for (const QJsonValue &line : json["list"].toArray())
        lines << tq::withBreaksMarked(line.toString()) + "\n";   // as the window's list shows it
    QCOMPARE(QString::fromUtf8(bytesOf(list)), lines.join(QString()));

    QList<quint32> colours;
    for (const QJsonValue &run : json["colour"].toArray()) {
        const QJsonArray r = run.toArray();
        colours.resize(r[1].toInt() + 1);
        for (int i = r[0].toInt(); i <= r[1].toInt(); ++i)
            colours[i] = quint32(r[2].toDouble());
    }
    QTextDocument shown;
    shown.setHtml(QString::fromUtf8(bytesOf(html)));
    QVERIFY(!colours.isEmpty());
    for (QTextBlock block = shown.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QColor c = f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color() : QColor();
            const quint32 seen = c.isValid() ? quint32(c.red() | c.green() << 8 | c.blue() << 16) : 0;
            for (int i = 0; i < it.fragment().length(); ++i) {
                const int at = it.fragment().position() + i;
                QCOMPARE(seen, at < colours.size() ? colours[at] : 0u);
            }
        }
    }
}

void CommandLineTest::listOnStandardOutput()
{
    QVERIFY(hostile::writeFile(path("chapter.txt"), "\xEF\xBB\xBFthe cat and the hat\r\nthe end"));
    const Run r = run("tallyquill", {"--analyze", path("chapter.txt")});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.err, QByteArray());
    QCOMPARE(r.out, QByteArray("2 - the\n1 - cat\n1 - and\n1 - hat\nthe\n1 - end\n"));
}

void CommandLineTest::phraseList()
{
    QVERIFY(hostile::writeFile(path("breath.txt"),
                               "he took a deep breath. she took a deep breath, then took a deep breath."));
    const Run r = run("tallyquill", {"--analyze", path("breath.txt"), "--phrase-list", path("out/p.csv"),
                                     "--word-forms", "english", "--word-list", path("out/w.txt")});
    QCOMPARE(r.status, 0);
    QCOMPARE(bytesOf(path("out/p.csv")), QByteArray("count,phrase\r\n3,took a deep breath\r\n"));
    QVERIFY(bytesOf(path("out/w.txt")).startsWith("3 - took\n3 - a\n3 - deep\n3 - breath\n1 - he\n"));
    QCOMPARE(run("tallyquill", {"--analyze", path("breath.txt"), "--phrase-list", path("out/p.txt")}).status, 0);
    QCOMPARE(bytesOf(path("out/p.txt")), QByteArray("3 - took a deep breath\n"));
}

// The report page follows the options (ignored words, word forms, word
// rules) and has a strip for each of the first entries and phrases, with
// the chapter marked on each.
void CommandLineTest::report()
{
    QVERIFY(hostile::writeFile(path("report.md"), "# Part One\n\nhe took a deep breath. she nodded, took a deep "
                                                  "breath and nods, then took a deep breath.\n"));
    QVERIFY(hostile::writeFile(path("ignore.txt"), "he\nshe\n"));
    const Run r = run("tallyquill", {"--analyze", path("report.md"), "--report", path("out/report.html"),
                                     "--ignore", path("ignore.txt"), "--word-forms", "english", "--line-breaks-separate"});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.err, QByteArray());
    QXmlStreamReader xml(bytesOf(path("out/report.html")));
    QStringList labels;
    int strips = 0;
    int chapterLines = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"svg")
            ++strips;
        else if (xml.name() == u"line")
            ++chapterLines;
        else if (xml.name() == u"p")
            labels.append(xml.readElementText());
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(labels.mid(0, 3), (QStringList{"3 - took", "3 - a", "3 - deep"}));
    QVERIFY(!labels.contains("1 - he") && labels.contains("2 - nodded nods"));
    QCOMPARE(labels.last(), "3 - took a deep breath");
    QCOMPARE(strips, 11);   // ten families and one phrase
    QCOMPARE(chapterLines, strips);
}

// A UTF-8 file with a stray byte is read, and both programs say once, on
// standard error, how many bytes could not be read.
void CommandLineTest::unreadableBytesNoted()
{
    const QString file = fixture("encodings/russian-stray-byte.txt");
    const Run ours = run("tallyquill", {"--analyze", file});
    QCOMPARE(ours.status, 0);
    QVERIFY(!ours.out.isEmpty());
    QCOMPARE(ours.err.count('\n'), 1);
    QVERIFY2(ours.err.startsWith("tallyquill: 1 byte of russian-stray-byte.txt could not be read"), ours.err.constData());
    const Run driver = run("tq-analyze", {"--open", file});
    QCOMPARE(driver.status, 0);
    // Qt's own warnings (a missing XDG_RUNTIME_DIR) may come first.
    QCOMPARE(driver.err.count("tq-analyze: "), 1);
    QVERIFY2(driver.err.contains("tq-analyze: 1 byte of russian-stray-byte.txt could not be read"), driver.err.constData());
}

void CommandLineTest::refused_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");

    const QString docx = fixture("manuscript.docx");
    const QString csv = path("refused/list.csv");
    QTest::newRow("sensitivity not a number") << QStringList{"--analyze", docx, "--sensitivity", "near"} << "--sensitivity";
    QTest::newRow("sensitivity out of range") << QStringList{"--analyze", docx, "--sensitivity", "19"} << "20 to 400";
    QTest::newRow("unknown mode") << QStringList{"--analyze", docx, "--mode", "sideways"} << "--mode";
    QTest::newRow("unknown language") << QStringList{"--analyze", docx, "--word-forms", "klingon"} << "--word-forms";
    QTest::newRow("phrase list over the word list")
        << QStringList{"--analyze", docx, "--word-list", csv, "--phrase-list", csv} << "both name";
    QTest::newRow("unknown option") << QStringList{"--analyze", docx, "--colour"} << "colour";
    QTest::newRow("option without --analyze") << QStringList{"--filter", docx} << "--analyze";
    QTest::newRow("second file") << QStringList{"--analyze", docx, docx} << "unexpected argument";
    QTest::newRow("missing file") << QStringList{"--analyze", path("gone.txt"), "--word-list", csv} << "gone.txt";
    QTest::newRow("refused file") << QStringList{"--analyze", path("empty.docx"), "--word-list", csv} << "empty";
    QTest::newRow("report as .pdf") << QStringList{"--analyze", docx, "--report", path("refused/r.pdf")} << "r.pdf";
    QTest::newRow("highlighted as .pdf") << QStringList{"--analyze", docx, "--word-list", csv, "--highlighted", path("refused/h.pdf")} << "h.pdf";
    QTest::newRow("output over the input") << QStringList{"--analyze", path("empty.docx"), "--word-list", path("empty.docx")} << "being analysed";
    QTest::newRow("second output unwritable")
        << QStringList{"--analyze", docx, "--word-list", csv, "--highlighted", path("blocker/h.odt")} << "blocker/h.odt";
}

void CommandLineTest::refused()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    const Run r = run("tallyquill", args);
    QCOMPARE(r.status, 2);
    QCOMPARE(r.out, QByteArray());
    QCOMPARE(r.err.count('\n'), 1);
    QVERIFY2(r.err.startsWith("tallyquill: ") && r.err.contains(message.toUtf8()), r.err.constData());
    QCOMPARE(QDir(path("refused")).entryList(QDir::Files | QDir::Hidden), QStringList());
    QCOMPARE(bytesOf(path("empty.docx")), QByteArray());
}

void CommandLineTest::helpAndVersion()
{
    const Run help = run("tallyquill", {"--help"});
    QCOMPARE(help.status, 0);
    for (const char *option : {"--analyze", "--sensitivity", "--min-length", "--filter", "--mode",
                               "--word-list", "--highlighted", "--report", "--version"})
        QVERIFY2(help.out.contains(option), option);
    const Run version = run("tallyquill", {"--version"});
    QCOMPARE(version.status, 0);
    QVERIFY2(QRegularExpression("^tallyquill \\d+\\.\\d+(\\.\\d+)*\n$").match(QString::fromUtf8(version.out)).hasMatch(),
             version.out.constData());
}

QTEST_MAIN(CommandLineTest)
#include "tst_commandline.moc"
