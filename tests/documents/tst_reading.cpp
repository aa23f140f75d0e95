// Opening manuscripts: the word processors' files keep the prose and the
// writer's italic, bold and underline and leave out what is not prose; plain
// text is decoded in any of its encodings and saved back byte for byte;
// hostile and broken files are refused with a reason, or read safely.
#include "testlocale.h"

#include "documentcheck.h"
#include "hostilefiles.h"
#include "manuscript.h"

#include <QDir>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTest>

using namespace tq::documents;

class ReadingTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) { return m_dir.filePath(name); }

private Q_SLOTS:
    void wordProcessorFiles_data();
    void wordProcessorFiles();
    void plainTextRoundTrip_data();
    void plainTextRoundTrip();
    void markdownStaysAsWritten();
    void html();
    void htmlReachesForNothingOutside();
    void htmlAsProse_data();
    void htmlAsProse();
    void refused_data();
    void refused();
    void hostileShapesRead_data();
    void hostileShapesRead();
    void handMadeContent_data();
    void handMadeContent();
    void damagedContainers_data();
    void damagedContainers();
};

void ReadingTest::wordProcessorFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<FileFormat>("format");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("looks");   // "word=ibu"

    const QString manuscript =
        "Chapter One\n"
        "The first paragraph has italic, bold and underlined words.\n"
        "A line|broken inside a paragraph.\n"
        "Prose with a note and more.\n"
        "Prose with a comment.\n"
        "Kept inserted text here.\n"
        "Two  spaces and a\ttab.\n"
        "Café naïve — “quoted” ÿ.";
    const QStringList manuscriptLooks = {"Chapter=-b-", "italic=i--", "bold=-b-", "underlined=--u",
                                         "paragraph=---", "inserted=---"};
    QTest::newRow("LibreOffice .odt") << "manuscript.odt" << FileFormat::OpenDocument << manuscript
                                      << manuscriptLooks;
    QTest::newRow("LibreOffice .docx") << "manuscript.docx" << FileFormat::Word << manuscript
                                       << manuscriptLooks;

    const QString pandoc = "Opening\n"
                           "A writer’s slanted and heavy words,|then a line break.\n"
                           "A footnote here stays out.\n"
                           "Changes: inserted words end.\n"
                           "A remark stays.";
    const QStringList pandocLooks = {"slanted=i--", "heavy=-b-", "words,=---"};
    // pandoc writes no tracked changes or comments into OpenDocument: there
    // they are ordinary text.
    QTest::newRow("pandoc .odt") << "pandoc.odt" << FileFormat::OpenDocument
                                 << QString(pandoc)
                                        .replace("words end", "wordsDELETED WORDS end")
                                        .replace("A remark", "A COMMENT WORDSremark")
                                 << pandocLooks;
    QTest::newRow("pandoc .docx") << "pandoc.docx" << FileFormat::Word << pandoc << pandocLooks;
}

void ReadingTest::wordProcessorFiles()
{
    QFETCH(QString, file);
    QFETCH(FileFormat, format);
    QFETCH(QString, text);
    QFETCH(QStringList, looks);

    const ReadResult result = readManuscript(fixture(file));
    QVERIFY2(result.document, qPrintable(result.error));
    QCOMPARE(result.source.format, format);
    QVERIFY(!savesInPlace(result.source.format));
    QCOMPARE(visibleText(*result.document), text);
    for (const QString &look : looks) {
        const QString word = look.section(u'=', 0, 0);
        QCOMPARE(lookAt(*result.document, word) + " " + word, look.section(u'=', 1) + " " + word);
    }
    QVERIFY(!result.document->isModified());
}

