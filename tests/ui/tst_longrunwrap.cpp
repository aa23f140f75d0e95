// A run of characters with no space, far longer than a line, makes the
// document area break its lines anywhere while the run is there, and the
// usual breaking at word boundaries comes back once it is gone, whichever
// way it came or went.
#include "documentarea.h"
#include "longrunwrap.h"

#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

using tq::ui::DocumentArea;
using tq::ui::LongRunWrap;

namespace {

const qsizetype Long = LongRunWrap::LongRun;

LongRunWrap *wrapOf(DocumentArea &area)
{
    return area.findChild<LongRunWrap *>();
}

} // namespace

class TestLongRunWrap : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void longRun_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("longRun");
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("just long enough for a line") << QString(Long, u'x') << false;
        QTest::newRow("one more") << QString(Long + 1, u'x') << true;
        QTest::newRow("split by a space")
            << QString(Long, u'x') + u' ' + QString(Long, u'x') << false;
        QTest::newRow("split by a paragraph end")
            << QString(Long, u'x') + QChar::ParagraphSeparator + QString(Long, u'x') << false;
        QTest::newRow("after prose") << QStringLiteral("Some words. ") + QString(Long + 5, u'y') << true;
    }
    void longRun()
    {
        QFETCH(QString, text);
        QFETCH(bool, longRun);
        QCOMPARE(LongRunWrap::hasLongRun(text), longRun);
    }

    void wrapFollowsTheText_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("anywhere");
        QTest::newRow("prose") << "prose" << false;
        QTest::newRow("run pasted") << "paste" << true;
        QTest::newRow("run pasted, then cut") << "paste cut" << false;
        QTest::newRow("run pasted, then typed into") << "paste type" << true;
        QTest::newRow("two runs pasted, the first cut") << "paste second cut" << true;
        QTest::newRow("two halves joined") << "join" << true;
        QTest::newRow("run opened") << "open" << true;
        QTest::newRow("run opened, then prose opened") << "open prose" << false;
    }
    void wrapFollowsTheText()
    {
        QFETCH(QString, change);
        QFETCH(bool, anywhere);
        DocumentArea area;
        const QTextOption::WrapMode usual = area.wordWrapMode();
        QString prose;
        for (int i = 0; i < 200; ++i)
            prose += QStringLiteral("A line of prose, number %1.\n").arg(i);
        area.setPlainText(prose);
        const QString run(Long * 3, u'z');
        QTextCursor at(area.document());
        at.setPosition(100);

        if (change.startsWith(u"paste")) {
            at.insertText(run);
            if (change == u"paste second cut") {
                QTextCursor end(area.document());
                end.movePosition(QTextCursor::End);
                end.insertText(u'\n' + run);
            }
            if (change.endsWith(u"cut")) {
                at.setPosition(100);
                at.setPosition(int(100 + run.size()), QTextCursor::KeepAnchor);
                at.removeSelectedText();
            } else if (change == u"paste type") {
                at.setPosition(int(100 + run.size() / 2));
                at.insertText(QStringLiteral("q"));
            }
        } else if (change == u"join") {
            at.insertText(QString(Long - 10, u'z') + u' ' + QString(Long - 10, u'z'));
            at.setPosition(int(100 + Long - 10));
            at.deleteChar();
        } else if (change.startsWith(u"open")) {
            area.replaceDocument(std::make_unique<QTextDocument>(run));
            if (change == u"open prose")
                area.replaceDocument(std::make_unique<QTextDocument>(prose));
        }
        QCOMPARE(wrapOf(area)->breaksAnywhere(), anywhere);
        QCOMPARE(area.wordWrapMode(), anywhere ? QTextOption::WrapAnywhere : usual);
        QCOMPARE(area.document()->defaultTextOption().wrapMode(), area.wordWrapMode());
    }
};

QTEST_MAIN(TestLongRunWrap)
#include "tst_longrunwrap.moc"
