#include "richtext.h"

#include <QFont>
#include <QTextCursor>
#include <QTextDocument>
#include <QXmlStreamReader>

namespace tq::documents {

void RichTextBuilder::startParagraph()
{
    if (!m_first)
        m_text += u'\n';
    m_first = false;
    m_paragraphEmpty = true;
}

void RichTextBuilder::append(QStringView text, const CharStyle &style)
{
    if (text.isEmpty())
        return;
    m_first = false;
    m_paragraphEmpty = false;
    const qsizetype start = m_text.size();
    m_text += text;
    // Inside a paragraph, only a line break may end a line; whatever else
    // the document would take for a paragraph or frame end is a space.
    for (qsizetype i = start; i < m_text.size(); ++i) {
        const char16_t c = m_text.at(i).unicode();
        if (c == u'\n' || c == u'\r' || c == 0x2029 || c == 0xFDD0 || c == 0xFDD1)
            m_text[i] = u' ';
    }
    if (!style.italic.value_or(false) && !style.bold.value_or(false) && !style.underline.value_or(false))
        return;
    if (!m_formatted.isEmpty() && m_formatted.last().style == style
        && m_formatted.last().start + m_formatted.last().length == start)
        m_formatted.last().length += text.size();
    else
        m_formatted.append({start, text.size(), style});
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
