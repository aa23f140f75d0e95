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

// The detector's name for the encoding, upper case; empty when it has none.
QByteArray detectEncoding(const QByteArray &bytes)
{
    std::unique_ptr<std::remove_pointer_t<uchardet_t>, void (*)(uchardet_t)> detector(
        uchardet_new(), uchardet_delete);
    if (uchardet_handle_data(detector.get(), bytes.constData(), size_t(bytes.size())) != 0)
        return {};
    uchardet_data_end(detector.get());
    return QByteArray(uchardet_get_charset(detector.get())).toUpper();
}

// Valid multi-byte UTF-8 sequences, and bytes that belong to none.
struct Utf8Census
{
    qsizetype sequences = 0;
    qsizetype badBytes = 0;
};

Utf8Census utf8Census(QByteArrayView bytes)
{
    Utf8Census census;
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char lead = p[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        unsigned char low = 0x80, high = 0xBF;   // the range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0;
            else if (lead == 0xED)   // no surrogates
                high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F;
        }
        bool valid = length > 0 && i + length <= n && p[i + 1] >= low && p[i + 1] <= high;
        for (int k = 2; valid && k < length; ++k)
            valid = p[i + k] >= 0x80 && p[i + k] <= 0xBF;
        if (valid) {
            ++census.sequences;
            i += length;
        } else {
            ++census.badBytes;
            ++i;
        }
    }
    return census;
}

// UTF-8 but for a few bytes: at least two good non-ASCII characters for
// every bad byte. Text in an 8-bit encoding almost never holds a valid
// sequence (its accented letters are not followed by the bytes that would
// continue one), so it has many bad bytes and few or no good sequences.
bool mostlyUtf8(const Utf8Census &census)
{
    return census.sequences > 0 && census.badBytes * 2 <= census.sequences;
}

// UTF-16 without a byte-order mark, as a file of Latin text in it shows:
// every zero byte on the same side of its pair. Empty when not so.
QByteArray bomlessUtf16(const QByteArray &bytes)
{
    if (bytes.size() % 2 != 0)
        return {};
    bool evenZero = false, oddZero = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\0')
            (i % 2 == 0 ? evenZero : oddZero) = true;
    }
    if (evenZero == oddZero)
        return {};
    return oddZero ? QByteArray("UTF-16LE") : QByteArray("UTF-16BE");
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

QByteArray decoderName(const QByteArray &label)
{
    // Labels browsers read as another encoding, and names for which there
    // is no decoder here (an empty decoder).
    struct Alias
    {
        const char *label;
        const char *decoder;
    };
    static constexpr Alias Aliases[] = {
        {"ASCII", "windows-1252"},         {"US-ASCII", "windows-1252"},
        {"ISO-8859-1", "windows-1252"},    {"LATIN1", "windows-1252"},
        {"ISO-8859-9", "windows-1254"},    {"ISO-8859-11", "windows-874"},
        {"TIS-620", "windows-874"},        {"EUC-KR", "windows-949"},
        {"UHC", "windows-949"},            {"CP949", "windows-949"},
        {"KS_C_5601-1987", "windows-949"}, {"GB2312", "GBK"},
        {"BIG5", "Big5-HKSCS"},            {"SHIFT_JIS", "Shift_JIS"},
        {"MAC-CYRILLIC", "x-mac-cyrillic"}, {"MAC-CENTRALEUROPE", "x-mac-centraleurroman"},
        {"ISO-8859-16", ""},               {"VISCII", ""},
    };
    const QByteArray upper = label.trimmed().toUpper();
    QByteArray name = upper;
    for (const Alias &alias : Aliases) {
        if (upper == alias.label) {
            name = alias.decoder;
            break;
        }
    }
    if (name.isEmpty() || !QStringDecoder(name.constData()).isValid())
        return {};
    return name;
}

std::optional<DecodedText> decodePlainText(const QByteArray &bytes, QString &reason)
{
    DecodedText out;
    std::optional<QString> text;
    // UTF-8 with a few bad bytes: each reads as U+FFFD, and is counted.
    // The detector's word that it is UTF-8 is enough when some of it is.
    auto decodeUtf8 = [&](QByteArrayView body, bool detected) -> std::optional<QString> {
        if (std::optional<QString> strict = decodeStrictly(body, "UTF-8"))
            return strict;
        const Utf8Census census = utf8Census(body);
        if (!mostlyUtf8(census) && !(detected && census.sequences > 0))
            return std::nullopt;
        out.unreadableBytes = census.badBytes;
        QStringDecoder lenient(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
        return QString(lenient.decode(body));
    };
    if (bytes.startsWith(Utf8Bom)) {
        out.form = {"UTF-8", true};
        text = decodeUtf8(QByteArrayView(bytes).sliced(3), false);
    } else if (bytes.startsWith(QByteArrayView(Utf16LeBom, 2))) {
        out.form = {"UTF-16LE", true};
        text = decodeStrictly(QByteArrayView(bytes).sliced(2), out.form.encoding);
    } else if (bytes.startsWith(QByteArrayView(Utf16BeBom, 2))) {
        out.form = {"UTF-16BE", true};
        text = decodeStrictly(QByteArrayView(bytes).sliced(2), out.form.encoding);
    } else if (bytes.contains('\0')) {
        const QByteArray utf16 = bomlessUtf16(bytes);
        if (utf16.isEmpty()) {
            reason = QStringLiteral("it is not a text file");
            return std::nullopt;
        }
        out.form = {utf16, false};
        text = decodeStrictly(bytes, utf16);
    } else {
        out.form = {"UTF-8", false};
        text = decodeUtf8(bytes, false);
        const QByteArray detected = text ? QByteArray() : detectEncoding(bytes);
        if (detected == "UTF-8")
            text = decodeUtf8(bytes, true);
        if (!text) {
            const QByteArray decoder = detected.isEmpty() ? QByteArray() : decoderName(detected);
            if (!detected.isEmpty() && decoder.isEmpty()) {
                reason = QStringLiteral("it seems to be written in %1, which cannot be read here; "
                                        "save it as UTF-8 to read it")
                             .arg(QString::fromLatin1(detected));
                return std::nullopt;
            }
            for (const QByteArray &candidate : {decoder, QByteArray("windows-1252"), QByteArray("ISO-8859-1")}) {
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
