#include "MemoryFileSystem.h"
#include "ScriptedPrompter.h"
#include "TestHelpers.h"
#include "TestServices.h"
#include "common/UpDown.h"
#include "folderlist/ListController.h"
#include "main/MainWindow.h"
#include "settings/Options.h"
#include "settings/Preferences.h"
#include "settings/SettingsDialog.h"
#include "templates/TemplateTexts.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <limits>

Q_DECLARE_METATYPE(BrowseRoot)

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void captionsAndTooltips_data();
    void captionsAndTooltips();
    void captionsAreNotClipped();
    void menuItems_data();
    void menuItems();
    void startsWithFolderFocusedAndTabsInOrder();
    void slashTypedIntoPrefix();
    void pastedBracketsIntoSuffix();
    void pastedExponentClamps();
    void japaneseThroughTheInputMethod_data();
    void japaneseThroughTheInputMethod();
    void numberKeys_data();
    void numberKeys();
    void spinnersStepTheirField();
    void createWithEmptyDigitCount();
    void aBadNumberResetsItsOwnField_data();
    void aBadNumberResetsItsOwnField();
    void ctrlCCopiesOnlyWithSelection();
    void menuKeysReachTheMenuFromAField_data();
    void menuKeysReachTheMenuFromAField();
    void exitButtonCloses();
    void freshStartWritesDefaults();
    void fieldsAndOptionsSurviveARestart();
    void oddValuesFromTheSettingsFile();
    void settingsMenuShowsTheDialogModally();
    void unwritableSettingsSayWhy();
    void templateItemsStandBeforeTheSettings();
    void templateBrowseStartsAt_data();
    void templateBrowseStartsAt();
    void templateItemsSetAndClear();
    void templateItemsFollowTheBusyState_data();
    void templateItemsFollowTheBusyState();
    void templateLineMovesNoControl();
    void templateReadAtStart_data();
    void templateReadAtStart();
    void oneFileForTheListAndTheTemplate();
    void unwritablePreferencesSayWhy();

private:
    template <class T> T* child(const char* name) { return childOf<T>(m_window, name); }
    QLineEdit* field(const char* name) { return child<QLineEdit>(name); }
    QAction* item(const char* name) { return child<QAction>(name); }
    // The template line of a window, empty when it has none.
    static QString templateLine(const MainWindow& window)
    {
        auto* line = window.findChild<QLabel*>("lblTemplate");
        return line ? line->toolTip() : QString();
    }
    // Every control of the client where it stands in the window.
    QList<QRect> controlPlaces() const
    {
        QList<QRect> places{m_window->menuBar()->geometry(), m_window->centralWidget()->geometry()};
        for (QWidget* w : m_window->centralWidget()->findChildren<QWidget*>())
            places << QRect(w->mapTo(m_window, QPoint(0, 0)), w->size());
        return places;
    }
    MainWindowPaths paths() const
    {
        return {m_settings.filePath(QStringLiteral("SetNMaker.cf")),
                QDir::tempPath() + QStringLiteral("/"),
                m_settings.filePath(QStringLiteral("preferences.ini"))};
    }

    QTemporaryDir m_settings;

    Options* m_options = nullptr;
    ScriptedPrompter* m_prompter = nullptr;
    MemoryFileSystem m_fs;
    std::unique_ptr<TestServices> m_services;
    MainWindow* m_window = nullptr;
};

