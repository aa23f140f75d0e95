// The document walked as paragraphs of runs with one look each: the
// writer's italic, bold and underline, plus (for exports) the analysis's
// colour and bold laid over them. One walk serves every writer.
#pragma once

#include "textsurface.h"

#include <QByteArray>
#include <QList>
#include <QStringView>

class QTextDocument;

namespace tq::documents {

using tq::Colour;

struct RunLook
{
    bool italic = false;
    bool bold = false;
    bool underline = false;
    Colour colour = 0;

    bool operator==(const RunLook &) const = default;
    bool plain() const { return *this == RunLook(); }
};

// The analysis's marks, one per document position (the positions of
// documentText()); shorter lists leave the rest unmarked.
struct AnalysisMarks
{
    const QList<Colour> *colours = nullptr;
    const QByteArray *bold = nullptr;   // non-zero: bold
};

class RunSink
{
public:
    virtual ~RunSink() = default;
    virtual void startParagraph() = 0;
    // text holds no paragraph end; a U+2028 in it is a line break.
    virtual void run(QStringView text, const RunLook &look) = 0;
};

void walkRuns(const QTextDocument &document, const AnalysisMarks &marks, RunSink &sink);

// "#rrggbb"
QString colourName(Colour colour);

} // namespace tq::documents
