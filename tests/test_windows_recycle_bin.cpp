// The Windows recycle bin: an item counts as recycled only when it left its place and the
// recycle bin shows it; a shell that destroys it, or does nothing, is a failure told as such.
// What another process might do between the check and the move is played through the hooks.
// Taking an item back is tried against a recycle bin laid out on disk as Windows lays it out,
// "$R" entry and "$I" record (Wine's own recycle bin is the desktop's trash).
#include "fileops/WindowsPaths.h"
#include "host/HostFileSystem.h"
#include "trash/RecycleBinRecord.h"
#include "trash/WindowsRecycleBin.h"

#include "TestHelpers.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <windows.h>

Q_DECLARE_METATYPE(TrashResult::Kind)
Q_DECLARE_METATYPE(TrashItem::KeepIf)
Q_DECLARE_METATYPE(RestoreResult::Kind)

namespace
{

using Kind = TrashResult::Kind;
using KeepIf = TrashItem::KeepIf;

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

bool makeFile(const QString& path)
{
    return QDir().mkpath(QFileInfo(path).path()) && putBytes(path, "precious");
}

// How often the recycle bin holds an item from `path`.
int inBin(const QString& path)
{
    const std::optional<QStringList> origins = WindowsRecycleBin::originalPaths();
    if (!origins)
        return -1;
    int n = 0;
    for (const QString& o : *origins) {
        if (o.compare(native(path), Qt::CaseInsensitive) == 0)
            ++n;
    }
    return n;
}

// One item through the bin, settled as a batch of one.
TrashResult recycle(WindowsRecycleBin& bin, const QString& path, const FolderId& expected = {},
                    KeepIf keepIf = KeepIf::Never)
{
    QList<TrashResult> results{bin.moveToRecycleBin(path, expected, keepIf)};
    bin.settle(results);
    return results.first();
}

constexpr qint64 DeletedAt = 133000000000000000LL; // a FILETIME in 2022

// This user's folder of a recycle bin under `root`.
QString binFolder(const QString& root)
{
    return root + "/$Recycle.Bin/" + RecycleBinRestore::userSid();
}

// Does by hand what the shell does when it recycles `original`: the item becomes "$R<id>" in
// the recycle-bin folder, with the record "$I<id>" beside it. The item's "$R" path, or empty.
QString recycleByHand(const QString& root, const QString& original, const QString& id)
{
    const QString folder = binFolder(root);
    if (!QDir().mkpath(folder) || !QDir().rename(original, folder + "/$R" + id))
        return {};
    const RecycleBinRecord record{2, 4096, DeletedAt, native(original)};
    return putBytes(folder + "/$I" + id, record.bytes()) ? folder + "/$R" + id : QString();
}

} // namespace

class TestWindowsRecycleBin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void recycledItemIsInTheBin();
    void shellOutcomes_data();
    void shellOutcomes();
    void refusedBeforeTheShell_data();
    void refusedBeforeTheShell();
    void keepIf_data();
    void keepIf();
    void replacedBeforeTheMove();
    void vanishedBeforeTheMove();
    void oneFailureStopsNothingElse();

    void restoredFromTheRecycleBin();
    void restoreRefused_data();
    void restoreRefused();
    void occupiedRightBeforeTheMove();
    void backAlreadyTakesTheStaleRecord();
    void dryRunMovesNothing();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_root;
};

void TestWindowsRecycleBin::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_root = m_dir->path();
}

void TestWindowsRecycleBin::recycledItemIsInTheBin()
{
    const QString item = m_root + "/ごみ箱へ 001";
    QVERIFY(makeFile(item + "/a.txt"));
    const int before = inBin(item);
    QVERIFY2(before >= 0, "the recycle bin cannot be listed");

    WindowsRecycleBin bin;
    const TrashResult r = recycle(bin, item);
    QCOMPARE(r.kind, Kind::Trashed);
    QVERIFY(!QFileInfo::exists(item));
    QCOMPARE(inBin(item), before + 1);
}

void TestWindowsRecycleBin::shellOutcomes_data()
{
    QTest::addColumn<QString>("shell");
    QTest::addColumn<TrashResult::Kind>("kind");
    QTest::addColumn<bool>("stays");

    // A recycle bin that is full, off or missing: the item is destroyed, no entry appears.
    QTest::newRow("deletes outright") << "delete" << Kind::Failed << false;
    QTest::newRow("does nothing") << "nothing" << Kind::Failed << true;
    // Moved away, but not into the recycle bin: not restorable from there either.
    QTest::newRow("moves it elsewhere") << "move" << Kind::Failed << false;
}

