#pragma once

#include "fileops/FolderChooser.h"

#include <QPointer>

class QDialog;
class QWidget;

// The folder chooser on the host: a folder dialog with the instruction text above it,
// starting at the host's equivalent of the requested root.
class QtFolderChooser : public FolderChooser
{
public:
    explicit QtFolderChooser(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    QString chooseFolder(const FolderChoice& choice) override;

    // The folder a browse of `choice` starts in.
    static QString startFolder(const FolderChoice& choice);
    // The dialog itself, not yet shown; its QFileDialog child is named "folderDialog".
    static QDialog* makeDialog(const FolderChoice& choice, QWidget* parent);

private:
    QPointer<QWidget> m_parent;
};
