// The commands run in this process, their output on buffers, in a temporary folder whose home
// holds the trash.
#include "ArgumentParser.h"
#include "CommandLine.h"
#include "CommandRows.h"
#include "JsonLines.h"
#include "TerminalText.h"
#include "TestHelpers.h"
#include "run/StopRequest.h"
#include "text/TextRules.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{

// Standard output that asks the program to stop, as a signal would, once the run has written
// its first block.
class StoppingOutput : public QBuffer
{
public:
    explicit StoppingOutput(int signal) : m_signal(signal) {}

protected:
    qint64 writeData(const char* data, qint64 size) override
    {
        StopRequest::request(m_signal);
        return QBuffer::writeData(data, size);
    }

private:
    int m_signal;
};

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private:
    QString path(const QString& relative) const { return m_dir->filePath(relative); }

    Outcome run(const QStringList& args, const QByteArray& input = {},
                QBuffer* output = nullptr) const
    {
        const QByteArray home = qgetenv("HOME");
        const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
        const QByteArray stateHome = qgetenv("XDG_STATE_HOME");
        const QByteArray localData = qgetenv("LOCALAPPDATA");
        const QString before = QDir::currentPath();
        qputenv("HOME", QFile::encodeName(path("home")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(path("home/.local/share")));
        // The journal of the runs, never the real one.
        qputenv("XDG_STATE_HOME", QFile::encodeName(path("home/.local/state")));
        qputenv("LOCALAPPDATA", QFile::encodeName(path("home/AppData")));
        QDir::setCurrent(m_dir->path());
        QBuffer ownOut;
        QBuffer& out = output ? *output : ownOut;
        QBuffer err;
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        Outcome o;
        QBuffer in;
        in.setData(input);
        in.open(QIODevice::ReadOnly);
        o.exit = runCommand(args, TerminalStreams{out, err, false, &in},
                            CommandEnvironment{"/prog/", "nmaker", QDate(2024, 3, 5)});
        QDir::setCurrent(before);
        qputenv("HOME", home);
        qputenv("XDG_DATA_HOME", dataHome);
        qputenv("XDG_STATE_HOME", stateHome);
        qputenv("LOCALAPPDATA", localData);
        o.rawOut = out.data();
        o.out = outputLines(o.rawOut);
        o.err = outputLines(err.data());
        return o;
    }

    void make(const QStringList& items) const { makeItems(m_dir->path(), items); }

    QStringList trash() const { return trashedItems(m_dir->path()); }

    // The same for the bytes of a list or an output (no code page 932 byte is a '/').
    QByteArray placedBytes(QByteArray bytes) const
    {
#ifdef Q_OS_WIN
        if (bytes.contains('@'))
            bytes.replace('/', '\\');
#endif
        return bytes.replace('@', QFile::encodeName(QDir::toNativeSeparators(m_dir->path())));
    }

    std::unique_ptr<QTemporaryDir> m_dir;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QVERIFY(QDir().mkpath(path("home")));
    }

    void runs_data()
    {
        addCommandRows();
    }

    void runs()
    {
        checkCommandRow(m_dir->path(), QStringLiteral("20240305"),
                        [this](const QStringList& args) { return run(args); });
    }

