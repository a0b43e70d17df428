#include "FolderSteps.h"

#include "fileops/FileSystem.h"
#include "fileops/HostPath.h"
#include "messages/MessageCatalogue.h"
#include "messages/Prompter.h"
#include "run/RunContext.h"
#include "run/StopRequest.h"
#include "run/UndoTexts.h"
#include "templates/TemplateTexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <algorithm>

namespace
{

QString catalogueText(int number)
{
    const auto message = catalogueMessage(number);
    return message ? message->text : QString();
}

Reason trashFailure(const TrashResult& r)
{
    switch (r.kind) {
    case TrashResult::Kind::Replaced:
        return FolderReason::replacedAfterCheck();
    case TrashResult::Kind::NotDone:
        return FolderReason::trashCancelled();
    default:
        return r.why;
    }
}

// A catalogue message as the reason of a folder.
Reason catalogueReason(int number, const char* code)
{
    return {catalogueText(number), code};
}

// Puts every item of a delete run on record as it goes to the trash, the run's header before
// the first; and ends the trash at the next item when the program is asked to stop.
class DeleteRecorder : public ItemObserver
{
public:
    DeleteRecorder(RunJournal& journal, const QList<TrashItem>& items)
        : m_journal(journal), m_items(items)
    {
    }
    void beforeFirstMove() override { m_journal.beginRun(RunKind::Delete); }
    bool trashed(qsizetype index, const TrashResult& result) override
    {
        if (result.kind == TrashResult::Kind::Trashed)
            m_journal.recordTrashed(result.place, m_items.at(index).path);
        return !StopRequest::requested();
    }

private:
    RunJournal& m_journal;
    const QList<TrashItem>& m_items;
};

// Takes what an undo of a creation sent to the trash (or found gone or replaced as it moved)
// off the record, item by item.
class UndoRecorder : public ItemObserver
{
public:
    UndoRecorder(RunJournal& journal, quint64 run, const QList<TrashItem>& items, bool asked)
        : m_journal(journal), m_run(run), m_items(items), m_asked(asked)
    {
    }
    bool confirmed() const override { return m_asked; }
    bool trashed(qsizetype index, const TrashResult& result) override
    {
        using Kind = TrashResult::Kind;
        if (result.kind == Kind::Trashed || result.kind == Kind::Missing ||
            result.kind == Kind::Replaced)
            m_journal.recordTakenBack(m_run, m_items.at(index).path);
        return !StopRequest::requested();
    }

private:
    RunJournal& m_journal;
    quint64 m_run;
    const QList<TrashItem>& m_items;
    bool m_asked;
};

// What came back, is gone or is another's now leaves the record as it happens.
class RestoreRecorder : public ItemObserver
{
public:
    RestoreRecorder(RunJournal& journal, quint64 run, const QList<TrashPlace>& places)
        : m_journal(journal), m_run(run), m_places(places)
    {
    }
    bool confirmed() const override { return true; }
    bool restored(qsizetype index, const RestoreResult& result) override
    {
        using Kind = RestoreResult::Kind;
        switch (result.kind) {
        case Kind::Restored:
        case Kind::Back:
        case Kind::Gone:
        case Kind::Replaced:
        case Kind::Invalid:
            m_journal.recordRestored(m_run, m_places.at(index));
            break;
        default:
            break;
        }
        return !StopRequest::requested();
    }

private:
    RunJournal& m_journal;
    quint64 m_run;
    const QList<TrashPlace>& m_places;
};

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

FolderSteps::FolderSteps(FileSystem& fs, Prompter& prompter, const RunOptions& options,
                         PathStyle style)
    : m_fs(fs), m_prompter(prompter), m_options(options), m_style(style)
{
}

void FolderSteps::targetFailed(const QString& path)
{
    const FolderEvent event{FolderOutcome::Failed, path, catalogueText(10), true, -1,
                            "target_not_made"};
    for (FolderListener* listener : std::as_const(m_listeners))
        listener->folderDone(event);
    m_prompter.showOutcomeMessage(10);
}

void FolderSteps::report(FolderOutcome outcome, const QString& path, const Reason& reason,
                         const TreeCopyResult* copy)
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
    const FolderEvent event{
        outcome,     path, reason.text, false, m_lines.isEmpty() ? -1 : m_lines.value(path, -1),
        reason.code, copy};
    for (FolderListener* listener : std::as_const(m_listeners))
        listener->folderDone(event);
}

