#include "ListWindow.h"

#include "FolderListModel.h"
#include "FolderListView.h"
#include "TemplateHintDelegate.h"
#include "common/Accessible.h"
#include "common/Controls.h"
#include "common/OnScreen.h"
#include "common/Twips.h"
#include "common/UiFont.h"
#include "messages/MessageCatalogue.h"
#include "messages/Prompter.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>

namespace
{

// Functions, not constants: the language is chosen after static initialisation.
QString closeCaption()
{
    return QCoreApplication::translate("ListWindow", "閉じる");
}

QString closeTip()
{
    return QCoreApplication::translate("ListWindow", "「フォルダ作成リスト」ダイアログをを閉じる");
}

// The places of the resize rules, in twips.
constexpr int frameWidth = 1275;
constexpr int frameHeight = 2265;
constexpr int listLeft = 150;
constexpr int listTop = 120;

} // namespace

ListWindow::ListWindow(Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_model(new FolderListModel(this))
{
    setObjectName(QStringLiteral("frmList"));
    setWindowTitle(tr("フォルダ作成リスト - ") + applicationTitle());
    setFont(uiFont());
    setModal(true);
    setSizeGripEnabled(false);
    buildControls();
    buildMenus();
    m_busy =
        std::make_unique<BusyState>(BusyState::Parts{this,
                                                     {m_mnuAction, m_mnuEdit},
                                                     {m_cmdCreateDelete[0], m_cmdCreateDelete[1]},
                                                     m_cmdExit,
                                                     closeCaption(),
                                                     closeTip()});
    resize(twipsToPixels(6030), twipsToPixels(3195) + m_menuBar->sizeHint().height());
    move(twipsToPixels(2715), twipsToPixels(3405));
    setupListColumns();
}

ListWindow::~ListWindow() = default;

void ListWindow::buildControls()
{
    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("menuBar"));
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));

    m_fraButton = new QGroupBox(m_client);
    m_fraButton->setObjectName(QStringLiteral("fraButton"));
    m_fraButton->setGeometry(twipsRect(4710, 0, frameWidth, frameHeight));
    m_cmdCreateDelete[0] =
        makeButton(m_fraButton, QStringLiteral("cmdCreateDelete0"), tr("作成"),
                   tr("リストのフォルダを作成します"), twipsRect(120, 240, 1110, 480));
    m_cmdCreateDelete[1] =
        makeButton(m_fraButton, QStringLiteral("cmdCreateDelete1"), tr("削除"),
                   tr("リストのフォルダを削除します"), twipsRect(120, 870, 1110, 480));
    m_cmdExit = makeButton(m_fraButton, QStringLiteral("cmdExit"), closeCaption(), closeTip(),
                           twipsRect(120, 1500, 1110, 480));
    // The close button doubles as the cancel button in a run, so it keeps the arrow then.
    m_cmdExit->setCursor(Qt::ArrowCursor);

    m_list = new FolderListView(m_client);
    m_list->setObjectName(QStringLiteral("ltvFolder"));
    m_list->setToolTip(tr("右クリックで「編集」メニューを表示します"));
    setReaderName(m_list, tr("フォルダ作成リスト"));
    // Item views do not fall back to the tooltip for their description.
    setReaderDescription(m_list, m_list->toolTip());
    m_list->setFont(uiFont(9));
    m_list->setGeometry(twipsRect(listLeft, listTop, 4485, 2760));
    m_list->setModel(m_model);
    m_hints = new TemplateHintDelegate(m_list);
    m_list->setItemDelegate(m_hints);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { showPopup(m_list->viewport()->mapToGlobal(at)); });
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ListWindow::updateEditItems);
    connect(m_model, &QAbstractItemModel::modelReset, this, &ListWindow::updateEditItems);

    for (int i = 0; i < 2; ++i) {
        connect(m_cmdCreateDelete[i], &QPushButton::clicked, this,
                [this, i] { Q_EMIT runRequested(i); });
    }
    connect(m_cmdExit, &QPushButton::clicked, this, &ListWindow::cmdExitClick);

    QWidget::setTabOrder(m_cmdCreateDelete[0], m_cmdCreateDelete[1]);
    QWidget::setTabOrder(m_cmdCreateDelete[1], m_cmdExit);
    QWidget::setTabOrder(m_cmdExit, m_list);
}

