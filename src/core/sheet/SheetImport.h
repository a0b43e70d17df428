#pragma once

#include "SheetLines.h"
#include "SheetTable.h"
#include "folderlist/ListFile.h"

#include <optional>

struct SheetImportOptions {
    std::optional<SheetFormat> format;              // unset: by the file's name
    EncodingChoice encoding = EncodingChoice::Auto; // CSV and TSV, by the list files' rule
    QString sheet;                                  // a workbook's sheet; empty: the first
    SheetLineOptions lines;
    ListSyntax syntax; // how each row's line expands, as a list line would
};

// Delimited text of a file, read by the list files' encoding rule; `table.refusal` when the
// file cannot be read as text.
SheetTable readDelimitedFile(const QString& path, QChar delimiter, EncodingChoice encoding,
                             TextEncoding* used = nullptr, EncodingReason* why = nullptr);

// The table's rows as a list import: each row one list line (its ranges expand as a list
// line's would), each entry with its row. A cell that cannot be a level refuses the whole
// table, naming the cell.
ListImport importSheetTable(const SheetTable& table, const SheetImportOptions& options);

// A CSV, TSV or .xlsx file as a list. `table`, when given, gets the cells as read (for a
// preview, and a workbook's sheet names).
ListImport importSheetFile(const QString& path, const SheetImportOptions& options,
                           SheetTable* table = nullptr);

// The delimiter of a format.
inline QChar delimiterOf(SheetFormat format)
{
    return format == SheetFormat::Tsv ? QLatin1Char('\t') : QLatin1Char(',');
}
