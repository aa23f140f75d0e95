#include "recovery.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUuid>

namespace tq::ui {

namespace {

constexpr quint32 Magic = 0x54515243;   // "TQRC"
constexpr qint32 Version = 1;
const QString Suffix = QStringLiteral(".recovery");

QString lockName(const QString &file)
{
    return file + QStringLiteral(".lock");
}

} // namespace

Recovery::Recovery(const QString &folder, std::function<RecoveredText()> snapshot, Timing timing,
                   QObject *parent)
    : QObject(parent)
    , m_folder(folder)
    , m_snapshot(std::move(snapshot))
    , m_maxWaitMs(timing.maxWaitMs)
{
    m_pause.setSingleShot(true);
    m_pause.setInterval(timing.pauseMs);
    connect(&m_pause, &QTimer::timeout, this, &Recovery::writeNow);
}

// The file stays: only discard() says its text is no longer needed.
Recovery::~Recovery() = default;

QString Recovery::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
           + QStringLiteral("/recovery");
}

void Recovery::edited()
{
    if (!m_firstUnwritten.isValid())
        m_firstUnwritten.start();
    // Past the longest wait the timer runs out instead of being pushed back.
    if (!m_pause.isActive() || m_firstUnwritten.elapsed() < m_maxWaitMs)
        m_pause.start();
}

bool Recovery::lock(const QString &file)
{
    auto lock = std::make_unique<QLockFile>(lockName(file));
    // Held for as long as the session runs, however long that is; only a
    // dead owner makes a lock stale.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    m_lock = std::move(lock);
    m_file = file;
    return true;
}

bool Recovery::writeNow()
{
    m_pause.stop();
    m_firstUnwritten.invalidate();
    if (!m_lock) {
        if (!QDir().mkpath(m_folder))
            return false;
        const QString name = QUuid::createUuid().toString(QUuid::WithoutBraces);
        if (!lock(m_folder + u'/' + name + Suffix))
            return false;
    }
    return write(m_file, m_snapshot());
}

void Recovery::discard()
{
    m_pause.stop();
    m_firstUnwritten.invalidate();
    if (!m_file.isEmpty())
        QFile::remove(m_file);
}

void Recovery::release()
{
    m_pause.stop();
    m_firstUnwritten.invalidate();
    m_lock.reset();
    m_file.clear();
}

std::optional<RecoveredText> Recovery::adoptLeftBehind()
{
    if (m_lock)
        return std::nullopt;   // this session already has a file of its own
    QFileInfoList files = QDir(m_folder).entryInfoList({QLatin1Char('*') + Suffix}, QDir::Files,
                                                       QDir::Time);
    for (const QFileInfo &info : files) {
        if (!lock(info.absoluteFilePath()))
            continue;   // a session still running owns it
        if (std::optional<RecoveredText> text = read(m_file))
            return text;
        // Unreadable: nothing in it can be given back.
        discard();
        m_lock.reset();
        m_file.clear();
    }
    return std::nullopt;
}

bool Recovery::write(const QString &file, const RecoveredText &text)
{
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QDataStream stream(&out);
    stream.setVersion(QDataStream::Qt_6_4);
    stream << Magic << Version << text.source << text.rich << text.content;
    if (stream.status() != QDataStream::Ok) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

std::optional<RecoveredText> Recovery::read(const QString &file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return std::nullopt;
    QDataStream stream(&in);
    stream.setVersion(QDataStream::Qt_6_4);
    quint32 magic = 0;
    qint32 version = 0;
    stream >> magic >> version;
    if (magic != Magic || version != Version)
        return std::nullopt;
    RecoveredText text;
    stream >> text.source >> text.rich >> text.content;
    if (stream.status() != QDataStream::Ok || !stream.atEnd())
        return std::nullopt;
    return text;
}

} // namespace tq::ui
