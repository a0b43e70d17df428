#pragma once

#include <QString>

class FileSystem;
class FolderBrowser;
class FolderSteps;
class ListFileChooser;
class Options;
class Prompter;
class RunReport;

// What the windows and their runs take from the application: made once at start-up and lent
// to every window, so all of them share one set of options, one answer memory and one trash.
struct RunServices {
    Options& options;
    Prompter& prompter;
    FolderSteps& steps;
    FileSystem& fs;
    FolderBrowser& browser;
    ListFileChooser* listFiles = nullptr; // none: every file dialog answers as cancelled
    // Where the program is, as main() found it: an empty target field stands for its folder,
    // and the base folder question names it.
    QString programFolder; // as the host writes it, without a separator at its end
    QString programName;   // without its extension
    // Every folder of the latest run, as the steps told it; none: no report to show.
    const RunReport* report = nullptr;
};
