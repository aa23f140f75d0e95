// Coverage-guided fuzzer for the analysis engine and the word bolding.
//
// The input picks a document (a dense alphabet of the characters the rules
// care about, plus raw UTF-16 units: lone surrogates, NUL, line breaks), the
// settings, a selection of list entries, and optionally an edit, a settings
// change or a stop at one of the pass's yields. Each input runs the pass with
// the fast and the straightforward algorithms and aborts when their results
// differ or when a result breaks a rule any correct pass keeps.
#include "passrun.h"
#include "textrules.h"
#include "tokencleaner.h"

#include <QHash>
#include <QLocale>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace tq;
using tq::testing::RecordingControls;

namespace {

[[noreturn]] void failed(const char *what)
{
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

#define CHECK(cond) \
    do { \
        if (!(cond)) \
            failed(#cond); \
    } while (false)

// Reads the fuzzer's bytes; past the end every read gives 0.
class Input
{
public:
    Input(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}
    uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    bool atEnd() const { return m_pos >= m_size; }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// Spaces are frequent so that tokens are short and repeat; the rest are the
// characters that each rule singles out.
const char16_t DocumentAlphabet[] = {
    u' ', u' ', u' ', u' ', u'a', u'b', u'c', u'A', u'B', u'C', u'e', u'E', u't', u'h', u'T',
    u'x', u'\t', u'\r', u'\n', u'\0', u'0', u'1', u'9', u'.', u',', u'-', u'+', u'(', u')',
    u'\'', u'&', 0xD800, 0xDC00, 0xD83D, 0xDE00, 0x00E9, 0x00C9, 0x0130, 0x212A, 0x0301,
    0x05D0, 0x200F, 0xFFFD, 0x00A0, 0x2028, 0x0660,
};

const char *const MinimumLengthTexts[] = {
    "3", "0", "1", "2", "-5", "2.5", "", "abc", "1e999", "1e308", "&HFFFFFFFF", "&O777",
    "4 letters", "  3  ", "-1e999", "&H", "1 0", "0.5", "-0", "&hff", "1e-999", "5",
};

const char MinimumLengthAlphabet[] = "0123456789.-+eE&HOhabc \t\n,";

QString readDocument(Input &in)
{
    QString text;
    while (!in.atEnd()) {
        const uint8_t b = in.byte();
        if (b >= 0xF0) {
            const char16_t unit = char16_t((in.byte() << 8) | in.byte());
            text.append(QChar(unit));
        } else {
            text.append(QChar(DocumentAlphabet[b % std::size(DocumentAlphabet)]));
        }
    }
    return text;
}

QString readMinimumLength(Input &in)
{
    const uint8_t choice = in.byte();
    if (choice < 0xC0)
        return QString::fromLatin1(MinimumLengthTexts[choice % std::size(MinimumLengthTexts)]);
    QString text;
    for (int n = choice & 0x0f; n > 0; --n)
        text.append(QLatin1Char(MinimumLengthAlphabet[in.byte() % (sizeof MinimumLengthAlphabet - 1)]));
    return text;
}

MatchMode modeFrom(uint8_t bits)
{
    switch (bits % 3) {
    case 1: return MatchMode::BeginningOfWord;
    case 2: return MatchMode::CompleteWords;
    default: return MatchMode::NoFilters;
    }
}

// Something that happens at one of the pass's yields.
struct YieldEvent
{
    bool edit = false;
    bool clearAll = false;
    bool changeSettings = false;
    bool stop = false;
    uint8_t at = 0;          // the yield it happens at, counted from 0
    uint8_t where = 0;       // edit offset, as a share of the text
    uint8_t removed = 0;
    uint8_t inserted = 0;
    uint8_t newSensitivity = 0;
    uint8_t newMode = 0;
    uint8_t newMinimum = 0;
};

struct Case
{
    QString text;
    FixedControls controls;
    YieldEvent event;
    uint8_t selectionKind = 0;
    uint32_t selectionMask = 0;
};

Case readCase(Input &in)
{
    Case c;
    const uint8_t flags = in.byte();
    c.controls.filter = flags & 1;
    c.controls.mode = modeFrom(uint8_t((flags >> 1) & 3));
    c.event.edit = flags & 0x08;
    c.event.changeSettings = flags & 0x10;
    c.event.stop = flags & 0x20;
    c.event.clearAll = (flags & 0xC0) == 0xC0;
    c.controls.sens = ((in.byte() << 8) | in.byte()) % 451;
    c.controls.minLength = readMinimumLength(in);
    c.selectionKind = in.byte();
    for (int i = 0; i < 4; ++i)
        c.selectionMask = (c.selectionMask << 8) | in.byte();
    if (c.event.edit || c.event.changeSettings || c.event.stop || c.event.clearAll) {
        c.event.at = in.byte();
        c.event.where = in.byte();
        c.event.removed = in.byte() % 16;
        c.event.inserted = in.byte();
        c.event.newSensitivity = in.byte();
        c.event.newMode = in.byte();
        c.event.newMinimum = in.byte();
    }
    c.text = readDocument(in);
    return c;
}

class Selection : public ListSelection
{
public:
    Selection(const QList<ResultEntry> &entries, uint8_t kind, uint32_t mask)
        : m_entries(entries), m_kind(kind), m_mask(mask) {}
    qsizetype count() const override { return m_entries.size(); }
    bool isSelected(qsizetype entry) const override
    {
        switch (m_kind % 4) {
        case 0: return false;
        case 1: return true;
        case 2: return entry % (1 + m_kind / 4) == 0;
        default: return (m_mask >> (entry % 32)) & 1;
        }
    }
    QString word(qsizetype entry) const override { return m_entries.at(entry).word; }
    QStringList words(qsizetype entry) const override
    {
        const ResultEntry &e = m_entries.at(entry);
        return e.forms.isEmpty() ? QStringList{e.word} : e.forms;
    }

private:
    const QList<ResultEntry> &m_entries;
    uint8_t m_kind;
    uint32_t m_mask;
};

struct Run
{
    PassOutcome outcome;
    QList<ResultEntry> entries;
    QString text;
    QList<Colour> colour;
    QList<bool> bold;          // right after the pass
    QList<bool> boldAfter;     // after bolding the selected entries
    qsizetype selStart = 0;
    qsizetype selLength = 0;
    QList<float> progress;
    int yields = 0;
};

const QLocale &locale()
{
    static const QLocale l(QLocale::English, QLocale::UnitedStates);
    return l;
}

void applyEvent(const YieldEvent &e, MemorySurface &surface, FixedControls &controls,
                ResultList &list)
{
    if (e.clearAll) {
        clearAll(surface, list);
        return;
    }
    if (e.edit) {
        static const QString Inserts[] = {
            QString(), QStringLiteral("a"), QStringLiteral(" "), QStringLiteral("cat "),
            QStringLiteral("  "), QStringLiteral("X\u0301"), QStringLiteral("Cat cat"),
        };
        const qsizetype size = surface.text().size();
        surface.replace(size * e.where / 256, e.removed, Inserts[e.inserted % std::size(Inserts)]);
    }
    if (e.changeSettings) {
        controls.sens = e.newSensitivity * 2;
        controls.mode = modeFrom(e.newMode);
        controls.filter = !controls.filter;
        controls.minLength = QString::fromLatin1(
            MinimumLengthTexts[e.newMinimum % std::size(MinimumLengthTexts)]);
    }
}

Run runCase(const Case &c, Algorithm algorithm, bool filter, const PassOptions &options = {})
{
    MemorySurface surface(c.text);
    RecordingControls controls;
    static_cast<FixedControls &>(controls) = c.controls;
    controls.filter = filter;
    MemoryList list;
    WordTable table;
    Run run;
    const bool eventful = c.event.edit || c.event.changeSettings || c.event.stop || c.event.clearAll;
    auto yield = [&]() {
        const int index = run.yields++;
        if (eventful && index == c.event.at) {
            if (c.event.stop)
                return false;
            applyEvent(c.event, surface, controls, list);
        }
        return true;
    };
    run.outcome = runPass(algorithm, surface, controls, list, table, yield, options, locale());
    run.entries = list.entries;
    run.text = surface.text();
    for (qsizetype i = 0; i < run.text.size(); ++i) {
        run.colour.append(surface.colourAt(i));
        run.bold.append(surface.boldAt(i));
    }
    run.selStart = surface.selStart();
    run.selLength = surface.selLength();
    run.progress = controls.values;

    boldSelectedWords(surface, Selection(run.entries, c.selectionKind, c.selectionMask));
    CHECK(surface.text() == run.text);
    for (qsizetype i = 0; i < run.text.size(); ++i) {
        CHECK(surface.colourAt(i) == run.colour[i]);
        run.boldAfter.append(surface.boldAt(i));
    }
    return run;
}

void checkSame(const Run &a, const Run &b)
{
    CHECK(a.outcome.completed == b.outcome.completed);
    CHECK(a.outcome.paletteIndex == b.outcome.paletteIndex);
    CHECK(a.entries.size() == b.entries.size());
    for (qsizetype i = 0; i < a.entries.size(); ++i) {
        CHECK(a.entries[i].line == b.entries[i].line);
        CHECK(a.entries[i].word == b.entries[i].word);
        CHECK(a.entries[i].forms == b.entries[i].forms);
    }
    CHECK(a.outcome.phrases == b.outcome.phrases);
    CHECK(a.text == b.text);
    CHECK(a.colour == b.colour);
    CHECK(a.bold == b.bold);
    CHECK(a.boldAfter == b.boldAfter);
    CHECK(a.selStart == b.selStart);
    CHECK(a.selLength == b.selLength);
    CHECK(a.progress == b.progress);
}

bool isPaletteColour(Colour c)
{
    for (Colour p : Palette)
        if (c == p)
            return true;
    return false;
}

// Rules that hold whatever happened during the pass.
void checkAlways(const Run &run)
{
    for (Colour c : run.colour)
        CHECK(c == 0 || isPaletteColour(c));
    for (float p : run.progress)
        CHECK(p >= 0.0f && p <= 100.0f);
    if (run.outcome.completed)
        CHECK(!run.progress.isEmpty() && run.progress.back() == 100.0f);
    for (bool b : run.bold)
        CHECK(!b);   // the reset clears bold and the pass never sets it
    CHECK(run.outcome.paletteIndex >= 0);
    CHECK(run.outcome.paletteIndex <= run.yields + 1);
}

struct Token
{
    qsizetype offset;
    QString cut;
    bool spaceAfter;   // only such tokens are searched for and yield
};

// The tokens between single spaces; after a final space there is none.
QList<Token> tokensOf(const QString &text)
{
    QList<Token> tokens;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype space = text.indexOf(u' ', pos);
        if (space < 0) {
            tokens.append({pos, text.sliced(pos), false});
            break;
        }
        tokens.append({pos, text.sliced(pos, space - pos), true});
        pos = space + 1;
    }
    return tokens;
}

qint64 countOf(const ResultEntry &e)
{
    const qsizetype dash = e.line.indexOf(QStringLiteral(" - "));
    CHECK(dash > 0);
    CHECK(e.line.sliced(dash + 3) == e.word);
    bool ok = false;
    const qint64 n = e.line.first(dash).toLongLong(&ok);
    CHECK(ok && n >= 1);
    CHECK(QString::number(n) == e.line.first(dash));
    return n;
}

QHash<QString, qint64> countsOf(const QList<ResultEntry> &entries)
{
    QHash<QString, qint64> counts;
    qint64 previous = -1;
    for (const ResultEntry &e : entries) {
        const qint64 n = countOf(e);
        CHECK(previous < 0 || n <= previous);
        previous = n;
        CHECK(!counts.contains(e.word));
        CHECK(lowerCase(e.word) == e.word);
        counts.insert(e.word, n);
    }
    return counts;
}

bool acceptedByMode(const QString &text, qsizetype at, qsizetype length, MatchMode mode)
{
    const bool afterMark = at > 0 && (text[at - 1] == u' ' || text[at - 1] == u'\t');
    switch (mode) {
    case MatchMode::NoFilters:
        return true;
    case MatchMode::BeginningOfWord:
        return at == 0 || afterMark;
    case MatchMode::CompleteWords:
        return at > 0 && at + length < text.size() && !isLetter(text[at + length].unicode())
            && afterMark;
    }
    return false;
}

// Rules for a pass that ran to its end on an untouched document.
void checkUndisturbed(const Case &c, const Run &run, const Run &filtered)
{
    CHECK(run.outcome.completed);
    CHECK(run.text == c.text);
    const QList<Token> tokens = tokensOf(c.text);
    const std::optional<double> minimum = numericPrefix(c.controls.minLength);
    const QHash<QString, qint64> counts = countsOf(run.entries);
    const QHash<QString, qint64> filteredCounts = countsOf(filtered.entries);

    // Progress: one value per token followed by a space, then 100.
    qsizetype spaced = 0;
    for (const Token &t : tokens)
        spaced += t.spaceAfter;
    CHECK(run.progress.size() == spaced + 1);
    CHECK(run.yields == spaced);

    // With the filter off every token is counted under its cleaned, lowered
    // word; a minimum that cannot be converted counts nothing.
    TokenCleaner cleaner(locale());
    QHash<QString, qint64> expected;
    for (const Token &t : tokens) {
        const CleanedToken cleaned = cleaner.clean(t.cut);
        expected[lowerCase(QStringView(t.cut).sliced(cleaned.wordStart, cleaned.wordLength))] += 1;
    }
    if (!minimum) {
        CHECK(run.entries.isEmpty());
        CHECK(filtered.entries.isEmpty());
    } else {
        CHECK(counts == expected);
        qint64 total = 0;
        for (qint64 n : counts)
            total += n;
        CHECK(total == tokens.size());
        // With the filter on, exactly the words that are long enough stay,
        // with the same counts.
        QHash<QString, qint64> longEnough;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            if (!(double(it.key().size()) < *minimum))
                longEnough.insert(it.key(), it.value());
        CHECK(filteredCounts == longEnough);
    }

    // The filter plays no part in colouring.
    CHECK(filtered.colour == run.colour);
    CHECK(filtered.outcome.paletteIndex == run.outcome.paletteIndex);
    CHECK(filtered.selStart == run.selStart && filtered.selLength == run.selLength);

    // Every coloured character lies in a token that has a coloured occurrence,
    // or in such an occurrence: one that passes the match mode and starts
    // within the sensitivity after the token.
    const QString lowered = lowerCase(c.text);
    std::vector<char> covered(size_t(c.text.size()), 0);
    for (qsizetype k = 0; minimum && k < tokens.size(); ++k) {
        if (!tokens[k].spaceAfter)
            continue;
        const qsizetype length = cleaner.clean(tokens[k].cut).tokenLength;
        if (length == 0 || double(length) < *minimum)
            continue;
        const QString pattern = lowerCase(QStringView(tokens[k].cut).first(length));
        const qsizetype scanPos = tokens[k].offset;
        const qsizetype last = std::min<qsizetype>(scanPos + c.controls.sens, c.text.size() - length);
        // The first search starts on the token's own last character.
        bool anyOccurrence = false;
        for (qsizetype at = scanPos + length - 1; at <= last; ++at) {
            if (QStringView(lowered).sliced(at, length) != pattern)
                continue;
            if (!acceptedByMode(c.text, at, length, c.controls.mode))
                continue;
            bool allColoured = true;
            for (qsizetype i = at; i < at + length; ++i)
                allColoured = allColoured && run.colour[i] != 0;
            if (allColoured) {
                std::fill_n(covered.begin() + at, length, 1);
                anyOccurrence = true;
            }
        }
        if (anyOccurrence)
            std::fill_n(covered.begin() + scanPos, length, 1);
    }
    for (qsizetype i = 0; i < c.text.size(); ++i)
        CHECK(run.colour[i] == 0 || covered[size_t(i)]);
    if (!minimum)
        CHECK(run.outcome.paletteIndex == 0);

    // Bold: as the plain loop over the selected entries gives it.
    MemorySurface plain(c.text);
    referenceBold(plain, Selection(run.entries, c.selectionKind, c.selectionMask));
    for (qsizetype i = 0; i < c.text.size(); ++i)
        CHECK(run.boldAfter[i] == plain.boldAt(i));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Input in(data, size);
    const Case c = readCase(in);
    const bool eventful = c.event.edit || c.event.changeSettings || c.event.stop || c.event.clearAll;

    const Run fast = runCase(c, Algorithm::Fast, c.controls.filter);
    const Run reference = runCase(c, Algorithm::Straightforward, c.controls.filter);
    checkAlways(fast);
    checkSame(fast, reference);

    // Every option on: line breaks separate words, letters of every
    // language, and words ignored (in another case, with an accent).
    static const PassOptions everyOption{
        WordRules{true, true},
        IgnoredWords({QStringLiteral("Cat"), QStringLiteral("A"), QStringLiteral("x\u0301"),
                      QStringLiteral("caf\u00e9")})};
    const Run fastWithOptions = runCase(c, Algorithm::Fast, c.controls.filter, everyOption);
    checkAlways(fastWithOptions);
    checkSame(fastWithOptions, runCase(c, Algorithm::Straightforward, c.controls.filter, everyOption));

    // Word forms and repeated phrases, with and without the other options.
    PassOptions forms = c.text.size() % 2 ? everyOption : PassOptions{};
    forms.wordForms = QStringLiteral("english");
    forms.phrases = true;
    const Run fastWithForms = runCase(c, Algorithm::Fast, c.controls.filter, forms);
    checkAlways(fastWithForms);
    checkSame(fastWithForms, runCase(c, Algorithm::Straightforward, c.controls.filter, forms));
    if (!eventful) {
        const Run unfiltered = c.controls.filter ? runCase(c, Algorithm::Fast, false) : fast;
        const Run filtered = c.controls.filter ? fast : runCase(c, Algorithm::Fast, true);
        checkUndisturbed(c, unfiltered, filtered);
    }
    return 0;
}
