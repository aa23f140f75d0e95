// The file behind the window's document: what counts as an unsaved edit, the
// caption that shows it, the question before such edits would be lost, what
// opening and saving leave behind, drops, recent files and the exports.
#include "testlocale.h"
#include "filebytes.h"
#include "privatefolders.h"

#include "documentfile.h"
#include "exportcommands.h"
#include "manuscript.h"
#include "messageboxes.h"
#include "recentfiles.h"
#include "windowfixture.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QTextCursor>
#include <QTextDocumentWriter>

using namespace tq::testing;
using tq::ui::DocumentFile;
using tq::ui::MainWindow;

namespace {

const QString Program = QStringLiteral("Dovrin's Tallyquill");

void typeAtEnd(MainWindow &form, const QString &text)
{
    WindowProbe::documentArea(form)->setFocus();
    WindowProbe::documentArea(form)->moveCursor(QTextCursor::End);
    QTest::keyClicks(WindowProbe::documentArea(form), text);
}

} // namespace

class DocumentFileTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_form;

    QString path(const QString &name) const { return m_dir.filePath(name); }
    DocumentFile &file() { return m_form->documentFile(); }
    QString chapter(const QByteArray &bytes = "One two.\nThree four.\n")
    {
        const QString p = path(QStringLiteral("chapter.txt"));
        writeBytes(p, bytes);
        return p;
    }

