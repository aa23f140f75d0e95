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
using tq::ui::MainWindow;

namespace {

void clickEntry(MainWindow &form, int entry, Qt::MouseButton button = Qt::LeftButton,
                Qt::KeyboardModifiers modifiers = {})
{
    const QRect r = WindowProbe::wordList(form)->visualItemRect(WindowProbe::wordList(form)->item(entry));
    QTest::mouseClick(WindowProbe::wordList(form)->viewport(), button, modifiers, r.center());
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
        WindowProbe::analyze(*form);
        const QList<Run> colours = colourRuns(*form);
        QTest::mouseClick(WindowProbe::boldCheck(*form), Qt::LeftButton);
        QVERIFY(WindowProbe::boldCheck(*form)->isChecked());
        for (const QString &word : words) {
            const int entry = entryOf(*form, word);
            QVERIFY2(entry >= 0, qPrintable(word));
            clickEntry(*form, entry, Qt::LeftButton, Qt::ControlModifier);
        }
        QCOMPARE(boldRuns(*form), bold);
        QCOMPARE(colourRuns(*form), colours);   // bold leaves colour alone
        if (!bold.isEmpty())
            QCOMPARE(WindowProbe::selStart(*form), bold.last().first);
        QVERIFY(!WindowProbe::documentArea(*form)->textCursor().hasSelection());

        // Unticking removes all bold and keeps the selection; ticking again
        // bolds the same words.
        QTest::mouseClick(WindowProbe::boldCheck(*form), Qt::LeftButton);
        QCOMPARE(boldRuns(*form), QList<Run>());
        QCOMPARE(WindowProbe::wordList(*form)->selectedItems().size(), words.size());
        QTest::mouseClick(WindowProbe::boldCheck(*form), Qt::LeftButton);
        QCOMPARE(boldRuns(*form), bold);
    }

    void noBoldUnlessTicked()
    {
        auto form = shownForm(QStringLiteral("The theory of other things"));
        WindowProbe::analyze(*form);
        clickEntry(*form, entryOf(*form, QStringLiteral("the")));
        QCOMPARE(WindowProbe::wordList(*form)->selectedItems().size(), 1);
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
        WindowProbe::analyze(*form);
        WindowProbe::boldCheck(*form)->setChecked(true);
        WindowProbe::wordList(*form)->selectAll();
        QList<Run> shown = boldRuns(*form);
        QVERIFY(!shown.isEmpty());
        QSignalSpy selectionChanges(WindowProbe::wordList(*form), &QListWidget::itemSelectionChanged);
        // Every change of the bold the document shows, as it is laid out:
        // a run per entry would show the bold of the entries still selected.
        QList<QList<Run>> boldShown;
        QObject::connect(WindowProbe::documentArea(*form)->document()->documentLayout(), &QAbstractTextDocumentLayout::update,
                         [&] {
                             if (boldRuns(*form) != shown)
                                 boldShown.append(shown = boldRuns(*form));
                         });
        const quint64 before = WindowProbe::surface(*form).textVersion();
        clickEntry(*form, 1, button);
        QCOMPARE(WindowProbe::wordList(*form)->selectedItems().size(), 0);
        QCOMPARE(selectionChanges.size(), 0);   // one quiet clear, then one run
        QCOMPARE(boldRuns(*form), QList<Run>());
        QCOMPARE(boldShown, QList<QList<Run>>{QList<Run>()});
        QCOMPARE(WindowProbe::surface(*form).textVersion(), before);
    }

    void leftButtonSelects()
    {
        auto form = shownForm(QStringLiteral("the cat and the dog"));
        WindowProbe::analyze(*form);
        WindowProbe::boldCheck(*form)->setChecked(true);
        clickEntry(*form, 0);
        QCOMPARE(WindowProbe::wordList(*form)->selectedItems().size(), 1);
        QVERIFY(!boldRuns(*form).isEmpty());
    }

