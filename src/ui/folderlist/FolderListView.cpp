#include "FolderListView.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>

FolderListView::FolderListView(QWidget* parent) : QTreeView(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true); // 100,000 rows lay out without measuring each
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setAllColumnsShowFocus(true);
    setSortingEnabled(false);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    // The selection stays visible when the list loses the focus.
    QPalette p = palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        p.setColor(QPalette::Inactive, role, p.color(QPalette::Active, role));
    setPalette(p);
}

void FolderListView::setLocked(bool locked)
{
    m_locked = locked;
    if (locked && state() == EditingState)
        closePersistentEditor(currentIndex());
}

bool FolderListView::event(QEvent* event)
{
    // Platforms turn the same keys into a context-menu request of their own, placed at the
    // mouse or the middle of the view; the key press has already opened the menu.
    if (event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        event->accept();
        return true;
    }
    return QTreeView::event(event);
}

void FolderListView::keyPressEvent(QKeyEvent* event)
{
    const bool menuKey = event->key() == Qt::Key_Menu ||
                         (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (menuKey && state() != EditingState) {
        if (currentIndex().isValid())
            scrollTo(currentIndex());
        const QRect row = visualRect(currentIndex());
        Q_EMIT customContextMenuRequested(row.isValid() ? row.bottomLeft() : QPoint(0, 0));
        event->accept();
        return;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && state() != EditingState && currentIndex().isValid() && !m_locked) {
        if (edit(currentIndex(), EditKeyPressed, event)) {
            event->accept();
            return;
        }
    }
    QTreeView::keyPressEvent(event);
}

bool FolderListView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (m_locked)
        return false;
    return QTreeView::edit(index, trigger, event);
}
