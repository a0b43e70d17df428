#include "MemoryFileSystem.h"

namespace
{

// Windows-style system codes for the failures the fake can show.
constexpr int FileExistsCode = 80;
constexpr int BadPathnameCode = 161;

QString parentOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('\\'));
    return slash <= 2 ? path.left(3) : path.left(slash);
}

bool isRoot(const QString& path)
{
    return path.size() == 3;
}

} // namespace

MemoryFileSystem::MemoryFileSystem()
{
    addDrive(QStringLiteral("C:"));
}

QString MemoryFileSystem::normalized(const QString& path)
{
    QString p = path;
    p.replace(QLatin1Char('/'), QLatin1Char('\\'));
    if (p.size() < 3 || p.at(1) != QLatin1Char(':') || p.at(2) != QLatin1Char('\\') ||
        !p.at(0).isLetter())
        return {};
    while (p.size() > 3 && p.endsWith(QLatin1Char('\\')))
        p.chop(1);
    p[0] = p.at(0).toUpper();
    return p;
}

void MemoryFileSystem::addDrive(const QString& drive)
{
    const QString d = drive.left(2).toLower();
    if (!m_drives.contains(d))
        m_drives << d;
}

void MemoryFileSystem::removeDrive(const QString& drive)
{
    const QString d = drive.left(2).toLower();
    m_drives.removeAll(d);
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (it.key().startsWith(d))
            it = m_entries.erase(it);
        else
            ++it;
    }
}

bool MemoryFileSystem::drivePresent(const QString& normalizedPath) const
{
    return !normalizedPath.isEmpty() && m_drives.contains(keyOf(driveOf(normalizedPath)));
}

void MemoryFileSystem::addFolder(const QString& path)
{
    const QString p = normalized(path);
    Q_ASSERT_X(!p.isEmpty(), "MemoryFileSystem::addFolder", "path needs a drive");
    addDrive(p);
    for (QString up = p; !isRoot(up); up = parentOf(up)) {
        if (!m_entries.contains(keyOf(up)))
            m_entries.insert(keyOf(up), Entry{up, true, false, m_nextNode++});
    }
}

void MemoryFileSystem::addFile(const QString& path, bool hidden)
{
    const QString p = normalized(path);
    Q_ASSERT_X(!p.isEmpty() && !isRoot(p), "MemoryFileSystem::addFile", "path needs a name");
    const QString parent = parentOf(p);
    if (isRoot(parent))
        addDrive(parent);
    else
        addFolder(parent);
    m_entries.insert(keyOf(p), Entry{p, false, hidden, m_nextNode++});
}

bool MemoryFileSystem::exists(const QString& path) const
{
    const QString p = normalized(path);
    return drivePresent(p) && (isRoot(p) || m_entries.contains(keyOf(p)));
}

bool MemoryFileSystem::isFolder(const QString& path) const
{
    const QString p = normalized(path);
    if (!drivePresent(p))
        return false;
    return isRoot(p) || (m_entries.contains(keyOf(p)) && m_entries.value(keyOf(p)).folder);
}

bool MemoryFileSystem::isFile(const QString& path) const
{
    const QString p = normalized(path);
    return drivePresent(p) && m_entries.contains(keyOf(p)) && !m_entries.value(keyOf(p)).folder;
}

QStringList MemoryFileSystem::folders() const
{
    QStringList list;
    for (const Entry& e : m_entries) {
        if (e.folder)
            list << e.spelling;
    }
    return list;
}

QStringList MemoryFileSystem::files() const
{
    QStringList list;
    for (const Entry& e : m_entries) {
        if (!e.folder)
            list << e.spelling;
    }
    return list;
}

bool MemoryFileSystem::folderExist(const QString& path)
{
    ++folderExistCalls;
    // An empty path is the root of the current drive, C:.
    return isFolder(path.isEmpty() ? QStringLiteral("C:\\") : path);
}

