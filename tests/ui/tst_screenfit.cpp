// Where the window opens: the whole window on the screen, however large the
// screen's scale makes it. Runs at scale factor 2 (see CMakeLists.txt), so
// that the design size is taller than the offscreen screen.
#include "testlocale.h"

#include "mainwindow.h"
#include "windowprobe.h"
#include "screenfit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QScreen>
#include <QTest>

using namespace tq::ui;

Q_DECLARE_METATYPE(QMargins)

class ScreenFitTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void placeOnScreen_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QMargins>("frame");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("framePosition");

        const QMargins openbox(1, 10, 1, 3);   // at scale factor 2
        // The design size is 570 x 593, the minimum 570 x 284.
        QTest::newRow("design size fits, centred")
            << QRect(0, 0, 1920, 1040) << QMargins(2, 20, 2, 6) << QSize(570, 593) << QPoint(673, 210);
        QTest::newRow("1920x1080 at scale 2: shorter, whole frame on screen")
            << QRect(0, 0, 960, 540) << openbox << QSize(570, 527) << QPoint(194, 0);
        QTest::newRow("frame not known yet") << QRect(0, 0, 960, 540) << QMargins() << QSize(570, 540)
                                             << QPoint(195, 0);
        QTest::newRow("panel at the top") << QRect(0, 30, 960, 510) << openbox << QSize(570, 497)
                                          << QPoint(194, 30);
        QTest::newRow("second screen, right of the first")
            << QRect(1920, 0, 1920, 1080) << QMargins() << QSize(570, 593) << QPoint(2595, 243);
        QTest::newRow("screen left of the primary")
            << QRect(-960, 0, 960, 540) << openbox << QSize(570, 527) << QPoint(-766, 0);
        QTest::newRow("narrower than the minimum: minimum, at the left")
            << QRect(0, 0, 500, 1000) << openbox << QSize(570, 593) << QPoint(0, 197);
        QTest::newRow("smaller than the minimum: minimum, at the top left")
            << QRect(10, 20, 400, 200) << openbox << QSize(570, 284) << QPoint(10, 20);
        QTest::newRow("exactly the design size with its frame")
            << QRect(0, 0, 572, 606) << openbox << QSize(570, 593) << QPoint(0, 0);
    }
    void placeOnScreen()
    {
        QFETCH(QRect, available);
        QFETCH(QMargins, frame);
        QFETCH(QSize, size);
        QFETCH(QPoint, framePosition);
        const WindowPlace place =
            tq::ui::placeOnScreen(QSize(570, 593), QSize(570, 284), available, frame);
        QCOMPARE(place.size, size);
        QCOMPARE(place.framePosition, framePosition);
    }

    // At scale 2 the offscreen screen is narrower than the minimum width and
    // lower than the design height: the window opens at its minimum width and
    // the height of the screen, and the bottom row of the panel is inside it.
    void windowOpensOnTheScreen()
    {
        MainWindow form;
        if (form.logicalDpiY() != 96)
            QSKIP("sizes are checked at 96 DPI");
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QRect available = form.screen()->availableGeometry();
        QVERIFY(available.width() < 570 && available.height() < 593);
        // The offscreen platform draws a thin frame, which fits as well.
        QCOMPARE(form.width(), 570);
        QCOMPARE(form.frameGeometry().topLeft(), available.topLeft());
        QCOMPARE(form.frameGeometry().height(), available.height());
        const QRect bold(WindowProbe::boldCheck(form)->mapTo(&form, QPoint()), WindowProbe::boldCheck(form)->size());
        QVERIFY(form.rect().contains(bold));
        QVERIFY(form.rect().contains(WindowProbe::controlPanel(form)->geometry()));
    }
};

QTEST_MAIN(ScreenFitTest)
#include "tst_screenfit.moc"
