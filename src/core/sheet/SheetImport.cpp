#include "SheetImport.h"

#include "SheetTexts.h"
#include "Workbook.h"
#include "text/CodePage932.h"

#include <QCoreApplication>
#include <QDate>

#include <algorithm>

SheetTable readDelimitedFile(const QString& path, QChar delimiter, EncodingChoice encoding,
                             TextEncoding* used, EncodingReason* why)
{
    SheetTable table;
    TextReader reader;
    reader.setEncoding(encoding);
    switch (reader.open(path, MaxListFileBytes)) {
    case TextReader::Opened::Ok:
        break;
    case TextReader::Opened::TooLarge:
        table.refusal =
            QCoreApplication::translate("SheetImport", "ファイルが大きすぎます (64 MiB まで)");
        return table;
    case TextReader::Opened::NoConverter:
        table.refusal = cp932::missingText();
        return table;
    default:
        table.refusal =
            QCoreApplication::translate("SheetImport", "ファイルを読み込めませんでした");
        return table;
    }
    if (used)
        *used = reader.encoding();
    if (why)
        *why = reader.reason();
    // Lines as the list files break them; the fields' own line breaks come back as one.
    QString text;
    qint64 bad = 0;
    const bool read = reader.readLines([&](const TextReader::Line& line) {
        if (!line.clean && bad == 0)
            bad = line.number;
        text += line.text;
        text += u'\n';
        return true;
    });
    if (!read) {
        table.refusal =
            QCoreApplication::translate("SheetImport", "ファイルを読み込めませんでした");
        return table;
    }
    if (bad > 0) {
        table.refusal = QCoreApplication::translate("SheetImport", "%1 行目は %2 として読めません")
                            .arg(bad)
                            .arg(encodingName(reader.encoding()));
        return table;
    }
    return readDelimited(text, delimiter);
}

ListImport importSheetTable(const SheetTable& table, const SheetImportOptions& options)
{
    ListImport into;
    into.opened = true;
    if (!table.refusal.isEmpty()) {
        into.refusal = table.refusal;
        return into;
    }
    const SheetLines lines = sheetLines(table, options.lines);
    if (!lines.refusal.isEmpty()) {
        into.refusal = lines.refusal;
        return into;
    }
    ListSyntax syntax = options.syntax;
    if (!syntax.today.isValid())
        syntax.today = QDate::currentDate();
    const QChar sep = pathSeparator(options.lines.style);
    for (qsizetype i = 0; i < lines.lines.size(); ++i) {
        const qsizetype before = into.entries.size();
        if (!importListLine(lines.lines.at(i), into, true, syntax))
            return into; // past a bound: the refusal says which
        // What a range or a choice expands to stays one level a cell: "{a,..}" or a choice
        // across two cells would name another folder than the row.
        for (qsizetype e = before; e < into.entries.size(); ++e) {
            const QStringList parts = into.entries.at(e).split(sep);
            const bool wrong = parts.size() != lines.levels.at(i) ||
                               std::any_of(parts.cbegin(), parts.cend(), [](const QString& part) {
                                   return part.isEmpty() || part == QLatin1String(".") ||
                                          part == QLatin1String("..");
                               });
            if (wrong) {
                ListImport refused;
                refused.opened = true;
                refused.refusal = SheetText::levelsChanged(lines.rows.at(i));
                return refused;
            }
        }
        into.entryLines.insert(into.entryLines.size(), into.entries.size() - before,
                               lines.rows.at(i));
    }
    return into;
}

ListImport importSheetFile(const QString& path, const SheetImportOptions& options,
                           SheetTable* table)
{
    const std::optional<SheetFormat> format = options.format ? options.format : sheetFormatOf(path);
    SheetTable read;
    TextEncoding encoding = TextEncoding::Utf8;
    EncodingReason reason = EncodingReason::OnlyAscii;
    if (format == SheetFormat::Xlsx)
        read = readWorkbook(path, options.sheet);
    else
        read = readDelimitedFile(path, delimiterOf(format.value_or(SheetFormat::Csv)),
                                 options.encoding, &encoding, &reason);
    ListImport into = importSheetTable(read, options);
    into.encoding = encoding;
    into.encodingReason = reason;
    if (table)
        *table = std::move(read);
    return into;
}
