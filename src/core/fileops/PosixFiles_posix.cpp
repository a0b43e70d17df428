#include "PosixFiles.h"

#include <QFile>

#ifdef Q_OS_UNIX

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#if defined(Q_OS_LINUX) && __has_include(<linux/openat2.h>)
#include <linux/openat2.h>
#include <sys/syscall.h>
#define NMAKER_HAVE_OPENAT2 1
#endif

namespace posix
{

bool writeAll(int fd, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

QByteArray parentOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

QByteArray joined(const QByteArray& dir, const QByteArray& name)
{
    return dir.endsWith('/') ? QByteArray(dir + name) : QByteArray(dir + '/' + name);
}

Node statNode(int dirFd, const char* path, bool follow)
{
    Node n;
    const int flags = (follow ? 0 : AT_SYMLINK_NOFOLLOW) | (*path ? 0 : AT_EMPTY_PATH);
#if defined(Q_OS_LINUX) && defined(STATX_MNT_ID) && defined(STATX_BTIME)
    struct statx sx;
    if (::statx(dirFd, path, flags, STATX_BASIC_STATS | STATX_BTIME | STATX_MNT_ID, &sx) == 0) {
        n.ok = true;
        n.dev = makedev(sx.stx_dev_major, sx.stx_dev_minor);
        n.hasMnt = (sx.stx_mask & STATX_MNT_ID) != 0;
        n.mnt = n.hasMnt ? sx.stx_mnt_id : 0;
        n.ino = sx.stx_ino;
        if (sx.stx_mask & STATX_BTIME)
            n.birth = qint64(sx.stx_btime.tv_sec) * 1000000000 + sx.stx_btime.tv_nsec;
        n.modified = qint64(sx.stx_mtime.tv_sec) * 1000000000 + sx.stx_mtime.tv_nsec;
        n.size = qint64(sx.stx_size);
        n.mode = sx.stx_mode;
        n.uid = sx.stx_uid;
        return n;
    }
    if (errno != ENOSYS) {
        n.error = errno;
        return n;
    }
#endif
    struct stat st;
    if (::fstatat(dirFd, path, &st, flags) != 0) {
        n.error = errno;
        return n;
    }
    n.ok = true;
    n.dev = st.st_dev;
    n.ino = st.st_ino;
    n.modified = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    n.size = qint64(st.st_size);
    n.mode = st.st_mode;
    n.uid = st.st_uid;
    return n;
}

Contents readContents(int dirFd, StopAt stopAt)
{
    Contents c;
    // getdents64 on the caller's descriptor: no DIR allocation, and it stops early.
    alignas(8) char buffer[8192];
    for (;;) {
        const ssize_t got = ::getdents64(dirFd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            c.ok = false;
            return c;
        }
        if (got == 0)
            return c;
        for (ssize_t at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + at);
            at += entry->d_reclen;
            const char* name = entry->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                continue;
            c.anything = true;
            if (stopAt == StopAt::Anything)
                return c;
            // Only an ordinary file counts: not a folder, a link (to whatever), a FIFO, a socket
            // or a device, which go to the trash with the folder as they are, nothing followed.
            if (name[0] == '.') // hidden
                continue;
            if (entry->d_type == DT_UNKNOWN) {
                struct stat st;
                if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
                    continue;
            } else if (entry->d_type != DT_REG) {
                continue;
            }
            c.file = true;
            return c;
        }
    }
}

int openResolvedFolder(const QByteArray& path)
{
#ifdef NMAKER_HAVE_OPENAT2
    {
        open_how how{};
        how.flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
        how.resolve = RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
        const long fd = ::syscall(SYS_openat2, AT_FDCWD, path.constData(), &how, sizeof how);
        if (fd >= 0 || (errno != ENOSYS && errno != EPERM))
            return int(fd);
    }
#endif
    // Without openat2: one component at a time, none of them a link.
    if (!path.startsWith('/'))
        return errno = ENOENT, -1;
    int fd = ::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (const QByteArray& part : path.split('/')) {
        if (fd < 0)
            return -1;
        if (part.isEmpty())
            continue;
        const int next = openFolder(fd, part.constData(), false);
        const int error = errno;
        ::close(fd);
        fd = next;
        errno = error;
    }
    return fd;
}

int openFolder(int dirFd, const char* path, bool followLinks)
{
    return ::openat(dirFd, path,
                    O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLinks ? 0 : O_NOFOLLOW));
}

int renameNoReplace(int fromDirFd, const char* from, int toDirFd, const char* to)
{
#if defined(Q_OS_LINUX) && defined(RENAME_NOREPLACE)
    if (::renameat2(fromDirFd, from, toDirFd, to, RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return -1;
        // File systems without RENAME_NOREPLACE: test first. EINVAL also means "into itself",
        // which the plain rename below reports again.
#endif
    struct stat st;
    if (::fstatat(toDirFd, to, &st, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::renameat(fromDirFd, from, toDirFd, to);
}

int makeFolders(const QByteArray& path, mode_t mode)
{
    const uid_t self = ::geteuid();
    for (qsizetype i = path.indexOf('/', 1);; i = path.indexOf('/', i + 1)) {
        const QByteArray part = i < 0 ? path : path.left(i);
        struct stat st;
        if (::stat(part.constData(), &st) != 0) {
            if (errno != ENOENT)
                return errno;
            struct stat parent;
            if (self == 0 && ::stat(parentOf(part).constData(), &parent) == 0 && parent.st_uid != 0)
                return ForeignOwner;
            if (::mkdir(part.constData(), mode) != 0 && errno != EEXIST)
                return errno;
        }
        if (i < 0)
            return 0;
    }
}

QByteArray environmentPath(const char* name, bool* notText)
{
    const QByteArray value = qgetenv(name);
    if (notText)
        *notText = false;
    if (!value.startsWith('/'))
        return {};
    if (QFile::encodeName(QFile::decodeName(value)) != value) {
        if (notText)
            *notText = true;
        return {};
    }
    return value;
}

} // namespace posix

#endif
