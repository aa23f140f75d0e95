// The minimum length as the pass and the highlighter read it: the numeric
// prefix of the box's current text. The box is read at every use; only the
// conversion is remembered while the text stays the same.
#pragma once

#include "controls.h"
#include "textrules.h"

#include <optional>

namespace tq {

class MinimumLength
{
public:
    // Empty when the text cannot be converted.
    std::optional<double> read(const AnalysisControls &controls)
    {
        const QString text = controls.minimumLengthText();
        if (!m_known || text != m_text) {
            m_text = text;
            m_value = numericPrefix(text);
            m_known = true;
        }
        return m_value;
    }

private:
    QString m_text;
    std::optional<double> m_value;
    bool m_known = false;
};

} // namespace tq
