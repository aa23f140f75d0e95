// The file behind the document in the window: opening, saving, the caption
// that names the file, the question before unsaved edits would be lost, the
// recent files, opening a dropped file, and the recovery copy of unsaved text.
//
// A document that belongs to no file keeps the form's ways: the caption is
// the program's name alone and closing asks nothing. Once opened or saved,
// the caption names the file and marks unsaved edits, and closing or opening
// another file asks first. Only the writer's edits count: the analysis's
// colours and bold never touch the document's text.
#pragma once

#include "manuscript.h"
#include "recentfiles.h"
#include "recovery.h"

#include <QList>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class QAction;
class QMenu;
class QTextDocument;
class QWidget;

namespace tq::ui {

class DocumentArea;

// Whether opening a file over the document must ask first: a file's unsaved
// edits, or edits of the untitled window that leave text other than nothing
// or the sentence the window starts with.
bool asksBeforeReplacing(bool fromFile, bool modified, const QString &text, const QString &startText);

class DocumentFile : public QObject
{
    Q_OBJECT
public:
    DocumentFile(QWidget *window, DocumentArea *area);
    ~DocumentFile() override;

    // Open..., Open Recent, Save, Save As..., for the document's menu.
    QList<QAction *> actions() const;

    // Opens path, asking first about unsaved edits; on failure says why and
    // leaves the document exactly as it was.
    bool openFile(const QString &path);
    // Save writes back in place when the file's format allows it, else asks
    // for a name as Save As does.
    bool save();
    bool saveAs();
    // Writes the document to path, in the format its suffix names; plain
    // text in form, else in the encoding and line ends of the file it came
    // from if that was plain text too.
    bool saveTo(const QString &path, const std::optional<documents::PlainTextForm> &form = std::nullopt);

    // Save / Discard / Cancel when a file's unsaved edits would be lost;
    // true when the caller may go on. The untitled window closes unasked.
    bool maySetAside();
    // The same before a file replaces the document, asked of the untitled
    // window too when it holds typed text (Save As... / Discard / Cancel).
    bool mayReplace();
    // The window closes: the recovery copy is no longer needed.
    void closing();
    // The session ends without closing the window (SIGTERM, logout): unsaved
    // text goes to the recovery copy now, to be offered at the next start,
    // and the program quits without asking.
    void endSession();

    // The program starts: opens path if one was given, then keeps unsaved
    // text safe from now on and offers back what a session that did not
    // close left behind.
    void startSession(const QString &path);
    // The recovery part of it, with the copies kept in folder.
    void startRecovery(const QString &folder);

    const std::optional<documents::Manuscript> &manuscript() const { return m_file; }
    QString lastFolder() const { return m_recent.lastFolder(); }

Q_SIGNALS:
    // The document's whole content is about to be replaced by a file's.
    void replacingDocument();
    // A passing remark for the writer about the file just opened.
    void note(const QString &message);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *addAction(const QString &text, const QKeySequence &shortcut, void (DocumentFile::*slot)());
    void open();
    void saveFromMenu() { save(); }
    void saveAsFromMenu() { saveAs(); }
    void fillRecentMenu();
    void followDocument();
    QTextDocument *document() const;
    void replaceContent(std::unique_ptr<QTextDocument> content, bool modified);
    bool write(const documents::Manuscript &target);
    QString refusal(const QString &path) const;
    void showCaption();
    void offerRecovery();
    bool askToSave(const QString &question, bool named);
    RecoveredText recoverySnapshot() const;
    void restore(const RecoveredText &text);
    QString droppedFile(const QEvent *event) const;

    QWidget *m_window;
    DocumentArea *m_area;
    QList<QAction *> m_actions;
    QMenu *m_recentMenu;
    RecentFiles m_recent;
    std::unique_ptr<Recovery> m_recovery;
    std::optional<documents::Manuscript> m_file;
    // The file was written by this session, so it holds nothing that the
    // window does not: Save may write it again in place, whatever its format.
    bool m_writtenHere = false;
    // What the untitled window holds before the writer types anything.
    QString m_startText;
};

} // namespace tq::ui
