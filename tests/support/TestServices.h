#pragma once

#include "ScriptedChoosers.h"
#include "fileops/FolderBrowser.h"
#include "run/FolderSteps.h"
#include "run/RunReport.h"
#include "run/RunServices.h"
#include "settings/Options.h"

// What a window takes from the application, made over a test's own file system, options and
// prompter, with scripted choosers.
struct TestServices {
    TestServices(FileSystem& fs, Options& options, Prompter& prompter,
                 PathStyle style = hostPathStyle())
        : options(options), prompter(prompter), fs(fs), steps(fs, prompter, options, style),
          browser(fs), programFolder(style == PathStyle::Windows ? QStringLiteral("C:\\prog")
                                                                 : QStringLiteral("/prog"))
    {
        steps.addListener(&report);
        browser.setFolderChooser(&folders);
        browser.setBrowsePrompter(&prompter);
    }
    TestServices(const TestServices&) = delete;
    TestServices& operator=(const TestServices&) = delete;

    RunServices services()
    {
        return RunServices{options, prompter,   steps,         fs,
                           browser, &listFiles, programFolder, QStringLiteral("nmaker"),
                           &report};
    }

    Options& options;
    Prompter& prompter;
    FileSystem& fs;
    FolderSteps steps;
    FolderBrowser browser;
    ScriptedFolderChooser folders;
    ScriptedListFileChooser listFiles;
    RunReport report;
    QString programFolder;
};
