#include "chapters.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace tq::documents {

namespace {

// Longer than this, "Chapter ..." reads as a sentence that happens to start
// with the word ("Chapter one of many things that happened that year").
constexpr qsizetype LongestTitle = 40;

bool isNumber(QStringView text)
{
    if (text.isEmpty() || text.size() > 4)
        return false;
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// An upper-case Roman numeral from I to MMMCMXCIX, written the usual way:
// each decimal place as one of its ten forms, from the thousands down.
bool isRomanNumeral(QStringView text)
{
    static constexpr char16_t places[][3] = {{u'M', 0, 0}, {u'C', u'D', u'M'}, {u'X', u'L', u'C'}, {u'I', u'V', u'X'}};
    qsizetype at = 0;
    auto take = [&](char16_t c) {
        if (at < text.size() && text[at] == c) {
            ++at;
            return true;
        }
        return false;
    };
    for (const auto &[one, five, ten] : places) {
        if (!five) {   // thousands: up to three Ms
            for (int i = 0; i < 3 && take(one); ++i) {
            }
            continue;
        }
        if (take(one)) {
            if (take(ten) || take(five))   // IX, IV
                continue;
            for (int i = 0; i < 2 && take(one); ++i) {
            }
        } else if (take(five)) {
            for (int i = 0; i < 3 && take(one); ++i) {
            }
        }
    }
    return !text.isEmpty() && at == text.size();
}

// The level of a Markdown heading line: up to three spaces, one to six
// "#", then a space, a tab or the line's end. 0 for any other line.
int markdownHeadingLevel(QStringView line)
{
    qsizetype at = 0;
    while (at < line.size() && at < 3 && line[at] == u' ')
        ++at;
    const qsizetype hashes = at;
    while (at < line.size() && line[at] == u'#')
        ++at;
    const int level = int(at - hashes);
    if (level < 1 || level > 6)
        return 0;
    return at == line.size() || line[at] == u' ' || line[at] == u'\t' ? level : 0;
}

bool opensOrClosesFence(QStringView line)
{
    const QStringView text = line.trimmed();
    return text.startsWith(u"```") || text.startsWith(u"~~~");
}

} // namespace

bool isChapterTitle(QStringView paragraph)
{
    QStringView text = paragraph.trimmed();
    if (text.isEmpty() || text.size() > LongestTitle)
        return false;
    if (text.startsWith(u"Chapter") || text.startsWith(u"CHAPTER")) {
        const QStringView rest = text.sliced(7);
        return !rest.isEmpty() && rest.front().isSpace();   // trimmed, so something follows
    }
    if (text.endsWith(u'.'))
        text.chop(1);
    return isNumber(text) || isRomanNumeral(text);
}

QList<Chapter> findChapters(const QTextDocument &document)
{
    QList<Chapter> chapters;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        QStringView title = QStringView(text).trimmed();
        if (block.blockFormat().headingLevel() > 0) {
            // A Markdown heading's marks are not part of its title.
            if (markdownHeadingLevel(text) > 0) {
                while (title.startsWith(u'#'))
                    title = title.sliced(1);
                title = title.trimmed();
            }
            if (!title.isEmpty())
                chapters.append(Chapter{block.position(), title.toString()});
        } else if (isChapterTitle(title)) {
            chapters.append(Chapter{block.position(), title.toString()});
        }
    }
    return chapters;
}

QString htmlWithoutHeadings(const QTextDocument &document)
{
    // Text and attribute values in Qt's HTML never hold a "<", so every
    // "<h1" is a tag.
    static const QRegularExpression heading(QStringLiteral("<(/?)h[1-6]\\b"));
    return document.toHtml().replace(heading, QStringLiteral("<\\1p"));
}

void markMarkdownHeadings(QTextDocument &document)
{
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    bool inFence = false;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QString line = block.text();
        if (opensOrClosesFence(line)) {
            inFence = !inFence;
            continue;
        }
        if (const int level = inFence ? 0 : markdownHeadingLevel(line)) {
            QTextBlockFormat format;
            format.setHeadingLevel(level);
            QTextCursor(block).mergeBlockFormat(format);
        }
    }
    document.setUndoRedoEnabled(undo);
}

} // namespace tq::documents
