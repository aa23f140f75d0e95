#include "richtext.h"

#include <QFont>
#include <QTextDocument>
#include <QXmlStreamReader>

namespace tq::documents {

RichTextBuilder::RichTextBuilder(QTextDocument &document)
    : m_document(document), m_cursor(&document)
{
    m_document.setUndoRedoEnabled(false);
}

void RichTextBuilder::startParagraph()
{
    flush();
    if (!m_first)
        m_cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    m_first = false;
    m_paragraphEmpty = true;
}

void RichTextBuilder::append(QStringView text, const CharStyle &style)
{
    if (text.isEmpty())
        return;
    m_first = false;
    m_paragraphEmpty = false;
    if (!m_pending.isEmpty() && !(style == m_pendingStyle))
        flush();
    m_pendingStyle = style;
    m_pending += text;
}

void RichTextBuilder::flush()
{
    if (m_pending.isEmpty())
        return;
    QTextCharFormat format;
    if (m_pendingStyle.italic.value_or(false))
        format.setFontItalic(true);
    if (m_pendingStyle.bold.value_or(false))
        format.setFontWeight(QFont::Bold);
    if (m_pendingStyle.underline.value_or(false))
        format.setFontUnderline(true);
    m_cursor.insertText(m_pending, format);
    m_pending.clear();
}

void RichTextBuilder::finish()
{
    flush();
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

QString xmlFailure(const QXmlStreamReader &xml)
{
    return QStringLiteral("its XML is damaged (%1)").arg(xml.errorString());
}

} // namespace tq::documents
