#include "ModalGuard.h"
#include "ScriptedPrompter.h"
#include "TestHelpers.h"
#include "TestServices.h"
#include "UiHelpers.h"
#include "fileservices/FileFolder.h"
#include "folderlist/FolderListModel.h"
#include "folderlist/ListController.h"
#include "folderlist/ListWindow.h"
#include "main/MainWindow.h"
#include "messages/Prompter.h"
#include "report/ReportModel.h"
#include "report/ReportWindow.h"
#include "settings/Options.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <functional>

#ifdef Q_OS_WIN
#include "trash/WindowsRecycleBin.h"
#endif
#include "Unprivileged.h"
#include "run/UndoTexts.h"

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
    void dropTakesTheLastFolderAsACopy_data();
    void dropTakesTheLastFolderAsACopy();
    void browseButtonFillsTheField();
    void listRunCreatesThenTrashes();
    void previewEditCreateAndUndo();
    void deleteRestartUndo_data();
    void deleteRestartUndo();
    void unwritableJournalIsSaidOnce();
    void seriesExports_data();
    void seriesExports();
    void exportsCheckTheFieldsFirst();
    void reportOfASeriesSendsTheFailedToTheList();

private:
    ModalGuard m_modalGuard;
    QLineEdit* field(const char* name) { return m_window->findChild<QLineEdit*>(name); }
    QPushButton* button(const char* name) { return m_window->findChild<QPushButton*>(name); }
    void fill(const QString& first, const QString& last, const QString& digits);
    // Calls `action` once, from the run's yield, after the run has made its hundredth folder.
    void whenMidRun(std::function<void()> action);
    // A path below the target as the window shows and takes it: the host's own form.
    QString at(const QString& relative = {}) const
    {
        return QDir::toNativeSeparators(relative.isEmpty() ? m_target->path()
                                                           : m_target->filePath(relative));
    }
    QStringList trashedNames() const;
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
                       {m_home.filePath(QStringLiteral("SetNMaker.cf")), m_fs->getTempFolder(),
                        m_home.filePath(QStringLiteral("preferences.ini"))});
    m_window->show();
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    field("txtFolder")->setText(at());
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

