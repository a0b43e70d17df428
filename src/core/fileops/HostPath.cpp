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
    if (!path.startsWith(QLatin1Char('/')))
        return {};
    // Nearly every path has nothing to resolve: one look at each character tells, since this
    // runs for every folder of a run.
    const char16_t* c = reinterpret_cast<const char16_t*>(path.constData());
    const qsizetype n = path.size();
    bool plain = n == 1 || c[n - 1] != u'/';
    for (qsizetype i = 0; i < n; ++i) {
        if (c[i] == 0)
            return {};
        if (c[i] == u'/' && i + 1 < n && (c[i + 1] == u'.' || c[i + 1] == u'/'))
            plain = false;
    }
    if (plain)
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

bool plainHostBytes(const QString& path, QByteArray& bytes)
{
    // Absolute, nothing to resolve, and ASCII: the path is its host path, and its bytes are
    // its characters. One look at each character, since this runs for every folder of a run.
    const char16_t* c = reinterpret_cast<const char16_t*>(path.constData());
    const qsizetype n = path.size();
    if (n < 2 || c[0] != u'/' || c[n - 1] == u'/')
        return false;
    bytes.resize(n);
    char* o = bytes.data();
    char16_t before = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ch = c[i];
        if (ch >= 0x80 || ch == 0 || (before == u'/' && (ch == u'.' || ch == u'/')))
            return false;
        o[i] = char(ch);
        before = ch;
    }
    return true;
}

QByteArray hostBytes(const QString& path)
{
    // Mostly ASCII, which every file-name encoding writes as it is: no converter needed.
    const char16_t* c = reinterpret_cast<const char16_t*>(path.constData());
    const qsizetype n = path.size();
    QByteArray out(n, Qt::Uninitialized);
    char* o = out.data();
    for (qsizetype i = 0; i < n; ++i) {
        if (c[i] >= 0x80)
            return QFile::encodeName(path);
        o[i] = char(c[i]);
    }
    return out;
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
