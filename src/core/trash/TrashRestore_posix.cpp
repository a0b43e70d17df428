#include "TrashRestore.h"

#include "fileops/TrashReasons.h"

#include "FreedesktopTrash.h"

#include <QCoreApplication>
#include <QFile>

#ifdef NMAKER_FREEDESKTOP_TRASH

#include "fileops/PosixFiles.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using posix::Node;
using posix::statNode;

namespace
{

// An info file is a few lines; anything larger is no info file of ours.
constexpr qsizetype MaxInfoBytes = 64 * 1024;

RestoreResult result(RestoreResult::Kind kind, const Reason& why = {})
{
    return RestoreResult{kind, why};
}

Reason errorText(int error)
{
    return TrashReason::systemError(error);
}

bool isAbsent(int error)
{
    return error == ENOENT || error == ENOTDIR;
}

// One name of a folder: no separator, no NUL, not "." or "..".
bool isPlainName(const QByteArray& name)
{
    return !name.isEmpty() && name != "." && name != ".." && !name.contains('/') &&
           !name.contains('\0');
}

// An absolute path without empty, "." or ".." parts, and not the root.
bool isCleanAbsolute(const QByteArray& path)
{
    if (!path.startsWith('/') || path.size() < 2 || path.contains('\0') || path.endsWith('/'))
        return false;
    for (const QByteArray& part : path.mid(1).split('/')) {
        if (!isPlainName(part))
            return false;
    }
    return true;
}

// The trash folders the rules allow on a volume: $topdir/.Trash/$uid and $topdir/.Trash-$uid.
bool isVolumeTrashOf(const QByteArray& trashDir, const QByteArray& topdir)
{
    const QByteArray uid = QByteArray::number(::getuid());
    return trashDir == posix::joined(topdir, ".Trash-" + uid) ||
           trashDir == posix::joined(posix::joined(topdir, ".Trash"), uid);
}

// The Path value of an info file's [Trash Info] group, decoded; empty when there is none.
QByteArray infoPath(const QByteArray& content)
{
    const QList<QByteArray> lines = content.split('\n');
    if (lines.isEmpty() || lines.front().trimmed() != "[Trash Info]")
        return {};
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray& line = lines.at(i);
        if (line.startsWith('['))
            break;
        if (line.startsWith("Path="))
            return QByteArray::fromPercentEncoding(line.mid(5));
    }
    return {};
}

} // namespace

struct TrashRestore::Trash {
    QByteArray path;
    int filesFd = -1;
    int infoFd = -1;
    Node files;
    int error = 0;        // why it cannot be used
    bool foreign = false; // another user's, or a link to another user's folder
    bool dirty = false;

    ~Trash()
    {
        if (filesFd >= 0)
            ::close(filesFd);
        if (infoFd >= 0)
            ::close(infoFd);
    }
};

TrashRestore::TrashRestore() : m_homeTrash(FreedesktopTrash::homeTrashOfEnvironment()) {}

TrashRestore::~TrashRestore()
{
    flush();
    closeParent();
}

TrashRestore::Trash* TrashRestore::trashOf(const TrashPlace& place)
{
    for (const auto& t : m_trashes) {
        if (t->path == place.trashDir)
            return t.get();
    }
    auto trash = std::make_unique<Trash>();
    trash->path = place.trashDir;
    const int fd = posix::openFolder(AT_FDCWD, place.trashDir.constData(), true);
    struct stat st;
    if (fd < 0) {
        trash->error = errno;
    } else if (::fstat(fd, &st) != 0 || st.st_uid != ::getuid()) {
        trash->error = EPERM; // not our trash: nothing in it is ours to take
        trash->foreign = true;
    } else {
        trash->filesFd = posix::openFolder(fd, "files", false);
        trash->infoFd = trash->filesFd >= 0 ? posix::openFolder(fd, "info", false) : -1;
        if (trash->infoFd < 0)
            trash->error = errno;
        else
            trash->files = statNode(trash->filesFd, "", false);
    }
    if (fd >= 0)
        ::close(fd);
    m_trashes.push_back(std::move(trash));
    return m_trashes.back().get();
}

