#include "reportwindow.h"

#include "programname.h"

#include <QLabel>
#include <QListView>
#include <QScrollArea>
#include <QStringListModel>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tq::ui {

namespace {

QListView *listView(QStringListModel *model, const char *name)
{
    auto *view = new QListView;
    view->setObjectName(QLatin1String(name));
    view->setModel(model);
    // A book's hundred thousand lines lay out in batches between events.
    view->setUniformItemSizes(true);
    view->setLayoutMode(QListView::Batched);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return view;
}

} // namespace

QString familyWithCounts(const WordFamily &family)
{
    QStringList forms;
    forms.reserve(family.forms.size());
    for (qsizetype i = 0; i < family.forms.size(); ++i)
        forms.append(QStringLiteral("%1 (%2)").arg(family.forms[i]).arg(family.formCounts.value(i)));
    // A word may hold a line break; one line per family keeps the rows even.
    return withBreaksMarked(QString::number(family.count) + QStringLiteral(" - ")
                            + forms.join(QStringLiteral(", ")));
}

ReportWindow::ReportWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_note(new QLabel)
    , m_pages(new QTabWidget)
    , m_families(new QStringListModel(this))
    , m_phrases(new QStringListModel(this))
    , m_strips(new StripsView)
{
    setObjectName(QStringLiteral("wordReport"));
    setWindowTitle(QStringLiteral("Word Report - %1").arg(programName()));
    m_note->setWordWrap(true);
    m_familyView = listView(m_families, "familyView");
    m_familyView->setSelectionMode(QAbstractItemView::NoSelection);
    m_phraseView = listView(m_phrases, "phraseView");
    m_phraseView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto *where = new QScrollArea;
    where->setWidgetResizable(true);
    where->setWidget(m_strips);
    m_pages->addTab(m_familyView, QStringLiteral("Word Forms"));
    m_pages->addTab(m_phraseView, QStringLiteral("Repeated Phrases"));
    m_pages->addTab(where, QStringLiteral("Where"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_note);
    layout->addWidget(m_pages);
    resize(560, 420);

    connect(m_phraseView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ReportWindow::phrasesChosen);
    connect(m_strips, &StripsView::occurrenceChosen, this, &ReportWindow::occurrenceChosen);
}

ReportWindow::Lines ReportWindow::linesOf(const WordReport &report)
{
    Lines lines;
    lines.families.reserve(report.families.size());
    for (const WordFamily &family : report.families)
        lines.families.append(familyWithCounts(family));
    lines.phrases.reserve(report.phrases.size());
    lines.phraseTexts.reserve(report.phrases.size());
    for (const RepeatedPhrase &phrase : report.phrases) {
        lines.phrases.append(phraseLine(phrase));
        lines.phraseTexts.append(phrase.text);
    }
    return lines;
}

void ReportWindow::showReport(const Lines &lines)
{
    m_families->setStringList(lines.families);
    m_phraseTexts = lines.phraseTexts;
    // A new list of phrases chooses none of them.
    const QSignalBlocker quiet(m_phraseView->selectionModel());
    m_phrases->setStringList(lines.phrases);
}

void ReportWindow::showWhere(qsizetype textLength, QList<documents::Chapter> chapters, QList<Strip> strips)
{
    m_strips->setContent(textLength, std::move(chapters), std::move(strips));
}

void ReportWindow::setNote(const QString &note)
{
    m_note->setText(note);
}

QStringList ReportWindow::chosenPhrases() const
{
    QModelIndexList rows = m_phraseView->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end());
    QStringList chosen;
    for (const QModelIndex &row : std::as_const(rows))
        chosen.append(m_phraseTexts.value(row.row()));
    return chosen;
}

} // namespace tq::ui
