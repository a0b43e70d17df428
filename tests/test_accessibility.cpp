// What a screen reader hears of each window, read through Qt's accessibility interface: every
// control named and described, fields labelled by their labels, every control and command
// within reach of the keyboard.
#include "AllWindows.h"
#include "common/BusyState.h"
#include "common/UpDown.h"
#include "folderlist/FolderListView.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QToolButton>

#include <memory>

#if QT_CONFIG(accessibility)

namespace
{

// A part of a Qt composite (a view's header, a combo box's list, the menu bar's extension
// button) is the composite's own business.
bool insideComposite(const QWidget* w, const QWidget* window)
{
    for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget()) {
        if (qobject_cast<const QAbstractItemView*>(p) || qobject_cast<const QComboBox*>(p) ||
            qobject_cast<const QMenuBar*>(p))
            return true;
    }
    return false;
}

// The controls of a window as a user meets them: what can be pressed, typed into, chosen or
// read. Containers without a caption and drawn lines are layout, not controls.
QList<QWidget*> controlsOf(QWidget* window)
{
    QList<QWidget*> out;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->window() != window || insideComposite(w, window) || qobject_cast<QHeaderView*>(w))
            continue;
        const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                             qobject_cast<QAbstractItemView*>(w) || qobject_cast<QComboBox*>(w) ||
                             qobject_cast<QProgressBar*>(w) || qobject_cast<UpDown*>(w) ||
                             qobject_cast<QLabel*>(w);
        auto* frame = qobject_cast<QGroupBox*>(w);
        if (control || (frame && !frame->title().isEmpty()))
            out << w;
    }
    return out;
}

// Something the user works with, as against a label or a frame that only names things.
bool isOperable(const QWidget* w)
{
    return !qobject_cast<const QLabel*>(w) && !qobject_cast<const QGroupBox*>(w) &&
           !qobject_cast<const UpDown*>(w) && !qobject_cast<const QProgressBar*>(w);
}

QAccessible::Role expectedRole(const QWidget* w)
{
    if (qobject_cast<const QCheckBox*>(w))
        return QAccessible::CheckBox;
    if (qobject_cast<const QRadioButton*>(w))
        return QAccessible::RadioButton;
    if (qobject_cast<const QAbstractButton*>(w))
        return QAccessible::Button;
    if (qobject_cast<const QLineEdit*>(w))
        return QAccessible::EditableText;
    if (auto* label = qobject_cast<const QLabel*>(w))
        return label->text().isEmpty() ? QAccessible::Graphic : QAccessible::StaticText;
    if (qobject_cast<const QGroupBox*>(w))
        return QAccessible::Grouping;
    if (w->inherits("QTreeView"))
        return QAccessible::Tree;
    if (w->inherits("QTableView"))
        return QAccessible::Table;
    if (qobject_cast<const QComboBox*>(w))
        return QAccessible::ComboBox;
    if (qobject_cast<const QProgressBar*>(w))
        return QAccessible::ProgressBar;
    return QAccessible::Client; // the spinner, a plain widget holding its two buttons
}

QString withoutMnemonic(QString caption)
{
    if (caption.endsWith(u':'))
        caption.chop(1);
    caption.remove(QRegularExpression(QStringLiteral("\\(&.\\)$")));
    caption.remove(u'&');
    return caption;
}

// Every object a screen reader reaches by walking down from the window; the rows and cells of
// a list are its own and are not walked.
void collectReachable(QAccessibleInterface* iface, QSet<QObject*>& seen, int depth = 0)
{
    if (!iface || depth > 12)
        return;
    if (QObject* o = iface->object())
        seen.insert(o);
    const QAccessible::Role role = iface->role();
    if (role == QAccessible::Table || role == QAccessible::Tree || role == QAccessible::List)
        return;
    for (int i = 0; i < iface->childCount(); ++i)
        collectReachable(iface->child(i), seen, depth + 1);
}

QString where(const QWidget* w)
{
    return w->window()->objectName() + u'.' + w->objectName();
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void controlsAreNamedAndDescribed_data();
    void controlsAreNamedAndDescribed();
    void fieldsAreLabelledByTheirLabels_data();
    void fieldsAreLabelledByTheirLabels();
    void tabReachesEveryControlInOrder_data();
    void tabReachesEveryControlInOrder();
    void menusOpenByKeyboard_data();
    void menusOpenByKeyboard();
    void namesWithoutACaption();
    void namesFollowTheBusyState();
    void listPopupOpensByKeyboard_data();
    void listPopupOpensByKeyboard();

private:
    QWidget* window(const QString& name) const { return m_windows->window(name); }
    QWidget* showOnly(const QString& name) const;
    void addWindowRows() const;

    std::unique_ptr<AllWindows> m_windows;
};

