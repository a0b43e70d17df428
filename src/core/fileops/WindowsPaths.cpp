#include "WindowsPaths.h"

#include <QCoreApplication>
#include <QStringList>

namespace WindowsPaths
{

namespace
{

const QLatin1String LongPrefix("\\\\?\\");
const QLatin1String LongUncPrefix("\\\\?\\UNC\\");

bool isDriveLetter(QChar c)
{
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

// The length of the root at the start of `s` ('\' only): "C:\" or "\\server\share\" (its
// closing separator may be missing at the very end); 0 when there is none.
qsizetype rootLength(const QString& s)
{
    if (s.size() >= 3 && isDriveLetter(s.at(0)) && s.at(1) == QLatin1Char(':') &&
        s.at(2) == QLatin1Char('\\'))
        return 3;
    if (!s.startsWith(QLatin1String("\\\\")))
        return 0;
    const qsizetype serverEnd = s.indexOf(QLatin1Char('\\'), 2);
    if (serverEnd <= 2)
        return 0;
    const QStringView server = QStringView(s).sliced(2, serverEnd - 2);
    // "\\.\" and "\\?\" are the device and literal namespaces, no server.
    if (server == QLatin1String(".") || server == QLatin1String("?"))
        return 0;
    qsizetype shareEnd = s.indexOf(QLatin1Char('\\'), serverEnd + 1);
    if (shareEnd < 0)
        shareEnd = s.size();
    if (shareEnd == serverEnd + 1)
        return 0;
    return shareEnd == s.size() ? shareEnd : shareEnd + 1;
}

bool isDeviceName(QStringView base)
{
    static const QStringList plain{QStringLiteral("CON"), QStringLiteral("PRN"),
                                   QStringLiteral("AUX"), QStringLiteral("NUL")};
    for (const QString& d : plain) {
        if (base.compare(d, Qt::CaseInsensitive) == 0)
            return true;
    }
    if (base.size() != 4)
        return false;
    const QStringView head = base.first(3);
    if (head.compare(QLatin1String("COM"), Qt::CaseInsensitive) != 0 &&
        head.compare(QLatin1String("LPT"), Qt::CaseInsensitive) != 0)
        return false;
    const QChar n = base.at(3);
    // Superscript one, two and three count as digits here, as the system reads them.
    return (n >= QLatin1Char('0') && n <= QLatin1Char('9')) || n == QChar(0x00B9) ||
           n == QChar(0x00B2) || n == QChar(0x00B3);
}

} // namespace

QString cleaned(const QString& path)
{
    if (path.contains(QChar(u'\0')))
        return {};
    QString s = path;
    s.replace(QLatin1Char('/'), QLatin1Char('\\'));
    if (s.startsWith(LongUncPrefix, Qt::CaseInsensitive))
        s = QLatin1String("\\\\") + s.mid(LongUncPrefix.size());
    else if (s.startsWith(LongPrefix))
        s = s.mid(LongPrefix.size());
    const qsizetype root = rootLength(s);
    if (root == 0)
        return {};
    QString head = s.left(root);
    if (!head.endsWith(QLatin1Char('\\')))
        head += QLatin1Char('\\');
    QStringList parts;
    for (const QString& part : s.mid(root).split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (parts.isEmpty())
                return {};
            parts.removeLast();
            continue;
        }
        parts << part;
    }
    return parts.isEmpty() ? head : head + parts.join(QLatin1Char('\\'));
}

QString rootOf(const QString& cleanPath)
{
    const qsizetype root = rootLength(cleanPath);
    if (root == 0)
        return {};
    const QString head = cleanPath.left(root);
    return head.endsWith(QLatin1Char('\\')) ? head : head + QLatin1Char('\\');
}

QString longForm(const QString& cleanPath)
{
    if (cleanPath.startsWith(QLatin1String("\\\\")))
        return LongUncPrefix + cleanPath.mid(2);
    return LongPrefix + cleanPath;
}

QString nameProblem(QStringView name)
{
    if (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        return QCoreApplication::translate(
            "WindowsPaths", "名前の末尾のピリオドや空白は Windows では取り除かれます");
    QStringView base = name;
    const qsizetype dot = base.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        base = base.first(dot);
    while (base.endsWith(QLatin1Char(' ')))
        base.chop(1);
    if (isDeviceName(base))
        return QCoreApplication::translate("WindowsPaths", "%1 は Windows の装置名です")
            .arg(base.toString().toUpper());
    return {};
}

Problem pathProblem(const QString& cleanPath)
{
    const qsizetype root = rootLength(cleanPath);
    if (root == 0)
        return {};
    for (const QString& part : cleanPath.mid(root).split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
        const QString why = nameProblem(part);
        if (!why.isEmpty())
            return Problem{part, why};
    }
    return {};
}

} // namespace WindowsPaths
