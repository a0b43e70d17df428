#include "HostFileSystem.h"

#include "FreedesktopTrash.h"
#include "HostPath.h"
#include "MountTable.h"
#include "PathNames.h"
#include "PathStyle.h"
#include "Progress.h"
#include "TrashRestore.h"
#include "messages/Prompter.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include "PosixFiles.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#endif

#ifdef Q_OS_WIN
#include "WindowsFiles.h"
#include "WindowsPaths.h"
#include "WindowsRecycleBin.h"
#endif

namespace
{

constexpr PathStyle Host = hostPathStyle();

bool isHiddenName(const QString& name)
{
    return name.startsWith(QLatin1Char('.'));
}

#ifdef Q_OS_UNIX
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
#endif

#ifdef Q_OS_WIN
// Where the system reports "not there" for a missing drive, the callers expect "path not found".
int systemCode(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return CreateResult::PathNotFound;
    default:
        return int(error);
    }
}

// Longer names are refused by every Windows file system; told the same way everywhere.
constexpr qsizetype MaxComponent = 255;

bool componentTooLong(const QString& cleanPath)
{
    const QString root = WindowsPaths::rootOf(cleanPath);
    for (const QString& part : cleanPath.mid(root.size()).split(QLatin1Char('\\'))) {
        if (part.size() > MaxComponent)
            return true;
    }
    return false;
}
#endif

} // namespace

bool HostFileSystem::folderExist(const QString& path)
{
    // An empty path is the root of the current drive; other relative paths name nothing.
    const QString host = hostPath(path.isEmpty() ? QDir::rootPath() : path);
    if (host.isEmpty())
        return false;
#ifdef Q_OS_UNIX
    struct stat st;
    return statPath(QFile::encodeName(host), st) && S_ISDIR(st.st_mode);
#elif defined(Q_OS_WIN)
    return win::nodeAt(host, true).folder();
#else
    return QFileInfo(host).isDir();
#endif
}
bool HostFileSystem::fileExist(const QString& pattern)
{
    if (!isAbsoluteHostPath(pattern) || pattern.contains(QChar(u'\0')))
        return false;
    const QString name = PathNames::getFileNameA(pattern);
    if (name.isEmpty() || name.endsWith(pathSeparator(Host)))
        return false;
    const QString dir = hostPath(pattern.left(pattern.size() - name.size()));
    if (dir.isEmpty())
        return false;
    if (!name.contains(QLatin1Char('*')) && !name.contains(QLatin1Char('?'))) {
        const QFileInfo info(dir + pathSeparator(Host) + name);
        return info.isFile() && !isHiddenName(name) && !info.isHidden();
    }
    const bool anyName = name == QLatin1String("*.*") || name == QLatin1String("*");
#ifdef Q_OS_UNIX
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
    if (found)
        return true;
#else
    // No QDir::Hidden: hidden entries do not count, as in a listing.
    QDirIterator it(dir, QDir::Files | QDir::NoDotAndDotDot | QDir::System);
    while (it.hasNext()) {
        it.next();
        const QString entry = it.fileName();
        if (!isHiddenName(entry) && listingMatch(name, entry, Qt::CaseInsensitive))
            return true;
    }
#endif
    // A folder that holds a mounted volume is never "empty": the volume's files are inside it.
    return anyName && mounts().hasMountBelow(dir);
}
const MountTable& HostFileSystem::mounts()
{
    // Fresh enough for the checks of one run; the trash looks again for itself.
    if (!m_mounts || !m_mountsRead.isValid() || m_mountsRead.elapsed() > 1000) {
        m_mounts = std::make_shared<MountTable>(MountTable::current());
        m_mountsRead.start();
    }
    return *m_mounts;
}
int HostFileSystem::createFolder(const QString& path, QList<MadeFolder>* made)
{
#ifdef Q_OS_UNIX
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
            made->append(MadeFolder{
                QFile::decodeName(folder),
                posix::statNode(dirFd, name ? name : folder.constData(), false).id(), folder});
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
                made->append(MadeFolder{host, posix::statNode(dirFd, name, false).id(), target});
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
#elif defined(Q_OS_WIN)
    if (!isAbsoluteHostPath(path) || path.contains(QChar(u'\0')))
        return SystemError::BadPathname;
    const QString host = hostPath(path);
    if (host.isEmpty())
        return CreateResult::PathNotFound;
    // The Win32 layer would quietly make another folder of such a name, or none at all.
    if (!WindowsPaths::pathProblem(host).why.isEmpty())
        return SystemError::InvalidName;
    if (componentTooLong(host))
        return SystemError::FilenameTooLong;
    // A drive or share that is not there is never made.
    const QString root = WindowsPaths::rootOf(host);
    if (!win::nodeAt(root, true).folder())
        return CreateResult::PathNotFound;
    if (host == root)
        return CreateResult::AlreadyExists;
    auto note = [made](const QString& folder) {
        if (made)
            made->append(MadeFolder{folder, win::nodeAt(folder, false).id});
    };
    auto makeOne = [](const QString& folder) -> DWORD {
        return ::CreateDirectoryW(win::systemPath(folder).c_str(), nullptr) ? 0 : ::GetLastError();
    };
    const DWORD first = makeOne(host);
    if (first == 0) {
        note(host);
        return CreateResult::Created;
    }
    if (first == ERROR_ALREADY_EXISTS || first == ERROR_FILE_EXISTS)
        return win::nodeAt(host, true).folder() ? CreateResult::AlreadyExists
                                                : SystemError::FileExists;
    if (first != ERROR_PATH_NOT_FOUND && first != ERROR_FILE_NOT_FOUND)
        return systemCode(first);

    // A parent is missing: down the chain from the root, creating what is missing.
    const QStringList parts = host.mid(root.size()).split(QLatin1Char('\\'));
    QString part = root;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        part += (i == 0 ? QString() : QStringLiteral("\\")) + parts.at(i);
        const win::Node node = win::nodeAt(part, true);
        if (node.ok) {
            if (!node.folder())
                return last ? SystemError::FileExists : CreateResult::PathNotFound;
            if (last)
                return CreateResult::AlreadyExists;
            continue;
        }
        if (!win::isAbsent(node.error))
            return systemCode(node.error);
        // Another process may create it meanwhile; a folder there is as good, but not ours.
        const DWORD error = makeOne(part);
        if (error == 0) {
            note(part);
        } else if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
            // A link that leads nowhere, or a file that came meanwhile.
            if (!win::nodeAt(part, true).folder())
                return last ? SystemError::FileExists : CreateResult::PathNotFound;
        } else {
            return systemCode(error);
        }
        if (last)
            return CreateResult::Created;
    }
    return CreateResult::Created;
