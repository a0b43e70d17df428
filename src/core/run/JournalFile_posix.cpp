#include "JournalFile.h"

#include "fileops/PosixFiles.h"

#include <QFile>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace JournalFile
{

namespace
{

constexpr int WaitMs = 5000;

QByteArray bytesOf(const QString& path)
{
    return QFile::encodeName(path);
}

// Opens the journal itself, never through a link, and only when it is this user's plain file.
int openOurs(const QByteArray& path, int flags, Status& status, struct stat* st = nullptr)
{
    const int fd = ::open(path.constData(), flags | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        status = errno == ENOENT  ? Status::Missing
                 : errno == ELOOP ? Status::NotOurs
                                  : Status::Failed;
        return -1;
    }
    struct stat own;
    struct stat& s = st ? *st : own;
    if (::fstat(fd, &s) != 0 || !S_ISREG(s.st_mode) || s.st_uid != ::getuid()) {
        ::close(fd);
        status = Status::NotOurs;
        return -1;
    }
    status = Status::Done;
    return fd;
}

bool readAt(int fd, QByteArray& out, qint64 offset, qint64 count)
{
    out.resize(qsizetype(count));
    qint64 done = 0;
    while (done < count) {
        const ssize_t got =
            ::pread(fd, out.data() + done, size_t(count - done), off_t(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        done += got;
    }
    out.truncate(qsizetype(done));
    return true;
}

} // namespace

Lock::~Lock()
{
    release();
    if (m_handle >= 0)
        ::close(int(m_handle));
}

bool Lock::acquire(const QString& journalPath)
{
    const QString lockPath = journalPath + QStringLiteral(".lock");
    if (m_handle >= 0 && m_path != lockPath) {
        release();
        ::close(int(m_handle));
        m_handle = -1;
    }
    if (m_handle < 0) {
        const int fd =
            ::open(bytesOf(lockPath).constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0)
            return false;
        m_handle = fd;
        m_path = lockPath;
    }
    if (m_held)
        return true;
    // Others hold it for a batch of lines at a time; one that holds it for seconds is stuck.
    for (int waited = 0;; ++waited) {
        if (::flock(int(m_handle), LOCK_EX | LOCK_NB) == 0)
            break;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return false;
        if (waited >= WaitMs)
            return false;
        QThread::msleep(1);
    }
    m_held = true;
    return true;
}

void Lock::release()
{
    if (m_held)
        ::flock(int(m_handle), LOCK_UN);
    m_held = false;
}

Snapshot read(const QString& path, qint64 headBytes, qint64 from, qint64 maxTail)
{
    Snapshot s;
    struct stat st;
    const int fd = openOurs(bytesOf(path), O_RDONLY, s.status, &st);
    if (fd < 0)
        return s;
    s.size = st.st_size;
    bool ok = readAt(fd, s.head, 0, qMin<qint64>(headBytes, s.size));
    if (ok && from < s.size)
        ok = readAt(fd, s.tail, from, qMin(s.size - from, maxTail));
    ::close(fd);
    s.status = ok ? Status::Done : Status::Failed;
    return s;
}

Status append(const QString& path, const QByteArray& bytes, qint64 maxSize, qint64* at)
{
    Status status;
    struct stat st;
    const int fd = openOurs(bytesOf(path), O_WRONLY | O_APPEND, status, &st);
    if (fd < 0)
        return status;
    if (st.st_size + bytes.size() > maxSize) {
        ::close(fd);
        return Status::Failed;
    }
    // Under the lock nobody else appends: the end found now is where these bytes go.
    if (at)
        *at = st.st_size;
    const bool ok = posix::writeAll(fd, bytes.constData(), bytes.size());
    // Should the cut fail too, the torn line at the end is passed over as after a crash.
    if (!ok && ::ftruncate(fd, st.st_size) != 0) {
    }
    ::close(fd);
    return ok ? Status::Done : Status::Failed;
}

Status Appender::append(const QString& path, const QByteArray& bytes, qint64 maxSize, qint64* at)
{
    struct stat st;
    // Written anew (compacted) or removed since: the file at the path now is the journal.
    if (m_fd >= 0 && (path != m_path || ::fstat(m_fd, &st) != 0 || st.st_nlink == 0))
        close();
    if (m_fd < 0) {
        Status status;
        m_fd = openOurs(bytesOf(path), O_WRONLY | O_APPEND, status, &st);
        if (m_fd < 0)
            return status;
        m_path = path;
    }
    if (st.st_size + bytes.size() > maxSize)
        return Status::Failed;
    if (at)
        *at = st.st_size;
    if (posix::writeAll(m_fd, bytes.constData(), bytes.size()))
        return Status::Done;
    // Should the cut fail too, the torn line at the end is passed over as after a crash.
    if (::ftruncate(m_fd, st.st_size) != 0) {
    }
    return Status::Failed;
}

void Appender::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

Status writeHead(const QString& path, const QByteArray& bytes)
{
    Status status;
    struct stat st;
    const int fd = openOurs(bytesOf(path), O_WRONLY, status, &st);
    if (fd < 0)
        return status;
    bool ok = st.st_size >= bytes.size();
    for (qsizetype done = 0; ok && done < bytes.size();) {
        const ssize_t put =
            ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), off_t(done));
        if (put < 0 && errno == EINTR)
            continue;
        ok = put > 0;
        done += put > 0 ? put : 0;
    }
    ::close(fd);
    return ok ? Status::Done : Status::Failed;
}

Status create(const QString& path, const QByteArray& bytes)
{
    const QByteArray name = bytesOf(path);
    const int fd =
        ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno == EEXIST ? Status::NotOurs : Status::Failed;
    const bool ok = posix::writeAll(fd, bytes.constData(), bytes.size());
    ::close(fd);
    if (!ok)
        ::unlink(name.constData());
    return ok ? Status::Done : Status::Failed;
}

Status replace(const QString& path, const QByteArray& bytes)
{
    const QByteArray name = bytesOf(path);
    QByteArray temp = name + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return Status::Failed;
    bool ok = ::fchmod(fd, 0600) == 0 && posix::writeAll(fd, bytes.constData(), bytes.size()) &&
              ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    // rename(2) replaces a link itself, never what it points to.
    ok = ok && ::rename(temp.constData(), name.constData()) == 0;
    if (!ok)
        ::unlink(temp.constData());
    return ok ? Status::Done : Status::Failed;
}

bool discard(const QString& path)
{
    const QByteArray name = bytesOf(path);
    Status status;
    const int fd = openOurs(name, O_WRONLY, status);
    if (fd >= 0) {
        const bool emptied = ::ftruncate(fd, 0) == 0;
        ::close(fd);
        if (emptied)
            return true;
    }
    // Only a file of this user's goes: another's journal (a root run in their home) is theirs.
    struct stat st;
    if (::lstat(name.constData(), &st) != 0)
        return errno == ENOENT;
    return st.st_uid == ::getuid() && ::unlink(name.constData()) == 0;
}

bool makeFolder(const QString& path)
{
    const QByteArray dir = bytesOf(path);
    // Each missing level private to the user; as root never inside another user's home. The
    // journal's own folder is always private: nobody else may put a journal in our place.
    if (posix::makeFolders(dir, 0700) != 0)
        return false;
    struct stat st;
    if (::lstat(dir.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return false;
    return (st.st_mode & 077) == 0 || ::chmod(dir.constData(), 0700) == 0;
}

qint64 processToken(qint64 pid)
{
    if (pid <= 0)
        return -1;
#ifdef Q_OS_LINUX
    // The start time in clock ticks since boot: field 22 of /proc/PID/stat, after the name in
    // parentheses (which may hold spaces and parentheses itself).
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.read(4096);
    const qsizetype close = text.lastIndexOf(')');
    if (close < 0)
        return -1;
    const QList<QByteArray> fields = text.mid(close + 2).split(' ');
    return fields.size() > 19 ? fields.at(19).toLongLong() : -1;
#else
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM ? 0 : -1;
#endif
}

qint64 currentProcessId()
{
    return ::getpid();
}

} // namespace JournalFile
