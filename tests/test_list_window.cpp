#include "FakeListHost.h"
#include "MemoryFileSystem.h"
#include "ModalGuard.h"
#include "ScriptedPrompter.h"
#include "TestHelpers.h"
#include "TestServices.h"
#include "TreeMemoryFileSystem.h"
#include "UiHelpers.h"
#include "common/BusyState.h"
#include "common/QtFolderChooser.h"
#include "common/QtListFileChooser.h"
#include "fileops/FolderBrowser.h"
#include "folderlist/FolderListModel.h"
#include "folderlist/FolderListView.h"
#include "folderlist/ListController.h"
#include "folderlist/ListFile.h"
#include "folderlist/ListRun.h"
#include "folderlist/ListWindow.h"
#include "folderlist/SheetPreview.h"
#include "folderlist/TemplateHintDelegate.h"
#include "series/SeriesRules.h"
#include "settings/Options.h"
#include "settings/Preferences.h"
#include "templates/TemplateTexts.h"
#include "text/TextFile.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>

Q_DECLARE_METATYPE(BrowseRoot)

namespace
{

QStringList names(int count)
{
    QStringList out;
    for (int i = 0; i < count; ++i)
        out << QStringLiteral("C:\\w\\case%1").arg(i, 3, 10, QLatin1Char('0'));
    return out;
}

} // namespace

class TestListWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void captionsAndMenus();
    void modelHoldsItsContract();
    void existingRowsSayIt();
    void editMenuFollowsTheSelection();
    void deleteKeepsTheOrderOfTheRest_data();
    void deleteKeepsTheOrderOfTheRest();
    void countsAndSelectsBeyond32767();
    void enterEditsInPlace();
    void closeEmptiesTheList();
    void resizeKeepsTheMargins_data();
    void resizeKeepsTheMargins();

    void importShowsEntriesAndReportsOnce();
    void rawExportWritesTheLinesAsRead();
    void expandedExportOfTheSelection();
    void rawExportBeforeAnyImportIsEmpty();
    void importAcceptingNothingForgetsTheOldLines();
    void importIsBusyAndCancellable_data();
    void importIsBusyAndCancellable();
    void importFromTheListReplacesIt();
    void runRefusesAListNamingAFolderTwice_data();
    void runRefusesAListNamingAFolderTwice();
    void encodingShownAndReadAgain();
    void invalidSeriesAsksForNoFile();
    void unwritableTargetSaysSo();
    void reportItemFollowsTheRuns();
    void extendedItemReadsTheNextImport_data();
    void extendedItemReadsTheNextImport();
    void extendedItemIsRemembered();
    void previewShowsWhatTheTemplateBrings_data();
    void previewShowsWhatTheTemplateBrings();
    void templateLineBelongsToThePreview();
    void templateLineIsCutToTheRow();

    void chooserFiltersMatch();
    void pasteTakesCellsOrLines_data();
    void pasteTakesCellsOrLines();
    void importOfATableGoesThroughItsPreview();
    void folderChooserShowsTheInstruction_data();
    void folderChooserShowsTheInstruction();
    void saveAsksAboutTheFileItWillWrite();

private:
    ModalGuard m_modalGuard;
    ListWindow* list() { return m_lists->listWindow(); }
    // A controller (and list window) of its own that keeps its choices in `preferences`.
    void remakeLists(const QString& preferences)
    {
        delete m_lists;
        m_preferences = std::make_unique<Preferences>(preferences);
        m_lists =
            new ListController(*m_host, m_services->services(), *m_preferences, &m_host->window);
        m_lists->setClock([] { return QDate(2024, 3, 5); });
    }
    QAction* action(const char* name) { return childOf<QAction>(list(), name); }
    void select(const QList<int>& rows);

    QTemporaryDir m_dir;
    Options* m_options = nullptr;
    ScriptedPrompter* m_prompter = nullptr;
    TreeMemoryFileSystem m_fs;
    std::unique_ptr<TestServices> m_services;
    std::unique_ptr<FakeListHost> m_host;
    std::unique_ptr<Preferences> m_preferences;
    ListController* m_lists = nullptr;
};

void TestListWindow::init()
{
    m_options = new Options;
    m_prompter = new ScriptedPrompter;
    m_services = std::make_unique<TestServices>(m_fs, *m_options, *m_prompter, PathStyle::Windows);
    m_host = std::make_unique<FakeListHost>();
    m_preferences = std::make_unique<Preferences>();
    m_lists = new ListController(*m_host, m_services->services(), *m_preferences, &m_host->window);
    m_prompter->clear();
}

void TestListWindow::cleanup()
{
    m_host.reset(); // the controller and the list window with it
    m_preferences.reset();
    m_services.reset();
    delete m_prompter;
    delete m_options;
}

