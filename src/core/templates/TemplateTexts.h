#pragma once

#include "Reason.h"

#include <QCoreApplication>
#include <QLocale>
#include <QString>

// Every text about folder templates: refusals before a run, what a copy did, and why a copy
// stayed when its creation was taken back.
namespace TemplateText
{

inline QString sizeText(qint64 bytes)
{
    return QLocale(QLocale::Japanese).formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat);
}
inline QString notFound(const QString& folder, const QString& why)
{
    return QCoreApplication::translate("TemplateText",
                                       "テンプレートのフォルダ %1 を読み取れません: %2")
        .arg(folder, why);
}
inline QString tooManyEntries(const QString& folder)
{
    return QCoreApplication::translate(
               "TemplateText", "テンプレート %1 は項目が多すぎます (1 回のコピーは %2 項目まで)")
        .arg(folder, QLocale(QLocale::Japanese).toString(10000));
}
inline QString tooLarge(const QString& folder, qint64 bytes)
{
    return QCoreApplication::translate(
               "TemplateText", "テンプレート %1 は大きすぎます: %2 (1 回のコピーは 1 GiB まで)")
        .arg(folder, sizeText(bytes));
}
inline QString tooDeep(const QString& folder)
{
    return QCoreApplication::translate("TemplateText",
                                       "テンプレート %1 は階層が深すぎます (32 階層まで)")
        .arg(folder);
}
inline QString insideTemplate(const QString& folder, const QString& path)
{
    return QCoreApplication::translate("TemplateText",
                                       "テンプレート %1 の中にはフォルダを作れません: %2")
        .arg(folder, path);
}
inline QString holdsTemplate(const QString& folder, const QString& target)
{
    return QCoreApplication::translate(
               "TemplateText", "作成先 %1 の中にテンプレート %2 があります。テンプレートは作成先の"
                               "外に置いて下さい")
        .arg(target, folder);
}
inline QString noRoom(qint64 need, const QString& where, qint64 free)
{
    return QCoreApplication::translate("TemplateText",
                                       "テンプレートのコピーに %1 必要ですが、%2 の空きは %3 です")
        .arg(sizeText(need), where, sizeText(free));
}
// What a folder got, as the report and the terminal say it.
inline QString copied(int folders, int files)
{
    return QCoreApplication::translate(
               "TemplateText", "テンプレートからフォルダ %1 個、ファイル %2 個をコピーしました")
        .arg(folders)
        .arg(files);
}
inline QString notCopiedCount(qsizetype count)
{
    return QCoreApplication::translate("TemplateText", "%1 個はコピーできませんでした").arg(count);
}
// Once at the end of a run whose copies did not all arrive whole.
inline QString partialHeading()
{
    return QCoreApplication::translate(
        "TemplateText", "次のフォルダにはテンプレートの一部をコピーできませんでした:");
}
inline QString runStoppedNoSpace()
{
    return QCoreApplication::translate(
        "TemplateText", "ディスクの空きが足りなくなったため、作成を途中で止めました。");
}
inline Reason changedSinceCopy()
{
    return {QCoreApplication::translate("TemplateText", "テンプレートのコピーの後に変更されたため"),
            "changed_since_copy"};
}
// The main window's status line below its controls, and the menu's items.
inline QString statusLine(const QString& folder, bool foldersOnly)
{
    return foldersOnly
               ? QCoreApplication::translate("TemplateText", "テンプレート: %1 (フォルダのみ)")
                     .arg(folder)
               : QCoreApplication::translate("TemplateText", "テンプレート: %1").arg(folder);
}
inline QString chooseItem()
{
    return QCoreApplication::translate("TemplateText", "テンプレートの指定...");
}
inline QString clearItem()
{
    return QCoreApplication::translate("TemplateText", "テンプレートを使わない");
}
inline QString foldersOnlyItem()
{
    return QCoreApplication::translate("TemplateText", "テンプレートのフォルダのみコピー");
}
inline QString notSaved(const QString& file)
{
    return QCoreApplication::translate("TemplateText",
                                       "テンプレートの設定を保存できませんでした。\r\n"
                                       "この設定は NMaker を終了するまで有効です。\r\n") +
           file;
}
// The series preview's line under each folder when a copy would bring nothing.
inline QString previewNothing()
{
    return QCoreApplication::translate("TemplateText",
                                       "(テンプレートにコピーするものはありません)");
}

} // namespace TemplateText
