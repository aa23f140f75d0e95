// Shared by the window tests: a shown window, and the document's formatting
// as runs that read like the examples they are checked against.
#pragma once

#include "documentarea.h"
#include "form1.h"
#include "runs.h"
#include "widgetsurface.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>

#include <memory>

namespace tq::testing {

inline char *toString(const Run &r)
{
    return QTest::toString(QStringLiteral("[%1-%2 %3]").arg(r.first).arg(r.last).arg(r.colour));
}

inline std::unique_ptr<ui::Form1> shownForm(const QString &text)
{
    auto form = std::make_unique<ui::Form1>();
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        qWarning("window not exposed");
    form->TB->setPlainText(text);
    return form;
}

// Lets the event loop lay out the bold still pending outside the view.
inline void settleBold(ui::Form1 &form)
{
    for (int turns = 0; form.surface().boldPending() && turns < 100000; ++turns)
        QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// Colour runs as the surface holds them.
inline QList<Run> colourRuns(ui::Form1 &form)
{
    ui::WidgetSurface &s = form.surface();
    return runsOf(s.text().size(), [&](qsizetype i) { return s.colourAt(i); });
}

// Colour runs as painted over the text in view.
inline QList<Run> paintedRuns(ui::Form1 &form)
{
    QList<Run> runs;
    for (const auto &p : form.surface().paintedColours())
        runs.append(Run{p.start, p.end - 1, p.colour});
    return runs;
}

// Bold runs as the document lays them out (colour 1 stands for bold).
inline QList<Run> boldRuns(ui::Form1 &form)
{
    const QByteArray bold = form.surface().boldShown();
    return runsOf(bold.size(), [&](qsizetype i) { return bold[i] ? 1 : 0; });
}

inline QStringList listLines(ui::Form1 &form)
{
    QStringList lines;
    for (int i = 0; i < form.lstWords->count(); ++i)
        lines.append(form.lstWords->item(i)->text());
    return lines;
}

inline int entryOf(ui::Form1 &form, const QString &word)
{
    for (int i = 0; i < form.lstWords->count(); ++i) {
        if (form.lstWords->item(i)->text().endsWith(QStringLiteral(" - ") + word))
            return i;
    }
    return -1;
}

} // namespace tq::testing

Q_DECLARE_METATYPE(QList<tq::testing::Run>)
