#include "textdirectionhint.h"

#include "changedblocks.h"
#include "documentarea.h"

#include <QTextBlock>
#include <QTextDocument>

namespace tq::ui {

TextDirectionHint::TextDirectionHint(DocumentArea *area)
    : QObject(area)
    , m_area(area)
{
    followDocument();
    connect(area, &DocumentArea::documentReplaced, this, &TextDirectionHint::followDocument);
}

bool TextDirectionHint::hasRightToLeft(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i].unicode(), text[i + 1].unicode());
            ++i;
        }
        const QChar::Direction d = QChar::direction(c);
        if (d == QChar::DirR || d == QChar::DirAL)
            return true;
    }
    return false;
}

void TextDirectionHint::followDocument()
{
    disconnect(m_change);
    QTextDocument *document = m_area->document();
    m_change = connect(document, &QTextDocument::contentsChange, this,
                       &TextDirectionHint::onContentsChange);
    // A replacing document comes with the old one's options, the hint among
    // them; a direction its maker gave it stays.
    QTextOption option = document->defaultTextOption();
    const bool hinted = m_leftToRight && option.textDirection() == Qt::LeftToRight;
    m_leftToRight = false;
    if (hinted) {
        option.setTextDirection(Qt::LayoutDirectionAuto);
        document->setDefaultTextOption(option);
    }
    if (option.textDirection() != Qt::LayoutDirectionAuto)
        return;
    // Paragraph by paragraph, stopping at the first right-to-left letter,
    // so no copy of a whole book is made for it.
    bool rightToLeft = false;
    for (QTextBlock b = document->begin(); b.isValid() && !rightToLeft; b = b.next())
        rightToLeft = hasRightToLeft(b.text());
    tellLeftToRight(!rightToLeft);
}

// Runs inside the change, before the document lays the changed text out.
void TextDirectionHint::onContentsChange(int position, int removed, int added)
{
    Q_UNUSED(removed);
    QTextDocument *document = m_area->document();
    if (document->characterCount() <= 1) {
        // Emptied: whatever comes next starts afresh.
        if (document->defaultTextOption().textDirection() == Qt::LayoutDirectionAuto)
            tellLeftToRight(true);
        return;
    }
    if (!m_leftToRight || added <= 0)
        return;
    const bool rightToLeft = anyChangedBlock(*document, position, added, [&](const QTextBlock &b) {
        const int from = std::max(0, position - b.position());
        const int to = std::min(b.length() - 1, position + added - b.position());
        return to > from && hasRightToLeft(QStringView(b.text()).sliced(from, to - from));
    });
    if (rightToLeft)
        tellLeftToRight(false);
}

void TextDirectionHint::tellLeftToRight(bool on)
{
    if (on == m_leftToRight)
        return;
    m_leftToRight = on;
    QTextDocument *document = m_area->document();
    QTextOption option = document->defaultTextOption();
    option.setTextDirection(on ? Qt::LeftToRight : Qt::LayoutDirectionAuto);
    document->setDefaultTextOption(option);
}

} // namespace tq::ui
