#include "SheetLines.h"

#include "SheetTexts.h"
#include "text/TextRules.h"

#include <algorithm>

namespace
{

bool hasDigit(const QString& text)
{
    for (const QChar c : text) {
        if (c.isDigit())
            return true;
    }
    return false;
}

// Only the plain spaces a spreadsheet leaves around a value; anything else at an edge stays
// and is judged.
QString withoutSpaces(const QString& text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text.at(from) == u' ')
        ++from;
    while (to > from && text.at(to - 1) == u' ')
        --to;
    return text.mid(from, to - from);
}

bool hasControl(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return true;
    }
    return false;
}

} // namespace

bool looksLikeHeader(const SheetTable& table)
{
    if (table.rows.size() < 2)
        return false;
    for (const QString& cell : table.rows.at(0)) {
        if (hasDigit(cell))
            return false;
    }
    for (const QString& cell : table.rows.at(1)) {
        if (hasDigit(cell))
            return true;
    }
    return false;
}

SheetLines sheetLines(const SheetTable& table, const SheetLineOptions& options)
{
    SheetLines out;
    const QChar sep = pathSeparator(options.style);
    const QString refused = refusedChars(RefuseMode::FolderName, options.style);
    QStringList above;
    out.lines.reserve(table.rows.size());
    out.rows.reserve(table.rows.size());
    for (qsizetype r = options.skipHeader ? 1 : 0; r < table.rows.size(); ++r) {
        const QStringList& cells = table.rows.at(r);
        const qint64 row = table.rowNumbers.value(r, r + 1);
        // A row of blanks is no folder, and not one to fill from above either.
        if (std::all_of(cells.cbegin(), cells.cend(),
                        [](const QString& cell) { return withoutSpaces(cell).isEmpty(); }))
            continue;
        QString line;
        for (qsizetype c = 0; c < cells.size(); ++c) {
            const int column = int(c) + 1;
            QString cell = withoutSpaces(cells.at(c));
            if (cell.isEmpty() && options.fillDown)
                cell = above.value(c);
            if (cell.isEmpty()) {
                out = {};
                out.refusal = SheetText::emptyBefore(row, column);
                return out;
            }
            if (hasControl(cell)) {
                out = {};
                out.refusal = SheetText::controlCharacter(row, column);
                return out;
            }
            if (hasRefusedChars(cell, RefuseMode::FolderName, options.style)) {
                out = {};
                out.refusal = SheetText::refusedCharacter(row, column, refused);
                return out;
            }
            if (cell == QLatin1String(".") || cell == QLatin1String("..")) {
                out = {};
                out.refusal = SheetText::dotName(row, column);
                return out;
            }
            if (c > 0)
                line += sep;
            line += cell;
            if (c < above.size())
                above[c] = cell;
            else
                above << cell;
        }
        // Columns right of this row's last value start afresh below it.
        above = above.mid(0, cells.size());
        out.lines << line;
        out.rows << row;
        out.levels << int(cells.size());
    }
    return out;
}
