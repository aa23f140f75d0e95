#include "headlessapp.h"

#include <QGuiApplication>

namespace tq::cli {

namespace {
char Name[] = "tallyquill";
char PlatformOption[] = "-platform";
char Offscreen[] = "offscreen";
} // namespace

HeadlessApp::HeadlessApp() : m_argv{Name, PlatformOption, Offscreen, nullptr}
{
    // Given as an argument rather than through the environment, so that a
    // window shown later by the same process is not affected.
    if (!QCoreApplication::instance())
        m_app = std::make_unique<QGuiApplication>(m_argc, m_argv);
}

HeadlessApp::~HeadlessApp() = default;

} // namespace tq::cli
