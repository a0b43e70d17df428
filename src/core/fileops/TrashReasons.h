#pragma once

#include "Reason.h"

#include <QCoreApplication>

// Why the trash left an item where it was, or could not take one back: every text of the
// freedesktop trash, its restore and the recycle bin, in one place.
namespace TrashReason
{

inline Reason noHomeTrash()
{
    return {QCoreApplication::translate(
                "TrashReason", "ホームのごみ箱がありません (HOME も XDG_DATA_HOME も絶対パスの"
                               "フォルダを指していません)"),
            "no_home_trash"};
}
inline Reason notAbsolute()
{
    return {QCoreApplication::translate("TrashReason", "絶対パスではないか、その場所がありません"),
            "bad_path"};
}
inline Reason noName()
{
    return {QCoreApplication::translate("TrashReason", "ごみ箱に移動する名前がありません"),
            "no_name"};
}
inline Reason trashFolder()
{
    return {QCoreApplication::translate("TrashReason", "ごみ箱のフォルダは移動できません"),
            "trash_folder"};
}
inline Reason mountPoint()
{
    return {QCoreApplication::translate("TrashReason", "マウントポイントはごみ箱に移動できません"),
            "mount_point"};
}
inline Reason volumeInside()
{
    return {QCoreApplication::translate("TrashReason",
                                        "中に別のボリュームがマウントされているため移動できません"),
            "volume_inside"};
}
inline Reason trashUnusable(const QString& trash, const QString& why)
{
    return {
        QCoreApplication::translate("TrashReason", "ごみ箱 %1 を使えません: %2").arg(trash, why),
        "trash_unusable"};
}
inline Reason unreadable()
{
    return {QCoreApplication::translate("TrashReason", "フォルダの中を読めません"), "unreadable"};
}
inline Reason outsideTopFolder()
{
    return {
        QCoreApplication::translate("TrashReason", "ボリュームの最上位のフォルダの外にあります"),
        "outside_volume"};
}
inline Reason otherWentToTrash()
{
    return {
        QCoreApplication::translate(
            "TrashReason", "確かめたものとは別のものがごみ箱に移動しました (ごみ箱に残っています)"),
        "swapped"};
}
inline Reason noFreeName()
{
    return {QCoreApplication::translate("TrashReason", "ごみ箱に空いている名前がありません"),
            "no_free_name"};
}
inline Reason noTrash()
{
    return {QCoreApplication::translate("TrashReason", "このシステムには使えるごみ箱がありません"),
            "no_trash"};
}
inline Reason notThisHomeTrash()
{
    return {QCoreApplication::translate(
                "TrashReason",
                "このセッションのホームのごみ箱ではありません (HOME か XDG_DATA_HOME が"
                "削除のときと違います)"),
            "other_home_trash"};
}
inline Reason otherLeftTrash()
{
    return {QCoreApplication::translate(
                "TrashReason", "確かめたものとは別のものがごみ箱から出ました (ごみ箱に戻しました)"),
            "swapped"};
}
inline Reason foreignHomeTrash(const QString& trash)
{
    return {QCoreApplication::translate(
                "TrashReason", "ごみ箱 %1 がこのユーザーのフォルダではありません (別のユーザーの"
                               "フォルダか、そこへのリンク)")
                .arg(trash),
            "foreign_home_trash"};
}
inline Reason foreignHome(const QString& home)
{
    return {QCoreApplication::translate(
                "TrashReason", "ホームフォルダ %1 が別のユーザーのものなので、その中にはフォルダを"
                               "作りません")
                .arg(home),
            "foreign_home"};
}
inline Reason homeNotText()
{
    return {QCoreApplication::translate(
                "TrashReason",
                "HOME か XDG_DATA_HOME がファイル名の文字コード (UTF-8) として読めません"),
            "home_not_text"};
}

inline Reason otherVolume()
{
    return {QCoreApplication::translate("TrashReason", "元の場所が別のボリュームです"),
            "other_volume"};
}
inline Reason notOwnRecycleBin()
{
    return {QCoreApplication::translate("TrashReason", "このユーザーのごみ箱の項目ではありません"),
            "foreign_recycle_bin"};
}
inline Reason recycleBinUnreachable(const QString& folder)
{
    return {QCoreApplication::translate("TrashReason",
                                        "ごみ箱 %1 に届きません (ドライブがつながっていません)")
                .arg(folder),
            "volume_unavailable"};
}

// Not a failure: the item is in a trash that the next restart empties (tmpfs, ramfs).
inline Reason trashInMemory()
{
    return {QCoreApplication::translate(
                "TrashReason", "ごみ箱がメモリ上 (tmpfs) にあるため、次に再起動すると消えます"),
            "trash_in_memory"};
}

// A system error as the user reads it, for one errno (POSIX) or Win32 code.
Reason systemError(int error);

} // namespace TrashReason
