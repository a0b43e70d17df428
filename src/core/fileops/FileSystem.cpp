#include "FileSystem.h"

#include "CopyReasons.h"
#include "TrashReasons.h"

QString toPathList(const QStringList& paths)
{
    QString list;
    for (const QString& p : paths)
        list += p + QChar(u'\0');
    return list + QChar(u'\0');
}

QStringList fromPathList(const QString& pathList)
{
    QStringList paths;
    qsizetype start = 0;
    while (start < pathList.size()) {
        const qsizetype end = pathList.indexOf(QChar(u'\0'), start);
        const QString item = pathList.mid(start, end < 0 ? -1 : end - start);
        if (item.isEmpty())
            break;
        paths << item;
        if (end < 0)
            break;
        start = end + 1;
    }
    return paths;
}

namespace
{

bool wildMatch(QStringView pattern, QStringView name, Qt::CaseSensitivity cs)
{
    qsizetype p = 0, n = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == QLatin1Char('?') ||
                                          pattern.mid(p, 1).compare(name.mid(n, 1), cs) == 0)) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

} // namespace

bool listingMatch(QStringView pattern, QStringView name, Qt::CaseSensitivity cs)
{
    return wildMatch(pattern, name, cs) ||
           (pattern.endsWith(QLatin1String(".*")) && !name.contains(QLatin1Char('.')) &&
            wildMatch(pattern.chopped(2), name, cs));
}

bool allTrashed(const QList<TrashResult>& results)
{
    if (results.isEmpty())
        return false;
    for (const TrashResult& r : results) {
        if (r.kind != TrashResult::Kind::Trashed)
            return false;
    }
    return true;
}

QList<RestoreResult> FileSystem::restore(const QList<TrashPlace>& places, bool, ItemObserver*)
{
    return QList<RestoreResult>(
        places.size(), RestoreResult{RestoreResult::Kind::Unavailable, TrashReason::noTrash()});
}

Reason FileSystem::createFailure(const QString&, int)
{
    return {};
}

TreeRead FileSystem::readTree(const QString&, qsizetype)
{
    return TreeRead{{}, CopyReason::unsupported(), false};
}

TreeCopyResult FileSystem::copyTree(const QString&, const QString&, const QList<TreeEntry>& entries,
                                    bool, const CopyProceed&)
{
    TreeCopyResult result;
    for (const TreeEntry& e : entries)
        result.notCopied.append({e.path, CopyReason::unsupported()});
    return result;
}

qint64 FileSystem::freeBytes(const QString&)
{
    return -1;
}

void noteRestNotCopied(TreeCopyResult& result, const QList<TreeEntry>& entries, qsizetype from,
                       bool withFiles)
{
    if (!result.stopped && !result.cutShort)
        return;
    const Reason rest = result.stopped ? CopyReason::stopped() : CopyReason::noSpace();
    for (qsizetype i = from; i < entries.size(); ++i) {
        const TreeEntry& e = entries.at(i);
        if (withFiles || e.kind == TreeEntry::Kind::Folder)
            result.notCopied.append({e.path, rest});
    }
}
