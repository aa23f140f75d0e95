#include "rangesurface.h"

#include <algorithm>

namespace tq {

RangeSurface::RangeSurface(TextSurface &whole, qsizetype first, qsizetype last)
    : m_whole(whole)
    , m_start(std::max<qsizetype>(first, 0))
    , m_end(std::max(m_start, last + 1))
{
}

// The ends are kept as the edits left them and cut to the text at every use,
// as the document's own selection is.
qsizetype RangeSurface::start() const
{
    return std::min(m_start, m_whole.text().size());
}

qsizetype RangeSurface::end() const
{
    return std::clamp(m_end, start(), m_whole.text().size());
}

QString RangeSurface::text() const
{
    const qsizetype from = start();
    const qsizetype to = end();
    const quint64 version = m_whole.textVersion();
    if (version != m_textVersion || from != m_textStart || to != m_textEnd) {
        m_text = m_whole.text().sliced(from, to - from);
        m_textVersion = version;
        m_textStart = from;
        m_textEnd = to;
    }
    return m_text;
}

void RangeSurface::setText(const QString &text)
{
    const QString whole = m_whole.text();
    const qsizetype from = start();
    m_whole.setText(whole.first(from) + text + whole.sliced(end()));
    m_start = from;
    m_end = from + text.size();
    m_selStart = 0;
}

void RangeSurface::setSelStart(qsizetype offset)
{
    m_selStart = std::clamp<qsizetype>(offset, 0, end() - start());
    m_whole.setSelStart(start() + m_selStart);
}

void RangeSurface::setSelLength(qsizetype length)
{
    const qsizetype room = std::max<qsizetype>(end() - start() - m_selStart, 0);
    m_whole.setSelLength(std::clamp<qsizetype>(length, 0, room));
}

Colour RangeSurface::selColor() const
{
    // The document's selection is never longer than the part allows.
    return m_whole.selColor();
}

void RangeSurface::setSelColor(Colour colour)
{
    m_whole.setSelColor(colour);
}

void RangeSurface::setSelBold(bool bold)
{
    m_whole.setSelBold(bold);
}

void RangeSurface::followEdit(qsizetype position, qsizetype removed, qsizetype added)
{
    auto move = [&](qsizetype &p) {
        if (p < position)
            return;
        if (p < position + removed)
            p = position;
        else
            p += added - removed;
    };
    move(m_start);
    move(m_end);
}

} // namespace tq
