#include "ArgumentParser.h"

#include "TerminalOutput.h"
#include "TerminalText.h"

#include "PathStyle.h"
#include "fileops/HostPath.h"
#include "folderlist/ListFormat.h"
#include "messages/MessageCatalogue.h"
#include "series/SeriesRules.h"
#include "text/TextRules.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QList>

#include <algorithm>
#include <utility>

namespace
{

constexpr PathStyle Host = hostPathStyle();

QString catalogueText(int number, const QString& t1 = {})
{
    const auto message = catalogueMessage(number, t1);
    return message ? message->text : QString();
}

// A path as the rules see it. Scripts on Windows write '/' as often as '\', and the system
// takes both. The first three characters are left unchecked for a drive ("C:\"); a path
// without one ("o:x", "work") is placed under the working folder, so all of it is a name there.
QString pathForRules(const QString& path)
{
    if (Host != PathStyle::Windows)
        return path;
    const QString native = QDir::toNativeSeparators(path);
    return isAbsoluteHostPath(native) ? native : QStringLiteral("C:\\") + native;
}

bool hasLineBreak(const QString& text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

struct Option {
    const char* name;
    bool takesValue;
};

// The options of each command; --help and -h go with every one, and these too.
const QList<Option> everyCommand{{"--json", false}, {"--quiet", false}, {"--verbose", false}};

QList<Option> optionsOf(Command command)
{
    const QList<Option> series{{"--target", true},        {"--prefix", true},   {"--suffix", true},
                               {"--first", true},         {"--last", true},     {"--digits", true},
                               {"--no-zero-fill", false}, {"--dry-run", false}, {"--null", false}};
    // A table read as a list: CSV, TSV or a workbook.
    const QList<Option> table{
        {"--format", true}, {"--sheet", true}, {"--no-fill-down", false}, {"--skip-header", false}};
    switch (command) {
    case Command::Create:
        return everyCommand + series +
               QList<Option>{{"--report", true}, {"--template", true}, {"--folders-only", false}};
    case Command::Delete:
        return everyCommand + series +
               QList<Option>{{"--with-contents", false}, {"--report", true}};
    case Command::ListCreate:
        return everyCommand + table +
               QList<Option>{{"--base", true},      {"--dry-run", false},     {"--encoding", true},
                             {"--extended", false}, {"--null", false},        {"--report", true},
                             {"--template", true},  {"--folders-only", false}};
    case Command::ListDelete:
        return everyCommand + table +
               QList<Option>{{"--base", true},     {"--with-contents", false}, {"--dry-run", false},
                             {"--encoding", true}, {"--extended", false},      {"--null", false},
                             {"--report", true}};
    case Command::Expand:
        return everyCommand + table +
               QList<Option>{{"--encoding", true}, {"--extended", false}, {"--null", false}};
    case Command::Undo:
        return everyCommand +
               QList<Option>{{"--dry-run", false}, {"--null", false}, {"--report", true}};
    default:
        return {};
    }
}

ParsedArguments accepted(const CommandArguments& a)
{
    ParsedArguments r;
    r.arguments = a;
    return r;
}

ParsedArguments accepted(Command command)
{
    CommandArguments a;
    a.command = command;
    return accepted(a);
}

ParsedArguments usageError(const QString& text)
{
    ParsedArguments r;
    r.error = text;
    r.usageError = true;
    return r;
}

ParsedArguments ruleError(const QString& text)
{
    ParsedArguments r;
    r.error = text;
    return r;
}

// A number argument within its field's range; a fraction rounds as in the window.
std::optional<int> numberArgument(const QString& text, const NumberField& field)
{
    // Read as a list bound is: plain decimal, no exponent, so "1e3" is no number here.
    const std::optional<qint64> value = listBoundValue(text);
    if (!value)
        return std::nullopt;
    const qint64 n = *value;
    if (n < field.minimum || n > field.maximum)
        return std::nullopt;
    return int(n);
}

// Qt's own options, which the window takes: with nothing else, the window starts.
bool isQtOption(const QByteArray& arg, bool* takesValue)
{
    static const char* const withValue[] = {
        "platform",    "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry",
        "qwindowicon", "qwindowtitle",       "session",       "display", "geometry",
        "style",       "stylesheet",         "qmljsdebugger", "name",    "title"};
    static const char* const switches[] = {"reverse", "widgetcount", "nograb",
                                           "dograb",  "sync",        "testability"};
    QByteArray name = arg.startsWith("--") ? arg.mid(2) : arg.mid(1);
    const qsizetype eq = name.indexOf('=');
    const bool joined = eq >= 0;
    if (joined)
        name.truncate(eq);
    for (const char* o : withValue) {
        if (name == o) {
            *takesValue = !joined;
            return true;
        }
    }
    for (const char* o : switches) {
        if (name == o && !joined) {
            *takesValue = false;
            return true;
        }
    }
    return false;
}

} // namespace

QString usageText()
{
    // One text, so that a translation keeps its columns aligned as a whole.
    return QCoreApplication::translate(
        "ArgumentParser",
        "使い方:\n"
        "  nmaker create --target DIR [--prefix P] [--suffix S] --first N --last M\n"
        "                [--digits K] [--no-zero-fill] [--dry-run] [--report CSV]\n"
        "                [--template DIR [--folders-only]]\n"
        "  nmaker delete --target DIR [--prefix P] [--suffix S] --first N --last M\n"
        "                [--digits K] [--no-zero-fill] [--with-contents] [--dry-run]\n"
        "                [--report CSV]\n"
        "  nmaker list-create FILE [--base DIR] [--encoding E] [--extended] [--dry-run]\n"
        "                [--report CSV] [--template DIR [--folders-only]]\n"
        "  nmaker list-delete FILE [--base DIR] [--encoding E] [--extended]\n"
        "                [--with-contents] [--dry-run] [--report CSV]\n"
        "  nmaker expand FILE [--encoding E] [--extended] [-0]\n"
        "  list-create、list-delete、expand の FILE は表 (.csv、.tsv、.xlsx) でもよく、\n"
        "  [--format F] [--sheet NAME] [--no-fill-down] [--skip-header] を付けられます\n"
        "  nmaker undo [--dry-run] [--report CSV]\n"
        "  nmaker --help | --version\n"
        "  どのコマンドにも --json、-q、-v を付けられます。FILE が - のときは標準入力から\n"
        "  リストを読みます。\n"
        "\n"
        "  create          DIR の中に P + 番号 + S のフォルダを N から M まで作成します\n"
        "  delete          同じフォルダをごみ箱に移動します\n"
        "  list-create     フォルダリスト FILE のフォルダを作成します\n"
        "  list-delete     フォルダリスト FILE のフォルダをごみ箱に移動します\n"
        "  expand          FILE の範囲を展開し、パスを1行に1つ表示します\n"
        "  undo            直前の作成または削除 (新しいほう) を元に戻します。削除なら\n"
        "                  ごみ箱に移動したフォルダを元の場所に戻します\n"
        "\n"
        "  --target DIR    フォルダ作成先フォルダ (create はないときに作成します)\n"
        "  --prefix P      番号の前に付ける文字\n"
        "  --suffix S      番号の後に付ける文字\n"
        "  --first N       連番開始番号 (0〜99999)\n"
        "  --last M        連番終了番号 (0〜99999)\n"
        "  --digits K      桁数 (1〜5、既定は 3)\n"
        "  --no-zero-fill  連番部分を\"0\"で埋めない\n"
        "  --base DIR      ドライブ (ルート) のない項目を置くフォルダ\n"
        "  --with-contents 中身のあるフォルダも削除する\n"
        "  --template DIR  作成した各フォルダに DIR の中身 (サブフォルダとファイル) を\n"
        "                  コピーする。既にあったフォルダには何もコピーしない\n"
        "  --folders-only  テンプレートのフォルダだけをコピーし、ファイルはコピーしない\n"
        "  --dry-run       作成・削除するパス (undo では戻す・ごみ箱に移動するパス) を\n"
        "                  表示するだけで、何も変更しない\n"
        "  --encoding E    リストファイルの文字コード: auto (既定)、cp932、utf-8\n"
        "                  auto は BOM があれば UTF-8、UTF-8 として正しくなければ cp932、\n"
        "                  どちらとしても読めるときは日本語として自然に読めるほう\n"
        "  --format F      FILE の形式: list (リストファイル)、csv、tsv、xlsx。既定は名前の\n"
        "                  拡張子で決め、- (標準入力) ではリストファイル\n"
        "  --sheet NAME    .xlsx のシート (既定は最初のシート)\n"
        "  --no-fill-down  表の空のセルを上のセルの値で補わない\n"
        "  --skip-header   表の 1 行目を見出しとして読み飛ばす\n"
        "                  表では 1 行が 1 つのフォルダ、セルが左から順に階層になります\n"
        "  --extended      拡張書式で展開する: すべての範囲 [a-b] (英字・かなも)、\n"
        "                  刻み [1-9:2]、選択肢 {x,y}、日付 {date} {date:yyyy-MM}\n"
        "  -0, --null      expand と --dry-run のパスを改行ではなく NUL で区切り、そのまま出力\n"
        "                  する (xargs -0 向け)\n"
        "  --json          標準出力に JSON Lines で出力する: フォルダごとに 1 行\n"
        "                  {\"type\": \"folder\", \"path\", \"outcome\", \"reason\", \"line\"}\n"
        "                  (outcome は created、existing、failed、trashed、kept、missing、\n"
        "                  restored)、テンプレートを使うと \"copied_folders\"、\n"
        "                  \"copied_files\"、\"not_copied\" (path と reason) も付く、\n"
        "                  --dry-run では \"planned\"、expand では \"entry\"、最後に \"summary\"\n"
        "                  UTF-8 にならない名前には \"path_bytes\" (base64) を添える\n"
        "  --report CSV    フォルダごとの結果を CSV (UTF-8、BOM 付き) に書き出す\n"
        "  -q, --quiet     進行状況と集計の行を表示しない (失敗したフォルダは表示する)\n"
        "  -v, --verbose   フォルダごとに結果を 1 行ずつ標準エラーに表示する\n"
        "  --lang L        表示言語: ja (日本語、既定) または en (English)。環境変数\n"
        "                  NMAKER_LANG でも指定できる\n"
        "\n"
        "制御文字 (改行など) を含むパスは $'…' の形で表示します。\n"
        "終了コード: 0 完了、1 作成・削除できなかったフォルダがある (テンプレートの一部を\n"
        "コピーできなかったフォルダ、undo では元に戻せなかったフォルダも)、2 引数またはリストの\n"
        "誤り (undo では元に戻せる実行がないか、実行の記録が使えない)\n");
}

ParsedArguments parseCommandLine(const QStringList& args)
{
    if (args.isEmpty())
        return usageError(
            QCoreApplication::translate("ArgumentParser", "コマンドを指定して下さい"));
    const QString& name = args.front();
    if (name == QLatin1String("--help") || name == QLatin1String("-h"))
        return accepted(Command::Help);
    if (name == QLatin1String("--version"))
        return args.size() == 1
                   ? accepted(Command::Version)
                   : usageError(QCoreApplication::translate("ArgumentParser", "余分な引数です: ") +
                                terminalName(args.at(1)));
    if (name.startsWith(QLatin1Char('-')))
        return usageError(
            QCoreApplication::translate("ArgumentParser", "コマンドを指定して下さい: ") +
            terminalName(name));

    CommandArguments a;
    if (name == QLatin1String("create"))
        a.command = Command::Create;
    else if (name == QLatin1String("delete"))
        a.command = Command::Delete;
    else if (name == QLatin1String("list-create"))
        a.command = Command::ListCreate;
    else if (name == QLatin1String("list-delete"))
        a.command = Command::ListDelete;
    else if (name == QLatin1String("expand"))
        a.command = Command::Expand;
    else if (name == QLatin1String("undo"))
        a.command = Command::Undo;
    else
        return usageError(QCoreApplication::translate("ArgumentParser", "不明なコマンドです: ") +
                          terminalName(name));
    const bool series = a.command == Command::Create || a.command == Command::Delete;

    const QList<Option> known = optionsOf(a.command);
    QHash<QString, QString> values; // option name -> value (empty for a switch)
    bool optionsEnd = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (!optionsEnd && arg == QLatin1String("--")) {
            optionsEnd = true;
            continue;
        }
        if (optionsEnd || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
            if (series || a.command == Command::Undo || !a.listFile.isEmpty())
                return usageError(
                    QCoreApplication::translate("ArgumentParser", "余分な引数です: ") +
                    terminalName(arg));
            if (arg.isEmpty())
                return usageError(
                    QCoreApplication::translate("ArgumentParser", "リストファイルの名前が空です"));
            a.listFile = arg;
            continue;
        }
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h"))
            return accepted(Command::Help);
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        QString option = eq < 0 ? arg : arg.left(eq);
        if (option == QLatin1String("-0"))
            option = QStringLiteral("--null");
        else if (option == QLatin1String("-q"))
            option = QStringLiteral("--quiet");
        else if (option == QLatin1String("-v"))
            option = QStringLiteral("--verbose");
        const auto match = std::find_if(known.cbegin(), known.cend(), [&](const Option& o) {
            return option == QLatin1String(o.name);
        });
        if (match == known.cend())
            return usageError(
                QCoreApplication::translate("ArgumentParser", "不明なオプションです: ") +
                terminalName(option));
        if (values.contains(option))
            return usageError(QCoreApplication::translate("ArgumentParser",
                                                          "オプションが二度指定されています: ") +
                              option);
        QString value;
        if (match->takesValue) {
            if (eq >= 0)
                value = arg.mid(eq + 1);
            else if (i + 1 < args.size())
                value = args.at(++i);
            else
                return usageError(
                    QCoreApplication::translate("ArgumentParser", "値がありません: ") + option);
        } else if (eq >= 0) {
            return usageError(
                QCoreApplication::translate("ArgumentParser", "値は指定できません: ") + option);
        }
        values.insert(option, value);
    }

