#include "CommandLine.h"
#include "TerminalText.h"

#include "PathStyle.h"
#include "fileops/FileFolder.h"
#include "fileops/HostPath.h"
#include "folderlist/ListFile.h"
#include "folderlist/ListFormat.h"
#include "folderlist/ListRun.h"
#include "messages/MessageCatalogue.h"
#include "messages/Prompter.h"
#include "run/FolderSteps.h"
#include "run/RunContext.h"
#include "series/SeriesEngine.h"
#include "series/SeriesRules.h"
#include "settings/Options.h"
#include "text/Numbers.h"
#include "text/TextRules.h"

#include "Version.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QStringEncoder>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unistd.h>

namespace
{

constexpr PathStyle Host = hostPathStyle();
// Per group of named entries; the rest are counted in one last line, as the import does.
constexpr int MaxNamedEntries = MaxReportedLines;

QString usageText()
{
    return QStringLiteral(
        "使い方:\n"
        "  nmaker create --target DIR [--prefix P] [--suffix S] --first N --last M\n"
        "                [--digits K] [--no-zero-fill] [--dry-run]\n"
        "  nmaker delete --target DIR [--prefix P] [--suffix S] --first N --last M\n"
        "                [--digits K] [--no-zero-fill] [--with-contents] [--dry-run]\n"
        "  nmaker list-create FILE [--base DIR] [--encoding E] [--dry-run]\n"
        "  nmaker list-delete FILE [--base DIR] [--encoding E] [--with-contents] [--dry-run]\n"
        "  nmaker expand FILE [--encoding E] [-0]\n"
        "  nmaker --help | --version\n"
        "\n"
        "  create          DIR の中に P + 番号 + S のフォルダを N から M まで作成します\n"
        "  delete          同じフォルダをごみ箱に移動します\n"
        "  list-create     フォルダリスト FILE のフォルダを作成します\n"
        "  list-delete     フォルダリスト FILE のフォルダをごみ箱に移動します\n"
        "  expand          FILE の範囲を展開し、パスを1行に1つ表示します\n"
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
        "  --dry-run       作成・削除するパスを表示するだけで、何も変更しない\n"
        "  --encoding E    リストファイルの文字コード: auto (既定)、cp932、utf-8\n"
        "                  auto は BOM があれば UTF-8、UTF-8 として正しくなければ cp932、\n"
        "                  どちらとしても読めるときは日本語として自然に読めるほう\n"
        "  -0, --null      expand と --dry-run のパスを改行ではなく NUL で区切り、そのまま出力\n"
        "                  する (xargs -0 向け)\n"
        "\n"
        "制御文字 (改行など) を含むパスは $'…' の形で表示します。\n"
        "終了コード: 0 完了、1 作成・削除できなかったフォルダがある、2 引数またはリストの誤り\n");
}

QString catalogueText(int number, const QString& t1 = {}, const QString& t2 = {},
                      const QString& t3 = {})
{
    const auto message = catalogueMessage(number, t1, t2, t3);
    return message ? message->text : QString();
}

// A box's text as one line of a terminal.
QString oneLine(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

// A box's text that lists lines, as terminal lines.
QString lines(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    while (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

// Entries as a message insert: each followed by CR LF, the ones beyond the limit counted.
QString namedEntries(const QStringList& entries, qsizetype total = -1)
{
    QString text;
    const qsizetype named = std::min<qsizetype>(entries.size(), MaxNamedEntries);
    for (qsizetype i = 0; i < named; ++i)
        text += terminalName(entries.at(i)) + QLatin1String("\r\n");
    if (total < 0)
        total = entries.size();
    if (total > named)
        text += QStringLiteral("ほか %1 行\r\n").arg(total - named);
    return text;
}

// Entries to be named in a message: the first ones kept, the rest only counted.
struct NamedEntries {
    QStringList first;
    qsizetype total = 0;
    void add(const QString& entry)
    {
        if (first.size() < MaxNamedEntries)
            first << entry;
        ++total;
    }
    bool isEmpty() const { return total == 0; }
    QString text() const { return namedEntries(first, total); }
};

// stdout, UTF-8 and "\n", through one buffer: a dry run or an expansion prints up to 100,000
// lines, each encoded straight into the buffer.
class LineOutput
{
public:
    // With `nul` every path is written as it is and ended by NUL; else one per line, quoted
    // where it holds a control character.
    explicit LineOutput(bool nul = false) : m_buffer(Capacity, Qt::Uninitialized), m_nul(nul) {}
    ~LineOutput() { flush(); }

    void path(const QString& text)
    {
        if (m_nul)
            append(text, '\0');
        else
            append(terminalName(text), '\n');
    }
    // Text of ours, with line ends of its own.
    void line(QStringView text) { append(text, '\n'); }

private:
    void append(QStringView text, char end)
    {
        const qsizetype need = m_encoder.requiredSpace(text.size()) + 1;
        if (m_used + need > m_buffer.size()) {
            flush();
            if (need > m_buffer.size())
                m_buffer.resize(need);
        }
        char* last = m_encoder.appendToBuffer(m_buffer.data() + m_used, text);
        *last++ = end;
        m_used = last - m_buffer.data();
    }

public:
    // False once a write failed.
    bool flush()
    {
        if (m_used > 0 &&
            std::fwrite(m_buffer.constData(), 1, size_t(m_used), stdout) != size_t(m_used))
            m_ok = false;
        m_used = 0;
        if (std::fflush(stdout) != 0)
            m_ok = false;
        return m_ok;
    }

private:
    static constexpr qsizetype Capacity = 64 * 1024;
    QStringEncoder m_encoder{QStringConverter::Utf8};
    QByteArray m_buffer;
    qsizetype m_used = 0;
    bool m_ok = true;
    bool m_nul = false;
};

// stderr: failure lines, the summary, and on a terminal a progress line that they replace.
class ErrorOutput
{
public:
    ErrorOutput() : m_terminal(::isatty(2) == 1) {}

    // Names in `text` come quoted already; any other control character is shown, not sent.
    void line(const QString& text)
    {
        clearProgress();
        QString shown;
        shown.reserve(text.size());
        for (const QChar c : text) {
            if (c != QLatin1Char('\n') && isControlCharacter(c.unicode()))
                shown += terminalName(QString(c)).mid(2).chopped(1);
            else
                shown += c;
        }
        write(shown + QLatin1Char('\n'));
    }

    // At most four times a second, and only on a terminal.
    void progress(const QString& label, qint64 done, qint64 total)
    {
        if (!m_terminal || (m_timer.isValid() && m_timer.elapsed() < 250))
            return;
        m_timer.start();
        write(QStringLiteral("\r%1 %2/%3\x1b[K").arg(label).arg(done).arg(total));
        m_shown = true;
    }

    void clearProgress()
    {
        if (!m_shown)
            return;
        write(QStringLiteral("\r\x1b[K"));
        m_shown = false;
        m_timer.invalidate();
    }

private:
    static void write(const QString& text)
    {
        const QByteArray bytes = text.toUtf8();
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    }

    bool m_terminal;
    bool m_shown = false;
    QElapsedTimer m_timer;
};

// Never asks: every question gets the answer a script means. The folders' failures are told
// by FailureLines; only the target folder's own failure is told here.
class CommandLinePrompter : public Prompter
{
public:
    explicit CommandLinePrompter(ErrorOutput& err) : m_err(err) {}

    void setTarget(const QString& target) { m_target = target; }

    int prompt(const PromptRequest& request) override
    {
        switch (request.number) {
        case 8: // the missing target folder is created
            return Answer::Yes;
        case 13: // not asked with the silent option; go on should it come
            return Answer::Retry;
        case 17: // missing folders are counted in the summary
            return Answer::Ok;
        case 23: // a missing volume: the entry meets it in the folder step
        case 26: // the base folder: the entry already carries it
            return Answer::No;
        case 10:
            m_failed = true;
            m_err.line(terminalName(m_target) + QStringLiteral(": ") + oneLine(request.text));
            return Answer::Ok;
        case 12: // the folders' own failures have their lines already
        case 14:
        case 16:
            return Answer::Ok;
        default:
            m_err.line(QStringLiteral("nmaker: ") + lines(request.text));
            // A question nobody answers is declined.
            return (request.style & MessageStyle::ButtonsMask) == MessageStyle::Ok ? Answer::Ok
                                                                                   : Answer::No;
        }
    }

    bool failed() const { return m_failed; }

private:
    ErrorOutput& m_err;
    QString m_target;
    bool m_failed = false;
};

// A line on stderr for every folder that could not be made or trashed, naming it.
class FailureLines : public FolderListener
{
public:
    FailureLines(ErrorOutput& err, bool create) : m_err(err), m_create(create) {}

    void folderDone(const FolderEvent& event) override
    {
        if (event.outcome != FolderOutcome::Failed)
            return;
        QString text;
        if (m_create) {
            text = oneLine(event.reason);
        } else {
            text = catalogueText(16);
            if (!event.reason.isEmpty())
                text += QStringLiteral(" (") + oneLine(event.reason) + QLatin1Char(')');
        }
        m_err.line(terminalName(event.path) + QStringLiteral(": ") + text);
    }

private:
    ErrorOutput& m_err;
    bool m_create;
};

// No window, so nothing to yield to and no cancel button; the progress goes to the terminal.
class TerminalRun : public RunContext
{
public:
    TerminalRun(ErrorOutput& err, QString label, qint64 steps)
        : m_err(err), m_label(std::move(label)), m_steps(steps)
    {
    }

    void yieldOnce() override
    {
        // List runs report nothing themselves: their steps are their progress.
        if (!m_reported)
            m_err.progress(m_label, std::min(++m_done, m_steps), m_steps);
    }
    bool isCancelRequested() override { return false; }
    void reportProgress(int done, int total) override
    {
        m_reported = true;
        m_err.progress(m_label, done, total);
    }

private:
    ErrorOutput& m_err;
    QString m_label;
    qint64 m_steps;
    qint64 m_done = 0;
    bool m_reported = false;
};

class QuietRun : public RunContext
{
public:
    void yieldOnce() override {}
    bool isCancelRequested() override { return false; }
};

bool hasLineBreak(const QString& text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

// A folder argument as an absolute path; a relative one means the working folder, as
// everywhere in a shell.
QString absoluteFolder(const QString& text)
{
    if (isAbsoluteHostPath(text))
        return text;
    const QString path = QDir::currentPath() + QLatin1Char('/') + text;
    // ".." is left to the file system, which follows links to apply it.
    return path.contains(QLatin1String("..")) ? path : QDir::cleanPath(path);
}

QString withSeparator(QString folder)
{
    if (!folder.endsWith(pathSeparator(Host)))
        folder += pathSeparator(Host);
    return folder;
}

struct Option {
    const char* name;
    bool takesValue;
};

// The options of each command; --help and -h go with every one.
QList<Option> optionsOf(Command command)
{
    const QList<Option> series{{"--target", true},        {"--prefix", true},  {"--suffix", true},
                               {"--first", true},         {"--last", true},    {"--digits", true},
                               {"--no-zero-fill", false}, {"--dry-run", false},
                               {"--null", false}};
    switch (command) {
    case Command::Create:
        return series;
    case Command::Delete:
        return series + QList<Option>{{"--with-contents", false}};
    case Command::ListCreate:
        return {{"--base", true}, {"--dry-run", false}, {"--encoding", true}, {"--null", false}};
    case Command::ListDelete:
        return {{"--base", true},     {"--with-contents", false}, {"--dry-run", false},
                {"--encoding", true}, {"--null", false}};
    case Command::Expand:
        return {{"--encoding", true}, {"--null", false}};
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

} // namespace

ParsedArguments parseCommandLine(const QStringList& args)
{
    if (args.isEmpty())
        return usageError(QStringLiteral("コマンドを指定して下さい"));
    const QString& name = args.front();
    if (name == QLatin1String("--help") || name == QLatin1String("-h"))
        return accepted(Command::Help);
    if (name == QLatin1String("--version"))
        return args.size() == 1 ? accepted(Command::Version)
                                : usageError(QStringLiteral("余分な引数です: ") +
                                             terminalName(args.at(1)));
    if (name.startsWith(QLatin1Char('-')))
        return usageError(QStringLiteral("コマンドを指定して下さい: ") + terminalName(name));

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
    else
        return usageError(QStringLiteral("不明なコマンドです: ") + terminalName(name));
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
            if (series || !a.listFile.isEmpty())
                return usageError(QStringLiteral("余分な引数です: ") + terminalName(arg));
            if (arg.isEmpty())
                return usageError(QStringLiteral("リストファイルの名前が空です"));
            a.listFile = arg;
            continue;
        }
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h"))
            return accepted(Command::Help);
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        QString option = eq < 0 ? arg : arg.left(eq);
        if (option == QLatin1String("-0"))
            option = QStringLiteral("--null");
        const auto match = std::find_if(known.cbegin(), known.cend(), [&](const Option& o) {
            return option == QLatin1String(o.name);
        });
        if (match == known.cend())
            return usageError(QStringLiteral("不明なオプションです: ") + terminalName(option));
        if (values.contains(option))
            return usageError(QStringLiteral("オプションが二度指定されています: ") + option);
        QString value;
        if (match->takesValue) {
            if (eq >= 0)
                value = arg.mid(eq + 1);
            else if (i + 1 < args.size())
                value = args.at(++i);
            else
                return usageError(QStringLiteral("値がありません: ") + option);
        } else if (eq >= 0) {
            return usageError(QStringLiteral("値は指定できません: ") + option);
        }
        values.insert(option, value);
    }

    a.dryRun = values.contains(QStringLiteral("--dry-run"));
    a.withContents = values.contains(QStringLiteral("--with-contents"));
    a.nulOutput = values.contains(QStringLiteral("--null"));
    if (a.nulOutput && !a.dryRun && a.command != Command::Expand)
        return usageError(QStringLiteral("--null (-0) は expand と --dry-run でだけ使えます"));
    if (values.contains(QStringLiteral("--encoding"))) {
        const QString e = values.value(QStringLiteral("--encoding")).toLower();
        if (e == QLatin1String("auto"))
            a.encoding = EncodingChoice::Auto;
        else if (e == QLatin1String("cp932"))
            a.encoding = EncodingChoice::CodePage932;
        else if (e == QLatin1String("utf-8") || e == QLatin1String("utf8"))
            a.encoding = EncodingChoice::Utf8;
        else
            return usageError(
                QStringLiteral("--encoding には auto、cp932、utf-8 のどれかを指定して下さい: ") +
                terminalName(values.value(QStringLiteral("--encoding"))));
    }
    if (!series) {
        if (a.listFile.isEmpty())
            return usageError(QStringLiteral("リストファイルを指定して下さい"));
        a.base = values.value(QStringLiteral("--base"));
        if (values.contains(QStringLiteral("--base"))) {
            if (a.base.isEmpty())
                return usageError(QStringLiteral("値が空です: --base"));
            if (hasLineBreak(a.base))
                return usageError(QStringLiteral("改行は使えません: --base"));
            bool found = false;
            removeRefusedChars(a.base, RefuseMode::Path, Host, found);
            if (found)
                return ruleError(QStringLiteral("--base ") + terminalName(a.base) +
                                 QStringLiteral(": ") +
                                 catalogueText(2, refusedChars(RefuseMode::Path, Host)));
        }
        return accepted(a);
    }

    for (const char* required : {"--target", "--first", "--last"}) {
        if (!values.contains(QLatin1String(required)))
            return usageError(QStringLiteral("指定されていません: ") + QLatin1String(required));
    }
    a.target = values.value(QStringLiteral("--target"));
    a.prefix = values.value(QStringLiteral("--prefix"));
    a.suffix = values.value(QStringLiteral("--suffix"));
    a.zeroFill = !values.contains(QStringLiteral("--no-zero-fill"));
    if (a.target.isEmpty())
        return usageError(QStringLiteral("値が空です: --target"));

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
            return usageError(QStringLiteral("%1 には %2〜%3 の数値を指定して下さい: %4")
                                  .arg(option)
                                  .arg(n.field.minimum)
                                  .arg(n.field.maximum)
                                  .arg(terminalName(values.value(option))));
        n.into = *value;
    }

    // Names as the window makes them: a line break would cut the name short there.
    struct TextArgument {
        const char* name;
        const QString& text;
        RefuseMode mode;
    };
    for (const TextArgument& t : {TextArgument{"--target", a.target, RefuseMode::Path},
                                  TextArgument{"--prefix", a.prefix, RefuseMode::FolderName},
                                  TextArgument{"--suffix", a.suffix, RefuseMode::FolderName}}) {
        const QString option = QLatin1String(t.name);
        if (hasLineBreak(t.text))
            return usageError(QStringLiteral("改行は使えません: ") + option);
        bool found = false;
        removeRefusedChars(t.text, t.mode, Host, found);
        if (found)
            return ruleError(option + QLatin1Char(' ') + terminalName(t.text) +
                             QStringLiteral(": ") +
                             catalogueText(2, refusedChars(t.mode, Host)));
    }

    if (a.last < a.first)
        std::swap(a.first, a.last);
    if (a.zeroFill && std::pow(10.0, a.digits) <= a.last)
        return ruleError(oneLine(catalogueText(7)));
    return accepted(a);
}

namespace
{

// The program's services for one run, as the window has them, with answers instead of boxes.
struct Services {
    explicit Services(bool create) : failures(err, create)
    {
        host.setRespondDialog(true); // the trash asks nothing
        options.setCheckedIndex(Options::Create, 0);
        steps.addListener(&failures);
    }
    FileFolder host;
    FileSystem& fs = host;
    ErrorOutput err;
    CommandLinePrompter prompter{err};
    FailureLines failures;
    Options options;
    FolderSteps steps{fs, prompter, options, Host};

    int finish(bool create)
    {
        err.clearProgress();
        const FolderSteps::Tally& t = steps.tally();
        if (create)
            err.line(QStringLiteral("作成 %1、既存 %2、失敗 %3")
                         .arg(t.created)
                         .arg(t.existing)
                         .arg(t.failed));
        else
            err.line(QStringLiteral("削除 %1、保持 %2、なし %3、失敗 %4")
                         .arg(t.trashed)
                         .arg(t.kept)
                         .arg(t.missing)
                         .arg(t.failed));
        const bool failed = prompter.failed() || t.failed > 0;
        return failed ? ExitStatus::Failed : ExitStatus::Done;
    }
};

// What a dry run prints for one path: create names what is not there yet, delete what is
// there and would go.
bool wouldTouch(FileSystem& fs, const QString& path, bool create, bool withContents)
{
    if (create)
        return !fs.folderExist(path);
    static const QString anyFile = pathSeparator(Host) + QStringLiteral("*.*");
    return fs.folderExist(path) && (withContents || !fs.fileExist(path + anyFile));
}

int outputStatus(LineOutput& out, ErrorOutput& err)
{
    if (out.flush())
        return ExitStatus::Done;
    err.line(QStringLiteral("nmaker: 標準出力に書き込めませんでした"));
    return ExitStatus::Failed;
}

int runSeries(const CommandArguments& a)
{
    const bool create = a.command == Command::Create;
    Services s(create);
    s.options.setCheckedIndex(Options::FolderName, a.zeroFill ? 0 : 1);
    s.options.setCheckedIndex(Options::Delete, a.withContents ? 1 : 0);

    SeriesParameters p;
    p.targetFolder = withSeparator(absoluteFolder(a.target));
    p.prefix = a.prefix;
    p.suffix = a.suffix;
    p.first = a.first;
    p.last = a.last;
    p.digits = a.digits;
    p.zeroFill = a.zeroFill;
    s.prompter.setTarget(p.targetFolder);

    if (!create && !s.fs.folderExist(p.targetFolder)) {
        s.err.line(terminalName(p.targetFolder) + QStringLiteral(": ") +
                   oneLine(catalogueText(15)));
        return ExitStatus::BadArguments;
    }
    if (a.dryRun) {
        LineOutput out(a.nulOutput);
        for (int n = p.first; n <= p.last; ++n) {
            const QString path = seriesFolderName(p, n);
            if (wouldTouch(s.fs, path, create, a.withContents))
                out.path(path);
        }
        return outputStatus(out, s.err);
    }

    SeriesEngine engine(s.steps);
    TerminalRun run(s.err, create ? QStringLiteral("作成") : QStringLiteral("削除"),
                    p.last - p.first + 1);
    if (create)
        engine.createSeries(p, run);
    else
        engine.deleteSeries(p, run);
    return s.finish(create);
}

// Imports the list; false (after the reason on stderr) when it is no list to run. Without
// `keep` the entries are only checked and counted, to be streamed afterwards.
bool importList(const CommandArguments& a, ErrorOutput& err, ListImport& list, bool keep)
{
    ListImportOptions options;
    options.encoding = a.encoding;
    options.keepEntries = keep;
    list = importListFile(a.listFile, options);
    if (!list.opened) {
        err.line(QStringLiteral("nmaker: リストファイルを開けませんでした: ") +
                 terminalName(a.listFile));
        return false;
    }
    if (!list.refusal.isEmpty()) {
        err.line(terminalName(a.listFile) + QStringLiteral(": ") + oneLine(list.refusal));
        return false;
    }
    // Each rejected line on a line of its own, whatever it holds.
    for (QStringList* group : {&list.notExpandable, &list.tooManyDigits}) {
        for (QString& line : *group)
            line = terminalName(line);
    }
    if (const std::optional<ListReport> report = rejectedLineReport(list)) {
        err.line(QStringLiteral("nmaker: ") +
                 lines(catalogueText(report->number, report->t1, report->t2, report->t3)));
        return false;
    }
    return true;
}

// Every entry of an accepted list: from memory when it was kept, else streamed from the file.
bool forEachEntry(const CommandArguments& a, const ListImport& list,
                  const std::function<bool(const QString&)>& take)
{
    if (!list.entries.isEmpty() || list.entryCount == 0) {
        for (const QString& entry : list.entries) {
            if (!take(entry))
                return false;
        }
        return true;
    }
    return forEachListFileEntry(a.listFile, list.encoding, take);
}

// Whether two entries are the very same text, without holding them: their hashes first, and
// only the entries whose hash came twice are compared for real.
bool hasDuplicates(const CommandArguments& a, const ListImport& list)
{
    QSet<size_t> seen;
    QSet<size_t> twice;
    seen.reserve(list.entryCount);
    forEachEntry(a, list, [&](const QString& entry) {
        const size_t h = qHash(entry, size_t(0x9E3779B97F4A7C15ull));
        if (seen.contains(h))
            twice.insert(h);
        else
            seen.insert(h);
        return true;
    });
    if (twice.isEmpty())
        return false;
    QSet<QString> suspects;
    bool duplicate = false;
    forEachEntry(a, list, [&](const QString& entry) {
        if (!twice.contains(qHash(entry, size_t(0x9E3779B97F4A7C15ull))))
            return true;
        const qsizetype before = suspects.size();
        suspects.insert(entry);
        duplicate = suspects.size() == before;
        return !duplicate;
    });
    return duplicate;
}

int runExpand(const CommandArguments& a)
{
    ErrorOutput err;
    ListImport list;
    if (!importList(a, err, list, false))
        return ExitStatus::BadArguments;
    LineOutput out(a.nulOutput);
    if (!forEachEntry(a, list, [&out](const QString& entry) {
            out.path(entry);
            return true;
        })) {
        err.line(QStringLiteral("nmaker: リストファイルを開けませんでした: ") +
                 terminalName(a.listFile));
        return ExitStatus::Failed;
    }
    return outputStatus(out, err);
}

int runList(const CommandArguments& a)
{
    const bool create = a.command == Command::ListCreate;
    Services s(create);
    s.options.setCheckedIndex(Options::Delete, a.withContents ? 1 : 0);

    // A dry run streams the entries; a run holds them, as the list window does.
    ListImport list;
    if (!importList(a, s.err, list, !a.dryRun))
        return ExitStatus::BadArguments;

    QuietRun quiet;
    const bool duplicate = a.dryRun ? hasDuplicates(a, list)
                                    : checkDuplicates(list.entries, quiet) ==
                                          DuplicateCheck::Duplicate;
    if (duplicate) {
        s.err.line(QStringLiteral(
            "nmaker: リストの中に同一のフォルダが存在します。 リストを修正してやり直して下さい。"));
        return ExitStatus::BadArguments;
    }

    // Every entry as the run sees it, the base in front of those without a root; all the
    // checks before anything is touched.
    const QString base = a.base.isEmpty() ? QString() : withSeparator(absoluteFolder(a.base));
    auto placed = [&base](const QString& entry) {
        return carriesDrive(entry, Host) || base.isEmpty() ? entry : base + entry;
    };
    NamedEntries rootless;
    NamedEntries refused;
    forEachEntry(a, list, [&](const QString& entry) {
        if (!carriesDrive(entry, Host) && base.isEmpty())
            rootless.add(entry);
        else if (hasRefusedChars(placed(entry), RefuseMode::Path, Host))
            refused.add(placed(entry));
        return true;
    });
    if (!rootless.isEmpty()) {
        s.err.line(QStringLiteral("nmaker: ドライブ (ルート) のない項目があります。--base で"
                                  "置き場所のフォルダを指定して下さい:\n") +
                   lines(rootless.text()));
        return ExitStatus::BadArguments;
    }
    if (!refused.isEmpty()) {
        s.err.line(QStringLiteral("nmaker: ") +
                   lines(catalogueText(create ? 24 : 25, refused.text())));
        return ExitStatus::BadArguments;
    }

    if (a.dryRun) {
        LineOutput out(a.nulOutput);
        forEachEntry(a, list, [&](const QString& entry) {
            const QString path = placed(entry);
            if (wouldTouch(s.fs, path, create, a.withContents))
                out.path(path);
            return true;
        });
        return outputStatus(out, s.err);
    }

    QStringList entries = std::move(list.entries);
    list = {};
    for (QString& entry : entries)
        entry = placed(entry);
    ListRun listRun(
        s.steps, s.host,
        BaseFolderSource{base, withSeparator(QCoreApplication::applicationDirPath()),
                         QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName()});
    TerminalRun run(s.err, create ? QStringLiteral("作成") : QStringLiteral("削除"),
                    entries.size());
    listRun.run(std::move(entries), create, run);
    return s.finish(create);
}

} // namespace

namespace
{

// Qt's own options, which the window takes: with nothing else, the window starts.
bool isQtOption(const QByteArray& arg, bool* takesValue)
{
    static const char* const withValue[] = {
        "platform", "platformpluginpath", "platformtheme", "plugin",     "qwindowgeometry",
        "qwindowicon", "qwindowtitle",   "session",       "display",    "geometry",
        "style",    "stylesheet",        "qmljsdebugger", "name",       "title"};
    static const char* const switches[] = {"reverse", "widgetcount", "nograb", "dograb",
                                           "sync", "testability"};
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

bool wantsCommandLine(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        bool takesValue = false;
        if (!arg.startsWith('-') || !isQtOption(arg, &takesValue))
            return true;
        if (takesValue)
            ++i;
    }
    return false;
}

int runCommandLine(int argc, char* argv[])
{
    // QtCore only: no display is needed.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("nmaker"));
    QCoreApplication::setApplicationVersion(QStringLiteral(NMAKER_VERSION_STRING));

    // Straight from argv, and only what reads back as the same bytes: a name that is no text
    // in the file-name encoding would otherwise turn into another name.
    QStringList args;
    for (int i = 1; i < argc; ++i) {
        const QByteArray bytes(argv[i]);
        const QString text = QFile::decodeName(bytes);
        if (QFile::encodeName(text) != bytes) {
            ErrorOutput err;
            err.line(QStringLiteral("nmaker: 引数を文字として読めません (UTF-8 ではありません): ") +
                     terminalBytes(bytes));
            return ExitStatus::BadArguments;
        }
        args << text;
    }
    const ParsedArguments parsed = parseCommandLine(args);
    if (!parsed.arguments) {
        ErrorOutput err;
        QString text = QStringLiteral("nmaker: ") + parsed.error;
        if (parsed.usageError)
            text += QStringLiteral(" (使い方: nmaker --help)");
        err.line(text);
        return ExitStatus::BadArguments;
    }
    const CommandArguments& a = *parsed.arguments;
    switch (a.command) {
    case Command::Help:
    case Command::Version: {
        LineOutput out;
        ErrorOutput err;
        out.line(a.command == Command::Help ? lines(usageText())
                                            : QStringLiteral("NMaker " NMAKER_VERSION_STRING));
        return outputStatus(out, err);
    }
    case Command::Create:
    case Command::Delete:
        return runSeries(a);
    case Command::ListCreate:
    case Command::ListDelete:
        return runList(a);
    case Command::Expand:
        return runExpand(a);
    }
    return ExitStatus::BadArguments;
}
