// Reading a template's tree and copying it into a new folder, by descriptors on both sides:
// a folder swapped for a link while the copy runs is never followed, and nothing is ever
// written over (O_EXCL, mkdirat, symlinkat all refuse what stands there).

#include "HostFileSystem.h"

#include "fileops/CopyReasons.h"
#include "fileops/HostPath.h"
#include "fileops/PosixFiles.h"

#include <QDir>

#include <algorithm>

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace
{

bool isNoSpace(int error)
{
    return error == ENOSPC || error == EDQUOT;
}

Reason systemReason(int error)
{
    return CopyReason::system(QString::fromLocal8Bit(std::strerror(error)));
}

// The names a folder opened by descriptor holds, in byte order; false when it cannot be read.
bool listNames(int fd, QList<QByteArray>& names)
{
    const int copy = ::dup(fd);
    if (copy < 0)
        return false;
    DIR* dir = ::fdopendir(copy);
    if (!dir) {
        ::close(copy);
        return false;
    }
    names.clear();
    errno = 0;
    while (const dirent* e = ::readdir(dir)) {
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
            names.append(QByteArray(e->d_name));
    }
    const bool ok = errno == 0;
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return ok;
}

TreeEntry::Kind kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return TreeEntry::Kind::Folder;
    if (S_ISREG(mode))
        return TreeEntry::Kind::File;
    if (S_ISLNK(mode))
        return TreeEntry::Kind::Link;
    return TreeEntry::Kind::Special;
}

int openTop(const QString& path, bool follow)
{
    const QString host = hostPath(path);
    if (host.isEmpty()) {
        errno = ENOENT;
        return -1;
    }
    return ::open(hostBytes(host).constData(),
                  O_RDONLY | O_DIRECTORY | O_CLOEXEC | (follow ? 0 : O_NOFOLLOW));
}

bool sameEntry(const posix::Node& n, const TreeEntry& e)
{
    return n.ok && n.dev == e.volume && n.ino == e.node && kindOf(n.mode) == e.kind;
}

timespec timeOf(qint64 ns)
{
    timespec t;
    t.tv_sec = time_t(ns / 1000000000);
    t.tv_nsec = long(ns % 1000000000);
    if (t.tv_nsec < 0) {
        t.tv_nsec += 1000000000;
        --t.tv_sec;
    }
    return t;
}

// The modification time as the template's; the access time is left to the system.
void keepTime(int dirFd, const char* name, qint64 modified, bool link)
{
    if (modified < 0)
        return;
    const timespec times[2] = {{0, UTIME_OMIT}, timeOf(modified)};
    ::utimensat(dirFd, name, times, link ? AT_SYMLINK_NOFOLLOW : 0);
}

// Copies the bytes of one open file to another: a clone where the file system shares blocks,
// else the kernel's own copy, else reads and writes. The count copied, or -1 with errno.
// `clone` is cleared once the file system says it cannot: asked again for each file, it would
// cost a call per file for nothing.
qint64 copyBytes(int from, int to, qint64 size, bool& clone)
{
    if (size > 0 && clone) {
        if (::ioctl(to, FICLONE, from) == 0)
            return size;
        if (errno == EOPNOTSUPP || errno == ENOTTY || errno == EXDEV || errno == EINVAL ||
            errno == ENOSYS)
            clone = false;
    }
    qint64 copied = 0;
    bool kernel = true;
    while (copied < size) {
        if (kernel) {
            const ssize_t n =
                ::copy_file_range(from, nullptr, to, nullptr, size_t(size - copied), 0);
            if (n > 0) {
                copied += n;
                continue;
            }
            if (n == 0)
                break; // it shrank
            if (errno == EINTR)
                continue;
            if (copied == 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL ||
                                errno == EOPNOTSUPP || errno == EPERM)) {
                kernel = false;
                continue;
            }
            return -1;
        }
        char buffer[1 << 16];
        const ssize_t n =
            ::read(from, buffer, size_t(std::min<qint64>(sizeof buffer, size - copied)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        if (!posix::writeAll(to, buffer, n))
            return -1;
        copied += n;
    }
    return copied;
}

} // namespace

