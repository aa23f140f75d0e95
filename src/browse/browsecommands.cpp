#include "browsecommands.h"

#include "analysispass.h"
#include "textrules.h"
#include "wordfinder.h"

#include <QHash>

#include <algorithm>
#include <limits>

namespace tq {

namespace {

// Steps and the bold ahead cover whole lines, so a window that lays out the
// bold paragraph by paragraph lays each out once: a paragraph can be a
// megabyte long.
qsizetype lineStartBefore(const QString &text, qsizetype offset)
{
    return offset > 0 ? text.lastIndexOf(u'\n', offset - 1) + 1 : 0;
}

qsizetype lineEndAfter(const QString &text, qsizetype offset)
{
    if (offset == 0 || offset >= text.size() || text[offset - 1] == u'\n')
        return offset;
    const qsizetype end = text.indexOf(u'\n', offset);
    return end < 0 ? text.size() : end + 1;
}

} // namespace

void boldSelectedWords(TextSurface &surface, const ListSelection &list)
{
    BoldJob job(surface, list);
    job.advance(std::numeric_limits<qsizetype>::max());
}

BoldJob::BoldJob(TextSurface &surface, const ListSelection &list)
    : m_surface(surface)
{
    QHash<QString, qsizetype> indexOf;
    indexOf.reserve(list.count());
    for (qsizetype i = 0, n = list.count(); i < n; ++i) {
        if (!list.isSelected(i))
            continue;
        for (const QString &form : list.words(i)) {
            const QString word = lowerCase(form);
            auto at = indexOf.constFind(word);
            if (at == indexOf.constEnd()) {
                at = indexOf.insert(word, m_words.size());
                m_words.append(word);
            }
            m_order.push_back(at.value());
        }
    }
    m_finder = std::make_unique<WordFinder>(m_words);
    restart();
}

BoldJob::~BoldJob() = default;

void BoldJob::restart()
{
    m_version = m_surface.textVersion();
    m_bolded = 0;
    m_overhang.clear();
    m_last.assign(size_t(m_words.size()), -1);
}

bool BoldJob::advance(qsizetype characters)
{
    if (m_done)
        return true;
    // Held for this step only: a copy kept between steps would make the
    // next edit of the document copy the whole text.
    const QString text = m_surface.text();
    if (m_surface.textVersion() != m_version)
        restart();
    const qsizetype size = text.size();
    const qsizetype from = m_bolded;
    const qsizetype wanted = characters >= size - from ? size : from + std::max<qsizetype>(characters, 1);
    const qsizetype to = lineEndAfter(text, wanted);

    // This step's bold, reaching as far past its end as a word starting in
    // it can, on top of what the steps before reached into it.
    const qsizetype reach = std::min(size, to + std::max<qsizetype>(m_finder->longest() - 1, 0));
    m_flags.assign(size_t(reach - from), 0);
    std::copy(m_overhang.begin(), m_overhang.end(), m_flags.begin());
    m_finder->find(text, from, to, [&](qsizetype word, qsizetype offset, qsizetype length) {
        m_last[size_t(word)] = offset;
        std::fill_n(m_flags.begin() + (offset - from), length, 1);
    });
    writeBold(from, m_flags.data(), to - from);
    auto overhangEnd = m_flags.end();
    while (overhangEnd > m_flags.begin() + (to - from) && overhangEnd[-1] == 0)
        --overhangEnd;
    m_overhang.assign(m_flags.begin() + (to - from), overhangEnd);
    m_bolded = to;

    if (m_bolded == size) {
        leaveSelection(size);
        m_done = true;
    }
    return m_done;
}

void BoldJob::boldAhead(qsizetype first, qsizetype last)
{
    if (m_done)
        return;
    const QString text = m_surface.text();
    first = lineStartBefore(text, std::clamp<qsizetype>(first, 0, text.size()));
    last = lineEndAfter(text, std::clamp<qsizetype>(last, first, text.size()));
    std::vector<char> flags(size_t(last - first), 0);
    m_finder->find(text, first - m_finder->longest() + 1, last,
                   [&](qsizetype, qsizetype offset, qsizetype length) {
                       const qsizetype a = std::max(offset, first);
                       const qsizetype b = std::min(offset + length, last);
                       if (a < b)
                           std::fill(flags.begin() + (a - first), flags.begin() + (b - first), 1);
                   });
    writeBold(first, flags.data(), last - first);
}

// Writes the bold of count characters from from as runs of equal value.
void BoldJob::writeBold(qsizetype from, const char *flags, qsizetype count)
{
    for (qsizetype i = 0; i < count;) {
        qsizetype j = i + 1;
        while (j < count && flags[j] == flags[i])
            ++j;
        m_surface.select(from + i, j - i);
        m_surface.setSelBold(flags[i] != 0);
        i = j;
    }
}

// Where one search loop per selected entry, in list order, would leave the
// selection: on the last occurrence reached for the last entry whose word
// has one. The empty word "occurs" at every search start, the last being
// size - 2. With nothing found, or a text too short to search, the whole
// text stays selected, as the clearing of the old bold left it.
void BoldJob::leaveSelection(qsizetype size)
{
    if (size >= 2) {
        for (auto it = m_order.rbegin(); it != m_order.rend(); ++it) {
            const QString &word = m_words[*it];
            if (word.isEmpty()) {
                m_surface.select(size - 2, 0);
                return;
            }
            if (const qsizetype last = m_last[size_t(*it)]; last >= 0) {
                m_surface.select(last, word.size());
                return;
            }
        }
    }
    m_surface.select(0, size);
}

void clearAll(TextSurface &surface, ResultList &list)
{
    resetFormatting(surface);
    surface.setText(QString());
    list.clear();
}

} // namespace tq
