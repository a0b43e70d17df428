#include "CommandServices.h"

#include "TerminalText.h"

#include "fileops/HostPath.h"
#include "messages/MessageCatalogue.h"
#include "run/StopRequest.h"
#include "text/OutputFile.h"

#include <QCoreApplication>
#include <QDir>

CommandServices::CommandServices(const TerminalStreams& streams, const CommandArguments& a)
    : args(a), create(a.command == Command::Create || a.command == Command::ListCreate),
      err(streams.err, streams.errIsTerminal), failures(err, create)
{
    host.setTrashShowing({false, false}); // a script asks nothing and has no window to show
    options.setCheckedIndex(Options::Create, 0);
    err.setQuiet(a.quiet);
    failures.setVerbose(a.verbose);
    steps.addListener(&failures);
    if (a.json && !a.dryRun) {
        json = std::make_unique<LineOutput>(streams.out);
        jsonLines = std::make_unique<JsonFolderLines>(*json);
        steps.addListener(jsonLines.get());
    }
    if (!a.reportFile.isEmpty()) {
        report = std::make_unique<RunReport>();
        steps.addListener(report.get());
    }
    // Every run goes on record, so that `nmaker undo` or the window can take it back.
    if (!a.dryRun || a.command == Command::Undo)
        steps.journal().setPath(RunJournal::defaultPath());
}

CommandServices::Counts CommandServices::counts() const
{
    return restore ? Counts::Restore : create ? Counts::Create : Counts::Delete;
}

int CommandServices::finish()
{
    err.clearProgress();
    const FolderSteps::Tally& t = steps.tally();
    if (!err.quiet()) {
        if (restore)
            err.line(restoreSummary(t.restored, t.kept, t.missing, t.failed));
        else if (create)
            err.line(createSummary(t.created, t.existing, t.failed));
        else
            err.line(deleteSummary(t.trashed, t.kept, t.missing, t.failed));
    }
    int status = failures.anyFailed() ? ExitStatus::Failed : ExitStatus::Done;
    // Stopped by a signal: the shell's status for it, and nothing more to a closed pipe.
    const int stopSignal = StopRequest::signal();
    if (stopSignal != 0)
        status = 128 + stopSignal;
    if (report && !writeReportCsv(args.reportFile, report->rows())) {
        err.line(QCoreApplication::translate("CommandServices",
                                             "nmaker: 結果のファイルを書き込めませんでした: ") +
                 terminalName(args.reportFile));
        status = ExitStatus::Failed;
    }
    if (json && stopSignal != StopRequest::BrokenPipe) {
        const QList<std::pair<const char*, qint64>> counts =
            restore  ? QList<std::pair<const char*, qint64>>{{"restored", t.restored},
                                                             {"kept", t.kept},
                                                             {"missing", t.missing},
                                                             {"failed", t.failed}}
            : create ? QList<std::pair<const char*, qint64>>{{"created", t.created},
                                                             {"existing", t.existing},
                                                             {"failed", t.failed}}
                     : QList<std::pair<const char*, qint64>>{{"trashed", t.trashed},
                                                             {"kept", t.kept},
                                                             {"missing", t.missing},
                                                             {"failed", t.failed}};
        json->line(jsonSummary(commandName(args.command), counts, status));
        if (!json->flush()) {
            err.line(QCoreApplication::translate("CommandServices",
                                                 "nmaker: 標準出力に書き込めませんでした"));
            if (stopSignal == 0)
                status = ExitStatus::Failed;
        }
    }
    return status;
}

PlannedOutput::PlannedOutput(QIODevice& device, const CommandArguments& a, bool create)
    : PlannedOutput(device, a,
                    a.command == Command::Expand ? nullptr
                    : create                     ? "create"
                                                 : "trash")
{
}

PlannedOutput::PlannedOutput(QIODevice& device, const CommandArguments& a, const char* action)
    : m_args(a), m_out(device, a.nulOutput), m_action(action)
{
}

