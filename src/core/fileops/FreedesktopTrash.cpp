#include "FreedesktopTrash.h"

#include "HostPath.h"
#include "MountTable.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#ifdef NMAKER_FREEDESKTOP_TRASH

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace
{

// A name may take NAME_MAX bytes; its .trashinfo adds ten more.
constexpr qsizetype MaxTrashName = 255 - 10;
constexpr qsizetype SuffixLength = 7; // '.' and six random characters
constexpr int MaxNameAttempts = 64;

struct Node {
    bool ok = false;
    int error = 0;
    quint64 dev = 0;
    quint64 mnt = 0;
    bool hasMnt = false;
    quint64 ino = 0;
    mode_t mode = 0;
    uid_t uid = 0;
};

Node statNode(int dirFd, const char* path, bool follow)
{
    Node n;
#if defined(Q_OS_LINUX) && defined(STATX_MNT_ID)
    // statx gives the mount id, which tells bind mounts of one file system apart: rename(2)
    // refuses to cross them even though st_dev is the same.
    struct statx sx;
    if (statx(dirFd, path, follow ? 0 : AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_MNT_ID,
              &sx) == 0) {
        n.ok = true;
        n.dev = makedev(sx.stx_dev_major, sx.stx_dev_minor);
        n.hasMnt = (sx.stx_mask & STATX_MNT_ID) != 0;
        n.mnt = n.hasMnt ? sx.stx_mnt_id : 0;
        n.ino = sx.stx_ino;
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
    if (fstatat(dirFd, path, &st, follow ? 0 : AT_SYMLINK_NOFOLLOW) != 0) {
        n.error = errno;
        return n;
    }
    n.ok = true;
    n.dev = st.st_dev;
    n.ino = st.st_ino;
    n.mode = st.st_mode;
    n.uid = st.st_uid;
    return n;
}

bool sameVolume(const Node& a, const Node& b)
{
    return a.dev == b.dev && (!a.hasMnt || !b.hasMnt || a.mnt == b.mnt);
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

bool writeAll(int fd, const QByteArray& data)
{
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

int openDir(int dirFd, const char* path, bool followLinks)
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
    if (fstatat(toDirFd, to, &st, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::renameat(fromDirFd, from, toDirFd, to);
}

QString errorText(int error)
{
    return qt_error_string(error);
}

} // namespace

struct FreedesktopTrash::TrashDir {
    QByteArray path;
    QByteArray topdir; // empty for the home trash, whose Path values are absolute
    int filesFd = -1;
    int infoFd = -1;
    bool dirty = false;
    QString error; // set when the trash cannot be used

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
        filesFd = openDir(trashFd, "files", false);
        infoFd = filesFd >= 0 ? openDir(trashFd, "info", false) : -1;
        if (!usable()) {
            error = errorText(errno);
            return false;
        }
        return true;
    }
};

struct FreedesktopTrash::Volume {
    quint64 dev = 0;
    quint64 mnt = 0;
    bool hasMnt = false;
    QByteArray topdir;
    TrashDir* trash = nullptr;
};

FreedesktopTrash::FreedesktopTrash()
{
    // Relative values are invalid by the base directory rules; never fall back to the
    // working directory.
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    const QString home = qEnvironmentVariable("HOME");
    QString trash;
    if (dataHome.startsWith(QLatin1Char('/')))
        trash = dataHome + QLatin1String("/Trash");
    else if (home.startsWith(QLatin1Char('/')))
        trash = home + QLatin1String("/.local/share/Trash");
    if (!trash.isEmpty())
        m_homeTrash = QFile::encodeName(QDir::cleanPath(trash));
    m_suffixSeed = QRandomGenerator::global()->generate() | 1u;
}

FreedesktopTrash::~FreedesktopTrash()
{
    flush();
}

QByteArray FreedesktopTrash::encodePath(const QByteArray& path)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(path.size() * 3);
    for (const char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                          (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~' ||
                          c == '/';
        if (keep) {
            out += ch;
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 0xF];
        }
    }
    return out;
}

bool FreedesktopTrash::fail(const QString& why)
{
    m_lastError = why;
    return false;
}

QByteArray FreedesktopTrash::deletionDate()
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
        m_home->error = QStringLiteral("no home trash: HOME and XDG_DATA_HOME are not set");
        return m_home.get();
    }
    // Create the trash with every missing parent, private to the user.
    for (qsizetype i = m_homeTrash.indexOf('/', 1);; i = m_homeTrash.indexOf('/', i + 1)) {
        const QByteArray part = i < 0 ? m_homeTrash : m_homeTrash.left(i);
        if (::mkdir(part.constData(), 0700) != 0 && errno != EEXIST) {
            m_home->error = errorText(errno);
            return m_home.get();
        }
        if (i < 0)
            break;
    }
    const int fd = openDir(AT_FDCWD, m_homeTrash.constData(), true);
    if (fd < 0) {
        m_home->error = errorText(errno);
        return m_home.get();
    }
    m_home->openParts(fd);
    ::close(fd);
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
        const int fd = openDir(AT_FDCWD, path.constData(), false);
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
            if (!upNode.ok || !sameVolume(upNode, here))
                break;
            dir = up;
        }
        volume->topdir = dir;
        volume->trash = topdirTrash(dir);
    }
    m_volumes.push_back(std::move(volume));
    return m_volumes.back().get();
}

