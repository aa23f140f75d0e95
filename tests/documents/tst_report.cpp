// The word report page and the chapters it marks: where chapters start in
// each format read, and a page that any XML reader can parse, with the
// manuscript's characters escaped and one tick per column that holds an
// occurrence.
#include "testlocale.h"

#include "chapters.h"
#include "documentcheck.h"
#include "hostilefiles.h"
#include "manuscript.h"
#include "reportpage.h"

#include <QTest>
#include <QXmlStreamReader>

using namespace tq;
using namespace tq::documents;

namespace {

// A Word document whose headings come from a style's name ("Title"), a
// style's outline level inherited through basedOn, and a paragraph's own
// outline level; outline level 9 is body text.
QByteArray wordStyles()
{
    return "<?xml version=\"1.0\"?><w:styles xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
           "<w:style w:type=\"paragraph\" w:styleId=\"Title\"><w:name w:val=\"Title\"/></w:style>"
           "<w:style w:type=\"paragraph\" w:styleId=\"Part\"><w:name w:val=\"Part\"/>"
           "<w:pPr><w:outlineLvl w:val=\"0\"/></w:pPr></w:style>"
           "<w:style w:type=\"paragraph\" w:styleId=\"MyPart\"><w:name w:val=\"My Part\"/>"
           "<w:basedOn w:val=\"Part\"/></w:style>"
           "</w:styles>";
}

QByteArray wordBody()
{
    auto p = [](const char *properties, const char *text) {
        return QByteArray("<w:p><w:pPr>") + properties + "</w:pPr><w:r><w:t>" + text + "</w:t></w:r></w:p>";
    };
    return "<?xml version=\"1.0\"?><w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
           "<w:body>"
           + p("<w:pStyle w:val=\"Title\"/>", "The Book") + p("", "Some prose.")
           + p("<w:pStyle w:val=\"MyPart\"/>", "The Start") + p("<w:outlineLvl w:val=\"9\"/>", "Body text.")
           + p("<w:outlineLvl w:val=\"1\"/>", "The Middle") + p("", "More prose.") + "</w:body></w:document>";
}

QStringList titles(const QList<Chapter> &chapters)
{
    QStringList out;
    for (const Chapter &c : chapters)
        out.append(c.title);
    return out;
}

// The text of the elements named name, in order, and whether the page
// parsed to its end without error.
struct Parsed
{
    QStringList texts;
    QStringList tickPaths;
    bool wellFormed = false;
};

Parsed parse(const QByteArray &page, const QString &name)
{
    Parsed out;
    QXmlStreamReader xml(page);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"path" && xml.attributes().value("class") == u"tick")
            out.tickPaths.append(xml.attributes().value("d").toString());
        if (xml.name() == name)
            out.texts.append(xml.readElementText(QXmlStreamReader::IncludeChildElements));
    }
    out.wellFormed = !xml.hasError();
    return out;
}

} // namespace

class ReportTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(hostile::writeZip(m_dir.filePath("headings.docx"),
                                  hostile::wordParts(wordBody()) + hostile::Parts{{"word/styles.xml", wordStyles()}}));
        QVERIFY(hostile::writeFile(m_dir.filePath("headings.html"),
                                   "<html><body><h1>Part &amp; One</h1><p>Prose.</p><h3>A <i>Scene</i></h3>"
                                   "<p>More.</p><p><b>Not a heading</b></p></body></html>"));
        QVERIFY(hostile::writeFile(m_dir.filePath("titles.txt"),
                                   "Chapter 1\nProse.\n  CHAPTER IV  \nProse.\n12\nProse.\nXII.\nProse.\n"
                                   "Chapter one of many things that happened that year\nchapter 2\nIIII\n"
                                   "Chapter\n1999 was a year.\nMCMXCIX\nI\n"));
        QVERIFY(hostile::writeFile(m_dir.filePath("fenced.md"),
                                   "# Opening\n\nText.\n\n```\n# not a heading\n```\n\n## Second\n#hashtag\n"));
    }

    // A chapter starts at each heading paragraph the reader marks, and at
    // a paragraph that is only a chapter title; the start is the
    // paragraph's own position.
    void chapters_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow(".docx: title, styles, outline levels")
            << m_dir.filePath("headings.docx") << QStringList{"The Book", "The Start", "The Middle"};
        QTest::newRow(".odt: text:h") << fixture("pandoc.odt") << QStringList{"Opening"};
        QTest::newRow(".md: # lines outside fenced code") << m_dir.filePath("fenced.md")
                                                          << QStringList{"Opening", "Second"};
        QTest::newRow(".html: h1 to h6") << m_dir.filePath("headings.html") << QStringList{"Part & One", "A Scene"};
        QTest::newRow("plain text: titles on their own")
            << m_dir.filePath("titles.txt") << QStringList{"Chapter 1", "CHAPTER IV", "12", "XII.", "MCMXCIX", "I"};
    }
    void chapters()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, titles);
        const ReadResult read = readManuscript(file);
        QVERIFY2(read.document, qPrintable(read.error));
        const QList<Chapter> found = findChapters(*read.document);
        QCOMPARE(::titles(found), titles);
        const QString text = documentText(*read.document);
        for (const Chapter &chapter : found) {
            QVERIFY(chapter.start == 0 || text.at(chapter.start - 1) == u'\n');
            QVERIFY(text.sliced(chapter.start).section(u'\n', 0, 0).contains(chapter.title));
        }
    }

    // The heading level marks chapters only: a document kept as Qt's HTML
    // (as the recovery copy is) comes back with the same look, a heading
    // that was not bold not made bold.
    void headingsKeepTheirLook()
    {
        const ReadResult read = readManuscript(m_dir.filePath("headings.docx"));
        QVERIFY2(read.document, qPrintable(read.error));
        QCOMPARE(lookAt(*read.document, "Book"), "---");
        QTextDocument back;
        back.setHtml(htmlWithoutHeadings(*read.document));
        QCOMPARE(back.toPlainText(), read.document->toPlainText());
        QCOMPARE(lookAt(back, "Book"), "---");
    }

    // Words with <, & and quotes, a lone surrogate and a control character
    // all come out as text of a page that parses; each strip has one tick
    // per column holding an occurrence, and none for one past the text.
    void page()
    {
        ReportContent report;
        report.title = "a <b> & \"c\".txt";
        report.textLength = 2000;
        WordFamily family;
        family.forms = QStringList{"<a&\"b>", QString("x") + QChar(0xD800) + QChar(0x0001)};
        family.formCounts = {3, 1};
        family.count = 4;
        report.families = {family};
        report.phrases = {RepeatedPhrase{"<a&\"b> went", 2, 2, 0}};
        report.chapters = {{0, "Chapter <1>"}, {1000, "Chapter 2"}, {1001, "Chapter 3"}};
        report.strips = {{"4 - <a&\"b>", {0, 1, 1000, 1999, 2000}}};
        const QByteArray page = reportPageBytes(report);

        const Parsed cells = parse(page, "td");
        QVERIFY(cells.wellFormed);
        QCOMPARE(cells.texts, (QStringList{"4", QString("<a&\"b> 3, x") + QChar(0xFFFD) + QChar(0xFFFD) + " 1", "2",
                                           "<a&\"b> went"}));
        QCOMPARE(parse(page, "title").texts,
                 (QStringList{"Word report: a <b> & \"c\".txt", "Chapter <1>", "Chapter 2 … Chapter 3 (2 chapters)"}));
        QCOMPARE(parse(page, "p").texts, QStringList{"4 - <a&\"b>"});
        QCOMPARE(cells.tickPaths, QStringList{"M0.5 1V9M500.5 1V9M999.5 1V9"});
    }

    // However many occurrences, a strip holds at most one tick per column.
    void ticksPerColumn()
    {
        QList<qsizetype> everywhere;
        for (qsizetype i = 0; i < 50000; ++i)
            everywhere.append(i);
        QCOMPARE(stripColumns(everywhere, 50000).size(), StripColumns);
        QCOMPARE(stripColumns({0, 49, 50, 99}, 100), (QList<int>{0, 490, 500, 990}));
        QCOMPARE(stripColumns({5}, 0), QList<int>{});
    }
};

QTEST_MAIN(ReportTest)
#include "tst_report.moc"
