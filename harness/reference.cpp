#include "reference.h"

#include "highlighter.h"
#include "minimumlength.h"
#include "textrules.h"
#include "tokencleaner.h"

#include <utility>

namespace tq {

void selectionSortByCount(QList<WordTable::Row> &rows)
{
    for (qsizetype i = 0; i + 1 < rows.size(); ++i) {
        qint32 bestCount = 0;
        qsizetype best = -1;
        for (qsizetype j = i; j < rows.size(); ++j) {
            if (rows[j].count > bestCount) {
                bestCount = rows[j].count;
                best = j;
            }
        }
        if (best >= 0)
            std::swap(rows[i], rows[best]);
    }
}

namespace {

// Case-insensitive search: the first offset >= from at which text continues
// with pattern, compared unit by unit through lowerUnit; -1 when there is none.
// An empty pattern is found at from itself while from <= text.size().
qsizetype findIgnoringCase(QStringView text, QStringView pattern, qsizetype from)
{
    if (from < 0 || from > text.size())
        return -1;
    const qsizetype n = pattern.size();
    for (qsizetype p = from; p + n <= text.size(); ++p) {
        qsizetype i = 0;
        while (i < n && lowerUnit(text[i + p].unicode()) == lowerUnit(pattern[i].unicode()))
            ++i;
        if (i == n)
            return p;
    }
    return -1;
}

void count(QList<WordTable::Row> &rows, const QString &word)
{
    for (WordTable::Row &row : rows) {
        if (row.word == word) {
            ++row.count;
            return;
        }
    }
    rows.append({word, 1});
}

// Every occurrence of the token from its own last character on, one after the
// other without overlapping, until one starts beyond the sensitivity.
// Positions below count from 1, offsets from 0.
bool searchAndColour(TextSurface &surface, AnalysisControls &controls, qsizetype scanPos,
                     qsizetype length, Colour fresh, WordRules rules)
{
    bool freshUsed = false;
    qsizetype searchPos = scanPos;
    for (;;) {
        const qsizetype start = searchPos + length;
        const QString text = surface.text();
        if (start < 1 || start > text.size())
            return freshUsed;
        const qsizetype found = findIgnoringCase(text, QStringView(text).sliced(scanPos, length),
                                                 start - 1) + 1;
        if (found == 0 || (found - 1) - scanPos > controls.sensitivity())
            return freshUsed;
        if (acceptsMatch(text, found - 1, length, controls.matchMode(), rules))
            freshUsed = colourPair(surface, scanPos, length, found - 1, fresh);
        searchPos = (found - 1) + length;
    }
}

} // namespace

PassOutcome referencePass(TextSurface &surface, AnalysisControls &controls, ResultList &list,
                          const YieldFunction &yield, const PassOptions &options,
                          const QLocale &locale)
{
    MinimumLength minimumLength;
    TokenCleaner cleaner(locale, options.rules);
    const QStringList ignoredWords = options.ignored.entries();
    QList<WordTable::Row> rows;
    qint64 paletteIndex = 0;

    resetFormatting(surface);
    for (qsizetype scanPos = 0; scanPos < surface.text().size();) {
        const QString text = surface.text();
        qsizetype space = scanPos;
        while (space < text.size() && !separatesTokens(text[space].unicode(), options.rules))
            ++space;
        const bool last = space == text.size();
        const QString cut = last ? text.sliced(scanPos) : text.sliced(scanPos, space - scanPos);
        const CleanedToken cleaned = cleaner.clean(cut);
        const QString word = lowerCase(QStringView(cut).sliced(cleaned.wordStart, cleaned.wordLength));

        const bool ignored = ignoredWords.contains(word);
        if (const std::optional<double> minimum = minimumLength.read(controls)) {
            if (!ignored && !(controls.filterOn() && double(word.size()) < *minimum))
                count(rows, word);
        }
        if (last)
            break;

        const std::optional<double> minimum = minimumLength.read(controls);
        if (!ignored && minimum && !(double(cleaned.tokenLength) < *minimum)
            && searchAndColour(surface, controls, scanPos, cleaned.tokenLength,
                               paletteColour(paletteIndex), options.rules))
            ++paletteIndex;
        scanPos = space + 1;
        controls.setProgress(float(double(scanPos) / double(surface.text().size()) * 100.0));
        if (yield && !yield())
            return {false, paletteIndex};
    }
    controls.setProgress(100.0f);

    list.clear();
    selectionSortByCount(rows);
    QList<ResultEntry> entries;
    for (const WordTable::Row &row : std::as_const(rows))
        entries.append({listLine(row), row.word});
    list.append(entries);
    return {true, paletteIndex};
}

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

void referenceBold(TextSurface &surface, const ListSelection &list)
{
    clearBold(surface);
    for (qsizetype i = 0; i < list.count(); ++i) {
        if (!list.isSelected(i))
            continue;
        for (qsizetype o : occurrencesToBold(surface.text(), list.word(i))) {
            surface.select(o, list.word(i).size());
            surface.setSelBold(true);
        }
    }
}

PassOutcome runPass(Algorithm algorithm, TextSurface &surface, AnalysisControls &controls,
                    ResultList &list, WordTable &table, const YieldFunction &yield,
                    const PassOptions &options, const QLocale &locale)
{
    if (algorithm == Algorithm::Straightforward)
        return referencePass(surface, controls, list, yield, options, locale);
    return runAnalysisPass(surface, controls, list, table, yield, options, locale);
}

} // namespace tq