void TestAccessibility::initTestCase()
{
    m_windows = std::make_unique<AllWindows>();
}

void TestAccessibility::cleanupTestCase()
{
    m_windows.reset();
}

// Several of the windows are modal, so only one is up at a time, as in the program.
QWidget* TestAccessibility::showOnly(const QString& name) const
{
    for (const QString& other : AllWindows::names()) {
        if (other != name)
            window(other)->hide();
    }
    QWidget* w = window(name);
    w->show();
    QApplication::setActiveWindow(w);
    if (!QTest::qWaitForWindowActive(w))
        qWarning("%s did not become active", qPrintable(name));
    return w;
}

void TestAccessibility::addWindowRows() const
{
    QTest::addColumn<QString>("window");
    for (const QString& name : AllWindows::names())
        QTest::newRow(qPrintable(name)) << name;
}

void TestAccessibility::controlsAreNamedAndDescribed_data()
{
    addWindowRows();
}

// Each control: found by walking down from its window, named, described by its tooltip, in
// the role its kind has, and with the state it shows. No two controls a user operates share a
// name, or a reader could not tell them apart.
void TestAccessibility::controlsAreNamedAndDescribed()
{
    QFETCH(QString, window);
    QWidget* w = showOnly(window);
    QSet<QObject*> reachable;
    collectReachable(QAccessible::queryAccessibleInterface(w), reachable);
    QVERIFY(!QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).isEmpty());

    const QList<QWidget*> controls = controlsOf(w);
    QVERIFY(controls.size() >= 4);
    QSet<QString> operableNames;
    for (QWidget* c : controls) {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(c);
        QVERIFY2(iface && iface->isValid(), qPrintable(where(c)));
        QVERIFY2(reachable.contains(c), qPrintable(where(c)));
        const QString name = iface->text(QAccessible::Name);
        const QString description = iface->text(QAccessible::Description);
        QVERIFY2(!name.trimmed().isEmpty(), qPrintable(where(c)));
        QVERIFY2(!name.contains(u'&'), qPrintable(where(c) + u' ' + name));
        QVERIFY2(iface->role() == expectedRole(c),
                 qPrintable(where(c) + QStringLiteral(" role %1").arg(iface->role())));
        if (!c->toolTip().isEmpty())
            QVERIFY2(description == c->toolTip(), qPrintable(where(c) + u' ' + description));
        if (isOperable(c)) {
            QVERIFY2(!description.trimmed().isEmpty(), qPrintable(where(c)));
            if (c->focusPolicy() & Qt::TabFocus) {
                QVERIFY2(!operableNames.contains(name), qPrintable(where(c) + u' ' + name));
                operableNames.insert(name);
                QVERIFY2(iface->state().focusable, qPrintable(where(c)));
            }
        }
        QCOMPARE(bool(iface->state().disabled), !c->isEnabled());
        QCOMPARE(bool(iface->state().invisible), !c->isVisible());
    }
}

void TestAccessibility::fieldsAreLabelledByTheirLabels_data()
{
    addWindowRows();
}

// A field is named by the label beside it, which is its buddy: the reader says the caption
// the eye sees, and the label's mnemonic (where it has one) moves the focus to the field.
void TestAccessibility::fieldsAreLabelledByTheirLabels()
{
    QFETCH(QString, window);
    QWidget* w = showOnly(window);
    for (QWidget* c : controlsOf(w)) {
        if (!qobject_cast<QLineEdit*>(c) && !qobject_cast<QComboBox*>(c))
            continue;
        QLabel* label = nullptr;
        for (QLabel* l : w->findChildren<QLabel*>()) {
            if (l->buddy() == c)
                label = l;
        }
        QVERIFY2(label, qPrintable(where(c)));
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(c);
        // Qt names a combo box on Unix by its current choice, by design: there the reader
        // takes the caption from the label relation.
#ifdef Q_OS_UNIX
        const bool namedByChoice = qobject_cast<QComboBox*>(c) != nullptr;
#else
        const bool namedByChoice = false;
#endif
        if (!namedByChoice)
            QCOMPARE(iface->text(QAccessible::Name), withoutMnemonic(label->text()));
        QAccessibleInterface* labelIface = QAccessible::queryAccessibleInterface(label);
        bool related = false;
        for (const auto& relation : iface->relations(QAccessible::Label))
            related = related || relation.first == labelIface;
        QVERIFY2(related, qPrintable(where(c)));
        // The spinner beside a number field speaks of the same number.
        for (UpDown* spinner : w->findChildren<UpDown*>()) {
            if (spinner->toolTip() == c->toolTip())
                QCOMPARE(QAccessible::queryAccessibleInterface(spinner)->text(QAccessible::Name),
                         iface->text(QAccessible::Name));
        }
    }
}

