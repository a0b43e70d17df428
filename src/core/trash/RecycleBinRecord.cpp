#include "RecycleBinRecord.h"

#include <QtEndian>

namespace
{

constexpr qsizetype HeadSize = 24;       // version, size, deletion time
constexpr qsizetype Version1Chars = 260; // MAX_PATH
constexpr qsizetype LongestPath = 32767; // what the system's long paths allow

qint64 int64At(QByteArrayView bytes, qsizetype at)
{
    return qFromLittleEndian<qint64>(bytes.data() + at);
}

// The path of `chars` UTF-16 units at `at`, up to its NUL; nothing when it has none.
std::optional<QString> pathAt(QByteArrayView bytes, qsizetype at, qsizetype chars)
{
    QString path(chars, Qt::Uninitialized);
    qFromLittleEndian<char16_t>(bytes.data() + at, chars, path.data());
    const qsizetype end = path.indexOf(QChar(0));
    if (end <= 0)
        return std::nullopt;
    path.truncate(end);
    return path;
}

} // namespace

std::optional<RecycleBinRecord> RecycleBinRecord::parse(QByteArrayView bytes)
{
    if (bytes.size() < HeadSize)
        return std::nullopt;
    RecycleBinRecord r;
    const qint64 version = int64At(bytes, 0);
    r.size = int64At(bytes, 8);
    r.deletedAt = int64At(bytes, 16);
    std::optional<QString> path;
    if (version == 1 && bytes.size() == HeadSize + 2 * Version1Chars) {
        path = pathAt(bytes, HeadSize, Version1Chars);
    } else if (version == 2 && bytes.size() >= HeadSize + 4) {
        const quint32 chars = qFromLittleEndian<quint32>(bytes.data() + HeadSize);
        // The length counts the NUL, which must be the last character and the only one.
        if (chars < 2 || chars > LongestPath + 1 ||
            bytes.size() != HeadSize + 4 + 2 * qsizetype(chars))
            return std::nullopt;
        path = pathAt(bytes, HeadSize + 4, chars);
        if (path && path->size() != qsizetype(chars) - 1)
            return std::nullopt;
    }
    if (!path || r.size < 0 || r.deletedAt <= 0)
        return std::nullopt;
    r.version = int(version);
    r.original = *path;
    return r;
}

QByteArray RecycleBinRecord::bytes() const
{
    const quint32 chars = quint32(original.size() + 1);
    QByteArray out(HeadSize + 4 + 2 * qsizetype(chars), '\0');
    char* p = out.data();
    qToLittleEndian<qint64>(2, p);
    qToLittleEndian<qint64>(size, p + 8);
    qToLittleEndian<qint64>(deletedAt, p + 16);
    qToLittleEndian<quint32>(chars, p + HeadSize);
    qToLittleEndian<char16_t>(original.utf16(), original.size(), p + HeadSize + 4);
    return out;
}