void TestListWindow::select(const QList<int>& rows)
{
    QItemSelection selection;
    for (int row : rows)
        selection.select(list()->model().index(row), list()->model().index(row));
    list()->view()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void TestListWindow::captionsAndMenus()
{
    ListWindow* w = list();
    QCOMPARE(w->objectName(), QStringLiteral("frmList"));
    QCOMPARE(w->windowTitle(), QStringLiteral("フォルダ作成リスト - NMaker"));
    QCOMPARE(childOf<QPushButton>(w, "cmdCreateDelete0")->text(), QStringLiteral("作成"));
    QCOMPARE(childOf<QPushButton>(w, "cmdCreateDelete1")->text(), QStringLiteral("削除"));
    QCOMPARE(childOf<QPushButton>(w, "cmdExit")->toolTip(),
             QStringLiteral("「フォルダ作成リスト」ダイアログをを閉じる"));
    QCOMPARE(w->view()->model()->headerData(0, Qt::Horizontal).toString(),
             QStringLiteral("フォルダパス"));
    QCOMPARE(w->view()->font().pointSize(), 9);
    const QList<std::pair<const char*, QKeySequence>> keys{
        {"mnuActionListImport", QKeySequence(Qt::CTRL | Qt::Key_I)},
        {"mnuActionListExport0", QKeySequence(Qt::CTRL | Qt::Key_E)},
        {"mnuActionListExport1", QKeySequence(Qt::CTRL | Qt::Key_T)},
        {"mnuActionCreateDelete0", QKeySequence(Qt::CTRL | Qt::Key_C)},
        {"mnuActionCreateDelete1", QKeySequence(Qt::CTRL | Qt::Key_D)},
        {"mnuActionExit", QKeySequence(Qt::CTRL | Qt::Key_W)},
        {"mnuEditAllSelect", QKeySequence(Qt::CTRL | Qt::Key_A)},
        {"mnuEditNoSelect", QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {"mnuEditDelete", QKeySequence(Qt::Key_Delete)},
        {"mnuActionExtended", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I)}};
    for (const auto& [name, key] : keys)
        QCOMPARE(action(name)->shortcut(), key);
    QCOMPARE(action("mnuActionExtended")->text(), QStringLiteral("拡張書式で展開"));

    // No key does two things in the window.
    QHash<QKeySequence, QString> taken;
    for (const QAction* a : w->findChildren<QAction*>()) {
        if (a->shortcut().isEmpty())
            continue;
        QVERIFY2(!taken.contains(a->shortcut()),
                 qPrintable(a->objectName() + " and " + taken.value(a->shortcut())));
        taken.insert(a->shortcut(), a->objectName());
    }
}

void TestListWindow::modelHoldsItsContract()
{
    FolderListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.appendEntries(names(50));
    model.removeRanges({{1, 1}, {3, 4}});
    QList<std::pair<int, int>> many;
    for (int row = 0; row < 40; row += 2)
        many.append({row, row});
    model.removeRanges(many);
    QVERIFY(model.setData(model.index(0), QStringLiteral("x"), Qt::EditRole));
    model.clear();
    QCOMPARE(model.rowCount(), 0);
}

void TestListWindow::editMenuFollowsTheSelection()
{
    list()->model().appendEntries(names(5));
    QMenu* edit = childOf<QMenu>(list(), "mnuEdit");
    QMetaObject::invokeMethod(edit, "aboutToShow");
    QVERIFY(action("mnuEditAllSelect")->isEnabled());
    for (const char* name :
         {"mnuEditNoSelect", "mnuEditDelete", "mnuPopupNoSelect", "mnuPopupDelete"})
        QVERIFY2(!action(name)->isEnabled(), name);
    select({2});
    QMetaObject::invokeMethod(edit, "aboutToShow");
    for (const char* name :
         {"mnuEditNoSelect", "mnuEditDelete", "mnuPopupNoSelect", "mnuPopupDelete"})
        QVERIFY2(action(name)->isEnabled(), name);
    action("mnuEditNoSelect")->trigger();
    QCOMPARE(list()->selectedItemCount(), 0);
}

void TestListWindow::deleteKeepsTheOrderOfTheRest_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("step"); // every step-th row is selected, from row 1
    QTest::newRow("a few non-adjacent") << 10 << 3;
    QTest::newRow("thousands of runs") << 5000 << 2;
}

void TestListWindow::deleteKeepsTheOrderOfTheRest()
{
    QFETCH(int, count);
    QFETCH(int, step);
    const QStringList all = names(count);
    list()->model().appendEntries(all);
    QList<int> rows;
    QStringList kept;
    for (int row = 0; row < count; ++row) {
        if (row % step == 1)
            rows << row;
        else
            kept << all.at(row);
    }
    select(rows);
    QCOMPARE(list()->selectedItemCount(), rows.size());
    action("mnuEditDelete")->trigger();
    QCOMPARE(list()->model().entries(), kept);
    QCOMPARE(list()->selectedItemCount(), 0);
}

void TestListWindow::countsAndSelectsBeyond32767()
{
    list()->model().appendEntries(names(100000));
    action("mnuEditAllSelect")->trigger();
    QCOMPARE(list()->selectedItemCount(), 100000);
    QCOMPARE(list()->selectedEntries().size(), 100000);
    action("mnuEditDelete")->trigger();
    QCOMPARE(list()->model().rowCount(), 0);
}

