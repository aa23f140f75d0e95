// Bolding the selected words, and clearing, on hostile documents: odd
// characters, huge texts, the empty word, every entry of a long list.
#include "testlocale.h"

#include "passcheck.h"
#include "browsecommands.h"

#include <QTest>

using namespace tq;
using namespace tq::testing;

namespace {

// Every entry selected.
struct AllSelected : ListSelection
{
    QStringList words;
    qsizetype count() const override { return words.size(); }
    bool isSelected(qsizetype) const override { return true; }
    QString word(qsizetype i) const override { return words.at(i); }
};

QString boldRuns(const MemorySurface &s)
{
    return runsText(s.text().size(), [&](qsizetype i) { return s.boldAt(i); });
}

QString evenOffsets(qsizetype count)
{
    QStringList runs;
    for (qsizetype i = 0; i < count; ++i)
        runs.append(QString::number(2 * i));
    return runs.join(u' ');
}

// count distinct three-letter words ("aaa", "aab", ...), the whole run twice.
QString distinctWordsTwice(int count)
{
    QStringList words;
    for (int i = 0; i < count; ++i)
        words.append(QString(QChar(char16_t(u'a' + i / 676))) + QChar(char16_t(u'a' + i / 26 % 26))
                     + QChar(char16_t(u'a' + i % 26)));
    return (words + words).join(u' ');
}

QStringList alphabet()
{
    QStringList letters;
    for (char16_t c = u'a'; c <= u'z'; ++c)
        letters.append(QString(QChar(c)));
    return letters;
}

} // namespace

class TestBadBrowse : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bolding_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<QString>("bold");

        QTest::newRow("empty document") << QString() << QStringList{"the"} << "";
        QTest::newRow("one-character document") << "a" << QStringList{"a"} << "";
        QTest::newRow("empty word") << "abc abc" << QStringList{""} << "";
        QTest::newRow("empty word among others") << "abc abc" << QStringList{"", "abc", ""} << "0-2 4-6";
        QTest::newRow("only spaces") << "    " << QStringList{" "} << "0-2";
        QTest::newRow("only line breaks") << "\r\n\r\n" << QStringList{"\r\n"} << "0-3";
        QTest::newRow("lone surrogates")
            << u"\xD800" "abc \xD800" "ABC \xDC00"_qs << QStringList{u"\xD800" "abc"_qs} << "0-3 5-8";
        QTest::newRow("NUL characters")
            << QString::fromLatin1("a\0b A\0B \0", 9) << QStringList{QString::fromLatin1("a\0b", 3)}
            << "0-2 4-6";
        QTest::newRow("emoji, the word after it") << u"\U0001F600cat \U0001F600CAT"_qs
                                                  << QStringList{"cat"} << "2-4 8-10";
        QTest::newRow("emoji in the word") << u"\U0001F600cat \U0001F600CAT"_qs
                                           << QStringList{u"\U0001F600cat"_qs} << "0-4 6-10";
        QTest::newRow("combining marks") << u"cafe\u0301 CAFE\u0301"_qs << QStringList{"cafe"}
                                         << "0-3 6-9";
        QTest::newRow("right-to-left text")
            << u"\u05E9\u05DC\u05D5\u05DD abc \u05E9\u05DC\u05D5\u05DD"_qs
            << QStringList{u"\u05E9\u05DC\u05D5\u05DD"_qs} << "0-3 9-12";
        {
            const QString token = QString("aB").repeated(5'000'000);
            QTest::newRow("10 MB without a space") << token << QStringList{"ab"} << "0-9999999";
            QTest::newRow("10 MB without a space, empty word") << token << QStringList{""} << "";
        }
        QTest::newRow("a million one-letter words, every letter")
            << oneLetterWords(1'000'000) << alphabet() << evenOffsets(1'000'000);
    }

    void bolding()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, selected);
        QFETCH(QString, bold);

        MemorySurface surface(text);
        AllSelected list;
        list.words = selected;
        boldSelectedWords(surface, list);
        QVERIFY2(surface.text() == text, "bolding changed the document text");
        QCOMPARE(boldRuns(surface), bold);

        resetFormatting(surface);
        QVERIFY2(surface.text() == text, "clearing the formatting changed the document text");
        QCOMPARE(boldRuns(surface), QString());
    }

    // The list of a pass with thousands of entries, all selected: every
    // letter of the document is bold, no space is, and the colours stay.
    void everyEntryOfALongList()
    {
        const QString text = distinctWordsTwice(5000);
        MemorySurface surface(text);
        FixedControls controls;
        MemoryList lines;
        WordTable table;
        runAnalysisPass(surface, controls, lines, table, [] { return true; });
        QCOMPARE(lines.entries.size(), 5000);
        QList<Colour> colours;
        for (qsizetype i = 0; i < text.size(); ++i)
            colours.append(surface.colourAt(i));

        AllSelected list;
        for (const ResultEntry &e : lines.entries)
            list.words.append(e.word);
        boldSelectedWords(surface, list);
        for (qsizetype i = 0; i < text.size(); ++i) {
            QCOMPARE(surface.boldAt(i), text[i] != u' ');
            QCOMPARE(surface.colourAt(i), colours[i]);
        }
    }

    void clearAllOnHostileText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("lone surrogates and NUL") << QString::fromUtf16(u"\xD800 \0 \xDC00", 5);
        QTest::newRow("10 MB without a space") << QString(10'000'000, u'x');
    }

    void clearAllOnHostileText()
    {
        QFETCH(QString, text);
        MemorySurface surface(text);
        FixedControls controls;
        MemoryList lines;
        WordTable table;
        runAnalysisPass(surface, controls, lines, table, [] { return true; });
        clearAll(surface, lines);
        QCOMPARE(surface.text(), QString());
        QVERIFY(lines.entries.isEmpty());
        // The table is the last pass's; clearing leaves it alone.
        QCOMPARE(table.upperBound(), text.isEmpty() ? 0 : 1);
    }
};

QTEST_GUILESS_MAIN(TestBadBrowse)
#include "tst_badbrowse.moc"
