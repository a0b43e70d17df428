// HostFileSystem on POSIX: the system calls straight, relative to a parent kept open while a
// series goes into it, and the freedesktop.org trash.
#include "HostFileSystem.h"

#include "HostTrash.h"
#include "fileops/HostPath.h"
#include "fileops/MountTable.h"
#include "fileops/PosixFiles.h"
#include "trash/FreedesktopTrash.h"
#include "trash/TrashRestore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// The Windows system code for an errno, since callers speak those codes.
int systemCode(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ELOOP:
        return CreateResult::PathNotFound;
    case EACCES:
    case EPERM:
        return SystemError::AccessDenied;
    case EROFS:
        return SystemError::WriteProtect;
    case ENOSPC:
    case EDQUOT:
        return SystemError::DiskFull;
    case ENAMETOOLONG:
        return SystemError::FilenameTooLong;
    case EEXIST:
        return SystemError::FileExists;
    default:
        return CreateResult::Failed;
    }
}

bool statPath(const QByteArray& path, struct stat& st)
{
    return ::stat(path.constData(), &st) == 0;
}

// Where a missing folder would stand in for a volume that is not mounted, creating it would
// quietly fill the system disk instead: the host's "missing drive".
bool isVolumeSlot(const QByteArray& parent)
{
    if (parent == "/" || parent == "/media" || parent == "/mnt" || parent == "/run/media" ||
        parent == "/Volumes")
        return true;
    // The per-user layer under /media and /run/media, unless a volume is mounted right there.
    for (const QByteArray& base : {QByteArray("/media/"), QByteArray("/run/media/")}) {
        if (parent.startsWith(base) && parent.indexOf('/', base.size()) < 0) {
            struct stat self, up;
            return statPath(parent, self) && statPath(base.chopped(1), up) &&
                   self.st_dev == up.st_dev;
        }
    }
    return false;
}

} // namespace

bool HostFileSystem::isFolderAt(const QString& host)
{
    struct stat st;
    return statPath(QFile::encodeName(host), st) && S_ISDIR(st.st_mode);
}

bool HostFileSystem::listsFile(const QString& dir, const QString& name, bool anyName)
{
    // Asked of every folder of a large delete, so straight through the directory: the first
    // visible entry that is no folder answers.
    DIR* listing = ::opendir(QFile::encodeName(dir).constData());
    if (!listing)
        return false;
    bool found = false;
    while (const dirent* entry = ::readdir(listing)) {
        if (entry->d_name[0] == '.') // hidden, and "." and ".."
            continue;
        if (entry->d_type == DT_DIR)
            continue;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat st;
            if (::fstatat(::dirfd(listing), entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode))
                continue;
        }
        if (anyName || listingMatch(name, QFile::decodeName(entry->d_name), Qt::CaseSensitive)) {
            found = true;
            break;
        }
    }
    ::closedir(listing);
    return found;
}

