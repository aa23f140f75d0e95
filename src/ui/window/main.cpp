// Starts the program: one window, and the program ends when it is closed;
// or, asked for the command line, no window at all.
#include "commandline.h"
#include "documentfile.h"
#include "mainwindow.h"
#include "sessionend.h"
#include "windowstart.h"

#include <QApplication>

int main(int argc, char **argv)
{
    if (tq::cli::wantsCommandLine(argc, argv))
        return tq::cli::runCommandLine(argc, argv);
    tq::ui::holdStartupMessages();   // no display: one line and a failure status
    QApplication app(argc, argv);
    tq::ui::releaseStartupMessages();
    // Where the settings and the recovery copies live.
    QApplication::setOrganizationName(QStringLiteral("Tallyquill"));
    QApplication::setApplicationName(QStringLiteral("Tallyquill"));
    QApplication::setDesktopFileName(QStringLiteral("org.tallyquill.Tallyquill"));
    // Lives here, not on the heap, so that closing the window during an
    // analysis cannot destroy it while the analysis is still on the stack.
    tq::ui::MainWindow form;
    form.show();
    // tallyquill [--] [FILE]
    QStringList arguments = QApplication::arguments().mid(1);
    if (arguments.value(0) == u"--")
        arguments.removeFirst();
    form.documentFile().startSession(arguments.value(0));
    tq::ui::keepTextWhenSessionEnds(form.documentFile());
    return app.exec();
}
