// Building a QTextDocument paragraph by paragraph from a word processor's
// file, with the writer's italic, bold and underline.
#pragma once

#include <QString>
#include <QTextCursor>

#include <optional>

class QTextDocument;
class QXmlStreamReader;

namespace tq::documents {

// A style's own character properties; unset ones come from the style below.
struct CharStyle
{
    std::optional<bool> italic;
    std::optional<bool> bold;
    std::optional<bool> underline;

    // These properties where set, else base's.
    CharStyle over(const CharStyle &base) const
    {
        return {italic ? italic : base.italic, bold ? bold : base.bold,
                underline ? underline : base.underline};
    }
    bool operator==(const CharStyle &) const = default;
};

class RichTextBuilder
{
public:
    explicit RichTextBuilder(QTextDocument &document);

    void startParagraph();
    void append(QStringView text, const CharStyle &style);
    void lineBreak(const CharStyle &style) { append(QStringView(u"\u2028"), style); }
    // Whether the paragraph being built holds nothing yet.
    bool paragraphEmpty() const { return m_paragraphEmpty; }
    void finish();

private:
    void flush();

    QTextDocument &m_document;
    QTextCursor m_cursor;
    QString m_pending;
    CharStyle m_pendingStyle;
    bool m_first = true;
    bool m_paragraphEmpty = true;
};

// XML in a container is the word processor's own and never declares a
// document type or entities ("billion laughs"); refuses those and reports
// the reason. Call with every token read.
bool acceptToken(const QXmlStreamReader &xml, QString &reason);

// The reason for an XML reader that stopped with an error.
QString xmlFailure(const QXmlStreamReader &xml);

} // namespace tq::documents
