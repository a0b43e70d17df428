#include "ZipArchive.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

namespace
{

constexpr quint32 EndSignature = 0x06054b50;
constexpr quint32 End64Signature = 0x06064b50;
constexpr quint32 Locator64Signature = 0x07064b50;
constexpr quint32 DirectorySignature = 0x02014b50;
constexpr quint32 LocalSignature = 0x04034b50;
constexpr qint64 EndBytes = 22;
constexpr qint64 Locator64Bytes = 20;
constexpr qint64 End64Bytes = 56;
constexpr qint64 DirectoryEntryBytes = 46;
constexpr qint64 LocalBytes = 30;
// A directory this large for a bounded number of entries is not an office document's.
constexpr qint64 DirectoryBytesMax = qint64(64) << 20;

quint16 u16(const QByteArray& b, qint64 at)
{
    return quint16(uchar(b[at])) | quint16(uchar(b[at + 1])) << 8;
}
quint32 u32(const QByteArray& b, qint64 at)
{
    return quint32(u16(b, at)) | quint32(u16(b, at + 2)) << 16;
}
quint64 u64(const QByteArray& b, qint64 at)
{
    return quint64(u32(b, at)) | quint64(u32(b, at + 4)) << 32;
}

QByteArray readAt(QFile& file, qint64 at, qint64 bytes)
{
    if (at < 0 || bytes < 0 || at > file.size() || bytes > file.size() - at || !file.seek(at))
        return {};
    QByteArray b = file.read(bytes);
    return b.size() == bytes ? b : QByteArray();
}

// The sizes and offset a 32-bit field could not hold are in the zip64 extra field, in this
// order, each present only when its field says 0xFFFFFFFF.
bool readZip64Extra(const QByteArray& extra, ZipArchive::Entry& e, bool size, bool packed,
                    bool offset)
{
    for (qint64 at = 0; at + 4 <= extra.size();) {
        const quint16 id = u16(extra, at);
        const qint64 length = u16(extra, at + 2);
        const qint64 data = at + 4;
        if (data + length > extra.size())
            return false;
        if (id == 0x0001) {
            qint64 p = data;
            for (auto [wanted, field] : {std::pair{size, &e.size}, std::pair{packed, &e.packed},
                                         std::pair{offset, &e.offset}}) {
                if (!wanted)
                    continue;
                if (p + 8 > data + length)
                    return false;
                const quint64 v = u64(extra, p);
                if (v > quint64(std::numeric_limits<qint64>::max()))
                    return false;
                *field = qint64(v);
                p += 8;
            }
            return true;
        }
        at = data + length;
    }
    return !(size || packed || offset);
}

} // namespace

ZipArchive::ZipArchive(const QString& path) : file(path) {}

ZipArchive::Opened ZipArchive::open(qsizetype maxEntries)
{
    list.clear();
    if (!file.open(QIODevice::ReadOnly))
        return Opened::NotZip;
    const qint64 fileSize = file.size();
    if (fileSize < EndBytes)
        return Opened::NotZip;

    // The end record is the last thing in the file but for a comment of up to 64 KiB.
    const qint64 tailBytes = std::min(fileSize, EndBytes + 0xFFFF);
    const QByteArray tail = readAt(file, fileSize - tailBytes, tailBytes);
    qint64 end = -1;
    for (qint64 at = tail.size() - EndBytes; at >= 0; --at) {
        if (u32(tail, at) == EndSignature && at + EndBytes + u16(tail, at + 20) <= tail.size()) {
            end = at;
            break;
        }
    }
    if (end < 0)
        return Opened::NotZip;
    const qint64 endAt = fileSize - tailBytes + end;
    if (u16(tail, end + 4) != 0 || u16(tail, end + 6) != 0)
        return Opened::NotZip; // split over several files
    quint64 count = u16(tail, end + 10);
    qint64 directoryBytes = u32(tail, end + 12);
    qint64 directoryAt = u32(tail, end + 16);

    if (count == 0xFFFF || directoryBytes == 0xFFFFFFFF || directoryAt == 0xFFFFFFFF) {
        const QByteArray locator = readAt(file, endAt - Locator64Bytes, Locator64Bytes);
        if (locator.isEmpty() || u32(locator, 0) != Locator64Signature)
            return Opened::NotZip;
        const quint64 end64At = u64(locator, 8);
        if (end64At > quint64(fileSize))
            return Opened::NotZip;
        const QByteArray end64 = readAt(file, qint64(end64At), End64Bytes);
        if (end64.isEmpty() || u32(end64, 0) != End64Signature)
            return Opened::NotZip;
        count = u64(end64, 32);
        const quint64 bytes = u64(end64, 40), at = u64(end64, 48);
        if (bytes > quint64(fileSize) || at > quint64(fileSize))
            return Opened::NotZip;
        directoryBytes = qint64(bytes);
        directoryAt = qint64(at);
    }
    if (count > quint64(maxEntries) || directoryBytes > DirectoryBytesMax)
        return Opened::TooManyEntries;
    if (count == 0 || qint64(count) * DirectoryEntryBytes > directoryBytes)
        return Opened::NotZip;

    const QByteArray dir = readAt(file, directoryAt, directoryBytes);
    if (dir.isEmpty())
        return Opened::NotZip;
    qint64 at = 0;
    for (quint64 i = 0; i < count; ++i) {
        if (at + DirectoryEntryBytes > dir.size() || u32(dir, at) != DirectorySignature)
            return Opened::NotZip;
        Entry e;
        e.flags = u16(dir, at + 8);
        e.method = u16(dir, at + 10);
        e.crc = u32(dir, at + 16);
        e.packed = u32(dir, at + 20);
        e.size = u32(dir, at + 24);
        const qint64 nameBytes = u16(dir, at + 28);
        const qint64 extraBytes = u16(dir, at + 30);
        const qint64 commentBytes = u16(dir, at + 32);
        e.offset = u32(dir, at + 42);
        const qint64 name = at + DirectoryEntryBytes;
        const qint64 next = name + nameBytes + extraBytes + commentBytes;
        if (next > dir.size())
            return Opened::NotZip;
        const QByteArray rawName = dir.mid(name, nameBytes);
        // Bit 11 marks UTF-8; an office document's part names are ASCII either way.
        e.name = e.flags & 0x800 ? QString::fromUtf8(rawName) : QString::fromLatin1(rawName);
        if (!readZip64Extra(dir.mid(name + nameBytes, extraBytes), e, e.size == 0xFFFFFFFF,
                            e.packed == 0xFFFFFFFF, e.offset == 0xFFFFFFFF))
            return Opened::NotZip;
        list << e;
        at = next;
    }
    return Opened::Ok;
}

