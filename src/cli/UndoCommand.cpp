#include "UndoCommand.h"

#include "CommandServices.h"
#include "TerminalText.h"

#include <QFile>

int runUndo(const CommandArguments& a, const TerminalStreams& streams)
{
    CommandServices s(streams, a);
    RunJournal& journal = s.steps.journal();
    if (journal.path().isEmpty()) {
        s.err.line(QStringLiteral("nmaker: 実行の記録の場所がありません (HOME も XDG_STATE_HOME も"
                                  "絶対パスではありません)"));
        return s.refuse(ExitStatus::BadArguments);
    }
    if (journal.state() == RunJournal::State::Bad) {
        s.err.line(QStringLiteral("nmaker: 実行の記録を使えません: ") +
                   terminalName(journal.path()) + QStringLiteral(": ") + journal.problem());
        return s.refuse(ExitStatus::BadArguments);
    }
    const FolderSteps::UndoTarget target = s.steps.nextUndo();
    if (target == FolderSteps::UndoTarget::None) {
        s.err.line(QStringLiteral("nmaker: 元に戻せる作成・削除はありません"));
        return s.refuse(ExitStatus::BadArguments);
    }
    const bool deletion = target == FolderSteps::UndoTarget::Deletion;

    if (a.dryRun) {
        PlannedOutput out(streams.out, a, deletion ? "restore" : "trash");
        if (deletion) {
            const QList<TrashPlace> order = s.steps.restoreOrder();
            const QList<RestoreResult> results = s.host.restore(order, true);
            for (qsizetype i = 0; i < order.size(); ++i) {
                const QString path = QFile::decodeName(order.at(i).original);
                if (results.at(i).kind == RestoreResult::Kind::Restored)
                    out.path(path, -1);
                else if (!s.err.quiet())
                    s.err.line(terminalName(path) + QStringLiteral(": ごみ箱に残ります (") +
                               restoreReason(results.at(i)) + QLatin1Char(')'));
            }
        } else {
            const CreationRecord::Undo plan = s.steps.lastCreation().plan(s.host, hostPathStyle());
            for (const TrashItem& item : plan.doomed)
                out.path(item.path, -1);
            if (!s.err.quiet()) {
                for (const QString& path : plan.kept + plan.replaced)
                    s.err.line(terminalName(path) + QStringLiteral(": 残ります"));
            }
        }
        return out.finish(s.err);
    }

    s.restore = deletion;
    s.steps.undoLast();
    return s.finish();
}
