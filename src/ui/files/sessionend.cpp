#include "sessionend.h"

#include "documentfile.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace tq::ui {

namespace {

// Written by the signal handler, read by the event loop: the handler may do
// nothing but write() a byte.
int signalPipe[2] = {-1, -1};

void onTerminate(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

} // namespace

void keepTextWhenSessionEnds(DocumentFile &file)
{
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, &file,
                     [&file](QSessionManager &) { file.endSession(); });

    if (signalPipe[0] >= 0 || ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &file);
    QObject::connect(notifier, &QSocketNotifier::activated, &file, [&file, notifier] {
        char byte = 0;
        while (::read(signalPipe[0], &byte, 1) > 0) {
        }
        notifier->setEnabled(false);
        file.endSession();
    });
    struct sigaction action = {};
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
}

} // namespace tq::ui