private Q_SLOTS:
    void init()
    {
        QSettings().clear();
        m_form = shownForm(QStringLiteral("The quick brown fox."));
    }
    void cleanup()
    {
        if (m_form)
            WindowProbe::documentArea(*m_form)->document()->setModified(false);   // no question at the end
        m_form.reset();
    }

    // What changes the document and what only marks it.
    void editsAndMarks_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("modified");
        QTest::newRow("nothing") << "" << false;
        QTest::newRow("typing") << "type" << true;
        QTest::newRow("pasting") << "paste" << true;
        QTest::newRow("Clear All") << "clearAll" << true;
        QTest::newRow("Analyze") << "analyze" << false;
        QTest::newRow("bold words") << "bold" << false;
        QTest::newRow("Clear Formatting") << "clearFormatting" << false;
        QTest::newRow("typing undone") << "typeUndo" << false;
    }
    void editsAndMarks()
    {
        QFETCH(QString, action);
        QFETCH(bool, modified);
        for (bool withFile : {false, true}) {
            init();
            if (withFile)
                QVERIFY(file().openFile(chapter("cat cat dog. cat dog dog.\n")));
            MainWindow &f = *m_form;
            if (action == u"type") {
                typeAtEnd(f, QStringLiteral(" more"));
            } else if (action == u"paste") {
                QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
                WindowProbe::documentArea(f)->paste();
            } else if (action == u"clearAll") {
                WindowProbe::clearAll(f);
            } else if (action == u"analyze" || action == u"bold" || action == u"clearFormatting") {
                WindowProbe::analyze(f);
                QVERIFY(!colourRuns(f).isEmpty() || !withFile);
                if (action != u"analyze") {
                    WindowProbe::boldCheck(f)->setChecked(true);
                    WindowProbe::wordList(f)->selectAll();
                }
                if (action == u"clearFormatting")
                    WindowProbe::clearFormatting(f);
            } else if (action == u"typeUndo") {
                typeAtEnd(f, QStringLiteral("x"));
                WindowProbe::documentArea(f)->undo();
            }
            QCOMPARE(WindowProbe::documentArea(f)->document()->isModified(), modified);
            if (withFile) {
                QCOMPARE(f.windowTitle(), QStringLiteral("chapter.txt[*] - ") + Program);
                QCOMPARE(f.isWindowModified(), modified);
            } else {
                // Without a file the caption is the form's, whatever happens.
                QCOMPARE(f.windowTitle(), Program);
                QVERIFY(!f.isWindowModified());
            }
        }
    }

    void questionBeforeLosingEdits_data()
    {
        QTest::addColumn<bool>("withFile");
        QTest::addColumn<bool>("edited");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<QByteArray>("onDisk");
        const QByteArray old = "One two.\n";
        const QByteArray saved = "One two.\nadded";   // typed into the empty last line
        QTest::newRow("no file, edited") << false << true << 0 << false << true << old;
        QTest::newRow("file, not edited") << true << false << 0 << false << true << old;
        QTest::newRow("cancel") << true << true << int(QMessageBox::Cancel) << true << false << old;
        QTest::newRow("discard") << true << true << int(QMessageBox::Discard) << true << true << old;
        QTest::newRow("save") << true << true << int(QMessageBox::Save) << true << true << saved;
    }
    void questionBeforeLosingEdits()
    {
        QFETCH(bool, withFile);
        QFETCH(bool, edited);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        QFETCH(bool, closed);
        QFETCH(QByteArray, onDisk);
        const QString p = chapter("One two.\n");
        if (withFile)
            QVERIFY(file().openFile(p));
        if (edited)
            typeAtEnd(*m_form, QStringLiteral("added"));
        const QString text = WindowProbe::documentArea(*m_form)->toPlainText();
        MessageBoxes boxes{QMessageBox::StandardButton(answer)};
        QCOMPARE(m_form->close(), closed);
        QCOMPARE(boxes.asked(),
                 asked ? QStringList{QStringLiteral("Save the changes to \"chapter.txt\"?")} : QStringList());
        QCOMPARE(bytesOf(p), onDisk);
        if (!closed) {
            // Cancel: nothing was lost, nothing changed.
            QVERIFY(m_form->isVisible());
            QCOMPARE(WindowProbe::documentArea(*m_form)->toPlainText(), text);
            QVERIFY(m_form->isWindowModified());
        }
    }

    void openingAnotherFileAsksToo()
    {
        QVERIFY(file().openFile(chapter()));
        typeAtEnd(*m_form, QStringLiteral("edit"));
        const QString edited = WindowProbe::documentArea(*m_form)->toPlainText();
        const QString other = path(QStringLiteral("other.md"));
        writeBytes(other, "# Other\n");
        MessageBoxes boxes(QMessageBox::Cancel);
        QVERIFY(!file().openFile(other));
        QCOMPARE(boxes.asked().size(), 1);
        QCOMPARE(WindowProbe::documentArea(*m_form)->toPlainText(), edited);
        QCOMPARE(m_form->windowTitle(), QStringLiteral("chapter.txt[*] - ") + Program);
        boxes.setAnswer(QMessageBox::Discard);
        QVERIFY(file().openFile(other));
        QCOMPARE(WindowProbe::documentArea(*m_form)->toPlainText(), QStringLiteral("# Other\n"));
        QCOMPARE(m_form->windowTitle(), QStringLiteral("other.md[*] - ") + Program);
        QVERIFY(!m_form->isWindowModified());
    }

    void whenReplacingAsks_data()
    {
        QTest::addColumn<bool>("fromFile");
        QTest::addColumn<bool>("modified");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("asks");
        const QString start = QStringLiteral("The quick brown fox jumps over the lazy dog.\n");
        QTest::newRow("untitled, as it started") << false << false << start << false;
        QTest::newRow("untitled, edited back to the start") << false << true << start << false;
        QTest::newRow("untitled, emptied") << false << true << QString() << false;
        QTest::newRow("untitled, typed") << false << true << QStringLiteral("My chapter") << true;
        QTest::newRow("untitled, typed after the start") << false << true << start + u'x' << true;
        QTest::newRow("file, unedited") << true << false << QString() << false;
        QTest::newRow("file, edited") << true << true << QString() << true;
    }
    void whenReplacingAsks()
    {
        QFETCH(bool, fromFile);
        QFETCH(bool, modified);
        QFETCH(QString, text);
        QFETCH(bool, asks);
        QCOMPARE(tq::ui::asksBeforeReplacing(fromFile, modified, text,
                                             QStringLiteral("The quick brown fox jumps over the lazy dog.\n")),
                 asks);
    }

    // Typed text in the untitled window is not thrown away by opening a file.
    void openingOverTypedTextAsks()
    {
        typeAtEnd(*m_form, QStringLiteral(" Mine."));
        const QString typed = WindowProbe::documentArea(*m_form)->toPlainText();
        const QString p = chapter();
        MessageBoxes boxes(QMessageBox::Cancel);
        QVERIFY(!file().openFile(p));
        QCOMPARE(boxes.asked(), QStringList{QStringLiteral("Save the text typed into the window?")});
        QCOMPARE(WindowProbe::documentArea(*m_form)->toPlainText(), typed);
        boxes.setAnswer(QMessageBox::Discard);
        QVERIFY(file().openFile(p));
        QCOMPARE(WindowProbe::documentArea(*m_form)->toPlainText(), QStringLiteral("One two.\nThree four.\n"));
        // Closing the untitled window still asks nothing.
        m_form = shownForm(QStringLiteral("x"));
        typeAtEnd(*m_form, QStringLiteral("y"));
        QVERIFY(m_form->close());
        QCOMPARE(boxes.asked().size(), 2);
    }

    // A file that cannot be read changes nothing: text, caption, modified
    // mark, undo history and the list all stay.
    void failedOpenChangesNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("not a zip") << "broken.docx" << QByteArray("this is not a zip file");
        QTest::newRow("empty odt") << "empty.odt" << QByteArray();
        QTest::newRow("missing") << "missing.txt" << QByteArray("<none>");
        QTest::newRow("picture") << "picture.txt" << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0", 16);
    }
    void failedOpenChangesNothing()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        if (bytes != "<none>")
            writeBytes(path(name), bytes);
        QVERIFY(file().openFile(chapter("cat cat\n")));
        typeAtEnd(*m_form, QStringLiteral("x"));
        WindowProbe::analyze(*m_form);
        const QString text = WindowProbe::documentArea(*m_form)->toPlainText();
        const QStringList list = listLines(*m_form);
        const QString title = m_form->windowTitle();
        MessageBoxes boxes(QMessageBox::Ok);
        QVERIFY(!file().openFile(path(name)));
        QCOMPARE(boxes.asked().size(), 1);
        QVERIFY2(boxes.asked().first().contains(name), qPrintable(boxes.asked().first()));
        QCOMPARE(WindowProbe::documentArea(*m_form)->toPlainText(), text);
        QCOMPARE(listLines(*m_form), list);
        QCOMPARE(m_form->windowTitle(), title);
        QVERIFY(m_form->isWindowModified());
        QVERIFY(WindowProbe::documentArea(*m_form)->document()->isUndoAvailable());
        QCOMPARE(file().manuscript()->path, path(QStringLiteral("chapter.txt")));
    }

    // Opening shows the file's document in place of the old one, with the
    // area's font; the surface and the modified mark follow the new one, and
    // the old list and undo history go.
    void openReplacesContent()
    {
        WindowProbe::analyze(*m_form);
        QVERIFY(!listLines(*m_form).isEmpty());
        const QFont font = WindowProbe::documentArea(*m_form)->document()->defaultFont();
        QVERIFY(file().openFile(chapter("Tide and tide.\r\nSea\r\n")));
        QTextDocument *opened = WindowProbe::documentArea(*m_form)->document();
        QCOMPARE(opened->defaultFont(), font);
        QVERIFY(!opened->isUndoAvailable());
        QVERIFY(!m_form->isWindowModified());
        QVERIFY(listLines(*m_form).isEmpty());
        QCOMPARE(WindowProbe::surface(*m_form).text(), QStringLiteral("Tide and tide.\nSea\n"));
        QCOMPARE(WindowProbe::documentArea(*m_form)->textCursor().position(), 0);
        WindowProbe::analyze(*m_form);
        QCOMPARE(colourRuns(*m_form), (QList<Run>{{0, 3, 0x0000ff}, {9, 12, 0x0000ff}}));
        typeAtEnd(*m_form, QStringLiteral(" sea"));
        QCOMPARE(WindowProbe::surface(*m_form).text(), QStringLiteral("Tide and tide.\nSea\n sea"));
        QVERIFY(m_form->isWindowModified());
        // A second file replaces that document in turn.
        MessageBoxes boxes(QMessageBox::Discard);
        QVERIFY(file().openFile(chapter("Sea sea\n")));
        QCOMPARE(WindowProbe::surface(*m_form).text(), QStringLiteral("Sea sea\n"));
        WindowProbe::analyze(*m_form);
        QCOMPARE(colourRuns(*m_form), (QList<Run>{{0, 2, 0x0000ff}, {4, 6, 0x0000ff}}));
    }

    void saveKeepsTheFilesForm()
    {
        // Windows-1252 with CR LF line ends: written back the same way.
        const QString p = chapter("caf\xe9\r\nna\xefve\r\n");
        QVERIFY(file().openFile(p));
        WindowProbe::documentArea(*m_form)->moveCursor(QTextCursor::End);
        WindowProbe::documentArea(*m_form)->insertPlainText(QStringLiteral("d\u00e9j\u00e0"));
        QVERIFY(file().save());
        QCOMPARE(bytesOf(p), QByteArray("caf\xe9\r\nna\xefve\r\nd\xe9j\xe0"));
        QVERIFY(!m_form->isWindowModified());
        // Save As to another plain text file keeps the form too.
        QVERIFY(file().saveTo(path(QStringLiteral("copy.txt"))));
        QCOMPARE(bytesOf(path(QStringLiteral("copy.txt"))), bytesOf(p));
        QCOMPARE(m_form->windowTitle(), QStringLiteral("copy.txt[*] - ") + Program);
    }

    void neverWritesOverWhatItCannotKeep()
    {
        // An OpenDocument file made elsewhere, with more than the window shows.
        const QString odt = path(QStringLiteral("novel.odt"));
        QTextDocument source;
        source.setPlainText(QStringLiteral("Chapter one."));
        QTextDocumentWriter writer(odt, "ODF");
        QVERIFY(writer.write(&source));
        const QByteArray original = bytesOf(odt);
        QVERIFY(file().openFile(odt));
        typeAtEnd(*m_form, QStringLiteral(" More."));
        MessageBoxes boxes(QMessageBox::Ok);
        QVERIFY(!file().saveTo(odt));
        QVERIFY(!file().saveTo(path(QStringLiteral("novel.docx"))));
        QCOMPARE(boxes.asked().size(), 2);
        QCOMPARE(bytesOf(odt), original);
        QVERIFY(!QFile::exists(path(QStringLiteral("novel.docx"))));
        // A copy of its own making may be written again in place.
        const QString copy = path(QStringLiteral("novel-edited.odt"));
        QVERIFY(file().saveTo(copy));
        typeAtEnd(*m_form, QStringLiteral(" Again."));
        QVERIFY(file().save());
        QCOMPARE(boxes.asked().size(), 2);
        auto back = tq::documents::readManuscript(copy);
        QVERIFY(back.document);
        QCOMPARE(tq::documents::documentText(*back.document),
                 QStringLiteral("Chapter one. More. Again."));
    }

    // A UTF-8 file with a stray byte opens with a note; writing it over
    // would turn that byte into U+FFFD, so Save asks for another name and
    // the file keeps every byte.
    void neverWritesOverBytesItCouldNotRead()
    {
        const QString p = path(QStringLiteral("stray.txt"));
        const QByteArray original("\xE2\x80\x9CQuoted\xE2\x80\x9D \xE2\x80\x94 a \x92stray.\n");
        writeBytes(p, original);
        QVERIFY(file().openFile(p));
        const auto *notice = m_form->findChild<QLabel *>(QStringLiteral("notice"));
        QVERIFY(notice && notice->isVisible());
        QVERIFY2(notice->text().contains(QStringLiteral("1 byte of stray.txt could not be read")),
                 qPrintable(notice->text()));
        typeAtEnd(*m_form, QStringLiteral(" More."));
        MessageBoxes boxes(QMessageBox::Ok);
        QVERIFY(!file().saveTo(p));
        QCOMPARE(boxes.asked().size(), 1);
        QVERIFY2(boxes.asked().constFirst().contains(QStringLiteral("could not be read")),
                 qPrintable(boxes.asked().constFirst()));
        QCOMPARE(bytesOf(p), original);
        QVERIFY(file().saveTo(path(QStringLiteral("stray-copy.txt"))));
    }

    void failedSaveSaysSoAndKeepsEdits()
    {
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("book")));
        const QString p = path(QStringLiteral("book/chapter.txt"));
        writeBytes(p, "Old text.\n");
        QVERIFY(file().openFile(p));
        typeAtEnd(*m_form, QStringLiteral("new"));
        // The folder is moved away and a file takes its name: nothing can be
        // written there, whoever runs the test.
        QVERIFY(QDir(m_dir.path()).rename(QStringLiteral("book"), QStringLiteral("moved")));
        writeBytes(path(QStringLiteral("book")), "a file, not a folder");
        MessageBoxes boxes(QMessageBox::Ok);
        QVERIFY(!file().save());
        QCOMPARE(boxes.asked().size(), 1);
        QVERIFY2(boxes.asked().first().contains(QStringLiteral("chapter.txt")), qPrintable(boxes.asked().first()));
        QCOMPARE(bytesOf(path(QStringLiteral("moved/chapter.txt"))), QByteArray("Old text.\n"));
        QVERIFY(m_form->isWindowModified());
        // Closing still asks: the edits are still unsaved.
        boxes.setAnswer(QMessageBox::Cancel);
        QVERIFY(!m_form->close());
        QCOMPARE(boxes.asked().size(), 2);
    }

    // A character the file's encoding cannot hold: Save refuses and names
    // the way out, and UTF-8 (as Save As offers it) takes the text.
    void encodingTooNarrowHasAWayOut()
    {
        const QString p = chapter("caf\xe9\r\nna\xefve\r\n");
        QVERIFY(file().openFile(p));
        WindowProbe::documentArea(*m_form)->moveCursor(QTextCursor::End);
        WindowProbe::documentArea(*m_form)->insertPlainText(QStringLiteral("\u03a9"));
        MessageBoxes boxes(QMessageBox::Ok);
        QVERIFY(!file().save());
        QCOMPARE(boxes.asked().size(), 1);
        QVERIFY2(boxes.asked().first().contains(QStringLiteral("Save it as UTF-8 with Save As")),
                 qPrintable(boxes.asked().first()));
        QCOMPARE(bytesOf(p), QByteArray("caf\xe9\r\nna\xefve\r\n"));
        const auto forms = tq::documents::savingForms(*WindowProbe::documentArea(*m_form)->document(),
                                                      file().manuscript()->plainForm);
        QCOMPARE(forms.size(), 1);
        QVERIFY(file().saveTo(path(QStringLiteral("copy.txt")), forms.first()));
        QCOMPARE(bytesOf(path(QStringLiteral("copy.txt"))), QByteArray("caf\xc3\xa9\r\nna\xc3\xafve\r\n\xce\xa9"));
    }

    void dropOpensFilesAndInsertsText()
    {
        const QString p = chapter("Dropped chapter.\n");
        auto drop = [this](QMimeData *data) {
            QWidget *target = WindowProbe::documentArea(*m_form)->viewport();
            const QPointF at(10, 10);
            QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &enter);
            QDropEvent dropped(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &dropped);
            return dropped.isAccepted();
        };
        QMimeData text;
        text.setText(QStringLiteral("words "));
        QVERIFY(drop(&text));
        QVERIFY(WindowProbe::documentArea(*m_form)->toPlainText().contains(QStringLiteral("words ")));
        QCOMPARE(m_form->windowTitle(), Program);

        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(p)});
        files.setText(p);   // file managers offer the path as text as well
        // The dropped words are typed text: dropping a file over them asks.
        MessageBoxes boxes(QMessageBox::Discard);
        QVERIFY(drop(&files));
        QTRY_COMPARE(WindowProbe::documentArea(*m_form)->toPlainText(), QStringLiteral("Dropped chapter.\n"));
        QCOMPARE(boxes.asked().size(), 1);
        QCOMPARE(m_form->windowTitle(), QStringLiteral("chapter.txt[*] - ") + Program);
    }

    void openRecentListsExistingFiles()
    {
        QStringList opened;
        for (int i = 0; i < 12; ++i) {
            const QString p = path(QStringLiteral("c%1.txt").arg(i));
            writeBytes(p, QByteArray::number(i));
            QVERIFY(file().openFile(p));
            opened.prepend(p);
        }
        QVERIFY(QFile::remove(opened.at(1)));
        QAction *recent = nullptr;
        for (QAction *a : file().actions()) {
            if (a->menu())
                recent = a;
        }
        QVERIFY(recent);
        Q_EMIT recent->menu()->aboutToShow();
        const QList<QAction *> entries = recent->menu()->actions();
        QCOMPARE(entries.size(), 9);   // the ten newest, one of them gone
        QVERIFY(entries.first()->text().contains(QStringLiteral("c11.txt")));
        QVERIFY(entries.at(1)->text().contains(QStringLiteral("c9.txt")));
        entries.last()->trigger();
        QCOMPARE(WindowProbe::documentArea(*m_form)->toPlainText(), QStringLiteral("2"));
        QCOMPARE(tq::ui::RecentFiles().existing().first(), opened.at(9));
    }

    void exportsCarryThePassResults()
    {
        QVERIFY(file().openFile(chapter("Echo, echo. Word\n")));
        WindowProbe::analyze(*m_form);
        WindowProbe::boldCheck(*m_form)->setChecked(true);
        WindowProbe::wordList(*m_form)->item(entryOf(*m_form, QStringLiteral("word")))->setSelected(true);
        auto *exports = m_form->findChild<tq::ui::ExportCommands *>();
        QVERIFY(exports);

        const QString csv = path(QStringLiteral("words.csv"));
        QVERIFY(exports->exportWordList(csv));
        QCOMPARE(bytesOf(csv), QByteArray("count,word\r\n2,echo\r\n1,word\r\n"));

        const QString html = path(QStringLiteral("marked.html"));
        QVERIFY(exports->exportHighlighted(html));
        // Shown as a browser shows it, the colours and bold are the pass's, at
        // the same places. (Opened in the program, a page keeps only the
        // writer's italic, bold and underline, so Qt's own import looks.)
        QTextDocument d;
        d.setHtml(QString::fromUtf8(bytesOf(html)));
        for (int i = 0; i < 16; ++i) {
            QTextCursor c(const_cast<QTextDocument *>(&d));
            c.setPosition(i + 1);
            const QTextCharFormat fmt = c.charFormat();
            const quint32 colour = WindowProbe::surface(*m_form).colourAt(i);
            const QColor shown = fmt.foreground().color();
            QCOMPARE(fmt.hasProperty(QTextFormat::ForegroundBrush), colour != 0);
            if (colour != 0)
                QCOMPARE(quint32(shown.red() | shown.green() << 8 | shown.blue() << 16), colour);
            QCOMPARE(fmt.fontWeight() >= QFont::Bold, WindowProbe::surface(*m_form).boldAt(i));
        }
        // Exports are not edits, and the document's own file is untouched.
        QVERIFY(!m_form->isWindowModified());
        QCOMPARE(file().manuscript()->path, path(QStringLiteral("chapter.txt")));
    }
};

QTEST_MAIN(DocumentFileTest)
#include "tst_documentfile.moc"
