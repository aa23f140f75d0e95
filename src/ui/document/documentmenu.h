// The document area's context menu: the usual editing entries, then one
// section per group of commands (File, ...). A group of commands joins the
// menu with a single addSection() call; its actions' shortcuts then work
// anywhere in the window.
//
// The menu opens on a right-click in the document and from the keyboard (the
// menu key or Shift+F10), at the caret.
#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>

class QAction;
class QMenu;

namespace tq::ui {

class DocumentArea;

class DocumentMenu : public QObject
{
    Q_OBJECT
public:
    explicit DocumentMenu(DocumentArea *area);

    // Sections appear in the order they were added, below the editing entries.
    void addSection(const QString &title, const QList<QAction *> &actions);

    // The menu as it would open with the mouse at pos (viewport coordinates);
    // the caller owns it.
    QMenu *build(QPoint pos) const;
    // Opens the menu at pos without blocking; it deletes itself when closed.
    void popup(QPoint pos) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Section
    {
        QString title;
        QList<QAction *> actions;
    };

    QPoint caretPoint() const;

    DocumentArea *m_area;
    QList<Section> m_sections;
};

} // namespace tq::ui
