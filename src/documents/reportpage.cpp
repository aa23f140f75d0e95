#include "reportpage.h"

#include "resultlist.h"

#include <QFileInfo>
#include <QXmlStreamWriter>

#include <vector>

namespace tq::documents {

namespace {

using namespace Qt::StringLiterals;

// The strips' height in drawing units; the page stretches them to its width.
constexpr int StripHeight = 10;

// The page's look; no character here needs escaping in a style element.
const QString &styleSheet()
{
    static const QString css = uR"(
body { font-family: sans-serif; margin: 2em auto; max-width: 60em; padding: 0 1em; color: #222; }
table { border-collapse: collapse; }
td { padding: 0.15em 0.6em; vertical-align: top; }
td.count { text-align: right; }
.n { color: #777; }
.strip { margin: 0.8em 0; }
.strip p { margin: 0 0 0.2em 0; }
.strip svg { display: block; width: 100%; height: 1.4em; }
.bar { fill: #eee; }
.tick { stroke: #c00; stroke-width: 1.5; }
.chapter { stroke: #555; stroke-width: 1; }
)"_s;
    return css;
}

// Text from the manuscript as XML 1.0 can hold it: a control character or
// a lone surrogate half (which a word may hold) becomes U+FFFD, and a line
// break inside a word the list's mark.
QString shown(QStringView text)
{
    QString out = withBreaksMarked(text.toString());
    for (qsizetype i = 0; i < out.size(); ++i) {
        const char16_t c = out.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < out.size() && QChar::isLowSurrogate(out.at(i + 1).unicode())) {
            ++i;
            continue;
        }
        const bool allowed = c == u'\t' || c >= 0x20;
        if (!allowed || QChar::isSurrogate(c) || c == 0xFFFE || c == 0xFFFF)
            out[i] = QChar::ReplacementCharacter;
    }
    return out;
}

// The column of the strip an offset falls in; -1 outside the text.
int columnOf(qsizetype offset, qsizetype textLength)
{
    if (offset < 0 || offset >= textLength)
        return -1;
    return int(offset * StripColumns / textLength);
}

class PageWriter
{
public:
    explicit PageWriter(QByteArray &out) : m_xml(&out) {}

    void write(const ReportContent &report)
    {
        m_xml.writeDTD(u"<!DOCTYPE html>"_s);
        m_xml.writeStartElement(u"html"_s);
        m_xml.writeAttribute(u"lang"_s, u"en"_s);
        m_xml.writeStartElement(u"head"_s);
        m_xml.writeEmptyElement(u"meta"_s);
        m_xml.writeAttribute(u"charset"_s, u"utf-8"_s);
        const QString title = u"Word report: "_s + shown(report.title);
        textElement(u"title"_s, title);
        textElement(u"style"_s, styleSheet());
        m_xml.writeEndElement();   // head
        m_xml.writeStartElement(u"body"_s);
        textElement(u"h1"_s, title);
        writeFamilies(report.families);
        writePhrases(report.phrases);
        writeStrips(report);
        m_xml.writeEndElement();   // body
        m_xml.writeEndElement();   // html
        m_xml.writeEndDocument();
    }

private:
    // An element with text, never written as <name/>: HTML would read that
    // as an opening tag.
    void textElement(const QString &name, const QString &text, const QString &cssClass = QString())
    {
        m_xml.writeStartElement(name);
        if (!cssClass.isEmpty())
            m_xml.writeAttribute(u"class"_s, cssClass);
        m_xml.writeCharacters(text);
        m_xml.writeEndElement();
    }

    void writeFamilies(const QList<WordFamily> &families)
    {
        textElement(u"h2"_s, u"Word Forms"_s);
        if (families.isEmpty()) {
            textElement(u"p"_s, u"No words."_s);
            return;
        }
        m_xml.writeStartElement(u"table"_s);
        for (const WordFamily &family : families) {
            m_xml.writeStartElement(u"tr"_s);
            textElement(u"td"_s, QString::number(family.count), u"count"_s);
            m_xml.writeStartElement(u"td"_s);
            for (qsizetype i = 0; i < family.forms.size(); ++i) {
                m_xml.writeCharacters((i > 0 ? u", "_s : QString()) + shown(family.forms[i]) + u' ');
                textElement(u"span"_s, QString::number(family.formCounts.value(i)), u"n"_s);
            }
            m_xml.writeEndElement();   // td
            m_xml.writeEndElement();   // tr
        }
        m_xml.writeEndElement();   // table
    }

    void writePhrases(const QList<RepeatedPhrase> &phrases)
    {
        textElement(u"h2"_s, u"Repeated Phrases"_s);
        if (phrases.isEmpty()) {
            textElement(u"p"_s, u"No phrase comes back."_s);
            return;
        }
        m_xml.writeStartElement(u"table"_s);
        for (const RepeatedPhrase &phrase : phrases) {
            m_xml.writeStartElement(u"tr"_s);
            textElement(u"td"_s, QString::number(phrase.count), u"count"_s);
            textElement(u"td"_s, shown(phrase.text));
            m_xml.writeEndElement();
        }
        m_xml.writeEndElement();
    }

    void writeStrips(const ReportContent &report)
    {
        textElement(u"h2"_s, u"Where"_s);
        if (report.strips.isEmpty()) {
            textElement(u"p"_s, u"Nothing to show."_s);
            return;
        }
        const QList<ChapterMark> chapters = chapterMarks(report.chapters, report.textLength);
        for (const ReportStrip &strip : report.strips) {
            m_xml.writeStartElement(u"div"_s);
            m_xml.writeAttribute(u"class"_s, u"strip"_s);
            textElement(u"p"_s, shown(strip.label));
            writeStrip(stripColumns(strip.starts, report.textLength), chapters, shown(strip.label));
            m_xml.writeEndElement();
        }
    }

    // A chapter line, or several chapters that fall in one column.
    struct ChapterMark
    {
        int column;
        QString title;
    };

    static QList<ChapterMark> chapterMarks(const QList<Chapter> &chapters, qsizetype textLength)
    {
        QList<ChapterMark> marks;
        qsizetype inColumn = 0;   // chapters merged into the last mark
        QString lastTitle;
        auto close = [&] {
            if (inColumn > 1)
                marks.last().title += QStringLiteral(" … %1 (%2 chapters)").arg(lastTitle).arg(inColumn);
        };
        for (const Chapter &chapter : chapters) {
            const int column = columnOf(chapter.start, textLength);
            if (column < 0)
                continue;
            if (!marks.isEmpty() && marks.last().column == column) {
                ++inColumn;
                lastTitle = shown(chapter.title);
                continue;
            }
            close();
            marks.append({column, shown(chapter.title)});
            inColumn = 1;
        }
        close();
        return marks;
    }

    static QString x(int column) { return QString::number(column) + u".5"_s; }

    void writeStrip(const QList<int> &ticks, const QList<ChapterMark> &chapters, const QString &label)
    {
        m_xml.writeStartElement(u"svg"_s);
        m_xml.writeDefaultNamespace(u"http://www.w3.org/2000/svg"_s);
        m_xml.writeAttribute(u"viewBox"_s, u"0 0 %1 %2"_s.arg(StripColumns).arg(StripHeight));
        m_xml.writeAttribute(u"preserveAspectRatio"_s, u"none"_s);
        m_xml.writeAttribute(u"role"_s, u"img"_s);
        m_xml.writeAttribute(u"aria-label"_s, label);
        m_xml.writeEmptyElement(u"rect"_s);
        m_xml.writeAttribute(u"class"_s, u"bar"_s);
        m_xml.writeAttribute(u"width"_s, QString::number(StripColumns));
        m_xml.writeAttribute(u"height"_s, QString::number(StripHeight));
        for (const ChapterMark &chapter : chapters) {
            m_xml.writeStartElement(u"line"_s);
            m_xml.writeAttribute(u"class"_s, u"chapter"_s);
            m_xml.writeAttribute(u"x1"_s, x(chapter.column));
            m_xml.writeAttribute(u"x2"_s, x(chapter.column));
            m_xml.writeAttribute(u"y1"_s, u"0"_s);
            m_xml.writeAttribute(u"y2"_s, QString::number(StripHeight));
            m_xml.writeAttribute(u"vector-effect"_s, u"non-scaling-stroke"_s);
            textElement(u"title"_s, chapter.title);
            m_xml.writeEndElement();
        }
        if (!ticks.isEmpty()) {
            QString path;
            for (int column : ticks)
                path += u'M' + x(column) + u" 1V"_s + QString::number(StripHeight - 1);
            m_xml.writeEmptyElement(u"path"_s);
            m_xml.writeAttribute(u"class"_s, u"tick"_s);
            m_xml.writeAttribute(u"d"_s, path);
            m_xml.writeAttribute(u"vector-effect"_s, u"non-scaling-stroke"_s);
        }
        m_xml.writeEndElement();   // svg
    }

    QXmlStreamWriter m_xml;
};

} // namespace

QList<int> stripColumns(const QList<qsizetype> &offsets, qsizetype textLength)
{
    std::vector<bool> marked(StripColumns);
    for (qsizetype offset : offsets) {
        if (const int column = columnOf(offset, textLength); column >= 0)
            marked[size_t(column)] = true;
    }
    QList<int> columns;
    for (int c = 0; c < StripColumns; ++c) {
        if (marked[size_t(c)])
            columns.append(c);
    }
    return columns;
}

bool reportSuffixKnown(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == u"html" || suffix == u"htm";
}

QByteArray reportPageBytes(const ReportContent &report)
{
    QByteArray out;
    PageWriter(out).write(report);
    return out;
}

} // namespace tq::documents
