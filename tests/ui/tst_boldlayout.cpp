// Bold on a long document: the part in view shows at once and the rest is
// laid out in slices between events, a newer change taking over from
// unfinished work; the colours painted over the text follow every change of
// layout that brings other text into view.
#include "testlocale.h"

#include "windowfixture.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QtMath>

using namespace tq::testing;
using tq::ui::MainWindow;

namespace {

QString bookText(int paragraphs)
{
    QString text;
    for (int i = 0; i < paragraphs; ++i) {
        text += QStringLiteral("Paragraph %1: the cat sat on the mat with the hat, and then the "
                               "dog ran over the hill to the old mill where the miller ground the "
                               "wheat all day long until the sun went down over the river.\n")
                    .arg(i);
    }
    return text;
}

void clickEntry(MainWindow &form, const QString &word, Qt::KeyboardModifiers modifiers = {})
{
    const int entry = entryOf(form, word);
    QVERIFY2(entry >= 0, qPrintable(word));
    WindowProbe::wordList(form)->scrollToItem(WindowProbe::wordList(form)->item(entry));
    const QRect r = WindowProbe::wordList(form)->visualItemRect(WindowProbe::wordList(form)->item(entry));
    QTest::mouseClick(WindowProbe::wordList(form)->viewport(), Qt::LeftButton, modifiers, r.center());
}

// The bold the surface wants, one flag per character.
QByteArray wantedBold(MainWindow &form)
{
    QByteArray wanted(WindowProbe::surface(form).text().size(), 0);
    for (qsizetype i = 0; i < wanted.size(); ++i)
        wanted[i] = WindowProbe::surface(form).boldAt(i) ? 1 : 0;
    return wanted;
}

// Characters on lines that intersect the view, found line by line from the
// document's own layout rather than from what the surface painted.
QList<std::pair<int, int>> linesInView(MainWindow &form)
{
    QList<std::pair<int, int>> lines;
    const QRect view = WindowProbe::documentArea(form)->viewport()->rect();
    // Starting a little above the view, as the top hit may land on the line
    // below one partly in view.
    QTextBlock b = WindowProbe::documentArea(form)->cursorForPosition(QPoint(0, 0)).block();
    for (int i = 0; i < 2 && b.previous().isValid(); ++i)
        b = b.previous();
    for (; b.isValid(); b = b.next()) {
        QTextCursor at(b);
        if (WindowProbe::documentArea(form)->cursorRect(at).top() > view.bottom())
            break;
        for (int i = 0; i < b.layout()->lineCount(); ++i) {
            const QTextLine line = b.layout()->lineAt(i);
            at.setPosition(b.position() + line.textStart());
            const QRect caret = WindowProbe::documentArea(form)->cursorRect(at);
            if (QRect(0, caret.top(), view.width(), qCeil(line.height())).intersects(view))
                lines.append({b.position() + line.textStart(),
                              b.position() + line.textStart() + line.textLength()});
        }
    }
    return lines;
}

// Every coloured character on a line in view is painted in its colour.
void checkViewPainted(MainWindow &form)
{
    const QList<WindowProbe::PaintedRun> painted = WindowProbe::paintedColours(form);
    int coloured = 0;
    for (const auto &[from, to] : linesInView(form)) {
        for (int i = from; i < to; ++i) {
            const tq::Colour colour = WindowProbe::surface(form).colourAt(i);
            if (colour == 0)
                continue;
            ++coloured;
            const bool shown = std::any_of(painted.begin(), painted.end(), [&](const auto &p) {
                return p.start <= i && i < p.end && p.colour == colour;
            });
            QVERIFY2(shown, qPrintable(QStringLiteral("colour at %1 not painted").arg(i)));
        }
    }
    QVERIFY(coloured > 0);
}

} // namespace

class BoldLayoutTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Right after the click the bold in view is laid out and the end of the
    // document is not yet; once the event loop has run, all of it is, and
    // it is exactly the bold of the newest selection, through edits made
    // while the slices ran.
    void boldInSlices_data()
    {
        QTest::addColumn<QString>("then");
        QTest::newRow("left alone") << "";
        QTest::newRow("newer selection") << "cat";
        QTest::newRow("bold unticked") << "untick";
        QTest::newRow("clear formatting") << "clear";
        QTest::newRow("scrolled to the end") << "scroll";
        QTest::newRow("exported") << "export";
        QTest::newRow("text typed at the start") << "type";
        QTest::newRow("end of the text deleted") << "delete";
    }
    void boldInSlices()
    {
        QFETCH(QString, then);
        auto form = shownForm(bookText(2500));
        WindowProbe::documentArea(*form)->document()->documentLayout()->documentSize();   // laid out, as after a paste
        WindowProbe::analyze(*form);
        WindowProbe::boldCheck(*form)->setChecked(true);
        clickEntry(*form, QStringLiteral("the"));

        // The bold in view is written and laid out at once; the end of the
        // document is not yet.
        QByteArray shownNow = WindowProbe::boldShown(*form);
        QList<std::pair<int, int>> inView = linesInView(*form);
        QByteArray exported;
        QVERIFY(WindowProbe::boldPending(*form));
        const qsizetype tail = shownNow.size() - 2000;
        QVERIFY(!shownNow.mid(tail).contains(char(1)));

        if (then == u"cat") {
            clickEntry(*form, QStringLiteral("cat"));
        } else if (then == u"untick") {
            WindowProbe::boldCheck(*form)->setChecked(false);
        } else if (then == u"clear") {
            WindowProbe::clearFormatting(*form);
        } else if (then == u"scroll") {
            WindowProbe::documentArea(*form)->verticalScrollBar()->setValue(WindowProbe::documentArea(*form)->verticalScrollBar()->maximum());
            // The text scrolled into view is bolded at once too.
            shownNow = WindowProbe::boldShown(*form);
            inView = linesInView(*form);
            QVERIFY(inView.last().second > tail);
        } else if (then == u"export") {
            // The bold exported is the finished bolding's.
            QTemporaryDir dir;
            QVERIFY(WindowProbe::exports(*form).exportHighlighted(dir.filePath(QStringLiteral("book.html"))));
            exported = wantedBold(*form);
        } else if (then == u"type") {
            QTextCursor(WindowProbe::documentArea(*form)->document()).insertText(QStringLiteral("the start "));
        } else if (then == u"delete") {
            QTextCursor c(WindowProbe::documentArea(*form)->document());
            c.setPosition(int(tail));
            c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
            c.removeSelectedText();
        }
        settleBold(*form);
        QVERIFY(!WindowProbe::boldPending(*form));
        const QByteArray wanted = wantedBold(*form);
        QCOMPARE(WindowProbe::boldShown(*form), wanted);
        const qsizetype bolded = wanted.count(char(1));
        if (then == u"cat") {
            QCOMPARE(bolded, 3 * 2500);
        } else if (then == u"untick" || then == u"clear") {
            QCOMPARE(bolded, 0);
        } else {
            QVERIFY(bolded > 2500 * 30);
        }
        if (then == u"export")
            QCOMPARE(exported, wanted);
        if (then.isEmpty() || then == u"scroll") {
            QVERIFY(wanted.mid(tail).contains(char(1)));
            for (const auto &[from, to] : inView)
                QCOMPARE(shownNow.mid(from, to - from), wanted.mid(from, to - from));
        }
    }

    // The scroll bar's ticks show where the bold lies in the whole text:
    // a word only in the first and the last paragraph of a book ticks the
    // top and the bottom of the groove, nothing between; an edit above
    // moves no tick out of place; no bold, no ticks.
    void boldMarksFollowTheBold()
    {
        QString text = bookText(3000);
        text.prepend(QStringLiteral("Zebra at the start.\n"));
        text.append(QStringLiteral("A zebra at the end.\n"));
        auto form = shownForm(text);
        WindowProbe::documentArea(*form)->document()->documentLayout()->documentSize();
        WindowProbe::analyze(*form);
        QVERIFY(WindowProbe::boldMarks(*form)->ticks().isEmpty());
        WindowProbe::boldCheck(*form)->setChecked(true);
        clickEntry(*form, QStringLiteral("zebra"));
        settleBold(*form);
        QTRY_COMPARE(WindowProbe::boldMarks(*form)->ticks().size(), 2);
        const QList<std::pair<int, int>> ticks = WindowProbe::boldMarks(*form)->ticks();
        const int height = WindowProbe::documentArea(*form)->verticalScrollBar()->height();
        QVERIFY2(ticks.first().first < height / 4, qPrintable(QString::number(ticks.first().first)));
        QVERIFY2(ticks.last().second > 3 * height / 4, qPrintable(QString::number(ticks.last().second)));

        QTextCursor(WindowProbe::documentArea(*form)->document()).insertText(QStringLiteral("Typed.\n"));
        QTest::qWait(300);
        QCOMPARE(WindowProbe::boldMarks(*form)->ticks().size(), 2);

        WindowProbe::clearFormatting(*form);
        QTRY_VERIFY(WindowProbe::boldMarks(*form)->ticks().isEmpty());
    }

    // Unticking bold makes lines narrower, so more text fits in the view
    // without any scrolling: its colours must be painted too. Likewise for
    // ticking, and after a resize of the window.
    void paintedRangeFollowsLayout_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("atTop");
        QTest::newRow("bold unticked") << "untick" << false;
        QTest::newRow("bold unticked, at the top") << "untick" << true;
        QTest::newRow("bold picked") << "pick" << false;
        QTest::newRow("window narrower") << "narrower" << false;
    }
    void paintedRangeFollowsLayout()
    {
        QFETCH(QString, change);
        QFETCH(bool, atTop);
        auto form = shownForm(bookText(300));
        WindowProbe::analyze(*form);
        WindowProbe::boldCheck(*form)->setChecked(true);
        // A tall view: the more text it shows, the more a change of width
        // moves its end.
        form->resize(form->width(), 1600);
        if (change != u"pick") {
            WindowProbe::wordList(*form)->selectAll();
            settleBold(*form);
        }
        // Scrolled onto the place, so what is painted is just what the lines
        // in view need now, and unticking at the top moves no scroll bar:
        // only the change of layout itself can bring the new lines' colours.
        QScrollBar *bar = WindowProbe::documentArea(*form)->verticalScrollBar();
        const int place = atTop ? 0 : bar->maximum() / 2;
        bar->setValue(place + 1);
        bar->setValue(place);
        QCoreApplication::processEvents();
        checkViewPainted(*form);

        if (change == u"untick") {
            QTest::mouseClick(WindowProbe::boldCheck(*form), Qt::LeftButton);
        } else if (change == u"pick") {
            WindowProbe::wordList(*form)->selectAll();
        } else {
            WindowProbe::documentArea(*form)->resize(WindowProbe::documentArea(*form)->width() / 2, WindowProbe::documentArea(*form)->height());
        }
        settleBold(*form);
        QCoreApplication::processEvents();
        checkViewPainted(*form);
    }
};

QTEST_MAIN(BoldLayoutTest)
#include "tst_boldlayout.moc"