#else
    if (!isAbsoluteHostPath(path) || path.contains(QChar(u'\0')))
        return SystemError::BadPathname;
    const QString host = hostPath(path);
    if (host.isEmpty())
        return CreateResult::PathNotFound;
    const QFileInfo info(host);
    if (info.isDir())
        return CreateResult::AlreadyExists;
    if (info.exists())
        return SystemError::FileExists;
    if (!QFileInfo(host.left(3)).isDir())
        return CreateResult::PathNotFound;
    QStringList missing;
    for (QString up = host; up.size() > 3 && !QFileInfo(up).isDir(); up = QFileInfo(up).path())
        missing.prepend(QDir::toNativeSeparators(up));
    if (!QDir().mkpath(host))
        return CreateResult::Failed;
    if (made) {
        for (const QString& m : std::as_const(missing))
            made->append(MadeFolder{m, lookAtFolder(m, false).id});
    }
    return CreateResult::Created;
#endif
}
FolderLook HostFileSystem::lookAtFolder(const QString& path, bool forFile)
{
    FolderLook look;
#ifdef Q_OS_UNIX
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
#elif defined(Q_OS_WIN)
    const QString host = hostPath(path.isEmpty() ? QDir::rootPath() : path);
    if (host.isEmpty())
        return look;
    // The entry itself: a link's own identity, as on POSIX.
    const win::Handle self = win::openEntry(host, false);
    if (!self.valid())
        return look;
    const win::Node node = win::nodeOf(self.get());
    look.folder = node.folder() && (!node.link() || win::nodeAt(host, true).folder());
    if (look.folder)
        look.id = node.id;
    if (look.folder && forFile) {
        const win::Handle target = node.link() ? win::openEntry(host, true) : win::Handle();
        const win::Contents contents =
            win::readContents(node.link() ? target.get() : self.get(), win::StopAt::File);
        look.holdsFile = contents.file;
    }
#else
    const QString host = hostPath(path.isEmpty() ? QDir::rootPath() : path);
    if (host.isEmpty())
        return look;
    const QFileInfo info(host);
    look.folder = info.isDir();
    if (look.folder) {
        look.id.birth = info.birthTime().toMSecsSinceEpoch() * 1000000;
        look.id.node = 1; // no node number through Qt: the birth time tells folders apart
        if (forFile)
            look.holdsFile = fileExist(host + QStringLiteral("\\*.*"));
    }
#endif
    return look;
}
std::optional<QStringList> HostFileSystem::folderEntries(const QString& path)
{
    const QString host = hostPath(path);
    if (host.isEmpty())
        return std::nullopt;
#ifdef Q_OS_UNIX
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
#elif defined(Q_OS_WIN)
    const win::Handle folder = win::openEntry(host, true);
    if (!folder.valid() || !win::nodeOf(folder.get()).folder())
        return std::nullopt;
    QStringList names;
    if (!win::readNames(folder.get(), names))
        return std::nullopt;
    return names;
#else
    const QDir dir(host);
    if (!dir.exists())
        return std::nullopt;
    return dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
#endif
}
Reason HostFileSystem::createFailure(const QString& path, int code)
{
    switch (code) {
    case SystemError::AccessDenied:
        return {QStringLiteral("アクセスが許可されていません"), "permission_denied"};
    case SystemError::WriteProtect:
        return {QStringLiteral("書き込みが禁止されたボリュームです"), "read_only_volume"};
    case SystemError::FileExists:
        return {QStringLiteral("同じ名前のファイルがあります"), "file_exists"};
    case SystemError::DiskFull:
        return {QStringLiteral("ディスクに空きがありません"), "disk_full"};
    case SystemError::FilenameTooLong:
        return {QStringLiteral("名前が長すぎます"), "name_too_long"};
    case SystemError::BadPathname:
        return {QStringLiteral("絶対パスではないか、NUL 文字を含んでいます"), "bad_path"};
    case SystemError::InvalidName: {
#ifdef Q_OS_WIN
        // The device name or the trailing dot, by name.
        const WindowsPaths::Problem problem = WindowsPaths::pathProblem(hostPath(path));
        if (!problem.why.isEmpty())
            return {problem.component + QStringLiteral(": ") + problem.why, "invalid_name"};
#else
        (void)path;
#endif
        return {QStringLiteral("Windows の名前として使えません"), "invalid_name"};
    }
    default:
        return {};
    }
}

