#pragma once

#include <QtGlobal>

#ifdef Q_OS_WIN

#include "FileSystem.h"

#include <QString>

#include <windows.h>

// Small helpers over the Win32 calls that folder creation, the look before a deletion and the
// recycle bin share. Paths are cleaned host paths (WindowsPaths::cleaned); every call is made
// on their long form, so that no length limit applies and no name is altered.
namespace win
{

// The wide, NUL-ended long form of a cleaned path.
std::wstring systemPath(const QString& cleanPath);

// An open handle, closed with the object.
class Handle
{
public:
    Handle() = default;
    explicit Handle(HANDLE h) : m_h(h) {}
    ~Handle() { reset(); }
    Handle(Handle&& other) noexcept : m_h(other.release()) {}
    Handle& operator=(Handle&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_h = other.release();
        }
        return *this;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    bool valid() const { return m_h != INVALID_HANDLE_VALUE && m_h != nullptr; }
    HANDLE get() const { return m_h; }
    HANDLE release()
    {
        HANDLE h = m_h;
        m_h = INVALID_HANDLE_VALUE;
        return h;
    }
    void reset();

private:
    HANDLE m_h = INVALID_HANDLE_VALUE;
};

// Opens the entry itself, a link's own entry rather than its target unless `follow`, for
// reading its information and (for a folder) its entries; others may still rename or delete
// it meanwhile. Invalid with GetLastError() set when it cannot be opened.
Handle openEntry(const QString& cleanPath, bool follow);

// One entry as the system tells it.
struct Node {
    bool ok = false;
    DWORD error = 0; // GetLastError() when not ok
    DWORD attributes = 0;
    FolderId id; // volume serial number, 64-bit file index, creation time
    qint64 modified = 0;

    bool folder() const { return ok && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    bool link() const { return ok && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
    bool sameNode(const Node& other) const
    {
        return id.volume == other.id.volume && id.node == other.id.node;
    }
};
Node nodeOf(HANDLE h);
// Opens and looks in one go; a missing entry gives ok false with ERROR_FILE_NOT_FOUND or
// ERROR_PATH_NOT_FOUND.
Node nodeAt(const QString& cleanPath, bool follow);

// The error is "nothing stands there".
bool isAbsent(DWORD error);

// What an open folder holds, read through its handle.
struct Contents {
    bool ok = true;        // false when it could not be read to its end
    bool anything = false; // any entry at all, hidden ones included
    bool file = false;     // an ordinary visible file: not a folder, not hidden
};
enum class StopAt { Anything, File };
Contents readContents(HANDLE folder, StopAt stopAt);
// Every name the open folder holds ("." and ".." aside); false when it cannot be read.
bool readNames(HANDLE folder, QStringList& names);

// Nanoseconds since the Unix epoch.
qint64 toEpochNanoseconds(const FILETIME& t);

// The system's message for a Win32 error code.
QString errorText(DWORD error);

} // namespace win

#endif