void TestListWindow::enterEditsInPlace()
{
    list()->model().appendEntries(names(3));
    list()->show();
    FolderListView* view = list()->view();
    view->setFocus();
    view->setCurrentIndex(list()->model().index(1));
    QTest::keyClick(view, Qt::Key_Return);
    auto* editor = view->findChild<QLineEdit*>();
    QVERIFY(editor && editor->isVisible());
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("D:\\new"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(list()->model().entries().at(1), QStringLiteral("D:\\new"));
    list()->closeList();
}

void TestListWindow::closeEmptiesTheList()
{
    whenModal([this](QWidget* modal) {
        QCOMPARE(modal, list());
        list()->model().appendEntries(names(4));
        childOf<QPushButton>(modal, "cmdExit")->click();
    });
    m_lists->showList();
    QVERIFY(!list()->isVisible());
    QCOMPARE(list()->model().rowCount(), 0);

    int shownWith = -1;
    whenModal([&](QWidget* modal) {
        shownWith = list()->model().rowCount();
        modal->close(); // the title-bar close does what the close button does
    });
    m_lists->showList();
    QCOMPARE(shownWith, 0);
    QVERIFY(!list()->isVisible());
}

void TestListWindow::resizeKeepsTheMargins_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("snapped");
    QTest::newRow("larger") << QSize(700, 420) << false;
    QTest::newRow("narrow and low") << QSize(200, 100) << true;
}

void TestListWindow::resizeKeepsTheMargins()
{
    QFETCH(QSize, size);
    QFETCH(bool, snapped);
    ListWindow* w = list();
    w->show();
    w->resize(size);
    QApplication::processEvents();
    auto* client = childOf<QWidget>(w, "client");
    auto* frame = childOf<QWidget>(w, "fraButton");
    QWidget* view = w->view();
    if (snapped) { // the buttons always fit
        QVERIFY(client->height() * 15 >= 2265 - 15);
        QVERIFY(client->width() * 15 >= 1275 + 1000 - 15);
    }
    // In pixels of 15 twips each, with a pixel for rounding: the list at (150, 120), ending
    // 80 twips above the bottom and 25 left of the buttons, which keep 60 from the right.
    auto near = [](int pixels, int twips) { return qAbs(pixels * 15 - twips) <= 15; };
    QVERIFY(near(view->x(), 150));
    QVERIFY(near(view->y(), 120));
    QVERIFY(near(client->height() - (view->y() + view->height()), 80));
    QVERIFY(near(frame->x() - (view->x() + view->width()), 25));
    QVERIFY(near(client->width() - (frame->x() + frame->width()), 60));
    // The one column spans the list, up to its scroll bar: no horizontal scrolling.
    auto* tree = qobject_cast<QTreeView*>(view);
    QVERIFY(tree->columnWidth(0) <= view->width() - 7);
    QVERIFY(tree->columnWidth(0) >=
            view->width() - 7 - tree->verticalScrollBar()->sizeHint().width() - 4);
    w->closeList();
}

void TestListWindow::importShowsEntriesAndReportsOnce()
{
    const QString file = m_dir.filePath("in.txt");
    QVERIFY(
        putBytes(file, "C:\\a\\case[1-3]\r\nC:\\plain\r\nC:\\bad[a-b]\r\nC:\\big[1-123456]\r\n"));
    m_services->listFiles.openAnswers << file;
    QStringList shown;
    whenModal([&](QWidget* modal) {
        shown = list()->model().entries();
        modal->close();
    });
    m_lists->importList();
    QCOMPARE(shown, (QStringList{"C:\\a\\case1", "C:\\a\\case2", "C:\\a\\case3", "C:\\plain"}));
    QCOMPARE(m_prompter->numbers(), QList<int>{19});
    QCOMPARE(m_lists->rawListLines(), (QStringList{"C:\\a\\case[1-3]", "C:\\plain"}));
    QCOMPARE(m_services->listFiles.openAsked.front().title, QStringLiteral("ファイルリストの選択"));
}

void TestListWindow::rawExportWritesTheLinesAsRead()
{
    const QString in = m_dir.filePath("in.txt");
    const QString out = m_dir.filePath("out.txt");
    QVERIFY(putBytes(in, " C:\\x[08-11]_y \r\nC:\\p\r\n\r\nC:\\r[x-1]\r\n"));
    m_services->listFiles.openAnswers << in;
    m_services->listFiles.saveAnswers << out;
    whenModal([&](QWidget*) {
        // Edits and deletions in the window do not change what is exported as written.
        list()->model().removeRanges({{0, 2}});
        action("mnuActionListExport0")->trigger();
        list()->closeList();
    });
    m_lists->importList();
    QCOMPARE(fileBytes(out), QByteArray(" C:\\x[08-11]_y \r\nC:\\p\r\n"));
}

