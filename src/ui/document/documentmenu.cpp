#include "documentmenu.h"

#include "documentarea.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>

namespace tq::ui {

DocumentMenu::DocumentMenu(DocumentArea *area)
    : QObject(area)
    , m_area(area)
{
    area->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(area, &QWidget::customContextMenuRequested, this,
            [this](QPoint pos) { popup(m_area->viewport()->mapFrom(m_area, pos)); });
    // The keyboard's ways in; the key press never reaches the editor.
    area->installEventFilter(this);
}

void DocumentMenu::addSection(const QString &title, const QList<QAction *> &actions)
{
    m_sections.append(Section{title, actions});
    // The shortcuts work wherever the focus is in the window, not only in
    // the document.
    QWidget *window = m_area->window();
    for (QAction *action : actions) {
        action->setShortcutContext(Qt::WindowShortcut);
        window->addAction(action);
    }
}

QMenu *DocumentMenu::build(QPoint pos) const
{
    QMenu *menu = m_area->createStandardContextMenu(pos);
    for (const Section &section : m_sections) {
        menu->addSection(section.title);
        menu->addActions(section.actions);
    }
    return menu;
}

void DocumentMenu::popup(QPoint pos) const
{
    QMenu *menu = build(pos);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(m_area->viewport()->mapToGlobal(pos));
}

// Just below the caret, kept inside the view when the caret is scrolled away.
QPoint DocumentMenu::caretPoint() const
{
    const QRect view = m_area->viewport()->rect();
    const QPoint at = m_area->cursorRect().bottomLeft();
    return QPoint(std::clamp(at.x(), view.left(), view.right()),
                  std::clamp(at.y(), view.top(), view.bottom()));
}

bool DocumentMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_area && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool menuKey = key->key() == Qt::Key_Menu && key->modifiers() == Qt::NoModifier;
        const bool shiftF10 = key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier;
        if (menuKey || shiftF10) {
            popup(caretPoint());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tq::ui
