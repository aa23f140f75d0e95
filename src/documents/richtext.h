// Building a QTextDocument paragraph by paragraph from a word processor's
// file, with the writer's italic, bold and underline.
#pragma once

#include <QList>
#include <QString>

#include <optional>

class QTextDocument;
class QXmlStreamReader;

namespace tq::documents {

// The most text any document may expand to, far past any book (the whole
// King James Bible is 4.4 million): a small file may describe far more
// (repeated spaces, a zip part of one letter), and one that does is refused
// instead of filling the memory. The same for every format.
inline constexpr qsizetype MaxDocumentCharacters = 64LL * 1024 * 1024;
// Deeper element nesting than this is no real document's, and each level
// costs every reader memory.
inline constexpr int MaxNesting = 512;

// The reasons a document is refused for these bounds.
QString tooLongReason();
QString tooDeepReason();

// A style's own character properties; unset ones come from the style below.
struct CharStyle
{
    std::optional<bool> italic;
    std::optional<bool> bold;
    std::optional<bool> underline;
    std::optional<bool> hidden;   // text the writer hid, which is not read

    // These properties where set, else base's.
    CharStyle over(const CharStyle &base) const
    {
        return {italic ? italic : base.italic, bold ? bold : base.bold,
                underline ? underline : base.underline, hidden ? hidden : base.hidden};
    }
    bool operator==(const CharStyle &) const = default;
};

// The text is gathered first and set in one go, then the formatted runs are
// laid over it: a book has tens of thousands of paragraphs, and inserting
// them one by one costs seconds.
class RichTextBuilder
{
public:
    explicit RichTextBuilder(QTextDocument &document) : m_document(document) {}

    void startParagraph();
    // Hidden text is left out, and so are soft hyphens: they only mark
    // where a line may break, and would make a word another word.
    void append(QStringView text, const CharStyle &style);
    void lineBreak(const CharStyle &style) { append(QStringView(u"\u2028"), style); }
    // Marks the paragraph being built as a heading of that level (1 for the
    // top); 0 takes the mark off.
    void setHeadingLevel(int level);
    // Whether the paragraph being built holds nothing yet.
    bool paragraphEmpty() const { return m_paragraphEmpty; }
    // Whether the text went past MaxDocumentCharacters: a reader may stop.
    bool tooLong() const { return m_tooLong; }
    // Whether it holds nothing but hidden text: a paragraph the writer hid.
    bool paragraphHidden() const { return m_paragraphEmpty && m_paragraphHasHidden; }
    // Takes the paragraph being built out again, with its paragraph end.
    void dropParagraph();
    // Puts everything into the document; false with the reason when the
    // text went past MaxDocumentCharacters (whatever came after was dropped).
    bool finish(QString &reason);

private:
    struct Run
    {
        qsizetype start;
        qsizetype length;
        CharStyle style;
    };

    QTextDocument &m_document;
    QString m_text;
    QList<Run> m_formatted;   // runs with any property on, in order
    struct Heading
    {
        qsizetype start;   // of its paragraph
        int level;
    };
    QList<Heading> m_headings;   // in order
    bool m_first = true;
    bool m_paragraphEmpty = true;
    bool m_tooLong = false;
    bool m_paragraphHasHidden = false;
    bool m_paragraphEnded = false;   // whether the paragraph began with "\n"
    qsizetype m_paragraphStart = 0;
};

// XML in a container is the word processor's own and never declares a
// document type or entities ("billion laughs"); refuses those and reports
// the reason. Call with every token read.
bool acceptToken(const QXmlStreamReader &xml, QString &reason);

// Whether the elements of a part nest no deeper than MaxNesting, else false
// with the reason. Looked at before parsing, as the parser's own memory for
// each open element is what a deeply nested file exhausts; a part that is
// not well-formed is left to the parser to report.
bool nestingWithinBounds(QByteArrayView xml, QString &reason);

// Ends the reading of a part: true when it was read without fault, else
// false with the reason (one given earlier stands).
bool readCleanly(const QXmlStreamReader &xml, QString &reason);

} // namespace tq::documents
