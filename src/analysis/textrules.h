// The character and text rules shared by the analysis pass, the repetition
// highlighter and the word-list bolding: what a letter is, how text is
// lower-cased and compared without case, and when a token reads as a number.
#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace tq {

// The two word rules a writer may turn on. Both off, the classic rules hold:
// only spaces separate tokens and only the 52 ASCII letters are letters.
struct WordRules
{
    // Every line break acts exactly as a space: it ends a token and marks
    // the start of the next word.
    bool lineBreaksSeparate = false;
    // Any character of the Unicode letter or mark categories is a letter.
    bool allLetters = false;
    bool operator==(const WordRules &) const = default;
};

// Only the 52 ASCII letters are letters.
inline bool isLetter(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

// LF, CR, vertical tab, form feed and the Unicode line and paragraph
// separators; not NEL, not the tab.
inline bool isLineBreak(char16_t c)
{
    return (c >= u'\n' && c <= u'\r') || c == 0x2028 || c == 0x2029;
}

// Turns a QTextDocument's raw text into the analysis's: paragraph ends, line
// breaks and the marks Qt puts where a table cell, a row or a frame starts
// or ends (U+FDD0, U+FDD1) all read as "\n", one character for one, so that
// offsets stay the document's.
inline void breaksAsNewlines(QString &text)
{
    for (QChar &c : text) {
        const char16_t u = c.unicode();
        if (u == 0x2029 || u == 0x2028 || u == 0xFDD0 || u == 0xFDD1)
            c = u'\n';
    }
}

// What ends a token: a space, and a line break under that rule.
inline bool separatesTokens(char16_t c, WordRules rules)
{
    return c == u' ' || (rules.lineBreaksSeparate && isLineBreak(c));
}

// A word starts after a space or a tab, and after a line break only under
// that rule.
inline bool isWordStartMark(char16_t c, WordRules rules = {})
{
    return c == u' ' || c == u'\t' || (rules.lineBreaksSeparate && isLineBreak(c));
}

// Whether the character at offset i of text is a letter. Under allLetters a
// unit of a surrogate pair counts by the pair's code point.
bool isLetterBeyondAscii(QStringView text, qsizetype i);
inline bool isLetterAt(QStringView text, qsizetype i, WordRules rules)
{
    const char16_t c = text[i].unicode();
    if (c < 0x80 || !rules.allLetters)
        return isLetter(c);
    return isLetterBeyondAscii(text, i);
}

// The offset of the first character at or after from that ends a token, or
// -1 when the text has none.
qsizetype findTokenEnd(QStringView text, qsizetype from, WordRules rules);

// Lower case, one UTF-16 unit for one, by the Unicode simple case mapping.
// Surrogates are left alone, so characters outside the Basic Multilingual
// Plane compare exactly; in exchange, lowering a slice of a text always gives
// the same units as slicing the lowered text, and no length ever changes.
char16_t lowerNonAscii(char16_t c);
inline char16_t lowerUnit(char16_t c)
{
    if (c < 0x80)
        return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
    return lowerNonAscii(c);
}
QString lowerCase(QStringView text);
void lowerCaseInto(QStringView text, QString &out);   // reuses out's buffer

// Search in a lowered text for a lowered pattern: the first offset in
// from..lastStart (inclusive) at which the text continues with the pattern;
// -1 when there is none. An empty pattern is found at from itself.
qsizetype findLowered(QStringView loweredText, QStringView loweredPattern,
                      qsizetype from, qsizetype lastStart);

// Whether a text reads as a number under a locale: white space around it, an
// optional sign, digits with the locale's decimal separator and group
// separators, an optional exponent. Beyond the bare forms this accepts group
// separators anywhere after the first digit of the integer part (so "1," and
// "1,0,0" are numbers), a decimal separator with digits on one side only
// ("5." and ".5"), "e" as well as "E", ASCII signs as well as the locale's,
// and the locale's own digits as well as ASCII ones. Nothing else: no
// currency, percent, parentheses, trailing signs, "inf" or "nan".
class NumberForm
{
public:
    explicit NumberForm(const QLocale &locale = QLocale());

    bool isNumeric(QStringView text) const;

    // For every prefix length m of text (0 to size), numeric[m] tells whether
    // text.left(m) is a number. One scan, so a long token costs no more than
    // its length. Returns false, leaving numeric alone, when text has no digit
    // and so no prefix can be a number.
    bool markNumericPrefixes(QStringView text, std::vector<char> &numeric) const;

private:
    bool isDigit(char16_t c) const
    {
        return (c >= u'0' && c <= u'9') || (c >= m_zero && c <= m_zero + 9);
    }
    bool hasDigit(QStringView text) const;

    QString m_decimal;
    QString m_group;
    QString m_minus;
    QString m_plus;
    QString m_exponent;
    char16_t m_zero = u'0';
};

// The numeric prefix of the minimum-length box: spaces, tabs and line feeds are
// ignored wherever they stand; then an optional sign, digits, an optional "."
// and more digits, an optional exponent ("E" or "e", sign, digits), read as far
// as they go; "&H" and "&O" introduce hexadecimal and octal integers (read as
// unsigned values). No digit gives 0. A value too large for a double cannot
// be converted: the result is then empty.
std::optional<double> numericPrefix(QStringView text);

} // namespace tq
