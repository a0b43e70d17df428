// Every text the program shows in Japanese, byte for byte as it is: each window's captions,
// tooltips, menus, headings and accessible names, the numbered message catalogue and the
// terminal's usage, against tests/data/texts_ja.txt. Whatever carries these texts (a
// translation system with Japanese as its source), none of them may change by accident.
// NMAKER_WRITE_TEXTS=FILE writes the texts as they are now, for a change that is meant.
#include "AllWindows.h"
#include "ArgumentParser.h"
#include "Version.h"
#include "i18n/Language.h"
#include "messages/MessageCatalogue.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>

namespace
{

// A text as one line: what would break the file's lines is written out.
QString line(const QString& text)
{
    QString s = text;
    s.replace(u'\\', QLatin1String("\\\\")).replace(u'\n', QLatin1String("\\n"));
    return s.replace(u'\r', QLatin1String("\\r")).replace(u'\t', QLatin1String("\\t"));
}

void add(QStringList& out, const QString& where, const char* what, const QString& text)
{
    if (!text.isEmpty())
        out << where + u' ' + QLatin1String(what) + u'=' + line(text);
}

QString nameOf(const QObject* o)
{
    QString name = o->objectName();
    if (name.isEmpty())
        name = QLatin1String(o->metaObject()->className());
    return name;
}

QString pathOf(const QObject* o, const QObject* top)
{
    QStringList parts;
    for (; o && o != top; o = o->parent())
        parts.prepend(nameOf(o));
    return parts.join(u'/');
}

void actionTexts(QStringList& out, const QString& where, const QAction* a)
{
    add(out, where, "text", a->text());
    add(out, where, "toolTip",
        a->toolTip() == QString(a->text()).remove(u'&') ? QString() : a->toolTip());
    add(out, where, "statusTip", a->statusTip());
    add(out, where, "whatsThis", a->whatsThis());
    add(out, where, "shortcut", a->shortcut().toString(QKeySequence::PortableText));
}

QStringList windowTexts(const QString& name, QWidget* window)
{
    QStringList out;
    add(out, name, "windowTitle", window->windowTitle());
    add(out, name, "toolTip", window->toolTip());
    const QList<QObject*> all = window->findChildren<QObject*>();
    for (const QObject* o : all) {
        const QString where = name + u'/' + pathOf(o, window);
        if (const auto* a = qobject_cast<const QAction*>(o)) {
            actionTexts(out, where, a);
            continue;
        }
        const auto* w = qobject_cast<const QWidget*>(o);
        if (!w)
            continue;
        add(out, where, "toolTip", w->toolTip());
        add(out, where, "statusTip", w->statusTip());
        add(out, where, "whatsThis", w->whatsThis());
        add(out, where, "accessibleName", w->accessibleName());
        add(out, where, "accessibleDescription", w->accessibleDescription());
        if (w->isWindow())
            add(out, where, "windowTitle", w->windowTitle());
        if (const auto* b = qobject_cast<const QAbstractButton*>(w))
            add(out, where, "text", b->text());
        if (const auto* l = qobject_cast<const QLabel*>(w))
            add(out, where, "text", l->text());
        if (const auto* e = qobject_cast<const QLineEdit*>(w))
            add(out, where, "placeholderText", e->placeholderText());
        if (const auto* g = qobject_cast<const QGroupBox*>(w))
            add(out, where, "title", g->title());
        if (const auto* m = qobject_cast<const QMenu*>(w)) {
            add(out, where, "title", m->title());
            const QList<QAction*> actions = m->actions();
            for (int i = 0; i < actions.size(); ++i)
                if (actions.at(i)->parent() != m)
                    actionTexts(out, where + u'[' + QString::number(i) + u']', actions.at(i));
        }
        if (const auto* c = qobject_cast<const QComboBox*>(w)) {
            for (int i = 0; i < c->count(); ++i)
                add(out, where + u'[' + QString::number(i) + u']', "item", c->itemText(i));
        }
        if (const auto* t = qobject_cast<const QTabWidget*>(w)) {
            for (int i = 0; i < t->count(); ++i)
                add(out, where + u'[' + QString::number(i) + u']', "tab", t->tabText(i));
        }
        if (const auto* v = qobject_cast<const QAbstractItemView*>(w); v && v->model()) {
            for (int c = 0; c < v->model()->columnCount(); ++c)
                add(out, where + u'[' + QString::number(c) + u']', "heading",
                    v->model()->headerData(c, Qt::Horizontal).toString());
        }
    }
    out.sort();
    return out;
}

QStringList catalogueTexts()
{
    QStringList out;
    for (int n = 0; n < 1000; ++n) {
        const auto m =
            catalogueMessage(n, QStringLiteral("%1"), QStringLiteral("%2"), QStringLiteral("%3"));
        if (m)
            add(out, QStringLiteral("message %1").arg(n, 3, 10, QLatin1Char('0')), "text", m->text);
    }
    return out;
}

QStringList allTexts()
{
    QStringList out;
    AllWindows windows;
    for (const QString& name : AllWindows::names())
        out << windowTexts(name, windows.window(name));
    out << catalogueTexts();
    const QStringList usage = usageText().split(u'\n');
    for (int i = 0; i < usage.size(); ++i)
        add(out, QStringLiteral("usage %1").arg(i, 3, 10, QLatin1Char('0')), "line", usage.at(i));
    // What differs from run to run or release to release is not a text of the program's.
    const QRegularExpression temp(QRegularExpression::escape(QDir::tempPath()) +
                                  QStringLiteral("/[^/\\s]+"));
    const QString version =
        QStringLiteral("%1.%2").arg(NMAKER_VERSION_MAJOR).arg(NMAKER_VERSION_MINOR);
    for (QString& s : out)
        s.replace(temp, QStringLiteral("<temp>"))
            .replace(QDir::toNativeSeparators(QDir::tempPath()), QStringLiteral("<temp>"))
            .replace(QLatin1String("Version ") + version, QStringLiteral("Version <version>"));
    return out;
}

} // namespace

