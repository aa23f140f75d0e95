#include "styledruns.h"

#include <QFont>
#include <QTextBlock>
#include <QTextDocument>

namespace tq::documents {

namespace {

RunLook writersLook(const QTextCharFormat &format)
{
    RunLook look;
    look.italic = format.fontItalic();
    look.bold = format.fontWeight() > QFont::Medium;
    look.underline = format.fontUnderline();
    return look;
}

} // namespace

void walkRuns(const QTextDocument &document, const AnalysisMarks &marks, RunSink &sink)
{
    const qsizetype colourCount = marks.colours ? marks.colours->size() : 0;
    const qsizetype boldCount = marks.bold ? marks.bold->size() : 0;
    auto colourAt = [&](qsizetype i) { return i < colourCount ? marks.colours->at(i) : Colour(0); };
    auto boldAt = [&](qsizetype i) { return i < boldCount && marks.bold->at(i) != 0; };

    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        sink.startParagraph();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QString text = fragment.text();
            const RunLook base = writersLook(fragment.charFormat());
            const qsizetype start = fragment.position();
            if (colourCount <= start && boldCount <= start) {
                sink.run(text, base);
                continue;
            }
            // Cut the fragment where the analysis's marks change.
            qsizetype from = 0;
            while (from < text.size()) {
                RunLook look = base;
                look.colour = colourAt(start + from);
                look.bold = base.bold || boldAt(start + from);
                qsizetype to = from + 1;
                while (to < text.size() && colourAt(start + to) == look.colour
                       && (base.bold || boldAt(start + to)) == look.bold)
                    ++to;
                sink.run(QStringView(text).sliced(from, to - from), look);
                from = to;
            }
        }
    }
}

QString colourName(Colour colour)
{
    return QStringLiteral("#%1%2%3")
        .arg(colour & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((colour >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((colour >> 16) & 0xFF, 2, 16, QLatin1Char('0'));
}

} // namespace tq::documents
