// The command line as a script meets it: the built programs, run in a temporary folder whose
// home holds the trash, without a display: exit codes, what reaches the window, arguments that
// are bytes, limits; and every row test_cli runs in process.
#include "CommandRows.h"
#include "TestHelpers.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestCommandLine : public QObject
{
    Q_OBJECT

private:
    QString path(const QString& relative) const { return m_dir->filePath(relative); }

    // The program run by bash, so that arguments can be bytes that are no text and limits can
    // be set: `script` sees the program as "$P".
    Outcome runShell(const QString& script) const
    {
        return run({"-c", "P=" NMAKER_PROGRAM "; " + script}, "/bin/bash");
    }

    Outcome run(const QStringList& args, const QString& program = NMAKER_PROGRAM) const
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("HOME"), path("home"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), path("home/.local/share"));
        env.insert(QStringLiteral("XDG_STATE_HOME"), path("home/.local/state"));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(m_dir->path());
        p.start(program, args);
        Outcome o;
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) {
            p.kill();
            p.waitForFinished();
            return o;
        }
        o.exit = p.exitCode();
        o.rawOut = p.readAllStandardOutput();
        o.out = outputLines(o.rawOut);
        o.err = outputLines(p.readAllStandardError());
        return o;
    }

    void make(const QStringList& items) const { makeItems(m_dir->path(), items); }

    std::unique_ptr<QTemporaryDir> m_dir;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QVERIFY(QDir().mkpath(path("home")));
    }

    // The rows test_cli runs in process, here as a script runs the program.
    void runs_data() { addCommandRows(); }

    void runs()
    {
        checkCommandRow(m_dir->path(), QDate::currentDate().toString(QStringLiteral("yyyyMMdd")),
                        [this](const QStringList& args) { return run(args); });
    }

    void badArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("named");
        QTest::addColumn<bool>("hint");

        QTest::newRow("unknown command") << QStringList{"frob"} << "frob" << true;
        QTest::newRow("command forgotten")
            << QStringList{"--target", "o", "--first", "1", "--last", "3"} << "--target" << true;
        QTest::newRow("help misspelt") << QStringList{"--helpx"} << "--helpx" << true;
        QTest::newRow("a short option") << QStringList{"-x"} << "-x" << true;
        QTest::newRow("qt option and another")
            << QStringList{"-style", "fusion", "-x"} << "-style" << true;
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

        QTest::newRow("a line standing for gigabytes, under a 1 GB limit")
            << (QByteArray(32700, 'x') + "[00000-99999]\r\n")
            << QStringList{"ulimit -v 1000000; exec \"$P\" expand list.txt"} << 2 << QByteArray()
            << "list.txt: リストを展開すると大きすぎます。 (展開した項目は合わせて 1 "
               "億文字までです)"
            << QStringList{};
        QTest::newRow("a fifo is no list file")
            << QByteArray() << QStringList{"mkfifo fifo && exec \"$P\" expand fifo"} << 2
            << QByteArray() << "nmaker: リストファイルを開けませんでした: fifo" << QStringList{};
        QTest::newRow("a target that is no utf-8")
            << QByteArray()
            << QStringList{"exec \"$P\" create --target $'@/\\xff' --first 1 --last 2"} << 2
            << QByteArray()
            << "nmaker: 引数を文字として読めません (UTF-8 ではありません): $'@/\\xFF'"
            << QStringList{};
        QTest::newRow("the command line alone does the same")
            << QByteArray("@/a[1-2]\r\n") << QStringList{"exec \"$P-cli\" expand list.txt"} << 0
            << QByteArray("@/a1\n@/a2\n") << "" << QStringList{};
    }

    void inputEdges()
    {
        QFETCH(QByteArray, list);
        QFETCH(QStringList, args);
        QFETCH(QByteArray, out);
        QFETCH(QString, err);
        QFETCH(QStringList, present);
        const QByteArray dir = QFile::encodeName(m_dir->path());
        if (!list.isEmpty())
            QVERIFY(putBytes(path("list.txt"), list.replace('@', dir)));
        QElapsedTimer clock;
        clock.start();
        const bool shell = args.size() == 1 && args.front().contains('"');
        const Outcome o = shell ? runShell(args.front().replace('@', m_dir->path()))
                                : run(placed(args, m_dir->path()));
        QVERIFY2(clock.elapsed() < 20000, "it must not wait");
        QCOMPARE(o.rawOut, out.replace('@', dir));
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

    void expandsTheLargestRange()
    {
        make({"list.txt=/x/case[00000-99999]\n"});
        const Outcome o = run({"expand", "list.txt"});
        QCOMPARE(o.exit, 0);
        QCOMPARE(o.out.size(), 100000);
        QCOMPARE(o.out.front(), "/x/case00000");
        QCOMPARE(o.out.at(54321), "/x/case54321");
        QCOMPARE(o.out.back(), "/x/case99999");
    }

    // A reader that closes the pipe early (head -n 1): the run stops at its next folder, keeps
    // its record, exits as the signal says and writes nothing more to the pipe.
    void closedPipeStopsTheRunCleanly()
    {
        make({"w/"});
        const Outcome o = runShell("printf '%s/w/c[0001-5000]\\n' \"$PWD\" > big.lst; "
                                   "\"$P\" list-create big.lst --json | head -n 1 > first.txt; "
                                   "echo \"status ${PIPESTATUS[0]}\"; ls w | wc -l > made.txt; "
                                   "\"$P\" undo -q; echo \"undo $?\"; ls w | wc -l");
        QCOMPARE(o.out.value(0), QStringLiteral("status 141"));
        const int made = fileBytes(path("made.txt")).trimmed().toInt();
        QVERIFY2(made > 0 && made < 5000, qPrintable(QString::number(made)));
        QVERIFY(fileBytes(path("first.txt")).startsWith("{\"type\": \"folder\""));
        // Every folder it made was on record: the undo takes them all back.
        QCOMPARE(o.out.mid(1), (QStringList{"undo 0", "0"}));
    }

    void helpWithoutDisplay()
    {
        for (const QStringList& args : {QStringList{"--help"}, QStringList{"-h"},
                                        QStringList{"create", "--first", "x", "--help"}}) {
            const Outcome o = run(args);
            QCOMPARE(o.exit, 0);
            QVERIFY(!o.out.isEmpty() && o.out.front().startsWith("使い方"));
            QVERIFY(o.err.isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_command_line.moc"