bool MemoryFileSystem::fileExist(const QString& pattern)
{
    ++fileExistCalls;
    const QString p = normalized(pattern);
    if (p.isEmpty() || isRoot(p) || !isFolder(parentOf(p)))
        return false;
    const QString folderKey = keyOf(parentOf(p));
    const QString prefix = isRoot(folderKey) ? folderKey : folderKey + QLatin1Char('\\');
    const QString name = p.mid(p.lastIndexOf(QLatin1Char('\\')) + 1);
    for (auto it = m_entries.lowerBound(prefix); it != m_entries.end(); ++it) {
        if (!it.key().startsWith(prefix))
            break;
        const QString rest = it.value().spelling.mid(prefix.size());
        if (rest.contains(QLatin1Char('\\')) || it.value().folder || it.value().hidden)
            continue;
        if (listingMatch(name, rest, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

int MemoryFileSystem::createFolder(const QString& path, QList<MadeFolder>* made)
{
    ++createFolderCalls;
    const QString p = normalized(path);
    for (auto it = createResults.cbegin(); it != createResults.cend(); ++it) {
        if (keyOf(normalized(it.key())) == keyOf(p) && !p.isEmpty())
            return it.value();
    }
    if (p.isEmpty())
        return BadPathnameCode;
    if (!drivePresent(p))
        return CreateResult::PathNotFound;
    if (isFolder(p))
        return CreateResult::AlreadyExists;
    if (isFile(p))
        return FileExistsCode;
    // A file standing in for one of the parents: the path cannot be reached.
    for (QString up = parentOf(p); !isRoot(up); up = parentOf(up)) {
        if (isFile(up))
            return CreateResult::PathNotFound;
    }
    QStringList missing;
    for (QString up = p; !isRoot(up) && !isFolder(up); up = parentOf(up))
        missing.prepend(up);
    addFolder(p);
    createdFolders << p;
    if (made) {
        for (const QString& m : std::as_const(missing))
            made->append(MadeFolder{m, lookAtFolder(m, false).id, {}, -1, {}});
    }
    return CreateResult::Created;
}

FolderLook MemoryFileSystem::lookAtFolder(const QString& path, bool forFile)
{
    FolderLook look;
    const QString p = normalized(path.isEmpty() ? QStringLiteral("C:\\") : path);
    if (!isFolder(p))
        return look;
    look.folder = true;
    look.id = FolderId{1, isRoot(p) ? 1 : m_entries.value(keyOf(p)).node, -1};
    if (forFile)
        look.holdsFile = fileExist(p + QStringLiteral("\\*.*"));
    return look;
}

void MemoryFileSystem::replace(const QString& path)
{
    const QString key = keyOf(normalized(path));
    if (m_entries.contains(key))
        m_entries[key].node = m_nextNode++;
}

std::optional<QStringList> MemoryFileSystem::folderEntries(const QString& path)
{
    const QString p = normalized(path);
    if (!isFolder(p) || unreadable.contains(keyOf(p)))
        return std::nullopt;
    const QString prefix = isRoot(p) ? keyOf(p) : keyOf(p) + QLatin1Char('\\');
    QStringList names;
    for (auto it = m_entries.lowerBound(prefix); it != m_entries.end(); ++it) {
        if (!it.key().startsWith(prefix))
            break;
        const QString rest = it.value().spelling.mid(prefix.size());
        if (!rest.contains(QLatin1Char('\\')))
            names << rest;
    }
    return names;
}

void MemoryFileSystem::removeTree(const QString& key)
{
    m_entries.remove(key);
    const QString prefix = key + QLatin1Char('\\');
    for (auto it = m_entries.lowerBound(prefix);
         it != m_entries.end() && it.key().startsWith(prefix);)
        it = m_entries.erase(it);
}

bool MemoryFileSystem::recycled(const QString& pathList)
{
    QList<TrashItem> items;
    for (const QString& p : fromPathList(pathList))
        items.append(TrashItem{p, {}, TrashItem::KeepIf::Never, {}});
    return allTrashed(trash(items));
}

QList<TrashResult> MemoryFileSystem::trash(const QList<TrashItem>& items, ItemObserver* observer)
{
    using Kind = TrashResult::Kind;
    QList<TrashResult> results(items.size());
    QStringList paths;
    for (const TrashItem& item : items)
        paths << item.path;
    recycledCalls << paths;
    if (items.isEmpty() || declineRecycle)
        return results;
    if (observer)
        observer->beforeFirstMove();
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (i > 0 && observer && !observer->trashed(i - 1, results.at(i - 1)))
            break;
        if (cancelRecycleAfter >= 0 && i >= cancelRecycleAfter)
            break;
        const TrashItem& item = items.at(i);
        if (beforeTrashMove)
            beforeTrashMove(item.path);
        const QString p = normalized(item.path);
        if (failRecycle || isRoot(p)) {
            results[i].kind = Kind::Failed;
            continue;
        }
        if (!exists(p)) {
            results[i].kind = Kind::Missing;
            continue;
        }
        const FolderLook look = lookAtFolder(p, item.keepIf == TrashItem::KeepIf::HoldsFile);
        if (item.expected.isKnown() && isFolder(p) && !item.expected.sameAs(look.id)) {
            results[i].kind = Kind::Replaced;
            continue;
        }
        const bool keep = (item.keepIf == TrashItem::KeepIf::HoldsFile && look.holdsFile) ||
                          (item.keepIf == TrashItem::KeepIf::HoldsAnything &&
                           !folderEntries(p).value_or(QStringList{QString()}).isEmpty());
        if (keep) {
            results[i].kind = Kind::Kept;
            continue;
        }
        removeTree(keyOf(p));
        recycledItems << p;
        results[i].kind = Kind::Trashed;
    }
    const qsizetype last = items.size() - 1;
    if (observer && results.at(last).kind != Kind::NotDone)
        observer->trashed(last, results.at(last));
    return results;
}
