#include "SheetTable.h"

#include "SheetTexts.h"

#include <QFileInfo>

std::optional<SheetFormat> sheetFormatOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("csv"))
        return SheetFormat::Csv;
    if (suffix == QLatin1String("tsv") || suffix == QLatin1String("tab"))
        return SheetFormat::Tsv;
    // Other workbooks are no list either: read as one, they are refused with what to do.
    if (suffix == QLatin1String("xlsx") || suffix == QLatin1String("xlsm") ||
        suffix == QLatin1String("xls") || suffix == QLatin1String("xlsb") ||
        suffix == QLatin1String("ods"))
        return SheetFormat::Xlsx;
    return std::nullopt;
}

SheetTable readDelimited(const QString& text, QChar delimiter)
{
    SheetTable table;
    QStringList row;
    QString cell;
    qint64 line = 1;
    qint64 rowStart = 1;
    bool quoted = false;    // inside a quoted field
    bool wasQuoted = false; // the field began with a quote
    bool anyInRow = false;
    auto endCell = [&] {
        row << cell;
        if (!cell.isEmpty() || wasQuoted)
            anyInRow = true;
        cell.clear();
        wasQuoted = false;
    };
    auto endRow = [&] {
        endCell();
        if (anyInRow) {
            while (!row.isEmpty() && row.last().isEmpty())
                row.removeLast();
            table.rows << row;
            table.rowNumbers << rowStart;
        }
        row.clear();
        anyInRow = false;
    };
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < n && text.at(i + 1) == u'"') {
                    cell += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\r' || c == u'\n') {
                    ++line;
                    if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
                        ++i;
                    cell += u'\n';
                    continue;
                }
                cell += c;
            }
            continue;
        }
        if (c == u'"' && cell.isEmpty() && !wasQuoted) {
            quoted = true;
            wasQuoted = true;
        } else if (c == delimiter) {
            endCell();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
                ++i;
            endRow();
            rowStart = ++line;
        } else {
            cell += c;
        }
    }
    if (quoted) {
        table.rows.clear();
        table.rowNumbers.clear();
        table.refusal = SheetText::openQuote(rowStart);
        return table;
    }
    if (!cell.isEmpty() || !row.isEmpty() || wasQuoted)
        endRow();
    return table;
}
