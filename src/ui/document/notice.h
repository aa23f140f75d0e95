// A short message shown over a corner of the document area for a few
// seconds: feedback that takes no focus, waits for no answer and covers
// nothing the writer might click.
#pragma once

#include <QLabel>
#include <QTimer>

namespace tq::ui {

class Notice : public QLabel
{
    Q_OBJECT
public:
    explicit Notice(QWidget *over);

    // Replaces any message still shown.
    void tell(const QString &message);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();

    QTimer m_timer;
};

} // namespace tq::ui
