#include "richclipboard.h"

#include "htmlreader.h"
#include "writers.h"

namespace tq::documents {

std::unique_ptr<QTextDocument> pastedDocument(const QString &html)
{
    // The reader keeps only paragraphs, line breaks, italic, bold and underline.
    auto pasted = std::make_unique<QTextDocument>();
    QString reason;
    if (!readHtml(html.toUtf8(), *pasted, reason))
        pasted->clear();   // too long or too deep: nothing rather than part
    return pasted;
}

QString copiedHtml(const QTextDocument &document)
{
    return QString::fromUtf8(htmlBytes(document, AnalysisMarks{}, QString()));
}

} // namespace tq::documents
