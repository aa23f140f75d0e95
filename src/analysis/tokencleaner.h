// Cuts a token down to the word that is counted: non-letters come off its end
// until it ends with a letter, and then off its start; a token that reads as a
// number at any point stops there and is kept as it then reads.
#pragma once

#include "textrules.h"

#include <QStringView>

#include <vector>

namespace tq {

// Offsets and lengths within the cut token, so that they apply to any copy
// of the text the token was cut from.
struct CleanedToken
{
    qsizetype tokenLength = 0;   // trimmed at its end only: what the highlighter searches for
    qsizetype wordStart = 0;     // trimmed at both ends: what is counted
    qsizetype wordLength = 0;
};

class TokenCleaner
{
public:
    explicit TokenCleaner(const QLocale &locale = QLocale(), WordRules rules = {})
        : m_numbers(locale)
        , m_rules(rules)
    {
    }

    CleanedToken clean(QStringView cut);

private:
    NumberForm m_numbers;
    WordRules m_rules;
    std::vector<char> m_numeric;   // reused between tokens
};

} // namespace tq
