// The character and text rules: letters, lower case, the number test that
// stops the trim, and the numeric prefix that gives the minimum length.
#include "testlocale.h"

#include "textrules.h"

#include <QTest>

#include <optional>

using namespace tq;

Q_DECLARE_METATYPE(std::optional<double>)

class TextRulesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void letter_data();
    void letter();
    void lowerCase_data();
    void lowerCase();
    void numeric_data();
    void numeric();
    void numericPrefixes();
    void prefix_data();
    void prefix();
};

void TextRulesTest::letter_data()
{
    QTest::addColumn<QChar>("c");
    QTest::addColumn<bool>("letter");
    QTest::newRow("A") << QChar(u'A') << true;
    QTest::newRow("Z") << QChar(u'Z') << true;
    QTest::newRow("a") << QChar(u'a') << true;
    QTest::newRow("z") << QChar(u'z') << true;
    QTest::newRow("@ before A") << QChar(u'@') << false;
    QTest::newRow("[ after Z") << QChar(u'[') << false;
    QTest::newRow("` before a") << QChar(u'`') << false;
    QTest::newRow("{ after z") << QChar(u'{') << false;
    QTest::newRow("digit") << QChar(u'7') << false;
    QTest::newRow("apostrophe") << QChar(u'\'') << false;
    QTest::newRow("e acute") << QChar(u'é') << false;
    QTest::newRow("Greek alpha") << QChar(u'α') << false;
    QTest::newRow("fullwidth A") << QChar(u'\xFF21') << false;
    QTest::newRow("high surrogate") << QChar(u'\xD83D') << false;
}

void TextRulesTest::letter()
{
    QFETCH(QChar, c);
    QFETCH(bool, letter);
    QCOMPARE(isLetter(c.unicode()), letter);
}

void TextRulesTest::lowerCase_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("lower");
    QTest::newRow("ASCII") << "Hello, WORLD 42" << "hello, world 42";
    QTest::newRow("accents") << "ÀÉÎÕÜ Ç" << "àéîõü ç";
    QTest::newRow("Greek") << "ΣΟΦΙΑ" << "σοφια";
    QTest::newRow("Cyrillic") << "МИР" << "мир";
    QTest::newRow("sharp s stays") << "ß" << "ß";
    QTest::newRow("capital sharp s") << "\u1E9E" << "ß";
    QTest::newRow("titlecase digraph") << "ǅ" << "ǆ";
    QTest::newRow("surrogate pair left alone") << "\U00010400A" << "\U00010400a";
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + "X" << QString(QChar(0xD800)) + "x";
    QTest::newRow("line breaks and NUL") << QString("A\r\n\tB") + QChar(0) << QString("a\r\n\tb") + QChar(0);
}

void TextRulesTest::lowerCase()
{
    QFETCH(QString, text);
    QFETCH(QString, lower);
    QCOMPARE(tq::lowerCase(text), lower);
    QCOMPARE(tq::lowerCase(text).size(), text.size());
}

void TextRulesTest::numeric_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    // Plain forms
    QTest::newRow("year") << "1999" << true;
    QTest::newRow("decimal") << "3.5" << true;
    QTest::newRow("grouped") << "1,000" << true;
    QTest::newRow("negative") << "-2" << true;
    QTest::newRow("exponent") << "1e5" << true;
    QTest::newRow("capital exponent with sign") << "2.5E-3" << true;
    QTest::newRow("plus sign") << "+7" << true;
    QTest::newRow("white space around") << " \t12\r\n" << true;
    QTest::newRow("grouped with decimals") << "1,234.5" << true;
    // Documented extras
    QTest::newRow("trailing group separator") << "1," << true;
    QTest::newRow("group separators anywhere") << "1,0,0" << true;
    QTest::newRow("trailing decimal point") << "5." << true;
    QTest::newRow("leading decimal point") << ".5" << true;
    QTest::newRow("negative fraction") << "-.5" << true;
    // Not numbers
    QTest::newRow("empty") << "" << false;
    QTest::newRow("sign alone") << "-" << false;
    QTest::newRow("dots") << "..." << false;
    QTest::newRow("digits then letter") << "12a" << false;
    QTest::newRow("letter then digit") << "a1" << false;
    QTest::newRow("ordinal") << "3rd" << false;
    QTest::newRow("closing bracket") << "1999)" << false;
    QTest::newRow("in brackets") << "(5)" << false;
    QTest::newRow("currency") << "$5" << false;
    QTest::newRow("percent") << "5%" << false;
    QTest::newRow("trailing sign") << "5-" << false;
    QTest::newRow("two signs") << "--5" << false;
    QTest::newRow("leading group separator") << ",5" << false;
    QTest::newRow("two decimal points") << "1.2.3" << false;
    QTest::newRow("exponent without digits") << "1e" << false;
    QTest::newRow("exponent alone") << "e5" << false;
    QTest::newRow("space inside") << "1 2" << false;
    QTest::newRow("inf") << "inf" << false;
    QTest::newRow("nan") << "nan" << false;
    QTest::newRow("hexadecimal") << "&HFF" << false;
    QTest::newRow("Arabic-Indic digits") << "\u0661\u0662" << false;
    QTest::newRow("white space only") << " \t" << false;
}