void TestAccessibility::tabReachesEveryControlInOrder_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("frmMain") << "frmMain" << QStringList{"txtFolder",        "cmdRefer",
                                                         "txtNoStart",       "txtNoEnd",
                                                         "txtNoKeta",        "txtPrefixConst",
                                                         "txtSuffixConst",   "cmdCreateDelete0",
                                                         "cmdCreateDelete1", "cmdExit"};
    QTest::newRow("frmList") << "frmList"
                             << QStringList{"cmdCreateDelete0", "cmdCreateDelete1", "cmdExit",
                                            "ltvFolder"};
    // One stop per option group, at its chosen button; the arrow keys move within it.
    QTest::newRow("frmSetting") << "frmSetting"
                                << QStringList{"optSetFolderName0", "optSetCreate0",
                                               "optSetDelete0",     "chkSetSetting1",
                                               "chkSetSetting2",    "cmdOK",
                                               "cmdCancel",         "cmdSave",
                                               "cmdDefault",        "cboLanguage"};
    QTest::newRow("frmAbout") << "frmAbout" << QStringList{"cmdOK"};
    QTest::newRow("frmReport") << "frmReport"
                               << QStringList{"cboFilter",     "tblReport",    "cmdToList",
                                              "cmdExportList", "cmdExportCsv", "cmdClose"};
}

// Tab walks the controls in the order of the layout and comes back to the first; every
// control that takes the keyboard is on the way, or (an option button) in a group that is.
void TestAccessibility::tabReachesEveryControlInOrder()
{
    QFETCH(QString, window);
    QFETCH(QStringList, order);
    QWidget* w = showOnly(window);
    QWidget* first = w->findChild<QWidget*>(order.first());
    first->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), first);
    QStringList visited{first->objectName()};
    for (int i = 0; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, order + QStringList{order.first()});

    for (QWidget* c : controlsOf(w)) {
        if (!(c->focusPolicy() & Qt::TabFocus) || !c->isEnabled() ||
            order.contains(c->objectName()))
            continue;
        auto* option = qobject_cast<QRadioButton*>(c);
        QVERIFY2(option, qPrintable(where(c) + QStringLiteral(" is out of the keyboard's reach")));
        bool groupVisited = false;
        for (auto* other : c->parentWidget()->findChildren<QRadioButton*>())
            groupVisited = groupVisited || order.contains(other->objectName());
        QVERIFY2(groupVisited, qPrintable(where(c)));
    }
}

void TestAccessibility::menusOpenByKeyboard_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("frmMain") << "frmMain";
    QTest::newRow("frmList") << "frmList";
}

// Every command of a window is in its menus, each menu opens with Alt and its letter, and
// every item has a caption for the reader.
void TestAccessibility::menusOpenByKeyboard()
{
    QFETCH(QString, window);
    QWidget* w = showOnly(window);
    auto* bar = w->findChild<QMenuBar*>();
    QVERIFY(bar);
    QSet<QChar> letters;
    for (QAction* top : bar->actions()) {
        QMenu* menu = top->menu();
        const qsizetype amp = menu->title().indexOf(u'&');
        QVERIFY2(amp >= 0 && amp + 1 < menu->title().size(), qPrintable(menu->title()));
        const QChar letter = menu->title().at(amp + 1).toUpper();
        QVERIFY(!letters.contains(letter));
        letters.insert(letter);

        QTest::keyClick(QApplication::focusWidget(), Qt::Key(letter.unicode()), Qt::AltModifier);
        QTRY_COMPARE(QApplication::activePopupWidget(), menu);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(menu);
        QCOMPARE(iface->role(), QAccessible::PopupMenu);
        for (int i = 0; i < iface->childCount(); ++i) {
            QAccessibleInterface* item = iface->child(i);
            if (item->role() == QAccessible::Separator)
                continue;
            QCOMPARE(item->role(), QAccessible::MenuItem);
            QVERIFY(!item->text(QAccessible::Name).isEmpty());
        }
        QTest::keyClick(menu, Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());
    }
}

