#pragma once

#include "PathStyle.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class FileSystem;

// The folders the last create run really made, parents included, each with what identified
// it then, so that taking the run back touches nothing else: not a folder that was there
// before, not one made again in its place, not one that has received anything since.
class CreationRecord
{
public:
    void clear() { m_made.clear(); }
    void add(const QString& path, const QByteArray& identity);
    bool isEmpty() const { return m_made.isEmpty(); }
    qsizetype size() const { return m_made.size(); }
    QStringList paths() const;

    struct Undo {
        QStringList doomed; // deepest first, as they go to the trash
        QStringList kept;   // made by the run, but holding something else now, or replaced
        QStringList gone;   // no longer there: nothing to take back
    };
    // Works out what may go: a folder still as it was made, holding nothing but folders that
    // may go too.
    Undo plan(FileSystem& fs, PathStyle style) const;
    // Forgets folders (those that went to the trash, or are gone); the kept ones stay on
    // record.
    void forget(const QStringList& gone);

private:
    struct Made {
        QString path;
        QByteArray identity;
    };
    QList<Made> m_made;
};