void TestWindowsRecycleBin::shellOutcomes()
{
    QFETCH(QString, shell);
    QFETCH(TrashResult::Kind, kind);
    QFETCH(bool, stays);
    const QString item = m_root + "/item";
    QVERIFY(makeFile(item + "/a.txt"));

    WindowsRecycleBin bin;
    QString given;
    bin.setShell([&](const QString& clean) {
        given = clean;
        if (shell == "delete")
            QDir(clean).removeRecursively();
        else if (shell == "move")
            QDir().rename(clean, m_root + "/elsewhere");
    });
    const TrashResult r = recycle(bin, item);
    QCOMPARE(given, native(item));
    QCOMPARE(r.kind, kind);
    QVERIFY2(!r.why.isEmpty(), "a failure says why");
    QCOMPARE(QFileInfo::exists(item + "/a.txt"), stays);
}

void TestWindowsRecycleBin::refusedBeforeTheShell_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<TrashResult::Kind>("kind");

    QTest::newRow("relative") << "item" << Kind::Failed;
    QTest::newRow("empty") << "" << Kind::Failed;
    QTest::newRow("drive root") << "C:\\" << Kind::Failed;
    QTest::newRow("share root") << "\\\\server\\share" << Kind::Failed;
    // The shell would read these names through the Win32 layer and mean another item.
    QTest::newRow("device name") << "@/CON" << Kind::Failed;
    QTest::newRow("device name with an extension") << "@/nul.txt" << Kind::Failed;
    QTest::newRow("trailing dot") << "@/item." << Kind::Failed;
    QTest::newRow("trailing blank") << "@/item " << Kind::Failed;
    QTest::newRow("missing") << "@/none" << Kind::Missing;
    QTest::newRow("in a missing folder") << "@/none/x" << Kind::Missing;
}

void TestWindowsRecycleBin::refusedBeforeTheShell()
{
    QFETCH(QString, path);
    QFETCH(TrashResult::Kind, kind);
    path.replace('@', m_root);
    // "item" itself exists, so that a name read wrongly would find something to destroy.
    QVERIFY(makeFile(m_root + "/item/a.txt"));

    WindowsRecycleBin bin;
    bool shellCalled = false;
    bin.setShell([&](const QString&) { shellCalled = true; });
    const TrashResult r = recycle(bin, path);
    QCOMPARE(r.kind, kind);
    QVERIFY(!shellCalled);
    QVERIFY(QFileInfo::exists(m_root + "/item/a.txt"));
}

void TestWindowsRecycleBin::keepIf_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<TrashItem::KeepIf>("keepIf");
    QTest::addColumn<TrashResult::Kind>("kind");

    QTest::newRow("file, kept if it holds a file") << "a.txt" << KeepIf::HoldsFile << Kind::Kept;
    QTest::newRow("file in a subfolder, only files count")
        << "sub/a.txt" << KeepIf::HoldsFile << Kind::Trashed;
    QTest::newRow("subfolder, kept if it holds anything")
        << "sub/" << KeepIf::HoldsAnything << Kind::Kept;
    QTest::newRow("empty, kept if it holds anything")
        << "" << KeepIf::HoldsAnything << Kind::Trashed;
    QTest::newRow("file, goes whatever it holds") << "a.txt" << KeepIf::Never << Kind::Trashed;
}

void TestWindowsRecycleBin::keepIf()
{
    QFETCH(QString, content);
    QFETCH(TrashItem::KeepIf, keepIf);
    QFETCH(TrashResult::Kind, kind);
    const QString item = m_root + "/item";
    QVERIFY(QDir().mkpath(item));
    if (content.endsWith('/'))
        QVERIFY(QDir().mkpath(item + '/' + content));
    else if (!content.isEmpty())
        QVERIFY(makeFile(item + '/' + content));

    WindowsRecycleBin bin;
    // Recycled as far as the shell goes; the listing check has its own test.
    bin.setShell([&](const QString& clean) { QDir().rename(clean, m_root + "/bin"); });
    QList<TrashResult> results{bin.moveToRecycleBin(item, {}, keepIf)};
    QCOMPARE(results.first().kind, kind);
    QCOMPARE(QFileInfo::exists(item), kind != Kind::Trashed);
}

void TestWindowsRecycleBin::replacedBeforeTheMove()
{
    const QString item = m_root + "/item";
    QVERIFY(makeFile(item + "/checked.txt"));
    WindowsRecycleBin bin;
    bool shellCalled = false;
    bin.setShell([&](const QString&) { shellCalled = true; });
    // Right after the check another folder takes the name.
    bin.setBeforeMove([&](const QString&) {
        QVERIFY(QDir().rename(item, m_root + "/moved"));
        QVERIFY(makeFile(item + "/other.txt"));
    });
    const TrashResult r = recycle(bin, item);
    QCOMPARE(r.kind, Kind::Replaced);
    QVERIFY(!shellCalled);
    QVERIFY(QFileInfo::exists(item + "/other.txt"));
    QVERIFY(QFileInfo::exists(m_root + "/moved/checked.txt"));
}

