#include "wordbolder.h"

#include "analysispass.h"
#include "textrules.h"

namespace tq {

QList<qsizetype> occurrencesToBold(const QString &text, const QString &word)
{
    QList<qsizetype> offsets;
    // Positions count from 1 here: s is where the next search starts.
    for (qsizetype s = 1; s < text.size();) {
        const qsizetype found = findIgnoringCase(text, word, s - 1) + 1;
        if (found == 0)
            break;
        offsets.append(found - 1);
        s = found + 1;
    }
    return offsets;
}

void boldSelectedWords(TextSurface &surface, const ListSelection &list)
{
    ClearBold(surface);
    // The text does not change while this runs (only formatting does), so
    // one reading serves every search.
    const QString text = surface.text();
    const qsizetype entries = list.count();
    for (qsizetype i = 0; i < entries; ++i) {
        if (!list.isSelected(i))
            continue;
        const QString word = list.word(i);
        for (qsizetype offset : occurrencesToBold(text, word)) {
            surface.select(offset, word.size());
            surface.setSelBold(true);
        }
    }
}

void clearFormatting(TextSurface &surface)
{
    resetFormatting(surface);
}

void clearAll(TextSurface &surface, ResultList &list)
{
    resetFormatting(surface);
    surface.setText(QString());
    list.clear();
}

} // namespace tq
