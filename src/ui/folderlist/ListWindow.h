#pragma once

#include "common/BusyState.h"
#include "text/TextReader.h"

#include <QDialog>
#include <QStringList>

#include <memory>
#include <optional>

class FolderListModel;
class FolderListView;
class Prompter;
class QAction;
class QActionGroup;
class QGroupBox;
class QMenu;
class QMenuBar;
class QPushButton;
class TemplateHintDelegate;

// The list window: the folder list, one full path per row, shown modally over the main
// window. It is made once and kept; closing it hides it and empties the list. Its import,
// export and run commands are the owner's, reached through the signals.
class ListWindow : public QDialog
{
    Q_OBJECT

public:
    explicit ListWindow(Prompter& prompter, QWidget* parent = nullptr);
    ~ListWindow() override;

    FolderListModel& model() const { return *m_model; }
    FolderListView* view() const { return m_list; }
    QPushButton* exitButton() const { return m_cmdExit; }
    BusyState& busy() const { return *m_busy; }

    // One column, "フォルダパス", as wide as the list.
    void setupListColumns();
    int selectedItemCount() const;
    // The selected entries in list order.
    QStringList selectedEntries() const;

    void selectAll();
    void deselectAll();
    void deleteSelection();

    // The busy state of a run or an export: the list cannot change meanwhile.
    void enterBusyState();
    void leaveBusyState();

    // Hides the window and empties the list, as its close button does when idle.
    void closeList();

    // Which encoding the latest import read its file in, and why; nothing before an import.
    // The other one is offered for reading the same file again.
    void showImportEncoding(std::optional<TextEncoding> used, const QString& why = {});
    // 結果を表示 is there once a run has finished.
    void setReportEnabled(bool enabled);
    // How far a long command has come, in the title.
    void showProgress(const QString& what, int done, int total);
    // 拡張書式で展開 as the owner keeps it; toggling it only tells the owner.
    void setExtendedChecked(bool on);
    // The line painted under every row, what the template brings into each folder; empty for
    // none. The entries do not change.
    void setTemplateHint(const QString& line, Qt::TextElideMode elide = Qt::ElideRight);
    TemplateHintDelegate& templateHints() const { return *m_hints; }

Q_SIGNALS:
    void importRequested();
    void pasteRequested();
    void exportRequested(int kind); // 0 as written, 1 expanded
    void runRequested(int index);   // 0 create, 1 delete
    void reimportRequested(TextEncoding encoding);
    void reportRequested();
    void extendedToggled(bool on);

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void buildControls();
    void buildMenus();
    void updateEditItems();
    void fitColumn(int width);
    void showPopup(const QPoint& at);
    void cmdExitClick();

    Prompter& m_prompter;
    FolderListModel* m_model = nullptr;
    QMenuBar* m_menuBar = nullptr;
    QWidget* m_client = nullptr;
    QGroupBox* m_fraButton = nullptr;
    QPushButton* m_cmdCreateDelete[2] = {nullptr, nullptr};
    QPushButton* m_cmdExit = nullptr;
    FolderListView* m_list = nullptr;
    TemplateHintDelegate* m_hints = nullptr;
    QMenu* m_mnuAction = nullptr;
    QMenu* m_mnuEdit = nullptr;
    QMenu* m_mnuPopup = nullptr;
    QMenu* m_mnuEncoding = nullptr;
    QAction* m_encodingItems[2] = {nullptr, nullptr}; // UTF-8, code page 932
    QAction* m_report = nullptr;
    QAction* m_extended = nullptr;
    QAction* m_editNoSelect = nullptr;
    QAction* m_editDelete = nullptr;
    QAction* m_popupNoSelect = nullptr;
    QAction* m_popupDelete = nullptr;
    std::unique_ptr<BusyState> m_busy;
};
