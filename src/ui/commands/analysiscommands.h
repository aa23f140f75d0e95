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
#include <optional>

class QAction;
class QMenu;
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
    QAction *groupWordForms;
    QAction *wordFormsLanguage;   // opens the languages' submenu
    QAction *wordReport;

    // The stemmer's language the families are grouped by; one the stemmers
    // do not know is not chosen.
    QString language() const;
    void chooseLanguage(const QString &language);

    // The settings the next pass reads.
    PassOptions passOptions() const;
    const QStringList &ignoredWordList() const { return m_ignored; }
    void setIgnoredWords(const QStringList &words);

    Notice &notice() { return *m_notice; }

    // Find Next and Find Previous step through these stops (a phrase's
    // occurrences) instead of the chosen words', until forgetStops() or an
    // edit of the text.
    void chooseStops(QList<Span> stops);
    void forgetStops() { m_chosenStops.reset(); }

Q_SIGNALS:
    // A setting that changes the list of the next pass changed.
    void listSettingsChanged();

private:
    void stepOccurrence(Direction direction);
    void stepEcho(Direction direction);
    void runOnSelection();
    void editIgnoredWords();
    Span documentSelection() const;
    void selectInDocument(Span span);
    QMenu *languageMenu();

    QWidget *m_window;
    DocumentArea *m_area;
    WidgetSurface &m_surface;
    const ListSelection &m_list;
    std::function<void(qsizetype, qsizetype)> m_analyzeRange;
    Notice *m_notice;
    DocumentText m_text;
    OccurrenceStepper m_stepper;
    QStringList m_ignored;
    struct ChosenStops
    {
        QList<Span> stops;
        quint64 version;
    };
    std::optional<ChosenStops> m_chosenStops;
    QList<QAction *> m_menuOrder;
};

// A stemmer's language as a writer reads it: "english" is "English".
QString languageTitle(const QString &language);

} // namespace tq::ui