int FolderSteps::createFolder(const QString& path)
{
    const int code = m_fs.createFolder(path, &m_made);
    for (const MadeFolder& folder : std::as_const(m_made))
        m_journal.recordMade(folder);
    m_lastMade = m_made.isEmpty() ? path : m_made.back().path;
    // Emptied at once, keeping its room: the caller's name and the host's bytes are no longer
    // shared, so both are written in place for the next folder.
    m_made.clear();
    return code;
}

void FolderSteps::finishRun()
{
    if (!m_partial.isEmpty() && !StopRequest::requested()) {
        QString text = TemplateText::partialHeading();
        for (const QString& line : std::as_const(m_partial))
            text += QStringLiteral("\r\n") + line;
        m_prompter.prompt(PromptRequest{-1, text, MessageStyle::Ok | MessageStyle::IconWarning});
    }
    m_partial.clear();
    m_template.reset();
    if (!m_journal.inRun())
        return;
    m_journal.endRun();
    if (m_journal.path().isEmpty())
        return;
    // Said once, at the end: the run itself went on.
    const QString where = QDir::toNativeSeparators(m_journal.path());
    QString text;
    if (m_journal.runRecord() == RunJournal::Record::None)
        text = UndoText::notRecorded(where);
    else if (m_journal.runRecord() == RunJournal::Record::Partial)
        text = UndoText::partlyRecorded(where);
    if (!text.isEmpty())
        m_prompter.prompt(PromptRequest{-1, text, MessageStyle::Ok | MessageStyle::IconWarning});
}

bool FolderSteps::prepareTemplate(const QString& target, const QStringList& folders,
                                  qsizetype copies)
{
    m_template.reset();
    const FolderTemplate chosen = m_options.folderTemplate();
    if (!chosen.isSet())
        return true;
    QString why;
    std::optional<TemplatePlan> plan =
        checkTemplate(m_fs, chosen, target, folders, copies, m_style, &why);
    if (!plan) {
        m_prompter.prompt(PromptRequest{-1, why, MessageStyle::Ok | MessageStyle::IconWarning});
        return false;
    }
    m_template = std::move(plan);
    return true;
}

bool FolderSteps::copyTemplate(const QString& path, RunContext* context)
{
    const TemplatePlan& plan = *m_template;
    bool cancelled = false;
    const CopyProceed proceed = [&] {
        if (StopRequest::requested())
            return false;
        if (context && context->nextStep())
            cancelled = true;
        return !cancelled;
    };
    const TreeCopyResult copy =
        m_fs.copyTree(plan.source.folder, path, plan.entries, !plan.source.foldersOnly, proceed);
    // What the folder holds now is what an undo may take back with it: read once more, as an
    // undo will read it.
    const TreeRead now = m_fs.readTree(path, plan.entries.size() + 1);
    if (now.ok())
        m_journal.recordCopy(m_lastMade, now.entries.size(), treeDigest(now.entries));
    // Special files are left out by rule: the report names them, the box does not.
    const NotCopied* failed = firstFailure(copy);
    if (failed && !copy.stopped)
        m_partial << path + QStringLiteral(" (") + failed->path + QStringLiteral(": ") +
                         failed->why.text + u')';
    report(FolderOutcome::Created, path, {}, &copy);
    if (copy.cutShort)
        m_partial << TemplateText::runStoppedNoSpace();
    return copy.stopped || copy.cutShort;
}

bool FolderSteps::createOneFolder(const QString& path, RunContext* context)
{
    const int code = createFolder(path);
    // A box may stay open for long: what was made so far is on record meanwhile.
    if (code != CreateResult::Created && code != CreateResult::AlreadyExists)
        m_journal.flush();
    switch (code) {
    case CreateResult::Created:
        if (m_template)
            return copyTemplate(path, context);
        report(FolderOutcome::Created, path);
        return false;
    case CreateResult::PathNotFound:
        report(FolderOutcome::Failed, path, catalogueReason(12, "path_not_found"));
        m_prompter.showOutcomeMessage(12);
        return true;
    case CreateResult::AlreadyExists:
        report(FolderOutcome::Existing, path);
        if (!m_options.confirmExisting() || m_ignoreExisting)
            return false;
        m_journal.flush();
        switch (m_prompter.showMessage(13, path)) {
        case Answer::Retry: // the existing folder stays untouched; go on with the next
            return false;
        case Answer::Ignore:
            m_ignoreExisting = true;
            return false;
        default:
            return true;
        }
    default: {
        // The box as described; the outcome says what stood in the way, where the host knows.
        Reason reason = catalogueReason(14, "not_made");
        const Reason why = m_fs.createFailure(path, code);
        if (!why.isEmpty())
            reason = {reason.text + QStringLiteral(" (") + why.text + u')', why.code};
        report(FolderOutcome::Failed, path, reason);
        m_prompter.showOutcomeMessage(14);
        return false;
    }
    }
}

