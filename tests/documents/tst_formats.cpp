// Reading every file a writer is likely to have as they wrote it, or
// refusing it with the reason: table cells, encodings and stray bytes,
// hidden text and tables of contents, RTF and flat OpenDocument, soft
// hyphens. The fixtures come from LibreOffice, pandoc and iconv (see
// fixtures/make-fixtures).
#include "testlocale.h"

#include "documentcheck.h"
#include "filebytes.h"
#include "hostilefiles.h"
#include "manuscript.h"

#include <QTest>
#include <QTextCursor>
#include <QTextTable>

using namespace tq::documents;

namespace {

QString utf8Fixture(const QString &name)
{
    return QString::fromUtf8(bytesOf(fixture(name)));
}

} // namespace

class FormatsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString &name) { return m_dir.filePath(name); }

private Q_SLOTS:
    void tableCells();
    void encodings_data();
    void encodings();
    void strayBytesAreKeptFromSave();
    void hiddenAndContents_data();
    void hiddenAndContents();
    void rtf_data();
    void rtf();
    void softHyphens_data();
    void softHyphens();
    void refused_data();
    void refused();
};

// Qt marks where a table and its cells begin and end with U+FDD0/U+FDD1;
// the analysis must see each as a line end, one for one, so that a row's
// cells are not one word and offsets stay the document's.
void FormatsTest::tableCells()
{
    const ReadResult result = readManuscript(fixture("table.html"));
    QVERIFY2(result.document, qPrintable(result.error));
    const QString raw = result.document->toRawText();
    const QString text = documentText(*result.document);
    QCOMPARE(text.size(), raw.size());
    QStringList lines;
    for (const QString &line : text.split(u'\n', Qt::SkipEmptyParts))
        lines << line.trimmed();
    QCOMPARE(lines, QStringList({"Cast", "A table of the cast:", "name", "age", "role", "Anna", "42", "heroine",
                                 "Boris", "7", "brother", "After the table."}));

    // However a table gets into the document, its cell marks read as line ends.
    QTextDocument withTable;
    QTextCursor cursor(&withTable);
    cursor.insertText("before");
    QTextTable *table = cursor.insertTable(1, 2);
    table->cellAt(0, 0).firstCursorPosition().insertText("x");
    table->cellAt(0, 1).firstCursorPosition().insertText("y");
    const QString marked = withTable.toRawText();
    QVERIFY(marked.contains(QChar(0xFDD0)) || marked.contains(QChar(0xFDD1)));
    const QString read = documentText(withTable);
    QCOMPARE(read.size(), marked.size());
    QCOMPARE(read.split(u'\n', Qt::SkipEmptyParts), QStringList({"before", "x", "y"}));
}

void FormatsTest::encodings_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("source");   // the UTF-8 text iconv encoded
    QTest::addColumn<QByteArray>("encoding");
    QTest::addColumn<qsizetype>("unreadable");

    QTest::newRow("Turkish in Windows-1254, detected as ISO-8859-9")
        << "turkish-windows-1254.txt" << "turkish.utf8" << QByteArray("windows-1254") << qsizetype(0);
    QTest::newRow("Korean in UHC (windows-949), beyond EUC-KR")
        << "korean-uhc.txt" << "korean.utf8" << QByteArray("windows-949") << qsizetype(0);
    QTest::newRow("English in UTF-16 LE without BOM")
        << "english-utf16le-nobom.txt" << "english.utf8" << QByteArray("UTF-16LE") << qsizetype(0);
    QTest::newRow("Russian in UTF-16 BE without BOM")
        << "russian-utf16be-nobom.txt" << "russian.utf8" << QByteArray("UTF-16BE") << qsizetype(0);
    QTest::newRow("Russian UTF-8 with one stray byte")
        << "russian-stray-byte.txt" << "russian.utf8" << QByteArray("UTF-8") << qsizetype(1);
    QTest::newRow("English UTF-8 with one Windows-1252 byte")
        << "english-stray-byte.txt" << "english.utf8" << QByteArray("UTF-8") << qsizetype(1);
}

