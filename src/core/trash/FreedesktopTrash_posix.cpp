#include "FreedesktopTrash.h"

#include "fileops/HostPath.h"
#include "fileops/MountTable.h"
#include "fileops/TrashReasons.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#ifdef NMAKER_FREEDESKTOP_TRASH

#include "fileops/PosixFiles.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#ifdef Q_OS_LINUX
#include <linux/magic.h>
#include <sys/vfs.h>
#endif
#include <sys/stat.h>
#include <unistd.h>

using posix::joined;
using posix::Node;
using posix::openResolvedFolder;
using posix::parentOf;
using posix::statNode;

namespace
{

// A name may take NAME_MAX bytes; its .trashinfo adds ten more.
constexpr qsizetype MaxTrashName = 255 - 10;
constexpr qsizetype SuffixLength = 7; // '.' and six random characters
constexpr int MaxNameAttempts = 64;

// Cuts `name` to at most `max` bytes without splitting a UTF-8 sequence.
QByteArray shortened(const QByteArray& name, qsizetype max)
{
    if (name.size() <= max)
        return name;
    qsizetype end = max;
    while (end > 0 && (static_cast<unsigned char>(name.at(end)) & 0xC0) == 0x80)
        --end;
    return name.left(end);
}

QString errorText(int error)
{
    return TrashReason::systemError(error).text;
}

TrashResult result(TrashResult::Kind kind, const Reason& why = {})
{
    return TrashResult{kind, why, {}};
}

TrashResult failed(const Reason& why)
{
    return result(TrashResult::Kind::Failed, why);
}

// Gone, or a parent that is no folder: nothing stands there to move.
bool isAbsent(int error)
{
    return error == ENOENT || error == ENOTDIR;
}

// ".Trash" or ".Trash-<digits>": the name of a volume's trash folder.
bool isTrashName(const char* name, qsizetype length)
{
    if (length < 6 || std::strncmp(name, ".Trash", 6) != 0)
        return false;
    if (length == 6)
        return true;
    if (name[6] != '-' || length == 7)
        return false;
    for (qsizetype i = 7; i < length; ++i) {
        if (name[i] < '0' || name[i] > '9')
            return false;
    }
    return true;
}

// Whether `path` is `folder`, lies inside it, or holds it.
bool meets(const QByteArray& path, const QByteArray& folder)
{
    if (folder.isEmpty())
        return false;
    auto within = [](const QByteArray& inner, const QByteArray& outer) {
        return inner.size() > outer.size() && inner.startsWith(outer) &&
               (outer.endsWith('/') || inner.at(outer.size()) == '/');
    };
    return path == folder || within(path, folder) || within(folder, path);
}

} // namespace

struct FreedesktopTrash::TrashDir {
    QByteArray path;
    QByteArray topdir; // empty for the home trash, whose Path values are absolute
    int filesFd = -1;
    int infoFd = -1;
    bool dirty = false;
    QString error;         // set when the trash cannot be used
    Reason reason;         // set when it is not to be used at all, and why
    bool inMemory = false; // what goes there is gone after the next restart
    Reason inMemoryReason; // said of every item that goes there: fetched once per trash
    // How an info file comes into being: unnamed and then linked in where the file system can
    // (nothing half-written is ever seen), else under a temporary name and renamed.
    enum class Link { EmptyPath, ProcFd, TempName };
    Link link = Link::EmptyPath;

    bool usable() const { return filesFd >= 0 && infoFd >= 0; }

    ~TrashDir()
    {
        if (filesFd >= 0)
            ::close(filesFd);
        if (infoFd >= 0)
            ::close(infoFd);
    }

    // Opens (creating them 0700 when missing) files/ and info/ inside the open trash folder.
    bool openParts(int trashFd)
    {
        for (const char* part : {"files", "info"}) {
            if (::mkdirat(trashFd, part, 0700) != 0 && errno != EEXIST) {
                error = errorText(errno);
                return false;
            }
        }
        filesFd = posix::openFolder(trashFd, "files", false);
        infoFd = filesFd >= 0 ? posix::openFolder(trashFd, "info", false) : -1;
        if (!usable()) {
            error = errorText(errno);
            return false;
        }
        removeStaleParts();
#ifdef Q_OS_LINUX
        // A trash in memory (tmpfs, ramfs) is emptied by the next restart.
        struct statfs fs;
        inMemory =
            ::fstatfs(filesFd, &fs) == 0 && (fs.f_type == TMPFS_MAGIC || fs.f_type == RAMFS_MAGIC);
#endif
        if (inMemory)
            inMemoryReason = TrashReason::trashInMemory();
        return true;
    }

