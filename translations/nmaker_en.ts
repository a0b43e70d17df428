<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>AboutDialog</name>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報 NMaker</source>
        <translation>About NMaker</translation>
    </message>
    <message>
        <source>NMaker のアイコン</source>
        <translation>NMaker icon</translation>
    </message>
    <message>
        <source>ソフトの名前です</source>
        <translation>The name of the program</translation>
    </message>
    <message>
        <source>Version </source>
        <translation>Version </translation>
    </message>
    <message>
        <source>バージョン番号です</source>
        <translation>The version number</translation>
    </message>
    <message>
        <source>このアプリは、任意の連番付きの名前でフォルダを作成します</source>
        <translation>This app creates folders named with a numbered series.</translation>
    </message>
    <message>
        <source>ｱﾌﾟﾘｹｰｼｮﾝの説明です</source>
        <translation>Description of the application</translation>
    </message>
    <message>
        <source>警告:  本ソフトは無保証です。作成と削除は自己責任で。</source>
        <translation>Warning:  No warranty. Create and delete at your own risk.</translation>
    </message>
    <message>
        <source>著作権です</source>
        <translation>Copyright notice</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>このダイアログを閉じます</source>
        <translation>Closes this dialog</translation>
    </message>
</context>
<context>
    <name>ArgumentParser</name>
    <message>
        <source>コマンドを指定して下さい</source>
        <translation>no command given</translation>
    </message>
    <message>
        <source>余分な引数です: </source>
        <translation>extra argument: </translation>
    </message>
    <message>
        <source>コマンドを指定して下さい: </source>
        <translation>no command given: </translation>
    </message>
    <message>
        <source>不明なコマンドです: </source>
        <translation>unknown command: </translation>
    </message>
    <message>
        <source>リストファイルの名前が空です</source>
        <translation>the list file name is empty</translation>
    </message>
    <message>
        <source>不明なオプションです: </source>
        <translation>unknown option: </translation>
    </message>
    <message>
        <source>オプションが二度指定されています: </source>
        <translation>option given twice: </translation>
    </message>
    <message>
        <source>値がありません: </source>
        <translation>missing value: </translation>
    </message>
    <message>
        <source>値は指定できません: </source>
        <translation>no value allowed: </translation>
    </message>
    <message>
        <source>--null (-0) は expand と --dry-run でだけ使えます</source>
        <translation>--null (-0) is for expand and --dry-run only</translation>
    </message>
    <message>
        <source>--json と --null (-0) は一緒に使えません</source>
        <translation>--json and --null (-0) cannot be used together</translation>
    </message>
    <message>
        <source>--quiet (-q) と --verbose (-v) は一緒に使えません</source>
        <translation>--quiet (-q) and --verbose (-v) cannot be used together</translation>
    </message>
    <message>
        <source>値が空です: --report</source>
        <translation>empty value: --report</translation>
    </message>
    <message>
        <source>--report は --dry-run とは一緒に使えません</source>
        <translation>--report cannot be used with --dry-run</translation>
    </message>
    <message>
        <source>値が空です: --template</source>
        <translation>empty value: --template</translation>
    </message>
    <message>
        <source>改行は使えません: --template</source>
        <translation>line breaks are not allowed: --template</translation>
    </message>
    <message>
        <source>--folders-only は --template と一緒に使います</source>
        <translation>--folders-only goes with --template</translation>
    </message>
    <message>
        <source>--encoding には auto、cp932、utf-8 のどれかを指定して下さい: </source>
        <translation>--encoding takes auto, cp932 or utf-8: </translation>
    </message>
    <message>
        <source>リストファイルを指定して下さい</source>
        <translation>no list file given</translation>
    </message>
    <message>
        <source>--format には list、csv、tsv、xlsx のどれかを指定して下さい: </source>
        <translation>--format takes list, csv, tsv or xlsx: </translation>
    </message>
    <message>
        <source>--sheet は .xlsx のブックにだけ使えます</source>
        <translation>--sheet is for .xlsx workbooks only</translation>
    </message>
    <message>
        <source>--no-fill-down と --skip-header は表 (CSV、TSV、.xlsx) にだけ使えます</source>
        <translation>--no-fill-down and --skip-header are for tables only (CSV, TSV, .xlsx)</translation>
    </message>
    <message>
        <source>値が空です: --base</source>
        <translation>empty value: --base</translation>
    </message>
    <message>
        <source>改行は使えません: --base</source>
        <translation>line breaks are not allowed: --base</translation>
    </message>
    <message>
        <source>指定されていません: </source>
        <translation>missing option: </translation>
    </message>
    <message>
        <source>値が空です: --target</source>
        <translation>empty value: --target</translation>
    </message>
    <message>
        <source>%1 には %2〜%3 の数値を指定して下さい: %4</source>
        <translation>%1 takes a number from %2 to %3: %4</translation>
    </message>
    <message>
        <source>改行は使えません: </source>
        <translation>line breaks are not allowed: </translation>
    </message>
    <message>
        <source>使い方:
  nmaker create --target DIR [--prefix P] [--suffix S] --first N --last M
                [--digits K] [--no-zero-fill] [--dry-run] [--report CSV]
                [--template DIR [--folders-only]]
  nmaker delete --target DIR [--prefix P] [--suffix S] --first N --last M
                [--digits K] [--no-zero-fill] [--with-contents] [--dry-run]
                [--report CSV]
  nmaker list-create FILE [--base DIR] [--encoding E] [--extended] [--dry-run]
                [--report CSV] [--template DIR [--folders-only]]
  nmaker list-delete FILE [--base DIR] [--encoding E] [--extended]
                [--with-contents] [--dry-run] [--report CSV]
  nmaker expand FILE [--encoding E] [--extended] [-0]
  list-create、list-delete、expand の FILE は表 (.csv、.tsv、.xlsx) でもよく、
  [--format F] [--sheet NAME] [--no-fill-down] [--skip-header] を付けられます
  nmaker undo [--dry-run] [--report CSV]
  nmaker --help | --version
  どのコマンドにも --json、-q、-v を付けられます。FILE が - のときは標準入力から
  リストを読みます。

  create          DIR の中に P + 番号 + S のフォルダを N から M まで作成します
  delete          同じフォルダをごみ箱に移動します
  list-create     フォルダリスト FILE のフォルダを作成します
  list-delete     フォルダリスト FILE のフォルダをごみ箱に移動します
  expand          FILE の範囲を展開し、パスを1行に1つ表示します
  undo            直前の作成または削除 (新しいほう) を元に戻します。削除なら
                  ごみ箱に移動したフォルダを元の場所に戻します

  --target DIR    フォルダ作成先フォルダ (create はないときに作成します)
  --prefix P      番号の前に付ける文字
  --suffix S      番号の後に付ける文字
  --first N       連番開始番号 (0〜99999)
  --last M        連番終了番号 (0〜99999)
  --digits K      桁数 (1〜5、既定は 3)
  --no-zero-fill  連番部分を&quot;0&quot;で埋めない
  --base DIR      ドライブ (ルート) のない項目を置くフォルダ
  --with-contents 中身のあるフォルダも削除する
  --template DIR  作成した各フォルダに DIR の中身 (サブフォルダとファイル) を
                  コピーする。既にあったフォルダには何もコピーしない
  --folders-only  テンプレートのフォルダだけをコピーし、ファイルはコピーしない
  --dry-run       作成・削除するパス (undo では戻す・ごみ箱に移動するパス) を
                  表示するだけで、何も変更しない
  --encoding E    リストファイルの文字コード: auto (既定)、cp932、utf-8
                  auto は BOM があれば UTF-8、UTF-8 として正しくなければ cp932、
                  どちらとしても読めるときは日本語として自然に読めるほう
  --format F      FILE の形式: list (リストファイル)、csv、tsv、xlsx。既定は名前の
                  拡張子で決め、- (標準入力) ではリストファイル
  --sheet NAME    .xlsx のシート (既定は最初のシート)
  --no-fill-down  表の空のセルを上のセルの値で補わない
  --skip-header   表の 1 行目を見出しとして読み飛ばす
                  表では 1 行が 1 つのフォルダ、セルが左から順に階層になります
  --extended      拡張書式で展開する: すべての範囲 [a-b] (英字・かなも)、
                  刻み [1-9:2]、選択肢 {x,y}、日付 {date} {date:yyyy-MM}
  -0, --null      expand と --dry-run のパスを改行ではなく NUL で区切り、そのまま出力
                  する (xargs -0 向け)
  --json          標準出力に JSON Lines で出力する: フォルダごとに 1 行
                  {&quot;type&quot;: &quot;folder&quot;, &quot;path&quot;, &quot;outcome&quot;, &quot;reason&quot;, &quot;line&quot;}
                  (outcome は created、existing、failed、trashed、kept、missing、
                  restored)、テンプレートを使うと &quot;copied_folders&quot;、
                  &quot;copied_files&quot;、&quot;not_copied&quot; (path と reason) も付く、
                  --dry-run では &quot;planned&quot;、expand では &quot;entry&quot;、最後に &quot;summary&quot;
                  UTF-8 にならない名前には &quot;path_bytes&quot; (base64) を添える
  --report CSV    フォルダごとの結果を CSV (UTF-8、BOM 付き) に書き出す
  -q, --quiet     進行状況と集計の行を表示しない (失敗したフォルダは表示する)
  -v, --verbose   フォルダごとに結果を 1 行ずつ標準エラーに表示する
  --lang L        表示言語: ja (日本語、既定) または en (English)。環境変数
                  NMAKER_LANG でも指定できる

