#include "reference.h"

#include "highlighter.h"
#include "minimumlength.h"
#include "textrules.h"
#include "tokencleaner.h"
#include "wordforms.h"

#include <QMap>

#include <algorithm>
#include <utility>

namespace tq {

namespace {

template<typename Row>
void selectionSort(QList<Row> &rows)
{
    for (qsizetype i = 0; i + 1 < rows.size(); ++i) {
        qint64 bestCount = 0;
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

} // namespace

void selectionSortByCount(QList<WordTable::Row> &rows)
{
    selectionSort(rows);
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

struct Token
{
    QString word;
    bool endsClause = false;
    bool inPhrases = false;
};

QList<ResultEntry> familyEntries(const QList<WordTable::Row> &firstSeen,
                                 const QList<WordTable::Row> &listed, const QString &language)
{
    Stemmer stemmer(language);
    struct Family
    {
        QByteArray key;   // the stem, or nothing for the empty word's family
        QStringList forms;
        qint64 count = 0;
    };
    auto keyOf = [&stemmer](const QString &word) {
        if (word.isEmpty())
            return QByteArray();
        const std::string_view stem = stemmer.stem(word);
        return QByteArray("s") + QByteArray(stem.data(), qsizetype(stem.size()));
    };
    QList<Family> families;
    auto familyOf = [&families](const QByteArray &key) -> Family & {
        for (Family &f : families) {
            if (f.key == key)
                return f;
        }
        families.append({key, {}, 0});
        return families.last();
    };
    for (const WordTable::Row &row : firstSeen)
        familyOf(keyOf(row.word)).count += row.count;
    for (const WordTable::Row &row : listed)
        familyOf(keyOf(row.word)).forms.append(row.word);
    selectionSort(families);
    QList<ResultEntry> entries;
    for (const Family &f : std::as_const(families))
        entries.append({QString::number(f.count) + QStringLiteral(" - ") + f.forms.join(u' '),
                        f.forms.first(), f.forms, f.count});
    return entries;
}

QList<RepeatedPhrase> phrasesOf(const QList<Token> &tokens, const IgnoredWords &ignored,
                                double minimumLength)
{
    struct Found
    {
        qint32 count = 0;
        qint32 words = 0;
        qsizetype first = 0;
        bool content = false;
    };
    QMap<QString, Found> found;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        for (qint32 k = 2; k <= 6 && i + k <= tokens.size(); ++k) {
            QStringList words;
            bool content = false;
            bool occurs = true;
            for (qsizetype j = i; j < i + k; ++j) {
                if (!tokens[j].inPhrases || (j < i + k - 1 && tokens[j].endsClause))
                    occurs = false;
                words.append(tokens[j].word);
                if (!ignored.contains(tokens[j].word) && double(tokens[j].word.size()) >= minimumLength)
                    content = true;
            }
            if (!occurs)
                continue;
            Found &f = found[words.join(u' ')];
            if (f.count == 0)
                f = Found{0, k, i, content};
            ++f.count;
        }
    }
    auto candidate = [](const Found &f) { return f.count >= 2 && f.content; };
    QList<RepeatedPhrase> listed;
    for (auto p = found.cbegin(); p != found.cend(); ++p) {
        if (!candidate(*p))
            continue;
        bool inLonger = false;
        for (auto q = found.cbegin(); q != found.cend(); ++q) {
            if (q->words == p->words + 1 && candidate(*q) && q->count == p->count
                && (u' ' + q.key() + u' ').contains(u' ' + p.key() + u' '))
                inLonger = true;
        }
        if (!inLonger)
            listed.append({p.key(), p->count, p->words, p->first});
    }
    std::stable_sort(listed.begin(), listed.end(), [](const RepeatedPhrase &a, const RepeatedPhrase &b) {
        if (a.count != b.count)
            return a.count > b.count;
        if (a.words != b.words)
            return a.words > b.words;
        return a.firstToken < b.firstToken;
    });
    return listed;
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
    QList<Token> tokens;
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
        Token token{word, false, !word.isEmpty()};
        for (qsizetype i = cleaned.tokenLength; i < cut.size(); ++i)
            token.endsClause = token.endsClause || QStringLiteral(".!?;:\u2026").contains(cut[i]);
        for (QChar c : cut)
            token.inPhrases = token.inPhrases && !(c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r'
                                                   || c == QChar(0x2028) || c == QChar(0x2029));
        tokens.append(token);

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
    const QList<WordTable::Row> firstSeen = rows;
    selectionSortByCount(rows);
    QList<ResultEntry> entries;
    if (!options.wordForms.isEmpty()) {
        entries = familyEntries(firstSeen, rows, options.wordForms);
    } else {
        for (const WordTable::Row &row : std::as_const(rows))
            entries.append({listLine(row), row.word, {}, row.count});
    }
    list.append(entries);
    PassOutcome outcome{true, paletteIndex, {}};
    if (options.phrases)
        outcome.phrases = phrasesOf(tokens, options.ignored, minimumLength.read(controls).value_or(0));
    return outcome;
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
        for (const QString &word : list.words(i)) {
            for (qsizetype o : occurrencesToBold(surface.text(), word)) {
                surface.select(o, word.size());
                surface.setSelBold(true);
            }
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