ZipArchive::Read ZipArchive::read(const Entry& entry, QByteArray* out)
{
    out->clear();
    if (entry.encrypted() || (entry.method != 0 && entry.method != 8))
        return Read::Unsupported;
    if (entry.size > qint64(std::numeric_limits<uInt>::max()))
        return Read::Unsupported; // past one buffer; callers bound parts far below it
    const QByteArray local = readAt(file, entry.offset, LocalBytes);
    if (local.isEmpty() || u32(local, 0) != LocalSignature)
        return Read::Damaged;
    const qint64 dataAt = entry.offset + LocalBytes + u16(local, 26) + u16(local, 28);
    if (dataAt > file.size() || entry.packed > file.size() - dataAt || !file.seek(dataAt))
        return Read::Damaged;

    QByteArray bytes;
    if (entry.method == 0) {
        if (entry.packed != entry.size)
            return entry.packed > entry.size ? Read::LargerThanStated : Read::Damaged;
        bytes = file.read(entry.size);
        if (bytes.size() != entry.size)
            return Read::Damaged;
    } else {
        z_stream z{};
        if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
            return Read::Damaged;
        bytes.resize(entry.size);
        z.next_out = reinterpret_cast<Bytef*>(bytes.data());
        z.avail_out = uInt(entry.size);
        char spare = 0;
        bool full = false, overflow = false;
        int status = Z_OK;
        qint64 left = entry.packed;
        QByteArray chunk;
        // Each round consumes input, gives output, or ends: inflate says Z_BUF_ERROR when it
        // can do neither.
        for (;;) {
            if (z.avail_in == 0 && left > 0) {
                chunk = file.read(std::min<qint64>(left, 256 << 10));
                left -= chunk.size();
                z.next_in = reinterpret_cast<Bytef*>(chunk.data());
                z.avail_in = uInt(chunk.size());
                if (chunk.isEmpty())
                    left = 0;
            }
            if (z.avail_out == 0 && !full) {
                // Full at the stated size: any byte more means it is larger.
                full = true;
                z.next_out = reinterpret_cast<Bytef*>(&spare);
                z.avail_out = 1;
            }
            status = inflate(&z, Z_NO_FLUSH);
            if (full && z.avail_out == 0) {
                overflow = true;
                break;
            }
            if (status != Z_OK)
                break;
        }
        const bool whole = status == Z_STREAM_END && qint64(z.total_out) == entry.size;
        inflateEnd(&z);
        if (overflow)
            return Read::LargerThanStated;
        if (!whole)
            return Read::Damaged;
    }
    if (crc32_z(0, reinterpret_cast<const Bytef*>(bytes.constData()), z_size_t(bytes.size())) !=
        entry.crc)
        return Read::Damaged;
    *out = std::move(bytes);
    return Read::Ok;
}