void TestMainWindow::init()
{
    m_options = new Options;
    m_prompter = new ScriptedPrompter;
    m_services = std::make_unique<TestServices>(m_fs, *m_options, *m_prompter);
    m_window = new MainWindow(m_services->services(), paths());
    m_window->show();
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

void TestMainWindow::cleanup()
{
    delete m_window;
    QFile::remove(paths().preferencesFile); // each test starts without a template
    m_services.reset();
    delete m_prompter;
    delete m_options;
}

void TestMainWindow::captionsAndTooltips_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tooltip");

    const QString folder = "作成先のフォルダをフルパスで入力";
    const QString start = "フォルダ名の連番開始番号の指定";
    const QString end = "フォルダ名の連番終了番号の指定";
    const QString keta = "フォルダ名の連番部分の桁数の指定";
    const QString prefix = "フォルダ名の固定文字列の接頭部分の指定(\\/|:<>\"*は使えません)";
    const QString suffix = "フォルダ名の固定文字列の接尾部分の指定(\\/|:<>\"*は使えません)";
    QTest::newRow("Label10") << "Label10"
                             << "フォルダ作成先フォルダの指定" << folder;
    QTest::newRow("txtFolder") << "txtFolder" << QDir::tempPath() + "/" << folder;
    QTest::newRow("cmdRefer") << "cmdRefer"
                              << "参照..."
                              << "フォルダの選択";
    QTest::newRow("Label11") << "Label11"
                             << "連番開始番号" << start;
    QTest::newRow("txtNoStart") << "txtNoStart"
                                << "1" << start;
    QTest::newRow("udNoStart") << "udNoStart"
                               << "" << start;
    QTest::newRow("Label12") << "Label12"
                             << "連番終了番号" << end;
    QTest::newRow("txtNoEnd") << "txtNoEnd"
                              << "10" << end;
    QTest::newRow("udNoEnd") << "udNoEnd"
                             << "" << end;
    QTest::newRow("Label13") << "Label13"
                             << "連番部分の桁数" << keta;
    QTest::newRow("txtNoKeta") << "txtNoKeta"
                               << "3" << keta;
    QTest::newRow("udNoKeta") << "udNoKeta"
                              << "" << keta;
    QTest::newRow("fraConst") << "fraConst"
                              << "固定文字列"
                              << "フォルダ名の固定文字列部分の指定(\\/|:<>\"*は使えません)";
    QTest::newRow("Label20") << "Label20"
                             << "接頭部分" << prefix;
    QTest::newRow("txtPrefixConst") << "txtPrefixConst"
                                    << "" << prefix;
    QTest::newRow("Label21") << "Label21"
                             << "接尾部分" << suffix;
    QTest::newRow("txtSuffixConst") << "txtSuffixConst"
                                    << "" << suffix;
    QTest::newRow("cmdCreateDelete0") << "cmdCreateDelete0"
                                      << "作成"
                                      << "指定したフォルダを作成します";
    QTest::newRow("cmdCreateDelete1") << "cmdCreateDelete1"
                                      << "削除"
                                      << "指定したフォルダを削除します";
    QTest::newRow("cmdExit") << "cmdExit"
                             << "終了"
                             << "Nestmakerを閉じる";
}

void TestMainWindow::captionsAndTooltips()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, tooltip);
    QWidget* w = m_window->findChild<QWidget*>(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(w->toolTip(), tooltip);
    QCOMPARE(w->font().pointSize(), 11);
    QString text;
    if (auto* l = qobject_cast<QLabel*>(w))
        text = l->text();
    else if (auto* e = qobject_cast<QLineEdit*>(w))
        text = e->text();
    else if (auto* b = qobject_cast<QPushButton*>(w))
        text = b->text();
    else if (auto* g = qobject_cast<QGroupBox*>(w))
        text = g->title();
    QCOMPARE(text, caption);
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        const bool number = name.startsWith(QLatin1String("txtNo"));
        QCOMPARE(bool(e->alignment() & Qt::AlignRight), number);
        QCOMPARE(e->maxLength(), name == QLatin1String("txtNoKeta") ? 2
                                 : number                           ? 5
                                          : std::numeric_limits<int>::max());
    }
    if (auto* u = qobject_cast<UpDown*>(w))
        QCOMPARE(u->focusPolicy(), Qt::NoFocus);
}

// Every caption must fit its control in the fonts this machine has.
void TestMainWindow::captionsAreNotClipped()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("NMaker"));
    QCOMPARE(m_window->centralWidget()->size(), QSize(321, 177));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    QWidget* client = m_window->centralWidget();
    for (QLabel* l : client->findChildren<QLabel*>()) {
        QVERIFY2(l->sizeHint().width() <= l->width(), qPrintable(l->objectName()));
        QVERIFY2(l->fontMetrics().height() <= l->height() + 2, qPrintable(l->objectName()));
    }
    for (QPushButton* b : client->findChildren<QPushButton*>())
        QVERIFY2(b->fontMetrics().horizontalAdvance(b->text()) + 8 <= b->width(),
                 qPrintable(b->objectName()));
    auto* frame = child<QGroupBox>("fraConst");
    QVERIFY(frame->fontMetrics().horizontalAdvance(frame->title()) + 16 <= frame->width());
    for (QWidget* w : m_window->centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        QVERIFY2(m_window->centralWidget()->rect().contains(w->geometry()),
                 qPrintable(w->objectName()));
}

void TestMainWindow::menuItems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    const char* rows[][3] = {
        {"mnuFileOpen", "フォルダ選択", "Ctrl+O"},
        {"mnuFileListShow", "リスト", "Ctrl+L"},
        {"mnuFileListSeries", "連番をリストに表示", "Ctrl+P"},
        {"mnuFileListImport", "リストのインポート", "Ctrl+I"},
        {"mnuFileListExport0", "リストのエクスポート", "Ctrl+E"},
        {"mnuFileListExport1", "展開済みのエクスポート", "Ctrl+T"},
        {"mnuFileTemplate", "テンプレートの指定(&T)...", ""},
        {"mnuFileTemplateFoldersOnly", "テンプレートのフォルダのみコピー(&O)", ""},
        {"mnuFileTemplateClear", "テンプレートを使わない(&N)", ""},
        {"mnuFileSetting", "設定", "Ctrl+S"},
        {"mnuFileCreateDelete0", "作成", "Ctrl+C"},
        {"mnuFileCreateDelete1", "削除", "Ctrl+D"},
        {"mnuFileUndo", "直前の作成を元に戻す", "Ctrl+Z"},
        {"mnuFileExit", "終了", "Ctrl+W"},
        {"mnuHelpManual", "「マニュアル」を開く", "Ctrl+M"},
        {"mnuHelpVer", "バージョン情報", "Ctrl+V"}};
    for (const auto& r : rows)
        QTest::newRow(r[0]) << QString::fromUtf8(r[0]) << QString::fromUtf8(r[1])
                            << QString::fromUtf8(r[2]);
}

