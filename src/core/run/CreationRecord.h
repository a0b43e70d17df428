#pragma once

#include "PathStyle.h"
#include "fileops/FileSystem.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// The folders the last create run really made, parents included, each with what identified
// it right after it was made, so that taking the run back touches nothing else: not a folder
// that was there before, not one made again in its place or moved there, not one that has
// received anything since.
class CreationRecord
{
public:
    // A new run begins making folders.
    void start() { m_made.clear(); }
    // `folder` was made, the latest of the run.
    void add(const MadeFolder& folder) { m_made.append(folder); }
    // The folder at `path`, made last or nearly, got a template's copy.
    void setCopy(const QString& path, qint64 entries, const QByteArray& digest);
    bool isEmpty() const { return m_made.isEmpty(); }
    qsizetype size() const { return m_made.size(); }
    QStringList paths() const;
    const QList<MadeFolder>& folders() const { return m_made; }
    void assign(QList<MadeFolder> folders) { m_made = std::move(folders); }

    struct Undo {
        QList<TrashItem> doomed; // deepest first, as they go to the trash
        QStringList kept;        // made by the run, but holding something else now
        QStringList changed;     // its template copy is no longer as copied
        QStringList replaced;    // another folder stands there now
        QStringList gone;        // no longer there: nothing to take back
    };
    // Works out what may go: a folder that is still the one the run made, holding nothing but
    // folders that may go too. Each goes only if it is still that folder, and empty, as it
    // moves.
    Undo plan(FileSystem& fs, PathStyle style) const;
    // Forgets folders (those that went to the trash, are gone, or are another's now); the kept
    // ones stay on record.
    void forget(const QStringList& paths);
    void forget(const QSet<QString>& paths);

private:
    QList<MadeFolder> m_made;
};
