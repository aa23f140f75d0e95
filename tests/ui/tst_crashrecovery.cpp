// Unsaved text survives a session that is killed outright: the next start
// offers it back, exactly as typed, and a session still running keeps its
// own copy to itself.
#include "testlocale.h"
#include "privatefolders.h"

#include "documentfile.h"
#include "messageboxes.h"
#include "recovery.h"
#include "windowfixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <csignal>

using namespace tq::testing;
using tq::ui::MainWindow;

namespace {

const QString Start = QStringLiteral("The quick brown fox jumps over the lazy dog.\u2029");
const QString Typed = QStringLiteral("Zo\u00eb's\u00a0draft,\n\tsecond line\u2028same paragraph \U0001F600");

QString recoveryFolder()
{
    return tq::ui::Recovery::defaultFolder();
}

// The raw text a document holds after Typed was typed into it.
QString asTyped(QString prefix)
{
    return prefix + QString(Typed).replace(u'\n', QChar::ParagraphSeparator);
}

// A session that typed Typed, alive until killed.
std::unique_ptr<QProcess> startSession(const QString &file = QString())
{
    auto child = std::make_unique<QProcess>();
    child->setProcessChannelMode(QProcess::ForwardedChannels);
    QStringList arguments{Typed};
    if (!file.isEmpty())
        arguments.append(file);
    child->start(QStringLiteral(TQ_RECOVERY_CHILD), arguments);
    return child;
}

// Waits until a recovery file holds content.
bool copyWritten(const QString &content)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 20000) {
        for (const QFileInfo &f : QDir(recoveryFolder()).entryInfoList({QStringLiteral("*.recovery")})) {
            const auto text = tq::ui::Recovery::read(f.absoluteFilePath());
            if (text && text->content == content)
                return true;
        }
        QTest::qWait(50);
    }
    return false;
}

void killHard(QProcess &child)
{
    ::kill(pid_t(child.processId()), SIGKILL);
    child.waitForFinished(5000);   // reaped: its process id is no longer in use
}

// Starts a window as the program does; the caller answers its questions.
std::unique_ptr<MainWindow> nextStart()
{
    auto form = std::make_unique<MainWindow>();
    form->show();
    form->documentFile().startSession(QString());
    return form;
}

} // namespace

class CrashRecoveryTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QDir(recoveryFolder()).removeRecursively(); }

    void killedSessionsTextComesBack()
    {
        auto child = startSession();
        QVERIFY(child->waitForStarted());
        QVERIFY(copyWritten(asTyped(Start)));
        killHard(*child);

        MessageBoxes answers(QMessageBox::Yes);
        auto form = nextStart();
        QCOMPARE(answers.asked(),
                 QStringList{QStringLiteral("Restore the unsaved text from the last session?")});
        QCOMPARE(WindowProbe::documentArea(*form)->document()->toRawText(), asTyped(Start));
        // Still unsaved; closing normally asks nothing (no file) and leaves no copy.
        QVERIFY(WindowProbe::documentArea(*form)->document()->isModified());
        QCOMPARE(form->windowTitle(), QStringLiteral("Dovrin's Tallyquill"));
        QVERIFY(form->close());
        QCOMPARE(answers.asked().size(), 1);
        QVERIFY(QDir(recoveryFolder()).entryList({QStringLiteral("*.recovery")}).isEmpty());
    }

    void restoredTextStillBelongsToItsFile()
    {
        QTemporaryDir dir;
        const QString chapter = dir.filePath(QStringLiteral("chapter.txt"));
        QFile f(chapter);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("Draft one.\r\n") > 0);
        f.close();
        auto child = startSession(chapter);
        QVERIFY(copyWritten(asTyped(QStringLiteral("Draft one.\u2029"))));
        killHard(*child);

        MessageBoxes answers(QMessageBox::Yes);
        auto form = nextStart();
        QCOMPARE(WindowProbe::documentArea(*form)->document()->toRawText(), asTyped(QStringLiteral("Draft one.\u2029")));
        QCOMPARE(form->windowTitle(), QStringLiteral("chapter.txt[*] - Dovrin's Tallyquill"));
        QVERIFY(form->isWindowModified());
        QVERIFY(form->documentFile().save());
        // Saved in the file's own line ends; the copy is gone.
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QString(asTyped(QStringLiteral("Draft one.\u2029")))
                                  .replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"))
                                  .replace(QChar::LineSeparator, QStringLiteral("\r\n"))
                                  .toUtf8());
        QVERIFY(QDir(recoveryFolder()).entryList({QStringLiteral("*.recovery")}).isEmpty());
    }

    void declinedTextIsGone()
    {
        auto child = startSession();
        QVERIFY(copyWritten(asTyped(Start)));
        killHard(*child);
        {
            MessageBoxes answers(QMessageBox::Discard);
            auto form = nextStart();
            QCOMPARE(answers.asked().size(), 1);
            QCOMPARE(WindowProbe::documentArea(*form)->document()->toRawText(), Start);
        }
        MessageBoxes answers(QMessageBox::Yes);
        auto form = nextStart();
        QVERIFY(answers.asked().isEmpty());
    }

    // A polite stop (shutdown, kill) does not wait for the writer's pause:
    // the copy is written at once and the program ends normally.
    void terminatedSessionKeepsTheLastEdits()
    {
        auto child = std::make_unique<QProcess>();
        child->setProcessChannelMode(QProcess::SeparateChannels);
        child->start(QStringLiteral(TQ_RECOVERY_CHILD), {Typed});
        QByteArray said;
        while (!said.contains("typed") && child->waitForReadyRead(20000))
            said += child->readAllStandardOutput();
        QVERIFY(said.contains("typed"));
        ::kill(pid_t(child->processId()), SIGTERM);
        QVERIFY(child->waitForFinished(10000));
        QCOMPARE(child->exitStatus(), QProcess::NormalExit);
        QCOMPARE(child->exitCode(), 0);

        MessageBoxes answers(QMessageBox::Yes);
        auto form = nextStart();
        QCOMPARE(answers.asked().size(), 1);
        QCOMPARE(WindowProbe::documentArea(*form)->document()->toRawText(), asTyped(Start));
    }

    // One stray key or a closed question destroys nothing.
    void unansweredQuestionKeepsTheText_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Escape") << true;
        QTest::newRow("question closed") << false;
    }
    void unansweredQuestionKeepsTheText()
    {
        QFETCH(bool, escape);
        auto child = startSession();
        QVERIFY(copyWritten(asTyped(Start)));
        killHard(*child);
        {
            QTimer dismiss;
            int asked = 0;
            QObject::connect(&dismiss, &QTimer::timeout, [&] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                if (!box || !box->isVisible())
                    return;
                ++asked;
                if (escape)
                    QTest::keyClick(box, Qt::Key_Escape);
                else
                    box->close();
            });
            dismiss.start(10);
            auto form = nextStart();
            QCOMPARE(asked, 1);
            QCOMPARE(WindowProbe::documentArea(*form)->document()->toRawText(), Start);
            QVERIFY(!WindowProbe::documentArea(*form)->document()->isModified());
            QVERIFY(form->close());
        }
        MessageBoxes answers(QMessageBox::Yes);
        auto form = nextStart();
        QCOMPARE(answers.asked().size(), 1);
        QCOMPARE(WindowProbe::documentArea(*form)->document()->toRawText(), asTyped(Start));
    }

    void runningSessionKeepsItsCopy()
    {
        auto running = startSession();
        QVERIFY(copyWritten(asTyped(Start)));
        {
            MessageBoxes answers(QMessageBox::Yes);
            auto second = nextStart();
            QVERIFY(answers.asked().isEmpty());   // not left behind: its session runs
            WindowProbe::documentArea(*second)->insertPlainText(QStringLiteral("other"));
            QVERIFY(second->close());             // its own copy goes, the other's stays
        }
        killHard(*running);
        MessageBoxes answers(QMessageBox::Yes);
        auto third = nextStart();
        QCOMPARE(answers.asked().size(), 1);
        QCOMPARE(WindowProbe::documentArea(*third)->document()->toRawText(), asTyped(Start));
    }
};

QTEST_MAIN(CrashRecoveryTest)
#include "tst_crashrecovery.moc"
