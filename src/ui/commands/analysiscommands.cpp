#include "analysiscommands.h"

#include "documentarea.h"
#include "ignoredwordsdialog.h"
#include "notice.h"
#include "widgetsurface.h"

#include <QAction>
#include <QSettings>
#include <QTextCursor>

namespace tq::ui {

namespace {

const QString IgnoredKey = QStringLiteral("analysis/ignoredWords");
const QString LineBreaksKey = QStringLiteral("analysis/lineBreaksSeparateWords");
const QString AllLettersKey = QStringLiteral("analysis/lettersOfEveryLanguage");

QAction *command(QObject *parent, const QString &text, const char *name,
                 const QKeySequence &shortcut = {})
{
    auto *action = new QAction(text, parent);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    return action;
}

// A word rule: a ticked entry, remembered in the settings.
QAction *rule(QObject *parent, const QString &text, const char *name, const QString &key)
{
    QAction *action = command(parent, text, name);
    action->setCheckable(true);
    action->setChecked(QSettings().value(key, false).toBool());
    QObject::connect(action, &QAction::toggled, action,
                     [key](bool on) { QSettings().setValue(key, on); });
    return action;
}

} // namespace

AnalysisCommands::AnalysisCommands(QWidget *window, DocumentArea *area, WidgetSurface &surface,
                                   const ListSelection &list,
                                   std::function<void(qsizetype, qsizetype)> analyzeRange)
    : QObject(window)
    , m_window(window)
    , m_area(area)
    , m_surface(surface)
    , m_list(list)
    , m_analyzeRange(std::move(analyzeRange))
    , m_notice(new Notice(area))
    , m_text(surface)
    , m_stepper(surface, m_text)
    , m_ignored(QSettings().value(IgnoredKey).toStringList())
{
    // Mnemonics unique in the document menu, among the editor's entries
    // (Undo, Redo, Cut, Copy, Paste) and the file commands (Open, Recent,
    // Save, As, Word list, Highlighted).
    findNext = command(this, QStringLiteral("Find &Next"), "findNext", Qt::Key_F3);
    findPrevious = command(this, QStringLiteral("Find Pre&vious"), "findPrevious",
                           QKeySequence(Qt::SHIFT | Qt::Key_F3));
    nextEcho = command(this, QStringLiteral("Next &Echo"), "nextEcho", Qt::Key_F4);
    previousEcho = command(this, QStringLiteral("Prev&ious Echo"), "previousEcho",
                           QKeySequence(Qt::SHIFT | Qt::Key_F4));
    analyzeSelection = command(this, QStringLiteral("Analy&ze Selection"), "analyzeSelection",
                               QKeySequence(Qt::SHIFT | Qt::Key_F5));
    ignoredWords = command(this, QStringLiteral("I&gnored Words…"), "ignoredWords");
    lineBreaksSeparate = rule(this, QStringLiteral("&Line Breaks Separate Words"),
                              "lineBreaksSeparate", LineBreaksKey);
    allLetters = rule(this, QStringLiteral("Letters o&f Every Language"), "allLetters",
                      AllLettersKey);

    connect(findNext, &QAction::triggered, this, [this] { stepOccurrence(Direction::Forward); });
    connect(findPrevious, &QAction::triggered, this, [this] { stepOccurrence(Direction::Backward); });
    connect(nextEcho, &QAction::triggered, this, [this] { stepEcho(Direction::Forward); });
    connect(previousEcho, &QAction::triggered, this, [this] { stepEcho(Direction::Backward); });
    connect(analyzeSelection, &QAction::triggered, this, &AnalysisCommands::runOnSelection);
    connect(ignoredWords, &QAction::triggered, this, &AnalysisCommands::editIgnoredWords);
    auto separator = [this] {
        auto *line = new QAction(this);
        line->setSeparator(true);
        return line;
    };
    m_menuOrder = {findNext,    findPrevious,     separator(),  nextEcho,
                   previousEcho, separator(),      analyzeSelection, ignoredWords,
                   separator(), lineBreaksSeparate, allLetters};

    // Shown once the window can run a pass over part of the document.
    analyzeSelection->setVisible(bool(m_analyzeRange));
}

AnalysisCommands::~AnalysisCommands() = default;



PassOptions AnalysisCommands::passOptions() const
{
    return {WordRules{lineBreaksSeparate->isChecked(), allLetters->isChecked()},
            IgnoredWords(m_ignored)};
}

void AnalysisCommands::setIgnoredWords(const QStringList &words)
{
    m_ignored = words;
    QSettings().setValue(IgnoredKey, words);
}

Span AnalysisCommands::documentSelection() const
{
    const QTextCursor cursor = m_area->textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()};
}

void AnalysisCommands::selectInDocument(Span span)
{
    QTextCursor cursor(m_area->document());
    cursor.setPosition(int(span.start));
    cursor.setPosition(int(span.start + span.length), QTextCursor::KeepAnchor);
    m_area->setTextCursor(cursor);
    m_area->ensureCursorVisible();
}

void AnalysisCommands::stepOccurrence(Direction direction)
{
    if (const std::optional<Span> stop = m_stepper.step(m_list, documentSelection(), direction))
        selectInDocument(*stop);
    else if (selectedWords(m_list).isEmpty())
        m_notice->tell(QStringLiteral("Choose one or more words in the list first."));
    else
        m_notice->tell(QStringLiteral("The chosen words do not occur in the text."));
}

void AnalysisCommands::stepEcho(Direction direction)
{
    if (const std::optional<Span> run =
            stepThroughRuns(m_surface.colours(), documentSelection(), direction))
        selectInDocument(*run);
    else
        m_notice->tell(QStringLiteral("No coloured repetitions in the text."));
}

void AnalysisCommands::runOnSelection()
{
    const Span selection = documentSelection();
    if (selection.length == 0) {
        m_notice->tell(QStringLiteral("Select the text to analyse first."));
        return;
    }
    m_analyzeRange(selection.start, selection.start + selection.length - 1);
}

void AnalysisCommands::editIgnoredWords()
{
    IgnoredWordsDialog dialog(m_ignored, m_window);
    if (dialog.exec() == QDialog::Accepted)
        setIgnoredWords(dialog.words());
}

} // namespace tq::ui
