// Saving: the writer's text and formatting come back when the saved file is
// opened again; a save that fails says why and leaves the old file whole;
// no character is ever replaced without a word.
#include "testlocale.h"

#include "documentcheck.h"
#include "filebytes.h"
#include "hostilefiles.h"
#include "manuscript.h"

#include <QTest>
#include <QXmlStreamReader>

#include <csignal>
#include <sys/resource.h>

using namespace tq::documents;

class SavingTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) { return m_dir.filePath(name); }

    // A paragraph with every kind of formatting and spacing a writer makes.
    static std::unique_ptr<QTextDocument> writersDocument()
    {
        auto document = std::make_unique<QTextDocument>();
        document->setHtml("<p>  Leading spaces, <i>slanted</i>, <b>heavy</b>, <u>lined</u>"
                          " and <b><i>both</i></b>.</p>"
                          "<p>Tab\there, three   spaces, a&nbsp;no-break space<br>"
                          "after a break: &lt;tags&gt; &amp; \"quotes\" ‘ünïcödé’.</p><p></p><p>Last.</p>");
        return document;
    }

private Q_SLOTS:
    void formatsKeepTheWritersWork_data();
    void formatsKeepTheWritersWork();
    void awkwardCharactersInOpenDocument_data();
    void awkwardCharactersInOpenDocument();
    void editsAreWrittenInTheFilesOwnForm();
    void characterTheEncodingCannotHold();
    void failedSaveLeavesTheOldFileWhole();
    void wordIsNeverWritten();
    void webPageHoldsOnlyTheWritersWork();
    void encodingsOnOffer_data();
    void encodingsOnOffer();
    void mixedLineEndsStay_data();
    void mixedLineEndsStay();
};

void SavingTest::formatsKeepTheWritersWork_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("keepsFormatting");
    QTest::newRow("OpenDocument") << "saved.odt" << true;
    QTest::newRow("HTML") << "saved.html" << true;
    QTest::newRow("plain text") << "saved.txt" << false;
    QTest::newRow("Markdown") << "saved.md" << false;
}

void SavingTest::formatsKeepTheWritersWork()
{
    QFETCH(QString, name);
    QFETCH(bool, keepsFormatting);
    const auto document = writersDocument();
    const Manuscript target{path(name), formatForSaving(name), {}};
    const QString error = writeManuscript(*document, target);
    QVERIFY2(error.isEmpty(), qPrintable(error));

    const ReadResult back = readManuscript(target.path);
    QVERIFY2(back.document, qPrintable(back.error));
    QCOMPARE(back.source.format, target.format);
    // Plain text has no line break inside a paragraph: it becomes a line end.
    QString expected = visibleText(*document);
    if (!keepsFormatting)
        expected.replace(u'|', u'\n');
    QCOMPARE(visibleText(*back.document), expected);
    for (const char *word : {"Leading", "slanted", "heavy", "lined", "both", "Last"})
        QCOMPARE(lookAt(*back.document, word), keepsFormatting ? lookAt(*document, word) : "---");
}

// What XML cannot hold as it is: escaped, or replaced by a character it can
// hold, never dropped unseen or left to make a file that cannot be read.
void SavingTest::awkwardCharactersInOpenDocument_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("readBack");
    QTest::newRow("markup") << "<a> & ]]> \"q\" 'b'" << "<a> & ]]> \"q\" 'b'";
    QTest::newRow("control character") << "a\u0001b\u001Fc" << "a\uFFFDb\uFFFDc";
    QTest::newRow("not a character") << "a\uFFFEb" << "a\uFFFDb";
    QTest::newRow("surrogate pair") << "a\U0001F600b" << "a\U0001F600b";
    QTest::newRow("half a surrogate pair") << "a" + QString(QChar(0xD83D)) + "b" << "a?b";
}

void SavingTest::awkwardCharactersInOpenDocument()
{
    QFETCH(QString, typed);
    QFETCH(QString, readBack);
    QTextDocument document;
    document.setPlainText(typed);
    const QString file = path("awkward.odt");
    QVERIFY(writeManuscript(document, {file, FileFormat::OpenDocument, {}}).isEmpty());
    const ReadResult back = readManuscript(file);
    QVERIFY2(back.document, qPrintable(back.error));
    QCOMPARE(documentText(*back.document), readBack);
}