void TestMainWindow::menuItems()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    auto* action = m_window->findChild<QAction*>(name);
    QVERIFY(action);
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->shortcut().toString(QKeySequence::PortableText), shortcut);
    auto* menu = m_window->findChild<QMenu*>(name.startsWith("mnuFile") ? "mnuFile" : "mnuHelp");
    QVERIFY(menu->actions().contains(action));
}

void TestMainWindow::startsWithFolderFocusedAndTabsInOrder()
{
    QCOMPARE(QApplication::focusWidget(), field("txtFolder"));
    const QStringList order{
        "cmdRefer",       "txtNoStart",       "txtNoEnd",         "txtNoKeta", "txtPrefixConst",
        "txtSuffixConst", "cmdCreateDelete0", "cmdCreateDelete1", "cmdExit",   "txtFolder"};
    for (const QString& next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), next);
    }
}

void TestMainWindow::slashTypedIntoPrefix()
{
    QLineEdit* prefix = field("txtPrefixConst");
    prefix->setFocus();
    QTest::keyClicks(prefix, "a/");
    QCOMPARE(prefix->text(), QStringLiteral("a"));
    QCOMPARE(prefix->cursorPosition(), 1);
    QCOMPARE(m_prompter->numbers(), QList<int>{2});
    QCOMPARE(m_prompter->shown[0].text, QStringLiteral("フォルダ名に\\/|:<>\"*は、使えません"));
    QCOMPARE(QApplication::focusWidget(), prefix);
}

void TestMainWindow::pastedBracketsIntoSuffix()
{
    QLineEdit* suffix = field("txtSuffixConst");
    suffix->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("x<y>z"));
    QTest::keySequence(suffix, QKeySequence::Paste);
    QCOMPARE(suffix->text(), QStringLiteral("xyz"));
    QCOMPARE(m_prompter->numbers(), QList<int>{2});
    QCOMPARE(QApplication::focusWidget(), suffix);
}

void TestMainWindow::japaneseThroughTheInputMethod_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("takesInputMethod");
    QTest::addColumn<QString>("committed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("messages");
    QTest::newRow("folder") << "txtFolder" << true << "/作業/ケース"
                            << "/作業/ケース" << QList<int>{};
    QTest::newRow("prefix") << "txtPrefixConst" << true << "ケース"
                            << "ケース" << QList<int>{};
    // A refused character that arrives composed is filtered like a typed one.
    QTest::newRow("suffix, refused") << "txtSuffixConst" << true << "版*"
                                     << "版" << QList<int>{2};
    for (const char* number : {"txtNoStart", "txtNoEnd", "txtNoKeta"})
        QTest::newRow(number) << number << false << QString() << QString() << QList<int>{};
}

// Text composed in an input method reaches a field only when committed, and goes through the
// field's rule like typed text; the number fields keep the input method out.
void TestMainWindow::japaneseThroughTheInputMethod()
{
    QFETCH(QString, name);
    QFETCH(bool, takesInputMethod);
    QFETCH(QString, committed);
    QFETCH(QString, text);
    QFETCH(QList<int>, messages);
    QLineEdit* box = field(qPrintable(name));
    box->setFocus();
    // Asked as the platform's input method asks the focus.
    QInputMethodQueryEvent query(Qt::ImEnabled);
    QApplication::sendEvent(QGuiApplication::focusObject(), &query);
    QCOMPARE(query.value(Qt::ImEnabled).toBool(), takesInputMethod);
    if (!takesInputMethod) {
        QVERIFY(box->inputMethodHints() & Qt::ImhDigitsOnly);
        return;
    }
    box->clear();
    QInputMethodEvent composing(QStringLiteral("けーす"), {});
    QApplication::sendEvent(box, &composing);
    QCOMPARE(box->text(), QString());
    QVERIFY(m_prompter->numbers().isEmpty());
    QInputMethodEvent commit;
    commit.setCommitString(committed);
    QApplication::sendEvent(box, &commit);
    QCOMPARE(box->text(), text);
    QCOMPARE(m_prompter->numbers(), messages);
}