void TrashRestore::closeParent()
{
    if (m_parentFd >= 0) {
        if (m_parentDirty)
            ::fsync(m_parentFd);
        ::close(m_parentFd);
    }
    m_parentFd = -1;
    m_parentDirty = false;
    m_parent.clear();
}

int TrashRestore::openParent(const QByteArray& parent, int& error)
{
    if (m_parentFd >= 0 && parent == m_parent)
        return m_parentFd;
    closeParent();
    // The place was recorded with its links resolved: a link on the way now means the tree
    // changed, and the item stays where it is.
    const int fd = posix::openResolvedFolder(parent);
    if (fd < 0) {
        error = errno;
        return -1;
    }
    m_parentFd = fd;
    m_parent = parent;
    return fd;
}

RestoreResult TrashRestore::restore(const TrashPlace& place, bool dryRun)
{
    using Kind = RestoreResult::Kind;
    // The record is only a pointer: first, that it points at an item of a trash of ours.
    const bool home = place.topdir.isEmpty();
    const QByteArray infoName = place.entry + ".trashinfo";
    if (!isCleanAbsolute(place.original) || !isPlainName(place.entry) || place.info != infoName ||
        (home ? !isCleanAbsolute(place.trashDir)
              : !(place.topdir == "/" || isCleanAbsolute(place.topdir)) ||
                    !isVolumeTrashOf(place.trashDir, place.topdir) ||
                    !place.original.startsWith(place.topdir == "/" ? QByteArray("/")
                                                                   : place.topdir + '/')))
        return result(Kind::Invalid);
    // Another home (HOME or XDG_DATA_HOME set otherwise): its trash is not reached from here.
    if (home && place.trashDir != m_homeTrash)
        return result(Kind::Unavailable, TrashReason::notThisHomeTrash());

    Trash* trash = trashOf(place);
    if (trash->filesFd < 0 || trash->infoFd < 0)
        return result(Kind::Unavailable, trash->foreign ? TrashReason::foreignHomeTrash(
                                                              QString::fromLocal8Bit(trash->path))
                                                        : errorText(trash->error));
    // Another volume mounted where the trash was, or none: not the trash the item went to.
    if (!trash->files.ok || trash->files.dev != place.entryId.volume)
        return result(Kind::Unavailable);

    const QByteArray name = place.original.mid(place.original.lastIndexOf('/') + 1);
    const QByteArray parent = posix::parentOf(place.original);
    const Node entry = statNode(trash->filesFd, place.entry.constData(), false);
    const Node info = statNode(trash->infoFd, infoName.constData(), false);
    const bool entryOurs = entry.ok && place.entryId.sameAs(entry.id());
    const bool infoOurs = info.ok && S_ISREG(info.mode) && info.stamp() == place.infoStamp;

    if (!entryOurs || !infoOurs) {
        // Back at its place already (by hand, or by an undo that was killed before it removed
        // the info file): done, and a stale info file of ours goes now.
        const Node there = statNode(AT_FDCWD, place.original.constData(), false);
        if (there.ok && place.entryId.sameAs(there.id()) && !entry.ok) {
            if (infoOurs && !dryRun) {
                ::unlinkat(trash->infoFd, infoName.constData(), 0);
                trash->dirty = true;
            }
            return result(Kind::Back);
        }
        if (!entry.ok)
            return isAbsent(entry.error) ? result(Kind::Gone)
                                         : result(Kind::Failed, errorText(entry.error));
        return result(Kind::Replaced);
    }

    // The info file, not the name in files/, says where the item belongs.
    {
        const int fd = ::openat(trash->infoFd, infoName.constData(),
                                O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            return isAbsent(errno) ? result(Kind::Replaced)
                                   : result(Kind::Failed, errorText(errno));
        const Node opened = statNode(fd, "", false);
        QByteArray content;
        bool read = opened.ok && opened.stamp() == place.infoStamp && opened.size <= MaxInfoBytes;
        if (read) {
            content.resize(opened.size);
            qsizetype got = 0;
            while (got < content.size()) {
                const ssize_t n = ::read(fd, content.data() + got, size_t(content.size() - got));
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0)
                    break;
                got += n;
            }
            read = got == content.size();
        }
        ::close(fd);
        if (!read)
            return result(Kind::Replaced);
        const QByteArray named = infoPath(content);
        const bool samePlace =
            named == place.original ||
            (!home &&
             named == place.original.mid(place.topdir == "/" ? 1 : place.topdir.size() + 1));
        if (!samePlace)
            return result(Kind::Replaced);
    }

    int error = 0;
    const int parentFd = openParent(parent, error);
    if (parentFd < 0) {
        if (dryRun && m_planned.contains(parent)) {
            m_planned.insert(place.original);
            return result(Kind::Restored);
        }
        if (isAbsent(error))
            return result(Kind::NoParent);
        return result(Kind::Failed,
                      error == ELOOP
                          ? Reason{QCoreApplication::translate(
                                       "TrashRestore", "元の場所がリンクに置き換えられました"),
                                   "place_replaced_by_link"}
                          : errorText(error));
    }
    const Node dir = statNode(parentFd, "", false);
    if (!dir.ok)
        return result(Kind::Failed, errorText(dir.error));
    // Only a rename on the same volume: never a copy.
    if (dir.dev != trash->files.dev)
        return result(Kind::Unavailable, TrashReason::otherVolume());
    if (dryRun) {
        const Node there = statNode(parentFd, name.constData(), false);
        if (there.ok)
            return result(Kind::Occupied);
        m_planned.insert(place.original);
        return result(Kind::Restored);
    }

    if (m_beforeMove)
        m_beforeMove(QFile::decodeName(place.original));
    if (posix::renameNoReplace(trash->filesFd, place.entry.constData(), parentFd,
                               name.constData()) != 0) {
        const int e = errno;
        if (e == EEXIST || e == ENOTEMPTY)
            return result(Kind::Occupied);
        if (isAbsent(e))
            return result(Kind::Gone);
        if (e == EXDEV)
            return result(Kind::Unavailable, TrashReason::otherVolume());
        return result(Kind::Failed, errorText(e));
    }
    m_parentDirty = true;
    // The rename took whatever stood in files/ at that moment: it must be the item checked.
    const Node arrived = statNode(parentFd, name.constData(), false);
    if (!arrived.ok || !place.entryId.sameAs(arrived.id())) {
        if (arrived.ok && posix::renameNoReplace(parentFd, name.constData(), trash->filesFd,
                                                 place.entry.constData()) == 0)
            return result(Kind::Replaced);
        return result(Kind::Failed, TrashReason::otherLeftTrash());
    }
    // Only now the info file, and only while it is still ours.
    const Node stillInfo = statNode(trash->infoFd, infoName.constData(), false);
    if (stillInfo.ok && stillInfo.stamp() == place.infoStamp) {
        ::unlinkat(trash->infoFd, infoName.constData(), 0);
        trash->dirty = true;
    }
    return result(Kind::Restored);
}

void TrashRestore::flush()
{
    if (m_parentFd >= 0 && m_parentDirty) {
        ::fsync(m_parentFd);
        m_parentDirty = false;
    }
    for (const auto& t : m_trashes) {
        if (!t->dirty)
            continue;
        ::fsync(t->infoFd);
        ::fsync(t->filesFd);
        t->dirty = false;
    }
}

#else // no freedesktop.org trash: nothing of it to take back

struct TrashRestore::Trash {
};

TrashRestore::TrashRestore() = default;
TrashRestore::~TrashRestore() = default;
RestoreResult TrashRestore::restore(const TrashPlace&, bool)
{
    return RestoreResult{RestoreResult::Kind::Unavailable, TrashReason::noTrash()};
}
void TrashRestore::flush() {}
TrashRestore::Trash* TrashRestore::trashOf(const TrashPlace&)
{
    return nullptr;
}
int TrashRestore::openParent(const QByteArray&, int&)
{
    return -1;
}
void TrashRestore::closeParent() {}

#endif
