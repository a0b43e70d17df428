#pragma once

#include "fileops/FolderChooser.h"
#include "folderlist/ListFileChooser.h"

#include <QList>
#include <QStringList>

// Answers the folder browser from a script (an empty answer is a cancel) and records what
// was asked. With the script used up every browse is cancelled.
class ScriptedFolderChooser : public FolderChooser
{
public:
    QString chooseFolder(const FolderChoice& choice) override;

    QStringList answers;
    QList<FolderChoice> asked;
};

// The same for list files: one script for opening, one for saving.
class ScriptedListFileChooser : public ListFileChooser
{
public:
    QString chooseToOpen(const ListFileChoice& choice) override;
    QString chooseToSave(const ListFileChoice& choice) override;

    QStringList openAnswers;
    QStringList saveAnswers;
    QList<ListFileChoice> openAsked;
    QList<ListFileChoice> saveAsked;
};