int HostFileSystem::createFolder(const QString& path, QList<MadeFolder>* made)
{
    // A NUL would cut the name short and create another folder than the one asked for; the
    // host path is empty then, as for a relative path.
    // The bytes of the last folder's path are no longer shared: their room is used again.
    QByteArray& target = m_bytes;
    const bool plain = plainHostBytes(path, target);
    const QString host = plain ? path : hostPath(path);
    if (host.isEmpty())
        return !path.startsWith(QLatin1Char('/')) || path.contains(QChar(u'\0'))
                   ? SystemError::BadPathname
                   : CreateResult::PathNotFound;
    if (!plain)
        target = hostBytes(host);
    struct stat st;
    using posix::parentOf;
    // What identifies the folder is taken right after it was made, for the undo.
    auto note = [made](const QByteArray& folder, int dirFd = AT_FDCWD, const char* name = nullptr) {
        if (made)
            made->append(
                MadeFolder{QFile::decodeName(folder),
                           posix::statNode(dirFd, name ? name : folder.constData(), false).id(),
                           folder,
                           -1,
                           {}});
    };
    const auto* end = static_cast<const char*>(::memrchr(target.constData(), '/', target.size()));
    const qsizetype slash = end ? end - target.constData() : -1;
    bool slot = false;
    // A series makes its folders in one parent: made and looked at relative to it, the path is
    // walked once rather than twice per folder.
    const int dirFd = openedParent(QByteArrayView(target.constData(), slash > 0 ? slash : 1), slot);
    if (!slot) {
        const char* name = dirFd == AT_FDCWD ? target.constData() : target.constData() + slash + 1;
        if (::mkdirat(dirFd, name, 0777) == 0) {
            // The path as asked for is the path as made: no conversion back.
            if (made)
                made->append(
                    MadeFolder{host, posix::statNode(dirFd, name, false).id(), target, -1, {}});
            return CreateResult::Created;
        }
        const int error = errno;
        if (error == EEXIST)
            return statPath(target, st) && S_ISDIR(st.st_mode) ? CreateResult::AlreadyExists
                                                               : SystemError::FileExists;
        if (error != ENOENT)
            return systemCode(error);
    }

    // A parent is missing, or the folder would stand in for a volume: go down the chain from
    // the top, creating what is missing, and never a volume's place.
    for (qsizetype i = target.indexOf('/', 1);; i = target.indexOf('/', i + 1)) {
        const bool last = i < 0;
        const QByteArray part = last ? target : target.left(i);
        if (statPath(part, st)) {
            if (!S_ISDIR(st.st_mode))
                return last ? SystemError::FileExists : CreateResult::PathNotFound;
            if (last)
                return CreateResult::AlreadyExists;
            continue;
        }
        if (errno != ENOENT)
            return systemCode(errno);
        if (isVolumeSlot(parentOf(part)))
            return CreateResult::PathNotFound;
        // Another process may create it meanwhile; a folder there is as good, but not ours.
        if (::mkdir(part.constData(), 0777) == 0)
            note(part);
        else if (!(errno == EEXIST && statPath(part, st) && S_ISDIR(st.st_mode)))
            return systemCode(errno);
        if (last)
            return CreateResult::Created;
    }
}
FolderLook HostFileSystem::lookAtFolder(const QString& path, bool forFile)
{
    FolderLook look;
    // Asked of every folder of a delete run before its confirmation: in the room of the last.
    QByteArray& bytes = m_bytes;
    QString host = path;
    if (!plainHostBytes(path, bytes)) {
        host = hostPath(path.isEmpty() ? QDir::rootPath() : path);
        if (host.isEmpty())
            return look;
        bytes = hostBytes(host);
    }
    // Mostly a folder: one walk down the path opens it, and the descriptor tells the rest.
    int fd = posix::openFolder(AT_FDCWD, bytes.constData(), false);
    posix::Node self;
    bool link = false;
    if (fd >= 0) {
        self = posix::statNode(fd, "", false);
        look.folder = self.ok;
    } else if (errno == ELOOP || errno == ENOTDIR) {
        // A link to a folder is a folder here, as for folderExist; it is the link that is met.
        self = posix::statNode(AT_FDCWD, bytes.constData(), false);
        link = self.ok && S_ISLNK(self.mode);
        if (link) {
            const posix::Node target = posix::statNode(AT_FDCWD, bytes.constData(), true);
            look.folder = target.ok && S_ISDIR(target.mode);
            if (look.folder && forFile)
                fd = posix::openFolder(AT_FDCWD, bytes.constData(), true);
        }
    } else if (errno != ENOENT) {
        // There, but not to be opened: a folder that shows nothing.
        self = posix::statNode(AT_FDCWD, bytes.constData(), false);
        look.folder = self.ok && S_ISDIR(self.mode);
    }
    if (look.folder)
        look.id = self.id();
    if (look.folder && forFile) {
        // Straight through the directory, stopping at the first file.
        if (fd >= 0) {
            const posix::Contents contents = posix::readContents(fd, posix::StopAt::File);
            look.holdsFile = contents.file;
        }
        // A folder that holds a mounted volume is never "empty": the volume's files are in it.
        if (!look.holdsFile)
            look.holdsFile =
                link ? mounts().hasMountBelow(host) : mounts().hasMountBelow(self.dev, self.ino);
    }
    if (fd >= 0)
        ::close(fd);
    return look;
}
std::optional<QStringList> HostFileSystem::entriesAt(const QString& host)
{
    DIR* listing = ::opendir(QFile::encodeName(host).constData());
    if (!listing)
        return std::nullopt;
    QStringList names;
    while (const dirent* entry = ::readdir(listing)) {
        const char* n = entry->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0)))
            continue;
        names << QFile::decodeName(n);
    }
    ::closedir(listing);
    return names;
}