void TestListWindow::expandedExportOfTheSelection()
{
    const QString out = m_dir.filePath("sel.txt");
    const QString all = m_dir.filePath("all.txt");
    m_services->listFiles.saveAnswers << out << all;
    list()->model().appendEntries(names(6));
    select({4, 1});
    list()->exportRequested(1);
    QCOMPARE(fileBytes(out), QByteArray("C:\\w\\case001\r\nC:\\w\\case004\r\n"));
    list()->deselectAll();
    list()->exportRequested(1);
    QCOMPARE(fileBytes(all), encodeTextLines(names(6)));
}

void TestListWindow::rawExportBeforeAnyImportIsEmpty()
{
    const QString out = m_dir.filePath("empty.txt");
    QVERIFY(putBytes(out, "old\r\n"));
    m_services->listFiles.saveAnswers << out;
    list()->exportRequested(0);
    QCOMPARE(fileBytes(out), QByteArray());
}

void TestListWindow::importAcceptingNothingForgetsTheOldLines()
{
    const QString first = m_dir.filePath("first.txt");
    const QString second = m_dir.filePath("second.txt");
    QVERIFY(putBytes(first, "C:\\a\r\n"));
    QVERIFY(putBytes(second, "C:\\b[x-y]\r\n\r\n"));
    m_services->listFiles.openAnswers << first << second;
    for (int i = 0; i < 2; ++i) {
        whenModal([](QWidget* modal) { modal->close(); });
        m_lists->importList();
    }
    QCOMPARE(m_lists->rawListLines(), QStringList());
}

void TestListWindow::importIsBusyAndCancellable_data()
{
    QTest::addColumn<bool>("fromList");
    QTest::newRow("from the main window") << false;
    QTest::newRow("from the list window") << true;
}

void TestListWindow::importIsBusyAndCancellable()
{
    QFETCH(bool, fromList);
    const QString file = m_dir.filePath("long.txt");
    QVERIFY(putBytes(file, "C:\\x[1-3]\r\n" + QByteArray("\r\n").repeated(2 * 1024 * 1024)));
    if (fromList)
        list()->model().appendEntries(names(2));
    m_services->listFiles.openAnswers << file;
    QWidget* window = fromList ? static_cast<QWidget*>(list()) : &m_host->window;
    QPushButton* create = childOf<QPushButton>(window, "cmdCreateDelete0");
    QPushButton* exit = childOf<QPushButton>(window, "cmdExit");
    // Pressed at the import's first pause: it must be the cancel button then.
    bool busyMeanwhile = false;
    QTimer::singleShot(0, window, [&] {
        busyMeanwhile = !create->isEnabled() && exit->text() == BusyState::cancelCaption();
        exit->click();
    });
    if (fromList)
        Q_EMIT list()->importRequested();
    else
        m_lists->importList();
    QVERIFY(busyMeanwhile);
    // The list as it was before, the window idle again, the one notice of the cancel.
    QCOMPARE(list()->model().entries(), fromList ? names(2) : QStringList());
    QVERIFY(!list()->isVisible());
    QVERIFY(create->isEnabled());
    if (fromList) {
        QCOMPARE(m_prompter->shown.size(), 1);
        QVERIFY(m_prompter->shown.front().text.contains("処理を中断します"));
    } else {
        QCOMPARE(m_host->cancelNotices, 1);
    }
}

void TestListWindow::importFromTheListReplacesIt()
{
    const QString file = m_dir.filePath("new.txt");
    QVERIFY(putBytes(file, "C:\\new[1-2]\r\n"));
    list()->model().appendEntries(names(3));
    m_services->listFiles.openAnswers << file;
    Q_EMIT list()->importRequested();
    QCOMPARE(list()->model().entries(), (QStringList{"C:\\new1", "C:\\new2"}));
    // A dialog cancelled keeps the list.
    Q_EMIT list()->importRequested();
    QCOMPARE(list()->model().entries(), (QStringList{"C:\\new1", "C:\\new2"}));
}

void TestListWindow::runRefusesAListNamingAFolderTwice_data()
{
    QTest::addColumn<int>("index"); // 作成 or 削除
    QTest::newRow("create") << 0;
    QTest::newRow("delete") << 1;
}

void TestListWindow::runRefusesAListNamingAFolderTwice()
{
    QFETCH(int, index);
    m_fs.addFolder("C:\\w\\b");
    list()->model().appendEntries({"C:\\w\\a", "C:\\w\\b", "C:\\w\\a"});
    Q_EMIT list()->runRequested(index);
    QCOMPARE(m_prompter->shown.size(), 1);
    QCOMPARE(m_prompter->shown.front().text, duplicateListText());
    QVERIFY(m_fs.createdFolders.isEmpty());
    QVERIFY(m_fs.recycledCalls.isEmpty());
    QVERIFY(m_fs.isFolder("C:\\w\\b"));
}