void PlannedOutput::path(const QString& path, qint64 line)
{
    ++m_count;
    if (!m_args.json) {
        m_out.path(path);
        return;
    }
    if (m_action)
        m_out.line(jsonPathObject(
            "planned", path, line,
            {{"action", QLatin1Char('"') + QLatin1String(m_action) + QLatin1Char('"')}}));
    else
        m_out.line(jsonPathObject("entry", path, line));
}

int PlannedOutput::finish(ErrorOutput& err, int status)
{
    if (m_args.json)
        m_out.line(jsonSummary(commandName(m_args.command),
                               {{m_action ? "planned" : "entries", m_count}}, status,
                               m_args.dryRun));
    const int written = outputStatus(m_out, err);
    return status != ExitStatus::Done ? status : written;
}

bool CommandServices::reportRefused()
{
    if (args.reportFile.isEmpty())
        return false;
    // The list read is an input: a report over it would replace the list.
    QStringList inputs;
    if (!args.listFile.isEmpty() && args.listFile != QLatin1String("-"))
        inputs << args.listFile;
    const Reason problem = outputFileProblem(args.reportFile, inputs);
    if (problem.isEmpty())
        return false;
    err.line(
        QCoreApplication::translate("CommandServices", "nmaker: 結果のファイルに書き込めません: ") +
        terminalName(args.reportFile) + QStringLiteral(": ") + problem.text);
    return true;
}

int CommandServices::refuse(int status)
{
    if (json) {
        json->line(jsonSummary(commandName(args.command), {}, status));
        json->flush();
    }
    return status;
}

const char* commandName(Command command)
{
    switch (command) {
    case Command::Create:
        return "create";
    case Command::Delete:
        return "delete";
    case Command::ListCreate:
        return "list-create";
    case Command::ListDelete:
        return "list-delete";
    case Command::Expand:
        return "expand";
    case Command::Undo:
        return "undo";
    default:
        return "";
    }
}

bool CommandServices::templateRefused(const QString& target, const QStringList& folders,
                                      qsizetype copies)
{
    if (args.templateFolder.isEmpty())
        return false;
    const FolderTemplate chosen{absoluteFolder(args.templateFolder), args.foldersOnly};
    QString why;
    if (!checkTemplate(host, chosen, target, folders, copies, hostPathStyle(), &why)) {
        err.line(QStringLiteral("nmaker: ") + oneLine(why));
        return true;
    }
    options.setFolderTemplate(chosen);
    return false;
}

QString absoluteFolder(const QString& text)
{
    if (isAbsoluteHostPath(text))
        return QDir::toNativeSeparators(text);
    const QString current = QDir::currentPath();
    // "\work" is the root of the working folder's drive on Windows.
    const bool fromRoot = hostPathStyle() == PathStyle::Windows &&
                          (text.startsWith(QLatin1Char('\\')) || text.startsWith(QLatin1Char('/')));
    const QString path =
        fromRoot ? QString(current.left(2) + text) : QString(current + QLatin1Char('/') + text);
    // ".." is left to the file system, which follows links to apply it.
    const QString joined = path.contains(QLatin1String("..")) ? path : QDir::cleanPath(path);
    // The runs take the host's own separators, as the rules checked them.
    return QDir::toNativeSeparators(joined);
}

QString withSeparator(QString folder)
{
    const QChar sep = pathSeparator(hostPathStyle());
    if (!folder.endsWith(sep))
        folder += sep;
    return folder;
}

int outputStatus(LineOutput& out, ErrorOutput& err)
{
    if (out.flush())
        return ExitStatus::Done;
    err.line(
        QCoreApplication::translate("CommandServices", "nmaker: 標準出力に書き込めませんでした"));
    return ExitStatus::Failed;
}

QString catalogueText(int number, const QString& t1, const QString& t2, const QString& t3)
{
    const auto message = catalogueMessage(number, t1, t2, t3);
    return message ? message->text : QString();
}
