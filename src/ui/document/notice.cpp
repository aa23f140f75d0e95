#include "notice.h"

#include <QEvent>

namespace tq::ui {

namespace {
constexpr int ShownMilliseconds = 3000;
constexpr int Margin = 8;
} // namespace

Notice::Notice(QWidget *over)
    : QLabel(over)
{
    setObjectName(QStringLiteral("notice"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    // The tooltip colours: readable on light and dark themes alike.
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    setFrameShape(QFrame::Box);
    setMargin(4);
    hide();
    m_timer.setSingleShot(true);
    m_timer.setInterval(ShownMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &QWidget::hide);
    over->installEventFilter(this);
}

void Notice::tell(const QString &message)
{
    setText(message);
    setAccessibleName(message);
    adjustSize();
    place();
    show();
    raise();
    m_timer.start();
}

bool Notice::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parent() && event->type() == QEvent::Resize && isVisible())
        place();
    return QLabel::eventFilter(watched, event);
}

// Bottom right, clear of the scroll bars where the parent is a scroll area.
void Notice::place()
{
    const QWidget *over = parentWidget();
    QRect room = over->rect();
    if (const QWidget *viewport = over->findChild<QWidget *>(QStringLiteral("qt_scrollarea_viewport")))
        room = viewport->geometry();
    const QSize size = sizeHint().boundedTo(room.size() - QSize(2 * Margin, 2 * Margin));
    resize(size);
    move(room.right() - size.width() - Margin + 1, room.bottom() - size.height() - Margin + 1);
}

} // namespace tq::ui
