#include "FolderSteps.h"

#include "fileops/FileSystem.h"
#include "messages/MessageCatalogue.h"
#include "messages/Prompter.h"
#include "run/RunContext.h"
#include "settings/Options.h"

#include <QFile>

#include <algorithm>

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
    case FolderOutcome::Restored:
        ++m_tally.restored;
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
        m_journal.creation().add(folder);
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
    // Where each went, so that the run can be taken back; a run that trashed nothing leaves
    // the last deletion on record.
    QList<TrashPlace> places;
    for (const TrashResult& r : results) {
        if (r.kind == TrashResult::Kind::Trashed && r.place.isKnown())
            places.append(r.place);
    }
    if (!places.isEmpty())
        m_journalSaved = m_journal.commitDeletion(std::move(places));
    if (!ok)
        m_prompter.showOutcomeMessage(16);
    if (!missing.isEmpty())
        m_prompter.showOutcomeMessage(17, missing);
    return ok;
}

void FolderSteps::undoLastCreation()
{
    startRun(RunKind::Undo);
    CreationRecord& record = m_journal.creation();
    CreationRecord::Undo undo = record.plan(m_fs, m_style);
    record.forget(undo.gone);
    record.forget(undo.replaced);
    for (const QString& path : std::as_const(undo.replaced))
        report(FolderOutcome::Kept, path, FolderReason::replaced());
    for (const QString& path : std::as_const(undo.kept))
        report(FolderOutcome::Kept, path, FolderReason::holdsFiles());
    if (!undo.doomed.isEmpty()) {
        QStringList gone;
        const QList<TrashResult> results = m_fs.trash(undo.doomed);
        const bool ok = reportTrash(undo.doomed, results, true, &undo.kept, &undo.replaced,
                                    nullptr, &gone);
        record.forget(gone);
        record.forget(undo.replaced);
        if (!ok)
            m_prompter.showOutcomeMessage(16);
    }
    m_journalSaved = m_journal.save();
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

QString restoreReason(const RestoreResult& r)
{
    using Kind = RestoreResult::Kind;
    switch (r.kind) {
    case Kind::Restored:
    case Kind::Back:
        return {};
    case Kind::Gone:
        return FolderReason::notInTrash();
    case Kind::Replaced:
        return FolderReason::replaced();
    case Kind::Invalid:
        return FolderReason::badRecord();
    case Kind::Occupied:
        return FolderReason::nameTaken();
    case Kind::NoParent:
        return FolderReason::noParent();
    case Kind::Unavailable:
        return FolderReason::trashUnavailable();
    case Kind::Failed:
        return r.why.isEmpty() ? FolderReason::notRestored() : r.why;
    case Kind::NotDone:
        return QStringLiteral("取り消されたため");
    }
    return {};
}

FolderSteps::UndoTarget FolderSteps::nextUndo()
{
    m_journal.refresh();
    const bool creation = !m_journal.creation().isEmpty();
    const bool deletion = !m_journal.deletion().isEmpty();
    if (creation && deletion)
        return m_journal.deletionNumber() > m_journal.creationNumber() ? UndoTarget::Deletion
                                                                      : UndoTarget::Creation;
    return creation ? UndoTarget::Creation : deletion ? UndoTarget::Deletion : UndoTarget::None;
}

void FolderSteps::undoLast()
{
    switch (nextUndo()) {
    case UndoTarget::Creation:
        undoLastCreation();
        break;
    case UndoTarget::Deletion:
        undoLastDeletion();
        break;
    case UndoTarget::None:
        break;
    }
}

namespace
{

// The order in which the items go back: shallow places first, so that a folder the run
// trashed with something it held is there again before that comes back into it.
QList<qsizetype> restoreIndices(const QList<TrashPlace>& places)
{
    QList<qsizetype> order(places.size());
    for (qsizetype i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&places](qsizetype a, qsizetype b) {
        return places.at(a).original.count('/') < places.at(b).original.count('/');
    });
    return order;
}

// One part of the closing box: the reason, then the folders, at most a screenful of them.
void appendSection(QString& text, const QString& heading, const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    constexpr qsizetype Shown = 20;
    text += QStringLiteral("\r\n\r\n") + heading + QStringLiteral(":\r\n") +
            paths.mid(0, Shown).join(QStringLiteral("\r\n"));
    if (paths.size() > Shown)
        text += QStringLiteral("\r\nほか %1 個").arg(paths.size() - Shown);
}

} // namespace

