#pragma once

#include "PathStyle.h"
#include "sheet/SheetImport.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

// Shows the first rows of a table as the paths they become before anything is added: the
// sheet (of a workbook with more than one), whether empty cells take the value above, and
// whether the first row is headings (offered when it looks like them). A refused table says
// which cell and why, and cannot be added.
class SheetPreview : public QDialog
{
    Q_OBJECT

public:
    // `read` gives the table of a sheet (empty: the first); a text table gives the same
    // table whatever it is asked.
    SheetPreview(std::function<SheetTable(const QString& sheet)> read, PathStyle style,
                 QWidget* parent = nullptr);

    // The choices as they stand, and the table they apply to.
    SheetImportOptions options() const;
    const SheetTable& table() const { return m_table; }
    // What the preview shows now: the first paths, or the refusal.
    QStringList shownPaths() const;
    QString refusal() const;

    // The rows replace the list rather than join it: the button and the count say so.
    void setReplaces(bool replaces);

    static constexpr int ShownRows = 20;

private:
    void readSheet(const QString& sheet);
    void update();

    std::function<SheetTable(const QString&)> m_read;
    PathStyle m_style;
    SheetTable m_table;
    QComboBox* m_sheets = nullptr;
    QCheckBox* m_fillDown = nullptr;
    QCheckBox* m_skipHeader = nullptr;
    QListWidget* m_paths = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_add = nullptr;
    bool m_replaces = false;
};