void ListWindow::buildMenus()
{
    m_mnuAction = m_menuBar->addMenu(tr("実行(&R)"));
    m_mnuAction->setObjectName(QStringLiteral("mnuAction"));
    QAction* import = addMenuItem(m_mnuAction, "mnuActionListImport", tr("リストのインポート"),
                                  QKeySequence(Qt::CTRL | Qt::Key_I));
    m_mnuEncoding = m_mnuAction->addMenu(tr("読み込んだ文字コード"));
    m_mnuEncoding->setObjectName(QStringLiteral("mnuActionEncoding"));
    m_mnuEncoding->setToolTip(tr("インポートしたファイルを読んだ文字コードです。もう一方を選ぶと、"
                                 "同じファイルをその文字コードで読み直します"));
    m_mnuEncoding->setToolTipsVisible(true);
    auto* encodings = new QActionGroup(this);
    m_encodingItems[0] = addMenuItem(m_mnuEncoding, "mnuEncodingUtf8", QStringLiteral("UTF-8"));
    m_encodingItems[1] =
        addMenuItem(m_mnuEncoding, "mnuEncoding932", encodingName(TextEncoding::CodePage932));
    for (int i = 0; i < 2; ++i) {
        m_encodingItems[i]->setCheckable(true);
        encodings->addAction(m_encodingItems[i]);
        const TextEncoding encoding = i == 0 ? TextEncoding::Utf8 : TextEncoding::CodePage932;
        connect(m_encodingItems[i], &QAction::triggered, this,
                [this, encoding] { Q_EMIT reimportRequested(encoding); });
    }
    showImportEncoding(std::nullopt);
    m_extended = addMenuItem(m_mnuAction, "mnuActionExtended", tr("拡張書式で展開"),
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
    m_extended->setCheckable(true);
    m_extended->setToolTip(tr("次のインポートから、リストを拡張書式で展開します"));
    connect(m_extended, &QAction::triggered, this, [this](bool on) { Q_EMIT extendedToggled(on); });
    QAction* exportRaw =
        addMenuItem(m_mnuAction, "mnuActionListExport0", tr("リストのエクスポート"),
                    QKeySequence(Qt::CTRL | Qt::Key_E));
    QAction* exportExpanded =
        addMenuItem(m_mnuAction, "mnuActionListExport1", tr("展開済みのエクスポート"),
                    QKeySequence(Qt::CTRL | Qt::Key_T));
    m_mnuAction->addSeparator()->setObjectName(QStringLiteral("mnuBlank1"));
    QAction* create = addMenuItem(m_mnuAction, "mnuActionCreateDelete0", tr("作成"),
                                  QKeySequence(Qt::CTRL | Qt::Key_C));
    QAction* remove = addMenuItem(m_mnuAction, "mnuActionCreateDelete1", tr("削除"),
                                  QKeySequence(Qt::CTRL | Qt::Key_D));
    m_report = addMenuItem(m_mnuAction, "mnuActionReport", tr("結果を表示"),
                           QKeySequence(Qt::CTRL | Qt::Key_R));
    m_report->setEnabled(false);
    m_mnuAction->addSeparator()->setObjectName(QStringLiteral("mnuBlank2"));
    QAction* exit = addMenuItem(m_mnuAction, "mnuActionExit", closeCaption(),
                                QKeySequence(Qt::CTRL | Qt::Key_W));

    m_mnuEdit = m_menuBar->addMenu(tr("編集(&E)"));
    m_mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    QAction* all = addMenuItem(m_mnuEdit, "mnuEditAllSelect", tr("全て選択"),
                               QKeySequence(Qt::CTRL | Qt::Key_A));
    m_editNoSelect = addMenuItem(m_mnuEdit, "mnuEditNoSelect", tr("全ての選択解除"),
                                 QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_editDelete =
        addMenuItem(m_mnuEdit, "mnuEditDelete", tr("選択項目の削除"), QKeySequence::Delete);
    // Cells copied from a spreadsheet, or lines of a list; Ctrl+C is 作成 here, so only the
    // paste has its usual key.
    QAction* paste =
        addMenuItem(m_mnuEdit, "mnuEditPaste", tr("貼り付け"), QKeySequence(Qt::CTRL | Qt::Key_V));
    connect(m_mnuEdit, &QMenu::aboutToShow, this, &ListWindow::updateEditItems);

    m_mnuPopup = new QMenu(this);
    m_mnuPopup->setObjectName(QStringLiteral("mnuPopup"));
    // The menu bar's 編集 as a popup: read by that name.
    setReaderName(m_mnuPopup, tr("編集"));
    QAction* popupAll = addMenuItem(m_mnuPopup, "mnuPopupAllSelect", tr("全て選択"));
    m_popupNoSelect = addMenuItem(m_mnuPopup, "mnuPopupNoSelect", tr("全ての選択解除"));
    m_popupDelete = addMenuItem(m_mnuPopup, "mnuPopupDelete", tr("選択項目の削除"));
    QAction* popupPaste = addMenuItem(m_mnuPopup, "mnuPopupPaste", tr("貼り付け"));

    connect(import, &QAction::triggered, this, [this] { Q_EMIT importRequested(); });
    connect(exportRaw, &QAction::triggered, this, [this] { Q_EMIT exportRequested(0); });
    connect(exportExpanded, &QAction::triggered, this, [this] { Q_EMIT exportRequested(1); });
    connect(create, &QAction::triggered, this, [this] { Q_EMIT runRequested(0); });
    connect(remove, &QAction::triggered, this, [this] { Q_EMIT runRequested(1); });
    connect(exit, &QAction::triggered, this, &ListWindow::cmdExitClick);
    connect(m_report, &QAction::triggered, this, [this] { Q_EMIT reportRequested(); });
    for (QAction* a : {all, popupAll})
        connect(a, &QAction::triggered, this, &ListWindow::selectAll);
    for (QAction* a : {m_editNoSelect, m_popupNoSelect})
        connect(a, &QAction::triggered, this, &ListWindow::deselectAll);
    for (QAction* a : {m_editDelete, m_popupDelete})
        connect(a, &QAction::triggered, this, &ListWindow::deleteSelection);
    for (QAction* a : {paste, popupPaste})
        connect(a, &QAction::triggered, this, [this] { Q_EMIT pasteRequested(); });
    updateEditItems();
}

void ListWindow::setExtendedChecked(bool on)
{
    m_extended->setChecked(on);
}

void ListWindow::setTemplateHint(const QString& line, Qt::TextElideMode elide)
{
    m_hints->setHint(line, elide);
}

void ListWindow::setReportEnabled(bool enabled)
{
    m_report->setEnabled(enabled);
}

void ListWindow::fitColumn(int width)
{
    // The width left for the column is a guess at the scroll bar's; never wider than the list
    // shows, or a horizontal scroll bar would stand there for a few pixels.
    m_list->setColumnWidth(0, std::min(width, m_list->maximumViewportSize().width() -
                                                  m_list->verticalScrollBar()->sizeHint().width()));
}

void ListWindow::setupListColumns()
{
    m_model->setHeader(tr("フォルダパス"));
    fitColumn(m_list->width());
}

int ListWindow::selectedItemCount() const
{
    // Range by range: counting rows one by one is quadratic on a scattered selection.
    int count = 0;
    for (const QItemSelectionRange& range : m_list->selectionModel()->selection())
        count += range.height();
    return count;
}

QStringList ListWindow::selectedEntries() const
{
    QList<std::pair<int, int>> ranges;
    for (const QItemSelectionRange& range : m_list->selectionModel()->selection())
        ranges.append({range.top(), range.bottom()});
    std::sort(ranges.begin(), ranges.end());
    QStringList out;
    const QStringList& entries = m_model->entries();
    int next = 0; // ranges may overlap after odd clicks; each row once
    for (const auto& [top, bottom] : ranges) {
        for (int row = std::max(top, next); row <= bottom; ++row)
            out << entries.at(row);
        next = std::max(next, bottom + 1);
    }
    return out;
}

void ListWindow::selectAll()
{
    if (m_model->rowCount() == 0)
        return;
    // One range for the whole list; selecting row by row is quadratic.
    const QItemSelection all(m_model->index(0), m_model->index(m_model->rowCount() - 1));
    m_list->selectionModel()->select(all, QItemSelectionModel::ClearAndSelect |
                                              QItemSelectionModel::Rows);
}

void ListWindow::deselectAll()
{
    m_list->selectionModel()->clearSelection();
}

void ListWindow::deleteSelection()
{
    if (m_list->isLocked())
        return;
    QList<std::pair<int, int>> ranges;
    for (const QItemSelectionRange& range : m_list->selectionModel()->selection())
        ranges.append({range.top(), range.bottom()});
    if (ranges.isEmpty())
        return;
    std::sort(ranges.begin(), ranges.end());
    // Merge what touches, so the removal sees disjoint runs from top to bottom.
    QList<std::pair<int, int>> runs;
    for (const auto& r : ranges) {
        if (!runs.isEmpty() && r.first <= runs.back().second + 1)
            runs.back().second = std::max(runs.back().second, r.second);
        else
            runs.append(r);
    }
    // Removing rows while thousands of them are selected is slow in the selection model.
    m_list->selectionModel()->clear();
    m_model->removeRanges(runs);
    updateEditItems();
}

void ListWindow::updateEditItems()
{
    const bool any = m_list->selectionModel()->hasSelection();
    for (QAction* a : {m_editNoSelect, m_editDelete, m_popupNoSelect, m_popupDelete})
        a->setEnabled(any && !(m_busy && m_busy->isBusy()));
}

void ListWindow::showEvent(QShowEvent* event)
{
    // Its fixed place is below the main window; on a small or highly scaled screen that can be
    // partly off the screen.
    keepOnScreen(this);
    QDialog::showEvent(event);
}

void ListWindow::showPopup(const QPoint& at)
{
    if (m_busy->isBusy())
        return;
    updateEditItems();
    m_mnuPopup->popup(at);
}

void ListWindow::enterBusyState()
{
    m_busy->enter();
    m_list->setLocked(true);
}

void ListWindow::showImportEncoding(std::optional<TextEncoding> used, const QString& why)
{
    m_mnuEncoding->setEnabled(used.has_value());
    for (int i = 0; i < 2; ++i) {
        const TextEncoding encoding = i == 0 ? TextEncoding::Utf8 : TextEncoding::CodePage932;
        const bool current = used == encoding;
        m_encodingItems[i]->setChecked(current);
        // The one in use tells why; the other reads the file again.
        m_encodingItems[i]->setText(current && !why.isEmpty()
                                        ? encodingName(encoding) + QStringLiteral(" (") + why +
                                              QLatin1Char(')')
                                        : encodingName(encoding));
        m_encodingItems[i]->setToolTip(current ? tr("この文字コードで読みました")
                                               : tr("この文字コードで読み直します"));
    }
}

void ListWindow::showProgress(const QString& what, int done, int total)
{
    setWindowTitle(tr("フォルダ作成リスト - ") + applicationTitle() + QStringLiteral(" - ") + what +
                   QStringLiteral(" %1 / %2").arg(done).arg(total));
}

void ListWindow::leaveBusyState()
{
    m_busy->leave();
    setWindowTitle(tr("フォルダ作成リスト - ") + applicationTitle());
    m_list->setLocked(false);
    updateEditItems();
}

void ListWindow::cmdExitClick()
{
    const bool cancelled = m_busy->requestCancel([this] {
        m_prompter.prompt(PromptRequest{-1, tr("処理を中断します"), MessageStyle::Ok});
    });
    if (!cancelled)
        closeList();
}

void ListWindow::closeList()
{
    hide(); // ends the modal showing; the window is kept for the next one
    m_list->selectionModel()->clear();
    m_model->clear();
    m_hints->setHint({});
}

void ListWindow::reject()
{
    // Escape, like the title-bar close, is the close button.
    cmdExitClick();
}

void ListWindow::closeEvent(QCloseEvent* event)
{
    if (m_busy->holdClose(event))
        return;
    event->accept();
    closeList();
}

void ListWindow::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    // Every activation starts without a selection.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        deselectAll();
}

void ListWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    const int menuHeight = m_menuBar->sizeHint().height();
    m_menuBar->setGeometry(0, 0, width(), menuHeight);
    m_client->setGeometry(0, menuHeight, width(), height() - menuHeight);

    // Too small for the buttons: back to the least size, as an outer size in twips.
    const int clientWidth = pixelsToTwips(m_client->width());
    const int clientHeight = pixelsToTwips(m_client->height());
    const int decorationHeight = frameGeometry().height() - height();
    const int decorationWidth = frameGeometry().width() - width();
    if (clientHeight < frameHeight) {
        resize(width(), std::max(twipsToPixels(frameHeight + 500) - decorationHeight,
                                 menuHeight + twipsToPixels(frameHeight)));
        return;
    }
    if (frameWidth + 1000 > clientWidth) {
        resize(twipsToPixels(frameWidth + 1500) - decorationWidth, height());
        return;
    }
    m_list->setGeometry(twipsToPixels(listLeft), twipsToPixels(listTop),
                        twipsToPixels(clientWidth - 1510), twipsToPixels(clientHeight - 200));
    fitColumn(twipsToPixels(clientWidth - 1510 - 112));
    m_fraButton->move(twipsToPixels(clientWidth - 1335), 0);
}
