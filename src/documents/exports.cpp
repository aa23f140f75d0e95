#include "exports.h"

#include "analysispass.h"
#include "atomicwrite.h"
#include "fileformats.h"
#include "writers.h"

#include <QFileInfo>

namespace tq::documents {

namespace {

QString csvField(const QString &field)
{
    if (!field.contains(u',') && !field.contains(u'"') && !field.contains(u'\n')
        && !field.contains(u'\r'))
        return field;
    QString quoted = field;
    quoted.replace(u'"', QLatin1String("\"\""));
    return u'"' + quoted + u'"';
}

} // namespace

QByteArray wordListBytes(const QString &path, const QList<ResultEntry> &entries)
{
    QString out;
    if (kindFor(path, FileUse::ExportCsv)) {
        out = QStringLiteral("count,word\r\n");
        for (const ResultEntry &entry : entries)
            out += QString::number(entry.count) + u','
                   + csvField(entry.forms.isEmpty() ? entry.word : entry.forms.join(u' '))
                   + QLatin1String("\r\n");
    } else {
        for (const ResultEntry &entry : entries)
            out += withBreaksMarked(entry.line) + u'\n';
    }
    return out.toUtf8();
}

QByteArray phraseListBytes(const QString &path, const QList<RepeatedPhrase> &phrases)
{
    QString out;
    if (kindFor(path, FileUse::ExportCsv)) {
        out = QStringLiteral("count,phrase\r\n");
        for (const RepeatedPhrase &phrase : phrases)
            out += QString::number(phrase.count) + u',' + csvField(phrase.text) + QLatin1String("\r\n");
    } else {
        for (const RepeatedPhrase &phrase : phrases)
            out += phraseLine(phrase) + u'\n';
    }
    return out.toUtf8();
}

bool highlightedSuffixKnown(const QString &path)
{
    return kindFor(path, FileUse::ExportHighlighted) != nullptr;
}

std::optional<QByteArray> highlightedBytes(const QString &path, const QTextDocument &document,
                                           const AnalysisMarks &marks, QString &reason)
{
    const FileKind *kind = kindFor(path, FileUse::ExportHighlighted);
    if (kind && kind->format == FileFormat::OpenDocument) {
        std::optional<QByteArray> bytes = openDocumentBytes(document, marks);
        if (!bytes)
            reason = QStringLiteral("the document could not be packed");
        return bytes;
    }
    if (kind && kind->format == FileFormat::Html)
        return htmlBytes(document, marks, QFileInfo(path).completeBaseName());
    reason = QStringLiteral("a highlighted document is written as .html, .htm or .odt");
    return std::nullopt;
}

QString exportWordList(const QString &path, const QList<ResultEntry> &entries)
{
    return writeFilesTogether({{path, wordListBytes(path, entries)}});
}

QString exportHighlighted(const QString &path, const QTextDocument &document,
                          const QList<Colour> &colours, const QByteArray &bold)
{
    QString reason;
    const std::optional<QByteArray> bytes = highlightedBytes(path, document, {&colours, &bold}, reason);
    if (!bytes)
        return QStringLiteral("Cannot write %1: %2.").arg(path, reason);
    return writeFilesTogether({{path, *bytes}});
}

} // namespace tq::documents
