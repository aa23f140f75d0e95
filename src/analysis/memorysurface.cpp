#include "memorysurface.h"

#include <algorithm>

namespace tq {

MemorySurface::MemorySurface(const QString &text)
{
    setText(text);
}

void MemorySurface::setText(const QString &text)
{
    m_text = text;
    m_colour = QList<Colour>(text.size(), 0);
    m_bold = QList<bool>(text.size(), false);
    m_selStart = 0;
    m_selLength = 0;
    ++m_version;
}

// The selection is kept as written and cut to the text at every use, so a
// text that shrank meanwhile never leaves it pointing past the end.
qsizetype MemorySurface::selStart() const
{
    return std::clamp<qsizetype>(m_selStart, 0, m_text.size());
}

qsizetype MemorySurface::selLength() const
{
    return std::clamp<qsizetype>(m_selLength, 0, m_text.size() - selStart());
}

void MemorySurface::setSelStart(qsizetype offset)
{
    m_selStart = std::clamp<qsizetype>(offset, 0, m_text.size());
    m_selLength = 0;
}

void MemorySurface::setSelLength(qsizetype length)
{
    m_selLength = std::clamp<qsizetype>(length, 0, m_text.size() - selStart());
}

Colour MemorySurface::selColor() const
{
    return selLength() > 0 ? m_colour.at(selStart()) : 0;
}

void MemorySurface::setSelColor(Colour colour)
{
    const qsizetype start = selStart();
    std::fill_n(m_colour.begin() + start, selLength(), colour);
}

void MemorySurface::setSelBold(bool bold)
{
    const qsizetype start = selStart();
    std::fill_n(m_bold.begin() + start, selLength(), bold);
}

void MemorySurface::replace(qsizetype offset, qsizetype removed, const QString &inserted)
{
    offset = std::clamp<qsizetype>(offset, 0, m_text.size());
    removed = std::clamp<qsizetype>(removed, 0, m_text.size() - offset);
    m_text.replace(offset, removed, inserted);
    m_colour.remove(offset, removed);
    m_colour.insert(offset, inserted.size(), 0);
    m_bold.remove(offset, removed);
    m_bold.insert(offset, inserted.size(), false);
    ++m_version;
}

} // namespace tq
