#pragma once

#include <QAbstractListModel>
#include <QHash>
#include <QList>
#include <QStringList>

#include <functional>
#include <utility>

// The entries of the list window: one full folder path per row, in the order they were
// added, editable in place. Built for 100,000 rows: entries arrive and leave in bulk.
class FolderListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit FolderListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

    const QStringList& entries() const { return m_entries; }
    // Adds the entries at the end, in one insertion.
    void appendEntries(const QStringList& entries);
    void clear();
    // Removes the rows of every range (first, last), given from top to bottom and not
    // overlapping: a few runs go one by one from the bottom, many at once by rebuilding.
    void removeRanges(const QList<std::pair<int, int>>& ranges);

    void setHeader(const QString& header);

    // Entries whose folder exists are drawn dimmed, with a tooltip saying so. Asked only for
    // the rows the view draws, and remembered until refreshExistence().
    void setExistenceProbe(std::function<bool(const QString&)> probe);
    void refreshExistence();

private:
    bool exists(const QString& path) const;

    QStringList m_entries;
    QString m_header;
    std::function<bool(const QString&)> m_probe;
    mutable QHash<QString, bool> m_existence;
};
