#include "richtext.h"

#include <QFont>
#include <QTextCursor>
#include <QTextDocument>
#include <QXmlStreamReader>

#include <algorithm>

namespace tq::documents {

void RichTextBuilder::startParagraph()
{
    m_paragraphEnded = !m_first;
    if (!m_first)
        m_text += u'\n';
    m_first = false;
    m_paragraphEmpty = true;
    m_paragraphHasHidden = false;
    m_paragraphStart = m_text.size();
}

void RichTextBuilder::dropParagraph()
{
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
    if (text.isEmpty())
        return;
    if (style.hidden.value_or(false)) {
        m_paragraphHasHidden = true;
        return;
    }
    const qsizetype start = m_text.size();
    m_text += text;
    // Inside a paragraph, only a line break may end a line; whatever else
    // the document would take for a paragraph or frame end is a space.
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

void RichTextBuilder::finish()
{
    m_document.setUndoRedoEnabled(false);
    m_document.setPlainText(m_text);
    QTextCursor cursor(&m_document);
    for (const Run &run : m_formatted) {
        QTextCharFormat format;
        if (run.style.italic.value_or(false))
            format.setFontItalic(true);
        if (run.style.bold.value_or(false))
            format.setFontWeight(QFont::Bold);
        if (run.style.underline.value_or(false))
            format.setFontUnderline(true);
        cursor.setPosition(int(run.start));
        cursor.setPosition(int(run.start + run.length), QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(format);
    }
    m_document.setUndoRedoEnabled(true);
    m_document.setModified(false);
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

bool readCleanly(const QXmlStreamReader &xml, QString &reason)
{
    if (reason.isEmpty() && xml.hasError())
        reason = QStringLiteral("its XML is damaged (%1)").arg(xml.errorString());
    return reason.isEmpty();
}

} // namespace tq::documents
