#pragma once

#include <QByteArray>
#include <QtGlobal>

#ifdef Q_OS_UNIX

#include "FileSystem.h"

#include <sys/types.h>

// Small helpers over the POSIX calls that the folder steps, the trash and the file writers
// share. Paths are the host's bytes.
namespace posix
{

// Writes all of `size` bytes, through short writes and interruptions; false with errno set.
bool writeAll(int fd, const char* data, qsizetype size);

// "/a/b" of "/a/b/c"; "/" for "/c" and for a path without a slash.
QByteArray parentOf(const QByteArray& path);
// `dir` + '/' + `name`, without doubling the slash of the root.
QByteArray joined(const QByteArray& dir, const QByteArray& name);

// One entry as the kernel tells it.
struct Node {
    bool ok = false;
    int error = 0; // errno when not ok
    quint64 dev = 0;
    quint64 mnt = 0; // the mount id, telling bind mounts of one file system apart
    bool hasMnt = false;
    quint64 ino = 0;
    qint64 birth = -1;   // nanoseconds since the epoch; -1 where the file system keeps none
    qint64 modified = 0; // the last change of the entries, for a folder
    qint64 size = 0;
    mode_t mode = 0;
    uid_t uid = 0;

    FolderId id() const { return FolderId{dev, ino, birth}; }
    FileStamp stamp() const { return FileStamp{dev, ino, size, modified}; }
    bool sameNode(const Node& other) const { return dev == other.dev && ino == other.ino; }
};

// statx where the kernel has it (birth time and mount id in the same call), else fstatat.
// An empty `path` with a descriptor looks at the descriptor itself.
Node statNode(int dirFd, const char* path, bool follow);

// What a folder just opened holds, read straight from the directory.
struct Contents {
    bool ok = true;        // false when it could not be read to its end
    bool anything = false; // any entry at all, hidden ones included
    bool file = false;     // an ordinary visible file: not a folder, a link, a FIFO or a device
};
// Stops at the first entry that answers `stopAt` (an entry at all, or a file).
enum class StopAt { Anything, File };
Contents readContents(int dirFd, StopAt stopAt);

// Opens a folder whose path holds no link (a resolved one): a link found on the way means the
// tree changed meanwhile, and the folder is not opened (ELOOP).
int openResolvedFolder(const QByteArray& path);

// A folder opened for reading by descriptor; -1 with errno set.
int openFolder(int dirFd, const char* path, bool followLinks);

// rename(2) that never replaces what stands at `to`.
int renameNoReplace(int fromDirFd, const char* from, int toDirFd, const char* to);

// Makes `path` and its missing parents with `mode`: 0, or the errno that stopped it. Run as
// root, it makes nothing inside a folder of another user (a HOME that sudo left as it was):
// ForeignOwner then, with nothing made.
constexpr int ForeignOwner = -1;
int makeFolders(const QByteArray& path, mode_t mode);

// An environment variable as the bytes of a path: empty when unset or relative (the base
// directory rules call those invalid); `notText` when its bytes are no text in the file-name
// encoding, which would name another folder once read as text.
QByteArray environmentPath(const char* name, bool* notText = nullptr);

} // namespace posix

#endif
