#include "settings/Options.h"
#include "settings/SettingsDialog.h"
#include "settings/SettingsHost.h"
#include "settings/WrapButton.h"

#include "TestHelpers.h"
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include <QTest>
#include <QTimer>

namespace
{

QList<int> optionValues(const Options& o)
{
    return {o.useSavedSettings(), o.checkedIndex(Options::FolderName),
            o.checkedIndex(Options::Create), o.checkedIndex(Options::Delete), o.saveFieldValues()};
}

void setOptions(Options& o, const QList<int>& v)
{
    o.setUseSavedSettings(v[0]);
    o.setCheckedIndex(Options::FolderName, v[1]);
    o.setCheckedIndex(Options::Create, v[2]);
    o.setCheckedIndex(Options::Delete, v[3]);
    o.setSaveFieldValues(v[4]);
}

QStringList fieldList(const SeriesFieldTexts& f)
{
    return {f.folder, f.noStart, f.noEnd, f.noKeta, f.prefix, f.suffix};
}

// The main window as the dialog sees it: six fields and a settings file that records saves.
class FakeHost : public SettingsHost
{
public:
    explicit FakeHost(Options& options) : m_options(options) {}

    SeriesFieldTexts fieldTexts() const override { return fields; }
    void setFieldTexts(const SeriesFieldTexts& texts) override { fields = texts; }
    void saveSettings() override
    {
        savedOptions << optionValues(m_options);
        savedFields << fieldList(fields);
    }
    void resetSettings() override
    {
        m_options.setDefaults();
        fields = {"/tmp/", "1", "10", "3", "", ""};
    }

    std::optional<Language> savedLanguage() const override { return language; }
    void saveLanguage(Language chosen) override { languagesSaved << chosen; }

    SeriesFieldTexts fields{"/work/", "5", "20", "4", "pre", "suf"};
    std::optional<Language> language;
    QList<Language> languagesSaved;
    QList<QList<int>> savedOptions;
    QList<QStringList> savedFields;

private:
    Options& m_options;
};

} // namespace

class TestSettingsDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void captionsAndTooltips_data();
    void captionsAndTooltips();
    void layoutFitsAndNothingIsClipped();
    void tabOrder();
    void showsTheOptionsAndFollowsThem();
    void clickChangesTheOptionAtOnce_data();
    void clickChangesTheOptionAtOnce();
    void okWithoutChangesWritesNothing();
    void saveThenChangeThenUndo();
    void defaultThenCancel();
    void keys_data();
    void keys();
    void titleBarCloseActsAsOk();
    void useSavedGreysSaveFields();
    void snapshotIsRetakenAtEachShowing();
    void execReturnsWhenHidden();
    void languageForTheNextStart();

private:
    template <class T> T* child(const char* name) { return childOf<T>(m_dialog, name); }
    QPushButton* button(const char* name) { return child<QPushButton>(name); }
    void showDialog()
    {
        m_dialog->show();
        QApplication::setActiveWindow(m_dialog);
        QVERIFY(QTest::qWaitForWindowActive(m_dialog));
    }

    Options* m_options = nullptr;
    FakeHost* m_host = nullptr;
    SettingsDialog* m_dialog = nullptr;
};

void TestSettingsDialog::init()
{
    m_options = new Options;
    m_host = new FakeHost(*m_options);
    m_dialog = new SettingsDialog(*m_options, *m_host);
}

void TestSettingsDialog::cleanup()
{
    delete m_dialog;
    delete m_host;
    delete m_options;
}

