#include "fileformats.h"

#include <QFileInfo>

namespace tq::documents {

namespace {

const QList<FileKind> &table()
{
    using enum FileUse;
    const QString notes = QStringLiteral("notes and comments");
    // In this order in the Open dialog's filter and the command line's help.
    static const QList<FileKind> kinds = {
        {FileFormat::PlainText, QStringLiteral("Plain text"), {QStringLiteral("txt")}, Open | Save},
        {FileFormat::Markdown, QStringLiteral("Markdown"), {QStringLiteral("md"), QStringLiteral("markdown")},
         Open | Save},
        {FileFormat::Html, QStringLiteral("HTML"), {QStringLiteral("html"), QStringLiteral("htm")},
         Open | Save | ExportHighlighted, QStringLiteral("pictures, links and its style sheet")},
        {FileFormat::OpenDocument, QStringLiteral("OpenDocument text"), {QStringLiteral("odt")},
         Open | Save | ExportHighlighted, notes},
        {FileFormat::FlatOpenDocument, QStringLiteral("Flat OpenDocument"), {QStringLiteral("fodt")}, Open, notes},
        {FileFormat::Word, QStringLiteral("Word"), {QStringLiteral("docx")}, Open | NeverWrite, notes},
        {FileFormat::Rtf, QStringLiteral("RTF"), {QStringLiteral("rtf")}, Open, notes},
        // An older Word file is not read as one (its first bytes tell it
        // apart), but its name is not written over with plain text either.
        {FileFormat::PlainText, QStringLiteral("Word"), {QStringLiteral("doc")}, NeverWrite},
        {FileFormat::PlainText, QStringLiteral("CSV"), {QStringLiteral("csv")}, ExportCsv},
        {FileFormat::PlainText, QStringLiteral("Text lines"), {QStringLiteral("txt")}, ExportLines},
    };
    return kinds;
}

} // namespace

QString FileKind::filter() const
{
    return QStringLiteral("%1 (*.%2)").arg(name, suffixes.join(QStringLiteral(" *.")));
}

QString suffixOf(const QString &path)
{
    return QFileInfo(path).suffix().toLower();
}

const FileKind *kindFor(const QString &path, FileUse use)
{
    const QString suffix = suffixOf(path);
    for (const FileKind &kind : table()) {
        if (kind.uses.testFlag(use) && kind.suffixes.contains(suffix))
            return &kind;
    }
    return nullptr;
}

QList<FileKind> kindsFor(FileUses uses)
{
    QList<FileKind> kinds;
    for (const FileKind &kind : table()) {
        if (kind.uses & uses)
            kinds.append(kind);
    }
    return kinds;
}

const FileKind &kindOf(FileFormat format)
{
    for (const FileKind &kind : table()) {
        if (kind.format == format && kind.uses.testFlag(FileUse::Open))
            return kind;
    }
    Q_UNREACHABLE();
}

bool savesInPlace(FileFormat format)
{
    return kindOf(format).lostBySaving.isEmpty();
}

FileFormat formatForSaving(const QString &path)
{
    const FileKind *kind = kindFor(path, FileUse::Save);
    return kind ? kind->format : FileFormat::PlainText;
}

FileFormat formatForReading(const QString &path)
{
    const FileKind *kind = kindFor(path, FileUse::Open);
    return kind ? kind->format : FileFormat::PlainText;
}

QStringList readableSuffixes()
{
    QStringList all;
    for (const FileKind &kind : kindsFor(FileUse::Open))
        all += kind.suffixes;
    return all;
}

} // namespace tq::documents
