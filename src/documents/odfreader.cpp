#include "odfreader.h"

#include "container.h"
#include "richtext.h"

#include <QHash>
#include <QTextDocument>
#include <QXmlStreamReader>

#include <algorithm>
#include <optional>
#include <vector>

namespace tq::documents {

namespace {

const QString OfficeNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString TextNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString StyleNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
const QString FoNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0");
const QString DrawNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:drawing:1.0");

// A style chain longer than this is a loop or a hostile file.
constexpr int MaxStyleDepth = 32;
// Repeated spaces (<text:s text:c="N"/>) beyond this are a hostile file.
constexpr int MaxRepeatedSpaces = 1024;

// Styles by name, each with its own properties and the style it is based
// on; a property a style leaves unset comes from below.
class StyleSheet
{
public:
    CharStyle &own(const QString &key) { return m_styles[key].own; }
    void setParent(const QString &key, const QString &parent) { m_styles[key].parent = parent; }
    // 0 for a style that makes body text.
    void setHeadingLevel(const QString &key, int level) { m_styles[key].headingLevel = level; }

    // The heading level of paragraphs in the style, 0 for body text.
    int headingLevel(const QString &key) const
    {
        QString at = key;
        for (int depth = 0; depth < MaxStyleDepth && !at.isEmpty(); ++depth) {
            const auto it = m_styles.constFind(at);
            if (it == m_styles.cend())
                break;
            if (it->headingLevel)
                return *it->headingLevel;
            at = it->parent;
        }
        return 0;
    }

    CharStyle resolve(const QString &key) const
    {
        CharStyle style;
        QString at = key;
        for (int depth = 0; depth < MaxStyleDepth && !at.isEmpty(); ++depth) {
            const auto it = m_styles.constFind(at);
            if (it == m_styles.cend())
                break;
            style = style.over(it->own);
            at = it->parent;
        }
        return style;
    }

private:
    struct Named
    {
        CharStyle own;
        QString parent;
        std::optional<int> headingLevel;
    };
    QHash<QString, Named> m_styles;
};

// A text:h's level: its outline level, 1 when it gives none.
int outlineLevel(const QXmlStreamReader &xml)
{
    bool ok = false;
    const int level = xml.attributes().value(TextNs, QStringLiteral("outline-level")).toInt(&ok);
    return ok && level > 0 ? std::min(level, 10) : 1;
}

class OdfReader
{
public:
    // Reads the styles of styles.xml (builder null), or the styles and the
    // body text of content.xml; the styles of one call serve the next.
    bool read(const QByteArray &bytes, RichTextBuilder *builder, QString &reason);

private:
    // Paragraph and text styles may share a name: the family keeps them apart.
    static QString key(QStringView family, QStringView name)
    {
        QString key = family.toString();
        key += u'/';
        key += name;
        return key;
    }
    CharStyle resolve(QStringView family, const QXmlStreamReader &xml) const
    {
        return m_styles.resolve(key(family, xml.attributes().value(TextNs, QStringLiteral("style-name"))));
    }
    void readTextProperties(QXmlStreamReader &xml);
    bool skipped(const QXmlStreamReader &xml) const;
    void appendCollapsed(QStringView text, const CharStyle &style);