void ReadingTest::plainTextRoundTrip_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("encoding");   // empty: any that decodes right
    QTest::addColumn<bool>("bom");
    QTest::addColumn<LineEnding>("lineEnding");

    const QString french = "Déjà l’été : « très » naïf, cœur — où ça ?\nÇa alors !\n";
    const QString russian = "Мороз и солнце; день чудесный! Ещё ты дремлешь, друг прелестный.\n"
                            "Пора, красавица, проснись: открой сомкнуты негой взоры.\n";
    auto encoded = [](const QString &s, const char *encoding) {
        QStringEncoder encoder(encoding);
        return QByteArray(encoder.encode(s));
    };
    QTest::newRow("empty") << QByteArray() << "" << QByteArray("UTF-8") << false << LineEnding::Lf;
    QTest::newRow("UTF-8, LF") << french.toUtf8() << french << QByteArray("UTF-8") << false
                               << LineEnding::Lf;
    QTest::newRow("UTF-8 with BOM, CR LF")
        << "\xEF\xBB\xBF" + QString(french).replace("\n", "\r\n").toUtf8() << french
        << QByteArray("UTF-8") << true << LineEnding::CrLf;
    QTest::newRow("UTF-16 LE with BOM, CR")
        << "\xFF\xFE" + encoded(QString(french).replace("\n", "\r"), "UTF-16LE") << french
        << QByteArray("UTF-16LE") << true << LineEnding::Cr;
    QTest::newRow("UTF-16 BE with BOM, CR LF")
        << "\xFE\xFF" + encoded(QString(russian).replace("\n", "\r\n"), "UTF-16BE") << russian
        << QByteArray("UTF-16BE") << true << LineEnding::CrLf;
    QTest::newRow("Windows-1252") << encoded(french, "windows-1252") << french << QByteArray()
                                  << false << LineEnding::Lf;
    QTest::newRow("Windows-1251") << encoded(russian, "windows-1251") << russian << QByteArray()
                                  << false << LineEnding::Lf;
    QTest::newRow("KOI8-R, CR LF") << encoded(QString(russian).replace("\n", "\r\n"), "KOI8-R")
                                   << russian << QByteArray() << false << LineEnding::CrLf;
    QTest::newRow("no final line end") << QByteArray("one\r\ntwo") << "one\ntwo" << QByteArray("UTF-8")
                                       << false << LineEnding::CrLf;
    QTest::newRow("no-break space, zero-width no-break space and a tab kept")
        << QByteArray("a\xC2\xA0" "b\xEF\xBB\xBF" "c\td") << "a\u00A0b\uFEFFc\td" << QByteArray("UTF-8")
        << false << LineEnding::Lf;
    QTest::newRow("mixed ends: the most used style wins") << QByteArray("a\r\nb\nc\r\nd")
                                                            << "a\nb\nc\nd" << QByteArray("UTF-8")
                                                            << false << LineEnding::CrLf;
}

void ReadingTest::plainTextRoundTrip()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(QByteArray, encoding);
    QFETCH(bool, bom);
    QFETCH(LineEnding, lineEnding);

    const QString file = path("plain.txt");
    QVERIFY(hostile::writeFile(file, bytes));
    const ReadResult result = readManuscript(file);
    QVERIFY2(result.document, qPrintable(result.error));
    QCOMPARE(result.source.format, FileFormat::PlainText);
    QCOMPARE(documentText(*result.document), text);
    QCOMPARE(result.document->blockCount(), text.count(u'\n') + 1);
    if (!encoding.isEmpty())
        QCOMPARE(result.source.plainForm.encoding, encoding);
    QCOMPARE(result.source.plainForm.bom, bom);
    QCOMPARE(result.source.plainForm.lineEnding, lineEnding);
    QVERIFY(savesInPlace(result.source.format));

    // Saved back unchanged, the file keeps every byte, mixed line ends too.
    const QString error = writeManuscript(*result.document, result.source);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QFile saved(file);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), bytes);
}

void ReadingTest::markdownStaysAsWritten()
{
    const QByteArray source = "# Title\n\nSome *emphasis* and **strong** <b>tags</b> &amp; `code`.\n";
    const QString file = path("notes.md");
    QVERIFY(hostile::writeFile(file, source));
    const ReadResult result = readManuscript(file);
    QVERIFY2(result.document, qPrintable(result.error));
    QCOMPARE(result.source.format, FileFormat::Markdown);
    QCOMPARE(documentText(*result.document), QString::fromUtf8(source));
    QCOMPARE(lookAt(*result.document, "emphasis"), "---");
}

void ReadingTest::html()
{
    const QByteArray source =
        "<html><head><meta charset=\"windows-1252\"><title>T</title></head><body>"
        "<p>One <i>slanted</i>, <b>heavy</b> and <u>lined</u> caf\xE9.</p>"
        "<p>Broken<br>line &amp; more</p></body></html>";
    const QString file = path("page.htm");
    QVERIFY(hostile::writeFile(file, source));
    const ReadResult result = readManuscript(file);
    QVERIFY2(result.document, qPrintable(result.error));
    QCOMPARE(result.source.format, FileFormat::Html);
    QCOMPARE(visibleText(*result.document), "One slanted, heavy and lined café.\nBroken|line & more");
    QCOMPARE(lookAt(*result.document, "slanted"), "i--");
    QCOMPARE(lookAt(*result.document, "heavy"), "-b-");
    QCOMPARE(lookAt(*result.document, "lined"), "--u");
}

