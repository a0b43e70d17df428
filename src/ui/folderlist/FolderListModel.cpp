#include "FolderListModel.h"

#include <QBrush>
#include <QGuiApplication>
#include <QPalette>

FolderListModel::FolderListModel(QObject* parent) : QAbstractListModel(parent) {}

int FolderListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant FolderListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_entries.at(index.row());
    if (role == Qt::ForegroundRole && exists(m_entries.at(index.row())))
        return QBrush(QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text));
    // The tooltip, and what a screen reader says of the row beside its path.
    if ((role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole) &&
        exists(m_entries.at(index.row())))
        return tr("既に存在します");
    return {};
}

void FolderListModel::setExistenceProbe(std::function<bool(const QString&)> probe)
{
    m_probe = std::move(probe);
    refreshExistence();
}

void FolderListModel::refreshExistence()
{
    m_existence.clear();
    if (!m_entries.isEmpty())
        Q_EMIT dataChanged(index(0), index(int(m_entries.size()) - 1),
                           {Qt::ForegroundRole, Qt::ToolTipRole, Qt::AccessibleDescriptionRole});
}

bool FolderListModel::exists(const QString& path) const
{
    if (!m_probe)
        return false;
    const auto known = m_existence.constFind(path);
    if (known != m_existence.cend())
        return *known;
    const bool found = m_probe(path);
    m_existence.insert(path, found);
    return found;
}

bool FolderListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.row() >= m_entries.size() || role != Qt::EditRole)
        return false;
    const QString text = value.toString();
    if (m_entries.at(index.row()) == text)
        return true;
    m_entries[index.row()] = text;
    Q_EMIT dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

Qt::ItemFlags FolderListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemNeverHasChildren;
}

QVariant FolderListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_header;
    return {};
}

void FolderListModel::setHeader(const QString& header)
{
    m_header = header;
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, 0);
}

bool FolderListModel::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > m_entries.size())
        return false;
    beginRemoveRows({}, row, row + count - 1);
    m_entries.remove(row, count);
    endRemoveRows();
    return true;
}

void FolderListModel::appendEntries(const QStringList& entries)
{
    if (entries.isEmpty())
        return;
    const auto first = int(m_entries.size());
    beginInsertRows({}, first, first + int(entries.size()) - 1);
    m_entries.append(entries);
    endInsertRows();
}

void FolderListModel::clear()
{
    if (m_entries.isEmpty())
        return;
    beginResetModel();
    m_entries.clear();
    endResetModel();
}

void FolderListModel::removeRanges(const QList<std::pair<int, int>>& ranges)
{
    // Each removal moves every row below it, so thousands of runs one by one would be
    // quadratic; past a few, one pass that keeps the rest is cheaper.
    constexpr qsizetype manyRuns = 32;
    if (ranges.size() <= manyRuns) {
        for (auto it = ranges.crbegin(); it != ranges.crend(); ++it)
            removeRows(it->first, it->second - it->first + 1);
        return;
    }
    QStringList kept;
    kept.reserve(m_entries.size());
    int next = 0;
    for (const auto& [first, last] : ranges) {
        for (int row = next; row < first; ++row)
            kept << m_entries.at(row);
        next = last + 1;
    }
    for (int row = next; row < m_entries.size(); ++row)
        kept << m_entries.at(row);
    beginResetModel();
    m_entries = std::move(kept);
    endResetModel();
}