void TestSettingsDialog::captionsAndTooltips_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<int>("points");

    auto row = [](const char* name, const char* caption, const char* tip, int points = 11) {
        QTest::newRow(name) << QString(name) << QString(caption) << QString(tip) << points;
    };
    row("fraSetFolderName", "フォルダ名の設定", "作成するフォルダ名の連番部分の設定");
    row("optSetFolderName0", "連番部分を\"0\"で埋める", "例）001、002～020、021");
    row("optSetFolderName1", "連番部分を\"0\"で埋めない", "例）1、2～20、21");
    row("fraSetCreate", "作成時の設定", "フォルダを作成する時の設定");
    row("optSetCreate0", "同名フォルダがある時無視する",
        "既に同名フォルダがある時確認ダイアログを出さずに無視する");
    row("optSetCreate1", "確認ダイアログを出す", "既に同名フォルダがある時確認ダイアログを出す");
    row("fraSetDelete", "削除時の設定", "作成したフォルダを削除する時の設定");
    row("optSetDelete0", "中身のあるフォルダを削除しない",
        "フォルダの中にファイルがある時は削除せずに残す");
    row("optSetDelete1", "中身のあるフォルダも削除する",
        "フォルダの中にファイルがある時も削除する");
    row("fraSetSetting", "設定の保存", "この設定の扱いの設定");
    row("chkSetSetting1", "保存した設定を起動時に使う", "保存した設定を次回起動時に使う");
    row("chkSetSetting2", "各値を初期値として保存する",
        "各項目(開始番号、終了番号など)も初期値として保存する");
    row("cmdOK", "O\u3000K", "操作を反映する");
    row("cmdCancel", "キャンセル", "操作をキャンセルする");
    row("cmdSave", "保存", "現在の設定を保存する");
    row("cmdDefault", "初期値に戻して保存する", "設定を初期値に戻して保存する", 9);
    row("cmdUndo", "元に戻す", "変更したものを元に戻す");
}

void TestSettingsDialog::captionsAndTooltips()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, tooltip);
    QFETCH(int, points);

    QWidget* w = m_dialog->findChild<QWidget*>(name);
    QVERIFY(w);
    if (auto* frame = qobject_cast<QGroupBox*>(w))
        QCOMPARE(frame->title(), caption);
    else
        QCOMPARE(qobject_cast<QAbstractButton*>(w)->text(), caption);
    QCOMPARE(w->toolTip(), tooltip);
    QCOMPARE(w->font().pointSize(), points);
}

void TestSettingsDialog::layoutFitsAndNothingIsClipped()
{
    QCOMPARE(m_dialog->objectName(), QStringLiteral("frmSetting"));
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("設定ダイアログ"));
    QCOMPARE(m_dialog->size(), QSize(356, 357)); // 5340 x 4905 twips and the language row
    QCOMPARE(m_dialog->minimumSize(), m_dialog->maximumSize());
    QVERIFY(button("cmdOK")->isDefault());

    for (QGroupBox* frame : m_dialog->findChildren<QGroupBox*>()) {
        QCOMPARE(frame->size(), QSize(257, 73));
        QVERIFY(m_dialog->rect().contains(frame->geometry()));
        QVERIFY(frame->fontMetrics().horizontalAdvance(frame->title()) + 16 <= frame->width());
        for (QAbstractButton* b : frame->findChildren<QAbstractButton*>()) {
            QVERIFY2(frame->rect().contains(b->geometry()), qPrintable(b->objectName()));
            QVERIFY2(b->sizeHint().width() <= b->width(), qPrintable(b->objectName()));
            QVERIFY2(b->fontMetrics().height() <= b->height() + 2, qPrintable(b->objectName()));
        }
    }
    const QList<QPushButton*> buttons = m_dialog->findChildren<QPushButton*>();
    QCOMPARE(buttons.size(), 5);
    for (QPushButton* b : buttons) {
        QCOMPARE(b->size(), QSize(78, 32));
        QVERIFY2(m_dialog->rect().contains(b->geometry()), qPrintable(b->objectName()));
        if (auto* wrap = qobject_cast<WrapButton*>(b)) {
            const QStringList lines = wrap->wrappedLines();
            QCOMPARE(lines.join(QString()), b->text());
            QVERIFY(lines.size() * wrap->lineStep() <= wrap->captionRect().height() + 4);
            for (const QString& line : lines)
                QVERIFY2(b->fontMetrics().horizontalAdvance(line) <= wrap->captionRect().width(),
                         qPrintable(line));
        } else {
            QVERIFY2(b->fontMetrics().horizontalAdvance(b->text()) <= b->width() - 2,
                     qPrintable(b->objectName()));
        }
    }
    // The indented check box starts under the text of the one above it.
    QVERIFY(child<QCheckBox>("chkSetSetting2")->x() > child<QCheckBox>("chkSetSetting1")->x());
}

