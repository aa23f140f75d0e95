#include "htmlreader.h"

#include "richtext.h"

#include <QRegularExpression>
#include <QSet>

#include <libxml/HTMLparser.h>
#include <libxml/parserInternals.h>

#include <memory>
#include <vector>

namespace tq::documents {

namespace {

// How an element treats white space (the CSS white-space property).
enum class Spacing {
    Collapse,   // runs of white space are one space; line ends too
    Lines,      // pre-line: spaces collapse, line ends break the line
    Keep,       // pre, pre-wrap: every space and line end stays
};

struct OpenElement
{
    CharStyle style;
    Spacing spacing = Spacing::Collapse;
    bool skipped = false;   // inside what is not prose (scripts, forms, the head)
    int headingLevel = 0;   // inside h1 to h6
};

using Names = QSet<QByteArray>;

// Elements that make a paragraph of their own (or hold paragraphs): their
// start and end end the paragraph being built. A table cell is one, so that
// the cells of a row never run together.
const Names &blockElements()
{
    static const Names names = {
        "address", "article", "aside", "blockquote", "body", "caption", "center", "dd", "details",
        "dialog", "dir", "div", "dl", "dt", "fieldset", "figcaption", "figure", "footer", "form",
        "h1", "h2", "h3", "h4", "h5", "h6", "header", "hgroup", "hr", "html", "legend", "li",
        "listing", "main", "menu", "nav", "ol", "p", "plaintext", "pre", "section", "summary",
        "table", "tbody", "td", "tfoot", "th", "thead", "tr", "ul", "xmp"};
    return names;
}

// Elements whose content a reader does not see as the page's prose.
const Names &skippedElements()
{
    static const Names names = {"head", "title", "script", "style", "template", "noscript",
                                "select", "textarea", "button", "object", "iframe", "svg",
                                "math", "canvas", "audio", "video", "map"};
    return names;
}

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

// The white-space, font-weight, font-style and text-decoration of a style
// attribute, laid over what the element had.
void applyDeclarations(QStringView declarations, CharStyle &style, Spacing &spacing)
{
    for (QStringView declaration : declarations.split(u';')) {
        const qsizetype colon = declaration.indexOf(u':');
        if (colon < 0)
            continue;
        const QString property = declaration.left(colon).trimmed().toString().toLower();
        const QString value = declaration.sliced(colon + 1).trimmed().toString().toLower();
        if (property == u"font-weight") {
            bool number = false;
            const int weight = value.toInt(&number);
            style.bold = number ? weight >= 600 : value == u"bold" || value == u"bolder";
        } else if (property == u"font-style") {
            style.italic = value.startsWith(u"italic") || value.startsWith(u"oblique");
        } else if (property == u"text-decoration" || property == u"text-decoration-line") {
            if (value.contains(u"underline"))
                style.underline = true;
            else if (value.startsWith(u"none"))
                style.underline = false;
        } else if (property == u"white-space") {
            if (value.startsWith(u"pre-line"))
                spacing = Spacing::Lines;
            else if (value.startsWith(u"pre") || value.startsWith(u"break-spaces"))
                spacing = Spacing::Keep;
            else if (value == u"normal" || value == u"nowrap")
                spacing = Spacing::Collapse;
        }
    }
}

class HtmlReader
{
public:
    explicit HtmlReader(QTextDocument &document) : m_builder(document) {}
    bool read(const QByteArray &utf8, QString &reason);

private:
    static HtmlReader &self(void *context)
    {
        return *static_cast<HtmlReader *>(static_cast<xmlParserCtxtPtr>(context)->_private);
    }
    static void startElement(void *context, const xmlChar *name, const xmlChar **attributes)
    {
        self(context).start(reinterpret_cast<const char *>(name),
                            reinterpret_cast<const char **>(attributes));
    }
    static void endElement(void *context, const xmlChar *name)
    {
        self(context).end(reinterpret_cast<const char *>(name));
    }
    static void characters(void *context, const xmlChar *text, int length)
    {
        self(context).characters(QString::fromUtf8(reinterpret_cast<const char *>(text), length));
    }
    static void ignoreError(void *, xmlErrorPtr) {}

    void start(QByteArrayView name, const char **attributes);
    void end(QByteArrayView name);
    void characters(const QString &text);
    void readStyleSheet(const QString &sheet);

