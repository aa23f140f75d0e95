// A window session for the crash test: starts as the program does, types
// the text given (after opening the file given, if any), then runs until it
// is killed or told to stop.
#include "documentarea.h"
#include "documentfile.h"
#include "mainwindow.h"
#include "sessionend.h"
#include "windowprobe.h"

#include <QApplication>
#include <QTextCursor>

#include <cstdio>

using tq::ui::WindowProbe;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tallyquill"));
    QApplication::setApplicationName(QStringLiteral("Tallyquill"));
    const QStringList arguments = QApplication::arguments();
    tq::ui::MainWindow form;
    form.show();
    form.documentFile().startSession(arguments.value(2));
    tq::ui::keepTextWhenSessionEnds(form.documentFile());
    WindowProbe::documentArea(form)->moveCursor(QTextCursor::End);
    WindowProbe::documentArea(form)->insertPlainText(arguments.value(1));
    // Told to whoever waits for the typing to be done.
    std::fputs("typed\n", stdout);
    std::fflush(stdout);
    return app.exec();
}
