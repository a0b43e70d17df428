#include "MountTable.h"

#include <QByteArray>
#include <QFile>
#include <QList>

#ifdef Q_OS_LINUX
#include <sys/stat.h>
#endif

namespace
{

#ifdef Q_OS_LINUX
// Mount points in /proc/self/mountinfo escape blank, tab, line feed and backslash as \ooo.
QByteArray unescaped(const QByteArray& field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field.at(i);
        if (c == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int value = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += char(value);
                i += 3;
                continue;
            }
        }
        out += c;
    }
    return out;
}

QList<QByteArray> mountPoints()
{
    QList<QByteArray> points;
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (!table.open(QIODevice::ReadOnly))
        return points;
    // Read through rather than by size: /proc files report a size of 0.
    const QByteArray text = table.readAll();
    for (const QByteArray& line : text.split('\n')) {
        // "id parent major:minor root mount-point options ..."
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() > 4)
            points << unescaped(fields.at(4));
    }
    return points;
}
#endif

} // namespace

MountTable MountTable::current()
{
    MountTable table;
#ifdef Q_OS_LINUX
    for (const QByteArray& point : mountPoints()) {
        if (!point.startsWith('/') || point == "/")
            continue;
        // Every folder above the mount point holds it.
        QByteArray up = point;
        while (up.size() > 1) {
            const qsizetype slash = up.lastIndexOf('/');
            up = slash <= 0 ? QByteArray("/") : up.left(slash);
            struct stat st;
            if (::stat(up.constData(), &st) == 0)
                table.m_holders.insert({quint64(st.st_dev), quint64(st.st_ino)});
        }
    }
#endif
    return table;
}

bool MountTable::hasMountBelow(quint64 dev, quint64 ino) const
{
    return m_holders.contains({dev, ino});
}

bool MountTable::hasMountBelow(const QString& folder) const
{
#ifdef Q_OS_LINUX
    if (m_holders.isEmpty())
        return false;
    struct stat st;
    return ::stat(QFile::encodeName(folder).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           hasMountBelow(quint64(st.st_dev), quint64(st.st_ino));
#else
    Q_UNUSED(folder);
    return false;
#endif
}
