#include "CountingRun.h"
#include "MemoryFileSystem.h"
#include "ScriptedPrompter.h"
#include "run/CreationRecord.h"
#include "run/FolderSteps.h"
#include "series/SeriesEngine.h"
#include "settings/Options.h"

#include <QTest>

// What a create run puts on record, and what taking it back may and may not touch.
class TestCreationRecord : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void recordsWhatTheRunMade();
    void cancelledRunRecordsOnlyItsPart();
    void undo_data();
    void undo();
    void failedTrashKeepsTheRecord();
    void deleteRunsKeepTheRecord();

private:
    void createSeries(int first, int last, const QString& target = QStringLiteral("C:\\w\\new\\"));

    MemoryFileSystem* m_fs = nullptr;
    Options m_options;
    ScriptedPrompter m_prompter;
    FolderSteps* m_steps = nullptr;
};

void TestCreationRecord::init()
{
    m_fs = new MemoryFileSystem;
    m_fs->addFolder("C:\\w");
    m_prompter.clear();
    m_steps = new FolderSteps(*m_fs, m_prompter, m_options, PathStyle::Windows);
}

void TestCreationRecord::cleanup()
{
    delete m_steps;
    delete m_fs;
}

void TestCreationRecord::createSeries(int first, int last, const QString& target)
{
    CountingRun run;
    SeriesEngine(*m_steps).createSeries({target, "c", "", first, last, 1, false}, run);
    m_prompter.clear(); // the "create the target folder?" question answered Yes
}

void TestCreationRecord::recordsWhatTheRunMade()
{
    // A missing target folder and its missing parents are the run's too.
    createSeries(1, 1, "C:\\w\\a\\b\\");
    QCOMPARE(m_steps->lastCreation().paths(),
             (QStringList{"C:\\w\\a", "C:\\w\\a\\b", "C:\\w\\a\\b\\c1"}));
    m_fs->addFolder("C:\\w\\new\\c2"); // there before: never on record
    createSeries(1, 3);
    QCOMPARE(m_steps->lastCreation().paths(), (QStringList{"C:\\w\\new\\c1", "C:\\w\\new\\c3"}));
    // The next create run starts a record of its own.
    createSeries(7, 7, "C:\\w\\");
    QCOMPARE(m_steps->lastCreation().paths(), QStringList{"C:\\w\\c7"});
}

void TestCreationRecord::cancelledRunRecordsOnlyItsPart()
{
    CountingRun run;
    run.cancelAtYield = 3;
    SeriesEngine(*m_steps).createSeries({"C:\\w\\", "c", "", 1, 9, 1, false}, run);
    QCOMPARE(m_steps->lastCreation().paths(), (QStringList{"C:\\w\\c1", "C:\\w\\c2"}));
}

void TestCreationRecord::undo_data()
{
    // What the user (or another process) did: before the undo looks ("file:", "hidden:",
    // "dir:", "gone:", "again:" made anew in its place, "unreadable:"), or "late-file:" as the
    // item is about to move.
    QTest::addColumn<QStringList>("afterwards");
    QTest::addColumn<QStringList>("trashed"); // in the order they went
    QTest::addColumn<QStringList>("kept");
    QTest::addColumn<QStringList>("replaced"); // another folder stands there now

    const QString c1 = "C:\\w\\new\\c1", c2 = "C:\\w\\new\\c2", top = "C:\\w\\new";
    const QStringList none;
    QTest::newRow("untouched: deepest first") << none << QStringList{c1, c2, top} << none << none;
    QTest::newRow("a file received: it and its parent stay")
        << QStringList{"file:" + c2 + "\\a.txt"} << QStringList{c1} << QStringList{c2, top} << none;
    QTest::newRow("a hidden file counts too") << QStringList{"hidden:" + c1 + "\\.keep"}
                                              << QStringList{c2} << QStringList{c1, top} << none;
    QTest::newRow("a folder of the user's inside")
        << QStringList{"dir:C:\\w\\new\\mine"} << QStringList{c1, c2} << QStringList{top} << none;
    QTest::newRow("renamed away: nothing to take back")
        << QStringList{"gone:" + c1, "dir:C:\\w\\new\\renamed"} << QStringList{c2}
        << QStringList{top} << none;
    QTest::newRow("removed and made again in its place")
        << QStringList{"gone:" + c2, "dir:" + c2} << QStringList{c1} << QStringList{top}
        << QStringList{c2};
    QTest::newRow("another folder moved into its place")
        << QStringList{"again:" + c1} << QStringList{c2} << QStringList{top} << QStringList{c1};
    QTest::newRow("its parent replaced")
        << QStringList{"again:" + top} << QStringList{c1, c2} << none << QStringList{top};
    QTest::newRow("cannot be read") << QStringList{"unreadable:c:\\w\\new\\c1"} << QStringList{c2}
                                    << QStringList{c1, top} << none;
    // Filled while the confirmation was open: looked at again as it moves.
    QTest::newRow("a file arrives as it is about to move")
        << QStringList{"late-file:" + c2 + "\\precious.txt"} << QStringList{c1}
        << QStringList{c2, top} << none;
    QTest::newRow("a folder arrives in the parent as it is about to move")
        << QStringList{"late-file:" + top + "\\x\\precious.txt"} << QStringList{c1, c2}
        << QStringList{top} << none;
}

