#include "analysisoptions.h"

#include "passoptions.h"
#include "wordforms.h"

#include <QCommandLineParser>
#include <QFile>
#include <QStringDecoder>

#include <charconv>

namespace tq::cli {

using namespace Qt::StringLiterals;

QList<QCommandLineOption> AnalysisOptions::options()
{
    return {
        {u"sensitivity"_s, u"Distance in characters within which a repetition is coloured, 20 to 400 (20)."_s, u"N"_s},
        {u"min-length"_s, u"Minimum Word Check Length, as typed in its box (\"3\")."_s, u"TEXT"_s},
        {u"filter"_s, u"Filter Using Minimum Length: leave short words out of the list."_s},
        {u"mode"_s, u"Match mode: none, begin (at the beginning of a word) or complete (complete words only)."_s, u"MODE"_s},
        {u"ignore"_s, u"Leave the words of FILE (UTF-8, one per line) out of the list and never colour them."_s, u"FILE"_s},
        {u"range"_s, u"Analyse only the text from offset FIRST to LAST, both included (UTF-16 units from 0)."_s, u"FIRST,LAST"_s},
        {u"line-breaks-separate"_s, u"A line break separates words, as a space does."_s},
        {u"all-letters"_s, u"Letters of every language are letters (not only A to Z)."_s},
        {u"word-forms"_s, u"List word families (nod, nods, nodded) by the stemmer of LANGUAGE: %1."_s
                              .arg(Stemmer::languages().join(u", "_s)), u"LANGUAGE"_s},
    };
}

QString AnalysisOptions::read(const QCommandLineParser &parser)
{
    if (parser.isSet(u"sensitivity"_s)) {
        // The window's scroll bar runs from 20 to 400.
        const QString value = parser.value(u"sensitivity"_s);
        bool ok = false;
        controls.sens = value.toInt(&ok);
        if (!ok || controls.sens < 20 || controls.sens > 400)
            return u"--sensitivity takes a whole number from 20 to 400, not \"%1\""_s.arg(value);
    }
    if (parser.isSet(u"min-length"_s))
        controls.minLength = parser.value(u"min-length"_s);
    controls.filter = parser.isSet(u"filter"_s);
    if (parser.isSet(u"mode"_s)) {
        const QString mode = parser.value(u"mode"_s);
        if (mode == u"none")
            controls.mode = MatchMode::NoFilters;
        else if (mode == u"begin")
            controls.mode = MatchMode::BeginningOfWord;
        else if (mode == u"complete")
            controls.mode = MatchMode::CompleteWords;
        else
            return u"--mode takes none, begin or complete, not \"%1\""_s.arg(mode);
    }
    lineBreaksSeparate = parser.isSet(u"line-breaks-separate"_s);
    allLetters = parser.isSet(u"all-letters"_s);
    if (parser.isSet(u"range"_s)) {
        const QString value = parser.value(u"range"_s);
        range = readRange(value);
        if (!range)
            return u"--range takes two offsets FIRST,LAST such as 0,99, not \"%1\""_s.arg(value);
    }
    if (parser.isSet(u"word-forms"_s)) {
        wordForms = parser.value(u"word-forms"_s);
        if (!Stemmer::knows(wordForms))
            return u"--word-forms takes one of %1, not \"%2\""_s.arg(Stemmer::languages().join(u", "_s), wordForms);
    }
    if (parser.isSet(u"ignore"_s)) {
        const QString path = parser.value(u"ignore"_s);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return u"--ignore: %1: %2"_s.arg(path, file.errorString());
        QString error;
        std::optional<QStringList> words = readIgnoreList(file.readAll(), error);
        if (!words)
            return u"--ignore: %1: %2"_s.arg(path, error);
        ignored = *words;
    }
    return QString();
}

QString AnalysisOptions::checkRange(qsizetype textLength) const
{
    if (!range)
        return QString();
    const auto [first, last] = *range;
    if (first <= last && last < textLength)
        return QString();
    return u"--range %1,%2 does not fit a text of %3 UTF-16 units (0 <= FIRST <= LAST < %3)"_s
        .arg(first)
        .arg(last)
        .arg(textLength);
}

PassOptions AnalysisOptions::passOptions() const
{
    return {WordRules{lineBreaksSeparate, allLetters}, IgnoredWords(ignored), wordForms, false};
}

std::optional<QStringList> readIgnoreList(const QByteArray &bytes, QString &error)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        error = u"not UTF-8 text"_s;
        return std::nullopt;
    }
    if (text.startsWith(QChar::ByteOrderMark))
        text.remove(0, 1);
    return ignoredWordLines(text);
}

std::optional<std::pair<qsizetype, qsizetype>> readRange(QStringView text)
{
    const qsizetype comma = text.indexOf(u',');
    if (comma < 0)
        return std::nullopt;
    auto offset = [](QStringView digits) -> std::optional<qsizetype> {
        if (digits.isEmpty() || digits.size() > 18)
            return std::nullopt;
        const QByteArray ascii = digits.toLatin1();
        qsizetype value = 0;
        const auto [end, ec] = std::from_chars(ascii.constData(), ascii.constData() + ascii.size(), value);
        if (ec != std::errc() || end != ascii.constData() + ascii.size()
            || digits.front() < u'0' || digits.front() > u'9')
            return std::nullopt;
        return value;
    };
    const std::optional<qsizetype> first = offset(text.first(comma));
    const std::optional<qsizetype> last = offset(text.sliced(comma + 1));
    if (!first || !last)
        return std::nullopt;
    return std::pair(*first, *last);
}

} // namespace tq::cli
