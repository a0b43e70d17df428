#pragma once

#include <QTreeView>

// The list of the list window: one column with its header, several rows selectable, the
// selection kept visible without the focus, and Enter starting the in-place edit of the
// current row (item views otherwise only emit activated() for it). The menu key and Shift+F10
// ask for the right-click menu at the current row.
class FolderListView : public QTreeView
{
    Q_OBJECT

public:
    explicit FolderListView(QWidget* parent = nullptr);

    // While a run or an export reads the list, nothing may change it.
    void setLocked(bool locked);
    bool isLocked() const { return m_locked; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
    bool m_locked = false;
};
