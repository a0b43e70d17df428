#pragma once

#include "CommandServices.h"
#include "TerminalOutput.h"

#include <QStringList>

// `nmaker COMMAND ...`: one run on the core without a window, for terminals and scripts.

// Runs the command the arguments (after the program's name) ask for and returns its exit
// status.
int runCommand(const QStringList& args, const TerminalStreams& streams,
               const CommandEnvironment& environment);

// The whole program for a command: QtCore only (no display is needed), the arguments taken
// from argv exactly, output to stdout and stderr.
int runCommandLineMain(int argc, char* argv[]);
