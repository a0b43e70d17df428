#include "JournalFile.h"

#include <QDir>
#include <QThread>

#include <windows.h>

#include <string>

namespace JournalFile
{

namespace
{

constexpr int WaitMs = 5000;

std::wstring wide(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

class Handle
{
public:
    explicit Handle(HANDLE h) : m_h(h) {}
    ~Handle()
    {
        if (valid())
            ::CloseHandle(m_h);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return m_h != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_h; }

private:
    HANDLE m_h;
};

// The journal itself, never through a link; others may read, write and replace it meanwhile
// (they do only under the lock).
HANDLE openOurs(const QString& path, DWORD access, DWORD disposition, Status& status)
{
    HANDLE h = ::CreateFileW(
        wide(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        disposition, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        status = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Status::Missing
                 : error == ERROR_FILE_EXISTS                                   ? Status::NotOurs
                                                                                : Status::Failed;
        return h;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(h, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
        ::CloseHandle(h);
        status = Status::NotOurs;
        return INVALID_HANDLE_VALUE;
    }
    status = Status::Done;
    return h;
}

qint64 sizeOf(HANDLE h)
{
    LARGE_INTEGER size;
    return ::GetFileSizeEx(h, &size) ? size.QuadPart : -1;
}

bool seekTo(HANDLE h, qint64 offset)
{
    LARGE_INTEGER at;
    at.QuadPart = offset;
    return ::SetFilePointerEx(h, at, nullptr, FILE_BEGIN) != 0;
}

bool writeAll(HANDLE h, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        DWORD put = 0;
        const DWORD chunk = DWORD(qMin<qsizetype>(bytes.size() - done, 1 << 30));
        if (!::WriteFile(h, bytes.constData() + done, chunk, &put, nullptr) || put == 0)
            return false;
        done += put;
    }
    return true;
}

bool readAt(HANDLE h, QByteArray& out, qint64 offset, qint64 count)
{
    if (!seekTo(h, offset))
        return false;
    out.resize(qsizetype(count));
    qint64 done = 0;
    while (done < count) {
        DWORD got = 0;
        const DWORD chunk = DWORD(qMin<qint64>(count - done, 1 << 30));
        if (!::ReadFile(h, out.data() + done, chunk, &got, nullptr))
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
    if (m_handle != -1)
        ::CloseHandle(HANDLE(m_handle));
}

bool Lock::acquire(const QString& journalPath)
{
    const QString lockPath = journalPath + QStringLiteral(".lock");
    if (m_handle != -1 && m_path != lockPath) {
        release();
        ::CloseHandle(HANDLE(m_handle));
        m_handle = -1;
    }
    if (m_handle == -1) {
        HANDLE h = ::CreateFileW(wide(lockPath).c_str(), GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        m_handle = qintptr(h);
        m_path = lockPath;
    }
    if (m_held)
        return true;
    for (int waited = 0;; ++waited) {
        OVERLAPPED at{};
        if (::LockFileEx(HANDLE(m_handle), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                         1, 0, &at))
            break;
        if (::GetLastError() != ERROR_LOCK_VIOLATION || waited >= WaitMs)
            return false;
        QThread::msleep(1);
    }
    m_held = true;
    return true;
}

void Lock::release()
{
    if (m_held) {
        OVERLAPPED at{};
        ::UnlockFileEx(HANDLE(m_handle), 0, 1, 0, &at);
    }
    m_held = false;
}

Snapshot read(const QString& path, qint64 headBytes, qint64 from, qint64 maxTail)
{
    Snapshot s;
    const Handle h(openOurs(path, GENERIC_READ, OPEN_EXISTING, s.status));
    if (!h.valid())
        return s;
    s.size = sizeOf(h.get());
    bool ok = s.size >= 0 && readAt(h.get(), s.head, 0, qMin(headBytes, s.size));
    if (ok && from < s.size)
        ok = readAt(h.get(), s.tail, from, qMin(s.size - from, maxTail));
    s.status = ok ? Status::Done : Status::Failed;
    return s;
}

Status append(const QString& path, const QByteArray& bytes, qint64 maxSize, qint64* at)
{
    Status status;
    const Handle h(openOurs(path, GENERIC_WRITE, OPEN_EXISTING, status));
    if (!h.valid())
        return status;
    const qint64 end = sizeOf(h.get());
    if (end < 0 || end + bytes.size() > maxSize || !seekTo(h.get(), end))
        return Status::Failed;
    if (at)
        *at = end;
    if (writeAll(h.get(), bytes))
        return Status::Done;
    // Nothing torn of ours stays at the end.
    if (seekTo(h.get(), end))
        ::SetEndOfFile(h.get());
    return Status::Failed;
}

// Opened for each batch: an open file could not be replaced by another process's compaction.
Status Appender::append(const QString& path, const QByteArray& bytes, qint64 maxSize, qint64* at)
{
    return JournalFile::append(path, bytes, maxSize, at);
}

void Appender::close() {}

Status writeHead(const QString& path, const QByteArray& bytes)
{
    Status status;
    const Handle h(openOurs(path, GENERIC_WRITE, OPEN_EXISTING, status));
    if (!h.valid())
        return status;
    const bool ok =
        sizeOf(h.get()) >= bytes.size() && seekTo(h.get(), 0) && writeAll(h.get(), bytes);
    return ok ? Status::Done : Status::Failed;
}

Status create(const QString& path, const QByteArray& bytes)
{
    Status status;
    const Handle h(openOurs(path, GENERIC_WRITE, CREATE_NEW, status));
    if (!h.valid())
        return status;
    if (writeAll(h.get(), bytes))
        return Status::Done;
    ::DeleteFileW(wide(path).c_str());
    return Status::Failed;
}

Status replace(const QString& path, const QByteArray& bytes)
{
    const QString temp = path + QStringLiteral(".new");
    ::DeleteFileW(wide(temp).c_str());
    {
        Status status;
        const Handle h(openOurs(temp, GENERIC_WRITE, CREATE_NEW, status));
        if (!h.valid())
            return Status::Failed;
        if (!writeAll(h.get(), bytes) || !::FlushFileBuffers(h.get())) {
            ::DeleteFileW(wide(temp).c_str());
            return Status::Failed;
        }
    }
    if (::MoveFileExW(wide(temp).c_str(), wide(path).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Status::Done;
    ::DeleteFileW(wide(temp).c_str());
    return Status::Failed;
}

bool discard(const QString& path)
{
    Status status;
    {
        const Handle h(openOurs(path, GENERIC_WRITE, OPEN_EXISTING, status));
        if (h.valid() && seekTo(h.get(), 0) && ::SetEndOfFile(h.get()))
            return true;
    }
    if (status == Status::Missing)
        return true;
    return ::DeleteFileW(wide(path).c_str()) != 0;
}

bool makeFolder(const QString& path)
{
    return QDir().mkpath(path);
}

qint64 processToken(qint64 pid)
{
    if (pid <= 0)
        return -1;
    HANDLE h = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
    if (!h)
        return ::GetLastError() == ERROR_ACCESS_DENIED ? 0 : -1;
    FILETIME created, exited, kernel, user;
    DWORD code = 0;
    qint64 token = -1;
    if (::GetExitCodeProcess(h, &code) && code == STILL_ACTIVE &&
        ::GetProcessTimes(h, &created, &exited, &kernel, &user))
        token = (qint64(created.dwHighDateTime) << 32) | created.dwLowDateTime;
    ::CloseHandle(h);
    return token;
}

qint64 currentProcessId()
{
    return qint64(::GetCurrentProcessId());
}

} // namespace JournalFile
