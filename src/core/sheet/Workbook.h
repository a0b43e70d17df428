#pragma once

#include "SheetTable.h"

#include <QString>

// What a workbook may hold at most before anything of it is inflated: a damaged or hostile
// file (a zip bomb) is refused by its directory, and no part is read past the size it states.
namespace WorkbookBound
{
constexpr qsizetype Entries = 10000;
constexpr qint64 PartBytes = qint64(256) << 20;
constexpr qint64 TotalBytes = qint64(512) << 20;
constexpr qsizetype Rows = 1000000;
} // namespace WorkbookBound

// The cells of one sheet of an Excel workbook (.xlsx): the one named, or the first. Shared and
// inline strings as they are (phonetic guides left out), numbers as their format shows them,
// dates as yyyy-MM-dd, formulas by the value saved with them.
SheetTable readWorkbook(const QString& path, const QString& sheet = {});

// A number as a cell format shows it: "0", "000", "0.00", "#,##0", literal text in quotes;
// a date format gives yyyy-MM-dd. `builtin` is the format's number when it has no code.
QString formatCellNumber(double value, int builtin, const QString& code, bool date1904);
