#include "HostPath.h"

#include "WindowsPaths.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_UNIX
#include <cstdlib>
#endif

#ifdef Q_OS_UNIX

QString hostPath(const QString& path)
{
    if (!path.startsWith(QLatin1Char('/')) || path.contains(QChar(u'\0')))
        return {};
    // Nearly every path has nothing to resolve.
    if (!path.contains(QLatin1String("/.")) && !path.contains(QLatin1String("//")) &&
        (path.size() == 1 || !path.endsWith(QLatin1Char('/'))))
        return path;

    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    qsizetype lastUp = -1;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (parts.at(i) == QLatin1String(".."))
            lastUp = i;
    }
    QString out;
    qsizetype from = 0;
    if (lastUp >= 0) {
        QString head;
        for (qsizetype i = 0; i <= lastUp; ++i) {
            if (parts.at(i) != QLatin1String("."))
                head += QLatin1Char('/') + parts.at(i);
        }
        char* real = ::realpath(QFile::encodeName(head).constData(), nullptr);
        if (!real)
            return {};
        out = QFile::decodeName(real);
        std::free(real);
        if (out == QLatin1String("/"))
            out.clear();
        from = lastUp + 1;
    }
    for (qsizetype i = from; i < parts.size(); ++i) {
        if (parts.at(i) != QLatin1String("."))
            out += QLatin1Char('/') + parts.at(i);
    }
    return out.isEmpty() ? QStringLiteral("/") : out;
}

#else

QString hostPath(const QString& path)
{
    return WindowsPaths::cleaned(path);
}

#endif

bool isAbsoluteHostPath(const QString& path)
{
    constexpr PathStyle host = hostPathStyle();
    if (host == PathStyle::Posix)
        return path.startsWith(QLatin1Char('/'));
    return carriesDrive(QDir::toNativeSeparators(path), host) ||
           path.startsWith(QLatin1String("\\\\"));
}

QString withoutTrailingSeparators(QString path)
{
    while (path.size() > 1 && path.endsWith(pathSeparator(hostPathStyle())))
        path.chop(1);
    return path;
}
