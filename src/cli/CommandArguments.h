#pragma once

#include "sheet/SheetTable.h"
#include "text/TextReader.h"

#include <QString>

#include <optional>

// What one `nmaker COMMAND ...` asks for, as the parser leaves it.

namespace ExitStatus
{
constexpr int Done = 0;         // everything done (existing, kept and missing folders count)
constexpr int Failed = 1;       // some folder could not be created, trashed or taken back
constexpr int BadArguments = 2; // bad arguments, a bad list, nothing to undo or a bad journal:
                                // nothing was done
} // namespace ExitStatus

enum class Command { Create, Delete, ListCreate, ListDelete, Expand, Undo, Help, Version };

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
    bool extended = false; // --extended: the extended list syntax
    // A table rather than a list (by the file's name, or --format): each row one entry
    std::optional<SheetFormat> sheetFormat;
    QString sheet; // --sheet: a workbook's sheet; empty: the first
    bool fillDown = true;
    bool skipHeader = false;
    bool nulOutput = false; // -0: paths ended by NUL, as they are, for xargs -0
    // create / list-create: the template every made folder gets a copy of; empty for none
    QString templateFolder;
    bool foldersOnly = false;
    // every command: the output as JSON Lines; for a run also a CSV report; how much stderr says
    bool json = false;
    QString reportFile;   // empty: none
    bool quiet = false;   // no progress, no summary line; failures are still named
    bool verbose = false; // a line for every folder
};

// The list file "-": the list comes from standard input.
inline bool listFromStdin(const CommandArguments& a)
{
    return a.listFile == QLatin1String("-");
}

struct ParsedArguments {
    std::optional<CommandArguments> arguments;
    QString error;           // one line, when arguments is empty
    bool usageError = false; // the error is about the command's shape: add the help hint
};
