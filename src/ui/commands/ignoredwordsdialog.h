// The Ignored Words dialog: one word per line, and a button that adds the
// common English function words ("the", "and", "said"...) that say little
// about a writer's style.
#pragma once

#include <QDialog>
#include <QStringList>

class QPlainTextEdit;

namespace tq::ui {

class IgnoredWordsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit IgnoredWordsDialog(const QStringList &words, QWidget *parent = nullptr);

    // The words, one per line, as an ignore file's lines are read.
    QStringList words() const;
    // Adds every common word not listed yet, after the writer's own.
    void addCommonWords();

    static const QStringList &commonWords();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPlainTextEdit *m_edit;
};

} // namespace tq::ui
