#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QString>

// What the benchmarks measure against, and how they check the outcome.

inline int countFolders(const QString& path)
{
    return int(QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

// `xargs mkdir` creating case00000 … in `folder`; the seconds it took. It gets the full
// paths, as the program does: a relative name would spare the kernel the walk down the path.
inline double runMkdir(const QString& folder, int count)
{
    QString names;
    for (int n = 0; n < count; ++n)
        names += folder + QStringLiteral("/case%1\n").arg(n, 5, 10, QLatin1Char('0'));
    QProcess p;
    p.setWorkingDirectory(folder);
    QElapsedTimer t;
    t.start();
    p.start(QStringLiteral("xargs"), {QStringLiteral("mkdir")});
    p.waitForStarted();
    p.write(names.toUtf8());
    p.closeWriteChannel();
    p.waitForFinished(-1);
    return t.nsecsElapsed() / 1e9;
}

// The main window's fields for the series case00000 … case<last> in `folder`.
inline void fillSeries(QWidget& window, const QString& folder, int last)
{
    auto set = [&window](const char* name, const QString& text) {
        window.findChild<QLineEdit*>(QLatin1String(name))->setText(text);
    };
    set("txtFolder", folder);
    set("txtPrefixConst", QStringLiteral("case"));
    set("txtNoStart", QStringLiteral("0"));
    set("txtNoEnd", QString::number(last));
    set("txtNoKeta", QStringLiteral("5"));
}
