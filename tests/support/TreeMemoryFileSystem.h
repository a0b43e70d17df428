#pragma once

#include "MemoryFileSystem.h"

#include <QMap>
#include <QStringList>

// A MemoryFileSystem that can read folder trees, for templates: readTree answers the tree set
// for a folder (any other folder cannot be read, as in MemoryFileSystem) and counts the reads.
class TreeMemoryFileSystem : public MemoryFileSystem
{
public:
    // The folder and its tree: a path ending in '/' is a folder, any other a file of 10 bytes.
    void setTree(const QString& folder, const QStringList& paths)
    {
        addFolder(folder);
        QList<TreeEntry> entries;
        for (const QString& p : paths) {
            TreeEntry e;
            const bool isFolder = p.endsWith(u'/');
            e.path = isFolder ? p.chopped(1) : p;
            e.kind = isFolder ? TreeEntry::Kind::Folder : TreeEntry::Kind::File;
            e.size = isFolder ? 0 : 10;
            entries << e;
        }
        m_trees.insert(normalized(folder).toLower(), entries);
    }

    TreeRead readTree(const QString& path, qsizetype limit) override
    {
        ++readTreeCalls;
        const auto it = m_trees.constFind(normalized(path).toLower());
        if (it == m_trees.cend())
            return MemoryFileSystem::readTree(path, limit);
        TreeRead read;
        read.pastLimit = it->size() > limit;
        if (!read.pastLimit)
            read.entries = *it;
        return read;
    }

    int readTreeCalls = 0;

private:
    QMap<QString, QList<TreeEntry>> m_trees;
};