void TestCreationRecord::undo()
{
    QFETCH(QStringList, afterwards);
    QFETCH(QStringList, trashed);
    QFETCH(QStringList, kept);
    QFETCH(QStringList, replaced);
    createSeries(1, 2);
    QStringList late;
    for (const QString& step : afterwards) {
        const QString kind = step.section(':', 0, 0);
        const QString path = step.section(':', 1);
        if (kind == "file")
            m_fs->addFile(path);
        else if (kind == "hidden")
            m_fs->addFile(path, true);
        else if (kind == "dir")
            m_fs->addFolder(path);
        else if (kind == "gone")
            m_fs->recycled(toPathList({path}));
        else if (kind == "again")
            m_fs->replace(path);
        else if (kind == "unreadable")
            m_fs->unreadable << path;
        else if (kind == "late-file")
            late << path;
    }
    m_fs->beforeTrashMove = [&](const QString&) {
        for (const QString& path : std::as_const(late))
            m_fs->addFile(path);
        late.clear();
    };
    m_fs->recycledItems.clear();
    m_fs->recycledCalls.clear();

    m_steps->undoLastCreation();
    QCOMPARE(m_fs->recycledItems, trashed);
    QCOMPARE(m_fs->recycledCalls.size(), trashed.isEmpty() ? 0 : 1); // one operation
    QString box;
    if (!kept.isEmpty())
        box = "次のフォルダは中身があるため残しました:\r\n" + kept.join("\r\n");
    if (!replaced.isEmpty())
        box += QString(box.isEmpty() ? "" : "\r\n\r\n") +
               "次のフォルダは置き換えられたため残しました:\r\n" + replaced.join("\r\n");
    if (box.isEmpty()) {
        QVERIFY(m_prompter.shown.isEmpty());
    } else {
        QCOMPARE(m_prompter.shown.size(), 1);
        QCOMPARE(m_prompter.shown.front().text, box);
    }
    // What stayed can be taken back once it is empty again; another's folder is not ours.
    QStringList onRecord = m_steps->lastCreation().paths();
    onRecord.sort();
    kept.sort();
    QCOMPARE(onRecord, kept);
}

void TestCreationRecord::failedTrashKeepsTheRecord()
{
    createSeries(1, 2);
    m_fs->failRecycle = true;
    m_steps->undoLastCreation();
    QCOMPARE(m_prompter.numbers(), QList<int>{16});
    QCOMPARE(m_steps->lastCreation().size(), 3);
    QVERIFY(m_fs->isFolder("C:\\w\\new\\c1"));

    m_fs->failRecycle = false;
    m_prompter.clear();
    m_steps->undoLastCreation();
    QVERIFY(m_prompter.shown.isEmpty());
    QVERIFY(!m_fs->exists("C:\\w\\new"));
    QVERIFY(m_steps->lastCreation().isEmpty());
}

void TestCreationRecord::deleteRunsKeepTheRecord()
{
    createSeries(1, 2);
    CountingRun run;
    SeriesEngine(*m_steps).deleteSeries({"C:\\w\\new\\", "c", "", 2, 2, 1, false}, run);
    QCOMPARE(m_steps->lastCreation().size(), 3);
    m_fs->recycledItems.clear();
    m_steps->undoLastCreation();
    // c2 went with the delete run; the rest of what the run made goes now.
    QCOMPARE(m_fs->recycledItems, (QStringList{"C:\\w\\new\\c1", "C:\\w\\new"}));
}

QTEST_GUILESS_MAIN(TestCreationRecord)
#include "test_creation_record.moc"