    RichTextBuilder *m_builder = nullptr;
    StyleSheet m_styles;
    QString m_currentStyle;   // key of the style:style being read
    int m_paragraphDepth = 0;
    bool m_hiddenParagraph = false;   // a text:hidden-paragraph field hides it
    bool m_lastWasSpace = true;
    QString m_collapsed;   // scratch for appendCollapsed
};

void OdfReader::readTextProperties(QXmlStreamReader &xml)
{
    if (m_currentStyle.isEmpty())
        return;
    CharStyle &own = m_styles.own(m_currentStyle);
    const QXmlStreamAttributes attributes = xml.attributes();
    const QStringView weight = attributes.value(FoNs, QStringLiteral("font-weight"));
    if (!weight.isEmpty())
        own.bold = weight == u"bold" || weight.toInt() >= 600;
    const QStringView slant = attributes.value(FoNs, QStringLiteral("font-style"));
    if (!slant.isEmpty())
        own.italic = slant == u"italic" || slant == u"oblique";
    const QStringView underline = attributes.value(StyleNs, QStringLiteral("text-underline-style"));
    if (!underline.isEmpty())
        own.underline = underline != u"none";
    const QStringView display = attributes.value(TextNs, QStringLiteral("display"));
    if (!display.isEmpty())
        own.hidden = display == u"none";
}

bool OdfReader::skipped(const QXmlStreamReader &xml) const
{
    const QStringView ns = xml.namespaceUri();
    const QStringView name = xml.name();
    if (ns == DrawNs)   // pictures, shapes and the text boxes inside them
        return true;
    // The master pages hold the headers and footers, in styles.xml and in a
    // flat file alike.
    if (ns == OfficeNs)
        return name == u"annotation" || name == u"forms" || name == u"master-styles"
               || (!m_builder && name == u"automatic-styles");
    if (ns == TextNs) {
        // Text shown only while a condition is false, and sections the
        // writer hid.
        const QXmlStreamAttributes attributes = xml.attributes();
        if (name == u"hidden-text")
            return attributes.value(TextNs, QStringLiteral("is-hidden")) != u"false";
        if (name == u"section")
            return attributes.value(TextNs, QStringLiteral("display")) == u"none"
                   || attributes.value(TextNs, QStringLiteral("is-hidden")) == u"true";
        return name == u"note" || name == u"tracked-changes" || name == u"table-of-content"
               || name.endsWith(u"index") || name == u"bibliography" || name == u"ruby-text"
               || name.endsWith(u"-decls");
    }
    return false;
}

// Runs of white space inside a paragraph are one space, and a paragraph
// starts with none; repeated spaces come as <text:s/>.
void OdfReader::appendCollapsed(QStringView text, const CharStyle &style)
{
    m_collapsed.clear();
    for (QChar c : text) {
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r') {
            if (!m_lastWasSpace)
                m_collapsed += u' ';
            m_lastWasSpace = true;
        } else {
            m_collapsed += c;
            m_lastWasSpace = false;
        }
    }
    m_builder->append(m_collapsed, style);
}

bool OdfReader::read(const QByteArray &bytes, RichTextBuilder *builder, QString &reason)
{
    m_builder = builder;
    m_paragraphDepth = 0;
    QXmlStreamReader xml(bytes);
    std::vector<CharStyle> styles{CharStyle()};
    while (!xml.atEnd() && !(m_builder && m_builder->tooLong())) {
        xml.readNext();
        if (!acceptToken(xml, reason))
            return false;
        if (xml.isStartElement()) {
            if (skipped(xml)) {
                xml.skipCurrentElement();
                continue;
            }
            const QStringView ns = xml.namespaceUri();
            const QStringView name = xml.name();
            CharStyle style = styles.back();
            if (ns == StyleNs && name == u"style") {
                const QXmlStreamAttributes attributes = xml.attributes();
                const QStringView family = attributes.value(StyleNs, QStringLiteral("family"));
                m_currentStyle = key(family, attributes.value(StyleNs, QStringLiteral("name")));
                const QStringView parent = attributes.value(StyleNs, QStringLiteral("parent-style-name"));
                if (!parent.isEmpty())
                    m_styles.setParent(m_currentStyle, key(family, parent));
            } else if (ns == StyleNs && name == u"text-properties") {
                readTextProperties(xml);
            } else if (m_builder && ns == TextNs && (name == u"p" || name == u"h")) {
                m_builder->startParagraph();
                if (name == u"h")
                    m_builder->setHeadingLevel(outlineLevel(xml));
                ++m_paragraphDepth;
                m_lastWasSpace = true;
                m_hiddenParagraph = false;
                style = resolve(u"paragraph", xml).over(style);
            } else if (m_paragraphDepth > 0 && ns == TextNs) {
                if (name == u"hidden-paragraph") {
                    m_hiddenParagraph |= xml.attributes().value(TextNs, QStringLiteral("is-hidden")) != u"false";
                } else if (name == u"span" || name == u"a") {
                    style = resolve(u"text", xml).over(style);
                } else if (name == u"s") {
                    const int count = std::clamp(
                        xml.attributes().value(TextNs, QStringLiteral("c")).toInt(), 1, MaxRepeatedSpaces);
                    m_builder->append(QString(count, u' '), style);
                    m_lastWasSpace = true;
                } else if (name == u"tab") {
                    m_builder->append(u"\t", style);
                    m_lastWasSpace = true;
                } else if (name == u"line-break") {
                    m_builder->lineBreak(style);
                    m_lastWasSpace = true;
                }
            }
            styles.push_back(style);
        } else if (xml.isEndElement()) {
            if (xml.namespaceUri() == StyleNs && xml.name() == u"style")
                m_currentStyle.clear();
            if (m_builder && xml.namespaceUri() == TextNs && (xml.name() == u"p" || xml.name() == u"h")) {
                --m_paragraphDepth;
                if (m_hiddenParagraph || m_builder->paragraphHidden())
                    m_builder->dropParagraph();
                m_hiddenParagraph = false;
            }
            styles.pop_back();
        } else if (xml.isCharacters() && m_paragraphDepth > 0) {
            appendCollapsed(xml.text(), styles.back());
        }
    }
    return readCleanly(xml, reason);
}

// Word's elements, by local name, whose content is not prose: deleted text,
// deleted field instructions, note and comment marks, drawings and text boxes, and
// properties (read where they matter).
bool wordSkipped(QStringView name)
{
    static const QStringList names = {
        QStringLiteral("del"), QStringLiteral("moveFrom"), QStringLiteral("delText"),
        QStringLiteral("delInstrText"),
        QStringLiteral("footnoteReference"), QStringLiteral("endnoteReference"),
        QStringLiteral("commentReference"), QStringLiteral("annotationRef"),
        QStringLiteral("drawing"), QStringLiteral("pict"), QStringLiteral("object"),
        QStringLiteral("AlternateContent"), QStringLiteral("sectPr"),
        QStringLiteral("tblPr"), QStringLiteral("trPr"), QStringLiteral("tcPr"),
        QStringLiteral("tblGrid"), QStringLiteral("rPrChange"), QStringLiteral("pPrChange"),
        QStringLiteral("fldData"), QStringLiteral("rt"), QStringLiteral("sym")};
    return names.contains(name);
}

// By local name: the prefix is the writer's choice.
QString wordAttribute(const QXmlStreamReader &xml, QStringView name)
{
    for (const QXmlStreamAttribute &attribute : xml.attributes()) {
        if (attribute.name() == name)
            return attribute.value().toString();
    }
    return {};
}

// A w:outlineLvl (0 for the top level, 9 for body text) as a heading level.
int wordHeadingLevel(const QXmlStreamReader &xml)
{
    bool ok = false;
    const int level = wordAttribute(xml, u"val").toInt(&ok);
    return ok && level >= 0 && level < 9 ? level + 1 : 0;
}

// The heading level that a style's name gives (Word's "heading 1" to
// "heading 9" and "Title"), empty for any other name.
std::optional<int> headingLevelOfName(const QString &name)
{
    if (name.compare(u"title", Qt::CaseInsensitive) == 0)
        return 1;
    static const QString heading = QStringLiteral("heading ");
    if (name.size() == heading.size() + 1 && name.startsWith(heading, Qt::CaseInsensitive)
        && name.back() >= u'1' && name.back() <= u'9')
        return name.back().unicode() - u'0';
    return std::nullopt;
}

bool wordOn(const QXmlStreamReader &xml)
{
    const QString value = wordAttribute(xml, u"val");
    return value != u"0" && value != u"false" && value != u"off" && value != u"none";
}

// Reads the current w:rPr to its end: the run's direct properties and its
// character style, skipping the record of earlier formatting.
CharStyle readRunProperties(QXmlStreamReader &xml, QString &styleId, QString &reason)
{
    CharStyle style;
    while (xml.readNextStartElement()) {
        if (!acceptToken(xml, reason))
            break;
        const QStringView name = xml.name();
        if (name == u"b")
            style.bold = wordOn(xml);
        else if (name == u"i")
            style.italic = wordOn(xml);
        else if (name == u"u")
            style.underline = wordOn(xml);
        else if (name == u"vanish")
            style.hidden = wordOn(xml);
        else if (name == u"rStyle")
            styleId = wordAttribute(xml, u"val");
        xml.skipCurrentElement();
    }
    return style;
}

// Reads on to the end of the element whose child has just been read.
void skipRestOfParent(QXmlStreamReader &xml)
{
    for (int depth = 1; depth > 0 && !xml.atEnd();) {
        xml.readNext();
        if (xml.isStartElement())
            ++depth;
        else if (xml.isEndElement())
            --depth;
    }
}

// Reads the current w:sdtPr to its end; true when the block is a table of
// contents.
bool readBlockProperties(QXmlStreamReader &xml, QString &reason)
{
    bool contents = false;
    for (int depth = 1; depth > 0 && !xml.atEnd();) {
        xml.readNext();
        if (!acceptToken(xml, reason))
            return false;
        if (xml.isStartElement()) {
            ++depth;
            if (xml.name() == u"docPartGallery" && wordAttribute(xml, u"val") == u"Table of Contents")
                contents = true;
        } else if (xml.isEndElement()) {
            --depth;
        }
    }
    return contents;
}

// A table of contents is a field whose result is the list of headings.
bool isContentsField(QStringView instruction)
{
    return instruction.trimmed().startsWith(u"TOC", Qt::CaseInsensitive);
}

// Word's complex fields (w:fldChar begin, instruction, separate, result,
// end), nested as they come: what the instruction part shows is never
// prose, nor is the result of a table of contents.
class FieldStack
{
public:
    void fieldChar(QStringView type)
    {
        if (type == u"begin") {
            // Deeper than any real document: counted but not kept.
            if (m_fields.size() < MaxDepth)
                m_fields.push_back({});
            else
                ++m_overflow;
        } else if (type == u"separate") {
            if (m_overflow == 0 && !m_fields.empty())
                m_fields.back().separated = true;
        } else if (type == u"end") {
            if (m_overflow > 0)
                --m_overflow;
            else if (!m_fields.empty())
                m_fields.pop_back();
        }
    }
    void instruction(const QString &text)
    {
        if (m_overflow == 0 && !m_fields.empty() && !m_fields.back().separated)
            m_fields.back().instruction += text;
    }
    bool hidesText() const
    {
        return std::any_of(m_fields.cbegin(), m_fields.cend(), [](const Field &field) {
            return !field.separated || isContentsField(field.instruction);
        });
    }

private:
    static constexpr size_t MaxDepth = 64;
    struct Field
    {
        QString instruction;
        bool separated = false;
    };
    std::vector<Field> m_fields;
    int m_overflow = 0;
};

class WordReader
{
public:
    bool readStyles(const QByteArray &bytes, QString &reason);
    bool readBody(const QByteArray &bytes, RichTextBuilder &builder, QString &reason);

private:
    // Reads the current w:pPr to its end; returns whether the paragraph's
    // own end was deleted under tracked changes or hidden.
    bool readParagraphProperties(QXmlStreamReader &xml, CharStyle &paragraphStyle, int &headingLevel,
                                 QString &reason);

