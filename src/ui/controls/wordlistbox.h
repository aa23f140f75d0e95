// The result list as the pass fills it and as browsing reads it. Every entry
// carries the word it was published with, so browsing never has to match
// entries to rows of a table that a running pass may be rebuilding.
#pragma once

#include "resultlist.h"
#include "browsecommands.h"

class QListWidget;
class QListWidgetItem;

namespace tq::ui {

class WordListBox : public ResultList, public ListSelection
{
public:
    explicit WordListBox(QListWidget *list);

    // Emptying the list is not a change of selection anyone acts on.
    void clear() override;
    void append(const QList<ResultEntry> &entries) override;

    // The line exactly as published; the shown text marks line breaks.
    static QString publishedLine(const QListWidgetItem *item);
    // Every entry as published, in list order.
    QList<ResultEntry> entries() const;

    qsizetype count() const override;
    bool isSelected(qsizetype entry) const override;
    QString word(qsizetype entry) const override;
    QStringList words(qsizetype entry) const override;

private:
    QListWidget *m_list;
};

} // namespace tq::ui
