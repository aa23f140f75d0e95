// A window session for the crash test: starts as the program does, types
// the text given (after opening the file given, if any), then runs until it
// is killed.
#include "documentarea.h"
#include "documentfile.h"
#include "form1.h"

#include <QApplication>
#include <QTextCursor>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tallyquill"));
    QApplication::setApplicationName(QStringLiteral("Tallyquill"));
    const QStringList arguments = QApplication::arguments();
    tq::ui::Form1 form;
    form.show();
    form.documentFile().startSession(arguments.value(2));
    form.TB->moveCursor(QTextCursor::End);
    form.TB->insertPlainText(arguments.value(1));
    return app.exec();
}