    StyleSheet m_styles;
};

bool WordReader::readStyles(const QByteArray &bytes, QString &reason)
{
    QXmlStreamReader xml(bytes);
    QString current;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!acceptToken(xml, reason))
            return false;
        if (xml.isStartElement()) {
            const QStringView name = xml.name();
            if (name == u"style") {
                current = wordAttribute(xml, u"styleId");
            } else if (name == u"basedOn" && !current.isEmpty()) {
                m_styles.setParent(current, wordAttribute(xml, u"val"));
            } else if (name == u"name" && !current.isEmpty()) {
                if (const std::optional<int> level = headingLevelOfName(wordAttribute(xml, u"val")))
                    m_styles.setHeadingLevel(current, *level);
            } else if (name == u"pPr" && !current.isEmpty()) {
                // The outline level, which outranks the name.
                while (xml.readNextStartElement()) {
                    if (!acceptToken(xml, reason))
                        return false;
                    if (xml.name() == u"outlineLvl")
                        m_styles.setHeadingLevel(current, wordHeadingLevel(xml));
                    xml.skipCurrentElement();
                }
            } else if (name == u"rPr" && !current.isEmpty()) {
                QString ignored;
                m_styles.own(current) = readRunProperties(xml, ignored, reason);
            } else if (name == u"pPr" || name == u"tblPr" || name == u"docDefaults") {
                xml.skipCurrentElement();
            }
        } else if (xml.isEndElement() && xml.name() == u"style") {
            current.clear();
        }
    }
    return readCleanly(xml, reason);
}

