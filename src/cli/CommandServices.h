#pragma once

#include "CommandArguments.h"
#include "TerminalOutput.h"
#include "TerminalPrompter.h"

#include "fileops/FolderBrowser.h"
#include "fileops/HostFileSystem.h"
#include "run/FolderSteps.h"
#include "settings/Options.h"

// Where the program is, as main() found it: the base folder question may name it.
struct CommandEnvironment {
    QString programFolder; // ending with the separator
    QString programName;   // without its extension
};

// The program's services for one command, as the window has them, with answers instead of
// boxes and lines instead of messages.
struct CommandServices {
    CommandServices(const TerminalStreams& streams, bool create);

    // The summary line of a run, and its exit status.
    int finish(bool create);

    ErrorOutput err;
    HostFileSystem host;
    FolderBrowser browser{host}; // no chooser: nobody can see a browser here
    TerminalPrompter prompter{err};
    FailureLines failures;
    Options options;
    FolderSteps steps{host, prompter, options, hostPathStyle()};
};

// A folder argument as an absolute path; a relative one means the working folder, as
// everywhere in a shell.
QString absoluteFolder(const QString& text);
QString withSeparator(QString folder);

// Done once the output reached its stream; else a line says so.
int outputStatus(LineOutput& out, ErrorOutput& err);

QString catalogueText(int number, const QString& t1 = {}, const QString& t2 = {},
                      const QString& t3 = {});