void TestMainWindow::pastedExponentClamps()
{
    QLineEdit* start = field("txtNoStart");
    start->setFocus();
    start->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("1e5"));
    QTest::keySequence(start, QKeySequence::Paste);
    QCOMPARE(start->text(), QStringLiteral("99999"));
    QVERIFY(m_prompter->shown.isEmpty());
    // The whole corrected text is on screen wherever the caret is: a field too narrow for
    // five digits scrolls them, and showed "999" for 99999.
    start->clearFocus();
    const QImage afterPaste = start->grab().toImage();
    for (int caret : {0, 5}) {
        start->setCursorPosition(caret);
        QCOMPARE(start->grab().toImage(), afterPaste);
    }
    start->setFocus();
    // A sixth character cannot be typed.
    start->end(false);
    QTest::keyClick(start, Qt::Key_1);
    QCOMPARE(start->text(), QStringLiteral("99999"));
}

void TestMainWindow::numberKeys_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QList<int>>("messages");

    const int up = Qt::Key_Up, down = Qt::Key_Down, space = Qt::Key_Space;
    QTest::newRow("start up") << "txtNoStart"
                              << "5" << up << "6" << QList<int>{};
    QTest::newRow("start down at 0") << "txtNoStart"
                                     << "0" << down << "0" << QList<int>{};
    QTest::newRow("start down on empty") << "txtNoStart"
                                         << "" << down << "0" << QList<int>{};
    QTest::newRow("start space") << "txtNoStart"
                                 << "5" << space << "1" << QList<int>{3};
    QTest::newRow("end up at max") << "txtNoEnd"
                                   << "99999" << up << "99999" << QList<int>{};
    QTest::newRow("end up on empty") << "txtNoEnd"
                                     << "" << up << "10" << QList<int>{};
    QTest::newRow("end space") << "txtNoEnd"
                               << "7" << space << "10" << QList<int>{3};
    QTest::newRow("keta up on empty") << "txtNoKeta"
                                      << "" << up << "3" << QList<int>{};
    QTest::newRow("keta down on empty") << "txtNoKeta"
                                        << "" << down << "1" << QList<int>{};
    QTest::newRow("keta up at max") << "txtNoKeta"
                                    << "5" << up << "5" << QList<int>{};
    QTest::newRow("keta space") << "txtNoKeta"
                                << "4" << space << "3" << QList<int>{3};
}

void TestMainWindow::numberKeys()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(int, key);
    QFETCH(QString, expected);
    QFETCH(QList<int>, messages);
    QLineEdit* box = field(name.toLatin1().constData());
    box->setText(text);
    box->setFocus();
    QTest::keyClick(box, Qt::Key(key));
    QCOMPARE(box->text(), expected);
    QCOMPARE(m_prompter->numbers(), messages);
}

void TestMainWindow::spinnersStepTheirField()
{
    auto* ud = child<UpDown>("udNoEnd");
    auto* up = ud->findChild<QToolButton*>("up");
    auto* down = ud->findChild<QToolButton*>("down");
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(field("txtNoEnd")->text(), QStringLiteral("11"));
    field("txtNoKeta")->setText(QStringLiteral("1"));
    QTest::mouseClick(child<UpDown>("udNoKeta")->findChild<QToolButton*>("down"), Qt::LeftButton);
    QCOMPARE(field("txtNoKeta")->text(), QStringLiteral("1"));
    QTest::mouseClick(down, Qt::LeftButton);
    QTest::mouseClick(down, Qt::LeftButton);
    QCOMPARE(field("txtNoEnd")->text(), QStringLiteral("9"));
    QCOMPARE(QApplication::focusWidget(), field("txtFolder")); // spinners never take focus
}

void TestMainWindow::createWithEmptyDigitCount()
{
    field("txtFolder")->setText(QStringLiteral("/tmp"));
    field("txtNoKeta")->clear();
    QTest::mouseClick(child<QPushButton>("cmdCreateDelete0"), Qt::LeftButton);
    QCOMPARE(m_prompter->numbers(), QList<int>{6});
    QCOMPARE(m_prompter->shown[0].style, 16);
    QCOMPARE(field("txtNoKeta")->text(), QStringLiteral("3"));
    QCOMPARE(child<QPushButton>("cmdExit")->text(), QStringLiteral("終了"));
}

void TestMainWindow::aBadNumberResetsItsOwnField_data()
{
    QTest::addColumn<QString>("emptied");
    QTest::addColumn<int>("message");
    QTest::addColumn<QString>("reset"); // what that field reads afterwards
    QTest::newRow("start") << "txtNoStart" << 4 << "1";
    QTest::newRow("end") << "txtNoEnd" << 5 << "10";
    QTest::newRow("digits") << "txtNoKeta" << 6 << "3";
}

