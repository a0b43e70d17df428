#include "fileservices/FileFolder.h"
#include "trash/FreedesktopTrash.h"

#include "RecordingProgress.h"
#include "ScriptedPrompter.h"
#include "TestHelpers.h"
#include "Unprivileged.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <csignal>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

struct TrashInfo {
    bool valid = false;
    QByteArray rawPath;
    QString path; // decoded
    QDateTime deleted;
};

TrashInfo readInfo(const QString& file)
{
    TrashInfo info;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return info;
    const QList<QByteArray> lines = f.readAll().split('\n');
    // Exactly the header, two keys and the closing newline.
    if (lines.size() != 4 || lines[0] != "[Trash Info]" || !lines[1].startsWith("Path=") ||
        !lines[2].startsWith("DeletionDate=") || !lines[3].isEmpty())
        return info;
    info.rawPath = lines[1].mid(5);
    info.path = QFile::decodeName(QByteArray::fromPercentEncoding(info.rawPath));
    // Exactly YYYY-MM-DDThh:mm:ss, local time: readers differ on anything else.
    const QString date = QString::fromLatin1(lines[2].mid(13));
    if (!QRegularExpression("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d$").match(date).hasMatch())
        return info;
    info.deleted = QDateTime::fromString(date, Qt::ISODate);
    info.valid = info.deleted.isValid();
    return info;
}

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                               QDir::NoDotAndDotDot);
}

// The device of `path` or of its nearest existing ancestor.
dev_t deviceOf(QString path)
{
    struct stat st;
    while (::stat(QFile::encodeName(path).constData(), &st) != 0 && path != "/")
        path = QFileInfo(path).path();
    return st.st_dev;
}

} // namespace

class TestTrash : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void trashInfoContent_data();
    void trashInfoContent();
    void homeTrashCreatedPrivate();
    void homeFromHomeWhenDataHomeRelative();
    void noHomeFailsAndKeepsItem_data();
    void noHomeFailsAndKeepsItem();
    void unusableTrashKeepsItem_data();
    void unusableTrashKeepsItem();
    void readOnlyTrashAsOrdinaryUser();
    void sameNameThousandTimes();
    void sameNameAgainLater();
    void longNameIsShortenedButRestorable();
    void linkGoesNotTarget();
    void vanishedItem();
    void folderHoldingTheTrash();
    void cancelHalfWay_data();
    void cancelHalfWay();
    void confirmationDeclined();
    void oneConfirmationAndProgress_data();
    void oneConfirmationAndProgress();
    void otherVolumeUsesItsOwnTrash();
    void linkThenDotDotMeansTheCheckedFolder();
    void folderHoldingAMountStays();
    void killedMidRunLeavesNoPartialInfo();
    void staleInfoPartsOfDeadRunsGo();
    void trashFoldersNeverMove_data();
    void trashFoldersNeverMove();
    void sharedTrashOnlyWithStickyBit_data();
    void sharedTrashOnlyWithStickyBit();

private:
    QString makeItem(const QString& relative);
    QString homeTrash() const { return m_data + "/Trash"; }

    QString m_workingBefore;
    std::unique_ptr<QTemporaryDir> m_cwd;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_home;
    QString m_data;
    QString m_items;
};

void TestTrash::initTestCase()
{
    m_workingBefore = QDir::currentPath();
}

void TestTrash::init()
{
    // An empty working directory: nothing may ever land in it.
    m_cwd = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_cwd->path()));
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_home = m_dir->path() + "/home";
    m_data = m_dir->path() + "/data/share";
    m_items = m_dir->path() + "/items";
    QVERIFY(QDir().mkpath(m_home));
    QVERIFY(QDir().mkpath(m_items));
    qputenv("HOME", QFile::encodeName(m_home));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_data));
}

void TestTrash::cleanup()
{
    QDir::setCurrent(m_workingBefore);
    QVERIFY2(entries(m_cwd->path()).isEmpty(), qPrintable(entries(m_cwd->path()).join(", ")));
    // Folders the test made read-only must be removable again.
    if (QFileInfo::exists(homeTrash()))
        ::chmod(QFile::encodeName(homeTrash()).constData(), 0700);
}

void TestTrash::cleanupTestCase()
{
    QDir::setCurrent(m_workingBefore);
}

