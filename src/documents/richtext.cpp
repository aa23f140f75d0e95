#include "richtext.h"

#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QXmlStreamReader>

#include <algorithm>
#include <cstring>
#include <string_view>

namespace tq::documents {

QString tooLongReason()
{
    return QStringLiteral("it would expand to more than %1 million characters, far more than any book")
        .arg(MaxDocumentCharacters / (1024 * 1024));
}

QString tooDeepReason()
{
    return QStringLiteral("its elements nest more than %1 deep, which no real document does")
        .arg(MaxNesting);
}

void RichTextBuilder::startParagraph()
{
    if (m_tooLong)
        return;
    m_paragraphEnded = !m_first;
    if (!m_first)
        m_text += u'\n';
    m_first = false;
    m_paragraphEmpty = true;
    m_paragraphHasHidden = false;
    m_paragraphStart = m_text.size();
}

void RichTextBuilder::setHeadingLevel(int level)
{
    if (m_tooLong)
        return;
    if (!m_headings.isEmpty() && m_headings.last().start == m_paragraphStart)
        m_headings.removeLast();
    if (level > 0)
        m_headings.append({m_paragraphStart, level});
}

void RichTextBuilder::dropParagraph()
{
    if (m_tooLong)
        return;
    if (!m_headings.isEmpty() && m_headings.last().start == m_paragraphStart)
        m_headings.removeLast();
    const qsizetype cut = m_paragraphEnded ? m_paragraphStart - 1 : m_paragraphStart;
    m_text.truncate(cut);
    while (!m_formatted.isEmpty() && m_formatted.last().start >= cut)
        m_formatted.removeLast();
    if (!m_formatted.isEmpty())
        m_formatted.last().length = std::min(m_formatted.last().length, cut - m_formatted.last().start);
    m_first = cut == 0 && !m_paragraphEnded;
    m_paragraphEnded = false;
    m_paragraphEmpty = true;
    m_paragraphHasHidden = false;
    m_paragraphStart = cut;
}

void RichTextBuilder::append(QStringView text, const CharStyle &style)
{
    if (text.isEmpty() || m_tooLong)
        return;
    if (style.hidden.value_or(false)) {
        m_paragraphHasHidden = true;
        return;
    }
    if (m_text.size() + text.size() > MaxDocumentCharacters) {
        m_tooLong = true;
        m_text.clear();
        m_formatted.clear();
        return;
    }
    const qsizetype start = m_text.size();
    m_text += text;
    // Inside a paragraph, only a line break may end a line; whatever else
    // the document would take for a paragraph or frame end is a space. Soft
    // hyphens are only hints where a line may break: they go.
    qsizetype to = start;
    for (qsizetype i = start; i < m_text.size(); ++i) {
        const char16_t c = m_text.at(i).unicode();
        if (c == 0x00AD)
            continue;
        m_text[to++] = c == u'\n' || c == u'\r' || c == 0x2029 || c == 0xFDD0 || c == 0xFDD1 ? u' ' : c;
    }
    m_text.truncate(to);
    const qsizetype length = to - start;
    if (length == 0)
        return;
    m_first = false;
    m_paragraphEmpty = false;
    if (!style.italic.value_or(false) && !style.bold.value_or(false) && !style.underline.value_or(false))
        return;
    if (!m_formatted.isEmpty() && m_formatted.last().style == style
        && m_formatted.last().start + m_formatted.last().length == start)
        m_formatted.last().length += length;
    else
        m_formatted.append({start, length, style});
}

bool RichTextBuilder::finish(QString &reason)
{
    if (m_tooLong) {
        reason = tooLongReason();
        return false;
    }
    m_document.setUndoRedoEnabled(false);
    m_document.clear();
    QTextCursor cursor(&m_document);
    // Each run goes in with its format as it comes, inside an edit block: a
    // cursor outside one lays its paragraph out to learn where it stands,
    // and formats set over text already in place split it run by run.
    cursor.beginEditBlock();
    const QTextCharFormat plain;
    qsizetype at = 0;
    for (const Run &run : m_formatted) {
        QTextCharFormat format;
        if (run.style.italic.value_or(false))
            format.setFontItalic(true);
        if (run.style.bold.value_or(false))
            format.setFontWeight(QFont::Bold);
        if (run.style.underline.value_or(false))
            format.setFontUnderline(true);
        if (run.start > at)
            cursor.insertText(QStringView(m_text).sliced(at, run.start - at).toString(), plain);
        cursor.insertText(QStringView(m_text).sliced(run.start, run.length).toString(), format);
        at = run.start + run.length;
    }
    if (at < m_text.size())
        cursor.insertText(QStringView(m_text).sliced(at).toString(), plain);
    // The level only: a heading keeps the look of the text around it.
    for (const Heading &heading : std::as_const(m_headings)) {
        QTextCursor block(m_document.findBlock(heading.start));
        QTextBlockFormat format;
        format.setHeadingLevel(heading.level);
        block.mergeBlockFormat(format);
    }
    cursor.endEditBlock();
    m_document.setUndoRedoEnabled(true);
    m_document.setModified(false);
    return true;
}

bool acceptToken(const QXmlStreamReader &xml, QString &reason)
{
    if (xml.tokenType() == QXmlStreamReader::DTD) {
        reason = QStringLiteral("it declares a document type, which no real document does");
        return false;
    }
    if (xml.tokenType() == QXmlStreamReader::EntityReference) {
        reason = QStringLiteral("it refers to entities, which no real document does");
        return false;
    }
    return true;
}

bool nestingWithinBounds(QByteArrayView xml, QString &reason)
{
    const char *p = xml.data();
    const char *const end = p + xml.size();
    // Skips to just past the first occurrence of what, or to the end.
    auto skipPast = [&](std::string_view what) {
        const std::string_view rest(p, size_t(end - p));
        const size_t at = rest.find(what);
        p = at == std::string_view::npos ? end : p + at + what.size();
    };
    int depth = 0;
    while (true) {
        p = static_cast<const char *>(std::memchr(p, '<', size_t(end - p)));
        if (!p)
            return true;
        ++p;
        if (p == end)
            return true;
        if (*p == '/') {
            --depth;
            skipPast(">");
        } else if (*p == '?') {
            skipPast("?>");
        } else if (std::string_view(p, size_t(end - p)).starts_with("!--")) {
            skipPast("-->");
        } else if (std::string_view(p, size_t(end - p)).starts_with("![CDATA[")) {
            skipPast("]]>");
        } else if (*p == '!') {
            skipPast(">");
        } else {
            // A start tag: its attributes may hold '>' inside quotes.
            char quote = 0;
            char last = 0;
            for (; p < end; ++p) {
                if (quote) {
                    if (*p == quote)
                        quote = 0;
                } else if (*p == '"' || *p == '\'') {
                    quote = *p;
                } else if (*p == '>') {
                    break;
                } else if (*p != ' ' && *p != '\t' && *p != '\n' && *p != '\r') {
                    last = *p;
                }
            }
            if (last != '/' && ++depth > MaxNesting) {
                reason = tooDeepReason();
                return false;
            }
        }
    }
}

bool readCleanly(const QXmlStreamReader &xml, QString &reason)
{
    if (reason.isEmpty() && xml.hasError())
        reason = QStringLiteral("its XML is damaged (%1)").arg(xml.errorString());
    return reason.isEmpty();
}

} // namespace tq::documents
