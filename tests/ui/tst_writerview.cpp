// The writer's caret, selection and view belong to the writer: no handler
// moves them, so what is typed next lands where the writer was, and the text
// in view stays in view.
#include "testlocale.h"

#include "windowfixture.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

using namespace tq::testing;
using tq::ui::MainWindow;

namespace {

// Paragraphs long enough to wrap, with "the" close to itself everywhere, so
// a pass colours all of them and bold changes where their lines break.
QString longText()
{
    QString text;
    for (int i = 0; i < 120; ++i) {
        text += QStringLiteral("Paragraph %1: the cat sat on the mat with the hat, and then the "
                               "dog ran over the hill to the old mill where the miller ground the "
                               "wheat all day long until the sun went down over the river.\n")
                    .arg(i);
    }
    return text;
}

void clickEntry(MainWindow &form, int entry, Qt::MouseButton button = Qt::LeftButton)
{
    const QRect r = WindowProbe::wordList(form)->visualItemRect(WindowProbe::wordList(form)->item(entry));
    QTest::mouseClick(WindowProbe::wordList(form)->viewport(), button, {}, r.center());
}

// Where a position is drawn, from the top of the view.
int shownAt(MainWindow &form, int position)
{
    QTextCursor c(WindowProbe::documentArea(form)->document());
    c.setPosition(position);
    return WindowProbe::documentArea(form)->cursorRect(c).top();
}

} // namespace

class WriterViewTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void handlersLeaveCaretAndView_data()
    {
        QTest::addColumn<QString>("handler");
        QTest::addColumn<bool>("boldFirst");    // tick bold and pick "the" beforehand
        QTest::addColumn<int>("selected");      // characters the writer has selected
        QTest::newRow("analyze") << "analyze" << false << 0;
        QTest::newRow("analyze, writer's selection") << "analyze" << false << 7;
        QTest::newRow("analyze over bold") << "analyze" << true << 0;
        QTest::newRow("clear formatting") << "clear formatting" << true << 0;
        QTest::newRow("clear formatting, writer's selection") << "clear formatting" << true << 5;
        QTest::newRow("right-click on the list") << "right-click" << true << 0;
        QTest::newRow("untick bold") << "untick bold" << true << 0;
        QTest::newRow("pick a word with bold on") << "pick" << false << 0;
        QTest::newRow("pick a word, writer's selection") << "pick" << false << 3;
    }
    void handlersLeaveCaretAndView()
    {
        QFETCH(QString, handler);
        QFETCH(bool, boldFirst);
        QFETCH(int, selected);
        auto form = shownForm(longText());
        if (boldFirst || handler == u"pick") {
            WindowProbe::analyze(*form);
            WindowProbe::boldCheck(*form)->setChecked(true);
        }
        if (boldFirst) {
            clickEntry(*form, entryOf(*form, QStringLiteral("the")));
            settleBold(*form);
        }

        // The writer reads in the middle, caret on a line in view, once the
        // window has settled on the text (its scroll bar shown).
        QCoreApplication::processEvents();
        QScrollBar *bar = WindowProbe::documentArea(*form)->verticalScrollBar();
        bar->setValue(bar->maximum() / 2);
        const int top = WindowProbe::documentArea(*form)->cursorForPosition(QPoint(0, 0)).position();
        QTextCursor writer = WindowProbe::documentArea(*form)->cursorForPosition(QPoint(40, WindowProbe::documentArea(*form)->viewport()->height() / 2));
        const int caret = writer.position();
        writer.setPosition(caret + selected, QTextCursor::KeepAnchor);
        WindowProbe::documentArea(*form)->setTextCursor(writer);
        const int topAt = shownAt(*form, top);
        const int scroll = bar->value();
        const QString before = WindowProbe::surface(*form).text();

        // Whatever the handler leaves to lay out between events is laid out
        // before looking: the view must not move then either.
        if (handler == u"analyze") {
            QTest::mouseClick(WindowProbe::analyzeButton(*form), Qt::LeftButton);
            settleBold(*form);
            QVERIFY(!colourRuns(*form).isEmpty());
        } else if (handler == u"clear formatting") {
            QTest::mouseClick(WindowProbe::clearFormattingButton(*form), Qt::LeftButton);
            settleBold(*form);
            QCOMPARE(boldRuns(*form), QList<Run>());
        } else if (handler == u"right-click") {
            clickEntry(*form, 0, Qt::RightButton);
            settleBold(*form);
            QCOMPARE(boldRuns(*form), QList<Run>());
        } else if (handler == u"untick bold") {
            QTest::mouseClick(WindowProbe::boldCheck(*form), Qt::LeftButton);
            settleBold(*form);
            QCOMPARE(boldRuns(*form), QList<Run>());
        } else if (handler == u"pick") {
            clickEntry(*form, entryOf(*form, QStringLiteral("the")));
            settleBold(*form);
            QVERIFY(!boldRuns(*form).isEmpty());
        }

        // The same text at the same place in view, the caret and selection
        // where the writer left them.
        if (handler == u"analyze" && !boldFirst)
            QCOMPARE(bar->value(), scroll);
        QVERIFY2(qAbs(shownAt(*form, top) - topAt) <= 1,
                 qPrintable(QStringLiteral("top line moved from %1 to %2").arg(topAt).arg(shownAt(*form, top))));
        QCOMPARE(WindowProbe::documentArea(*form)->textCursor().selectionStart(), caret);
        QCOMPARE(WindowProbe::documentArea(*form)->textCursor().selectionEnd(), caret + selected);

        // What is typed next replaces only the writer's own selection.
        QTest::keyClicks(WindowProbe::documentArea(*form), QStringLiteral("XY"));
        QString expected = before;
        expected.replace(caret, selected, QStringLiteral("XY"));
        QCOMPARE(WindowProbe::surface(*form).text(), expected);
    }

    // The top of the view inside one long paragraph: bold on its lines above
    // the view makes them wrap differently, and the line at the top stays.
    void viewTopInsideARewrappedParagraph()
    {
        QString paragraph;
        for (int i = 0; i < 600; ++i)
            paragraph += QStringLiteral("the the the cat %1, ").arg(i);
        auto form = shownForm(paragraph + u'\n' + longText());
        WindowProbe::analyze(*form);
        QCoreApplication::processEvents();
        WindowProbe::documentArea(*form)->verticalScrollBar()->setValue(40);
        const int top = WindowProbe::documentArea(*form)->cursorForPosition(QPoint(0, 0)).position();
        QVERIFY(top > 0 && WindowProbe::documentArea(*form)->document()->findBlock(top).blockNumber() == 0);
        const int topAt = shownAt(*form, top);

        WindowProbe::boldCheck(*form)->setChecked(true);
        clickEntry(*form, entryOf(*form, QStringLiteral("the")));
        settleBold(*form);
        QVERIFY(!boldRuns(*form).isEmpty());
        QVERIFY2(qAbs(shownAt(*form, top) - topAt) <= 1,
                 qPrintable(QStringLiteral("top line moved from %1 to %2").arg(topAt).arg(shownAt(*form, top))));
    }

    // Clear All empties the document: typing afterwards gives exactly what
    // was typed, nothing selected is left over to replace.
    void typingAfterClearAll()
    {
        auto form = shownForm(longText());
        WindowProbe::analyze(*form);
        QTest::mouseClick(WindowProbe::clearAllButton(*form), Qt::LeftButton);
        QVERIFY(!WindowProbe::documentArea(*form)->textCursor().hasSelection());
        QTest::keyClicks(WindowProbe::documentArea(*form), QStringLiteral("fresh start"));
        QCOMPARE(WindowProbe::surface(*form).text(), QStringLiteral("fresh start"));
    }

    // The analysis still works through its own selection: after a pass it is
    // on the last coloured range, after a clear on the whole text.
    void workingRangeIsTheAnalysisOwn()
    {
        auto form = shownForm(QStringLiteral("cat dog cat dog cat"));
        WindowProbe::analyze(*form);
        QCOMPARE(WindowProbe::selStart(*form), 16);
        QCOMPARE(WindowProbe::selLength(*form), 3);
        QCOMPARE(WindowProbe::documentArea(*form)->textCursor().position(), 0);
        WindowProbe::clearFormatting(*form);
        QCOMPARE(WindowProbe::selStart(*form), 0);
        QCOMPARE(WindowProbe::selLength(*form), 19);
        QVERIFY(!WindowProbe::documentArea(*form)->textCursor().hasSelection());
    }
};

QTEST_MAIN(WriterViewTest)
#include "tst_writerview.moc"
