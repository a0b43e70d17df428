#include "CreationRecord.h"

#include "fileops/FileSystem.h"

#include <QHash>
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

void CreationRecord::add(const QString& path, const QByteArray& identity)
{
    m_made.append({path, identity});
}

QStringList CreationRecord::paths() const
{
    QStringList out;
    for (const Made& m : m_made)
        out << m.path;
    return out;
}

CreationRecord::Undo CreationRecord::plan(FileSystem& fs, PathStyle style) const
{
    const QChar sep = pathSeparator(style);
    QList<Made> order = m_made;
    // Deepest first: a folder is judged after everything the run made inside it.
    std::stable_sort(order.begin(), order.end(), [sep](const Made& a, const Made& b) {
        return depthOf(a.path, sep) > depthOf(b.path, sep);
    });
    QSet<QString> seen;
    QSet<QString> going;
    Undo undo;
    for (const Made& made : order) {
        const QString key = keyOf(made.path, style);
        if (seen.contains(key))
            continue;
        seen.insert(key);
        if (!fs.folderExist(made.path)) {
            undo.gone << made.path;
            continue;
        }
        const QByteArray now = fs.folderIdentity(made.path);
        const auto entries = fs.folderEntries(made.path);
        bool mayGo = !made.identity.isEmpty() && now == made.identity && entries.has_value();
        if (mayGo) {
            const QString prefix = made.path.endsWith(sep) ? made.path : made.path + sep;
            for (const QString& name : *entries) {
                if (!going.contains(keyOf(prefix + name, style))) {
                    mayGo = false;
                    break;
                }
            }
        }
        if (mayGo) {
            going.insert(key);
            undo.doomed << made.path;
        } else {
            undo.kept << made.path;
        }
    }
    return undo;
}

void CreationRecord::forget(const QStringList& gone)
{
    const QSet<QString> goneSet(gone.cbegin(), gone.cend());
    m_made.removeIf([&goneSet](const Made& m) { return goneSet.contains(m.path); });
}
