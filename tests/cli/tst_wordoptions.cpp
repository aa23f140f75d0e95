// The word options of the command lines: the ignore file's lines, the range's
// form and fit, and a refusal for everything else.
#include "wordoptions.h"

#include <QTemporaryDir>
#include <QTest>

using tq::cli::WordOptions;

class WordOptionsTest : public QObject
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
        WordOptions o;
        QString error = o.set(QStringLiteral("--range"), text);
        if (error.isEmpty())
            error = o.checkRange(length);
        QCOMPARE(error.isEmpty(), accepted);
        QVERIFY(!error.contains(u'\n'));
    }

    void byName()
    {
        QTemporaryDir dir;
        QFile list(dir.filePath(QStringLiteral("ignore.txt")));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write("The\nsaid\n");
        list.close();

        WordOptions o;
        QCOMPARE(o.set(QStringLiteral("--ignore"), list.fileName()), QString());
        QCOMPARE(o.ignored, (QStringList{"The", "said"}));
        QCOMPARE(o.set(QStringLiteral("--line-breaks-separate")), QString());
        QCOMPARE(o.set(QStringLiteral("--all-letters")), QString());
        QVERIFY(o.lineBreaksSeparate && o.allLetters);
        QCOMPARE(o.checkRange(5), QString());   // no range: the whole text

        QVERIFY(!o.set(QStringLiteral("--ignore"), dir.filePath(QStringLiteral("missing"))).isEmpty());
        QVERIFY(WordOptions::isWordOption(QStringLiteral("--range")));
        QVERIFY(WordOptions::takesValue(QStringLiteral("--ignore")));
        QVERIFY(!WordOptions::takesValue(QStringLiteral("--all-letters")));
        QVERIFY(!WordOptions::isWordOption(QStringLiteral("--filter")));
        QCOMPARE(WordOptions::options().size(), 4);
    }
};

QTEST_GUILESS_MAIN(WordOptionsTest)
#include "tst_wordoptions.moc"
