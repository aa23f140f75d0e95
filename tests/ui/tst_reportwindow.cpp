// The word report beside the window: it follows the last pass, its strips
// hold exactly the occurrences bolding marks, a click on a tick selects that
// occurrence, and chosen phrases are what Find Next steps through.
#include "testlocale.h"

#include "windowfixture.h"

#include "reportfeed.h"
#include "stepping.h"

#include <QListView>
#include <QTabWidget>
#include <QSettings>
#include <QStandardPaths>
#include <QStringListModel>

using namespace tq::testing;
using tq::ui::MainWindow;

namespace {

QStringList rows(QListView *view)
{
    return static_cast<QStringListModel *>(view->model())->stringList();
}

} // namespace

class ReportWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QSettings().clear();
    }

    void followsThePassAndFindsItsOccurrences()
    {
        const QString text = QStringLiteral(
            "He nodded and took a deep breath. It was\nChapter 2\nShe nods; she took a deep breath, "
            "then took a deep breath. Nodding, he left.\n");
        auto form = shownForm(text);
        tq::ui::ReportFeed &feed = WindowProbe::report(*form);
        WindowProbe::analysis(*form).wordReport->trigger();
        tq::ui::ReportWindow *report = feed.reportWindow();
        QVERIFY(report && report->isVisible());
        // Nothing analysed yet: the report says so instead of counting.
        QVERIFY(rows(report->phraseView()).isEmpty());

        WindowProbe::analyze(*form);
        QTRY_VERIFY(!feed.isBusy() && !rows(report->phraseView()).isEmpty());
        QCOMPARE(rows(report->phraseView()), QStringList{"3 - took a deep breath"});
        const QStringList families = rows(report->familyView());
        QVERIFY(std::any_of(families.begin(), families.end(), [](const QString &family) {
            return family.startsWith(u"3 - ") && family.contains(u"nodded (1)") && family.contains(u"nods (1)")
                   && family.contains(u"nodding (1)");
        }));

        // A strip per chosen entry: the occurrences bolding marks.
        WindowProbe::wordList(*form)->item(entryOf(*form, QStringLiteral("took")))->setSelected(true);
        QTRY_VERIFY(!feed.isBusy() && report->stripsView()->strips().size() == 1);
        const tq::ui::Strip strip = report->stripsView()->strips().constFirst();
        QCOMPARE(strip.occurrences, tq::occurrencesOf(text, {QStringLiteral("took")}));
        QCOMPARE(strip.occurrences.size(), 3);

        // A click on the second tick selects that occurrence.
        report->pages()->setCurrentIndex(2);
        report->resize(800, 400);
        QCoreApplication::processEvents();
        const tq::Span second = strip.occurrences.at(1);
        QTest::mouseClick(report->stripsView(), Qt::LeftButton, {},
                          report->stripsView()->tickRect(0, second).center());
        const QTextCursor caret = WindowProbe::documentArea(*form)->textCursor();
        QCOMPARE(caret.selectionStart(), int(second.start));
        QCOMPARE(caret.selectedText(), QStringLiteral("took"));

        // A chosen phrase gets a strip and is what Find Next steps through.
        report->phraseView()->selectionModel()->select(report->phraseView()->model()->index(0, 0),
                                                       QItemSelectionModel::Select);
        QTRY_VERIFY(!feed.isBusy() && report->stripsView()->strips().size() == 2);
        QCOMPARE(report->stripsView()->strips().at(1).occurrences.size(), 3);
        WindowProbe::analysis(*form).findNext->trigger();
        QCOMPARE(WindowProbe::documentArea(*form)->textCursor().selectedText(),
                 QStringLiteral("took a deep breath"));
    }
};

QTEST_MAIN(ReportWindowTest)
#include "tst_reportwindow.moc"