void TestMainWindow::aBadNumberResetsItsOwnField()
{
    QFETCH(QString, emptied);
    QFETCH(int, message);
    QFETCH(QString, reset);
    const QMap<QString, QString> texts{{"txtNoStart", "7"}, {"txtNoEnd", "42"}, {"txtNoKeta", "4"}};
    field("txtFolder")->setText(QStringLiteral("/tmp"));
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        field(qPrintable(it.key()))->setText(it.key() == emptied ? QString() : it.value());
    QTest::mouseClick(child<QPushButton>("cmdCreateDelete0"), Qt::LeftButton);
    QCOMPARE(m_prompter->numbers(), QList<int>{message});
    // That field alone gets its default; the others keep what was typed.
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        QCOMPARE(field(qPrintable(it.key()))->text(), it.key() == emptied ? reset : it.value());
    QCOMPARE(field("txtFolder")->text(), QStringLiteral("/tmp"));
}

void TestMainWindow::ctrlCCopiesOnlyWithSelection()
{
    QLineEdit* folder = field("txtFolder");
    field("txtNoStart")->clear();
    const QString path = QDir::toNativeSeparators(QStringLiteral("/tmp/abc"));
    folder->setText(path);
    folder->setFocus();
    folder->selectAll();
    QTest::keyClick(folder, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), path);
    QVERIFY(m_prompter->shown.isEmpty());
    folder->deselect();
    QTest::keyClick(folder, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(m_prompter->numbers(), QList<int>{4}); // the menu's 作成 ran its checks
}

void TestMainWindow::exitButtonCloses()
{
    QVERIFY(m_window->isVisible());
    QTest::mouseClick(child<QPushButton>("cmdExit"), Qt::LeftButton);
    QVERIFY(!m_window->isVisible());
}

void TestMainWindow::freshStartWritesDefaults()
{
    QFile file(paths().settingsFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray expected = " 1 \r\n 0 \r\n 0 \r\n 0 \r\n 1 \r\n" +
                                paths().tempFolder.toUtf8() + "\r\n1\r\n10\r\n3\r\n\r\n\r\n";
    QCOMPARE(file.readAll(), expected);
    QCOMPARE(field("txtFolder")->text(), paths().tempFolder);
    QVERIFY(m_prompter->shown.isEmpty());
}

void TestMainWindow::fieldsAndOptionsSurviveARestart()
{
    field("txtFolder")->setText(QStringLiteral("/srv/jobs"));
    field("txtNoStart")->setText(QStringLiteral("7"));
    field("txtPrefixConst")->setText(QStringLiteral("ケース"));
    m_options->setCheckedIndex(Options::Create, 1);
    QVERIFY(m_window->close()); // both save options are on: the exit writes the file

    Options options;
    TestServices services(m_fs, options, *m_prompter);
    MainWindow again(services.services(), paths());
    QCOMPARE(again.fieldTexts().folder, QStringLiteral("/srv/jobs"));
    QCOMPARE(again.fieldTexts().noStart, QStringLiteral("7"));
    QCOMPARE(again.fieldTexts().prefix, QStringLiteral("ケース"));
    QVERIFY(options.confirmExisting());
    QVERIFY(m_prompter->shown.isEmpty());

    // With the field values not to be kept, the exit writes nothing at all.
    options.setSaveFieldValues(0);
    again.findChild<QLineEdit*>("txtNoStart")->setText(QStringLiteral("9"));
    QVERIFY(again.close());
    Options third;
    TestServices thirdServices(m_fs, third, *m_prompter);
    MainWindow last(thirdServices.services(), paths());
    QCOMPARE(last.fieldTexts().noStart, QStringLiteral("7"));
}

void TestMainWindow::oddValuesFromTheSettingsFile()
{
    // Long values are kept whole, or judged by their value; refused characters go with a
    // message as if typed.
    const QString longPrefix(40000, QLatin1Char('p'));
    QFile file(paths().settingsFile);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(" 1 \r\n 0 \r\n 0 \r\n 0 \r\n 1 \r\n/srv\r\n123456\r\n0000000042\r\n 2 \r\n" +
               longPrefix.toLatin1() + "\r\na/b\r\n");
    file.close();
    Options options;
    m_prompter->clear();
    TestServices services(m_fs, options, *m_prompter);
    MainWindow window(services.services(), paths());
    const SeriesFieldTexts t = window.fieldTexts();
    QCOMPARE(t.noStart, QStringLiteral("99999"));
    QCOMPARE(t.noEnd, QStringLiteral("42"));
    QCOMPARE(t.noKeta, QStringLiteral("2"));
    QCOMPARE(t.prefix, longPrefix);
    QCOMPARE(t.suffix, QStringLiteral("ab"));
    QCOMPARE(m_prompter->numbers(), QList<int>{2});
}

void TestMainWindow::settingsMenuShowsTheDialogModally()
{
    QString shown;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        shown = modal ? modal->objectName() : QString();
        if (modal)
            modal->close(); // the title-bar close hides it like OK
    });
    m_window->findChild<QAction*>("mnuFileSetting")->trigger();
    QCOMPARE(shown, QStringLiteral("frmSetting"));
    QVERIFY(!m_window->settingsDialog()->isVisible());
}

