#include "longrunwrap.h"

#include "documentarea.h"

#include <QTextBlock>
#include <QTextDocument>

namespace tq::ui {

LongRunWrap::LongRunWrap(DocumentArea *area)
    : QObject(area)
    , m_area(area)
    , m_usual(area->wordWrapMode())
{
    followDocument();
    connect(area, &DocumentArea::documentReplaced, this, &LongRunWrap::followDocument);
}

bool LongRunWrap::hasLongRun(QStringView text)
{
    qsizetype run = 0;
    for (QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > LongRun)
            return true;
    }
    return false;
}

void LongRunWrap::followDocument()
{
    disconnect(m_change);
    m_change = connect(m_area->document(), &QTextDocument::contentsChange, this,
                       &LongRunWrap::onContentsChange);
    breakAnywhere(documentHasLongRun());
}

// Only paragraphs longer than a long run can hold one, and a book has few.
bool LongRunWrap::documentHasLongRun() const
{
    for (QTextBlock b = m_area->document()->begin(); b.isValid(); b = b.next()) {
        if (b.length() > LongRun && hasLongRun(b.text()))
            return true;
    }
    return false;
}

// Runs inside the change, before the document lays the changed text out, so
// a pasted run is laid out only once, the quick way.
void LongRunWrap::onContentsChange(int position, int removed, int added)
{
    Q_UNUSED(removed);
    if (m_anywhere) {
        // Whether the long run removed was the last one.
        breakAnywhere(documentHasLongRun());
        return;
    }
    QTextDocument *document = m_area->document();
    const QTextBlock last = document->findBlock(position + added);
    for (QTextBlock b = document->findBlock(position); b.isValid(); b = b.next()) {
        if (b.length() > LongRun && hasLongRun(b.text())) {
            breakAnywhere(true);
            return;
        }
        if (b == last)
            break;
    }
}

void LongRunWrap::breakAnywhere(bool on)
{
    if (on == m_anywhere)
        return;
    m_anywhere = on;
    m_area->setWordWrapMode(on ? QTextOption::WrapAnywhere : m_usual);
}

} // namespace tq::ui
