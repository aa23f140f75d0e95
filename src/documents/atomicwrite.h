// Writing files so that a failure never leaves a half-written one: each is
// written beside its target and moved into place only when all are whole.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

namespace tq::documents {

// Writes every (path, bytes) pair or none: all are written beside their
// targets first and moved into place only when every one succeeded. Empty
// on success, else one sentence naming the file and the reason.
QString writeFilesTogether(const QList<std::pair<QString, QByteArray>> &files);

} // namespace tq::documents