QString TestTrash::makeItem(const QString& relative)
{
    const QString path = m_items + '/' + relative;
    if (!QDir().mkpath(path))
        return {};
    QFile f(path + "/content.txt");
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write("content");
    return path;
}

void TestTrash::trashInfoContent_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "case001";
    QTest::newRow("space") << "case 001";
    QTest::newRow("percent") << "100%done";
    QTest::newRow("percent escape lookalike") << "a%20b";
    QTest::newRow("newline") << "line\nbreak";
    QTest::newRow("reserved characters") << "a#b?c&d=e+f;g@h";
    QTest::newRow("japanese") << "フォルダー番号００１";
    QTest::newRow("leading dot") << ".hidden";
}

void TestTrash::trashInfoContent()
{
    QFETCH(QString, name);
    const QString item = makeItem("parent dir/" + name);
    QVERIFY(!item.isEmpty());
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);

    ScriptedPrompter prompter;
    FileFolder ff(&prompter);
    QVERIFY(ff.recycled(toPathList({item})));
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);

    QVERIFY(!QFileInfo::exists(item));
    QVERIFY(QFileInfo::exists(homeTrash() + "/files/" + name + "/content.txt"));
    const TrashInfo info = readInfo(homeTrash() + "/info/" + name + ".trashinfo");
    QVERIFY(info.valid);
    QCOMPARE(info.path, QFileInfo(item).absoluteFilePath());
    // Only unreserved characters, '/' and escapes stay as they are.
    QVERIFY2(QRegularExpression("^[A-Za-z0-9._~/%-]*$")
                 .match(QString::fromLatin1(info.rawPath))
                 .hasMatch(),
             info.rawPath.constData());
    QVERIFY(info.deleted >= before.addMSecs(-before.time().msec()) && info.deleted <= after);
    QCOMPARE(entries(homeTrash() + "/info").size(), 1);
}

void TestTrash::homeTrashCreatedPrivate()
{
    QVERIFY(!QFileInfo::exists(m_dir->path() + "/data"));
    const QString item = makeItem("one");
    FileFolder ff;
    ff.setRespondDialog(true);
    QVERIFY(ff.recycled(toPathList({item})));
    for (const QString& dir :
         QStringList{homeTrash(), homeTrash() + "/files", homeTrash() + "/info"}) {
        struct stat st;
        QVERIFY(::stat(QFile::encodeName(dir).constData(), &st) == 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0700));
    }
}

void TestTrash::homeFromHomeWhenDataHomeRelative()
{
    qputenv("XDG_DATA_HOME", "relative/share");
    const QString item = makeItem("one");
    FileFolder ff;
    ff.setRespondDialog(true);
    QVERIFY(ff.recycled(toPathList({item})));
    QVERIFY(QFileInfo::exists(m_home + "/.local/share/Trash/files/one"));
    QVERIFY(QFileInfo::exists(m_home + "/.local/share/Trash/info/one.trashinfo"));
}

void TestTrash::noHomeFailsAndKeepsItem_data()
{
    QTest::addColumn<QByteArray>("home");
    QTest::addColumn<QByteArray>("dataHome");
    QTest::newRow("neither set") << QByteArray() << QByteArray();
    QTest::newRow("both relative") << QByteArray("home") << QByteArray("data");
    QTest::newRow("home empty, data relative") << QByteArray("") << QByteArray(".");
}

void TestTrash::noHomeFailsAndKeepsItem()
{
    QFETCH(QByteArray, home);
    QFETCH(QByteArray, dataHome);
    const QString item = makeItem("stays");
    home.isNull() ? qunsetenv("HOME") : qputenv("HOME", home);
    dataHome.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", dataHome);
    FileFolder ff;
    ff.setRespondDialog(true);
    const bool ok = ff.recycled(toPathList({item}));
    qputenv("HOME", QFile::encodeName(m_home));
    QVERIFY(!ok);
    QVERIFY(QFileInfo::exists(item + "/content.txt"));
    // cleanup() checks the working directory.
}

void TestTrash::unusableTrashKeepsItem_data()
{
    QTest::addColumn<QString>("fileInTheWay"); // relative to the data folder
    QTest::newRow("trash is a file") << "Trash";
    QTest::newRow("info is a file") << "Trash/info";
    QTest::newRow("files is a file") << "Trash/files";
    QTest::newRow("data folder is a file") << "";
}

