// The "Where" page of the word report: one strip per entry across the whole
// manuscript, a tick where each occurrence starts and a line where each
// chapter starts. A click on a tick chooses that occurrence.
#pragma once

#include "chapters.h"
#include "stepping.h"

#include <QList>
#include <QString>
#include <QWidget>

namespace tq::ui {

struct Strip
{
    QString label;
    QList<Span> occurrences;   // ordered by start
};

class StripsView : public QWidget
{
    Q_OBJECT
public:
    explicit StripsView(QWidget *parent = nullptr);

    void setContent(qsizetype textLength, QList<documents::Chapter> chapters, QList<Strip> strips);
    const QList<Strip> &strips() const { return m_strips; }

    // The occurrence a click at point chooses: the one whose tick lies
    // nearest within a few pixels on the strip under it.
    std::optional<Span> occurrenceAt(QPoint point) const;
    // Where the tick of an occurrence of strip is drawn.
    QRect tickRect(qsizetype strip, Span occurrence) const;

    QSize sizeHint() const override;

Q_SIGNALS:
    void occurrenceChosen(Span occurrence);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;

private:
    QRect barRect(qsizetype strip) const;
    int xOf(qsizetype offset, const QRect &bar) const;
    int labelWidth() const;

    qsizetype m_length = 0;
    QList<documents::Chapter> m_chapters;
    QList<Strip> m_strips;
};

} // namespace tq::ui
