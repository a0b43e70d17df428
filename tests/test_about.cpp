#include "ScriptedPrompter.h"
#include "TestHelpers.h"
#include "about/AboutDialog.h"
#include "about/HelpCommands.h"
#include "common/AppIcon.h"
#include "i18n/Language.h"

#include "Version.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>

#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <functional>

class TestAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void texts_data();
    void texts();
    void layout();
    void closingKeys_data();
    void closingKeys();
    void freshForEachShowing();
    void openManual_data();
    void openManual();

private:
    // Shows the dialog through showModal, runs `whileShown` on it and returns the result of
    // the showing; -1 when the dialog had to be closed for the test.
    static int whileShowing(QWidget* parent, const std::function<void(AboutDialog*)>& whileShown);
};

int TestAbout::whileShowing(QWidget* parent, const std::function<void(AboutDialog*)>& whileShown)
{
    QTimer::singleShot(0, [whileShown] {
        auto* dialog = qobject_cast<AboutDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        QPointer<AboutDialog> guard(dialog);
        whileShown(dialog);
        if (guard && guard->isVisible())
            guard->done(-1);
    });
    return AboutDialog::showModal(parent);
}

void TestAbout::texts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text"); // the start of it for the notice
    QTest::addColumn<QString>("tooltip");

    // Major and minor of the project's version, the patch level left out.
    const QString version =
        "Version " + QString::fromLatin1(NMAKER_VERSION_STRING).section(QLatin1Char('.'), 0, 1);
    const char* rows[][3] = {{"frmAbout", "ﾊﾞｰｼﾞｮﾝ情報 NMaker", ""},
                             {"lblTitle", "Nestmaker", "ソフトの名前です"},
                             {"lblVersion", "", "バージョン番号です"},
                             {"lblDescription",
                              "このアプリは、任意の連番付きの名前でフォルダを作成します",
                              "ｱﾌﾟﾘｹｰｼｮﾝの説明です"},
                             {"lblDisclaimer", "警告:  ", "著作権です"},
                             {"cmdOK", "OK", "このダイアログを閉じます"}};
    for (const auto& r : rows)
        QTest::newRow(r[0]) << r[0] << (*r[1] ? QString::fromUtf8(r[1]) : version) << r[2];
}

void TestAbout::texts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, tooltip);
    AboutDialog dialog;
    QWidget* w = name == dialog.objectName() ? &dialog : dialog.findChild<QWidget*>(name);
    QVERIFY(w);
    QString shown = w->windowTitle();
    if (auto* label = qobject_cast<QLabel*>(w))
        shown = label->text();
    else if (auto* button = qobject_cast<QPushButton*>(w))
        shown = button->text();
    if (name == "lblDisclaimer")
        QVERIFY(shown.startsWith(text) && shown.size() > text.size() + 10);
    else
        QCOMPARE(shown, text);
    QCOMPARE(w->toolTip(), tooltip);
}

void TestAbout::layout()
{
    AboutDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.size(), QSize(300, 150));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    auto at = [&](const char* name) { return childOf<QWidget>(&dialog, name)->geometry(); };

    // Nothing clipped: wrapped labels get the height their width needs, the others their hint.
    for (QLabel* l : dialog.findChildren<QLabel*>()) {
        const QByteArray name = l->objectName().toLatin1();
        QVERIFY2(l->wordWrap() ? l->heightForWidth(l->width()) <= l->height()
                               : l->sizeHint().boundedTo(l->size()) == l->sizeHint(),
                 name.constData());
    }
    auto* title = childOf<QLabel>(&dialog, "lblTitle");
    QVERIFY(title->font().pointSize() == 18 && title->font().bold());

    // Inside the dialog and apart from each other, except the two lines of the separator.
    const char* names[] = {"picIcon",       "lblTitle", "lblVersion", "lblDescription",
                           "lblDisclaimer", "cmdOK",    "Line10",     "Line11"};
    for (size_t i = 0; i < std::size(names); ++i) {
        QVERIFY2(dialog.rect().contains(at(names[i])), names[i]);
        for (size_t j = i + 1; j < 6; ++j)
            QVERIFY2(!at(names[i]).intersects(at(names[j])), names[j]);
    }

    auto* icon = childOf<QLabel>(&dialog, "picIcon");
    QCOMPARE(icon->geometry(), QRect(8, 8, 48, 48));
    QVERIFY(!icon->pixmap().isNull());
    QCOMPARE(appIcon().availableSizes().size(), 8);
    QVERIFY(at("lblVersion").right() > dialog.width() - 16 && at("lblVersion").top() < 16);

    // An etched separator: a grey and a white line at one height across the dialog, below
    // the description and above the notice.
    QCOMPARE(at("Line10").top(), at("Line11").top());
    QVERIFY(childOf<QWidget>(&dialog, "Line10")->palette().color(QPalette::Window) !=
            childOf<QWidget>(&dialog, "Line11")->palette().color(QPalette::Window));
    QVERIFY(at("Line10").width() >= dialog.width() * 9 / 10);
    QVERIFY(at("Line10").top() > at("lblDescription").bottom());
    QVERIFY(at("Line11").bottom() < at("lblDisclaimer").top());

    QVERIFY(at("lblDisclaimer").right() < at("cmdOK").left());
    QVERIFY(at("cmdOK").bottom() > dialog.height() - 16 &&
            at("cmdOK").right() > dialog.width() - 16);
}

