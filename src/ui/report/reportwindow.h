// The word report: a window of its own beside the form, with the word
// families and their forms' counts, the repeated phrases, and where the
// chosen entries stand in the manuscript. It only shows what it is given;
// the report's feed decides what and when.
#pragma once

#include "stripsview.h"
#include "wordreport.h"

#include <QStringList>
#include <QWidget>

class QLabel;
class QListView;
class QStringListModel;
class QTabWidget;

namespace tq::ui {

class ReportWindow : public QWidget
{
    Q_OBJECT
public:
    explicit ReportWindow(QWidget *parent = nullptr);

    // The lines of the families' and phrases' pages, made where a book's
    // hundred thousand phrases cannot hold up the window.
    struct Lines
    {
        QStringList families;
        QStringList phrases;
        QStringList phraseTexts;   // each phrase's words, by line
    };
    static Lines linesOf(const WordReport &report);

    // The families' and phrases' pages.
    void showReport(const Lines &lines);
    // The "Where" page.
    void showWhere(qsizetype textLength, QList<documents::Chapter> chapters, QList<Strip> strips);
    // A line above the pages: what the report shows, or why it is empty.
    void setNote(const QString &note);

    // The phrases chosen on their page, as listed, in list order.
    QStringList chosenPhrases() const;

    QTabWidget *pages() const { return m_pages; }
    StripsView *stripsView() const { return m_strips; }
    QListView *phraseView() const { return m_phraseView; }
    QListView *familyView() const { return m_familyView; }

Q_SIGNALS:
    void phrasesChosen();
    void occurrenceChosen(Span occurrence);

private:
    QLabel *m_note;
    QTabWidget *m_pages;
    QListView *m_familyView;
    QStringListModel *m_families;
    QListView *m_phraseView;
    QStringListModel *m_phrases;
    QStringList m_phraseTexts;   // by row of m_phrases
    StripsView *m_strips;
};

// "4 - nod (2), nodded (1), nods (1)"
QString familyWithCounts(const WordFamily &family);

} // namespace tq::ui
