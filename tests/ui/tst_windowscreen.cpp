// The window on the writer's screen: the sensitivity's value in view, zooming
// the document, highlight colours on a dark background, and starting without
// a display.
#include "testlocale.h"

#include "documentmenu.h"
#include "highlighter.h"
#include "readablecolour.h"
#include "windowfixture.h"
#include "windowstart.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QStyleOptionSlider>
#include <QToolTip>
#include <QWheelEvent>

using namespace tq::testing;
using tq::ui::MainWindow;

namespace {

QColor fromColour(quint32 c)
{
    return QColor(int(c & 0xff), int((c >> 8) & 0xff), int((c >> 16) & 0xff));
}

QRect sliderHandle(QScrollBar *bar)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.subControls = QStyle::SC_All;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
}

void wheel(QWidget *target, int angle, Qt::KeyboardModifiers modifiers)
{
    const QPointF at = target->rect().center();
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

// Five words, each repeated at once: one of each colour of the palette.
const char FiveColours[] = "alpha alpha bravo bravo charlie charlie delta delta echo echo";

} // namespace

class WindowScreenTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // However the value changes, the tooltip and the accessible value say
    // it, and no caption changes.
    void sensitivityValueShown_data()
    {
        QTest::addColumn<int>("key");   // 0: set by code
        QTest::addColumn<int>("value");
        QTest::newRow("as it opens") << 0 << 20;
        QTest::newRow("set") << 0 << 250;
        QTest::newRow("right arrow") << int(Qt::Key_Right) << 21;
        QTest::newRow("left arrow at the start") << int(Qt::Key_Left) << 20;
        QTest::newRow("page key") << int(Qt::Key_PageDown) << 60;
        QTest::newRow("end key") << int(Qt::Key_End) << 400;
    }
    void sensitivityValueShown()
    {
        QFETCH(int, key);
        QFETCH(int, value);
        auto form = shownForm(QString());
        QScrollBar *bar = WindowProbe::sensitivityBar(*form);
        if (key) {
            bar->setFocus();
            QTest::keyClick(bar, Qt::Key(key));
        } else if (value != bar->value()) {
            bar->setValue(value);
        }
        QCOMPARE(bar->value(), value);
        QCOMPARE(bar->toolTip(), QStringLiteral("%1 characters").arg(value));
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(bar);
        QVERIFY(accessible && accessible->valueInterface());
        QCOMPARE(accessible->valueInterface()->currentValue().toInt(), value);
        QCOMPARE(accessible->text(QAccessible::Value), QString::number(value));
        QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("Sensitivity"));
        QCOMPARE(WindowProbe::sensitivityLabel(*form)->text(), QStringLiteral("Sensitivity:"));
    }

    // The pointer brings up no tooltip while it holds a button: dragging
    // shows the value at once and keeps it current.
    void sensitivityTipWhileDragging()
    {
        auto form = shownForm(QString());
        QScrollBar *bar = WindowProbe::sensitivityBar(*form);
        const QPoint grip = sliderHandle(bar).center();
        QTest::mousePress(bar, Qt::LeftButton, {}, grip);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QStringLiteral("20 characters"));
        QTest::mouseMove(bar, grip + QPoint(bar->width() / 3, 0));
        QVERIFY(bar->value() > 20);
        QTRY_COMPARE(QToolTip::text(), QStringLiteral("%1 characters").arg(bar->value()));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, grip + QPoint(bar->width() / 3, 0));
        QToolTip::hideText();
    }

    // Each way of zooming, from the normal size; the sizes are shares of it.
    void zoomDocument_data()
    {
        QTest::addColumn<QString>("steps");   // keys (+ = - 0 k for the keypad's +) and wheel turns (w±N)
        QTest::addColumn<qreal>("share");
        QTest::newRow("ctrl +") << "+" << 1.1;
        QTest::newRow("ctrl =, the + key without shift") << "=" << 1.1;
        QTest::newRow("ctrl shift +") << "S" << 1.1;
        QTest::newRow("keypad +") << "k" << 1.1;
        QTest::newRow("ctrl -") << "-" << 0.9;
        QTest::newRow("three in, one out") << "+++-" << 1.25;
        QTest::newRow("ctrl 0 goes back") << "++-0" << 1.0;
        QTest::newRow("as far in as it goes") << QString(20, u'+') << 4.0;
        QTest::newRow("as far out as it goes") << QString(20, u'-') << 0.5;
        QTest::newRow("wheel notch up") << "w120" << 1.1;
        QTest::newRow("wheel notch down") << "w-120" << 0.9;
        QTest::newRow("fine wheel adds up to a notch") << "w40w40w40" << 1.1;
        QTest::newRow("fine wheel short of a notch") << "w40w40" << 1.0;
    }
    void zoomDocument()
    {
        QFETCH(QString, steps);
        QFETCH(qreal, share);
        auto form = shownForm(QStringLiteral("cat cat dog cat"));
        QPlainTextEdit *tb = WindowProbe::documentArea(*form);
        const qreal normal = tb->font().pointSizeF();
        const QFont panelFont = WindowProbe::controlPanel(*form)->font();
        WindowProbe::analyze(*form);
        WindowProbe::boldCheck(*form)->setChecked(true);
        WindowProbe::wordList(*form)->item(0)->setSelected(true);
        tb->setFocus();
        QTest::keyClicks(tb, QStringLiteral("typed "));
        const QString typed = WindowProbe::surface(*form).text();
        QVERIFY(typed.contains(QStringLiteral("typed")) && tb->document()->availableUndoSteps() > 0);
        const QList<Run> colours = colourRuns(*form);
        const QList<Run> bold = boldRuns(*form);
        const quint64 version = WindowProbe::surface(*form).textVersion();
        const int undoSteps = tb->document()->availableUndoSteps();
        QVERIFY(!colours.isEmpty() && !bold.isEmpty());

        for (qsizetype i = 0; i < steps.size(); ++i) {
            const QChar step = steps[i];
            if (step == u'w') {
                qsizetype end = i + 1;
                while (end < steps.size() && steps[end] != u'w')
                    ++end;
                wheel(tb->viewport(), steps.mid(i + 1, end - i - 1).toInt(), Qt::ControlModifier);
                i = end - 1;
            } else if (step == u'S') {
                QTest::keyClick(tb, Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier);
            } else if (step == u'k') {
                QTest::keyClick(tb, Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
            } else {
                const Qt::Key key = step == u'+'   ? Qt::Key_Plus
                                    : step == u'=' ? Qt::Key_Equal
                                    : step == u'-' ? Qt::Key_Minus
                                                   : Qt::Key_0;
                QTest::keyClick(tb, key, Qt::ControlModifier);
            }
        }
        QVERIFY(qAbs(tb->font().pointSizeF() - normal * share) < 0.01);
        QVERIFY(qAbs(tb->document()->defaultFont().pointSizeF() - normal * share) < 0.01);
        // Only the document's size changed.
        QCOMPARE(WindowProbe::controlPanel(*form)->font(), panelFont);
        QCOMPARE(WindowProbe::surface(*form).text(), typed);
        QCOMPARE(WindowProbe::surface(*form).textVersion(), version);
        QCOMPARE(tb->document()->availableUndoSteps(), undoSteps);
        QCOMPARE(colourRuns(*form), colours);
        QCOMPARE(boldRuns(*form), bold);
    }

    // The same as commands in the document's menu, whose shortcuts work
    // wherever the focus is, each disabled where it would change nothing.
    void zoomCommands()
    {
        auto form = shownForm(QStringLiteral("cat cat"));
        const qreal normal = WindowProbe::documentArea(*form)->font().pointSizeF();
        std::unique_ptr<QMenu> menu(WindowProbe::documentMenu(*form).build(QPoint(5, 5)));
        QStringList texts;
        QList<QAction *> zoom;
        for (QAction *a : menu->actions()) {
            if (!zoom.isEmpty() || (a->isSeparator() && a->text() == QStringLiteral("View")))
                zoom.append(a);
        }
        QCOMPARE(zoom.size(), 4);
        zoom.removeFirst();
        for (const QAction *a : zoom)
            texts.append(a->text());
        QCOMPARE(texts, QStringList({QStringLiteral("Zoom In"), QStringLiteral("Zoom Out"),
                                     QStringLiteral("Normal Size")}));
        QVERIFY(zoom[0]->isEnabled() && zoom[1]->isEnabled() && !zoom[2]->isEnabled());

        form->activateWindow();
        WindowProbe::wordList(*form)->setFocus();
        QTest::keyClick(WindowProbe::wordList(*form), Qt::Key_Equal, Qt::ControlModifier);
        QVERIFY(qAbs(WindowProbe::documentArea(*form)->font().pointSizeF() - normal * 1.1) < 0.01);
        QVERIFY(zoom[2]->isEnabled());
        for (int i = 0; i < 20; ++i)
            zoom[0]->trigger();
        QVERIFY(!zoom[0]->isEnabled() && zoom[1]->isEnabled());
        QTest::keyClick(WindowProbe::wordList(*form), Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(WindowProbe::documentArea(*form)->font().pointSizeF(), normal);
        QVERIFY(!zoom[2]->isEnabled());
    }

    // A writer reading in the middle of a book keeps reading the same line.
    void zoomKeepsTheTextInView()
    {
        QString text;
        for (int i = 0; i < 2000; ++i)
            text += QStringLiteral("Line %1 of the book.\n").arg(i);
        auto form = shownForm(text);
        QPlainTextEdit *tb = WindowProbe::documentArea(*form);
        tb->verticalScrollBar()->setValue(tb->verticalScrollBar()->maximum() / 2);
        auto topLine = [tb] { return tb->cursorForPosition(QPoint(0, 0)).blockNumber(); };
        const int before = topLine();
        QVERIFY(before > 100);
        for (const Qt::Key key : {Qt::Key_Plus, Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Minus, Qt::Key_Minus,
                                  Qt::Key_0}) {
            QTest::keyClick(tb, key, Qt::ControlModifier);
            QCOMPARE(topLine(), before);
        }
    }

    // Zooming out brings more text into view; it must be coloured too.
    void coloursInViewAfterZoomingOut()
    {
        QString text;
        for (int i = 0; i < 400; ++i)
            text += QStringLiteral("cat cat dog\n");
        auto form = shownForm(text);
        WindowProbe::analyze(*form);
        QCoreApplication::processEvents();
        const int shown = WindowProbe::documentArea(*form)->visibleRange().second;
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(WindowProbe::documentArea(*form), Qt::Key_Minus, Qt::ControlModifier);
        QTRY_VERIFY(WindowProbe::documentArea(*form)->visibleRange().second > shown);
        QTRY_VERIFY(WindowProbe::paintedRange(*form).second >= qMin<qsizetype>(
                        WindowProbe::documentArea(*form)->visibleRange().second, WindowProbe::surface(*form).text().size()));
    }

    // On a dark background the colours drawn are readable versions of the
    // palette; the colours the document holds, and reads back, stay exact.
    void highlightColoursOnBackground_data()
    {
        QTest::addColumn<QColor>("background");
        QTest::addColumn<QColor>("text");
        QTest::newRow("white") << QColor(Qt::white) << QColor(Qt::black);
        QTest::newRow("dark grey") << QColor(0x3d, 0x3d, 0x3d) << QColor(Qt::white);
        QTest::newRow("black") << QColor(Qt::black) << QColor(0xe0, 0xe0, 0xe0);
    }
    void highlightColoursOnBackground()
    {
        QFETCH(QColor, background);
        QFETCH(QColor, text);
        auto form = shownForm(QString::fromLatin1(FiveColours));
        QPalette palette = WindowProbe::documentArea(*form)->palette();
        palette.setColor(QPalette::Base, background);
        palette.setColor(QPalette::Text, text);
        WindowProbe::documentArea(*form)->setPalette(palette);
        WindowProbe::analyze(*form);

        const QList<Run> held = colourRuns(*form);
        QCOMPARE(held.size(), 10);
        tq::ui::WidgetSurface &s = WindowProbe::surface(*form);
        for (qsizetype i = 0; i < held.size(); ++i) {
            QCOMPARE(held[i].colour, tq::Palette[size_t(i / 2)]);
            s.setSelStart(held[i].first);
            s.setSelLength(1);
            QCOMPARE(s.selColor(), tq::Palette[size_t(i / 2)]);
        }

        const QList<Run> painted = paintedRuns(*form);
        QCOMPARE(painted.size(), held.size());
        const bool dark = tq::ui::isDarkBackground(background);
        for (qsizetype i = 0; i < painted.size(); ++i) {
            QCOMPARE(painted[i].first, held[i].first);
            QCOMPARE(painted[i].last, held[i].last);
            const QColor exact = fromColour(held[i].colour);
            const QColor drawn = fromColour(painted[i].colour);
            if (!dark) {
                QCOMPARE(drawn, exact);
                continue;
            }
            QVERIFY2(tq::ui::contrastRatio(drawn, background) >= tq::ui::ReadableContrast,
                     qPrintable(drawn.name()));
            QVERIFY(qAbs(drawn.hslHue() - exact.hslHue()) <= 1);
        }

        // Back to a light background: the palette is drawn exactly again.
        WindowProbe::documentArea(*form)->setPalette(QPalette(Qt::white));
        QCOMPARE(paintedRuns(*form), held);
    }

    // Without a display the program says so in one line and fails, instead
    // of aborting after Qt's lines about platform plugins.
    void withoutDisplay_data()
    {
        QTest::addColumn<QString>("display");   // empty: none set
        QTest::newRow("no display set") << QString();
        QTest::newRow("display not running") << QStringLiteral(":4093");
    }
    void withoutDisplay()
    {
        QFETCH(QString, display);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        if (!display.isEmpty())
            env.insert(QStringLiteral("DISPLAY"), display);
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(TALLYQUILL), {});
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 1);
        QCOMPARE(program.readAllStandardError(), QByteArray(tq::ui::NoDisplayMessage));
        QCOMPARE(program.readAllStandardOutput(), QByteArray());
    }
};

QTEST_MAIN(WindowScreenTest)
#include "tst_windowscreen.moc"
