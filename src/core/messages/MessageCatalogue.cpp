#include "MessageCatalogue.h"

namespace
{

// In the entry texts, U+0001..U+0003 stand for the inserts T1..T3, and U+0004 for T1 without
// its first character (the manual's name is passed with a leading backslash).
struct Entry {
    int number;
    int style;
    const char16_t* text;
    int unattended = Answer::None;
};

constexpr Entry entries[] = {
    {0, 16, u"ファイルに設定を書き込めませんでした"},
    {2, 48, u"フォルダ名に\x01は、使えません"},
    {3, 48, u"数値を入力して下さい"},
    {4, 16, u"連番開始番号に適切な数値を入力して下さい。"},
    {5, 16, u"連番終了番号に適切な数値を入力して下さい。"},
    {6, 16, u"桁数に適切な数値を入力して下さい。"},
    {7, 16, u"連番番号と桁数が合っていません\r\nどちらかを変更して下さい"},
    // A script asked for the target: it is made.
    {8, 36, u"指定されたフォルダ作成先フォルダは存在しません。\r\nフォルダを作成しますか？",
     Answer::Yes},
    {10, 64, u"フォルダ作成先のフォルダの作成に失敗しました"},
    {12, 64, u"フォルダの作成に失敗しました"},
    {13, 34,
     u"フォルダ\x01が、\r\n"
     u"既にあるので作成できません。以降のフォルダを作成しますか？\r\n"
     u"「中止」なら処理を止めます。「再試行」なら次のフォルダの作成を続けます。\r\n"
     u"「無視」なら次から確認ダイアログを出さずに処理を続けます｡ ",
     Answer::Retry},
    {14, 64, u"フォルダの作成で異常が起きました。\r\nフォルダが作成できませんでした。"},
    {15, 48, u"指定されたフォルダ作成先フォルダが存在しません\r\nフォルダを指定し直して下さい"},
    {16, 64, u"削除できませんでした"},
    {17, 64, u"削除しようとしたフォルダ\r\n\x01が存在しませんでした"},
    {18, 64, u"処理を中断します"},
    {19, 64,
     u"展開できなかったものは、\r\n\x01でした。また、最大桁数(\x02桁)よりも大きいものは、\r\n"
     u"\x03でした。修正してやり直して下さい。"},
    {20, 64, u"リストの\r\n\x01が展開できませんでした。"},
    {21, 64,
     u"最大桁数(\x01桁)よりも大きいので、リストの\r\n"
     u"\x02が展開できませんでした。修正してやり直して下さい。"},
    {22, 48,
     u"マニュアル(\x04)がありません。\r\nこのソフトと同じフォルダにマニュアルを置いて下さい。"},
    {23, 35,
     u"リストの’\x01’ドライブが存在しません。\r\n"
     u"このダイアログを出さずに処理続ける時は、「はい」を。\r\n"
     u"リストの次へ進む時は、「いいえ」を。\r\n"
     u"処理を止める時は、「キャンセル」を押して下さい。",
     Answer::No}, // on with the next entry, which meets the missing volume itself
    {24, 64,
     u"フォルダリストにパスとしては、不適当な文字が含まれています。\r\n"
     u"リストの[\x01]は、作成できませんでした。"},
    {25, 64,
     u"フォルダリストにパスとしては、不適当な文字が含まれています。\r\n"
     u"リストの[\x01]は、削除できませんでした。"},
    {26, 35,
     u"ドライブが指定されていません。任意のフォルダを選択しますか？\r\n"
     u"「いいえ」で\x01を選択します。",
     Answer::No}, // the folder it names, never a browser nobody can see
};

} // namespace

std::optional<CatalogueMessage> catalogueMessage(int number, const QString& t1, const QString& t2,
                                                 const QString& t3)
{
    for (const Entry& e : entries) {
        if (e.number != number)
            continue;
        QString text;
        for (const char16_t* p = e.text; *p; ++p) {
            switch (*p) {
            case 1:
                text += t1;
                break;
            case 2:
                text += t2;
                break;
            case 3:
                text += t3;
                break;
            case 4:
                text += t1.mid(1);
                break;
            default:
                text += QChar(*p);
            }
        }
        return CatalogueMessage{text, e.style, e.unattended};
    }
    return std::nullopt;
}
