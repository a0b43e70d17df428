#pragma once

#include "run/RunReport.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class ReportModel;

// What the report's export buttons do with the rows it shows.
struct ReportActions {
    std::function<void(const QStringList& paths)> exportList; // as a list file
    std::function<void(const QList<ReportRow>& rows)> exportCsv;
};

// The report of the latest run: its summary line, and a table of every folder with its
// outcome, reason and list line, sortable by a click on a column's head and narrowed to one
// outcome; the failed ones first when there are any.
class ReportWindow : public QDialog
{
    Q_OBJECT

public:
    ReportWindow(const RunReport& report, ReportActions actions, QWidget* parent = nullptr);
    ~ReportWindow() override;

    // exec()'s answer when the user chose リストに送る: the paths are then pathsForList().
    static constexpr int ToList = 2;
    const QStringList& pathsForList() const { return m_pathsForList; }

    ReportModel& model() const { return *m_model; }
    QComboBox* filterBox() const { return m_filter; }
    QTableView* table() const { return m_table; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void filterChanged(int index);
    void act(const std::function<void()>& action);

    const RunReport& m_report;
    ReportActions m_actions;
    ReportModel* m_model = nullptr;
    QLabel* m_summary = nullptr;
    QComboBox* m_filter = nullptr;
    QTableView* m_table = nullptr;
    QPushButton* m_toList = nullptr;
    QPushButton* m_exportList = nullptr;
    QPushButton* m_exportCsv = nullptr;
    QStringList m_pathsForList;
};
