#include "CreationRecord.h"

#include "templates/FolderTemplate.h"

#include <QSet>

#include <algorithm>

namespace
{

int depthOf(const QString& path, QChar separator)
{
    return int(path.count(separator));
}

QString keyOf(const QString& path, PathStyle style)
{
    // Windows names compare without case.
    return style == PathStyle::Windows ? path.toLower() : path;
}

} // namespace

QStringList CreationRecord::paths() const
{
    QStringList list;
    list.reserve(m_made.size());
    for (const MadeFolder& m : m_made)
        list << m.path;
    return list;
}

CreationRecord::Undo CreationRecord::plan(FileSystem& fs, PathStyle style) const
{
    const QChar sep = pathSeparator(style);
    QList<MadeFolder> order = m_made;
    // Deepest first: a folder is judged after everything the run made inside it.
    std::stable_sort(order.begin(), order.end(), [sep](const MadeFolder& a, const MadeFolder& b) {
        return depthOf(a.path, sep) > depthOf(b.path, sep);
    });
    QSet<QString> seen;
    QSet<QString> going;
    Undo undo;
    for (const MadeFolder& made : std::as_const(order)) {
        const QString& path = made.path;
        const QString key = keyOf(path, style);
        if (seen.contains(key))
            continue;
        seen.insert(key);
        const FolderLook look = fs.lookAtFolder(path, false);
        if (!look.folder) {
            undo.gone << path;
            continue;
        }
        if (made.id.isKnown() && !made.id.sameAs(look.id)) {
            undo.replaced << path;
            continue;
        }
        if (made.copyEntries >= 0) {
            // Only whole, as it was copied: anything changed or added in it keeps it.
            if (!treeStillAsCopied(fs, path, made.copyEntries, made.copyDigest)) {
                undo.changed << path;
                continue;
            }
            going.insert(key);
            undo.doomed.append(
                TrashItem{path, made.id, TrashItem::KeepIf::Never,
                          [&fs, path, count = made.copyEntries, digest = made.copyDigest] {
                              return treeStillAsCopied(fs, path, count, digest);
                          }});
            continue;
        }
        const auto entries = fs.folderEntries(path);
        bool mayGo = entries.has_value();
        if (mayGo) {
            const QString prefix = path.endsWith(sep) ? path : path + sep;
            for (const QString& name : *entries) {
                if (!going.contains(keyOf(prefix + name, style))) {
                    mayGo = false;
                    break;
                }
            }
        }
        if (mayGo) {
            going.insert(key);
            undo.doomed.append(TrashItem{path, made.id, TrashItem::KeepIf::HoldsAnything, {}});
        } else {
            undo.kept << path;
        }
    }
    return undo;
}

void CreationRecord::setCopy(const QString& path, qint64 entries, const QByteArray& digest)
{
    for (qsizetype i = m_made.size() - 1; i >= 0; --i) {
        if (m_made.at(i).path == path) {
            m_made[i].copyEntries = entries;
            m_made[i].copyDigest = digest;
            return;
        }
    }
}

void CreationRecord::forget(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    forget(QSet<QString>(paths.cbegin(), paths.cend()));
}

void CreationRecord::forget(const QSet<QString>& paths)
{
    if (!paths.isEmpty())
        m_made.removeIf([&paths](const MadeFolder& m) { return paths.contains(m.path); });
}