#ifdef Q_OS_UNIX
    // Commands one after another, as a shell runs them; "+x" makes x in between.
    void undo_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QList<int>>("exits");
        QTest::addColumn<QStringList>("out"); // of the last command
        QTest::addColumn<QStringList>("err"); // of the last command
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("trashed");

        const QString del = "delete --target @/w --prefix c --first 1 --last 3 --digits 1";
        const QStringList three{"w/c1", "w/c2", "w/c3"};
        const QStringList all{"c1", "c2", "c3"};
        QTest::newRow("delete, then undo")
            << QStringList{del, "undo"} << QList<int>{0, 0} << QStringList{}
            << QStringList{"復元 3、保持 0、なし 0、失敗 0"} << three << QStringList{};
        QTest::newRow("dry run lists what would move")
            << QStringList{del, "undo --dry-run"} << QList<int>{0, 0}
            << QStringList{"@/w/c1", "@/w/c2", "@/w/c3"} << QStringList{} << QStringList{} << all;
        QTest::newRow("a same-named folder made meanwhile")
            << QStringList{del, "+w/c2/", "undo"} << QList<int>{0, 1} << QStringList{}
            << QStringList{"@/w/c2: 保持 (同じ名前のフォルダが既にあるため)",
                           "復元 2、保持 1、なし 0、失敗 0"}
            << three << QStringList{"c2"};
        QTest::newRow("dry run names what would stay")
            << QStringList{del, "+w/c2/", "undo --dry-run"} << QList<int>{0, 0}
            << QStringList{"@/w/c1", "@/w/c3"}
            << QStringList{"@/w/c2: ごみ箱に残ります (同じ名前のフォルダが既にあるため)"}
            << QStringList{} << all;
        QTest::newRow("trash emptied meanwhile")
            << QStringList{del, "-home/.local/share/Trash/files/c1",
                           "-home/.local/share/Trash/info/c1.trashinfo", "undo"}
            << QList<int>{0, 1} << QStringList{}
            << QStringList{"@/w/c1: なし (ごみ箱にないため)", "復元 2、保持 0、なし 1、失敗 0"}
            << QStringList{"w/c2", "w/c3"} << QStringList{};
        QTest::newRow("dry run after half an undo: what is back says so")
            << QStringList{del, "~home/.local/share/Trash/files/c2>w/c2", "undo --dry-run"}
            << QList<int>{0, 0} << QStringList{"@/w/c1", "@/w/c3"}
            << QStringList{"@/w/c2: 元の場所に戻っています"} << QStringList{"w/c2"}
            << QStringList{"c1", "c3"};
        QTest::newRow("dry run for scripts: each state by its code")
            << QStringList{del, "~home/.local/share/Trash/files/c2>w/c2",
                           "-home/.local/share/Trash/files/c3",
                           "-home/.local/share/Trash/info/c3.trashinfo", "undo --dry-run --json"}
            << QList<int>{0, 0}
            << QStringList{"{\"type\": \"planned\", \"path\": \"@/w/c1\", \"action\": \"restore\", "
                           "\"line\": null}",
                           "{\"type\": \"unchanged\", \"path\": \"@/w/c2\", \"state\": \"back\", "
                           "\"reason\": \"元の場所に戻っています\", \"line\": null}",
                           "{\"type\": \"unchanged\", \"path\": \"@/w/c3\", \"state\": \"gone\", "
                           "\"reason\": \"ごみ箱にありません\", \"line\": null}",
                           "{\"type\": \"summary\", \"command\": \"undo\", \"dry_run\": true, "
                           "\"planned\": 1, \"exit\": 0}"}
            << QStringList{} << QStringList{"w/c2"} << QStringList{"c1"};
        QTest::newRow("an interrupted deletion: what is on record comes back")
            << QStringList{del, "^end", "undo"} << QList<int>{0, 0} << QStringList{}
            << QStringList{"nmaker: "
                           "直前の削除は途中で中断されました。記録に残っているフォルダだけを"
                           "元に戻します",
                           "復元 3、保持 0、なし 0、失敗 0"}
            << three << QStringList{};
        QTest::newRow("twice: nothing left")
            << QStringList{del, "undo", "undo"} << QList<int>{0, 0, 2} << QStringList{}
            << QStringList{"nmaker: 元に戻せる作成・削除はありません"} << three << QStringList{};
        QTest::newRow("nothing ever ran") << QStringList{"undo"} << QList<int>{2} << QStringList{}
                                          << QStringList{"nmaker: 元に戻せる作成・削除はありません"}
                                          << QStringList{} << QStringList{};
        QTest::newRow("a journal that is not ours")
            << QStringList{del, "-home/.local/state/NMaker/journal",
                           "+home/.local/state/NMaker/journal=garbage", "undo"}
            << QList<int>{0, 2} << QStringList{}
            << QStringList{"nmaker: 実行の記録を使えません: @/home/.local/state/NMaker/journal: "
                           "NMaker の実行の記録ではありません"}
            << QStringList{} << all;
        QTest::newRow("a creation taken back")
            << QStringList{"create --target @/w --prefix c --first 1 --last 3 --digits 1", "undo"}
            << QList<int>{0, 0} << QStringList{} << QStringList{"削除 4、保持 0、なし 0、失敗 0"}
            << QStringList{} << all + QStringList{"w"}; // the target it made too
        QTest::newRow("the newer run first")
            << QStringList{"create --target @/v --prefix c --first 1 --last 1 --digits 1",
                           "+w/c1/",
                           "+w/c2/",
                           "+w/c3/",
                           del,
                           "undo --json"}
            << QList<int>{0, 0, 0}
            << QStringList{"{\"type\": \"folder\", \"path\": \"@/w/c1\", \"outcome\": "
                           "\"restored\", "
                           "\"reason\": null, \"line\": null}",
                           "{\"type\": \"folder\", \"path\": \"@/w/c2\", \"outcome\": "
                           "\"restored\", "
                           "\"reason\": null, \"line\": null}",
                           "{\"type\": \"folder\", \"path\": \"@/w/c3\", \"outcome\": "
                           "\"restored\", "
                           "\"reason\": null, \"line\": null}",
                           "{\"type\": \"summary\", \"command\": \"undo\", \"restored\": 3, "
                           "\"kept\": 0, "
                           "\"missing\": 0, \"failed\": 0, \"exit\": 0}"}
            << QStringList{"復元 3、保持 0、なし 0、失敗 0"} << QStringList{"v/c1", "w/c3"}
            << QStringList{};
    }

    void undo()
    {
        QFETCH(QStringList, steps);
        QFETCH(QList<int>, exits);
        const QString dir = m_dir->path();
        if (steps.front().startsWith("delete"))
            make({"w/c1/", "w/c2/", "w/c3/"});
        QList<int> got;
        Outcome o;
        for (const QString& step : steps) {
            if (step.startsWith('+')) {
                make({step.mid(1)});
            } else if (step.startsWith('~')) {
                const QStringList ends = step.mid(1).split('>');
                QVERIFY(QDir().rename(path(ends.at(0)), path(ends.at(1))));
            } else if (step == "^end") {
                // The run died before its end went on record.
                QByteArray bytes = fileBytes(path("home/.local/state/NMaker/journal"));
                bytes.chop(bytes.size() - bytes.lastIndexOf('\n', bytes.size() - 2) - 1);
                QVERIFY(putBytes(path("home/.local/state/NMaker/journal"), bytes));
            } else if (step.startsWith('-')) {
                QVERIFY(QFileInfo(path(step.mid(1))).isDir()
                            ? QDir(path(step.mid(1))).removeRecursively()
                            : QFile::remove(path(step.mid(1))));
            } else {
                o = run(placed(step.split(' '), dir));
                got << o.exit;
            }
        }
        QCOMPARE(got, exits);
        QFETCH(QStringList, out);
        QFETCH(QStringList, err);
        QCOMPARE(o.out, placed(out, dir));
        QCOMPARE(o.err, placed(err, dir));
        QFETCH(QStringList, present);
        for (const QString& p : present)
            QVERIFY2(QFileInfo(path(p)).isDir(), qPrintable(p));
        QTEST(trash(), "trashed");
    }
