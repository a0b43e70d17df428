#include "CountingRun.h"
#include "MemoryFileSystem.h"
#include "ScriptedPrompter.h"
#include "run/FolderSteps.h"
#include "run/RunContext.h"
#include "series/SeriesEngine.h"
#include "settings/Options.h"

#include <QTest>

namespace
{

using FakeRun = CountingRun;

SeriesParameters series(int first, int last, const QString& target = QStringLiteral("C:\\w\\"))
{
    return SeriesParameters{target, QStringLiteral("case"), QString(), first, last, 2, true};
}

QString at(int n, const QString& target = QStringLiteral("C:\\w\\"))
{
    return target + QStringLiteral("case") + QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

QStringList range(int first, int last)
{
    QStringList names;
    for (int n = first; n <= last; ++n)
        names << at(n);
    return names;
}

} // namespace

class TestSeriesEngine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void create_data();
    void create();
    void ignoreLastsOneRun();
    void fullRange();
    void remove_data();
    void remove();

private:
    Options* m_options = nullptr;
    ScriptedPrompter m_prompter;
    MemoryFileSystem* m_fs = nullptr;
    FolderSteps* m_steps = nullptr;
    SeriesEngine* m_engine = nullptr;
};

void TestSeriesEngine::init()
{
    m_options = new Options;
    m_fs = new MemoryFileSystem;
    m_prompter.clear();
    m_steps = new FolderSteps(*m_fs, m_prompter, *m_options, PathStyle::Windows);
    m_engine = new SeriesEngine(*m_steps);
}

void TestSeriesEngine::cleanup()
{
    delete m_engine;
    delete m_steps;
    delete m_fs;
    delete m_options;
}

void TestSeriesEngine::create_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QList<int>>("existing"); // numbers already there
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QList<int>>("failing"); // numbers whose creation fails ...
    QTest::addColumn<int>("failCode");       // ... with this code
    QTest::addColumn<int>("cancelAtYield");
    QTest::addColumn<QList<int>>("messages");
    QTest::addColumn<QStringList>("created"); // what this run created, in order

    const QString w = QStringLiteral("C:\\w\\");
    const QList<int> none;
    QTest::newRow("plain run") << w << none << false << none << none << 0 << -1 << none
                               << range(1, 10);
    QTest::newRow("one folder") << w << none << false << none << none << 0 << -1 << none
                                << range(7, 7);
    QTest::newRow("existing skipped silently") << w << QList<int>{5} << false << none << none << 0
                                               << -1 << none << (range(1, 4) + range(6, 10));
    QTest::newRow("existing, retry goes on")
        << w << QList<int>{5} << true << QList<int>{Answer::Retry} << none << 0 << -1
        << QList<int>{13} << (range(1, 4) + range(6, 10));
    QTest::newRow("existing, abort stops")
        << w << QList<int>{5} << true << QList<int>{Answer::Abort} << none << 0 << -1
        << QList<int>{13} << range(1, 4);
    QTest::newRow("existing, ignore asks no more")
        << w << QList<int>{5, 8} << true << QList<int>{Answer::Ignore} << none << 0 << -1
        << QList<int>{13} << (range(1, 4) + range(6, 7) + range(9, 10));
    QTest::newRow("path not found stops")
        << w << none << false << none << QList<int>{3} << int(CreateResult::PathNotFound) << -1
        << QList<int>{12} << range(1, 2);
    QTest::newRow("other failure goes on")
        << w << none << false << none << QList<int>{3, 4} << 5 << -1 << QList<int>{14, 14}
        << (range(1, 2) + range(5, 10));
    QTest::newRow("cancel keeps what was made")
        << w << none << false << none << none << 0 << 4 << none << range(1, 3);
    QTest::newRow("cancel before the first")
        << w << none << false << none << none << 0 << 1 << none << QStringList{};
    QTest::newRow("missing target, no")
        << QStringLiteral("C:\\new\\") << none << false << QList<int>{Answer::No} << none << 0 << -1
        << QList<int>{8} << QStringList{};
    QTest::newRow("missing target, yes")
        << QStringLiteral("C:\\new\\") << none << false << QList<int>{Answer::Yes} << none << 0
        << -1 << QList<int>{8} << (QStringList{"C:\\new"} + [] {
               QStringList l;
               for (int n = 1; n <= 10; ++n)
                   l << at(n, QStringLiteral("C:\\new\\"));
               return l;
           }());
    QTest::newRow("missing drive")
        << QStringLiteral("Q:\\new\\") << none << false << QList<int>{Answer::Yes} << none << 0
        << -1 << QList<int>{8, 10} << QStringList{};
}

void TestSeriesEngine::create()
{
    QFETCH(QString, target);
    QFETCH(QList<int>, existing);
    QFETCH(bool, confirm);
    QFETCH(QList<int>, answers);
    QFETCH(QList<int>, failing);
    QFETCH(int, failCode);
    QFETCH(int, cancelAtYield);
    QFETCH(QList<int>, messages);
    QFETCH(QStringList, created);

    m_fs->addFolder(QStringLiteral("C:\\w"));
    for (int n : existing)
        m_fs->addFolder(at(n));
    for (int n : failing)
        m_fs->createResults.insert(at(n), failCode);
    m_options->setCheckedIndex(Options::Create, confirm ? 1 : 0);
    m_prompter.answers = answers;
    FakeRun run;
    run.cancelAtYield = cancelAtYield;
    const bool oneFolder = QByteArray(QTest::currentDataTag()) == "one folder";

    m_engine->createSeries(oneFolder ? series(7, 7, target) : series(1, 10, target), run);

    QCOMPARE(m_prompter.numbers(), messages);
    QStringList made = m_fs->createdFolders;
    for (QString& p : made)
        p = MemoryFileSystem::normalized(p);
    QCOMPARE(made, created);
    if (messages.contains(13))
        QCOMPARE(m_prompter.shown[0].text.mid(4, at(5).size()), at(5));
    QVERIFY(run.yields <= 10);
}