// A page is read as prose, the way a browser shows its text: paragraphs,
// line breaks, each table cell a paragraph, italic, bold and underline.
void ReadingTest::htmlAsProse_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("looks");   // "word=ibu"

    QTest::newRow("each table cell a paragraph")
        << QByteArray("<table><tr><th>name</th><td>age</td></tr><tr><td>Ann</td><td>42</td></tr></table>")
        << "name\nage\nAnn\n42" << QStringList{"name=-b-", "Ann=---"};
    QTest::newRow("white space collapses, none at a paragraph's ends")
        << QByteArray("<p>\n  one \t two\n</p>\n<div> three <b> four </b> five </div>")
        << "one two\nthree four five" << QStringList{"four=-b-", "five=---"};
    QTest::newRow("breaks: between lines, alone, and last in a paragraph")
        << QByteArray("<p>a<br>b</p><p><br></p><p>c<br></p><p>d<br><br>e</p>")
        << "a|b\n\nc\nd||e" << QStringList();
    QTest::newRow("pre keeps spaces and line ends")
        << QByteArray("<pre>a  b\n\tc</pre>") << "a  b|\tc" << QStringList();
    QTest::newRow("a style sheet's white-space by element")
        << QByteArray("<style>p, li { white-space: pre-wrap; }</style>\n<p>  a  <i>b</i></p>\n<div>c   d</div>")
        << "  a  b\nc d" << QStringList{"b=i--"};
    QTest::newRow("style attributes: weight, slant, underline, and back")
        << QByteArray("<p><span style=\" font-weight:700;\">heavy <span style=\"font-weight:400\">light</span></span>"
                      " <span style=\"font-style: italic; text-decoration: underline\">both</span>"
                      " <em>slanted <span style=\"font-style:normal\">upright</span></em></p>")
        << "heavy light both slanted upright"
        << QStringList{"heavy=-b-", "light=---", "both=i-u", "slanted=i--", "upright=---"};
    QTest::newRow("headings bold, lists as paragraphs")
        << QByteArray("<h2>Title</h2><ul><li>one</li><li>two<ol><li>three</ol></ul>")
        << "Title\none\ntwo\nthree" << QStringList{"Title=-b-", "one=---"};
    QTest::newRow("scripts, styles, forms and the head left out")
        << QByteArray("<script>var x = 1;</script><noscript>n</noscript>text"
                      "<select><option>choice</option></select><textarea>typed</textarea> end")
        << "text end" << QStringList();
    QTest::newRow("entities and no-break spaces")
        << QByteArray("<p>a&nbsp;&nbsp;b &amp; &lt;c&gt; caf&eacute; &#x2014;</p>")
        << "a\u00A0\u00A0b & <c> café —" << QStringList();
    // Rows named "fragment" are the whole file: what a clipboard offers has
    // no <html> or <body>, and none of its text may go.
    QTest::newRow("fragment: inline elements and text")
        << QByteArray("<b>bold</b> and <em>so</em>") << "bold and so" << QStringList{"bold=-b-", "so=i--"};
    QTest::newRow("fragment: a paragraph, then loose text")
        << QByteArray("<p>one</p> two <i>three</i>") << "one\ntwo three" << QStringList{"three=i--"};
}

void ReadingTest::htmlAsProse()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, text);
    QFETCH(QStringList, looks);
    const QString file = path("prose.html");
    const bool fragment = QByteArray(QTest::currentDataTag()).startsWith("fragment");
    QVERIFY(hostile::writeFile(file, fragment ? body
                                              : "<html><head><title>Left out</title></head><body>" + body
                                                    + "</body></html>"));
    const ReadResult result = readManuscript(file);
    QVERIFY2(result.document, qPrintable(result.error));
    QCOMPARE(visibleText(*result.document), text);
    for (const QString &look : looks)
        QCOMPARE(lookAt(*result.document, look.section(u'=', 0, 0)) + " " + look,
                 look.section(u'=', 1) + " " + look);
}