// What these tests sent to the trash: on Windows the recycle bin's entries from the target,
// elsewhere the names in this test's own trash.
QStringList TestMainWindowRuns::trashedNames() const
{
    QStringList names;
#ifdef Q_OS_WIN
    const QString mine = at() + QLatin1Char('\\');
    for (const QString& origin : WindowsRecycleBin::originalPaths().value_or(QStringList())) {
        if (origin.startsWith(mine, Qt::CaseInsensitive))
            names << origin.section(QLatin1Char('\\'), -1);
    }
#else
    names = QDir(m_home.path() + QStringLiteral("/data/Trash/files"))
                .entryList(QDir::Dirs | QDir::NoDotAndDotDot);
#endif
    names.sort();
    return names;
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
    QCOMPARE(trashedNames(), (QStringList{"case001", "case002", "case003"}));
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

void TestMainWindowRuns::dropTakesTheLastFolderAsACopy_data()
{
    QTest::addColumn<QStringList>("items"); // "dir:", "file:", "gone:" or "text:"
    QTest::addColumn<QString>("expected");  // the field afterwards; empty: unchanged
    QTest::addColumn<bool>("accepted");
    QTest::newRow("one folder") << QStringList{"dir:a"} << "a" << true;
    QTest::newRow("mixed: the last folder")
        << QStringList{"dir:a", "file:f", "dir:b", "file:g"} << "b" << true;
    QTest::newRow("files only") << QStringList{"file:f", "gone:x"} << "" << true;
    QTest::newRow("text") << QStringList{"text:/tmp"} << "" << false;
    QStringList many;
    for (int i = 0; i < 300; ++i)
        many << QStringLiteral("dir:many/d%1").arg(i, 3, 10, QLatin1Char('0'));
    QTest::newRow("hundreds") << many << "many/d299" << true;
}

void TestMainWindowRuns::dropTakesTheLastFolderAsACopy()
{
    QFETCH(QStringList, items);
    QFETCH(QString, expected);
    QFETCH(bool, accepted);
    const QString root = m_target->path();
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& item : items) {
        const QString kind = item.section(':', 0, 0);
        const QString path = root + '/' + item.section(':', 1);
        if (kind == "dir")
            QVERIFY(QDir().mkpath(path));
        else if (kind == "file")
            QFile(path).open(QIODevice::WriteOnly);
        if (kind == "text")
            data->setText(item.section(':', 1));
        else
            urls << QUrl::fromLocalFile(path);
    }
    if (!urls.isEmpty())
        data->setUrls(urls);
    QLineEdit* folder = field("txtFolder");
    // A file manager offers copy and move, and proposes a move when Shift is held: the field
    // must take it as a copy, every time.
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    for (const Qt::KeyboardModifiers keys :
         {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ShiftModifier)}) {
        folder->setText(QStringLiteral("before"));
        QDragEnterEvent enter(QPoint(5, 5), offered, data, Qt::LeftButton, keys);
        if (keys == Qt::ShiftModifier)
            QCOMPARE(enter.proposedAction(), Qt::MoveAction);
        else
            enter.setDropAction(Qt::MoveAction);
        QApplication::sendEvent(folder, &enter);
        QCOMPARE(enter.isAccepted(), accepted);
        QDragMoveEvent move(QPoint(6, 6), offered, data, Qt::LeftButton, keys);
        if (keys != Qt::ShiftModifier)
            move.setDropAction(Qt::MoveAction);
        QApplication::sendEvent(folder, &move);
        QCOMPARE(move.isAccepted(), accepted);
        QDropEvent drop(QPointF(6, 6), offered, data, Qt::LeftButton, keys);
        if (keys != Qt::ShiftModifier)
            drop.setDropAction(Qt::MoveAction);
        QApplication::sendEvent(folder, &drop);
        if (accepted) {
            QCOMPARE(enter.dropAction(), Qt::CopyAction);
            QCOMPARE(move.dropAction(), Qt::CopyAction);
            QCOMPARE(drop.dropAction(), Qt::CopyAction);
        }
        QCOMPARE(folder->text(), expected.isEmpty() ? QStringLiteral("before") : at(expected));
    }
    QVERIFY(m_prompter->shown.isEmpty());
    delete data;
}

void TestMainWindowRuns::browseButtonFillsTheField()
{
    m_services->folders.answers << m_target->path() << QString();
    button("cmdRefer")->click();
    QCOMPARE(field("txtFolder")->text(), m_target->path());
    QCOMPARE(m_services->folders.asked.front().root, BrowseRoot::Desktop);
    QCOMPARE(m_services->folders.asked.front().flags & BrowseFlag::RealFolderOnly,
             BrowseFlag::RealFolderOnly);
    // Cancelled from the menu: the field keeps its text.
    m_window->findChild<QAction*>("mnuFileOpen")->trigger();
    QCOMPARE(field("txtFolder")->text(), m_target->path());
    QCOMPARE(m_services->folders.asked.size(), 2);
}

void TestMainWindowRuns::listRunCreatesThenTrashes()
{
    const QString list = m_home.filePath(QStringLiteral("run.txt"));
    QFile file(list);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write((at("job[1-3]") + "\r\n" + at("single") + "\r\n").toUtf8());
    file.close();
    m_services->listFiles.openAnswers << list;
    int afterCreate = -1;
    whenModal([&](QWidget* modal) {
        childOf<QPushButton>(modal, "cmdCreateDelete0")->click();
        afterCreate = folderCount();
        childOf<QPushButton>(modal, "cmdCreateDelete1")->click();
        childOf<QPushButton>(modal, "cmdExit")->click();
    });
    m_window->findChild<QAction*>("mnuFileListImport")->trigger();
    QCOMPARE(afterCreate, 4);
    QCOMPARE(folderCount(), 0);
    QCOMPARE(m_prompter->shown.size(), 1); // the trash's one confirmation
    const QStringList trashed = trashedNames();
    for (const char* name : {"job1", "job2", "job3", "single"})
        QVERIFY2(trashed.contains(QLatin1String(name)), name);
}

