// Keeps a copy of the writer's unsaved text on disk, so that a crash, a
// killed process or a power cut loses at most the last few seconds of work.
//
// Each running session owns one recovery file, under a lock that names its
// process: a second window running at the same time writes its own file and
// never takes, overwrites or removes another live session's. A file whose
// lock is stale was left behind by a session that ended without closing; the
// next session that starts may adopt it and offer its text back.
//
// Edits cost no more than restarting a timer: the text is written once the
// writer pauses, or at the latest maxWaitMs after the first unwritten edit.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <optional>

class QLockFile;

namespace tq::ui {

struct RecoveredText
{
    QVariantMap source;   // where the text belongs, as the document's owner describes it
    QString content;
    bool rich = false;    // content is HTML rather than plain text

    bool operator==(const RecoveredText &) const = default;
};

class Recovery : public QObject
{
    Q_OBJECT
public:
    struct Timing
    {
        int pauseMs = 2000;
        int maxWaitMs = 10000;
    };

    // folder holds the recovery files; snapshot gives the text to keep.
    Recovery(const QString &folder, std::function<RecoveredText()> snapshot, Timing timing,
             QObject *parent = nullptr);
    Recovery(const QString &folder, std::function<RecoveredText()> snapshot,
             QObject *parent = nullptr)
        : Recovery(folder, std::move(snapshot), Timing{}, parent)
    {
    }
    ~Recovery() override;

    // The usual folder, in the user's data location.
    static QString defaultFolder();

    // The document changed and holds unsaved text.
    void edited();
    // Writes the text now; false when it could not be written.
    bool writeNow();
    // Nothing unsaved remains (saved, discarded, closed normally): the file goes.
    void discard();
    // Lets go of the adopted file without removing it, for the next session
    // to offer again; this session's text then goes to a file of its own.
    void release();

    // Takes over the newest file left behind by a session that is no longer
    // running and returns its text; this session's copy then lives in that
    // file, so the text stays safe until saved or discarded.
    std::optional<RecoveredText> adoptLeftBehind();

    QString fileName() const { return m_file; }

    static bool write(const QString &file, const RecoveredText &text);
    static std::optional<RecoveredText> read(const QString &file);

private:
    bool lock(const QString &file);

    QString m_folder;
    std::function<RecoveredText()> m_snapshot;
    QString m_file;
    std::unique_ptr<QLockFile> m_lock;
    int m_maxWaitMs;
    QTimer m_pause;
    QElapsedTimer m_firstUnwritten;
};

} // namespace tq::ui
