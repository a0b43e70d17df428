#include "HostFileSystem.h"

#include "HostTrash.h"
#include "PathStyle.h"
#include "fileops/HostPath.h"
#include "fileops/MountTable.h"
#include "fileops/PathNames.h"
#include "fileops/Progress.h"
#include "messages/Prompter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace
{

constexpr PathStyle Host = hostPathStyle();

} // namespace

bool HostFileSystem::isHiddenName(const QString& name)
{
    return name.startsWith(QLatin1Char('.'));
}

bool HostFileSystem::folderExist(const QString& path)
{
    // An empty path is the root of the current drive; other relative paths name nothing.
    const QString host = hostPath(path.isEmpty() ? QDir::rootPath() : path);
    if (host.isEmpty())
        return false;
    return isFolderAt(host);
}

std::optional<QStringList> HostFileSystem::folderEntries(const QString& path)
{
    const QString host = hostPath(path);
    if (host.isEmpty())
        return std::nullopt;
    return entriesAt(host);
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
    if (listsFile(dir, name, anyName))
        return true;
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
Reason HostFileSystem::createFailure(const QString& path, int code)
{
    switch (code) {
    case SystemError::AccessDenied:
        return {QCoreApplication::translate("HostFileSystem", "アクセスが許可されていません"),
                "permission_denied"};
    case SystemError::WriteProtect:
        return {QCoreApplication::translate("HostFileSystem", "書き込みが禁止されたボリュームです"),
                "read_only_volume"};
    case SystemError::FileExists:
        return {QCoreApplication::translate("HostFileSystem", "同じ名前のファイルがあります"),
                "file_exists"};
    case SystemError::DiskFull:
        return {QCoreApplication::translate("HostFileSystem", "ディスクに空きがありません"),
                "disk_full"};
    case SystemError::FilenameTooLong:
        return {QCoreApplication::translate("HostFileSystem", "名前が長すぎます"), "name_too_long"};
    case SystemError::BadPathname:
        return {QCoreApplication::translate("HostFileSystem",
                                            "絶対パスではないか、NUL 文字を含んでいます"),
                "bad_path"};
    case SystemError::InvalidName:
        return invalidNameReason(path);
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

QString HostFileSystem::deleteQuestion(qsizetype count, const QString& first, bool toTrash)
{
    if (count == 1) {
        const QString name = PathNames::getFileNameA(withoutTrailingSeparators(first));
        return toTrash
                   ? QCoreApplication::translate("HostFileSystem", "「%1」をごみ箱に移動しますか？")
                         .arg(name)
                   : QCoreApplication::translate("HostFileSystem", "「%1」を完全に削除しますか？")
                         .arg(name);
    }
    return toTrash ? QCoreApplication::translate("HostFileSystem",
                                                 "これらの %1 個の項目をごみ箱に移動しますか？")
                         .arg(count)
                   : QCoreApplication::translate("HostFileSystem",
                                                 "これらの %1 個の項目を完全に削除しますか？")
                         .arg(count);
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
        progress->start(QCoreApplication::translate("HostFileSystem", "ごみ箱に移動しています..."),
                        items.size());
    HostTrash trash({m_beforeTrashRename, m_recycleShell});
    if (observer)
        observer->beforeFirstMove();
    qsizetype told = 0; // the items the observer has heard of
    for (qsizetype i = 0; i < items.size(); ++i) {
        const TrashItem& item = items.at(i);
        if (m_beforeTrashItem)
            m_beforeTrashItem(item.path);
        // A template copy goes only as it was copied, looked at right before it moves.
        if (item.stillAsMade && !item.stillAsMade())
            results[i] = TrashResult{TrashResult::Kind::Kept, {}, {}};
        else
            results[i] = trash.move(item);
        bool goOn = true;
        if (trash.tellsEachItem()) {
            told = i + 1;
            goOn = !observer || observer->trashed(i, results.at(i));
        }
        const bool advanced = !progress || progress->advance(i + 1);
        // A cancel after the last item no longer makes the operation a failure.
        if (i + 1 < items.size() && (!goOn || !advanced))
            break;
    }
    trash.finish(results);
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
    if (!HostRestore::available())
        return FileSystem::restore(places, dryRun, observer);
    QList<RestoreResult> results(places.size());
    if (places.isEmpty())
        return results;
    Progress* progress = m_showing.progress && !dryRun ? m_progress : nullptr;
    if (progress)
        progress->start(
            QCoreApplication::translate("HostFileSystem", "ごみ箱から元の場所に戻しています..."),
            places.size());
    HostRestore restorer(m_beforeRestoreMove);
    for (qsizetype i = 0; i < places.size(); ++i) {
        results[i] = restorer.restore(places.at(i), dryRun);
        const bool goOn = !observer || observer->restored(i, results.at(i));
        const bool advanced = !progress || progress->advance(i + 1);
        if (i + 1 < places.size() && (!goOn || !advanced))
            break;
    }
    restorer.finish();
    if (progress)
        progress->finish();
    return results;
}
