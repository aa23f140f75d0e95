// Plain text bytes to text and back, keeping the encoding, BOM and line-end
// style so that writing gives the same bytes back.
#pragma once

#include "manuscript.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace tq::documents {

struct DecodedText
{
    QString text;   // paragraph ends as "\n"
    PlainTextForm form;
    // Each line's own end, in order, when the lines do not all end alike
    // (form.lineEnding is then the most used); else empty.
    QList<LineEnding> lineEnds;
};

// UTF-8 with or without BOM, UTF-16 with BOM, otherwise what the detector
// recognises, falling back to Windows-1252. Empty when the bytes are not
// text (NUL bytes, or control characters a text never holds); then reason
// says why.
std::optional<DecodedText> decodePlainText(const QByteArray &bytes, QString &reason);

// text has its paragraph ends as "\n" (U+2028 and U+2029 count as ends too).
// Empty when the encoding cannot hold a character of the text; then reason
// names it.
std::optional<QByteArray> encodePlainText(const QString &text, const PlainTextForm &form,
                                          QString &reason);

} // namespace tq::documents
