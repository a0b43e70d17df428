#include "FolderSteps.h"

#include "fileops/FileSystem.h"
#include "messages/Prompter.h"
#include "run/RunContext.h"
#include "settings/Options.h"

FolderSteps::FolderSteps(FileSystem& fs, Prompter& prompter, const Options& options,
                         PathStyle style)
    : m_fs(fs), m_prompter(prompter), m_options(options), m_style(style)
{
}

int FolderSteps::createFolder(const QString& path)
{
    QStringList made;
    const int code = m_fs.createFolder(path, &made);
    if (!made.isEmpty()) {
        const qint64 now = m_fs.clockNow();
        for (const QString& folder : made)
            m_record.add(folder, now);
    }
    return code;
}

void FolderSteps::startCreating()
{
    m_record.start(m_fs.clockNow());
}

bool FolderSteps::createOneFolder(const QString& path)
{
    const int code = createFolder(path);
    if (code == CreateResult::Created)
        ++m_tally.created;
    else if (code == CreateResult::AlreadyExists)
        ++m_tally.existing;
    else
        ++m_tally.failed;
    switch (code) {
    case CreateResult::Created:
        return false;
    case CreateResult::PathNotFound:
        m_prompter.showMessage(12);
        return true;
    case CreateResult::AlreadyExists:
        if (!m_options.confirmExisting() || m_ignoreExisting)
            return false;
        switch (m_prompter.showMessage(13, path)) {
        case Answer::Retry: // the existing folder stays untouched; go on with the next
            return false;
        case Answer::Ignore:
            m_ignoreExisting = true;
            return false;
        default:
            return true;
        }
    default:
        m_prompter.showMessage(14);
        return false;
    }
}

bool FolderSteps::deleteFolders(const QStringList& paths, RunContext* context)
{
    const bool withContents = m_options.deleteNonEmpty();
    const QString anyFile = pathSeparator(m_style) + QStringLiteral("*.*");
    QStringList doomed;
    QString missing;
    const auto total = int(paths.size());
    for (int i = 0; i < total; ++i) {
        const QString& path = paths.at(i);
        // Looking at 100,000 folders takes seconds: keep the window painting and showing how
        // far it is. There is no cancel here; the trash's confirmation still lets the user out.
        if (context && i % 64 == 0) {
            context->yieldOnce();
            context->reportProgress(i, total);
        }
        if (m_fs.folderExist(path)) {
            if (withContents || !m_fs.fileExist(path + anyFile))
                doomed << path;
            else
                ++m_tally.kept;
        } else {
            missing += path + QStringLiteral("\r\n");
            ++m_tally.missing;
        }
    }
    const bool ok = m_fs.recycled(toPathList(doomed));
    // A trash operation that stopped part-way does not say how far it got: look.
    for (const QString& path : doomed) {
        if (ok || !m_fs.folderExist(path))
            ++m_tally.trashed;
        else
            ++m_tally.notTrashed;
    }
    if (!ok)
        m_prompter.showMessage(16);
    if (!missing.isEmpty())
        m_prompter.showMessage(17, missing);
    return ok;
}

void FolderSteps::undoLastCreation()
{
    const CreationRecord::Undo undo = m_record.plan(m_fs, m_style);
    m_record.forget(undo.gone);
    if (!undo.doomed.isEmpty()) {
        if (m_fs.recycled(toPathList(undo.doomed)))
            m_record.forget(undo.doomed);
        else
            m_prompter.showMessage(16);
    }
    if (!undo.kept.isEmpty()) {
        m_prompter.prompt(
            PromptRequest{-1,
                          QStringLiteral("次のフォルダは中身があるため残しました:\r\n") +
                              undo.kept.join(QStringLiteral("\r\n")),
                          MessageStyle::Ok | MessageStyle::IconInformation});
    }
}