void TestTrash::unusableTrashKeepsItem()
{
    QFETCH(QString, fileInTheWay);
    const QString blocker = fileInTheWay.isEmpty() ? m_data : m_data + '/' + fileInTheWay;
    QVERIFY(QDir().mkpath(QFileInfo(blocker).path()));
    QFile f(blocker);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    const QString a = makeItem("a");
    const QString b = makeItem("b");

    FileFolder ff;
    ff.setRespondDialog(true);
    QVERIFY(!ff.recycled(toPathList({a, b})));
    QVERIFY(QFileInfo::exists(a + "/content.txt"));
    QVERIFY(QFileInfo::exists(b + "/content.txt"));
    QVERIFY(QFileInfo(blocker).isFile());
    if (QFileInfo(homeTrash() + "/info").isDir())
        QVERIFY(entries(homeTrash() + "/info").isEmpty());
}

void TestTrash::readOnlyTrashAsOrdinaryUser()
{
    // Everything the ordinary user needs belongs to it; only the trash refuses writing.
    const QString item = makeItem("item");
    QVERIFY(QDir().mkpath(homeTrash() + "/files"));
    QVERIFY(QDir().mkpath(homeTrash() + "/info"));
    const QByteArray uid = QByteArray::number(unprivilegedUid());
    QVERIFY(QProcess::execute("chown", {"-R", uid, m_dir->path()}) == 0 || ::geteuid() != 0);
    QVERIFY(::chmod(QFile::encodeName(homeTrash() + "/info").constData(), 0500) == 0);

    const int result = runUnprivileged([&] {
        FileFolder ff;
        ff.setRespondDialog(true);
        return ff.recycled(toPathList({item})) ? 1 : 0;
    });
    ::chmod(QFile::encodeName(homeTrash() + "/info").constData(), 0700);
    if (result < 0)
        QSKIP("cannot run as an ordinary user here");
    QCOMPARE(result, 0);
    QVERIFY(QFileInfo::exists(item + "/content.txt"));
    QVERIFY(entries(homeTrash() + "/files").isEmpty());
}

void TestTrash::sameNameThousandTimes()
{
    constexpr int count = 1000;
    QStringList items;
    for (int i = 0; i < count; ++i)
        items << makeItem(QString::number(i) + "/case001");
    ScriptedPrompter prompter;
    FileFolder ff(&prompter);
    QVERIFY(ff.recycled(toPathList(items)));

    const QStringList infos = entries(homeTrash() + "/info");
    QCOMPARE(infos.size(), count);
    QCOMPARE(entries(homeTrash() + "/files").size(), count);
    QSet<QString> paths;
    for (const QString& name : infos) {
        QVERIFY(name.endsWith(".trashinfo"));
        const QString stored = name.chopped(10);
        QVERIFY(QFileInfo(homeTrash() + "/files/" + stored + "/content.txt").exists());
        const TrashInfo info = readInfo(homeTrash() + "/info/" + name);
        QVERIFY(info.valid);
        paths.insert(info.path);
    }
    QCOMPARE(paths, QSet<QString>(items.begin(), items.end()));
    QCOMPARE(prompter.shown.size(), 1);
    QVERIFY(prompter.shown.front().text.contains(QString::number(count)));
}

void TestTrash::sameNameAgainLater()
{
    // An entry in files/ without its .trashinfo must not be overwritten either.
    QVERIFY(QDir().mkpath(homeTrash() + "/files/twice"));
    QVERIFY(QDir().mkpath(homeTrash() + "/info"));
    FileFolder ff;
    ff.setRespondDialog(true);
    for (int round = 0; round < 2; ++round) {
        const QString item = makeItem("twice");
        QVERIFY(ff.recycled(toPathList({item})));
        QVERIFY(!QFileInfo::exists(item));
    }
    QCOMPARE(entries(homeTrash() + "/files").size(), 3);
    QCOMPARE(entries(homeTrash() + "/info").size(), 2);
    QVERIFY(!QFileInfo::exists(homeTrash() + "/info/twice.trashinfo"));
}

