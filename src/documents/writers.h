// The document as the bytes of a file: OpenDocument text for Save As and the
// highlighted export, and HTML for the highlighted export. Both carry the
// writer's italic, bold and underline and, when given, the analysis's marks
// as real character formats.
#pragma once

#include "styledruns.h"

#include <QByteArray>

#include <optional>

class QTextDocument;

namespace tq::documents {

std::optional<QByteArray> openDocumentBytes(const QTextDocument &document,
                                            const AnalysisMarks &marks = {});
QByteArray htmlBytes(const QTextDocument &document, const AnalysisMarks &marks,
                     const QString &title);

} // namespace tq::documents
