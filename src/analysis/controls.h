// The window controls that an analysis pass reads and writes. Every getter is
// called at each use, so a setting changed while the pass yields takes effect
// from the next token on.
#pragma once

#include <QString>

namespace tq {

enum class MatchMode {
    NoFilters,          // any occurrence, even inside a longer word
    BeginningOfWord,    // the occurrence must start a word
    CompleteWords,      // the occurrence must be a whole word
};

class AnalysisControls
{
public:
    virtual ~AnalysisControls() = default;

    virtual QString minimumLengthText() const = 0;   // the minimum-length box
    virtual bool filterOn() const = 0;               // "Filter Using Minimum Length"
    virtual int sensitivity() const = 0;             // distance in characters
    virtual MatchMode matchMode() const = 0;
    virtual void setProgress(float percent) = 0;     // 0 to 100
};

// Plain values, for tests and tools.
class FixedControls : public AnalysisControls
{
public:
    QString minLength = QStringLiteral("3");
    bool filter = false;
    int sens = 20;
    MatchMode mode = MatchMode::NoFilters;
    float progress = 0;

    QString minimumLengthText() const override { return minLength; }
    bool filterOn() const override { return filter; }
    int sensitivity() const override { return sens; }
    MatchMode matchMode() const override { return mode; }
    void setProgress(float percent) override { progress = percent; }
};

} // namespace tq