// A style sheet or picture named in a page could be any file on the
// machine; none is read, and no picture is left to be looked for later.
void ReadingTest::htmlReachesForNothingOutside()
{
    QVERIFY(hostile::writeFile(path("bold.css"), "p { font-weight: bold; }"));
    QVERIFY(hostile::writeFile(path("picture.png"), hostile::pngPicture()));
    const QByteArray source = "<html><head><link rel=\"stylesheet\" href=\"" + path("bold.css").toUtf8()
                              + "\"></head><body><p>Plain <img src=\"" + path("picture.png").toUtf8()
                              + "\">words</p></body></html>";
    const QString file = path("linked.html");
    QVERIFY(hostile::writeFile(file, source));
    const ReadResult result = readManuscript(file);
    QVERIFY2(result.document, qPrintable(result.error));
    QCOMPARE(visibleText(*result.document), "Plain words");
    QCOMPARE(lookAt(*result.document, "Plain"), "---");
}

void ReadingTest::refused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");

    QDir(m_dir.path()).mkdir("refused");
    auto at = [this](const QString &name) { return path("refused/" + name); };
    auto file = [](const QString &p, const QByteArray &bytes) {
        if (!hostile::writeFile(p, bytes))
            qFatal("cannot write %s", qPrintable(p));
    };
    auto zip = [](const QString &p, const hostile::Parts &parts) {
        if (!hostile::writeZip(p, parts))
            qFatal("cannot write %s", qPrintable(p));
    };
    auto fixtureBytes = [](const QString &name) {
        QFile f(fixture(name));
        if (!f.open(QIODevice::ReadOnly))
            qFatal("no fixture %s", qPrintable(name));
        return f.readAll();
    };

    file(at("empty.docx"), "");
    QTest::newRow("empty .docx") << "empty.docx" << "the file is empty";
    file(at("empty.odt"), "");
    QTest::newRow("empty .odt") << "empty.odt" << "the file is empty";
    const QByteArray docx = fixtureBytes("manuscript.docx");
    file(at("truncated.docx"), docx.left(docx.size() / 2));
    QTest::newRow("truncated .docx") << "truncated.docx" << "damaged or incomplete";
    const QByteArray odt = fixtureBytes("manuscript.odt");
    file(at("truncated.odt"), odt.left(odt.size() - 30));
    QTest::newRow("truncated .odt") << "truncated.odt" << "damaged or incomplete";
    QByteArray flipped = odt;
    flipped[flipped.indexOf("content.xml") + 40] = char(flipped[flipped.indexOf("content.xml") + 40] ^ 0x55);
    file(at("flipped.odt"), flipped);
    QTest::newRow("a damaged byte in .odt") << "flipped.odt" << "";
    file(at("picture.docx"), hostile::pngPicture());
    QTest::newRow("picture named .docx") << "picture.docx" << "not a Word document";
    file(at("picture.odt"), hostile::pngPicture());
    QTest::newRow("picture named .odt") << "picture.odt" << "not an OpenDocument text";
    file(at("picture.txt"), hostile::pngPicture());
    QTest::newRow("picture named .txt") << "picture.txt" << "not a text file";
    zip(at("archive.txt"), {{"notes.txt", "hello"}});
    QTest::newRow("archive named .txt") << "archive.txt" << "not a text file";
    zip(at("archive.docx"), {{"notes.txt", "hello"}});
    QTest::newRow("archive named .docx") << "archive.docx" << "archive of other files";
    zip(at("sheet.odt"), {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                          {"content.xml", "<a/>"}});
    QTest::newRow("spreadsheet named .odt") << "sheet.odt" << "not an OpenDocument text";
    zip(at("laughs.odt"), hostile::openDocumentParts(hostile::entityExpansion("office:document-content")));
    QTest::newRow("entity expansion in .odt") << "laughs.odt" << "document type";
    zip(at("laughs.docx"), hostile::wordParts(hostile::entityExpansion("w:document")));
    QTest::newRow("entity expansion in .docx") << "laughs.docx" << "document type";
    zip(at("broken.docx"), hostile::wordParts("<w:document><w:body><w:p>"));
    QTest::newRow("unfinished XML") << "broken.docx" << "XML is damaged";

    const qint64 past = 257LL * 1024 * 1024;
    if (!hostile::writeZipOfZeros(at("bomb.docx"), "word/document.xml", past))
        qFatal("cannot write the bomb");
    QTest::newRow("zip bomb") << "bomb.docx" << "expand past 256 MB";
    QFile::copy(at("bomb.docx"), at("lying.docx"));
    if (!hostile::lieAboutSize(at("lying.docx"), 1000))
        qFatal("cannot patch the bomb");
    QTest::newRow("zip bomb declaring a small size") << "lying.docx" << "";

    // Shapes no real document has, past the bounds every format shares.
    zip(at("spaces.odt"), hostile::openDocumentParts(hostile::repeatedSpaces(66000)));
    QTest::newRow("repeated spaces expanding past the text bound")
        << "spaces.odt" << "more than 64 million characters";
    file(at("long.txt"), QByteArray("word ").repeated(14 * 1024 * 1024));
    QTest::newRow("plain text past the text bound") << "long.txt" << "more than 64 million characters";
    zip(at("deep-runs.docx"), hostile::wordParts(hostile::nestedRuns(600)));
    QTest::newRow("runs nested 600 deep") << "deep-runs.docx" << "nest more than 512 deep";
    zip(at("deep-spans.odt"), hostile::openDocumentParts(hostile::nestedSpans(100000)));
    QTest::newRow("spans nested 100,000 deep") << "deep-spans.odt" << "nest more than 512 deep";
    hostile::Parts deepStyles = hostile::openDocumentParts(hostile::nestedSpans(1));
    deepStyles.append({"styles.xml", "<a>" + QByteArray("<b>").repeated(1000) + "</a>"});
    zip(at("deep-styles.odt"), deepStyles);
    QTest::newRow("styles nested 1,000 deep") << "deep-styles.odt" << "nest more than 512 deep";
    file(at("deep.html"), hostile::nestedDivs(20000));
    QTest::newRow("divs nested 20,000 deep") << "deep.html" << "nest more than 512 deep";

    QDir(m_dir.path()).mkdir("refused/folder.txt");
    QTest::newRow("a folder") << "folder.txt" << "it is a folder";
    QTest::newRow("no such file") << "missing.docx" << "no such file";
}

