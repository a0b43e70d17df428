#pragma once

#include "CommandArguments.h"
#include "JsonLines.h"
#include "TerminalOutput.h"
#include "TerminalPrompter.h"

#include "fileops/FolderBrowser.h"
#include "host/HostFileSystem.h"
#include "run/FolderSteps.h"
#include "run/RunReport.h"
#include "settings/Options.h"

#include <QDate>

#include <memory>

// Where the program is, as main() found it: the base folder question may name it.
struct CommandEnvironment {
    QString programFolder; // ending with the separator
    QString programName;   // without its extension
    QDate today;           // what {date} of the extended syntax reads; none: the system's
};

// The program's services for one command, as the window has them, with answers instead of
// boxes and lines instead of messages.
struct CommandServices {
    CommandServices(const TerminalStreams& streams, const CommandArguments& a);

    // The summary line of a run (and its JSON summary, its CSV report), and its exit status.
    int finish();
    // A run that did not start (bad list, bad target): its JSON summary, and the status.
    int refuse(int status);
    // The report file (--report) cannot be written, said before anything is done: true.
    bool reportRefused();
    // With --template: the template cannot be used for these folders (said, true); else it
    // is the run's from now on.
    bool templateRefused(const QString& target, const QStringList& folders, qsizetype copies);
    // What the run does: folders made, trashed, or taken back out of the trash.
    enum class Counts { Create, Delete, Restore };
    Counts counts() const;

    const CommandArguments& args;
    bool create;
    bool restore = false; // the run takes a deletion back
    ErrorOutput err;
    std::unique_ptr<LineOutput> json; // with --json: stdout
    std::unique_ptr<JsonFolderLines> jsonLines;
    std::unique_ptr<RunReport> report; // with --report
    HostFileSystem host;
    FolderBrowser browser{host}; // no chooser: nobody can see a browser here
    TerminalPrompter prompter{err};
    FailureLines failures;
    Options options;
    FolderSteps steps{host, prompter, options, hostPathStyle()};
};

// The paths a dry run would touch or an expansion holds: one per line, NUL-ended, or JSON
// objects with a summary at the end.
class PlannedOutput
{
public:
    // `create`: what a dry run of a creation prints; for expand the entries.
    PlannedOutput(QIODevice& device, const CommandArguments& a, bool create);
    // With the action named: "create", "trash" or "restore".
    PlannedOutput(QIODevice& device, const CommandArguments& a, const char* action);
    void path(const QString& path, qint64 line);
    // A JSON object of another kind, as it stands.
    void other(const QString& json) { m_out.line(json); }
    // The summary (JSON only), the flush and the exit status.
    int finish(ErrorOutput& err, int status = ExitStatus::Done);

private:
    const CommandArguments& m_args;
    LineOutput m_out;
    const char* m_action;
    qint64 m_count = 0;
};

// A folder argument as an absolute path; a relative one means the working folder, as
// everywhere in a shell.
QString absoluteFolder(const QString& text);
QString withSeparator(QString folder);

// Done once the output reached its stream; else a line says so.
int outputStatus(LineOutput& out, ErrorOutput& err);

// The command's name in a JSON summary.
const char* commandName(Command command);

QString catalogueText(int number, const QString& t1 = {}, const QString& t2 = {},
                      const QString& t3 = {});