void TextRulesTest::numeric()
{
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QCOMPARE(NumberForm().isNumeric(text), numeric);
}

// The cleaner asks the number question for every prefix at once; each answer
// must be the one the whole-text test gives for that prefix.
void TextRulesTest::numericPrefixes()
{
    const NumberForm form;
    for (const QString text : {"1999),", "-1,5e+3x", "12.5.3", " 7 (", "..5", "1e5e5", "a1"}) {
        std::vector<char> marks;
        if (!form.markNumericPrefixes(text, marks))
            marks.assign(size_t(text.size()) + 1, 0);
        for (qsizetype m = 0; m <= text.size(); ++m)
            QVERIFY2(bool(marks[size_t(m)]) == form.isNumeric(text.left(m)),
                     qPrintable(text.left(m)));
    }
}

void TextRulesTest::prefix_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<double>>("value");
    const std::optional<double> fails;
    QTest::newRow("3") << "3" << std::optional(3.0);
    QTest::newRow("spaces around") << " 3 " << std::optional(3.0);
    QTest::newRow("2.5") << "2.5" << std::optional(2.5);
    QTest::newRow("4 letters") << "4 letters" << std::optional(4.0);
    QTest::newRow("leading spaces, 4 letters") << "  4 letters" << std::optional(4.0);
    QTest::newRow("space between digits") << "1 0" << std::optional(10.0);
    QTest::newRow("tab and line feed ignored") << "1\t\n2" << std::optional(12.0);
    QTest::newRow("carriage return ends it") << "1\r2" << std::optional(1.0);
    QTest::newRow("-1") << "-1" << std::optional(-1.0);
    QTest::newRow("-5") << "-5" << std::optional(-5.0);
    QTest::newRow("empty") << "" << std::optional(0.0);
    QTest::newRow("abc") << "abc" << std::optional(0.0);
    QTest::newRow("comma ends it") << "1,5" << std::optional(1.0);
    QTest::newRow("full stop whatever the locale") << ".5" << std::optional(0.5);
    QTest::newRow("exponent") << "1E3" << std::optional(1000.0);
    QTest::newRow("exponent without digits") << "7e" << std::optional(7.0);
    QTest::newRow("largest") << "1e308" << std::optional(1e308);
    QTest::newRow("too large") << "1e999" << fails;
    QTest::newRow("too large, negative") << "-1e999" << fails;
    QTest::newRow("too many digits") << QString(400, u'9') << fails;
    QTest::newRow("&HFF") << "&HFF" << std::optional(255.0);
    QTest::newRow("&hff lower case") << "&hff" << std::optional(255.0);
    QTest::newRow("&O17") << "&O17" << std::optional(15.0);
    QTest::newRow("&HFFFFFFFF unsigned") << "&HFFFFFFFF" << std::optional(4294967295.0);
    QTest::newRow("&O8 has no octal digit") << "&O8" << std::optional(0.0);
    QTest::newRow("&H alone") << "&H" << std::optional(0.0);
    QTest::newRow("& and another letter") << "&X1" << std::optional(0.0);
    QTest::newRow("huge hexadecimal") << "&H" + QString(300, u'F') << fails;
}

void TextRulesTest::prefix()
{
    QFETCH(QString, text);
    QFETCH(std::optional<double>, value);
    QCOMPARE(numericPrefix(text), value);
}

QTEST_GUILESS_MAIN(TextRulesTest)
#include "tst_textrules.moc"
