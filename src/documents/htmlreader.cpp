#include "htmlreader.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QUrl>
#include <QVariant>

namespace tq::documents {

namespace {

// Pictures are not prose, and a picture that was never loaded would be
// looked for again wherever the document is shown.
void removePictures(QTextDocument &document)
{
    QList<int> positions;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid() && fragment.charFormat().isImageFormat()) {
                for (int i = 0; i < fragment.length(); ++i)
                    positions.append(fragment.position() + i);
            }
        }
    }
    QTextCursor cursor(&document);
    for (auto it = positions.crbegin(); it != positions.crend(); ++it) {
        cursor.setPosition(*it);
        cursor.setPosition(*it + 1, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
}

} // namespace

bool readHtml(const QByteArray &utf8, QTextDocument &document, QString &)
{
    // A style sheet or a picture named in the page could be any file on the
    // machine (a device that never ends, a huge file): every resource reads
    // as empty.
    document.setResourceProvider([](const QUrl &) { return QVariant(QByteArray()); });
    document.setHtml(QString::fromUtf8(utf8));
    removePictures(document);
    return true;
}

} // namespace tq::documents
