#pragma once

#include "run/RunReport.h"

#include <QAbstractTableModel>
#include <QList>

#include <optional>

// The report's table: the rows of the latest run, or those of one outcome, in the order the
// run told them or sorted by a column. It holds only the order of the rows it shows, so that
// 100,000 rows filter and sort at once.
class ReportModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { OutcomeColumn, PathColumn, ReasonColumn, LineColumn, ColumnCount };

    explicit ReportModel(const QList<ReportRow>& rows, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // Nothing: every row.
    void setFilter(std::optional<FolderOutcome> outcome);
    std::optional<FolderOutcome> filter() const { return m_filter; }

    // The rows shown, in the order shown.
    QList<ReportRow> shownRows() const;
    QStringList shownPaths() const;

private:
    void rebuild();

    const QList<ReportRow>& m_rows;
    QList<int> m_shown;
    std::optional<FolderOutcome> m_filter;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
