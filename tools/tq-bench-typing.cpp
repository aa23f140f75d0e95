// Times an Analyze pass in the real window (offscreen unless a display is
// set) on a UTF-8 text given as the first argument, once left alone and once
// with KEYS keystrokes (100 by default) typed in the middle of the text
// while it runs, one at each visit to the event loop.
// Reports both pass times, the longest the event loop waited between two
// visits, the longest a keystroke waited to be handled, and what the same
// keystrokes take with no pass running. Then zooms the text in (Ctrl++)
// with the view in the middle of the text: how long the key takes and the
// longest wait for the event loop while the rest is laid out.
//   tq-bench-typing FILE [KEYS]
#include "documentarea.h"
#include "mainwindow.h"
#include "windowprobe.h"
#include "passpacer.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTextCursor>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>

using tq::ui::MainWindow;

using tq::ui::WindowProbe;

namespace {

// Notes when each keystroke reaches the document area.
class KeyWatch : public QObject
{
public:
    QElapsedTimer clock;
    qint64 postedNs = 0;
    qint64 longestNs = 0;
    int handled = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            longestNs = std::max(longestNs, clock.nsecsElapsed() - postedNs);
            ++handled;
        }
        return QObject::eventFilter(watched, event);
    }
};

// The processor time this process used: on a shared machine it varies far
// less with the other work than the time on the clock does.
double processorSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct Pass
{
    double seconds = 0;
    double processor = 0;
    double longestWaitMs = 0;
};

Pass timedPass(MainWindow &form, const tq::ui::PassPacer &pacer)
{
    QElapsedTimer t;
    t.start();
    const double cpu = processorSeconds();
    WindowProbe::analyze(form);
    return Pass{double(t.nsecsElapsed()) / 1e9, processorSeconds() - cpu,
                double(pacer.longestWaitNs()) / 1e6};
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: tq-bench-typing FILE [KEYS]\n", stderr);
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "tq-bench-typing: cannot read %s\n", argv[1]);
        return 2;
    }
    const QString text = QString::fromUtf8(file.readAll());
    const int keys = argc > 2 ? std::max(1, atoi(argv[2])) : 100;

    tq::ui::PassPacer pacer;
    MainWindow form(&pacer);
    form.show();
    WindowProbe::documentArea(form)->setPlainText(text);
    WindowProbe::documentArea(form)->document()->documentLayout()->documentSize();
    QApplication::processEvents();
    WindowProbe::documentArea(form)->setFocus();
    QTextCursor middle(WindowProbe::documentArea(form)->document());
    middle.setPosition(int(text.size() / 2));
    WindowProbe::documentArea(form)->setTextCursor(middle);

    timedPass(form, pacer);   // the first pass also fills caches
    const Pass alone = timedPass(form, pacer);

    // One keystroke at each visit to the event loop, as a writer typing
    // steadily through a long pass would deliver them: every one is a new
    // version of the text for the pass to catch up with.
    KeyWatch watch;
    watch.clock.start();
    WindowProbe::documentArea(form)->installEventFilter(&watch);
    int posted = 0;
    bool running = false;
    int duringPass = 0;
    auto typeOne = [&] {
        watch.postedNs = watch.clock.nsecsElapsed();
        const QString letter(QChar(u'a' + posted % 26));
        QApplication::postEvent(WindowProbe::documentArea(form), new QKeyEvent(QEvent::KeyPress, Qt::Key_A + posted % 26,
                                                       Qt::NoModifier, letter));
        QApplication::postEvent(WindowProbe::documentArea(form), new QKeyEvent(QEvent::KeyRelease, Qt::Key_A + posted % 26,
                                                       Qt::NoModifier, letter));
        ++posted;
        if (running)
            ++duringPass;
    };
    QTimer typist;
    typist.setInterval(0);
    QObject::connect(&typist, &QTimer::timeout, [&] {
        typeOne();
        if (posted == keys)
            typist.stop();
    });
    typist.start();
    running = true;
    const Pass typed = timedPass(form, pacer);
    running = false;
    while (posted < keys || watch.handled < keys)
        QApplication::processEvents(QEventLoop::AllEvents, 10);

    // The same keystrokes with no pass: what the document area itself takes.
    WindowProbe::documentArea(form)->removeEventFilter(&watch);
    QElapsedTimer widgetOnly;
    widgetOnly.start();
    const double widgetCpu = processorSeconds();
    for (int i = 0; i < keys; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A + i % 26, Qt::NoModifier, QString(QChar(u'a' + i % 26)));
        QApplication::sendEvent(WindowProbe::documentArea(form), &press);
        QApplication::processEvents();
    }
    const double widgetSeconds = double(widgetOnly.nsecsElapsed()) / 1e9;
    const double widgetProcessor = processorSeconds() - widgetCpu;

    std::printf("pass alone: %.3f s (processor %.3f s), longest event-loop wait %.1f ms\n",
                alone.seconds, alone.processor, alone.longestWaitMs);
    const double added = typed.seconds - alone.seconds;
    const double addedProcessor = typed.processor - alone.processor;
    std::printf("pass with %d keystrokes (%d typed during it): %.3f s (%+.3f s, %.1f ms a "
                "keystroke; processor %+.3f s), longest event-loop wait %.1f ms, longest "
                "keystroke wait %.1f ms\n",
                keys, duringPass, typed.seconds, added, added * 1000 / std::max(1, duringPass),
                addedProcessor, typed.longestWaitMs, double(watch.longestNs) / 1e6);
    std::printf("the same keystrokes with no pass: %.3f s (%.1f ms a keystroke; processor %.1f ms "
                "a keystroke)\n",
                widgetSeconds, widgetSeconds * 1000 / keys, widgetProcessor * 1000 / keys);

    // Zoom in with the view where the typing left it.
    QElapsedTimer zoom;
    zoom.start();
    QKeyEvent ctrlPlus(QEvent::KeyPress, Qt::Key_Plus, Qt::ControlModifier, QStringLiteral("+"));
    QApplication::sendEvent(WindowProbe::documentArea(form), &ctrlPlus);
    const double zoomKeyMs = double(zoom.nsecsElapsed()) / 1e6;
    // Laid out once the event loop has had nothing to do for a while.
    qint64 longestTurn = 0;
    for (int quiet = 0; quiet < 100 && zoom.elapsed() < 60000;) {
        QElapsedTimer turn;
        turn.start();
        QApplication::processEvents();
        const qint64 took = turn.nsecsElapsed();
        longestTurn = std::max(longestTurn, took);
        quiet = took < 1'000'000 ? quiet + 1 : 0;
    }
    std::printf("Ctrl++ in the middle of the text: the key %.1f ms, longest wait after it %.1f ms\n",
                zoomKeyMs, double(longestTurn) / 1e6);
    return 0;
}
