#include "container.h"

#include <QBuffer>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

namespace tq::documents {

namespace {
const QString TooLarge = QStringLiteral("its contents would expand past 256 MB");
const QString Damaged = QStringLiteral("the file is damaged or incomplete");
} // namespace

ZipContainer::ZipContainer(const QString &path) : m_zip(std::make_unique<QuaZip>(path)) {}

ZipContainer::~ZipContainer() = default;

bool ZipContainer::open(QString &reason)
{
    if (!m_zip->open(QuaZip::mdUnzip)) {
        reason = Damaged;
        return false;
    }
    return true;
}

bool ZipContainer::has(const QString &part) const
{
    return m_zip->setCurrentFile(part);
}

std::optional<QByteArray> ZipContainer::read(const QString &part, QString &reason)
{
    if (!m_zip->setCurrentFile(part)) {
        reason = QStringLiteral("it has no %1").arg(part);
        return std::nullopt;
    }
    QuaZipFile file(m_zip.get());
    QuaZipFileInfo64 info;
    if (!file.getFileInfo(&info)) {
        reason = Damaged;
        return std::nullopt;
    }
    // The declared size is checked first, the real one while reading: the
    // declaration may lie.
    if (qint64(info.uncompressedSize) > m_budget || qint64(info.uncompressedSize) < 0) {
        reason = TooLarge;
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        reason = Damaged;
        return std::nullopt;
    }
    QByteArray bytes;
    bytes.reserve(qsizetype(info.uncompressedSize));
    char chunk[1 << 16];
    for (;;) {
        const qint64 n = file.read(chunk, sizeof chunk);
        if (n < 0) {
            reason = Damaged;
            return std::nullopt;
        }
        if (n == 0)
            break;
        if (bytes.size() + n > m_budget) {
            reason = TooLarge;
            return std::nullopt;
        }
        bytes.append(chunk, n);
    }
    file.close();
    if (file.getZipError() != UNZ_OK) {   // a CRC mismatch shows here
        reason = Damaged;
        return std::nullopt;
    }
    m_budget -= bytes.size();
    return bytes;
}

struct ZipWriter::Private
{
    QByteArray bytes;
    QBuffer buffer{&bytes};
    QuaZip zip;
    bool ok = true;
};

ZipWriter::ZipWriter() : d(std::make_unique<Private>())
{
    d->zip.setIoDevice(&d->buffer);
    d->ok = d->zip.open(QuaZip::mdCreate);
}

ZipWriter::~ZipWriter() = default;

bool ZipWriter::add(const QString &part, const QByteArray &bytes, bool stored)
{
    if (!d->ok)
        return false;
    QuaZipFile file(&d->zip);
    QuaZipNewInfo info(part);
    if (!file.open(QIODevice::WriteOnly, info, nullptr, 0, stored ? 0 : Z_DEFLATED,
                   stored ? 0 : Z_DEFAULT_COMPRESSION)
        || file.write(bytes) != bytes.size()) {
        d->ok = false;
        return false;
    }
    file.close();
    d->ok = file.getZipError() == ZIP_OK;
    return d->ok;
}

std::optional<QByteArray> ZipWriter::finish()
{
    if (!d->ok)
        return std::nullopt;
    d->zip.close();
    if (d->zip.getZipError() != ZIP_OK)
        return std::nullopt;
    return d->bytes;
}

} // namespace tq::documents
