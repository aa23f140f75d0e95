#include "tokencleaner.h"

namespace tq {

CleanedToken TokenCleaner::clean(QStringView cut)
{
    // The number test is made on the whole token and again after every
    // removal; all of those answers come out of one scan.
    const bool mayBeNumber = m_numbers.markNumericPrefixes(cut, m_numeric);
    for (qsizetype length = cut.size(); length > 0; --length) {
        const QStringView token = cut.first(length);
        if (mayBeNumber && m_numeric[size_t(length)])
            return {token, token};
        if (isLetter(token.back().unicode())) {
            qsizetype start = 0;
            while (!isLetter(token[start].unicode()))
                ++start;
            return {token, token.sliced(start)};
        }
    }
    return {cut.first(0), cut.first(0)};
}

} // namespace tq
