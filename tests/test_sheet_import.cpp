// Tables as lists: delimited text (RFC 4180), Excel workbooks written by a spreadsheet
// library (tests/data/sheets, made by make_fixtures.py), cells as levels, and every way a
// table is refused with the cell named.
#include "sheet/SheetImport.h"
#include "sheet/Workbook.h"

#include <QTest>

namespace
{

QString dataFile(const char* name)
{
    return QStringLiteral(NMAKER_SHEET_DATA "/") + QLatin1String(name);
}

// Rows as "a|b|c" lines, to compare tables at a glance.
QStringList flat(const SheetTable& table)
{
    QStringList rows;
    for (qsizetype i = 0; i < table.rows.size(); ++i)
        rows << QString::number(table.rowNumbers.at(i)) + u':' + table.rows.at(i).join(u'|');
    return rows;
}

SheetTable tableOf(const QList<QStringList>& rows)
{
    SheetTable t;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        t.rows << rows.at(i);
        t.rowNumbers << i + 1;
    }
    return t;
}

} // namespace

class TestSheetImport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void delimited_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("delimiter");
        QTest::addColumn<QStringList>("rows");

        QTest::newRow("plain, CR LF") << "a,b\r\nc,d\r\n"
                                      << "," << QStringList{"1:a|b", "2:c|d"};
        QTest::newRow("quoted comma and doubled quote") << "\"a,b\",\"say \"\"x\"\"\"\n"
                                                        << "," << QStringList{"1:a,b|say \"x\""};
        QTest::newRow("a line break inside quotes keeps the row numbers")
            << "h\n\"two\r\nlines\",z\nnext\n"
            << "," << QStringList{"1:h", "2:two\nlines|z", "4:next"};
        QTest::newRow("empty lines and trailing empty cells") << "a,,\n\n,,\nb\n"
                                                              << "," << QStringList{"1:a", "4:b"};
        QTest::newRow("tabs, a comma is text") << "x\ty,z\n"
                                               << "\t" << QStringList{"1:x|y,z"};
        QTest::newRow("a lone CR ends a row, no end at all") << "a\rb"
                                                             << "," << QStringList{"1:a", "2:b"};
        QTest::newRow("an empty quoted cell is a cell") << "\"\",b\n"
                                                        << "," << QStringList{"1:|b"};
    }
    void delimited()
    {
        QFETCH(QString, text);
        QFETCH(QString, delimiter);
        const SheetTable t = readDelimited(text, delimiter.at(0));
        QVERIFY2(t.refusal.isEmpty(), qPrintable(t.refusal));
        QTEST(flat(t), "rows");
    }

    void openQuoteRefused()
    {
        const SheetTable t = readDelimited("a\n\"b,c\nd\n", u',');
        QVERIFY(t.rows.isEmpty());
        QVERIFY2(t.refusal.contains("2 行目"), qPrintable(t.refusal));
    }

    void lines_data()
    {
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::addColumn<bool>("fillDown");
        QTest::addColumn<bool>("skipHeader");
        QTest::addColumn<QStringList>("lines"); // with '/' as the separator
        QTest::addColumn<QString>("refusal");   // a part of it; empty: none

        const QList<QStringList> merged{{"年度", "部署", "案件"},
                                        {"2024", "営業部", "001"},
                                        {"", "", "002"},
                                        {"", "総務部"},
                                        {"", "", "003"}};
        QTest::newRow("the merged look filled from above")
            << merged << true << true
            << QStringList{"2024/営業部/001", "2024/営業部/002", "2024/総務部", "2024/総務部/003"}
            << "";
        QTest::newRow("without filling, an empty cell before a value is refused")
            << merged << false << true << QStringList{} << "3 行 1 列目";
        QTest::newRow("a shorter row does not take the cells right of it")
            << QList<QStringList>{{"a", "b", "c"}, {"d"}, {"", "e"}} << true << false
            << QStringList{"a/b/c", "d", "d/e"} << "";
        QTest::newRow("a separator in a cell") << QList<QStringList>{{"ok"}, {"x", "a/b"}} << true
                                               << false << QStringList{} << "2 行 2 列目";
        QTest::newRow("a backslash in a cell")
            << QList<QStringList>{{"a\\b"}} << true << false << QStringList{} << "1 行 1 列目";
        QTest::newRow("a line break in a cell") << QList<QStringList>{{"a", "two\nlines"}} << true
                                                << false << QStringList{} << "制御文字";
        QTest::newRow("a dot name")
            << QList<QStringList>{{"a", ".."}} << true << false << QStringList{} << "1 行 2 列目";
        QTest::newRow("a control character at a cell's edge is refused, not trimmed")
            << QList<QStringList>{{"a\n", "b"}} << true << false << QStringList{} << "1 行 1 列目";
        QTest::newRow("spaces around a value go")
            << QList<QStringList>{{" a ", "b  "}} << true << false << QStringList{"a/b"} << "";
        QTest::newRow("blank rows are no folders") << QList<QStringList>{{"a"}, {"  ", ""}, {"b"}}
                                                   << true << false << QStringList{"a", "b"} << "";
    }
    void lines()
    {
        QFETCH(QList<QStringList>, rows);
        QFETCH(bool, fillDown);
        QFETCH(bool, skipHeader);
        QFETCH(QString, refusal);
        const SheetLines l = sheetLines(tableOf(rows), {fillDown, skipHeader, PathStyle::Posix});
        if (refusal.isEmpty())
            QVERIFY2(l.refusal.isEmpty(), qPrintable(l.refusal));
        else
            QVERIFY2(l.refusal.contains(refusal), qPrintable(l.refusal));
        QTEST(l.lines, "lines");
    }

    void header_data()
    {
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::addColumn<bool>("header");
        QTest::newRow("headings over numbers")
            << QList<QStringList>{{"年度", "部署"}, {"2024", "営業部"}} << true;
        QTest::newRow("data from the first row")
            << QList<QStringList>{{"2023", "a"}, {"2024", "b"}} << false;
        QTest::newRow("no digits anywhere") << QList<QStringList>{{"a"}, {"b"}} << false;
    }
    void header()
    {
        QFETCH(QList<QStringList>, rows);
        QTEST(looksLikeHeader(tableOf(rows)), "header");
    }

    void numbers_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("builtin");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("shown");

        QTest::newRow("general integer") << 2024.0 << 0 << ""
                                         << "2024";
        QTest::newRow("general fraction") << 0.1 << 0 << ""
                                          << "0.1";
        QTest::newRow("zero padded case number") << 7.0 << 164 << "000"
                                                 << "007";
        QTest::newRow("literal text around") << 12.0 << 164 << "\"案件\"000"
                                             << "案件012";
        QTest::newRow("two decimals") << 3.14159 << 2 << ""
                                      << "3.14";
        QTest::newRow("grouping") << 1234567.0 << 3 << ""
                                  << "1,234,567";
        QTest::newRow("percent") << 0.25 << 9 << ""
                                 << "25%";
        QTest::newRow("built-in date") << 45748.0 << 14 << ""
                                       << "2025-04-01";
        QTest::newRow("Japanese built-in date") << 45748.0 << 31 << ""
                                                << "2025-04-01";
        QTest::newRow("custom date") << 45748.5 << 165 << "yyyy\"年\"m\"月\"d\"日\""
                                     << "2025-04-01";
        QTest::newRow("before the day that never was") << 59.0 << 14 << ""
                                                       << "1900-02-28";
        QTest::newRow("a unit after the digits") << 4.0 << 164 << "0円"
                                                 << "4円";
        QTest::newRow("a quoted unit after a space") << 4.0 << 164 << "0 \"件\""
                                                     << "4 件";
        QTest::newRow("a coloured General is no date") << 6.0 << 164 << "[Blue]General"
                                                       << "6";
        QTest::newRow("scientific is no date") << 12345.0 << 164 << "0.0E+0"
                                               << "1.2E+04";
        QTest::newRow("built-in scientific") << 12345.0 << 11 << ""
                                             << "1.23E+04";
        QTest::newRow("the negative section, without its sign") << -5.0 << 164 << "0;\"▲\"0"
                                                                << "▲5";
        QTest::newRow("a time alone") << 0.5 << 164 << "h:mm"
                                      << "12:00";
    }
    void numbers()
    {
        QFETCH(double, value);
        QFETCH(int, builtin);
        QFETCH(QString, code);
        QTEST(formatCellNumber(value, builtin, code, false), "shown");
    }

    void workbooks_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("refusal"); // a part of it

        const QStringList cases{
            "1:年度|部署|案件番号", "2:2024|営業部|001",           "3:||002",
            "4:|総務部|003",        "5:2025|営業部|案件[010-011]", "6:2025-04-01|経理部"};
        QTest::newRow("inline strings, formats, a date, merged cells") << "cases.xlsx"
                                                                       << "" << cases << "";
        QTest::newRow("shared strings with a phonetic guide") << "cases-shared.xlsx"
                                                              << "" << cases << "";
        QTest::newRow("a sheet by its name") << "cases.xlsx"
                                             << "予備" << QStringList{"1:別|シート"} << "";
        QTest::newRow("a sheet that is not there") << "cases.xlsx"
                                                   << "なし" << QStringList{} << "シート \"なし\"";
        QTest::newRow("a formula without its value")
            << "formula.xlsx"
            << "" << QStringList{} << "1 行 2 列目: 数式の値";
        QTest::newRow("a formula by its saved value") << "formula-cached.xlsx"
                                                      << "" << QStringList{"1:a|2"} << "";
        QTest::newRow("damaged") << "damaged.xlsx"
                                 << "" << QStringList{} << "壊れている";
        QTest::newRow("a bomb") << "bomb.xlsx"
                                << "" << QStringList{} << "大きすぎます";
        QTest::newRow("protected by a password") << "encrypted.xlsx"
                                                 << "" << QStringList{} << "パスワード";
    }
    void workbooks()
    {
        QFETCH(QString, file);
        QFETCH(QString, sheet);
        QFETCH(QString, refusal);
        const SheetTable t = readWorkbook(dataFile(file.toUtf8().constData()), sheet);
        if (refusal.isEmpty())
            QVERIFY2(t.refusal.isEmpty(), qPrintable(t.refusal));
        else
            QVERIFY2(t.refusal.contains(refusal), qPrintable(t.refusal));
        QTEST(flat(t), "rows");
    }

    // The whole way, as the import of a file takes it: rows to lines to entries, each with
    // its row, the range in a cell expanded as a list line's.
    void workbookAsList()
    {
        SheetImportOptions options;
        options.lines = {true, true, PathStyle::Posix};
        const ListImport list = importSheetFile(dataFile("cases-shared.xlsx"), options);
        QVERIFY2(list.refusal.isEmpty(), qPrintable(list.refusal));
        QCOMPARE(list.entries,
                 (QStringList{"2024/営業部/001", "2024/営業部/002", "2024/総務部/003",
                              "2025/営業部/案件010", "2025/営業部/案件011", "2025-04-01/経理部"}));
        QCOMPARE(list.entryLines, (QList<qint64>{2, 3, 4, 5, 5, 6}));
    }

    // A choice or a range expands within its cell, or the table is refused: it would name
    // another folder than the row says.
    void expansionStaysInItsCell_data()
    {
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("a choice in a cell")
            << QList<QStringList>{{"x", "{a,b}"}} << QStringList{"x/a", "x/b"};
        QTest::newRow("a choice naming the folder above")
            << QList<QStringList>{{"x", "{a,..}"}} << QStringList{};
        QTest::newRow("a choice across two cells")
            << QList<QStringList>{{"{a,", "b}"}} << QStringList{};
    }
    void expansionStaysInItsCell()
    {
        QFETCH(QList<QStringList>, rows);
        SheetImportOptions options;
        options.lines = {true, false, PathStyle::Posix};
        options.syntax.extended = true;
        options.syntax.style = PathStyle::Posix;
        const ListImport list = importSheetTable(tableOf(rows), options);
        QFETCH(QStringList, entries);
        QCOMPARE(list.entries, entries);
        QCOMPARE(list.refusal.isEmpty(), !entries.isEmpty());
    }

    // Japanese Excel's CSV: code page 932 read by the list files' rule; the line break inside
    // a quoted cell is named with its row, counted past the comma inside quotes.
    void codePage932Csv()
    {
        TextEncoding used = TextEncoding::Utf8;
        const SheetTable t =
            readDelimitedFile(dataFile("cases-cp932.csv"), u',', EncodingChoice::Auto, &used);
        QVERIFY2(t.refusal.isEmpty(), qPrintable(t.refusal));
        QCOMPARE(used, TextEncoding::CodePage932);
        QCOMPARE(t.rows.at(1), (QStringList{"2024", "営業部, 東", "001"}));
        SheetImportOptions options;
        options.lines = {true, true, PathStyle::Posix};
        const ListImport list = importSheetTable(t, options);
        QVERIFY2(list.refusal.contains("4 行 2 列目") && list.refusal.contains("制御文字"),
                 qPrintable(list.refusal));
        QVERIFY(list.entries.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSheetImport)
#include "test_sheet_import.moc"