void TestMainWindowRuns::previewEditCreateAndUndo()
{
    fill("1", "5", "1");
    QAction* undo = m_window->findChild<QAction*>("mnuFileUndo");
    QVERIFY(!undo->isEnabled()); // nothing to take back yet
    whenModal([&](QWidget* modal) {
        auto* list = qobject_cast<ListWindow*>(modal);
        QVERIFY(list);
        QCOMPARE(list->model().rowCount(), 5);
        list->model().removeRanges({{2, 2}}); // case3
        childOf<QPushButton>(modal, "cmdCreateDelete0")->click();
        childOf<QPushButton>(modal, "cmdExit")->click();
    });
    m_window->findChild<QAction*>("mnuFileListSeries")->trigger();
    QCOMPARE(QDir(m_target->path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name),
             (QStringList{"case1", "case2", "case4", "case5"}));
    QVERIFY(undo->isEnabled());

    // A folder that received a file stays, and says so; the rest goes in one operation.
    QFile(m_target->path() + "/case2/kept.txt").open(QIODevice::WriteOnly);
    QDir().mkdir(m_target->path() + "/mine");
    undo->trigger();
    QCOMPARE(QDir(m_target->path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name),
             (QStringList{"case2", "mine"}));
    QCOMPARE(m_prompter->shown.size(), 2); // the trash's confirmation, then what stayed
    QCOMPARE(m_prompter->shown.last().text,
             QStringLiteral("次のフォルダは中身があるため残しました:\r\n") + at("case2"));
    QVERIFY(undo->isEnabled()); // case2 can still be taken back once emptied
}

void TestMainWindowRuns::deleteRestartUndo_data()
{
    QTest::addColumn<bool>("sameNamed"); // a folder of one of the names made meanwhile
    QTest::newRow("all come back") << false;
    QTest::newRow("one name taken meanwhile") << true;
}

