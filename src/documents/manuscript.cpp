#include "manuscript.h"

#include "atomicwrite.h"
#include "chapters.h"
#include "container.h"
#include "htmlreader.h"
#include "odfreader.h"
#include "plaintext.h"
#include "richtext.h"
#include "rtfreader.h"
#include "textrules.h"
#include "writers.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QVariant>

namespace tq::documents {

namespace {

// A plain text or HTML file larger than this is not a manuscript.
constexpr qint64 MaxTextFileBytes = 256LL * 1024 * 1024;

// Files that are no manuscript this program reads, known by their first
// bytes whatever their name; empty for any other file.
QString notReadHere(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = file.read(8);
    if (head.startsWith("%PDF-"))
        return QStringLiteral("it is a PDF file, which is not read here");
    if (!head.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return {};
    // An OLE compound file: an old Office file (.doc), or an encrypted
    // .docx, whose package is one stream named "EncryptedPackage".
    file.seek(0);
    const QByteArray name = QByteArray("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32);
    QByteArray tail;
    while (!file.atEnd()) {
        QByteArray chunk = tail + file.read(1 << 20);
        if (chunk.contains(name))
            return protectedByPassword();
        tail = chunk.right(name.size() - 1);
    }
    return QStringLiteral("it is an older Office file (such as a .doc), which is not read here; "
                          "save it as .docx or .odt");
}

QString countOfBytes(qsizetype count)
{
    return count == 1 ? QStringLiteral("1 byte") : QStringLiteral("%1 bytes").arg(count);
}

// Soft hyphens only say where a line may break; left in, they would make
// "extra\u00ADordinary" another word than "extraordinary".
qsizetype dropSoftHyphens(QString &text)
{
    const qsizetype before = text.size();
    text.remove(QChar(0x00AD));
    return before - text.size();
}

// Reads HTML without reaching for anything outside it: a style sheet or a
// picture named in the file could be any file on the machine (a device
// that never ends, a huge file), so every resource reads as empty.
class SelfContainedDocument : public QTextDocument
{
protected:
    QVariant loadResource(int, const QUrl &) override { return QByteArray(); }
};

QString decodeHtml(const QByteArray &bytes)
{
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    if (decoder.isValid()) {
        QString text = decoder.decode(bytes);
        if (!decoder.hasError())
            return text;
    }
    QStringDecoder fallback("WINDOWS-1252");
    return fallback.decode(bytes);
}

// The page in UTF-8 for the parser, which is given no say in the charset: a
// page in UTF-8 (nearly every one) as it is, without a copy.
QByteArray htmlAsUtf8(const QByteArray &bytes)
{
    if (QStringDecoder::decoderForHtml(bytes).name() == QByteArrayView("UTF-8") && bytes.isValidUtf8())
        return bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes;
    return decodeHtml(bytes).toUtf8();
}

// Reads what the file holds: its size first, then to the end (a pipe or a
// file that grows may hold more than it said), never a buffer sized for the
// limit, which would reserve hundreds of megabytes for a short file.
std::optional<QByteArray> readWhole(const QString &path, QString &reason)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
        return std::nullopt;
    }
    const QString tooLarge = QStringLiteral("it is larger than 256 MB");
    const qint64 size = file.size();
    if (size > MaxTextFileBytes) {
        reason = tooLarge;
        return std::nullopt;
    }
    QByteArray bytes(size, Qt::Uninitialized);
    qint64 got = 0;
    while (got < size) {
        const qint64 n = file.read(bytes.data() + got, size - got);
        if (n <= 0)
            break;
        got += n;
    }
    bytes.truncate(got);
    char chunk[64 * 1024];
    while (true) {
        const qint64 n = file.read(chunk, sizeof chunk);
        if (n <= 0)
            break;
        if (bytes.size() + n > MaxTextFileBytes) {
            reason = tooLarge;
            return std::nullopt;
        }
        bytes.append(chunk, n);
    }
    if (file.error() != QFileDevice::NoError) {
        reason = file.errorString();
        return std::nullopt;
    }
    return bytes;
}

// .odt and .docx are both zip containers; the parts inside say which one a
// file really is, whatever its name.
bool readContainer(const QString &path, FileFormat named, QTextDocument &document,
                   FileFormat &format, QString &reason)
{
    const QString kind = named == FileFormat::Word ? QStringLiteral("a Word document")
                                                   : QStringLiteral("an OpenDocument text");
    QFile probe(path);
    if (probe.size() == 0) {
        reason = QStringLiteral("the file is empty");
        return false;
    }
    if (!probe.open(QIODevice::ReadOnly)) {
        reason = probe.errorString();
        return false;
    }
    if (!probe.read(4).startsWith("PK")) {
        reason = QStringLiteral("it is not %1").arg(kind);
        return false;
    }
    ZipContainer container(path);
    if (!container.open(reason))
        return false;
    if (container.has(QStringLiteral("content.xml"))) {
        format = FileFormat::OpenDocument;
        return readOpenDocument(container, document, reason);
    }
    if (container.has(QStringLiteral("_rels/.rels")) || container.has(QStringLiteral("word/document.xml"))) {
        format = FileFormat::Word;
        return readWordDocument(container, document, reason);
    }
    reason = QStringLiteral("it is not %1 (an archive of other files)").arg(kind);
    return false;
}

// A line read from a file that mixed its line ends carries its own end as
// the block's user state, for as long as the block lives.
constexpr const char *OwnEnd[] = {"\n", "\r\n", "\r"};

void keepLineEnds(QTextDocument &document, const QList<LineEnding> &ends)
{
    if (ends.isEmpty() || document.blockCount() != ends.size() + 1)
        return;
    QTextBlock block = document.begin();
    for (LineEnding end : ends) {
        block.setUserState(int(end));
        block = block.next();
    }
}

bool hasOwnLineEnds(const QTextDocument &document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.userState() >= 0)
            return true;
    }
    return false;
}