void FormatsTest::encodings()
{
    QFETCH(QString, file);
    QFETCH(QString, source);
    QFETCH(QByteArray, encoding);
    QFETCH(qsizetype, unreadable);

    const ReadResult result = readManuscript(fixture("encodings/" + file));
    QVERIFY2(result.document, qPrintable(result.error));
    QCOMPARE(result.source.plainForm.encoding.toLower(), encoding.toLower());
    QCOMPARE(result.source.unreadableBytes, unreadable);
    QString expected = utf8Fixture("encodings/" + source);
    if (file == u"russian-stray-byte.txt")
        expected.insert(QString::fromUtf8(bytesOf(fixture("encodings/" + file)).left(199)).size(), QChar(0xFFFD));
    else if (file == u"english-stray-byte.txt")
        expected.insert(expected.indexOf(u'\n') + 1, "A stray \uFFFD from another program.\n");
    QCOMPARE(documentText(*result.document), expected);
    QCOMPARE(result.note.isEmpty(), unreadable == 0);
    if (unreadable == 0) {
        // Saved back unchanged, every byte comes back.
        const QString copy = path(file);
        QVERIFY(QFile::copy(fixture("encodings/" + file), copy));
        QVERIFY(QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner));
        Manuscript target = result.source;
        target.path = copy;
        QCOMPARE(writeManuscript(*result.document, target), QString());
        QCOMPARE(bytesOf(copy), bytesOf(fixture("encodings/" + file)));
    }
}

// Writing the text of a file with bytes that could not be read would turn
// them into U+FFFD: the file is not written over without the writer's say.
void FormatsTest::strayBytesAreKeptFromSave()
{
    const ReadResult clean = readManuscript(fixture("encodings/korean-uhc.txt"));
    QVERIFY(clean.document);
    QCOMPARE(whyNotSavedInPlace(clean.source), QString());
    const ReadResult stray = readManuscript(fixture("encodings/russian-stray-byte.txt"));
    QVERIFY(stray.document);
    QVERIFY2(whyNotSavedInPlace(stray.source).contains("the 1 byte of it that could not be read"),
             qPrintable(whyNotSavedInPlace(stray.source)));
    QVERIFY(stray.note.contains("russian-stray-byte.txt"));
}

void FormatsTest::hiddenAndContents_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("text");

    // The table of contents, the hidden words and the paragraph of hidden
    // words are left out everywhere; LibreOffice's .docx and .rtf do not
    // keep the section hidden, so its words are there as Word shows them,
    // between the empty paragraphs that hold its section breaks in .docx.
    // In RTF only the contents' title is left: nothing marks it there.
    const QString odf = "Chapter One\nVisible words stay.\nChapter Two\nAn extraordinary word, extraordinary again.";
    const QString docx = QString(odf).replace("stay.\n", "stay.\n\nHIDDEN SECTION WORDS\n\n");
    const QString rtf = "Table of Contents\n" + QString(odf).replace("stay.\n", "stay.\nHIDDEN SECTION WORDS\n");
    QTest::newRow("LibreOffice .odt") << "hidden.odt" << odf;
    QTest::newRow("LibreOffice flat .fodt") << "hidden-saved.fodt" << odf;
    QTest::newRow("LibreOffice .docx") << "hidden.docx" << docx;
    QTest::newRow("LibreOffice .rtf") << "hidden.rtf" << rtf;
    QTest::newRow("a hand-written flat .fodt source") << "hidden.fodt" << odf;
}

void FormatsTest::hiddenAndContents()
{
    QFETCH(QString, file);
    QFETCH(QString, text);
    const ReadResult result = readManuscript(fixture(file));
    QVERIFY2(result.document, qPrintable(result.error));
    QCOMPARE(visibleText(*result.document), text);
    QCOMPARE(lookAt(*result.document, "Chapter"), "-b-");
}