void TestMainWindowRuns::deleteRestartUndo()
{
    QFETCH(bool, sameNamed);
#ifdef Q_OS_WIN
    QSKIP("the recycle bin keeps no record a deletion could be undone from");
#endif
    const QString journal = m_home.path() + QStringLiteral("/state/NMaker/journal");
    QFile::remove(journal);
    m_services->steps.journal().setPath(journal);
    const QDir trash(m_home.path() + QStringLiteral("/data/Trash/files"));
    const QStringList trashBefore = trash.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (int n = 1; n <= 120; ++n)
        QVERIFY(
            QDir(m_target->path()).mkdir(QStringLiteral("case%1").arg(n, 3, 10, QLatin1Char('0'))));
    fill("1", "120", "3");
    button("cmdExit")->setFocus();
    QTest::keyClick(m_window, Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(folderCount(), 0);

    // A restart: a new window over new services, with only the journal on disk in common.
    delete m_window;
    m_services = std::make_unique<TestServices>(*m_fs, *m_options, *m_prompter);
    m_services->steps.journal().setPath(journal);
    m_prompter->clear();
    m_window =
        new MainWindow(m_services->services(),
                       {m_home.filePath(QStringLiteral("SetNMaker.cf")), m_fs->getTempFolder(),
                        m_home.filePath(QStringLiteral("preferences.ini"))});
    m_window->show();
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    if (sameNamed)
        QVERIFY(QDir(m_target->path()).mkpath(QStringLiteral("case050/new")));
    QAction* undo = m_window->findChild<QAction*>("mnuFileUndo");
    QCOMPARE(undo->text(), QStringLiteral("直前の削除を元に戻す"));
    QVERIFY(undo->isEnabled());
    button("cmdExit")->setFocus();
    QTest::keyClick(m_window, Qt::Key_Z, Qt::ControlModifier);

    QCOMPARE(folderCount(), 120);
    QStringList inTrash = trash.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    QStringList expected = sameNamed ? trashBefore + QStringList{"case050"} : trashBefore;
    inTrash.sort();
    expected.sort();
    QCOMPARE(inTrash, expected); // the trash as before the delete
    QVERIFY(QFileInfo::exists(m_target->path() + "/case050/new") == sameNamed);
    QCOMPARE(m_prompter->shown.size(), 2); // one question, one report
    QCOMPARE(
        m_prompter->shown.front().text,
        QStringLiteral("直前の削除でごみ箱に移動した 120 個のフォルダを元の場所に戻しますか？"));
    const QString report =
        sameNamed ? QStringLiteral(
                        "119 個のフォルダを元の場所に戻しました。\r\n"
                        "1 個のフォルダはごみ箱に残しました。\r\n\r\n"
                        "次のフォルダは同じ名前のフォルダが既にあるためごみ箱に残しました:\r\n") +
                        at("case050")
                  : QStringLiteral("120 個のフォルダを元の場所に戻しました。");
    QCOMPARE(m_prompter->shown.last().text, report);
    // What stayed can come back once its place is free; otherwise nothing is left to take back.
    QCOMPARE(undo->isEnabled(), sameNamed);
    QCOMPARE(undo->text(), sameNamed ? QStringLiteral("直前の削除を元に戻す")
                                     : QStringLiteral("直前の作成を元に戻す"));
    if (sameNamed)
        QVERIFY(QDir(m_target->path() + "/case050").removeRecursively());
    m_services->steps.journal().setPath({});
    QFile::remove(journal);
}

void TestMainWindowRuns::unwritableJournalIsSaidOnce()
{
#ifndef Q_OS_LINUX
    QSKIP("needs a file that cannot be written");
#else
    const QString journal = m_home.path() + QStringLiteral("/state/NMaker/journal");
    QFile::remove(journal);
    m_services->steps.journal().setPath(journal);
    fill("1", "2", "1");
    button("cmdCreateDelete0")->click();
    QAction* undo = m_window->findChild<QAction*>("mnuFileUndo");
    QVERIFY(undo->isEnabled());
    if (!setImmutable(journal, true))
        QSKIP("no way to make the journal unwritable here");
    m_prompter->clear();
    fill("3", "4", "1");
    button("cmdCreateDelete0")->click();
    setImmutable(journal, false);
    // The run made its folders, said once that it cannot be taken back, and the run before it
    // is not offered in its place.
    QCOMPARE(folderCount(), 4);
    QCOMPARE(m_prompter->shown.size(), 1);
    QCOMPARE(m_prompter->shown.front().text,
             UndoText::notRecorded(QDir::toNativeSeparators(journal)));
    QVERIFY(!undo->isEnabled());
    m_services->steps.journal().setPath({});
    QFile::remove(journal);
#endif
}

void TestMainWindowRuns::seriesExports_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("as written") << 0 << QByteArray("/work/case[001-020]_in\r\n");
    QByteArray expanded;
    for (int n = 1; n <= 20; ++n)
        expanded +=
            QStringLiteral("/work/case%1_in\r\n").arg(n, 3, 10, QLatin1Char('0')).toLatin1();
    QTest::newRow("expanded") << 1 << expanded;
}