    // A run killed while it wrote an info file under its temporary name left it behind; the
    // files of processes of ours that are gone are removed.
    void removeStaleParts()
    {
        const int fd = ::openat(infoFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        DIR* listing = fd >= 0 ? ::fdopendir(fd) : nullptr;
        if (!listing) {
            if (fd >= 0)
                ::close(fd);
            return;
        }
        const uid_t uid = ::getuid();
        while (const dirent* entry = ::readdir(listing)) {
            const char* name = entry->d_name;
            if (std::strncmp(name, ".nmaker-", 8) != 0)
                continue;
            char* end = nullptr;
            const long pid = std::strtol(name + 8, &end, 10);
            if (pid <= 0 || std::strcmp(end, ".part") != 0)
                continue;
            struct stat st;
            if (::fstatat(infoFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0 || st.st_uid != uid ||
                !S_ISREG(st.st_mode))
                continue;
            if (pid != ::getpid() && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
                ::unlinkat(infoFd, name, 0);
        }
        ::closedir(listing);
    }
};

struct FreedesktopTrash::Volume {
    quint64 dev = 0;
    quint64 mnt = 0;
    bool hasMnt = false;
    QByteArray topdir;
    TrashDir* trash = nullptr;
};

QByteArray FreedesktopTrash::homeTrashOfEnvironment(bool* notText)
{
    // Taken as bytes: a home that is no text would otherwise become another folder. Relative
    // values are invalid by the base directory rules; never the working directory.
    auto clean = [](const QByteArray& path) {
        return QFile::encodeName(QDir::cleanPath(QFile::decodeName(path)));
    };
    bool bad = false;
    if (notText)
        *notText = false;
    const QByteArray dataHome = posix::environmentPath("XDG_DATA_HOME", &bad);
    if (!bad && !dataHome.isEmpty())
        return clean(dataHome + "/Trash");
    const QByteArray home = bad ? QByteArray() : posix::environmentPath("HOME", &bad);
    if (notText)
        *notText = bad;
    return home.isEmpty() ? QByteArray() : clean(home + "/.local/share/Trash");
}

FreedesktopTrash::FreedesktopTrash()
{
    m_homeTrash = homeTrashOfEnvironment(&m_homeNotText);
    m_suffixSeed = QRandomGenerator::global()->generate() | 1u;
}

FreedesktopTrash::~FreedesktopTrash()
{
    flush();
    if (m_parentFd >= 0)
        ::close(m_parentFd);
}

QByteArray FreedesktopTrash::encodePath(const QByteArray& path)
{
    static const char hex[] = "0123456789ABCDEF";
    // Written straight into its room: once per item of a trash run.
    QByteArray out(path.size() * 3, Qt::Uninitialized);
    char* o = out.data();
    for (const char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                          (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~' ||
                          c == '/';
        if (keep) {
            *o++ = ch;
        } else {
            o[0] = '%';
            o[1] = hex[c >> 4];
            o[2] = hex[c & 0xF];
            o += 3;
        }
    }
    out.truncate(o - out.constData());
    return out;
}

const QByteArray& FreedesktopTrash::deletionDate()
{
    const time_t now = ::time(nullptr);
    if (now != m_dateTime) {
        struct tm local;
        char text[32];
        localtime_r(&now, &local);
        std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
        m_date = text;
        m_dateTime = now;
    }
    return m_date;
}

FreedesktopTrash::TrashDir* FreedesktopTrash::homeTrash()
{
    if (m_home)
        return m_home.get();
    m_home = std::make_unique<TrashDir>();
    m_home->path = m_homeTrash;
    if (m_homeTrash.isEmpty()) {
        m_home->reason = m_homeNotText ? TrashReason::homeNotText() : TrashReason::noHomeTrash();
        return m_home.get();
    }
    // Create the trash with every missing parent, private to the user; as root never inside
    // another user's home.
    const int made = posix::makeFolders(m_homeTrash, 0700);
    if (made == posix::ForeignOwner) {
        m_home->reason = TrashReason::foreignHome(qEnvironmentVariable("HOME"));
        return m_home.get();
    }
    if (made != 0) {
        m_home->error = errorText(made);
        return m_home.get();
    }
    // The trash the user's own folder, as a volume's trash must be: not a link to another's.
    struct stat own;
    if (::stat(m_homeTrash.constData(), &own) != 0 || !S_ISDIR(own.st_mode) ||
        own.st_uid != ::geteuid()) {
        m_home->reason = TrashReason::foreignHomeTrash(QString::fromLocal8Bit(m_homeTrash));
        return m_home.get();
    }
    const int fd = posix::openFolder(AT_FDCWD, m_homeTrash.constData(), true);
    if (fd < 0) {
        m_home->error = errorText(errno);
        return m_home.get();
    }
    m_home->openParts(fd);
    ::close(fd);
    if (char* real = ::realpath(m_homeTrash.constData(), nullptr)) {
        m_homeTrashReal = real;
        std::free(real);
    }
    return m_home.get();
}

FreedesktopTrash::TrashDir* FreedesktopTrash::topdirTrash(const QByteArray& topdir)
{
    for (const auto& t : m_topdirTrashes) {
        if (t->topdir == topdir)
            return t.get();
    }
    auto trash = std::make_unique<TrashDir>();
    trash->topdir = topdir;
    const uid_t uid = ::getuid();
    const QByteArray uidText = QByteArray::number(uid);

    // A folder of ours: a real directory (no link), owned by us.
    auto openOwn = [&](const QByteArray& path) {
        if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
            return -1;
        const int fd = posix::openFolder(AT_FDCWD, path.constData(), false);
        struct stat st;
        if (fd >= 0 && (fstat(fd, &st) != 0 || st.st_uid != uid)) {
            ::close(fd);
            errno = EPERM;
            return -1;
        }
        return fd;
    };

    // $topdir/.Trash counts only as a real directory with the sticky bit, never a link.
    const QByteArray shared = joined(topdir, ".Trash");
    const Node sharedNode = statNode(AT_FDCWD, shared.constData(), false);
    if (sharedNode.ok && S_ISDIR(sharedNode.mode) && (sharedNode.mode & S_ISVTX)) {
        const QByteArray path = joined(shared, uidText);
        const int fd = openOwn(path);
        if (fd >= 0) {
            trash->path = path;
            const bool ok = trash->openParts(fd);
            ::close(fd);
            if (ok) {
                m_topdirTrashes.push_back(std::move(trash));
                return m_topdirTrashes.back().get();
            }
            trash = std::make_unique<TrashDir>();
            trash->topdir = topdir;
        }
    }
    const QByteArray path = joined(topdir, ".Trash-" + uidText);
    trash->path = path;
    const int fd = openOwn(path);
    if (fd < 0) {
        trash->error = errorText(errno);
    } else {
        trash->openParts(fd);
        ::close(fd);
    }
    m_topdirTrashes.push_back(std::move(trash));
    return m_topdirTrashes.back().get();
}

FreedesktopTrash::Volume* FreedesktopTrash::volumeOf(const QByteArray& canonicalDir, quint64 dev,
                                                     quint64 mnt)
{
    for (const auto& v : m_volumes) {
        if (v->dev == dev && v->mnt == mnt &&
            (v->topdir == "/" || canonicalDir == v->topdir ||
             canonicalDir.startsWith(QByteArray(v->topdir + '/'))))
            return v.get();
    }
    if (!m_homeKnown && !m_homeTrash.isEmpty()) {
        // The trash may not exist yet: its nearest existing ancestor tells the volume.
        QByteArray probe = m_homeTrash;
        Node n = statNode(AT_FDCWD, probe.constData(), true);
        while (!n.ok && probe != "/") {
            probe = parentOf(probe);
            n = statNode(AT_FDCWD, probe.constData(), true);
        }
        m_homeKnown = n.ok;
        m_homeDev = n.dev;
        m_homeMnt = n.mnt;
    }

    auto volume = std::make_unique<Volume>();
    volume->dev = dev;
    volume->mnt = mnt;
    Node here = statNode(AT_FDCWD, canonicalDir.constData(), true);
    volume->hasMnt = here.hasMnt;
    if (m_homeKnown && m_homeDev == dev && (!here.hasMnt || m_homeMnt == mnt)) {
        volume->topdir = "/";
        volume->trash = homeTrash();
    } else {
        // The mount point: walk up while the volume stays the same.
        QByteArray dir = canonicalDir;
        while (dir != "/") {
            const QByteArray up = parentOf(dir);
            const Node upNode = statNode(AT_FDCWD, up.constData(), true);
            if (!upNode.ok || upNode.dev != here.dev ||
                (upNode.hasMnt && here.hasMnt && upNode.mnt != here.mnt))
                break;
            dir = up;
        }
        volume->topdir = dir;
        volume->trash = topdirTrash(dir);
    }
    m_volumes.push_back(std::move(volume));
    return m_volumes.back().get();
}

bool FreedesktopTrash::openParent(const QByteArray& parent, TrashResult& failure)
{
    if (parent == m_parent && m_parentFd >= 0)
        return true;
    if (m_parentFd >= 0)
        ::close(m_parentFd);
    m_parentFd = -1;
    m_parent.clear();
    char* real = ::realpath(parent.constData(), nullptr);
    if (!real) {
        failure = isAbsent(errno) ? result(TrashResult::Kind::Missing)
                                  : failed(TrashReason::systemError(errno));
        return false;
    }
    m_parentReal = real;
    std::free(real);
    m_parentFd = openResolvedFolder(m_parentReal);
    if (m_parentFd < 0) {
        failure = isAbsent(errno)
                      ? result(TrashResult::Kind::Missing)
                      : failed(errno == ELOOP
                                   ? Reason{QCoreApplication::translate(
                                                "FreedesktopTrash", "フォルダが置き換えられました"),
                                            "folder_replaced"}
                                   : TrashReason::systemError(errno));
        return false;
    }
    const Node dir = statNode(m_parentFd, "", true);
    if (!dir.ok) {
        failure = failed(TrashReason::systemError(dir.error));
        ::close(m_parentFd);
        m_parentFd = -1;
        return false;
    }
    m_parentVolume = volumeOf(m_parentReal, dir.dev, dir.mnt);
    m_parent = parent;
    return true;
}

bool FreedesktopTrash::isTrashFolder(const QByteArray& canonicalPath)
{
    // A volume's trash, anything in it, or anything above it.
    for (qsizetype at = canonicalPath.indexOf("/.Trash"); at >= 0;
         at = canonicalPath.indexOf("/.Trash", at + 1)) {
        qsizetype end = canonicalPath.indexOf('/', at + 1);
        if (end < 0)
            end = canonicalPath.size();
        if (isTrashName(canonicalPath.constData() + at + 1, end - at - 1))
            return true;
    }
    if (m_homeTrashReal.isEmpty())
        homeTrash(); // made now if need be, so that its real place is known
    return meets(canonicalPath, m_homeTrash) || meets(canonicalPath, m_homeTrashReal);
}

int FreedesktopTrash::writeInfo(TrashDir& trash, const QByteArray& infoName,
                                const QByteArray& content, posix::Node* stamp)
{
#if defined(Q_OS_LINUX) && defined(O_TMPFILE)
    if (trash.link != TrashDir::Link::TempName) {
        const int fd = ::openat(trash.infoFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return errno;
        if (fd < 0) {
            trash.link = TrashDir::Link::TempName; // a file system without unnamed files
        } else {
            if (!posix::writeAll(fd, content.constData(), content.size())) {
                const int error = errno;
                ::close(fd);
                return error;
            }
            // The file as it is written: linking it under its name changes none of its stamp.
            *stamp = statNode(fd, "", false);
            int error = 0;
            if (trash.link == TrashDir::Link::EmptyPath &&
                ::linkat(fd, "", trash.infoFd, infoName.constData(), AT_EMPTY_PATH) != 0) {
                error = errno;
                // AT_EMPTY_PATH needs a privilege that ordinary users lack; /proc does not.
                if (error == ENOENT)
                    trash.link = TrashDir::Link::ProcFd;
            }
            if (trash.link == TrashDir::Link::ProcFd) {
                char self[32];
                std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
                error = ::linkat(AT_FDCWD, self, trash.infoFd, infoName.constData(),
                                 AT_SYMLINK_FOLLOW) == 0
                            ? 0
                            : errno;
                if (error == ENOENT)
                    trash.link = TrashDir::Link::TempName; // no /proc
            }
            if (::close(fd) != 0 && error == 0) {
                error = errno;
                ::unlinkat(trash.infoFd, infoName.constData(), 0);
            }
            if (trash.link != TrashDir::Link::TempName)
                return error;
        }
    }
#endif
    // Written under a name no trash viewer reads and renamed into place, so that a crash
    // never leaves an empty or partial one behind.
    const QByteArray tempName = ".nmaker-" + QByteArray::number(::getpid()) + ".part";
    const int fd = ::openat(trash.infoFd, tempName.constData(),
                            O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return errno;
    bool written = posix::writeAll(fd, content.constData(), content.size());
    int error = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written && posix::renameNoReplace(trash.infoFd, tempName.constData(), trash.infoFd,
                                          infoName.constData()) == 0) {
        *stamp = statNode(trash.infoFd, infoName.constData(), false);
        return 0;
    }
    if (written)
        error = errno;
    ::unlinkat(trash.infoFd, tempName.constData(), 0);
    return error;
}

TrashResult FreedesktopTrash::moveToTrash(const QString& path, const FolderId& expected,
                                          TrashItem::KeepIf keepIf)
{
    // Without a home there is no telling which volume is the home one: nothing goes anywhere.
    if (m_homeTrash.isEmpty())
        return failed(m_homeNotText ? TrashReason::homeNotText() : TrashReason::noHomeTrash());
    // The folder the caller's checks meant, not a textual clean-up of its path.
    QByteArray& full = m_full;
    if (!plainHostBytes(path, full)) {
        const QString clean = hostPath(path);
        if (clean.isEmpty())
            return failed(TrashReason::notAbsolute());
        full = hostBytes(clean);
    }
    const qsizetype slash = full.lastIndexOf('/');
    const QByteArray name = full.mid(slash + 1);
    if (name.isEmpty() || name == "." || name == "..")
        return failed(TrashReason::noName());
    TrashResult failure;
    if (!openParent(slash == 0 ? QByteArray("/") : full.left(slash), failure))
        return failure;
    const Volume& volume = *m_parentVolume;
    const QByteArray source = joined(m_parentReal, name);
    if (isTrashFolder(source))
        return failed(TrashReason::trashFolder());

    // What the resolved path names now must be what was checked; the rename below goes
    // through the parent opened above, and what arrives is compared once more.
    const Node item = statNode(AT_FDCWD, source.constData(), false);
    if (!item.ok)
        return isAbsent(item.error) ? result(TrashResult::Kind::Missing)
                                    : failed(TrashReason::systemError(item.error));
    if (expected.isKnown() && !expected.sameAs(item.id()))
        return result(TrashResult::Kind::Replaced);
    if (item.dev != volume.dev || (item.hasMnt && volume.hasMnt && item.mnt != volume.mnt))
        return failed(TrashReason::mountPoint());
    if (!m_mounts)
        m_mounts = std::make_unique<MountTable>(MountTable::current());
    if (S_ISDIR(item.mode) && m_mounts->hasMountBelow(item.dev, item.ino))
        return failed(TrashReason::volumeInside());
    TrashDir* trash = volume.trash;
    if (!trash->reason.isEmpty())
        return failed(trash->reason);
    if (!trash->usable())
        return failed(
            TrashReason::trashUnusable(QString::fromLocal8Bit(trash->path), trash->error));

    // Always: a folder's times cannot tell that nothing came in since the check, not on a file
    // system whose clock ticks in seconds (FAT) nor where a writer set them back.
    if (keepIf != TrashItem::KeepIf::Never && (S_ISDIR(item.mode) || S_ISLNK(item.mode))) {
        // Looked at again right before the move: it may have been filled since the check.
        const int fd = posix::openFolder(m_parentFd, name.constData(), S_ISLNK(item.mode));
        if (fd < 0 && isAbsent(errno) && !S_ISLNK(item.mode))
            return result(TrashResult::Kind::Missing);
        if (fd >= 0) {
            const Node opened = statNode(fd, "", false);
            const posix::Contents contents =
                opened.ok && (S_ISLNK(item.mode) || opened.sameNode(item))
                    ? posix::readContents(fd, keepIf == TrashItem::KeepIf::HoldsFile
                                                  ? posix::StopAt::File
                                                  : posix::StopAt::Anything)
                    : posix::Contents{false, false, false};
            ::close(fd);
            if (!opened.ok || (!S_ISLNK(item.mode) && !opened.sameNode(item)))
                return result(TrashResult::Kind::Replaced);
            if (!contents.ok)
                return failed(TrashReason::unreadable());
            if (keepIf == TrashItem::KeepIf::HoldsFile ? contents.file : contents.anything)
                return result(TrashResult::Kind::Kept);
        }
    }

    QByteArray original = source;
    if (!trash->topdir.isEmpty()) {
        // Topdir trashes keep paths relative to the volume, so they survive another mount point.
        const QByteArray prefix =
            trash->topdir.endsWith('/') ? trash->topdir : QByteArray(trash->topdir + '/');
        if (!source.startsWith(prefix))
            return failed(TrashReason::outsideTopFolder());
        original = source.mid(prefix.size());
    }
    // Built in the room of the item before: one of these per item of the batch.
    QByteArray& info = m_info;
    info.truncate(0);
    info.append("[Trash Info]\nPath=").append(encodePath(original)).append("\nDeletionDate=");
    info.append(deletionDate()).append('\n');

    for (int attempt = 0; attempt < MaxNameAttempts; ++attempt) {
        QByteArray candidate;
        if (attempt == 0) {
            candidate = shortened(name, MaxTrashName);
        } else {
            // A short random suffix instead of counting: one collision test, however many
            // items of the name the trash already holds. xorshift: cheap, seeded at random.
            static const char digits[] = "abcdefghijklmnopqrstuvwxyz234567";
            quint32 x = m_suffixSeed;
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            m_suffixSeed = x;
            candidate = shortened(name, MaxTrashName - SuffixLength) + '.';
            for (int i = 0; i < 6; ++i, x >>= 5)
                candidate += digits[x & 31];
        }
        QByteArray infoName;
        infoName.reserve(candidate.size() + 10);
        infoName.append(candidate).append(".trashinfo");
        // The .trashinfo must be complete before the item moves, or it could not be restored.
        // What the undo will know the info file by: it must still be this one.
        Node infoNode;
        const int written = writeInfo(*trash, infoName, info, &infoNode);
        if (written == EEXIST)
            continue;
        if (written != 0)
            return failed(TrashReason::systemError(written));
        if (m_beforeMove)
            m_beforeMove(path);
        if (posix::renameNoReplace(m_parentFd, name.constData(), trash->filesFd,
                                   candidate.constData()) != 0) {
            const int error = errno;
            ::unlinkat(trash->infoFd, infoName.constData(), 0);
            if (error == EEXIST) // an entry in files/ without its .trashinfo
                continue;
            return isAbsent(error) ? result(TrashResult::Kind::Missing)
                                   : failed(TrashReason::systemError(error));
        }
        trash->dirty = true;
        // The rename took whatever stood there at that moment: it must be the node checked.
        const Node moved = statNode(trash->filesFd, candidate.constData(), false);
        if (moved.ok && moved.sameNode(item)) {
            TrashResult done = result(TrashResult::Kind::Trashed, trash->inMemoryReason);
            if (infoNode.ok)
                done.place = TrashPlace{trash->path,      trash->topdir, candidate, infoName,
                                        infoNode.stamp(), item.id(),     source};
            return done;
        }
        if (moved.ok && posix::renameNoReplace(trash->filesFd, candidate.constData(), m_parentFd,
                                               name.constData()) == 0) {
            ::unlinkat(trash->infoFd, infoName.constData(), 0);
            return result(TrashResult::Kind::Replaced);
        }
        // It could not be put back: it stays in the trash with its .trashinfo, restorable.
        return failed(TrashReason::otherWentToTrash());
    }
    return failed(TrashReason::noFreeName());
}

void FreedesktopTrash::flush()
{
    // The trash's two folders, not the whole file system: syncfs would wait for every other
    // program's writes too, seconds on a busy disk. This makes the moves and the new names
    // durable; a power cut right after could still leave an info file empty (its item stays
    // in files/), as with every other trash program, which flush nothing at all.
    auto sync = [](TrashDir* t) {
        if (!t || !t->dirty)
            return;
        ::fsync(t->infoFd);
        ::fsync(t->filesFd);
        t->dirty = false;
    };
    sync(m_home.get());
    for (const auto& t : m_topdirTrashes)
        sync(t.get());
}

#else // not a freedesktop.org system: the platform's own trash is used instead

struct FreedesktopTrash::Volume {
};
struct FreedesktopTrash::TrashDir {
};

FreedesktopTrash::FreedesktopTrash() = default;
FreedesktopTrash::~FreedesktopTrash() = default;
QByteArray FreedesktopTrash::homeTrashOfEnvironment(bool*)
{
    return {};
}
TrashResult FreedesktopTrash::moveToTrash(const QString&, const FolderId&, TrashItem::KeepIf)
{
    return TrashResult{TrashResult::Kind::Failed, TrashReason::noTrash(), {}};
}
void FreedesktopTrash::flush() {}
QByteArray FreedesktopTrash::encodePath(const QByteArray& path)
{
    return path.toPercentEncoding("/");
}

#endif
