#include "TrashReasons.h"

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
        const char16_t* text;
    };
    static const Known known[] = {
        {EACCES, "permission_denied", u"アクセスが許可されていません"},
        {EPERM, "not_permitted", u"この操作は許可されていません"},
        {ENOENT, "not_found", u"見つかりません"},
        {ENOTDIR, "not_a_folder", u"途中がフォルダではありません"},
        {EISDIR, "is_a_folder", u"フォルダです"},
        {ENOSPC, "disk_full", u"ディスクに空きがありません"},
        {EDQUOT, "quota_exceeded", u"ディスクの使用量の上限に達しました"},
        {EROFS, "read_only_volume", u"読み取り専用のボリュームです"},
        {EXDEV, "other_volume", u"別のボリュームです"},
        {EBUSY, "busy", u"使用中です"},
        {EEXIST, "exists", u"同じ名前のものが既にあります"},
        {ENOTEMPTY, "not_empty", u"空ではありません"},
        {ENAMETOOLONG, "name_too_long", u"名前が長すぎます"},
        {ELOOP, "link_loop", u"リンクが多すぎるか、リンクを通れません"},
        {EMLINK, "too_many_links", u"リンクの数が上限に達しました"},
        {EIO, "io_error", u"入出力のエラーです"},
        {EINVAL, "invalid", u"この名前か操作は使えません"},
        {EFBIG, "file_too_large", u"ファイルが大きすぎます"},
        {ENOMEM, "no_memory", u"メモリが足りません"},
        {EMFILE, "too_many_files", u"開いているファイルが多すぎます"},
        {ETXTBSY, "busy", u"使用中です"},
        {EOPNOTSUPP, "not_supported", u"このファイルシステムではできません"},
    };
    for (const Known& k : known) {
        if (k.error == error)
            return {QString::fromUtf16(k.text), k.code};
    }
    return {QStringLiteral("システムのエラーです (番号 %1)").arg(error), "system_error"};
#endif
}

} // namespace TrashReason
