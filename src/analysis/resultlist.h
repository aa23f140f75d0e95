// The word list that a pass publishes into.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tq {

struct ResultEntry
{
    QString line;   // "count - word", as shown
    QString word;   // the word itself, for finding its occurrences later
    // A family entry's words, in the order of the line (word is the first);
    // empty for a word entry.
    QStringList forms = {};
    qint64 count = 0;   // as the line shows it; a family's is the family's
};

// An entry's line breaks (a word may span one: only spaces separate words)
// as the list marks them, so that every entry stays one line.
inline QString withBreaksMarked(QString line)
{
    for (QChar &c : line) {
        const char16_t u = c.unicode();
        if (u == u'\n' || u == u'\r' || u == u'\v' || u == u'\f' || u == 0x2028 || u == 0x2029)
            c = QChar(0x21B5);   // DOWNWARDS ARROW WITH CORNER LEFTWARDS
    }
    return line;
}

class ResultList
{
public:
    virtual ~ResultList() = default;
    virtual void clear() = 0;
    // Appends the entries at the end, in the given order.
    virtual void append(const QList<ResultEntry> &entries) = 0;
};

} // namespace tq