bool FreedesktopTrash::moveToTrash(const QString& path)
{
    m_lastError.clear();
    // Without a home there is no telling which volume is the home one: nothing goes anywhere.
    if (m_homeTrash.isEmpty())
        return fail(QStringLiteral("no home trash: HOME and XDG_DATA_HOME name no folder"));
    // The folder the caller's checks meant, not a textual clean-up of its path.
    const QString clean = hostPath(path);
    if (clean.isEmpty())
        return fail(QStringLiteral("not an absolute path to something that exists"));
    const QByteArray full = QFile::encodeName(clean);
    const qsizetype slash = full.lastIndexOf('/');
    const QByteArray parent = slash == 0 ? QByteArray("/") : full.left(slash);
    const QByteArray name = full.mid(slash + 1);
    if (name.isEmpty() || name == "." || name == "..")
        return fail(QStringLiteral("no name to trash"));

    if (parent != m_lastParent || !m_lastVolume) {
        m_lastVolume = nullptr;
        char* real = ::realpath(parent.constData(), nullptr);
        if (!real)
            return fail(errorText(errno));
        m_lastCanonical = real;
        std::free(real);
        const Node dir = statNode(AT_FDCWD, m_lastCanonical.constData(), true);
        if (!dir.ok)
            return fail(errorText(dir.error));
        m_lastVolume = volumeOf(m_lastCanonical, dir.dev, dir.mnt);
        m_lastParent = parent;
    }
    const Volume& volume = *m_lastVolume;
    TrashDir* trash = volume.trash;
    if (!trash->usable())
        return fail(QStringLiteral("trash %1 unusable: %2")
                        .arg(QString::fromLocal8Bit(trash->path), trash->error));

    const QByteArray source = joined(m_lastCanonical, name);
    const Node item = statNode(AT_FDCWD, source.constData(), false);
    if (!item.ok)
        return fail(errorText(item.error));
    if (item.dev != volume.dev || (item.hasMnt && volume.hasMnt && item.mnt != volume.mnt))
        return fail(QStringLiteral("a mount point cannot go to the trash"));
    if (!m_mounts)
        m_mounts = std::make_unique<MountTable>(MountTable::current());
    if (S_ISDIR(item.mode) && m_mounts->hasMountBelow(item.dev, item.ino))
        return fail(QStringLiteral("a mounted volume lies inside; it would go to the trash too"));

    QByteArray original = source;
    if (!trash->topdir.isEmpty()) {
        // Topdir trashes keep paths relative to the volume, so they survive another mount point.
        const QByteArray prefix =
            trash->topdir.endsWith('/') ? trash->topdir : QByteArray(trash->topdir + '/');
        if (!source.startsWith(prefix))
            return fail(QStringLiteral("item outside its volume's top folder"));
        original = source.mid(prefix.size());
    }
    const QByteArray info =
        "[Trash Info]\nPath=" + encodePath(original) + "\nDeletionDate=" + deletionDate() + '\n';

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
        const QByteArray infoName = candidate + ".trashinfo";
        // The .trashinfo must be complete before the item moves, or it could not be restored.
        // It is written under a name no trash viewer reads and renamed into place, so a crash
        // never leaves an empty or partial one behind.
        const QByteArray tempName = ".nmaker-" + QByteArray::number(::getpid()) + ".part";
        const int fd = ::openat(trash->infoFd, tempName.constData(),
                                O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            return fail(errorText(errno));
        bool written = writeAll(fd, info);
        int error = errno;
        if (::close(fd) != 0 && written) {
            written = false;
            error = errno;
        }
        if (!written) {
            ::unlinkat(trash->infoFd, tempName.constData(), 0);
            return fail(errorText(error));
        }
        if (renameNoReplace(trash->infoFd, tempName.constData(), trash->infoFd,
                            infoName.constData()) != 0) {
            error = errno;
            ::unlinkat(trash->infoFd, tempName.constData(), 0);
            if (error == EEXIST)
                continue;
            return fail(errorText(error));
        }
        if (renameNoReplace(AT_FDCWD, source.constData(), trash->filesFd, candidate.constData()) !=
            0) {
            error = errno;
            ::unlinkat(trash->infoFd, infoName.constData(), 0);
            if (error == EEXIST) // an entry in files/ without its .trashinfo
                continue;
            return fail(errorText(error));
        }
        // Check the outcome rather than trust it: in files/, and no longer in its place.
        const Node moved = statNode(trash->filesFd, candidate.constData(), false);
        const Node left = statNode(AT_FDCWD, source.constData(), false);
        if (!moved.ok || (left.ok && left.ino == moved.ino && left.dev == moved.dev)) {
            ::unlinkat(trash->infoFd, infoName.constData(), 0);
            return fail(QStringLiteral("the item did not arrive in the trash"));
        }
        trash->dirty = true;
        return true;
    }
    return fail(QStringLiteral("no free name in the trash"));
}

void FreedesktopTrash::flush()
{
    auto sync = [](TrashDir* t) {
        if (!t || !t->dirty)
            return;
            // One flush per batch: per-item fsync would cost more than the whole move.
#ifdef Q_OS_LINUX
        ::syncfs(t->infoFd);
#else
        ::sync();
#endif
        t->dirty = false;
    };
    sync(m_home.get());
    for (const auto& t : m_topdirTrashes)
        sync(t.get());
}

#else // not a freedesktop.org system: the platform's own trash is used instead

FreedesktopTrash::FreedesktopTrash() = default;
FreedesktopTrash::~FreedesktopTrash() = default;
bool FreedesktopTrash::moveToTrash(const QString&)
{
    return fail(QStringLiteral("no freedesktop.org trash on this system"));
}
void FreedesktopTrash::flush() {}
bool FreedesktopTrash::fail(const QString& why)
{
    m_lastError = why;
    return false;
}
QByteArray FreedesktopTrash::encodePath(const QByteArray& path)
{
    return path.toPercentEncoding("/");
}

#endif