void TestTrash::longNameIsShortenedButRestorable()
{
    // 84 three-byte characters: 252 bytes, too long for "<name>.trashinfo".
    const QString name(84, QChar(0x30D5));
    const QString item = makeItem(name);
    QVERIFY(!item.isEmpty());
    FileFolder ff;
    ff.setRespondDialog(true);
    QVERIFY(ff.recycled(toPathList({item})));
    const QStringList infos = entries(homeTrash() + "/info");
    QCOMPARE(infos.size(), 1);
    QVERIFY(QFile::encodeName(infos.front()).size() <= 255);
    QVERIFY(QFileInfo(homeTrash() + "/files/" + infos.front().chopped(10)).isDir());
    QCOMPARE(readInfo(homeTrash() + "/info/" + infos.front()).path, item);
}

void TestTrash::linkGoesNotTarget()
{
    const QString target = makeItem("target");
    QVERIFY(QFile::link(target, m_items + "/link"));
    FileFolder ff;
    ff.setRespondDialog(true);
    QVERIFY(ff.recycled(toPathList({m_items + "/link/"})));
    QVERIFY(QFileInfo(homeTrash() + "/files/link").isSymLink());
    QVERIFY(QFileInfo::exists(target + "/content.txt"));
}

void TestTrash::vanishedItem()
{
    const QString a = makeItem("a");
    const QString b = makeItem("b");
    FileFolder ff;
    ff.setRespondDialog(true);
    QVERIFY(!ff.recycled(toPathList({a, m_items + "/vanished", b, "relative/c"})));
    QVERIFY(!QFileInfo::exists(a));
    QVERIFY(!QFileInfo::exists(b));
    QCOMPARE(entries(homeTrash() + "/files"), QStringList({"a", "b"}));
    QCOMPARE(entries(homeTrash() + "/info"), QStringList({"a.trashinfo", "b.trashinfo"}));
}

void TestTrash::folderHoldingTheTrash()
{
    // The trash cannot go into itself: the rename fails after the .trashinfo was written.
    const QString holder = makeItem("holder");
    m_data = holder + "/share";
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_data));
    FileFolder ff;
    ff.setRespondDialog(true);
    QVERIFY(!ff.recycled(toPathList({holder})));
    QVERIFY(QFileInfo::exists(holder + "/content.txt"));
    QVERIFY(entries(homeTrash() + "/info").isEmpty());
    QVERIFY(entries(homeTrash() + "/files").isEmpty());
}

void TestTrash::cancelHalfWay_data()
{
    QTest::addColumn<int>("cancelAt");
    QTest::newRow("half-way") << 3;
    // Pressed as the last item went: nothing was left undone, so the operation is done.
    QTest::newRow("after the last item") << 6;
}

void TestTrash::cancelHalfWay()
{
    QFETCH(int, cancelAt);
    QStringList items;
    for (int i = 1; i <= 6; ++i)
        items << makeItem(QString("case%1").arg(i));
    ScriptedPrompter prompter;
    RecordingProgress progress;
    progress.cancelAt = cancelAt;
    FileFolder ff(&prompter, &progress);
    QCOMPARE(ff.recycled(toPathList(items)), cancelAt == 6);
    QCOMPARE(progress.starts, 1);
    QCOMPARE(progress.finishes, 1);
    QCOMPARE(progress.total, 6);
    for (int i = 0; i < 6; ++i) {
        const QString name = QFileInfo(items[i]).fileName();
        const bool moved = i < cancelAt;
        QCOMPARE(QFileInfo::exists(items[i]), !moved);
        QCOMPARE(QFileInfo::exists(homeTrash() + "/files/" + name), moved);
        QCOMPARE(QFileInfo::exists(homeTrash() + "/info/" + name + ".trashinfo"), moved);
    }
}

void TestTrash::confirmationDeclined()
{
    const QString a = makeItem("a");
    const QString b = makeItem("b");
    ScriptedPrompter prompter;
    prompter.answers << Answer::No;
    RecordingProgress progress;
    FileFolder ff(&prompter, &progress);
    QVERIFY(!ff.recycled(toPathList({a, b})));
    QCOMPARE(prompter.shown.size(), 1);
    QCOMPARE(prompter.shown.front().number, -1);
    QCOMPARE(prompter.shown.front().style, MessageStyle::YesNo | MessageStyle::IconQuestion);
    QVERIFY(prompter.shown.front().text.contains("2"));
    QVERIFY(QFileInfo::exists(a) && QFileInfo::exists(b));
    QVERIFY(!QFileInfo::exists(homeTrash()));
    QCOMPARE(progress.starts, 0);
}

