#include "ListCommands.h"

#include "CommandServices.h"
#include "TerminalText.h"

#include "PathStyle.h"
#include "folderlist/ListFile.h"
#include "folderlist/ListRun.h"
#include "sheet/SheetImport.h"

#include <QCoreApplication>
#include <QTemporaryFile>

#include <functional>
#include <memory>

namespace
{

constexpr PathStyle Host = hostPathStyle();

// Where the list is read from: its file, or a copy of standard input (read twice, like a file,
// and within the same bound), and how its lines are read, the same both times.
struct ListSource {
    QString path;
    QString name; // as messages name it
    std::unique_ptr<QTemporaryFile> copy;
    ListSyntax syntax;
    bool table = false; // read whole: its entries are held, never streamed again
};

ListSyntax listSyntax(const CommandArguments& a, const CommandEnvironment& environment)
{
    ListSyntax syntax;
    syntax.extended = a.extended;
    syntax.today = environment.today.isValid() ? environment.today : QDate::currentDate();
    return syntax;
}

bool openListSource(const CommandArguments& a, const TerminalStreams& streams, ErrorOutput& err,
                    ListSource& source)
{
    source.table = a.sheetFormat.has_value();
    if (!listFromStdin(a)) {
        source.path = a.listFile;
        source.name = terminalName(a.listFile);
        return true;
    }
    source.name = QCoreApplication::translate("ListCommands", "標準入力");
    source.copy = std::make_unique<QTemporaryFile>();
    if (!streams.in || !source.copy->open()) {
        err.line(QCoreApplication::translate("ListCommands",
                                             "nmaker: 標準入力からリストを読めませんでした"));
        return false;
    }
    QByteArray piece(1024 * 1024, Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        const qint64 got = streams.in->read(piece.data(), piece.size());
        if (got == 0)
            break;
        if (got < 0 || source.copy->write(piece.constData(), got) != got) {
            err.line(QCoreApplication::translate("ListCommands",
                                                 "nmaker: 標準入力からリストを読めませんでした"));
            return false;
        }
        total += got;
        if (total > MaxListFileBytes) {
            err.line(QCoreApplication::translate(
                "ListCommands",
                "nmaker: 標準入力: リストファイルが大きすぎます。(上限は 64 MB です)"));
            return false;
        }
    }
    if (!source.copy->flush()) {
        err.line(QCoreApplication::translate("ListCommands",
                                             "nmaker: 標準入力からリストを読めませんでした"));
        return false;
    }
    source.path = source.copy->fileName();
    return true;
}

// Imports the list; false (after the reason) when it is no list to run. Without `keep` the
// entries are only checked and counted, to be streamed afterwards.
bool importList(const CommandArguments& a, const ListSource& source, ErrorOutput& err,
                ListImport& list, bool keep)
{
    if (a.sheetFormat) {
        // A table is read whole and kept: its rows are bounded like a list's entries.
        SheetImportOptions options;
        options.format = a.sheetFormat;
        options.encoding = a.encoding;
        options.sheet = a.sheet;
        options.lines.fillDown = a.fillDown;
        options.lines.skipHeader = a.skipHeader;
        options.syntax = source.syntax;
        list = importSheetFile(source.path, options);
    } else {
        ListImportOptions options;
        options.encoding = a.encoding;
        options.keepEntries = keep;
        options.keepLines = keep;
        options.syntax = source.syntax;
        list = importListFile(source.path, options);
    }
    if (!list.opened) {
        err.line(QCoreApplication::translate("ListCommands",
                                             "nmaker: リストファイルを開けませんでした: ") +
                 source.name);
        return false;
    }
    if (!list.refusal.isEmpty()) {
        err.line(source.name + QStringLiteral(": ") + oneLine(list.refusal));
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

// Every entry of an accepted list with its file line: from memory when it was kept, else
// streamed from the file.
bool forEachEntry(const ListSource& source, const ListImport& list,
                  const std::function<bool(const QString&, qint64 line)>& take)
{
    if (source.table || !list.entries.isEmpty() || list.entryCount == 0) {
        for (qsizetype i = 0; i < list.entries.size(); ++i) {
            if (!take(list.entries.at(i), i < list.entryLines.size() ? list.entryLines.at(i) : -1))
                return false;
        }
        return true;
    }
    return forEachListFileEntry(source.path, list.encoding, take, source.syntax);
}

bool hasDuplicates(const ListSource& source, const ListImport& list)
{
    DuplicateFinder finder(list.entryCount);
    forEachEntry(source, list, [&finder](const QString& entry, qint64) {
        finder.see(entry);
        return true;
    });
    if (!finder.hasSuspects())
        return false;
    bool duplicate = false;
    forEachEntry(source, list, [&](const QString& entry, qint64) {
        duplicate = finder.confirm(entry);
        return !duplicate;
    });
    return duplicate;
}

} // namespace

int runExpand(const CommandArguments& a, const TerminalStreams& streams,
              const CommandEnvironment& environment)
{
    ErrorOutput err(streams.err, streams.errIsTerminal);
    PlannedOutput out(streams.out, a, false);
    ListSource source;
    source.syntax = listSyntax(a, environment);
    ListImport list;
    if (!openListSource(a, streams, err, source) || !importList(a, source, err, list, false))
        return out.finish(err, ExitStatus::BadArguments);
    if (!forEachEntry(source, list, [&out](const QString& entry, qint64 line) {
            out.path(entry, line);
            return true;
        })) {
        err.line(QCoreApplication::translate("ListCommands",
                                             "nmaker: リストファイルを開けませんでした: ") +
                 source.name);
        return out.finish(err, ExitStatus::Failed);
    }
    return out.finish(err);
}

int runList(const CommandArguments& a, const TerminalStreams& streams,
            const CommandEnvironment& environment)
{
    CommandServices s(streams, a);
    const bool create = s.create;
    s.options.setCheckedIndex(Options::Delete, a.withContents ? 1 : 0);
    // A dry run's JSON is its own, with the planned paths.
    auto refuse = [&](int status) {
        if (a.dryRun && a.json) {
            PlannedOutput out(streams.out, a, create);
            return out.finish(s.err, status);
        }
        return s.refuse(status);
    };
    if (s.reportRefused())
        return refuse(ExitStatus::BadArguments);

    // A dry run streams the entries; a run holds them, as the list window does.
    ListSource source;
    source.syntax = listSyntax(a, environment);
    ListImport list;
    if (!openListSource(a, streams, s.err, source) ||
        !importList(a, source, s.err, list, !a.dryRun))
        return refuse(ExitStatus::BadArguments);

    QuietRun quiet;
    const bool duplicate = a.dryRun
                               ? hasDuplicates(source, list)
                               : checkDuplicates(list.entries, quiet) == DuplicateCheck::Duplicate;
    if (duplicate) {
        s.err.line(QStringLiteral("nmaker: ") + oneLine(duplicateListText()));
        return refuse(ExitStatus::BadArguments);
    }

    // Every entry as the run sees it, the base in front of those without a root; all the
    // checks before anything is touched.
    const QString base = a.base.isEmpty() ? QString() : withSeparator(absoluteFolder(a.base));
    ListEntryCheck check(base, Host, MaxReportedLines);
    QStringList entries;
    if (!a.dryRun)
        entries.reserve(list.entries.size());
    forEachEntry(source, list, [&](const QString& entry, qint64) {
        const QString placed = check.add(entry);
        if (!a.dryRun)
            entries << placed;
        return true;
    });
    // A list file is streamed again from here; a table keeps what it read.
    if (!source.table)
        list.entries.clear();
    const QList<qint64> lines = source.table ? list.entryLines : std::move(list.entryLines);
    if (!check.rootless().isEmpty()) {
        s.err.line(QCoreApplication::translate(
                       "ListCommands", "nmaker: ドライブ (ルート) のない項目があります。--base で"
                                       "置き場所のフォルダを指定して下さい:\n") +
                   ::lines(check.rootless().text(terminalName)));
        return refuse(ExitStatus::BadArguments);
    }
    if (!check.refused().isEmpty()) {
        s.err.line(QStringLiteral("nmaker: ") +
                   ::lines(catalogueText(create ? 24 : 25, check.refused().text(terminalName))));
        return refuse(ExitStatus::BadArguments);
    }

    if (create && !a.templateFolder.isEmpty()) {
        // A dry run holds no entries: they are placed once more for the check.
        QStringList folders = entries;
        if (a.dryRun) {
            ListEntryCheck placing(base, Host, 0);
            forEachEntry(source, list, [&](const QString& entry, qint64) {
                folders << placing.add(entry);
                return true;
            });
        }
        if (s.templateRefused({}, folders, folders.size()))
            return refuse(ExitStatus::BadArguments);
    }
    if (a.dryRun) {
        PlannedOutput out(streams.out, a, create);
        ListEntryCheck placing(base, Host, 0);
        forEachEntry(source, list, [&](const QString& entry, qint64 line) {
            const QString path = placing.add(entry);
            const bool touched = create ? !s.host.folderExist(path)
                                        : lookBeforeDelete(s.host, path, a.withContents).verdict ==
                                              DeleteLook::Verdict::Goes;
            if (touched)
                out.path(path, line);
            return true;
        });
        return out.finish(s.err);
    }

    ListRun listRun(s.steps, s.browser,
                    BaseFolderSource{base, environment.programFolder, environment.programName});
    TerminalRun run(s.err,
                    create ? QCoreApplication::translate("TerminalRun", "作成")
                           : QCoreApplication::translate("TerminalRun", "削除"),
                    entries.size());
    listRun.run(std::move(entries), create, run, lines);
    return s.finish();
}