    a.dryRun = values.contains(QStringLiteral("--dry-run"));
    a.withContents = values.contains(QStringLiteral("--with-contents"));
    a.nulOutput = values.contains(QStringLiteral("--null"));
    a.extended = values.contains(QStringLiteral("--extended"));
    if (a.nulOutput && !a.dryRun && a.command != Command::Expand)
        return usageError(QCoreApplication::translate(
            "ArgumentParser", "--null (-0) は expand と --dry-run でだけ使えます"));
    a.json = values.contains(QStringLiteral("--json"));
    a.quiet = values.contains(QStringLiteral("--quiet"));
    a.verbose = values.contains(QStringLiteral("--verbose"));
    if (a.json && a.nulOutput)
        return usageError(QCoreApplication::translate("ArgumentParser",
                                                      "--json と --null (-0) は一緒に使えません"));
    if (a.quiet && a.verbose)
        return usageError(QCoreApplication::translate(
            "ArgumentParser", "--quiet (-q) と --verbose (-v) は一緒に使えません"));
    if (values.contains(QStringLiteral("--report"))) {
        a.reportFile = values.value(QStringLiteral("--report"));
        if (a.reportFile.isEmpty())
            return usageError(
                QCoreApplication::translate("ArgumentParser", "値が空です: --report"));
        if (a.dryRun)
            return usageError(QCoreApplication::translate(
                "ArgumentParser", "--report は --dry-run とは一緒に使えません"));
    }
    a.foldersOnly = values.contains(QStringLiteral("--folders-only"));
    if (values.contains(QStringLiteral("--template"))) {
        a.templateFolder = values.value(QStringLiteral("--template"));
        if (a.templateFolder.isEmpty())
            return usageError(
                QCoreApplication::translate("ArgumentParser", "値が空です: --template"));
        if (hasLineBreak(a.templateFolder))
            return usageError(
                QCoreApplication::translate("ArgumentParser", "改行は使えません: --template"));
    } else if (a.foldersOnly) {
        return usageError(QCoreApplication::translate(
            "ArgumentParser", "--folders-only は --template と一緒に使います"));
    }
    if (values.contains(QStringLiteral("--encoding"))) {
        const QString e = values.value(QStringLiteral("--encoding")).toLower();
        if (e == QLatin1String("auto"))
            a.encoding = EncodingChoice::Auto;
        else if (e == QLatin1String("cp932"))
            a.encoding = EncodingChoice::CodePage932;
        else if (e == QLatin1String("utf-8") || e == QLatin1String("utf8"))
            a.encoding = EncodingChoice::Utf8;
        else
            return usageError(QCoreApplication::translate(
                                  "ArgumentParser",
                                  "--encoding には auto、cp932、utf-8 のどれかを指定して下さい: ") +
                              terminalName(values.value(QStringLiteral("--encoding"))));
    }
    if (a.command == Command::Undo)
        return accepted(a);
    if (!series) {
        if (a.listFile.isEmpty())
            return usageError(
                QCoreApplication::translate("ArgumentParser", "リストファイルを指定して下さい"));
        if (values.contains(QStringLiteral("--format"))) {
            const QString f = values.value(QStringLiteral("--format")).toLower();
            if (f == QLatin1String("csv"))
                a.sheetFormat = SheetFormat::Csv;
            else if (f == QLatin1String("tsv"))
                a.sheetFormat = SheetFormat::Tsv;
            else if (f == QLatin1String("xlsx"))
                a.sheetFormat = SheetFormat::Xlsx;
            else if (f != QLatin1String("list"))
                return usageError(
                    QCoreApplication::translate(
                        "ArgumentParser",
                        "--format には list、csv、tsv、xlsx のどれかを指定して下さい: ") +
                    terminalName(values.value(QStringLiteral("--format"))));
        } else if (!listFromStdin(a)) {
            a.sheetFormat = sheetFormatOf(a.listFile);
        }
        a.sheet = values.value(QStringLiteral("--sheet"));
        a.fillDown = !values.contains(QStringLiteral("--no-fill-down"));
        a.skipHeader = values.contains(QStringLiteral("--skip-header"));
        if (values.contains(QStringLiteral("--sheet")) && a.sheetFormat != SheetFormat::Xlsx)
            return usageError(QCoreApplication::translate(
                "ArgumentParser", "--sheet は .xlsx のブックにだけ使えます"));
        if ((!a.fillDown || a.skipHeader) && !a.sheetFormat)
            return usageError(QCoreApplication::translate(
                "ArgumentParser",
                "--no-fill-down と --skip-header は表 (CSV、TSV、.xlsx) にだけ使えます"));
        a.base = values.value(QStringLiteral("--base"));
        if (values.contains(QStringLiteral("--base"))) {
            if (a.base.isEmpty())
                return usageError(
                    QCoreApplication::translate("ArgumentParser", "値が空です: --base"));
            if (hasLineBreak(a.base))
                return usageError(
                    QCoreApplication::translate("ArgumentParser", "改行は使えません: --base"));
            bool found = false;
            removeRefusedChars(pathForRules(a.base), RefuseMode::Path, Host, found);
            if (found)
                return ruleError(QStringLiteral("--base ") + terminalName(a.base) +
                                 QStringLiteral(": ") +
                                 catalogueText(2, refusedChars(RefuseMode::Path, Host)));
        }
        return accepted(a);
    }

