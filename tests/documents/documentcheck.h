// Looking into a read document: its text with paragraph and line breaks
// told apart, and the writer's formatting at a word.
#pragma once

#include <QFont>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <optional>

// Paragraph ends as "\n", line breaks inside a paragraph as "|".
inline QString visibleText(const QTextDocument &document)
{
    QString text = document.toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'|');
    return text;
}

// "ibu" letters for italic, bold and underline at the middle of the first
// occurrence of word, "-" for each that is off; empty when word is missing.
inline QString lookAt(const QTextDocument &document, const QString &word)
{
    const qsizetype at = document.toRawText().indexOf(word);
    if (at < 0)
        return {};
    QTextCursor cursor(const_cast<QTextDocument *>(&document));
    cursor.setPosition(int(at + word.size() / 2 + 1));
    const QTextCharFormat f = cursor.charFormat();
    return QString(f.fontItalic() ? "i" : "-") + (f.fontWeight() > QFont::Medium ? "b" : "-")
           + (f.fontUnderline() ? "u" : "-");
}

inline QString fixture(const QString &name)
{
    return QStringLiteral(TQ_FIXTURES "/") + name;
}