void FormatsTest::rtf_data()
{
    QTest::addColumn<QString>("file");   // a fixture, or "name.rtf=bytes"
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("looks");

    const QString manuscript = "Chapter One\n"
                               "The first paragraph has italic, bold and underlined words.\n"
                               "A line|broken inside a paragraph.\n"
                               "Prose with a note and more.\n"
                               "Prose with a comment.\n"
                               "Kept inserted text here.\n"
                               "Two  spaces and a\ttab.\n"
                               "Café naïve — “quoted” ÿ.";
    QTest::newRow("LibreOffice") << "manuscript.rtf" << manuscript
                                 << QStringList{"Chapter=-b-", "italic=i--", "bold=-b-", "underlined=--u",
                                                "paragraph=---", "inserted=---"};
    // pandoc's RTF has no tracked changes or comments: there they are text.
    QTest::newRow("pandoc") << "pandoc.rtf"
                            << "Opening\nA writer’s slanted and heavy words,|then a line break.\n"
                               "A footnote here stays out.\nChanges: inserted wordsDELETED WORDS end.\n"
                               "A COMMENT WORDSremark stays."
                            << QStringList{"slanted=i--", "heavy=-b-", "words,=---"};

    // The rules one at a time, on the smallest documents that show them.
    QTest::newRow("\\uN skips \\ucN stand-ins, in groups too")
        << "=" R"({\rtf1\ansi\uc2 caf\u233\'3f\'3f {\uc1 na\u239?ve} \u-10240\u-9216??!})"
        << "café naïve \U00010000!" << QStringList();
    QTest::newRow("\\'hh in the code page, read in pairs for Japanese")
        << "=" R"({\rtf1\ansi\ansicpg1251 \'cc\'e8\'f0\par{\rtf1}\ansicpg932 \'93\'fa\'96\'7b})"
        << "Мир\n日本" << QStringList();
    QTest::newRow("\\'hh in a font's character set, as WordPad writes it")
        << "=" R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0\fnil\fcharset0 Calibri;}{\f1\fnil\fcharset204 Calibri;}}\f1 \'cc\'e8\'f0 {\f0 caf\'e9}})"
        << "Мир café" << QStringList();
    QTest::newRow("table cells and rows are paragraphs")
        << "=" R"({\rtf1 \trowd\cellx1000\cellx2000 name\cell 42\cell\row\trowd\cellx1000 Boris\cell\row after\par})"
        << "name\n42\nBoris\nafter" << QStringList();
    QTest::newRow("a field's result stays, its instruction and a contents field go")
        << "=" R"({\rtf1 {\field{\*\fldinst HYPERLINK "x"}{\fldrslt link}} {\field{\*\fldinst { TOC \\o}}{\fldrslt {Chapter\tab 1}}}end})"
        << "link end" << QStringList();
    QTest::newRow("notes, headers, pictures, hidden and unknown \\* destinations go")
        << "=" R"({\rtf1{\fonttbl{\f0 Times;}}{\header HEAD}{\footer FOOT}a{\footnote NOTE}b{\*\annotation X}c{\pict\bin4 {}{}}d{\v HIDDEN}e{\*\unknown Z}f})"
        << "abcdef" << QStringList();
    QTest::newRow("bold, italic and underline on and off")
        << "=" R"({\rtf1 \b heavy\b0  \i slanted\i0  \ul lined\ulnone  {\b\i both} plain})"
        << "heavy slanted lined both plain"
        << QStringList{"heavy=-b-", "slanted=i--", "lined=--u", "both=ib-", "plain=---"};
    QTest::newRow("line breaks, tabs, symbols, final \\par")
        << "=" R"({\rtf1 one\line two\tab three\~four\emdash five\par})"
        << "one|two\tthree\u00A0four—five" << QStringList();
}

void FormatsTest::rtf()
{
    QFETCH(QString, file);
    QFETCH(QString, text);
    QFETCH(QStringList, looks);
    QString at = fixture(file);
    if (file.startsWith(u'=')) {
        at = path("case.rtf");
        QVERIFY(hostile::writeFile(at, file.mid(1).toLatin1()));
    }
    const ReadResult result = readManuscript(at);
    QVERIFY2(result.document, qPrintable(result.error));
    QCOMPARE(result.source.format, FileFormat::Rtf);
    QCOMPARE(whyNotSavedInPlace(result.source).isEmpty(), false);
    QCOMPARE(visibleText(*result.document), text);
    for (const QString &look : looks) {
        const QString word = look.section(u'=', 0, 0);
        QCOMPARE(lookAt(*result.document, word) + " " + word, look.section(u'=', 1) + " " + word);
    }
}

