// Highlight colours against the document's background: exact on a light one,
// lightened with their hue kept until readable on a dark one.
#include "testlocale.h"

#include "highlighter.h"
#include "readablecolour.h"

#include <QTest>

#include <algorithm>

using namespace tq::ui;

namespace {

QColor fromPalette(tq::Colour c)
{
    return QColor(int(c & 0xff), int((c >> 8) & 0xff), int((c >> 16) & 0xff));
}

} // namespace

class ReadableColourTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void contrast_data()
    {
        QTest::addColumn<QColor>("a");
        QTest::addColumn<QColor>("b");
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
        QTest::newRow("either order") << QColor(Qt::white) << QColor(Qt::black) << 21.0;
        QTest::newRow("same colour") << QColor(0x3d, 0x3d, 0x3d) << QColor(0x3d, 0x3d, 0x3d) << 1.0;
        QTest::newRow("blue on dark grey") << QColor(0, 0, 255) << QColor(0x3d, 0x3d, 0x3d) << 1.26;
        QTest::newRow("red on dark grey") << QColor(255, 0, 0) << QColor(0x3d, 0x3d, 0x3d) << 2.72;
        QTest::newRow("grey on white") << QColor(0x76, 0x76, 0x76) << QColor(Qt::white) << 4.54;
    }
    void contrast()
    {
        QFETCH(QColor, a);
        QFETCH(QColor, b);
        QFETCH(qreal, ratio);
        QVERIFY2(qAbs(contrastRatio(a, b) - ratio) < 0.01, qPrintable(QString::number(contrastRatio(a, b))));
    }

    // Every colour of the analysis's palette over backgrounds from white to
    // black; "changed" says whether it must be drawn lighter there.
    void drawnColour_data()
    {
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<bool>("changed");

        struct Background
        {
            const char *name;
            QColor colour;
            std::array<bool, 5> changed;   // red, green, blue, magenta, orange
        };
        const Background backgrounds[] = {
            {"white", Qt::white, {false, false, false, false, false}},
            {"window grey", QColor(0xf0, 0xf0, 0xf0), {false, false, false, false, false}},
            // The darkest grey on which dark text still reads better.
            {"mid grey", QColor(0x76, 0x76, 0x76), {false, false, false, false, false}},
            // The lightest grey on which light text reads better: lightening
            // must still reach the bound.
            {"lighter dark grey", QColor(0x75, 0x75, 0x75), {true, true, true, true, true}},
            {"dark grey", QColor(0x3d, 0x3d, 0x3d), {true, true, true, true, true}},
            {"dark blue", QColor(0x1e, 0x1e, 0x3c), {true, false, true, false, false}},
            {"black", Qt::black, {false, false, true, false, false}},
        };
        const char *names[] = {"red", "green", "blue", "magenta", "orange"};
        for (const Background &b : backgrounds) {
            for (size_t i = 0; i < tq::Palette.size(); ++i) {
                QTest::addRow("%s on %s", names[i], b.name)
                    << fromPalette(tq::Palette[i]) << b.colour << b.changed[i];
            }
        }
        QTest::newRow("yellow, readable as it is") << QColor(255, 255, 0) << QColor(0x3d, 0x3d, 0x3d)
                                                   << false;
        QTest::newRow("dark grey without hue") << QColor(0x20, 0x20, 0x20) << QColor(0x3d, 0x3d, 0x3d)
                                               << true;
    }
    void drawnColour()
    {
        QFETCH(QColor, colour);
        QFETCH(QColor, background);
        QFETCH(bool, changed);
        const QColor drawn = readableOn(colour, background);
        if (!changed) {
            QCOMPARE(drawn, colour);
            return;
        }
        QVERIFY(drawn != colour);
        QVERIFY2(contrastRatio(drawn, background) >= ReadableContrast,
                 qPrintable(drawn.name() + QString::number(contrastRatio(drawn, background))));
        QVERIFY(drawn.lightnessF() > colour.lightnessF());
        if (colour.hslHue() >= 0) {
            // Hue as close as 8 bits a channel can hold it: near white, the
            // channels are few steps apart and one step moves the hue more.
            const int spread = std::max({drawn.red(), drawn.green(), drawn.blue()})
                               - std::min({drawn.red(), drawn.green(), drawn.blue()});
            const qreal tolerance = std::max(1.0, 60.0 / spread);
            QVERIFY2(qAbs(drawn.hslHueF() - colour.hslHueF()) * 360 <= tolerance,
                     qPrintable(drawn.name()));
            QVERIFY(qAbs(drawn.hslSaturationF() - colour.hslSaturationF()) < 0.02);
        } else {
            QCOMPARE(drawn.hslSaturation(), 0);
        }
        // No lighter than needed: a step darker falls short of the bound.
        const QColor darker = QColor::fromHslF(drawn.hslHueF(), drawn.hslSaturationF(),
                                               drawn.lightnessF() - 0.02);
        QVERIFY(contrastRatio(darker, background) < ReadableContrast);
    }
};

QTEST_GUILESS_MAIN(ReadableColourTest)
#include "tst_readablecolour.moc"
