// Plain text bytes to text and back, keeping the encoding, BOM and line-end
// style so that writing gives the same bytes back.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace tq::documents {

enum class LineEnding { Lf, CrLf, Cr };

// How a plain text or Markdown file was written.
struct PlainTextForm
{
    QByteArray encoding = "UTF-8";   // a name QStringEncoder understands
    bool bom = false;
    LineEnding lineEnding = LineEnding::Lf;

    bool operator==(const PlainTextForm &) const = default;
};

struct DecodedText
{
    QString text;   // paragraph ends as "\n"
    PlainTextForm form;
    // Bytes that were not valid in the encoding, each read as U+FFFD.
    qsizetype unreadableBytes = 0;
    // Each line's own end, in order, when the lines do not all end alike
    // (form.lineEnding is then the most used); else empty.
    QList<LineEnding> lineEnds;
};

// UTF-8 with or without BOM (also with a few bytes that are not: a stray
// byte from another program does not make the whole file another
// encoding), UTF-16 with a BOM or without one (every zero byte on one
// side), otherwise what the detector recognises, by the name browsers give
// it, falling back to Windows-1252 when it recognises nothing. Empty when
// the bytes are not text (NUL bytes, or control characters a text never
// holds) or the detected encoding has no decoder here; then reason says
// why.
std::optional<DecodedText> decodePlainText(const QByteArray &bytes, QString &reason);

// text has its paragraph ends as "\n" (U+2028 and U+2029 count as ends too).
// Empty when the encoding cannot hold a character of the text; then reason
// names it.
// The decoder for an encoding's name or label, as the WHATWG Encoding
// Standard maps labels ("ISO-8859-1" reads as windows-1252), with the names
// of what it does not cover taken as they are; empty when none is known.
QByteArray decoderName(const QByteArray &label);

std::optional<QByteArray> encodePlainText(const QString &text, const PlainTextForm &form,
                                          QString &reason);

} // namespace tq::documents
