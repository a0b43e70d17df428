#include "ScriptedPrompter.h"
#include "messages/MessageCatalogue.h"
#include "messages/QtPrompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestMessages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void styles_data();
    void styles();
    void unusualCharacters_data();
    void unusualCharacters();
    void emptyInsertJoinsNeighbours();
    void missingFoldersListOnePerLine();
    void numbersWithoutEntry_data();
    void numbersWithoutEntry();
    void realBox_data();
    void realBox();
    void longListsStayOnScreen();
};

void TestMessages::styles_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("style");
    const int table[][2] = {{0, 16},  {2, 48},  {3, 48},  {4, 16},  {5, 16},  {6, 16},
                            {7, 16},  {8, 36},  {10, 64}, {12, 64}, {13, 34}, {14, 64},
                            {15, 48}, {16, 64}, {17, 64}, {18, 64}, {19, 64}, {20, 64},
                            {21, 64}, {22, 48}, {23, 35}, {24, 64}, {25, 64}, {26, 35}};
    for (const auto& row : table)
        QTest::addRow("%d", row[0]) << row[0] << row[1];
}

void TestMessages::styles()
{
    QFETCH(int, number);
    QFETCH(int, style);
    const auto m = catalogueMessage(number);
    QVERIFY(m);
    QCOMPARE(m->style, style);
    QVERIFY(!m->text.isEmpty());
}

void TestMessages::unusualCharacters_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QStringList>("inserts");
    QTest::addColumn<QString>("expected");

    QTest::newRow("13 ends in a half-width stop and a blank")
        << 13 << QStringList{"C:\\w\\case005"}
        << QStringLiteral(
               u"フォルダC:\\w\\case005が、\r\n"
               u"既にあるので作成できません。以降のフォルダを作成しますか？\r\n"
               u"「中止」なら処理を止めます。「再試行」なら次のフォルダの作成を続けます。\r\n"
               u"「無視」なら次から確認ダイアログを出さずに処理を続けます\uFF61 ");
    QTest::newRow("22 drops the backslash")
        << 22 << QStringList{"\\NMAKER_INDEX.htm"}
        << QStringLiteral(u"マニュアル(NMAKER_INDEX.htm)がありません。\r\n"
                          u"このソフトと同じフォルダにマニュアルを置いて下さい。");
    QTest::newRow("23 quotes the drive")
        << 23 << QStringList{"X:\\"}
        << QStringLiteral(u"リストの\u2019X:\\\u2019ドライブが存在しません。\r\n"
                          u"このダイアログを出さずに処理続ける時は、「はい」を。\r\n"
                          u"リストの次へ進む時は、「いいえ」を。\r\n"
                          u"処理を止める時は、「キャンセル」を押して下さい。");
    QTest::newRow("8 full-width question mark")
        << 8 << QStringList{}
        << QStringLiteral(
               u"指定されたフォルダ作成先フォルダは存在しません。\r\nフォルダを作成しますか\uFF1F");
    QTest::newRow("19 three inserts")
        << 19 << QStringList{"a\r\n", "5", "b\r\n"}
        << QStringLiteral(u"展開できなかったものは、\r\na\r\nでした。"
                          u"また、最大桁数(5桁)よりも大きいものは、"
                          u"\r\nb\r\nでした。修正してやり直して下さい。");
    QTest::newRow("inserts are verbatim")
        << 2 << QStringList{" %1 \x01 "} << QStringLiteral(u"フォルダ名に %1 \x01 は、使えません");
}

void TestMessages::unusualCharacters()
{
    QFETCH(int, number);
    QFETCH(QStringList, inserts);
    QFETCH(QString, expected);
    inserts.resize(3);
    const auto m = catalogueMessage(number, inserts[0], inserts[1], inserts[2]);
    QVERIFY(m);
    QCOMPARE(m->text, expected);
}

void TestMessages::emptyInsertJoinsNeighbours()
{
    QCOMPARE(catalogueMessage(2)->text, QStringLiteral("フォルダ名には、使えません"));
}

void TestMessages::missingFoldersListOnePerLine()
{
    ScriptedPrompter prompter;
    const int answer = prompter.showMessage(17, QStringLiteral("C:\\a\r\nC:\\b\r\n"));
    QCOMPARE(prompter.shown.size(), 1);
    QCOMPARE(prompter.shown[0].text.split(QStringLiteral("\r\n")),
             (QStringList{"削除しようとしたフォルダ", "C:\\a", "C:\\b", "が存在しませんでした"}));
    QCOMPARE(prompter.shown[0].number, 17);
    QCOMPARE(prompter.shown[0].style, 64);
    QCOMPARE(answer, Answer::Ok);
}

void TestMessages::numbersWithoutEntry_data()
{
    QTest::addColumn<int>("number");
    for (int n : {-1, 1, 9, 11, 27, 1000})
        QTest::addRow("%d", n) << n;
}

