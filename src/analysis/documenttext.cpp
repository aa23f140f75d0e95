#include "documenttext.h"

#include "textrules.h"

#include <algorithm>
#include <iterator>

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

// An edit changes one stretch of the text: only that stretch is lowered
// again, so typing in a book costs what the typing does.
void DocumentText::relower(const QString &text)
{
    const auto *oldBegin = reinterpret_cast<const char16_t *>(m_text.constData());
    const char16_t *oldEnd = oldBegin + m_text.size();
    const auto *newBegin = reinterpret_cast<const char16_t *>(text.constData());
    const char16_t *newEnd = newBegin + text.size();
    const qsizetype common = std::min(m_text.size(), text.size());
    const qsizetype prefix = oldBegin == newBegin
            ? common
            : std::mismatch(oldBegin, oldBegin + common, newBegin).first - oldBegin;
    const auto [oldRest, newRest] = std::mismatch(std::make_reverse_iterator(oldEnd),
                                                  std::make_reverse_iterator(oldBegin + prefix),
                                                  std::make_reverse_iterator(newEnd),
                                                  std::make_reverse_iterator(newBegin + prefix));
    const qsizetype oldChangedEnd = oldRest.base() - oldBegin;
    const qsizetype newChangedEnd = newRest.base() - newBegin;
    m_lowered.replace(prefix, oldChangedEnd - prefix,
                      lowerCase(QStringView(text).sliced(prefix, newChangedEnd - prefix)));
}

const QString &DocumentText::lowered()
{
    if (!m_loweredValid) {
        lowerCaseInto(m_text, m_lowered);
        m_loweredValid = true;
    }
    return m_lowered;
}

qsizetype DocumentText::firstMarkThenNonLetter()
{
    if (!m_markValid) {
        m_markThenNonLetter = -1;
        for (qsizetype o = 1; o < m_text.size(); ++o) {
            if (isWordStartMark(m_text[o - 1].unicode()) && !isLetter(m_text[o].unicode())) {
                m_markThenNonLetter = o;
                break;
            }
        }
        m_markValid = true;
    }
    return m_markThenNonLetter;
}

} // namespace tq
