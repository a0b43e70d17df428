// The windows on a high-DPI screen: run at several scale factors (QT_SCALE_FACTOR, set by the
// test's registration), each window is drawn at that scale, keeps its layout, cuts no caption
// and lies whole on the screen; in Japanese and, with NMAKER_LANG=en, in English.
#include "AllWindows.h"
#include "common/OnScreen.h"
#include "i18n/Language.h"
#include "settings/WrapButton.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>

#include <memory>

namespace
{

QString text(const QRect& r)
{
    return QStringLiteral("%1x%2%3%4%5%6")
        .arg(r.width())
        .arg(r.height())
        .arg(r.x() < 0 ? "" : "+")
        .arg(r.x())
        .arg(r.y() < 0 ? "" : "+")
        .arg(r.y());
}

} // namespace

class TestHighDpi : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void placedInside_data();
    void placedInside();
    void windowsKeepTheirLayout_data();
    void windowsKeepTheirLayout();

private:
    std::unique_ptr<AllWindows> m_windows;
};

void TestHighDpi::initTestCase()
{
    // Run in English too (NMAKER_LANG=en): its captions are longer.
    installLanguage(chooseLanguage({}, qEnvironmentVariable("NMAKER_LANG")));
    m_windows = std::make_unique<AllWindows>();
}

void TestHighDpi::cleanupTestCase()
{
    m_windows.reset();
}

void TestHighDpi::placedInside_data()
{
    QTest::addColumn<QRect>("window");
    QTest::addColumn<QRect>("placed");
    const QRect area(0, 30, 640, 420); // a panel along the top
    QTest::newRow("inside stays") << QRect(10, 40, 300, 200) << QRect(10, 40, 300, 200);
    QTest::newRow("below the bottom") << QRect(180, 227, 402, 256) << QRect(180, 194, 402, 256);
    QTest::newRow("beyond the right") << QRect(500, 40, 300, 200) << QRect(340, 40, 300, 200);
    QTest::newRow("under the panel") << QRect(-20, 0, 300, 200) << QRect(0, 30, 300, 200);
    QTest::newRow("larger than the screen") << QRect(100, 100, 800, 500) << QRect(0, 30, 640, 420);
    QTest::newRow("on no screen") << QRect(10, 40, 300, 200) << QRect(10, 40, 300, 200);
}

void TestHighDpi::placedInside()
{
    QFETCH(QRect, window);
    QFETCH(QRect, placed);
    const bool noScreen = QByteArray(QTest::currentDataTag()) == "on no screen";
    QCOMPARE(::placedInside(window, noScreen ? QRect() : QRect(0, 30, 640, 420)), placed);
}

void TestHighDpi::windowsKeepTheirLayout_data()
{
    QTest::addColumn<QString>("name");
    for (const QString& name : AllWindows::names())
        QTest::newRow(qPrintable(name)) << name;
}

// Sizes are logical pixels, so the scale must not change them; only the pixels drawn grow.
// What can go wrong is the text: fonts are hinted at the real pixel size, so a caption measured
// at one scale can be wider at another.
void TestHighDpi::windowsKeepTheirLayout()
{
    QFETCH(QString, name);
    const qreal scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    QWidget* w = m_windows->window(name);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QCOMPARE(w->devicePixelRatio(), scale);
    QCOMPARE(w->grab().size(), w->size() * scale);
    QTRY_VERIFY2(w->screen()->availableGeometry().contains(w->frameGeometry()),
                 qPrintable(text(w->frameGeometry()) + QStringLiteral(" on ") +
                            text(w->screen()->availableGeometry())));

    for (QWidget* c : w->findChildren<QWidget*>()) {
        if (!c->isVisibleTo(w) || c->window() != w)
            continue;
        const QString where = name + u'.' + c->objectName();
        const QWidget* parent = c->parentWidget();
        // Scroll areas and menu bars move their content past their edges by design.
        if (!parent->inherits("QAbstractScrollArea") && !parent->inherits("QMenuBar") &&
            !c->inherits("QScrollBar"))
            QVERIFY2(parent->rect().contains(c->geometry()),
                     qPrintable(where + u' ' + text(c->geometry()) + QStringLiteral(" in ") +
                                text(parent->rect())));
        if (auto* label = qobject_cast<QLabel*>(c);
            label && !label->text().isEmpty() && !label->wordWrap()) {
            QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(where));
            QVERIFY2(label->fontMetrics().height() <= label->height() + 2, qPrintable(where));
        }
        // A wrapped label's lines all within its height.
        if (auto* label = qobject_cast<QLabel*>(c);
            label && !label->text().isEmpty() && label->wordWrap())
            QVERIFY2(label->heightForWidth(label->width()) <= label->height() + 2,
                     qPrintable(where + QStringLiteral(" needs %1 of %2 pixels")
                                            .arg(label->heightForWidth(label->width()))
                                            .arg(label->height())));
        if (qobject_cast<QCheckBox*>(c) || qobject_cast<QRadioButton*>(c))
            QVERIFY2(c->sizeHint().width() <= c->width(), qPrintable(where));
        if (auto* b = qobject_cast<QPushButton*>(c); b && !qobject_cast<WrapButton*>(b))
            QVERIFY2(b->fontMetrics().horizontalAdvance(b->text().remove(u'&')) <= b->width() - 2,
                     qPrintable(where));
        if (auto* b = qobject_cast<WrapButton*>(c)) {
            for (const QString& line : b->wrappedLines())
                QVERIFY2(b->fontMetrics().horizontalAdvance(line) <= b->captionRect().width(),
                         qPrintable(where));
        }
        if (auto* frame = qobject_cast<QGroupBox*>(c))
            QVERIFY2(frame->fontMetrics().horizontalAdvance(frame->title()) + 16 <= frame->width(),
                     qPrintable(where));
    }
    w->hide();
}

QTEST_MAIN(TestHighDpi)
#include "test_high_dpi.moc"
