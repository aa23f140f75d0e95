#include "tokencleaner.h"

namespace tq {

CleanedToken TokenCleaner::clean(QStringView cut)
{
    // The number test is made on the whole token and again after every
    // removal; all of those answers come out of one scan.
    const bool mayBeNumber = m_numbers.markNumericPrefixes(cut, m_numeric);
    for (qsizetype length = cut.size(); length > 0; --length) {
        if (mayBeNumber && m_numeric[size_t(length)])
            return {length, 0, length};
        if (isLetterAt(cut, length - 1, m_rules)) {
            qsizetype start = 0;
            while (!isLetterAt(cut, start, m_rules))
                ++start;
            return {length, start, length - start};
        }
    }
    return {};
}

} // namespace tq
