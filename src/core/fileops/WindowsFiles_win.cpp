#include "WindowsFiles.h"

#ifdef Q_OS_WIN

#include "WindowsPaths.h"

#include <QCoreApplication>
#include <QStringList>

namespace win
{

std::wstring systemPath(const QString& cleanPath)
{
    return WindowsPaths::longForm(cleanPath).toStdWString();
}

void Handle::reset()
{
    if (valid())
        ::CloseHandle(m_h);
    m_h = INVALID_HANDLE_VALUE;
}

Handle openEntry(const QString& cleanPath, bool follow)
{
    if (cleanPath.isEmpty()) {
        ::SetLastError(ERROR_BAD_PATHNAME);
        return Handle();
    }
    const std::wstring path = systemPath(cleanPath);
    // Backup semantics opens folders; sharing everything leaves the shell free to move it.
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (follow ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    HANDLE h = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES | FILE_LIST_DIRECTORY,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, flags, nullptr);
    if (h == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_ACCESS_DENIED) {
        // A file, or a folder that may not be listed: its information is enough to tell it.
        h = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, flags, nullptr);
    }
    return Handle(h);
}

qint64 toEpochNanoseconds(const FILETIME& t)
{
    // FILETIME counts 100 ns steps from 1601; the Unix epoch is 11644473600 s later.
    const quint64 ticks = (quint64(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    if (ticks == 0)
        return -1;
    return (qint64(ticks) - 116444736000000000LL) * 100;
}

namespace
{

// Wine takes a folder's creation time from the Unix change time where the file system keeps
// no birth time, so it moves whenever an entry is added: there it tells nothing.
bool creationTimeIsStable()
{
    static const bool stable =
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr;
    return stable;
}

} // namespace

Node nodeOf(HANDLE h)
{
    Node n;
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(h, &info)) {
        n.error = ::GetLastError();
        return n;
    }
    n.ok = true;
    n.attributes = info.dwFileAttributes;
    n.id.volume = info.dwVolumeSerialNumber;
    n.id.node = (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    n.id.birth = creationTimeIsStable() ? toEpochNanoseconds(info.ftCreationTime) : -1;
    n.modified = toEpochNanoseconds(info.ftLastWriteTime);
    return n;
}

Node nodeAt(const QString& cleanPath, bool follow)
{
    const Handle h = openEntry(cleanPath, follow);
    if (!h.valid()) {
        Node n;
        n.error = ::GetLastError();
        return n;
    }
    return nodeOf(h.get());
}

bool isAbsent(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
           error == ERROR_BAD_NETPATH || error == ERROR_BAD_NET_NAME ||
           error == ERROR_INVALID_DRIVE;
}

namespace
{

// Calls `take` for every entry of the open folder but "." and ".."; stops when it answers
// false. False when the folder could not be read to its end (or to the stop).
template <class Take> bool forEachEntry(HANDLE folder, Take take)
{
    alignas(8) char buffer[16384];
    FILE_INFO_BY_HANDLE_CLASS kind = FileFullDirectoryRestartInfo;
    for (;;) {
        if (!::GetFileInformationByHandleEx(folder, kind, buffer, sizeof buffer))
            return ::GetLastError() == ERROR_NO_MORE_FILES;
        kind = FileFullDirectoryInfo;
        const char* at = buffer;
        for (;;) {
            const auto* e = reinterpret_cast<const FILE_FULL_DIR_INFO*>(at);
            const QString name =
                QString::fromWCharArray(e->FileName, qsizetype(e->FileNameLength / 2));
            if (name != QLatin1String(".") && name != QLatin1String("..") &&
                !take(name, e->FileAttributes))
                return true;
            if (e->NextEntryOffset == 0)
                break;
            at += e->NextEntryOffset;
        }
    }
}

} // namespace

Contents readContents(HANDLE folder, StopAt stopAt)
{
    Contents c;
    c.ok = forEachEntry(folder, [&](const QString& name, DWORD attributes) {
        c.anything = true;
        if (stopAt == StopAt::Anything)
            return false;
        // Only an ordinary file counts: a link (of a file or a folder) goes with the folder as
        // it is, as on POSIX; a folder link carries the folder attribute too.
        if (attributes &
            (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_REPARSE_POINT))
            return true;
        if (name.startsWith(QLatin1Char('.')))
            return true;
        c.file = true;
        return false;
    });
    return c;
}

bool readNames(HANDLE folder, QStringList& names)
{
    return forEachEntry(folder, [&](const QString& name, DWORD) {
        names << name;
        return true;
    });
}

QString errorText(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD n = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString message =
        n ? QString::fromWCharArray(text, n).trimmed()
          : QCoreApplication::translate("WindowsFiles", "Windows error %1").arg(error);
    if (text)
        ::LocalFree(text);
    return message;
}

} // namespace win

#endif
