// The analysis settings as the window's controls hold them, read afresh at
// every use, and the progress bar the pass writes to.
#pragma once

#include "controls.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QScrollBar;

namespace tq::ui {

class FloatProgressBar;

class FormControls : public AnalysisControls
{
public:
    FormControls(QLineEdit *minimumLength, QCheckBox *filter, QScrollBar *sensitivity,
                 QRadioButton *beginningOfWord, QRadioButton *completeWords,
                 FloatProgressBar *progress);

    QString minimumLengthText() const override;
    bool filterOn() const override;
    int sensitivity() const override;
    MatchMode matchMode() const override;
    void setProgress(float percent) override;

private:
    QLineEdit *m_minimumLength;
    QCheckBox *m_filter;
    QScrollBar *m_sensitivity;
    QRadioButton *m_beginningOfWord;
    QRadioButton *m_completeWords;
    FloatProgressBar *m_progress;
};

} // namespace tq::ui
