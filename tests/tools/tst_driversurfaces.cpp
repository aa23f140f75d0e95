// tq-analyze gives the same result over the real window as over the document
// held in memory, for texts whose line breaks are single line feeds, with
// every analysis option.
#include "testlocale.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

class DriverSurfacesTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static QByteArray run(const QString &file, QStringList options, const char *surface)
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        options << QStringLiteral("--surface") << QString::fromLatin1(surface) << file;
        p.start(QStringLiteral(TQ_ANALYZE), options);
        if (!p.waitForFinished(60000) || p.exitCode() != 0)
            return "failed: " + p.readAllStandardOutput();
        return p.readAllStandardOutput();
    }

private Q_SLOTS:
    void sameOutput_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("options");
        auto row = [](const char *name, const QString &text, QStringList options = {}) {
            QTest::newRow(name) << text << options;
        };
        row("fox", "The quick brown fox jumps over the lazy dog.\n");
        row("fox, 31", "The quick brown fox jumps over the lazy dog.", {"--sensitivity", "31"});
        row("cat dog", "cat dog cat dog cat");
        row("theme, beginning", "the other theme the end", {"--mode", "begin"});
        row("theme, complete", "the other theme the end", {"--mode", "complete"});
        row("lines", "word again\nword x\n\nand again the word\tand x\n", {"--mode", "begin"});
        row("empty tokens", "a  b  c", {"--min-length", "0"});
        row("filter", "an (ab ab an and the end", {"--filter"});
        row("no-break space", "caf\u00e9\u00a0noir caf\u00e9 noir");
        row("bold", "The theory of other things and the other theme",
            {"--bold", "--select", "0,2"});
        // Long enough for the window to bold in slices.
        const QString book = QStringLiteral("The theory of other things and the other theme.\n").repeated(2000);
        row("bold in slices", book, {"--bold", "--select", "0,1-3"});
        row("bold in slices, every entry", book, {"--bold", "--select", "all"});
        row("empty", "");
        // The word options, which the window takes from its document menu.
        const QString ignore = m_dir.filePath(QStringLiteral("ignore.txt"));
        QFile list(ignore);
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write("The\nfox\n");
        list.close();
        const QString words = QStringLiteral("Café au\nlait, the fox; café\nau lait the fox the end\n");
        row("line breaks separate words", words, {"--line-breaks-separate"});
        row("letters of every language", words, {"--all-letters", "--bold", "--select", "0"});
        row("ignored words", words, {"--ignore", ignore});
        row("a range", words, {"--range", "5,40", "--bold", "--select", "all"});
        // A family entry bolds every one of its forms.
        row("word forms", "Nod, nodded. A glance; nods glanced nodding x nod",
            {"--word-forms", "english", "--bold", "--select", "0"});
        // The window finds phrases in its report, which must read the text
        // with the pass's rules and range.
        const QString breaths = QStringLiteral("he took a deep\nbreath. she took a deep breath, then\n"
                                               "took a deep breath. The fox took a deep breath");
        row("repeated phrases", breaths, {"--phrases", "--min-length", "6", "--word-forms", "english"});
        row("repeated phrases, a range", breaths, {"--phrases", "--line-breaks-separate", "--range", "3,70"});
    }
    void sameOutput()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, options);
        QTemporaryFile file;
        QVERIFY(file.open());
        file.write(text.toUtf8());
        file.close();
        const QByteArray memory = run(file.fileName(), options, "memory");
        QVERIFY(memory.startsWith("{"));
        QCOMPARE(run(file.fileName(), options, "widget"), memory);
    }
};

QTEST_MAIN(DriverSurfacesTest)
#include "tst_driversurfaces.moc"