void TestMainWindowRuns::seriesExports()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, bytes);
    field("txtFolder")->setText(QDir::toNativeSeparators("/work"));
    field("txtPrefixConst")->setText("case");
    field("txtSuffixConst")->setText("_in");
    field("txtNoStart")->setText("1");
    field("txtNoEnd")->setText("20");
    field("txtNoKeta")->setText("3");
    const QString out = m_target->filePath("series.txt");
    m_services->listFiles.saveAnswers << out;
    m_window->findChild<QAction*>(kind == 0 ? "mnuFileListExport0" : "mnuFileListExport1")
        ->trigger();
    QCOMPARE(fileBytes(out), QDir::toNativeSeparators(QString::fromLatin1(bytes)).toLatin1());
    QCOMPARE(m_services->listFiles.saveAsked.front().title, QStringLiteral("ファイルリストの保存"));
    QCOMPARE(m_services->listFiles.saveAsked.front().defaultExtension, QStringLiteral("txt"));
    QVERIFY(m_prompter->shown.isEmpty());
}

void TestMainWindowRuns::exportsCheckTheFieldsFirst()
{
    // From either window: a start number missing is message 4, and no file is asked for.
    field("txtNoStart")->setText(QString());
    m_window->findChild<QAction*>("mnuFileListExport1")->trigger();
    field("txtNoStart")->setText(QString());
    m_window->lists().listWindow()->exportRequested(1);
    QCOMPARE(m_prompter->numbers(), (QList<int>{4, 4}));
    QVERIFY(m_services->listFiles.saveAsked.isEmpty());
}

QTEST_MAIN(TestMainWindowRuns)
#include "test_main_window_runs.moc"

void TestMainWindowRuns::reportOfASeriesSendsTheFailedToTheList()
{
    QAction* report = m_window->findChild<QAction*>("mnuFileReport");
    QVERIFY(!report->isEnabled()); // no run yet
    const QDir target(m_target->path());
    QVERIFY(target.mkdir("case002") && target.mkdir("case050"));
    QVERIFY(QFile(target.filePath("case100")).open(QIODevice::WriteOnly)); // in a folder's way
    fill("1", "120", "3");
    m_prompter->answers = {Answer::Ignore}; // the existing ones: skipped for the whole run
    QTest::mouseClick(button("cmdCreateDelete0"), Qt::LeftButton);
    QVERIFY(report->isEnabled());

    bool inReport = false;
    bool inList = false;
    whenModal([&](QWidget* modal) {
        auto* window = qobject_cast<ReportWindow*>(modal);
        QVERIFY(window);
        inReport = true;
        QCOMPARE(childOf<QLabel>(window, "lblSummary")->text(),
                 QStringLiteral("作成の結果: 作成 117、既存 2、失敗 1"));
        // The failed one first, with its reason.
        ReportModel& model = window->model();
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.index(0, ReportModel::PathColumn).data().toString(), at("case100"));
        QVERIFY(!model.index(0, ReportModel::ReasonColumn).data().toString().isEmpty());
        // Every row, sortable; then the existing ones.
        window->filterBox()->setCurrentIndex(0);
        QCOMPARE(model.rowCount(), 120);
        window->table()->sortByColumn(ReportModel::PathColumn, Qt::DescendingOrder);
        QCOMPARE(model.index(0, ReportModel::PathColumn).data().toString(), at("case120"));
        window->filterBox()->setCurrentIndex(
            window->filterBox()->findData(int(FolderOutcome::Existing)));
        QCOMPARE(model.shownPaths(), (QStringList{at("case050"), at("case002")}));
        window->filterBox()->setCurrentIndex(
            window->filterBox()->findData(int(FolderOutcome::Failed)));
        whenModal([&](QWidget* next) {
            auto* list = qobject_cast<ListWindow*>(next);
            QVERIFY(list);
            inList = true;
            QCOMPARE(list->model().entries(), QStringList{at("case100")});
            QVERIFY(list->findChild<QAction*>("mnuActionReport")->isEnabled());
            childOf<QPushButton>(list, "cmdExit")->click();
        });
        childOf<QPushButton>(window, "cmdToList")->click();
    });
    report->trigger();
    QVERIFY(inReport);
    QVERIFY(inList);
}