void TestWindowsRecycleBin::vanishedBeforeTheMove()
{
    const QString item = m_root + "/item";
    QVERIFY(QDir().mkpath(item));
    WindowsRecycleBin bin;
    bool shellCalled = false;
    bin.setShell([&](const QString&) { shellCalled = true; });
    bin.setBeforeMove([&](const QString&) { QVERIFY(QDir().rename(item, m_root + "/moved")); });
    QCOMPARE(recycle(bin, item).kind, Kind::Missing);
    QVERIFY(!shellCalled);
    QVERIFY(QFileInfo::exists(m_root + "/moved"));
}

void TestWindowsRecycleBin::oneFailureStopsNothingElse()
{
    const QStringList items{m_root + "/a", m_root + "/b", m_root + "/c"};
    for (const QString& p : items)
        QVERIFY(makeFile(p + "/f.txt"));
    const int before = inBin(items.at(2));
    QVERIFY(before >= 0);

    WindowsRecycleBin bin;
    // The middle one is destroyed by the shell; the others go the real way.
    QList<TrashResult> results;
    for (const QString& p : items) {
        if (p == items.at(1))
            bin.setShell([](const QString& clean) { QDir(clean).removeRecursively(); });
        else
            bin.setShell({});
        results << bin.moveToRecycleBin(p);
    }
    bin.settle(results);
    QCOMPARE(results.at(0).kind, Kind::Trashed);
    QCOMPARE(results.at(1).kind, Kind::Failed);
    QCOMPARE(results.at(2).kind, Kind::Trashed);
    QCOMPARE(inBin(items.at(2)), before + 1);
}

void TestWindowsRecycleBin::restoredFromTheRecycleBin()
{
    QVERIFY2(!RecycleBinRestore::userSid().isEmpty(), "the user's SID cannot be read");
    const QString original = m_root + "/work/案件 001";
    QVERIFY(makeFile(original + "/a.txt"));
    const QString entry = recycleByHand(m_root, original, "A1B2C3");
    QVERIFY(!entry.isEmpty());

    const TrashPlace place = WindowsRecycleBin::placeOf(native(entry), native(original));
    QVERIFY(place.isKnown());
    QCOMPARE(place.infoStamp.modified, DeletedAt);
    HostFileSystem fs;
    const QList<RestoreResult> results = fs.restore({place}, false);
    QCOMPARE(results.size(), 1);
    QCOMPARE(results.first().kind, RestoreResult::Kind::Restored);
    QCOMPARE(fileBytes(original + "/a.txt"), QByteArray("precious"));
    QVERIFY(!QFileInfo::exists(entry));
    QVERIFY2(!QFileInfo::exists(binFolder(m_root) + "/$IA1B2C3"), "the record goes with it");
}

void TestWindowsRecycleBin::restoreRefused_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<RestoreResult::Kind>("kind");
    QTest::addColumn<bool>("staysInBin");

    using R = RestoreResult::Kind;
    QTest::newRow("a folder stands at the place") << "occupied" << R::Occupied << true;
    QTest::newRow("the folder it came from is gone") << "no parent" << R::NoParent << true;
    QTest::newRow("the record names another place") << "other place" << R::Replaced << true;
    QTest::newRow("the record was written again") << "other time" << R::Replaced << true;
    QTest::newRow("the record is gone") << "no record" << R::Replaced << true;
    QTest::newRow("another item under the entry's name") << "other entry" << R::Replaced << true;
    QTest::newRow("emptied from the recycle bin") << "emptied" << R::Gone << false;
    QTest::newRow("another user's recycle bin") << "other user" << R::Invalid << true;
    QTest::newRow("no recycle bin at all") << "no bin" << R::Invalid << true;
}

