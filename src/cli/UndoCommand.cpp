#include "UndoCommand.h"

#include "CommandServices.h"
#include "JsonLines.h"
#include "TerminalText.h"

#include "fileops/HostPath.h"
#include "run/UndoTexts.h"
#include "templates/TemplateTexts.h"

#include <QCoreApplication>
#include <QFile>

namespace
{

// A folder a dry run of the undo leaves as it is: on stderr with why, or for scripts as a JSON
// object with a stable state.
void stays(CommandServices& s, PlannedOutput& out, const QString& path, const char* state,
           const QString& text)
{
    if (s.args.json)
        out.other(
            jsonPathObject("unchanged", path, -1,
                           {{"state", QLatin1Char('"') + QLatin1String(state) + QLatin1Char('"')},
                            {"reason", jsonString(text)}}));
    else if (!s.err.quiet())
        s.err.line(terminalName(path) + QStringLiteral(": ") + text);
}

} // namespace

int runUndo(const CommandArguments& a, const TerminalStreams& streams)
{
    CommandServices s(streams, a);
    if (s.reportRefused())
        return s.refuse(ExitStatus::BadArguments);
    RunJournal& journal = s.steps.journal();
    if (journal.path().isEmpty()) {
        s.err.line(
            QCoreApplication::translate("UndoCommand", "nmaker: 実行の記録の場所がありません (") +
            RunJournal::defaultPathProblem() + QLatin1Char(')'));
        return s.refuse(ExitStatus::BadArguments);
    }
    if (journal.state() == RunJournal::State::Bad) {
        s.err.line(QCoreApplication::translate("UndoCommand", "nmaker: 実行の記録を使えません: ") +
                   terminalName(journal.path()) + QStringLiteral(": ") + journal.problem());
        return s.refuse(ExitStatus::BadArguments);
    }
    const FolderSteps::UndoTarget target = s.steps.nextUndo();
    if (target == FolderSteps::UndoTarget::None) {
        s.err.line(QStringLiteral("nmaker: ") + (journal.newestUnrecorded()
                                                     ? UndoText::newestNotRecorded()
                                                     : UndoText::nothingToUndo()));
        return s.refuse(ExitStatus::BadArguments);
    }
    const bool deletion = target == FolderSteps::UndoTarget::Deletion;
    const RunJournal::RunInfo run = deletion ? journal.deletionRun() : journal.creationRun();
    if (run.running) {
        s.err.line(QStringLiteral("nmaker: ") + UndoText::stillRunning(!deletion, run.pid));
        return s.refuse(ExitStatus::BadArguments);
    }
    if (run.interrupted() && !s.err.quiet())
        s.err.line(QStringLiteral("nmaker: ") +
                   (deletion ? UndoText::deletionInterrupted() : UndoText::creationInterrupted()) +
                   QCoreApplication::translate("UndoCommand",
                                               "記録に残っているフォルダだけを元に戻します"));

    if (a.dryRun) {
        PlannedOutput out(streams.out, a, deletion ? "restore" : "trash");
        // Fetched once: a run on record may hold a hundred thousand folders.
        if (deletion) {
            const QString back =
                QCoreApplication::translate("UndoCommand", "元の場所に戻っています");
            const QString gone = QCoreApplication::translate("UndoCommand", "ごみ箱にありません");
            const QString inTrash =
                QCoreApplication::translate("UndoCommand", "ごみ箱に残ります (");
            const QList<TrashPlace> order = s.steps.restoreOrder();
            const QList<RestoreResult> results = s.host.restore(order, true);
            for (qsizetype i = 0; i < order.size(); ++i) {
                const QString path = nameOfBytes(order.at(i).original);
                switch (results.at(i).kind) {
                case RestoreResult::Kind::Restored:
                    out.path(path, -1);
                    break;
                case RestoreResult::Kind::Back:
                    stays(s, out, path, "back", back);
                    break;
                case RestoreResult::Kind::Gone:
                    stays(s, out, path, "gone", gone);
                    break;
                default:
                    stays(s, out, path, "in_trash",
                          inTrash + restoreReason(results.at(i)).text + QLatin1Char(')'));
                }
            }
        } else {
            const CreationRecord::Undo plan = s.steps.lastCreation().plan(s.host, hostPathStyle());
            const QString remains = QCoreApplication::translate("UndoCommand", "残ります (");
            const QString kept = remains + FolderReason::holdsFiles().text + QLatin1Char(')');
            const QString replaced = remains + FolderReason::replaced().text + QLatin1Char(')');
            const QString changed =
                remains + TemplateText::changedSinceCopy().text + QLatin1Char(')');
            const QString gone = QCoreApplication::translate("UndoCommand", "もうありません");
            for (const TrashItem& item : plan.doomed)
                out.path(item.path, -1);
            for (const QString& path : plan.kept)
                stays(s, out, path, "kept", kept);
            for (const QString& path : plan.replaced)
                stays(s, out, path, "replaced", replaced);
            for (const QString& path : plan.changed)
                stays(s, out, path, "changed", changed);
            for (const QString& path : plan.gone)
                stays(s, out, path, "gone", gone);
        }
        return out.finish(s.err);
    }

    s.restore = deletion;
    s.steps.undoLast();
    return s.finish();
}