void TestListWindow::encodingShownAndReadAgain()
{
    // ﾃ is C3 and ー is 81 5B: valid UTF-8 too, where they read as Á[.
    const QString file = m_dir.filePath("f1.txt");
    QVERIFY(putBytes(file, "C:\\F1\\\xC3\x81\x5B"
                           "1-3]\r\n"));
    QMenu* menu = childOf<QMenu>(list(), "mnuActionEncoding");
    QAction* utf8 = action("mnuEncodingUtf8");
    QAction* cp932 = action("mnuEncoding932");
    QVERIFY(!menu->isEnabled()); // nothing imported yet
    m_services->listFiles.openAnswers << file;
    Q_EMIT list()->importRequested();
    QCOMPARE(list()->model().entries(), QStringList{"C:\\F1\\ﾃー1-3]"});
    QVERIFY(menu->isEnabled());
    QVERIFY(cp932->isChecked() && !utf8->isChecked());
    QCOMPARE(cp932->text(),
             "シフトJIS (コードページ 932) (自動判定: シフトJIS として読むと日本語になるため)");

    utf8->trigger();
    QCOMPARE(list()->model().entries(), (QStringList{"C:\\F1\\Á1", "C:\\F1\\Á2", "C:\\F1\\Á3"}));
    QCOMPARE(m_lists->rawListLines(), QStringList{"C:\\F1\\Á[1-3]"});
    QVERIFY(utf8->isChecked());
    QCOMPARE(utf8->text(), "UTF-8 (指定)");
    QCOMPARE(m_services->listFiles.openAsked.size(), 1); // the same file, no dialog
}

void TestListWindow::invalidSeriesAsksForNoFile()
{
    // The host's fields are checked first, as for every export, and said no.
    m_host->valid = false;
    list()->exportRequested(1);
    QCOMPARE(m_host->validations, 1);
    QVERIFY(m_services->listFiles.saveAsked.isEmpty());
}

void TestListWindow::unwritableTargetSaysSo()
{
    const QString blocker = m_dir.filePath("blocker");
    QVERIFY(putBytes(blocker, "x"));
    m_services->listFiles.saveAnswers << blocker + "/out.txt";
    list()->exportRequested(0);
    QCOMPARE(m_prompter->shown.size(), 1);
    QVERIFY(m_prompter->shown.front().text.startsWith(
        QStringLiteral("リストファイルに書き込めませんでした")));
    QCOMPARE(fileBytes(blocker), QByteArray("x"));
}

void TestListWindow::extendedItemReadsTheNextImport_data()
{
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("root"); // of the row's own folders
    QTest::addColumn<int>("entries");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QStringList>("subfolders"); // of case001 after 作成

    QTest::newRow("on: every number with its subfolders")
        << true << "C:\\on" << 301 << "C:\\on\\d20240305"
        << QStringList{"C:\\on\\case001\\JPG", "C:\\on\\case001\\RAW", "C:\\on\\case001\\Video"};
    QTest::newRow("off: the format's, the braces as written")
        << false << "C:\\off" << 101 << "C:\\off\\d{date}"
        << QStringList{"C:\\off\\case001\\{JPG,RAW,Video}"};
}

void TestListWindow::extendedItemReadsTheNextImport()
{
    QFETCH(bool, on);
    QFETCH(QString, root);
    QFETCH(int, entries);
    QFETCH(QString, last);
    QFETCH(QStringList, subfolders);

    const QString prefs = m_dir.filePath("preferences.ini");
    QFile::remove(prefs);
    remakeLists(prefs);
    const QString file = m_dir.filePath("tree.txt");
    QVERIFY(putBytes(
        file, (root + "\\case[001-100]\\{JPG,RAW,Video}\r\n" + root + "\\d{date}\r\n").toUtf8()));
    QAction* item = action("mnuActionExtended");
    QVERIFY(item->isCheckable() && !item->isChecked()); // off until chosen
    if (on)
        item->trigger();
    QCOMPARE(item->isChecked(), on);
    QCOMPARE(m_lists->extendedSyntax(), on);

    m_services->listFiles.openAnswers << file;
    action("mnuActionListImport")->trigger();
    QCOMPARE(list()->model().rowCount(), entries);
    QCOMPARE(list()->model().entries().last(), last);
    QCOMPARE(m_lists->rawListLines().size(), 2); // exported as written, as read
    QVERIFY(m_prompter->shown.isEmpty());

    action("mnuActionCreateDelete0")->trigger();
    const QStringList folders = m_fs.folders();
    const auto under = [&folders](const QString& parent) {
        QStringList out;
        for (const QString& f : folders) {
            if (f.startsWith(parent + "\\") && !f.mid(parent.size() + 1).contains('\\'))
                out << f;
        }
        return out;
    };
    QCOMPARE(under(root).size(), 101); // case001 … case100 and the dated one
    QCOMPARE(under(root + "\\case001"), subfolders);
    QCOMPARE(under(root + "\\case100").size(), subfolders.size());
}

