// Taking a pass's results elsewhere: the word list as CSV or text lines, and
// the document with its colours and bold as HTML or OpenDocument.
#pragma once

#include "recentfiles.h"

#include <QList>
#include <QObject>

class QAction;
class QWidget;

namespace tq::ui {

class DocumentArea;
class SlicedBolding;
class WidgetSurface;
class WordListBox;

class ExportCommands : public QObject
{
    Q_OBJECT
public:
    // The bold exported is the finished bolding's.
    ExportCommands(QWidget *window, DocumentArea *area, const WidgetSurface &surface,
                   SlicedBolding &bolding, const WordListBox &list);

    // Export Word List..., Export Highlighted Document...
    QList<QAction *> actions() const { return m_actions; }

    // Write to path, in the format its suffix names; false (after saying
    // why) when nothing was written.
    bool exportWordList(const QString &path);
    bool exportHighlighted(const QString &path);

private:
    void askWordList();
    void askHighlighted();
    bool finished(const QString &path, const QString &error);

    QWidget *m_window;
    DocumentArea *m_area;
    const WidgetSurface &m_surface;
    SlicedBolding &m_bolding;
    const WordListBox &m_list;
    RecentFiles m_recent;
    QList<QAction *> m_actions;
};

} // namespace tq::ui
