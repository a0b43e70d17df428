#include "fileservices/FileFolder.h"

#include "RecordingProgress.h"
#include "ScriptedChoosers.h"
#include "ScriptedPrompter.h"
#include "Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace
{

// Builds a small tree from lines such as "dir:a/b", "file:a/x.txt", "link:l->target".
void build(const QString& root, const QStringList& setup)
{
    for (const QString& line : setup) {
        const QString kind = line.section(':', 0, 0);
        const QString rest = line.section(':', 1);
        if (kind == "dir") {
            QVERIFY(QDir(root).mkpath(rest));
        } else if (kind == "file") {
            QVERIFY(QDir(root).mkpath(QFileInfo(rest).path()));
            QFile f(root + '/' + rest);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("x");
        } else if (kind == "link") {
            const QString name = rest.section("->", 0, 0);
            const QString target = rest.section("->", 1);
            QVERIFY(QFile::link(target, root + '/' + name));
        }
    }
}

// "@" stands for the temporary folder; the path comes in the host's own form, as users type it.
QString resolved(const QString& root, const QString& path)
{
    QString p = path;
    return QDir::toNativeSeparators(p.replace("@", root));
}

} // namespace

Q_DECLARE_METATYPE(BrowseRoot)

class TestFileOps : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void createFolderCodes_data();
    void createFolderCodes();
    void createFolderTwice();
    void createFolderWithoutPermission();
    void createFolderNeverUsesWorkingDirectory();

    void fileExistPatterns_data();
    void fileExistPatterns();
    void folderExistForms_data();
    void folderExistForms();

    void nameHelpers_data();
    void nameHelpers();
    void filePathAndSplit_data();
    void filePathAndSplit();
    void tempFolderEndsWithSeparator();

    void flagsStartValuesAndBits_data();
    void flagsStartValuesAndBits();
    void recycledSetsAllowUndo();
    void emptyFirstEntryDoesNothing_data();
    void emptyFirstEntryDoesNothing();
    void targetForgetsDestroyedOwner();
    void browserOptions();
    void browserRoots_data();
    void browserRoots();
    void browseUserFolder();

    void deleteRemovesLinkNotTarget();
    void deleteDeclinedKeepsItems();
    void copyAndMoveNeverOverwrite_data();
    void copyAndMoveNeverOverwrite();
    void moveSeveralIntoNewFolder();
    void renameOnCollision();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_root;
};

void TestFileOps::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_root = m_dir->path();
}

void TestFileOps::createFolderCodes_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("folderAfter");

    QTest::newRow("three missing levels") << QStringList{} << "@/a/b/c" << 0 << true;
    QTest::newRow("trailing separator") << QStringList{} << "@/a/" << 0 << true;
    QTest::newRow("dot segments") << QStringList{"dir:a/b"} << "@/a/./b/../c" << 0 << true;
    QTest::newRow("nul in the name")
        << QStringList{} << QString("@/ab") + QChar(0) + "cd" << 161 << false;
    QTest::newRow("exists") << QStringList{"dir:a/b"} << "@/a/b" << 183 << true;
    QTest::newRow("file in the way") << QStringList{"file:f"} << "@/f" << 80 << false;
    QTest::newRow("file as a parent") << QStringList{"file:f"} << "@/f/sub/x" << 3 << false;
    QTest::newRow("name too long") << QStringList{} << "@/" + QString(300, 'n') << 206 << false;
    QTest::newRow("relative") << QStringList{} << "nmaker-relative/a" << 161 << false;
    QTest::newRow("empty") << QStringList{} << "" << 161 << false;
#ifdef Q_OS_WIN
    // Windows applies ".." to the text before it looks at the disk.
    QTest::newRow("dot-dot after a missing folder")
        << QStringList{"dir:a"} << "@/a/b/../c" << 0 << true;
    QTest::newRow("missing drive") << QStringList{} << "Q:\\nmaker\\a" << 3 << false;
    // The Win32 layer would drop the dot or blank, or open the device: another folder or none.
    QTest::newRow("device name") << QStringList{} << "@/CON" << 123 << false;
    QTest::newRow("device name with an extension on the way")
        << QStringList{} << "@/a/nul.txt/b" << 123 << false;
    QTest::newRow("device name in lower case") << QStringList{} << "@/com1" << 123 << false;
    QTest::newRow("trailing dot") << QStringList{} << "@/a." << 123 << false;
    QTest::newRow("trailing blank on the way") << QStringList{} << "@/a /b" << 123 << false;
    QTest::newRow("beyond 260 characters")
        << QStringList{} << "@/" + QStringList(30, "folder-name").join('/') << 0 << true;
    QTest::newRow("long prefix") << QStringList{} << "\\\\?\\@/x/y" << 0 << true;