void TestAbout::closingKeys_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
    QTest::newRow("OK clicked") << 0;
    QTest::newRow("close box") << 1;
}

void TestAbout::closingKeys()
{
    QFETCH(int, how);
    bool wasDefault = false;
    const int result = whileShowing(nullptr, [&](AboutDialog* dialog) {
        auto* ok = childOf<QPushButton>(dialog, "cmdOK");
        wasDefault = ok->isDefault();
        if (how == 0)
            QTest::mouseClick(ok, Qt::LeftButton);
        else if (how == 1)
            dialog->close();
        else
            QTest::keyClick(dialog, Qt::Key(how));
    });
    QVERIFY(wasDefault);
    // Every way out is the OK button's.
    QCOMPARE(result, int(QDialog::Accepted));
}

void TestAbout::freshForEachShowing()
{
    // A change to one showing's dialog must not survive into the next; each is gone after.
    QWidget owner;
    QList<QPointer<AboutDialog>> seen;
    QStringList titles;
    for (int showing = 0; showing < 2; ++showing) {
        whileShowing(&owner, [&](AboutDialog* dialog) {
            seen << dialog;
            auto* title = childOf<QLabel>(dialog, "lblTitle");
            titles << title->text() + (dialog->parentWidget() == &owner ? "" : " unowned");
            title->setText("changed");
            dialog->accept();
        });
    }
    QCOMPARE(titles, QStringList({"Nestmaker", "Nestmaker"}));
    QVERIFY(seen.size() == 2 && seen[0].isNull() && seen[1].isNull());
}

void TestAbout::openManual_data()
{
    QTest::addColumn<QString>("present"); // "", "file" or "folder"
    QTest::addColumn<bool>("openerWorks");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<bool>("message");
    QTest::addColumn<bool>("english");

    QTest::newRow("absent") << "" << true << false << true << false;
    QTest::newRow("a folder of that name") << "folder" << true << false << true << false;
    QTest::newRow("present, no launcher") << "file" << false << true << true << false;
    QTest::newRow("present, launcher started") << "file" << true << true << false << false;
    QTest::newRow("English: its own manual") << "file" << true << true << false << true;
    QTest::newRow("English: the Japanese one is not taken for it")
        << "file-ja" << true << false << true << true;
}

void TestAbout::openManual()
{
    QFETCH(QString, present);
    QFETCH(bool, openerWorks);
    QFETCH(bool, opened);
    QFETCH(bool, message);
    QFETCH(bool, english);
    QVERIFY(installLanguage(english ? Language::English : Language::Japanese));
    const auto japaneseAgain = qScopeGuard([] { installLanguage(Language::Japanese); });

    // A blank and Japanese in the path: the URL must still name the file.
    QTemporaryDir tmp;
    const QString folder = tmp.filePath("プログラム フォルダ");
    QVERIFY(QDir().mkpath(folder));
    const QString manual = folder + (english ? "/NMAKER_INDEX_en.htm" : "/NMAKER_INDEX.htm");
    if (present == "file")
        QVERIFY(putBytes(manual, "<html></html>"));
    else if (present == "file-ja")
        QVERIFY(putBytes(folder + "/NMAKER_INDEX.htm", "<html></html>"));
    else if (present == "folder")
        QVERIFY(QDir().mkpath(manual));

    ScriptedPrompter prompter;
    QList<QUrl> asked;
    ::openManual(prompter, QDir::toNativeSeparators(folder), [&](const QUrl& url) {
        asked << url;
        return openerWorks;
    });

    QCOMPARE(asked, opened ? QList<QUrl>{QUrl::fromLocalFile(manual)} : QList<QUrl>{});
    QCOMPARE(prompter.numbers(), message ? QList<int>{22} : QList<int>{});
    // The box drops the insert's leading backslash.
    if (message && !english)
        QVERIFY(prompter.shown[0].text.startsWith("マニュアル(NMAKER_INDEX.htm)がありません。"));
    if (message && english)
        QVERIFY2(prompter.shown[0].text.contains("(NMAKER_INDEX_en.htm)") &&
                     !prompter.shown[0].text.contains("マニュアル"),
                 qPrintable(prompter.shown[0].text));
}

QTEST_MAIN(TestAbout)
#include "test_about.moc"