void TestMainWindow::unwritableSettingsSayWhy()
{
    // A settings path below a plain file cannot be written, even by root.
    QFile blocker(m_settings.filePath(QStringLiteral("blocker")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Options options;
    m_prompter->clear();
    TestServices services(m_fs, options, *m_prompter);
    MainWindow window(services.services(), {blocker.fileName() + QStringLiteral("/SetNMaker.cf"),
                                            paths().tempFolder, paths().preferencesFile});
    QCOMPARE(m_prompter->numbers(), QList<int>{0}); // the recovery's save failed
    QCOMPARE(window.fieldTexts().noEnd, QStringLiteral("10"));
    QVERIFY(window.close()); // the program goes on, and says so again at exit
    QCOMPARE(m_prompter->numbers(), (QList<int>{0, 0}));
}

void TestMainWindow::menuKeysReachTheMenuFromAField_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<bool>("fieldKeepsIt");
    QTest::addColumn<bool>("withTyping"); // something selected, something to undo
    const QKeySequence e(Qt::CTRL | Qt::Key_E), d(Qt::CTRL | Qt::Key_D), o(Qt::CTRL | Qt::Key_O);
    // On Linux a field takes Ctrl+E for "end of line" and Ctrl+D for "delete".
    QTest::newRow("export from the target field") << "txtFolder" << e << false << false;
    QTest::newRow("delete from a number field") << "txtNoStart" << d << false << false;
    QTest::newRow("browse from the prefix") << "txtPrefixConst" << o << false << false;
    QTest::newRow("paste stays the field's")
        << "txtFolder" << QKeySequence(QKeySequence::Paste) << true << false;
    QTest::newRow("copy with a selection")
        << "txtFolder" << QKeySequence(QKeySequence::Copy) << true << true;
    QTest::newRow("copy without one")
        << "txtFolder" << QKeySequence(QKeySequence::Copy) << false << false;
    QTest::newRow("undo with typing")
        << "txtSuffixConst" << QKeySequence(QKeySequence::Undo) << true << true;
    QTest::newRow("undo without") << "txtSuffixConst" << QKeySequence(QKeySequence::Undo) << false
                                  << false;
}

void TestMainWindow::menuKeysReachTheMenuFromAField()
{
    QFETCH(QString, field);
    QFETCH(QKeySequence, key);
    QFETCH(bool, fieldKeepsIt);
    QFETCH(bool, withTyping);
    QLineEdit* box = m_window->findChild<QLineEdit*>(field);
    box->setFocus();
    if (withTyping) {
        QTest::keyClicks(box, "x");
        box->selectAll();
    }
    const QKeyCombination k = key[0];
    QKeyEvent override(QEvent::ShortcutOverride, k.key(), k.keyboardModifiers());
    QApplication::sendEvent(box, &override);
    QCOMPARE(override.isAccepted(), fieldKeepsIt);
}

void TestMainWindow::templateItemsStandBeforeTheSettings()
{
    QStringList items;
    for (const QAction* a : child<QMenu>("mnuFile")->actions())
        items << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    QCOMPARE(items, (QStringList{"mnuFileOpen",
                                 "-",
                                 "mnuFileListShow",
                                 "mnuFileListSeries",
                                 "mnuFileListImport",
                                 "mnuFileListExport0",
                                 "mnuFileListExport1",
                                 "-",
                                 "mnuFileTemplate",
                                 "mnuFileTemplateFoldersOnly",
                                 "mnuFileTemplateClear",
                                 "-",
                                 "mnuFileSetting",
                                 "-",
                                 "mnuFileCreateDelete0",
                                 "mnuFileCreateDelete1",
                                 "mnuFileUndo",
                                 "mnuFileReport",
                                 "-",
                                 "mnuFileExit"}));
    // The access keys are the menu's own.
    QSet<int> keys;
    for (const QAction* a : child<QMenu>("mnuFile")->actions()) {
        const QKeySequence key = QKeySequence::mnemonic(a->text());
        QVERIFY2(key.isEmpty() || !keys.contains(key[0].toCombined()), qPrintable(a->text()));
        if (!key.isEmpty())
            keys.insert(key[0].toCombined());
    }
    QCOMPARE(keys.size(), 3);
    QVERIFY(item("mnuFileTemplateFoldersOnly")->isCheckable());
    QVERIFY(!item("mnuFileTemplateClear")->isEnabled()); // nothing to clear yet
}

void TestMainWindow::templateBrowseStartsAt_data()
{
    QTest::addColumn<QString>("chosenBefore"); // the template already set
    QTest::addColumn<QString>("target");
    QTest::addColumn<BrowseRoot>("root");
    QTest::addColumn<QString>("start");
    QTest::newRow("at the template") << "C:\\tpl"
                                     << "C:\\work" << BrowseRoot::Folder << "C:\\tpl";
    QTest::newRow("template gone: at the target") << "C:\\gone"
                                                  << "C:\\work" << BrowseRoot::Folder << "C:\\work";
    QTest::newRow("none: at the target") << ""
                                         << "C:\\work" << BrowseRoot::Folder << "C:\\work";
    QTest::newRow("neither there: the top") << ""
                                            << "C:\\nowhere" << BrowseRoot::Desktop << "";
}

// The folder browser of フォルダ選択, only folders, starting where the template likely is.
void TestMainWindow::templateBrowseStartsAt()
{
    m_prompter->clear(); // what the settings file of an earlier test made it say
    QFETCH(QString, chosenBefore);
    QFETCH(QString, target);
    QFETCH(BrowseRoot, root);
    QFETCH(QString, start);
    m_fs.addFolder("C:\\tpl");
    m_fs.addFolder("C:\\work");
    m_window->setFolderTemplate({chosenBefore, false});
    field("txtFolder")->setText(target);
    m_services->folders.answers << QString(); // cancelled
    item("mnuFileTemplate")->trigger();
    QCOMPARE(m_services->folders.asked.size(), 1);
    const FolderChoice asked = m_services->folders.asked.front();
    QCOMPARE(asked.root, root);
    QCOMPARE(asked.folder, start);
    QVERIFY(asked.flags & BrowseFlag::RealFolderOnly);
    QCOMPARE(m_options->folderTemplate().folder, chosenBefore); // a cancel changes nothing
    QVERIFY(m_prompter->shown.isEmpty());
}

void TestMainWindow::templateItemsSetAndClear()
{
    m_prompter->clear(); // what the settings file of an earlier test made it say
    const QString folder = QDir::toNativeSeparators(m_settings.filePath("tpl"));
    m_services->folders.answers << folder;
    item("mnuFileTemplate")->trigger();
    QCOMPARE(m_options->folderTemplate(), (FolderTemplate{folder, false}));
    QCOMPARE(templateLine(*m_window), TemplateText::statusLine(folder, false));
    QVERIFY(item("mnuFileTemplateClear")->isEnabled());
    QCOMPARE(Preferences(paths().preferencesFile).folderTemplate(),
             (FolderTemplate{folder, false}));

    item("mnuFileTemplateFoldersOnly")->trigger();
    QVERIFY(item("mnuFileTemplateFoldersOnly")->isChecked());
    QCOMPARE(m_options->folderTemplate(), (FolderTemplate{folder, true}));
    QCOMPARE(templateLine(*m_window), TemplateText::statusLine(folder, true));

    // The folder goes, folders only stays for the next one.
    item("mnuFileTemplateClear")->trigger();
    QCOMPARE(m_options->folderTemplate(), (FolderTemplate{QString(), true}));
    QVERIFY(!m_window->findChild<QStatusBar*>());
    QCOMPARE(templateLine(*m_window), QString());
    QVERIFY(!item("mnuFileTemplateClear")->isEnabled());
    QVERIFY(item("mnuFileTemplateFoldersOnly")->isChecked());
    QCOMPARE(Preferences(paths().preferencesFile).folderTemplate(),
             (FolderTemplate{QString(), true}));
    QVERIFY(m_prompter->shown.isEmpty());
}

void TestMainWindow::templateItemsFollowTheBusyState_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("none") << QString();
    QTest::newRow("set") << "C:\\tpl";
}