void TestListWindow::extendedItemIsRemembered()
{
    const QString prefs = m_dir.filePath("config/NMaker/preferences.ini");
    remakeLists(prefs);
    QVERIFY(!action("mnuActionExtended")->isChecked());
    action("mnuActionExtended")->trigger();
    QVERIFY(QFileInfo::exists(prefs)); // its folder made as needed
    QVERIFY(m_prompter->shown.isEmpty());

    // The next start reads it back; the settings file is not involved.
    remakeLists(prefs);
    QVERIFY(action("mnuActionExtended")->isChecked());
    QVERIFY(Preferences(prefs).extendedListSyntax());
    action("mnuActionExtended")->trigger();
    remakeLists(prefs);
    QVERIFY(!action("mnuActionExtended")->isChecked());

    // A file that cannot be written says so; the choice still holds for this run.
    const QString blocker = m_dir.filePath("blocker");
    QVERIFY(putBytes(blocker, "x"));
    remakeLists(blocker + "/preferences.ini");
    action("mnuActionExtended")->trigger();
    QCOMPARE(m_prompter->shown.size(), 1);
    QVERIFY(m_prompter->shown.front().text.startsWith("拡張書式の設定を保存できませんでした。"));
    QVERIFY(m_lists->extendedSyntax());
    QVERIFY(action("mnuActionExtended")->isChecked());
}

void TestListWindow::previewShowsWhatTheTemplateBrings_data()
{
    QTest::addColumn<QString>("folder"); // empty: no template
    QTest::addColumn<bool>("foldersOnly");
    QTest::addColumn<QString>("hint"); // what the line under each folder says
    QTest::addColumn<int>("reads");    // of the template, for the whole preview

    QTest::newRow("none") << QString() << false << QString() << 0;
    QTest::newRow("folders and files") << "C:\\tpl" << false << "JPG\\  RAW\\  memo.txt" << 1;
    QTest::newRow("folders only") << "C:\\tpl" << true << "JPG\\  RAW\\" << 1;
    QTest::newRow("nothing to copy") << "C:\\files" << true << TemplateText::previewNothing() << 1;
    QTest::newRow("cannot be read: why") << "C:\\gone" << false << "<why>" << 1;
}

// The preview shows under every folder what the template would bring, measured once, and
// only shows it: the entries, the export and the rows' count stay those of the series.
void TestListWindow::previewShowsWhatTheTemplateBrings()
{
    QFETCH(QString, folder);
    QFETCH(bool, foldersOnly);
    QFETCH(QString, hint);
    QFETCH(int, reads);
    m_fs.setTree("C:\\tpl", {"JPG/", "JPG/a.jpg", "RAW/", "memo.txt"});
    m_fs.setTree("C:\\files", {"memo.txt"});
    m_options->setFolderTemplate({folder, foldersOnly});
    QString why;
    if (hint == "<why>")
        QVERIFY(!measureTemplate(m_fs, {folder, foldersOnly}, &why));
    m_fs.readTreeCalls = 0;

    const SeriesParameters params = m_host->series;
    QStringList series;
    for (int n = params.first; n <= params.last; ++n)
        series << seriesFolderName(params, n);
    const QString out = m_dir.filePath("preview.txt");
    m_services->listFiles.saveAnswers << out;
    QString shownHint;
    QStringList entries;
    int rowHeight = 0;
    QString tooltip;
    whenModal([&](QWidget*) {
        shownHint = list()->templateHints().hint();
        entries = list()->model().entries();
        list()->view()->doItemsLayout();
        const QRect row = list()->view()->visualRect(list()->model().index(3, 0));
        rowHeight = row.height();
        // The whole line as the tooltip over it.
        const QPoint lower(row.left() + 40, row.bottom() - 2);
        QHelpEvent tip(QEvent::ToolTip, lower, list()->view()->viewport()->mapToGlobal(lower));
        QApplication::sendEvent(list()->view()->viewport(), &tip);
        tooltip = QToolTip::isVisible() ? QToolTip::text() : QString();
        QToolTip::hideText();
        list()->exportRequested(1);
        list()->closeList();
    });
    m_lists->showSeries(params);
    QCOMPARE(shownHint, hint == "<why>" ? why : hint);
    QCOMPARE(tooltip, hint.isEmpty() ? list()->view()->toolTip() : shownHint);
    if (hint == "<why>")
        QVERIFY(why.contains("C:\\gone"));
    QCOMPARE(m_fs.readTreeCalls, reads);
    QCOMPARE(entries, series);
    QCOMPARE(fileBytes(out), encodeTextLines(series));
    QCOMPARE(m_lists->rawListLines(), QStringList{seriesRawListLine(params)});
    // Two lines a row with a template, one without.
    const int line = QFontMetrics(list()->view()->font()).height();
    QCOMPARE(rowHeight >= 2 * line, !hint.isEmpty());
    QVERIFY(rowHeight >= line);
}

// The line is the series preview's: a list read from a file, the report's folders and the
// next showing have none.
void TestListWindow::templateLineBelongsToThePreview()
{
    m_fs.setTree("C:\\tpl", {"JPG/"});
    m_options->setFolderTemplate({"C:\\tpl", false});
    const QString file = m_dir.filePath("list.txt");
    QVERIFY(putBytes(file, "C:\\a\r\n"));
    m_services->listFiles.openAnswers << file;
    QStringList hints;
    auto record = [&] { hints << list()->templateHints().hint(); };
    whenModal([&](QWidget*) {
        record();
        list()->importRequested();
        record();
        list()->closeList();
    });
    m_lists->showSeries(m_host->series);
    whenModal([&](QWidget*) {
        record();
        list()->closeList();
    });
    m_lists->showSeries(m_host->series);
    record(); // closed
    whenModal([&](QWidget*) {
        record();
        list()->closeList();
    });
    m_lists->showEntries({"C:\\b"});
    QCOMPARE(hints, (QStringList{"JPG\\", QString(), "JPG\\", QString(), QString()}));
}

