#include "FileFolder.h"

#include "FreedesktopTrash.h"
#include "HostPath.h"
#include "MountTable.h"
#include "PathStyle.h"
#include "Progress.h"
#include "messages/Prompter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
#endif

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
#define NMAKER_FREEDESKTOP_TRASH 1
#endif

namespace
{

constexpr PathStyle Host = hostPathStyle();

bool isSeparator(QChar c)
{
    if (Host == PathStyle::Windows)
        return c == QLatin1Char('\\') || c == QLatin1Char('/') || c == QLatin1Char(':');
    return c == QLatin1Char('/');
}

bool isAbsolute(const QString& path)
{
    if (Host == PathStyle::Posix)
        return path.startsWith(QLatin1Char('/'));
    return carriesDrive(QDir::toNativeSeparators(path), Host) ||
           path.startsWith(QLatin1String("\\\\"));
}

QString withoutTrailingSeparators(QString path)
{
    while (path.size() > 1 && path.endsWith(pathSeparator(Host)))
        path.chop(1);
    return path;
}

// A link goes, never what it points to.
bool removeItem(const QString& path)
{
    const QFileInfo info(path);
    return info.isDir() && !info.isSymLink() ? QDir(path).removeRecursively() : QFile::remove(path);
}

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

} // namespace

FileFolder::FileFolder(Prompter* prompter, Progress* progress)
    : m_prompter(prompter), m_progress(progress)
{
}

bool FileFolder::folderExist(const QString& path)
{
    // An empty path is the root of the current drive; other relative paths name nothing.
    const QString host = hostPath(path.isEmpty() ? QDir::rootPath() : path);
    if (host.isEmpty())
        return false;
#ifdef Q_OS_UNIX
    struct stat st;
    return statPath(QFile::encodeName(host), st) && S_ISDIR(st.st_mode);
#else
    return QFileInfo(host).isDir();
#endif
}

