#pragma once

#include "Reason.h"

// Why an entry of a template did not arrive in a new folder: every text of the tree copy, on
// every host, in one place.
namespace CopyReason
{

inline Reason special()
{
    return {QStringLiteral("特殊なファイル (名前付きパイプ、デバイス、ソケット) はコピーしません"),
            "special_file"};
}
inline Reason changed()
{
    return {QStringLiteral("テンプレートの中身が実行中に変わったため"), "template_changed"};
}
inline Reason gone()
{
    return {QStringLiteral("テンプレートから実行中になくなったため"), "template_changed"};
}
inline Reason exists()
{
    return {QStringLiteral("同じ名前のものが既にあるため (上書きはしません)"), "exists"};
}
inline Reason noSpace()
{
    return {QStringLiteral("ディスクの空きが足りないため"), "no_space"};
}
inline Reason parentMissing()
{
    return {QStringLiteral("中に入れるフォルダをコピーできなかったため"), "parent_not_copied"};
}
inline Reason stopped()
{
    return {QStringLiteral("取り消されたため"), "cancelled"};
}
inline Reason linkNotAllowed()
{
    return {QStringLiteral("この環境ではリンクを作れないため"), "link_not_allowed"};
}
inline Reason unsupported()
{
    return {QStringLiteral("このファイルシステムではテンプレートを使えません"), "unsupported"};
}
inline Reason unreadable()
{
    return {QStringLiteral("読み取れないフォルダがあるため"), "unreadable"};
}
// Why a template's folder cannot be read at all, in the program's own words.
inline Reason noSuchFolder()
{
    return {QStringLiteral("フォルダがありません"), "not_found"};
}
inline Reason notAFolder()
{
    return {QStringLiteral("フォルダではありません"), "not_a_folder"};
}
inline Reason accessDenied()
{
    return {QStringLiteral("アクセスが拒否されました"), "access_denied"};
}
inline Reason system(const QString& what)
{
    return {what, "system_error"};
}

} // namespace CopyReason
