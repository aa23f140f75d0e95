// Makes the files a reader must refuse (or survive) at test time: zip
// bombs, XML with entity declarations, truncated and empty containers,
// pictures and archives under a document's name. Real documents come from
// real word processors (see fixtures/); these are built by hand on purpose.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

namespace hostile {

using Parts = QList<std::pair<QString, QByteArray>>;

// A zip holding these parts; returns false when it cannot be written.
bool writeZip(const QString &path, const Parts &parts);
// A zip whose one part, named part, expands to bytes zero bytes.
bool writeZipOfZeros(const QString &path, const QString &part, qint64 bytes);
// The same zip with the part's declared size (in both headers) set to
// declared, as a crafted bomb would lie about it.
bool lieAboutSize(const QString &path, quint32 declared);

// The parts of a minimal OpenDocument text or Word document around the
// given content.xml or word/document.xml.
Parts openDocumentParts(const QByteArray &contentXml);
Parts wordParts(const QByteArray &documentXml);

// "Billion laughs": entities that expand to a billion copies of a word.
QByteArray entityExpansion(const QByteArray &root);

// Shapes no real document has, each growing with n: the text it expands to,
// its formatted runs, its nesting or its elements. Each is the part or page
// a reader sees: wrap the XML ones with openDocumentParts or wordParts.
QByteArray repeatedSpaces(int n);      // content.xml: n <text:s text:c="1024"/>
QByteArray manyRuns(int n);            // document.xml: one paragraph of n bold runs
QByteArray nestedRuns(int n);          // document.xml: <w:r> nested n deep
QByteArray nestedSpans(int n);         // content.xml: <text:span> nested n deep
QByteArray nestedDivs(int n);          // a page of <div> nested n deep
QByteArray manyPictures(int n);        // a page of n <img> tags
QByteArray wideCells(int n);           // a page of n rows of <td colspan="30000">
QByteArray manyParagraphs(int n);      // a page of n short paragraphs

QByteArray pngPicture();
bool writeFile(const QString &path, const QByteArray &bytes);

} // namespace hostile
