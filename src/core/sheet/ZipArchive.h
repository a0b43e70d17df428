#pragma once

#include <QFile>
#include <QList>
#include <QString>

#include <optional>

// The parts of a zip file as its central directory lists them, each read whole: stored or
// deflated, zip64 sizes, the CRC checked. What office documents need; no encryption and no
// archives split over several files.
class ZipArchive
{
public:
    struct Entry {
        QString name;
        quint16 flags = 0;
        quint16 method = 0;
        quint32 crc = 0;
        qint64 packed = 0;
        qint64 size = 0;
        qint64 offset = 0; // of its local header

        bool encrypted() const { return flags & 1; }
    };

    enum class Opened { Ok, NotZip, TooManyEntries };
    enum class Read { Ok, Damaged, LargerThanStated, Unsupported };

    explicit ZipArchive(const QString& path);

    // Reads the directory. One that states more than maxEntries is refused by its end record,
    // before any of it is read.
    Opened open(qsizetype maxEntries);
    const QList<Entry>& entries() const { return list; }

    // The part inflated to exactly the size the directory states, never past it.
    Read read(const Entry& entry, QByteArray* out);

private:
    QFile file;
    QList<Entry> list;
};