#else
    // The system cannot go up from a folder that is not there, so neither does creation.
    QTest::newRow("dot-dot after a missing folder")
        << QStringList{"dir:a"} << "@/a/b/../c" << 3 << false;
    QTest::newRow("exists as a link to a folder")
        << QStringList{"dir:real", "link:l->real"} << "@/l" << 183 << true;
    QTest::newRow("dangling link in the way")
        << QStringList{"link:l->missing"} << "@/l" << 80 << false;
    QTest::newRow("dangling link as a parent")
        << QStringList{"link:l->missing"} << "@/l/sub" << 3 << false;
    // A missing top folder stands for a volume that is not mounted: never created.
    QTest::newRow("missing top folder")
        << QStringList{} << "/nmaker-no-such-volume/a/b" << 3 << false;
    QTest::newRow("missing mount under /mnt")
        << QStringList{} << "/mnt/nmaker-no-such-volume/a" << 3 << false;
    QTest::newRow("the missing mount itself")
        << QStringList{} << "/mnt/nmaker-no-such-volume/" << 3 << false;
    QTest::newRow("a missing mount under /media")
        << QStringList{} << "/media/nmaker-no-such-volume" << 3 << false;
#endif
}

void TestFileOps::createFolderCodes()
{
    QFETCH(QStringList, setup);
    QFETCH(QString, path);
    QFETCH(int, code);
    QFETCH(bool, folderAfter);
    build(m_root, setup);
    const QString p = resolved(m_root, path);

    const QStringList before = QDir(m_root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    FileFolder ff;
    const int result = ff.createFolder(p);
    // Never leave a stray folder outside the temporary one, even when the code is wrong.
    for (const char* stray :
         {"/nmaker-no-such-volume", "/mnt/nmaker-no-such-volume", "/media/nmaker-no-such-volume"}) {
        if (QFileInfo(QString::fromLatin1(stray)).isDir())
            QDir(QString::fromLatin1(stray)).removeRecursively();
    }
    QCOMPARE(result, code);
    const QString made = p.startsWith("\\\\?\\") ? p.mid(4) : p;
    QCOMPARE(QFileInfo(QDir::cleanPath(made)).isDir() && QDir::isAbsolutePath(made), folderAfter);
    // A failure creates nothing at all, not even a folder of a shortened name.
    if (!folderAfter)
        QCOMPARE(QDir(m_root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

void TestFileOps::createFolderTwice()
{
    FileFolder ff;
    const QString p = m_root + "/x/y/z";
    QCOMPARE(ff.createFolder(p), CreateResult::Created);
    QCOMPARE(ff.createFolder(p), CreateResult::AlreadyExists);
    QCOMPARE(ff.createFolder(p + '/'), CreateResult::AlreadyExists);
    QCOMPARE(ff.createFolder2(p), 0);
    QVERIFY(ff.createFolder2(p + "/w") != 0);
}

void TestFileOps::createFolderWithoutPermission()
{
#ifndef Q_OS_UNIX
    QSKIP("a read-only folder still takes new folders on Windows; only an access list would not");
#endif
    // The body may run as another user: every folder on the way must be open to it.
    QVERIFY(QFile::setPermissions(m_root, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                              QFileDevice::ExeOther));
    const QString locked = m_root + "/locked";
    QVERIFY(QDir().mkdir(locked));
    QVERIFY(::chmod(QFile::encodeName(locked).constData(), 0555) == 0);

    const int code = runUnprivileged([&] {
        FileFolder ff;
        return ff.createFolder(locked + "/a/b");
    });
    if (code < 0)
        QSKIP("cannot run as an ordinary user here");
    QCOMPARE(code, SystemError::AccessDenied);
    QVERIFY(!QFileInfo::exists(locked + "/a"));
}

void TestFileOps::createFolderNeverUsesWorkingDirectory()
{
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_root));
    FileFolder ff;
    const int code = ff.createFolder("sub/dir");
    const bool exists = ff.folderExist("sub");
    QDir::setCurrent(before);
    QVERIFY(code != CreateResult::Created && code != CreateResult::AlreadyExists);
    QVERIFY(!exists);
    QVERIFY(QDir(m_root).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

void TestFileOps::fileExistPatterns_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("found");

    QTest::newRow("empty folder") << QStringList{"dir:d"} << "@/d/*.*" << false;
    QTest::newRow("only subfolders")
        << QStringList{"dir:d/s1", "dir:d/s2.ext"} << "@/d/*.*" << false;
    QTest::newRow("only hidden files")
        << QStringList{"file:d/.h", "file:d/.h.txt"} << "@/d/*.*" << false;
    QTest::newRow("one ordinary file")
        << QStringList{"dir:d/s", "file:d/.h", "file:d/a.txt"} << "@/d/*.*" << true;
    QTest::newRow("*.* matches a name without a dot")
        << QStringList{"file:d/README"} << "@/d/*.*" << true;
    QTest::newRow("other extension") << QStringList{"file:d/a.md"} << "@/d/*.txt" << false;
    QTest::newRow("question mark") << QStringList{"file:d/ab.txt"} << "@/d/a?.txt" << true;
    QTest::newRow("question mark needs a character")
        << QStringList{"file:d/a.txt"} << "@/d/a?.txt" << false;
    QTest::newRow("brackets are plain") << QStringList{"file:d/[1].txt"} << "@/d/[1]*" << true;
    QTest::newRow("exact name") << QStringList{"file:d/a.txt"} << "@/d/a.txt" << true;
    QTest::newRow("exact hidden name") << QStringList{"file:d/.h"} << "@/d/.h" << false;
    QTest::newRow("exact folder name") << QStringList{"dir:d/s"} << "@/d/s" << false;
    QTest::newRow("link to a file counts")
        << QStringList{"file:t/a.txt", "dir:d", "link:d/l->../t/a.txt"} << "@/d/*.*" << true;
    QTest::newRow("missing folder") << QStringList{} << "@/none/*.*" << false;
    QTest::newRow("relative pattern") << QStringList{"file:d/a.txt"} << "d/*.*" << false;
}

void TestFileOps::fileExistPatterns()
{
    QFETCH(QStringList, setup);
    QFETCH(QString, pattern);
    QFETCH(bool, found);
    build(m_root, setup);
    const QString before = QDir::currentPath();
    QDir::setCurrent(m_root); // a relative pattern must not find the folder through it
    FileFolder ff;
    const bool result = ff.fileExist(resolved(m_root, pattern));
    QDir::setCurrent(before);
    QCOMPARE(result, found);
}

void TestFileOps::folderExistForms_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("exists");

    QTest::newRow("folder") << QStringList{"dir:d"} << "@/d" << true;
    QTest::newRow("folder with separator") << QStringList{"dir:d"} << "@/d/" << true;
    QTest::newRow("hidden folder") << QStringList{"dir:.d"} << "@/.d" << true;
    QTest::newRow("empty folder in a hidden one") << QStringList{"dir:.d/e"} << "@/.d/e/" << true;
#ifdef Q_OS_UNIX
    // QFile::link makes a shortcut file on Windows, no link.
    QTest::newRow("link to a folder") << QStringList{"dir:d", "link:l->d"} << "@/l/" << true;
#endif
    QTest::newRow("file") << QStringList{"file:f"} << "@/f" << false;
    QTest::newRow("file with separator") << QStringList{"file:f"} << "@/f/" << false;
    QTest::newRow("missing") << QStringList{} << "@/none" << false;
    QTest::newRow("relative") << QStringList{"dir:d"} << "d" << false;
    QTest::newRow("empty is the root") << QStringList{} << "" << true;
}

void TestFileOps::folderExistForms()
{
    QFETCH(QStringList, setup);
    QFETCH(QString, path);
    QFETCH(bool, exists);
    build(m_root, setup);
    const QString before = QDir::currentPath();
    QDir::setCurrent(m_root);
    FileFolder ff;
    const bool result = ff.folderExist(resolved(m_root, path));
    QDir::setCurrent(before);
    QCOMPARE(result, exists);
}

void TestFileOps::nameHelpers_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("nameA");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("noType");
    QTest::addColumn<QString>("title");

    QTest::newRow("plain") << "/a/b.txt"
                           << "b.txt"
                           << "txt"
                           << "b"
                           << "b.txt";
    QTest::newRow("two dots") << "/a/a.b.txt"
                              << "a.b.txt"
                              << "txt"
                              << "a.b"
                              << "a.b.txt";
    QTest::newRow("no extension") << "/a/README"
                                  << "README"
                                  << ""
                                  << ""
                                  << "README";
    QTest::newRow("dot in a folder only") << "/a.d/README"
                                          << "README"
                                          << ""
                                          << ""
                                          << "README";
    QTest::newRow("space after the dot") << "/a/b.x y"
                                         << "b.x y"
                                         << ""
                                         << ""
                                         << "b.x y";
    QTest::newRow("trailing separator") << "/a/b/"
                                        << "b/"
                                        << ""
                                        << ""
                                        << "";
    QTest::newRow("no folder part") << "name.ext"
                                    << "name.ext"
                                    << "ext"
                                    << "name"
                                    << "name.ext";
    QTest::newRow("root") << "/"
                          << "/"
                          << ""
                          << ""
                          << "";
    QTest::newRow("empty") << ""
                           << ""
                           << ""
                           << ""
                           << "";
}

void TestFileOps::nameHelpers()
{
    QFETCH(QString, path);
    QFETCH(QString, nameA);
    QFETCH(QString, type);
    QFETCH(QString, noType);
    QFETCH(QString, title);
    QCOMPARE(FileFolder::getFileNameA(path), nameA);
    QCOMPARE(FileFolder::getFileNameAB(path), nameA);
    QCOMPARE(FileFolder::getFileTypeA(path), type);
    QCOMPARE(FileFolder::getNoTypeFileNameA(path), noType);
    QCOMPARE(FileFolder::getFileName(path), title);
    QCOMPARE(FileFolder::nullDel(path + QChar(u'\0') + "rest"), path);
    QCOMPARE(FileFolder::nullDel(path), path);
}

void TestFileOps::filePathAndSplit_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");

    QTest::newRow("file") << QStringList{"file:a/b/f.txt"} << "@/a/b/f.txt"
                          << "@/a/b";
    QTest::newRow("folder") << QStringList{"dir:a/b"} << "@/a/b"
                            << "@/a/b";
    QTest::newRow("folder with separator") << QStringList{"dir:a/b"} << "@/a/b/"
                                           << "@/a/b";
    QTest::newRow("hidden file is no file") << QStringList{"file:a/.h"} << "@/a/.h"
                                            << "";
    QTest::newRow("missing") << QStringList{} << "@/none/x"
                             << "";
    QTest::newRow("root") << QStringList{} << QDir::rootPath() << "";
}

