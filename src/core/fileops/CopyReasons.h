#pragma once

#include "Reason.h"

#include <QCoreApplication>

// Why an entry of a template did not arrive in a new folder: every text of the tree copy, on
// every host, in one place.
namespace CopyReason
{

// Left out by rule rather than failed: asked for often, by its code alone.
constexpr const char* SpecialCode = "special_file";
inline Reason special()
{
    return {
        QCoreApplication::translate(
            "CopyReason", "特殊なファイル (名前付きパイプ、デバイス、ソケット) はコピーしません"),
        SpecialCode};
}
inline Reason changed()
{
    return {QCoreApplication::translate("CopyReason", "テンプレートの中身が実行中に変わったため"),
            "template_changed"};
}
inline Reason gone()
{
    return {QCoreApplication::translate("CopyReason", "テンプレートから実行中になくなったため"),
            "template_changed"};
}
inline Reason exists()
{
    return {QCoreApplication::translate("CopyReason",
                                        "同じ名前のものが既にあるため (上書きはしません)"),
            "exists"};
}
inline Reason noSpace()
{
    return {QCoreApplication::translate("CopyReason", "ディスクの空きが足りないため"), "no_space"};
}
inline Reason parentMissing()
{
    return {QCoreApplication::translate("CopyReason", "中に入れるフォルダをコピーできなかったため"),
            "parent_not_copied"};
}
inline Reason stopped()
{
    return {QCoreApplication::translate("CopyReason", "取り消されたため"), "cancelled"};
}
inline Reason linkNotAllowed()
{
    return {QCoreApplication::translate("CopyReason", "この環境ではリンクを作れないため"),
            "link_not_allowed"};
}
inline Reason unsupported()
{
    return {QCoreApplication::translate("CopyReason",
                                        "このファイルシステムではテンプレートを使えません"),
            "unsupported"};
}
inline Reason unreadable()
{
    return {QCoreApplication::translate("CopyReason", "読み取れないフォルダがあるため"),
            "unreadable"};
}
// Why a template's folder cannot be read at all, in the program's own words.
inline Reason noSuchFolder()
{
    return {QCoreApplication::translate("CopyReason", "フォルダがありません"), "not_found"};
}
inline Reason notAFolder()
{
    return {QCoreApplication::translate("CopyReason", "フォルダではありません"), "not_a_folder"};
}
inline Reason accessDenied()
{
    return {QCoreApplication::translate("CopyReason", "アクセスが拒否されました"), "access_denied"};
}
inline Reason system(const QString& what)
{
    return {what, "system_error"};
}

} // namespace CopyReason
