// The commands for working through an analysis: stepping through the
// occurrences of the words chosen in the list and through the echoes (the
// coloured repetitions), analysing the selection alone, the ignored words and
// the two word rules. Each is an action with its shortcut, for the window and
// its document menu; the rules behind them live in the browsing and analysis
// code.
#pragma once

#include "passoptions.h"
#include "stepping.h"

#include <QObject>
#include <QStringList>

#include <functional>

class QAction;
class QWidget;

namespace tq::ui {

class DocumentArea;
class Notice;
class WidgetSurface;

class AnalysisCommands : public QObject
{
    Q_OBJECT
public:
    // analyzeRange runs a pass over the document offsets [first, last].
    AnalysisCommands(QWidget *window, DocumentArea *area, WidgetSurface &surface,
                     const ListSelection &list,
                     std::function<void(qsizetype first, qsizetype last)> analyzeRange);
    ~AnalysisCommands() override;

    // In menu order, with separators between the groups; the window's
    // document menu takes them once.
    const QList<QAction *> &actions() const { return m_menuOrder; }

    QAction *findNext;
    QAction *findPrevious;
    QAction *nextEcho;
    QAction *previousEcho;
    QAction *analyzeSelection;
    QAction *ignoredWords;
    QAction *lineBreaksSeparate;
    QAction *allLetters;

    // The settings the next pass reads.
    PassOptions passOptions() const;
    const QStringList &ignoredWordList() const { return m_ignored; }
    void setIgnoredWords(const QStringList &words);

    Notice &notice() { return *m_notice; }

private:
    void stepOccurrence(Direction direction);
    void stepEcho(Direction direction);
    void runOnSelection();
    void editIgnoredWords();
    Span documentSelection() const;
    void selectInDocument(Span span);

    QWidget *m_window;
    DocumentArea *m_area;
    WidgetSurface &m_surface;
    const ListSelection &m_list;
    std::function<void(qsizetype, qsizetype)> m_analyzeRange;
    Notice *m_notice;
    DocumentText m_text;
    OccurrenceStepper m_stepper;
    QStringList m_ignored;
    QList<QAction *> m_menuOrder;
};

} // namespace tq::ui