void TestFileOps::filePathAndSplit()
{
    QFETCH(QStringList, setup);
    QFETCH(QString, path);
    QFETCH(QString, folder);
    build(m_root, setup);
    FileFolder ff;
    const QString expected = resolved(m_root, folder);
    QCOMPARE(ff.getFilePath(resolved(m_root, path)), expected);

    // The root first ("/" or "C:\\"), then every folder down to the one found.
    const QChar sep = QDir::separator();
    const qsizetype rootLength = sep == '/' ? 1 : 3;
    QStringList chain;
    if (expected.isEmpty()) {
        chain << QString();
    } else {
        chain << expected.left(rootLength);
        for (qsizetype i = expected.indexOf(sep, rootLength); i > 0;
             i = expected.indexOf(sep, i + 1))
            chain << expected.left(i);
        chain << expected;
    }
    QCOMPARE(ff.getSplitPath(resolved(m_root, path)), chain);
}

void TestFileOps::tempFolderEndsWithSeparator()
{
    FileFolder ff;
    const QString temp = ff.getTempFolder();
    QVERIFY(temp.endsWith(QDir::separator()));
    QVERIFY(!temp.endsWith(QString(2, QDir::separator())));
    QVERIFY(QFileInfo(temp).isDir());
}

void TestFileOps::flagsStartValuesAndBits_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("startValue");
    QTest::addColumn<quint32>("bitWhenTrue"); // the word after assigning true to a new one
    QTest::addColumn<quint32>("bitWhenFalse");

    QTest::newRow("RespondDialog") << "RespondDialog" << false << 0x0010u << 0u;
    QTest::newRow("RenameOnCollision") << "RenameOnCollision" << false << 0x0008u << 0u;
    QTest::newRow("SimpleProgress") << "SimpleProgress" << false << 0x0100u << 0u;
    QTest::newRow("ConfirmMakeDir") << "ConfirmMakeDir" << true << 0u << 0x0200u;
    QTest::newRow("ShowDialog") << "ShowDialog" << true << 0u << 0x0004u;
    QTest::newRow("AllowUndo") << "AllowUndo" << false << 0x0040u << 0u;
    QTest::newRow("MultiDestFiles") << "MultiDestFiles" << true << 0u << 0x0001u;
    QTest::newRow("FilesOnly") << "FilesOnly" << true << 0u << 0x0080u;
    QTest::newRow("WantMappingHandle") << "WantMappingHandle" << true << 0u << 0x0020u;
}

