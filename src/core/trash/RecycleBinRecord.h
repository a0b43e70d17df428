#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// The "$I" file that the Windows recycle bin keeps beside each recycled item ("$R…"): the
// item's size, when it was deleted and where it stood. Version 1 (Vista to 8.1) holds the
// path in a fixed field of 260 characters, version 2 (Windows 10 on) gives its length first.
// Everything is little-endian; the path is UTF-16 and ends with a NUL.
struct RecycleBinRecord {
    int version = 0;
    qint64 size = 0;      // of the item when it was recycled, as the shell counted it
    qint64 deletedAt = 0; // FILETIME: 100 ns steps since 1601
    QString original;     // the full path the item came from

    // Nothing unless the bytes are a whole record of a version we know, naming a path.
    static std::optional<RecycleBinRecord> parse(QByteArrayView bytes);
    // The version 2 form.
    QByteArray bytes() const;
};