void TestListWindow::templateLineIsCutToTheRow()
{
    TemplateHintDelegate hints;
    const QFont font = list()->view()->font();
    const QFontMetrics metrics(font);
    QString line;
    for (int i = 0; i < 50; ++i)
        line += QStringLiteral("folder%1\\  ").arg(i);
    hints.setHint(line.trimmed() + "\nsecond");
    QVERIFY(!hints.hint().contains(u'\n')); // always one line
    const QString wide = hints.shownHint(font, 100000);
    QCOMPARE(wide, hints.hint());
    const QString narrow = hints.shownHint(font, 200);
    QVERIFY(narrow.endsWith(QChar(0x2026)));
    QVERIFY(metrics.horizontalAdvance(narrow) <= 200);
    QVERIFY(wide.startsWith(narrow.chopped(1)));
    // A why keeps its end, which says what is wrong.
    hints.setHint(line + "読み取れません", Qt::ElideMiddle);
    const QString why = hints.shownHint(font, 200);
    QVERIFY(why.contains(QChar(0x2026)));
    QVERIFY(why.endsWith("読み取れません"));
}

void TestListWindow::chooserFiltersMatch()
{
    QTemporaryDir dir;
    for (const char* name : {"a.txt", "b.lst", "c.csv", "README"})
        QVERIFY(putBytes(dir.filePath(name), "x"));
    std::unique_ptr<QFileDialog> dialog(
        QtListFileChooser::makeDialog(openListChoice(), false, nullptr));
    dialog->setDirectory(dir.path());
    dialog->show();
    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    QVERIFY(types);
    // The captions read exactly as given.
    QCOMPARE(types->itemText(0), QStringLiteral("リストファイル(*.txt,*.lst)"));
    QCOMPARE(types->itemText(1), QStringLiteral("表(*.csv,*.tsv,*.xlsx)"));
    QCOMPARE(types->itemText(2), QStringLiteral("全てのファイル(*.*)"));
    QAbstractItemView* view = dialog->findChild<QAbstractItemView*>(QStringLiteral("listView"));
    QVERIFY(view);
    auto shownFiles = [view] {
        QStringList out;
        const QAbstractItemModel* model = view->model();
        for (int row = 0; row < model->rowCount(view->rootIndex()); ++row)
            out << model->index(row, 0, view->rootIndex()).data().toString();
        out.sort();
        return out;
    };
    QTRY_COMPARE(shownFiles(), (QStringList{"a.txt", "b.lst"}));
    dialog->selectNameFilter(QtListFileChooser::nameFilters(openListChoice().filters).at(1));
    QTRY_COMPARE(shownFiles(), (QStringList{"c.csv"}));
    dialog->selectNameFilter(QtListFileChooser::nameFilters(openListChoice().filters).at(2));
    QTRY_COMPARE(shownFiles(), (QStringList{"README", "a.txt", "b.lst", "c.csv"}));
}

void TestListWindow::pasteTakesCellsOrLines_data()
{
    QTest::addColumn<QString>("mime");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("previewed");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QStringList>("added");

    const QString cells = "年度\t部署\r\n2024\t営業部\r\n\t総務部\r\n";
    QTest::newRow("cells from a spreadsheet, headings skipped as offered")
        << "text/plain" << cells << true << true << QStringList{"2024\\営業部", "2024\\総務部"};
    QTest::newRow("the preview cancelled")
        << "text/plain" << cells << true << false << QStringList{};
    QTest::newRow("CSV where the clipboard offers it") << "text/csv"
                                                       << "a,\"b,c\"\n"
                                                       << true << true << QStringList{"a\\b,c"};
    QTest::newRow("plain lines read as a list file's")
        << "text/plain"
        << "C:\\x\\p[1-2]\nC:\\y\n"
        << false << true << QStringList{"C:\\x\\p1", "C:\\x\\p2", "C:\\y"};
}

void TestListWindow::pasteTakesCellsOrLines()
{
    QFETCH(QString, mime);
    QFETCH(QString, text);
    QFETCH(bool, accept);
    list()->model().appendEntries({"C:\\before"});
    auto* data = new QMimeData;
    if (mime == "text/plain")
        data->setText(text);
    else
        data->setData(mime, text.toUtf8());
    QGuiApplication::clipboard()->setMimeData(data);
    bool previewed = false;
    m_lists->setTablePreviewAnswer([&](SheetPreview&) {
        previewed = true;
        return accept;
    });
    action("mnuEditPaste")->trigger();
    QTEST(previewed, "previewed");
    QFETCH(QStringList, added);
    QCOMPARE(list()->model().entries(), QStringList{"C:\\before"} + added);
    m_lists->setTablePreviewAnswer({});
}