QList<TrashPlace> FolderSteps::restoreOrder() const
{
    const QList<TrashPlace>& places = m_journal.deletion();
    QList<TrashPlace> ordered;
    ordered.reserve(places.size());
    for (const qsizetype i : restoreIndices(places))
        ordered.append(places.at(i));
    return ordered;
}

void FolderSteps::undoLastDeletion()
{
    startRun(RunKind::Restore);
    QList<TrashPlace>& record = m_journal.deletion();
    if (record.isEmpty())
        return;
    const QList<qsizetype> order = restoreIndices(record);
    PromptRequest question;
    question.text = QStringLiteral("直前の削除でごみ箱に移動した %1 個のフォルダを元の場所に戻しますか？")
                        .arg(record.size());
    question.style = MessageStyle::YesNo | MessageStyle::IconQuestion;
    question.unattended = Answer::Yes; // a script that asks for the undo means it
    if (m_prompter.prompt(question) != Answer::Yes)
        return;

    QList<TrashPlace> ordered;
    ordered.reserve(order.size());
    for (const qsizetype i : order)
        ordered.append(record.at(i));
    const QList<RestoreResult> results = m_fs.restore(ordered, false);

    QList<bool> forget(record.size(), false);
    int restored = 0;
    QStringList taken, replaced, noParent, unavailable, failed, gone, invalid;
    for (qsizetype k = 0; k < ordered.size(); ++k) {
        const QString path = QFile::decodeName(ordered.at(k).original);
        const RestoreResult& r = results.at(k);
        using Kind = RestoreResult::Kind;
        bool drop = true;
        switch (r.kind) {
        case Kind::Restored:
        case Kind::Back:
            ++restored;
            report(FolderOutcome::Restored, path);
            break;
        case Kind::Gone:
            gone << path;
            report(FolderOutcome::Missing, path, FolderReason::notInTrash());
            break;
        case Kind::Replaced:
            replaced << path;
            report(FolderOutcome::Kept, path, FolderReason::replaced());
            break;
        case Kind::Invalid:
            invalid << path;
            report(FolderOutcome::Failed, path, FolderReason::badRecord());
            break;
        case Kind::Occupied:
            drop = false;
            taken << path;
            report(FolderOutcome::Kept, path, FolderReason::nameTaken());
            break;
        case Kind::NoParent:
            drop = false;
            noParent << path;
            report(FolderOutcome::Kept, path, FolderReason::noParent());
            break;
        case Kind::Unavailable:
            drop = false;
            unavailable << path;
            report(FolderOutcome::Kept, path, FolderReason::trashUnavailable());
            break;
        case Kind::Failed:
            drop = false;
            failed << (r.why.isEmpty() ? path : path + QStringLiteral(" (") + r.why + u')');
            report(FolderOutcome::Failed, path, r.why.isEmpty() ? FolderReason::notRestored() : r.why);
            break;
        case Kind::NotDone:
            drop = false; // cancelled: still in the trash, still on record
            break;
        }
        forget[order.at(k)] = drop;
    }
    qsizetype at = 0;
    record.removeIf([&forget, &at](const TrashPlace&) { return forget.at(at++); });
    m_journalSaved = m_journal.save();

    const qsizetype left =
        taken.size() + replaced.size() + noParent.size() + unavailable.size() + failed.size();
    QString text = QStringLiteral("%1 個のフォルダを元の場所に戻しました。").arg(restored);
    if (left > 0)
        text += QStringLiteral("\r\n%1 個のフォルダはごみ箱に残しました。").arg(left);
    if (!gone.isEmpty())
        text += QStringLiteral("\r\n%1 個のフォルダはごみ箱にありませんでした。").arg(gone.size());
    auto stayed = [](const QString& reason) {
        return QStringLiteral("次のフォルダは%1ごみ箱に残しました").arg(reason);
    };
    appendSection(text, stayed(FolderReason::nameTaken()), taken);
    appendSection(text, stayed(FolderReason::replaced()), replaced);
    appendSection(text, stayed(FolderReason::noParent()), noParent);
    appendSection(text, stayed(FolderReason::trashUnavailable()), unavailable);
    appendSection(text, stayed(FolderReason::notRestored()), failed);
    appendSection(text, QStringLiteral("次のフォルダはごみ箱にありませんでした"), gone);
    appendSection(text, QStringLiteral("次のフォルダは記録が正しくないため何もしませんでした"),
                  invalid);
    const bool all = left == 0 && gone.isEmpty() && invalid.isEmpty();
    m_prompter.prompt(PromptRequest{
        -1, text,
        MessageStyle::Ok | (all ? MessageStyle::IconInformation : MessageStyle::IconWarning),
        Answer::None, true});
}