bool WordReader::readParagraphProperties(QXmlStreamReader &xml, CharStyle &paragraphStyle,
                                         int &headingLevel, QString &reason)
{
    bool endDeleted = false;
    while (xml.readNextStartElement()) {
        if (!acceptToken(xml, reason))
            return false;
        if (xml.name() == u"pStyle") {
            const QString style = wordAttribute(xml, u"val");
            paragraphStyle = m_styles.resolve(style);
            headingLevel = m_styles.headingLevel(style);
            xml.skipCurrentElement();
        } else if (xml.name() == u"outlineLvl") {
            headingLevel = wordHeadingLevel(xml);
            xml.skipCurrentElement();
        } else if (xml.name() == u"rPr") {
            while (xml.readNextStartElement()) {
                if (xml.name() == u"del" || (xml.name() == u"vanish" && wordOn(xml)))
                    endDeleted = true;
                xml.skipCurrentElement();
            }
        } else {
            xml.skipCurrentElement();
        }
    }
    return endDeleted;
}

bool WordReader::readBody(const QByteArray &bytes, RichTextBuilder &builder, QString &reason)
{
    QXmlStreamReader xml(bytes);
    CharStyle paragraphStyle;
    CharStyle runStyle;
    FieldStack fields;
    bool fieldHidAll = false;   // text of the paragraph was left out as a field's
    bool joinNext = false;
    bool endDeleted = false;
    while (!xml.atEnd() && reason.isEmpty() && !builder.tooLong()) {
        xml.readNext();
        if (!acceptToken(xml, reason))
            return false;
        if (xml.isEndElement() && xml.name() == u"p") {
            joinNext = endDeleted;
            if (!joinNext && (builder.paragraphHidden() || (fieldHidAll && builder.paragraphEmpty())))
                builder.dropParagraph();
            continue;
        }
        if (!xml.isStartElement())
            continue;
        const QStringView name = xml.name();
        if (wordSkipped(name)) {
            xml.skipCurrentElement();
        } else if (name == u"sdtPr") {
            if (readBlockProperties(xml, reason))
                skipRestOfParent(xml);
        } else if (name == u"fldSimple" && isContentsField(wordAttribute(xml, u"instr"))) {
            xml.skipCurrentElement();
        } else if (name == u"fldChar") {
            fields.fieldChar(wordAttribute(xml, u"fldCharType"));
        } else if (name == u"instrText") {
            fields.instruction(xml.readElementText());
        } else if (fields.hidesText() && (name == u"t" || name == u"tab" || name == u"br" || name == u"cr"
                                          || name == u"noBreakHyphen")) {
            fieldHidAll = true;
            xml.skipCurrentElement();
        } else if (name == u"p") {
            // A paragraph whose end was deleted runs on into the next one.
            if (!joinNext) {
                builder.startParagraph();
                fieldHidAll = false;
            }
            joinNext = endDeleted = false;
            paragraphStyle = CharStyle();
        } else if (name == u"pPr") {
            int headingLevel = 0;
            endDeleted = readParagraphProperties(xml, paragraphStyle, headingLevel, reason);
            builder.setHeadingLevel(headingLevel);
        } else if (name == u"r") {
            runStyle = paragraphStyle;
        } else if (name == u"rPr") {
            QString styleId;
            const CharStyle direct = readRunProperties(xml, styleId, reason);
            runStyle = direct.over(m_styles.resolve(styleId).over(paragraphStyle));
        } else if (name == u"t") {
            builder.append(xml.readElementText(), runStyle);
        } else if (name == u"tab") {
            builder.append(u"\t", runStyle);
        } else if (name == u"br" || name == u"cr") {
            const QString type = wordAttribute(xml, u"type");
            // A page or column break before any text breaks no line.
            if (!(builder.paragraphEmpty() && (type == u"page" || type == u"column")))
                builder.lineBreak(runStyle);
        } else if (name == u"noBreakHyphen") {
            builder.append(u"\u2011", runStyle);
        }
    }
    return readCleanly(xml, reason);
}