// Lines with their own end keep it; every other line ends in eol.
QString withOwnLineEnds(const QTextDocument &document, LineEnding eol)
{
    const QLatin1String common(OwnEnd[int(eol)]);
    QString text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (QChar c : block.text()) {
            if (c == QChar::LineSeparator)
                text += common;
            else if (c != QChar::ObjectReplacementCharacter)
                text += c;
        }
        if (block.next().isValid()) {
            const int own = block.userState();
            text += own >= 0 && own <= int(LineEnding::Cr) ? QLatin1String(OwnEnd[own]) : common;
        }
    }
    return text;
}

QString plainText(const QTextDocument &document)
{
    QString text = document.toRawText();
    text.remove(QChar::ObjectReplacementCharacter);
    tq::breaksAsNewlines(text);
    return text;
}

std::optional<QByteArray> encodedPlainText(const QTextDocument &document, const PlainTextForm &form,
                                           QString &reason)
{
    if (!hasOwnLineEnds(document))
        return encodePlainText(plainText(document), form, reason);
    PlainTextForm asWritten = form;
    asWritten.lineEnding = LineEnding::Lf;   // every end is in the text already
    return encodePlainText(withOwnLineEnds(document, form.lineEnding), asWritten, reason);
}

QString failure(const QString &verb, const QString &path, const QString &reason)
{
    return QStringLiteral("Cannot %1 %2: %3.").arg(verb, path, reason);
}

} // namespace

QString whyNotSavedInPlace(const Manuscript &source)
{
    if (!savesInPlace(source.format))
        return QStringLiteral("lose what the window does not show of it, such as %1").arg(kindOf(source.format).lostBySaving);
    if (source.unreadableBytes > 0)
        return QStringLiteral("write \u201C\uFFFD\u201D for the %1 of it that could not be read")
            .arg(countOfBytes(source.unreadableBytes));
    if (source.droppedSoftHyphens > 0)
        return QStringLiteral("leave out the soft hyphens in it, which were not read");
    return {};
}

