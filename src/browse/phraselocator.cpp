#include "phraselocator.h"

#include "textrules.h"
#include "tokencleaner.h"

#include <algorithm>

namespace tq {

namespace {

constexpr qsizetype ShortestPhrase = 2;
constexpr qsizetype LongestPhrase = 6;

} // namespace

PhraseLocator::PhraseLocator(QStringView text, WordRules rules, const std::optional<TextRange> &range,
                             const QLocale &locale)
{
    // The range as the pass's part of the document takes it.
    const qsizetype from = range ? std::clamp<qsizetype>(range->first, 0, text.size()) : 0;
    const qsizetype to = range ? std::clamp<qsizetype>(range->last + 1, from, text.size()) : text.size();
    const QStringView part = text.sliced(from, to - from);
    const QString lowered = lowerCase(part);
    TokenCleaner cleaner(locale, rules);
    for (qsizetype scanPos = 0; scanPos < part.size();) {
        const qsizetype space = findTokenEnd(part, scanPos, rules);
        const bool last = space < 0;
        const QStringView cut = part.sliced(scanPos, (last ? part.size() : space) - scanPos);
        const CleanedToken cleaned = cleaner.clean(cut);
        const QStringView word = QStringView(lowered).sliced(scanPos + cleaned.wordStart, cleaned.wordLength);
        qint32 id = NoWord;
        if (takesPartInPhrases(cut, word)) {
            auto it = m_ids.find(word);
            if (it == m_ids.end()) {
                it = m_ids.emplace(word.toString(), qint32(m_tokensOf.size())).first;
                m_tokensOf.emplace_back();
            }
            id = it->second;
            m_tokensOf[size_t(id)].push_back(qsizetype(m_tokens.size()));
        }
        const qsizetype wordStart = from + scanPos + cleaned.wordStart;
        m_tokens.push_back({wordStart, wordStart + cleaned.wordLength, id,
                            endsClause(cut.sliced(cleaned.tokenLength))});
        if (last)
            break;
        scanPos = space + 1;
    }
}

QList<Span> PhraseLocator::occurrences(QStringView phrase) const
{
    const QList<QStringView> words = phrase.split(u' ');
    if (words.size() < ShortestPhrase || words.size() > LongestPhrase)
        return {};
    std::vector<qint32> ids;
    for (QStringView word : words) {
        const auto it = m_ids.find(word);
        if (it == m_ids.end())
            return {};
        ids.push_back(it->second);
    }
    const qsizetype length = qsizetype(ids.size());
    const qsizetype n = qsizetype(m_tokens.size());
    QList<Span> spans;
    for (const qsizetype first : m_tokensOf[size_t(ids.front())]) {
        if (first + length > n)
            break;
        bool occurs = true;
        for (qsizetype j = 0; occurs && j < length; ++j) {
            const Token &token = m_tokens[size_t(first + j)];
            occurs = token.word == ids[size_t(j)] && (j == length - 1 || !token.endsClause);
        }
        if (occurs) {
            const qsizetype start = m_tokens[size_t(first)].wordStart;
            spans.append(Span{start, m_tokens[size_t(first + length - 1)].wordEnd - start});
        }
    }
    return spans;
}

} // namespace tq