void TestMainWindow::templateItemsFollowTheBusyState()
{
    QFETCH(QString, folder);
    m_window->setFolderTemplate({folder, false});
    const char* names[] = {"mnuFileTemplate", "mnuFileTemplateFoldersOnly", "mnuFileTemplateClear"};
    m_window->enterBusyState();
    for (const char* name : names)
        QVERIFY2(!item(name)->isEnabled(), name);
    m_window->leaveBusyState();
    QVERIFY(item("mnuFileTemplate")->isEnabled());
    QVERIFY(item("mnuFileTemplateFoldersOnly")->isEnabled());
    QCOMPARE(item("mnuFileTemplateClear")->isEnabled(), !folder.isEmpty());
}

// The line goes below everything: no control moves, the window only grows by the line, and a
// long path is cut in its middle rather than widening the window.
void TestMainWindow::templateLineMovesNoControl()
{
    const QList<QRect> before = controlPlaces();
    const QSize size = m_window->size();
    const QString folder =
        QDir::toNativeSeparators(m_settings.filePath(QString(40, u'長') + "/tpl"));
    m_window->setFolderTemplate({folder, true});
    auto* bar = m_window->findChild<QStatusBar*>();
    auto* line = m_window->findChild<QLabel*>("lblTemplate");
    QVERIFY(bar && line);
    QTRY_VERIFY(line->isVisible());
    QCOMPARE(controlPlaces(), before);
    QTRY_COMPARE(m_window->size(), QSize(size.width(), size.height() + bar->height()));
    QVERIFY(bar->geometry().top() > m_window->centralWidget()->geometry().bottom());
    QVERIFY(m_window->rect().contains(bar->geometry()));
    QVERIFY(bar->rect().contains(line->geometry()));
    // Whole on screen where it fits, cut in the middle where it does not; said whole.
    QVERIFY(line->sizeHint().width() <= line->width());
    QVERIFY(line->fontMetrics().height() <= line->height() + 2);
    QVERIFY(line->text().startsWith("テンプレート: "));
    QVERIFY(line->text().endsWith("tpl (フォルダのみ)"));
    QVERIFY(line->text().contains(QChar(0x2026)));
    QCOMPARE(line->toolTip(), TemplateText::statusLine(folder, true));
    // Its text starts under the controls' left edge.
    QCOMPARE(line->mapTo(m_window, line->contentsRect().topLeft()).x(),
             child<QLabel>("Label10")->mapTo(m_window, QPoint(0, 0)).x());

    m_window->setFolderTemplate({QString(), true});
    QTRY_COMPARE(m_window->size(), size);
    QCOMPARE(controlPlaces(), before);
}

