#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The run journal's file on the host: the lock beside it, a look at its head and its tail,
// lines appended at its end, its head rewritten in place, and its replacement. Every call but
// the lock's opens the file anew, so that a journal another process has replaced meanwhile is
// the one used. The file is ours only when it is a plain file of this user: a link, a folder or
// another user's file is never read or written through.
namespace JournalFile
{

// The exclusive lock of one journal (an flock, LockFileEx on Windows, on "<journal>.lock"), so
// that one process at a time begins a run, appends, reads for an undo or compacts.
class Lock
{
public:
    Lock() = default;
    ~Lock();
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

    // Opens or creates the lock file on first use, and waits a few seconds at most for the
    // lock; false when it could not be had.
    bool acquire(const QString& journalPath);
    void release();
    bool held() const { return m_held; }

private:
    qintptr m_handle = -1;
    QString m_path;
    bool m_held = false;
};

enum class Status {
    Done,
    Missing, // no file there
    NotOurs, // a link, no plain file, or another user's
    Failed   // could not be read or written (the disk full, no permission, ...)
};

// The head (the first `headBytes` bytes) and the tail (from `from` to the end, at most
// `maxTail` bytes) of the journal, in one opening.
struct Snapshot {
    Status status = Status::Failed;
    qint64 size = 0;
    QByteArray head;
    QByteArray tail;
};
Snapshot read(const QString& path, qint64 headBytes, qint64 from, qint64 maxTail);

// Appends `bytes` at the end, unless the file would grow past `maxSize`; `at` gets the offset
// they begin at. A write that could not be completed is taken back, so the file never ends in
// a torn line of ours.
Status append(const QString& path, const QByteArray& bytes, qint64 maxSize, qint64* at = nullptr);
// The same, for the batches of one run: the file stays open between them while it is still
// the journal's (another process may have written the journal anew meanwhile).
class Appender
{
public:
    Appender() = default;
    ~Appender() { close(); }
    Appender(const Appender&) = delete;
    Appender& operator=(const Appender&) = delete;
    Status append(const QString& path, const QByteArray& bytes, qint64 maxSize,
                  qint64* at = nullptr);
    void close();

private:
    int m_fd = -1;
    QString m_path;
};

// Writes `bytes` over the start of the file, which must be at least as long.
Status writeHead(const QString& path, const QByteArray& bytes);
// A new journal of these bytes, only where none is.
Status create(const QString& path, const QByteArray& bytes);
// Replaces whatever stands at `path` (a link too: the link goes, never its target) by a plain
// file of these bytes, all at once, with the data on the disk first.
Status replace(const QString& path, const QByteArray& bytes);
// Empties or removes the journal, so that none of its runs is taken for a newer one.
bool discard(const QString& path);

// The journal's folder, made where missing and kept private to the user.
bool makeFolder(const QString& path);

// What tells the process `pid` from a later one of the same number (its start time); -1
// when no such process runs.
qint64 processToken(qint64 pid);
qint64 currentProcessId();

} // namespace JournalFile
