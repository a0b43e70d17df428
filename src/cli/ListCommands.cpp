#include "ListCommands.h"

#include "TerminalText.h"

#include "PathStyle.h"
#include "folderlist/ListFile.h"
#include "folderlist/ListRun.h"

#include <functional>

namespace
{

constexpr PathStyle Host = hostPathStyle();

// Imports the list; false (after the reason) when it is no list to run. Without `keep` the
// entries are only checked and counted, to be streamed afterwards.
bool importList(const CommandArguments& a, ErrorOutput& err, ListImport& list, bool keep)
{
    ListImportOptions options;
    options.encoding = a.encoding;
    options.keepEntries = keep;
    list = importListFile(a.listFile, options);
    if (!list.opened) {
        err.line(QStringLiteral("nmaker: リストファイルを開けませんでした: ") +
                 terminalName(a.listFile));
        return false;
    }
    if (!list.refusal.isEmpty()) {
        err.line(terminalName(a.listFile) + QStringLiteral(": ") + oneLine(list.refusal));
        return false;
    }
    // Each rejected line on a line of its own, whatever it holds.
    for (QStringList* group : {&list.notExpandable, &list.tooManyDigits}) {
        for (QString& line : *group)
            line = terminalName(line);
    }
    if (const std::optional<ListReport> report = rejectedLineReport(list)) {
        err.line(QStringLiteral("nmaker: ") +
                 lines(catalogueText(report->number, report->t1, report->t2, report->t3)));
        return false;
    }
    return true;
}

// Every entry of an accepted list: from memory when it was kept, else streamed from the file.
bool forEachEntry(const CommandArguments& a, const ListImport& list,
                  const std::function<bool(const QString&)>& take)
{
    if (!list.entries.isEmpty() || list.entryCount == 0) {
        for (const QString& entry : list.entries) {
            if (!take(entry))
                return false;
        }
        return true;
    }
    return forEachListFileEntry(a.listFile, list.encoding, take);
}

bool hasDuplicates(const CommandArguments& a, const ListImport& list)
{
    DuplicateFinder finder(list.entryCount);
    forEachEntry(a, list, [&finder](const QString& entry) {
        finder.see(entry);
        return true;
    });
    if (!finder.hasSuspects())
        return false;
    bool duplicate = false;
    forEachEntry(a, list, [&](const QString& entry) {
        duplicate = finder.confirm(entry);
        return !duplicate;
    });
    return duplicate;
}

} // namespace

int runExpand(const CommandArguments& a, const TerminalStreams& streams)
{
    ErrorOutput err(streams.err, streams.errIsTerminal);
    ListImport list;
    if (!importList(a, err, list, false))
        return ExitStatus::BadArguments;
    LineOutput out(streams.out, a.nulOutput);
    if (!forEachEntry(a, list, [&out](const QString& entry) {
            out.path(entry);
            return true;
        })) {
        err.line(QStringLiteral("nmaker: リストファイルを開けませんでした: ") +
                 terminalName(a.listFile));
        return ExitStatus::Failed;
    }
    return outputStatus(out, err);
}

int runList(const CommandArguments& a, const TerminalStreams& streams,
            const CommandEnvironment& environment)
{
    const bool create = a.command == Command::ListCreate;
    CommandServices s(streams, create);
    s.options.setCheckedIndex(Options::Delete, a.withContents ? 1 : 0);

    // A dry run streams the entries; a run holds them, as the list window does.
    ListImport list;
    if (!importList(a, s.err, list, !a.dryRun))
        return ExitStatus::BadArguments;

    QuietRun quiet;
    const bool duplicate = a.dryRun ? hasDuplicates(a, list)
                                    : checkDuplicates(list.entries, quiet) ==
                                          DuplicateCheck::Duplicate;
    if (duplicate) {
        s.err.line(QStringLiteral("nmaker: ") + oneLine(duplicateListText()));
        return ExitStatus::BadArguments;
    }

    // Every entry as the run sees it, the base in front of those without a root; all the
    // checks before anything is touched.
    const QString base = a.base.isEmpty() ? QString() : withSeparator(absoluteFolder(a.base));
    ListEntryCheck check(base, Host, MaxReportedLines);
    QStringList entries;
    if (!a.dryRun)
        entries.reserve(list.entries.size());
    forEachEntry(a, list, [&](const QString& entry) {
        const QString placed = check.add(entry);
        if (!a.dryRun)
            entries << placed;
        return true;
    });
    list.entries.clear();
    if (!check.rootless().isEmpty()) {
        s.err.line(QStringLiteral("nmaker: ドライブ (ルート) のない項目があります。--base で"
                                  "置き場所のフォルダを指定して下さい:\n") +
                   lines(check.rootless().text(terminalName)));
        return ExitStatus::BadArguments;
    }
    if (!check.refused().isEmpty()) {
        s.err.line(QStringLiteral("nmaker: ") +
                   lines(catalogueText(create ? 24 : 25, check.refused().text(terminalName))));
        return ExitStatus::BadArguments;
    }

    if (a.dryRun) {
        LineOutput out(streams.out, a.nulOutput);
        ListEntryCheck placing(base, Host, 0);
        forEachEntry(a, list, [&](const QString& entry) {
            const QString path = placing.add(entry);
            const bool touched =
                create ? !s.host.folderExist(path)
                       : lookBeforeDelete(s.host, path, a.withContents).verdict ==
                             DeleteLook::Verdict::Goes;
            if (touched)
                out.path(path);
            return true;
        });
        return outputStatus(out, s.err);
    }

    ListRun listRun(s.steps, s.browser,
                    BaseFolderSource{base, environment.programFolder, environment.programName});
    TerminalRun run(s.err, create ? QStringLiteral("作成") : QStringLiteral("削除"),
                    entries.size());
    listRun.run(std::move(entries), create, run);
    return s.finish(create);
}
