#include "SeriesCommands.h"

#include "CommandServices.h"
#include "TerminalText.h"

#include "series/SeriesEngine.h"
#include "series/SeriesRules.h"

#include <QCoreApplication>

int runSeries(const CommandArguments& a, const TerminalStreams& streams)
{
    CommandServices s(streams, a);
    if (s.reportRefused())
        return s.refuse(ExitStatus::BadArguments);
    const bool create = s.create;
    s.options.setCheckedIndex(Options::FolderName, a.zeroFill ? 0 : 1);
    s.options.setCheckedIndex(Options::Delete, a.withContents ? 1 : 0);

    const SeriesParameters p{withSeparator(absoluteFolder(a.target)),
                             a.prefix,
                             a.suffix,
                             a.first,
                             a.last,
                             a.digits,
                             a.zeroFill};
    if (!create && !s.host.folderExist(p.targetFolder)) {
        s.err.line(terminalName(p.targetFolder) + QStringLiteral(": ") +
                   oneLine(catalogueText(15)));
        return s.refuse(ExitStatus::BadArguments);
    }
    if (create && s.templateRefused(p.targetFolder, {}, p.last - p.first + 1))
        return s.refuse(ExitStatus::BadArguments);
    if (a.dryRun) {
        // What the run would touch: create what is not there yet, delete what would go.
        PlannedOutput out(streams.out, a, create);
        for (int n = p.first; n <= p.last; ++n) {
            const QString path = seriesFolderName(p, n);
            const bool touched = create ? !s.host.folderExist(path)
                                        : lookBeforeDelete(s.host, path, a.withContents).verdict ==
                                              DeleteLook::Verdict::Goes;
            if (touched)
                out.path(path, -1);
        }
        return out.finish(s.err);
    }

    SeriesEngine engine(s.steps);
    TerminalRun run(s.err,
                    create ? QCoreApplication::translate("TerminalRun", "作成")
                           : QCoreApplication::translate("TerminalRun", "削除"),
                    p.last - p.first + 1);
    if (create)
        engine.createSeries(p, run);
    else
        engine.deleteSeries(p, run);
    return s.finish();
}