class TestTextsUnchanged : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyTextAsItWas()
    {
        const QStringList now = allTexts();
        QVERIFY(now.size() > 300);
        const QByteArray written = now.join(u'\n').toUtf8() + '\n';
        if (const QString path = qEnvironmentVariable("NMAKER_WRITE_TEXTS"); !path.isEmpty()) {
            QFile out(path);
            QVERIFY(out.open(QIODevice::WriteOnly) && out.write(written) == written.size());
            QSKIP("texts written");
        }
        QFile file(QStringLiteral(NMAKER_TEXTS_FILE));
        QVERIFY2(file.open(QIODevice::ReadOnly), NMAKER_TEXTS_FILE);
        const QStringList before =
            QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
        // Named one by one, so that a change says which text it is.
        const QSet<QString> was(before.cbegin(), before.cend());
        const QSet<QString> is(now.cbegin(), now.cend());
        QStringList gone, came;
        for (const QString& s : before)
            if (!is.contains(s))
                gone << s;
        for (const QString& s : now)
            if (!was.contains(s))
                came << s;
        QVERIFY2(gone.isEmpty() && came.isEmpty(),
                 qPrintable(QStringLiteral("\nno longer:\n  ") +
                            gone.mid(0, 20).join(QLatin1String("\n  ")) +
                            QStringLiteral("\nnew:\n  ") +
                            came.mid(0, 20).join(QLatin1String("\n  "))));
    }

    // With the English translation loaded no Japanese is left, but in what is the user's own
    // (the test's folder and reason) and the name of the Japanese choice itself.
    void everyTextInEnglish()
    {
        QVERIFY(installLanguage(Language::English));
        const QRegularExpression japanese(
            QStringLiteral("[\\x{3000}-\\x{30ff}\\x{4e00}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
        QStringList left;
        for (QString s : allTexts()) {
            s.remove(QStringLiteral("テンプレート"))
                .remove(QStringLiteral("使用中"))
                .remove(QStringLiteral("日本語"));
            if (s.contains(japanese))
                left << s;
        }
        QVERIFY2(left.isEmpty(), qPrintable(u'\n' + left.join(u'\n')));
    }
};

QTEST_MAIN(TestTextsUnchanged)
#include "test_texts_unchanged.moc"
