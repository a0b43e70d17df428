// The zip reader under workbooks: zips written here field by field, each with one thing
// changed that a damaged or hostile file would have, and what the reader makes of it.
#include "sheet/ZipArchive.h"

#include <QTemporaryDir>
#include <QTest>

// GCC 12 warns of the members a designated initializer leaves to their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace
{

struct Part {
    QByteArray data;
    quint16 method = 8;
    qint64 sizeOff = 0;   // the stated size against the real one
    qint64 packedOff = 0; // the stated packed size against the real one
    bool wrongCrc = false;
    bool encrypted = false;
    bool localLost = false;
};

struct Shape {
    bool zip64 = false;
    QByteArray comment;
    int statedCount = -1; // in the end record; -1: the real one
    qint64 cutAt = -1;    // the file cut to this many bytes
};

quint32 crcOf(const QByteArray& b)
{
    quint32 c = 0xFFFFFFFF;
    for (const char byte : b) {
        c ^= uchar(byte);
        for (int k = 0; k < 8; ++k)
            c = c & 1 ? (c >> 1) ^ 0xEDB88320 : c >> 1;
    }
    return ~c;
}

void put(QByteArray& b, quint64 v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b += char((v >> (8 * i)) & 0xFF);
}

// Raw deflate: qCompress's zlib stream without its size prefix, header and checksum.
QByteArray deflated(const QByteArray& data)
{
    if (data.isEmpty())
        return QByteArray("\x03\x00", 2); // qCompress gives no stream for nothing
    const QByteArray z = qCompress(data, 9);
    return z.mid(6, z.size() - 10);
}

QByteArray zipOf(const Part& part, const Shape& shape = {})
{
    const QByteArray name = "xl/workbook.xml";
    const QByteArray packed = part.method == 8 ? deflated(part.data) : part.data;
    const quint32 crc = crcOf(part.data) ^ (part.wrongCrc ? 1 : 0);
    const quint16 flags = part.encrypted ? 1 : 0;
    const quint64 size = part.data.size() + part.sizeOff;
    const quint64 packedSize = packed.size() + part.packedOff;

    QByteArray zip;
    put(zip, part.localLost ? 0x0BADF00D : 0x04034b50, 4);
    put(zip, 20, 2);
    put(zip, flags, 2);
    put(zip, part.method, 2);
    put(zip, 0, 4); // time, date
    put(zip, crc, 4);
    put(zip, packedSize, 4);
    put(zip, size, 4);
    put(zip, name.size(), 2);
    put(zip, 0, 2);
    zip += name + packed;

    const qint64 directoryAt = zip.size();
    const auto wide = [&](quint64 v) { return shape.zip64 ? 0xFFFFFFFF : v; };
    put(zip, 0x02014b50, 4);
    put(zip, 45, 2);
    put(zip, 45, 2);
    put(zip, flags, 2);
    put(zip, part.method, 2);
    put(zip, 0, 4);
    put(zip, crc, 4);
    put(zip, wide(packedSize), 4);
    put(zip, wide(size), 4);
    put(zip, name.size(), 2);
    put(zip, shape.zip64 ? 28 : 0, 2);
    put(zip, 0, 2 + 2 + 2 + 4); // comment, disk, internal and external attributes
    put(zip, wide(0), 4);
    zip += name;
    if (shape.zip64) {
        put(zip, 0x0001, 2);
        put(zip, 24, 2);
        put(zip, size, 8);
        put(zip, packedSize, 8);
        put(zip, 0, 8);
    }
    const qint64 directoryBytes = zip.size() - directoryAt;
    const quint64 count = shape.statedCount >= 0 ? quint64(shape.statedCount) : 1;

    if (shape.zip64) {
        const qint64 end64At = zip.size();
        put(zip, 0x06064b50, 4);
        put(zip, 44, 8);
        put(zip, 45, 2);
        put(zip, 45, 2);
        put(zip, 0, 4 + 4);
        put(zip, count, 8);
        put(zip, count, 8);
        put(zip, directoryBytes, 8);
        put(zip, directoryAt, 8);
        put(zip, 0x07064b50, 4);
        put(zip, 0, 4);
        put(zip, end64At, 8);
        put(zip, 1, 4);
    }
    put(zip, 0x06054b50, 4);
    put(zip, 0, 2 + 2);
    put(zip, shape.zip64 ? 0xFFFF : count, 2);
    put(zip, shape.zip64 ? 0xFFFF : count, 2);
    put(zip, wide(directoryBytes), 4);
    put(zip, wide(directoryAt), 4);
    put(zip, shape.comment.size(), 2);
    zip += shape.comment;
    if (shape.cutAt >= 0)
        zip.truncate(shape.cutAt);
    return zip;
}

} // namespace

Q_DECLARE_METATYPE(ZipArchive::Opened)
Q_DECLARE_METATYPE(ZipArchive::Read)

