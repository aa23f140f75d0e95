#include "windowstart.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace tq::ui {

namespace {

struct HeldMessage
{
    QtMsgType type;
    const char *category;   // Qt's category names are static strings
    QString text;
};

QtMessageHandler passOn = nullptr;
QList<HeldMessage> held;

void hold(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg) {
        // Only reaching the window system can fail while the application
        // object is made. Exiting here keeps Qt from aborting afterwards.
        std::fputs(NoDisplayMessage, stderr);
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
    }
    held.append(HeldMessage{type, context.category, text});
}

} // namespace

void holdStartupMessages()
{
    passOn = qInstallMessageHandler(hold);
}

void releaseStartupMessages()
{
    qInstallMessageHandler(passOn);
    for (const HeldMessage &m : std::exchange(held, {}))
        passOn(m.type, QMessageLogContext(nullptr, 0, nullptr, m.category), m.text);
}

} // namespace tq::ui
