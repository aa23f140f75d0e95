// What a writer may choose about a pass beyond the window's controls: the
// word rules and the words to leave alone. The defaults change nothing.
#pragma once

#include "stringhash.h"
#include "textrules.h"

#include <QHashFunctions>
#include <QStringList>

#include <unordered_set>

namespace tq {

// A list of words to ignore as a writer types it, one per line: spaces, tabs
// and carriage returns at the ends of a line are not part of the word, and
// blank lines are skipped. The same for a file given on the command line and
// for the window's dialog.
inline QStringList ignoredWordLines(QStringView text)
{
    auto blank = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\r'; };
    QStringList words;
    for (QStringView line : text.split(u'\n')) {
        while (!line.isEmpty() && blank(line.front()))
            line = line.sliced(1);
        while (!line.isEmpty() && blank(line.back()))
            line.chop(1);
        if (!line.isEmpty())
            words.append(line.toString());
    }
    return words;
}

// Words never listed and never searched for repetitions, compared with each
// cleaned word once both are lowered the way the list lowers words.
class IgnoredWords
{
public:
    IgnoredWords() = default;
    // Entries are lowered, not trimmed or cleaned otherwise; the empty word
    // is never ignored.
    explicit IgnoredWords(const QStringList &entries)
    {
        for (const QString &entry : entries) {
            if (!entry.isEmpty())
                m_words.insert(lowerCase(entry));
        }
    }

    bool isEmpty() const { return m_words.empty(); }
    QStringList entries() const { return QStringList(m_words.begin(), m_words.end()); }
    bool contains(QStringView loweredWord) const
    {
        return !m_words.empty() && m_words.find(loweredWord) != m_words.end();
    }

private:
    std::unordered_set<QString, StringViewHash, StringViewEqual> m_words;
};

struct PassOptions
{
    WordRules rules;
    IgnoredWords ignored;
    // The stemmer's language when the list shows word families; empty for
    // the plain word list.
    QString wordForms = {};
    // Whether the pass also finds the repeated phrases.
    bool phrases = false;
};

} // namespace tq