制御文字 (改行など) を含むパスは $&apos;…&apos; の形で表示します。
終了コード: 0 完了、1 作成・削除できなかったフォルダがある (テンプレートの一部を
コピーできなかったフォルダ、undo では元に戻せなかったフォルダも)、2 引数またはリストの
誤り (undo では元に戻せる実行がないか、実行の記録が使えない)
</source>
        <translation>Usage:
  nmaker create --target DIR [--prefix P] [--suffix S] --first N --last M
                [--digits K] [--no-zero-fill] [--dry-run] [--report CSV]
                [--template DIR [--folders-only]]
  nmaker delete --target DIR [--prefix P] [--suffix S] --first N --last M
                [--digits K] [--no-zero-fill] [--with-contents] [--dry-run]
                [--report CSV]
  nmaker list-create FILE [--base DIR] [--encoding E] [--extended] [--dry-run]
                [--report CSV] [--template DIR [--folders-only]]
  nmaker list-delete FILE [--base DIR] [--encoding E] [--extended]
                [--with-contents] [--dry-run] [--report CSV]
  nmaker expand FILE [--encoding E] [--extended] [-0]
  For list-create, list-delete and expand, FILE may be a table (.csv, .tsv,
  .xlsx), with [--format F] [--sheet NAME] [--no-fill-down] [--skip-header]
  nmaker undo [--dry-run] [--report CSV]
  nmaker --help | --version
  Every command takes --json, -q and -v. When FILE is -, the list is read from
  standard input.

  create          Create the folders P + number + S in DIR, from N to M
  delete          Move the same folders to the trash
  list-create     Create the folders of the folder list FILE
  list-delete     Move the folders of the folder list FILE to the trash
  expand          Expand the ranges in FILE and show one path per line
  undo            Undo the last creation or deletion (the newer one). For a
                  deletion, the folders in the trash go back where they were

  --target DIR    Target folder (create makes it when it does not exist)
  --prefix P      Text before the number
  --suffix S      Text after the number
  --first N       First number (0-99999)
  --last M        Last number (0-99999)
  --digits K      Digits (1-5, default 3)
  --no-zero-fill  Do not pad the number with &quot;0&quot;
  --base DIR      Folder for the entries without a drive (root)
  --with-contents Delete folders with contents too
  --template DIR  Copy the contents of DIR (subfolders and files) into each
                  created folder; folders that already existed get nothing
  --folders-only  Copy only the template&apos;s folders, not its files
  --dry-run       Only show the paths to create or delete (for undo, to put back
                  or move to the trash); change nothing
  --encoding E    Encoding of the list file: auto (default), cp932, utf-8
                  auto reads UTF-8 with a BOM, cp932 when it is not valid UTF-8,
                  and when both read, the one that reads as natural Japanese
  --format F      Format of FILE: list (list file), csv, tsv, xlsx. By default
                  the name&apos;s extension, and a list file for - (standard input)
  --sheet NAME    Sheet of an .xlsx (default: the first sheet)
  --no-fill-down  Do not fill a table&apos;s empty cells with the value above
  --skip-header   Skip a table&apos;s first row as a heading
                  A table row is one folder; its cells are levels, left to right
  --extended      Extended syntax: all ranges [a-b] (letters, kana too), steps
                  [1-9:2], choices {x,y}, dates {date} {date:yyyy-MM}
  -0, --null      End the paths of expand and --dry-run with NUL instead of a
                  line break, and write them unquoted (for xargs -0)
  --json          Write JSON Lines to standard output: one line per folder
                  {&quot;type&quot;: &quot;folder&quot;, &quot;path&quot;, &quot;outcome&quot;, &quot;reason&quot;, &quot;line&quot;}
                  (outcome is created, existing, failed, trashed, kept, missing,
                  restored); with a template also &quot;copied_folders&quot;,
                  &quot;copied_files&quot;, &quot;not_copied&quot; (path and reason);
                  &quot;planned&quot; with --dry-run, &quot;entry&quot; with expand, &quot;summary&quot; last
                  Names that are not UTF-8 also get &quot;path_bytes&quot; (base64)
  --report CSV    Write each folder&apos;s result to a CSV file (UTF-8 with BOM)
  -q, --quiet     No progress or summary lines (failed folders are still shown)
  -v, --verbose   Show one result line per folder on standard error
  --lang L        display language: ja (Japanese, the default) or en (English);
                  NMAKER_LANG does the same

Paths with control characters (line breaks and the like) are shown as $&apos;…&apos;.
Exit status: 0 done; 1 some folders could not be created or deleted (or part of
a template could not be copied into them; for undo, could not be undone); 2 bad
arguments or list (for undo: no run to undo, or the record of runs is unusable)
</translation>
    </message>
</context>
<context>
    <name>BusyState</name>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>処理を中断します</source>
        <translation>Stops the operation</translation>
    </message>
</context>
<context>
    <name>CodePage932</name>
    <message>
        <source>この環境にはシフトJIS (コードページ 932) の文字コード変換がありません</source>
        <translation>This system has no converter for Shift JIS (code page 932)</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source> (使い方: nmaker --help)</source>
        <translation> (usage: nmaker --help)</translation>
    </message>
    <message>
        <source>nmaker: 引数を文字として読めません (UTF-8 ではありません): </source>
        <translation>nmaker: an argument cannot be read as text (not UTF-8): </translation>
    </message>
</context>
<context>
    <name>CommandServices</name>
    <message>
        <source>nmaker: 結果のファイルを書き込めませんでした: </source>
        <translation>nmaker: could not write the results file: </translation>
    </message>
    <message>
        <source>nmaker: 標準出力に書き込めませんでした</source>
        <translation>nmaker: could not write to standard output</translation>
    </message>
    <message>
        <source>nmaker: 結果のファイルに書き込めません: </source>
        <translation>nmaker: cannot write the results file: </translation>
    </message>
</context>
<context>
    <name>CopyReason</name>
    <message>
        <source>特殊なファイル (名前付きパイプ、デバイス、ソケット) はコピーしません</source>
        <translation>special files (named pipes, devices, sockets) are not copied</translation>
    </message>
    <message>
        <source>テンプレートの中身が実行中に変わったため</source>
        <translation>the template changed during the run</translation>
    </message>
    <message>
        <source>テンプレートから実行中になくなったため</source>
        <translation>removed from the template during the run</translation>
    </message>
    <message>
        <source>同じ名前のものが既にあるため (上書きはしません)</source>
        <translation>something of the same name already exists (nothing is overwritten)</translation>
    </message>
    <message>
        <source>ディスクの空きが足りないため</source>
        <translation>not enough disk space</translation>
    </message>
    <message>
        <source>中に入れるフォルダをコピーできなかったため</source>
        <translation>the folder to hold it could not be copied</translation>
    </message>
    <message>
        <source>取り消されたため</source>
        <translation>cancelled</translation>
    </message>
    <message>
        <source>この環境ではリンクを作れないため</source>
        <translation>links cannot be made here</translation>
    </message>
    <message>
        <source>このファイルシステムではテンプレートを使えません</source>
        <translation>templates cannot be used on this file system</translation>
    </message>
    <message>
        <source>読み取れないフォルダがあるため</source>
        <translation>a folder cannot be read</translation>
    </message>
    <message>
        <source>フォルダがありません</source>
        <translation>no such folder</translation>
    </message>
    <message>
        <source>フォルダではありません</source>
        <translation>not a folder</translation>
    </message>
    <message>
        <source>アクセスが拒否されました</source>
        <translation>access denied</translation>
    </message>
</context>
<context>
    <name>DialogProgress</name>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>FileOperations</name>
    <message>
        <source>削除しています...</source>
        <translation>Deleting...</translation>
    </message>
    <message>
        <source>フォルダー「%1」は存在しません。作成しますか？</source>
        <translation>The folder &quot;%1&quot; does not exist. Create it?</translation>
    </message>
    <message>
        <source>移動しています...</source>
        <translation>Moving...</translation>
    </message>
    <message>
        <source>コピーしています...</source>
        <translation>Copying...</translation>
    </message>
</context>
<context>
    <name>FolderBrowser</name>
    <message>
        <source>適当なフォルダをクリックして選択状態にしてから ＯＫ を押して下さい</source>
        <translation>Click a folder to select it, then press OK</translation>
    </message>
    <message>
        <source>存在しないフォルダです</source>
        <translation>The folder does not exist</translation>
    </message>
</context>
<context>
    <name>FolderEnumeration</name>
    <message>
        <source>指定されたフォルダが存在しません</source>
        <translation>The specified folder does not exist</translation>
    </message>
</context>
<context>
    <name>FolderListModel</name>
    <message>
        <source>既に存在します</source>
        <translation>Already exists</translation>
    </message>
