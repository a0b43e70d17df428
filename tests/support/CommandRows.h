#pragma once

// The command line's rows: test_cli runs them in process, test_command_line as the built
// program, so that what a script meets is what the commands do. "@" is the test folder and
// "%DAY%" the day the run reads for {date}.

#include "TestHelpers.h"
#include "fileops/FileSystem.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTest>

struct Outcome {
    int exit = -1;
    QStringList out;
    QStringList err;
    QByteArray rawOut;
};

inline QStringList outputLines(const QByteArray& bytes)
{
    QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The test folder's paths in the host's own form: "@/a/b" is <dir>\a\b on Windows.
inline QString placedText(QString text, const QString& dir)
{
#ifdef Q_OS_WIN
    if (text.contains(QLatin1Char('@')))
        text.replace(QLatin1Char('/'), QLatin1Char('\\'));
#endif
    return text.replace(QLatin1Char('@'), QDir::toNativeSeparators(dir));
}

inline QStringList placed(QStringList texts, const QString& dir)
{
    for (QString& t : texts)
        t = placedText(t, dir);
    return texts;
}

inline QStringList withDay(QStringList texts, const QString& day)
{
    for (QString& t : texts)
        t.replace(QLatin1String("%DAY%"), day);
    return texts;
}

// "x/" a folder, "x=text" a file with that text, "x" an empty file, below `dir`.
inline void makeItems(const QString& dir, const QStringList& items)
{
    for (const QString& item : items) {
        const qsizetype eq = item.indexOf(QLatin1Char('='));
        const QString name = dir + QLatin1Char('/') + (eq < 0 ? item : item.left(eq));
        if (name.endsWith(QLatin1Char('/'))) {
            QVERIFY(QDir().mkpath(name));
            continue;
        }
        QVERIFY(QDir().mkpath(QFileInfo(name).path()));
        const QString text = eq < 0 ? QString() : item.mid(eq + 1);
        QVERIFY(putBytes(name, placed({text}, dir).front().toUtf8()));
    }
}

// The names in the test home's trash, sorted.
inline QStringList trashedItems(const QString& dir)
{
    QStringList names = QDir(dir + QStringLiteral("/home/.local/share/Trash/files"))
                            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

inline void addCommandRows()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exit");
    QTest::addColumn<QStringList>("out");
    QTest::addColumn<QStringList>("err");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");
    QTest::addColumn<QStringList>("trashed");

    const QStringList series{"--target", "@/out", "--prefix", "case", "--first", "1"};
    const QString created3 = "作成 3、既存 0、失敗 0";
    const QString list = "list.txt=@/L/a[1-2]\nrel[08-09]\n\n";

    QTest::newRow("create") << QStringList{}
                            << QStringList{"create"} + series + QStringList{"--last", "3"} << 0
                            << QStringList{} << QStringList{created3}
                            << QStringList{"out/case001", "out/case002", "out/case003"}
                            << QStringList{"out/case004", "out/case000"} << QStringList{};
    QTest::newRow("create: relative target with parents, two digits")
        << QStringList{}
        << QStringList{"create", "--target", "a/b", "--first", "9", "--last", "10", "--digits", "2"}
        << 0 << QStringList{} << QStringList{"作成 2、既存 0、失敗 0"}
        << QStringList{"a/b/09", "a/b/10"} << QStringList{} << QStringList{};
    QTest::newRow("create: first above last, no zero-fill, suffix")
        << QStringList{}
        << QStringList{"create", "--target", "@/out", "--first",        "12",       "--last",
                       "9",      "--digits", "1",     "--no-zero-fill", "--suffix", "_x"}
        << 0 << QStringList{} << QStringList{"作成 4、既存 0、失敗 0"}
        << QStringList{"out/9_x", "out/12_x"} << QStringList{"out/09_x"} << QStringList{};
    QTest::newRow("create again: existing ones are skipped")
        << QStringList{"out/case001/", "out/case003/"}
        << QStringList{"create"} + series + QStringList{"--last", "3"} << 0 << QStringList{}
        << QStringList{"作成 1、既存 2、失敗 0"} << QStringList{"out/case002"} << QStringList{}
        << QStringList{};
    QTest::newRow("create dry run: what is missing, nothing made")
        << QStringList{"out/case002/"}
        << QStringList{"create"} + series + QStringList{"--last", "3", "--dry-run"} << 0
        << QStringList{"@/out/case001", "@/out/case003"} << QStringList{} << QStringList{}
        << QStringList{"out/case001", "out/case003"} << QStringList{};
    QTest::newRow("create below a plain file")
        << QStringList{"plain"}
        << QStringList{"create", "--target", "@/plain/sub", "--first", "1", "--last", "2"} << 1
        << QStringList{}
        << QStringList{"@/plain/sub/: フォルダ作成先のフォルダの作成に失敗しました",
                       "作成 0、既存 0、失敗 0"}
        << QStringList{} << QStringList{} << QStringList{};
    QTest::newRow("create where a file stands: that one fails, the run goes on")
        << QStringList{"out/case2"}
        << QStringList{"create",  "--target", "@/out",  "--prefix", "case",
                       "--first", "1",        "--last", "3",        "--no-zero-fill"}
        << 1 << QStringList{}
        << QStringList{"@/out/case2: フォルダの作成で異常が起きました。 "
                       "フォルダが作成できませんでした。 (同じ名前のファイルがあります)",
                       "作成 2、既存 0、失敗 1"}
        << QStringList{"out/case1", "out/case3"} << QStringList{} << QStringList{};
    QTest::newRow("delete into the trash")
        << QStringList{"out/case001/", "out/case002/", "out/case003/"}
        << QStringList{"delete"} + series + QStringList{"--last", "3"} << 0 << QStringList{}
        << QStringList{"削除 3、保持 0、なし 0、失敗 0"} << QStringList{"out"}
        << QStringList{"out/case001", "out/case002", "out/case003"}
        << QStringList{"case001", "case002", "case003"};
    QTest::newRow("delete keeps a folder with a file, not one with a hidden file or a folder")
        << QStringList{"out/case001/.hidden", "out/case002/f", "out/case003/sub/"}
        << QStringList{"delete"} + series + QStringList{"--last", "4"} << 0 << QStringList{}
        << QStringList{"削除 2、保持 1、なし 1、失敗 0"} << QStringList{"out/case002/f"}
        << QStringList{"out/case001", "out/case003"} << QStringList{"case001", "case003"};
    QTest::newRow("delete with contents")
        << QStringList{"out/case002/f"}
        << QStringList{"delete"} + series + QStringList{"--last", "2", "--with-contents"} << 0
        << QStringList{} << QStringList{"削除 1、保持 0、なし 1、失敗 0"} << QStringList{}
        << QStringList{"out/case002"} << QStringList{"case002"};
    QTest::newRow("delete dry run: what exists and would go")
        << QStringList{"out/case001/", "out/case002/f"}
        << QStringList{"delete"} + series + QStringList{"--last", "3", "--dry-run"} << 0
        << QStringList{"@/out/case001"} << QStringList{}
        << QStringList{"out/case001", "out/case002/f"} << QStringList{} << QStringList{};
    QTest::newRow("delete dry run with contents")
        << QStringList{"out/case001/", "out/case002/f"}
        << QStringList{"delete"} + series +
               QStringList{"--last", "3", "--dry-run", "--with-contents"}
        << 0 << QStringList{"@/out/case001", "@/out/case002"} << QStringList{}
        << QStringList{"out/case001", "out/case002/f"} << QStringList{} << QStringList{};
    QTest::newRow("delete with a missing target")
        << QStringList{}
        << QStringList{"delete", "--target", "@/none", "--first", "1", "--last", "2"} << 2
        << QStringList{}
        << QStringList{"@/none/: 指定されたフォルダ作成先フォルダが存在しません "
                       "フォルダを指定し直して下さい"}
        << QStringList{} << QStringList{"none"} << QStringList{};
#ifdef Q_OS_UNIX
    // A base without a drive is a POSIX form.
    QTest::newRow("list-create with a base")
        << QStringList{list} << QStringList{"list-create", "list.txt", "--base", "B"} << 0
        << QStringList{} << QStringList{"作成 4、既存 0、失敗 0"}
        << QStringList{"L/a1", "L/a2", "B/rel08", "B/rel09"} << QStringList{} << QStringList{};
#endif
    QTest::newRow("list-create without a base names the rootless entries")
        << QStringList{list} << QStringList{"list-create", "list.txt"} << 2 << QStringList{}
        << QStringList{"nmaker: ドライブ (ルート) のない項目があります。--base "
                       "で置き場所のフォルダを指定して下さい:",
                       "rel08", "rel09"}
        << QStringList{} << QStringList{"L"} << QStringList{};
    QTest::newRow("list with rejected lines: nothing done")
        << QStringList{"list.txt=@/L/ok\n@/L/a[x-3]\n@/L/b[1-123456]\n"}
        << QStringList{"list-create", "list.txt"} << 2 << QStringList{}
        << QStringList{"nmaker: 展開できなかったものは、", "@/L/a[x-3]",
                       "でした。また、最大桁数(5桁)よりも大きいものは、", "@/L/b[1-123456]",
                       "でした。修正してやり直して下さい。"}
        << QStringList{} << QStringList{"L"} << QStringList{};
    QTest::newRow("list naming a folder twice")
        << QStringList{"list.txt=@/L/a1\n@/L/a[1-2]\n"} << QStringList{"list-create", "list.txt"}
        << 2 << QStringList{}
        << QStringList{"nmaker: リストの中に同一のフォルダが存在します。 "
                       "リストを修正してやり直して下さい。"}
        << QStringList{} << QStringList{"L"} << QStringList{};
    QTest::newRow("list with refused characters: nothing done")
        << QStringList{"L/ok/", "list.txt=@/L/ok\n@/L/a|b\n"}
        << QStringList{"list-delete", "list.txt"} << 2 << QStringList{}
        << QStringList{"nmaker: フォルダリストにパスとしては、不適当な文字が含まれています。",
                       "リストの[@/L/a|b", "]は、削除できませんでした。"}
        << QStringList{"L/ok"} << QStringList{} << QStringList{};
    QTest::newRow("list-create dry run")
        << QStringList{"L/a1/", "list.txt=@/L/a[1-3]\n"}
        << QStringList{"list-create", "list.txt", "--dry-run"} << 0
        << QStringList{"@/L/a2", "@/L/a3"} << QStringList{} << QStringList{}
        << QStringList{"L/a2", "L/a3"} << QStringList{};
    QTest::newRow("list-create stops at a folder below a plain file")
        << QStringList{"plain", "list.txt=@/plain/x\n@/L/ok\n"}
        << QStringList{"list-create", "list.txt"} << 1 << QStringList{}
        << QStringList{"@/plain/x: フォルダの作成に失敗しました",
                       "@/L/ok: 前のフォルダで実行が止まったため、作りませんでした",
                       "作成 0、既存 0、失敗 2"}
        << QStringList{} << QStringList{"L/ok"} << QStringList{};
    QTest::newRow("list-delete") << QStringList{"L/a1/", "L/a2/f", "list.txt=@/L/a[1-3]\n"}
                                 << QStringList{"list-delete", "list.txt"} << 0 << QStringList{}
                                 << QStringList{"削除 1、保持 1、なし 1、失敗 0"}
                                 << QStringList{"L/a2/f"} << QStringList{"L/a1"}
                                 << QStringList{"a1"};
#ifdef Q_OS_UNIX
    // The freedesktop trash's own folders.
    QTest::newRow("list-delete of the trash's own folder: refused and named")
        << QStringList{"home/.local/share/Trash/info/", "home/.local/share/Trash/files/", "L/a1/",
                       "list.txt=@/home/.local/share/Trash/info\n@/L/a1\n"}
        << QStringList{"list-delete", "list.txt", "--with-contents"} << 1 << QStringList{}
        << QStringList{"@/home/.local/share/Trash/info: 削除できませんでした "
                       "(ごみ箱のフォルダは移動できません)",
                       "削除 1、保持 0、なし 0、失敗 1"}
        << QStringList{"home/.local/share/Trash/info"} << QStringList{"L/a1"} << QStringList{"a1"};
#endif
    QTest::newRow("list that cannot be opened")
        << QStringList{} << QStringList{"list-create", "missing.txt"} << 2 << QStringList{}
        << QStringList{"nmaker: リストファイルを開けませんでした: missing.txt"} << QStringList{}
        << QStringList{} << QStringList{};
    QTest::newRow("expand: file order, widths as written")
        << QStringList{"list.txt=@/L/c[9-10]\r\n@/L/c[09-10]_x\r\nplain\r\n"}
        << QStringList{"expand", "list.txt"} << 0
        << QStringList{"@/L/c9", "@/L/c10", "@/L/c09_x", "@/L/c10_x", "plain"} << QStringList{}
        << QStringList{} << QStringList{"L"} << QStringList{};
    QTest::newRow("expand with a rejected line prints nothing")
        << QStringList{"list.txt=@/L/c[1-3]\n@/L/d[1-x]\n"} << QStringList{"expand", "list.txt"}
        << 2 << QStringList{}
        << QStringList{"nmaker: リストの", "@/L/d[1-x]", "が展開できませんでした。"}
        << QStringList{} << QStringList{} << QStringList{};
    // The extended syntax, only when asked for; {date} reads the injected day.
    const QString tree = "list.txt=@/L/c[1-2]/{a,b}\n@/L/{date}\n";
    QTest::newRow("expand --extended: a product and a date")
        << QStringList{tree} << QStringList{"expand", "list.txt", "--extended"} << 0
        << QStringList{"@/L/c1/a", "@/L/c1/b", "@/L/c2/a", "@/L/c2/b", "@/L/%DAY%"} << QStringList{}
        << QStringList{} << QStringList{"L"} << QStringList{};
    QTest::newRow("expand without --extended: the format's")
        << QStringList{tree} << QStringList{"expand", "list.txt"} << 0
        << QStringList{"@/L/c1/{a,b}", "@/L/c2/{a,b}", "@/L/{date}"} << QStringList{}
        << QStringList{} << QStringList{} << QStringList{};
    QTest::newRow("list-create --extended: the tree")
        << QStringList{tree} << QStringList{"list-create", "list.txt", "--extended"} << 0
        << QStringList{} << QStringList{"作成 5、既存 0、失敗 0"}
        << QStringList{"L/c1/a", "L/c1/b", "L/c2/a", "L/c2/b", "L/%DAY%"} << QStringList{"L/c[1-2]"}
        << QStringList{};
    QTest::newRow("expand --extended: a rejected line with its reason")
        << QStringList{"list.txt=@/L/c[1-3]\n@/L/d[a-Z]\n"}
        << QStringList{"expand", "list.txt", "--extended"} << 2 << QStringList{}
        << QStringList{"nmaker: リストの", "@/L/d[a-Z] (範囲に大文字と小文字が混ざっています)",
                       "が展開できませんでした。"}
        << QStringList{} << QStringList{} << QStringList{};
    QTest::newRow("expand --extended: past a million, refused")
        << QStringList{"list.txt=@/L/[0-99999]/[0-99]\n"}
        << QStringList{"expand", "list.txt", "--extended"} << 2 << QStringList{}
        << QStringList{"list.txt: リストの項目が多すぎます。 (上限は 1,000,000 項目です)"}
        << QStringList{} << QStringList{} << QStringList{};
    // Templates: copied into what a run makes, refused before anything is made.
    const QStringList tpl{"tpl/in/deep/", "tpl/memo.txt=memo"};
    QTest::newRow("create --template")
        << tpl << QStringList{"create"} + series + QStringList{"--last", "2", "--template", "tpl"}
        << 0 << QStringList{} << QStringList{"作成 2、既存 0、失敗 0"}
        << QStringList{"out/case001/in/deep", "out/case002/memo.txt"} << QStringList{}
        << QStringList{};
    QTest::newRow("list-create --template --folders-only")
        << tpl + QStringList{"list.txt=@/L/a[1-2]\n"}
        << QStringList{"list-create", "list.txt", "--template", "tpl", "--folders-only"} << 0
        << QStringList{} << QStringList{"作成 2、既存 0、失敗 0"}
        << QStringList{"L/a1/in/deep", "L/a2/in"} << QStringList{"L/a1/memo.txt"} << QStringList{};
#ifdef Q_OS_UNIX
    // JSON doubles the backslashes of a Windows path.
    QTest::newRow("create --template --json: what each copy brought")
        << tpl << QStringList{"create"} + series + QStringList{"--last", "1",      "--template",
                                                               "@/tpl",  "--json", "-q"}
        << 0
        << QStringList{"{\"type\": \"folder\", \"path\": \"@/out/case001\", \"outcome\": "
                       "\"created\", \"reason\": null, \"copied_folders\": 2, "
                       "\"copied_files\": 1, \"not_copied\": [], \"line\": null}",
                       "{\"type\": \"summary\", \"command\": \"create\", \"created\": 1, "
                       "\"existing\": 0, \"failed\": 0, \"exit\": 0}"}
        << QStringList{} << QStringList{"out/case001/memo.txt"} << QStringList{} << QStringList{};
#endif
    QTest::newRow("create --template inside the template: nothing made")
        << tpl << QStringList{"create", "--target", "@/tpl/in",   "--first", "1",
                              "--last", "2",        "--template", "@/tpl"}
        << 2 << QStringList{}
        << QStringList{"nmaker: テンプレート @/tpl の中にはフォルダを作れません: @/tpl/in/"}
        << QStringList{} << QStringList{"tpl/in/001"} << QStringList{};
    QTest::newRow("create --template that is not there")
        << QStringList{}
        << QStringList{"create"} + series + QStringList{"--last", "2", "--template", "@/none"} << 2
        << QStringList{}
        << QStringList{"nmaker: テンプレートのフォルダ @/none を読み取れません: "
                       "フォルダがありません"}
        << QStringList{} << QStringList{"out"} << QStringList{};
    QTest::newRow("--folders-only without --template")
        << QStringList{}
        << QStringList{"create"} + series + QStringList{"--last", "2", "--folders-only"} << 2
        << QStringList{}
        << QStringList{"nmaker: --folders-only は --template と一緒に使います (使い方: nmaker "
                       "--help)"}
        << QStringList{} << QStringList{"out"} << QStringList{};
    // Tables: a row is an entry, its cells the levels.
    QTest::newRow("list-create from CSV: headings skipped, empty cells filled from above")
        << QStringList{"t.csv=年度,部署,案件\n2024,営業部,\"A,1\"\n,総務部\n"}
        << QStringList{"list-create", "t.csv", "--skip-header", "--base", "@/B"} << 0
        << QStringList{} << QStringList{"作成 2、既存 0、失敗 0"}
        << QStringList{"B/2024/営業部/A,1", "B/2024/総務部"} << QStringList{"B/年度"}
        << QStringList{};
    QTest::newRow("expand a TSV without filling: the empty cell is named")
        << QStringList{"t.tsv=a\tb\n\tc\n"} << QStringList{"expand", "t.tsv", "--no-fill-down"} << 2
        << QStringList{}
        << QStringList{"t.tsv: 2 行 1 列目: 空のセルの後ろに値があります (上のセルから補えません)"}
        << QStringList{} << QStringList{} << QStringList{};
    QTest::newRow("a cell holding a separator refuses the whole table")
        << QStringList{"t.csv=ok\nx,a/b\n"} << QStringList{"list-create", "t.csv", "--base", "@/B"}
        << 2 << QStringList{}
        << QStringList{"t.csv: 2 行 2 列目: セルに使えない文字があります (1 つのセルが 1 "
                       "つの階層です。次の文字は使えません: \\/|:<>\"*)"}
        << QStringList{} << QStringList{"B"} << QStringList{};
    QTest::newRow("--skip-header on a list file")
        << QStringList{list} << QStringList{"expand", "list.txt", "--skip-header"} << 2
        << QStringList{}
        << QStringList{"nmaker: --no-fill-down と --skip-header は表 (CSV、TSV、.xlsx) "
                       "にだけ使えます (使い方: nmaker --help)"}
        << QStringList{} << QStringList{} << QStringList{};
    QTest::newRow("version") << QStringList{} << QStringList{"--version"} << 0
                             << QStringList{"NMaker 3.0.0"} << QStringList{} << QStringList{}
                             << QStringList{} << QStringList{};
}

// One row of addCommandRows() through `run`, which runs the arguments in the test folder `dir`
// reading {date} as `day`.
template <class Run> void checkCommandRow(const QString& dir, const QString& day, Run run)
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, args);
    makeItems(dir, before);
    const Outcome o = run(withDay(placed(args, dir), day));
    QFETCH(QStringList, err);
    QFETCH(QStringList, out);
    QCOMPARE(o.err, withDay(placed(err, dir), day));
    QTEST(o.exit, "exit");
    QCOMPARE(o.out, withDay(placed(out, dir), day));
    QFETCH(QStringList, present);
    for (const QString& p : withDay(present, day))
        QVERIFY2(QFileInfo::exists(dir + QLatin1Char('/') + p), qPrintable(p));
    QFETCH(QStringList, absent);
    for (const QString& p : absent)
        QVERIFY2(!QFileInfo::exists(dir + QLatin1Char('/') + p), qPrintable(p));
#ifdef Q_OS_UNIX
    // The recycle bin of Windows has tests of its own.
    QTEST(trashedItems(dir), "trashed");
#endif
}
