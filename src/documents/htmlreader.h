// HTML read as prose: paragraphs, line breaks and the writer's character
// formatting, with nothing fetched from outside the page and no pictures.
#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace tq::documents {

// Replaces document's content with the page in utf8. Returns false with the
// reason when the page cannot be read.
bool readHtml(const QByteArray &utf8, QTextDocument &document, QString &reason);

} // namespace tq::documents
