#include "MessageCatalogue.h"

#include <QCoreApplication>

namespace
{

// In the entry texts, U+0001..U+0003 stand for the inserts T1..T3, and U+0004 for T1 without
// its first character (the manual's name is passed with a leading backslash). A translation
// keeps them where its own words want the inserts.
struct Entry {
    int number;
    int style;
    const char* text;
    int unattended = Answer::None;
};

constexpr Entry entries[] = {
    {0, 16, QT_TRANSLATE_NOOP("MessageCatalogue", "ファイルに設定を書き込めませんでした")},
    {2, 48, QT_TRANSLATE_NOOP("MessageCatalogue", "フォルダ名に\x01は、使えません")},
    {3, 48, QT_TRANSLATE_NOOP("MessageCatalogue", "数値を入力して下さい")},
    {4, 16, QT_TRANSLATE_NOOP("MessageCatalogue", "連番開始番号に適切な数値を入力して下さい。")},
    {5, 16, QT_TRANSLATE_NOOP("MessageCatalogue", "連番終了番号に適切な数値を入力して下さい。")},
    {6, 16, QT_TRANSLATE_NOOP("MessageCatalogue", "桁数に適切な数値を入力して下さい。")},
    {7, 16,
     QT_TRANSLATE_NOOP("MessageCatalogue",
                       "連番番号と桁数が合っていません\r\nどちらかを変更して下さい")},
    // A script asked for the target: it is made.
    {8, 36,
     QT_TRANSLATE_NOOP(
         "MessageCatalogue",
         "指定されたフォルダ作成先フォルダは存在しません。\r\nフォルダを作成しますか？"),
     Answer::Yes},
    {10, 64, QT_TRANSLATE_NOOP("MessageCatalogue", "フォルダ作成先のフォルダの作成に失敗しました")},
    {12, 64, QT_TRANSLATE_NOOP("MessageCatalogue", "フォルダの作成に失敗しました")},
    {13, 34,
     QT_TRANSLATE_NOOP(
         "MessageCatalogue",
         "フォルダ\x01が、\r\n"
         "既にあるので作成できません。以降のフォルダを作成しますか？\r\n"
         "「中止」なら処理を止めます。「再試行」なら次のフォルダの作成を続けます。\r\n"
         "「無視」なら次から確認ダイアログを出さずに処理を続けます｡ "),
     Answer::Retry},
    {14, 64,
     QT_TRANSLATE_NOOP("MessageCatalogue",
                       "フォルダの作成で異常が起きました。\r\nフォルダが作成できませんでした。")},
    {15, 48,
     QT_TRANSLATE_NOOP(
         "MessageCatalogue",
         "指定されたフォルダ作成先フォルダが存在しません\r\nフォルダを指定し直して下さい")},
    {16, 64, QT_TRANSLATE_NOOP("MessageCatalogue", "削除できませんでした")},
    {17, 64,
     QT_TRANSLATE_NOOP("MessageCatalogue", "削除しようとしたフォルダ\r\n\x01が存在しませんでした")},
    {18, 64, QT_TRANSLATE_NOOP("MessageCatalogue", "処理を中断します")},
    {19, 64,
     QT_TRANSLATE_NOOP(
         "MessageCatalogue",
         "展開できなかったものは、\r\n\x01でした。また、最大桁数(\x02桁)よりも大きいものは、\r\n"
         "\x03でした。修正してやり直して下さい。")},
    {20, 64, QT_TRANSLATE_NOOP("MessageCatalogue", "リストの\r\n\x01が展開できませんでした。")},
    {21, 64,
     QT_TRANSLATE_NOOP("MessageCatalogue",
                       "最大桁数(\x01桁)よりも大きいので、リストの\r\n"
                       "\x02が展開できませんでした。修正してやり直して下さい。")},
    {22, 48,
     QT_TRANSLATE_NOOP(
         "MessageCatalogue",
         "マニュアル(\x04)がありません。\r\nこのソフトと同じフォルダにマニュアルを置いて下さい。")},
    {23, 35,
     QT_TRANSLATE_NOOP("MessageCatalogue",
                       "リストの’\x01’ドライブが存在しません。\r\n"
                       "このダイアログを出さずに処理続ける時は、「はい」を。\r\n"
                       "リストの次へ進む時は、「いいえ」を。\r\n"
                       "処理を止める時は、「キャンセル」を押して下さい。"),
     Answer::No}, // on with the next entry, which meets the missing volume itself
    {24, 64,
     QT_TRANSLATE_NOOP("MessageCatalogue",
                       "フォルダリストにパスとしては、不適当な文字が含まれています。\r\n"
                       "リストの[\x01]は、作成できませんでした。")},
    {25, 64,
     QT_TRANSLATE_NOOP("MessageCatalogue",
                       "フォルダリストにパスとしては、不適当な文字が含まれています。\r\n"
                       "リストの[\x01]は、削除できませんでした。")},
    {26, 35,
     QT_TRANSLATE_NOOP("MessageCatalogue",
                       "ドライブが指定されていません。任意のフォルダを選択しますか？\r\n"
                       "「いいえ」で\x01を選択します。"),
     Answer::No}, // the folder it names, never a browser nobody can see
};

} // namespace

std::optional<CatalogueMessage> catalogueMessage(int number, const QString& t1, const QString& t2,
                                                 const QString& t3)
{
    for (const Entry& e : entries) {
        if (e.number != number)
            continue;
        const QString source = QCoreApplication::translate("MessageCatalogue", e.text);
        QString text;
        for (const QChar c : source) {
            switch (c.unicode()) {
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
                text += c;
            }
        }
        return CatalogueMessage{text, e.style, e.unattended};
    }
    return std::nullopt;
}