bool FolderSteps::reportTrash(const QList<TrashItem>& items, const QList<TrashResult>& results,
                              bool replacedIsKept, QStringList* kept, QStringList* replaced,
                              QString* missing, QStringList* gone, QStringList* changed)
{
    bool ok = true;
    // Fetched once for the batch, not once per folder.
    const Reason holdsFiles = FolderReason::holdsFiles();
    const Reason replacedReason = FolderReason::replaced();
    const Reason changedReason = TemplateText::changedSinceCopy();
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QString& path = items.at(i).path;
        const TrashResult& r = results.at(i);
        switch (r.kind) {
        case TrashResult::Kind::Trashed:
            report(FolderOutcome::Trashed, path, r.why); // a trash in memory says so
            if (gone)
                *gone << path;
            break;
        case TrashResult::Kind::Kept:
            // A template copy found changed as it was to move is named as changed.
            if (items.at(i).stillAsMade && changed) {
                report(FolderOutcome::Kept, path, changedReason);
                *changed << path;
                break;
            }
            report(FolderOutcome::Kept, path, holdsFiles);
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
                report(FolderOutcome::Kept, path, replacedReason);
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
    const Reason holdsFiles = FolderReason::holdsFiles();
    const auto total = int(paths.size());
    for (int i = 0; i < total; ++i) {
        const QString& path = paths.at(i);
        // Looking at 100,000 folders takes seconds: keep the window painting and showing how
        // far it is. There is no cancel here; the trash's confirmation still lets the user out.
        if (context && i % 64 == 0) {
            context->yieldOnce();
            context->reportProgress(i, total);
        }
        if (StopRequest::requested())
            return false; // nothing has moved yet
        const DeleteLook d = lookBeforeDelete(m_fs, path, withContents);
        switch (d.verdict) {
        case DeleteLook::Verdict::Missing:
            missing += path + QStringLiteral("\r\n");
            report(FolderOutcome::Missing, path);
            break;
        case DeleteLook::Verdict::Kept:
            report(FolderOutcome::Kept, path, holdsFiles);
            break;
        case DeleteLook::Verdict::Goes:
            doomed.append(
                TrashItem{path,
                          d.look.id,
                          withContents ? TrashItem::KeepIf::Never : TrashItem::KeepIf::HoldsFile,
                          {}});
            break;
        }
    }
    // An empty batch is no success: nothing went to the trash. Where each item went is on
    // record as it goes; a run that moves nothing leaves the last deletion as it was.
    DeleteRecorder recorder(m_journal, doomed);
    const QList<TrashResult> results = m_fs.trash(doomed, &recorder);
    m_journal.flush();
    const bool ok = !doomed.isEmpty() &&
                    reportTrash(doomed, results, false, nullptr, nullptr, &missing, nullptr);
    if (StopRequest::requested())
        return ok; // stopped from outside: the summary tells, no box
    if (!ok)
        m_prompter.showOutcomeMessage(16);
    if (!missing.isEmpty())
        m_prompter.showOutcomeMessage(17, missing);
    return ok;
}

bool FolderSteps::refuseRunning(UndoTarget target)
{
    const RunJournal::RunInfo& run =
        target == UndoTarget::Creation ? m_journal.creationRun() : m_journal.deletionRun();
    if (!run.running)
        return false;
    m_prompter.prompt(PromptRequest{-1,
                                    UndoText::stillRunning(target == UndoTarget::Creation, run.pid),
                                    MessageStyle::Ok | MessageStyle::IconWarning});
    return true;
}

void FolderSteps::undoLastCreation()
{
    startRun(RunKind::Undo);
    // What another process recorded meanwhile counts: read again, under the journal's lock.
    m_journal.refresh();
    if (refuseRunning(UndoTarget::Creation))
        return;
    const RunJournal::RunInfo run = m_journal.creationRun();
    CreationRecord::Undo undo = m_journal.creation().plan(m_fs, m_style);
    const Reason holdsFiles = FolderReason::holdsFiles();
    const Reason replaced = FolderReason::replaced();
    const Reason changed = TemplateText::changedSinceCopy();
    for (const QString& path : std::as_const(undo.gone))
        m_journal.recordTakenBack(run.number, path);
    for (const QString& path : std::as_const(undo.replaced)) {
        m_journal.recordTakenBack(run.number, path);
        report(FolderOutcome::Kept, path, replaced);
    }
    for (const QString& path : std::as_const(undo.kept))
        report(FolderOutcome::Kept, path, holdsFiles);
    for (const QString& path : std::as_const(undo.changed))
        report(FolderOutcome::Kept, path, changed);
    if (!undo.doomed.isEmpty()) {
        // The trash asks its own question; of a run that never ended, this one asks, saying so.
        if (run.interrupted()) {
            PromptRequest question{-1, UndoText::trashRecordedQuestion(undo.doomed.size()),
                                   MessageStyle::YesNo | MessageStyle::IconQuestion};
            question.unattended = Answer::Yes;
            if (m_prompter.prompt(question) != Answer::Yes) {
                m_journal.flush();
                return;
            }
        }
        UndoRecorder recorder(m_journal, run.number, undo.doomed, run.interrupted());
        const QList<TrashResult> results = m_fs.trash(undo.doomed, &recorder);
        const bool ok = reportTrash(undo.doomed, results, true, &undo.kept, &undo.replaced, nullptr,
                                    nullptr, &undo.changed);
        if (!ok && !StopRequest::requested())
            m_prompter.showOutcomeMessage(16);
    }
    m_journal.flush();
    // One box names what stayed, each with why.
    QString text;
    auto section = [&text](const Reason& reason, const QStringList& paths) {
        if (paths.isEmpty())
            return;
        if (!text.isEmpty())
            text += QStringLiteral("\r\n\r\n");
        text += QCoreApplication::translate("FolderSteps", "次のフォルダは%1残しました:\r\n")
                    .arg(reason.text) +
                paths.join(QStringLiteral("\r\n"));
    };
    section(holdsFiles, undo.kept);
    section(replaced, undo.replaced);
    section(changed, undo.changed);
    if (!text.isEmpty())
        m_prompter.prompt(
            PromptRequest{-1, text, MessageStyle::Ok | MessageStyle::IconInformation});
}

Reason restoreReason(const RestoreResult& r)
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
        return r.why.isEmpty() ? FolderReason::trashUnavailable() : r.why;
    case Kind::Failed:
        return r.why.isEmpty() ? FolderReason::notRestored() : r.why;
    case Kind::NotDone:
        return FolderReason::restoreCancelled();
    }
    return {};
}

