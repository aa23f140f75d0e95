// Shared by the window tests: a shown window, and the document's formatting
// as runs that read like the examples they are checked against.
#pragma once

#include "documentarea.h"
#include "mainwindow.h"
#include "passpacer.h"
#include "runs.h"
#include "windowprobe.h"

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

// A pacer whose clock moves on a whole interval at every reading, so that a
// pass visits the event loop after every token and a test can act there.
struct EveryTokenPacer : ProbePacer
{
    EveryTokenPacer() : ProbePacer([now = qint64(0)]() mutable { return now += DefaultIntervalNs; }) {}
};

// pacer, when given, must outlive the window.
inline std::unique_ptr<ui::MainWindow> shownForm(const QString &text, ui::PassPacer *pacer = nullptr)
{
    auto form = std::make_unique<ui::MainWindow>(pacer);
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        qWarning("window not exposed");
    WindowProbe::documentArea(*form)->setPlainText(text);
    return form;
}

// Lets the event loop lay out the bold still pending outside the view.
inline void settleBold(ui::MainWindow &form)
{
    for (int turns = 0; WindowProbe::boldPending(form) && turns < 100000; ++turns)
        QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// Colour runs as the surface holds them.
inline QList<Run> colourRuns(ui::MainWindow &form)
{
    ui::WidgetSurface &s = WindowProbe::surface(form);
    return runsOf(s.text().size(), [&](qsizetype i) { return s.colourAt(i); });
}

// Colour runs as painted over the text in view.
inline QList<Run> paintedRuns(ui::MainWindow &form)
{
    QList<Run> runs;
    for (const auto &p : WindowProbe::paintedColours(form))
        runs.append(Run{p.start, p.end - 1, p.colour});
    return runs;
}

// Bold runs as the document lays them out (colour 1 stands for bold).
inline QList<Run> boldRuns(ui::MainWindow &form)
{
    const QByteArray bold = WindowProbe::boldShown(form);
    return runsOf(bold.size(), [&](qsizetype i) { return bold[i] ? 1 : 0; });
}

inline QStringList listLines(ui::MainWindow &form)
{
    QStringList lines;
    for (int i = 0; i < WindowProbe::wordList(form)->count(); ++i)
        lines.append(WindowProbe::wordList(form)->item(i)->text());
    return lines;
}

inline int entryOf(ui::MainWindow &form, const QString &word)
{
    for (int i = 0; i < WindowProbe::wordList(form)->count(); ++i) {
        if (WindowProbe::wordList(form)->item(i)->text().endsWith(QStringLiteral(" - ") + word))
            return i;
    }
    return -1;
}

} // namespace tq::testing

Q_DECLARE_METATYPE(QList<tq::testing::Run>)
