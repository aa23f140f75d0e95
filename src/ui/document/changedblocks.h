// The paragraphs one change of a document touched, for code that follows
// edits and must look at what changed, never at the whole document.
#pragma once

#include <QTextBlock>
#include <QTextDocument>

namespace tq::ui {

// Calls found with each paragraph from the one holding position to the one
// holding position + added, in order, until it returns true; returns whether
// it did.
template<typename Found>
bool anyChangedBlock(const QTextDocument &document, int position, int added, Found found)
{
    const QTextBlock last = document.findBlock(position + added);
    for (QTextBlock b = document.findBlock(position); b.isValid(); b = b.next()) {
        if (found(b))
            return true;
        if (b == last)
            break;
    }
    return false;
}

} // namespace tq::ui