Reason HostFileSystem::invalidNameReason(const QString&)
{
    return {QCoreApplication::translate("HostFileSystem", "Windows の名前として使えません"),
            "invalid_name"};
}

HostFileSystem::~HostFileSystem()
{
    if (m_parentFd >= 0)
        ::close(m_parentFd);
}

int HostFileSystem::openedParent(QByteArrayView parent, bool& volumeSlot)
{
    // Kept only while folders keep coming into the same parent: a run makes one every few
    // microseconds, so after a pause (another command, a question) it is resolved anew.
    constexpr qint64 KeptFor = 200;
    if (!m_clock.isValid())
        m_clock.start();
    const qint64 now = m_clock.elapsed();
    const bool warm =
        m_parentUsed >= 0 && now - m_parentUsed < KeptFor && parent == QByteArrayView(m_parent);
    m_parentUsed = now;
    if (!warm) {
        if (m_parentFd >= 0)
            ::close(m_parentFd);
        m_parentFd = -1;
        m_parent = parent.toByteArray();
        m_parentIsSlot = isVolumeSlot(m_parent);
    } else if (m_parentFd < 0 && !m_parentIsSlot) {
        // Opened from the second folder on: a lone folder is made by its path.
        m_parentFd = ::open(m_parent.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    }
    volumeSlot = m_parentIsSlot;
    return m_parentFd >= 0 ? m_parentFd : AT_FDCWD;
}

#ifdef NMAKER_FREEDESKTOP_TRASH
struct HostTrash::Impl {
    FreedesktopTrash trash;
};

HostTrash::HostTrash(const Hooks& hooks) : m(std::make_unique<Impl>())
{
    m->trash.setBeforeMove(hooks.beforeMove);
}

TrashResult HostTrash::move(const TrashItem& item)
{
    return m->trash.moveToTrash(item.path, item.expected, item.keepIf);
}

void HostTrash::finish(QList<TrashResult>&)
{
    m->trash.flush();
}

struct HostRestore::Impl {
    TrashRestore restorer;
};

HostRestore::HostRestore(const std::function<void(const QString&)>& beforeMove)
    : m(std::make_unique<Impl>())
{
    m->restorer.setBeforeMove(beforeMove);
}

bool HostRestore::available()
{
    return true;
}

RestoreResult HostRestore::restore(const TrashPlace& place, bool dryRun)
{
    return m->restorer.restore(place, dryRun);
}

void HostRestore::finish()
{
    m->restorer.flush();
}
#else
// Not a freedesktop.org system: the platform's own trash, through Qt, and nothing taken back.
struct HostTrash::Impl {
};

HostTrash::HostTrash(const Hooks&) : m(std::make_unique<Impl>()) {}

TrashResult HostTrash::move(const TrashItem& item)
{
    TrashResult r;
    const QString path = hostPath(item.path);
    r.kind = !path.isEmpty() && QFile::moveToTrash(path) ? TrashResult::Kind::Trashed
                                                         : TrashResult::Kind::Failed;
    return r;
}

void HostTrash::finish(QList<TrashResult>&) {}

struct HostRestore::Impl {
};

HostRestore::HostRestore(const std::function<void(const QString&)>&) : m(std::make_unique<Impl>())
{
}

bool HostRestore::available()
{
    return false;
}

RestoreResult HostRestore::restore(const TrashPlace&, bool)
{
    return {};
}

void HostRestore::finish() {}
#endif

HostTrash::~HostTrash() = default;
HostRestore::~HostRestore() = default;

bool HostTrash::tellsEachItem() const
{
    return true;
}