void TestSettingsDialog::tabOrder()
{
    showDialog();
    const char* order[] = {"optSetFolderName0", "optSetCreate0", "optSetDelete0", "chkSetSetting1",
                           "chkSetSetting2",    "cmdOK",         "cmdCancel",     "cmdSave",
                           "cmdDefault",        "cboLanguage"};
    // Tab enters each option group at its selected button; cmdUndo is disabled when shown.
    child<QWidget>(order[0])->setFocus();
    for (size_t i = 1; i < std::size(order); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString(order[i]));
    }
}

void TestSettingsDialog::showsTheOptionsAndFollowsThem()
{
    QVERIFY(child<QRadioButton>("optSetFolderName0")->isChecked());
    QVERIFY(child<QRadioButton>("optSetCreate0")->isChecked());
    QVERIFY(child<QRadioButton>("optSetDelete0")->isChecked());
    QVERIFY(child<QCheckBox>("chkSetSetting1")->isChecked());
    QVERIFY(child<QCheckBox>("chkSetSetting2")->isChecked());
    QVERIFY(child<QCheckBox>("chkSetSetting2")->isEnabled());

    // Loading or resetting changes the options behind the dialog's back.
    setOptions(*m_options, {0, 1, 1, 0, 0});
    QVERIFY(child<QRadioButton>("optSetFolderName1")->isChecked());
    QVERIFY(child<QRadioButton>("optSetCreate1")->isChecked());
    QVERIFY(child<QRadioButton>("optSetDelete0")->isChecked());
    QVERIFY(!child<QCheckBox>("chkSetSetting1")->isChecked());
    QVERIFY(!child<QCheckBox>("chkSetSetting2")->isChecked());
    QVERIFY(!child<QCheckBox>("chkSetSetting2")->isEnabled());
    m_options->setDefaults();
    QVERIFY(child<QRadioButton>("optSetFolderName0")->isChecked());
    QVERIFY(child<QCheckBox>("chkSetSetting2")->isEnabled());
}

void TestSettingsDialog::clickChangesTheOptionAtOnce_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<int>>("options");

    QTest::newRow("folder name 1") << "optSetFolderName1" << QList<int>{1, 1, 0, 0, 1};
    QTest::newRow("create 1") << "optSetCreate1" << QList<int>{1, 0, 1, 0, 1};
    QTest::newRow("delete 1") << "optSetDelete1" << QList<int>{1, 0, 0, 1, 1};
    QTest::newRow("use saved off") << "chkSetSetting1" << QList<int>{0, 0, 0, 0, 1};
    QTest::newRow("save fields off") << "chkSetSetting2" << QList<int>{1, 0, 0, 0, 0};
    // Clicking the selected button changes nothing, but counts as a click.
    QTest::newRow("folder name 0 again") << "optSetFolderName0" << QList<int>{1, 0, 0, 0, 1};
}

void TestSettingsDialog::clickChangesTheOptionAtOnce()
{
    QFETCH(QString, name);
    QFETCH(QList<int>, options);

    showDialog();
    QVERIFY(!button("cmdUndo")->isEnabled());
    QTest::mouseClick(m_dialog->findChild<QAbstractButton*>(name), Qt::LeftButton);
    QCOMPARE(optionValues(*m_options), options);
    QVERIFY(button("cmdUndo")->isEnabled());
    QVERIFY(m_dialog->isVisible());
    QVERIFY(m_host->savedOptions.isEmpty());
}

