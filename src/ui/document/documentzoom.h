// Zooming the document: Ctrl+wheel, Ctrl++ (or Ctrl+=), Ctrl+- and Ctrl+0 for
// the normal size, and the same as commands for the document's menu. Only the document area's font changes: the text, its
// formatting and the undo history stay as they are, the text that was at the
// top of the view stays there, and the control panel keeps its font.
#pragma once

#include <QList>
#include <QObject>

#include <array>

class QAction;
class QKeyEvent;

namespace tq::ui {

class DocumentArea;

// The sizes zoom steps through, as shares of the normal size (step 0).
inline constexpr std::array<qreal, 14> ZoomShares = {0.5, 0.67, 0.75, 0.8,  0.9, 1.0, 1.1,
                                                     1.25, 1.5, 1.75, 2.0, 2.5,  3.0, 4.0};
inline constexpr int NormalZoomIndex = 5;
inline constexpr int SmallestZoomStep = -NormalZoomIndex;
inline constexpr int LargestZoomStep = int(ZoomShares.size()) - 1 - NormalZoomIndex;

// The point size of the document's font at a zoom step; steps beyond either
// end of the range stay at that end.
qreal zoomedPointSize(qreal normal, int step);

class DocumentZoom : public QObject
{
    Q_OBJECT
public:
    // Belongs to the area; the area's font at this moment is the normal size.
    explicit DocumentZoom(DocumentArea *area);

    int step() const { return m_step; }
    // Zoom In, Zoom Out and Normal Size, with their shortcuts; each is
    // disabled where it would change nothing.
    const QList<QAction *> &actions() const { return m_actions; }
    void zoomBy(int steps);
    void reset() { zoomBy(-m_step); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool handleKey(const QKeyEvent *key, bool pressed);
    void enableActions();

    DocumentArea *m_area;
    qreal m_normal;
    int m_step = 0;
    int m_wheel = 0;   // wheel turn not yet a whole step (fine-grained wheels, touchpads)
    QList<QAction *> m_actions;
};

} // namespace tq::ui