void TestFileOps::flagsStartValuesAndBits()
{
    QFETCH(QString, name);
    QFETCH(bool, startValue);
    QFETCH(quint32, bitWhenTrue);
    QFETCH(quint32, bitWhenFalse);

    struct Accessors {
        bool (FileFolder::*get)() const;
        void (FileFolder::*set)(bool);
    };
    const QMap<QString, Accessors> properties{
        {"RespondDialog", {&FileFolder::respondDialog, &FileFolder::setRespondDialog}},
        {"RenameOnCollision", {&FileFolder::renameOnCollision, &FileFolder::setRenameOnCollision}},
        {"SimpleProgress", {&FileFolder::simpleProgress, &FileFolder::setSimpleProgress}},
        {"ConfirmMakeDir", {&FileFolder::confirmMakeDir, &FileFolder::setConfirmMakeDir}},
        {"ShowDialog", {&FileFolder::showDialog, &FileFolder::setShowDialog}},
        {"AllowUndo", {&FileFolder::allowUndo, &FileFolder::setAllowUndo}},
        {"MultiDestFiles", {&FileFolder::multiDestFiles, &FileFolder::setMultiDestFiles}},
        {"FilesOnly", {&FileFolder::filesOnly, &FileFolder::setFilesOnly}},
        {"WantMappingHandle", {&FileFolder::wantMappingHandle, &FileFolder::setWantMappingHandle}},
    };
    const Accessors a = properties.value(name);

    FileFolder ff;
    QCOMPARE(ff.operationFlags(), 0u);
    QCOMPARE((ff.*a.get)(), startValue);
    (ff.*a.set)(true);
    QCOMPARE(ff.operationFlags(), bitWhenTrue);
    QCOMPARE((ff.*a.get)(), true);
    (ff.*a.set)(false);
    QCOMPARE(ff.operationFlags(), bitWhenFalse);
    QCOMPARE((ff.*a.get)(), false);
    // Other bits stay as they were.
    ff.setRespondDialog(name != "RespondDialog");
    (ff.*a.set)(true);
    QCOMPARE(ff.respondDialog(), true);
}

