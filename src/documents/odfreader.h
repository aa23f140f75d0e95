// OpenDocument text (.odt, and the flat .fodt) and Word (.docx) into a
// QTextDocument: the prose only. Notes, comments, headers, footers,
// drawings, generated indexes and tables of contents, hidden text and text
// deleted under tracked changes are left out; inserted text is kept.
#pragma once

#include <QString>

class QTextDocument;

namespace tq::documents {

class ZipContainer;

// False with a reason when the container's XML is damaged or hostile.
bool readOpenDocument(ZipContainer &container, QTextDocument &document, QString &reason);
bool readWordDocument(ZipContainer &container, QTextDocument &document, QString &reason);
// A flat OpenDocument text: the styles and the body in one XML file.
bool readFlatOpenDocument(const QByteArray &bytes, QTextDocument &document, QString &reason);

// The reason given for a document encrypted with a password.
QString protectedByPassword();

} // namespace tq::documents