void TestMainWindow::templateReadAtStart_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("foldersOnly");
    // Not there at all: shown all the same, the run says why it cannot use it.
    const QString missing = QDir::toNativeSeparators(QDir::rootPath() + "no/such/tpl");
    const QByteArray folder = "[template]\nfolder=" + missing.toUtf8() + "\n";
    QTest::newRow("none") << QByteArray() << QString() << false;
    QTest::newRow("a folder that is not there")
        << folder << TemplateText::statusLine(missing, false) << false;
    QTest::newRow("folders only") << folder + "foldersOnly=true\n"
                                  << TemplateText::statusLine(missing, true) << true;
    QTest::newRow("relative: none")
        << QByteArray("[template]\nfolder=tpl\nfoldersOnly=true\n") << QString() << true;
}

void TestMainWindow::templateReadAtStart()
{
    m_prompter->clear(); // what the settings file of an earlier test made it say
    QFETCH(QByteArray, bytes);
    QFETCH(QString, line);
    QFETCH(bool, foldersOnly);
    QVERIFY(putBytes(paths().preferencesFile, bytes));
    QFile::remove(paths().settingsFile); // a fresh start, which says nothing itself
    Options options;
    TestServices services(m_fs, options, *m_prompter);
    MainWindow window(services.services(), paths());
    QCOMPARE(templateLine(window), line);
    QCOMPARE(options.folderTemplate().isSet(), !line.isEmpty());
    QCOMPARE(options.folderTemplate().foldersOnly, foldersOnly);
    QCOMPARE(window.findChild<QAction*>("mnuFileTemplateClear")->isEnabled(), !line.isEmpty());
    QCOMPARE(window.findChild<QAction*>("mnuFileTemplateFoldersOnly")->isChecked(), foldersOnly);
    QVERIFY(m_prompter->shown.isEmpty());
}

// The list window's choice and the template live in one file; neither write loses the other.
void TestMainWindow::oneFileForTheListAndTheTemplate()
{
    m_prompter->clear(); // what the settings file of an earlier test made it say
    const FolderTemplate chosen{QDir::toNativeSeparators(m_settings.filePath("tpl")), false};
    QCOMPARE(&m_window->preferences(), &m_window->preferences());
    m_window->lists().setExtendedSyntax(true);
    m_window->setFolderTemplate(chosen);
    m_window->lists().setExtendedSyntax(false);
    m_window->lists().setExtendedSyntax(true);
    const Preferences read(paths().preferencesFile);
    QVERIFY(read.extendedListSyntax());
    QCOMPARE(read.folderTemplate(), chosen);
    QVERIFY(m_window->preferences().extendedListSyntax());
    QVERIFY(m_prompter->shown.isEmpty());
}

void TestMainWindow::unwritablePreferencesSayWhy()
{
    const QString blocker = m_settings.filePath("blocker");
    QVERIFY(putBytes(blocker, "x"));
    const QString file = blocker + "/preferences.ini";
    Options options;
    TestServices services(m_fs, options, *m_prompter);
    MainWindow window(services.services(), {paths().settingsFile, paths().tempFolder, file});
    m_prompter->clear();
    window.setFolderTemplate({QStringLiteral("C:\\tpl"), false});
    QCOMPARE(m_prompter->shown.size(), 1);
    QCOMPARE(m_prompter->shown.front().text, TemplateText::notSaved(file));
    // It holds for this run all the same.
    QCOMPARE(options.folderTemplate().folder, QStringLiteral("C:\\tpl"));
    QCOMPARE(templateLine(window), TemplateText::statusLine("C:\\tpl", false));
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
