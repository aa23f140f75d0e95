// Working through an analysis in the real window: stepping through the
// chosen words and the echoes by their keys, the message when there is
// nowhere to go, the ignored words and the word rules kept in the settings.
#include "testlocale.h"

#include "passoptions.h"
#include "windowfixture.h"

#include "analysiscommands.h"
#include "documentmenu.h"
#include "ignoredwordsdialog.h"
#include "notice.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QToolTip>
#include <QSettings>
#include <QStandardPaths>

using namespace tq::testing;
using tq::ui::MainWindow;

namespace {

// The document's selection as (start, length).
std::pair<int, int> selection(MainWindow &form)
{
    const QTextCursor c = WindowProbe::documentArea(form)->textCursor();
    return {c.selectionStart(), c.selectionEnd() - c.selectionStart()};
}

void chooseWords(MainWindow &form, const QStringList &words)
{
    WindowProbe::wordList(form)->clearSelection();
    for (const QString &w : words)
        WindowProbe::wordList(form)->item(entryOf(form, w))->setSelected(true);
}

void putCaret(MainWindow &form, int position)
{
    QTextCursor c = WindowProbe::documentArea(form)->textCursor();
    c.setPosition(position);
    WindowProbe::documentArea(form)->setTextCursor(c);
}

using Stops = QList<std::pair<int, int>>;

// Where a key, pressed in the document count times, leaves the selection.
Stops press(MainWindow &form, QKeyCombination key, int count)
{
    Stops stops;
    for (int i = 0; i < count; ++i) {
        QTest::keyClick(WindowProbe::documentArea(form), key.key(), key.keyboardModifiers());
        stops.append(selection(form));
    }
    return stops;
}

} // namespace

class WindowStepsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QSettings().clear();
    }

    void findSteps_data()
    {
        QTest::addColumn<bool>("bold");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<Stops>("stops");
        // "The other theme the": "the" at 0, 5, 10, 16.
        const auto next = QKeyCombination(Qt::Key_F3);
        const auto previous = QKeyCombination(Qt::SHIFT, Qt::Key_F3);
        QTest::newRow("forward, wrapping at the end")
            << false << 0 << next << Stops{{0, 3}, {5, 3}, {10, 3}, {16, 3}, {0, 3}};
        QTest::newRow("backward, wrapping at the start")
            << false << 0 << previous << Stops{{16, 3}, {10, 3}, {5, 3}, {0, 3}, {16, 3}};
        QTest::newRow("with bold ticked") << true << 4 << next << Stops{{5, 3}, {10, 3}};
        QTest::newRow("caret inside an occurrence, forward")
            << false << 11 << next << Stops{{16, 3}, {0, 3}};
        QTest::newRow("caret inside an occurrence, backward")
            << false << 11 << previous << Stops{{10, 3}, {5, 3}};
    }
    void findSteps()
    {
        QFETCH(bool, bold);
        QFETCH(int, caret);
        QFETCH(QKeyCombination, key);
        QFETCH(Stops, stops);
        auto form = shownForm(QStringLiteral("The other theme the"));
        WindowProbe::analyze(*form);
        WindowProbe::boldCheck(*form)->setChecked(bold);
        chooseWords(*form, {"the"});
        putCaret(*form, caret);
        QCOMPARE(press(*form, key, int(stops.size())), stops);
        QVERIFY(!WindowProbe::analysis(*form).notice().isVisible());
    }

    void overlappingOccurrencesOneByOne()
    {
        auto form = shownForm(QStringLiteral("aaaa aa"));
        WindowProbe::analyze(*form);
        chooseWords(*form, {"aa"});
        putCaret(*form, 0);
        QCOMPARE(press(*form, Qt::Key_F3, 5), (Stops{{0, 2}, {1, 2}, {2, 2}, {5, 2}, {0, 2}}));
    }

    void stepsFollowEdits()
    {
        auto form = shownForm(QStringLiteral("one two one"));
        WindowProbe::analyze(*form);
        chooseWords(*form, {"one"});
        putCaret(*form, 1);
        QCOMPARE(press(*form, Qt::Key_F3, 1), (Stops{{8, 3}}));
        putCaret(*form, 0);
        QTest::keyClicks(WindowProbe::documentArea(*form), "one ");
        putCaret(*form, 1);
        QCOMPARE(press(*form, Qt::Key_F3, 2), (Stops{{4, 3}, {12, 3}}));
    }

    // Stepping while a pass runs goes by the list on show and the text as it
    // is, and the pass still ends with its own results.
    void stepsDuringAPass()
    {
        const QString text =
            (QStringLiteral("the cat and the dog ").repeated(10) + u'\n').repeated(3);
        EveryTokenPacer pacer;
        auto form = shownForm(text, &pacer);
        WindowProbe::analyze(*form);
        chooseWords(*form, {"the"});
        putCaret(*form, 0);
        const QStringList lines = listLines(*form);
        const auto colours = colourRuns(*form);
        QList<std::pair<int, int>> seen;
        pacer.setVisitHook([&](qint64) {
            WindowProbe::analysis(*form).findNext->trigger();
            seen.append(selection(*form));
        });
        WindowProbe::analyze(*form);
        pacer.setVisitHook({});
        QVERIFY(!seen.isEmpty());
        for (const auto &[start, length] : seen)
            QCOMPARE(text.mid(start, length), QStringLiteral("the"));
        QCOMPARE(seen.first(), std::make_pair(0, 3));
        QCOMPARE(listLines(*form), lines);
        QCOMPARE(colourRuns(*form), colours);
    }

    void echoSteps()
    {
        // Sensitivity 20: "word" twice close by, "thing" twice close by.
        auto form = shownForm(QStringLiteral("word word xxxxxxxxxxxxxxxxxxxxxxxxx thing thing"));
        WindowProbe::analyze(*form);
        const QList<Run> runs = colourRuns(*form);
        QCOMPARE(runs.size(), 4);
        putCaret(*form, 2);
        const Stops forward = press(*form, Qt::Key_F4, 4);
        QCOMPARE(forward, (Stops{{5, 4}, {36, 5}, {42, 5}, {0, 4}}));
        QCOMPARE(press(*form, QKeyCombination(Qt::SHIFT, Qt::Key_F4), 2), (Stops{{42, 5}, {36, 5}}));
    }

    void toldWhenThereIsNowhereToGo_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("chosen");
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<QString>("message");
        QTest::newRow("no word chosen") << "the cat" << QStringList{} << QKeyCombination(Qt::Key_F3)
                                        << "Choose one or more words in the list first.";
        QTest::newRow("the chosen word is gone")
            << "the cat" << QStringList{"cat"} << QKeyCombination(Qt::SHIFT, Qt::Key_F3)
            << "The chosen words do not occur in the text.";
        QTest::newRow("no echo") << "the cat" << QStringList{} << QKeyCombination(Qt::Key_F4)
                                 << "No coloured repetitions in the text.";
    }
    void toldWhenThereIsNowhereToGo()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, chosen);
        QFETCH(QKeyCombination, key);
        QFETCH(QString, message);
        auto form = shownForm(text);
        WindowProbe::analyze(*form);
        chooseWords(*form, chosen);
        if (!chosen.isEmpty())
            WindowProbe::documentArea(*form)->setPlainText(QStringLiteral("dog"));
        putCaret(*form, 1);
        press(*form, key, 1);
        QCOMPARE(selection(*form), std::make_pair(1, 0));
        const tq::ui::Notice &notice = WindowProbe::analysis(*form).notice();
        QVERIFY(notice.isVisible());
        QCOMPARE(notice.text(), message);
        QVERIFY(!notice.hasFocus());
        // It goes by itself (checked once: it takes its few seconds).
        if (QTest::currentDataTag() == QByteArray("no word chosen"))
            QTRY_VERIFY_WITH_TIMEOUT(!notice.isVisible(), 5000);
    }

    // Analyze Selection gives what Analyze gives on the selected text alone,
    // moved to where it stands, and leaves everything outside as it was.
    void analyzeSelection()
    {
        const QString text = QStringLiteral("the cat saw the cat. The dog saw the dog and the cat.");
        const int first = 9, last = 35;
        auto alone = shownForm(text.mid(first, last - first + 1));
        WindowProbe::analyze(*alone);

        auto form = shownForm(text);
        WindowProbe::analyze(*form);
        const QList<Run> before = colourRuns(*form);
        QTextCursor c = WindowProbe::documentArea(*form)->textCursor();
        c.setPosition(first);
        c.setPosition(last + 1, QTextCursor::KeepAnchor);
        WindowProbe::documentArea(*form)->setTextCursor(c);
        WindowProbe::analysis(*form).analyzeSelection->trigger();
        QCoreApplication::processEvents();

        QCOMPARE(listLines(*form), listLines(*alone));
        QList<Run> expected;
        for (const Run &r : before) {
            if (r.last < first || r.first > last)
                expected.append(r);
        }
        for (const Run &r : colourRuns(*alone))
            expected.append(Run{r.first + first, r.last + first, r.colour});
        std::sort(expected.begin(), expected.end(),
                  [](const Run &a, const Run &b) { return a.first < b.first; });
        QCOMPARE(colourRuns(*form), expected);
        QCOMPARE(WindowProbe::documentArea(*form)->toPlainText(), text);
    }

    void analyzeSelectionFollowsTyping()
    {
        const QString chapter = QStringLiteral("word word thing thing");
        EveryTokenPacer pacer;
        auto form = shownForm(QStringLiteral("head ") + chapter, &pacer);
        QTextCursor c = WindowProbe::documentArea(*form)->textCursor();
        c.setPosition(5);
        c.setPosition(int(5 + chapter.size()), QTextCursor::KeepAnchor);
        WindowProbe::documentArea(*form)->setTextCursor(c);
        pacer.setVisitHook([&](qint64 tokens) {
            if (tokens == 1) {
                QTextCursor at(WindowProbe::documentArea(*form)->document());
                at.insertText(QStringLiteral("more "));
            }
        });
        WindowProbe::analysis(*form).analyzeSelection->trigger();
        QCoreApplication::processEvents();
        pacer.setVisitHook({});
        QCOMPARE(listLines(*form), (QStringList{"2 - word", "2 - thing"}));
        QCOMPARE(colourRuns(*form).size(), 4);
        QCOMPARE(colourRuns(*form).first().first, 10);
        QCOMPARE(colourRuns(*form).last().last, 30);
    }

    void analyzeSelectionWithoutSelection()
    {
        auto form = shownForm(QStringLiteral("the cat the cat"));
        WindowProbe::analyze(*form);
        const QStringList lines = listLines(*form);
        const QList<Run> colours = colourRuns(*form);
        putCaret(*form, 3);
        WindowProbe::analysis(*form).analyzeSelection->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(listLines(*form), lines);
        QCOMPARE(colourRuns(*form), colours);
        QVERIFY(WindowProbe::analysis(*form).notice().isVisible());
        QCOMPARE(WindowProbe::analysis(*form).notice().text(), QStringLiteral("Select the text to analyse first."));
    }

    void ignoredWordsDialog()
    {
        tq::ui::IgnoredWordsDialog dialog({"Said", "the", "Said"});
        QCOMPARE(dialog.words(), (QStringList{"Said", "the", "Said"}));
        dialog.addCommonWords();
        const QStringList words = dialog.words();
        // The writer's own entries first and untouched; common words already
        // there (in any case) not added twice.
        QCOMPARE(words.mid(0, 3), (QStringList{"Said", "the", "Said"}));
        QVERIFY(!words.mid(3).contains(QStringLiteral("said")));
        QVERIFY(words.contains(QStringLiteral("the")));
        const qsizetype common = tq::ui::IgnoredWordsDialog::commonWords().size();
        QVERIFY(common >= 100 && common <= 200);
        QCOMPARE(words.size(), 3 + common - 2);   // "said" and "the" were there
    }

    // The dialog reads its box as the command line reads an ignore file:
    // a stray space or tab around a word, or a blank line, is not a word.
    void ignoredWordsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("trailing space") << QStringLiteral("said \nthe") << QStringList{"said", "the"};
        QTest::newRow("leading space, tab") << QStringLiteral(" morning\n\tsaid\t") << QStringList{"morning", "said"};
        QTest::newRow("blank lines") << QStringLiteral("\n  \nthe\n\n") << QStringList{"the"};
        QTest::newRow("inside kept") << QStringLiteral("ne ver") << QStringList{"ne ver"};
    }

    void ignoredWordsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, words);
        tq::ui::IgnoredWordsDialog dialog({});
        auto *box = dialog.findChild<QPlainTextEdit *>(QStringLiteral("words"));
        box->setPlainText(typed);
        QCOMPARE(dialog.words(), words);
        QCOMPARE(tq::ignoredWordLines(typed), words);   // the command line's rule
    }

    // Tab leaves the box; Ctrl+Enter accepts.
    void ignoredWordsKeys()
    {
        tq::ui::IgnoredWordsDialog dialog({"said"});
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto *box = dialog.findChild<QPlainTextEdit *>(QStringLiteral("words"));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Tab);
        QCOMPARE(dialog.words(), QStringList{"said"});
        QVERIFY(!box->hasFocus());
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.words(), QStringList{"said"});
    }

    void analysisSectionOfTheDocumentMenu()
    {
        auto form = shownForm(QString());
        std::unique_ptr<QMenu> menu(WindowProbe::documentMenu(*form).build(QPoint(1, 1)));
        QStringList entries;
        for (const QAction *a : menu->actions())
            entries.append(a->isSeparator() && a->text().isEmpty() ? QStringLiteral("-") : a->text());
        const qsizetype section = entries.indexOf(QStringLiteral("Analysis"));
        QVERIFY(section >= 0);
        QCOMPARE(entries.mid(section + 1, 3),
                 (QStringList{"Find &Next", "Find Pre&vious", "-"}));
        QVERIFY(entries.contains(QStringLiteral("Analy&ze Selection")));
        QVERIFY(entries.contains(QStringLiteral("I&gnored Words…")));
        // Each mnemonic of the whole menu, the editor's own entries
        // included, opens one entry; every entry of the section has one.
        auto mnemonic = [](const QString &text) {
            const qsizetype at = text.indexOf(u'&');
            return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toLower() : QChar();
        };
        for (const QString &entry : std::as_const(entries)) {
            const QChar key = mnemonic(entry);
            QVERIFY2(!key.isNull() || !WindowProbe::analysis(*form).actions().contains(
                                          menu->actions().at(entries.indexOf(entry))),
                     qPrintable(entry));
            if (key.isNull())
                continue;
            qsizetype uses = 0;
            for (const QString &other : std::as_const(entries))
                uses += mnemonic(other) == key ? 1 : 0;
            QVERIFY2(uses == 1, qPrintable(entry));
        }
        QVERIFY(WindowProbe::analysis(*form).lineBreaksSeparate->isCheckable());
        QVERIFY(WindowProbe::analysis(*form).allLetters->isCheckable());
    }

    // Tab types a tab in the document; Ctrl+Tab leaves it, Ctrl+Shift+Tab
    // goes back. The sensitivity bar moved by keys shows its value.
    void keyboard()
    {
        auto form = shownForm(QString());
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        tq::ui::DocumentArea *area = WindowProbe::documentArea(*form);
        area->setFocus();
        QTest::keyClick(area, Qt::Key_Tab);
        QCOMPARE(WindowProbe::surface(*form).text(), QStringLiteral("\t"));
        QTest::keyClick(area, Qt::Key_Tab, Qt::ControlModifier);
        QVERIFY(WindowProbe::minLengthEdit(*form)->hasFocus());
        area->setFocus();
        QTest::keyClick(area, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(!area->hasFocus());
        QCOMPARE(WindowProbe::surface(*form).text(), QStringLiteral("\t"));

        QScrollBar *bar = WindowProbe::sensitivityBar(*form);
        bar->setFocus();
        QTest::keyClick(bar, Qt::Key_Right);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QStringLiteral("21 characters"));
    }

    void settingsAreRemembered()
    {
        {
            auto form = shownForm(QString());
            tq::ui::AnalysisCommands &a = WindowProbe::analysis(*form);
            QVERIFY(!a.lineBreaksSeparate->isChecked());
            QVERIFY(!a.allLetters->isChecked());
            QVERIFY(a.ignoredWordList().isEmpty());
            a.lineBreaksSeparate->trigger();
            a.setIgnoredWords({"the", "Said"});
        }
        auto form = shownForm(QString());
        QVERIFY(WindowProbe::analysis(*form).lineBreaksSeparate->isChecked());
        QVERIFY(!WindowProbe::analysis(*form).allLetters->isChecked());
        QCOMPARE(WindowProbe::analysis(*form).ignoredWordList(), (QStringList{"the", "Said"}));
        QSettings().clear();
    }

    // Word forms regroup the list at once, and back. The pass runs after
    // the menu entry's handler has returned: run inside a menu's key
    // handler, it visited the event loop while the menu was being deleted
    // and corrupted the heap.
    void groupWordFormsRegroupsTheList()
    {
        auto form = shownForm(QStringLiteral("nod nodded nods x nod"));
        WindowProbe::analyze(*form);
        const QStringList plain = listLines(*form);
        QAction *forms = WindowProbe::analysis(*form).groupWordForms;
        forms->trigger();
        QCOMPARE(listLines(*form), plain);
        QTRY_COMPARE(listLines(*form), (QStringList{"4 - nod nodded nods", "1 - x"}));
        forms->trigger();
        QTRY_COMPARE(listLines(*form), plain);
        QSettings().clear();
    }
};

QTEST_MAIN(WindowStepsTest)
#include "tst_windowsteps.moc"
