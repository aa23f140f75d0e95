// A QGuiApplication on the offscreen platform: documents need fonts, fonts
// need a GUI application, and a tool that shows no window must run without
// a display. Does nothing when an application already exists.
#pragma once

#include <memory>

class QGuiApplication;

namespace tq::cli {

class HeadlessApp
{
public:
    HeadlessApp();
    ~HeadlessApp();
    HeadlessApp(const HeadlessApp &) = delete;
    HeadlessApp &operator=(const HeadlessApp &) = delete;

private:
    int m_argc = 3;
    char *m_argv[4];
    std::unique_ptr<QGuiApplication> m_app;
};

} // namespace tq::cli
