// The analysis's surface over the real document: the text and its offsets,
// formatting that reads back and shows, and the writer's undo history.
#include "testlocale.h"

#include "documenttext.h"
#include "textrules.h"
#include "windowfixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextCursor>

#include <functional>

using namespace tq::testing;
using tq::ui::MainWindow;

namespace {

// The document's text read afresh, breaks as the surface gives them.
QString freshText(const QTextDocument &document)
{
    QString text = document.toRawText();
    for (QChar &c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    }
    return text;
}

// Random pieces of text: letters in both cases, accented ones, no-break
// spaces, paragraph and line ends.
QString randomPiece(QRandomGenerator &random, int maxLength)
{
    static const QString units = QStringLiteral("abcXYZ \u00e9\u00c9\u00a0\n\n\u2028.'");
    QString piece;
    for (int i = random.bounded(1, maxLength + 1); i > 0; --i)
        piece += units[random.bounded(int(units.size()))];
    return piece;
}

using Edit = std::function<void(MainWindow &, QRandomGenerator &)>;

int randomPosition(MainWindow &form, QRandomGenerator &random)
{
    return random.bounded(WindowProbe::documentArea(form)->document()->characterCount());
}

} // namespace

Q_DECLARE_METATYPE(Edit)

class DocumentAreaTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void plainText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::newRow("paragraphs") << QStringLiteral("one\ntwo\n") << QStringLiteral("one\ntwo\n");
        QTest::newRow("no-break space stays") << QStringLiteral("a\u00a0b c")
                                              << QStringLiteral("a\u00a0b c");
        QTest::newRow("tab stays") << QStringLiteral("a\tb") << QStringLiteral("a\tb");
        QTest::newRow("empty") << QString() << QString();
    }
    void plainText()
    {
        QFETCH(QString, typed);
        QFETCH(QString, text);
        auto form = shownForm(QString());
        QTextCursor(WindowProbe::documentArea(*form)->document()).insertText(typed);
        QCOMPARE(WindowProbe::surface(*form).text(), text);
        // Offsets are the document's positions.
        for (qsizetype i = 0; i < text.size(); ++i)
            QCOMPARE(WindowProbe::documentArea(*form)->document()->characterAt(int(i)) == QChar::ParagraphSeparator
                         ? QChar(u'\n')
                         : WindowProbe::documentArea(*form)->document()->characterAt(int(i)),
                     text[i]);
    }

    void noBreakSpaceJoinsWords()
    {
        auto form = shownForm(QStringLiteral("a\u00a0b c"));
        WindowProbe::analyze(*form);
        QCOMPARE(listLines(*form), QStringList({QStringLiteral("1 - a\u00a0b"), QStringLiteral("1 - c")}));
    }

    void versionFollowsTextNotFormatting()
    {
        auto form = shownForm(QStringLiteral("cat cat x"));
        tq::ui::WidgetSurface &s = WindowProbe::surface(*form);
        const quint64 before = s.textVersion();
        WindowProbe::analyze(*form);
        QVERIFY(!colourRuns(*form).isEmpty());
        WindowProbe::boldCheck(*form)->setChecked(true);
        WindowProbe::wordList(*form)->item(0)->setSelected(true);
        QVERIFY(!boldRuns(*form).isEmpty());
        WindowProbe::clearFormatting(*form);
        QCOMPARE(s.textVersion(), before);

        WindowProbe::documentArea(*form)->setFocus();
        QTest::keyClick(WindowProbe::documentArea(*form), Qt::Key_A);
        QVERIFY(s.textVersion() != before);
        QVERIFY(s.text().contains(u'a'));
    }

    // The surface keeps its copy of the text and the analysis its lowered
    // text up to date edit by edit; neither may ever differ from the
    // document read afresh.
    void copiesFollowEveryEdit_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::newRow("typing") << Edit([](MainWindow &form, QRandomGenerator &random) {
            QTextCursor at(WindowProbe::documentArea(form)->document());
            at.setPosition(randomPosition(form, random));
            at.insertText(randomPiece(random, 1));
        });
        QTest::newRow("deleting across paragraph ends") << Edit([](MainWindow &form, QRandomGenerator &random) {
            QTextCursor range(WindowProbe::documentArea(form)->document());
            range.setPosition(randomPosition(form, random));
            range.setPosition(randomPosition(form, random), QTextCursor::KeepAnchor);
            range.removeSelectedText();
        });
        QTest::newRow("pasting paragraphs over a selection") << Edit([](MainWindow &form, QRandomGenerator &random) {
            QTextCursor range(WindowProbe::documentArea(form)->document());
            range.setPosition(randomPosition(form, random));
            range.setPosition(randomPosition(form, random), QTextCursor::KeepAnchor);
            range.insertText(randomPiece(random, 60));
        });
        QTest::newRow("replacing the whole text") << Edit([](MainWindow &form, QRandomGenerator &random) {
            WindowProbe::documentArea(form)->setPlainText(random.bounded(4) == 0 ? QString() : randomPiece(random, 80));
        });
        QTest::newRow("undo and redo") << Edit([](MainWindow &form, QRandomGenerator &random) {
            QTextCursor at(WindowProbe::documentArea(form)->document());
            at.setPosition(randomPosition(form, random));
            switch (random.bounded(3)) {
            case 0: at.insertText(randomPiece(random, 20)); break;
            case 1: WindowProbe::documentArea(form)->undo(); break;
            default: WindowProbe::documentArea(form)->redo(); break;
            }
        });
        QTest::newRow("at the very start and end") << Edit([](MainWindow &form, QRandomGenerator &random) {
            QTextCursor at(WindowProbe::documentArea(form)->document());
            if (random.bounded(2))
                at.movePosition(QTextCursor::End);
            if (random.bounded(2)) {
                at.insertText(randomPiece(random, 5));
            } else {
                at.movePosition(random.bounded(2) ? QTextCursor::NextCharacter : QTextCursor::PreviousCharacter,
                                QTextCursor::KeepAnchor, random.bounded(1, 4));
                at.removeSelectedText();
            }
        });
        QTest::newRow("keys in the widget") << Edit([](MainWindow &form, QRandomGenerator &random) {
            QTextCursor at(WindowProbe::documentArea(form)->document());
            at.setPosition(randomPosition(form, random));
            WindowProbe::documentArea(form)->setTextCursor(at);
            static const Qt::Key keys[] = {Qt::Key_A, Qt::Key_B, Qt::Key_Space, Qt::Key_Return,
                                           Qt::Key_Backspace, Qt::Key_Delete};
            QTest::keyClick(WindowProbe::documentArea(form), keys[random.bounded(int(std::size(keys)))],
                            random.bounded(5) == 0 ? Qt::ShiftModifier : Qt::NoModifier);
            if (random.bounded(10) == 0)
                QTest::keyClick(WindowProbe::documentArea(form), Qt::Key_Z, Qt::ControlModifier);
        });
    }
    void copiesFollowEveryEdit()
    {
        QFETCH(Edit, edit);
        // Long enough that the text is compared in more than one block.
        auto form = shownForm(QStringLiteral("One Two\nThree\u00a0four\n\nFive ").repeated(400));
        WindowProbe::documentArea(*form)->setFocus();
        tq::DocumentText document(WindowProbe::surface(*form));
        QRandomGenerator random(20261208);
        for (int step = 0; step < 300; ++step) {
            edit(*form, random);
            const QString fresh = freshText(*WindowProbe::documentArea(*form)->document());
            QCOMPARE(WindowProbe::surface(*form).text(), fresh);
            document.sync();
            QCOMPARE(document.text(), fresh);
            QCOMPARE(document.lowered(), tq::lowerCase(fresh));
        }
    }

    // Colour 0 is "not highlighted": nothing is painted over the text, which
    // keeps the document's own text colour, readable under any theme.
    void uncolouredTextKeepsItsOwnColour()
    {
        auto form = shownForm(QStringLiteral("cat cat x"));
        WindowProbe::analyze(*form);
        QCOMPARE(paintedRuns(*form), QList<Run>({{0, 2, 255}, {4, 6, 255}}));
        WindowProbe::clearFormatting(*form);
        QCOMPARE(colourRuns(*form), QList<Run>());
        QCOMPARE(paintedRuns(*form), QList<Run>());
        const QTextCharFormat f = QTextCursor(WindowProbe::documentArea(*form)->document()).charFormat();
        QVERIFY(!f.hasProperty(QTextFormat::ForegroundBrush));
    }

    // Edits move colour and bold with the characters they belong to.
    void formattingFollowsEdits()
    {
        auto form = shownForm(QStringLiteral("cat cat x"));
        WindowProbe::analyze(*form);
        WindowProbe::boldCheck(*form)->setChecked(true);
        WindowProbe::wordList(*form)->item(entryOf(*form, QStringLiteral("cat")))->setSelected(true);
        QTextCursor c(WindowProbe::documentArea(*form)->document());
        c.insertText(QStringLiteral("new "));
        QCOMPARE(colourRuns(*form), QList<Run>({{4, 6, 255}, {8, 10, 255}}));
        QCOMPARE(boldRuns(*form), QList<Run>({{4, 6, 1}, {8, 10, 1}}));
        QTRY_COMPARE(paintedRuns(*form), QList<Run>({{4, 6, 255}, {8, 10, 255}}));
        c.setPosition(5);
        c.insertText(QStringLiteral("\n"));   // splits a bold word across paragraphs
        QCOMPARE(boldRuns(*form), QList<Run>({{4, 4, 1}, {6, 7, 1}, {9, 11, 1}}));
    }

    // Analyzing, bolding and clearing leave the writer's undo history alone:
    // Ctrl+Z afterwards takes back the last thing typed.
    void undoIsTheWritersOwn()
    {
        auto form = shownForm(QStringLiteral("the cat and the dog and the end"));
        WindowProbe::documentArea(*form)->setFocus();
        WindowProbe::documentArea(*form)->moveCursor(QTextCursor::End);
        QTest::keyClicks(WindowProbe::documentArea(*form), QStringLiteral(" the"));
        const int steps = WindowProbe::documentArea(*form)->document()->availableUndoSteps();
        QVERIFY(steps > 0);

        WindowProbe::analyze(*form);
        WindowProbe::boldCheck(*form)->setChecked(true);
        WindowProbe::wordList(*form)->item(0)->setSelected(true);
        WindowProbe::clearFormatting(*form);
        QCOMPARE(WindowProbe::documentArea(*form)->document()->availableUndoSteps(), steps);

        WindowProbe::documentArea(*form)->setFocus();
        QTest::keyClick(WindowProbe::documentArea(*form), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(WindowProbe::surface(*form).text(), QStringLiteral("the cat and the dog and the end"));
    }

    // "Clear All" empties the document as one edit, so a press by mistake
    // can be taken back.
    void clearAllCanBeUndone()
    {
        auto form = shownForm(QStringLiteral("keep these words"));
        WindowProbe::clearAll(*form);
        QCOMPARE(WindowProbe::surface(*form).text(), QString());
        WindowProbe::documentArea(*form)->setFocus();
        QTest::keyClick(WindowProbe::documentArea(*form), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(WindowProbe::surface(*form).text(), QStringLiteral("keep these words"));
    }

    // A long coloured document is painted only where it is in view, and the
    // painting follows the view.
    void paintingFollowsTheView()
    {
        QString text;
        for (int i = 0; i < 400; ++i)
            text += QStringLiteral("line %1 has the word echo echo\n").arg(i);
        auto form = shownForm(text);
        WindowProbe::analyze(*form);
        auto check = [&] {
            const auto [first, last] = WindowProbe::paintedRange(*form);
            QList<Run> expected;
            for (const Run &r : colourRuns(*form)) {
                if (r.last >= first && r.first < last)
                    expected.append(Run{qMax<qsizetype>(r.first, first),
                                        qMin<qsizetype>(r.last, last - 1), r.colour});
            }
            QVERIFY(!expected.isEmpty());
            QCOMPARE(paintedRuns(*form), expected);
        };
        check();   // where the pass left the view: at its last coloured range
        QScrollBar *bar = WindowProbe::documentArea(*form)->verticalScrollBar();
        bar->setValue(0);
        QVERIFY(WindowProbe::paintedRange(*form).second < text.size());
        check();
        bar->setValue(bar->maximum() / 2);
        QVERIFY(WindowProbe::paintedRange(*form).first > 0);
        check();
    }

    // The caret's own scrolling (keys, a jump to a found word) moves the view
    // without the scroll bar's signals: the painting follows it all the same.
    void paintingFollowsCaretJumps_data()
    {
        QTest::addColumn<bool>("fromTop");
        QTest::addColumn<QKeySequence>("keys");
        QTest::newRow("Ctrl+End") << true << QKeySequence(Qt::CTRL | Qt::Key_End);
        QTest::newRow("Ctrl+Home") << false << QKeySequence(Qt::CTRL | Qt::Key_Home);
        QTest::newRow("Page Down") << true << QKeySequence(Qt::Key_PageDown);
        QTest::newRow("Page Up") << false << QKeySequence(Qt::Key_PageUp);
        QTest::newRow("caret set by a command") << true << QKeySequence();
    }

    void paintingFollowsCaretJumps()
    {
        QFETCH(bool, fromTop);
        QFETCH(QKeySequence, keys);
        QString text;
        for (int i = 0; i < 400; ++i)
            text += QStringLiteral("line %1 has the word echo echo\n").arg(i);
        auto form = shownForm(text);
        WindowProbe::analyze(*form);
        tq::ui::DocumentArea *area = WindowProbe::documentArea(*form);
        area->setFocus();
        area->moveCursor(fromTop ? QTextCursor::Start : QTextCursor::End);
        QCoreApplication::processEvents();
        const auto before = area->visibleRange();
        if (keys.isEmpty()) {
            QTextCursor middle(area->document());
            middle.setPosition(int(text.size() / 2));
            area->setTextCursor(middle);
        } else {
            QTest::keySequence(area, keys);
        }
        QCoreApplication::processEvents();
        const auto [first, last] = area->visibleRange();
        QVERIFY(last > before.second || first < before.first);   // text came into view
        const auto painted = WindowProbe::paintedRange(*form);
        QVERIFY2(painted.first <= first && painted.second >= qMin<qsizetype>(last, text.size()),
                 qPrintable(QStringLiteral("painted %1-%2, visible %3-%4")
                                .arg(painted.first).arg(painted.second).arg(first).arg(last)));
        QVERIFY(!paintedRuns(*form).isEmpty());
    }

    // What a paste keeps: the writer's italic, bold and underline from a
    // page, never its fonts, sizes or colours; plain text exactly as it is.
    void paste_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<Run>>("italic");   // colour 1: italic
        QTest::newRow("word processor")
            << QStringLiteral("<p style=\"font-family:Garamond;font-size:18pt;color:#ff0000\">An <i>old</i> "
                              "<span style=\"background:yellow\">house</span></p><p>Next<br>line</p>")
            << QStringLiteral("An old house\nNext\nline") << QStringLiteral("An old house\nNext\nline")
            << QList<Run>{{3, 5, 1}};
        QTest::newRow("HTML only") << QStringLiteral("<b>bold</b> and <em>so</em>") << QString()
                                   << QStringLiteral("bold and so") << QList<Run>{{9, 10, 1}};
        QTest::newRow("plain only") << QString() << QStringLiteral("a  b\t<i>c</i>\nd")
                                    << QStringLiteral("a  b\t<i>c</i>\nd") << QList<Run>();
    }

    void paste()
    {
        QFETCH(QString, html);
        QFETCH(QString, plain);
        QFETCH(QString, text);
        QFETCH(QList<Run>, italic);
        auto form = shownForm(QString());
        tq::ui::DocumentArea *area = WindowProbe::documentArea(*form);
        auto *data = new QMimeData;
        if (!html.isNull())
            data->setHtml(html);
        if (!plain.isNull())
            data->setText(plain);
        QGuiApplication::clipboard()->setMimeData(data);
        area->setFocus();
        area->paste();
        QCOMPARE(WindowProbe::surface(*form).text(), text);
        QList<Run> italics;
        const QTextDocument *document = area->document();
        for (QTextBlock b = document->begin(); b.isValid(); b = b.next()) {
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat f = it.fragment().charFormat();
                if (f.fontItalic())
                    italics.append(Run{it.fragment().position(), it.fragment().position() + it.fragment().length() - 1, 1});
                QVERIFY(!f.hasProperty(QTextFormat::ForegroundBrush));
                QVERIFY(!f.hasProperty(QTextFormat::BackgroundBrush));
                QVERIFY(!f.hasProperty(QTextFormat::FontFamilies));
                QVERIFY(!f.hasProperty(QTextFormat::FontPointSize));
            }
        }
        QCOMPARE(italics, italic);
    }

    // Copying out gives the writer's italic, never the analysis's colours or bold.
    void copy()
    {
        auto form = shownForm(QString());
        tq::ui::DocumentArea *area = WindowProbe::documentArea(*form);
        QTextCursor c(area->document());
        c.insertText(QStringLiteral("echo echo "));
        QTextCharFormat italic;
        italic.setFontItalic(true);
        c.insertText(QStringLiteral("softly"), italic);
        WindowProbe::analyze(*form);
        WindowProbe::boldCheck(*form)->setChecked(true);
        WindowProbe::wordList(*form)->item(0)->setSelected(true);
        settleBold(*form);
        QVERIFY(!paintedRuns(*form).isEmpty());
        QVERIFY(WindowProbe::surface(*form).boldAt(0));
        area->selectAll();
        area->copy();
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(data->text(), QStringLiteral("echo echo softly"));
        const QString html = data->html();
        QVERIFY2(html.contains(QStringLiteral("<span style=\"font-style:italic;\">softly</span>")), qPrintable(html));
        for (const char *absent : {"color", "font-weight", "font-family", "font-size"})
            QVERIFY2(!html.contains(QLatin1String(absent)), absent);
    }
};

QTEST_MAIN(DocumentAreaTest)
#include "tst_documentarea.moc"