// The controls whose caption is no text, or a text spaced for the eye, carry a name of their
// own.
void TestAccessibility::namesWithoutACaption()
{
    auto name = [this](const char* window, const char* control) {
        QWidget* c = this->window(QString::fromLatin1(window))->findChild<QWidget*>(control);
        return QAccessible::queryAccessibleInterface(c)->text(QAccessible::Name);
    };
    // Named by what it shows, so that what a user sees is what a reader says and voice control
    // takes.
    QCOMPARE(name("frmSetting", "cmdOK"), QStringLiteral("O\u3000K"));
    QCOMPARE(name("frmList", "mnuPopup"), QStringLiteral("編集"));
    QCOMPARE(name("frmAbout", "picIcon"), QStringLiteral("NMaker のアイコン"));
    QCOMPARE(name("frmList", "ltvFolder"), QStringLiteral("フォルダ作成リスト"));
    QCOMPARE(name("frmMain", "progress"), QStringLiteral("進み具合"));
    auto* spinner = m_windows->main().findChild<UpDown*>("udNoEnd");
    const QStringList buttons{
        QAccessible::queryAccessibleInterface(spinner->findChild<QToolButton*>("up"))
            ->text(QAccessible::Name),
        QAccessible::queryAccessibleInterface(spinner->findChild<QToolButton*>("down"))
            ->text(QAccessible::Name)};
    QCOMPARE(buttons, (QStringList{QStringLiteral("1 増やす"), QStringLiteral("1 減らす")}));
}

// In a run the close button is the cancel button: the reader hears what the eye sees.
void TestAccessibility::namesFollowTheBusyState()
{
    showOnly(QStringLiteral("frmList"));
    QAccessibleInterface* exit =
        QAccessible::queryAccessibleInterface(m_windows->list().exitButton());
    QCOMPARE(exit->text(QAccessible::Name), QStringLiteral("閉じる"));
    m_windows->list().enterBusyState();
    QCOMPARE(exit->text(QAccessible::Name), BusyState::cancelCaption());
    QCOMPARE(exit->text(QAccessible::Description), BusyState::cancelTip());
    QVERIFY(QAccessible::queryAccessibleInterface(
                m_windows->list().findChild<QWidget*>("cmdCreateDelete0"))
                ->state()
                .disabled);
    m_windows->list().leaveBusyState();
    QCOMPARE(exit->text(QAccessible::Name), QStringLiteral("閉じる"));
    QCOMPARE(exit->text(QAccessible::Description), m_windows->list().exitButton()->toolTip());
}

void TestAccessibility::listPopupOpensByKeyboard_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("menu key") << int(Qt::Key_Menu) << int(Qt::NoModifier);
    QTest::newRow("shift+F10") << int(Qt::Key_F10) << int(Qt::ShiftModifier);
}

// The list's right-click menu, without a mouse: at the current row.
void TestAccessibility::listPopupOpensByKeyboard()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    showOnly(QStringLiteral("frmList"));
    QAbstractItemView* view = m_windows->list().view();
    view->setFocus();
    view->setCurrentIndex(m_windows->list().model().index(1, 0));
    auto* popup = m_windows->list().findChild<QMenu*>("mnuPopup");
    QTest::keyClick(view, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTRY_COMPARE(QApplication::activePopupWidget(), popup);
    QVERIFY(view->visualRect(view->currentIndex())
                .adjusted(-2, -2, 2, 30)
                .contains(view->viewport()->mapFromGlobal(popup->pos())));
    QTest::keyClick(popup, Qt::Key_Escape);
    QTRY_VERIFY(!QApplication::activePopupWidget());
}

#else

// Qt without accessibility (the Windows build here): nothing to read.
class TestAccessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void noAccessibility() { QSKIP("Qt was built without accessibility"); }
};

#endif

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