    // Moving through the list with the keyboard bolds like clicking does.
    void keyboardSelects()
    {
        auto form = shownForm(QStringLiteral("the cat and the dog"));
        WindowProbe::analyze(*form);   // "2 - the" comes first, then "1 - cat"
        WindowProbe::boldCheck(*form)->setChecked(true);
        WindowProbe::wordList(*form)->setFocus();
        WindowProbe::wordList(*form)->setCurrentRow(0);
        QCOMPARE(boldRuns(*form), (QList<Run>{{0, 2, 1}, {12, 14, 1}}));
        QTest::keyClick(WindowProbe::wordList(*form), Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(WindowProbe::wordList(*form)->selectedItems().size(), 2);
        QCOMPARE(boldRuns(*form), (QList<Run>{{0, 2, 1}, {4, 6, 1}, {12, 14, 1}}));
    }

    void clearFormattingKeepsSelection()
    {
        auto form = shownForm(QStringLiteral("the cat and the cat"));
        WindowProbe::analyze(*form);
        WindowProbe::boldCheck(*form)->setChecked(true);
        WindowProbe::wordList(*form)->item(0)->setSelected(true);
        QVERIFY(!boldRuns(*form).isEmpty());
        QTest::mouseClick(WindowProbe::clearFormattingButton(*form), Qt::LeftButton);
        QCOMPARE(colourRuns(*form), QList<Run>());
        QCOMPARE(boldRuns(*form), QList<Run>());
        QCOMPARE(WindowProbe::surface(*form).text(), QStringLiteral("the cat and the cat"));
        QCOMPARE(WindowProbe::wordList(*form)->selectedItems().size(), 1);
        QCOMPARE(WindowProbe::selStart(*form), 0);
        QCOMPARE(WindowProbe::selLength(*form), 19);
        QVERIFY(!WindowProbe::documentArea(*form)->textCursor().hasSelection());
        // The next change of selection bolds again.
        WindowProbe::wordList(*form)->item(1)->setSelected(true);
        QVERIFY(!boldRuns(*form).isEmpty());
    }

    void clearAllLeavesTableAndOptions()
    {
        auto form = shownForm(QStringLiteral("the cat and the cat"));
        WindowProbe::filterCheck(*form)->setChecked(true);
        WindowProbe::beginningOption(*form)->setChecked(true);
        WindowProbe::minLengthEdit(*form)->setText(QStringLiteral("2"));
        WindowProbe::sensitivityBar(*form)->setValue(50);
        WindowProbe::analyze(*form);
        WindowProbe::boldCheck(*form)->setChecked(true);
        WindowProbe::wordList(*form)->item(0)->setSelected(true);
        const qsizetype rows = WindowProbe::wordTable(*form).upperBound();
        QTest::mouseClick(WindowProbe::clearAllButton(*form), Qt::LeftButton);
        QCOMPARE(WindowProbe::surface(*form).text(), QString());
        QCOMPARE(WindowProbe::wordList(*form)->count(), 0);
        QCOMPARE(boldRuns(*form), QList<Run>());
        QCOMPARE(WindowProbe::wordTable(*form).upperBound(), rows);
        QCOMPARE(WindowProbe::progressBar(*form)->floatValue(), 100.0f);
        QVERIFY(WindowProbe::filterCheck(*form)->isChecked() && WindowProbe::beginningOption(*form)->isChecked() && WindowProbe::boldCheck(*form)->isChecked());
        QCOMPARE(WindowProbe::minLengthEdit(*form)->text(), QStringLiteral("2"));
        QCOMPARE(WindowProbe::sensitivityBar(*form)->value(), 50);
        // Ticking the box over an empty list and document fails nowhere.
        WindowProbe::boldCheck(*form)->setChecked(false);
        WindowProbe::boldCheck(*form)->setChecked(true);
        QCOMPARE(boldRuns(*form), QList<Run>());
    }

    // Ctrl+C on the list copies the selected lines, in list order.
    void copySelectedLines()
    {
        auto form = shownForm(QStringLiteral("the cat and the dog and the cat"));
        WindowProbe::analyze(*form);
        WindowProbe::wordList(*form)->item(2)->setSelected(true);
        WindowProbe::wordList(*form)->item(0)->setSelected(true);
        QApplication::clipboard()->clear();
        WindowProbe::wordList(*form)->setFocus();
        QTest::keySequence(WindowProbe::wordList(*form), QKeySequence::Copy);
        QCOMPARE(QApplication::clipboard()->text(),
                 WindowProbe::wordList(*form)->item(0)->text() + u'\n' + WindowProbe::wordList(*form)->item(2)->text() + u'\n');
        QCOMPARE(WindowProbe::wordList(*form)->selectedItems().size(), 2);
    }

    // A word that spans a line break keeps its entry on one line, and
    // selecting it still finds the word with its break.
    void wordAcrossALineBreak()
    {
        auto form = shownForm(QStringLiteral("end.\nNext end.\nNext x"));
        WindowProbe::analyze(*form);
        QCOMPARE(WindowProbe::wordList(*form)->item(0)->text(), QStringView(u"2 - end.\u21B5next").toString());
        WindowProbe::boldCheck(*form)->setChecked(true);
        WindowProbe::wordList(*form)->item(0)->setSelected(true);
        QCOMPARE(boldRuns(*form), (QList<Run>{{0, 8, 1}, {10, 18, 1}}));
        // Copied as published, with the real break, not the mark.
        QApplication::clipboard()->clear();
        WindowProbe::wordList(*form)->setFocus();
        QTest::keySequence(WindowProbe::wordList(*form), QKeySequence::Copy);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("2 - end.\nnext\n"));
    }

