// Reading a web page as prose: its paragraphs, line breaks and table cells
// (each cell a paragraph of its own) with italic, bold and underline, and
// nothing else (no fonts, sizes, colours, layout or pictures). The page is
// parsed by libxml2's HTML parser as a stream, so that no page, however
// deep, wide or long, costs more than its text.
#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace tq::documents {

// utf8 is the page's text in UTF-8 (whatever charset it declares). False with
// the reason when it nests deeper than MaxNesting or its text would expand
// past MaxDocumentCharacters.
bool readHtml(const QByteArray &utf8, QTextDocument &document, QString &reason);

} // namespace tq::documents
