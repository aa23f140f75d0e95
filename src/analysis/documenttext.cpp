#include "documenttext.h"

#include "textrules.h"

namespace tq {

void DocumentText::sync()
{
    const quint64 version = m_surface.textVersion();
    if (m_valid && version == m_version)
        return;
    m_text = m_surface.text();
    m_version = version;
    m_valid = true;
    m_loweredValid = false;
    m_markValid = false;
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
