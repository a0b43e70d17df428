#include "ReportModel.h"

#include <algorithm>

ReportModel::ReportModel(const QList<ReportRow>& rows, QObject* parent)
    : QAbstractTableModel(parent), m_rows(rows)
{
    rebuild();
}

int ReportModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

int ReportModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ReportModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown.size())
        return {};
    const ReportRow& r = m_rows.at(m_shown.at(index.row()));
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        switch (index.column()) {
        case OutcomeColumn:
            return outcomeText(r.outcome);
        case PathColumn:
            return r.path;
        case ReasonColumn:
            return r.reason;
        case LineColumn:
            return r.line >= 0 ? QVariant(r.line) : QVariant();
        default:
            return {};
        }
    }
    if (role == Qt::TextAlignmentRole && index.column() == LineColumn)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant ReportModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case OutcomeColumn:
        return tr("結果");
    case PathColumn:
        return tr("フォルダ");
    case ReasonColumn:
        return tr("理由");
    case LineColumn:
        return tr("行");
    default:
        return {};
    }
}

void ReportModel::sort(int column, Qt::SortOrder order)
{
    m_sortColumn = column;
    m_sortOrder = order;
    beginResetModel();
    rebuild();
    endResetModel();
}

void ReportModel::setFilter(std::optional<FolderOutcome> outcome)
{
    m_filter = outcome;
    beginResetModel();
    rebuild();
    endResetModel();
}

void ReportModel::rebuild()
{
    m_shown.clear();
    m_shown.reserve(m_rows.size());
    for (int i = 0; i < m_rows.size(); ++i) {
        if (!m_filter || m_rows.at(i).outcome == *m_filter)
            m_shown.append(i);
    }
    if (m_sortColumn < 0)
        return;
    // Stable, so rows that compare equal keep the order the run told them in.
    auto less = [this](int a, int b) {
        const ReportRow& x = m_rows.at(a);
        const ReportRow& y = m_rows.at(b);
        switch (m_sortColumn) {
        case OutcomeColumn:
            return int(x.outcome) < int(y.outcome);
        case PathColumn:
            return x.path < y.path;
        case ReasonColumn:
            return x.reason < y.reason;
        default:
            return x.line < y.line;
        }
    };
    if (m_sortOrder == Qt::AscendingOrder)
        std::stable_sort(m_shown.begin(), m_shown.end(), less);
    else
        std::stable_sort(m_shown.begin(), m_shown.end(),
                         [&less](int a, int b) { return less(b, a); });
}

QList<ReportRow> ReportModel::shownRows() const
{
    QList<ReportRow> rows;
    rows.reserve(m_shown.size());
    for (int i : m_shown)
        rows.append(m_rows.at(i));
    return rows;
}

QStringList ReportModel::shownPaths() const
{
    QStringList paths;
    paths.reserve(m_shown.size());
    for (int i : m_shown)
        paths.append(m_rows.at(i).path);
    return paths;
}