void TestTrash::oneConfirmationAndProgress_data()
{
    QTest::addColumn<bool>("respondDialog");
    QTest::addColumn<bool>("showDialog");
    QTest::newRow("asks, shows") << false << true;
    QTest::newRow("asks, silent") << false << false;
    QTest::newRow("no question, shows") << true << true;
}

void TestTrash::oneConfirmationAndProgress()
{
    QFETCH(bool, respondDialog);
    QFETCH(bool, showDialog);
    const QStringList items{makeItem("a"), makeItem("b"), makeItem("c")};
    ScriptedPrompter prompter;
    RecordingProgress progress;
    FileFolder ff(&prompter, &progress);
    ff.setRespondDialog(respondDialog);
    ff.setShowDialog(showDialog);
    QVERIFY(ff.recycled(toPathList(items)));
    QCOMPARE(prompter.shown.size(), respondDialog ? 0 : 1);
    QCOMPARE(progress.starts, showDialog ? 1 : 0);
    QCOMPARE(progress.lastDone, showDialog ? 3 : -1);
    QCOMPARE(entries(homeTrash() + "/files").size(), 3);
}

void TestTrash::otherVolumeUsesItsOwnTrash()
{
    // A folder on another device than the home trash, e.g. a tmpfs /tmp.
    const dev_t homeDevice = deviceOf(homeTrash());
    QString base;
    for (const QString& candidate : {QString("/tmp"), QString("/dev/shm"), QString("/run/user")}) {
        QFileInfo fi(candidate);
        if (fi.isDir() && fi.isWritable() && deviceOf(candidate) != homeDevice) {
            base = candidate;
            break;
        }
    }
    if (base.isEmpty())
        QSKIP("no writable folder on another device than the home trash");

    QTemporaryDir other(base + "/nmaker-trash-test-XXXXXX");
    QVERIFY(other.isValid());
    const QString item = other.path() + "/case 001";
    QVERIFY(QDir().mkpath(item));

    // The volume's top folder: walk up while the device stays the same.
    QString topdir = base;
    while (topdir != "/" && deviceOf(QFileInfo(topdir).path()) == deviceOf(base))
        topdir = QFileInfo(topdir).path();
    const QString uid = QString::number(::getuid());
    const QString trash = (topdir == "/" ? QString() : topdir) + "/.Trash-" + uid;
    const bool trashExisted = QFileInfo::exists(trash);
    const QString shared = topdir + "/.Trash/" + uid;

    FileFolder ff;
    ff.setRespondDialog(true);
    const bool ok = ff.recycled(toPathList({item}));
    const QString used = QFileInfo::exists(shared + "/files/case 001") ? shared : trash;
    const QStringList infos = entries(used + "/info");
    TrashInfo info;
    for (const QString& name : infos) {
        const TrashInfo candidate = readInfo(used + "/info/" + name);
        if (candidate.path == item.mid(topdir.size() + (topdir == "/" ? 0 : 1))) {
            info = candidate;
            QFile::remove(used + "/info/" + name);
            QDir(used + "/files/" + name.chopped(10)).removeRecursively();
        }
    }
    if (!trashExisted && QFileInfo::exists(trash))
        QDir(trash).removeRecursively();

    QVERIFY(ok);
    QVERIFY(!QFileInfo::exists(item));
    QVERIFY(info.valid);
    QVERIFY(!QDir::isAbsolutePath(info.path)); // relative to the volume's top folder
    QVERIFY(!QFileInfo::exists(homeTrash() + "/files/case 001"));
}

