// The command-line options shared by tallyquill --analyze and tq-analyze: the
// window's settings and what counts as a word and which part of the text is
// analysed. One definition, so both tools take, explain and refuse them alike:
//   --sensitivity N          distance of a coloured repetition, 20 to 400
//   --min-length TEXT        the Minimum Word Check Length box, as typed
//   --filter                 Filter Using Minimum Length
//   --mode none|begin|complete   the match mode
//   --ignore FILE            words never listed or coloured, one per line
//   --range FIRST,LAST       analyse only these UTF-16 offsets, both included
//   --line-breaks-separate   a line break separates words as a space does
//   --all-letters            letters of every language count as letters
//   --word-forms LANGUAGE    list word families by a Snowball stemmer
#pragma once

#include "controls.h"
#include "passoptions.h"

#include <QByteArray>
#include <QCommandLineOption>
#include <QList>
#include <QStringList>

#include <optional>
#include <utility>

class QCommandLineParser;

namespace tq::cli {

struct AnalysisOptions
{
    // The options, for a QCommandLineParser and its help text.
    static QList<QCommandLineOption> options();

    // Takes the options set on a parsed parser (which holds options()); returns
    // the reason when one is refused (a value out of range, a file that cannot
    // be read or is not UTF-8, a range that is not two offsets).
    QString read(const QCommandLineParser &parser);
    // The range checked against the text: 0 <= FIRST <= LAST < length.
    QString checkRange(qsizetype textLength) const;
    // What the pass takes beyond the controls (the phrases are each tool's).
    PassOptions passOptions() const;

    FixedControls controls;
    QStringList ignored;
    std::optional<std::pair<qsizetype, qsizetype>> range;
    bool lineBreaksSeparate = false;
    bool allLetters = false;
    QString wordForms;   // the stemmer's language; empty for the plain list
};

// An ignore list file: UTF-8 split at line feeds, a leading byte order mark
// dropped, spaces, tabs and carriage returns stripped from the ends of each
// line, blank lines skipped. Empty with error set for bytes that are not UTF-8.
std::optional<QStringList> readIgnoreList(const QByteArray &bytes, QString &error);

// "FIRST,LAST": two offsets written in decimal digits, nothing else.
std::optional<std::pair<qsizetype, qsizetype>> readRange(QStringView text);

} // namespace tq::cli
