#include "fileops/DialogProgress.h"

#include <QElapsedTimer>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>

class TestProgressDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void texts();
    void cancelledStaysCancelled_data();
    void cancelledStaysCancelled();
    void cancelButtonReachedDuringRun();
    void repaintsAreThrottled();
};

void TestProgressDialog::texts()
{
    DialogProgress progress;
    progress.start(QStringLiteral("ごみ箱に移動しています..."), 10);
    QProgressDialog* dialog = progress.dialog();
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("NMaker"));
    QCOMPARE(dialog->labelText(), QStringLiteral("ごみ箱に移動しています..."));
    const auto buttons = dialog->findChildren<QPushButton*>();
    QCOMPARE(buttons.size(), 1);
    QCOMPARE(buttons.front()->text(), QStringLiteral("キャンセル"));
    progress.finish();
    QVERIFY(!progress.dialog());
}

void TestProgressDialog::cancelledStaysCancelled_data()
{
    QTest::addColumn<qsizetype>("total");
    QTest::newRow("small") << qsizetype(3);
    QTest::newRow("beyond an int") << qsizetype(5'000'000'000);
}

void TestProgressDialog::cancelledStaysCancelled()
{
    QFETCH(qsizetype, total);
    DialogProgress progress;
    progress.start(QStringLiteral("x"), total);
    QVERIFY(progress.advance(1));
    progress.dialog()->cancel();
    QVERIFY(!progress.advance(2));
    QVERIFY(!progress.advance(total));
    progress.finish();
    // A new run starts uncancelled.
    progress.start(QStringLiteral("y"), total);
    QVERIFY(progress.advance(1));
    progress.finish();
}

void TestProgressDialog::cancelButtonReachedDuringRun()
{
    // Core keeps the thread; the click must still get through the dialog's own event handling.
    DialogProgress progress;
    progress.start(QStringLiteral("x"), 1'000'000);
    QTimer::singleShot(0, progress.dialog(),
                       [&progress] { progress.dialog()->findChild<QPushButton*>()->click(); });
    QElapsedTimer clock;
    clock.start();
    qsizetype done = 0;
    while (progress.advance(++done) && clock.elapsed() < 10'000)
        QThread::usleep(200);
    QVERIFY2(clock.elapsed() < 10'000, "the cancel button was never seen");
    progress.finish();
}

void TestProgressDialog::repaintsAreThrottled()
{
    DialogProgress progress;
    progress.start(QStringLiteral("x"), 100'000);
    int updates = 0;
    connect(progress.dialog()->findChild<QProgressBar*>(), &QProgressBar::valueChanged,
            [&updates] { ++updates; });
    QElapsedTimer clock;
    clock.start();
    for (qsizetype i = 1; i <= 100'000; ++i)
        QVERIFY(progress.advance(i));
    const qint64 bound = clock.elapsed() / DialogProgress::UpdateIntervalMs + 2;
    QVERIFY2(updates <= bound, qPrintable(QString::number(updates)));
    QCOMPARE(progress.dialog()->value(), 100'000);
    progress.finish();
}

QTEST_MAIN(TestProgressDialog)
#include "test_progress_dialog.moc"
