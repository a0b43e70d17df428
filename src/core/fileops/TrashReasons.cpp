#include "TrashReasons.h"

#include <QCoreApplication>

#include <cerrno>

namespace TrashReason
{

Reason systemError(int error)
{
#ifdef Q_OS_WIN
    // The system's own message, in the language of the system.
    return {qt_error_string(error), "system_error"};
#else
    struct Known {
        int error;
        const char* code;
        const char* text;
    };
    static const Known known[] = {
        {EACCES, "permission_denied",
         QT_TRANSLATE_NOOP("TrashReason", "アクセスが許可されていません")},
        {EPERM, "not_permitted", QT_TRANSLATE_NOOP("TrashReason", "この操作は許可されていません")},
        {ENOENT, "not_found", QT_TRANSLATE_NOOP("TrashReason", "見つかりません")},
        {ENOTDIR, "not_a_folder", QT_TRANSLATE_NOOP("TrashReason", "途中がフォルダではありません")},
        {EISDIR, "is_a_folder", QT_TRANSLATE_NOOP("TrashReason", "フォルダです")},
        {ENOSPC, "disk_full", QT_TRANSLATE_NOOP("TrashReason", "ディスクに空きがありません")},
        {EDQUOT, "quota_exceeded",
         QT_TRANSLATE_NOOP("TrashReason", "ディスクの使用量の上限に達しました")},
        {EROFS, "read_only_volume",
         QT_TRANSLATE_NOOP("TrashReason", "読み取り専用のボリュームです")},
        {EXDEV, "other_volume", QT_TRANSLATE_NOOP("TrashReason", "別のボリュームです")},
        {EBUSY, "busy", QT_TRANSLATE_NOOP("TrashReason", "使用中です")},
        {EEXIST, "exists", QT_TRANSLATE_NOOP("TrashReason", "同じ名前のものが既にあります")},
        {ENOTEMPTY, "not_empty", QT_TRANSLATE_NOOP("TrashReason", "空ではありません")},
        {ENAMETOOLONG, "name_too_long", QT_TRANSLATE_NOOP("TrashReason", "名前が長すぎます")},
        {ELOOP, "link_loop",
         QT_TRANSLATE_NOOP("TrashReason", "リンクが多すぎるか、リンクを通れません")},
        {EMLINK, "too_many_links",
         QT_TRANSLATE_NOOP("TrashReason", "リンクの数が上限に達しました")},
        {EIO, "io_error", QT_TRANSLATE_NOOP("TrashReason", "入出力のエラーです")},
        {EINVAL, "invalid", QT_TRANSLATE_NOOP("TrashReason", "この名前か操作は使えません")},
        {EFBIG, "file_too_large", QT_TRANSLATE_NOOP("TrashReason", "ファイルが大きすぎます")},
        {ENOMEM, "no_memory", QT_TRANSLATE_NOOP("TrashReason", "メモリが足りません")},
        {EMFILE, "too_many_files",
         QT_TRANSLATE_NOOP("TrashReason", "開いているファイルが多すぎます")},
        {ETXTBSY, "busy", QT_TRANSLATE_NOOP("TrashReason", "使用中です")},
        {EOPNOTSUPP, "not_supported",
         QT_TRANSLATE_NOOP("TrashReason", "このファイルシステムではできません")},
    };
    for (const Known& k : known) {
        if (k.error == error)
            return {QCoreApplication::translate("TrashReason", k.text), k.code};
    }
    return {QCoreApplication::translate("TrashReason", "システムのエラーです (番号 %1)").arg(error),
            "system_error"};
#endif
}

} // namespace TrashReason
