#pragma once

#include "CommandArguments.h"
#include "TerminalOutput.h"

// undo: takes the newest run on record back (a creation to the trash, a deletion out of it), or
// with --dry-run shows the paths that would move.
int runUndo(const CommandArguments& a, const TerminalStreams& streams);
