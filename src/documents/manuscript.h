// Manuscripts on disk: reading a file into a QTextDocument, and writing the
// writer's text and formatting back. Links QtGui at most, never widgets.
//
// Plain text (.txt and anything unknown that reads as text) and Markdown
// (.md, .markdown; kept exactly as written) remember their encoding, BOM and
// line-end style, so that saving gives the same bytes back. HTML (.html,
// .htm) is read as a browser shows its prose (see htmlreader.h). OpenDocument
// (.odt, and flat .fodt), Word (.docx) and RTF (.rtf) give paragraphs, line
// breaks and the writer's italic, bold and underline; notes, comments,
// headers, footers, hidden text, tables of contents and deleted tracked text
// are left out, and so are soft hyphens, which are only hints where a line
// may break.
#pragma once

#include "fileformats.h"
#include "plaintext.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextDocument>

#include <memory>

namespace tq::documents {

// Where the document in the window came from, or goes to.
struct Manuscript
{
    QString path;
    FileFormat format = FileFormat::PlainText;
    PlainTextForm plainForm;   // used by PlainText and Markdown only
    // Bytes of a plain text file that could not be decoded and read as
    // U+FFFD, and soft hyphens left out: writing the text back would not give
    // the file's bytes back.
    qsizetype unreadableBytes = 0;
    qsizetype droppedSoftHyphens = 0;
};

// Empty when Save may write over source's own file, else why it may not
// (one phrase, "it holds notes ... that would be lost").
QString whyNotSavedInPlace(const Manuscript &source);

struct ReadResult
{
    // Null on failure. Paragraphs are blocks, line breaks inside a paragraph
    // are U+2028, and the writer's italic, bold and underline are character
    // formats.
    std::unique_ptr<QTextDocument> document;
    Manuscript source;
    QString error;   // on failure: one sentence naming the file and the reason
    // On success, a sentence for the writer when the text is not all the
    // file held (bytes that could not be decoded); else empty.
    QString note;
};

// Needs a QGuiApplication (any platform, "offscreen" included).
ReadResult readManuscript(const QString &path);

// Writes the document's text and its own formatting through QSaveFile (the
// analysis colours and bold live outside the document and are never written).
// Returns an empty string on success, else one sentence naming the file and
// the reason; a failure leaves the old file whole. Word is refused.
QString writeManuscript(const QTextDocument &document, const Manuscript &target);

// The encodings Save As offers for a plain text or Markdown copy of a file
// written in own: UTF-8 first, then own when it is another encoding that can
// hold every character of the document. Each keeps own's line ends, and its
// BOM when the encoding stays.
QList<PlainTextForm> savingForms(const QTextDocument &document, const PlainTextForm &own);
// Whether form's encoding can hold every character of the document.
bool holdsText(const QTextDocument &document, const PlainTextForm &form);

// The document's text as the analysis sees it: paragraph ends and line
// breaks inside a paragraph as "\n", no-break spaces kept.
QString documentText(const QTextDocument &document);

} // namespace tq::documents
