#include "wordforms.h"

#include "countorder.h"
#include "stringhash.h"

#include <libstemmer.h>

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

QByteArray Stemmer::stem(QStringView word)
{
    const QByteArray utf8 = word.toUtf8();
    if (!m_stemmer)
        return utf8;
    const sb_symbol *stem = sb_stemmer_stem(m_stemmer, reinterpret_cast<const sb_symbol *>(utf8.constData()),
                                            int(utf8.size()));
    // Only running out of memory gives no stem.
    if (!stem)
        return utf8;
    return QByteArray(reinterpret_cast<const char *>(stem), sb_stemmer_length(m_stemmer));
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

QList<WordFamily> groupWordForms(WordTable &table, const QString &language)
{
    Stemmer stemmer(language);
    const qsizetype n = table.upperBound();
    // Families in first-seen order, from 1 as the sort wants them.
    QList<WordFamily> families(1);
    QHash<QByteArray, qsizetype> byStem;
    qsizetype emptyFamily = 0;
    // Each word's family, by a view of the row's own string: the rows move
    // when the table is ordered, their characters do not.
    std::unordered_map<QStringView, qsizetype, StringViewHash> familyOf;
    familyOf.reserve(size_t(n));
    for (qsizetype r = 1; r <= n; ++r) {
        const WordTable::Row &row = table.row(r);
        qsizetype *family = &emptyFamily;
        if (!row.word.isEmpty())
            family = &byStem[stemmer.stem(row.word)];
        if (*family == 0) {
            *family = families.size();
            families.append(WordFamily{});
        }
        families[*family].count += row.count;
        familyOf.emplace(QStringView(row.word), *family);
    }
    table.sortByCount();
    for (qsizetype r = 1; r <= n; ++r) {
        const WordTable::Row &row = table.row(r);
        WordFamily &family = families[familyOf.at(QStringView(row.word))];
        family.forms.append(row.word);
        family.formCounts.append(row.count);
    }
    sortRowsByCount(families);
    families.removeFirst();
    return families;
}

} // namespace tq
