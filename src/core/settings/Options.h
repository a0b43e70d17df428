#pragma once

#include "run/RunOptions.h"

#include <QObject>

// The five options. One instance lives for the whole program; every reader asks it at the
// moment of use and the settings dialog edits it in place, so a change is in force at once.
// The three choices are kept as the index of the selected button (0 or 1), the two switches
// as check-box values (0 or 1), exactly as the settings file stores them.
class Options : public QObject, public RunOptions
{
    Q_OBJECT

public:
    enum Group { FolderName, Create, Delete };
    static constexpr int GroupCount = 3;
    static constexpr int ButtonsPerGroup = 2;

    explicit Options(QObject* parent = nullptr);

    // Index of the selected button of a group.
    int checkedIndex(Group group) const { return m_checked[group]; }
    // False (and nothing changes) when the group has no button of that index.
    bool setCheckedIndex(Group group, int index);

    int useSavedSettings() const { return m_useSavedSettings; }
    int saveFieldValues() const { return m_saveFieldValues; }
    // False (and nothing changes) for values other than 0 and 1.
    bool setUseSavedSettings(int value);
    bool setSaveFieldValues(int value);

    bool zeroFill() const { return m_checked[FolderName] == 0; }
    bool confirmExisting() const override { return m_checked[Create] == 1; }
    bool deleteNonEmpty() const override { return m_checked[Delete] == 1; }
    // Not one of the five: the window keeps it in preferences.ini, a command takes it from
    // its arguments.
    FolderTemplate folderTemplate() const override { return m_template; }
    void setFolderTemplate(const FolderTemplate& value) { m_template = value; }

    // Button 0 of every group, both switches on.
    void setDefaults();

Q_SIGNALS:
    void changed();

private:
    int m_checked[GroupCount] = {0, 0, 0};
    int m_useSavedSettings = 1;
    int m_saveFieldValues = 1;
    FolderTemplate m_template;
};
