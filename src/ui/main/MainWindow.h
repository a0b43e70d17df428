#pragma once

#include "PathStyle.h"
#include "series/SeriesEngine.h"
#include "series/SeriesRules.h"

#include <QMainWindow>

class FileSystem;
class Options;
class Prompter;
class QAction;
class QProgressBar;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class UpDown;

// The start-up window: the series fields, the run buttons, the exit button and the menu bar.
class MainWindow : public QMainWindow
{
    Q_OBJECT

  public:
    MainWindow(Options& options, Prompter& prompter, FileSystem& fs, QWidget* parent = nullptr);

    // Gathers and checks the series fields; on failure it has shown its message and
    // corrected the field, and answers false.
    bool getSeriesParameters(SeriesParameters& out);

    SeriesFieldTexts fieldTexts() const;

    // The busy state of a run: wait cursor, menus and run buttons off, the exit button
    // turned into the cancel button. The fields stay usable.
    void enterBusyState();
    void leaveBusyState();
    bool isBusy() const;

    // The per-folder steps and their run state, shared with the folder-list runs.
    SeriesEngine& engine() { return m_engine; }

    // The folder an empty target field stands for.
    static QString programFolder();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void buildMenus();
    void setTabOrder();

    // Change rules of the fields.
    bool cleanField(QLineEdit* box, RefuseMode mode);
    void clampField(QLineEdit* box, const NumberField& field);
    const NumberField* numberFieldOf(const QObject* box) const;

    void cmdCreateDeleteClick(int index);
    void cmdExitClick();
    void showProgress(const QString& what, int done, int total);
    void exitCleanup();

    Options& m_options;
    Prompter& m_prompter;
    PathStyle m_style = hostPathStyle();
    SeriesEngine m_engine;
    bool m_running = false;
    bool m_closeAfterRun = false;

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
    QMenu* m_mnuHelp = nullptr;
};
