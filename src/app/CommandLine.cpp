#include "CommandLine.h"

#include "PathStyle.h"
#include "fileops/FileFolder.h"
#include "fileops/HostPath.h"
#include "folderlist/ListFile.h"
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
        "  nmaker list-create FILE [--base DIR] [--dry-run]\n"
        "  nmaker list-delete FILE [--base DIR] [--with-contents] [--dry-run]\n"
        "  nmaker expand FILE\n"
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
        "\n"
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
QString namedEntries(const QStringList& entries)
{
    QString text;
    const qsizetype named = std::min<qsizetype>(entries.size(), MaxNamedEntries);
    for (qsizetype i = 0; i < named; ++i)
        text += entries.at(i) + QLatin1String("\r\n");
    if (entries.size() > named)
        text += QStringLiteral("ほか %1 行\r\n").arg(entries.size() - named);
    return text;
}

// stdout, UTF-8 and "\n", through one buffer: a dry run or an expansion prints up to 100,000
// lines, each encoded straight into the buffer.
class LineOutput
{
public:
    LineOutput() : m_buffer(Capacity, Qt::Uninitialized) {}
    ~LineOutput() { flush(); }

    void line(QStringView text)
    {
        const qsizetype need = m_encoder.requiredSpace(text.size()) + 1;
        if (m_used + need > m_buffer.size()) {
            flush();
            if (need > m_buffer.size())
                m_buffer.resize(need);
        }
        char* end = m_encoder.appendToBuffer(m_buffer.data() + m_used, text);
        *end++ = '\n';
        m_used = end - m_buffer.data();
    }

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
};

// stderr: failure lines, the summary, and on a terminal a progress line that they replace.
class ErrorOutput
{
public:
    ErrorOutput() : m_terminal(::isatty(2) == 1) {}

    void line(const QString& text)
    {
        clearProgress();
        write(text + QLatin1Char('\n'));
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
            m_err.line(m_target + QStringLiteral(": ") + oneLine(request.text));
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
        m_err.line(event.path + QStringLiteral(": ") + text);
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
                               {"--no-zero-fill", false}, {"--dry-run", false}};
    switch (command) {
    case Command::Create:
        return series;
    case Command::Delete:
        return series + QList<Option>{{"--with-contents", false}};
    case Command::ListCreate:
        return {{"--base", true}, {"--dry-run", false}};
    case Command::ListDelete:
        return {{"--base", true}, {"--with-contents", false}, {"--dry-run", false}};
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
    const std::optional<double> value = parseNumber(text);
    if (!value)
        return std::nullopt;
    const qint64 n = roundNumber(*value);
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
        return accepted(Command::Version);

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
        return usageError(QStringLiteral("不明なコマンドです: ") + name);
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
                return usageError(QStringLiteral("余分な引数です: ") + arg);
            if (arg.isEmpty())
                return usageError(QStringLiteral("リストファイルの名前が空です"));
            a.listFile = arg;
            continue;
        }
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h"))
            return accepted(Command::Help);
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        const QString option = eq < 0 ? arg : arg.left(eq);
        const auto match = std::find_if(known.cbegin(), known.cend(), [&](const Option& o) {
            return option == QLatin1String(o.name);
        });
        if (match == known.cend())
            return usageError(QStringLiteral("不明なオプションです: ") + option);
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
                return ruleError(QStringLiteral("--base ") + a.base + QStringLiteral(": ") +
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
                                  .arg(values.value(option)));
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
            return ruleError(option + QLatin1Char(' ') + t.text + QStringLiteral(": ") +
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
        s.err.line(p.targetFolder + QStringLiteral(": ") + oneLine(catalogueText(15)));
        return ExitStatus::BadArguments;
    }
    if (a.dryRun) {
        LineOutput out;
        for (int n = p.first; n <= p.last; ++n) {
            const QString path = seriesFolderName(p, n);
            if (wouldTouch(s.fs, path, create, a.withContents))
                out.line(path);
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

// Imports the list; false (after the reason on stderr) when it is no list to run.
bool importList(const CommandArguments& a, ErrorOutput& err, ListImport& list)
{
    list = importListFile(a.listFile, nullptr);
    if (!list.opened) {
        err.line(QStringLiteral("nmaker: リストファイルを開けませんでした: ") + a.listFile);
        return false;
    }
    if (!list.refusal.isEmpty()) {
        err.line(a.listFile + QStringLiteral(": ") + oneLine(list.refusal));
        return false;
    }
    if (const std::optional<ListReport> report = rejectedLineReport(list)) {
        err.line(QStringLiteral("nmaker: ") +
                 lines(catalogueText(report->number, report->t1, report->t2, report->t3)));
        return false;
    }
    return true;
}

int runExpand(const CommandArguments& a)
{
    ErrorOutput err;
    ListImport list;
    if (!importList(a, err, list))
        return ExitStatus::BadArguments;
    LineOutput out;
    for (const QString& entry : std::as_const(list.entries))
        out.line(entry);
    return outputStatus(out, err);
}

int runList(const CommandArguments& a)
{
    const bool create = a.command == Command::ListCreate;
    Services s(create);
    s.options.setCheckedIndex(Options::Delete, a.withContents ? 1 : 0);

    ListImport list;
    if (!importList(a, s.err, list))
        return ExitStatus::BadArguments;
    QStringList entries = std::move(list.entries);
    list = {};

    QuietRun quiet;
    if (checkDuplicates(entries, quiet) == DuplicateCheck::Duplicate) {
        s.err.line(QStringLiteral(
            "nmaker: リストの中に同一のフォルダが存在します。 リストを修正してやり直して下さい。"));
        return ExitStatus::BadArguments;
    }

    // Every entry as the run sees it, the base in front of those without a root; all the
    // checks before anything is touched.
    const QString base = a.base.isEmpty() ? QString() : withSeparator(absoluteFolder(a.base));
    QStringList rootless;
    QStringList refused;
    for (QString& entry : entries) {
        if (!carriesDrive(entry, Host)) {
            if (base.isEmpty()) {
                rootless << entry;
                continue;
            }
            entry = base + entry;
        }
        bool found = false;
        removeRefusedChars(entry, RefuseMode::Path, Host, found);
        if (found)
            refused << entry;
    }
    if (!rootless.isEmpty()) {
        s.err.line(QStringLiteral("nmaker: ドライブ (ルート) のない項目があります。--base で"
                                  "置き場所のフォルダを指定して下さい:\n") +
                   lines(namedEntries(rootless)));
        return ExitStatus::BadArguments;
    }
    if (!refused.isEmpty()) {
        s.err.line(QStringLiteral("nmaker: ") +
                   lines(catalogueText(create ? 24 : 25, namedEntries(refused))));
        return ExitStatus::BadArguments;
    }

    if (a.dryRun) {
        LineOutput out;
        for (const QString& entry : std::as_const(entries)) {
            if (wouldTouch(s.fs, entry, create, a.withContents))
                out.line(entry);
        }
        return outputStatus(out, s.err);
    }

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

bool wantsCommandLine(int argc, char* argv[])
{
    if (argc < 2)
        return false;
    const QByteArray first(argv[1]);
    return !first.startsWith('-') || first == "--help" || first == "-h" || first == "--version";
}

int runCommandLine(int argc, char* argv[])
{
    // QtCore only: no display is needed.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("nmaker"));
    QCoreApplication::setApplicationVersion(QStringLiteral(NMAKER_VERSION_STRING));

    const ParsedArguments parsed = parseCommandLine(QCoreApplication::arguments().mid(1));
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
