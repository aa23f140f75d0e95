// What a pass found, taken somewhere else: the word list as CSV or as text
// lines, and the document with the analysis's colours and bold as real
// character formats (HTML or OpenDocument).
#pragma once

#include "phrases.h"
#include "resultlist.h"
#include "styledruns.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

class QTextDocument;

namespace tq::documents {

// The list in its order. ".csv": UTF-8, a "count,word" header and one
// record per entry (a family's words joined by spaces), quoted as RFC 4180
// says (a word holding a line break is quoted with the break kept). Any other
// suffix: the lines as the list shows them (line breaks marked), one per line.
QByteArray wordListBytes(const QString &path, const QList<ResultEntry> &entries);
// The repeated phrases the same way, under the header "count,phrase".
QByteArray phraseListBytes(const QString &path, const QList<RepeatedPhrase> &phrases);
// The document with the marks: HTML for .html/.htm, OpenDocument for .odt;
// empty with a reason for any other suffix.
std::optional<QByteArray> highlightedBytes(const QString &path, const QTextDocument &document,
                                           const AnalysisMarks &marks, QString &reason);
// Whether highlightedBytes takes the path's suffix.
bool highlightedSuffixKnown(const QString &path);

// The same, written through QSaveFile. Empty on success, else one sentence
// naming the file and the reason; a failure leaves any old file whole.
QString exportWordList(const QString &path, const QList<ResultEntry> &entries);
// colours: one per character of documentText(document), 0 = none, red in
// the lowest byte; bold: one byte per character, non-zero = bold. Shorter
// lists leave the rest unmarked.
QString exportHighlighted(const QString &path, const QTextDocument &document,
                          const QList<Colour> &colours, const QByteArray &bold);

} // namespace tq::documents