</context>
<context>
    <name>FolderReason</name>
    <message>
        <source>中身があるため</source>
        <translation>not empty</translation>
    </message>
    <message>
        <source>置き換えられたため</source>
        <translation>replaced by something else</translation>
    </message>
    <message>
        <source>確認の後に別のものに置き換えられたため</source>
        <translation>replaced by something else after the check</translation>
    </message>
    <message>
        <source>ごみ箱への移動が取り消されたため</source>
        <translation>moving to the trash was cancelled</translation>
    </message>
    <message>
        <source>同じ名前のフォルダが既にあるため</source>
        <translation>a folder of the same name already exists</translation>
    </message>
    <message>
        <source>元の場所のフォルダがないため</source>
        <translation>the folder it was in no longer exists</translation>
    </message>
    <message>
        <source>ごみ箱のあるボリュームが見つからないため</source>
        <translation>the volume of the trash cannot be found</translation>
    </message>
    <message>
        <source>ごみ箱にないため</source>
        <translation>not in the trash</translation>
    </message>
    <message>
        <source>記録が正しくないため</source>
        <translation>the record is not valid</translation>
    </message>
    <message>
        <source>元に戻せなかったため</source>
        <translation>could not be restored</translation>
    </message>
    <message>
        <source>取り消されたため</source>
        <translation>cancelled</translation>
    </message>
</context>
<context>
    <name>FolderSteps</name>
    <message>
        <source>次のフォルダは%1残しました:<byte value="xd"/>
</source>
        <translation>These folders were kept (%1):<byte value="xd"/>
</translation>
    </message>
    <message>
        <source><byte value="xd"/>
ほか %1 個</source>
        <translation><byte value="xd"/>
and %1 more</translation>
    </message>
    <message>
        <source>%1 個のフォルダを元の場所に戻しました。</source>
        <translation>%1 folders were put back where they were.</translation>
    </message>
    <message>
        <source><byte value="xd"/>
%1 個のフォルダはごみ箱に残しました。</source>
        <translation><byte value="xd"/>
%1 folders were left in the trash.</translation>
    </message>
    <message>
        <source><byte value="xd"/>
%1 個のフォルダはごみ箱にありませんでした。</source>
        <translation><byte value="xd"/>
%1 folders were not in the trash.</translation>
    </message>
    <message>
        <source>次のフォルダは%1ごみ箱に残しました</source>
        <translation>These folders were left in the trash (%1)</translation>
    </message>
    <message>
        <source>次のフォルダはごみ箱にありませんでした</source>
        <translation>These folders were not in the trash</translation>
    </message>
    <message>
        <source>次のフォルダは記録が正しくないため何もしませんでした</source>
        <translation>Nothing was done with these folders: their record is not valid</translation>
    </message>
</context>
<context>
    <name>FreedesktopTrash</name>
    <message>
        <source>フォルダが置き換えられました</source>
        <translation>The folder was replaced</translation>
    </message>
</context>
<context>
    <name>HostFileSystem</name>
    <message>
        <source>アクセスが許可されていません</source>
        <translation>Access denied</translation>
    </message>
    <message>
        <source>書き込みが禁止されたボリュームです</source>
        <translation>The volume is write-protected</translation>
    </message>
    <message>
        <source>同じ名前のファイルがあります</source>
        <translation>A file of the same name exists</translation>
    </message>
    <message>
        <source>ディスクに空きがありません</source>
        <translation>The disk is full</translation>
    </message>
    <message>
        <source>名前が長すぎます</source>
        <translation>The name is too long</translation>
    </message>
    <message>
        <source>絶対パスではないか、NUL 文字を含んでいます</source>
        <translation>Not an absolute path, or it contains a NUL character</translation>
    </message>
    <message>
        <source>「%1」をごみ箱に移動しますか？</source>
        <translation>Move &quot;%1&quot; to the trash?</translation>
    </message>
    <message>
        <source>「%1」を完全に削除しますか？</source>
        <translation>Delete &quot;%1&quot; permanently?</translation>
    </message>
    <message>
        <source>これらの %1 個の項目をごみ箱に移動しますか？</source>
        <translation>Move these %1 items to the trash?</translation>
    </message>
    <message>
        <source>これらの %1 個の項目を完全に削除しますか？</source>
        <translation>Delete these %1 items permanently?</translation>
    </message>
    <message>
        <source>ごみ箱に移動しています...</source>
        <translation>Moving to the trash...</translation>
    </message>
    <message>
        <source>ごみ箱から元の場所に戻しています...</source>
        <translation>Restoring from the trash...</translation>
    </message>
    <message>
        <source>Windows の名前として使えません</source>
        <translation>Not allowed as a Windows name</translation>
    </message>
</context>
<context>
    <name>Language</name>
    <message>
        <source>--lang には ja か en を指定してください: %1</source>
        <translation>--lang takes ja or en: %1</translation>
    </message>
</context>
<context>
    <name>ListCommands</name>
    <message>
        <source>標準入力</source>
        <translation>standard input</translation>
    </message>
    <message>
        <source>nmaker: 標準入力からリストを読めませんでした</source>
        <translation>nmaker: could not read the list from standard input</translation>
    </message>
    <message>
        <source>nmaker: 標準入力: リストファイルが大きすぎます。(上限は 64 MB です)</source>
        <translation>nmaker: standard input: the list file is too large (the limit is 64 MB)</translation>
    </message>
    <message>
        <source>nmaker: リストファイルを開けませんでした: </source>
        <translation>nmaker: could not open the list file: </translation>
    </message>
    <message>
        <source>nmaker: ドライブ (ルート) のない項目があります。--base で置き場所のフォルダを指定して下さい:
</source>
        <translation>nmaker: some entries have no drive (root). Give the folder for them with --base:
</translation>
    </message>
</context>
<context>
    <name>ListController</name>
    <message>
        <source>インポート</source>
        <translation>Importing</translation>
    </message>
    <message>
        <source>貼り付ける内容が大きすぎます。(上限は 64 MB です)</source>
        <translation>The pasted text is too large. (The limit is 64 MB.)</translation>
    </message>
    <message>
        <source>リストファイルに書き込めませんでした。<byte value="xd"/>