void TestFileOps::recycledSetsAllowUndo()
{
    ScriptedPrompter prompter;
    prompter.answers << Answer::No;
    FileFolder ff(&prompter);
    QVERIFY(!ff.recycled(toPathList({m_root + "/none"})));
    QVERIFY(ff.allowUndo());
    QCOMPARE(ff.operationFlags(), 0x0040u);
}

void TestFileOps::emptyFirstEntryDoesNothing_data()
{
    QTest::addColumn<QString>("list");
    QTest::newRow("empty text") << QString();
    QTest::newRow("one NUL") << QString(QChar(u'\0'));
    QTest::newRow("NUL before a path") << QString(QChar(u'\0')) + "@/d" + QChar(u'\0');
}

void TestFileOps::emptyFirstEntryDoesNothing()
{
    QFETCH(QString, list);
    build(m_root, {"dir:d"});
    ScriptedPrompter prompter;
    RecordingProgress progress;
    FileFolder ff(&prompter, &progress);
    QVERIFY(!ff.recycled(resolved(m_root, list)));
    QVERIFY(!ff.deleteFiles(resolved(m_root, list)));
    QVERIFY(!ff.move(resolved(m_root, list), m_root + "/e"));
    QVERIFY(prompter.shown.isEmpty());
    QCOMPARE(progress.starts, 0);
    QVERIFY(QFileInfo(m_root + "/d").isDir());
}

void TestFileOps::targetForgetsDestroyedOwner()
{
    FileFolder ff;
    QCOMPARE(ff.target(), nullptr);
    auto owner = std::make_unique<QObject>();
    ff.setTarget(owner.get());
    QCOMPARE(ff.target(), owner.get());
    owner.reset();
    QCOMPARE(ff.target(), nullptr);
}

