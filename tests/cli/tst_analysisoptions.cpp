// The analysis options both command lines share: the ignore file's lines, the
// range's form and fit, the sensitivity's bounds, and every option read.
#include "analysisoptions.h"

#include <QCommandLineParser>
#include <QTemporaryDir>
#include <QTest>

using tq::cli::AnalysisOptions;

namespace {

// The options read from arguments as either tool parses them; the refusal,
// or an empty string.
QString readOptions(const QStringList &arguments, AnalysisOptions &into)
{
    QCommandLineParser parser;
    parser.addOptions(AnalysisOptions::options());
    if (!parser.parse(QStringList{QStringLiteral("tool")} + arguments))
        return parser.errorText();
    return into.read(parser);
}

} // namespace

class AnalysisOptionsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void ignoreList_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("one per line") << QByteArray("the\nsaid\n") << QStringList{"the", "said"};
        QTest::newRow("no final line feed") << QByteArray("the\nsaid") << QStringList{"the", "said"};
        QTest::newRow("byte order mark dropped") << QByteArray("\xEF\xBB\xBFthe\n") << QStringList{"the"};
        QTest::newRow("CR LF, spaces and tabs at the ends")
            << QByteArray(" \tthe \r\n\tsaid\t\r\n") << QStringList{"the", "said"};
        QTest::newRow("blank lines skipped") << QByteArray("\n \r\n\t\nthe\n\n") << QStringList{"the"};
        QTest::newRow("inside a line kept") << QByteArray("ne\tver mind\n") << QStringList{"ne\tver mind"};
        QTest::newRow("case and accents kept") << QByteArray("Café\n") << QStringList{"Café"};
        QTest::newRow("a lone CR does not split") << QByteArray("a\rb\n") << QStringList{"a\rb"};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
    }
    void ignoreList()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, words);
        QString error;
        const std::optional<QStringList> got = tq::cli::readIgnoreList(bytes, error);
        QVERIFY2(got, qPrintable(error));
        QCOMPARE(*got, words);
    }

    void ignoreListNotUtf8_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("Latin-1") << QByteArray("caf\xE9\n");
        QTest::newRow("cut sequence at the end") << QByteArray("the\n\xC3");
        QTest::newRow("encoded surrogate") << QByteArray("\xED\xA0\x80\n");
        QTest::newRow("overlong") << QByteArray("\xC0\xAF\n");
    }
    void ignoreListNotUtf8()
    {
        QFETCH(QByteArray, bytes);
        QString error;
        QVERIFY(!tq::cli::readIgnoreList(bytes, error));
        QVERIFY(!error.isEmpty());
    }

    void range_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qsizetype>("length");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("whole text") << "0,9" << qsizetype(10) << true;
        QTest::newRow("one character") << "4,4" << qsizetype(10) << true;
        QTest::newRow("last past the end") << "0,10" << qsizetype(10) << false;
        QTest::newRow("first after last") << "5,4" << qsizetype(10) << false;
        QTest::newRow("empty text") << "0,0" << qsizetype(0) << false;
        QTest::newRow("negative") << "-1,4" << qsizetype(10) << false;
        QTest::newRow("plus sign") << "+1,4" << qsizetype(10) << false;
        QTest::newRow("spaces") << "1, 4" << qsizetype(10) << false;
        QTest::newRow("one number") << "4" << qsizetype(10) << false;
        QTest::newRow("three numbers") << "1,2,3" << qsizetype(10) << false;
        QTest::newRow("empty end") << "1," << qsizetype(10) << false;
        QTest::newRow("other digits") << "١,٢" << qsizetype(10) << false;
        QTest::newRow("huge") << "0,99999999999999999999999" << qsizetype(10) << false;
    }
    void range()
    {
        QFETCH(QString, text);
        QFETCH(qsizetype, length);
        QFETCH(bool, accepted);
        AnalysisOptions o;
        QString error = readOptions({QStringLiteral("--range"), text}, o);
        if (error.isEmpty())
            error = o.checkRange(length);
        QCOMPARE(error.isEmpty(), accepted);
        QVERIFY(!error.contains(u'\n'));
    }

    void sensitivity_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("read");   // -1: refused
        QTest::newRow("lowest") << "20" << 20;
        QTest::newRow("highest") << "400" << 400;
        QTest::newRow("below the scroll bar") << "19" << -1;
        QTest::newRow("above the scroll bar") << "401" << -1;
        QTest::newRow("negative") << "-1" << -1;
        QTest::newRow("not a number") << "lots" << -1;
        QTest::newRow("beyond int") << "99999999999" << -1;
    }
    void sensitivity()
    {
        QFETCH(QString, value);
        QFETCH(int, read);
        AnalysisOptions o;
        const QString error = readOptions({QStringLiteral("--sensitivity"), value}, o);
        QCOMPARE(error.isEmpty(), read >= 0);
        if (read >= 0)
            QCOMPARE(o.controls.sens, read);
    }

    void everyOption()
    {
        QTemporaryDir dir;
        QFile list(dir.filePath(QStringLiteral("ignore.txt")));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write("The\nsaid\n");
        list.close();

        AnalysisOptions o;
        QCOMPARE(readOptions({"--ignore", list.fileName(), "--line-breaks-separate", "--all-letters",
                              "--sensitivity", "60", "--min-length", "4 letters", "--filter",
                              "--mode", "complete", "--range", "2,7", "--word-forms", "english"}, o),
                 QString());
        QCOMPARE(o.ignored, (QStringList{"The", "said"}));
        QVERIFY(o.lineBreaksSeparate && o.allLetters && o.controls.filter);
        QCOMPARE(o.controls.sens, 60);
        QCOMPARE(o.controls.minLength, QStringLiteral("4 letters"));
        QCOMPARE(o.controls.mode, tq::MatchMode::CompleteWords);
        QCOMPARE(o.range, std::optional(std::pair<qsizetype, qsizetype>(2, 7)));
        QVERIFY(o.passOptions().rules.lineBreaksSeparate && o.passOptions().ignored.contains(u"said"));
        QCOMPARE(o.passOptions().wordForms, QStringLiteral("english"));

        AnalysisOptions none;
        QCOMPARE(readOptions({}, none), QString());
        QVERIFY(!none.range && none.controls.sens == 20 && none.passOptions().wordForms.isEmpty());
        QCOMPARE(none.checkRange(5), QString());   // no range: the whole text

        AnalysisOptions missing;
        QVERIFY(!readOptions({"--ignore", dir.filePath(QStringLiteral("missing"))}, missing).isEmpty());
        QVERIFY(!readOptions({"--mode", "sideways"}, missing).isEmpty());
        QVERIFY(!readOptions({"--word-forms", "klingon"}, missing).isEmpty());
    }
};

QTEST_GUILESS_MAIN(AnalysisOptionsTest)
#include "tst_analysisoptions.moc"
