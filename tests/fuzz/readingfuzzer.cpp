// Coverage-guided fuzzer for the readers: every file a writer opens goes
// through readManuscript, which must read it or refuse it with a reason,
// never crash, hang or read out of bounds.
//
// The first byte picks the path (see Kind); the rest is the file. For the
// containers the next two bytes give the length of the main part (content.xml
// or word/document.xml) and what follows is the styles part, packed into a
// valid zip with the other parts a real file has, so that the XML readers
// are reached past the container checks.
#include "headlessapp.h"
#include "hostilefiles.h"
#include "manuscript.h"

#include <QByteArray>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace tq::documents;

namespace {

// The .rtf path reads as whatever readManuscript makes of that suffix: plain
// text until the RTF reader exists, then RTF, with no change here.
enum Kind { Text, Markdown, Html, OpenDocument, Word, Rtf, KindCount };
const char *const Suffixes[KindCount] = {"txt", "md", "html", "odt", "docx", "rtf"};

std::unique_ptr<QTemporaryDir> folder;

[[noreturn]] void failed(const char *what)
{
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Kept to the end and never destroyed: the application outlives every
    // input, and at exit Qt's own statics may already be gone.
    static auto *app = new tq::cli::HeadlessApp;
    Q_UNUSED(app);
    // In memory where the system offers it: a file is written per input.
    folder = std::make_unique<QTemporaryDir>(QFileInfo::exists(QStringLiteral("/dev/shm"))
                                                 ? QStringLiteral("/dev/shm/tq-reading-fuzz-XXXXXX")
                                                 : QDir::tempPath() + QStringLiteral("/tq-reading-fuzz-XXXXXX"));
    if (!folder->isValid())
        failed("no temporary folder");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const Kind kind = Kind(data[0] % KindCount);
    const QByteArray rest(reinterpret_cast<const char *>(data) + 1, qsizetype(size) - 1);
    const QString path = folder->filePath(QStringLiteral("input.") + QLatin1String(Suffixes[kind]));
    bool written = false;
    if (kind == OpenDocument || kind == Word) {
        const qsizetype mainLength =
            rest.size() < 2 ? 0 : qMin(rest.size() - 2, qsizetype(uint8_t(rest[0])) << 8 | uint8_t(rest[1]));
        const QByteArray main = rest.mid(2, mainLength);
        const QByteArray styles = rest.mid(2 + mainLength);
        hostile::Parts parts = kind == OpenDocument ? hostile::openDocumentParts(main) : hostile::wordParts(main);
        parts.append({kind == OpenDocument ? QStringLiteral("styles.xml") : QStringLiteral("word/styles.xml"), styles});
        written = hostile::writeZip(path, parts);
    } else {
        written = hostile::writeFile(path, rest);
    }
    if (!written)
        failed("cannot write the input file");

    const ReadResult result = readManuscript(path);
    if (bool(result.document) == !result.error.isEmpty())
        failed("a read gives either a document or a reason");
    if (!result.document && !result.error.contains(path))
        failed("a refusal names the file");
    if (result.document) {
        const QString text = documentText(*result.document);
        if (text.size() != result.document->characterCount() - 1)
            failed("the analysis text is one character per document position");
    }
    return 0;
}
