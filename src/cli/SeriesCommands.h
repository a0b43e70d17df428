#pragma once

#include "CommandArguments.h"
#include "TerminalOutput.h"

// create and delete: a numbered series, or with --dry-run the paths it would touch.
int runSeries(const CommandArguments& a, const TerminalStreams& streams);