void TestMessages::numbersWithoutEntry()
{
    QFETCH(int, number);
    QVERIFY(!catalogueMessage(number));
    ScriptedPrompter prompter;
    // Nothing shown means no button was pressed.
    QCOMPARE(prompter.showMessage(number, QStringLiteral("x")), Answer::None);
    QVERIFY(prompter.shown.isEmpty());
}

// Through a real QMessageBox: the buttons read as on a Japanese Windows box, and keys work.
void TestMessages::realBox_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("answer");

    const int esc = Qt::Key_Escape;
    QTest::newRow("ok, escape") << 18 << QStringList{"OK"} << int(QMessageBox::Information) << esc
                                << Answer::Ok;
    QTest::newRow("error icon") << 4 << QStringList{"OK"} << int(QMessageBox::Critical)
                                << int(Qt::Key_Return) << Answer::Ok;
    QTest::newRow("warning icon") << 3 << QStringList{"OK"} << int(QMessageBox::Warning)
                                  << int(Qt::Key_Return) << Answer::Ok;
    QTest::newRow("yes/no/cancel, escape")
        << 23 << QStringList{"はい(&Y)", "いいえ(&N)", "キャンセル"} << int(QMessageBox::Question)
        << esc << Answer::Cancel;
    QTest::newRow("yes/no/cancel, N") << 26 << QStringList{"はい(&Y)", "いいえ(&N)", "キャンセル"}
                                      << int(QMessageBox::Question) << int(Qt::Key_N) << Answer::No;
    QTest::newRow("yes/no, enter is yes")
        << 8 << QStringList{"はい(&Y)", "いいえ(&N)"} << int(QMessageBox::Question)
        << int(Qt::Key_Return) << Answer::Yes;
    QTest::newRow("abort/retry/ignore, R")
        << 13 << QStringList{"中止(&A)", "再試行(&R)", "無視(&I)"} << int(QMessageBox::Question)
        << int(Qt::Key_R) << Answer::Retry;
    QTest::newRow("yes/no ignores escape") << 8 << QStringList{"はい(&Y)", "いいえ(&N)"}
                                           << int(QMessageBox::Question) << esc << Answer::No;
    QTest::newRow("abort/retry/ignore ignores escape")
        << 13 << QStringList{"中止(&A)", "再試行(&R)", "無視(&I)"} << int(QMessageBox::Question)
        << esc << Answer::Ignore;
    QTest::newRow("abort/retry/ignore, I")
        << 13 << QStringList{"中止(&A)", "再試行(&R)", "無視(&I)"} << int(QMessageBox::Question)
        << int(Qt::Key_I) << Answer::Ignore;
}

void TestMessages::realBox()
{
    QFETCH(int, number);
    QFETCH(QStringList, buttons);
    QFETCH(int, icon);
    QFETCH(int, key);
    QFETCH(int, answer);

    QtPrompter prompter;
    QStringList seen;
    int seenIcon = -1;
    QString title;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        title = box->windowTitle();
        seenIcon = box->icon();
        for (QAbstractButton* b : box->buttons())
            seen << b->text();
        QTest::keyClick(box, Qt::Key(key));
        // A letter presses its button with a short animation.
        for (int i = 0; i < 50 && QApplication::activeModalWidget() == box; ++i)
            QTest::qWait(10);
        // A key the box ignores leaves it open: then press its last button.
        if (QApplication::activeModalWidget() == box) {
            for (QAbstractButton* b : box->buttons()) {
                if (b->text() == buttons.last())
                    b->click();
            }
        }
    });
    const int got = prompter.showMessage(number, QStringLiteral("X:\\"));
    QCOMPARE(title, QStringLiteral("NMaker"));
    QCOMPARE(seenIcon, icon);
    QCOMPARE(seen, buttons);
    QCOMPARE(got, answer);
}

void TestMessages::longListsStayOnScreen()
{
    QString missing;
    for (int n = 0; n < 5000; ++n)
        missing += QStringLiteral("/w/case%1\r\n").arg(n);
    QtPrompter prompter;
    QString shown, details;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        shown = box->text();
        details = box->detailedText();
        QVERIFY(box->sizeHint().height() < 1000);
        box->buttons().first()->click();
    });
    QCOMPARE(prompter.showMessage(17, missing), Answer::Ok);
    const QStringList lines = shown.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), QtPrompter::MaxShownLines);
    QCOMPARE(lines.first(), QStringLiteral("削除しようとしたフォルダ"));
    QCOMPARE(lines.last(), QStringLiteral("が存在しませんでした"));
    QCOMPARE(lines.at(lines.size() - 2), QStringLiteral("/w/case4999"));
    QCOMPARE(
        details,
        catalogueMessage(17, missing)->text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

QTEST_MAIN(TestMessages)
#include "test_messages.moc"
