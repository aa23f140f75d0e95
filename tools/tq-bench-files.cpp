// Times the file work at book scale, in one process: opening a .txt and a
// .docx (to text in a document, and in the window until the text in view is
// painted), saving, and the highlighted exports. Prints "step: seconds"
// lines, medians of RUNS.
//   tq-bench-files BOOK.txt BOOK.docx [RUNS]
#include "analysispass.h"
#include "documentarea.h"
#include "documentfile.h"
#include "exports.h"
#include "mainwindow.h"
#include "windowprobe.h"
#include "manuscript.h"
#include "memorylist.h"
#include "memorysurface.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace tq;
using namespace tq::documents;

using tq::ui::WindowProbe;

namespace {

// Each run times itself.
double medianOf(const std::function<double()> &timedStep, int runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(timedStep());
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double median(const std::function<void()> &step, int runs)
{
    return medianOf([&] {
        QElapsedTimer timer;
        timer.start();
        step();
        return double(timer.nsecsElapsed()) / 1e9;
    }, runs);
}

void report(const char *step, double seconds)
{
    std::printf("%s: %.3f s\n", step, seconds);
    std::fflush(stdout);
}

std::unique_ptr<QTextDocument> open(const QString &path)
{
    ReadResult read = readManuscript(path);
    if (!read.document)
        qFatal("%s", qPrintable(read.error));
    return std::move(read.document);
}

// Open in the window, from the command to the text in view painted; the
// rest of a book is laid out afterwards, between events.
double openInWindow(const QString &path)
{
    tq::ui::MainWindow form;
    form.show();
    QCoreApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    if (!form.documentFile().openFile(path))
        qFatal("cannot open %s", qPrintable(path));
    QCoreApplication::processEvents();
    WindowProbe::documentArea(form)->viewport()->grab();
    return double(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fputs("usage: tq-bench-files BOOK.txt BOOK.docx [RUNS]\n", stderr);
        return 2;
    }
    const QString txt = QString::fromLocal8Bit(argv[1]);
    const QString docx = QString::fromLocal8Bit(argv[2]);
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    QTemporaryDir dir;

    report("open .txt", median([&] { open(txt); }, runs));
    report("open .txt in the window", medianOf([&] { return openInWindow(txt); }, runs));
    report("open .docx", median([&] { open(docx); }, runs));
    report("open .docx in the window", medianOf([&] { return openInWindow(docx); }, runs));

    const auto book = open(txt);
    ReadResult source = readManuscript(txt);
    source.source.path = dir.filePath(QStringLiteral("saved.txt"));
    report("save .txt", median([&] {
               if (!writeManuscript(*book, source.source).isEmpty())
                   qFatal("save failed");
           }, runs));

    MemorySurface surface(documentText(*book));
    FixedControls controls;
    MemoryList list;
    WordTable table;
    runAnalysisPass(surface, controls, list, table, [] { return true; });
    const QByteArray bold;
    for (const char *suffix : {"html", "odt"}) {
        const QString out = dir.filePath(QStringLiteral("highlighted.") + QLatin1String(suffix));
        const double seconds = median([&] {
            if (!exportHighlighted(out, *book, surface.colours(), bold).isEmpty())
                qFatal("export failed");
        }, runs);
        report(qPrintable(QStringLiteral("export highlighted .%1").arg(QLatin1String(suffix))), seconds);
    }
    return 0;
}
