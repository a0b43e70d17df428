#pragma once

#include "ScriptedChoosers.h"
#include "fileops/FolderBrowser.h"
#include "run/FolderSteps.h"
#include "run/RunServices.h"

// What a window takes from the application, made over a test's own file system, options and
// prompter, with scripted choosers.
struct TestServices {
    TestServices(FileSystem& fs, Options& options, Prompter& prompter,
                 PathStyle style = hostPathStyle())
        : options(options), prompter(prompter), steps(fs, prompter, options, style), browser(fs)
    {
        browser.setFolderChooser(&folders);
        browser.setBrowsePrompter(&prompter);
    }
    TestServices(const TestServices&) = delete;
    TestServices& operator=(const TestServices&) = delete;

    RunServices services() { return RunServices{options, prompter, steps, browser, &listFiles}; }

    Options& options;
    Prompter& prompter;
    FolderSteps steps;
    FolderBrowser browser;
    ScriptedFolderChooser folders;
    ScriptedListFileChooser listFiles;
};
