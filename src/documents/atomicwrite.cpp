#include "atomicwrite.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <memory>
#include <vector>

namespace tq::documents {

QString writeFilesTogether(const QList<std::pair<QString, QByteArray>> &files)
{
    std::vector<std::unique_ptr<QSaveFile>> pending;
    auto failure = [](const QString &path, const QString &reason) {
        return QStringLiteral("Cannot write %1: %2.").arg(path, reason);
    };
    for (const auto &[path, bytes] : files) {
        auto file = std::make_unique<QSaveFile>(path);
        if (!file->open(QIODevice::WriteOnly) || file->write(bytes) != bytes.size()) {
            // The new version is written beside the old one first, so the
            // folder must be writable even when the file itself is.
            const QFileInfo folder(QFileInfo(path).absolutePath());
            if (folder.isDir() && !folder.isWritable())
                return failure(path, QStringLiteral("the folder %1 is not writable").arg(folder.filePath()));
            return failure(path, file->errorString());   // the others are cancelled unwritten
        }
        // A write cut short (a full disk, a size limit) is not always
        // reported, and the commit would then replace the old file with
        // the part that fitted: count what reached the disk.
        if (!file->flush() || file->size() != bytes.size()) {
            file->cancelWriting();
            return failure(path, QStringLiteral("not all of it could be written (is the disk full?)"));
        }
        pending.push_back(std::move(file));
    }
    for (size_t i = 0; i < pending.size(); ++i) {
        if (!pending[i]->commit()) {
            const QString error = failure(pending[i]->fileName(), pending[i]->errorString());
            // Moving into place failed after all; take back the ones moved.
            for (size_t j = 0; j < i; ++j)
                QFile::remove(pending[j]->fileName());
            return error;
        }
    }
    return {};
}

} // namespace tq::documents