void FormatsTest::softHyphens_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");   // empty: the fixture of that name
    QTest::addColumn<bool>("savesInPlace");

    QTest::newRow(".odt (the character)") << "hidden.odt" << QByteArray() << false;
    QTest::newRow(".docx (w:softHyphen)") << "hidden.docx" << QByteArray() << false;
    QTest::newRow(".rtf (\\-)") << "hidden.rtf" << QByteArray() << false;
    QTest::newRow(".html (&shy; and the character)")
        << "page.html" << QByteArray("<p>An extra&shy;ordinary word, extra\xC2\xAD" "ordinary again.</p>") << false;
    QTest::newRow(".txt in UTF-8") << "plain.txt" << QByteArray("An extra\xC2\xAD" "ordinary word, extraordinary again.")
                                   << false;
    QTest::newRow(".txt in Windows-1252") << "plain.txt" << QByteArray("An extra\xAD" "ordinary caf\xE9, extraordinary.")
                                          << false;
}

// A soft hyphen only marks where a line may break: "extra<SHY>ordinary" is
// the word "extraordinary".
void FormatsTest::softHyphens()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, savesInPlace);
    QString at = fixture(name);
    if (!bytes.isEmpty()) {
        at = path(name);
        QVERIFY(hostile::writeFile(at, bytes));
    }
    const ReadResult result = readManuscript(at);
    QVERIFY2(result.document, qPrintable(result.error));
    const QString text = documentText(*result.document);
    QVERIFY2(text.contains("extraordinary"), qPrintable(text));
    QVERIFY(!text.contains(QChar(0x00AD)));
    QCOMPARE(whyNotSavedInPlace(result.source).isEmpty(), savesInPlace);
}

void FormatsTest::refused_data()
{
    QTest::addColumn<QString>("name");   // a fixture, or made here
    QTest::addColumn<QString>("reason");

    QTest::newRow(".odt with a password") << "protected.odt" << "protected by a password";
    QTest::newRow("old Word .doc") << "hidden.doc" << "older Office file";
    QTest::newRow("PDF") << "hidden.pdf" << "PDF";
    QTest::newRow("e-book") << "table.epub" << "not a text file";
    QTest::newRow("Romanian in ISO-8859-16, which has no decoder")
        << "encodings/romanian-iso-8859-16.txt" << "ISO-8859-16, which cannot be read here";

    // LibreOffice here writes no encrypted .docx: an OLE compound file with
    // an EncryptedPackage stream is its shape.
    QByteArray ole("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    ole += QByteArray(504, '\0');
    const QString stream = "EncryptedPackage";
    ole += QByteArray(reinterpret_cast<const char *>(stream.utf16()), stream.size() * 2);
    QVERIFY(hostile::writeFile(path("protected.docx"), ole + QByteArray(1000, '\x01')));
    QTest::newRow(".docx with a password") << path("protected.docx") << "protected by a password";
    QVERIFY(hostile::writeFile(path("flat.fodt"),
                               "<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
                               " office:mimetype=\"application/vnd.oasis.opendocument.spreadsheet\"/>"));
    QTest::newRow("flat spreadsheet named .fodt") << path("flat.fodt") << "spreadsheet";
    QVERIFY(hostile::writeFile(path("text.rtf"), "just words"));
    QTest::newRow("text named .rtf") << path("text.rtf") << "not an RTF document";
    QVERIFY(hostile::writeFile(path("deep.rtf"), "{\\rtf1 " + QByteArray(100000, '{') + "x"));
    QTest::newRow("RTF nested a hundred thousand deep") << path("deep.rtf") << "nested deeper";
    QVERIFY(hostile::writeFile(path("page.rtf"), "{\\rtf1\\ansi\\ansicpg4242 \\'e9}"));
    QTest::newRow("RTF in an unknown code page") << path("page.rtf") << "code page 4242";
}

void FormatsTest::refused()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    const QString at = QFileInfo(name).isAbsolute() ? name : fixture(name);
    const ReadResult result = readManuscript(at);
    QVERIFY(!result.document);
    QVERIFY2(result.error.contains(reason), qPrintable(result.error));
}

QTEST_MAIN(FormatsTest)
#include "tst_formats.moc"