void TestSettingsDialog::okWithoutChangesWritesNothing()
{
    showDialog();
    button("cmdOK")->click();
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
    QVERIFY(!button("cmdUndo")->isEnabled());
    QVERIFY(m_host->savedOptions.isEmpty());
    QCOMPARE(optionValues(*m_options), QList<int>({1, 0, 0, 0, 1}));
}

void TestSettingsDialog::saveThenChangeThenUndo()
{
    showDialog();
    child<QRadioButton>("optSetCreate1")->click();
    button("cmdSave")->click();
    QVERIFY(!button("cmdUndo")->isEnabled());
    QCOMPARE(m_host->savedOptions, QList<QList<int>>({{1, 0, 1, 0, 1}}));

    child<QRadioButton>("optSetDelete1")->click();
    m_host->fields.prefix = "changed";
    QVERIFY(button("cmdUndo")->isEnabled());
    button("cmdUndo")->click();

    // Both changes are undone, the saved one too; the file is not written again.
    QCOMPARE(optionValues(*m_options), QList<int>({1, 0, 0, 0, 1}));
    QVERIFY(child<QRadioButton>("optSetCreate0")->isChecked());
    QVERIFY(child<QRadioButton>("optSetDelete0")->isChecked());
    QCOMPARE(m_host->fields.prefix, QStringLiteral("pre"));
    QVERIFY(!button("cmdUndo")->isEnabled());
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(m_host->savedOptions.size(), 1);
}

void TestSettingsDialog::defaultThenCancel()
{
    setOptions(*m_options, {1, 1, 1, 1, 0});
    const QStringList shownFields = fieldList(m_host->fields);
    showDialog();

    button("cmdDefault")->click();
    QCOMPARE(optionValues(*m_options), QList<int>({1, 0, 0, 0, 1}));
    QCOMPARE(fieldList(m_host->fields), QStringList({"/tmp/", "1", "10", "3", "", ""}));
    QCOMPARE(m_host->savedOptions, QList<QList<int>>({{1, 0, 0, 0, 1}}));
    QCOMPARE(m_host->savedFields.last(), fieldList(m_host->fields));
    QVERIFY(!button("cmdUndo")->isEnabled());
    QVERIFY(m_dialog->isVisible());

    button("cmdCancel")->click();
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(optionValues(*m_options), QList<int>({1, 1, 1, 1, 0}));
    QCOMPARE(fieldList(m_host->fields), shownFields);
    // The file is written again, with the state the dialog was shown with.
    QCOMPARE(m_host->savedOptions.size(), 2);
    QCOMPARE(m_host->savedOptions.last(), QList<int>({1, 1, 1, 1, 0}));
    QCOMPARE(m_host->savedFields.last(), shownFields);
    QVERIFY(!button("cmdUndo")->isEnabled());
}

void TestSettingsDialog::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("restored");

    QTest::newRow("escape on an option") << int(Qt::Key_Escape) << "optSetDelete1" << true;
    QTest::newRow("escape on save") << int(Qt::Key_Escape) << "cmdSave" << true;
    QTest::newRow("enter on an option") << int(Qt::Key_Return) << "optSetDelete1" << false;
    QTest::newRow("keypad enter on a check box") << int(Qt::Key_Enter) << "chkSetSetting2" << false;
}

void TestSettingsDialog::keys()
{
    QFETCH(int, key);
    QFETCH(QString, focus);
    QFETCH(bool, restored);

    showDialog();
    child<QRadioButton>("optSetDelete1")->click();
    QWidget* target = m_dialog->findChild<QWidget*>(focus);
    target->setFocus();
    QTest::keyClick(target, Qt::Key(key));

    QVERIFY(!m_dialog->isVisible());
    if (restored) {
        QCOMPARE(optionValues(*m_options), QList<int>({1, 0, 0, 0, 1}));
        QCOMPARE(m_host->savedOptions, QList<QList<int>>({{1, 0, 0, 0, 1}}));
    } else {
        QCOMPARE(optionValues(*m_options), QList<int>({1, 0, 0, 1, 1}));
        QVERIFY(m_host->savedOptions.isEmpty());
    }
}

