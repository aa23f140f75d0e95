// The command-line options shared by tallyquill --analyze and tq-analyze that
// choose what counts as a word and which part of the text is analysed:
//   --ignore FILE            words never listed or coloured, one per line
//   --range FIRST,LAST       analyse only these UTF-16 offsets, both included
//   --line-breaks-separate   a line break separates words as a space does
//   --all-letters            letters of every language count as letters
// Each tool parses its other options its own way and hands these over here
// by name, so both read them, and refuse them, alike.
#pragma once

#include <QByteArray>
#include <QCommandLineOption>
#include <QList>
#include <QStringList>

#include <optional>
#include <utility>

namespace tq::cli {

class WordOptions
{
public:
    // The four options, for a QCommandLineParser and its help text.
    static QList<QCommandLineOption> options();
    // Whether name (with its leading dashes) is one of them, and whether it
    // takes a value.
    static bool isWordOption(const QString &name);
    static bool takesValue(const QString &name);

    // Takes one option; returns the reason when it is refused (a file that
    // cannot be read or is not UTF-8, a range that is not two offsets).
    QString set(const QString &name, const QString &value = QString());
    // The range checked against the text: 0 <= FIRST <= LAST < length.
    QString checkRange(qsizetype textLength) const;

    QStringList ignored;
    std::optional<std::pair<qsizetype, qsizetype>> range;
    bool lineBreaksSeparate = false;
    bool allLetters = false;
};

// An ignore list file: UTF-8 split at line feeds, a leading byte order mark
// dropped, spaces, tabs and carriage returns stripped from the ends of each
// line, blank lines skipped. Empty with error set for bytes that are not UTF-8.
std::optional<QStringList> readIgnoreList(const QByteArray &bytes, QString &error);

// "FIRST,LAST": two offsets written in decimal digits, nothing else.
std::optional<std::pair<qsizetype, qsizetype>> readRange(QStringView text);

} // namespace tq::cli
