#include "common/BusyState.h"
#include "common/WindowRunContext.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QWidget>

// The busy state and the cancel protocol on a bare window of their own, so each of the places
// that set or clear a request is pinned by itself.
class TestBusyState : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void enterAndLeave();
    void cancelIsConsumedOnce();
    void staleRequestDoesNotStopTheNextRun();
    void exitWhileIdleIsNoCancel();
    void closeDuringARunIsACancelThenACloseAfterIt();

private:
    QWidget* m_window = nullptr;
    QMenu* m_menu = nullptr;
    QAction* m_item = nullptr;
    QPushButton* m_run = nullptr;
    QPushButton* m_exit = nullptr;
    BusyState* m_busy = nullptr;
};

void TestBusyState::init()
{
    m_window = new QWidget;
    m_menu = new QMenu(QStringLiteral("実行(&R)"), m_window);
    m_item = m_menu->addAction(QStringLiteral("作成"));
    m_run = new QPushButton(QStringLiteral("作成"), m_window);
    m_exit = new QPushButton(QStringLiteral("閉じる"), m_window);
    m_busy = new BusyState({m_window,
                            {m_menu},
                            {m_run},
                            m_exit,
                            QStringLiteral("閉じる"),
                            QStringLiteral("閉じるの説明")});
}

void TestBusyState::cleanup()
{
    delete m_busy;
    delete m_window;
}

void TestBusyState::enterAndLeave()
{
    m_busy->enter();
    QVERIFY(m_busy->isBusy());
    QCOMPARE(m_window->cursor().shape(), Qt::WaitCursor);
    QVERIFY(!m_menu->menuAction()->isEnabled());
    QVERIFY(!m_item->isEnabled()); // its shortcut too
    QVERIFY(!m_run->isEnabled());
    QCOMPARE(m_exit->text(), QStringLiteral("ｷｬﾝｾﾙ"));
    QCOMPARE(m_exit->toolTip(), QStringLiteral("処理を中断します"));
    QCOMPARE(tagOf(m_exit), cancelTag);

    m_busy->leave();
    QVERIFY(!m_busy->isBusy());
    QCOMPARE(m_window->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(m_menu->menuAction()->isEnabled() && m_item->isEnabled() && m_run->isEnabled());
    QCOMPARE(m_exit->text(), QStringLiteral("閉じる"));
    QCOMPARE(m_exit->toolTip(), QStringLiteral("閉じるの説明"));
    QCOMPARE(tagOf(m_exit), QString());
}

void TestBusyState::cancelIsConsumedOnce()
{
    WindowRunContext context(m_window, m_exit);
    m_busy->enter();
    int notices = 0;
    QVERIFY(m_busy->requestCancel([&] { ++notices; }));
    QCOMPARE(notices, 1);
    QCOMPARE(tagOf(m_window), cancelTag);
    // Reading the request clears both marks: the run stops once, not at every later step.
    QVERIFY(context.isCancelRequested());
    QCOMPARE(tagOf(m_window), QString());
    QCOMPARE(tagOf(m_exit), QString());
    QVERIFY(!context.isCancelRequested());
    QVERIFY(!context.nextStep());
}

void TestBusyState::staleRequestDoesNotStopTheNextRun()
{
    // Pressed during the last step: the run ended without reading it.
    WindowRunContext context(m_window, m_exit);
    m_busy->enter();
    QVERIFY(m_busy->requestCancel({}));
    m_busy->leave();
    QCOMPARE(tagOf(m_window), cancelTag);

    m_busy->enter();
    QVERIFY(!context.nextStep());
}

void TestBusyState::exitWhileIdleIsNoCancel()
{
    bool noticed = false;
    QVERIFY(!m_busy->requestCancel([&] { noticed = true; }));
    QVERIFY(!noticed);
    QCOMPARE(tagOf(m_window), QString());
}

void TestBusyState::closeDuringARunIsACancelThenACloseAfterIt()
{
    QCloseEvent idleClose;
    QVERIFY(!m_busy->holdClose(&idleClose));
    QVERIFY(!m_busy->takeCloseAfterRun());

    WindowRunContext context(m_window, m_exit);
    m_busy->enter();
    QCloseEvent close;
    QVERIFY(m_busy->holdClose(&close));
    QVERIFY(!close.isAccepted());
    QVERIFY(context.isCancelRequested());
    m_busy->leave();
    QVERIFY(m_busy->takeCloseAfterRun());
    QVERIFY(!m_busy->takeCloseAfterRun());
}

QTEST_MAIN(TestBusyState)
#include "test_busy_state.moc"
