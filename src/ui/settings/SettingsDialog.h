#pragma once

#include "series/SeriesRules.h"
#include "settings/Options.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class SettingsHost;

// The settings dialog. It shows the one Options object and edits it in place, so a change is
// in force at once; it is loaded once, hidden, and shown modally as often as the user likes.
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    SettingsDialog(Options& options, SettingsHost& host, QWidget* parent = nullptr);

    // Escape and the cancel button: restore what the dialog was shown with, then save.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The state when the dialog was shown, for Undo and Cancel.
    struct Snapshot {
        int useSavedSettings = 1;
        int checkedIndex[Options::GroupCount] = {0, 0, 0};
        int saveFieldValues = 1;
        SeriesFieldTexts fields;
    };

    void buildControls();
    void setTabOrder();
    void showOptions();
    void takeSnapshot();

    void onOk();
    void onCancel();
    void onSave();
    void onDefault();
    void onUndo();
    void onOptionClicked(Options::Group group, int index);
    void onUseSavedClicked(bool checked);
    void onSaveFieldsClicked(bool checked);

    Options& m_options;
    SettingsHost& m_host;
    Snapshot m_snapshot;

    QGroupBox* m_frames[Options::GroupCount + 1] = {};
    QRadioButton* m_opt[Options::GroupCount][Options::ButtonsPerGroup] = {};
    QCheckBox* m_chkSetSetting1 = nullptr;
    QCheckBox* m_chkSetSetting2 = nullptr;
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdCancel = nullptr;
    QPushButton* m_cmdSave = nullptr;
    QPushButton* m_cmdDefault = nullptr;
    QPushButton* m_cmdUndo = nullptr;
    QComboBox* m_cboLanguage = nullptr;
};
