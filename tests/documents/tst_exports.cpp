// Exports: the word list as CSV that any spreadsheet reads back field for
// field, or as the lines the list shows, one per entry; the highlighted document with
// the pass's colours and bold as real formats over the writer's own, read
// back character by character; several outputs written all or none.
#include "testlocale.h"

#include "analysispass.h"
#include "atomicwrite.h"
#include "documentcheck.h"
#include "exports.h"
#include "filebytes.h"
#include "hostilefiles.h"
#include "manuscript.h"
#include "memorylist.h"
#include "memorysurface.h"

#include <QHash>
#include <QTest>
#include <QXmlStreamReader>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

using namespace tq;
using namespace tq::documents;

namespace {

// What a reader sees at one character of an exported document.
struct Seen
{
    QChar c;
    Colour colour = 0;
    bool bold = false;
    bool italic = false;
    bool operator==(const Seen &) const = default;
};

Colour toColour(const QColor &c)
{
    return c.isValid() ? Colour(c.red()) | Colour(c.green()) << 8 | Colour(c.blue()) << 16 : 0;
}

// Through Qt's own HTML importer, as a browser-like reader would.
QList<Seen> seenInHtml(const QByteArray &html)
{
    QTextDocument document;
    document.setHtml(QString::fromUtf8(html));
    QList<Seen> seen;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            seen.append(Seen{u'\n'});
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const Colour colour = f.hasProperty(QTextFormat::ForegroundBrush) ? toColour(f.foreground().color()) : 0;
            for (QChar c : it.fragment().text())
                seen.append({c == QChar::LineSeparator ? u'\n' : c, colour,
                             f.fontWeight() > QFont::Medium, f.fontItalic()});
        }
    }
    return seen;
}

// content.xml read the OpenDocument way: automatic text styles, spans,
// counted spaces, tabs and line breaks.
QList<Seen> seenInOpenDocument(const QString &path)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip) || !zip.setCurrentFile("content.xml"))
        return {};
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(file.readAll());
    QHash<QString, Seen> styles;
    QString current;
    QList<Seen> seen, stack{Seen()};
    bool firstParagraph = true;
    while (!xml.atEnd()) {
        xml.readNext();
        const QString name = xml.qualifiedName().toString();
        if (xml.isStartElement()) {
            const auto a = xml.attributes();
            Seen look = stack.back();
            if (name == "style:style")
                current = a.value("style:name").toString();
            else if (name == "style:text-properties")
                styles[current] = {QChar(), toColour(QColor(a.value("fo:color").toString())),
                                   a.value("fo:font-weight") == u"bold", a.value("fo:font-style") == u"italic"};
            else if (name == "text:p") {
                if (!firstParagraph)
                    seen.append(Seen{u'\n'});
                firstParagraph = false;
            } else if (name == "text:span")
                look = styles.value(a.value("text:style-name").toString());
            else if (name == "text:s")
                for (int i = 0; i < qMax(1, a.value("text:c").toInt()); ++i)
                    seen.append({u' ', look.colour, look.bold, look.italic});
            else if (name == "text:tab")
                seen.append({u'\t', look.colour, look.bold, look.italic});
            else if (name == "text:line-break")
                seen.append({u'\n', look.colour, look.bold, look.italic});
            stack.append(look);
        } else if (xml.isEndElement()) {
            stack.removeLast();
        } else if (xml.isCharacters()) {
            for (QChar c : xml.text())
                seen.append({c, stack.back().colour, stack.back().bold, stack.back().italic});
        }
    }
    return xml.hasError() ? QList<Seen>() : seen;
}

} // namespace

class ExportsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString &name) { return m_dir.filePath(name); }

private Q_SLOTS:
    void wordList_data();
    void wordList();
    void familyCountInCsv();
    void highlighted_data();
    void highlighted();
    void unknownHighlightedFormatRefused();
    void outputsWrittenAllOrNone();
};

void ExportsTest::wordList_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("CSV") << "csv"
                         << QByteArray("count,word\r\n"
                                       "12,the\r\n"
                                       "3,\"a,b\"\r\n"
                                       "2,\"say \"\"hi\"\"\"\r\n"
                                       "2,\"two\nlines\"\r\n"
                                       "1,\"cr\r\nlf\"\r\n"
                                       "1,café\r\n"
                                       "1,\r\n");
    QTest::newRow("text lines") << "txt"
                                << QByteArray("12 - the\n3 - a,b\n2 - say \"hi\"\n2 - two↵lines\n"
                                              "1 - cr↵↵lf\n1 - café\n1 - \n");
}

void ExportsTest::wordList()
{
    QFETCH(QString, suffix);
    QFETCH(QByteArray, expected);
    QList<ResultEntry> entries;
    for (const auto &[count, word] : QList<std::pair<int, QString>>{
             {12, "the"}, {3, "a,b"}, {2, "say \"hi\""}, {2, "two\nlines"}, {1, "cr\r\nlf"}, {1, "café"}, {1, ""}})
        entries.append({QString::number(count) + " - " + word, word, {}, count});
    const QString file = path("list." + suffix);
    const QString error = exportWordList(file, entries);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(bytesOf(file), expected);
}

// A family's count is the sum of its words', which no word's own count
// shows.
void ExportsTest::familyCountInCsv()
{
    MemorySurface surface("she nodded and he nods and we nod");
    FixedControls controls;
    MemoryList list;
    WordTable table;
    PassOptions options;
    options.wordForms = "english";
    runAnalysisPass(surface, controls, list, table, [] { return true; }, options);
    const QList<QByteArray> rows = wordListBytes("words.csv", list.entries).split('\n');
    QVERIFY2(rows.value(1).startsWith("3,") && rows.value(1).contains("nods"), rows.value(1).constData());
    QCOMPARE(rows.value(2), "2,and\r");
}

