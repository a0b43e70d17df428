#include "FolderSteps.h"

#include "fileops/FileSystem.h"
#include "messages/MessageCatalogue.h"
#include "messages/Prompter.h"
#include "run/RunContext.h"
#include "settings/Options.h"

namespace
{

QString catalogueText(int number)
{
    const auto message = catalogueMessage(number);
    return message ? message->text : QString();
}

QString trashFailure(const TrashResult& r)
{
    switch (r.kind) {
    case TrashResult::Kind::Replaced:
        return QStringLiteral("確認の後に別のものに置き換えられたため");
    case TrashResult::Kind::NotDone:
        return QStringLiteral("ごみ箱への移動が取り消されたため");
    default:
        return r.why;
    }
}

} // namespace

DeleteLook lookBeforeDelete(FileSystem& fs, const QString& path, bool withContents)
{
    DeleteLook d;
    d.look = fs.lookAtFolder(path, !withContents);
    if (!d.look.folder)
        d.verdict = DeleteLook::Verdict::Missing;
    else if (d.look.holdsFile)
        d.verdict = DeleteLook::Verdict::Kept;
    else
        d.verdict = DeleteLook::Verdict::Goes;
    return d;
}

FolderSteps::FolderSteps(FileSystem& fs, Prompter& prompter, const Options& options,
                         PathStyle style)
    : m_fs(fs), m_prompter(prompter), m_options(options), m_style(style)
{
}

void FolderSteps::targetFailed(const QString& path)
{
    const FolderEvent event{FolderOutcome::Failed, path, catalogueText(10), true};
    for (FolderListener* listener : std::as_const(m_listeners))
        listener->folderDone(event);
    m_prompter.showOutcomeMessage(10);
}

void FolderSteps::report(FolderOutcome outcome, const QString& path, const QString& reason)
{
    switch (outcome) {
    case FolderOutcome::Created:
        ++m_tally.created;
        break;
    case FolderOutcome::Existing:
        ++m_tally.existing;
        break;
    case FolderOutcome::Failed:
        ++m_tally.failed;
        break;
    case FolderOutcome::Trashed:
        ++m_tally.trashed;
        break;
    case FolderOutcome::Kept:
        ++m_tally.kept;
        break;
    case FolderOutcome::Missing:
        ++m_tally.missing;
        break;
    }
    if (m_listeners.isEmpty())
        return;
    const FolderEvent event{outcome, path, reason, false,
                            m_lines.isEmpty() ? -1 : m_lines.value(path, -1)};
    for (FolderListener* listener : std::as_const(m_listeners))
        listener->folderDone(event);
}

int FolderSteps::createFolder(const QString& path)
{
    QList<MadeFolder> made;
    const int code = m_fs.createFolder(path, &made);
    for (const MadeFolder& folder : std::as_const(made))
        m_record.add(folder);
    return code;
}

bool FolderSteps::createOneFolder(const QString& path)
{
    const int code = createFolder(path);
    switch (code) {
    case CreateResult::Created:
        report(FolderOutcome::Created, path);
        return false;
    case CreateResult::PathNotFound:
        report(FolderOutcome::Failed, path, catalogueText(12));
        m_prompter.showOutcomeMessage(12);
        return true;
    case CreateResult::AlreadyExists:
        report(FolderOutcome::Existing, path);
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
        report(FolderOutcome::Failed, path, catalogueText(14));
        m_prompter.showOutcomeMessage(14);
        return false;
    }
}

bool FolderSteps::reportTrash(const QList<TrashItem>& items, const QList<TrashResult>& results,
                              bool replacedIsKept, QStringList* kept, QStringList* replaced,
                              QString* missing, QStringList* gone)
{
    bool ok = true;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QString& path = items.at(i).path;
        const TrashResult& r = results.at(i);
        switch (r.kind) {
        case TrashResult::Kind::Trashed:
            report(FolderOutcome::Trashed, path);
            if (gone)
                *gone << path;
            break;
        case TrashResult::Kind::Kept:
            report(FolderOutcome::Kept, path, FolderReason::holdsFiles());
            if (kept)
                *kept << path;
            break;
        case TrashResult::Kind::Missing:
            report(FolderOutcome::Missing, path);
            if (missing)
                *missing += path + QStringLiteral("\r\n");
            if (gone)
                *gone << path;
            break;
        case TrashResult::Kind::Replaced:
            if (replacedIsKept) {
                report(FolderOutcome::Kept, path, FolderReason::replaced());
                if (replaced)
                    *replaced << path;
                break;
            }
            [[fallthrough]];
        case TrashResult::Kind::Failed:
        case TrashResult::Kind::NotDone:
            report(FolderOutcome::Failed, path, trashFailure(r));
            ok = false;
            break;
        }
    }
    return ok;
}

bool FolderSteps::deleteFolders(const QStringList& paths, RunContext* context)
{
    const bool withContents = m_options.deleteNonEmpty();
    QList<TrashItem> doomed;
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
        const DeleteLook d = lookBeforeDelete(m_fs, path, withContents);
        switch (d.verdict) {
        case DeleteLook::Verdict::Missing:
            missing += path + QStringLiteral("\r\n");
            report(FolderOutcome::Missing, path);
            break;
        case DeleteLook::Verdict::Kept:
            report(FolderOutcome::Kept, path, FolderReason::holdsFiles());
            break;
        case DeleteLook::Verdict::Goes:
            doomed.append(TrashItem{path, d.look.id,
                                    withContents ? TrashItem::KeepIf::Never
                                                 : TrashItem::KeepIf::HoldsFile,
                                    d.look.unchangedSince});
            break;
        }
    }
    // An empty batch is no success: nothing went to the trash.
    const QList<TrashResult> results = m_fs.trash(doomed);
    const bool ok = !doomed.isEmpty() &&
                    reportTrash(doomed, results, false, nullptr, nullptr, &missing, nullptr);
    if (!ok)
        m_prompter.showOutcomeMessage(16);
    if (!missing.isEmpty())
        m_prompter.showOutcomeMessage(17, missing);
    return ok;
}

void FolderSteps::undoLastCreation()
{
    startRun(RunKind::Undo);
    CreationRecord::Undo undo = m_record.plan(m_fs, m_style);
    m_record.forget(undo.gone);
    m_record.forget(undo.replaced);
    for (const QString& path : std::as_const(undo.replaced))
        report(FolderOutcome::Kept, path, FolderReason::replaced());
    for (const QString& path : std::as_const(undo.kept))
        report(FolderOutcome::Kept, path, FolderReason::holdsFiles());
    if (!undo.doomed.isEmpty()) {
        QStringList gone;
        const QList<TrashResult> results = m_fs.trash(undo.doomed);
        const bool ok = reportTrash(undo.doomed, results, true, &undo.kept, &undo.replaced,
                                    nullptr, &gone);
        m_record.forget(gone);
        m_record.forget(undo.replaced);
        if (!ok)
            m_prompter.showOutcomeMessage(16);
    }
    // One box names what stayed, each with why.
    QString text;
    auto section = [&text](const QString& reason, const QStringList& paths) {
        if (paths.isEmpty())
            return;
        if (!text.isEmpty())
            text += QStringLiteral("\r\n\r\n");
        text += QStringLiteral("次のフォルダは%1残しました:\r\n").arg(reason) +
                paths.join(QStringLiteral("\r\n"));
    };
    section(FolderReason::holdsFiles(), undo.kept);
    section(FolderReason::replaced(), undo.replaced);
    if (!text.isEmpty())
        m_prompter.prompt(
            PromptRequest{-1, text, MessageStyle::Ok | MessageStyle::IconInformation});
}