// The main part named by the package's relationships, word/document.xml in
// every file seen so far.
QString wordMainPart(ZipContainer &container)
{
    QString ignored;
    const std::optional<QByteArray> rels = container.read(QStringLiteral("_rels/.rels"), ignored);
    if (rels && nestingWithinBounds(*rels, ignored)) {
        QXmlStreamReader xml(*rels);
        while (!xml.atEnd() && xml.tokenType() != QXmlStreamReader::DTD) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"Relationship"
                && xml.attributes().value(QStringLiteral("Type")).endsWith(u"/officeDocument")) {
                QString target = xml.attributes().value(QStringLiteral("Target")).toString();
                while (target.startsWith(u'/'))
                    target.remove(0, 1);
                if (container.has(target))
                    return target;
            }
        }
    }
    return QStringLiteral("word/document.xml");
}

} // namespace

QString protectedByPassword()
{
    return QStringLiteral("it is protected by a password; save a copy without one to read it here");
}

bool readOpenDocument(ZipContainer &container, QTextDocument &document, QString &reason)
{
    // An encrypted document lists how each part was encrypted.
    if (container.has(QStringLiteral("META-INF/manifest.xml"))) {
        const std::optional<QByteArray> manifest = container.read(QStringLiteral("META-INF/manifest.xml"), reason);
        if (!manifest)
            return false;
        if (manifest->contains("encryption-data")) {
            reason = protectedByPassword();
            return false;
        }
    }
    if (container.has(QStringLiteral("mimetype"))) {
        const std::optional<QByteArray> type = container.read(QStringLiteral("mimetype"), reason);
        if (!type)
            return false;
        if (!type->trimmed().startsWith("application/vnd.oasis.opendocument.text")) {
            reason = QStringLiteral("it is not an OpenDocument text (it holds %1)")
                         .arg(QString::fromUtf8(type->trimmed().left(80)));
            return false;
        }
    }
    const std::optional<QByteArray> content = container.read(QStringLiteral("content.xml"), reason);
    if (!content)
        return false;
    OdfReader reader;
    if (container.has(QStringLiteral("styles.xml"))) {
        // Common styles only: the automatic styles and master pages of
        // styles.xml belong to headers and footers.
        const std::optional<QByteArray> styles = container.read(QStringLiteral("styles.xml"), reason);
        if (!styles || !nestingWithinBounds(*styles, reason) || !reader.read(*styles, nullptr, reason))
            return false;
    }
    RichTextBuilder builder(document);
    if (!nestingWithinBounds(*content, reason) || !reader.read(*content, &builder, reason))
        return false;
    return builder.finish(reason);
}