void TestSettingsDialog::titleBarCloseActsAsOk()
{
    showDialog();
    child<QRadioButton>("optSetFolderName1")->click();
    QVERIFY(m_dialog->close());
    QVERIFY(!m_dialog->isVisible());
    QVERIFY(!m_options->zeroFill());
    QVERIFY(m_host->savedOptions.isEmpty());
    QVERIFY(!button("cmdUndo")->isEnabled());
    // Still loaded: it can be shown again.
    showDialog();
    QVERIFY(child<QRadioButton>("optSetFolderName1")->isChecked());
}

void TestSettingsDialog::useSavedGreysSaveFields()
{
    showDialog();
    auto* use = child<QCheckBox>("chkSetSetting1");
    auto* save = child<QCheckBox>("chkSetSetting2");
    QTest::mouseClick(use, Qt::LeftButton);
    QVERIFY(!save->isEnabled());
    QVERIFY(save->isChecked());
    QCOMPARE(m_options->saveFieldValues(), 1);

    QTest::mouseClick(use, Qt::LeftButton);
    QVERIFY(save->isEnabled());
    QVERIFY(save->isChecked());

    QTest::mouseClick(use, Qt::LeftButton);
    button("cmdUndo")->click();
    QVERIFY(use->isChecked());
    QVERIFY(save->isEnabled());
}

void TestSettingsDialog::snapshotIsRetakenAtEachShowing()
{
    showDialog();
    child<QRadioButton>("optSetCreate1")->click();
    button("cmdOK")->click();

    m_host->fields.noStart = "7";
    showDialog();
    QVERIFY(!button("cmdUndo")->isEnabled());
    child<QRadioButton>("optSetFolderName1")->click();
    m_host->fields.noStart = "8";
    button("cmdUndo")->click();
    QCOMPARE(optionValues(*m_options), QList<int>({1, 0, 1, 0, 1}));
    QCOMPARE(m_host->fields.noStart, QStringLiteral("7"));
}

void TestSettingsDialog::execReturnsWhenHidden()
{
    QTimer::singleShot(0, m_dialog, [this] { button("cmdOK")->click(); });
    QCOMPARE(m_dialog->exec(), int(QDialog::Accepted));
    QTimer::singleShot(0, m_dialog, [this] { QTest::keyClick(m_dialog, Qt::Key_Escape); });
    QCOMPARE(m_dialog->exec(), int(QDialog::Rejected));
    QCOMPARE(m_host->savedOptions.size(), 1);
    QTimer::singleShot(0, m_dialog, [this] { m_dialog->close(); });
    QCOMPARE(m_dialog->exec(), int(QDialog::Accepted));
}

// The language shown is the one kept (else the one running); a choice is kept at once, for the
// next start, and neither Cancel nor the defaults take it back.
void TestSettingsDialog::languageForTheNextStart()
{
    auto* box = child<QComboBox>("cboLanguage");
    QCOMPARE(box->currentText(), QStringLiteral("日本語")); // nothing kept, Japanese running
    delete m_dialog;
    m_host->language = Language::English;
    m_dialog = new SettingsDialog(*m_options, *m_host);
    box = child<QComboBox>("cboLanguage");
    QCOMPARE(box->currentText(), QStringLiteral("English"));

    showDialog();
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Up);
    QCOMPARE(m_host->languagesSaved, QList<Language>{Language::Japanese});
    button("cmdDefault")->click();
    button("cmdCancel")->click();
    QCOMPARE(m_host->languagesSaved, QList<Language>{Language::Japanese});
    QCOMPARE(box->currentText(), QStringLiteral("日本語"));
}

QTEST_MAIN(TestSettingsDialog)
#include "test_settings_dialog.moc"