class TestZipArchive : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void archives_data()
    {
        QTest::addColumn<QByteArray>("zip");
        QTest::addColumn<ZipArchive::Opened>("opened");
        QTest::addColumn<ZipArchive::Read>("read");
        QTest::addColumn<QByteArray>("data");

        using O = ZipArchive::Opened;
        using R = ZipArchive::Read;
        const QByteArray text = "<workbook>年度と部署</workbook>";
        // Past the reader's chunk, so the inflation runs over several reads.
        QByteArray big;
        for (int i = 0; big.size() < (3 << 20); ++i)
            big += QByteArray::number(i * 7919) + ',';

        QTest::newRow("stored") << zipOf({.data = text, .method = 0}) << O::Ok << R::Ok << text;
        QTest::newRow("deflated") << zipOf({text}) << O::Ok << R::Ok << text;
        QTest::newRow("deflated, several megabytes") << zipOf({big}) << O::Ok << R::Ok << big;
        QTest::newRow("empty") << zipOf({QByteArray()}) << O::Ok << R::Ok << QByteArray();
        QTest::newRow("zip64 sizes and directory")
            << zipOf({text}, {.zip64 = true}) << O::Ok << R::Ok << text;
        QTest::newRow("a comment after the end record")
            << zipOf({text}, {.comment = QByteArray(300, 'c')}) << O::Ok << R::Ok << text;

        QTest::newRow("a wrong checksum")
            << zipOf({.data = text, .wrongCrc = true}) << O::Ok << R::Damaged << QByteArray();
        QTest::newRow("larger than its stated size")
            << zipOf({.data = big, .sizeOff = -1}) << O::Ok << R::LargerThanStated << QByteArray();
        QTest::newRow("stored, larger than its stated size")
            << zipOf({.data = text, .method = 0, .sizeOff = -1}) << O::Ok << R::LargerThanStated
            << QByteArray();
        QTest::newRow("smaller than its stated size")
            << zipOf({.data = text, .sizeOff = 1}) << O::Ok << R::Damaged << QByteArray();
        QTest::newRow("its data cut short")
            << zipOf({.data = big, .packedOff = -100}) << O::Ok << R::Damaged << QByteArray();
        QTest::newRow("its data stated past the file's end")
            << zipOf({.data = text, .packedOff = 1 << 20}) << O::Ok << R::Damaged << QByteArray();
        QTest::newRow("its local header lost")
            << zipOf({.data = text, .localLost = true}) << O::Ok << R::Damaged << QByteArray();
        QTest::newRow("another method (bzip2)")
            << zipOf({.data = text, .method = 12}) << O::Ok << R::Unsupported << QByteArray();
        QTest::newRow("encrypted")
            << zipOf({.data = text, .encrypted = true}) << O::Ok << R::Unsupported << QByteArray();

        QTest::newRow("more entries than allowed, by the end record")
            << zipOf({text}, {.statedCount = 60000}) << O::TooManyEntries << R::Ok << QByteArray();
        QTest::newRow("zip64, more entries than allowed")
            << zipOf({text}, {.zip64 = true, .statedCount = 60000}) << O::TooManyEntries << R::Ok
            << QByteArray();
        QTest::newRow("more entries stated than the directory holds")
            << zipOf({text}, {.statedCount = 2}) << O::NotZip << R::Ok << QByteArray();
        QTest::newRow("no entries")
            << zipOf({text}, {.statedCount = 0}) << O::NotZip << R::Ok << QByteArray();
        QTest::newRow("cut before its directory")
            << zipOf({big}, {.cutAt = 1000}) << O::NotZip << R::Ok << QByteArray();
        QTest::newRow("cut inside its end record")
            << zipOf({text}, {.cutAt = zipOf({text}).size() - 4}) << O::NotZip << R::Ok
            << QByteArray();
        QTest::newRow("not a zip") << QByteArray("年度,部署\n2024,営業部\n").repeated(10)
                                   << O::NotZip << R::Ok << QByteArray();
    }
    void archives()
    {
        QFETCH(QByteArray, zip);
        QTemporaryDir dir;
        const QString path = dir.filePath("book.xlsx");
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(zip) == zip.size());
        out.close();

        ZipArchive archive(path);
        QFETCH(ZipArchive::Opened, opened);
        QCOMPARE(archive.open(10), opened);
        if (opened != ZipArchive::Opened::Ok)
            return;
        QCOMPARE(archive.entries().size(), 1);
        QCOMPARE(archive.entries().first().name, QStringLiteral("xl/workbook.xml"));
        QByteArray got = "left over";
        QFETCH(ZipArchive::Read, read);
        QCOMPARE(archive.read(archive.entries().first(), &got), read);
        QFETCH(QByteArray, data);
        QCOMPARE(got, data);
    }
};

QTEST_GUILESS_MAIN(TestZipArchive)
#include "test_zip_archive.moc"
