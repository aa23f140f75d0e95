#include "wordforms.h"

#include "countorder.h"

#include <libstemmer.h>

#include <string>
#include <unordered_map>

namespace tq {

Stemmer::Stemmer(const QString &language)
    : m_stemmer(sb_stemmer_new(language.toUtf8().constData(), "UTF_8"))
{
}

Stemmer::~Stemmer()
{
    if (m_stemmer)
        sb_stemmer_delete(m_stemmer);
}

std::string_view Stemmer::stem(QStringView word)
{
    m_word.resize(m_encoder.requiredSpace(word.size()));
    char *const start = m_word.data();
    const char *end = m_encoder.appendToBuffer(start, word);
    const int length = int(end - start);
    const sb_symbol *stem = m_stemmer ? sb_stemmer_stem(m_stemmer, reinterpret_cast<const sb_symbol *>(start), length)
                                      : nullptr;
    // Only running out of memory gives no stem.
    if (!stem)
        return {start, size_t(length)};
    return {reinterpret_cast<const char *>(stem), size_t(sb_stemmer_length(m_stemmer))};
}

QStringList Stemmer::languages()
{
    QStringList names;
    for (const char *const *name = sb_stemmer_list(); *name; ++name)
        names.append(QString::fromLatin1(*name));
    return names;
}

QString familyLine(const WordFamily &family)
{
    return QString::number(family.count) + QStringLiteral(" - ") + family.forms.join(u' ');
}

namespace {

// A row of the table as the count order sees it, with its family: ordered
// by the same sort as the table, it comes out in the table's new order.
struct CountedForm
{
    qint32 count = 0;
    qint32 family = 0;
};

struct StemHash
{
    using is_transparent = void;
    size_t operator()(std::string_view stem) const { return std::hash<std::string_view>()(stem); }
};

} // namespace

std::optional<QList<WordFamily>> groupWordForms(WordTable &table, const QString &language,
                                                const YieldFunction &breathe)
{
    Stemmer stemmer(language);
    const qsizetype n = table.upperBound();
    // Families in first-seen order, from 1 as the sort wants them.
    QList<WordFamily> families(1);
    std::unordered_map<std::string, qint32, StemHash, std::equal_to<>> byStem;
    qint32 emptyFamily = 0;
    QList<CountedForm> rows(n + 1);
    for (qsizetype r = 1; r <= n; ++r) {
        const WordTable::Row &row = table.row(r);
        qint32 *family = &emptyFamily;
        if (!row.word.isEmpty()) {
            const std::string_view stem = stemmer.stem(row.word);
            auto it = byStem.find(stem);
            if (it == byStem.end())
                it = byStem.emplace(stem, 0).first;
            family = &it->second;
        }
        if (*family == 0) {
            *family = qint32(families.size());
            families.append(WordFamily{});
        }
        families[*family].count += row.count;
        rows[r] = CountedForm{row.count, *family};
        if (yieldEnds(breathe))
            return std::nullopt;
    }
    sortRowsByCount(rows);
    if (yieldEnds(breathe))
        return std::nullopt;
    table.sortByCount();
    if (yieldEnds(breathe))
        return std::nullopt;
    for (qsizetype r = 1; r <= n; ++r) {
        const WordTable::Row &row = table.row(r);
        WordFamily &family = families[rows[r].family];
        family.forms.append(row.word);
        family.formCounts.append(row.count);
        if (yieldEnds(breathe))
            return std::nullopt;
    }
    sortRowsByCount(families);
    families.removeFirst();
    return families;
}

} // namespace tq
