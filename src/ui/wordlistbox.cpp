#include "wordlistbox.h"

#include <QListWidget>
#include <QSignalBlocker>

namespace tq::ui {

namespace {
constexpr int WordRole = Qt::UserRole;
}

WordListBox::WordListBox(QListWidget *list)
    : m_list(list)
{
}

void WordListBox::clear()
{
    const QSignalBlocker quiet(m_list);
    m_list->clear();
}

void WordListBox::append(const QList<ResultEntry> &entries)
{
    for (const ResultEntry &entry : entries) {
        auto *item = new QListWidgetItem(entry.line);
        item->setData(WordRole, entry.word);
        m_list->addItem(item);
    }
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

} // namespace tq::ui