void TestWindowsRecycleBin::restoreRefused()
{
    QFETCH(QString, fault);
    QFETCH(RestoreResult::Kind, kind);
    QFETCH(bool, staysInBin);
    const QString original = m_root + "/work/item";
    QVERIFY(makeFile(original + "/a.txt"));
    QString entry = recycleByHand(m_root, original, "XYZ001");
    QVERIFY(!entry.isEmpty());
    TrashPlace place = WindowsRecycleBin::placeOf(native(entry), native(original));
    QVERIFY(place.isKnown());
    const QString record = binFolder(m_root) + "/$IXYZ001";

    if (fault == "occupied") {
        QVERIFY(QDir().mkpath(original));
    } else if (fault == "no parent") {
        QVERIFY(QDir(m_root + "/work").removeRecursively());
    } else if (fault == "other place" || fault == "other time") {
        const bool time = fault == "other time";
        const RecycleBinRecord r{2, 4096, time ? DeletedAt + 1 : DeletedAt,
                                 native(time ? original : m_root + "/work/other")};
        QVERIFY(putBytes(record, r.bytes()));
    } else if (fault == "no record") {
        QVERIFY(QFile::remove(record));
    } else if (fault == "other entry") {
        QVERIFY(QDir().rename(entry, m_root + "/moved"));
        QVERIFY(makeFile(entry + "/b.txt"));
    } else if (fault == "emptied") {
        QVERIFY(QDir(entry).removeRecursively());
    } else if (fault == "other user") {
        const QString other = m_root + "/$Recycle.Bin/S-1-5-21-1-2-3-1001";
        QVERIFY(QDir().rename(binFolder(m_root), other));
        entry = other + "/$RXYZ001";
        place.trashDir = native(other).toUtf8();
    } else if (fault == "no bin") {
        const QString other = m_root + "/Bin/" + RecycleBinRestore::userSid();
        QVERIFY(QDir().mkpath(m_root + "/Bin"));
        QVERIFY(QDir().rename(binFolder(m_root), other));
        entry = other + "/$RXYZ001";
        place.trashDir = native(other).toUtf8();
    }

    RecycleBinRestore restorer;
    const RestoreResult r = restorer.restore(place, false);
    QCOMPARE(r.kind, kind);
    QCOMPARE(QFileInfo::exists(entry), staysInBin);
    QVERIFY(!QFileInfo::exists(original + "/a.txt"));
}

void TestWindowsRecycleBin::occupiedRightBeforeTheMove()
{
    const QString original = m_root + "/work/item";
    QVERIFY(makeFile(original + "/a.txt"));
    const QString entry = recycleByHand(m_root, original, "RACE01");
    const TrashPlace place = WindowsRecycleBin::placeOf(native(entry), native(original));
    QVERIFY(place.isKnown());
    RecycleBinRestore restorer;
    // After every check another folder takes the place: the item is never moved over it.
    restorer.setBeforeMove([&](const QString&) { QVERIFY(makeFile(original + "/theirs.txt")); });
    QCOMPARE(restorer.restore(place, false).kind, RestoreResult::Kind::Occupied);
    QVERIFY(QFileInfo::exists(entry + "/a.txt"));
    QVERIFY(QFileInfo::exists(original + "/theirs.txt"));
    QVERIFY(QFileInfo::exists(binFolder(m_root) + "/$IRACE01"));
}

void TestWindowsRecycleBin::backAlreadyTakesTheStaleRecord()
{
    // A run killed after the move and before the record went: the next attempt finds the item
    // back and takes the record along.
    const QString original = m_root + "/work/item";
    QVERIFY(makeFile(original + "/a.txt"));
    const QString entry = recycleByHand(m_root, original, "BACK01");
    const TrashPlace place = WindowsRecycleBin::placeOf(native(entry), native(original));
    QVERIFY(place.isKnown());
    QVERIFY(QDir().rename(entry, original));
    RecycleBinRestore restorer;
    QCOMPARE(restorer.restore(place, false).kind, RestoreResult::Kind::Back);
    QVERIFY(!QFileInfo::exists(binFolder(m_root) + "/$IBACK01"));
    QVERIFY(QFileInfo::exists(original + "/a.txt"));
}

void TestWindowsRecycleBin::dryRunMovesNothing()
{
    // A folder and one it held, trashed one after the other: the inner one counts as
    // restorable once the outer one would be back.
    const QString outer = m_root + "/work/outer";
    const QString inner = outer + "/inner";
    QVERIFY(makeFile(inner + "/a.txt"));
    const QString innerEntry = recycleByHand(m_root, inner, "DRY001");
    const QString outerEntry = recycleByHand(m_root, outer, "DRY002");
    const QList<TrashPlace> places{WindowsRecycleBin::placeOf(native(outerEntry), native(outer)),
                                   WindowsRecycleBin::placeOf(native(innerEntry), native(inner))};
    QVERIFY(places.at(0).isKnown() && places.at(1).isKnown());
    HostFileSystem fs;
    const QList<RestoreResult> planned = fs.restore(places, true);
    QCOMPARE(planned.at(0).kind, RestoreResult::Kind::Restored);
    QCOMPARE(planned.at(1).kind, RestoreResult::Kind::Restored);
    QVERIFY(QFileInfo::exists(innerEntry + "/a.txt"));
    QVERIFY(QFileInfo::exists(outerEntry));
    QVERIFY(!QFileInfo::exists(outer));

    const QList<RestoreResult> done = fs.restore(places, false);
    QCOMPARE(done.at(0).kind, RestoreResult::Kind::Restored);
    QCOMPARE(done.at(1).kind, RestoreResult::Kind::Restored);
    QCOMPARE(fileBytes(inner + "/a.txt"), QByteArray("precious"));
}

QTEST_GUILESS_MAIN(TestWindowsRecycleBin)
#include "test_windows_recycle_bin.moc"
