// A document held in memory: the text exactly as given (CR LF stays two
// characters), one colour and one bold flag per character, and a selection.
// Used by the tests, the command-line driver and the benchmarks.
#pragma once

#include "textsurface.h"

#include <QList>

namespace tq {

class MemorySurface : public TextSurface
{
public:
    explicit MemorySurface(const QString &text = QString());

    QString text() const override { return m_text; }
    quint64 textVersion() const override { return m_version; }
    void setText(const QString &text) override;

    void setSelStart(qsizetype offset) override;
    void setSelLength(qsizetype length) override;
    Colour selColor() const override;
    void setSelColor(Colour colour) override;
    void setSelBold(bool bold) override;

    // An edit as a writer makes it: replaces removed characters at offset
    // with inserted ones; the characters around keep their formatting.
    void replace(qsizetype offset, qsizetype removed, const QString &inserted);

    Colour colourAt(qsizetype offset) const { return m_colour.at(offset); }
    const QList<Colour> &colours() const { return m_colour; }
    bool boldAt(qsizetype offset) const { return m_bold.at(offset); }
    qsizetype selStart() const;
    qsizetype selLength() const;

private:
    QString m_text;
    QList<Colour> m_colour;
    QList<bool> m_bold;
    qsizetype m_selStart = 0;
    qsizetype m_selLength = 0;
    quint64 m_version = 1;
};

} // namespace tq
