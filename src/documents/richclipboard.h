// Rich text across the clipboard. A page pasted in keeps what the .html
// reader keeps of a file, and of its look only the writer's italic, bold and
// underline: never the source's fonts, sizes or colours. Text copied out
// carries the same three, never the analysis's colours or bold.
#pragma once

#include <QString>
#include <QTextDocument>

#include <memory>

namespace tq::documents {

std::unique_ptr<QTextDocument> pastedDocument(const QString &html);
QString copiedHtml(const QTextDocument &document);

} // namespace tq::documents
