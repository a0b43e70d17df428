#pragma once

#include <QList>
#include <QString>

// One filter of a file dialog: the caption the user reads and the patterns it matches,
// separated by ';' ("*.txt;*.lst").
struct FileFilter {
    QString caption;
    QString patterns;
};

struct ListFileChoice {
    QString title;
    QList<FileFilter> filters; // the first one preselected
    QString defaultExtension;  // without the dot; appended when a typed name has none
};

// The port through which list files are picked for import and export. The Qt version is a
// file dialog; tests script the answers.
class ListFileChooser
{
public:
    virtual ~ListFileChooser() = default;

    // An existing file's path, or empty when the user cancelled.
    virtual QString chooseToOpen(const ListFileChoice& choice) = 0;
    // The path to write, the default extension already appended, the user already asked
    // about replacing an existing file; empty when the user cancelled.
    virtual QString chooseToSave(const ListFileChoice& choice) = 0;
};