#endif

    // A signal ends the run at its next folder with its record whole, and the exit status tells
    // which; nothing more goes to a pipe that was closed.
    void stopRequest_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGINT") << 2;
        QTest::newRow("SIGHUP") << 1;
        QTest::newRow("SIGTERM") << 15;
        QTest::newRow("SIGPIPE") << 13;
    }

    void stopRequest()
    {
        QFETCH(int, signal);
        StoppingOutput out(signal);
        const Outcome o = run(placed({"create", "--target", "@/w", "--first", "1", "--last", "5000",
                                      "--digits", "4", "--json"},
                                     m_dir->path()),
                              {}, &out);
        StopRequest::clear();
        QCOMPARE(o.exit, 128 + signal);
        const int made = int(QDir(path("w")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
        QVERIFY2(made > 0 && made < 5000, qPrintable(QString::number(made)));
        QCOMPARE(o.out.last().startsWith("{\"type\": \"summary\""), signal != 13);
        const Outcome undo = run({"undo"});
        QCOMPARE(undo.exit, 0);
        QVERIFY(!QFileInfo::exists(path("w"))); // every folder it made was on record
    }

    void badArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("named");
        QTest::addColumn<bool>("hint");

        const QStringList t{"create", "--target", "o"};
        QTest::newRow("non-numeric")
            << t + QStringList{"--first", "x", "--last", "3"} << "--first" << true;
        QTest::newRow("negative") << t + QStringList{"--first", "-1", "--last", "3"} << "--first"
                                  << true;
        QTest::newRow("above 99999")
            << t + QStringList{"--first", "1", "--last", "100000"} << "--last" << true;
        QTest::newRow("digits 6") << t + QStringList{"--first", "1", "--last", "3", "--digits", "6"}
                                  << "--digits" << true;
        QTest::newRow("digits 0") << t + QStringList{"--first", "1", "--last", "3", "--digits", "0"}
                                  << "--digits" << true;
        QTest::newRow("zero-fill mismatch") << t + QStringList{"--first", "1", "--last", "1000"}
                                            << "連番番号と桁数が合っていません" << false;
        QTest::newRow("zero-fill mismatch, swapped")
            << t + QStringList{"--first", "100", "--last", "1", "--digits", "2"}
            << "連番番号と桁数が合っていません" << false;
        QTest::newRow("refused prefix")
            << t + QStringList{"--prefix", "a/b", "--first", "1", "--last", "3"}
            << "--prefix a/b: フォルダ名に\\/|:<>\"*は、使えません" << false;
        QTest::newRow("refused suffix")
            << t + QStringList{"--suffix", "x*", "--first", "1", "--last", "3"} << "--suffix"
            << false;
        QTest::newRow("refused target")
            << QStringList{"create", "--target", "o:x", "--first", "1", "--last", "3"}
            << QStringLiteral("--target o:x: フォルダ名に") +
                   refusedChars(RefuseMode::Path, hostPathStyle()) +
                   QStringLiteral("は、使えません")
            << false;
        QTest::newRow("line break in prefix")
            << t + QStringList{"--prefix", "a\nb", "--first", "1", "--last", "3"} << "--prefix"
            << true;
        QTest::newRow("--extended is for lists")
            << t + QStringList{"--first", "1", "--last", "3", "--extended"} << "--extended" << true;
        QTest::newRow("unknown option")
            << t + QStringList{"--first", "1", "--last", "3", "--bogus"} << "--bogus" << true;
        QTest::newRow("option of another command")
            << t + QStringList{"--first", "1", "--last", "3", "--base", "B"} << "--base" << true;
        QTest::newRow("missing value")
            << t + QStringList{"--first", "1", "--last"} << "--last" << true;
        QTest::newRow("missing option")
            << QStringList{"create", "--first", "1", "--last", "3"} << "--target" << true;
        QTest::newRow("option twice")
            << t + QStringList{"--first", "1", "--first", "2", "--last", "3"} << "--first" << true;
        QTest::newRow("value for a switch")
            << t + QStringList{"--first", "1", "--last", "3", "--dry-run=yes"} << "--dry-run"
            << true;
        QTest::newRow("unknown command") << QStringList{"frob"} << "frob" << true;
        QTest::newRow("list without file")
            << QStringList{"list-create", "--base", "B"} << "リストファイル" << true;
        QTest::newRow("extra argument")
            << QStringList{"expand", "a.txt", "b.txt"} << "b.txt" << true;
        // Anything but Qt's own options is the command line's, never the window.
        QTest::newRow("command forgotten")
            << QStringList{"--target", "o", "--first", "1", "--last", "3"} << "--target" << true;
        QTest::newRow("help misspelt") << QStringList{"--helpx"} << "--helpx" << true;
        QTest::newRow("a short option") << QStringList{"-x"} << "-x" << true;
        QTest::newRow("qt option and another")
            << QStringList{"-style", "fusion", "-x"} << "-style" << true;
        QTest::newRow("version with more") << QStringList{"--version", "extra"} << "extra" << true;
        QTest::newRow("an exponent is no number")
            << t + QStringList{"--first", "1e3", "--last", "3"} << "--first" << true;
        QTest::newRow("unknown encoding")
            << QStringList{"expand", "a.txt", "--encoding", "latin1"} << "latin1" << true;
        QTest::newRow("nul output of a real run")
            << QStringList{"list-create", "a.txt", "-0"} << "--null" << true;
        QTest::newRow("empty base")
            << QStringList{"list-create", "a.txt", "--base="} << "--base" << true;
        QTest::newRow("json with nul output")
            << QStringList{"expand", "a.txt", "--json", "-0"} << "--null" << true;
        QTest::newRow("quiet and verbose")
            << QStringList{"expand", "a.txt", "-q", "-v"} << "--quiet" << true;
        QTest::newRow("a report of a dry run")
            << QStringList{"list-create", "a.txt", "--dry-run", "--report", "r.csv"} << "--report"
            << true;
        QTest::newRow("a report of an expansion")
            << QStringList{"expand", "a.txt", "--report", "r.csv"} << "--report" << true;
    }

    // --json, --report, -q, -v and a list from standard input. Each JSON line is shown as
    // "type outcome-or-action path line"; the summary as "summary key=value…".
    void scriptOutput_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("input"); // standard input
        QTest::addColumn<int>("exit");
        QTest::addColumn<QStringList>("json");
        QTest::addColumn<QStringList>("err");

        const QStringList series{"create",  "--target", "@/out",  "--prefix", "c",
                                 "--first", "1",        "--last", "4",        "--json"};
        QTest::newRow("a series: created, existing, failed with its reason")
            << QStringList{"out/c002/", "out/c003"} << series << QByteArray() << 1
            << QStringList{"folder created @/out/c001 null", "folder existing @/out/c002 null",
                           "folder failed @/out/c003 null", "folder created @/out/c004 null",
                           "summary command=create created=2 existing=1 failed=1 exit=1"}
            << QStringList{"@/out/c003: フォルダの作成で異常が起きました。 "
                           "フォルダが作成できませんでした。 (同じ名前のファイルがあります)",
                           "作成 2、既存 1、失敗 1"};
        QTest::newRow("quiet: the failure is named, no summary line")
            << QStringList{"out/c003"} << series + QStringList{"-q"} << QByteArray() << 1
            << QStringList{"folder created @/out/c001 null", "folder created @/out/c002 null",
                           "folder failed @/out/c003 null", "folder created @/out/c004 null",
                           "summary command=create created=3 existing=0 failed=1 exit=1"}
            << QStringList{"@/out/c003: フォルダの作成で異常が起きました。 "
                           "フォルダが作成できませんでした。 (同じ名前のファイルがあります)"};
        QTest::newRow("a list from standard input, with its lines")
            << QStringList{"L/b/"} << QStringList{"list-create", "-", "--json", "-v"}
            << QByteArray("@/L/a[1-2]\n\n@/L/b\n") << 0
            << QStringList{"folder created @/L/a1 1", "folder created @/L/a2 1",
                           "folder existing @/L/b 3",
                           "summary command=list-create created=2 existing=1 failed=0 exit=0"}
            << QStringList{"作成: @/L/a1", "作成: @/L/a2", "既存: @/L/b", "作成 2、既存 1、失敗 0"};
        QTest::newRow("list-delete: trashed, kept with its reason, missing")
            << QStringList{"L/a1/", "L/a2/f"} << QStringList{"list-delete", "-", "--json"}
            << QByteArray("@/L/a[1-3]\r\n") << 0
            << QStringList{"folder kept @/L/a2 1", "folder missing @/L/a3 1",
                           "folder trashed @/L/a1 1",
                           "summary command=list-delete trashed=1 kept=1 missing=1 failed=0 exit=0"}
            << QStringList{"削除 1、保持 1、なし 1、失敗 0"};
        QTest::newRow("a dry run plans")
            << QStringList{"L/a1/"} << QStringList{"list-create", "-", "--dry-run", "--json"}
            << QByteArray("@/L/x\n@/L/a[1-2]\n") << 0
            << QStringList{"planned create @/L/x 1", "planned create @/L/a2 2",
                           "summary command=list-create dry_run=true planned=2 exit=0"}
            << QStringList{};
        QTest::newRow("expand from standard input")
            << QStringList{} << QStringList{"expand", "-", "--json"} << QByteArray("x[8-9]\n") << 0
            << QStringList{"entry  x8 1", "entry  x9 1", "summary command=expand entries=2 exit=0"}
            << QStringList{};
        QTest::newRow("a bad list: only the summary, exit 2")
            << QStringList{} << QStringList{"list-create", "-", "--json"} << QByteArray("rel\n")
            << 2 << QStringList{"summary command=list-create exit=2"}
            << QStringList{"nmaker: ドライブ (ルート) のない項目があります。--base で置き場所の"
                           "フォルダを指定して下さい:",
                           "rel"};
        QTest::newRow("standard input, empty")
            << QStringList{} << QStringList{"expand", "-"} << QByteArray() << 0 << QStringList{}
            << QStringList{};
    }

    void scriptOutput()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, args);
        QFETCH(QByteArray, input);
        const QString dir = m_dir->path();
        make(before);
        const Outcome o = run(placed(args, dir), placedBytes(input));
        QStringList shown;
        for (const QString& text : o.out) {
            QJsonParseError error;
            const QJsonObject object = QJsonDocument::fromJson(text.toUtf8(), &error).object();
            QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(text));
            const QString type = object.value("type").toString();
            if (type == "summary") {
                QString text = type;
                const QStringList keys{"command", "dry_run", "created", "existing",
                                       "trashed", "kept",    "missing", "failed",
                                       "planned", "entries", "exit"};
                for (const QString& key : keys) {
                    const QJsonValue v = object.value(key);
                    if (!v.isUndefined())
                        text += " " + key + "=" +
                                (v.isString() ? v.toString()
                                 : v.isBool() ? QString(v.toBool() ? "true" : "false")
                                              : QString::number(v.toInteger()));
                }
                shown << text;
                continue;
            }
            const QJsonValue line = object.value("line");
            shown << type + " " +
                         object.value(type == "planned" ? "action" : "outcome").toString() + " " +
                         object.value("path").toString() + " " +
                         (line.isNull() ? QString("null") : QString::number(line.toInteger()));
            if (type == "folder")
                QCOMPARE(object.value("reason").isNull(),
                         object.value("outcome").toString() != "failed" &&
                             object.value("outcome").toString() != "kept");
        }
        QTEST(o.exit, "exit");
        QFETCH(QStringList, json);
        QCOMPARE(shown, placed(json, dir));
        QFETCH(QStringList, err);
        QCOMPARE(o.err, placed(err, dir));
    }

    // The CSV report: a BOM, the header, a row per folder with its reason and line; names with
    // commas and line feeds quoted.
    void csvReport()
    {
        make({"L/a,b/f"});
        QVERIFY(putBytes(path("list.txt"), placedBytes("@/L/a,b\r\n@/L/n\nm\r\n")));
        const Outcome o = run({"list-delete", "list.txt", "--report", "r.csv"});
        QCOMPARE(o.exit, 0);
        QFile file(path("r.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray csv = file.readAll();
        QCOMPARE(csv, "\xEF\xBB\xBF" + QString("結果,フォルダ,理由,行\r\n").toUtf8() +
                          QString("保持").toUtf8() + ",\"" + placedBytes("@/L/a,b") + "\"," +
                          QString("中身があるため").toUtf8() + ",1\r\n" + QString("なし").toUtf8() +
                          ",\"" + placedBytes("@/L/n\nm") + "\",,2\r\n");
    }

    // A report that cannot be written is found out before the run: nothing is done, exit 2.
    void reportRefusedBeforeTheRun_data()
    {
        QTest::addColumn<QString>("report");
        QTest::addColumn<QString>("why");
        QTest::newRow("the list itself") << "list.txt"
                                         << "読み込むファイル list.txt と同じファイルです";
        QTest::newRow("a folder") << "L"
                                  << "ファイルではないもの (フォルダ、FIFO、デバイス) があります";
        QTest::newRow("in a missing folder")
            << "no/such/r.csv"
            << "書き込む先のフォルダがないか、新しいファイルを置けません";
#ifdef Q_OS_LINUX
        QTest::newRow("a file of /proc") << "/proc/self/status"
                                         << "読み取り専用のファイルです";
#endif
    }

    void reportRefusedBeforeTheRun()
    {
        QFETCH(QString, report);
        QFETCH(QString, why);
        make({"L/a/"});
        QVERIFY(putBytes(path("list.txt"), placedBytes("@/L/a\r\n")));
        const QByteArray list = fileBytes(path("list.txt"));
        const Outcome o = run({"list-delete", "list.txt", "--report", report});
        QCOMPARE(o.exit, 2);
        QCOMPARE(o.err,
                 QStringList{"nmaker: 結果のファイルに書き込めません: " + report + ": " + why});
        QVERIFY(QFileInfo(path("L/a")).isDir()); // nothing done
        QCOMPARE(fileBytes(path("list.txt")), list);
    }

    // After a deletion, undo is about that deletion: it brings back what the deletion moved
    // (where the host's trash tells where it went) and never trashes the creation before it.
    void undoAfterADeletionIsAboutTheDeletion()
    {
        const QString dir = m_dir->path();
        QCOMPARE(run(placed({"create", "--target", "@/w", "--prefix", "c", "--first", "1", "--last",
                             "3", "--digits", "1"},
                            dir))
                     .exit,
                 0);
        QCOMPARE(run(placed({"delete", "--target", "@/w", "--prefix", "c", "--first", "1", "--last",
                             "2", "--digits", "1"},
                            dir))
                     .exit,
                 0);
        const Outcome o = run({"undo", "--dry-run", "--json"});
        const QStringList deleted = placed({"@/w/c1", "@/w/c2"}, dir);
        for (const QString& line : o.out) {
            const QJsonObject item = QJsonDocument::fromJson(line.toUtf8()).object();
            if (item.value("type").toString() != "planned")
                continue;
            QCOMPARE(item.value("action").toString(), QString("restore"));
            QVERIFY2(deleted.contains(item.value("path").toString()), qPrintable(line));
        }
        run({"undo"});
        QVERIFY(QFileInfo(path("w/c3")).isDir());
    }

#ifdef Q_OS_WIN
    // A device name is refused with its own reason, not only the generic box's text.
    void deviceNameHasItsReason()
    {
        const Outcome o = run(placed({"create", "--target", "@/w", "--prefix", "COM", "--first",
                                      "1", "--last", "1", "--digits", "1", "--json"},
                                     m_dir->path()));
        QCOMPARE(o.exit, 1);
        const QJsonObject folder = QJsonDocument::fromJson(o.out.value(0).toUtf8()).object();
        QCOMPARE(folder.value("reason_code").toString(), QString("invalid_name"));
        QVERIFY2(folder.value("reason").toString().contains("COM1"),
                 qPrintable(folder.value("reason").toString()));
        QVERIFY(!QFileInfo::exists(path("w/COM1")));
    }
#endif

#ifdef Q_OS_UNIX
    // The trash's reasons in Japanese, with a code beside them that scripts can rely on.
    void reasonsHaveCodes()
    {
        make({"w/c1/", "home/.local/share=not a folder"});
        const Outcome o = run(placed({"delete", "--target", "@/w", "--prefix", "c", "--first", "1",
                                      "--last", "1", "--digits", "1", "--json"},
                                     m_dir->path()));
        QCOMPARE(o.exit, 1);
        const QJsonObject folder = QJsonDocument::fromJson(o.out.value(0).toUtf8()).object();
        QCOMPARE(folder.value("outcome").toString(), QString("failed"));
        QCOMPARE(folder.value("reason_code").toString(), QString("trash_unusable"));
        QCOMPARE(folder.value("reason").toString(),
                 "ごみ箱 " + path("home/.local/share/Trash") +
                     " を使えません: 途中がフォルダではありません");
        QVERIFY(QFileInfo(path("w/c1")).isDir());
    }

    // A folder trashed through a link to a folder whose name is no text: the undo names the
    // place by its bytes, never as another folder's name.
    void undoOfANameThatIsNoText()
    {
        const QByteArray odd = QFile::encodeName(path("w/")) + "\xff";
        QVERIFY(QDir().mkpath(path("w")));
        QVERIFY(::mkdir(odd.constData(), 0700) == 0);
        QVERIFY(::mkdir(QByteArray(odd + "/c1").constData(), 0700) == 0);
        QVERIFY(::mkdir(QFile::encodeName(path("w/\uFFFD")).constData(), 0700) == 0); // the decoy
        QVERIFY(::symlink(odd.constData(), QFile::encodeName(path("w/link")).constData()) == 0);
        QCOMPARE(run(placed({"delete", "--target", "@/w/link", "--prefix", "c", "--first", "1",
                             "--last", "1", "--digits", "1", "-q"},
                            m_dir->path()))
                     .exit,
                 0);
        const Outcome nul = run({"undo", "--dry-run", "-0"});
        QCOMPARE(nul.rawOut, odd + "/c1" + '\0');
        const Outcome json = run({"undo", "--dry-run", "--json"});
        const QJsonObject planned =
            QJsonDocument::fromJson(json.rawOut.split('\n').front()).object();
        QCOMPARE(QByteArray::fromBase64(planned.value("path_bytes").toString().toLatin1()),
                 odd + "/c1");
        const Outcome plain = run({"undo", "--dry-run"});
        QCOMPARE(plain.out, QStringList{QString("$'") + path("w/") + "\\xff/c1'"});
        QCOMPARE(run({"undo", "-q"}).exit, 0);
        QCOMPARE(::access(QByteArray(odd + "/c1").constData(), F_OK), 0); // back in its place
        QVERIFY(QDir(path("w/\uFFFD")).isEmpty());
    }
#endif

    // Every number option at its upper bound is taken, and makes exactly that folder.
    void numberOptionsAtTheirBounds_data()
    {
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<QString>("made");
        QTest::newRow("first and last at 99999")
            << QStringList{"--first", "99999", "--last", "99999", "--digits", "5"} << "c99999";
        QTest::newRow("digits at 5, from 0")
            << QStringList{"--first", "0", "--last", "0", "--digits", "5"} << "c00000";
        QTest::newRow("no zero fill at the top")
            << QStringList{"--first", "99999", "--last", "99999", "--no-zero-fill"} << "c99999";
    }

    void numberOptionsAtTheirBounds()
    {
        QFETCH(QStringList, numbers);
        QFETCH(QString, made);
        const Outcome o = run(placed(
            QStringList{"create", "--target", "@/w", "--prefix", "c"} + numbers, m_dir->path()));
        QCOMPARE(o.exit, 0);
        QCOMPARE(QDir(path("w")).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{made});
    }

    // Names as JSON: control characters escaped, a name that is no Unicode text with its bytes,
    // never a replacement character.
    void jsonNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("json");
        QTest::addColumn<bool>("bytes");
        QTest::newRow("plain Japanese") << QString("/w/案件①") << QString("\"/w/案件①\"") << false;
        QTest::newRow("quote and backslash")
            << QString("/w/a\"b\\c") << QString("\"/w/a\\\"b\\\\c\"") << false;
        QTest::newRow("line feed, escape, bidi override")
            << QString("/w/a\nb\x1b[2J\u202Ex") << QString("\"/w/a\\nb\\u001b[2J\\u202ex\"")
            << false;
        QTest::newRow("a control character beside a quote")
            << QString("/w/a\"\u0001b") << QString("\"/w/a\\\"\\u0001b\"") << false;
        QTest::newRow("a pair stays a character")
            << QString::fromUcs4(U"/w/\U0001F600") << QString::fromUcs4(U"\"/w/\U0001F600\"")
            << false;
        QTest::newRow("a lone surrogate")
            << (QString("/w/x") + QChar(0xDC80)) << QString("\"/w/x\\udc80\"") << true;
    }

    void jsonNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, json);
        QFETCH(bool, bytes);
        QCOMPARE(jsonString(name), json);
        const QString object = jsonPathObject("entry", name, 3);
        QVERIFY(!object.contains(QChar(0xFFFD)));
        QCOMPARE(object.contains("\"path_bytes\""), bytes);
        const QJsonObject parsed = QJsonDocument::fromJson(object.toUtf8()).object();
        QCOMPARE(parsed.value("line").toInteger(), 3);
        if (bytes)
            // The byte the lone surrogate stands for, as the name was read from the disk.
            QCOMPARE(QByteArray::fromBase64(parsed.value("path_bytes").toString().toLatin1()),
                     QByteArray("/w/x\x80"));
        else
            QCOMPARE(parsed.value("path").toString(), name);
    }

    void badArguments()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, named);
        QFETCH(bool, hint);
        const Outcome o = run(args);
        QCOMPARE(o.exit, 2);
        QCOMPARE(o.err.size(), 1);
        QVERIFY2(o.err.front().startsWith("nmaker: ") && o.err.front().contains(named),
                 qPrintable(o.err.front()));
        QCOMPARE(o.err.front().contains("nmaker --help"), hint);
        QVERIFY(o.out.isEmpty());
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"home"});
    }

    void inputEdges_data()
    {
        QTest::addColumn<QByteArray>("list"); // list.txt; @ is the test folder
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QByteArray>("out"); // stdout exactly
        QTest::addColumn<QString>("err");    // a line stderr holds, or empty for none at all
        QTest::addColumn<QStringList>("present");

        const QStringList expand{"expand", "list.txt"};
        // ﾃ is C3 and ー is 81 5B: valid UTF-8 too, where they read as Á[.
        const QByteArray f1("@/F1/\xC3\x81\x5B"
                            "1-3]\r\n");
        QTest::newRow("code page 932 valid as utf-8: one plain path")
            << f1 << expand << 0 << QString("@/F1/ﾃー1-3]\n").toUtf8() << "" << QStringList{};
        QTest::newRow("the same, read as utf-8 on request")
            << f1 << expand + QStringList{"--encoding", "utf-8"} << 0
            << QString("@/F1/Á1\n@/F1/Á2\n@/F1/Á3\n").toUtf8() << "" << QStringList{};
        QTest::newRow("list-create as code page 932")
            << f1 << QStringList{"list-create", "list.txt"} << 0 << QByteArray()
            << "作成 1、既存 0、失敗 0" << QStringList{"F1/ﾃー1-3]"};
        QTest::newRow("nul-ended output, as it is")
            << QByteArray("@/a[1-2]\r\n@/x\ny\r\n") << expand + QStringList{"-0"} << 0
            << (QByteArray("@/a1") + '\0' + "@/a2" + '\0' + "@/x\ny" + '\0') << "" << QStringList{};
        // The system would read the path only up to the NUL: refused before anything is made.
        for (const char* command : {"list-create", "expand"}) {
            for (const bool extended : {false, true}) {
                QStringList args{command, "list.txt"};
                if (extended)
                    args << "--extended";
                if (QByteArray(command) == "list-create")
                    args << "--dry-run";
                QTest::addRow("a NUL inside a line: %s%s", command, extended ? ", extended" : "")
                    << (QByteArray("@/n1\r\n@/n2") + '\0' + "x\r\n") << args << 2 << QByteArray()
                    << (extended ? "nul: (NUL 文字を含んでいます)" : "nul:") << QStringList{};
            }
        }
        QTest::newRow("a NUL inside a line: nothing made")
            << (QByteArray("@/n1\r\n@/n2") + '\0' + "x\r\n")
            << QStringList{"list-create", "list.txt"} << 2 << QByteArray() << "nmaker: リストの"
            << QStringList{};
#ifdef Q_OS_UNIX
        // Windows refuses control characters in names.
        QTest::newRow("a line feed inside an entry is shown quoted")
            << QByteArray("@/m1\r@/m2\n@/m3\r")
            << QStringList{"list-create", "list.txt", "--dry-run"} << 0
            << QByteArray("@/m1\n$'@/m2\\n@/m3'\n") << "" << QStringList{};
#endif
#ifdef Q_OS_UNIX
        // Windows refuses control characters in names.
        QTest::newRow("escape sequences in a rejected line are not sent")
            << QByteArray("@/\x1B]0;pwned\x07[x-1]\r\n") << expand << 2 << QByteArray()
            << "$'@/\\E]0;pwned\\a[x-1]'" << QStringList{};
#endif
        const QByteArray huge = QByteArray(32700, 'x') + "[00000-99999]\r\n";
        QTest::newRow("a line standing for gigabytes, refused from its measure")
            << huge << expand << 2 << QByteArray()
            << "list.txt: リストを展開すると大きすぎます。 (展開した項目は合わせて 1 "
               "億文字までです)"
            << QStringList{};
    }

    void inputEdges()
    {
        QFETCH(QByteArray, list);
        QFETCH(QStringList, args);
        QFETCH(QByteArray, out);
        QFETCH(QString, err);
        QFETCH(QStringList, present);
        if (!list.isEmpty())
            QVERIFY(putBytes(path("list.txt"), placedBytes(list)));
        QElapsedTimer clock;
        clock.start();
        const Outcome o = run(placed(args, m_dir->path()));
        QVERIFY2(clock.elapsed() < 20000, "it must not wait");
        QCOMPARE(o.rawOut, placedBytes(out));
        // The line with the NUL, quoted as the terminal shows it (backslashes doubled on Windows).
        if (err.startsWith("nul:"))
            err = terminalName(placedText("@/n2", m_dir->path()) + QChar(0) + "x") + err.mid(4);
        if (err.isEmpty())
            QVERIFY2(o.err.isEmpty() || !o.err.front().startsWith("nmaker"),
                     qPrintable(o.err.join('|')));
        else
            QVERIFY2(o.err.contains(placed({err}, m_dir->path()).front()),
                     qPrintable(o.err.join('|')));
        QTEST(o.exit, "exit");
        for (const QString& p : present)
            QVERIFY2(QFileInfo::exists(path(p)), qPrintable(p));
    }

    void windowOrCommandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("commandLine");
        QTest::newRow("nothing") << QStringList{} << false;
        QTest::newRow("qt's own options")
            << QStringList{"-platform", "offscreen", "-reverse"} << false;
        QTest::newRow("qt option joined, double dash")
            << QStringList{"--style=fusion", "-qwindowtitle", "x"} << false;
        QTest::newRow("a command") << QStringList{"create"} << true;
        QTest::newRow("help") << QStringList{"--help"} << true;
        QTest::newRow("command forgotten") << QStringList{"--target", "o"} << true;
        QTest::newRow("a qt option and an unknown one")
            << QStringList{"-style", "fusion", "--helpx"} << true;
        QTest::newRow("a value-less qt switch with a value") << QStringList{"-reverse=1"} << true;
    }

    void windowOrCommandLine()
    {
        QFETCH(QStringList, args);
        QByteArrayList bytes;
        for (const QString& a : args)
            bytes << a.toUtf8();
        QTEST(wantsCommandLine(bytes), "commandLine");
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
