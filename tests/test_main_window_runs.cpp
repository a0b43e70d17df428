#include "ScriptedPrompter.h"
#include "TestServices.h"
#include "fileops/FileFolder.h"
#include "main/MainWindow.h"
#include "settings/Options.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

// Runs through the real window and the real disk.
class TestMainWindowRuns : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void createButtonMakesTheFolders();
    void ctrlDSendsThemToTheTrash();
    void cancelDuringARun();
    void closingMidRunStopsThenCloses();

private:
    QLineEdit* field(const char* name) { return m_window->findChild<QLineEdit*>(name); }
    QPushButton* button(const char* name) { return m_window->findChild<QPushButton*>(name); }
    void fill(const QString& first, const QString& last, const QString& digits);
    // Calls `action` once, from the run's yield, after the run has made its hundredth folder.
    void whenMidRun(std::function<void()> action);
    int folderCount() const
    {
        return int(QDir(m_target->path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
    }

    QTemporaryDir m_home;
    std::unique_ptr<QTemporaryDir> m_target;
    Options* m_options = nullptr;
    ScriptedPrompter* m_prompter = nullptr;
    FileFolder* m_fs = nullptr;
    std::unique_ptr<TestServices> m_services;
    MainWindow* m_window = nullptr;
};

void TestMainWindowRuns::initTestCase()
{
    // The trash of these tests lives in a folder of their own.
    QVERIFY(m_home.isValid());
    qputenv("HOME", m_home.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", (m_home.path() + QStringLiteral("/data")).toLocal8Bit());
}

void TestMainWindowRuns::init()
{
    m_target = std::make_unique<QTemporaryDir>(m_home.path() + QStringLiteral("/target-XXXXXX"));
    m_options = new Options;
    m_prompter = new ScriptedPrompter;
    m_fs = new FileFolder(m_prompter);
    m_services = std::make_unique<TestServices>(*m_fs, *m_options, *m_prompter);
    m_window =
        new MainWindow(m_services->services(),
                       {m_home.filePath(QStringLiteral("SetNMaker.cf")), m_fs->getTempFolder()});
    m_window->show();
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    field("txtFolder")->setText(m_target->path());
    field("txtPrefixConst")->setText(QStringLiteral("case"));
}

void TestMainWindowRuns::cleanup()
{
    delete m_window;
    m_services.reset();
    delete m_fs;
    delete m_prompter;
    delete m_options;
    m_target.reset();
}

void TestMainWindowRuns::fill(const QString& first, const QString& last, const QString& digits)
{
    field("txtNoStart")->setText(first);
    field("txtNoEnd")->setText(last);
    field("txtNoKeta")->setText(digits);
}

void TestMainWindowRuns::whenMidRun(std::function<void()> action)
{
    auto* poll = new QTimer(m_window);
    poll->setInterval(1);
    connect(poll, &QTimer::timeout, m_window, [this, poll, action] {
        if (!QDir(m_target->path()).exists(QStringLiteral("case00100")))
            return;
        poll->stop();
        poll->deleteLater();
        action();
    });
    poll->start();
}

void TestMainWindowRuns::createButtonMakesTheFolders()
{
    fill("1", "10", "3");
    QTest::mouseClick(button("cmdCreateDelete0"), Qt::LeftButton);
    QVERIFY(m_prompter->shown.isEmpty()); // a finished run shows no closing message
    QStringList expected;
    for (int n = 1; n <= 10; ++n)
        expected << QStringLiteral("case%1").arg(n, 3, 10, QLatin1Char('0'));
    QCOMPARE(QDir(m_target->path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name),
             expected);
    QCOMPARE(button("cmdExit")->text(), QStringLiteral("終了"));
}

void TestMainWindowRuns::ctrlDSendsThemToTheTrash()
{
    fill("1", "3", "3");
    QTest::mouseClick(button("cmdCreateDelete0"), Qt::LeftButton);
    QCOMPARE(folderCount(), 3);
    button("cmdExit")->setFocus();
    QTest::keyClick(m_window, Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(folderCount(), 0);
    QCOMPARE(m_prompter->shown.size(), 1); // the trash's one confirmation, nothing else
    const QDir trash(m_home.path() + QStringLiteral("/data/Trash/files"));
    QCOMPARE(trash.entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 3);
}

void TestMainWindowRuns::cancelDuringARun()
{
    fill("0", "99999", "5");
    bool checked = false;
    int atClick = -1;
    whenMidRun([&] {
        // Busy: the exit button cancels, menus and run buttons are off, fields are not.
        QPushButton* exit = button("cmdExit");
        QCOMPARE(exit->text(), QStringLiteral("ｷｬﾝｾﾙ"));
        QCOMPARE(exit->toolTip(), QStringLiteral("処理を中断します"));
        QCOMPARE(exit->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(m_window->cursor().shape(), Qt::WaitCursor);
        QVERIFY(!button("cmdCreateDelete0")->isEnabled());
        QVERIFY(!button("cmdCreateDelete1")->isEnabled());
        QVERIFY(field("txtNoStart")->isEnabled());
        for (QAction* a : m_window->findChild<QMenu*>("mnuFile")->actions())
            QVERIFY(!a->isEnabled());
        QVERIFY(!m_window->findChild<QAction*>("mnuHelpVer")->isEnabled());
        atClick = folderCount();
        QTest::mouseClick(exit, Qt::LeftButton);
        checked = true;
    });
    QTest::mouseClick(button("cmdCreateDelete0"), Qt::LeftButton);
    QVERIFY(checked);
    QCOMPARE(m_prompter->numbers(), QList<int>{18});
    QVERIFY(atClick > 100);
    QCOMPARE(folderCount(), atClick); // stopped before the next folder
    QCOMPARE(button("cmdExit")->text(), QStringLiteral("終了"));
    QCOMPARE(button("cmdExit")->toolTip(), QStringLiteral("Nestmakerを閉じる"));
    QVERIFY(button("cmdCreateDelete0")->isEnabled());
    QVERIFY(m_window->findChild<QAction*>("mnuFileCreateDelete1")->isEnabled());
    QCOMPARE(m_window->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(m_window->windowTitle(), QStringLiteral("NMaker"));

    // The request was used up: the next run goes to its end.
    fill("1", "3", "1");
    QTest::mouseClick(button("cmdCreateDelete0"), Qt::LeftButton);
    QVERIFY(QDir(m_target->path()).exists(QStringLiteral("case3")));
}

void TestMainWindowRuns::closingMidRunStopsThenCloses()
{
    fill("0", "99999", "5");
    bool refused = false;
    whenMidRun([&] {
        refused = !m_window->close();
        QVERIFY(m_window->isVisible());
    });
    QTest::mouseClick(button("cmdCreateDelete0"), Qt::LeftButton);
    QVERIFY(refused);
    QVERIFY(!m_window->isVisible());
    QVERIFY(folderCount() < 100000);
    QVERIFY(m_prompter->shown.isEmpty());
}

QTEST_MAIN(TestMainWindowRuns)
#include "test_main_window_runs.moc"