    for (const char* required : {"--target", "--first", "--last"}) {
        if (!values.contains(QLatin1String(required)))
            return usageError(
                QCoreApplication::translate("ArgumentParser", "指定されていません: ") +
                QLatin1String(required));
    }
    a.target = values.value(QStringLiteral("--target"));
    a.prefix = values.value(QStringLiteral("--prefix"));
    a.suffix = values.value(QStringLiteral("--suffix"));
    a.zeroFill = !values.contains(QStringLiteral("--no-zero-fill"));
    if (a.target.isEmpty())
        return usageError(QCoreApplication::translate("ArgumentParser", "値が空です: --target"));

    struct NumberArgument {
        const char* name;
        const NumberField& field;
        int& into;
    };
    for (const NumberArgument& n : {NumberArgument{"--first", NoStartField, a.first},
                                    NumberArgument{"--last", NoEndField, a.last},
                                    NumberArgument{"--digits", NoKetaField, a.digits}}) {
        const QString option = QLatin1String(n.name);
        if (!values.contains(option))
            continue; // only --digits may be left out
        const std::optional<int> value = numberArgument(values.value(option), n.field);
        if (!value)
            return usageError(QCoreApplication::translate(
                                  "ArgumentParser", "%1 には %2〜%3 の数値を指定して下さい: %4")
                                  .arg(option)
                                  .arg(n.field.minimum)
                                  .arg(n.field.maximum)
                                  .arg(terminalName(values.value(option))));
        n.into = *value;
    }

