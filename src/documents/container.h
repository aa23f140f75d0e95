// The zip container of .odt and .docx files, read with limits: a part may
// not expand past what a real manuscript needs, so a "zip bomb" is refused
// instead of filling the memory.
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

class QuaZip;

namespace tq::documents {

// Everything read from one container together may expand to this much.
inline constexpr qint64 MaxExpandedBytes = 256LL * 1024 * 1024;

class ZipContainer
{
public:
    explicit ZipContainer(const QString &path);
    ~ZipContainer();

    // False with a reason when the file is not a complete zip container.
    bool open(QString &reason);
    bool has(const QString &part) const;
    // The part's bytes; empty with a reason when it is missing, damaged or
    // too large.
    std::optional<QByteArray> read(const QString &part, QString &reason);

private:
    std::unique_ptr<QuaZip> m_zip;
    qint64 m_budget = MaxExpandedBytes;
};

// A zip file built in memory, for writing .odt files.
class ZipWriter
{
public:
    ZipWriter();
    ~ZipWriter();
    // stored: kept uncompressed (the OpenDocument "mimetype" part must be).
    bool add(const QString &part, const QByteArray &bytes, bool stored = false);
    // The finished container; empty on failure.
    std::optional<QByteArray> finish();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace tq::documents
