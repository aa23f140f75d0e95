// Lines of a paragraph break at word boundaries, and a run with none is
// broken anywhere; but to find that out the layout searches the rest of the
// run again for every line, so a paragraph holding a run of a million
// characters without a space (a pasted blob) takes minutes to lay out, and
// as long again whenever its bold changes. While the document holds a run far
// longer than any line, its lines break anywhere instead, which lays such a
// paragraph out in a moment; the usual breaking comes back once no such run
// is left.
#pragma once

#include <QObject>
#include <QStringView>
#include <QTextCursor>
#include <QTextOption>

namespace tq::ui {

class DocumentArea;

class LongRunWrap : public QObject
{
    Q_OBJECT
public:
    // Far more than a line holds at any size of text or window.
    static constexpr qsizetype LongRun = 20000;

    explicit LongRunWrap(DocumentArea *area);

    // Whether text holds more than LongRun characters with no space between.
    static bool hasLongRun(QStringView text);
    bool breaksAnywhere() const { return m_anywhere; }

private:
    void followDocument();
    void onContentsChange(int position, int removed, int added);
    QTextCursor findLongRun() const;
    void breakAnywhere(bool on);

    DocumentArea *m_area;
    QTextOption::WrapMode m_usual;
    QMetaObject::Connection m_change;
    bool m_anywhere = false;
    // In a paragraph that held a long run when last looked at; it moves with
    // the edits, so most edits need to look at that paragraph alone.
    QTextCursor m_longRun;
};

} // namespace tq::ui
