// The window as it opens, and how it keeps its layout when resized.
#include "testlocale.h"

#include "documentarea.h"
#include "floatprogressbar.h"
#include "form1.h"
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

using tq::ui::Form1;

class WindowTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Form1> m_form;

    Form1 &form() { return *m_form; }

private Q_SLOTS:
    void init()
    {
        m_form = std::make_unique<Form1>();
        if (m_form->logicalDpiX() != 96 || m_form->logicalDpiY() != 96)
            QSKIP("positions are checked at 96 DPI");
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }
    void cleanup() { m_form.reset(); }

    void windowItself()
    {
        Form1 &f = form();
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
        // TB and Frame1 as the resize rule leaves them at the design size.
        row("TB", "Form1", QRect(120, 120, 8310, 6495), "");
        row("Frame1", "Form1", QRect(120, 6630, 8295, 2175), "");
        row("Command1", "Frame1", QRect(120, 240, 1455, 375), "Analyze");
        row("Command2", "Frame1", QRect(120, 780, 1455, 375), "Clear Formatting");
        row("Command3", "Frame1", QRect(120, 1320, 1455, 375), "Clear All");
        row("prog", "Frame1", QRect(120, 1800, 5655, 255), "");
        row("ScrlS", "Frame1", QRect(2760, 240, 3015, 255), "");
        row("txtML", "Frame1", QRect(5040, 570, 735, 285), "3");
        row("Option2", "Frame1", QRect(1920, 960, 3255, 255), "No Filters");
        row("ckOpt", "Frame1", QRect(1920, 1200, 3495, 255), "Match Must be at the Beginning of a Word");
        row("ckBoth", "Frame1", QRect(1920, 1440, 3855, 255),
            "Both Match and Original Must be Complete Words");
        row("lstWords", "Frame1", QRect(5880, 240, 2295, 1230), "");
        row("ckFilter", "Frame1", QRect(5880, 1500, 2295, 255), "Filter Using Minimum Length");
        row("ckBold", "Frame1", QRect(5880, 1800, 2295, 255), "Bold Highlighted Words");
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
        QTest::newRow("lblS") << QStringLiteral("lblS") << QPoint(1920, 240)
                              << QStringLiteral("Sensitivity:") << QStringLiteral("ScrlS");
        QTest::newRow("Label1") << QStringLiteral("Label1") << QPoint(1920, 600)
                                << QStringLiteral("Minimum Word Check Length:")
                                << QStringLiteral("txtML");
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
        Form1 &f = form();
        QCOMPARE(f.TB->toPlainText(), QStringLiteral("The quick brown fox jumps over the lazy dog.\n"));
        QCOMPARE(f.TB->document()->blockCount(), 2);
        QCOMPARE(f.TB->font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(f.TB->font().pointSizeF(), 8.25);
        QCOMPARE(f.TB->font().weight(), QFont::Normal);
        QCOMPARE(f.TB->document()->availableUndoSteps(), 0);
        QCOMPARE(f.lstWords->count(), 0);
        QCOMPARE(f.lstWords->selectionMode(), QAbstractItemView::ExtendedSelection);
        QVERIFY(!f.lstWords->isSortingEnabled());
        QVERIFY(f.lstWords->uniformItemSizes());
        QVERIFY(f.Option2->isChecked());
        QVERIFY(!f.ckOpt->isChecked());
        QVERIFY(!f.ckBoth->isChecked());
        QVERIFY(!f.ckFilter->isChecked());
        QVERIFY(!f.ckBold->isChecked());
        QCOMPARE(f.txtML->text(), QStringLiteral("3"));
        QCOMPARE(f.prog->minimum(), 0);
        QCOMPARE(f.prog->maximum(), 100);
        QCOMPARE(f.prog->floatValue(), 0.0f);
        QCOMPARE(f.ScrlS->orientation(), Qt::Horizontal);
        QCOMPARE(f.ScrlS->minimum(), 20);
        QCOMPARE(f.ScrlS->maximum(), 400);
        QCOMPARE(f.ScrlS->singleStep(), 1);
        QCOMPARE(f.ScrlS->pageStep(), 40);
        QCOMPARE(f.ScrlS->value(), 20);
        QVERIFY(f.Frame1->title().isEmpty());
        for (QPushButton *b : {f.Command1, f.Command2, f.Command3})
            QVERIFY(!b->isDefault() && !b->autoDefault());
    }

    // A screen reader can say what every control is.
    void accessibleNames()
    {
        for (QWidget *w : form().findChildren<QWidget *>()) {
            if (w->focusPolicy() & Qt::TabFocus && !w->objectName().isEmpty()
                && w->parentWidget() != form().lstWords && w->parentWidget() != form().TB)
                QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
        }
        QCOMPARE(form().TB->accessibleName(), QStringLiteral("Document"));
        QCOMPARE(form().lstWords->accessibleName(), QStringLiteral("Word list"));
        QCOMPARE(form().prog->accessibleName(), QStringLiteral("Progress"));
    }

    void optionsAreOneGroup()
    {
        Form1 &f = form();
        f.ckOpt->click();
        QVERIFY(f.ckOpt->isChecked() && !f.Option2->isChecked() && !f.ckBoth->isChecked());
        f.ckBoth->click();
        QVERIFY(f.ckBoth->isChecked() && !f.Option2->isChecked() && !f.ckOpt->isChecked());
        f.Option2->click();
        QVERIFY(f.Option2->isChecked() && !f.ckOpt->isChecked() && !f.ckBoth->isChecked());
    }

    void tabOrder()
    {
        Form1 &f = form();
        QStringList order;
        QWidget *w = f.TB;
        do {
            if (w->focusPolicy() & Qt::TabFocus && f.isAncestorOf(w))
                order.append(w->objectName());
            w = w->nextInFocusChain();
        } while (w != f.TB);
        const QStringList expected = {
            QStringLiteral("TB"),       QStringLiteral("txtML"),    QStringLiteral("Command3"),
            QStringLiteral("Command2"), QStringLiteral("ScrlS"),    QStringLiteral("Command1"),
            QStringLiteral("lstWords"), QStringLiteral("ckFilter"), QStringLiteral("ckBold"),
            QStringLiteral("ckOpt"),    QStringLiteral("ckBoth"),   QStringLiteral("Option2"),
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
        // 8550 x 4260 twips: TB 8310 x 1860, Frame1 at 1995.
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
        Form1 &f = form();
        // Without the minimum size Qt would keep, so that the window's own
        // rule is what grows a window that is too small.
        f.setMinimumSize(0, 0);
        f.resize(requested);
        QTRY_COMPARE(f.size(), client);
        QCOMPARE(f.TB->geometry(), QRect(QPoint(8, 8), document));
        // The panel keeps its left edge, its size and its content.
        QCOMPARE(f.Frame1->geometry(), QRect(8, frameTop, 553, 145));
        QCOMPARE(f.Command1->pos(), QPoint(8, 16));
        // Applying the rule to its own result changes nothing.
        f.Form_Resize();
        QCOMPARE(f.TB->geometry(), QRect(QPoint(8, 8), document));
        QCOMPARE(f.Frame1->y(), frameTop);
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
