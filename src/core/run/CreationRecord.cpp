#include "CreationRecord.h"

#include "fileops/FileSystem.h"

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

CreationRecord::Undo CreationRecord::plan(FileSystem& fs, PathStyle style) const
{
    const QChar sep = pathSeparator(style);
    QStringList order = m_made;
    // Deepest first: a folder is judged after everything the run made inside it.
    std::stable_sort(order.begin(), order.end(), [sep](const QString& a, const QString& b) {
        return depthOf(a, sep) > depthOf(b, sep);
    });
    QSet<QString> seen;
    QSet<QString> going;
    Undo undo;
    for (const QString& path : order) {
        const QString key = keyOf(path, style);
        if (seen.contains(key))
            continue;
        seen.insert(key);
        const auto born = fs.folderBirth(path);
        if (!born) {
            undo.gone << path;
            continue;
        }
        // Born outside the run: someone made it again in its place.
        bool mayGo = *born >= m_from - Slack && *born <= m_until + Slack;
        const auto entries = mayGo ? fs.folderEntries(path) : std::nullopt;
        mayGo = mayGo && entries.has_value();
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
            undo.doomed << path;
        } else {
            undo.kept << path;
        }
    }
    return undo;
}

void CreationRecord::forget(const QStringList& gone)
{
    const QSet<QString> goneSet(gone.cbegin(), gone.cend());
    m_made.removeIf([&goneSet](const QString& m) { return goneSet.contains(m); });
}