TreeRead HostFileSystem::readTree(const QString& path, qsizetype limit)
{
    TreeRead r;
    struct Level {
        int fd;
        QString prefix;
        QList<QByteArray> names;
        qsizetype next = 0;
    };
    QList<Level> levels;
    const int top = openTop(path, true);
    if (top < 0) {
        r.failure = errno == ENOENT                     ? CopyReason::noSuchFolder()
                    : errno == ENOTDIR                  ? CopyReason::notAFolder()
                    : errno == EACCES || errno == EPERM ? CopyReason::accessDenied()
                                                        : systemReason(errno);
        return r;
    }
    levels.append(Level{top, QString(), {}, 0});
    if (!listNames(top, levels.back().names))
        r.failure = CopyReason::unreadable();
    while (!levels.isEmpty() && r.ok()) {
        Level& level = levels.back();
        if (level.next == level.names.size()) {
            ::close(level.fd);
            levels.removeLast();
            continue;
        }
        const QByteArray name = level.names.at(level.next++);
        const posix::Node n = posix::statNode(level.fd, name.constData(), false);
        if (!n.ok) {
            if (n.error != ENOENT) // one that went meanwhile is simply not there
                r.failure = systemReason(n.error);
            continue;
        }
        if (r.entries.size() >= limit) {
            r.pastLimit = true;
            break;
        }
        TreeEntry e;
        e.path = level.prefix + nameOfBytes(name);
        e.kind = kindOf(n.mode);
        e.size = e.kind == TreeEntry::Kind::File ? n.size : 0;
        e.modified = n.modified;
        e.volume = n.dev;
        e.node = n.ino;
        e.birth = n.birth;
        e.mode = quint32(n.mode & 07777);
        const QString prefix = e.path + u'/';
        r.entries.append(std::move(e));
        if (kindOf(n.mode) != TreeEntry::Kind::Folder)
            continue;
        const int fd =
            ::openat(level.fd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        Level inner{fd, prefix, {}, 0};
        if (fd < 0 || !sameEntry(posix::statNode(fd, "", false), r.entries.back()) ||
            !listNames(fd, inner.names)) {
            if (fd >= 0)
                ::close(fd);
            r.failure = CopyReason::unreadable();
            break;
        }
        levels.append(std::move(inner));
    }
    for (const Level& level : std::as_const(levels))
        ::close(level.fd);
    if (!r.ok())
        r.entries.clear();
    return r;
}

TreeCopyResult HostFileSystem::copyTree(const QString& from, const QString& to,
                                        const QList<TreeEntry>& entries, bool withFiles,
                                        const CopyProceed& proceed)
{
    TreeCopyResult result;
    struct Level {
        QString path; // "" for the top
        int src = -1;
        int dst = -1;
        const TreeEntry* entry = nullptr;
    };
    QList<Level> levels;
    const int srcTop = openTop(from, true);
    const int dstTop = openTop(to, false);
    if (srcTop < 0 || dstTop < 0) {
        const Reason why = systemReason(errno);
        if (srcTop >= 0)
            ::close(srcTop);
        if (dstTop >= 0)
            ::close(dstTop);
        for (const TreeEntry& e : entries)
            result.notCopied.append({e.path, why});
        return result;
    }
    levels.append(Level{QString(), srcTop, dstTop, nullptr});
    // A folder gets its own permission bits and time once everything is inside: a read-only
    // one could not be filled, and each entry made inside would move its time.
    auto leave = [&levels]() {
        const Level level = levels.takeLast();
        if (level.entry) {
            ::fchmod(level.dst, mode_t(level.entry->mode & 03777));
            if (level.entry->modified >= 0) {
                const timespec times[2] = {{0, UTIME_OMIT}, timeOf(level.entry->modified)};
                ::futimens(level.dst, times);
            }
        }
        ::close(level.src);
        ::close(level.dst);
    };
    auto fail = [&result](const TreeEntry& e, int error) {
        if (isNoSpace(error)) {
            result.notCopied.append({e.path, CopyReason::noSpace()});
            result.cutShort = true;
        } else if (error == EEXIST) {
            result.notCopied.append({e.path, CopyReason::exists()});
        } else if (error == ENOENT) {
            result.notCopied.append({e.path, CopyReason::gone()});
        } else if (error == ELOOP || error == ENOTDIR) {
            result.notCopied.append({e.path, CopyReason::changed()});
        } else {
            result.notCopied.append({e.path, systemReason(error)});
        }
    };

    bool clone = true;
    qsizetype i = 0;
    for (; i < entries.size() && !result.cutShort; ++i) {
        const TreeEntry& e = entries.at(i);
        if (m_beforeCopyEntry)
            m_beforeCopyEntry(e.path);
        if (proceed && !proceed()) {
            result.stopped = true;
            break;
        }
        const qsizetype slash = e.path.lastIndexOf(u'/');
        const QString parent = slash < 0 ? QString() : e.path.left(slash);
        while (levels.size() > 1 && levels.back().path != parent)
            leave();
        if (levels.back().path != parent) {
            result.notCopied.append({e.path, CopyReason::parentMissing()});
            continue;
        }
        const Level& at = levels.back();
        const QByteArray name = nameBytes(QStringView(e.path).mid(slash + 1));
        const char* n = name.constData();
        switch (e.kind) {
        case TreeEntry::Kind::Folder: {
            if (::mkdirat(at.dst, n, 0700) != 0) {
                fail(e, errno);
                break;
            }
            const int src = ::openat(at.src, n, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            const int dst = ::openat(at.dst, n, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (src < 0 || dst < 0 || !sameEntry(posix::statNode(src, "", false), e)) {
                const int error = errno;
                if (src >= 0)
                    ::close(src);
                if (dst >= 0)
                    ::close(dst);
                // Made a moment ago and still empty: not left behind as a copy of nothing.
                ::unlinkat(at.dst, n, AT_REMOVEDIR);
                if (src < 0 || dst < 0)
                    fail(e, error);
                else
                    result.notCopied.append({e.path, CopyReason::changed()});
                break;
            }
            ++result.folders;
            levels.append(Level{e.path, src, dst, &e});
            break;
        }
        case TreeEntry::Kind::File: {
            if (!withFiles)
                break;
            const int src = ::openat(at.src, n, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
            if (src < 0) {
                fail(e, errno);
                break;
            }
            const posix::Node before = posix::statNode(src, "", false);
            if (!sameEntry(before, e) || before.size != e.size || before.modified != e.modified) {
                ::close(src);
                result.notCopied.append({e.path, CopyReason::changed()});
                break;
            }
            const int dst =
                ::openat(at.dst, n, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
            if (dst < 0) {
                fail(e, errno);
                ::close(src);
                break;
            }
            const qint64 copied = copyBytes(src, dst, e.size, clone);
            const int error = copied < 0 ? errno : 0;
            const posix::Node after = posix::statNode(src, "", false);
            const bool same = copied == e.size && after.ok && after.size == e.size &&
                              after.modified == e.modified;
            if (copied >= 0 && same) {
                ::fchmod(dst, mode_t(e.mode & 0777));
                const timespec times[2] = {{0, UTIME_OMIT}, timeOf(e.modified)};
                ::futimens(dst, times);
            }
            const bool closed = ::close(dst) == 0;
            const int closeError = closed ? 0 : errno;
            ::close(src);
            if (copied < 0 || !same || !closed) {
                // Ours since O_EXCL made it: half a file is no copy.
                ::unlinkat(at.dst, n, 0);
                if (copied < 0)
                    fail(e, error);
                else if (!closed)
                    fail(e, closeError);
                else
                    result.notCopied.append({e.path, CopyReason::changed()});
                break;
            }
            ++result.files;
            result.bytes += e.size;
            break;
        }
        case TreeEntry::Kind::Link: {
            if (!withFiles)
                break;
            const posix::Node now = posix::statNode(at.src, n, false);
            QByteArray target(qsizetype(std::max<qint64>(now.size, 0)) + 1, '\0');
            const ssize_t got = sameEntry(now, e)
                                    ? ::readlinkat(at.src, n, target.data(), size_t(target.size()))
                                    : -1;
            if (got < 0 || got >= target.size()) {
                result.notCopied.append({e.path, CopyReason::changed()});
                break;
            }
            target.truncate(got);
            if (::symlinkat(target.constData(), at.dst, n) != 0) {
                fail(e, errno);
                break;
            }
            keepTime(at.dst, n, e.modified, true);
            ++result.files;
            break;
        }
        case TreeEntry::Kind::Special:
            if (withFiles)
                result.notCopied.append({e.path, CopyReason::special()});
            break;
        }
    }
    noteRestNotCopied(result, entries, i, withFiles);
    while (!levels.isEmpty())
        leave();
    return result;
}

qint64 HostFileSystem::freeBytes(const QString& path)
{
    const QString host = hostPath(path);
    struct statvfs s;
    if (host.isEmpty() || ::statvfs(hostBytes(host).constData(), &s) != 0)
        return -1;
    return qint64(s.f_bavail) * qint64(s.f_frsize);
}
