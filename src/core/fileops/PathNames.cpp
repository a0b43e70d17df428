#include "PathNames.h"

#include "PathStyle.h"

namespace
{

constexpr PathStyle Host = hostPathStyle();

bool isSeparator(QChar c)
{
    if (Host == PathStyle::Windows)
        return c == QLatin1Char('\\') || c == QLatin1Char('/') || c == QLatin1Char(':');
    return c == QLatin1Char('/');
}

} // namespace

QString PathNames::getFileNameA(const QString& fullPath)
{
    // The text after the last separator that has something after it, so "/a/b/" gives "b/".
    qsizetype start = 0;
    for (qsizetype i = 0; i + 1 < fullPath.size(); ++i) {
        if (isSeparator(fullPath.at(i)) && !isSeparator(fullPath.at(i + 1)))
            start = i + 1;
    }
    return fullPath.mid(start);
}

QString PathNames::getFileNameAB(const QString& fullPath)
{
    return getFileNameA(fullPath);
}

QString PathNames::getFileName(const QString& fullPath)
{
    const QString name = getFileNameA(fullPath);
    if (name.isEmpty() || isSeparator(name.back()) || name.contains(QLatin1Char('*')) ||
        name.contains(QLatin1Char('?')))
        return {};
    return name;
}

QString PathNames::getFileTypeA(const QString& fullPath)
{
    // A dot starts the extension unless a space or a separator follows it.
    qsizetype dot = -1;
    for (qsizetype i = 0; i < fullPath.size(); ++i) {
        const QChar c = fullPath.at(i);
        if (c == QLatin1Char('.'))
            dot = i;
        else if (c == QLatin1Char(' ') || isSeparator(c))
            dot = -1;
    }
    return dot < 0 ? QString() : fullPath.mid(dot + 1);
}

QString PathNames::getNoTypeFileNameA(const QString& fullPath)
{
    const QString name = getFileNameA(fullPath);
    const QString type = getFileTypeA(fullPath);
    if (name.isEmpty() || type.isEmpty() || name.size() <= type.size())
        return {};
    return name.left(name.size() - type.size() - 1);
}

QString PathNames::nullDel(const QString& buffer)
{
    const qsizetype nul = buffer.indexOf(QChar(u'\0'));
    return nul < 0 ? buffer : buffer.left(nul);
}
