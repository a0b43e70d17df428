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

namespace
{

// The length of the well-formed UTF-8 sequence at `p` (no overlong forms, no surrogates,
// nothing past U+10FFFF), or 0.
int sequenceAt(const unsigned char* p, qsizetype left, char32_t& c)
{
    const unsigned char b = p[0];
    if (b < 0x80) {
        c = b;
        return 1;
    }
    int n = b >= 0xF0 && b <= 0xF4 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 && b < 0xE0 ? 2 : 0;
    if (n == 0 || left < n)
        return 0;
    c = b & (0x7F >> n);
    for (int i = 1; i < n; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (p[i] & 0x3F);
    }
    if ((n == 3 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) ||
        (n == 4 && (c < 0x10000 || c > 0x10FFFF)))
        return 0;
    return n;
}

} // namespace

QString nameOfBytes(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    for (qsizetype i = 0; i < bytes.size();) {
        char32_t c = 0;
        const int n = sequenceAt(p + i, bytes.size() - i, c);
        if (n == 0) {
            out += QChar(char16_t(0xDC00 | p[i]));
            ++i;
            continue;
        }
        if (c >= 0x10000) {
            out += QChar(QChar::highSurrogate(c));
            out += QChar(QChar::lowSurrogate(c));
        } else {
            out += QChar(char16_t(c));
        }
        i += n;
    }
    return out;
}

QByteArray nameBytes(QStringView name)
{
    QByteArray out;
    out.reserve(name.size() * 3);
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t u = name.at(i).unicode();
        if (u >= 0xDC80 && u <= 0xDCFF && !(i > 0 && name.at(i - 1).isHighSurrogate())) {
            out += char(u & 0xFF);
            continue;
        }
        const qsizetype n =
            QChar::isHighSurrogate(u) && i + 1 < name.size() && name.at(i + 1).isLowSurrogate() ? 2
                                                                                                : 1;
        out += name.mid(i, n).toUtf8();
        i += n - 1;
    }
    return out;
}
