// The window as it opens, and how it keeps its layout when resized.
#include "testlocale.h"

#include "documentarea.h"
#include "floatprogressbar.h"
#include "mainwindow.h"
#include "windowprobe.h"
#include "resizerule.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include <memory>

using tq::ui::MainWindow;
using tq::ui::WindowProbe;

class WindowTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> m_form;

    MainWindow &form() { return *m_form; }

private Q_SLOTS:
    void init()
    {
        m_form = std::make_unique<MainWindow>();
        if (m_form->logicalDpiX() != 96 || m_form->logicalDpiY() != 96)
            QSKIP("positions are checked at 96 DPI");
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }
    void cleanup() { m_form.reset(); }

    void windowItself()
    {
        MainWindow &f = form();
        QCOMPARE(f.windowTitle(), QStringLiteral("Dovrin's Tallyquill"));
        QCOMPARE(f.size(), QSize(570, 593));            // 8550 x 8895 twips
        QCOMPARE(f.minimumSize(), QSize(570, 284));     // 8550 x 4260 twips
        QVERIFY(f.parentWidget() == nullptr);
        const QList<QSize> sizes = f.windowIcon().availableSizes();
        QVERIFY(sizes.contains(QSize(16, 16)));
        QVERIFY(sizes.contains(QSize(32, 32)));
    }

    void controlPlaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("twips");   // left, top, width, height
        QTest::addColumn<QString>("caption");

        auto row = [](const char *name, const char *parent, QRect r, const char *caption) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(parent) << r
                                << QString::fromUtf8(caption);
        };
        // The document area and the control panel as the resize rule leaves them at the design size.
        row("documentArea", "MainWindow", QRect(120, 120, 8310, 6495), "");
        row("controlPanel", "MainWindow", QRect(120, 6630, 8295, 2175), "");
        row("analyzeButton", "controlPanel", QRect(120, 240, 1455, 375), "Analyze");
        row("clearFormattingButton", "controlPanel", QRect(120, 780, 1455, 375), "Clear Formatting");
        row("clearAllButton", "controlPanel", QRect(120, 1320, 1455, 375), "Clear All");
        row("progressBar", "controlPanel", QRect(120, 1800, 5655, 255), "");
        row("sensitivityBar", "controlPanel", QRect(2760, 240, 3015, 255), "");
        row("minLengthEdit", "controlPanel", QRect(5040, 570, 735, 285), "3");
        row("noFiltersOption", "controlPanel", QRect(1920, 960, 3255, 255), "No Filters");
        row("beginningOption", "controlPanel", QRect(1920, 1200, 3495, 255), "Match Must be at the Beginning of a Word");
        row("completeWordsOption", "controlPanel", QRect(1920, 1440, 3855, 255),
            "Both Match and Original Must be Complete Words");
        row("wordList", "controlPanel", QRect(5880, 240, 2295, 1230), "");
        row("filterCheck", "controlPanel", QRect(5880, 1500, 2295, 255), "Filter Using Minimum Length");
        row("boldCheck", "controlPanel", QRect(5880, 1800, 2295, 255), "Bold Highlighted Words");
    }
    void controlPlaces()
    {
        QFETCH(QString, name);
        QFETCH(QString, parent);
        QFETCH(QRect, twips);
        QFETCH(QString, caption);
        auto *w = form().findChild<QWidget *>(name);
        QVERIFY(w);
        QCOMPARE(w->parentWidget()->objectName(), parent);
        QCOMPARE(w->geometry(), QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15,
                                      twips.height() / 15));
        QVERIFY(w->isVisible());
        QVERIFY(w->isEnabled());
        if (auto *b = qobject_cast<QAbstractButton *>(w)) {
            QCOMPARE(b->text(), caption);
            // The caption fits: nothing is cut off.
            QVERIFY2(b->sizeHint().width() <= b->width(), qPrintable(name));
        }
        if (auto *e = qobject_cast<QLineEdit *>(w))
            QCOMPARE(e->text(), caption);
    }

    // Labels keep their place and grow to their captions, never into the
    // control beside them.
    void labels_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("twips");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("neighbour");
        QTest::newRow("sensitivityLabel") << QStringLiteral("sensitivityLabel") << QPoint(1920, 240)
                              << QStringLiteral("Sensitivity:") << QStringLiteral("sensitivityBar");
        QTest::newRow("minLengthLabel") << QStringLiteral("minLengthLabel") << QPoint(1920, 600)
                                << QStringLiteral("Minimum Word Check Length:")
                                << QStringLiteral("minLengthEdit");
    }
    void labels()
    {
        QFETCH(QString, name);
        QFETCH(QPoint, twips);
        QFETCH(QString, caption);
        QFETCH(QString, neighbour);
        auto *label = form().findChild<QLabel *>(name);
        QVERIFY(label);
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->pos(), twips / 15);
        QVERIFY(label->width() >= label->sizeHint().width());
        QVERIFY(label->geometry().right() < form().findChild<QWidget *>(neighbour)->x());
    }

    void initialValues()
    {
        MainWindow &f = form();
        QCOMPARE(WindowProbe::documentArea(f)->toPlainText(), QStringLiteral("The quick brown fox jumps over the lazy dog.\n"));
        QCOMPARE(WindowProbe::documentArea(f)->document()->blockCount(), 2);
        QCOMPARE(WindowProbe::documentArea(f)->font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(WindowProbe::documentArea(f)->font().pointSizeF(), 8.25);
        QCOMPARE(WindowProbe::documentArea(f)->font().weight(), QFont::Normal);
        QCOMPARE(WindowProbe::documentArea(f)->document()->availableUndoSteps(), 0);
        QCOMPARE(WindowProbe::wordList(f)->count(), 0);
        QCOMPARE(WindowProbe::wordList(f)->selectionMode(), QAbstractItemView::ExtendedSelection);
        QVERIFY(!WindowProbe::wordList(f)->isSortingEnabled());
        QVERIFY(WindowProbe::wordList(f)->uniformItemSizes());
        QVERIFY(WindowProbe::noFiltersOption(f)->isChecked());
        QVERIFY(!WindowProbe::beginningOption(f)->isChecked());
        QVERIFY(!WindowProbe::completeWordsOption(f)->isChecked());
        QVERIFY(!WindowProbe::filterCheck(f)->isChecked());
        QVERIFY(!WindowProbe::boldCheck(f)->isChecked());
        QCOMPARE(WindowProbe::minLengthEdit(f)->text(), QStringLiteral("3"));
        QCOMPARE(WindowProbe::progressBar(f)->minimum(), 0);
        QCOMPARE(WindowProbe::progressBar(f)->maximum(), 100);
        QCOMPARE(WindowProbe::progressBar(f)->floatValue(), 0.0f);
        QCOMPARE(WindowProbe::sensitivityBar(f)->orientation(), Qt::Horizontal);
        QCOMPARE(WindowProbe::sensitivityBar(f)->minimum(), 20);
        QCOMPARE(WindowProbe::sensitivityBar(f)->maximum(), 400);
        QCOMPARE(WindowProbe::sensitivityBar(f)->singleStep(), 1);
        QCOMPARE(WindowProbe::sensitivityBar(f)->pageStep(), 40);
        QCOMPARE(WindowProbe::sensitivityBar(f)->value(), 20);
        QVERIFY(WindowProbe::controlPanel(f)->title().isEmpty());
        for (QPushButton *b : {WindowProbe::analyzeButton(f), WindowProbe::clearFormattingButton(f), WindowProbe::clearAllButton(f)})
            QVERIFY(!b->isDefault() && !b->autoDefault());
    }

    // A screen reader can say what every control is.
    void accessibleNames()
    {
        for (QWidget *w : form().findChildren<QWidget *>()) {
            if (w->focusPolicy() & Qt::TabFocus && !w->objectName().isEmpty()
                && w->parentWidget() != WindowProbe::wordList(form()) && w->parentWidget() != WindowProbe::documentArea(form()))
                QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
        }
        QCOMPARE(WindowProbe::documentArea(form())->accessibleName(), QStringLiteral("Document"));
        QCOMPARE(WindowProbe::wordList(form())->accessibleName(), QStringLiteral("Word list"));
        QCOMPARE(WindowProbe::progressBar(form())->accessibleName(), QStringLiteral("Progress"));
    }

    void optionsAreOneGroup()
    {
        MainWindow &f = form();
        WindowProbe::beginningOption(f)->click();
        QVERIFY(WindowProbe::beginningOption(f)->isChecked() && !WindowProbe::noFiltersOption(f)->isChecked() && !WindowProbe::completeWordsOption(f)->isChecked());
        WindowProbe::completeWordsOption(f)->click();
        QVERIFY(WindowProbe::completeWordsOption(f)->isChecked() && !WindowProbe::noFiltersOption(f)->isChecked() && !WindowProbe::beginningOption(f)->isChecked());
        WindowProbe::noFiltersOption(f)->click();
        QVERIFY(WindowProbe::noFiltersOption(f)->isChecked() && !WindowProbe::beginningOption(f)->isChecked() && !WindowProbe::completeWordsOption(f)->isChecked());
    }

    void tabOrder()
    {
        MainWindow &f = form();
        QStringList order;
        QWidget *w = WindowProbe::documentArea(f);
        do {
            if (w->focusPolicy() & Qt::TabFocus && f.isAncestorOf(w))
                order.append(w->objectName());
            w = w->nextInFocusChain();
        } while (w != WindowProbe::documentArea(f));
        const QStringList expected = {
            QStringLiteral("documentArea"),       QStringLiteral("minLengthEdit"),    QStringLiteral("clearAllButton"),
            QStringLiteral("clearFormattingButton"), QStringLiteral("sensitivityBar"),    QStringLiteral("analyzeButton"),
            QStringLiteral("wordList"), QStringLiteral("filterCheck"), QStringLiteral("boldCheck"),
            QStringLiteral("beginningOption"),    QStringLiteral("completeWordsOption"),   QStringLiteral("noFiltersOption"),
        };
        QCOMPARE(order, expected);
    }

    void resizing_data()
    {
        QTest::addColumn<QSize>("requested");   // client pixels
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QSize>("document");
        QTest::addColumn<int>("frameTop");
        QTest::newRow("design size") << QSize(570, 593) << QSize(570, 593) << QSize(554, 433) << 442;
        // 8550 x 4260 twips: document area 8310 x 1860, control panel at 1995.
        QTest::newRow("smallest") << QSize(570, 284) << QSize(570, 284) << QSize(554, 124) << 133;
        QTest::newRow("enlarged") << QSize(800, 700) << QSize(800, 700) << QSize(784, 540) << 549;
        QTest::newRow("too small") << QSize(100, 100) << QSize(570, 284) << QSize(554, 124) << 133;
        QTest::newRow("too narrow") << QSize(300, 700) << QSize(570, 700) << QSize(554, 540) << 549;
    }
    void resizing()
    {
        QFETCH(QSize, requested);
        QFETCH(QSize, client);
        QFETCH(QSize, document);
        QFETCH(int, frameTop);
        MainWindow &f = form();
        // Without the minimum size Qt would keep, so that the window's own
        // rule is what grows a window that is too small.
        f.setMinimumSize(0, 0);
        f.resize(requested);
        QTRY_COMPARE(f.size(), client);
        QCOMPARE(WindowProbe::documentArea(f)->geometry(), QRect(QPoint(8, 8), document));
        // The panel keeps its left edge, its size and its content.
        QCOMPARE(WindowProbe::controlPanel(f)->geometry(), QRect(8, frameTop, 553, 145));
        QCOMPARE(WindowProbe::analyzeButton(f)->pos(), QPoint(8, 16));
        // Applying the rule to its own result changes nothing.
        WindowProbe::followResize(f);
        QCOMPARE(WindowProbe::documentArea(f)->geometry(), QRect(QPoint(8, 8), document));
        QCOMPARE(WindowProbe::controlPanel(f)->y(), frameTop);
    }

    // The rule in twips, including a window that refuses to grow.
    void resizeRule_data()
    {
        QTest::addColumn<QSizeF>("client");
        QTest::addColumn<bool>("canGrow");
        QTest::addColumn<bool>("applied");
        QTest::addColumn<QSizeF>("document");
        QTest::addColumn<qreal>("frameTop");
        QTest::newRow("design") << QSizeF(8550, 8895) << true << true << QSizeF(8310, 6495) << 6630.0;
        QTest::newRow("smallest") << QSizeF(8550, 4260) << true << true << QSizeF(8310, 1860) << 1995.0;
        QTest::newRow("grown back") << QSizeF(6000, 3000) << true << true << QSizeF(8310, 1860)
                                    << 1995.0;
        QTest::newRow("cannot grow") << QSizeF(6000, 3000) << false << false << QSizeF() << 0.0;
        QTest::newRow("cannot grow, too low") << QSizeF(9000, 3000) << false << false << QSizeF()
                                              << 0.0;
    }
    void resizeRule()
    {
        QFETCH(QSizeF, client);
        QFETCH(bool, canGrow);
        QFETCH(bool, applied);
        QFETCH(QSizeF, document);
        QFETCH(qreal, frameTop);
        QSizeF size = client;
        const auto layout = tq::ui::applyResizeRule([&] { return size; },
                                                    [&](QSizeF wanted) {
                                                        if (canGrow)
                                                            size = wanted;
                                                    });
        QCOMPARE(layout.has_value(), applied);
        if (layout) {
            QCOMPARE(layout->documentSize, document);
            QCOMPARE(layout->frameTop, frameTop);
        }
    }
};

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
