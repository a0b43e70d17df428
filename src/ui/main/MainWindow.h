#pragma once

#include "PathStyle.h"
#include "common/BusyState.h"
#include "common/WindowRunContext.h"
#include "folderlist/ListExport.h"
#include "folderlist/ListHost.h"
#include "run/RunServices.h"
#include "series/SeriesEngine.h"
#include "series/SeriesRules.h"
#include "settings/SettingsHost.h"
#include "templates/FolderTemplate.h"

#include <QMainWindow>

#include <memory>

class ListController;
class Preferences;
class QAction;
class QProgressBar;
class SettingsDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;
class TemplateLine;
class UpDown;

// Where the main window keeps its settings, and the default target folder.
struct MainWindowPaths {
    QString settingsFile;
    QString tempFolder;      // with its trailing separator
    QString preferencesFile; // the user's own choices; empty: kept for this run only
};

// The start-up window: the series fields, the run buttons, the exit button and the menu bar.
// It owns the settings dialog, which edits the options in place.
class MainWindow : public QMainWindow, public SettingsHost, public ListHost
{
    Q_OBJECT

public:
    MainWindow(const RunServices& services, const MainWindowPaths& paths,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // Gathers and checks the series fields; on failure it has shown its message and
    // corrected the field, and answers false.
    bool getSeriesParameters(SeriesParameters& out);

    // ListHost
    QWidget* hostWindow() override { return this; }
    bool validateSeries(SeriesParameters& out) override { return getSeriesParameters(out); }
    QString targetText() const override;
    bool isClosing() const override { return m_busy->closeAfterRunPending(); }

    // The six field texts, as the settings file and the settings dialog see them.
    SeriesFieldTexts fieldTexts() const override;
    void setFieldTexts(const SeriesFieldTexts& texts) override;
    void saveSettings() override;
    void resetSettings() override;
    std::optional<Language> savedLanguage() const override;
    void saveLanguage(Language language) override;
    void setDefaultFields();

    SettingsDialog* settingsDialog() const { return m_settingsDialog; }

    // The busy state of a run: wait cursor, menus and run buttons off, the exit button
    // turned into the cancel button. The fields stay usable.
    void enterBusyState() override;
    void leaveBusyState() override;
    // The run context of a run of this window, its progress shown as `what`.
    WindowRunContext runContext(const QString& what) override;
    // True once when the window was closed during the run that just ended.
    bool closeAfterRunRequested() { return m_busy->takeCloseAfterRun(); }
    bool isBusy() const override { return m_busy->isBusy(); }

    ListController& lists() const { return *m_lists; }
    // The user's own choices, one file for this window and the list window alike.
    Preferences& preferences() const { return *m_preferences; }

    // The template of the runs: into the options, the preferences file and the line below the
    // controls (shown only while one is set); a failed save says so and holds for this run.
    void setFolderTemplate(const FolderTemplate& value);
    // The menu's テンプレートの指定...: the folder browser, at the template or the target.
    void chooseTemplate();

    // The series in the list window, after the same checks as a run.
    void previewSeries();
    // Takes the last run back, a creation or a deletion, whichever is newer and has anything
    // left to take back; the item names which, and is on only while there is one.
    void undoLastRun();
    void updateUndoItem();

    // The folder an empty target field stands for.
    QString programFolder() const { return m_services.programFolder; }
    // The folder browser for the target folder; empty when cancelled.
    QString browseTargetFolder();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void setTabOrder();

    // Change rules of the fields.
    bool cleanField(QLineEdit* box, RefuseMode mode);
    void clampField(QLineEdit* box, const NumberField& field);
    void setNumberText(QLineEdit* box, const QString& text);
    const NumberField* numberFieldOf(const QObject* box) const;

    void cmdCreateDeleteClick(int index);
    // The series as a list file: its range line, or every folder name.
    void exportSeries(ExportKind kind);
    // A list import started here; the list window shows what it read.
    void importList();
    void cmdExitClick();
    void cmdReferClick();
    bool isMenuShortcut(const QKeySequence& key) const;
    // Drags onto the target-folder field: true when the event was the field's drop handling.
    bool folderDragEvent(QEvent* event);
    void showProgress(const QString& what, int done, int total);
    // The template items and the line as the options hold them.
    void updateTemplateItems();
    void showTemplateLine();
    void loadSettings();
    void exitCleanup();

    RunServices m_services;
    Options& m_options;
    Prompter& m_prompter;
    PathStyle m_style = hostPathStyle();
    SeriesEngine m_engine;
    MainWindowPaths m_paths;
    SettingsDialog* m_settingsDialog = nullptr;
    std::unique_ptr<BusyState> m_busy;
    std::unique_ptr<Preferences> m_preferences;
    ListController* m_lists = nullptr;

    QLineEdit* m_txtFolder = nullptr;
    QPushButton* m_cmdRefer = nullptr;
    QLineEdit* m_txtNoStart = nullptr;
    QLineEdit* m_txtNoEnd = nullptr;
    QLineEdit* m_txtNoKeta = nullptr;
    UpDown* m_udNoStart = nullptr;
    UpDown* m_udNoEnd = nullptr;
    UpDown* m_udNoKeta = nullptr;
    QGroupBox* m_fraConst = nullptr;
    QLineEdit* m_txtPrefixConst = nullptr;
    QLineEdit* m_txtSuffixConst = nullptr;
    QPushButton* m_cmdCreateDelete[2] = {nullptr, nullptr};
    QPushButton* m_cmdExit = nullptr;
    QProgressBar* m_progress = nullptr;

    QMenu* m_mnuFile = nullptr;
    QAction* m_mnuFileUndo = nullptr;
    QAction* m_mnuFileReport = nullptr;
    QAction* m_mnuFileTemplate = nullptr;
    QAction* m_mnuFileTemplateFoldersOnly = nullptr;
    QAction* m_mnuFileTemplateClear = nullptr;
    // Below the controls, so that none of them moves; there only while a template is set.
    QStatusBar* m_templateBar = nullptr;
    TemplateLine* m_templateLine = nullptr;
    QMenu* m_mnuHelp = nullptr;
};
