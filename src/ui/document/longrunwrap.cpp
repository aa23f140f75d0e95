#include "longrunwrap.h"

#include "changedblocks.h"
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
    m_longRun = findLongRun();
    breakAnywhere(!m_longRun.isNull());
}

namespace {

bool holdsLongRun(const QTextBlock &block)
{
    // Only paragraphs longer than a long run can hold one, and a book has few.
    return block.length() > LongRunWrap::LongRun && LongRunWrap::hasLongRun(block.text());
}

} // namespace

// A cursor in the first paragraph holding a long run, or a null one.
QTextCursor LongRunWrap::findLongRun() const
{
    for (QTextBlock b = m_area->document()->begin(); b.isValid(); b = b.next()) {
        if (holdsLongRun(b))
            return QTextCursor(b);
    }
    return QTextCursor();
}

// Runs inside the change, before the document lays the changed text out, so
// a pasted run is laid out only once, the quick way.
void LongRunWrap::onContentsChange(int position, int removed, int added)
{
    Q_UNUSED(removed);
    if (m_anywhere) {
        // Whether the long run removed was the last one.
        if (!holdsLongRun(m_longRun.block())) {
            m_longRun = findLongRun();
            breakAnywhere(!m_longRun.isNull());
        }
        return;
    }
    const bool found = anyChangedBlock(*m_area->document(), position, added, [this](const QTextBlock &b) {
        if (!holdsLongRun(b))
            return false;
        m_longRun = QTextCursor(b);
        return true;
    });
    if (found)
        breakAnywhere(true);
}

void LongRunWrap::breakAnywhere(bool on)
{
    if (on == m_anywhere)
        return;
    m_anywhere = on;
    m_area->setWordWrapMode(on ? QTextOption::WrapAnywhere : m_usual);
}

} // namespace tq::ui
