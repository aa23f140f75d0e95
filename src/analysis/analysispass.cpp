#include "analysispass.h"

#include "documenttext.h"
#include "highlighter.h"
#include "minimumlength.h"
#include "tokencleaner.h"

namespace tq {

void ClearBold(TextSurface &surface)
{
    surface.select(0, surface.text().size());
    surface.setSelBold(false);
}

void resetFormatting(TextSurface &surface)
{
    surface.select(0, surface.text().size());
    surface.setSelColor(0);
    ClearBold(surface);
}

QString listLine(const WordTable::Row &row)
{
    return QString::number(row.count) + QStringLiteral(" - ") + row.word;
}

void publish(WordTable &table, ResultList &list, Algorithm algorithm)
{
    list.clear();
    table.sortByCount(algorithm);
    QList<ResultEntry> entries;
    entries.reserve(table.upperBound());
    for (qsizetype i = 1; i <= table.upperBound(); ++i)
        entries.append(ResultEntry{listLine(table.row(i)), table.row(i).word});
    list.append(entries);
}

namespace {

// The lowered form of a slice of the document's text, taken from the lowered
// copy of the whole text instead of lowering the slice again.
QStringView loweredSlice(DocumentText &document, QStringView slice)
{
    return QStringView(document.lowered()).sliced(slice.data() - document.text().data(), slice.size());
}

} // namespace

PassOutcome runAnalysisPass(TextSurface &surface, AnalysisControls &controls, ResultList &list,
                            WordTable &table, const YieldFunction &yield, Algorithm algorithm,
                            const QLocale &locale)
{
    const bool straightforward = algorithm == Algorithm::Straightforward;
    DocumentText document(surface);
    // The text can change only while the pass yields; the straightforward
    // reading takes it afresh at every use all the same.
    auto text = [&]() -> QString { return straightforward ? surface.text() : document.text(); };

    MinimumLength minimumLength;
    TokenCleaner cleaner(locale);
    RepetitionHighlighter highlighter(surface, document, controls, minimumLength, algorithm);
    QString word;   // the lowered word, reused between tokens

    table.recreate();
    resetFormatting(surface);
    highlighter.startPass();

    qsizetype scanPos = 0;
    for (;;) {
        document.sync();
        if (!(scanPos < text().size()))
            break;
        highlighter.startToken();
        const QString current = text();
        const qsizetype space = current.indexOf(u' ', scanPos);
        const bool last = space < 0;
        const QStringView cut = last ? QStringView(current).sliced(scanPos)
                                     : QStringView(current).sliced(scanPos, space - scanPos);
        const CleanedToken cleaned = cleaner.clean(cut);

        // A minimum length that cannot be converted abandons the test, and
        // the token is then not counted whatever the filter says.
        if (const std::optional<double> minimum = minimumLength.read(controls)) {
            const bool tooShort = double(cleaned.word.size()) < *minimum;
            if (!(controls.filterOn() && tooShort)) {
                if (straightforward) {
                    lowerCaseInto(cleaned.word, word);
                    table.count(word, algorithm);
                } else {
                    table.count(loweredSlice(document, cleaned.word));
                }
            }
        }
        if (last)
            break;

        highlighter.HighlightRepeats(scanPos, cleaned.token);
        scanPos = space + 1;
        controls.setProgress(float(double(scanPos) / double(text().size()) * 100.0));
        if (yield && !yield())
            return {false, highlighter.paletteIndex()};
    }
    controls.setProgress(100.0f);
    publish(table, list, algorithm);
    return {true, highlighter.paletteIndex()};
}

} // namespace tq
