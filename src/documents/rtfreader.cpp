#include "rtfreader.h"

#include "richtext.h"

#include <QStringDecoder>
#include <QTextDocument>

#include <algorithm>
#include <limits>
#include <map>
#include <vector>

namespace tq::documents {

namespace {

// Groups nested deeper than this are a hostile file, not a document.
constexpr size_t MaxGroupDepth = 2000;

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
int hexValue(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Destinations whose text is not prose: the tables at the top, notes,
// comments, headers and footers, pictures and objects, numbering that a
// list draws, index and contents entries, and anything unknown marked "\*".
bool skippedDestination(QByteArrayView word)
{
    static const QList<QByteArrayView> words = {
        "fonttbl", "colortbl", "stylesheet", "info", "pict", "footnote", "annotation", "atnid",
        "atnauthor", "atndate", "atntime", "atnref", "header", "headerl", "headerr", "headerf",
        "footer", "footerl", "footerr", "footerf", "listtable", "listoverridetable", "revtbl",
        "rsidtbl", "object", "objdata", "shp", "shpinst", "shprslt", "nonshppict", "pn", "pntext",
        "pntxta", "pntxtb", "listtext", "xe", "tc", "txe", "ftnsep", "ftnsepc", "aftnsep",
        "aftnsepc", "ftncn", "aftncn", "docvar", "filetbl", "latentstyles", "themedata",
        "colorschememapping", "datastore", "xmlnstbl", "userprops", "generator", "private"};
    return words.contains(word);
}

// The decoder for a Windows code page number (\ansicpgN); empty when none.
QByteArray codePageDecoder(int page)
{
    switch (page) {
    case 437: return "IBM437";
    case 850: return "IBM850";
    case 866: return "IBM866";
    case 874: return "windows-874";
    case 932: return "Shift_JIS";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    case 10000: return "macintosh";
    case 65001: return "UTF-8";
    default: break;
    }
    if (page >= 1250 && page <= 1258)
        return "windows-" + QByteArray::number(page);
    return {};
}

// The code page of a font's character set (\fcharsetN), as WordPad and
// older word processors write text in the font's own code page; 0 for the
// document's.
int charsetCodePage(int charset)
{
    switch (charset) {
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return 0;
    }
}

struct Field
{
    QString instruction;
};

// What a group inherits from the one around it.
struct Group
{
    CharStyle style;
    int unicodeSkip = 1;       // \ucN: bytes standing in for each \uN
    bool skipped = false;      // a destination that is not prose
    bool instruction = false;  // a field's instruction, gathered not shown
    bool star = false;         // "\*": skip when the next word is unknown
    int field = -1;            // the field this group belongs to
    int font = -1;             // \fN: its character set may name a code page
    bool fontTable = false;
};

class RtfReader
{
public:
    RtfReader(QByteArrayView bytes, RichTextBuilder &builder) : m_bytes(bytes), m_builder(builder) {}
    bool read(QString &reason);

private:
    Group &group() { return m_groups.back(); }
    void controlWord(QByteArrayView word, bool hasParameter, int parameter);
    void controlSymbol(char symbol);
    void textByte(char byte);
    void flushBytes();
    void emitText(QStringView text);
    void flushRun();
    void startText();
    void endParagraph(bool onlyAfterText);

    QByteArrayView m_bytes;
    qsizetype m_at = 0;
    RichTextBuilder &m_builder;
    std::vector<Group> m_groups;
    std::vector<Field> m_fields;
    QStringDecoder m_decoder{"windows-1252", QStringConverter::Flag::Stateless};
    std::map<int, int> m_fontCodePages;          // font number to code page
    std::map<int, QStringDecoder> m_pageDecoders;
    int m_fontBeingDefined = -1;
    QString m_codePageError;
    QByteArray m_pendingBytes;   // bytes in the code page, not yet decoded
    QString m_run;               // text in one style, not yet appended
    CharStyle m_runStyle;
    int m_skipBytes = 0;         // stand-ins after a \uN still to skip
    int m_pendingEnds = 0;       // paragraph ends not yet given
    bool m_started = false;      // whether the first paragraph has begun
    bool m_textSinceEnd = false;
    bool m_leftOutSinceEnd = false;   // a table of contents since the last end
};

void RtfReader::flushRun()
{
    if (!m_run.isEmpty())
        m_builder.append(m_run, m_runStyle);
    m_run.clear();
}

// Paragraph ends are given once text follows them, so that the final \par
// of a document makes no empty paragraph.
void RtfReader::startText()
{
    if (!m_started) {
        m_builder.startParagraph();
        m_started = true;
    }
    if (m_pendingEnds > 0) {
        flushRun();
        for (; m_pendingEnds > 0; --m_pendingEnds) {
            if (m_builder.paragraphHidden())
                m_builder.dropParagraph();
            m_builder.startParagraph();
        }
    }
    m_textSinceEnd = true;
}

// A section or row end after a paragraph end ends nothing more, and a
// paragraph that held only a table of contents is left out with it.
void RtfReader::endParagraph(bool onlyAfterText)
{
    if (group().skipped || group().instruction)
        return;
    const bool leftOut = m_leftOutSinceEnd;
    m_leftOutSinceEnd = false;
    if (!m_textSinceEnd && (leftOut || (onlyAfterText && m_pendingEnds > 0)))
        return;
    ++m_pendingEnds;
    m_textSinceEnd = false;
}

void RtfReader::emitText(QStringView text)
{
    if (text.isEmpty())
        return;
    const Group &g = group();
    if (g.skipped)
        return;
    if (g.instruction) {
        if (g.field >= 0)
            m_fields[size_t(g.field)].instruction += text;
        return;
    }
    startText();
    if (!(g.style == m_runStyle))
        flushRun();
    m_runStyle = g.style;
    m_run += text;
}

void RtfReader::textByte(char byte)
{
    if (m_skipBytes > 0) {
        --m_skipBytes;
        return;
    }
    if (!group().skipped)
        m_pendingBytes += byte;
}

void RtfReader::flushBytes()
{
    if (m_pendingBytes.isEmpty())
        return;
    QStringDecoder *decoder = &m_decoder;
    const auto font = m_fontCodePages.find(group().font);
    if (font != m_fontCodePages.end()) {
        auto page = m_pageDecoders.find(font->second);
        if (page == m_pageDecoders.end())
            page = m_pageDecoders.emplace(font->second, QStringDecoder(codePageDecoder(font->second).constData(),
                                                                       QStringConverter::Flag::Stateless)).first;
        if (page->second.isValid())
            decoder = &page->second;
    }
    const QString text = decoder->decode(m_pendingBytes);
    m_pendingBytes.clear();
    emitText(text);
}

void RtfReader::controlSymbol(char symbol)
{
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        textByte(symbol);
        break;
    case '~':
        flushBytes();
        emitText(u"\u00A0");
        break;
    case '_':
        flushBytes();
        emitText(u"\u2011");
        break;
    case '*':
        group().star = true;
        break;
    case '\n':
    case '\r':
        flushBytes();
        endParagraph(false);
        break;
    default:   // "\-" (a soft hyphen), "\:" and the like show nothing
        break;
    }
}

void RtfReader::controlWord(QByteArrayView word, bool hasParameter, int parameter)
{
    flushBytes();
    Group &g = group();
    const bool star = g.star;
    g.star = false;
    const bool on = !hasParameter || parameter != 0;

    if (word == "fldinst") {
        g.instruction = true;
        return;
    }
    if (word == "fldrslt") {
        if (g.field >= 0 && m_fields[size_t(g.field)].instruction.trimmed().startsWith(u"TOC", Qt::CaseInsensitive)) {
            g.skipped = true;
            m_leftOutSinceEnd = true;
        }
        return;
    }
    if (g.fontTable) {
        if (word == "f" && hasParameter)
            m_fontBeingDefined = parameter;
        else if (word == "fcharset" && hasParameter && charsetCodePage(parameter) != 0)
            m_fontCodePages[m_fontBeingDefined] = charsetCodePage(parameter);
        return;
    }
    if (star || skippedDestination(word)) {
        g.skipped = true;
        g.fontTable = word == "fonttbl";
        return;
    }
    if (word == "field") {
        m_fields.push_back({});
        g.field = int(m_fields.size() - 1);
    } else if (word == "par" || word == "cell" || word == "nestcell") {
        endParagraph(false);
    } else if (word == "sect" || word == "row" || word == "nestrow") {
        endParagraph(true);
    } else if (word == "line") {
        if (!g.skipped && !g.instruction) {
            startText();
            flushRun();
            m_builder.lineBreak(g.style);
        }
    } else if (word == "tab") {
        emitText(u"\t");
    } else if (word == "emdash") {
        emitText(u"\u2014");
    } else if (word == "endash") {
        emitText(u"\u2013");
    } else if (word == "lquote") {
        emitText(u"\u2018");
    } else if (word == "rquote") {
        emitText(u"\u2019");
    } else if (word == "ldblquote") {
        emitText(u"\u201C");
    } else if (word == "rdblquote") {
        emitText(u"\u201D");
    } else if (word == "bullet") {
        emitText(u"\u2022");
    } else if (word == "emspace" || word == "enspace" || word == "qmspace") {
        emitText(u" ");
    } else if (word == "u" && hasParameter) {
        const char16_t unit = char16_t(parameter < 0 ? parameter + 65536 : parameter);
        if (unit != 0)
            emitText(QStringView(&unit, 1));
        m_skipBytes = g.unicodeSkip;
    } else if (word == "uc" && hasParameter) {
        g.unicodeSkip = std::clamp(parameter, 0, 16);
    } else if (word == "b") {
        g.style.bold = on;
    } else if (word == "i") {
        g.style.italic = on;
    } else if (word == "v" || word == "deleted") {   // hidden, or deleted under tracked changes
        g.style.hidden = on;
    } else if (word == "ulnone") {
        g.style.underline = false;
    } else if (word.startsWith("ul") && word != "ulc") {
        g.style.underline = on;
    } else if (word == "f" && hasParameter) {
        g.font = parameter;
    } else if (word == "plain") {
        g.style = CharStyle();
    } else if (word == "ansicpg" && hasParameter) {
        const QByteArray name = codePageDecoder(parameter);
        m_decoder = QStringDecoder(name.isEmpty() ? "" : name.constData(), QStringConverter::Flag::Stateless);
        if (!m_decoder.isValid())
            m_codePageError = QStringLiteral("its code page %1 cannot be read here").arg(parameter);
    } else if (word == "mac") {
        m_decoder = QStringDecoder("macintosh", QStringConverter::Flag::Stateless);
    } else if (word == "pc") {
        m_decoder = QStringDecoder("IBM437", QStringConverter::Flag::Stateless);
    } else if (word == "pca") {
        m_decoder = QStringDecoder("IBM850", QStringConverter::Flag::Stateless);
    } else if (word == "bin" && hasParameter) {
        // Raw bytes, which may hold anything, braces included.
        m_at += std::clamp<qsizetype>(parameter, 0, m_bytes.size() - m_at);
    }
}

bool RtfReader::read(QString &reason)
{
    qsizetype start = 0;
    while (start < m_bytes.size() && QChar::isSpace(uchar(m_bytes[start])))
        ++start;
    if (!m_bytes.sliced(start).startsWith("{\\rtf")) {
        reason = QStringLiteral("it is not an RTF document");
        return false;
    }
    m_at = start;
    m_groups.push_back({});   // stands below the document's own group
    const qsizetype n = m_bytes.size();
    while (m_at < n) {
        const char c = m_bytes[m_at++];
        if (c == '{') {
            flushBytes();
            if (m_groups.size() >= MaxGroupDepth) {
                reason = QStringLiteral("its groups are nested deeper than any real document's");
                return false;
            }
            Group inner = group();
            inner.star = false;
            m_groups.push_back(inner);
            m_skipBytes = 0;
        } else if (c == '}') {
            flushBytes();
            m_skipBytes = 0;
            if (m_groups.size() <= 1)
                break;   // the document's group is closed: what follows is not read
            m_groups.pop_back();
            if (m_groups.size() == 1)
                break;
        } else if (c == '\\') {
            if (m_at >= n)
                break;
            const char next = m_bytes[m_at];
            if (next == '\'') {
                const int high = m_at + 2 < n ? hexValue(m_bytes[m_at + 1]) : -1;
                const int low = m_at + 2 < n ? hexValue(m_bytes[m_at + 2]) : -1;
                m_at += 3;
                if (high >= 0 && low >= 0)
                    textByte(char(high * 16 + low));
            } else if (isLetter(next)) {
                const qsizetype wordStart = m_at;
                while (m_at < n && isLetter(m_bytes[m_at]) && m_at - wordStart < 32)
                    ++m_at;
                const QByteArrayView word = m_bytes.sliced(wordStart, m_at - wordStart);
                bool negative = false;
                if (m_at < n && m_bytes[m_at] == '-' && m_at + 1 < n && isDigit(m_bytes[m_at + 1])) {
                    negative = true;
                    ++m_at;
                }
                qint64 value = 0;
                const qsizetype digitsStart = m_at;
                while (m_at < n && isDigit(m_bytes[m_at])) {
                    if (m_at - digitsStart < 10)
                        value = value * 10 + (m_bytes[m_at] - '0');
                    ++m_at;
                }
                const bool hasParameter = m_at > digitsStart;
                if (m_at < n && m_bytes[m_at] == ' ')
                    ++m_at;
                const int parameter = int(std::clamp<qint64>(negative ? -value : value,
                                                             std::numeric_limits<int>::min(),
                                                             std::numeric_limits<int>::max()));
                // A \uN's stand-ins never include a control word.
                if (word != "u")
                    m_skipBytes = 0;
                controlWord(word, hasParameter, parameter);
            } else {
                ++m_at;
                flushBytes();
                controlSymbol(next);
            }
        } else if (c == '\r' || c == '\n') {
            continue;
        } else if (c == '\t') {
            flushBytes();
            emitText(u"\t");
        } else if (uchar(c) >= 0x20) {
            textByte(c);
        }
    }
    flushBytes();
    flushRun();
    if (m_builder.paragraphHidden())
        m_builder.dropParagraph();
    if (!m_codePageError.isEmpty()) {
        reason = m_codePageError;
        return false;
    }
    return true;
}

} // namespace

bool readRtf(const QByteArray &bytes, QTextDocument &document, QString &reason)
{
    RichTextBuilder builder(document);
    RtfReader reader(bytes, builder);
    if (!reader.read(reason))
        return false;
    return builder.finish(reason);
}

} // namespace tq::documents
