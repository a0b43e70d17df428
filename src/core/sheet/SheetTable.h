#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// A table as a spreadsheet shows it: rows of cells, each cell's text as the sheet displays it.
struct SheetTable {
    QList<QStringList> rows;  // without trailing empty cells
    QList<qint64> rowNumbers; // each row's number in the sheet or file (1 for the first)
    QStringList sheets;       // a workbook's sheets, in order; empty for CSV and TSV
    QString sheet;            // the sheet that was read
    QString refusal;          // not empty: nothing could be read, and this says why and where
};

enum class SheetFormat { Csv, Tsv, Xlsx };

// The format a file's name ends in (.csv, .tsv, .xlsx; the workbooks it cannot read, .xls,
// .xlsb and .ods, as workbooks, so that they are refused as such); nothing for others.
std::optional<SheetFormat> sheetFormatOf(const QString& path);

// Cells of delimited text (RFC 4180: fields in double quotes may hold the delimiter, line
// breaks and doubled quotes). Line breaks are CR LF, LF or CR; a row of nothing is left out.
SheetTable readDelimited(const QString& text, QChar delimiter);
