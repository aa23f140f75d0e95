#include "documenttext.h"

#include "textrules.h"

#include <algorithm>
#include <cstring>

namespace tq {

void DocumentText::sync()
{
    const quint64 version = m_surface.textVersion();
    if (m_valid && version == m_version)
        return;
    QString text = m_surface.text();
    if (m_valid && m_loweredValid)
        relower(text);
    else
        m_loweredValid = false;
    m_text = std::move(text);
    m_version = version;
    m_valid = true;
    m_markValid = false;
}

namespace {

// How many units a and b share at their start, and at their end: compared a
// block at a time with memcmp, which runs far faster than unit by unit.
constexpr qsizetype CompareBlock = 2048;

qsizetype commonPrefix(const char16_t *a, const char16_t *b, qsizetype n)
{
    qsizetype i = 0;
    while (n - i >= CompareBlock && std::memcmp(a + i, b + i, CompareBlock * sizeof(char16_t)) == 0)
        i += CompareBlock;
    return std::mismatch(a + i, a + n, b + i).first - a;
}

qsizetype commonSuffix(const char16_t *aEnd, const char16_t *bEnd, qsizetype n)
{
    qsizetype i = 0;
    while (n - i >= CompareBlock
           && std::memcmp(aEnd - i - CompareBlock, bEnd - i - CompareBlock, CompareBlock * sizeof(char16_t)) == 0)
        i += CompareBlock;
    while (i < n && aEnd[-i - 1] == bEnd[-i - 1])
        ++i;
    return i;
}

} // namespace

// An edit changes one stretch of the text: only that stretch is lowered
// again, so typing in a book costs what the typing does.
void DocumentText::relower(const QString &text)
{
    const auto *oldBegin = reinterpret_cast<const char16_t *>(m_text.constData());
    const auto *newBegin = reinterpret_cast<const char16_t *>(text.constData());
    const qsizetype common = std::min(m_text.size(), text.size());
    const qsizetype prefix = oldBegin == newBegin ? common : commonPrefix(oldBegin, newBegin, common);
    const qsizetype suffix = commonSuffix(oldBegin + m_text.size(), newBegin + text.size(), common - prefix);
    m_lowered.replace(prefix, m_text.size() - suffix - prefix,
                      lowerCase(QStringView(text).sliced(prefix, text.size() - suffix - prefix)));
}

const QString &DocumentText::lowered()
{
    if (!m_loweredValid) {
        lowerCaseInto(m_text, m_lowered);
        m_loweredValid = true;
    }
    return m_lowered;
}

qsizetype DocumentText::firstMarkThenNonLetter(WordRules rules)
{
    if (!m_markValid || rules != m_markRules) {
        m_markThenNonLetter = -1;
        for (qsizetype o = 1; o < m_text.size(); ++o) {
            if (isWordStartMark(m_text[o - 1].unicode(), rules) && !isLetterAt(m_text, o, rules)) {
                m_markThenNonLetter = o;
                break;
            }
        }
        m_markValid = true;
        m_markRules = rules;
    }
    return m_markThenNonLetter;
}

} // namespace tq
