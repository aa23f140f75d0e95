#include "hostilefiles.h"

#include <QBuffer>
#include <QFile>
#include <QImage>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace hostile {

namespace {

bool addPart(QuaZip &zip, const QString &name, const QByteArray &bytes)
{
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(name)) || file.write(bytes) != bytes.size())
        return false;
    file.close();
    return file.getZipError() == ZIP_OK;
}

void putLe32(QByteArray &bytes, qsizetype at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
}

} // namespace

bool writeZip(const QString &path, const Parts &parts)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    for (const auto &[name, bytes] : parts) {
        if (!addPart(zip, name, bytes))
            return false;
    }
    zip.close();
    return zip.getZipError() == ZIP_OK;
}

bool writeZipOfZeros(const QString &path, const QString &part, qint64 bytes)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(part), nullptr, 0, Z_DEFLATED, Z_BEST_SPEED))
        return false;
    const QByteArray chunk(1 << 20, '\0');
    for (qint64 written = 0; written < bytes; written += chunk.size()) {
        if (file.write(chunk.constData(), qMin<qint64>(chunk.size(), bytes - written)) < 0)
            return false;
    }
    file.close();
    zip.close();
    return zip.getZipError() == ZIP_OK;
}

bool lieAboutSize(const QString &path, quint32 declared)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    QByteArray bytes = file.readAll();
    // Local header: size at 22; central directory header: size at 24.
    const qsizetype local = bytes.indexOf(QByteArray("PK\x03\x04", 4));
    const qsizetype central = bytes.indexOf(QByteArray("PK\x01\x02", 4));
    if (local < 0 || central < 0)
        return false;
    putLe32(bytes, local + 22, declared);
    putLe32(bytes, central + 24, declared);
    file.seek(0);
    return file.write(bytes) == bytes.size();
}

Parts openDocumentParts(const QByteArray &contentXml)
{
    return {{"mimetype", "application/vnd.oasis.opendocument.text"},
            {"content.xml", contentXml},
            {"META-INF/manifest.xml",
             "<?xml version=\"1.0\"?><manifest:manifest "
             "xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\"/>"}};
}

Parts wordParts(const QByteArray &documentXml)
{
    return {{"[Content_Types].xml",
             "<?xml version=\"1.0\"?><Types "
             "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>"},
            {"_rels/.rels",
             "<?xml version=\"1.0\"?><Relationships "
             "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
             "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
             "2006/relationships/officeDocument\" Target=\"word/document.xml\"/></Relationships>"},
            {"word/document.xml", documentXml}};
}

QByteArray entityExpansion(const QByteArray &root)
{
    QByteArray dtd = "<?xml version=\"1.0\"?>\n<!DOCTYPE " + root + " [\n<!ENTITY lol \"lol\">\n";
    for (int i = 1; i <= 9; ++i) {
        dtd += "<!ENTITY lol" + QByteArray::number(i) + " \"";
        for (int j = 0; j < 10; ++j)
            dtd += "&lol" + (i > 1 ? QByteArray::number(i - 1) : QByteArray()) + ";";
        dtd += "\">\n";
    }
    return dtd + "]>\n<" + root + ">&lol9;</" + root + ">\n";
}

namespace {

const QByteArray OdfHead =
    "<?xml version=\"1.0\"?><office:document-content"
    " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
    " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\">"
    "<office:body><office:text><text:p>";
const QByteArray OdfTail = "</text:p></office:text></office:body></office:document-content>";
const QByteArray WordHead =
    "<?xml version=\"1.0\"?><w:document"
    " xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body><w:p>";
const QByteArray WordTail = "</w:p></w:body></w:document>";

QByteArray repeated(const QByteArray &piece, int n)
{
    return piece.repeated(n);
}

QByteArray page(const QByteArray &body)
{
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>t</title></head><body>" + body
           + "</body></html>\n";
}

} // namespace

QByteArray repeatedSpaces(int n)
{
    return OdfHead + "a" + repeated("<text:s text:c=\"1024\"/>", n) + "b" + OdfTail;
}

QByteArray manyRuns(int n)
{
    return WordHead + repeated("<w:r><w:rPr><w:b/></w:rPr><w:t>x</w:t></w:r><w:r><w:t xml:space=\"preserve\"> </w:t></w:r>", n)
           + WordTail;
}

QByteArray nestedRuns(int n)
{
    return WordHead + repeated("<w:r>", n) + "<w:t>deep</w:t>" + repeated("</w:r>", n) + WordTail;
}

QByteArray nestedSpans(int n)
{
    return OdfHead + repeated("<text:span>", n) + "deep" + repeated("</text:span>", n) + OdfTail;
}

QByteArray nestedDivs(int n)
{
    return page(repeated("<div>", n) + "deep" + repeated("</div>", n));
}

QByteArray manyPictures(int n)
{
    return page("<p>words " + repeated("<img src=\"picture.png\" width=\"30000\" height=\"30000\">", n)
                + " more</p>");
}

QByteArray wideCells(int n)
{
    return page("<table>" + repeated("<tr><td colspan=\"30000\">cell</td></tr>", n) + "</table>");
}

QByteArray manyParagraphs(int n)
{
    return page(repeated("<p>In the beginning <b>God</b> created the heaven and the earth.</p>\n", n));
}

QByteArray pngPicture()
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace hostile