bool FileFolder::fileExist(const QString& pattern)
{
    if (!isAbsolute(pattern) || pattern.contains(QChar(u'\0')))
        return false;
    const QString name = getFileNameA(pattern);
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

const MountTable& FileFolder::mounts()
{
    // Fresh enough for the checks of one run; the trash looks again for itself.
    if (!m_mounts || !m_mountsRead.isValid() || m_mountsRead.elapsed() > 1000) {
        m_mounts = std::make_shared<MountTable>(MountTable::current());
        m_mountsRead.start();
    }
    return *m_mounts;
}

int FileFolder::createFolder(const QString& path)
{
    // A NUL would cut the name short and create another folder than the one asked for.
    if (!isAbsolute(path) || path.contains(QChar(u'\0')))
        return SystemError::BadPathname;
    const QString host = hostPath(path);
    if (host.isEmpty())
        return CreateResult::PathNotFound;
#ifdef Q_OS_UNIX
    const QByteArray target = QFile::encodeName(host);
    struct stat st;
    auto parentOf = [](const QByteArray& p) {
        const qsizetype slash = p.lastIndexOf('/');
        return slash <= 0 ? QByteArray("/") : p.left(slash);
    };
    if (!isVolumeSlot(parentOf(target))) {
        if (::mkdir(target.constData(), 0777) == 0)
            return CreateResult::Created;
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
        // Another process may create it meanwhile; a folder there is as good.
        if (::mkdir(part.constData(), 0777) != 0 &&
            !(errno == EEXIST && statPath(part, st) && S_ISDIR(st.st_mode)))
            return systemCode(errno);
        if (last)
            return CreateResult::Created;
    }
#else
    const QFileInfo info(host);
    if (info.isDir())
        return CreateResult::AlreadyExists;
    if (info.exists())
        return SystemError::FileExists;
    if (!QFileInfo(host.left(3)).isDir())
        return CreateResult::PathNotFound;
    return QDir().mkpath(host) ? CreateResult::Created : CreateResult::Failed;
#endif
}

int FileFolder::createFolder2(const QString& path)
{
    const QString host = hostPath(path);
    return !host.isEmpty() && QDir().mkdir(host) ? 1 : 0;
}

QString FileFolder::getTempFolder() const
{
    const QString temp = QDir::toNativeSeparators(QDir::tempPath());
    if (temp.isEmpty())
        return {};
    return temp.endsWith(pathSeparator(Host)) ? temp : temp + pathSeparator(Host);
}

QString FileFolder::getLongPath(const QString& shortPath) const
{
    return isAbsolute(shortPath) && QFileInfo::exists(shortPath) ? shortPath : QString();
}

QString FileFolder::getShortPath(const QString& longPath) const
{
    return getLongPath(longPath);
}

QString FileFolder::getFileNameA(const QString& fullPath)
{
    // The text after the last separator that has something after it, so "/a/b/" gives "b/".
    qsizetype start = 0;
    for (qsizetype i = 0; i + 1 < fullPath.size(); ++i) {
        if (isSeparator(fullPath.at(i)) && !isSeparator(fullPath.at(i + 1)))
            start = i + 1;
    }
    return fullPath.mid(start);
}

QString FileFolder::getFileNameAB(const QString& fullPath)
{
    return getFileNameA(fullPath);
}

QString FileFolder::getFileName(const QString& fullPath)
{
    const QString name = getFileNameA(fullPath);
    if (name.isEmpty() || isSeparator(name.back()) || name.contains(QLatin1Char('*')) ||
        name.contains(QLatin1Char('?')))
        return {};
    return name;
}

QString FileFolder::getFileTypeA(const QString& fullPath)
{
    // A dot starts the extension unless a space or a separator follows it.
    qsizetype dot = -1;
    for (qsizetype i = 0; i < fullPath.size(); ++i) {
        const QChar c = fullPath.at(i);
        if (c == QLatin1Char('.'))
            dot = i;
        else if (c == QLatin1Char(' ') || isSeparator(c))
            dot = -1;
    }
    return dot < 0 ? QString() : fullPath.mid(dot + 1);
}

QString FileFolder::getNoTypeFileNameA(const QString& fullPath)
{
    const QString name = getFileNameA(fullPath);
    const QString type = getFileTypeA(fullPath);
    if (name.isEmpty() || type.isEmpty() || name.size() <= type.size())
        return {};
    return name.left(name.size() - type.size() - 1);
}

QString FileFolder::getFileType(const QString& path, bool existCheck, bool nameCheck)
{
    // As the original: a false existCheck is the one that demands an existing file.
    if (!existCheck && !fileExist(path))
        return {};
    const QString text = nameCheck ? path : getFileName(path);
    const qsizetype dot = text.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return nameCheck ? QString() : text;
    return text.mid(dot + 1);
}

QString FileFolder::getFilePath(const QString& fullPath)
{
    const QChar sep = pathSeparator(Host);
    if (fileExist(fullPath)) {
        const qsizetype last = getFileNameA(fullPath).size();
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

QStringList FileFolder::getSplitPath(const QString& fullPath)
{
    const QString folder = getFilePath(fullPath);
    if (folder.isEmpty())
        return {QString()};
    const QChar sep = pathSeparator(Host);
    const qsizetype rootLength = Host == PathStyle::Windows ? 3 : 1;
    QStringList chain{folder.left(rootLength)};
    for (qsizetype i = folder.indexOf(sep, rootLength); i >= 0; i = folder.indexOf(sep, i + 1))
        chain << folder.left(i);
    if (folder.size() > rootLength)
        chain << folder;
    return chain;
}

QString FileFolder::nullDel(const QString& buffer)
{
    const qsizetype nul = buffer.indexOf(QChar(u'\0'));
    return nul < 0 ? buffer : buffer.left(nul);
}

bool FileFolder::confirm(const QString& text)
{
    if (respondDialog())
        return true;
    // Nobody to ask: better nothing happens than something unconfirmed.
    if (!m_prompter)
        return false;
    PromptRequest request;
    request.text = text;
    request.style = MessageStyle::YesNo | MessageStyle::IconQuestion;
    return m_prompter->prompt(request) == Answer::Yes;
}

bool FileFolder::recycled(const QString& pathList)
{
    setAllowUndo(true);
    return deleteFiles(pathList);
}

bool FileFolder::deleteFiles(const QString& from)
{
    if (nullDel(from).isEmpty())
        return false;
    const QStringList items = fromPathList(from);
    const bool toTrash = allowUndo();
    QString question;
    if (items.size() == 1) {
        const QString name = getFileNameA(withoutTrailingSeparators(items.front()));
        question = toTrash ? QStringLiteral("「%1」をごみ箱に移動しますか？").arg(name)
                           : QStringLiteral("「%1」を完全に削除しますか？").arg(name);
    } else {
        question =
            toTrash
                ? QStringLiteral("これらの %1 個の項目をごみ箱に移動しますか？").arg(items.size())
                : QStringLiteral("これらの %1 個の項目を完全に削除しますか？").arg(items.size());
    }
    if (!confirm(question))
        return false;
    return toTrash ? trashItems(items) : removeItems(items);
}

bool FileFolder::trashItems(const QStringList& items)
{
#ifdef NMAKER_FREEDESKTOP_TRASH
    FreedesktopTrash trash;
    const bool all =
        eachItem(QStringLiteral("ごみ箱に移動しています..."), items.size(),
                 [&](qsizetype i) { return trash.moveToTrash(hostPath(items.at(i))); });
    trash.flush();
    return all;
#else
    return eachItem(QStringLiteral("ごみ箱に移動しています..."), items.size(), [&](qsizetype i) {
        const QString item = hostPath(items.at(i));
        return !item.isEmpty() && QFile::moveToTrash(item);
    });
#endif
}

bool FileFolder::eachItem(const QString& text, qsizetype count,
                          const std::function<bool(qsizetype)>& step)
{
    Progress* progress = showDialog() ? m_progress : nullptr;
    if (progress)
        progress->start(text, count);
    bool all = true;
    for (qsizetype i = 0; i < count; ++i) {
        all = step(i) && all;
        // A cancel after the last item no longer makes the run a failure.
        if (progress && !progress->advance(i + 1) && i + 1 < count) {
            all = false;
            break;
        }
    }
    if (progress)
        progress->finish();
    return all;
}

bool FileFolder::removeItems(const QStringList& items)
{
    return eachItem(QStringLiteral("削除しています..."), items.size(), [&](qsizetype i) {
        const QString item = hostPath(items.at(i));
        const QFileInfo info(item);
        return !item.isEmpty() && (info.exists() || info.isSymLink()) && removeItem(item);
    });
}

namespace
{

bool copyTree(const QString& from, const QString& to)
{
    const QFileInfo info(from);
    if (info.isSymLink())
        return QFile::link(info.symLinkTarget(), to);
    if (!info.isDir())
        return QFile::copy(from, to);
    if (!QDir().mkdir(to))
        return false;
    const QDir dir(from);
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (!copyTree(dir.filePath(entry), to + QLatin1Char('/') + entry))
            return false;
    }
    return true;
}

// A copy that fails half-way is taken away again, so no partial copy is left behind.
bool copyTreeWhole(const QString& from, const QString& to)
{
    if (copyTree(from, to))
        return true;
    const QFileInfo made(to);
    if (made.isDir() && !made.isSymLink())
        QDir(to).removeRecursively();
    else if (made.exists() || made.isSymLink())
        QFile::remove(to);
    return false;
}

// "name (2)", "name (3)", ... beside an existing `path`.
QString freeName(const QString& path)
{
    for (int n = 2;; ++n) {
        const QString candidate = path + QStringLiteral(" (%1)").arg(n);
        if (!QFileInfo::exists(candidate) && !QFileInfo(candidate).isSymLink())
            return candidate;
    }
}

} // namespace

bool FileFolder::transfer(const QString& from, const QString& to, Transfer kind)
{
    if (nullDel(from).isEmpty())
        return false;
    const QStringList items = fromPathList(from);
    const QStringList targets = fromPathList(to);
    if (targets.isEmpty())
        return false;
    const bool oneTargetEach = bit(OperationFlag::MultiDestFiles);
    if (oneTargetEach && targets.size() != items.size())
        return false;
    QString folder = hostPath(targets.front());
    if (!oneTargetEach && !QFileInfo(folder).isDir() && items.size() > 1) {
        // Several items into a folder that is not there yet.
        if (confirmMakeDir() &&
            !confirm(QStringLiteral("フォルダー「%1」は存在しません。作成しますか？").arg(folder)))
            return false;
        if (createFolder(folder) != CreateResult::Created)
            return false;
    }

    const QString text = kind == Transfer::Move ? QStringLiteral("移動しています...")
                                                : QStringLiteral("コピーしています...");
    return eachItem(text, items.size(), [&](qsizetype i) {
        const QString source = hostPath(items.at(i));
        QString target = oneTargetEach ? hostPath(targets.at(i)) : folder;
        if (!oneTargetEach && QFileInfo(folder).isDir())
            target = folder + QLatin1Char('/') + getFileNameA(source);
        const QFileInfo targetInfo(target);
        // Never over an existing item: either a free name or this item fails.
        if (targetInfo.exists() || targetInfo.isSymLink())
            target = renameOnCollision() ? freeName(target) : QString();
        bool ok = !source.isEmpty() && !target.isEmpty() && isAbsolute(target) &&
                  (QFileInfo::exists(source) || QFileInfo(source).isSymLink());
        if (ok && kind == Transfer::Move) {
            // Across volumes a move is a copy that is removed only once it is complete.
            ok = QDir().rename(source, target);
            if (!ok && !QFileInfo::exists(target) && copyTreeWhole(source, target))
                ok = removeItem(source);
        } else if (ok) {
            ok = copyTreeWhole(source, target);
        }
        return ok;
    });
}

bool FileFolder::move(const QString& from, const QString& to)
{
    return transfer(from, to, Transfer::Move);
}

bool FileFolder::copy(const QString& from, const QString& to)
{
    return transfer(from, to, Transfer::Copy);
}

bool FileFolder::rename(const QString& from, const QString& to)
{
    const QString source = hostPath(nullDel(from));
    QString target = hostPath(nullDel(to));
    if (source.isEmpty() || target.isEmpty())
        return false;
    const QFileInfo targetInfo(target);
    if (targetInfo.exists() || targetInfo.isSymLink()) {
        if (!renameOnCollision())
            return false;
        target = freeName(target);
    }
    return QDir().rename(source, target);
}
