// Browsing the result list in the real window: bolding the selected words,
// the right-button press, the clear commands, and browsing during a pass.
#include "testlocale.h"

#include "windowfixture.h"
#include "wordlistbox.h"

#include "floatprogressbar.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>

using namespace tq::testing;
using tq::ui::Form1;

namespace {

void clickEntry(Form1 &form, int entry, Qt::MouseButton button = Qt::LeftButton,
                Qt::KeyboardModifiers modifiers = {})
{
    const QRect r = form.lstWords->visualItemRect(form.lstWords->item(entry));
    QTest::mouseClick(form.lstWords->viewport(), button, modifiers, r.center());
}

} // namespace

class WindowBrowseTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bolding_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("words");   // selected with the control key
        QTest::addColumn<QList<Run>>("bold");
        QTest::newRow("the theory of other things")
            << QStringLiteral("The theory of other things") << QStringList{"the"}
            << QList<Run>{{0, 2, 1}, {4, 6, 1}, {15, 17, 1}};
        QTest::newRow("a aa") << QStringLiteral("a aa") << QStringList{"a"}
                              << QList<Run>{{0, 0, 1}, {2, 2, 1}};
        QTest::newRow("two words, overlapping")
            << QStringLiteral("other the her x") << QStringList{"the", "her"}
            << QList<Run>{{1, 4, 1}, {6, 8, 1}, {10, 12, 1}};
        QTest::newRow("empty word") << QStringLiteral("a  b") << QStringList{""} << QList<Run>();
        QTest::newRow("one character") << QStringLiteral("a") << QStringList{"a"} << QList<Run>();
    }
    void bolding()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, words);
        QFETCH(QList<Run>, bold);
        auto form = shownForm(text);
        form->Command1_Click();
        const QList<Run> colours = colourRuns(*form);
        QTest::mouseClick(form->ckBold, Qt::LeftButton);
        QVERIFY(form->ckBold->isChecked());
        for (const QString &word : words) {
            const int entry = entryOf(*form, word);
            QVERIFY2(entry >= 0, qPrintable(word));
            clickEntry(*form, entry, Qt::LeftButton, Qt::ControlModifier);
        }
        QCOMPARE(boldRuns(*form), bold);
        QCOMPARE(colourRuns(*form), colours);   // bold leaves colour alone
        if (!bold.isEmpty())
            QCOMPARE(WindowProbe::surface(*form).selStart(), bold.last().first);
        QVERIFY(!form->TB->textCursor().hasSelection());

        // Unticking removes all bold and keeps the selection; ticking again
        // bolds the same words.
        QTest::mouseClick(form->ckBold, Qt::LeftButton);
        QCOMPARE(boldRuns(*form), QList<Run>());
        QCOMPARE(form->lstWords->selectedItems().size(), words.size());
        QTest::mouseClick(form->ckBold, Qt::LeftButton);
        QCOMPARE(boldRuns(*form), bold);
    }

    void noBoldUnlessTicked()
    {
        auto form = shownForm(QStringLiteral("The theory of other things"));
        form->Command1_Click();
        clickEntry(*form, entryOf(*form, QStringLiteral("the")));
        QCOMPARE(form->lstWords->selectedItems().size(), 1);
        QCOMPARE(boldRuns(*form), QList<Run>());
    }

    // Any button but the left one clears the selection and the bold, with a
    // single run of the bolding however many entries were selected.
    void otherButtonsClear_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::newRow("right") << Qt::RightButton;
        QTest::newRow("middle") << Qt::MiddleButton;
    }
    void otherButtonsClear()
    {
        QFETCH(Qt::MouseButton, button);
        auto form = shownForm(QStringLiteral("the cat and the dog and the cat"));
        form->Command1_Click();
        form->ckBold->setChecked(true);
        form->lstWords->selectAll();
        QList<Run> shown = boldRuns(*form);
        QVERIFY(!shown.isEmpty());
        QSignalSpy selectionChanges(form->lstWords, &QListWidget::itemSelectionChanged);
        // Every change of the bold the document shows, as it is laid out:
        // a run per entry would show the bold of the entries still selected.
        QList<QList<Run>> boldShown;
        QObject::connect(form->TB->document()->documentLayout(), &QAbstractTextDocumentLayout::update,
                         [&] {
                             if (boldRuns(*form) != shown)
                                 boldShown.append(shown = boldRuns(*form));
                         });
        const quint64 before = WindowProbe::surface(*form).textVersion();
        clickEntry(*form, 1, button);
        QCOMPARE(form->lstWords->selectedItems().size(), 0);
        QCOMPARE(selectionChanges.size(), 0);   // one quiet clear, then one run
        QCOMPARE(boldRuns(*form), QList<Run>());
        QCOMPARE(boldShown, QList<QList<Run>>{QList<Run>()});
        QCOMPARE(WindowProbe::surface(*form).textVersion(), before);
    }

    void leftButtonSelects()
    {
        auto form = shownForm(QStringLiteral("the cat and the dog"));
        form->Command1_Click();
        form->ckBold->setChecked(true);
        clickEntry(*form, 0);
        QCOMPARE(form->lstWords->selectedItems().size(), 1);
        QVERIFY(!boldRuns(*form).isEmpty());
    }

    // Moving through the list with the keyboard bolds like clicking does.
    void keyboardSelects()
    {
        auto form = shownForm(QStringLiteral("the cat and the dog"));
        form->Command1_Click();   // "2 - the" comes first, then "1 - cat"
        form->ckBold->setChecked(true);
        form->lstWords->setFocus();
        form->lstWords->setCurrentRow(0);
        QCOMPARE(boldRuns(*form), (QList<Run>{{0, 2, 1}, {12, 14, 1}}));
        QTest::keyClick(form->lstWords, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(form->lstWords->selectedItems().size(), 2);
        QCOMPARE(boldRuns(*form), (QList<Run>{{0, 2, 1}, {4, 6, 1}, {12, 14, 1}}));
    }

    void clearFormattingKeepsSelection()
    {
        auto form = shownForm(QStringLiteral("the cat and the cat"));
        form->Command1_Click();
        form->ckBold->setChecked(true);
        form->lstWords->item(0)->setSelected(true);
        QVERIFY(!boldRuns(*form).isEmpty());
        QTest::mouseClick(form->Command2, Qt::LeftButton);
        QCOMPARE(colourRuns(*form), QList<Run>());
        QCOMPARE(boldRuns(*form), QList<Run>());
        QCOMPARE(WindowProbe::surface(*form).text(), QStringLiteral("the cat and the cat"));
        QCOMPARE(form->lstWords->selectedItems().size(), 1);
        QCOMPARE(WindowProbe::surface(*form).selStart(), 0);
        QCOMPARE(WindowProbe::surface(*form).selLength(), 19);
        QVERIFY(!form->TB->textCursor().hasSelection());
        // The next change of selection bolds again.
        form->lstWords->item(1)->setSelected(true);
        QVERIFY(!boldRuns(*form).isEmpty());
    }

    void clearAllLeavesTableAndOptions()
    {
        auto form = shownForm(QStringLiteral("the cat and the cat"));
        form->ckFilter->setChecked(true);
        form->ckOpt->setChecked(true);
        form->txtML->setText(QStringLiteral("2"));
        form->ScrlS->setValue(50);
        form->Command1_Click();
        form->ckBold->setChecked(true);
        form->lstWords->item(0)->setSelected(true);
        const qsizetype rows = WindowProbe::wordTable(*form).upperBound();
        QTest::mouseClick(form->Command3, Qt::LeftButton);
        QCOMPARE(WindowProbe::surface(*form).text(), QString());
        QCOMPARE(form->lstWords->count(), 0);
        QCOMPARE(boldRuns(*form), QList<Run>());
        QCOMPARE(WindowProbe::wordTable(*form).upperBound(), rows);
        QCOMPARE(form->prog->floatValue(), 100.0f);
        QVERIFY(form->ckFilter->isChecked() && form->ckOpt->isChecked() && form->ckBold->isChecked());
        QCOMPARE(form->txtML->text(), QStringLiteral("2"));
        QCOMPARE(form->ScrlS->value(), 50);
        // Ticking the box over an empty list and document fails nowhere.
        form->ckBold->setChecked(false);
        form->ckBold->setChecked(true);
        QCOMPARE(boldRuns(*form), QList<Run>());
    }

    // Ctrl+C on the list copies the selected lines, in list order.
    void copySelectedLines()
    {
        auto form = shownForm(QStringLiteral("the cat and the dog and the cat"));
        form->Command1_Click();
        form->lstWords->item(2)->setSelected(true);
        form->lstWords->item(0)->setSelected(true);
        QApplication::clipboard()->clear();
        form->lstWords->setFocus();
        QTest::keySequence(form->lstWords, QKeySequence::Copy);
        QCOMPARE(QApplication::clipboard()->text(),
                 form->lstWords->item(0)->text() + u'\n' + form->lstWords->item(2)->text() + u'\n');
        QCOMPARE(form->lstWords->selectedItems().size(), 2);
    }

    // A word that spans a line break keeps its entry on one line, and
    // selecting it still finds the word with its break.
    void wordAcrossALineBreak()
    {
        auto form = shownForm(QStringLiteral("end.\nNext end.\nNext x"));
        form->Command1_Click();
        QCOMPARE(form->lstWords->item(0)->text(), QStringView(u"2 - end.\u21B5next").toString());
        form->ckBold->setChecked(true);
        form->lstWords->item(0)->setSelected(true);
        QCOMPARE(boldRuns(*form), (QList<Run>{{0, 8, 1}, {10, 18, 1}}));
        // Copied as published, with the real break, not the mark.
        QApplication::clipboard()->clear();
        form->lstWords->setFocus();
        QTest::keySequence(form->lstWords, QKeySequence::Copy);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("2 - end.\nnext\n"));
    }

    // A word of a million characters (a pasted blob) shows the start of its
    // entry, which the list could not show more of anyway, and is still
    // bolded and copied whole.
    void hugeWord()
    {
        const QString blob(1 << 20, u'x');
        auto form = shownForm(blob + QStringLiteral(" tail"));
        form->Command1_Click();
        int entry = 0;
        while (entry < form->lstWords->count()
               && tq::ui::WordListBox::publishedLine(form->lstWords->item(entry)) != QStringLiteral("1 - ") + blob)
            ++entry;
        QVERIFY(entry < form->lstWords->count());
        const QString shown = form->lstWords->item(entry)->text();
        QVERIFY(shown.size() < 2000);
        QVERIFY(shown.startsWith(QStringLiteral("1 - xxxx")));
        form->ckBold->setChecked(true);
        form->lstWords->item(entry)->setSelected(true);
        settleBold(*form);
        QCOMPARE(boldRuns(*form), (QList<Run>{{0, blob.size() - 1, 1}}));
        QApplication::clipboard()->clear();
        form->lstWords->setFocus();
        QTest::keySequence(form->lstWords, QKeySequence::Copy);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("1 - ") + blob + u'\n');
    }

    void clearCommandsOnEmptyDocument()
    {
        auto form = shownForm(QString());
        form->Command2_Click();
        form->Command3_Click();
        form->Command2_Click();
        QCOMPARE(WindowProbe::surface(*form).text(), QString());
        QCOMPARE(form->lstWords->count(), 0);
    }

    // While a pass rebuilds the table, the list still shows the last result,
    // and selecting in it bolds the words it shows.
    void browsingDuringAPass()
    {
        EveryTokenPacer pacer;
        auto form = shownForm(QStringLiteral("zebra zebra lion"), &pacer);
        form->Command1_Click();
        QCOMPARE(listLines(*form), (QStringList{"2 - zebra", "1 - lion"}));
        form->TB->setPlainText(QStringLiteral("lion and lion and zebra and more words here"));
        form->ckBold->setChecked(true);
        pacer.setVisitHook([&](qint64 tokens) {
            if (tokens == 1) {
                clickEntry(*form, 1);   // "lion", though the new table's row 2 is "and"
                QCOMPARE(boldRuns(*form), (QList<Run>{{0, 3, 1}, {9, 12, 1}}));
                clickEntry(*form, 0, Qt::LeftButton, Qt::ControlModifier);
                QCOMPARE(boldRuns(*form), (QList<Run>{{0, 3, 1}, {9, 12, 1}, {18, 22, 1}}));
            }
        });
        form->Command1_Click();
        QCOMPARE(listLines(*form).first(), QStringLiteral("3 - and"));
        // Bold made during the pass stays until the next reset.
        QCOMPARE(boldRuns(*form), (QList<Run>{{0, 3, 1}, {9, 12, 1}, {18, 22, 1}}));
        QCOMPARE(form->lstWords->selectedItems().size(), 0);
    }
};

QTEST_MAIN(WindowBrowseTest)
#include "tst_windowbrowse.moc"
