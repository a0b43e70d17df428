#pragma once

#include "CommandArguments.h"

#include <QByteArrayList>
#include <QStringList>

// Reads the arguments after the program's name and applies every rule that needs no disk: the
// command's options, the number ranges, and the checks every series gets (refused characters,
// digits against the last number). Options may come as "--name value" or "--name=value"; "--"
// ends them; an option given twice, a value for a switch or one missing is an error of its own.
ParsedArguments parseCommandLine(const QStringList& args);

// The text of --help.
QString usageText();

// True when the arguments ask for the command line rather than the window: anything but no
// arguments or Qt's own options (-platform, -style, ...).
bool wantsCommandLine(const QByteArrayList& args);