void ExportsTest::highlighted_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<bool>("fromPage");   // the document as read from a web page
    QTest::newRow("HTML") << "html" << false;
    QTest::newRow("OpenDocument") << "odt" << false;
    QTest::newRow("HTML of an opened page") << "html" << true;
}

// A real pass over a document with the writer's own italic and bold, plus
// the bold of words picked in the list: what comes back from the file is
// the pass's colour, the union of both bolds and the writer's italic, at
// every character.
void ExportsTest::highlighted()
{
    QFETCH(QString, suffix);
    QFETCH(bool, fromPage);
    // Built by cursor: the HTML importer would fold the runs of spaces,
    // the tab and the empty paragraph away. An opened page must come out
    // as the text it was read as, and nothing more.
    QTextDocument built;
    std::unique_ptr<QTextDocument> opened;
    if (fromPage) {
        QVERIFY(hostile::writeFile(path("page.html"), "<html><body><p>The <i>cat</i> sat on the mat, the "
                                                      "<b>cat</b> sat again.</p>\n<p>Then the cat &amp; "
                                                      "the <i>rat</i><br>by the mat.</p>\n</body></html>\n"));
        ReadResult read = readManuscript(path("page.html"));
        QVERIFY2(read.document, qPrintable(read.error));
        opened = std::move(read.document);
    }
    QTextDocument &document = opened ? *opened : built;
    QTextCursor cursor(&built);
    QTextCharFormat italic, heavy;
    italic.setFontItalic(true);
    heavy.setFontWeight(QFont::Bold);
    cursor.insertText("  The ");
    cursor.insertText("cat", italic);
    cursor.insertText(" sat on the mat, the ", {});
    cursor.insertText("cat", heavy);
    cursor.insertText(" sat   again.\nThen\tthe cat & the ", {});
    cursor.insertText("rat <sat>", italic);
    cursor.insertText("\u2028by the mat.\n\nThe end of the  tale, the tale, the end. ", {});
    const QString text = documentText(document);
    MemorySurface surface(text);
    FixedControls controls;
    controls.sens = 60;
    MemoryList list;
    WordTable table;
    runAnalysisPass(surface, controls, list, table, [] { return true; });
    QByteArray bold(text.size(), 0);
    for (qsizetype at = text.indexOf("the"); at >= 0; at = text.indexOf("the", at + 1))
        bold[at] = bold[at + 1] = bold[at + 2] = 1;
    QVERIFY(std::count_if(surface.colours().cbegin(), surface.colours().cend(), [](Colour c) { return c != 0; }) > 20);

    const QString file = path("highlighted." + suffix);
    const QString error = exportHighlighted(file, document, surface.colours(), bold);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QList<Seen> seen = suffix == "odt" ? seenInOpenDocument(file) : seenInHtml(bytesOf(file));

    QList<Seen> expected;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            expected.append(Seen{u'\n'});
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            for (int i = 0; i < fragment.length(); ++i) {
                const int at = fragment.position() + i;
                const QChar c = text[at];
                expected.append({c, surface.colourAt(at),
                                 fragment.charFormat().fontWeight() > QFont::Medium || bold[at] != 0,
                                 fragment.charFormat().fontItalic()});
            }
        }
    }
    auto textOf = [](const QList<Seen> &l) { QString t; for (const Seen &s : l) t += s.c; return t; };
    QCOMPARE(textOf(seen), textOf(expected));
    for (qsizetype i = 0; i < seen.size(); ++i) {
        if (!(seen[i] == expected[i]))
            QFAIL(qPrintable(QString("at %1 ('%2'): colour %3 bold %4 italic %5, expected %6 %7 %8")
                                 .arg(i).arg(expected[i].c).arg(seen[i].colour).arg(seen[i].bold)
                                 .arg(seen[i].italic).arg(expected[i].colour).arg(expected[i].bold)
                                 .arg(expected[i].italic)));
    }
}

void ExportsTest::unknownHighlightedFormatRefused()
{
    QTextDocument document;
    document.setPlainText("words");
    const QString file = path("highlighted.docx");
    const QString error = exportHighlighted(file, document, {}, {});
    QVERIFY2(error.contains(file), qPrintable(error));
    QVERIFY(!QFile::exists(file));
}

// The second output cannot be written: the first is not left behind, and
// an older file in its place is untouched.
void ExportsTest::outputsWrittenAllOrNone()
{
    QVERIFY(QDir(m_dir.path()).mkdir("together"));
    auto path = [this](const QString &name) { return m_dir.filePath("together/" + name); };
    QVERIFY(hostile::writeFile(path("blocker"), "a file, not a folder"));
    QString error = writeFilesTogether({{path("first.csv"), "new"}, {path("blocker/second.html"), "new"}});
    QVERIFY2(error.contains("blocker/second.html"), qPrintable(error));
    QVERIFY(!QFile::exists(path("first.csv")));

    QVERIFY(hostile::writeFile(path("older.csv"), "old"));
    error = writeFilesTogether({{path("older.csv"), "new"}, {path("blocker/second.html"), "new"}});
    QVERIFY(!error.isEmpty());
    QCOMPARE(bytesOf(path("older.csv")), QByteArray("old"));
    QCOMPARE(QDir(path("")).entryList(QDir::Files), QStringList({"blocker", "older.csv"}));
}

QTEST_MAIN(ExportsTest)
#include "tst_exports.moc"