QString HostFileSystem::folderPart(const QString& fullPath)
{
    const QChar sep = pathSeparator(Host);
    if (fileExist(fullPath)) {
        const qsizetype last = PathNames::getFileNameA(fullPath).size();
        QString parent = fullPath.left(fullPath.size() - last);
        const qsizetype rootLength = Host == PathStyle::Windows ? 3 : 1;
        while (parent.size() > rootLength && parent.endsWith(sep))
            parent.chop(1);
        return parent;
    }
    if (folderExist(fullPath) && !fullPath.isEmpty()) {
        const QString folder = withoutTrailingSeparators(fullPath);
        // A root keeps nothing once its separator is taken away.
        const bool root = Host == PathStyle::Windows ? folder.size() <= 3 : folder == sep;
        return root ? QString() : folder;
    }
    return {};
}

HostFileSystem::HostFileSystem(Prompter* prompter, Progress* progress)
    : m_prompter(prompter), m_progress(progress)
{
}

HostFileSystem::~HostFileSystem()
{
#ifdef Q_OS_UNIX
    if (m_parentFd >= 0)
        ::close(m_parentFd);
#endif
}

#ifdef Q_OS_UNIX
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
#endif

QString HostFileSystem::deleteQuestion(qsizetype count, const QString& first, bool toTrash)
{
    if (count == 1) {
        const QString name = PathNames::getFileNameA(withoutTrailingSeparators(first));
        return toTrash ? QStringLiteral("「%1」をごみ箱に移動しますか？").arg(name)
                       : QStringLiteral("「%1」を完全に削除しますか？").arg(name);
    }
    return toTrash ? QStringLiteral("これらの %1 個の項目をごみ箱に移動しますか？").arg(count)
                   : QStringLiteral("これらの %1 個の項目を完全に削除しますか？").arg(count);
}

