#include "CommandLine.h"

// The command line alone: the same commands as `nmaker COMMAND`, without Qt Gui or Widgets.
int main(int argc, char* argv[])
{
    return runCommandLineMain(argc, argv);
}
