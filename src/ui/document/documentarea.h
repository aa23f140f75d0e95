// The document area: a text editor that tells when the part of the document
// in view may have changed (scrolling, resizing, a new font or palette), so
// that colours painted over the visible text can follow.
//
// It lays out paragraph by paragraph, each on its own: an edit costs the
// layout of the paragraphs it touches, wherever it is in a book. Character
// formats (italics, bold, underline of an opened document) show; paragraph
// formats (alignment, indents) and tables do not. Rich text pasted or
// dropped in keeps the writer's italic, bold and underline, and so does text
// copied out; plain text comes in exactly as it is.
#pragma once

#include <QHash>
#include <QPlainTextEdit>

#include <memory>

namespace tq::ui {

class DocumentArea : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit DocumentArea(QWidget *parent = nullptr);

    // The document positions in view, with a margin on both sides.
    std::pair<int, int> visibleRange() const;
    // The colour a highlight is drawn in over this area's background.
    QColor drawnColour(const QColor &colour) const;

    // The character at the top of the view and how far below the view's top
    // edge its line starts: after the layout of the paragraph at the top
    // changed (bold makes lines wrap differently), the view is put back onto
    // the same line. Paragraphs above the view never move it.
    struct ViewTop
    {
        int position = 0;
        int y = 0;
    };
    ViewTop viewTop() const;
    void restoreViewTop(const ViewTop &top);

    // Shows content in place of the current document, which is deleted, with
    // the area's font, margins and wrapping. The document is taken as it is,
    // not copied in, so a book is laid out lazily from the top, as a newly
    // set text is, instead of all at once before the window can respond.
    // Its undo history starts empty and it is not modified.
    void replaceDocument(std::unique_ptr<QTextDocument> content);

Q_SIGNALS:
    void viewChanged();
    // Emitted by replaceDocument() once document() is the new one: whoever
    // follows the document's signals connects to the new one.
    void documentReplaced();

protected:
    bool event(QEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    QMimeData *createMimeDataFromSelection() const override;

private:
    QPoint topLeftInText() const;

    mutable QHash<QRgb, QColor> m_drawn;   // for the current palette
};

} // namespace tq::ui