</source>
        <translation>Could not write the list file.<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>CSV に書き出す</source>
        <translation>Export to CSV</translation>
    </message>
    <message>
        <source>CSV ファイル (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>すべてのファイル (*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>ファイルに書き込めませんでした。<byte value="xd"/>
</source>
        <translation>Could not write the file.<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>拡張書式の設定を保存できませんでした。<byte value="xd"/>
この設定は NMaker を終了するまで有効です。<byte value="xd"/>
</source>
        <translation>The extended syntax setting could not be saved.<byte value="xd"/>
It holds until NMaker exits.<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>指定</source>
        <translation>chosen</translation>
    </message>
    <message>
        <source>自動判定: BOM があるため</source>
        <translation>detected: it has a BOM</translation>
    </message>
    <message>
        <source>自動判定: 半角英数字だけのため</source>
        <translation>detected: ASCII characters only</translation>
    </message>
    <message>
        <source>自動判定: UTF-8 としては読めないため</source>
        <translation>detected: not readable as UTF-8</translation>
    </message>
    <message>
        <source>自動判定: 改行が LF だけのため</source>
        <translation>detected: LF line breaks only</translation>
    </message>
    <message>
        <source>自動判定</source>
        <translation>detected</translation>
    </message>
    <message>
        <source>自動判定: シフトJIS として読むと日本語になるため</source>
        <translation>detected: reads as Japanese in Shift JIS</translation>
    </message>
</context>
<context>
    <name>ListFile</name>
    <message>
        <source>リストの項目が多すぎます。<byte value="xd"/>
(上限は 1,000,000 項目です)</source>
        <translation>The list has too many entries.<byte value="xd"/>
(The limit is 1,000,000 entries)</translation>
    </message>
    <message>
        <source>リストを展開すると大きすぎます。<byte value="xd"/>
(展開した項目は合わせて 1 億文字までです)</source>
        <translation>The list is too large once expanded.<byte value="xd"/>
(Expanded entries may total 100 million characters at most)</translation>
    </message>
    <message>
        <source>リストファイルが大きすぎます。<byte value="xd"/>
(上限は 64 MB です)</source>
        <translation>The list file is too large.<byte value="xd"/>
(The limit is 64 MB)</translation>
    </message>
    <message>
        <source>リストファイル(*.txt,*.lst)</source>
        <translation>List files (*.txt,*.lst)</translation>
    </message>
    <message>
        <source>ファイルリストの選択</source>
        <translation>Choose a List File</translation>
    </message>
    <message>
        <source>表(*.csv,*.tsv,*.xlsx)</source>
        <translation>Tables (*.csv,*.tsv,*.xlsx)</translation>
    </message>
    <message>
        <source>全てのファイル(*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>ファイルリストの保存</source>
        <translation>Save the List File</translation>
    </message>
</context>
<context>
    <name>ListLine</name>
    <message>
        <source>範囲の値が数値でも1文字でもありません</source>
        <translation>A bound of the range is neither a number nor one character</translation>
    </message>
    <message>
        <source>範囲の値が負の数です</source>
        <translation>A bound of the range is negative</translation>
    </message>
    <message>
        <source>範囲の片方が数値で、もう片方が文字です</source>
        <translation>One end of the range is a number, the other a character</translation>
    </message>
    <message>
        <source>範囲に大文字と小文字が混ざっています</source>
        <translation>The range mixes upper and lower case</translation>
    </message>
    <message>
        <source>範囲の2つの文字の種類が違います</source>
        <translation>The two characters of the range are of different kinds</translation>
    </message>
    <message>
        <source>範囲に使える文字は英字・ひらがな・カタカナです</source>
        <translation>A range takes Latin letters, hiragana or katakana</translation>
    </message>
    <message>
        <source>刻みは 1〜99999 の整数です</source>
        <translation>The step is a whole number from 1 to 99999</translation>
    </message>
    <message>
        <source>日付の書式が空です</source>
        <translation>The date format is empty</translation>
    </message>
    <message>
        <source>空のパスになる組み合わせがあります</source>
        <translation>A combination gives an empty path</translation>
    </message>
    <message>
        <source>{ } の入れ子が深すぎます (%1 段まで)</source>
        <translation>{ } nested too deeply (%1 levels at most)</translation>
    </message>
    <message>
        <source>NUL 文字を含んでいます</source>
        <translation>Contains a NUL character</translation>
    </message>
</context>
<context>
    <name>ListReason</name>
    <message>
        <source>ネットワーク上のパス (UNC) は使えません</source>
        <translation>Network paths (UNC) cannot be used</translation>
    </message>
    <message>
        <source>前のフォルダで実行が止まったため、作りませんでした</source>
        <translation>not created: the run stopped at an earlier folder</translation>
    </message>
</context>
<context>
    <name>ListRun</name>
    <message>
        <source>リストの中に同一のフォルダが存在します。<byte value="xd"/>
リストを修正してやり直して下さい。</source>
        <translation>The list names the same folder more than once.<byte value="xd"/>
Correct the list and try again.</translation>
    </message>
    <message>
        <source>のあるフォルダ</source>
        <translation>&apos;s folder</translation>
    </message>
</context>
<context>
    <name>ListWindow</name>
    <message>
        <source>フォルダ作成リスト - </source>
        <translation>Folder List - </translation>
    </message>
    <message>
        <source>作成</source>
        <translation>Create</translation>
    </message>
    <message>
        <source>リストのフォルダを作成します</source>
        <translation>Creates the folders in the list</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>リストのフォルダを削除します</source>
        <translation>Deletes the folders in the list</translation>
    </message>
    <message>
        <source>右クリックで「編集」メニューを表示します</source>
        <translation>Right-click for the Edit menu</translation>
    </message>
    <message>
        <source>フォルダ作成リスト</source>
        <translation>Folder list</translation>
    </message>
    <message>
        <source>実行(&amp;R)</source>
        <translation>&amp;Run</translation>
    </message>
    <message>
        <source>リストのインポート</source>
        <translation>Import List</translation>
    </message>
    <message>
        <source>読み込んだ文字コード</source>
        <translation>Encoding Used</translation>
    </message>
    <message>
        <source>拡張書式で展開</source>
        <translation>Expand with Extended Syntax</translation>
    </message>
    <message>
        <source>次のインポートから、リストを拡張書式で展開します</source>
        <translation>From the next import on, the list is expanded with the extended syntax</translation>
    </message>
    <message>
        <source>リストのエクスポート</source>
        <translation>Export List</translation>
    </message>
    <message>
        <source>展開済みのエクスポート</source>
        <translation>Export Expanded</translation>
    </message>
    <message>
        <source>結果を表示</source>
        <translation>Show Results</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>全て選択</source>
        <translation>Select All</translation>
    </message>
    <message>
        <source>全ての選択解除</source>
        <translation>Deselect All</translation>
    </message>
    <message>
        <source>選択項目の削除</source>
        <translation>Remove Selected</translation>
    </message>
    <message>
        <source>貼り付け</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>編集</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>フォルダパス</source>
        <translation>Folder path</translation>
    </message>
    <message>
        <source>この文字コードで読みました</source>
        <translation>The file was read in this encoding</translation>
    </message>
    <message>
        <source>この文字コードで読み直します</source>
        <translation>Reads the file again in this encoding</translation>
    </message>
    <message>
        <source>処理を中断します</source>
        <translation>Stopping the operation.</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>「フォルダ作成リスト」ダイアログをを閉じる</source>
        <translation>Close the folder list</translation>
    </message>
    <message>
        <source>インポートしたファイルを読んだ文字コードです。もう一方を選ぶと、同じファイルをその文字コードで読み直します</source>
        <translation>The encoding the imported file was read in. Choose the other one to read the same file again in it.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>フォルダ作成先フォルダの指定</source>
        <translation>Target folder</translation>
    </message>
    <message>
        <source>参照...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>フォルダの選択</source>
        <translation>Choose a folder</translation>
    </message>
    <message>
        <source>フォルダ名の固定文字列部分の指定(\/|:&lt;&gt;&quot;*は使えません)</source>
        <translation>Fixed text of the folder names (\/|:&lt;&gt;&quot;* not allowed)</translation>
    </message>
    <message>
        <source>フォルダ名の固定文字列の接頭部分の指定(\/|:&lt;&gt;&quot;*は使えません)</source>
        <translation>Prefix of the folder names (\/|:&lt;&gt;&quot;* not allowed)</translation>
    </message>
    <message>
        <source>フォルダ名の固定文字列の接尾部分の指定(\/|:&lt;&gt;&quot;*は使えません)</source>
        <translation>Suffix of the folder names (\/|:&lt;&gt;&quot;* not allowed)</translation>
    </message>
    <message>
        <source>固定文字列</source>
        <translation>Fixed text</translation>
    </message>
    <message>
        <source>接頭部分</source>
        <translation>Prefix</translation>
    </message>
    <message>
        <source>接尾部分</source>
        <translation>Suffix</translation>
    </message>
    <message>
        <source>作成</source>
        <translation>Create</translation>
    </message>
    <message>
        <source>指定したフォルダを作成します</source>
        <translation>Creates the specified folders</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>指定したフォルダを削除します</source>
        <translation>Deletes the specified folders</translation>
    </message>
    <message>
        <source>進み具合</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>フォルダ選択</source>
        <translation>Choose Folder</translation>
    </message>
    <message>
        <source>リスト</source>
        <translation>List</translation>
    </message>
    <message>
        <source>連番をリストに表示</source>
        <translation>Show Series in List</translation>
    </message>
    <message>
        <source>リストのインポート</source>
        <translation>Import List</translation>
    </message>
    <message>
        <source>リストのエクスポート</source>
        <translation>Export List</translation>
    </message>
    <message>
        <source>展開済みのエクスポート</source>
        <translation>Export Expanded</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>直前の作成を元に戻す</source>
        <translation>Undo Last Creation</translation>
    </message>
    <message>
        <source>結果を表示</source>
        <translation>Show Results</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>「マニュアル」を開く</source>
        <translation>Open the Manual</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>削除の準備</source>
        <translation>Preparing deletion</translation>
    </message>
    <message>
        <source>エクスポート</source>
        <translation>Exporting</translation>
    </message>
    <message>
        <source>直前の削除を元に戻す</source>
        <translation>Undo Last Deletion</translation>
    </message>
    <message>
        <source>作成先のフォルダをフルパスで入力</source>
        <translation>Enter the full path of the target folder</translation>
    </message>
    <message>
        <source>フォルダ名の連番開始番号の指定</source>
        <translation>First number of the series in the folder names</translation>
    </message>
    <message>
        <source>フォルダ名の連番終了番号の指定</source>
        <translation>Last number of the series in the folder names</translation>
    </message>
    <message>
        <source>フォルダ名の連番部分の桁数の指定</source>
        <translation>Digits of the series in the folder names</translation>
    </message>
    <message>
        <source>Nestmakerを閉じる</source>
        <translation>Close Nestmaker</translation>
    </message>
    <message>
        <source>連番開始番号</source>
        <translation>First number</translation>
    </message>
    <message>
        <source>連番終了番号</source>
        <translation>Last number</translation>
    </message>
    <message>
        <source>連番部分の桁数</source>
        <translation>Digits</translation>
    </message>
    <message>
        <source>作成</source>
        <comment>progress</comment>
        <translation>Creating</translation>
    </message>
    <message>
        <source>表示言語を保存できませんでした。<byte value="xd"/>
次に起動したときも、これまでの言語で表示します。<byte value="xd"/>
</source>
        <translation>The language could not be saved.<byte value="xd"/>
The program will start in the language it had before.<byte value="xd"/>
</translation>
    </message>
</context>
<context>
    <name>MessageCatalogue</name>
    <message>
        <source>ファイルに設定を書き込めませんでした</source>
        <translation>Could not write the settings to the file</translation>
    </message>
    <message>
        <source>フォルダ名に<byte value="x1"/>は、使えません</source>
        <translation><byte value="x1"/> cannot be used in a folder name</translation>
    </message>
    <message>
        <source>数値を入力して下さい</source>
        <translation>Enter a number</translation>
    </message>
    <message>
        <source>連番開始番号に適切な数値を入力して下さい。</source>
        <translation>Enter a valid first number.</translation>
    </message>
    <message>
        <source>連番終了番号に適切な数値を入力して下さい。</source>
        <translation>Enter a valid last number.</translation>
    </message>
    <message>
        <source>桁数に適切な数値を入力して下さい。</source>
        <translation>Enter a valid number of digits.</translation>
    </message>
    <message>
        <source>連番番号と桁数が合っていません<byte value="xd"/>
どちらかを変更して下さい</source>
        <translation>The numbers of the series do not fit the digits<byte value="xd"/>
Change one of them</translation>
    </message>
    <message>
        <source>指定されたフォルダ作成先フォルダは存在しません。<byte value="xd"/>
フォルダを作成しますか？</source>
        <translation>The target folder does not exist.<byte value="xd"/>
Create it?</translation>
    </message>
    <message>
        <source>フォルダ作成先のフォルダの作成に失敗しました</source>
        <translation>Failed to create the target folder</translation>
    </message>
    <message>
        <source>フォルダの作成に失敗しました</source>
        <translation>Failed to create the folder</translation>
    </message>
    <message>
        <source>フォルダ<byte value="x1"/>が、<byte value="xd"/>
既にあるので作成できません。以降のフォルダを作成しますか？<byte value="xd"/>
「中止」なら処理を止めます。「再試行」なら次のフォルダの作成を続けます。<byte value="xd"/>
「無視」なら次から確認ダイアログを出さずに処理を続けます｡ </source>
        <translation>The folder <byte value="x1"/><byte value="xd"/>
already exists and cannot be created. Create the folders after it?<byte value="xd"/>
Abort stops. Retry goes on with the next folder.<byte value="xd"/>
Ignore goes on without asking again.</translation>
    </message>
    <message>
        <source>フォルダの作成で異常が起きました。<byte value="xd"/>
フォルダが作成できませんでした。</source>
        <translation>Something went wrong while creating the folder.<byte value="xd"/>
The folder could not be created.</translation>
    </message>
    <message>
        <source>指定されたフォルダ作成先フォルダが存在しません<byte value="xd"/>
フォルダを指定し直して下さい</source>
        <translation>The target folder does not exist<byte value="xd"/>
Choose the folder again</translation>
    </message>
    <message>
        <source>削除できませんでした</source>
        <translation>Could not delete</translation>
    </message>
    <message>
        <source>削除しようとしたフォルダ<byte value="xd"/>
<byte value="x1"/>が存在しませんでした</source>
        <translation>These folders to delete did not exist:<byte value="xd"/>
<byte value="x1"/></translation>
    </message>
    <message>
        <source>処理を中断します</source>
        <translation>Stopping</translation>
    </message>
    <message>
        <source>展開できなかったものは、<byte value="xd"/>
<byte value="x1"/>でした。また、最大桁数(<byte value="x2"/>桁)よりも大きいものは、<byte value="xd"/>
<byte value="x3"/>でした。修正してやり直して下さい。</source>
        <translation>These could not be expanded:<byte value="xd"/>
<byte value="x1"/>These have more than the maximum of <byte value="x2"/> digits:<byte value="xd"/>
&lt;orrect them and try again.</translation>
    </message>
    <message>
        <source>リストの<byte value="xd"/>
<byte value="x1"/>が展開できませんでした。</source>
        <translation>These lines of the list could not be expanded:<byte value="xd"/>
<byte value="x1"/></translation>
    </message>
    <message>
        <source>最大桁数(<byte value="x1"/>桁)よりも大きいので、リストの<byte value="xd"/>
<byte value="x2"/>が展開できませんでした。修正してやり直して下さい。</source>
        <translation>These lines of the list have more than the maximum of <byte value="x1"/> digits and could not be expanded:<byte value="xd"/>
,orrect them and try again.</translation>
    </message>
    <message>
        <source>マニュアル(<byte value="x4"/>)がありません。<byte value="xd"/>
このソフトと同じフォルダにマニュアルを置いて下さい。</source>
        <translation>The manual (<byte value="x4"/>) is missing.<byte value="xd"/>
Put the manual in the same folder as this program.</translation>
    </message>
    <message>
        <source>リストの’<byte value="x1"/>’ドライブが存在しません。<byte value="xd"/>
このダイアログを出さずに処理続ける時は、「はい」を。<byte value="xd"/>
リストの次へ進む時は、「いいえ」を。<byte value="xd"/>
処理を止める時は、「キャンセル」を押して下さい。</source>
        <translation>The drive &apos;<byte value="x1"/>&apos; of the list does not exist.<byte value="xd"/>
To go on without this box, press Yes.<byte value="xd"/>
To go on with the next line of the list, press No.<byte value="xd"/>
To stop, press Cancel.</translation>
    </message>
    <message>
        <source>フォルダリストにパスとしては、不適当な文字が含まれています。<byte value="xd"/>
リストの[<byte value="x1"/>]は、作成できませんでした。</source>
        <translation>The folder list holds characters not allowed in a path.<byte value="xd"/>
[<byte value="x1"/>] of the list could not be created.</translation>
    </message>
    <message>
        <source>フォルダリストにパスとしては、不適当な文字が含まれています。<byte value="xd"/>
リストの[<byte value="x1"/>]は、削除できませんでした。</source>
        <translation>The folder list holds characters not allowed in a path.<byte value="xd"/>
[<byte value="x1"/>] of the list could not be deleted.</translation>
    </message>
    <message>
        <source>ドライブが指定されていません。任意のフォルダを選択しますか？<byte value="xd"/>
「いいえ」で<byte value="x1"/>を選択します。</source>
        <translation>No drive is given. Choose a folder?<byte value="xd"/>
No chooses <byte value="x1"/>.</translation>
    </message>
</context>
<context>
    <name>NamedLines</name>
    <message>
        <source>ほか %1 行</source>
        <translation>%1 more lines</translation>
    </message>
</context>
<context>
    <name>OutputReason</name>
    <message>
        <source>ファイルではないもの (フォルダ、FIFO、デバイス) があります</source>
        <translation>Something other than a file is there (a folder, FIFO or device)</translation>
    </message>
    <message>
        <source>読み取り専用のファイルです</source>
        <translation>The file is read-only</translation>
    </message>
    <message>
        <source>共有フォルダにほかのユーザーが置いたリンクです</source>
        <translation>A link another user put in a shared folder</translation>
    </message>
    <message>
        <source>行き先のないリンクです</source>
        <translation>A broken link</translation>
    </message>
    <message>
        <source>読み込むファイル %1 と同じファイルです</source>
        <translation>The same file as the input %1</translation>
    </message>
    <message>
        <source>書き込む先のフォルダがないか、新しいファイルを置けません</source>
        <translation>The folder is missing or takes no new file</translation>
    </message>
    <message>
        <source>ファイル名が正しくありません</source>
        <translation>The file name is not valid</translation>
    </message>
    <message>
        <source>書き込めませんでした (ディスクがいっぱいなど)</source>
        <translation>Could not write (the disk may be full)</translation>
    </message>
</context>
<context>
    <name>QtFolderChooser</name>
    <message>
        <source>フォルダの参照 - </source>
        <translation>Browse for Folder - </translation>
    </message>
</context>
<context>
    <name>QtListFileChooser</name>
    <message>
        <source>%1 は既に存在します。<byte value="xd"/>
上書きしますか？</source>
        <translation>%1 already exists.<byte value="xd"/>
Do you want to replace it?</translation>
    </message>
    <message>
        <source>はい(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>いいえ(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
</context>
<context>
    <name>QtPrompter</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>はい(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>いいえ(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>中止(&amp;A)</source>
        <translation>&amp;Abort</translation>
    </message>
    <message>
        <source>再試行(&amp;R)</source>
        <translation>&amp;Retry</translation>
    </message>
    <message>
        <source>無視(&amp;I)</source>
        <translation>&amp;Ignore</translation>
    </message>
</context>
<context>
    <name>ReportModel</name>
    <message>
        <source>結果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>フォルダ</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>理由</source>
        <translation>Reason</translation>
    </message>
    <message>
        <source>行</source>
        <translation>Line</translation>
    </message>
</context>
<context>
    <name>ReportWindow</name>
    <message>
        <source>実行結果 - </source>
        <translation>Run Results - </translation>
    </message>
    <message>
        <source>表示(&amp;V):</source>
        <translation>&amp;View:</translation>
    </message>
    <message>
        <source>表に出す結果を選びます</source>
        <translation>Choose which results the table shows</translation>
    </message>
    <message>
        <source>表示</source>
        <translation>View</translation>
    </message>
    <message>
        <source>すべて (%1)</source>
        <translation>All (%1)</translation>
    </message>
    <message>
        <source>フォルダごとの結果</source>
        <translation>Results per folder</translation>
    </message>
    <message>
        <source>各フォルダの結果と理由。列の見出しで並べ替えます</source>
        <translation>Each folder&apos;s result and reason. Click a column heading to sort.</translation>
    </message>
    <message>
        <source>リストに送る(&amp;L)</source>
        <translation>Send to &amp;List</translation>
    </message>
    <message>
        <source>表のフォルダを「フォルダ作成リスト」に入れます (やり直しに)</source>
        <translation>Puts the table&apos;s folders into the folder list (to try again)</translation>
    </message>
    <message>
        <source>リストファイルに書き出す(&amp;E)</source>
        <translation>&amp;Export to List File</translation>
    </message>
    <message>
        <source>表のフォルダをリストファイルに書き出します</source>
        <translation>Writes the table&apos;s folders to a list file</translation>
    </message>
    <message>
        <source>CSV に書き出す(&amp;S)</source>
        <translation>Export to C&amp;SV</translation>
    </message>
    <message>
        <source>表を CSV ファイル (UTF-8、BOM 付き) に書き出します</source>
        <translation>Writes the table to a CSV file (UTF-8 with BOM)</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>「実行結果」を閉じる</source>
        <translation>Close the run results</translation>
    </message>
    <message>
        <source>作成の結果</source>
        <translation>Creation results</translation>
    </message>
    <message>
        <source>削除の結果</source>
        <translation>Deletion results</translation>
    </message>
    <message>
        <source>元に戻した結果</source>
        <translation>Undo results</translation>
    </message>
</context>
<context>
    <name>RunJournal</name>
    <message>
        <source>NMaker の実行の記録ではありません</source>
        <translation>Not a run journal of NMaker</translation>
    </message>
    <message>
        <source>壊れています (途中で切れているか、書き換えられています)</source>
        <translation>Damaged (cut short or altered)</translation>
    </message>
    <message>
        <source>LOCALAPPDATA がありません</source>
        <translation>LOCALAPPDATA is not set</translation>
    </message>
    <message>
        <source>HOME か XDG_STATE_HOME がファイル名の文字コード (UTF-8) として読めません</source>
        <translation>HOME or XDG_STATE_HOME is not valid in the file name encoding (UTF-8)</translation>
    </message>
    <message>
        <source>HOME も XDG_STATE_HOME も絶対パスではありません</source>
        <translation>Neither HOME nor XDG_STATE_HOME is an absolute path</translation>
    </message>
    <message>
        <source>読めません</source>
        <translation>Cannot be read</translation>
    </message>
    <message>
        <source>大きすぎます (上限は 256 MB です)</source>
        <translation>Too large (the limit is 256 MB)</translation>
    </message>
</context>
<context>
    <name>RunReport</name>
    <message>
        <source>。</source>
        <comment>ends the counts of a template copy</comment>
        <translation>. </translation>
    </message>
    <message>
        <source>、</source>
        <comment>between entries not copied</comment>
        <translation>, </translation>
    </message>
    <message>
        <source>作成</source>
        <translation>Created</translation>
    </message>
    <message>
        <source>既存</source>
        <translation>Existing</translation>
    </message>
    <message>
        <source>失敗</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Deleted</translation>
    </message>
    <message>
        <source>保持</source>
        <translation>Kept</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>Missing</translation>
    </message>
    <message>
        <source>復元</source>
        <translation>Restored</translation>
    </message>
    <message>
        <source>作成 %1、既存 %2、失敗 %3</source>
        <translation>Created %1, existing %2, failed %3</translation>
    </message>
    <message>
        <source>削除 %1、保持 %2、なし %3、失敗 %4</source>
        <translation>Deleted %1, kept %2, missing %3, failed %4</translation>
    </message>
    <message>
        <source>復元 %1、保持 %2、なし %3、失敗 %4</source>
        <translation>Restored %1, kept %2, missing %3, failed %4</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>設定ダイアログ</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>O&#x3000;K</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>操作を反映する</source>
        <translation>Apply the changes</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>操作をキャンセルする</source>
        <translation>Cancel the changes</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>現在の設定を保存する</source>
        <translation>Save the current settings</translation>
    </message>
    <message>
        <source>初期値に戻して保存する</source>
        <translation>Reset and Save</translation>
    </message>
    <message>
        <source>設定を初期値に戻して保存する</source>
        <translation>Reset the settings to their defaults and save them</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>変更したものを元に戻す</source>
        <translation>Undo the changes</translation>
    </message>
    <message>
        <source>フォルダ名の設定</source>
        <translation>Folder names</translation>
    </message>
    <message>
        <source>作成するフォルダ名の連番部分の設定</source>
        <translation>Settings for the series part of new folder names</translation>
    </message>
    <message>
        <source>連番部分を&quot;0&quot;で埋める</source>
        <translation>Pad the series with zeros</translation>
    </message>
    <message>
        <source>例）001、002～020、021</source>
        <translation>e.g. 001, 002 to 020, 021</translation>
    </message>
    <message>
        <source>連番部分を&quot;0&quot;で埋めない</source>
        <translation>Do not pad the series with zeros</translation>
    </message>
    <message>
        <source>例）1、2～20、21</source>
        <translation>e.g. 1, 2 to 20, 21</translation>
    </message>
    <message>
        <source>作成時の設定</source>
        <translation>When creating</translation>
    </message>
    <message>
        <source>フォルダを作成する時の設定</source>
        <translation>Settings for creating folders</translation>
    </message>
    <message>
        <source>同名フォルダがある時無視する</source>
        <translation>Skip folders that already exist</translation>
    </message>
    <message>
        <source>既に同名フォルダがある時確認ダイアログを出さずに無視する</source>
        <translation>When a folder of the same name already exists, skip it without asking</translation>
    </message>
    <message>
        <source>確認ダイアログを出す</source>
        <translation>Ask what to do</translation>
    </message>
    <message>
        <source>既に同名フォルダがある時確認ダイアログを出す</source>
        <translation>When a folder of the same name already exists, ask what to do</translation>
    </message>
    <message>
        <source>削除時の設定</source>
        <translation>When deleting</translation>
    </message>
    <message>
        <source>作成したフォルダを削除する時の設定</source>
        <translation>Settings for deleting created folders</translation>
    </message>
    <message>
        <source>中身のあるフォルダを削除しない</source>
        <translation>Keep folders with contents</translation>
    </message>
    <message>
        <source>フォルダの中にファイルがある時は削除せずに残す</source>
        <translation>Folders with files in them are kept, not deleted</translation>
    </message>
    <message>
        <source>中身のあるフォルダも削除する</source>
        <translation>Delete folders with contents too</translation>
    </message>
    <message>
        <source>フォルダの中にファイルがある時も削除する</source>
        <translation>Folders are deleted even with files in them</translation>
    </message>
    <message>
        <source>設定の保存</source>
        <translation>Saving settings</translation>
    </message>
    <message>
        <source>この設定の扱いの設定</source>
        <translation>How these settings are kept</translation>
    </message>
    <message>
        <source>保存した設定を起動時に使う</source>
        <translation>Use saved settings at start-up</translation>
    </message>
    <message>
        <source>保存した設定を次回起動時に使う</source>
        <translation>Use the saved settings the next time the program starts</translation>
    </message>
    <message>
        <source>各値を初期値として保存する</source>
        <translation>Save field values as defaults</translation>
    </message>
    <message>
        <source>各項目(開始番号、終了番号など)も初期値として保存する</source>
        <translation>Also save each field (first number, last number and so on) as its default</translation>
    </message>
    <message>
        <source>表示言語</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>次に起動したときから、選んだ言語で表示します</source>
        <translation>The program shows the chosen language from its next start</translation>
    </message>
</context>
<context>
    <name>SheetImport</name>
    <message>
        <source>ファイルが大きすぎます (64 MiB まで)</source>
        <translation>The file is too large (64 MiB at most)</translation>
    </message>
    <message>
        <source>ファイルを読み込めませんでした</source>
        <translation>Could not read the file</translation>
    </message>
    <message>
        <source>%1 行目は %2 として読めません</source>
        <translation>Line %1 cannot be read as %2</translation>
    </message>
</context>
<context>
    <name>SheetText</name>
    <message>
        <source>%1 行 %2 列目</source>
        <translation>Row %1, column %2</translation>
    </message>
    <message>
        <source>%1 行目で始まる &quot; が閉じられていません</source>
        <translation>The &quot; that opens in row %1 is not closed</translation>
    </message>
    <message>
        <source>%1: セルに使えない文字があります (1 つのセルが 1 つの階層です。次の文字は使えません: %2)</source>
        <translation>%1: The cell holds a character that cannot be used (each cell is one folder level; these characters cannot be used: %2)</translation>
    </message>
    <message>
        <source>%1: セルに改行などの制御文字があります</source>
        <translation>%1: The cell holds a line break or another control character</translation>
    </message>
    <message>
        <source>%1: セルが &quot;.&quot; または &quot;..&quot; です</source>
        <translation>%1: The cell is &quot;.&quot; or &quot;..&quot;</translation>
    </message>
    <message>
        <source>%1: 空のセルの後ろに値があります (上のセルから補えません)</source>
        <translation>%1: A value follows an empty cell (it cannot be filled from the cell above)</translation>
    </message>
    <message>
        <source>%1 行目: 範囲や選択肢を展開すると、1 つのセルが 1 つの階層になりません</source>
        <translation>Row %1: once ranges and choices are expanded, a cell is no longer one folder level</translation>
    </message>
    <message>
        <source>パスワードで保護されたブックか、古い形式 (.xls) のブックは読めません。.xlsx または CSV で保存し直して下さい</source>
        <translation>Password-protected and old (.xls) workbooks cannot be read. Save it again as .xlsx or CSV</translation>
    </message>
    <message>
        <source>.xls や .ods のブックは読めません。.xlsx または CSV で保存し直して下さい</source>
        <translation>.xls and .ods workbooks cannot be read. Save it again as .xlsx or CSV</translation>
    </message>
    <message>
        <source>%1: 数式の値が保存されていません (表計算ソフトで開いて保存し直して下さい)</source>
        <translation>%1: The formula&apos;s value is not saved (open it in the spreadsheet program and save it again)</translation>
    </message>
    <message>
        <source>%1: エラーの値です: %2</source>
        <translation>%1: An error value: %2</translation>
    </message>
    <message>
        <source>Excel のブック (.xlsx) として読めません。壊れているか、別の形式です</source>
        <translation>Cannot be read as an Excel workbook (.xlsx). It is damaged or of another format</translation>
    </message>
    <message>
        <source>パスワードで保護されたブックは読めません。保護を外して保存し直して下さい</source>
        <translation>Password-protected workbooks cannot be read. Remove the protection and save it again</translation>
    </message>
    <message>
        <source>ブックの中身が大きすぎます (%1。展開して 256 MiB、合わせて 512 MiB、10,000 項目まで)</source>
        <translation>The workbook&apos;s contents are too large (%1; at most 256 MiB a part expanded, 512 MiB in all, 10,000 entries)</translation>
    </message>
    <message>
        <source>シート &quot;%1&quot; がありません</source>
        <translation>There is no sheet &quot;%1&quot;</translation>
    </message>
    <message>
        <source>ブックにシートがありません</source>
        <translation>The workbook has no sheets</translation>
    </message>
    <message>
        <source>行が多すぎます (1,000,000 行まで)</source>
        <translation>Too many rows (1,000,000 at most)</translation>
    </message>
    <message>
        <source>空のセルは上のセルの値で補う</source>
        <translation>Fill empty cells from the cell above</translation>
    </message>
    <message>
        <source>1 行目は見出しとして読み飛ばす</source>
        <translation>Skip the first row as headings</translation>
    </message>
    <message>
        <source>表の読み込み</source>
        <translation>Read a Table</translation>
    </message>
    <message>
        <source>シート(&amp;S):</source>
        <translation>&amp;Sheet:</translation>
    </message>
    <message>
        <source>追加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>読み込み</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>%1 行を読み込み、今のリストと置き換えます (最初の 20 行を表示しています)</source>
        <translation>Reads %1 rows in place of the current list (the first 20 rows are shown)</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>%1 行をリストに追加します (最初の 20 行を表示しています)</source>
        <translation>Adds %1 rows to the list (the first 20 rows are shown)</translation>
    </message>
</context>
<context>
    <name>TemplateText</name>
    <message>
        <source>テンプレートのフォルダ %1 を読み取れません: %2</source>
        <translation>Cannot read the template folder %1: %2</translation>
    </message>
    <message>
        <source>テンプレート %1 は項目が多すぎます (1 回のコピーは %2 項目まで)</source>
        <translation>The template %1 has too many entries (%2 at most a copy)</translation>
    </message>
    <message>
        <source>テンプレート %1 は大きすぎます: %2 (1 回のコピーは 1 GiB まで)</source>
        <translation>The template %1 is too large: %2 (1 GiB at most a copy)</translation>
    </message>
    <message>
        <source>テンプレート %1 は階層が深すぎます (32 階層まで)</source>
        <translation>The template %1 is nested too deeply (32 levels at most)</translation>
    </message>
    <message>
        <source>テンプレート %1 の中にはフォルダを作れません: %2</source>
        <translation>Folders cannot be created inside the template %1: %2</translation>
    </message>
    <message>
        <source>作成先 %1 の中にテンプレート %2 があります。テンプレートは作成先の外に置いて下さい</source>
        <translation>The target folder %1 holds the template %2. Put the template outside the target folder</translation>
    </message>
    <message>
        <source>テンプレートのコピーに %1 必要ですが、%2 の空きは %3 です</source>
        <translation>Copying the template needs %1, but %2 has %3 free</translation>
    </message>
    <message>
        <source>テンプレートからフォルダ %1 個、ファイル %2 個をコピーしました</source>
        <translation>Copied %1 folders and %2 files from the template</translation>
    </message>
    <message>
        <source>%1 個はコピーできませんでした</source>
        <translation>%1 could not be copied</translation>
    </message>
    <message>
        <source>次のフォルダにはテンプレートの一部をコピーできませんでした:</source>
        <translation>Part of the template could not be copied into these folders:</translation>
    </message>
    <message>
        <source>ディスクの空きが足りなくなったため、作成を途中で止めました。</source>
        <translation>The disk ran out of space, so creating stopped partway.</translation>
    </message>
    <message>
        <source>テンプレートのコピーの後に変更されたため</source>
        <translation>changed since the template was copied</translation>
    </message>
    <message>
        <source>テンプレート: %1 (フォルダのみ)</source>
        <translation>Template: %1 (folders only)</translation>
    </message>
    <message>
        <source>テンプレート: %1</source>
        <translation>Template: %1</translation>
    </message>
    <message>
        <source>テンプレートの指定...</source>
        <translation>Choose Template...</translation>
    </message>
    <message>
        <source>テンプレートを使わない</source>
        <translation>No Template</translation>
    </message>
    <message>
        <source>テンプレートのフォルダのみコピー</source>
        <translation>Copy the Template&apos;s Folders Only</translation>
    </message>
    <message>
        <source>テンプレートの設定を保存できませんでした。<byte value="xd"/>
この設定は NMaker を終了するまで有効です。<byte value="xd"/>
</source>
        <translation>Could not save the template settings.<byte value="xd"/>
They hold until NMaker exits.<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>(テンプレートにコピーするものはありません)</source>
        <translation>(nothing to copy in the template)</translation>
    </message>
</context>
<context>
    <name>TerminalRun</name>
    <message>
        <source>作成</source>
        <translation>Creating</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Deleting</translation>
    </message>
</context>
<context>
    <name>TextReader</name>
    <message>
        <source>シフトJIS (コードページ 932)</source>
        <translation>Shift JIS (code page 932)</translation>
    </message>
</context>
<context>
    <name>TrashReason</name>
    <message>
        <source>アクセスが許可されていません</source>
        <translation>Access denied</translation>
    </message>
    <message>
        <source>この操作は許可されていません</source>
        <translation>Operation not permitted</translation>
    </message>
    <message>
        <source>見つかりません</source>
        <translation>Not found</translation>
    </message>
    <message>
        <source>途中がフォルダではありません</source>
        <translation>Part of the path is not a folder</translation>
    </message>
    <message>
        <source>フォルダです</source>
        <translation>Is a folder</translation>
    </message>
    <message>
        <source>ディスクに空きがありません</source>
        <translation>The disk is full</translation>
    </message>
    <message>
        <source>ディスクの使用量の上限に達しました</source>
        <translation>Disk quota exceeded</translation>
    </message>
    <message>
        <source>読み取り専用のボリュームです</source>
        <translation>Read-only volume</translation>
    </message>
    <message>
        <source>別のボリュームです</source>
        <translation>On another volume</translation>
    </message>
    <message>
        <source>使用中です</source>
        <translation>In use</translation>
    </message>
    <message>
        <source>同じ名前のものが既にあります</source>
        <translation>Something of the same name already exists</translation>
    </message>
    <message>
        <source>空ではありません</source>
        <translation>Not empty</translation>
    </message>
    <message>
        <source>名前が長すぎます</source>
        <translation>The name is too long</translation>
    </message>
    <message>
        <source>リンクが多すぎるか、リンクを通れません</source>
        <translation>Too many links, or a link cannot be followed</translation>
    </message>
    <message>
        <source>リンクの数が上限に達しました</source>
        <translation>Too many links</translation>
    </message>
    <message>
        <source>入出力のエラーです</source>
        <translation>Input/output error</translation>
    </message>
    <message>
        <source>この名前か操作は使えません</source>
        <translation>This name or operation is not allowed</translation>
    </message>
    <message>
        <source>ファイルが大きすぎます</source>
        <translation>The file is too large</translation>
    </message>
    <message>
        <source>メモリが足りません</source>
        <translation>Out of memory</translation>
    </message>
    <message>
        <source>開いているファイルが多すぎます</source>
        <translation>Too many open files</translation>
    </message>
    <message>
        <source>このファイルシステムではできません</source>
        <translation>Not supported on this file system</translation>
    </message>
    <message>
        <source>システムのエラーです (番号 %1)</source>
        <translation>System error (number %1)</translation>
    </message>
    <message>
        <source>ホームのごみ箱がありません (HOME も XDG_DATA_HOME も絶対パスのフォルダを指していません)</source>
        <translation>There is no home trash (neither HOME nor XDG_DATA_HOME names a folder by an absolute path)</translation>
    </message>
    <message>
        <source>絶対パスではないか、その場所がありません</source>
        <translation>Not an absolute path, or the place does not exist</translation>
    </message>
    <message>
        <source>ごみ箱に移動する名前がありません</source>
        <translation>There is no name to move to the trash</translation>
    </message>
    <message>
        <source>ごみ箱のフォルダは移動できません</source>
        <translation>A trash folder cannot be moved</translation>
    </message>
    <message>
        <source>マウントポイントはごみ箱に移動できません</source>
        <translation>A mount point cannot be moved to the trash</translation>
    </message>
    <message>
        <source>中に別のボリュームがマウントされているため移動できません</source>
        <translation>Cannot be moved: another volume is mounted inside</translation>
    </message>
    <message>
        <source>ごみ箱 %1 を使えません: %2</source>
        <translation>The trash %1 cannot be used: %2</translation>
    </message>
    <message>
        <source>フォルダの中を読めません</source>
        <translation>Cannot read the folder&apos;s contents</translation>
    </message>
    <message>
        <source>ボリュームの最上位のフォルダの外にあります</source>
        <translation>Outside the top folder of its volume</translation>
    </message>
    <message>
        <source>確かめたものとは別のものがごみ箱に移動しました (ごみ箱に残っています)</source>
        <translation>Something other than what was checked went to the trash (it is still in the trash)</translation>
    </message>
    <message>
        <source>ごみ箱に空いている名前がありません</source>
        <translation>The trash has no free name</translation>
    </message>
    <message>
        <source>このシステムには使えるごみ箱がありません</source>
        <translation>This system has no usable trash</translation>
    </message>
    <message>
        <source>このセッションのホームのごみ箱ではありません (HOME か XDG_DATA_HOME が削除のときと違います)</source>
        <translation>Not this session&apos;s home trash (HOME or XDG_DATA_HOME differs from when it was deleted)</translation>
    </message>
    <message>
        <source>確かめたものとは別のものがごみ箱から出ました (ごみ箱に戻しました)</source>
        <translation>Something other than what was checked came out of the trash (it was put back)</translation>
    </message>
    <message>
        <source>ごみ箱 %1 がこのユーザーのフォルダではありません (別のユーザーのフォルダか、そこへのリンク)</source>
        <translation>The trash %1 is not this user&apos;s folder (another user&apos;s folder, or a link to one)</translation>
    </message>
    <message>
        <source>ホームフォルダ %1 が別のユーザーのものなので、その中にはフォルダを作りません</source>
        <translation>The home folder %1 belongs to another user, so no folder is created in it</translation>
    </message>
    <message>
        <source>HOME か XDG_DATA_HOME がファイル名の文字コード (UTF-8) として読めません</source>
        <translation>HOME or XDG_DATA_HOME is not valid in the file name encoding (UTF-8)</translation>
    </message>
    <message>
        <source>元の場所が別のボリュームです</source>
        <translation>The original place is on another volume</translation>
    </message>
    <message>
        <source>このユーザーのごみ箱の項目ではありません</source>
        <translation>Not an item of this user&apos;s trash</translation>
    </message>
    <message>
        <source>ごみ箱 %1 に届きません (ドライブがつながっていません)</source>
        <translation>Cannot reach the trash %1 (the drive is not connected)</translation>
    </message>
    <message>
        <source>ごみ箱がメモリ上 (tmpfs) にあるため、次に再起動すると消えます</source>
        <translation>The trash is in memory (tmpfs): it is emptied at the next restart</translation>
    </message>
</context>
<context>
    <name>TrashRestore</name>
    <message>
        <source>元の場所がリンクに置き換えられました</source>
        <translation>The original place was replaced by a link</translation>
    </message>
</context>
<context>
    <name>UndoCommand</name>
    <message>
        <source>nmaker: 実行の記録の場所がありません (</source>
        <translation>nmaker: there is no place for the record of runs (</translation>
    </message>
    <message>
        <source>nmaker: 実行の記録を使えません: </source>
        <translation>nmaker: cannot use the record of runs: </translation>
    </message>
    <message>
        <source>記録に残っているフォルダだけを元に戻します</source>
        <translation> Only the folders on record are undone.</translation>
    </message>
    <message>
        <source>元の場所に戻っています</source>
        <translation>already back in its place</translation>
    </message>
    <message>
        <source>ごみ箱にありません</source>
        <translation>not in the trash</translation>
    </message>
    <message>
        <source>ごみ箱に残ります (</source>
        <translation>stays in the trash (</translation>
    </message>
    <message>
        <source>残ります (</source>
        <translation>stays (</translation>
    </message>
    <message>
        <source>もうありません</source>
        <translation>no longer exists</translation>
    </message>
</context>
<context>
    <name>UndoText</name>
    <message>
        <source>実行の記録を書き込めなかったため、この実行は元に戻せません: %1</source>
        <translation>The run could not be recorded, so it cannot be undone: %1</translation>
    </message>
    <message>
        <source>実行の記録を最後まで書き込めなかったため、この実行は記録された分だけ元に戻せます: %1</source>
        <translation>The run could not be recorded in full, so only what is on record can be undone: %1</translation>
    </message>
    <message>
        <source>直前の作成は途中で中断されました。</source>
        <translation>The last creation was interrupted.</translation>
    </message>
    <message>
        <source>直前の削除は途中で中断されました。</source>
        <translation>The last deletion was interrupted.</translation>
    </message>
    <message>
        <source><byte value="xd"/>
記録に残っている %1 個のフォルダをごみ箱に移動しますか？</source>
        <translation><byte value="xd"/>
Move the %1 folders on record to the trash?</translation>
    </message>
    <message>
        <source><byte value="xd"/>
記録に残っている %1 個のフォルダを元の場所に戻しますか？</source>
        <translation><byte value="xd"/>
Put the %1 folders on record back where they were?</translation>
    </message>
    <message>
        <source>直前の削除でごみ箱に移動した %1 個のフォルダを元の場所に戻しますか？</source>
        <translation>Put the %1 folders that the last deletion moved to the trash back where they were?</translation>
    </message>
    <message>
        <source>直前の作成</source>
        <translation>The last creation</translation>
    </message>
    <message>
        <source>直前の削除</source>
        <translation>The last deletion</translation>
    </message>
    <message>
        <source>はまだ実行中です (プロセス %1)。終わってから元に戻してください。</source>
        <translation> is still running (process %1). Undo it once it has finished.</translation>
    </message>
    <message>
        <source>直前の実行は記録できなかったため、元に戻せません</source>
        <translation>The last run could not be recorded, so it cannot be undone</translation>
    </message>
    <message>
        <source>元に戻せる作成・削除はありません</source>
        <translation>There is no creation or deletion to undo</translation>
    </message>
</context>
<context>
    <name>UpDown</name>
    <message>
        <source>1 増やす</source>
        <translation>Increase by 1</translation>
    </message>
    <message>
        <source>1 減らす</source>
        <translation>Decrease by 1</translation>
    </message>
</context>
<context>
    <name>WindowsFiles</name>
    <message>
        <source>Windows error %1</source>
        <translation>Windows error %1</translation>
    </message>
</context>
<context>
    <name>WindowsPaths</name>
    <message>
        <source>名前の末尾のピリオドや空白は Windows では取り除かれます</source>
        <translation>Windows drops periods and spaces at the end of a name</translation>
    </message>
    <message>
        <source>%1 は Windows の装置名です</source>
        <translation>%1 is a Windows device name</translation>
    </message>
</context>
<context>
    <name>WindowsRecycleBin</name>
    <message>
        <source>ごみ箱に移動できませんでした (元の場所に残っています)</source>
        <translation>Could not move it to the trash (it is still in its place)</translation>
    </message>
    <message>
        <source>ごみ箱に入れられないため、完全に削除される前に止めました (元の場所に残っています)</source>
        <translation>It cannot go to the trash, so it was stopped before being deleted permanently (it is still in its place)</translation>
    </message>
    <message>
        <source>ごみ箱に入らずに元の場所から消えました (完全に削除されたおそれがあります)</source>
        <translation>It left its place without reaching the trash (it may have been deleted permanently)</translation>
    </message>
    <message>
        <source>絶対パスではありません</source>
        <translation>Not an absolute path</translation>
    </message>
    <message>
        <source>ドライブや共有のルートはごみ箱に移動できません</source>
        <translation>The root of a drive or share cannot be moved to the trash</translation>
    </message>
    <message>
        <source>フォルダの中を読めません</source>
        <translation>Cannot read the folder&apos;s contents</translation>
    </message>
    <message>
        <source>パスが長すぎて、この Windows ではごみ箱に移動できません</source>
        <translation>The path is too long for this Windows to move it to the trash</translation>
    </message>
    <message>
        <source>ごみ箱の中を確かめられないため移動しませんでした</source>
        <translation>Not moved: the contents of the trash could not be checked</translation>
    </message>
    <message>
        <source>ごみ箱に移動できませんでした (シェルのエラー %1)</source>
        <translation>Could not move it to the trash (shell error %1)</translation>
    </message>
</context>
<context>
    <name>Workbook</name>
    <message>
        <source>項目の数</source>
        <translation>the number of entries</translation>
    </message>
</context>
</TS>
