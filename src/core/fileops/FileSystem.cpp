#include "FileSystem.h"

QString toPathList(const QStringList& paths)
{
    QString list;
    for (const QString& p : paths)
        list += p + QChar(u'\0');
    return list + QChar(u'\0');
}

QStringList fromPathList(const QString& pathList)
{
    QStringList paths;
    qsizetype start = 0;
    while (start < pathList.size()) {
        const qsizetype end = pathList.indexOf(QChar(u'\0'), start);
        const QString item = pathList.mid(start, end < 0 ? -1 : end - start);
        if (item.isEmpty())
            break;
        paths << item;
        if (end < 0)
            break;
        start = end + 1;
    }
    return paths;
}
