#pragma once

#include "MemoryFileSystem.h"
#include "ScriptedPrompter.h"
#include "TestServices.h"
#include "about/AboutDialog.h"
#include "folderlist/FolderListModel.h"
#include "folderlist/ListWindow.h"
#include "main/MainWindow.h"
#include "report/ReportWindow.h"
#include "run/RunReport.h"
#include "settings/Options.h"
#include "settings/SettingsDialog.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// Every window of the program at once, each with something in it, for the checks that walk
// all of them: the main window with its settings dialog and a template, the list window with
// two entries, the version dialog, and the report of a run with a created and a failed folder.
class AllWindows
{
public:
    AllWindows()
        : m_services(m_fs, m_options, m_prompter),
          m_main(m_services.services(),
                 MainWindowPaths{m_dir.filePath(QStringLiteral("SetNMaker.cf")),
                                 QDir::tempPath() + QStringLiteral("/"),
                                 m_dir.filePath(QStringLiteral("preferences.ini"))}),
          m_list(m_prompter)
    {
        // With a template, so that its line below the controls is looked at too.
        m_main.setFolderTemplate(
            {QDir::toNativeSeparators(m_dir.filePath(QStringLiteral("テンプレート"))), true});
        m_list.model().appendEntries({QStringLiteral("/w/case001"), QStringLiteral("/w/case002")});
        m_list.setTemplateHint(QStringLiteral("JPG/  RAW/  memo.txt"));
        m_report.runStarted(RunKind::Create);
        m_report.folderDone({FolderOutcome::Created, QStringLiteral("/w/case001"), {}, false, 1});
        m_report.folderDone({FolderOutcome::Failed, QStringLiteral("/w/case002"),
                             QStringLiteral("使用中"), false, 2});
        m_reportWindow = std::make_unique<ReportWindow>(m_report, ReportActions{});
    }

    static QStringList names()
    {
        return {QStringLiteral("frmMain"), QStringLiteral("frmList"), QStringLiteral("frmSetting"),
                QStringLiteral("frmAbout"), QStringLiteral("frmReport")};
    }

    QWidget* window(const QString& name)
    {
        if (name == QLatin1String("frmMain"))
            return &m_main;
        if (name == QLatin1String("frmList"))
            return &m_list;
        if (name == QLatin1String("frmSetting"))
            return m_main.findChild<SettingsDialog*>(name);
        if (name == QLatin1String("frmAbout"))
            return &m_about;
        return m_reportWindow.get();
    }

    MainWindow& main() { return m_main; }
    ListWindow& list() { return m_list; }

private:
    QTemporaryDir m_dir;
    Options m_options;
    ScriptedPrompter m_prompter;
    MemoryFileSystem m_fs;
    TestServices m_services;
    MainWindow m_main;
    ListWindow m_list;
    AboutDialog m_about;
    RunReport m_report;
    std::unique_ptr<ReportWindow> m_reportWindow;
};
