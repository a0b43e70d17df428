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
            m_entries.insert(keyOf(up), Entry{up, true, false, m_clock += 10000000000});
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
    m_entries.insert(keyOf(p), Entry{p, false, hidden});
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

int MemoryFileSystem::createFolder(const QString& path, QStringList* made)
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
    if (made)
        made->append(missing);
    return CreateResult::Created;
}

std::optional<qint64> MemoryFileSystem::folderBirth(const QString& path)
{
    const QString p = normalized(path);
    if (!isFolder(p) || isRoot(p))
        return std::nullopt;
    return m_entries.value(keyOf(p)).born;
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
    const QStringList items = fromPathList(pathList);
    recycledCalls << items;
    if (items.isEmpty() || failRecycle || declineRecycle)
        return false;
    bool all = true;
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (cancelRecycleAfter >= 0 && i >= cancelRecycleAfter)
            return false;
        const QString p = normalized(items.at(i));
        if (!exists(p) || isRoot(p)) {
            all = false;
            continue;
        }
        removeTree(keyOf(p));
        recycledItems << p;
    }
    return all;
}