void TestTrash::linkThenDotDotMeansTheCheckedFolder()
{
    // L is a link to other/deep, so L/.. is other: T/001 there is empty, the T/001 beside L
    // holds a file. Every step must mean the folder the system means.
    QVERIFY(QDir().mkpath(m_items + "/other/deep"));
    QVERIFY(QDir().mkpath(m_items + "/other/T/001"));
    QVERIFY(!makeItem("T/001").isEmpty());
    QVERIFY(QFile::link(m_items + "/other/deep", m_items + "/L"));
    const QString viaLink = m_items + "/L/../T/";

    FileFolder ff;
    ff.setRespondDialog(true);
    QVERIFY(ff.folderExist(viaLink + "001"));
    QVERIFY(!ff.fileExist(viaLink + "001/*.*"));
    QCOMPARE(ff.createFolder(viaLink + "002"), CreateResult::Created);
    QVERIFY(QFileInfo(m_items + "/other/T/002").isDir());
    QVERIFY(!QFileInfo::exists(m_items + "/T/002"));

    QVERIFY(ff.recycled(toPathList({viaLink + "001"})));
    QVERIFY(!QFileInfo::exists(m_items + "/other/T/001"));
    QVERIFY(QFileInfo::exists(m_items + "/T/001/content.txt"));
    const TrashInfo info = readInfo(homeTrash() + "/info/001.trashinfo");
    QVERIFY(info.valid);
    QCOMPARE(info.path, QDir(m_items).canonicalPath() + "/other/T/001");
}

void TestTrash::folderHoldingAMountStays()
{
    const QString holder = makeItem("holder");
    const QString point = holder + "/sub/volume";
    QVERIFY(QDir().mkpath(point));
    if (::mount("nmaker-test", QFile::encodeName(point).constData(), "tmpfs", 0, "size=1m") != 0)
        QSKIP("cannot mount a tmpfs here");
    QFile inside(point + "/on-the-volume.txt");
    QVERIFY(inside.open(QIODevice::WriteOnly));
    inside.close();

    ScriptedPrompter prompter;
    FileFolder ff(&prompter);
    ff.setRespondDialog(true);
    // Neither the folder holding the volume nor one above it is "empty", even without files.
    QVERIFY(ff.fileExist(holder + "/sub/*.*"));
    const bool sentHolder = ff.recycled(toPathList({holder}));
    const bool sentSub = ff.recycled(toPathList({holder + "/sub"}));
    const bool volumeStillThere = QFileInfo::exists(point + "/on-the-volume.txt");
    ::umount2(QFile::encodeName(point).constData(), MNT_DETACH);

    QVERIFY(!sentHolder);
    QVERIFY(!sentSub);
    QVERIFY(volumeStillThere);
    QVERIFY(QFileInfo::exists(holder + "/content.txt"));
    QVERIFY(entries(homeTrash() + "/info").isEmpty());
    QVERIFY(entries(homeTrash() + "/files").isEmpty());
}

void TestTrash::killedMidRunLeavesNoPartialInfo()
{
    // Kill a trash run at several moments: whatever reached info/ must be a whole .trashinfo.
    for (int round = 0; round < 6; ++round) {
        const QString batch = QStringLiteral("round%1").arg(round);
        QStringList items;
        for (int i = 0; i < 400; ++i) {
            const QString item = m_items + '/' + batch + QStringLiteral("/case%1").arg(i);
            QVERIFY(QDir().mkpath(item));
            items << item;
        }
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            FileFolder ff;
            ff.setRespondDialog(true);
            ff.recycled(toPathList(items));
            ::_exit(0);
        }
        ::usleep(useconds_t(1000 + round * 2500));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        QSet<QString> inTrash;
        for (const QString& name : entries(homeTrash() + "/info")) {
            if (!name.endsWith(".trashinfo"))
                continue;
            const TrashInfo info = readInfo(homeTrash() + "/info/" + name);
            QVERIFY2(info.valid, qPrintable(name));
            if (QFileInfo::exists(homeTrash() + "/files/" + name.chopped(10)))
                inTrash.insert(info.path);
        }
        // Not one folder lost: each is where it was, or in the trash with its info.
        for (const QString& item : std::as_const(items))
            QVERIFY2(QFileInfo::exists(item) || inTrash.contains(item), qPrintable(item));
    }
}

