#include "analysispass.h"

#include "documenttext.h"
#include "highlighter.h"
#include "minimumlength.h"
#include "tokencleaner.h"
#include "wordforms.h"

#include <optional>

namespace tq {

void clearBold(TextSurface &surface)
{
    surface.select(0, surface.text().size());
    surface.setSelBold(false);
}

void resetFormatting(TextSurface &surface)
{
    surface.select(0, surface.text().size());
    surface.setSelColor(0);
    clearBold(surface);
}

QString listLine(const WordTable::Row &row)
{
    return QString::number(row.count) + QStringLiteral(" - ") + row.word;
}

QList<ResultEntry> wordEntries(const WordTable &table)
{
    QList<ResultEntry> entries;
    entries.reserve(table.upperBound());
    for (qsizetype i = 1; i <= table.upperBound(); ++i)
        entries.append(ResultEntry{listLine(table.row(i)), table.row(i).word, {}, table.row(i).count});
    return entries;
}

std::optional<QList<WordFamily>> publish(WordTable &table, ResultList &list, const QString &wordForms,
                                         const YieldFunction &breathe)
{
    if (wordForms.isEmpty()) {
        table.sortByCount();
        list.clear();
        list.append(wordEntries(table));
        return QList<WordFamily>();
    }
    std::optional<QList<WordFamily>> families = groupWordForms(table, wordForms, breathe);
    if (!families)
        return std::nullopt;
    QList<ResultEntry> entries;
    entries.reserve(families->size());
    for (const WordFamily &family : std::as_const(*families)) {
        entries.append(ResultEntry{familyLine(family), family.forms.constFirst(), family.forms, family.count});
        if (yieldEnds(breathe))
            return std::nullopt;
    }
    list.clear();
    list.append(entries);
    return families;
}

PassOutcome runAnalysisPass(TextSurface &surface, AnalysisControls &controls, ResultList &list,
                            WordTable &table, const YieldFunction &yield,
                            const PassOptions &options, const QLocale &locale,
                            const YieldFunction &breathe)
{
    DocumentText document(surface);
    // The text can change only while the pass yields.
    MinimumLength minimumLength;
    TokenCleaner cleaner(locale, options.rules);
    RepetitionHighlighter highlighter(surface, document, controls, minimumLength, options.rules);

    std::optional<PhraseFinder> phrases;
    if (options.phrases)
        phrases.emplace();

    table.recreate();
    resetFormatting(surface);
    highlighter.startPass();

    qsizetype scanPos = 0;
    for (;;) {
        document.sync();
        const QString &text = document.text();
        if (!(scanPos < text.size()))
            break;
        highlighter.startToken();
        const qsizetype space = findTokenEnd(text, scanPos, options.rules);
        const bool last = space < 0;
        const QStringView cut = QStringView(text).sliced(scanPos, (last ? text.size() : space) - scanPos);
        const CleanedToken cleaned = cleaner.clean(cut);

        // A minimum length that cannot be converted abandons the test, and
        // the token is then not counted whatever the filter says.
        // Lowering goes unit by unit, so the lowered word is a slice of the
        // lowered text.
        const QStringView word =
            QStringView(document.lowered()).sliced(scanPos + cleaned.wordStart, cleaned.wordLength);
        // An ignored word is walked over like any token, but neither counted
        // nor searched for.
        const bool ignored = options.ignored.contains(word);
        qsizetype row = 0;
        if (const std::optional<double> minimum = minimumLength.read(controls); minimum && !ignored) {
            const bool tooShort = double(cleaned.wordLength) < *minimum;
            if (!(controls.filterOn() && tooShort))
                row = table.count(word);
        }
        if (phrases)
            phrases->addToken(cut, cleaned, word, row);
        if (last)
            break;

        if (!ignored)
            highlighter.highlightRepeats(scanPos, cleaned.tokenLength);
        scanPos = space + 1;
        controls.setProgress(float(double(scanPos) / double(text.size()) * 100.0));
        if (yieldEnds(yield))
            return {false, highlighter.paletteIndex()};
    }
    controls.setProgress(100.0f);
    PassOutcome outcome{true, highlighter.paletteIndex(), {}, {}};
    // Before the table is ordered by count: the phrases know words by row.
    if (phrases)
        outcome.phrases = phrases->phrases(table, options.ignored, minimumLength.read(controls).value_or(0));
    std::optional<QList<WordFamily>> families = publish(table, list, options.wordForms, breathe);
    if (!families)
        return {false, highlighter.paletteIndex()};
    outcome.families = std::move(*families);
    return outcome;
}

} // namespace tq
