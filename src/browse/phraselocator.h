// Where a listed repeated phrase occurs: the text is cut into tokens once,
// as the pass cuts them, and each phrase asked for is then found among them
// by the same rule that counted it, so a phrase listed with count N has
// exactly N occurrences here.
#pragma once

#include "passoptions.h"
#include "stepping.h"
#include "stringhash.h"
#include "wordreport.h"

#include <QList>
#include <QLocale>
#include <QString>

#include <optional>
#include <unordered_map>
#include <vector>

namespace tq {

class PhraseLocator
{
public:
    // The tokens of text, or of its range when there is one (cut to the
    // text), under the word rules and locale the pass used.
    PhraseLocator(QStringView text, WordRules rules, const std::optional<TextRange> &range = std::nullopt,
                  const QLocale &locale = QLocale());

    // The occurrences of a phrase as listed (lowered words joined by one
    // space), ordered, each from its first word's start to its last word's
    // end in the whole text's offsets. Empty for anything that is not a
    // phrase of 2 to 6 words.
    QList<Span> occurrences(QStringView phrase) const;

private:
    static constexpr qint32 NoWord = -1;
    struct Token
    {
        qsizetype wordStart;
        qsizetype wordEnd;
        qint32 word;       // id in m_ids, NoWord when the token takes part in no phrase
        bool endsClause;
    };
    std::vector<Token> m_tokens;
    std::unordered_map<QString, qint32, StringViewHash, StringViewEqual> m_ids;
    std::vector<std::vector<qsizetype>> m_tokensOf;   // by word id, the tokens holding it, ordered
};

} // namespace tq