void TestTrash::staleInfoPartsOfDeadRunsGo()
{
    // A run killed while it wrote under the temporary name leaves the file behind; the next
    // run removes those of processes that are gone, and no other.
    QVERIFY(QDir().mkpath(homeTrash() + "/info"));
    QVERIFY(QDir().mkpath(homeTrash() + "/files"));
    const pid_t dead = ::fork();
    if (dead == 0)
        ::_exit(0);
    ::waitpid(dead, nullptr, 0);
    const QString deadPart = QStringLiteral(".nmaker-%1.part").arg(dead);
    const QString livePart = QStringLiteral(".nmaker-%1.part").arg(::getppid());
    const QString others = QStringLiteral(".other-%1.part").arg(dead);
    for (const QString& name : {deadPart, livePart, others})
        QVERIFY(putBytes(homeTrash() + "/info/" + name, "[Trash Info]\n"));

    FileFolder ff;
    ff.setRespondDialog(true);
    QVERIFY(ff.recycled(toPathList({makeItem("one")})));
    QCOMPARE(entries(homeTrash() + "/info"), (QStringList{livePart, others, "one.trashinfo"}));
}

void TestTrash::trashFoldersNeverMove_data()
{
    QTest::addColumn<QString>("item"); // @ is the data folder, ~ the items folder
    QTest::newRow("the home trash") << "@/Trash";
    QTest::newRow("its info folder") << "@/Trash/info";
    QTest::newRow("its files folder") << "@/Trash/files";
    QTest::newRow("an item inside it") << "@/Trash/files/old";
    QTest::newRow("a folder holding it") << "@";
    QTest::newRow("a volume's shared trash") << "~/.Trash";
    QTest::newRow("a volume's trash of a user") << "~/.Trash-1000";
    QTest::newRow("inside a volume's trash") << "~/.Trash-1000/info";
}

void TestTrash::trashFoldersNeverMove()
{
    QFETCH(QString, item);
    item.replace('@', m_data).replace('~', m_items);
    // A trash that already holds an item, so that its loss would show.
    const QString old = makeItem("old");
    FileFolder ff;
    ff.setRespondDialog(true);
    QVERIFY(ff.recycled(toPathList({old})));
    QVERIFY(QDir().mkpath(item));

    QVERIFY(!ff.recycled(toPathList({item})));
    QVERIFY(QFileInfo(item).isDir());
    QCOMPARE(entries(homeTrash() + "/files"), QStringList{"old"});
    QCOMPARE(entries(homeTrash() + "/info"), QStringList{"old.trashinfo"});
}

void TestTrash::sharedTrashOnlyWithStickyBit_data()
{
    QTest::addColumn<QString>("shared"); // what stands at $topdir/.Trash
    QTest::addColumn<bool>("used");
    QTest::newRow("sticky folder") << "sticky" << true;
    QTest::newRow("folder without the sticky bit") << "plain" << false;
    QTest::newRow("link to a sticky folder") << "link" << false;
}

void TestTrash::sharedTrashOnlyWithStickyBit()
{
    QFETCH(QString, shared);
    QFETCH(bool, used);
    // A volume of its own, so that its top folder is known.
    const QString top = m_dir->path() + "/volume";
    QVERIFY(QDir().mkpath(top));
    if (::mount("nmaker-test", QFile::encodeName(top).constData(), "tmpfs", 0, "size=1m") != 0)
        QSKIP("cannot mount a tmpfs here");
    const QString sticky = top + (shared == "link" ? "/elsewhere" : "/.Trash");
    QVERIFY(QDir().mkpath(sticky));
    ::chmod(QFile::encodeName(sticky).constData(), shared == "plain" ? 0777 : 01777);
    if (shared == "link")
        QVERIFY(QFile::link(sticky, top + "/.Trash"));
    QVERIFY(QDir().mkpath(top + "/item"));

    FileFolder ff;
    ff.setRespondDialog(true);
    const bool ok = ff.recycled(toPathList({top + "/item"}));
    const QString uid = QString::number(::getuid());
    const bool inShared = QFileInfo::exists(sticky + '/' + uid + "/files/item");
    const bool inOwn = QFileInfo::exists(top + "/.Trash-" + uid + "/files/item");
    const QString usedTrash =
        inShared ? QString(sticky + '/' + uid) : QString(top + "/.Trash-" + uid);
    const TrashInfo info = readInfo(usedTrash + "/info/item.trashinfo");
    ::umount2(QFile::encodeName(top).constData(), MNT_DETACH);
    QVERIFY(ok);
    QCOMPARE(inShared, used);
    QCOMPARE(inOwn, !used);
    QVERIFY(info.valid);
    QCOMPARE(info.path, "item"); // relative to the volume's top
}

QTEST_GUILESS_MAIN(TestTrash)
#include "test_trash.moc"
