#include "writers.h"

#include "container.h"

#include <QHash>
#include <QList>
#include <QXmlStreamWriter>

namespace tq::documents {

size_t qHash(const RunLook &look, size_t seed = 0)
{
    return ::qHash(look.colour, seed) ^ (look.italic ? 1 : 0) ^ (look.bold ? 2 : 0)
           ^ (look.underline ? 4 : 0);
}

namespace {

// A character XML 1.0 can hold, or U+FFFD in place of one it cannot.
QChar xmlChar(QChar c)
{
    // A document rarely holds a control character; a file that cannot be
    // read back is worse.
    if (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
        return QChar(0xFFFD);
    if (c.unicode() == 0xFFFE || c.unicode() == 0xFFFF)
        return QChar(0xFFFD);
    return c;
}

void appendEscaped(QString &out, QChar c)
{
    switch (c.unicode()) {
    case u'<': out += QLatin1String("&lt;"); break;
    case u'>': out += QLatin1String("&gt;"); break;
    case u'&': out += QLatin1String("&amp;"); break;
    case u'"': out += QLatin1String("&quot;"); break;
    default: out += xmlChar(c);
    }
}

namespace ns {
const QString Office = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString Style = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
const QString Text = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString Fo = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0");
} // namespace ns

// content.xml: spaces, tabs and line breaks written the OpenDocument way,
// each distinct look an automatic text style. The styles come before the
// text in the file but are known only once every run has been seen, so the
// runs are kept until then.
class OdfSink : public RunSink
{
public:
    void startParagraph() override { m_pieces.append({-1, m_text.size(), m_text.size()}); }
    void run(QStringView text, const RunLook &look) override
    {
        const qsizetype from = m_text.size();
        m_text += text;
        m_pieces.append({look.plain() ? 0 : styleNumber(look), from, m_text.size()});
    }

    QByteArray content()
    {
        // Written to a string and encoded once: a writer on bytes encodes
        // at each of its many small writes, twice as slow for a book.
        QString out;
        QXmlStreamWriter xml(&out);
        // A writer on a string declares no encoding.
        xml.writeProcessingInstruction(QStringLiteral("xml"), QStringLiteral("version=\"1.0\" encoding=\"UTF-8\""));
        xml.writeCharacters(QStringLiteral("\n"));
        xml.writeNamespace(ns::Office, QStringLiteral("office"));
        xml.writeNamespace(ns::Style, QStringLiteral("style"));
        xml.writeNamespace(ns::Text, QStringLiteral("text"));
        xml.writeNamespace(ns::Fo, QStringLiteral("fo"));
        xml.writeStartElement(ns::Office, QStringLiteral("document-content"));
        xml.writeAttribute(ns::Office, QStringLiteral("version"), QStringLiteral("1.2"));
        writeStyles(xml);
        xml.writeStartElement(ns::Office, QStringLiteral("body"));
        xml.writeStartElement(ns::Office, QStringLiteral("text"));
        bool open = false;
        for (const Piece &piece : m_pieces) {
            if (piece.style < 0) {
                if (open)
                    xml.writeEndElement();
                startStyled(xml, QStringLiteral("p"), QStringLiteral("Text"));
                open = true;
                m_lastWasSpace = true;
                continue;
            }
            if (piece.style > 0)
                startStyled(xml, QStringLiteral("span"), QStringLiteral("T%1").arg(piece.style));
            writeRun(xml, QStringView(m_text).sliced(piece.from, piece.to - piece.from));
            if (piece.style > 0)
                xml.writeEndElement();
        }
        xml.writeEndDocument();   // closes every open element and ends the line
        return out.toUtf8();
    }

private:
    struct Piece
    {
        int style;   // -1: a paragraph starts; 0: plain; n: style "Tn"
        qsizetype from, to;
    };

    // Even an empty element gets an end tag, so that a file keeps the bytes
    // it has always had.
    static void startStyled(QXmlStreamWriter &xml, const QString &name, const QString &style)
    {
        xml.writeStartElement(ns::Text, name);
        xml.writeAttribute(ns::Text, QStringLiteral("style-name"), style);
        xml.writeCharacters(QString());
    }

    int styleNumber(const RunLook &look)
    {
        auto it = m_numbers.constFind(look);
        if (it == m_numbers.cend()) {
            m_looks.append(look);
            it = m_numbers.insert(look, int(m_looks.size()));
        }
        return *it;
    }

    void writeStyles(QXmlStreamWriter &xml) const
    {
        xml.writeStartElement(ns::Office, QStringLiteral("automatic-styles"));
        xml.writeEmptyElement(ns::Style, QStringLiteral("style"));
        xml.writeAttribute(ns::Style, QStringLiteral("name"), QStringLiteral("Text"));
        xml.writeAttribute(ns::Style, QStringLiteral("family"), QStringLiteral("paragraph"));
        for (qsizetype i = 0; i < m_looks.size(); ++i) {
            const RunLook &look = m_looks[i];
            xml.writeStartElement(ns::Style, QStringLiteral("style"));
            xml.writeAttribute(ns::Style, QStringLiteral("name"), QStringLiteral("T%1").arg(i + 1));
            xml.writeAttribute(ns::Style, QStringLiteral("family"), QStringLiteral("text"));
            xml.writeEmptyElement(ns::Style, QStringLiteral("text-properties"));
            // The Asian and complex-script variants too, or text in those
            // scripts shows without the look.
            auto property = [&](const QString &uri, const QString &name, const QString &value) {
                xml.writeAttribute(uri, name, value);
            };
            if (look.italic) {
                property(ns::Fo, QStringLiteral("font-style"), QStringLiteral("italic"));
                property(ns::Style, QStringLiteral("font-style-asian"), QStringLiteral("italic"));
                property(ns::Style, QStringLiteral("font-style-complex"), QStringLiteral("italic"));
            }
            if (look.bold) {
                property(ns::Fo, QStringLiteral("font-weight"), QStringLiteral("bold"));
                property(ns::Style, QStringLiteral("font-weight-asian"), QStringLiteral("bold"));
                property(ns::Style, QStringLiteral("font-weight-complex"), QStringLiteral("bold"));
            }
            if (look.underline) {
                property(ns::Style, QStringLiteral("text-underline-style"), QStringLiteral("solid"));
                property(ns::Style, QStringLiteral("text-underline-width"), QStringLiteral("auto"));
                property(ns::Style, QStringLiteral("text-underline-color"), QStringLiteral("font-color"));
            }
            if (look.colour)
                property(ns::Fo, QStringLiteral("color"), colourName(look.colour));
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }

    void writeRun(QXmlStreamWriter &xml, QStringView text)
    {
        QString pending;
        auto flushText = [&] {
            // Half a surrogate pair has no UTF-8: "?", as QString::toUtf8
            // writes it (the writer's encoder would stop at it).
            for (qsizetype i = 0; i < pending.size(); ++i) {
                const QChar c = pending[i];
                if (c.isHighSurrogate() && i + 1 < pending.size() && pending[i + 1].isLowSurrogate())
                    ++i;
                else if (c.isSurrogate())
                    pending[i] = u'?';
            }
            xml.writeCharacters(pending);
            pending.clear();
        };
        qsizetype spaces = 0;
        auto flushSpaces = [&] {
            if (spaces == 0)
                return;
            // A first space after text is a plain one; the rest, and any at
            // the start of a paragraph, are counted.
            if (!m_lastWasSpace) {
                pending += u' ';
                --spaces;
            }
            if (spaces > 0) {
                flushText();
                xml.writeEmptyElement(ns::Text, QStringLiteral("s"));
                if (spaces > 1)
                    xml.writeAttribute(ns::Text, QStringLiteral("c"), QString::number(spaces));
            }
            m_lastWasSpace = true;
            spaces = 0;
        };
        for (QChar c : text) {
            if (c == u' ') {
                ++spaces;
                continue;
            }
            flushSpaces();
            if (c == QChar::LineSeparator || c == u'\t') {
                flushText();
                xml.writeEmptyElement(ns::Text, c == u'\t' ? QStringLiteral("tab") : QStringLiteral("line-break"));
                m_lastWasSpace = true;
            } else if (c != QChar::ObjectReplacementCharacter) {   // a picture, which is not written
                pending += xmlChar(c);
                m_lastWasSpace = false;
            }
        }
        flushSpaces();
        flushText();
    }

    QString m_text;
    QList<Piece> m_pieces;
    QHash<RunLook, int> m_numbers;
    QList<RunLook> m_looks;
    bool m_lastWasSpace = true;
};

class HtmlSink : public RunSink
{
public:
    explicit HtmlSink(const QString &title)
    {
        m_out = QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\"/>\n<title>");
        for (QChar c : title)
            appendEscaped(m_out, c);
        m_out += QLatin1String(
            "</title>\n<style>p { white-space: pre-wrap; margin: 0 0 0.6em 0; }</style>\n"
            "</head>\n<body>");
    }
    void startParagraph() override
    {
        closeParagraph();
        m_out += QLatin1String("\n<p>");
        m_open = true;
        m_empty = true;
    }
    void run(QStringView text, const RunLook &look) override
    {
        m_empty = false;
        if (!look.plain()) {
            m_out += QLatin1String("<span style=\"");
            if (look.italic)
                m_out += QLatin1String("font-style:italic;");
            if (look.bold)
                m_out += QLatin1String("font-weight:bold;");
            if (look.underline)
                m_out += QLatin1String("text-decoration:underline;");
            if (look.colour)
                m_out += QLatin1String("color:") + colourName(look.colour) + u';';
            m_out += QLatin1String("\">");
        }
        for (QChar c : text) {
            if (c == QChar::LineSeparator)
                m_out += QLatin1String("<br/>");
            else if (c != QChar::ObjectReplacementCharacter)
                appendEscaped(m_out, c);
        }
        if (!look.plain())
            m_out += QLatin1String("</span>");
    }
    QByteArray html()
    {
        closeParagraph();
        // Nothing after the last paragraph, not even a line end: under
        // pre-wrap, Qt's reader adds it to the paragraph as a space.
        m_out += QLatin1String("</body></html>");
        return m_out.toUtf8();
    }

private:
    void closeParagraph()
    {
        // A browser shows an empty paragraph only with a break inside; the
        // style tells Qt's reader that the paragraph holds nothing.
        if (m_open && m_empty) {
            m_out.chop(3);
            m_out += QLatin1String("<p style=\"-qt-paragraph-type:empty\"><br/></p>");
        } else if (m_open) {
            m_out += QLatin1String("</p>");
        }
        m_open = false;
    }
    QString m_out;
    bool m_open = false;
    bool m_empty = true;
};

} // namespace

std::optional<QByteArray> openDocumentBytes(const QTextDocument &document, const AnalysisMarks &marks)
{
    OdfSink sink;
    walkRuns(document, marks, sink);
    ZipWriter zip;
    // The type comes first and uncompressed, so that it can be recognised
    // from the file's first bytes.
    zip.add(QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.text", true);
    zip.add(QStringLiteral("content.xml"), sink.content());
    zip.add(QStringLiteral("META-INF/manifest.xml"),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\""
            " manifest:version=\"1.2\">\n"
            " <manifest:file-entry manifest:full-path=\"/\" manifest:version=\"1.2\""
            " manifest:media-type=\"application/vnd.oasis.opendocument.text\"/>\n"
            " <manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>\n"
            "</manifest:manifest>\n");
    return zip.finish();
}

QByteArray htmlBytes(const QTextDocument &document, const AnalysisMarks &marks, const QString &title)
{
    HtmlSink sink(title);
    walkRuns(document, marks, sink);
    return sink.html();
}

} // namespace tq::documents
