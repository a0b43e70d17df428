#pragma once

#include "CommandArguments.h"
#include "CommandServices.h"
#include "TerminalOutput.h"

// list-create and list-delete: every folder of a list file, or with --dry-run the paths it
// would touch, streamed.
int runList(const CommandArguments& a, const TerminalStreams& streams,
            const CommandEnvironment& environment);
// expand: the entries of a list file, streamed.
int runExpand(const CommandArguments& a, const TerminalStreams& streams,
              const CommandEnvironment& environment);
