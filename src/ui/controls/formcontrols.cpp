#include "formcontrols.h"

#include "floatprogressbar.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>

namespace tq::ui {

FormControls::FormControls(QLineEdit *minimumLength, QCheckBox *filter, QScrollBar *sensitivity,
                           QRadioButton *beginningOfWord, QRadioButton *completeWords,
                           FloatProgressBar *progress)
    : m_minimumLength(minimumLength)
    , m_filter(filter)
    , m_sensitivity(sensitivity)
    , m_beginningOfWord(beginningOfWord)
    , m_completeWords(completeWords)
    , m_progress(progress)
{
}

QString FormControls::minimumLengthText() const
{
    return m_minimumLength->text();
}

bool FormControls::filterOn() const
{
    return m_filter->isChecked();
}

int FormControls::sensitivity() const
{
    return m_sensitivity->value();
}

MatchMode FormControls::matchMode() const
{
    // "No Filters" is never read: it stands for neither of the other two.
    if (m_beginningOfWord->isChecked())
        return MatchMode::BeginningOfWord;
    if (m_completeWords->isChecked())
        return MatchMode::CompleteWords;
    return MatchMode::NoFilters;
}

void FormControls::setProgress(float percent)
{
    m_progress->setFloatValue(percent);
}

} // namespace tq::ui