void ReadingTest::refused()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    const ReadResult result = readManuscript(path("refused/" + name));
    QVERIFY(!result.document);
    QVERIFY2(result.error.contains(name), qPrintable(result.error));
    QVERIFY2(result.error.contains(reason), qPrintable(result.error));
    QVERIFY(result.error.endsWith('.'));
}

// Shapes that hung or blew up a reader (seconds to hours, gigabytes) but
// stay inside the bounds: each is read whole.
void ReadingTest::hostileShapesRead_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");   // a zip's parts for .docx, .odt
    QTest::addColumn<QString>("start");      // of the text
    QTest::addColumn<int>("paragraphs");
    QTest::addColumn<QStringList>("looks");  // "word=ibu"

    QTest::newRow("20,000 bold runs in one paragraph")
        << "runs.docx" << hostile::manyRuns(20000) << "x x x " << 1 << QStringList{"x=-b-"};
    QTest::newRow("runs nested 400 deep") << "deep.docx" << hostile::nestedRuns(400) << "deep" << 1
                                          << QStringList();
    QTest::newRow("spans nested 400 deep") << "deep.odt" << hostile::nestedSpans(400) << "deep" << 1
                                           << QStringList();
    QTest::newRow("divs nested 400 deep") << "deep.html" << hostile::nestedDivs(400) << "deep" << 1
                                          << QStringList();
    QTest::newRow("20,000 huge pictures") << "pictures.html" << hostile::manyPictures(20000)
                                          << "words more" << 1 << QStringList();
    QTest::newRow("rows of cells spanning 30,000 columns")
        << "cells.html" << hostile::wideCells(1000) << "cell\ncell\n" << 1000 << QStringList();
}

void ReadingTest::hostileShapesRead()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, start);
    QFETCH(int, paragraphs);
    QFETCH(QStringList, looks);
    const QString file = path(name);
    if (name.endsWith(".docx"))
        QVERIFY(hostile::writeZip(file, hostile::wordParts(bytes)));
    else if (name.endsWith(".odt"))
        QVERIFY(hostile::writeZip(file, hostile::openDocumentParts(bytes)));
    else
        QVERIFY(hostile::writeFile(file, bytes));
    const ReadResult result = readManuscript(file);
    QVERIFY2(result.document, qPrintable(result.error));
    QVERIFY2(visibleText(*result.document).startsWith(start), qPrintable(visibleText(*result.document).left(80)));
    QCOMPARE(result.document->blockCount(), paragraphs);
    for (const QString &look : looks)
        QCOMPARE(lookAt(*result.document, look.section(u'=', 0, 0)), look.section(u'=', 1));
}