    void boundary();
    void startParagraph();
    void lineBreak(const CharStyle &style);
    void content(QStringView text, const CharStyle &style);
    void stop() { xmlStopParser(m_parser); }

    RichTextBuilder m_builder;
    xmlParserCtxtPtr m_parser = nullptr;
    std::vector<OpenElement> m_open{OpenElement()};
    bool m_tooDeep = false;
    bool m_inStyleSheet = false;
    QString m_styleSheet;
    Names m_keptSpacing;   // elements a style sheet gives white-space: pre*
    Names m_lineSpacing;   // ... and pre-line

    // The paragraph being built: whether one is started since the last
    // block boundary, and what waits for more content to be written (a
    // break or a space that would be dropped at the paragraph's end, as a
    // browser drops them).
    bool m_paragraph = false;
    bool m_breakWaiting = false;
    CharStyle m_breakStyle;
    bool m_spaceWaiting = false;
    CharStyle m_spaceStyle;
    bool m_lastWasSpace = true;
    QString m_leading;   // kept white space before a paragraph's first content
    CharStyle m_leadingStyle;
    QString m_run;   // scratch
};

bool HtmlReader::read(const QByteArray &utf8, QString &reason)
{
    htmlSAXHandler sax{};
    sax.startElement = startElement;
    sax.endElement = endElement;
    sax.characters = characters;
    sax.ignorableWhitespace = characters;
    sax.cdataBlock = characters;   // the content of <style> and <script>
    sax.serror = ignoreError;
    sax.initialized = XML_SAX2_MAGIC;
    std::unique_ptr<xmlParserCtxt, void (*)(htmlParserCtxtPtr)> parser(
        htmlCreatePushParserCtxt(&sax, nullptr, nullptr, 0, nullptr, XML_CHAR_ENCODING_UTF8),
        htmlFreeParserCtxt);
    if (!parser) {
        reason = QStringLiteral("there is not enough memory to read it");
        return false;
    }
    m_parser = parser.get();
    m_parser->_private = this;
    htmlCtxtUseOptions(m_parser, HTML_PARSE_IGNORE_ENC | HTML_PARSE_NONET | HTML_PARSE_NOERROR
                                     | HTML_PARSE_NOWARNING);
    // In slices, so that a refusal stops the work soon.
    constexpr qsizetype Slice = 1 << 20;
    for (qsizetype at = 0; at < utf8.size() && !m_tooDeep; at += Slice) {
        const qsizetype length = qMin(Slice, utf8.size() - at);
        htmlParseChunk(m_parser, utf8.constData() + at, int(length), 0);
        if (m_parser->disableSAX)
            break;
    }
    if (!m_tooDeep && !m_parser->disableSAX)
        htmlParseChunk(m_parser, nullptr, 0, 1);
    if (m_tooDeep) {
        reason = tooDeepReason();
        return false;
    }
    return m_builder.finish(reason);
}

void HtmlReader::start(QByteArrayView name, const char **attributes)
{
    if (m_open.size() > MaxNesting) {
        m_tooDeep = true;
        stop();
        return;
    }
    OpenElement element = m_open.back();
    const QByteArray tag = name.toByteArray();
    if (skippedElements().contains(tag)) {
        element.skipped = true;
        m_inStyleSheet = tag == "style";
    }
    if (element.skipped) {
        m_open.push_back(element);
        return;
    }
    const bool heading = tag.size() == 2 && tag[0] == 'h' && tag[1] >= '1' && tag[1] <= '6';
    if (heading)
        element.headingLevel = tag[1] - '0';
    if (tag == "b" || tag == "strong" || tag == "th" || heading)
        element.style.bold = true;
    else if (tag == "i" || tag == "em" || tag == "cite" || tag == "dfn" || tag == "var")
        element.style.italic = true;
    else if (tag == "u" || tag == "ins")
        element.style.underline = true;
    if (tag == "pre" || tag == "listing" || tag == "plaintext" || tag == "xmp"
        || m_keptSpacing.contains(tag))
        element.spacing = Spacing::Keep;
    else if (m_lineSpacing.contains(tag))
        element.spacing = Spacing::Lines;
    for (const char **a = attributes; a && a[0]; a += 2) {
        if (qstrcmp(a[0], "style") == 0 && a[1])
            applyDeclarations(QString::fromUtf8(a[1]), element.style, element.spacing);
    }
    m_open.push_back(element);
    if (blockElements().contains(tag))
        boundary();
    else if (tag == "br")
        lineBreak(element.style);
}

void HtmlReader::end(QByteArrayView name)
{
    if (m_open.size() <= 1)
        return;
    if (m_inStyleSheet && name == "style") {
        readStyleSheet(m_styleSheet);
        m_styleSheet.clear();
        m_inStyleSheet = false;
    }
    const bool skipped = m_open.back().skipped;
    m_open.pop_back();
    if (!skipped && blockElements().contains(name.toByteArray()))
        boundary();
}

// Only what a style sheet says of white space by element name matters here
// ("p, li { white-space: pre-wrap; }", as this program's own pages and Qt's
// have it): the look of text comes from elements and style attributes.
void HtmlReader::readStyleSheet(const QString &sheet)
{
    static const QRegularExpression rule(QStringLiteral("([^{}]*)\\{([^{}]*)\\}"));
    for (const QRegularExpressionMatch &match : rule.globalMatch(sheet)) {
        CharStyle ignored;
        Spacing spacing = Spacing::Collapse;
        applyDeclarations(match.capturedView(2), ignored, spacing);
        if (spacing == Spacing::Collapse)
            continue;
        for (QStringView selector : match.capturedView(1).split(u',')) {
            const QByteArray name = selector.trimmed().toString().toLower().toLatin1();
            static const QRegularExpression plainName(QStringLiteral("^[a-z][a-z0-9]*$"));
            if (plainName.match(QString::fromLatin1(name)).hasMatch())
                (spacing == Spacing::Keep ? m_keptSpacing : m_lineSpacing).insert(name);
        }
    }
}

void HtmlReader::characters(const QString &text)
{
    const OpenElement &element = m_open.back();
    if (element.skipped) {
        if (m_inStyleSheet && m_styleSheet.size() < 1024 * 1024)
            m_styleSheet += text;
        return;
    }
    m_run.clear();
    auto flush = [&] {
        if (!m_run.isEmpty())
            content(m_run, element.style);
        m_run.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool lineEnd = c == u'\n' || c == u'\r';
        if (lineEnd && element.spacing != Spacing::Collapse) {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            flush();
            lineBreak(element.style);
        } else if (isSpace(c) && element.spacing != Spacing::Keep) {
            flush();
            if (!m_lastWasSpace) {
                m_spaceWaiting = true;
                m_spaceStyle = element.style;
            }
            m_lastWasSpace = true;
        } else if (isSpace(c) && !m_paragraph && m_run.isEmpty()) {
            // Kept white space that may only stand between two blocks.
            if (m_leading.isEmpty())
                m_leadingStyle = element.style;
            m_leading += c;
        } else {
            m_run += c;
        }
    }
    flush();
    if (m_builder.tooLong())
        stop();
}

void HtmlReader::startParagraph()
{
    m_builder.startParagraph();
    m_builder.setHeadingLevel(m_open.back().headingLevel);
    m_paragraph = true;
}

void HtmlReader::boundary()
{
    m_paragraph = false;
    m_breakWaiting = false;
    m_spaceWaiting = false;
    m_lastWasSpace = true;
    m_leading.clear();
}

// A break shows only when something follows it in the paragraph, or when it
// is all the paragraph holds (an empty line).
void HtmlReader::lineBreak(const CharStyle &style)
{
    m_spaceWaiting = false;
    m_lastWasSpace = true;
    m_leading.clear();
    if (!m_paragraph) {
        startParagraph();
    } else if (m_breakWaiting) {
        m_builder.lineBreak(m_breakStyle);
    }
    m_breakWaiting = true;
    m_breakStyle = style;
}

void HtmlReader::content(QStringView text, const CharStyle &style)
{
    if (!m_paragraph)
        startParagraph();
    if (m_breakWaiting)
        m_builder.lineBreak(m_breakStyle);
    if (m_spaceWaiting)
        m_builder.append(u" ", m_spaceStyle);
    if (!m_leading.isEmpty())
        m_builder.append(m_leading, m_leadingStyle);
    m_breakWaiting = m_spaceWaiting = false;
    m_leading.clear();
    m_builder.append(text, style);
    m_lastWasSpace = text.back() == u' ';
}

} // namespace

bool readHtml(const QByteArray &utf8, QTextDocument &document, QString &reason)
{
    HtmlReader reader(document);
    return reader.read(utf8, reason);
}

} // namespace tq::documents
