// Word forms: the words of the list grouped into families by the stem that a
// Snowball stemmer gives for them ("nod", "nodded", "nods" and "nodding" are
// one family in English), each family counted as the sum of its words.
#pragma once

#include "resultlist.h"
#include "wordtable.h"

#include <QByteArray>
#include <QStringList>

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

    // The stem of a lower-case word, in UTF-8.
    QByteArray stem(QStringView word);

    // The languages the stemmers know, by the names they take ("english", ...).
    static QStringList languages();
    static bool knows(const QString &language) { return languages().contains(language); }

private:
    sb_stemmer *m_stemmer = nullptr;
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
// family of its own.
QList<WordFamily> groupWordForms(WordTable &table, const QString &language);

} // namespace tq
