#include "documentzoom.h"

#include "documentarea.h"

#include <QAction>
#include <QKeyEvent>
#include <QWheelEvent>

#include <algorithm>

namespace tq::ui {

namespace {

constexpr int WheelStep = 120;   // one notch of a common mouse wheel

} // namespace

qreal zoomedPointSize(qreal normal, int step)
{
    const int index = std::clamp(step, SmallestZoomStep, LargestZoomStep) + NormalZoomIndex;
    return normal * ZoomShares[size_t(index)];
}

DocumentZoom::DocumentZoom(DocumentArea *area)
    : QObject(area)
    , m_area(area)
    , m_normal(area->font().pointSizeF())
{
    area->installEventFilter(this);
    area->viewport()->installEventFilter(this);

    auto command = [this](const char *text, const QList<QKeySequence> &keys, auto run) {
        auto *action = new QAction(QString::fromLatin1(text), this);
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, run);
        m_actions.append(action);
    };
    command("Zoom In", {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)},
            [this] { zoomBy(1); });
    command("Zoom Out", {QKeySequence::ZoomOut}, [this] { zoomBy(-1); });
    command("Normal Size", {QKeySequence(Qt::CTRL | Qt::Key_0)}, [this] { reset(); });
    enableActions();
}

void DocumentZoom::enableActions()
{
    m_actions[0]->setEnabled(m_step < LargestZoomStep);
    m_actions[1]->setEnabled(m_step > SmallestZoomStep);
    m_actions[2]->setEnabled(m_step != 0);
}

void DocumentZoom::zoomBy(int steps)
{
    const int step = std::clamp(m_step + steps, SmallestZoomStep, LargestZoomStep);
    if (step == m_step)
        return;
    m_step = step;
    const DocumentArea::ViewTop top = m_area->viewTop();
    QFont font = m_area->font();
    font.setPointSizeF(zoomedPointSize(m_normal, m_step));
    m_area->setFont(font);   // the document's default font follows
    m_area->restoreViewTop(top);
    enableActions();
}

// Ctrl with +, = (the + key without Shift), - or 0, from either the main keys
// or the keypad; Shift is left out as some layouts need it for these keys.
bool DocumentZoom::handleKey(const QKeyEvent *key, bool pressed)
{
    const Qt::KeyboardModifiers modifiers =
        key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (modifiers != Qt::ControlModifier)
        return false;
    switch (key->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        if (pressed)
            zoomBy(1);
        return true;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        if (pressed)
            zoomBy(-1);
        return true;
    case Qt::Key_0:
        if (pressed)
            reset();
        return true;
    default:
        return false;
    }
}

bool DocumentZoom::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Claimed here, so that no shortcut of the window takes these keys.
        if (watched == m_area && handleKey(static_cast<QKeyEvent *>(event), false)) {
            event->accept();
            return true;
        }
        break;
    case QEvent::KeyPress:
        if (watched == m_area && handleKey(static_cast<QKeyEvent *>(event), true))
            return true;
        break;
    case QEvent::Wheel: {
        auto *wheel = static_cast<QWheelEvent *>(event);
        if (watched != m_area->viewport() || !(wheel->modifiers() & Qt::ControlModifier))
            break;
        m_wheel += wheel->angleDelta().y();
        const int steps = m_wheel / WheelStep;
        m_wheel -= steps * WheelStep;
        zoomBy(steps);
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tq::ui