void TestSeriesEngine::ignoreLastsOneRun()
{
    m_fs->addFolder(at(2));
    m_options->setCheckedIndex(Options::Create, 1);
    FakeRun run;
    m_prompter.answers = {Answer::Ignore, Answer::Retry, Answer::Retry, Answer::Retry};
    m_engine->createSeries(series(1, 3), run);
    QVERIFY(m_steps->ignoreExisting());
    m_engine->createSeries(series(1, 3), run); // all three exist now: asked about each
    QCOMPARE(m_prompter.numbers(), (QList<int>{13, 13, 13, 13}));
}

void TestSeriesEngine::fullRange()
{
    m_fs->addFolder(QStringLiteral("C:\\w"));
    FakeRun run;
    SeriesParameters p = series(0, 99999);
    p.digits = 5;
    m_engine->createSeries(p, run);
    QCOMPARE(run.yields, 100000); // one yield per folder and no more
    QCOMPARE(m_fs->createdFolders.size(), 100000);
    QCOMPARE(m_fs->createdFolders.first(), QStringLiteral("C:\\w\\case00000"));
    QCOMPARE(m_fs->createdFolders.last(), QStringLiteral("C:\\w\\case99999"));
    QVERIFY(m_prompter.shown.isEmpty());
}

void TestSeriesEngine::remove_data()
{
    QTest::addColumn<QList<int>>("existing");
    QTest::addColumn<QList<int>>("withFile");
    QTest::addColumn<QList<int>>("withSubfolder");
    QTest::addColumn<bool>("deleteNonEmpty");
    QTest::addColumn<QString>("knob"); // decline, fail
    QTest::addColumn<int>("cancelAtYield");
    QTest::addColumn<QList<int>>("messages");
    QTest::addColumn<QList<QStringList>>("calls"); // items of every recycled call

    const QList<int> all{1, 2, 3}, none;
    QTest::newRow("all three, one operation")
        << all << none << none << false << "" << -1 << none << QList<QStringList>{range(1, 3)};
    QTest::newRow("folder with a file kept") << all << QList<int>{2} << none << false << "" << -1
                                             << none << QList<QStringList>{{at(1), at(3)}};
    QTest::newRow("folder with a file deleted by option")
        << all << QList<int>{2} << none << true << "" << -1 << none
        << QList<QStringList>{range(1, 3)};
    QTest::newRow("only a subfolder counts as empty")
        << all << none << QList<int>{2} << false << "" << -1 << none
        << QList<QStringList>{range(1, 3)};
    QTest::newRow("one missing") << QList<int>{1, 2} << none << none << false << "" << -1
                                 << QList<int>{17} << QList<QStringList>{range(1, 2)};
    QTest::newRow("none exists") << none << none << none << false << "" << -1 << QList<int>{16, 17}
                                 << QList<QStringList>{{}};
    QTest::newRow("every folder kept")
        << all << all << none << false << "" << -1 << QList<int>{16} << QList<QStringList>{{}};
    QTest::newRow("declined") << all << none << none << false << "decline" << -1 << QList<int>{16}
                              << QList<QStringList>{range(1, 3)};
    QTest::newRow("trash fails") << all << none << none << false << "fail" << -1 << QList<int>{16}
                                 << QList<QStringList>{range(1, 3)};
    QTest::newRow("cancel while collecting")
        << all << none << none << false << "" << 3 << none << QList<QStringList>{};
    // Looking at the folders yields so the window paints, but the trash's own confirmation
    // is the way out from there.
    QTest::newRow("cancel while looking at the folders")
        << all << none << none << false << "" << 4 << none << QList<QStringList>{range(1, 3)};
}

void TestSeriesEngine::remove()
{
    QFETCH(QList<int>, existing);
    QFETCH(QList<int>, withFile);
    QFETCH(QList<int>, withSubfolder);
    QFETCH(bool, deleteNonEmpty);
    QFETCH(QString, knob);
    QFETCH(int, cancelAtYield);
    QFETCH(QList<int>, messages);
    QFETCH(QList<QStringList>, calls);

    m_fs->addFolder(QStringLiteral("C:\\w"));
    for (int n : existing)
        m_fs->addFolder(at(n));
    for (int n : withFile)
        m_fs->addFile(at(n) + QStringLiteral("\\a.txt"));
    for (int n : withSubfolder)
        m_fs->addFolder(at(n) + QStringLiteral("\\sub"));
    m_options->setCheckedIndex(Options::Delete, deleteNonEmpty ? 1 : 0);
    m_fs->declineRecycle = knob == QLatin1String("decline");
    m_fs->failRecycle = knob == QLatin1String("fail");
    FakeRun run;
    run.cancelAtYield = cancelAtYield;

    m_engine->deleteSeries(series(1, 3), run);

    QCOMPARE(m_prompter.numbers(), messages);
    QCOMPARE(m_fs->recycledCalls, calls);
    if (messages.contains(17)) {
        QString missing;
        for (int n : {1, 2, 3}) {
            if (!existing.contains(n))
                missing += at(n) + QStringLiteral("\r\n");
        }
        QCOMPARE(m_prompter.shown.last().text, QStringLiteral("削除しようとしたフォルダ\r\n") +
                                                   missing +
                                                   QStringLiteral("が存在しませんでした"));
    }
}

QTEST_APPLESS_MAIN(TestSeriesEngine)
#include "test_series_engine.moc"