ReadResult readManuscript(const QString &path)
{
    ReadResult result;
    const QFileInfo info(path);
    QString reason;
    if (!info.exists())
        reason = QStringLiteral("there is no such file");
    else if (info.isDir())
        reason = QStringLiteral("it is a folder");
    else if (!info.isFile())
        reason = QStringLiteral("it is not a regular file");
    if (!reason.isEmpty()) {
        result.error = failure(QStringLiteral("open"), path, reason);
        return result;
    }

    auto document = std::make_unique<SelfContainedDocument>();
    Manuscript source{path, formatForReading(path), {}};
    bool ok = false;
    reason = notReadHere(path);
    if (!reason.isEmpty()) {
        ok = false;
    } else if (source.format == FileFormat::OpenDocument || source.format == FileFormat::Word) {
        ok = readContainer(path, source.format, *document, source.format, reason);
    } else if (const std::optional<QByteArray> bytes = readWhole(path, reason)) {
        if (source.format == FileFormat::Html) {
            ok = readHtml(htmlAsUtf8(*bytes), *document, reason);
        } else if (source.format == FileFormat::FlatOpenDocument) {
            ok = readFlatOpenDocument(*bytes, *document, reason);
        } else if (source.format == FileFormat::Rtf) {
            ok = readRtf(*bytes, *document, reason);
        } else if (std::optional<DecodedText> decoded = decodePlainText(*bytes, reason)) {
            source.droppedSoftHyphens = dropSoftHyphens(decoded->text);
            if (decoded->text.size() > MaxDocumentCharacters) {
                reason = tooLongReason();
            } else {
                document->setPlainText(decoded->text);
                keepLineEnds(*document, decoded->lineEnds);
                if (source.format == FileFormat::Markdown)
                    markMarkdownHeadings(*document);
                source.plainForm = decoded->form;
                source.unreadableBytes = decoded->unreadableBytes;
                if (decoded->unreadableBytes > 0)
                    result.note = QStringLiteral("%1 of %2 could not be read as %3 and %4 as \u201C\uFFFD\u201D.")
                                      .arg(countOfBytes(decoded->unreadableBytes), QFileInfo(path).fileName(),
                                           QString::fromLatin1(decoded->form.encoding),
                                           decoded->unreadableBytes == 1 ? QStringLiteral("shows")
                                                                        : QStringLiteral("show"));
                ok = true;
            }
        }
    }
    if (!ok) {
        result.error = failure(QStringLiteral("open"), path, reason);
        return result;
    }
    document->setModified(false);
    result.document = std::move(document);
    result.source = source;
    return result;
}

QString writeManuscript(const QTextDocument &document, const Manuscript &target)
{
    QString reason;
    std::optional<QByteArray> bytes;
    switch (target.format) {
    case FileFormat::PlainText:
    case FileFormat::Markdown:
        bytes = encodedPlainText(document, target.plainForm, reason);
        break;
    case FileFormat::Html:
        // The writer's text and emphasis only: the window's font is the
        // window's, not the page's.
        bytes = htmlBytes(document, {}, QFileInfo(target.path).completeBaseName());
        break;
    case FileFormat::OpenDocument:
        bytes = openDocumentBytes(document);
        if (!bytes)
            reason = QStringLiteral("the document could not be packed");
        break;
    case FileFormat::Word:
    case FileFormat::FlatOpenDocument:
    case FileFormat::Rtf:
        reason = QStringLiteral("%1 documents are only read; save as OpenDocument instead")
                     .arg(kindOf(target.format).name);
        break;
    }
    if (!bytes)
        return failure(QStringLiteral("save"), target.path, reason);
    return writeFilesTogether({{target.path, *bytes}});
}

QList<PlainTextForm> savingForms(const QTextDocument &document, const PlainTextForm &own)
{
    const bool ownIsUtf8 = own.encoding.toUpper() == "UTF-8";
    QList<PlainTextForm> forms{{"UTF-8", ownIsUtf8 && own.bom, own.lineEnding}};
    if (!ownIsUtf8 && holdsText(document, own))
        forms.append(own);
    return forms;
}

bool holdsText(const QTextDocument &document, const PlainTextForm &form)
{
    QString reason;
    return encodedPlainText(document, form, reason).has_value();
}

QString documentText(const QTextDocument &document)
{
    QString text = document.toRawText();
    tq::breaksAsNewlines(text);
    return text;
}

} // namespace tq::documents