void TestFileOps::deleteRemovesLinkNotTarget()
{
    build(m_root, {"file:keep/inside.txt", "link:l->keep", "dir:gone/sub"});
    ScriptedPrompter prompter;
    FileFolder ff(&prompter);
    QVERIFY(ff.deleteFiles(toPathList({m_root + "/l", m_root + "/gone"})));
    QCOMPARE(prompter.shown.size(), 1);
    QCOMPARE(prompter.shown.front().style, 36);
    QVERIFY(prompter.shown.front().text.contains("2"));
    QVERIFY(!QFileInfo(m_root + "/l").isSymLink());
    QVERIFY(!QFileInfo::exists(m_root + "/gone"));
    QVERIFY(QFileInfo::exists(m_root + "/keep/inside.txt"));
}

void TestFileOps::deleteDeclinedKeepsItems()
{
    build(m_root, {"dir:a", "dir:b"});
    ScriptedPrompter prompter;
    prompter.answers << Answer::No;
    RecordingProgress progress;
    FileFolder ff(&prompter, &progress);
    QVERIFY(!ff.deleteFiles(toPathList({m_root + "/a", m_root + "/b"})));
    QVERIFY(QFileInfo(m_root + "/a").isDir());
    QVERIFY(QFileInfo(m_root + "/b").isDir());
    QCOMPARE(progress.starts, 0);

    FileFolder nobodyToAsk;
    QVERIFY(!nobodyToAsk.deleteFiles(toPathList({m_root + "/a"})));
    QVERIFY(QFileInfo(m_root + "/a").isDir());
}

void TestFileOps::copyAndMoveNeverOverwrite_data()
{
    QTest::addColumn<bool>("moving");
    QTest::newRow("copy") << false;
    QTest::newRow("move") << true;
}

void TestFileOps::copyAndMoveNeverOverwrite()
{
    QFETCH(bool, moving);
    build(m_root, {"file:src/tree/a.txt", "file:src/tree/.hidden", "file:src/new/b.txt",
                   "file:dst/tree/mine.txt"});
    FileFolder ff;
    const QString list = toPathList({m_root + "/src/tree", m_root + "/src/new"});
    const bool ok = moving ? ff.move(list, m_root + "/dst") : ff.copy(list, m_root + "/dst");
    QVERIFY(!ok); // "tree" is there already
    QVERIFY(QFileInfo::exists(m_root + "/dst/tree/mine.txt"));
    QVERIFY(!QFileInfo::exists(m_root + "/dst/tree/a.txt"));
    QVERIFY(QFileInfo::exists(m_root + "/src/tree/a.txt"));
    QVERIFY(QFileInfo::exists(m_root + "/dst/new/b.txt"));
    QCOMPARE(QFileInfo::exists(m_root + "/src/new/b.txt"), !moving);

    ff.setRenameOnCollision(true);
    const QString again = toPathList({m_root + "/src/tree"});
    QVERIFY(moving ? ff.move(again, m_root + "/dst") : ff.copy(again, m_root + "/dst"));
    QVERIFY(QFileInfo::exists(m_root + "/dst/tree (2)/a.txt"));
    QVERIFY(QFileInfo::exists(m_root + "/dst/tree (2)/.hidden"));
    QVERIFY(QFileInfo::exists(m_root + "/dst/tree/mine.txt"));
}

void TestFileOps::moveSeveralIntoNewFolder()
{
    build(m_root, {"dir:a", "dir:b"});
    ScriptedPrompter prompter;
    FileFolder ff(&prompter);
    const QString list = toPathList({m_root + "/a", m_root + "/b"});
    prompter.answers << Answer::No;
    QVERIFY(!ff.move(list, m_root + "/into/here"));
    QVERIFY(!QFileInfo::exists(m_root + "/into"));
    QVERIFY(ff.move(list, m_root + "/into/here"));
    QVERIFY(QFileInfo(m_root + "/into/here/a").isDir());
    QVERIFY(QFileInfo(m_root + "/into/here/b").isDir());
    QVERIFY(!QFileInfo::exists(m_root + "/a"));
}

void TestFileOps::renameOnCollision()
{
    build(m_root, {"file:a.txt", "file:b.txt"});
    FileFolder ff;
    QVERIFY(!ff.rename(m_root + "/a.txt", m_root + "/b.txt"));
    QVERIFY(QFileInfo::exists(m_root + "/a.txt"));
    ff.setRenameOnCollision(true);
    QVERIFY(ff.rename(m_root + "/a.txt", m_root + "/b.txt"));
    QVERIFY(QFileInfo::exists(m_root + "/b.txt (2)"));
    QVERIFY(!ff.rename(m_root + "/none", m_root + "/c.txt"));
}

