#include "analysiscommands.h"

#include "documentarea.h"
#include "ignoredwordsdialog.h"
#include "notice.h"
#include "widgetsurface.h"
#include "wordforms.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QSettings>
#include <QTextCursor>

namespace tq::ui {

namespace {

const QString IgnoredKey = QStringLiteral("analysis/ignoredWords");
const QString LineBreaksKey = QStringLiteral("analysis/lineBreaksSeparateWords");
const QString AllLettersKey = QStringLiteral("analysis/lettersOfEveryLanguage");
const QString WordFormsKey = QStringLiteral("analysis/groupWordForms");
const QString LanguageKey = QStringLiteral("analysis/wordFormsLanguage");
const QString DefaultLanguage = QStringLiteral("english");

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
    // (Undo, Redo, Cut, Copy, Paste) and the file commands (Open, rEcent,
    // Save, As, Word list, Highlighted).
    findNext = command(this, QStringLiteral("Find &Next"), "findNext", Qt::Key_F3);
    findPrevious = command(this, QStringLiteral("Find Pre&vious"), "findPrevious",
                           QKeySequence(Qt::SHIFT | Qt::Key_F3));
    nextEcho = command(this, QStringLiteral("Ne&xt Echo"), "nextEcho", Qt::Key_F4);
    previousEcho = command(this, QStringLiteral("Prev&ious Echo"), "previousEcho",
                           QKeySequence(Qt::SHIFT | Qt::Key_F4));
    analyzeSelection = command(this, QStringLiteral("Analy&ze Selection"), "analyzeSelection",
                               QKeySequence(Qt::SHIFT | Qt::Key_F5));
    ignoredWords = command(this, QStringLiteral("I&gnored Words…"), "ignoredWords");
    lineBreaksSeparate = rule(this, QStringLiteral("Line &Breaks Separate Words"),
                              "lineBreaksSeparate", LineBreaksKey);
    allLetters = rule(this, QStringLiteral("Letters o&f Every Language"), "allLetters",
                      AllLettersKey);
    groupWordForms = rule(this, QStringLiteral("Group Word For&ms"), "groupWordForms", WordFormsKey);
    wordFormsLanguage = command(this, QStringLiteral("Word Forms &Language"), "wordFormsLanguage");
    wordFormsLanguage->setMenu(languageMenu());
    wordReport = command(this, QStringLiteral("Wor&d Report…"), "wordReport",
                         QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(groupWordForms, &QAction::toggled, this, &AnalysisCommands::listSettingsChanged);

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
                   separator(), lineBreaksSeparate, allLetters,
                   separator(), groupWordForms, wordFormsLanguage, wordReport};

    // Shown once the window can run a pass over part of the document.
    analyzeSelection->setVisible(bool(m_analyzeRange));
}

AnalysisCommands::~AnalysisCommands() = default;

QString languageTitle(const QString &language)
{
    return language.isEmpty() ? language : language.at(0).toUpper() + language.mid(1);
}

// One ticked entry per language the stemmers know, the remembered one ticked.
QMenu *AnalysisCommands::languageMenu()
{
    auto *menu = new QMenu(m_window);
    auto *group = new QActionGroup(menu);
    const QStringList languages = Stemmer::languages();
    QString chosen = QSettings().value(LanguageKey, DefaultLanguage).toString();
    if (!languages.contains(chosen))
        chosen = DefaultLanguage;
    for (const QString &language : languages) {
        QAction *entry = menu->addAction(languageTitle(language));
        entry->setData(language);
        entry->setCheckable(true);
        entry->setChecked(language == chosen);
        group->addAction(entry);
    }
    connect(group, &QActionGroup::triggered, this, [this](QAction *entry) {
        QSettings().setValue(LanguageKey, entry->data());
        if (groupWordForms->isChecked())
            Q_EMIT listSettingsChanged();
    });
    return menu;
}

QString AnalysisCommands::language() const
{
    for (const QAction *entry : wordFormsLanguage->menu()->actions()) {
        if (entry->isChecked())
            return entry->data().toString();
    }
    return DefaultLanguage;
}

void AnalysisCommands::chooseLanguage(const QString &language)
{
    for (QAction *entry : wordFormsLanguage->menu()->actions()) {
        if (entry->data().toString() == language && !entry->isChecked())
            entry->trigger();
    }
}

PassOptions AnalysisCommands::passOptions() const
{
    return {WordRules{lineBreaksSeparate->isChecked(), allLetters->isChecked()},
            IgnoredWords(m_ignored), groupWordForms->isChecked() ? language() : QString()};
}

void AnalysisCommands::chooseStops(QList<Span> stops)
{
    m_chosenStops = ChosenStops{std::move(stops), m_surface.textVersion()};
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
    // Stops chosen for a text since edited would land off their words.
    if (m_chosenStops && m_chosenStops->version != m_surface.textVersion())
        m_chosenStops.reset();
    if (m_chosenStops) {
        if (const std::optional<Span> stop = stepThrough(m_chosenStops->stops, documentSelection(), direction))
            selectInDocument(*stop);
        return;
    }
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
    // Once the menu that may have asked is gone: a pass run inside a menu's
    // own handler visits the event loop while the menu is closed and deleted.
    QMetaObject::invokeMethod(
        this, [this, first = selection.start, last = selection.start + selection.length - 1] {
            m_analyzeRange(first, last);
        },
        Qt::QueuedConnection);
}

void AnalysisCommands::editIgnoredWords()
{
    IgnoredWordsDialog dialog(m_ignored, m_window);
    if (dialog.exec() == QDialog::Accepted)
        setIgnoredWords(dialog.words());
}

} // namespace tq::ui
