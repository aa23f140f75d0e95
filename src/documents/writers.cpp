#include "writers.h"

#include "container.h"

#include <QHash>
#include <QList>

namespace tq::documents {

size_t qHash(const RunLook &look, size_t seed = 0)
{
    return ::qHash(look.colour, seed) ^ (look.italic ? 1 : 0) ^ (look.bold ? 2 : 0)
           ^ (look.underline ? 4 : 0);
}

namespace {

void appendEscaped(QString &out, QChar c)
{
    switch (c.unicode()) {
    case u'<': out += QLatin1String("&lt;"); break;
    case u'>': out += QLatin1String("&gt;"); break;
    case u'&': out += QLatin1String("&amp;"); break;
    case u'"': out += QLatin1String("&quot;"); break;
    default:
        // XML 1.0 has no place for most control characters; a document
        // rarely holds one, and a file that cannot be read back is worse.
        if (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
            out += QChar(0xFFFD);
        else if (c.unicode() == 0xFFFE || c.unicode() == 0xFFFF)
            out += QChar(0xFFFD);
        else
            out += c;
    }
}

// content.xml: spaces, tabs and line breaks written the OpenDocument way,
// each distinct look an automatic text style.
class OdfSink : public RunSink
{
public:
    void startParagraph() override
    {
        closeParagraph();
        m_body += QLatin1String("<text:p text:style-name=\"Text\">");
        m_open = true;
        m_lastWasSpace = true;
    }
    void run(QStringView text, const RunLook &look) override
    {
        if (!look.plain()) {
            m_body += QLatin1String("<text:span text:style-name=\"");
            m_body += styleName(look);
            m_body += QLatin1String("\">");
        }
        qsizetype spaces = 0;
        auto flushSpaces = [&] {
            if (spaces == 0)
                return;
            // A first space after text is a plain one; the rest, and any at
            // the start of a paragraph, are counted.
            if (!m_lastWasSpace) {
                m_body += u' ';
                --spaces;
            }
            if (spaces > 0)
                m_body += spaces == 1 ? QStringLiteral("<text:s/>")
                                      : QStringLiteral("<text:s text:c=\"%1\"/>").arg(spaces);
            m_lastWasSpace = true;
            spaces = 0;
        };
        for (QChar c : text) {
            if (c == u' ') {
                ++spaces;
                continue;
            }
            flushSpaces();
            if (c == QChar::LineSeparator) {
                m_body += QLatin1String("<text:line-break/>");
                m_lastWasSpace = true;
            } else if (c == u'\t') {
                m_body += QLatin1String("<text:tab/>");
                m_lastWasSpace = true;
            } else if (c == QChar::ObjectReplacementCharacter) {
                continue;   // a picture, which is not written
            } else {
                appendEscaped(m_body, c);
                m_lastWasSpace = false;
            }
        }
        flushSpaces();
        if (!look.plain())
            m_body += QLatin1String("</text:span>");
    }

    QByteArray content()
    {
        closeParagraph();
        QString out = QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<office:document-content"
            " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
            " xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\""
            " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
            " xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\""
            " office:version=\"1.2\">"
            "<office:automatic-styles>"
            "<style:style style:name=\"Text\" style:family=\"paragraph\"/>");
        for (qsizetype i = 0; i < m_looks.size(); ++i) {
            const RunLook &look = m_looks[i];
            out += QStringLiteral("<style:style style:name=\"T%1\" style:family=\"text\">"
                                  "<style:text-properties")
                       .arg(i + 1);
            if (look.italic)
                out += QLatin1String(" fo:font-style=\"italic\" style:font-style-asian=\"italic\""
                                     " style:font-style-complex=\"italic\"");
            if (look.bold)
                out += QLatin1String(" fo:font-weight=\"bold\" style:font-weight-asian=\"bold\""
                                     " style:font-weight-complex=\"bold\"");
            if (look.underline)
                out += QLatin1String(" style:text-underline-style=\"solid\""
                                     " style:text-underline-width=\"auto\""
                                     " style:text-underline-color=\"font-color\"");
            if (look.colour)
                out += QStringLiteral(" fo:color=\"%1\"").arg(colourName(look.colour));
            out += QLatin1String("/></style:style>");
        }
        out += QLatin1String("</office:automatic-styles><office:body><office:text>");
        out += m_body;
        out += QLatin1String("</office:text></office:body></office:document-content>\n");
        return out.toUtf8();
    }

private:
    QString styleName(const RunLook &look)
    {
        auto it = m_names.constFind(look);
        if (it == m_names.cend()) {
            m_looks.append(look);
            it = m_names.insert(look, QStringLiteral("T%1").arg(m_looks.size()));
        }
        return *it;
    }
    void closeParagraph()
    {
        if (m_open)
            m_body += QLatin1String("</text:p>");
        m_open = false;
    }

    QString m_body;
    QHash<RunLook, QString> m_names;
    QList<RunLook> m_looks;
    bool m_open = false;
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