void ReadingTest::handMadeContent_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("looks");   // "word=ibu"

    const QByteArray head = "<office:document-content"
                            " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
                            " xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\""
                            " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
                            " xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\">";
    QTest::newRow("styles that name each other as parents")
        << "loop.odt"
        << head + "<office:automatic-styles>"
                  "<style:style style:name=\"A\" style:family=\"text\" style:parent-style-name=\"B\"/>"
                  "<style:style style:name=\"B\" style:family=\"text\" style:parent-style-name=\"A\"><style:text-properties fo:font-style=\"italic\"/></style:style>"
                  "</office:automatic-styles><office:body><office:text>"
                  "<text:p><text:span text:style-name=\"A\">words</text:span></text:p>"
                  "</office:text></office:body></office:document-content>"
        << "words" << QStringList{"words=i--"};
    QTest::newRow("a paragraph style and a text style of one name")
        << "families.odt"
        << head + "<office:automatic-styles>"
                  "<style:style style:name=\"S\" style:family=\"paragraph\">"
                  "<style:text-properties fo:font-weight=\"bold\"/></style:style>"
                  "<style:style style:name=\"S\" style:family=\"text\">"
                  "<style:text-properties fo:font-style=\"italic\" fo:font-weight=\"normal\"/></style:style>"
                  "</office:automatic-styles><office:body><office:text>"
                  "<text:p text:style-name=\"S\">heavy <text:span text:style-name=\"S\">slanted</text:span></text:p>"
                  "</office:text></office:body></office:document-content>"
        << "heavy slanted" << QStringList{"heavy=-b-", "slanted=i--"};
    QTest::newRow("a billion repeated spaces")
        << "spaces.odt"
        << head + "<office:body><office:text><text:p>a<text:s text:c=\"1000000000\"/>b</text:p>"
                  "</office:text></office:body></office:document-content>"
        << "a" + QString(1024, ' ') + "b" << QStringList();
}

void ReadingTest::handMadeContent()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, text);
    QFETCH(QStringList, looks);
    QVERIFY(hostile::writeZip(path(name), hostile::openDocumentParts(content)));
    const ReadResult result = readManuscript(path(name));
    QVERIFY2(result.document, qPrintable(result.error));
    QCOMPARE(visibleText(*result.document), text);
    for (const QString &look : looks)
        QCOMPARE(lookAt(*result.document, look.section(u'=', 0, 0)), look.section(u'=', 1));
}

void ReadingTest::damagedContainers_data()
{
    QTest::addColumn<QString>("fixtureName");
    QTest::newRow("LibreOffice .odt") << "manuscript.odt";
    QTest::newRow("LibreOffice .docx") << "manuscript.docx";
    QTest::newRow("pandoc .docx") << "pandoc.docx";
}

// Real files with a few bytes overwritten, cut short or with a block
// repeated, as a bad disk or a broken transfer leaves them: each is read or
// refused with a reason, never a crash or a hang.
void ReadingTest::damagedContainers()
{
    QFETCH(QString, fixtureName);
    QFile source(fixture(fixtureName));
    QVERIFY(source.open(QIODevice::ReadOnly));
    const QByteArray original = source.readAll();
    QRandomGenerator random(20261208);
    const QString file = path("damaged." + QFileInfo(fixtureName).suffix());
    int refused = 0;
    for (int round = 0; round < 150; ++round) {
        QByteArray bytes = original;
        const qsizetype at = random.bounded(bytes.size());
        switch (round % 3) {
        case 0:
            for (int i = 0; i < 1 + round % 7; ++i)
                bytes[random.bounded(bytes.size())] = char(random.bounded(256));
            break;
        case 1:
            bytes.truncate(at);
            break;
        case 2:
            bytes.insert(at, bytes.mid(random.bounded(bytes.size()), 1 + random.bounded(64)));
            break;
        }
        QVERIFY(hostile::writeFile(file, bytes));
        const ReadResult result = readManuscript(file);
        QVERIFY(bool(result.document) != !result.error.isEmpty());
        if (!result.document) {
            ++refused;
            QVERIFY2(result.error.contains(file), qPrintable(result.error));
        }
    }
    QVERIFY(refused > 0);
}

QTEST_MAIN(ReadingTest)
#include "tst_reading.moc"
