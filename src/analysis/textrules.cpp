#include "textrules.h"

#include <QChar>
#include <QtAlgorithms>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

namespace tq {

char16_t lowerNonAscii(char16_t c)
{
    if (QChar::isSurrogate(c))
        return c;
    return char16_t(QChar::toLower(c));
}

bool isLetterBeyondAscii(QStringView text, qsizetype i)
{
    char32_t code = text[i].unicode();
    if (QChar::isHighSurrogate(code) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        code = QChar::surrogateToUcs4(text[i], text[i + 1]);
    else if (QChar::isLowSurrogate(code) && i > 0 && text[i - 1].isHighSurrogate())
        code = QChar::surrogateToUcs4(text[i - 1], text[i]);
    return QChar::isLetter(code) || QChar::isMark(code);
}

qsizetype findTokenEnd(QStringView text, qsizetype from, WordRules rules)
{
    if (!rules.lineBreaksSeparate)
        return text.indexOf(u' ', from);
    const char16_t *units = text.utf16();
    for (qsizetype i = std::max<qsizetype>(from, 0), n = text.size(); i < n; ++i) {
        if (separatesTokens(units[i], rules))
            return i;
    }
    return -1;
}

void lowerCaseInto(QStringView text, QString &out)
{
    out.resize(text.size());
    char16_t *dst = reinterpret_cast<char16_t *>(out.data());
    const char16_t *src = text.utf16();
    for (qsizetype i = 0, n = text.size(); i < n; ++i)
        dst[i] = lowerUnit(src[i]);
}

QString lowerCase(QStringView text)
{
    QString out;
    lowerCaseInto(text, out);
    return out;
}

namespace {

// The first i in [from, end) with text[i] == unit, or -1.
qsizetype findUnit(const char16_t *text, char16_t unit, qsizetype from, qsizetype end)
{
    qsizetype i = from;
#ifdef __SSE2__
    const __m128i wanted = _mm_set1_epi16(short(unit));
    for (; i + 8 <= end; i += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + i));
        const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(chunk, wanted));
        if (mask)
            return i + qCountTrailingZeroBits(uint(mask)) / 2;
    }
#endif
    for (; i < end; ++i) {
        if (text[i] == unit)
            return i;
    }
    return -1;
}

} // namespace

qsizetype findLowered(QStringView loweredText, QStringView loweredPattern,
                      qsizetype from, qsizetype lastStart)
{
    const qsizetype n = loweredPattern.size();
    lastStart = std::min(lastStart, loweredText.size() - n);
    if (from < 0 || from > lastStart)
        return -1;
    if (n == 0)
        return from;
    // The window is short (a few hundred units at most): finding the first
    // unit eight at a time and comparing the rest beats the general-purpose
    // string search there.
    const char16_t *text = loweredText.utf16();
    const char16_t *pattern = loweredPattern.utf16();
    const size_t restBytes = size_t(n - 1) * sizeof(char16_t);
    for (qsizetype i = findUnit(text, pattern[0], from, lastStart + 1); i >= 0;
         i = findUnit(text, pattern[0], i + 1, lastStart + 1)) {
        if (std::memcmp(text + i + 1, pattern + 1, restBytes) == 0)
            return i;
    }
    return -1;
}

NumberForm::NumberForm(const QLocale &locale)
    : m_decimal(locale.decimalPoint())
    , m_group(locale.groupSeparator())
    , m_minus(locale.negativeSign())
    , m_plus(locale.positiveSign())
    , m_exponent(locale.exponential())
{
    const QString zero = locale.zeroDigit();
    if (zero.size() == 1)
        m_zero = zero.at(0).unicode();
}

bool NumberForm::hasDigit(QStringView text) const
{
    for (QChar c : text)
        if (isDigit(c.unicode()))
            return true;
    return false;
}

namespace {

enum class NumState { Lead, Sign, Int, PointNoInt, Frac, ExpMark, ExpSign, ExpDigits, Trail, Dead };

bool accepting(NumState s)
{
    return s == NumState::Int || s == NumState::Frac || s == NumState::ExpDigits
        || s == NumState::Trail;
}

// Length of symbol at text[i], or 0 when text does not continue with it there.
qsizetype matchAt(QStringView text, qsizetype i, QStringView symbol)
{
    return !symbol.isEmpty() && text.sliced(i).startsWith(symbol) ? symbol.size() : 0;
}

} // namespace

