#include "richclipboard.h"

#include "htmlreader.h"
#include "richtext.h"
#include "styledruns.h"
#include "writers.h"

namespace tq::documents {

namespace {

// Builds a document again from the runs of another, look by look.
class RebuildSink : public RunSink
{
public:
    explicit RebuildSink(QTextDocument &document) : m_builder(document) {}
    void startParagraph() override { m_builder.startParagraph(); }
    void run(QStringView text, const RunLook &look) override
    {
        m_builder.append(text, CharStyle{look.italic, look.bold, look.underline});
    }
    bool finish(QString &reason) { return m_builder.finish(reason); }

private:
    RichTextBuilder m_builder;
};

} // namespace

std::unique_ptr<QTextDocument> pastedDocument(const QString &html)
{
    QTextDocument read;
    QString reason;
    auto pasted = std::make_unique<QTextDocument>();
    if (!readHtml(html.toUtf8(), read, reason))
        return pasted;
    RebuildSink sink(*pasted);
    walkRuns(read, AnalysisMarks{}, sink);
    if (!sink.finish(reason))
        pasted->clear();   // too long for a document: nothing rather than part
    return pasted;
}

QString copiedHtml(const QTextDocument &document)
{
    return QString::fromUtf8(htmlBytes(document, AnalysisMarks{}, QString()));
}

} // namespace tq::documents