    // A word of a million characters (a pasted blob) shows the start of its
    // entry, which the list could not show more of anyway, and is still
    // bolded and copied whole.
    void hugeWord()
    {
        const QString blob(1 << 20, u'x');
        auto form = shownForm(blob + QStringLiteral(" tail"));
        WindowProbe::analyze(*form);
        int entry = 0;
        while (entry < WindowProbe::wordList(*form)->count()
               && tq::ui::WordListBox::publishedLine(WindowProbe::wordList(*form)->item(entry)) != QStringLiteral("1 - ") + blob)
            ++entry;
        QVERIFY(entry < WindowProbe::wordList(*form)->count());
        const QString shown = WindowProbe::wordList(*form)->item(entry)->text();
        QVERIFY(shown.size() < 2000);
        QVERIFY(shown.startsWith(QStringLiteral("1 - xxxx")));
        WindowProbe::boldCheck(*form)->setChecked(true);
        WindowProbe::wordList(*form)->item(entry)->setSelected(true);
        settleBold(*form);
        QCOMPARE(boldRuns(*form), (QList<Run>{{0, blob.size() - 1, 1}}));
        QApplication::clipboard()->clear();
        WindowProbe::wordList(*form)->setFocus();
        QTest::keySequence(WindowProbe::wordList(*form), QKeySequence::Copy);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("1 - ") + blob + u'\n');
    }

    void clearCommandsOnEmptyDocument()
    {
        auto form = shownForm(QString());
        WindowProbe::clearFormatting(*form);
        WindowProbe::clearAll(*form);
        WindowProbe::clearFormatting(*form);
        QCOMPARE(WindowProbe::surface(*form).text(), QString());
        QCOMPARE(WindowProbe::wordList(*form)->count(), 0);
    }

    // While a pass rebuilds the table, the list still shows the last result,
    // and selecting in it bolds the words it shows.
    void browsingDuringAPass()
    {
        EveryTokenPacer pacer;
        auto form = shownForm(QStringLiteral("zebra zebra lion"), &pacer);
        WindowProbe::analyze(*form);
        QCOMPARE(listLines(*form), (QStringList{"2 - zebra", "1 - lion"}));
        WindowProbe::documentArea(*form)->setPlainText(QStringLiteral("lion and lion and zebra and more words here"));
        WindowProbe::boldCheck(*form)->setChecked(true);
        pacer.setVisitHook([&](qint64 tokens) {
            if (tokens == 1) {
                clickEntry(*form, 1);   // "lion", though the new table's row 2 is "and"
                QCOMPARE(boldRuns(*form), (QList<Run>{{0, 3, 1}, {9, 12, 1}}));
                clickEntry(*form, 0, Qt::LeftButton, Qt::ControlModifier);
                QCOMPARE(boldRuns(*form), (QList<Run>{{0, 3, 1}, {9, 12, 1}, {18, 22, 1}}));
            }
        });
        WindowProbe::analyze(*form);
        QCOMPARE(listLines(*form).first(), QStringLiteral("3 - and"));
        // Bold made during the pass stays until the next reset.
        QCOMPARE(boldRuns(*form), (QList<Run>{{0, 3, 1}, {9, 12, 1}, {18, 22, 1}}));
        QCOMPARE(WindowProbe::wordList(*form)->selectedItems().size(), 0);
    }
};

QTEST_MAIN(WindowBrowseTest)
#include "tst_windowbrowse.moc"
