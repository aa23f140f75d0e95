// The hostile shapes for bench/reading: writes them into a folder, or reads
// one file as the window opens it and says how long that took.
//   tq-bench-reading --write DIR     one file per shape, named for it
//   tq-bench-reading FILE            prints "read: S s" or "refused: S s: REASON"
#include "headlessapp.h"
#include "hostilefiles.h"
#include "manuscript.h"

#include <QDir>
#include <QElapsedTimer>

#include <cstdio>
#include <functional>

using namespace tq::documents;

namespace {

// Each shape at the size that hung or exhausted a reader before it was
// bounded, and what the reader must make of it.
bool writeShapes(const QString &folder)
{
    QDir().mkpath(folder);
    auto at = [&](const char *name) { return QDir(folder).filePath(QString::fromLatin1(name)); };
    using hostile::openDocumentParts;
    using hostile::wordParts;
    using hostile::writeFile;
    using hostile::writeZip;
    return writeZip(at("expansion-spaces.odt"), openDocumentParts(hostile::repeatedSpaces(131072)))
           && writeZip(at("runs-40000.docx"), wordParts(hostile::manyRuns(40000)))
           && writeZip(at("runs-1000000.docx"), wordParts(hostile::manyRuns(1000000)))
           && writeZip(at("nested-runs.docx"), wordParts(hostile::nestedRuns(18000000)))
           && writeZip(at("nested-spans.odt"), openDocumentParts(hostile::nestedSpans(1000000)))
           && writeFile(at("nested-divs.html"), hostile::nestedDivs(100000))
           && writeFile(at("pictures.html"), hostile::manyPictures(20000))
           && writeFile(at("wide-cells.html"), hostile::wideCells(1000))
           && writeFile(at("paragraphs.html"), hostile::manyParagraphs(500000))
           && writeFile(at("short.txt"), "A short text, read under a tight limit on address space.\n");
}

} // namespace

int main(int argc, char **argv)
{
    tq::cli::HeadlessApp app;
    if (argc == 3 && qstrcmp(argv[1], "--write") == 0)
        return writeShapes(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    if (argc != 2) {
        std::fputs("usage: tq-bench-reading --write DIR | FILE\n", stderr);
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    const ReadResult result = readManuscript(QString::fromLocal8Bit(argv[1]));
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (result.document)
        std::printf("read: %.3f s\n", seconds);
    else
        std::printf("refused: %.3f s: %s\n", seconds, qPrintable(result.error));
    return 0;
}
