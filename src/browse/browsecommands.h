// The commands that act on the document from the word list: bolding the
// occurrences of the words chosen in it, and "Clear All". Knows the document
// only through the text surface and the list only through the small interface
// below.
#pragma once

#include "documenttext.h"
#include "resultlist.h"
#include "textsurface.h"

#include <QString>

namespace tq {

// The word list as browsing sees it: entries in list order, each with its
// selected flag and the word it was published with.
class ListSelection
{
public:
    virtual ~ListSelection() = default;
    virtual qsizetype count() const = 0;
    virtual bool isSelected(qsizetype entry) const = 0;
    virtual QString word(qsizetype entry) const = 0;
};

// With bold wanted: clears all bold, then bolds every occurrence of every
// selected word, case-insensitively, overlapping ones included. Leaves the
// last bolded occurrence selected (the whole text when nothing was bolded).
void boldSelectedWords(TextSurface &surface, const ListSelection &list);
// The same, reading the text and its lowered form from document, which keeps
// them from one call to the next while the text stays the same.
void boldSelectedWords(TextSurface &surface, const ListSelection &list, DocumentText &document);

// "Clear All": the formatting reset, then an empty document and an empty list.
void clearAll(TextSurface &surface, ResultList &list);

} // namespace tq