FolderSteps::UndoTarget FolderSteps::nextUndo()
{
    m_journal.refresh();
    // A newer run that could not be recorded is not to be undone by taking back an older one.
    if (m_journal.state() != RunJournal::State::Read || m_journal.newestUnrecorded())
        return UndoTarget::None;
    const bool creation = !m_journal.creation().isEmpty();
    // Items sent where no record reaches still make the deletion the newest run.
    const bool deletion = !m_journal.deletion().isEmpty() || m_journal.deletionBeyondReach() > 0;
    UndoTarget target = UndoTarget::None;
    if (creation && deletion)
        target = m_journal.deletionNumber() > m_journal.creationNumber() ? UndoTarget::Deletion
                                                                         : UndoTarget::Creation;
    else
        target = creation   ? UndoTarget::Creation
                 : deletion ? UndoTarget::Deletion
                            : UndoTarget::None;
    if (target == UndoTarget::Deletion && m_journal.deletion().isEmpty())
        return UndoTarget::None;
    return target;
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

qsizetype depth(const QByteArray& path)
{
#ifdef Q_OS_WIN
    return path.count('\\');
#else
    return path.count('/');
#endif
}

// The order in which the items go back: shallow places first, so that a folder the run
// trashed with something it held is there again before that comes back into it.
QList<qsizetype> restoreIndices(const QList<TrashPlace>& places)
{
    QList<qsizetype> order(places.size());
    for (qsizetype i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&places](qsizetype a, qsizetype b) {
        return depth(places.at(a).original) < depth(places.at(b).original);
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
        text +=
            QCoreApplication::translate("FolderSteps", "\r\nほか %1 個").arg(paths.size() - Shown);
}

} // namespace

QList<TrashPlace> FolderSteps::restoreOrder()
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
    m_journal.refresh();
    if (refuseRunning(UndoTarget::Deletion))
        return;
    const RunJournal::RunInfo run = m_journal.deletionRun();
    const QList<TrashPlace> record = m_journal.deletion();
    if (record.isEmpty())
        return;
    const QList<qsizetype> order = restoreIndices(record);
    PromptRequest question;
    question.text = UndoText::restoreQuestion(record.size(), run.interrupted());
    question.style = MessageStyle::YesNo | MessageStyle::IconQuestion;
    question.unattended = Answer::Yes; // a script that asks for the undo means it
    if (m_prompter.prompt(question) != Answer::Yes)
        return;

    QList<TrashPlace> ordered;
    ordered.reserve(order.size());
    for (const qsizetype i : order)
        ordered.append(record.at(i));
    RestoreRecorder recorder(m_journal, run.number, ordered);
    const QList<RestoreResult> results = m_fs.restore(ordered, false, &recorder);
    m_journal.flush();

    int restored = 0;
    QStringList taken, replaced, noParent, unavailable, failed, gone, invalid;
    // Each reason fetched once for the run, not once per folder.
    const Reason notInTrash = FolderReason::notInTrash();
    const Reason replacedReason = FolderReason::replaced();
    const Reason badRecord = FolderReason::badRecord();
    const Reason nameTaken = FolderReason::nameTaken();
    const Reason noParentReason = FolderReason::noParent();
    const Reason trashUnavailable = FolderReason::trashUnavailable();
    const Reason notRestored = FolderReason::notRestored();
    for (qsizetype k = 0; k < ordered.size(); ++k) {
        const QString path = nameOfBytes(ordered.at(k).original);
        const RestoreResult& r = results.at(k);
        using Kind = RestoreResult::Kind;
        switch (r.kind) {
        case Kind::Restored:
        case Kind::Back:
            ++restored;
            report(FolderOutcome::Restored, path);
            break;
        case Kind::Gone:
            gone << path;
            report(FolderOutcome::Missing, path, notInTrash);
            break;
        case Kind::Replaced:
            replaced << path;
            report(FolderOutcome::Kept, path, replacedReason);
            break;
        case Kind::Invalid:
            invalid << path;
            report(FolderOutcome::Failed, path, badRecord);
            break;
        case Kind::Occupied:
            taken << path;
            report(FolderOutcome::Kept, path, nameTaken);
            break;
        case Kind::NoParent:
            noParent << path;
            report(FolderOutcome::Kept, path, noParentReason);
            break;
        case Kind::Unavailable:
            // The trash's own reason where it has one (another home, another user's trash).
            unavailable << (r.why.isEmpty() ? path
                                            : path + QStringLiteral(" (") + r.why.text + u')');
            report(FolderOutcome::Kept, path, r.why.isEmpty() ? trashUnavailable : r.why);
            break;
        case Kind::Failed:
            failed << (r.why.isEmpty() ? path : path + QStringLiteral(" (") + r.why.text + u')');
            report(FolderOutcome::Failed, path, r.why.isEmpty() ? notRestored : r.why);
            break;
        case Kind::NotDone:
            break; // cancelled: still in the trash, still on record
        }
    }

    const qsizetype left =
        taken.size() + replaced.size() + noParent.size() + unavailable.size() + failed.size();
    QString text =
        QCoreApplication::translate("FolderSteps", "%1 個のフォルダを元の場所に戻しました。")
            .arg(restored);
    if (left > 0)
        text +=
            QCoreApplication::translate("FolderSteps", "\r\n%1 個のフォルダはごみ箱に残しました。")
                .arg(left);
    if (!gone.isEmpty())
        text += QCoreApplication::translate("FolderSteps",
                                            "\r\n%1 個のフォルダはごみ箱にありませんでした。")
                    .arg(gone.size());
    auto stayed = [](const Reason& reason) {
        return QCoreApplication::translate("FolderSteps", "次のフォルダは%1ごみ箱に残しました")
            .arg(reason.text);
    };
    appendSection(text, stayed(nameTaken), taken);
    appendSection(text, stayed(replacedReason), replaced);
    appendSection(text, stayed(noParentReason), noParent);
    appendSection(text, stayed(trashUnavailable), unavailable);
    appendSection(text, stayed(notRestored), failed);
    appendSection(
        text, QCoreApplication::translate("FolderSteps", "次のフォルダはごみ箱にありませんでした"),
        gone);
    appendSection(text,
                  QCoreApplication::translate(
                      "FolderSteps", "次のフォルダは記録が正しくないため何もしませんでした"),
                  invalid);
    const bool all = left == 0 && gone.isEmpty() && invalid.isEmpty();
    m_prompter.prompt(PromptRequest{
        -1, text,
        MessageStyle::Ok | (all ? MessageStyle::IconInformation : MessageStyle::IconWarning),
        Answer::None, true});
}
