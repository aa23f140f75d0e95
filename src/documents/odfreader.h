// OpenDocument text (.odt) and Word (.docx) into a QTextDocument: the prose
// only. Notes, comments, headers, footers, drawings, generated indexes and
// text deleted under tracked changes are left out; inserted text is kept.
#pragma once

#include <QString>

class QTextDocument;

namespace tq::documents {

class ZipContainer;

// False with a reason when the container's XML is damaged or hostile.
bool readOpenDocument(ZipContainer &container, QTextDocument &document, QString &reason);
bool readWordDocument(ZipContainer &container, QTextDocument &document, QString &reason);

} // namespace tq::documents
