// Answers the message boxes a window asks while a test runs, and records
// what they said, so a test can tell whether a question was asked at all.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <memory>

namespace tq::testing {

class MessageBoxes
{
public:
    explicit MessageBoxes(QMessageBox::StandardButton answer)
        : m_answer(answer)
    {
        m_watch = std::make_unique<QTimer>();
        m_watch->setInterval(10);
        QObject::connect(m_watch.get(), &QTimer::timeout, [this] { answerOpenBox(); });
        m_watch->start();
    }

    void setAnswer(QMessageBox::StandardButton answer) { m_answer = answer; }
    // The text of every box answered so far, in order.
    const QStringList &asked() const { return m_asked; }

private:
    void answerOpenBox()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        m_asked.append(box->text());
        QAbstractButton *button = box->button(m_answer);
        if (!button)
            button = box->buttons().value(0);   // an information box: its only button
        button->click();
    }

    QMessageBox::StandardButton m_answer;
    QStringList m_asked;
    std::unique_ptr<QTimer> m_watch;
};

} // namespace tq::testing