bool readFlatOpenDocument(const QByteArray &bytes, QTextDocument &document, QString &reason)
{
    // The root names what the file holds; a flat spreadsheet or drawing is
    // no text.
    QXmlStreamReader probe(bytes);
    while (!probe.atEnd() && !probe.isStartElement()) {
        probe.readNext();
        if (!acceptToken(probe, reason))
            return false;
    }
    const QStringView type = probe.attributes().value(OfficeNs, QStringLiteral("mimetype"));
    if (probe.namespaceUri() != OfficeNs || probe.name() != u"document"
        || !(type.isEmpty() || type.startsWith(u"application/vnd.oasis.opendocument.text"))) {
        reason = type.isEmpty() ? QStringLiteral("it is not a flat OpenDocument text")
                                : QStringLiteral("it is not an OpenDocument text (it holds %1)").arg(type.left(80));
        return false;
    }
    if (!nestingWithinBounds(bytes, reason))
        return false;
    OdfReader reader;
    RichTextBuilder builder(document);
    if (!reader.read(bytes, &builder, reason))
        return false;
    return builder.finish(reason);
}

bool readWordDocument(ZipContainer &container, QTextDocument &document, QString &reason)
{
    const QString main = wordMainPart(container);
    const std::optional<QByteArray> body = container.read(main, reason);
    if (!body)
        return false;
    WordReader reader;
    const QString folder = main.left(main.lastIndexOf(u'/') + 1);
    if (container.has(folder + QStringLiteral("styles.xml"))) {
        const std::optional<QByteArray> styles = container.read(folder + QStringLiteral("styles.xml"), reason);
        if (!styles || !nestingWithinBounds(*styles, reason) || !reader.readStyles(*styles, reason))
            return false;
    }
    RichTextBuilder builder(document);
    if (!nestingWithinBounds(*body, reason) || !reader.readBody(*body, builder, reason))
        return false;
    return builder.finish(reason);
}

} // namespace tq::documents
