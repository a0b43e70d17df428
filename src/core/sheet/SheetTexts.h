#pragma once

#include <QCoreApplication>
#include <QLocale>
#include <QString>

// Every text about spreadsheets and pasted cells: why a table is refused, and where.
namespace SheetText
{

// "3 行 2 列目" — a cell as the user finds it in the sheet.
inline QString cellAt(qint64 row, int column)
{
    return QCoreApplication::translate("SheetText", "%1 行 %2 列目").arg(row).arg(column);
}
inline QString openQuote(qint64 row)
{
    return QCoreApplication::translate("SheetText", "%1 行目で始まる \" が閉じられていません")
        .arg(row);
}
inline QString refusedCharacter(qint64 row, int column, const QString& chars)
{
    return QCoreApplication::translate(
               "SheetText", "%1: セルに使えない文字があります (1 つのセルが 1 つの階層です。"
                            "次の文字は使えません: %2)")
        .arg(cellAt(row, column), chars);
}
inline QString controlCharacter(qint64 row, int column)
{
    return QCoreApplication::translate("SheetText", "%1: セルに改行などの制御文字があります")
        .arg(cellAt(row, column));
}
inline QString dotName(qint64 row, int column)
{
    return QCoreApplication::translate("SheetText", "%1: セルが \".\" または \"..\" です")
        .arg(cellAt(row, column));
}
inline QString emptyBefore(qint64 row, int column)
{
    return QCoreApplication::translate("SheetText",
                                       "%1: 空のセルの後ろに値があります (上のセルから補えません)")
        .arg(cellAt(row, column));
}
inline QString levelsChanged(qint64 row)
{
    return QCoreApplication::translate(
               "SheetText", "%1 行目: 範囲や選択肢を展開すると、1 つのセルが 1 つの階層に"
                            "なりません")
        .arg(row);
}
inline QString oldFormat()
{
    return QCoreApplication::translate(
        "SheetText", "パスワードで保護されたブックか、古い形式 (.xls) のブックは読めません。"
                     ".xlsx または CSV で保存し直して下さい");
}
inline QString otherFormat()
{
    return QCoreApplication::translate(
        "SheetText", ".xls や .ods のブックは読めません。.xlsx または CSV で保存し直して"
                     "下さい");
}
inline QString noCachedValue(qint64 row, int column)
{
    return QCoreApplication::translate(
               "SheetText", "%1: 数式の値が保存されていません (表計算ソフトで開いて保存し直して"
                            "下さい)")
        .arg(cellAt(row, column));
}
inline QString errorValue(qint64 row, int column, const QString& value)
{
    return QCoreApplication::translate("SheetText", "%1: エラーの値です: %2")
        .arg(cellAt(row, column), value);
}
inline QString notAWorkbook()
{
    return QCoreApplication::translate(
        "SheetText", "Excel のブック (.xlsx) として読めません。壊れているか、別の形式です");
}
inline QString encrypted()
{
    return QCoreApplication::translate(
        "SheetText", "パスワードで保護されたブックは読めません。保護を外して保存し直して"
                     "下さい");
}
inline QString tooBig(const QString& part)
{
    return QCoreApplication::translate(
               "SheetText", "ブックの中身が大きすぎます (%1。展開して 256 MiB、合わせて 512 MiB、"
                            "10,000 項目まで)")
        .arg(part);
}
inline QString noSheet(const QString& name)
{
    return QCoreApplication::translate("SheetText", "シート \"%1\" がありません").arg(name);
}
inline QString noSheets()
{
    return QCoreApplication::translate("SheetText", "ブックにシートがありません");
}
inline QString tooManyRows()
{
    return QCoreApplication::translate("SheetText", "行が多すぎます (1,000,000 行まで)");
}
// The paste preview.
inline QString fillDownLabel()
{
    return QCoreApplication::translate("SheetText", "空のセルは上のセルの値で補う");
}
inline QString skipHeaderLabel()
{
    return QCoreApplication::translate("SheetText", "1 行目は見出しとして読み飛ばす");
}
inline QString previewTitle()
{
    return QCoreApplication::translate("SheetText", "表の読み込み");
}
inline QString sheetLabel()
{
    return QCoreApplication::translate("SheetText", "シート(&S):");
}
inline QString addButton()
{
    return QCoreApplication::translate("SheetText", "追加");
}
inline QString readButton()
{
    return QCoreApplication::translate("SheetText", "読み込み");
}
inline QString rowsToRead(qsizetype rows)
{
    return QCoreApplication::translate(
               "SheetText", "%1 行を読み込み、今のリストと置き換えます (最初の 20 行を表示して"
                            "います)")
        .arg(QLocale(QLocale::Japanese).toString(rows));
}
inline QString cancelButton()
{
    return QCoreApplication::translate("SheetText", "キャンセル");
}
inline QString rowsToAdd(qsizetype rows)
{
    return QCoreApplication::translate("SheetText",
                                       "%1 行をリストに追加します (最初の 20 行を表示しています)")
        .arg(QLocale(QLocale::Japanese).toString(rows));
}

} // namespace SheetText