QList<TrashResult> HostFileSystem::trash(const QList<TrashItem>& items, ItemObserver* observer)
{
    return trash(items, m_showing, observer);
}

QList<TrashResult> HostFileSystem::trash(const QList<TrashItem>& items, TrashShowing showing,
                                         ItemObserver* observer)
{
    QList<TrashResult> results(items.size());
    if (items.isEmpty())
        return results;
    if (showing.confirm && !(observer && observer->confirmed())) {
        // Nobody to ask: better nothing happens than something unconfirmed.
        if (!m_prompter)
            return results;
        PromptRequest request;
        request.text = deleteQuestion(items.size(), items.front().path, true);
        request.style = MessageStyle::YesNo | MessageStyle::IconQuestion;
        if (m_prompter->prompt(request) != Answer::Yes)
            return results;
    }
    Progress* progress = showing.progress ? m_progress : nullptr;
    if (progress)
        progress->start(QStringLiteral("ごみ箱に移動しています..."), items.size());
#ifdef NMAKER_FREEDESKTOP_TRASH
    FreedesktopTrash trash;
    trash.setBeforeMove(m_beforeTrashRename);
#elif defined(Q_OS_WIN)
    WindowsRecycleBin bin;
    bin.setBeforeMove(m_beforeTrashRename);
    bin.setShell(m_recycleShell);
#endif
    if (observer)
        observer->beforeFirstMove();
    qsizetype told = 0; // the items the observer has heard of
    for (qsizetype i = 0; i < items.size(); ++i) {
        const TrashItem& item = items.at(i);
        if (m_beforeTrashItem)
            m_beforeTrashItem(item.path);
#ifdef NMAKER_FREEDESKTOP_TRASH
        results[i] = trash.moveToTrash(item.path, item.expected, item.keepIf);
#elif defined(Q_OS_WIN)
        results[i] = bin.moveToRecycleBin(item.path, item.expected, item.keepIf);
#else
        const QString path = hostPath(item.path);
        results[i].kind = !path.isEmpty() && QFile::moveToTrash(path) ? TrashResult::Kind::Trashed
                                                                      : TrashResult::Kind::Failed;
#endif
#ifndef Q_OS_WIN
        // The recycle bin tells what became of an item only once all are through.
        told = i + 1;
        const bool goOn = !observer || observer->trashed(i, results.at(i));
#else
        const bool goOn = true;
#endif
        const bool advanced = !progress || progress->advance(i + 1);
        // A cancel after the last item no longer makes the operation a failure.
        if (i + 1 < items.size() && (!goOn || !advanced))
            break;
    }
#ifdef NMAKER_FREEDESKTOP_TRASH
    trash.flush();
#elif defined(Q_OS_WIN)
    bin.settle(results);
#endif
    for (qsizetype i = told; observer && i < items.size(); ++i) {
        if (results.at(i).kind != TrashResult::Kind::NotDone)
            observer->trashed(i, results.at(i));
    }
    if (progress)
        progress->finish();
    return results;
}

QList<RestoreResult> HostFileSystem::restore(const QList<TrashPlace>& places, bool dryRun,
                                             ItemObserver* observer)
{
#if defined(NMAKER_FREEDESKTOP_TRASH) || defined(Q_OS_WIN)
    QList<RestoreResult> results(places.size());
    if (places.isEmpty())
        return results;
    Progress* progress = m_showing.progress && !dryRun ? m_progress : nullptr;
    if (progress)
        progress->start(QStringLiteral("ごみ箱から元の場所に戻しています..."), places.size());
#ifdef Q_OS_WIN
    RecycleBinRestore restorer;
#else
    TrashRestore restorer;
#endif
    restorer.setBeforeMove(m_beforeRestoreMove);
    for (qsizetype i = 0; i < places.size(); ++i) {
        results[i] = restorer.restore(places.at(i), dryRun);
        const bool goOn = !observer || observer->restored(i, results.at(i));
        const bool advanced = !progress || progress->advance(i + 1);
        if (i + 1 < places.size() && (!goOn || !advanced))
            break;
    }
#ifndef Q_OS_WIN
    restorer.flush();
#endif
    if (progress)
        progress->finish();
    return results;
#else
    return FileSystem::restore(places, dryRun, observer);
#endif
}
