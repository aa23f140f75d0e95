#include "plaintext.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <uchardet/uchardet.h>

#include <memory>

namespace tq::documents {

namespace {

constexpr char Utf8Bom[] = "\xEF\xBB\xBF";
constexpr char Utf16LeBom[] = "\xFF\xFE";
constexpr char Utf16BeBom[] = "\xFE\xFF";

QByteArray bomFor(const QByteArray &name)
{
    const QByteArray encoding = name.toUpper();
    if (encoding == "UTF-8")
        return QByteArray(Utf8Bom, 3);
    if (encoding == "UTF-16LE")
        return QByteArray(Utf16LeBom, 2);
    if (encoding == "UTF-16BE")
        return QByteArray(Utf16BeBom, 2);
    return {};
}

// Decodes the whole of bytes; empty when a byte sequence is not valid in the
// encoding. A U+FEFF at the start is kept: the BOM, if any, is already gone.
std::optional<QString> decodeStrictly(QByteArrayView bytes, const QByteArray &encoding)
{
    QStringDecoder decoder(encoding.constData(), QStringConverter::Flag::ConvertInitialBom);
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QByteArray detectEncoding(const QByteArray &bytes)
{
    std::unique_ptr<std::remove_pointer_t<uchardet_t>, void (*)(uchardet_t)> detector(
        uchardet_new(), uchardet_delete);
    if (uchardet_handle_data(detector.get(), bytes.constData(), size_t(bytes.size())) != 0)
        return {};
    uchardet_data_end(detector.get());
    QByteArray name = QByteArray(uchardet_get_charset(detector.get())).toUpper();
    // Files called Latin-1 are nearly always Windows-1252, whose printable
    // range is a superset (curly quotes and dashes instead of C1 controls).
    if (name == "ISO-8859-1" || name == "ASCII")
        name = "WINDOWS-1252";
    return name;
}

// Controls no text file holds: NUL and the C0 controls other than tab, line
// and page ends and escape. A few are tolerated (stray bytes in an old
// file), a binary file has many.
bool looksLikeText(const QString &text)
{
    qsizetype odd = 0;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == 0)
            return false;
        if (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r' && u != u'\f' && u != u'\v'
            && u != 0x1B)
            ++odd;
    }
    return odd * 200 <= text.size();
}

// The first character of text that did not come back, in quotes.
QString firstDifference(const QString &text, const QString &back)
{
    qsizetype at = 0;
    while (at < text.size() && at < back.size() && text[at] == back[at])
        ++at;
    if (at >= text.size())
        return QStringLiteral("some characters");
    return QStringLiteral("\u201C%1\u201D").arg(text.mid(at, text[at].isHighSurrogate() ? 2 : 1));
}

LineEnding mostUsedLineEnding(const QString &text)
{
    qsizetype lf = 0, crlf = 0, cr = 0;
    const qsizetype n = text.size();
    const QChar *p = text.constData();
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] == u'\r') {
            if (i + 1 < n && p[i + 1] == u'\n') {
                ++crlf;
                ++i;
            } else {
                ++cr;
            }
        } else if (p[i] == u'\n') {
            ++lf;
        }
    }
    if (crlf > lf && crlf >= cr)
        return LineEnding::CrLf;
    if (cr > lf && cr > crlf)
        return LineEnding::Cr;
    return LineEnding::Lf;
}

QList<LineEnding> mixedLineEnds(const QString &text)
{
    QList<LineEnding> ends;
    bool mixed = false;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        LineEnding end;
        if (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n') {
            end = LineEnding::CrLf;
            ++i;
        } else if (text[i] == u'\r') {
            end = LineEnding::Cr;
        } else if (text[i] == u'\n') {
            end = LineEnding::Lf;
        } else {
            continue;
        }
        mixed = mixed || (!ends.isEmpty() && end != ends.constLast());
        ends.append(end);
    }
    return mixed ? ends : QList<LineEnding>();
}

