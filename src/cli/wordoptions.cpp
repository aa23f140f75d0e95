#include "wordoptions.h"

#include "passoptions.h"

#include <QFile>
#include <QStringDecoder>

#include <charconv>

namespace tq::cli {

using namespace Qt::StringLiterals;

namespace {

QString bare(const QString &name)
{
    QString n = name.section(u'=', 0, 0);
    while (n.startsWith(u'-'))
        n.remove(0, 1);
    return n;
}

} // namespace

QList<QCommandLineOption> WordOptions::options()
{
    return {
        {u"ignore"_s, u"Leave the words of FILE (UTF-8, one per line) out of the list and never colour them."_s, u"FILE"_s},
        {u"range"_s, u"Analyse only the text from offset FIRST to LAST, both included (UTF-16 units from 0)."_s, u"FIRST,LAST"_s},
        {u"line-breaks-separate"_s, u"A line break separates words, as a space does."_s},
        {u"all-letters"_s, u"Letters of every language are letters (not only A to Z)."_s},
    };
}

bool WordOptions::isWordOption(const QString &name)
{
    const QString n = bare(name);
    return n == u"ignore" || n == u"range" || n == u"line-breaks-separate" || n == u"all-letters";
}

bool WordOptions::takesValue(const QString &name)
{
    const QString n = bare(name);
    return n == u"ignore" || n == u"range";
}

QString WordOptions::set(const QString &name, const QString &value)
{
    const QString n = bare(name);
    if (n == u"line-breaks-separate") {
        lineBreaksSeparate = true;
    } else if (n == u"all-letters") {
        allLetters = true;
    } else if (n == u"range") {
        range = readRange(value);
        if (!range)
            return u"--range takes two offsets FIRST,LAST such as 0,99, not \"%1\""_s.arg(value);
    } else if (n == u"ignore") {
        QFile file(value);
        if (!file.open(QIODevice::ReadOnly))
            return u"--ignore: %1: %2"_s.arg(value, file.errorString());
        QString error;
        std::optional<QStringList> words = readIgnoreList(file.readAll(), error);
        if (!words)
            return u"--ignore: %1: %2"_s.arg(value, error);
        ignored = *words;
    } else {
        return u"unknown option %1"_s.arg(name);
    }
    return QString();
}

QString WordOptions::checkRange(qsizetype textLength) const
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
