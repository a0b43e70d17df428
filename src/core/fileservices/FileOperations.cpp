#include "FileOperations.h"

#include "fileops/HostPath.h"
#include "fileops/PathNames.h"
#include "fileops/Progress.h"
#include "host/HostFileSystem.h"
#include "messages/Prompter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace
{

// A link goes, never what it points to.
bool removeItem(const QString& path)
{
    const QFileInfo info(path);
    return info.isDir() && !info.isSymLink() ? QDir(path).removeRecursively() : QFile::remove(path);
}

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

FileOperations::FileOperations(HostFileSystem& host) : m_host(host) {}

bool FileOperations::confirm(const QString& text)
{
    if (respondDialog())
        return true;
    // Nobody to ask: better nothing happens than something unconfirmed.
    if (!m_host.prompter())
        return false;
    PromptRequest request;
    request.text = text;
    request.style = MessageStyle::YesNo | MessageStyle::IconQuestion;
    return m_host.prompter()->prompt(request) == Answer::Yes;
}

bool FileOperations::recycled(const QString& pathList)
{
    setAllowUndo(true);
    return deleteFiles(pathList);
}

bool FileOperations::deleteFiles(const QString& from)
{
    if (PathNames::nullDel(from).isEmpty())
        return false;
    const QStringList paths = fromPathList(from);
    if (!allowUndo()) {
        if (!confirm(HostFileSystem::deleteQuestion(paths.size(), paths.front(), false)))
            return false;
        return removeItems(paths);
    }
    QList<TrashItem> items;
    items.reserve(paths.size());
    for (const QString& p : paths)
        items.append(TrashItem{p, {}, TrashItem::KeepIf::Never, {}});
    return allTrashed(
        m_host.trash(items, HostFileSystem::TrashShowing{!respondDialog(), showDialog()}));
}

bool FileOperations::eachItem(const QString& text, qsizetype count,
                              const std::function<bool(qsizetype)>& step)
{
    Progress* progress = showDialog() ? m_host.progress() : nullptr;
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

bool FileOperations::removeItems(const QStringList& items)
{
    return eachItem(QCoreApplication::translate("FileOperations", "削除しています..."),
                    items.size(), [&](qsizetype i) {
                        const QString item = hostPath(items.at(i));
                        const QFileInfo info(item);
                        return !item.isEmpty() && (info.exists() || info.isSymLink()) &&
                               removeItem(item);
                    });
}

bool FileOperations::transfer(const QString& from, const QString& to, Transfer kind)
{
    if (PathNames::nullDel(from).isEmpty())
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
            !confirm(QCoreApplication::translate("FileOperations",
                                                 "フォルダー「%1」は存在しません。作成しますか？")
                         .arg(folder)))
            return false;
        if (m_host.createFolder(folder) != CreateResult::Created)
            return false;
    }

    const QString text = kind == Transfer::Move
                             ? QCoreApplication::translate("FileOperations", "移動しています...")
                             : QCoreApplication::translate("FileOperations", "コピーしています...");
    return eachItem(text, items.size(), [&](qsizetype i) {
        const QString source = hostPath(items.at(i));
        QString target = oneTargetEach ? hostPath(targets.at(i)) : folder;
        if (!oneTargetEach && QFileInfo(folder).isDir())
            target = folder + QLatin1Char('/') + PathNames::getFileNameA(source);
        const QFileInfo targetInfo(target);
        // Never over an existing item: either a free name or this item fails.
        if (targetInfo.exists() || targetInfo.isSymLink())
            target = renameOnCollision() ? freeName(target) : QString();
        bool ok = !source.isEmpty() && !target.isEmpty() && isAbsoluteHostPath(target) &&
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

bool FileOperations::move(const QString& from, const QString& to)
{
    return transfer(from, to, Transfer::Move);
}

bool FileOperations::copy(const QString& from, const QString& to)
{
    return transfer(from, to, Transfer::Copy);
}

bool FileOperations::rename(const QString& from, const QString& to)
{
    const QString source = hostPath(PathNames::nullDel(from));
    QString target = hostPath(PathNames::nullDel(to));
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
