#pragma once

#include "PathStyle.h"

#include <QString>
#include <QStringList>

class FileSystem;

// The folders the last create run really made, parents included, each with what identified
// it then, so that taking the run back touches nothing else: not a folder that was there
// before, not one made again in its place, not one that has received anything since.
class CreationRecord
{
public:
    // A new run begins making folders at `now` (on the file system's clock).
    void start(qint64 now)
    {
        m_made.clear();
        m_from = now;
        m_until = now;
    }
    // `path` was made, the latest of the run, at `now`.
    void add(const QString& path, qint64 now)
    {
        m_made.append(path);
        m_until = now;
    }
    bool isEmpty() const { return m_made.isEmpty(); }
    qsizetype size() const { return m_made.size(); }
    const QStringList& paths() const { return m_made; }

    struct Undo {
        QStringList doomed; // deepest first, as they go to the trash
        QStringList kept;   // made by the run, but holding something else now, or replaced
        QStringList gone;   // no longer there: nothing to take back
    };
    // Works out what may go: a folder born while the run made folders (no other one made in
    // its place since), holding nothing but folders that may go too.
    Undo plan(FileSystem& fs, PathStyle style) const;
    // Forgets folders (those that went to the trash, or are gone); the kept ones stay on
    // record.
    void forget(const QStringList& gone);

    // How far a folder's recorded time may lie outside the run: file systems keep times in
    // coarse steps, and the kernel's clock for them runs a tick behind.
    static constexpr qint64 Slack = 2000000000;

private:
    QStringList m_made;
    qint64 m_from = 0;
    qint64 m_until = 0;
};
