// RTF (.rtf) into a QTextDocument: the prose with its paragraphs, line
// breaks, tabs and the writer's italic, bold and underline. Footnotes,
// comments, headers, footers, pictures, hidden text, field instructions (a
// field's shown result is kept), tables of contents and the font, colour,
// style and information tables are left out; table cells are paragraphs.
#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace tq::documents {

// False with a reason when the bytes are not an RTF document or use a code
// page with no decoder here.
bool readRtf(const QByteArray &bytes, QTextDocument &document, QString &reason);

} // namespace tq::documents
