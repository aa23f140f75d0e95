// The in-memory document: what the pass and the highlighter rely on when they
// select, colour and bold ranges, and when the text changes under them.
#include "testlocale.h"

#include "memorysurface.h"
#include "passrun.h"

#include <QTest>

using namespace tq;
using tq::testing::colourRuns;

class SurfaceTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void colouring_data();
    void colouring();
    void selColorReadsOneCharacter();
    void selectionIsCutToTheText();
    void lineBreaksStayAsGiven();
    void replaceKeepsNeighbours();
    void versionMovesOnTextChangeOnly();
};

void SurfaceTest::colouring_data()
{
    QTest::addColumn<qsizetype>("start");
    QTest::addColumn<qsizetype>("length");
    QTest::addColumn<QString>("runs");   // after colouring "abcdef" red there

    QTest::newRow("inside") << qsizetype(1) << qsizetype(2) << "1-2 red";
    QTest::newRow("whole text") << qsizetype(0) << qsizetype(6) << "0-5 red";
    QTest::newRow("length past the end is cut") << qsizetype(4) << qsizetype(10) << "4-5 red";
    QTest::newRow("start past the end") << qsizetype(9) << qsizetype(3) << "";
    QTest::newRow("start at the end") << qsizetype(6) << qsizetype(1) << "";
    QTest::newRow("empty selection") << qsizetype(2) << qsizetype(0) << "";
    QTest::newRow("negative start counts as 0") << qsizetype(-3) << qsizetype(2) << "0-1 red";
    QTest::newRow("negative length") << qsizetype(2) << qsizetype(-1) << "";
}

void SurfaceTest::colouring()
{
    QFETCH(qsizetype, start);
    QFETCH(qsizetype, length);
    QFETCH(QString, runs);
    MemorySurface s("abcdef");
    s.select(start, length);
    s.setSelColor(Palette[0]);
    s.setSelBold(true);
    QCOMPARE(colourRuns(s), runs);
    // Bold follows exactly the same range.
    for (qsizetype i = 0; i < 6; ++i)
        QCOMPARE(s.boldAt(i), s.colourAt(i) != 0);
    QCOMPARE(s.text(), QString("abcdef"));
}

void SurfaceTest::selColorReadsOneCharacter()
{
    MemorySurface s("abc");
    s.select(1, 1);
    s.setSelColor(Palette[1]);
    s.select(1, 1);
    QCOMPARE(s.selColor(), Palette[1]);
    s.select(2, 1);
    QCOMPARE(s.selColor(), Colour(0));
    s.select(1, 0);
    s.setSelColor(0);   // an empty selection changes nothing
    s.select(1, 1);
    QCOMPARE(s.selColor(), Palette[1]);
    // The last colour written over a character is the one it reads.
    s.select(0, 3);
    s.setSelColor(Palette[2]);
    s.select(0, 3);
    s.setSelColor(0);
    s.select(1, 1);
    QCOMPARE(s.selColor(), Colour(0));
}

void SurfaceTest::selectionIsCutToTheText()
{
    MemorySurface s("abcdef");
    s.select(4, 2);
    s.setText("ab");   // the document shrank under the selection
    s.setSelColor(Palette[0]);
    QCOMPARE(colourRuns(s), QString());
    s.select(1, 5);
    QCOMPARE(s.selStart(), qsizetype(1));
    QCOMPARE(s.selLength(), qsizetype(1));
    s.replace(0, 2, QString());
    QCOMPARE(s.selLength(), qsizetype(0));
    s.setSelColor(Palette[0]);   // must not reach past the empty text
    QCOMPARE(s.selColor(), Colour(0));
}

void SurfaceTest::lineBreaksStayAsGiven()
{
    const QString text = "a\r\nb\rc\nd";
    MemorySurface s(text);
    QCOMPARE(s.text(), text);
    QCOMPARE(s.text().size(), qsizetype(8));
    s.select(2, 1);   // the LF of CR LF alone
    s.setSelColor(Palette[0]);
    QCOMPARE(colourRuns(s), QString("2 red"));
}

void SurfaceTest::replaceKeepsNeighbours()
{
    MemorySurface s("abcdef");
    s.select(0, 6);
    s.setSelColor(Palette[0]);
    s.select(4, 2);
    s.setSelBold(true);
    s.replace(2, 2, "XYZ");   // "cd" becomes "XYZ"
    QCOMPARE(s.text(), QString("abXYZef"));
    QCOMPARE(colourRuns(s), QString("0-1 red, 5-6 red"));
    QVERIFY(!s.boldAt(4));
    QVERIFY(s.boldAt(5) && s.boldAt(6));
    s.replace(5, 99, QString());   // a removal past the end is cut
    QCOMPARE(s.text(), QString("abXYZ"));
}

void SurfaceTest::versionMovesOnTextChangeOnly()
{
    MemorySurface s("abc");
    quint64 v = s.textVersion();
    s.select(0, 3);
    s.setSelColor(Palette[0]);
    s.setSelBold(true);
    QCOMPARE(s.textVersion(), v);
    s.replace(1, 1, "x");
    QVERIFY(s.textVersion() != v);
    v = s.textVersion();
    s.setText("abc");
    QVERIFY(s.textVersion() != v);
    QVERIFY(!s.boldAt(0));   // a new text brings no formatting
    QCOMPARE(s.colourAt(0), Colour(0));
}

QTEST_GUILESS_MAIN(SurfaceTest)
#include "tst_surface.moc"
