// The commands that act on the document from the word list: bolding the
// occurrences of the words chosen in it, and "Clear All". Knows the document
// only through the text surface and the list only through the small interface
// below.
#pragma once

#include "resultlist.h"
#include "textsurface.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace tq {

class WordFinder;

// The word list as browsing sees it: entries in list order, each with its
// selected flag and the word it was published with.
class ListSelection
{
public:
    virtual ~ListSelection() = default;
    virtual qsizetype count() const = 0;
    virtual bool isSelected(qsizetype entry) const = 0;
    virtual QString word(qsizetype entry) const = 0;
    // The words an entry stands for: its word, or a family's forms in the
    // order of its line, each found as a selected word is.
    virtual QStringList words(qsizetype entry) const { return {word(entry)}; }
};

// With bold wanted: clears all bold, then bolds every occurrence of every
// selected word (every word of a selected family), case-insensitively, overlapping ones included. Leaves the
// last bolded occurrence selected (the whole text when nothing was bolded).
void boldSelectedWords(TextSurface &surface, const ListSelection &list);

// The same bolding as a job that goes over the text a piece at a time, so a
// window can bold a book between events: the text in view first, the rest
// in slices, dropping the rest when a newer choice comes. However it is cut
// up, the finished job leaves exactly the bold and the selection of
// boldSelectedWords on the text as it then is.
class BoldJob
{
public:
    // The words selected in list now; the list may change afterwards.
    BoldJob(TextSurface &surface, const ListSelection &list);
    ~BoldJob();
    BoldJob(const BoldJob &) = delete;
    BoldJob &operator=(const BoldJob &) = delete;

    // Gives the characters [first, last) at once the bold the job leaves
    // there, whether or not it has gone over them yet.
    void boldAhead(qsizetype first, qsizetype last);
    // Goes over about characters more of the text; true once the job is
    // done. Should the text have changed since the last step, the job starts
    // over on the new text.
    bool advance(qsizetype characters);
    bool isDone() const { return m_done; }

private:
    void restart();
    void writeBold(qsizetype from, const char *flags, qsizetype count);
    void leaveSelection(qsizetype size);

    TextSurface &m_surface;
    QStringList m_words;                 // each selected word once, lowered
    std::vector<qsizetype> m_order;      // m_words index of every selected entry, list order
    std::unique_ptr<WordFinder> m_finder;
    std::vector<qsizetype> m_last;       // each word's last occurrence so far, -1 if none
    quint64 m_version = 0;
    qsizetype m_bolded = 0;             // the text before this is bolded
    std::vector<char> m_flags;           // one step's bold, reused
    std::vector<char> m_overhang;        // bold reaching past the last step
    bool m_done = false;
};

// "Clear All": the formatting reset, then an empty document and an empty list.
void clearAll(TextSurface &surface, ResultList &list);

} // namespace tq