    // Names as the window makes them: a line break would cut the name short there.
    for (const auto& [name, text] :
         {std::pair{"--target", a.target}, {"--prefix", a.prefix}, {"--suffix", a.suffix}}) {
        if (hasLineBreak(text))
            return usageError(QCoreApplication::translate("ArgumentParser", "改行は使えません: ") +
                              QLatin1String(name));
    }
    if (a.last < a.first)
        std::swap(a.first, a.last);

    // The checks every series gets, the window's as well.
    SeriesParameters p{
        pathForRules(a.target), a.prefix, a.suffix, a.first, a.last, a.digits, a.zeroFill};
    const SeriesValidation v = validateSeries(p, Host);
    if (!v.ok) {
        QString named;
        switch (v.field) {
        case SeriesField::Folder:
            named = QStringLiteral("--target ") + terminalName(a.target);
            break;
        case SeriesField::Prefix:
            named = QStringLiteral("--prefix ") + terminalName(a.prefix);
            break;
        case SeriesField::Suffix:
            named = QStringLiteral("--suffix ") + terminalName(a.suffix);
            break;
        default:
            return ruleError(oneLine(catalogueText(v.message, v.insert)));
        }
        return ruleError(named + QStringLiteral(": ") + catalogueText(v.message, v.insert));
    }
    return accepted(a);
}

bool wantsCommandLine(const QByteArrayList& args)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        bool takesValue = false;
        if (!args.at(i).startsWith('-') || !isQtOption(args.at(i), &takesValue))
            return true;
        if (takesValue)
            ++i;
    }
    return false;
}