void TestListWindow::importOfATableGoesThroughItsPreview()
{
    const QString file = m_dir.filePath("cases.csv");
    // As Japanese Excel saves it: code page 932.
    QVERIFY(putBytes(file, QByteArray::fromHex("944e93782c88c48c8f0d0a323032342c22303031220d0a2c"
                                               "3030320d0a")));
    list()->model().appendEntries({"C:\\old"});
    m_services->listFiles.openAnswers << file;
    QStringList shown;
    QString button;
    m_lists->setTablePreviewAnswer([&](SheetPreview& preview) {
        shown = preview.shownPaths();
        button = childOf<QPushButton>(&preview, "cmdSheetAdd")->text();
        return true;
    });
    m_lists->importIntoList();
    // It replaces the list, and says so.
    QCOMPARE(button, QStringLiteral("読み込み"));
    QCOMPARE(shown, (QStringList{"2024\\001", "2024\\002"}));
    QCOMPARE(list()->model().entries(), (QStringList{"2024\\001", "2024\\002"}));
    QCOMPARE(m_lists->rawListLines(), (QStringList{"2024\\001", "2024\\002"}));
    QVERIFY(action("mnuEncoding932")->isChecked());
    m_lists->setTablePreviewAnswer({});
}

void TestListWindow::saveAsksAboutTheFileItWillWrite()
{
    QTemporaryDir dir;
    QVERIFY(putBytes(dir.filePath("list.txt"), "old"));
    QtListFileChooser chooser;
    QStringList asked;
    chooser.confirmReplace = [&](const QString& path) {
        asked << path;
        return true;
    };
    QVERIFY(QDir::setCurrent(dir.path()));
    whenModal([](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog);
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText("list");
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const QString chosen = chooser.chooseToSave(saveListChoice());
    const QString path = QDir::toNativeSeparators(dir.filePath("list.txt"));
    QCOMPARE(chosen, path);
    QCOMPARE(asked, QStringList{path});
}

void TestListWindow::folderChooserShowsTheInstruction_data()
{
    QTest::addColumn<BrowseRoot>("root");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("start");
    QTest::newRow("desktop: the home folder") << BrowseRoot::Desktop << "" << QDir::homePath();
    QTest::newRow("drives: the root") << BrowseRoot::Drives << "" << QDir::rootPath();
    QTest::newRow("a folder") << BrowseRoot::Folder << QDir::tempPath() << QDir::tempPath();
    QTest::newRow("a folder that is not there")
        << BrowseRoot::Folder << "/nmaker-no-such-folder" << QDir::homePath();
}

void TestListWindow::folderChooserShowsTheInstruction()
{
    QFETCH(BrowseRoot, root);
    QFETCH(QString, folder);
    QFETCH(QString, start);
    FolderChoice choice{root, folder, BrowseFlag::RealFolderOnly, FolderBrowser::instruction()};
    std::unique_ptr<QDialog> dialog(QtFolderChooser::makeDialog(choice, nullptr));
    QCOMPARE(childOf<QLabel>(dialog.get(), "instruction")->text(),
             QStringLiteral("適当なフォルダをクリックして選択状態にしてから ＯＫ を押して下さい"));
    auto* files = childOf<QFileDialog>(dialog.get(), "folderDialog");
    QCOMPARE(files->fileMode(), QFileDialog::Directory);
    QVERIFY(files->testOption(QFileDialog::ShowDirsOnly));
    QCOMPARE(QDir(files->directory()).canonicalPath(), QDir(start).canonicalPath());
}

void TestListWindow::existingRowsSayIt()
{
    // The paler row of a folder that is there already says so, to the eye and to a reader.
    FolderListModel model;
    model.appendEntries({"/there", "/new"});
    model.setExistenceProbe([](const QString& path) { return path == "/there"; });
    for (const int role : {int(Qt::ToolTipRole), int(Qt::AccessibleDescriptionRole)}) {
        QCOMPARE(model.data(model.index(0), role).toString(), QStringLiteral("既に存在します"));
        QVERIFY(!model.data(model.index(1), role).isValid());
    }
}

QTEST_MAIN(TestListWindow)
#include "test_list_window.moc"

// 結果を表示 is there once any run has finished, also one of the main window's since the list
// window was made; its rows export as a list file of plain lines.
void TestListWindow::reportItemFollowsTheRuns()
{
    QVERIFY(!action("mnuActionReport")->isEnabled());
    m_services->steps.startRun(RunKind::Create); // as a run of the main window does
    m_services->report.folderDone({FolderOutcome::Failed, "C:\\w\\a[1]", "x"});
    QVERIFY(action("mnuActionReport")->isEnabled());

    m_services->listFiles.saveAnswers = {m_dir.filePath("retry.txt")};
    m_lists->exportEntries({m_services->report.rows().front().path, "C:\\w\\b"});
    QFile file(m_dir.filePath("retry.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("C:\\w\\a[1]\r\nC:\\w\\b\r\n"));
}