void SavingTest::editsAreWrittenInTheFilesOwnForm()
{
    const QString file = path("edited.txt");
    QVERIFY(hostile::writeFile(file, "\xFF\xFE" + QByteArray("a\0\r\0b\0", 6)));
    const ReadResult read = readManuscript(file);
    QVERIFY2(read.document, qPrintable(read.error));
    QTextCursor cursor(read.document.get());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText("c\nd");
    const QString error = writeManuscript(*read.document, read.source);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(bytesOf(file), "\xFF\xFE" + QByteArray("a\0\r\0b\0c\0\r\0d\0", 12));
}

// Windows-1252 has no Cyrillic: rather than a "?" in the writer's file, the
// save is refused, naming the character, and the file stays as it was.
void SavingTest::characterTheEncodingCannotHold()
{
    const QString file = path("legacy.txt");
    const QByteArray old = "Caf\xE9 cr\xE8me, d\xE9j\xE0 vu, na\xEFve \x93quotes\x94.\n";
    QVERIFY(hostile::writeFile(file, old));
    const ReadResult read = readManuscript(file);
    QVERIFY2(read.document, qPrintable(read.error));
    QVERIFY(read.source.plainForm.encoding != "UTF-8");
    QTextCursor cursor(read.document.get());
    cursor.insertText("Жизнь ");
    const QString error = writeManuscript(*read.document, read.source);
    QVERIFY2(error.contains(file) && error.contains("“Ж”"), qPrintable(error));
    QCOMPARE(bytesOf(file), old);

    // The same text goes to a new file as UTF-8.
    const Manuscript unicode{path("unicode.txt"), FileFormat::PlainText, {}};
    QVERIFY(writeManuscript(*read.document, unicode).isEmpty());
    QCOMPARE(bytesOf(unicode.path), "Жизнь Café crème, déjà vu, naïve “quotes”.\n");

    // Half a surrogate pair (pasted from a broken source) has no encoding
    // at all: written as UTF-16 it would make a file that cannot be read.
    cursor.insertText(QString(QChar(0xD83D)));
    const Manuscript utf16{path("unicode.txt"), FileFormat::PlainText, {"UTF-16LE", true, LineEnding::Lf}};
    QVERIFY(!writeManuscript(*read.document, utf16).isEmpty());
    QCOMPARE(bytesOf(unicode.path), "Жизнь Café crème, déjà vu, naïve “quotes”.\n");
}

void SavingTest::failedSaveLeavesTheOldFileWhole()
{
    const auto document = writersDocument();

    // A folder that is a file: nothing can be created inside it.
    QVERIFY(hostile::writeFile(path("plain-file"), "x"));
    QString error = writeManuscript(*document, {path("plain-file/out.txt"), FileFormat::PlainText, {}});
    QVERIFY2(error.contains("plain-file/out.txt"), qPrintable(error));

    // The disk fills up while the new version is written (a file size limit
    // stands in for a full disk, and works for root too).
    const QString file = path("old.odt");
    QVERIFY(hostile::writeFile(file, "the old version"));
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit tight = old;
    tight.rlim_cur = 64;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &tight), 0);
    error = writeManuscript(*document, {file, FileFormat::OpenDocument, {}});
    setrlimit(RLIMIT_FSIZE, &old);
    QVERIFY2(error.startsWith("Cannot") && error.contains(file), qPrintable(error));
    QCOMPARE(bytesOf(file), QByteArray("the old version"));
    QCOMPARE(QDir(m_dir.path()).entryList({"old.odt*"}, QDir::Files), QStringList{"old.odt"});
}

void SavingTest::wordIsNeverWritten()
{
    const ReadResult read = readManuscript(fixture("manuscript.docx"));
    QVERIFY2(read.document, qPrintable(read.error));
    QVERIFY(!savesInPlace(read.source.format));
    const QString copy = path("copy.docx");
    const QString error = writeManuscript(*read.document, {copy, FileFormat::Word, {}});
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(copy));
    QCOMPARE(formatForSaving(copy), FileFormat::PlainText);
}

