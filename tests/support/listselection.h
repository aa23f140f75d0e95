// A word list for browsing tests: the words in list order and which are selected.
#pragma once

#include "browsecommands.h"

#include <QList>
#include <QStringList>

struct TestSelection : tq::ListSelection
{
    QStringList words;
    QList<bool> selected;
    qsizetype count() const override { return words.size(); }
    bool isSelected(qsizetype i) const override { return selected.at(i); }
    QString word(qsizetype i) const override { return words.at(i); }
};
