#pragma once

class FolderBrowser;
class FolderSteps;
class ListFileChooser;
class Options;
class Prompter;

// What the windows and their runs take from the application: made once at start-up and lent
// to every window, so all of them share one set of options, one answer memory and one trash.
struct RunServices {
    Options& options;
    Prompter& prompter;
    FolderSteps& steps; // and through it the file system
    FolderBrowser& browser;
    ListFileChooser* listFiles = nullptr; // none: every file dialog answers as cancelled
};