void TestFileOps::browserOptions()
{
    FileFolder ff;
    QCOMPARE(ff.browseFlags(), 0u);
    const QList<bool> none(9, false);
    auto all = [&ff] {
        return QList<bool>{ff.realFolderOnly(),    ff.dontNetwork(),      ff.addStatus(),
                           ff.networkOnlySelect(), ff.addFileText(),      ff.invalidItem(),
                           ff.networkOnly(),       ff.networkPrintOnly(), ff.allResource()};
    };
    QCOMPARE(all(), none);
    ff.setAllResource(true);
    QCOMPARE(ff.browseFlags(), BrowseFlag::AllResource);
    QVERIFY(!ff.realFolderOnly());
    ff.setRealFolderOnly(true);
    ff.setAllResource(false);
    QCOMPARE(ff.browseFlags(), BrowseFlag::RealFolderOnly);
}

void TestFileOps::browserRoots_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<BrowseRoot>("root");
    QTest::newRow("desktop") << 0 << BrowseRoot::Desktop;
    QTest::newRow("programs") << 1 << BrowseRoot::Programs;
    QTest::newRow("personal") << 2 << BrowseRoot::Personal;
    QTest::newRow("favorites") << 3 << BrowseRoot::Favorites;
    QTest::newRow("start menu") << 4 << BrowseRoot::StartMenu;
    QTest::newRow("drives") << 5 << BrowseRoot::Drives;
    QTest::newRow("network") << 6 << BrowseRoot::Network;
}

void TestFileOps::browserRoots()
{
    QFETCH(int, which);
    QFETCH(BrowseRoot, root);
    FileFolder ff;
    auto refer = [&ff, which] {
        switch (which) {
        case 0:
            return ff.referDesktop();
        case 1:
            return ff.referPrograms();
        case 2:
            return ff.referPersonal();
        case 3:
            return ff.referFavorites();
        case 4:
            return ff.referStartMenu();
        case 5:
            return ff.referDrives();
        default:
            return ff.referNetwork();
        }
    };
    QCOMPARE(refer(), QString()); // no chooser: as if cancelled
    ScriptedFolderChooser chooser;
    ff.setFolderChooser(&chooser);
    ff.setRealFolderOnly(true);
    chooser.answers << m_root << QString();
    QCOMPARE(refer(), m_root);
    QCOMPARE(refer(), QString());
    QCOMPARE(chooser.asked.size(), 2);
    QCOMPARE(chooser.asked.front().root, root);
    QCOMPARE(chooser.asked.front().flags, BrowseFlag::RealFolderOnly);
    QCOMPARE(chooser.asked.front().instruction,
             QStringLiteral("適当なフォルダをクリックして選択状態にしてから ＯＫ を押して下さい"));
}

void TestFileOps::browseUserFolder()
{
    ScriptedPrompter prompter;
    ScriptedFolderChooser chooser;
    FileFolder ff(&prompter);
    ff.setFolderChooser(&chooser);
    chooser.answers << m_root + "/picked";
    QCOMPARE(ff.referUser(m_root), m_root + "/picked");
    QCOMPARE(chooser.asked.front().root, BrowseRoot::Folder);
    QCOMPARE(chooser.asked.front().folder, m_root);
    QVERIFY(prompter.shown.isEmpty());

    // A folder that is not there, or a file, never opens the browser.
    build(m_root, {"file:f"});
    for (const QString& missing : QStringList{m_root + "/none", m_root + "/f"}) {
        prompter.clear();
        QCOMPARE(ff.referUser(missing), QString());
        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(prompter.shown.front().text, QStringLiteral("存在しないフォルダです"));
        QCOMPARE(prompter.shown.front().style, MessageStyle::Ok);
    }
    QCOMPARE(chooser.asked.size(), 1);
    // An empty path stands for the root, which exists.
    prompter.clear();
    QCOMPARE(ff.referUser(QString()), QString());
    QVERIFY(prompter.shown.isEmpty());
    QCOMPARE(chooser.asked.size(), 2);
}

QTEST_GUILESS_MAIN(TestFileOps)
#include "test_fileops.moc"
