#pragma once

#include "PathStyle.h"
#include "SheetTable.h"

#include <QList>
#include <QString>
#include <QStringList>

// How a table's rows become list lines: each row one line, its cells the levels.
struct SheetLineOptions {
    bool fillDown = true;    // an empty cell takes the value above it in its column
    bool skipHeader = false; // the first row is headings
    PathStyle style = hostPathStyle();
};

struct SheetLines {
    QStringList lines;  // rootless: the list runs put them under their base folder
    QList<qint64> rows; // each line's row in the sheet
    QList<int> levels;  // each line's cells: what every entry of it must have as levels
    QString refusal;    // not empty: nothing is taken, and this says which cell and why
};

// Every row as a list line. A cell is one level: a separator, a refused or control character
// in it refuses the whole table, naming the cell. Only cells left of a row's last value are
// filled from above, so a shorter row stays a shallower folder.
SheetLines sheetLines(const SheetTable& table, const SheetLineOptions& options);

// Whether the first row reads as headings: no digit in any of its cells while the row below
// has one, as "年度, 部署, 案件番号" above "2024, 営業部, 案件001".
bool looksLikeHeader(const SheetTable& table);