// A page read from elsewhere keeps its pictures and styles: Save never
// writes over it. A page written here is the writer's text and emphasis in
// well-formed markup, without the window's font.
void SavingTest::webPageHoldsOnlyTheWritersWork()
{
    const QString page = path("page.html");
    QVERIFY(hostile::writeFile(page, "<html><head><style>p { color: navy }</style></head><body>"
                                     "<p>A <img src=\"x.png\"> picture.</p><ul><li>One</li></ul></body></html>"));
    const ReadResult read = readManuscript(page);
    QVERIFY2(read.document, qPrintable(read.error));
    QVERIFY(!savesInPlace(read.source.format));

    auto document = writersDocument();
    document->setDefaultFont(QFont("MS Sans Serif", 8));   // as the window sets it
    const QString copy = path("copy.html");
    QVERIFY(writeManuscript(*document, {copy, FileFormat::Html, {}}).isEmpty());
    const QByteArray bytes = bytesOf(copy);
    for (const char *window : {"font-family", "font-size", "MS Sans Serif"})
        QVERIFY2(!bytes.contains(window), window);
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd())
        xml.readNext();
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
}

// Save As offers UTF-8 first, and the file's own encoding only while it can
// hold the text; the line ends stay the file's.
void SavingTest::encodingsOnOffer_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("own");
    QTest::addColumn<bool>("bom");
    QTest::addColumn<QStringList>("offered");
    QTest::newRow("legacy that holds the text") << "Café" << QByteArray("WINDOWS-1252") << false
                                                << QStringList{"UTF-8", "WINDOWS-1252"};
    QTest::newRow("legacy too narrow") << "Café Ω" << QByteArray("WINDOWS-1252") << false
                                       << QStringList{"UTF-8"};
    QTest::newRow("UTF-8 with BOM") << "Ω" << QByteArray("UTF-8") << true << QStringList{"UTF-8 BOM"};
    QTest::newRow("UTF-16 to UTF-8") << "Ω" << QByteArray("UTF-16LE") << true
                                     << QStringList{"UTF-8", "UTF-16LE BOM"};
}

void SavingTest::encodingsOnOffer()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, own);
    QFETCH(bool, bom);
    QFETCH(QStringList, offered);
    QTextDocument document;
    document.setPlainText(text);
    const PlainTextForm form{own, bom, LineEnding::CrLf};
    QStringList names;
    for (const PlainTextForm &f : savingForms(document, form)) {
        QCOMPARE(f.lineEnding, LineEnding::CrLf);
        names.append(QString::fromLatin1(f.encoding) + (f.bom ? " BOM" : ""));
    }
    QCOMPARE(names, offered);
}

// A file that mixes its line ends keeps each line's own end; a line the
// writer adds ends as most lines do.
void SavingTest::mixedLineEndsStay_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("at");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("untouched") << QByteArray("one\r\ntwo\nthree\r\n") << -1 << QString()
                               << QByteArray("one\r\ntwo\nthree\r\n");
    QTest::newRow("edited inside a line") << QByteArray("one\r\ntwo\nthree\r\n") << 4 << "X"
                                          << QByteArray("one\r\nXtwo\nthree\r\n");
    QTest::newRow("lines added at the end") << QByteArray("one\r\ntwo\nthree\r\n") << 14 << "four\nfive"
                                            << QByteArray("one\r\ntwo\nthree\r\nfour\r\nfive");
    QTest::newRow("old Mac ends among others") << QByteArray("a\rb\rc\r\nd\n") << -1 << QString()
                                               << QByteArray("a\rb\rc\r\nd\n");
}

void SavingTest::mixedLineEndsStay()
{
    QFETCH(QByteArray, file);
    QFETCH(int, at);
    QFETCH(QString, typed);
    QFETCH(QByteArray, saved);
    const QString name = path("mixed.txt");
    QVERIFY(hostile::writeFile(name, file));
    const ReadResult read = readManuscript(name);
    QVERIFY2(read.document, qPrintable(read.error));
    if (at >= 0) {
        QTextCursor cursor(read.document.get());
        cursor.setPosition(at);
        cursor.insertText(typed);
    }
    QVERIFY(writeManuscript(*read.document, read.source).isEmpty());
    QCOMPARE(bytesOf(name), saved);
}

QTEST_MAIN(SavingTest)
#include "tst_saving.moc"
