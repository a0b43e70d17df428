#pragma once

#include "folderlist/ListFileChooser.h"

#include <QPointer>
#include <QStringList>

#include <functional>

class QFileDialog;
class QWidget;

// List files picked in Qt's own file dialog: the filters read as given and still match, the
// default extension is appended, and a save asks before replacing the file it will really write.
class QtListFileChooser : public ListFileChooser
{
public:
    explicit QtListFileChooser(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    QString chooseToOpen(const ListFileChoice& choice) override;
    QString chooseToSave(const ListFileChoice& choice) override;

    // Qt reads a filter's patterns from its last parentheses, split at blanks: the caption
    // "リストファイル(*.txt,*.lst)" alone matches nothing. The patterns go into parentheses
    // of their own, which the dialog hides, so the caption reads exactly as given.
    static QStringList nameFilters(const QList<FileFilter>& filters);
    // The dialog as it is shown, for open or save.
    static QFileDialog* makeDialog(const ListFileChoice& choice, bool save, QWidget* parent);
    // The path with the default extension when its name has none.
    static QString withDefaultExtension(const QString& path, const QString& extension);

    // Answers the "replace it?" question; the real one is a message box.
    std::function<bool(const QString& path)> confirmReplace;

private:
    bool askReplace(const QString& path);

    QPointer<QWidget> m_parent;
};
