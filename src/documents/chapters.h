// Where the chapters of a manuscript start, for the word report's strips: at
// a heading paragraph, or at a paragraph that is nothing but a chapter
// title such as "Chapter 12", "CHAPTER IV", "12" or "XII".
#pragma once

#include <QList>
#include <QString>

class QTextDocument;

namespace tq::documents {

struct Chapter
{
    qsizetype start = 0;   // the document position of its first paragraph
    QString title;         // that paragraph's text, trimmed
    bool operator==(const Chapter &) const = default;
};

// Whether a paragraph's text, trimmed, reads as a chapter title on its own.
bool isChapterTitle(QStringView paragraph);

// The chapters in document order, one walk over the paragraphs.
QList<Chapter> findChapters(const QTextDocument &document);

// The document as Qt's own HTML with its heading paragraphs written as
// plain ones: Qt reads an <h1> back in bold, and a heading level here only
// marks where a chapter starts, never how the text looks.
QString htmlWithoutHeadings(const QTextDocument &document);

// Gives the heading lines of a Markdown text ("# Title", "## Part", outside
// fenced code) their heading level, leaving the text and its look alone.
void markMarkdownHeadings(QTextDocument &document);

} // namespace tq::documents
