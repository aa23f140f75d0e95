// Bolding the words chosen in the list, and the two clear commands.
#include "listselection.h"
#include "testlocale.h"

#include "analysispass.h"
#include "memorylist.h"
#include "memorysurface.h"
#include "reference.h"
#include "browsecommands.h"

#include <QRandomGenerator>
#include <QTest>

using namespace tq;

namespace {

using Selection = TestSelection;

QList<qsizetype> boldOffsets(const MemorySurface &s)
{
    QList<qsizetype> out;
    for (qsizetype i = 0; i < s.text().size(); ++i)
        if (s.boldAt(i))
            out.append(i);
    return out;
}

} // namespace

class TestBrowseCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bolding_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("selectedWords");
        QTest::addColumn<QList<qsizetype>>("bold");
        QTest::addColumn<qsizetype>("selStart");
        QTest::addColumn<qsizetype>("selLength");

        QTest::newRow("inside longer words, any case")
            << "The theory of other things" << QStringList{"the"}
            << QList<qsizetype>{0, 1, 2, 4, 5, 6, 15, 16, 17} << qsizetype(15) << qsizetype(3);
        QTest::newRow("last character not reached after a match before it")
            << "a aa" << QStringList{"a"} << QList<qsizetype>{0, 2} << qsizetype(2) << qsizetype(1);
        QTest::newRow("last character reached when nothing stands before it")
            << "b  a" << QStringList{"a"} << QList<qsizetype>{3} << qsizetype(3) << qsizetype(1);
        QTest::newRow("one-character document is never searched")
            << "a" << QStringList{"a"} << QList<qsizetype>{} << qsizetype(0) << qsizetype(1);
        QTest::newRow("overlapping occurrences")
            << "aaaa b" << QStringList{"aa"} << QList<qsizetype>{0, 1, 2, 3} << qsizetype(2) << qsizetype(2);
        QTest::newRow("empty word bolds nothing, leaves a caret")
            << "ab cd" << QStringList{""} << QList<qsizetype>{} << qsizetype(3) << qsizetype(0);
        QTest::newRow("no occurrence keeps the whole text selected")
            << "ab cd" << QStringList{"xyz"} << QList<qsizetype>{} << qsizetype(0) << qsizetype(5);
        QTest::newRow("selection follows list order, not text order")
            << "cat dog" << QStringList{"dog", "cat"} << QList<qsizetype>{0, 1, 2, 4, 5, 6}
            << qsizetype(0) << qsizetype(3);
        QTest::newRow("non-ASCII letters compare without case")
            << "Élan élan" << QStringList{"élan"} << QList<qsizetype>{0, 1, 2, 3, 5, 6, 7, 8}
            << qsizetype(5) << qsizetype(4);
    }

    void bolding()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, selectedWords);
        QFETCH(QList<qsizetype>, bold);
        QFETCH(qsizetype, selStart);
        QFETCH(qsizetype, selLength);

        MemorySurface s(text);
        Selection sel;
        sel.words = selectedWords + QStringList{"unselected"};
        sel.selected = QList<bool>(selectedWords.size(), true) + QList<bool>{false};
        boldSelectedWords(s, sel);
        QCOMPARE(boldOffsets(s), bold);
        QCOMPARE(s.selStart(), selStart);
        QCOMPARE(s.selLength(), selLength);
        QCOMPARE(s.text(), text);
    }

    void boldingKeepsColourAndClearsOldBold()
    {
        MemorySurface s(QStringLiteral("one two one"));
        s.select(0, 3);
        s.setSelColor(255);
        s.select(4, 3);
        s.setSelBold(true);
        Selection sel;
        sel.words = {QStringLiteral("one")};
        sel.selected = {true};
        boldSelectedWords(s, sel);
        QCOMPARE(boldOffsets(s), (QList<qsizetype>{0, 1, 2, 8, 9, 10}));
        QCOMPARE(s.colourAt(0), Colour(255));
    }

    // The scan that finds every selected word at once must bold exactly what
    // one search per occurrence bolds, and leave the same selection.
    void matchesOneSearchPerOccurrence()
    {
        QRandomGenerator rng(20261208);
        const QStringList pieces = {"a", "A", "ab", "ba", "aab", " ", " ", "x", "\n", "é", "É"};
        for (int round = 0; round < 400; ++round) {
            QString text;
            const int parts = rng.bounded(0, 14);
            for (int i = 0; i < parts; ++i)
                text += pieces[rng.bounded(pieces.size())];
            Selection sel;
            sel.words = {"", "a", "b", "ab", "ba", "aab", "x", "é", "a a", "zz"};
            for (qsizetype i = 0; i < sel.words.size(); ++i)
                sel.selected.append(rng.bounded(3) == 0);
            MemorySurface fast(text), reference(text);
            boldSelectedWords(fast, sel);
            referenceBold(reference, sel);
            const QByteArray context = "text=" + text.toUtf8() + " round " + QByteArray::number(round);
            QVERIFY2(boldOffsets(fast) == boldOffsets(reference), context.constData());
            QVERIFY2(fast.selStart() == reference.selStart(), context.constData());
            QVERIFY2(fast.selLength() == reference.selLength(), context.constData());
        }
    }

    // A job cut into steps of any size, with bold written ahead anywhere,
    // ends exactly as bolding in one go does; after an edit between steps,
    // as bolding in one go on the edited text.
    void jobInSteps()
    {
        QRandomGenerator rng(20261209);
        const QStringList pieces = {"a", "A", "ab", "ba", "aab", " ", "\n", "\n", "x", "é"};
        for (int round = 0; round < 400; ++round) {
            QString text;
            for (int i = rng.bounded(0, 30); i > 0; --i)
                text += pieces[rng.bounded(pieces.size())];
            Selection sel;
            sel.words = {"", "a", "b", "ab", "ba", "aab", "a\na", "é", "zz"};
            for (qsizetype i = 0; i < sel.words.size(); ++i)
                sel.selected.append(rng.bounded(3) == 0);
            const bool edit = rng.bounded(4) == 0;

            MemorySurface sliced(text);
            sliced.select(0, text.size());
            sliced.setSelBold(true);   // old bold, to be replaced
            BoldJob job(sliced, sel);
            for (int steps = 0; !job.isDone() && steps < 1000; ++steps) {
                if (rng.bounded(2)) {
                    const qsizetype first = rng.bounded(qsizetype(0), text.size() + 2);
                    job.boldAhead(first, first + rng.bounded(0, 8));
                }
                if (edit && steps == 1)
                    sliced.replace(rng.bounded(qsizetype(0), text.size() + 1), 0, QStringLiteral("ab "));
                job.advance(rng.bounded(1, 6));
            }
            MemorySurface whole(sliced.text());
            boldSelectedWords(whole, sel);
            const QByteArray context = "text=" + text.toUtf8() + " round " + QByteArray::number(round);
            QVERIFY2(job.isDone(), context.constData());
            QVERIFY2(boldOffsets(sliced) == boldOffsets(whole), context.constData());
            QVERIFY2(sliced.selStart() == whole.selStart(), context.constData());
            QVERIFY2(sliced.selLength() == whole.selLength(), context.constData());
        }
    }

    void clearCommands()
    {
        MemorySurface s(QStringLiteral("cat dog cat"));
        s.select(0, 3);
        s.setSelColor(255);
        s.setSelBold(true);
        resetFormatting(s);
        QCOMPARE(s.text(), QStringLiteral("cat dog cat"));
        QCOMPARE(s.colourAt(0), Colour(0));
        QVERIFY(!s.boldAt(0));
        QCOMPARE(s.selStart(), 0);
        QCOMPARE(s.selLength(), 11);

        MemoryList list;
        list.entries = {{QStringLiteral("2 - cat"), {}}};
        clearAll(s, list);
        QVERIFY(s.text().isEmpty());
        QVERIFY(list.lines().isEmpty());

        // Nothing fails on an empty document and an empty list.
        resetFormatting(s);
        clearAll(s, list);
        QVERIFY(s.text().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestBrowseCommands)
#include "tst_browsecommands.moc"
