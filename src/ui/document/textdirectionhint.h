// A paragraph left to find its own direction looks for its first letter
// every time the layout passes over it, and every edit or change of bold
// makes the layout pass over all the paragraphs after it: on a book that
// search is half of what an edit in the middle costs. While the document
// holds no right-to-left letter, its paragraphs are told they run left to
// right, which is what the search would find. The first right-to-left letter
// gives them back their own search, until the document is emptied or
// replaced.
#pragma once

#include <QObject>
#include <QStringView>

class QTextDocument;

namespace tq::ui {

class DocumentArea;

class TextDirectionHint : public QObject
{
    Q_OBJECT
public:
    explicit TextDirectionHint(DocumentArea *area);

    static bool hasRightToLeft(QStringView text);
    // Whether the paragraphs are told their direction now.
    bool leftToRight() const { return m_leftToRight; }

private:
    void followDocument();
    void onContentsChange(int position, int removed, int added);
    void tellLeftToRight(bool on);

    DocumentArea *m_area;
    QMetaObject::Connection m_change;
    bool m_leftToRight = false;
};

} // namespace tq::ui
