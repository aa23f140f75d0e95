// Writes the window icon at one size as a PNG file, for the desktop files:
//   tq-render-icon SIZE FILE
#include "icon/appicon.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool ok = false;
    const int size = args.size() == 3 ? args[1].toInt(&ok) : 0;
    if (!ok || size < 1 || size > 1024) {
        std::fprintf(stderr, "usage: tq-render-icon SIZE FILE\n");
        return 2;
    }
    if (!tq::ui::renderAppIcon(size).save(args[2], "PNG")) {
        std::fprintf(stderr, "tq-render-icon: cannot write %s\n", qPrintable(args[2]));
        return 1;
    }
    return 0;
}
