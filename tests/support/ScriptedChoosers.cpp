#include "ScriptedChoosers.h"

QString ScriptedFolderChooser::chooseFolder(const FolderChoice& choice)
{
    asked << choice;
    return answers.isEmpty() ? QString() : answers.takeFirst();
}

QString ScriptedListFileChooser::chooseToOpen(const ListFileChoice& choice)
{
    openAsked << choice;
    return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
}

QString ScriptedListFileChooser::chooseToSave(const ListFileChoice& choice)
{
    saveAsked << choice;
    return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
}
