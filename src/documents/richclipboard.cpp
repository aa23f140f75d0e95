#include "richclipboard.h"

#include "htmlreader.h"
#include "writers.h"

namespace tq::documents {

std::unique_ptr<QTextDocument> pastedDocument(const QString &html)
{
    // The reader keeps only paragraphs, line breaks, italic, bold and underline.
    auto pasted = std::make_unique<QTextDocument>();
    QString reason;
    // A clipboard often holds a bare fragment, which the reader takes for
    // less than the page it is part of.
    const bool page = html.contains(QLatin1String("<body"), Qt::CaseInsensitive);
    const QString whole = page ? html : QLatin1String("<html><body>") + html + QLatin1String("</body></html>");
    if (!readHtml(whole.toUtf8(), *pasted, reason))
        pasted->clear();   // too long or too deep: nothing rather than part
    return pasted;
}

QString copiedHtml(const QTextDocument &document)
{
    return QString::fromUtf8(htmlBytes(document, AnalysisMarks{}, QString()));
}

} // namespace tq::documents
