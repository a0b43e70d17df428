#pragma once

#include "Reason.h"

#include <QList>
#include <QString>

#include <functional>

// One entry of a folder's tree as a plain look found it: links are entries of their own,
// never followed.
struct TreeEntry {
    enum class Kind : quint8 { Folder, File, Link, Special };
    QString path; // below the tree's top, its levels joined by '/'
    Kind kind = Kind::File;
    qint64 size = 0;      // a file's bytes
    qint64 modified = -1; // nanoseconds since the epoch
    quint64 volume = 0;
    quint64 node = 0;
    qint64 birth = -1;
    quint32 mode = 0; // the permission bits, where the host has them
};

// A tree as read: every folder before what it holds, each folder's names in order.
struct TreeRead {
    QList<TreeEntry> entries;
    Reason failure;         // why it could not be read whole; nothing then counts
    bool pastLimit = false; // it holds more entries than the reader was allowed to look at

    bool ok() const { return failure.isEmpty() && !pastLimit; }
};

// One entry of a template that did not arrive in a new folder, and why.
struct NotCopied {
    QString path; // as in TreeEntry
    Reason why;
};

// What a copy of a tree into a new folder did.
struct TreeCopyResult {
    int folders = 0;
    int files = 0; // links included
    qint64 bytes = 0;
    QList<NotCopied> notCopied;
    bool stopped = false;  // asked to stop: what followed was not copied
    bool cutShort = false; // a failure the rest could not get past (the volume is full)
};

// Asked before every entry of a copy; false stops it there.
using CopyProceed = std::function<bool()>;