// Every line end, whatever its style, as "\n".
QString withNewlines(QString text)
{
    if (!text.contains(u'\r'))
        return text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace

std::optional<DecodedText> decodePlainText(const QByteArray &bytes, QString &reason)
{
    DecodedText out;
    std::optional<QString> text;
    if (bytes.startsWith(Utf8Bom)) {
        out.form = {"UTF-8", true};
        text = decodeStrictly(QByteArrayView(bytes).sliced(3), out.form.encoding);
    } else if (bytes.startsWith(QByteArrayView(Utf16LeBom, 2))) {
        out.form = {"UTF-16LE", true};
        text = decodeStrictly(QByteArrayView(bytes).sliced(2), out.form.encoding);
    } else if (bytes.startsWith(QByteArrayView(Utf16BeBom, 2))) {
        out.form = {"UTF-16BE", true};
        text = decodeStrictly(QByteArrayView(bytes).sliced(2), out.form.encoding);
    } else if (bytes.contains('\0')) {
        reason = QStringLiteral("it is not a text file");
        return std::nullopt;
    } else {
        out.form = {"UTF-8", false};
        text = decodeStrictly(bytes, out.form.encoding);
        if (!text) {
            for (const QByteArray &candidate : {detectEncoding(bytes), QByteArray("WINDOWS-1252"),
                                                QByteArray("ISO-8859-1")}) {
                if (candidate.isEmpty() || candidate == "UTF-8")
                    continue;
                text = decodeStrictly(bytes, candidate);
                if (text) {
                    out.form.encoding = candidate;
                    break;
                }
            }
        }
    }
    if (!text) {
        reason = QStringLiteral("it is not valid %1 text").arg(QString::fromLatin1(out.form.encoding));
        return std::nullopt;
    }
    if (!looksLikeText(*text)) {
        reason = QStringLiteral("it is not a text file");
        return std::nullopt;
    }
    out.form.lineEnding = mostUsedLineEnding(*text);
    out.lineEnds = mixedLineEnds(*text);
    out.text = withNewlines(std::move(*text));
    return out;
}

std::optional<QByteArray> encodePlainText(const QString &text, const PlainTextForm &form,
                                          QString &reason)
{
    QString lines = text;
    const QString eol = form.lineEnding == LineEnding::CrLf ? QStringLiteral("\r\n")
                        : form.lineEnding == LineEnding::Cr ? QStringLiteral("\r")
                                                            : QStringLiteral("\n");
    for (QChar &c : lines) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    }
    if (form.lineEnding != LineEnding::Lf)
        lines.replace(u'\n', eol);

    QStringEncoder encoder(form.encoding.constData(), QStringConverter::Flag::Stateless);
    if (!encoder.isValid()) {
        reason = QStringLiteral("the encoding %1 is not known").arg(QString::fromLatin1(form.encoding));
        return std::nullopt;
    }
    QByteArray body = encoder.encode(lines);
    // An encoder puts a stand-in for what it cannot hold, not always saying
    // so: a legacy encoding is read back, so that no character is ever
    // replaced without a word. The Unicode ones hold everything but a lone
    // half of a surrogate pair.
    const bool unicode = !bomFor(form.encoding).isEmpty();
    const std::optional<QString> back =
        unicode ? std::optional<QString>(lines) : decodeStrictly(body, form.encoding);
    if (encoder.hasError() || (unicode && !lines.isValidUtf16()) || !back || *back != lines) {
        reason = QStringLiteral("the encoding %1 cannot hold %2")
                     .arg(QString::fromLatin1(form.encoding),
                          unicode ? QStringLiteral("a broken character (half a surrogate pair)")
                                  : firstDifference(lines, back.value_or(QString())));
        return std::nullopt;
    }
    return form.bom ? bomFor(form.encoding) + body : body;
}

} // namespace tq::documents
