// Just enough JSON for the driver's output: strings escaped unit by unit, so
// lone surrogates survive as \uXXXX instead of breaking the UTF-8.
#pragma once

#include <QByteArray>
#include <QString>

namespace tq {

inline void appendJsonString(QByteArray &out, QStringView s)
{
    out += '"';
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c == u'"' || c == u'\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20 || (QChar::isSurrogate(c)
                                && !(QChar::isHighSurrogate(c) && i + 1 < s.size()
                                     && QChar::isLowSurrogate(s[i + 1].unicode())))) {
            out += "\\u" + QByteArray::number(c, 16).rightJustified(4, '0');
        } else if (c < 0x80) {
            out += char(c);
        } else if (QChar::isHighSurrogate(c)) {
            out += s.sliced(i, 2).toUtf8();
            ++i;
        } else {
            out += s.sliced(i, 1).toUtf8();
        }
    }
    out += '"';
}

} // namespace tq
