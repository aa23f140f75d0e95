#include "wordlistbox.h"

#include <QListWidget>
#include <QSignalBlocker>

namespace tq::ui {

namespace {

constexpr int WordRole = Qt::UserRole;
constexpr int LineRole = Qt::UserRole + 1;
constexpr int FormsRole = Qt::UserRole + 2;
constexpr int CountRole = Qt::UserRole + 3;

// An entry shows at most this much of its line, far more than the list is
// ever wide: painting an entry lays all of its text out, at every repaint,
// and a pasted blob can make a word of a million characters.
constexpr qsizetype ShownLength = 1000;

// A line break shown as it is would make its entry two lines high, and with
// uniform item sizes every entry along with it.
QString shownLine(QString line)
{
    if (line.size() > ShownLength) {
        qsizetype keep = ShownLength;
        if (line.at(keep - 1).isHighSurrogate())
            --keep;
        line.truncate(keep);
        line.append(QChar(0x2026));   // HORIZONTAL ELLIPSIS
    }
    return withBreaksMarked(std::move(line));
}

} // namespace

WordListBox::WordListBox(QListWidget *list)
    : m_list(list)
{
}

void WordListBox::clear()
{
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    // The view lays itself out later and would keep the old list's scroll
    // position for the next: every list starts at its top, the most
    // frequent words in view.
    m_list->scrollToTop();
}

void WordListBox::append(const QList<ResultEntry> &entries)
{
    for (const ResultEntry &entry : entries) {
        auto *item = new QListWidgetItem(shownLine(entry.line));
        item->setData(WordRole, entry.word);
        item->setData(LineRole, entry.line);
        item->setData(CountRole, entry.count);
        if (!entry.forms.isEmpty())
            item->setData(FormsRole, entry.forms);
        m_list->addItem(item);
    }
}

QString WordListBox::publishedLine(const QListWidgetItem *item)
{
    return item->data(LineRole).toString();
}

QList<ResultEntry> WordListBox::entries() const
{
    QList<ResultEntry> all;
    all.reserve(m_list->count());
    for (int i = 0; i < m_list->count(); ++i) {
        const QListWidgetItem *item = m_list->item(i);
        all.append(ResultEntry{publishedLine(item), word(i), item->data(FormsRole).toStringList(),
                               item->data(CountRole).toLongLong()});
    }
    return all;
}

qsizetype WordListBox::count() const
{
    return m_list->count();
}

bool WordListBox::isSelected(qsizetype entry) const
{
    return m_list->item(int(entry))->isSelected();
}

QString WordListBox::word(qsizetype entry) const
{
    return m_list->item(int(entry))->data(WordRole).toString();
}

QStringList WordListBox::words(qsizetype entry) const
{
    const QStringList forms = m_list->item(int(entry))->data(FormsRole).toStringList();
    return forms.isEmpty() ? QStringList{word(entry)} : forms;
}

} // namespace tq::ui
