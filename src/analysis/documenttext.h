// The pass's copy of the document text. Reading the text out of a real text
// widget costs a walk over the whole document, so the copy is taken once and
// taken again only when the surface says the text has changed since. The
// text can only change while the pass yields, so the pass calls sync() after
// every yield and the readers below trust the copy in between.
#pragma once

#include "textrules.h"
#include "textsurface.h"

namespace tq {

class DocumentText
{
public:
    explicit DocumentText(TextSurface &surface) : m_surface(surface) {}

    // Takes the text afresh if it changed since the last call.
    void sync();

    const QString &text() const { return m_text; }
    // The text lowered by lowerCase, computed once per version of the text.
    // Lowering goes unit by unit, so a slice of it is the lowered slice.
    const QString &lowered();
    // The first offset o >= 1 where a word start mark is followed by a
    // non-letter at o; -1 when the text has none. Computed once per version.
    qsizetype firstMarkThenNonLetter(WordRules rules = {});

private:
    void relower(const QString &text);

    TextSurface &m_surface;
    QString m_text;
    quint64 m_version = 0;
    bool m_valid = false;
    QString m_lowered;
    bool m_loweredValid = false;
    qsizetype m_markThenNonLetter = -1;
    bool m_markValid = false;
    WordRules m_markRules;
};

} // namespace tq
