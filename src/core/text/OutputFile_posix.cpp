#include "OutputFile.h"

#include "fileops/PosixFiles.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

mode_t currentUmask()
{
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

// Where the bytes go: the path itself, or the target of a link that may be followed; with the
// file that stands there now, if any.
struct Target {
    Reason problem;
    QByteArray path;
    bool exists = false;
    struct stat st = {};
};

Target targetOf(const QString& path)
{
    Target t;
    const QByteArray bytes = QFile::encodeName(path);
    if (bytes.isEmpty() || bytes.contains('\0')) {
        t.problem = OutputReason::badName();
        return t;
    }
    t.path = bytes;
    struct stat link;
    if (::lstat(bytes.constData(), &link) == 0 && S_ISLNK(link.st_mode)) {
        // The kernel's rule for links in shared folders, kept when the program resolves the
        // link itself: only one's own, or the folder owner's, is followed there.
        struct stat dir;
        const bool shared = ::stat(folderOf(bytes).constData(), &dir) == 0 &&
                            (dir.st_mode & S_ISVTX) && (dir.st_mode & S_IWOTH);
        if (shared && link.st_uid != ::geteuid() && link.st_uid != dir.st_uid) {
            t.problem = OutputReason::foreignLink();
            return t;
        }
        char* real = ::realpath(bytes.constData(), nullptr);
        if (!real) {
            // A dangling link: its target would be made wherever it points.
            t.problem = OutputReason::brokenLink();
            return t;
        }
        t.path = real;
        std::free(real);
    }
    t.exists = ::stat(t.path.constData(), &t.st) == 0;
    if (t.exists && !S_ISREG(t.st.st_mode)) {
        t.problem = OutputReason::notAFile();
        return t;
    }
    // A file the user may not write, or made read-only (even root keeps off then).
    if (t.exists && (::access(t.path.constData(), W_OK) != 0 || (t.st.st_mode & 0222) == 0)) {
        t.problem = OutputReason::readOnly();
        return t;
    }
    return t;
}

} // namespace

Reason outputFileProblem(const QString& path, const QStringList& inputs)
{
    const Target t = targetOf(path);
    if (!t.problem.isEmpty())
        return t.problem;
    if (t.exists) {
        for (const QString& input : inputs) {
            struct stat in;
            if (!input.isEmpty() && ::stat(QFile::encodeName(input).constData(), &in) == 0 &&
                in.st_dev == t.st.st_dev && in.st_ino == t.st.st_ino)
                return OutputReason::sameAsInput(input);
        }
    }
    // Tried for real: permission bits do not tell (root, read-only volumes, /proc).
    QByteArray probe = folderOf(t.path) + "/.nmaker-probe-XXXXXX";
    const int fd = ::mkostemp(probe.data(), O_CLOEXEC);
    if (fd < 0)
        return OutputReason::noFolder();
    ::close(fd);
    ::unlink(probe.constData());
    return {};
}

// QSaveFile buffers its writes and, in Qt 6.4, renames the temporary file into place even when
// the delayed write failed (a full disk then leaves an empty file). Every step is checked here,
// and the data is on the disk before the rename makes it the file.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, Reason* why)
{
    auto fail = [why](const Reason& reason) {
        if (why)
            *why = reason;
        return false;
    };
    const Target t = targetOf(path);
    if (!t.problem.isEmpty())
        return fail(t.problem);
    const mode_t mode = t.exists ? (t.st.st_mode & 07777) : (0666 & ~currentUmask());
    const QByteArray dir = folderOf(t.path);
    const qsizetype slash = t.path.lastIndexOf('/');
    QByteArray temp = dir + "/." + t.path.mid(slash + 1) + ".XXXXXX";
    if (temp.size() >= PATH_MAX)
        temp = dir + "/.nmaker-XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return fail(OutputReason::noFolder());
    bool ok = posix::writeAll(fd, bytes.constData(), bytes.size()) && ::fchmod(fd, mode) == 0;
    // Root writing a user's file leaves it the user's.
    // Best effort: where it fails the file is written all the same, root's.
    if (ok && t.exists && ::geteuid() == 0 && (t.st.st_uid != 0 || t.st.st_gid != 0) &&
        ::fchown(fd, t.st.st_uid, t.st.st_gid) != 0) {
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    // rename(2) replaces what stands at the name, a link planted meanwhile too, never what a
    // link points to.
    ok = ok && ::rename(temp.constData(), t.path.constData()) == 0;
    if (!ok) {
        ::unlink(temp.constData());
        return fail(OutputReason::notWritten());
    }
    // The rename itself reaches the disk with its folder.
    const int dirFd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

bool makeOwnFolder(const QString& folder)
{
    const QByteArray path = QFile::encodeName(QDir::cleanPath(folder));
    return !path.isEmpty() && path.startsWith('/') && posix::makeFolders(path, 0700) == 0;
}
