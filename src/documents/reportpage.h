// The word report as one web page that needs nothing beside it: the word
// families with their forms' counts, the repeated phrases, and where the
// first entries and phrases stand in the book, each as a strip of ticks
// drawn in inline SVG across the whole text, with the chapters marked.
#pragma once

#include "chapters.h"
#include "phrases.h"
#include "wordforms.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace tq::documents {

// One strip: an entry as listed and where its occurrences start.
struct ReportStrip
{
    QString label;
    QList<qsizetype> starts;
};

struct ReportContent
{
    QString title;   // the manuscript's name
    qsizetype textLength = 0;
    QList<WordFamily> families;
    QList<RepeatedPhrase> phrases;
    QList<ReportStrip> strips;
    QList<Chapter> chapters;
};

// How many entries of the list, and how many phrases, get a strip.
inline constexpr qsizetype StripsPerKind = 12;
// The strips' drawing width: every occurrence falls in one of this many
// columns, and a column holds one tick however many fall in it, so a strip
// of a word used 50,000 times stays as small as one of a word used 1,000.
inline constexpr int StripColumns = 1000;

// The columns in which offsets fall, in a text of textLength characters,
// each once, ascending.
QList<int> stripColumns(const QList<qsizetype> &offsets, qsizetype textLength);

// The page, in UTF-8.
QByteArray reportPageBytes(const ReportContent &report);
// Whether a report may be written under the path's suffix (.html, .htm).
bool reportSuffixKnown(const QString &path);

} // namespace tq::documents
