#include "ReportWindow.h"

#include "ReportModel.h"
#include "common/Accessible.h"
#include "common/OnScreen.h"
#include "common/UiFont.h"
#include "messages/MessageCatalogue.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace
{

QList<FolderOutcome> outcomesOf(RunKind kind)
{
    if (kind == RunKind::Create)
        return {FolderOutcome::Created, FolderOutcome::Existing, FolderOutcome::Failed};
    if (kind == RunKind::Restore)
        return {FolderOutcome::Restored, FolderOutcome::Kept, FolderOutcome::Missing,
                FolderOutcome::Failed};
    return {FolderOutcome::Trashed, FolderOutcome::Kept, FolderOutcome::Missing,
            FolderOutcome::Failed};
}

QString runTitle(RunKind kind)
{
    switch (kind) {
    case RunKind::Create:
        return QCoreApplication::translate("ReportWindow", "作成の結果");
    case RunKind::Delete:
        return QCoreApplication::translate("ReportWindow", "削除の結果");
    case RunKind::Undo:
    case RunKind::Restore:
        return QCoreApplication::translate("ReportWindow", "元に戻した結果");
    }
    return {};
}

} // namespace

ReportWindow::ReportWindow(const RunReport& report, ReportActions actions, QWidget* parent)
    : QDialog(parent), m_report(report), m_actions(std::move(actions)),
      m_model(new ReportModel(report.rows(), this))
{
    setObjectName(QStringLiteral("frmReport"));
    setWindowTitle(tr("実行結果 - ") + applicationTitle());
    setFont(uiFont());
    setModal(true);

    m_summary = new QLabel(runTitle(report.kind()) + QStringLiteral(": ") + report.summary(), this);
    m_summary->setObjectName(QStringLiteral("lblSummary"));
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* filterLabel = new QLabel(tr("表示(&V):"), this);
    m_filter = new QComboBox(this);
    m_filter->setObjectName(QStringLiteral("cboFilter"));
    m_filter->setToolTip(tr("表に出す結果を選びます"));
    setReaderName(m_filter, tr("表示"));
    filterLabel->setBuddy(m_filter);
    m_filter->addItem(tr("すべて (%1)").arg(report.rows().size()));
    for (FolderOutcome o : outcomesOf(report.kind()))
        m_filter->addItem(QStringLiteral("%1 (%2)").arg(outcomeText(o)).arg(report.count(o)),
                          int(o));

    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("tblReport"));
    setReaderName(m_table, tr("フォルダごとの結果"));
    setReaderDescription(m_table, tr("各フォルダの結果と理由。列の見出しで並べ替えます"));
    // Tab leaves the table for the buttons; the arrow keys move within it.
    m_table->setTabKeyNavigation(false);
    m_table->setModel(m_model);
    m_table->setSortingEnabled(true);
    // Natural order until a column's head is clicked.
    m_table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->setCornerButtonEnabled(false);
    // Fixed heights and widths: nothing is measured row by row, so 100,000 rows show at once.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_table->verticalHeader()->hide();
    QHeaderView* columns = m_table->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setSectionResizeMode(ReportModel::PathColumn, QHeaderView::Stretch);
    columns->setStretchLastSection(false);
    const int em = fontMetrics().horizontalAdvance(QStringLiteral("あ"));
    m_table->setColumnWidth(ReportModel::OutcomeColumn, 5 * em);
    m_table->setColumnWidth(ReportModel::PathColumn, 26 * em);
    m_table->setColumnWidth(ReportModel::ReasonColumn, 14 * em);
    m_table->setColumnWidth(ReportModel::LineColumn, 5 * em);

    m_toList = new QPushButton(tr("リストに送る(&L)"), this);
    m_toList->setObjectName(QStringLiteral("cmdToList"));
    m_toList->setToolTip(tr("表のフォルダを「フォルダ作成リスト」に入れます (やり直しに)"));
    m_exportList = new QPushButton(tr("リストファイルに書き出す(&E)"), this);
    m_exportList->setObjectName(QStringLiteral("cmdExportList"));
    m_exportList->setToolTip(tr("表のフォルダをリストファイルに書き出します"));
    m_exportCsv = new QPushButton(tr("CSV に書き出す(&S)"), this);
    m_exportCsv->setObjectName(QStringLiteral("cmdExportCsv"));
    m_exportCsv->setToolTip(tr("表を CSV ファイル (UTF-8、BOM 付き) に書き出します"));
    auto* close = new QPushButton(tr("閉じる"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setToolTip(tr("「実行結果」を閉じる"));
    for (QPushButton* b : {m_toList, m_exportList, m_exportCsv, close}) {
        b->setAutoDefault(false);
    }
    close->setDefault(true);

    auto* top = new QHBoxLayout;
    top->addWidget(m_summary, 1);
    top->addWidget(filterLabel);
    top->addWidget(m_filter);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_toList);
    buttons->addWidget(m_exportList);
    buttons->addWidget(m_exportCsv);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    resize(52 * em, 28 * em);

    connect(m_filter, &QComboBox::currentIndexChanged, this, &ReportWindow::filterChanged);
    connect(m_toList, &QPushButton::clicked, this, [this] {
        // The list window opens once this window is gone, not over it.
        act([this] {
            m_pathsForList = m_model->shownPaths();
            done(ToList);
        });
    });
    connect(m_exportList, &QPushButton::clicked, this,
            [this] { act([this] { m_actions.exportList(m_model->shownPaths()); }); });
    connect(m_exportCsv, &QPushButton::clicked, this,
            [this] { act([this] { m_actions.exportCsv(m_model->shownRows()); }); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    // The failed ones first: they are what the user came for.
    const int failed = m_filter->findData(int(FolderOutcome::Failed));
    m_filter->setCurrentIndex(report.count(FolderOutcome::Failed) > 0 ? failed : 0);
    filterChanged(m_filter->currentIndex());
    m_table->setFocus();
}

ReportWindow::~ReportWindow() = default;

void ReportWindow::filterChanged(int index)
{
    const QVariant data = m_filter->itemData(index);
    m_model->setFilter(data.isValid() ? std::optional(FolderOutcome(data.toInt())) : std::nullopt);
    const bool any = m_model->rowCount() > 0;
    for (QPushButton* b : {m_toList, m_exportList, m_exportCsv})
        b->setEnabled(any);
}

void ReportWindow::act(const std::function<void()>& action)
{
    if (m_model->rowCount() > 0)
        action();
}

void ReportWindow::showEvent(QShowEvent* event)
{
    // Sized for its columns, it can be wider than a small or highly scaled screen.
    keepOnScreen(this);
    QDialog::showEvent(event);
}
