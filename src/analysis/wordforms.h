// Word forms: the words of the list grouped into families by the stem that a
// Snowball stemmer gives for them ("nod", "nodded", "nods" and "nodding" are
// one family in English), each family counted as the sum of its words.
#pragma once

#include "resultlist.h"
#include "wordtable.h"
#include "yieldfunction.h"

#include <QByteArray>
#include <QStringEncoder>
#include <QStringList>

#include <optional>
#include <string_view>

struct sb_stemmer;

namespace tq {

class Stemmer
{
public:
    // A language that the stemmers do not know stems every word to itself.
    explicit Stemmer(const QString &language);
    ~Stemmer();
    Stemmer(const Stemmer &) = delete;
    Stemmer &operator=(const Stemmer &) = delete;

    // The stem of a lower-case word, in UTF-8, valid until the next call.
    std::string_view stem(QStringView word);

    // The languages the stemmers know, by the names they take ("english", ...).
    static QStringList languages();
    static bool knows(const QString &language) { return languages().contains(language); }

private:
    sb_stemmer *m_stemmer = nullptr;
    // Each word encoded on its own, into a buffer reused word after word.
    QStringEncoder m_encoder{QStringEncoder::Utf8, QStringConverter::Flag::Stateless};
    QByteArray m_word;
};

struct WordFamily
{
    QStringList forms;   // in the order of the ungrouped list
    QList<qint64> formCounts;   // each form's count, beside forms
    qint64 count = 0;
};

// "count - form form ..."
QString familyLine(const WordFamily &family);

// Groups the rows of table, which must still be in the order the words were
// first seen, and orders table by count as the plain list does. The families
// come out in the list's order (by count, the sort's tie rule over the order
// in which each family's first word was first seen). The empty word is a
// family of its own. Breathe, when given, is called word by word; nothing
// comes out, and the table may be left ordered or not, when it returns false.
std::optional<QList<WordFamily>> groupWordForms(WordTable &table, const QString &language,
                                                const YieldFunction &breathe = {});

} // namespace tq
