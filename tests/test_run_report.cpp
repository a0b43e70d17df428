// The report of a run: one row per folder with its outcome, reason and list line; the counts and
// the summary line; the CSV it is exported as.
#include "CountingRun.h"
#include "MemoryFileSystem.h"
#include "ScriptedPrompter.h"
#include "fileops/FolderBrowser.h"
#include "folderlist/ListRun.h"
#include "run/FolderSteps.h"
#include "run/RunReport.h"
#include "series/SeriesEngine.h"
#include "settings/Options.h"

#include <QTest>

class TestRunReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Rows in the order the outcomes came, each with its line: a list's row when it came from
    // the list window, the file's line when given, none for a series.
    void rowsOfRuns_data()
    {
        QTest::addColumn<QString>("run"); // "series", "list", "list with lines", "delete"
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("summary");
        QTest::newRow("a series: created, existing, failed")
            << "series"
            << QStringList{"作成 C:\\t\\c1 -1", "既存 C:\\t\\c2 -1", "失敗 C:\\t\\c3 -1"}
            << "作成 1、既存 1、失敗 1";
        QTest::newRow("a list run: its rows, a relative entry placed in the base")
            << "list" << QStringList{"既存 C:\\t\\c2 1", "作成 C:\\t\\rel 2", "作成 C:\\t\\new 3"}
            << "作成 2、既存 1、失敗 0";
        QTest::newRow("a list run with the lines of its file")
            << "list with lines"
            << QStringList{"既存 C:\\t\\c2 4", "作成 C:\\t\\rel 4", "作成 C:\\t\\new 9"}
            << "作成 2、既存 1、失敗 0";
        QTest::newRow("a delete: kept with one-line reason, missing, trashed")
            << "delete"
            << QStringList{"保持 C:\\t\\c2 2 中身があるため", "なし C:\\t\\gone 3",
                           "削除 C:\\t\\c1 1"}
            << "削除 1、保持 1、なし 1、失敗 0";
    }

    void rowsOfRuns()
    {
        QFETCH(QString, run);
        MemoryFileSystem fs;
        fs.addFolder("C:\\t");
        if (run != "series")
            fs.addFolder("C:\\t\\c1");
        fs.addFolder("C:\\t\\c2");
        fs.addFile("C:\\t\\c2\\f.txt");
        fs.addFile("C:\\t\\c3"); // a file where a folder should be
        Options options;
        ScriptedPrompter prompter;
        FolderSteps steps(fs, prompter, options, PathStyle::Windows);
        RunReport report;
        steps.addListener(&report);
        FolderBrowser browser(fs);
        CountingRun context;
        QVERIFY(!report.hasRun());
        if (run == "series") {
            SeriesEngine(steps).createSeries({"C:\\t\\", "c", "", 1, 3, 1, false}, context);
        } else if (run == "delete") {
            ListRun(steps, browser, {"C:\\t", "C:\\prog", "NMaker"})
                .run({"C:\\t\\c1", "C:\\t\\c2", "C:\\t\\gone"}, false, context);
        } else {
            prompter.answers = {Answer::No}; // the base folder: the target field's
            const QList<qint64> lines = run == "list" ? QList<qint64>{} : QList<qint64>{4, 4, 9};
            ListRun(steps, browser, {"C:\\t", "C:\\prog", "NMaker"})
                .run({"C:\\t\\c2", "rel", "C:\\t\\new"}, true, context, lines);
        }
        QStringList rows;
        for (const ReportRow& r : report.rows()) {
            rows << outcomeText(r.outcome) + " " + r.path + " " + QString::number(r.line) +
                        (r.reason.isEmpty() || r.outcome == FolderOutcome::Failed ? QString()
                                                                                  : " " + r.reason);
            QVERIFY(!r.reason.contains('\n'));
            QCOMPARE(r.reason.isEmpty(),
                     r.outcome != FolderOutcome::Failed && r.outcome != FolderOutcome::Kept);
        }
        QTEST(rows, "rows");
        QTEST(report.summary(), "summary");
        QVERIFY(report.hasRun());
    }

    // A new run starts a new report; a target that could not be made is a row, counted nowhere.
    void newRunAndTarget()
    {
        MemoryFileSystem fs;
        fs.addFile("C:\\file");
        Options options;
        ScriptedPrompter prompter;
        FolderSteps steps(fs, prompter, options, PathStyle::Windows);
        RunReport report;
        steps.addListener(&report);
        CountingRun context;
        SeriesEngine engine(steps);
        fs.addFolder("C:\\t");
        engine.createSeries({"C:\\t\\", "a", "", 1, 2, 1, false}, context);
        QCOMPARE(report.rows().size(), 2);
        prompter.answers = {Answer::Yes}; // make the missing target
        engine.createSeries({"C:\\file\\sub\\", "a", "", 1, 2, 1, false}, context);
        QCOMPARE(report.kind(), RunKind::Create);
        QVERIFY(!report.rows().isEmpty());
        QCOMPARE(report.rows().front().path, "C:\\file\\sub\\");
        QCOMPARE(report.rows().front().outcome, FolderOutcome::Failed);
        QCOMPARE(report.count(FolderOutcome::Failed), report.rows().size() - 1);
        steps.undoLastCreation();
        QCOMPARE(report.kind(), RunKind::Undo);
    }

    void csv_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<qint64>("line");
        QTest::addColumn<QByteArray>("row");
        QTest::newRow("plain") << "/w/案件1"
                               << "" << qint64(3) << QByteArray("/w/案件1,,3");
        QTest::newRow("comma") << "/w/a,b"
                               << "" << qint64(-1) << QByteArray("\"/w/a,b\",,");
        QTest::newRow("quote") << "/w/a\"b"
                               << "x" << qint64(1) << QByteArray("\"/w/a\"\"b\",x,1");
        QTest::newRow("line feed") << "/w/a\nb"
                                   << "" << qint64(2) << QByteArray("\"/w/a\nb\",,2");
    }

    void csv()
    {
        QFETCH(QString, path);
        QFETCH(QString, reason);
        QFETCH(qint64, line);
        const QByteArray csv = reportCsv({ReportRow{FolderOutcome::Created, path, reason, line}});
        QFETCH(QByteArray, row);
        QCOMPARE(csv, "\xEF\xBB\xBF" + QString("結果,フォルダ,理由,行\r\n作成,").toUtf8() +
                          QString::fromUtf8(row).toUtf8() + "\r\n");
    }
};

QTEST_GUILESS_MAIN(TestRunReport)
#include "test_run_report.moc"
