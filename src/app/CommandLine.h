#pragma once

#include "text/TextReader.h"

#include <QString>
#include <QStringList>

#include <optional>

// `nmaker COMMAND ...`: one run on the core without a window, for terminals and scripts.

namespace ExitStatus
{
constexpr int Done = 0;         // everything done (existing, kept and missing folders count)
constexpr int Failed = 1;       // some folder could not be created or trashed
constexpr int BadArguments = 2; // bad arguments or a bad list: nothing was done
} // namespace ExitStatus

enum class Command { Create, Delete, ListCreate, ListDelete, Expand, Help, Version };

struct CommandArguments {
    Command command = Command::Help;
    // create / delete: the series, as given (the target may still be relative)
    QString target;
    QString prefix;
    QString suffix;
    int first = 0; // first <= last once parsed
    int last = 0;
    int digits = 3;
    bool zeroFill = true;
    // list-create / list-delete / expand
    QString listFile;
    QString base; // empty: none given
    bool withContents = false;
    bool dryRun = false;
    EncodingChoice encoding = EncodingChoice::Auto;
    bool nulOutput = false; // -0: paths ended by NUL, as they are, for xargs -0
};

struct ParsedArguments {
    std::optional<CommandArguments> arguments;
    QString error;           // one line, when arguments is empty
    bool usageError = false; // the error is about the command's shape: add the help hint
};

// Reads the arguments after the program's name and applies every rule that needs no disk:
// the command's options, the number ranges, refused characters, digits against the last number.
ParsedArguments parseCommandLine(const QStringList& args);

// True when the arguments ask for the command line rather than the window: anything but no
// arguments or Qt's own options (-platform, -style, ...).
bool wantsCommandLine(int argc, char* argv[]);

// Runs one command and returns its exit status.
int runCommandLine(int argc, char* argv[]);
