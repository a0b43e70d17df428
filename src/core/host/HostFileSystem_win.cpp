// HostFileSystem on Windows: Win32 on the long form of every path, and the recycle bin.
#include "HostFileSystem.h"

#include "HostTrash.h"
#include "fileops/HostPath.h"
#include "fileops/MountTable.h"
#include "fileops/WindowsFiles.h"
#include "fileops/WindowsPaths.h"
#include "trash/WindowsRecycleBin.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>

namespace
{

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

} // namespace

bool HostFileSystem::isFolderAt(const QString& host)
{
    return win::nodeAt(host, true).folder();
}

bool HostFileSystem::listsFile(const QString& dir, const QString& name, bool anyName)
{
    (void)anyName;
    // No QDir::Hidden: hidden entries do not count, as in a listing.
    QDirIterator it(dir, QDir::Files | QDir::NoDotAndDotDot | QDir::System);
    while (it.hasNext()) {
        it.next();
        const QString entry = it.fileName();
        if (!isHiddenName(entry) && listingMatch(name, entry, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

int HostFileSystem::createFolder(const QString& path, QList<MadeFolder>* made)
{
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
            made->append(MadeFolder{folder, win::nodeAt(folder, false).id, {}, -1, {}});
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
}
FolderLook HostFileSystem::lookAtFolder(const QString& path, bool forFile)
{
    FolderLook look;
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
    return look;
}
std::optional<QStringList> HostFileSystem::entriesAt(const QString& host)
{
    const win::Handle folder = win::openEntry(host, true);
    if (!folder.valid() || !win::nodeOf(folder.get()).folder())
        return std::nullopt;
    QStringList names;
    if (!win::readNames(folder.get(), names))
        return std::nullopt;
    return names;
}

Reason HostFileSystem::invalidNameReason(const QString& path)
{
    // The device name or the trailing dot, by name.
    const WindowsPaths::Problem problem = WindowsPaths::pathProblem(hostPath(path));
    if (!problem.why.isEmpty())
        return {problem.component + QStringLiteral(": ") + problem.why, "invalid_name"};
    return {QCoreApplication::translate("HostFileSystem", "Windows の名前として使えません"),
            "invalid_name"};
}

HostFileSystem::~HostFileSystem() = default;

struct HostTrash::Impl {
    WindowsRecycleBin bin;
};

HostTrash::HostTrash(const Hooks& hooks) : m(std::make_unique<Impl>())
{
    m->bin.setBeforeMove(hooks.beforeMove);
    m->bin.setShell(hooks.shell);
}

HostTrash::~HostTrash() = default;

TrashResult HostTrash::move(const TrashItem& item)
{
    return m->bin.moveToRecycleBin(item.path, item.expected, item.keepIf);
}

// The recycle bin tells what became of an item only once all are through.
bool HostTrash::tellsEachItem() const
{
    return false;
}

void HostTrash::finish(QList<TrashResult>& results)
{
    m->bin.settle(results);
}

struct HostRestore::Impl {
    RecycleBinRestore restorer;
};

HostRestore::HostRestore(const std::function<void(const QString&)>& beforeMove)
    : m(std::make_unique<Impl>())
{
    m->restorer.setBeforeMove(beforeMove);
}

HostRestore::~HostRestore() = default;

bool HostRestore::available()
{
    return true;
}

RestoreResult HostRestore::restore(const TrashPlace& place, bool dryRun)
{
    return m->restorer.restore(place, dryRun);
}

void HostRestore::finish() {}