bool NumberForm::markNumericPrefixes(QStringView text, std::vector<char> &numeric) const
{
    if (!hasDigit(text))
        return false;
    numeric.assign(size_t(text.size()) + 1, 0);
    NumState state = NumState::Lead;
    qsizetype i = 0;
    while (i < text.size() && state != NumState::Dead) {
        const char16_t c = text[i].unicode();
        qsizetype step = 1;
        NumState next = NumState::Dead;
        qsizetype len = 0;
        const bool digit = isDigit(c);
        const bool space = QChar::isSpace(c);
        auto sign = [&]() -> qsizetype {
            if (c == u'-' || c == u'+')
                return 1;
            if ((len = matchAt(text, i, m_minus)) || (len = matchAt(text, i, m_plus)))
                return len;
            return 0;
        };
        auto exponentMark = [&]() -> qsizetype {
            if (c == u'e' || c == u'E')
                return 1;
            return text.sliced(i).startsWith(m_exponent, Qt::CaseInsensitive) ? m_exponent.size() : 0;
        };
        switch (state) {
        case NumState::Lead:
            if (space) next = NumState::Lead;
            else if (digit) next = NumState::Int;
            else if ((len = matchAt(text, i, m_decimal))) { next = NumState::PointNoInt; step = len; }
            else if ((len = sign())) { next = NumState::Sign; step = len; }
            break;
        case NumState::Sign:
            if (digit) next = NumState::Int;
            else if ((len = matchAt(text, i, m_decimal))) { next = NumState::PointNoInt; step = len; }
            break;
        case NumState::Int:
            if (digit) next = NumState::Int;
            else if ((len = matchAt(text, i, m_group))) { next = NumState::Int; step = len; }
            else if ((len = matchAt(text, i, m_decimal))) { next = NumState::Frac; step = len; }
            else if ((len = exponentMark())) { next = NumState::ExpMark; step = len; }
            else if (space) next = NumState::Trail;
            break;
        case NumState::PointNoInt:
            if (digit) next = NumState::Frac;
            break;
        case NumState::Frac:
            if (digit) next = NumState::Frac;
            else if ((len = exponentMark())) { next = NumState::ExpMark; step = len; }
            else if (space) next = NumState::Trail;
            break;
        case NumState::ExpMark:
            if (digit) next = NumState::ExpDigits;
            else if ((len = sign())) { next = NumState::ExpSign; step = len; }
            break;
        case NumState::ExpSign:
        case NumState::ExpDigits:
            if (digit) next = NumState::ExpDigits;
            else if (state == NumState::ExpDigits && space) next = NumState::Trail;
            break;
        case NumState::Trail:
            if (space) next = NumState::Trail;
            break;
        case NumState::Dead:
            break;
        }
        state = next;
        i += step;
        if (accepting(state))
            numeric[size_t(i)] = 1;
    }
    return true;
}

bool NumberForm::isNumeric(QStringView text) const
{
    std::vector<char> numeric;
    return markNumericPrefixes(text, numeric) && numeric.back();
}

std::optional<double> numericPrefix(QStringView text)
{
    std::string digits;   // what was read, in the C locale's notation
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n'))
            ++i;
    };
    auto peek = [&]() -> char16_t {
        skipBlanks();
        return i < text.size() ? text[i].unicode() : 0;
    };
    auto isDecimal = [](char16_t c) { return c >= u'0' && c <= u'9'; };

    if (peek() == u'&') {
        ++i;
        const char16_t kind = peek() | 0x20;
        if (kind != u'h' && kind != u'o')
            return 0.0;
        ++i;
        const int base = kind == u'h' ? 16 : 8;
        double value = 0;
        for (char16_t c = peek(); c; c = peek()) {
            int d = -1;
            if (isDecimal(c))
                d = c - u'0';
            else if (base == 16 && (c | 0x20) >= u'a' && (c | 0x20) <= u'f')
                d = (c | 0x20) - u'a' + 10;
            if (d < 0 || d >= base)
                break;
            value = value * base + d;
            ++i;
        }
        if (std::isinf(value))
            return std::nullopt;
        return value;
    }

    if (char16_t c = peek(); c == u'-' || c == u'+') {
        if (c == u'-')
            digits += '-';
        ++i;
    }
    // The power of ten of the first significant digit: past the range of a
    // double it tells an overflow (no value) from an underflow (zero).
    qint64 magnitude = 0;
    bool significant = false;
    bool sawDigit = false;
    auto readDigits = [&](bool fraction) {
        for (char16_t c = peek(); isDecimal(c); c = peek()) {
            digits += char(c);
            sawDigit = true;
            if (significant && !fraction)
                ++magnitude;
            else if (!significant && fraction)
                --magnitude;
            significant = significant || c != u'0';
            ++i;
        }
    };
    readDigits(false);
    if (peek() == u'.') {
        digits += '.';
        ++i;
        readDigits(true);
    }
    if (!sawDigit)
        return 0.0;
    if ((peek() | 0x20) == u'e') {
        const qsizetype mark = i;
        std::string exponent = "e";
        qint64 power = 0;
        ++i;
        if (char16_t c = peek(); c == u'-' || c == u'+') {
            exponent += char(c);
            ++i;
        }
        bool expDigit = false;
        for (char16_t c = peek(); isDecimal(c); c = peek()) {
            exponent += char(c);
            power = std::min<qint64>(power * 10 + (c - u'0'), qint64(1) << 40);
            expDigit = true;
            ++i;
        }
        if (expDigit) {
            digits += exponent;
            magnitude += exponent[1] == '-' ? -power : power;
        } else {
            i = mark;
        }
    }
    // from_chars reads the C notation whatever the user's locale says.
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    Q_UNUSED(end);
    if (error == std::errc::result_out_of_range)
        return magnitude > 0 ? std::nullopt : std::optional<double>(digits[0] == '-' ? -0.0 : 0.0);
    return value;
}

} // namespace tq
