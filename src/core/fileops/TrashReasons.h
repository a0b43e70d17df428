#pragma once

#include "Reason.h"

// Why the trash left an item where it was, or could not take one back: every text of the
// freedesktop trash, its restore and the recycle bin, in one place.
namespace TrashReason
{

inline Reason noHomeTrash()
{
    return {QStringLiteral("ホームのごみ箱がありません (HOME も XDG_DATA_HOME も絶対パスの"
                           "フォルダを指していません)"),
            "no_home_trash"};
}
inline Reason notAbsolute()
{
    return {QStringLiteral("絶対パスではないか、その場所がありません"), "bad_path"};
}
inline Reason noName()
{
    return {QStringLiteral("ごみ箱に移動する名前がありません"), "no_name"};
}
inline Reason trashFolder()
{
    return {QStringLiteral("ごみ箱のフォルダは移動できません"), "trash_folder"};
}
inline Reason mountPoint()
{
    return {QStringLiteral("マウントポイントはごみ箱に移動できません"), "mount_point"};
}
inline Reason volumeInside()
{
    return {QStringLiteral("中に別のボリュームがマウントされているため移動できません"),
            "volume_inside"};
}
inline Reason trashUnusable(const QString& trash, const QString& why)
{
    return {QStringLiteral("ごみ箱 %1 を使えません: %2").arg(trash, why), "trash_unusable"};
}
inline Reason unreadable()
{
    return {QStringLiteral("フォルダの中を読めません"), "unreadable"};
}
inline Reason outsideTopFolder()
{
    return {QStringLiteral("ボリュームの最上位のフォルダの外にあります"), "outside_volume"};
}
inline Reason otherWentToTrash()
{
    return {QStringLiteral("確かめたものとは別のものがごみ箱に移動しました (ごみ箱に残っています)"),
            "swapped"};
}
inline Reason noFreeName()
{
    return {QStringLiteral("ごみ箱に空いている名前がありません"), "no_free_name"};
}
inline Reason noTrash()
{
    return {QStringLiteral("このシステムには使えるごみ箱がありません"), "no_trash"};
}
inline Reason notThisHomeTrash()
{
    return {QStringLiteral("このセッションのホームのごみ箱ではありません (HOME か XDG_DATA_HOME が"
                           "削除のときと違います)"),
            "other_home_trash"};
}
inline Reason otherLeftTrash()
{
    return {QStringLiteral("確かめたものとは別のものがごみ箱から出ました (ごみ箱に戻しました)"),
            "swapped"};
}
inline Reason foreignHomeTrash(const QString& trash)
{
    return {QStringLiteral("ごみ箱 %1 がこのユーザーのフォルダではありません (別のユーザーの"
                           "フォルダか、そこへのリンク)")
                .arg(trash),
            "foreign_home_trash"};
}
inline Reason foreignHome(const QString& home)
{
    return {QStringLiteral("ホームフォルダ %1 が別のユーザーのものなので、その中にはフォルダを"
                           "作りません")
                .arg(home),
            "foreign_home"};
}
inline Reason homeNotText()
{
    return {
        QStringLiteral("HOME か XDG_DATA_HOME がファイル名の文字コード (UTF-8) として読めません"),
        "home_not_text"};
}

inline Reason otherVolume()
{
    return {QStringLiteral("元の場所が別のボリュームです"), "other_volume"};
}
inline Reason notOwnRecycleBin()
{
    return {QStringLiteral("このユーザーのごみ箱の項目ではありません"), "foreign_recycle_bin"};
}
inline Reason recycleBinUnreachable(const QString& folder)
{
    return {QStringLiteral("ごみ箱 %1 に届きません (ドライブがつながっていません)").arg(folder),
            "volume_unavailable"};
}

// Not a failure: the item is in a trash that the next restart empties (tmpfs, ramfs).
inline Reason trashInMemory()
{
    return {QStringLiteral("ごみ箱がメモリ上 (tmpfs) にあるため、次に再起動すると消えます"),
            "trash_in_memory"};
}

// A system error as the user reads it, for one errno (POSIX) or Win32 code.
Reason systemError(int error);

} // namespace TrashReason
