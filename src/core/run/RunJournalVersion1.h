#pragma once

#include "fileops/FileSystem.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The journal as versions before the log wrote it: one snapshot of the last creation and the
// last deletion, rewritten whole by every run. Read so that an update keeps the last run
// undoable; the next run writes it anew as a log.
struct JournalVersion1 {
    QList<MadeFolder> made;
    QList<TrashPlace> trashed;
    quint64 next = 1;
    quint64 creationNumber = 0;
    quint64 deletionNumber = 0;
};

// False, with why, for anything but a complete journal of that version.
bool parseJournalVersion1(const QByteArray& bytes, JournalVersion1& out, QString* why);

extern const QByteArray JournalVersion1Header;
