// Times working through an analysis in the real window (offscreen unless a
// display is set), on a UTF-8 text given as the first argument:
//   - each Find Next step on the word "the", the first one and the rest;
//   - Analyze Selection over CHAPTER units from the middle of the text, from
//     the command to the filled list.
//   tq-bench-steps FILE [STEPS [CHAPTER]]
#include "analysiscommands.h"
#include "documentarea.h"
#include "mainwindow.h"
#include "windowprobe.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTextCursor>

#include <algorithm>
#include <cstdio>

using tq::ui::MainWindow;
using tq::ui::WindowProbe;

namespace {

double msSince(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: tq-bench-steps FILE [STEPS [CHAPTER]]\n", stderr);
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "tq-bench-steps: cannot read %s\n", argv[1]);
        return 2;
    }
    const QString text = QString::fromUtf8(file.readAll());
    const int steps = argc > 2 ? std::max(1, atoi(argv[2])) : 200;
    const qsizetype chapter = argc > 3 ? std::max(1, atoi(argv[3])) : 20480;

    MainWindow form;
    form.show();
    WindowProbe::documentArea(form)->setPlainText(text);
    WindowProbe::analyze(form);
    // The editor lays a long document out in the background, a slice at a
    // time; a writer's document has long been laid out when they work on it.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 3000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);

    // Find Next on "the".
    WindowProbe::wordList(form)->clearSelection();
    for (int i = 0; i < WindowProbe::wordList(form)->count(); ++i) {
        if (WindowProbe::wordList(form)->item(i)->text().endsWith(QStringLiteral(" - the")))
            WindowProbe::wordList(form)->item(i)->setSelected(true);
    }
    QTextCursor start(WindowProbe::documentArea(form)->document());
    WindowProbe::documentArea(form)->setTextCursor(start);
    QList<double> times;
    for (int i = 0; i < steps; ++i) {
        QElapsedTimer t;
        t.start();
        tq::ui::WindowProbe::analysis(form).findNext->trigger();
        QApplication::processEvents();
        times.append(msSince(t));
    }
    const double first = times.first();
    QList<double> rest = times.mid(1);
    std::sort(rest.begin(), rest.end());
    std::printf("find next on \"the\": first step %.1f ms; then median %.2f ms, slowest %.2f ms "
                "(%d steps)\n",
                first, rest.isEmpty() ? 0.0 : rest[rest.size() / 2],
                rest.isEmpty() ? 0.0 : rest.last(), steps);

    // Analyze Selection over a chapter in the middle.
    const qsizetype from = std::max<qsizetype>(0, text.size() / 2 - chapter / 2);
    QTextCursor selection(WindowProbe::documentArea(form)->document());
    selection.setPosition(int(from));
    selection.setPosition(int(std::min(text.size(), from + chapter)), QTextCursor::KeepAnchor);
    WindowProbe::documentArea(form)->setTextCursor(selection);
    QApplication::processEvents();
    QElapsedTimer t;
    t.start();
    // The pass runs once the event loop takes the command up.
    tq::ui::WindowProbe::analysis(form).analyzeSelection->trigger();
    QApplication::processEvents();
    const double pass = msSince(t);
    QApplication::processEvents();
    std::printf("analyze selection of %lld units: %.1f ms to the filled list (%d entries), "
                "%.1f ms until shown\n",
                qlonglong(chapter), pass, WindowProbe::wordList(form)->count(), msSince(t));
    return 0;
}
