// Opens the window on the current display, pastes a sample the way a writer
// would, presses Analyze, picks a word with "Bold Highlighted Words" ticked,
// and writes a picture of the window:  tq-screenshot FILE.png
// scripts/screenshot runs it under a virtual X server.
#include "mainwindow.h"
#include "windowprobe.h"

#include "documentarea.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <cstdio>

using tq::ui::WindowProbe;

namespace {

const char Sample[] =
    "The old house stood at the end of the lane. Every morning the old man walked to the "
    "house at the end of the lane and looked at the house for a long time.\n\n"
    "He said the house was waiting. Waiting for what, nobody knew, but the waiting "
    "went on, morning after morning, and the lane grew quiet.\n";

void click(QWidget *widget, QPoint at = QPoint(), Qt::KeyboardModifiers modifiers = {})
{
    QTest::mouseClick(widget, Qt::LeftButton, modifiers, at.isNull() ? widget->rect().center() : at);
    QTest::qWait(50);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (app.arguments().size() != 2) {
        std::fprintf(stderr, "usage: tq-screenshot FILE.png\n");
        return 2;
    }
    tq::ui::MainWindow form;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        std::fprintf(stderr, "tq-screenshot: the window did not appear\n");
        return 1;
    }

    // Paste, as from another program.
    WindowProbe::documentArea(form)->selectAll();
    QApplication::clipboard()->setText(QString::fromUtf8(Sample));
    WindowProbe::documentArea(form)->setFocus();
    QTest::keyClick(WindowProbe::documentArea(form), Qt::Key_V, Qt::ControlModifier);
    QTest::qWait(50);

    click(WindowProbe::analyzeButton(form));
    click(WindowProbe::boldCheck(form));
    for (int i = 0; i < WindowProbe::wordList(form)->count(); ++i) {
        if (WindowProbe::wordList(form)->item(i)->text().endsWith(QLatin1String(" - house"))) {
            const QRect r = WindowProbe::wordList(form)->visualItemRect(WindowProbe::wordList(form)->item(i));
            click(WindowProbe::wordList(form)->viewport(), r.center());
            break;
        }
    }
    QTest::qWait(200);

    // What the display shows, not what the widgets would paint on their own.
    const QPoint origin = form.mapToGlobal(QPoint(0, 0));
    const QPixmap shot = form.screen()->grabWindow(0, origin.x(), origin.y(), form.width(),
                                                   form.height());
    if (!shot.save(app.arguments().at(1), "PNG")) {
        std::fprintf(stderr, "tq-screenshot: cannot write %s\n", qPrintable(app.arguments().at(1)));
        return 1;
    }
    return 0;
}
