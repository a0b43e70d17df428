// The Windows path rules are plain text functions, so every build checks them; on Windows the
// host's file system calls them before each system call.
#include "fileops/WindowsPaths.h"
#include "trash/RecycleBinRecord.h"

#include <QTest>

class TestWindowsPaths : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleaned_data();
    void cleaned();
    void longFormRoundTrip_data();
    void longFormRoundTrip();
    void nameProblems_data();
    void nameProblems();
    void pathProblems_data();
    void pathProblems();
    void recycleBinRecords_data();
    void recycleBinRecords();
};

// clang-format off
void TestWindowsPaths::cleaned_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("clean");
    QTest::addColumn<QString>("root");

    QTest::newRow("drive path") << "C:\\a\\b" << "C:\\a\\b" << "C:\\";
    QTest::newRow("slashes and a trailing one") << "d:/a/b/" << "d:\\a\\b" << "d:\\";
    QTest::newRow("repeated separators") << "C:\\a\\\\\\b" << "C:\\a\\b" << "C:\\";
    QTest::newRow("drive root keeps its separator") << "C:\\" << "C:\\" << "C:\\";
    QTest::newRow("dot segments") << "C:\\a\\.\\b\\..\\c" << "C:\\a\\c" << "C:\\";
    QTest::newRow("dot-dot back to the root") << "C:\\a\\..\\" << "C:\\" << "C:\\";
    QTest::newRow("dot-dot above the root") << "C:\\a\\..\\..\\b" << "" << "";
    // Relative to the drive's current folder: no fixed place.
    QTest::newRow("drive without separator") << "C:a\\b" << "" << "";
    QTest::newRow("bare drive") << "C:" << "" << "";
    QTest::newRow("root of the current drive") << "\\a\\b" << "" << "";
    QTest::newRow("relative") << "a\\b" << "" << "";
    QTest::newRow("no drive letter") << "1:\\a" << "" << "";
    QTest::newRow("empty") << "" << "" << "";
    QTest::newRow("nul inside") << QString("C:\\a") + QChar(0) + "b" << "" << "";
    QTest::newRow("share") << "\\\\server\\share\\a" << "\\\\server\\share\\a" << "\\\\server\\share\\";
    QTest::newRow("share root") << "\\\\server\\share" << "\\\\server\\share\\" << "\\\\server\\share\\";
    QTest::newRow("share with slashes") << "//server/share/a/" << "\\\\server\\share\\a" << "\\\\server\\share\\";
    QTest::newRow("server without share") << "\\\\server" << "" << "";
    QTest::newRow("empty share name") << "\\\\server\\\\a" << "" << "";
    QTest::newRow("dot-dot above the share") << "\\\\server\\share\\..\\other" << "" << "";
    QTest::newRow("long prefix") << "\\\\?\\C:\\a\\b" << "C:\\a\\b" << "C:\\";
    QTest::newRow("long share prefix") << "\\\\?\\UNC\\server\\share\\a" << "\\\\server\\share\\a"
                                       << "\\\\server\\share\\";
    QTest::newRow("long share prefix in lower case") << "\\\\?\\unc\\s\\x" << "\\\\s\\x\\" << "\\\\s\\x\\";
    // Devices and volume names are nothing this program makes folders in.
    QTest::newRow("device namespace") << "\\\\.\\C:\\a" << "" << "";
    QTest::newRow("long prefix on a volume name") << "\\\\?\\Volume{x}\\a" << "" << "";
    const QString deep = "C:\\" + QStringList(40, "folder").join('\\');
    QTest::newRow("beyond 260 characters") << deep << deep << "C:\\";
}
// clang-format on

void TestWindowsPaths::cleaned()
{
    QFETCH(QString, path);
    QFETCH(QString, clean);
    QFETCH(QString, root);
    QCOMPARE(WindowsPaths::cleaned(path), clean);
    QCOMPARE(WindowsPaths::rootOf(clean), root);
    // Cleaning is final: a second pass changes nothing.
    QCOMPARE(WindowsPaths::cleaned(clean), clean);
}

// clang-format off
void TestWindowsPaths::longFormRoundTrip_data()
{
    QTest::addColumn<QString>("clean");
    QTest::addColumn<QString>("longForm");

    QTest::newRow("drive") << "C:\\a" << "\\\\?\\C:\\a";
    QTest::newRow("drive root") << "C:\\" << "\\\\?\\C:\\";
    QTest::newRow("share") << "\\\\s\\x\\a" << "\\\\?\\UNC\\s\\x\\a";
    QTest::newRow("trailing dot kept literally") << "C:\\a." << "\\\\?\\C:\\a.";
    const QString deep = "C:\\" + QString(300, 'n');
    QTest::newRow("long name") << deep << "\\\\?\\" + deep;
}
// clang-format on

void TestWindowsPaths::longFormRoundTrip()
{
    QFETCH(QString, clean);
    QFETCH(QString, longForm);
    QCOMPARE(WindowsPaths::longForm(clean), longForm);
    QCOMPARE(WindowsPaths::cleaned(longForm), clean);
}

// clang-format off
void TestWindowsPaths::nameProblems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("problem"); // a word the message must hold, empty for none

    QTest::newRow("plain") << "フォルダ001" << "";
    QTest::newRow("dot inside") << "a.b" << "";
    QTest::newRow("leading dot") << ".hidden" << "";
    QTest::newRow("leading blank") << " a" << "";
    QTest::newRow("trailing dot") << "a." << "ピリオド";
    QTest::newRow("trailing dots") << "a..." << "ピリオド";
    QTest::newRow("trailing blank") << "a " << "空白";
    QTest::newRow("trailing ideographic blank is a character") << "a\u3000" << "";
    QTest::newRow("CON") << "CON" << "CON";
    QTest::newRow("con in lower case") << "con" << "CON";
    QTest::newRow("NUL with an extension") << "NUL.txt" << "NUL";
    QTest::newRow("AUX with two extensions") << "aux.tar.gz" << "AUX";
    QTest::newRow("PRN with blanks before the dot") << "PRN  .txt" << "PRN";
    QTest::newRow("COM1") << "COM1" << "COM1";
    QTest::newRow("lpt9") << "lpt9" << "LPT9";
    QTest::newRow("COM with superscript one") << "COM\u00B9" << "COM";
    QTest::newRow("COM10 is a name") << "COM10" << "";
    QTest::newRow("CONSOLE is a name") << "CONSOLE" << "";
    QTest::newRow("NULL is a name") << "NULL" << "";
    QTest::newRow("device name inside") << "aCON" << "";
    QTest::newRow("full-width CON is a name") << "ＣＯＮ" << "";
}
// clang-format on

void TestWindowsPaths::nameProblems()
{
    QFETCH(QString, name);
    QFETCH(QString, problem);
    const QString why = WindowsPaths::nameProblem(name);
    if (problem.isEmpty())
        QCOMPARE(why, QString());
    else
        QVERIFY2(why.contains(problem), qPrintable(why));
}

// clang-format off
void TestWindowsPaths::pathProblems_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("component");

    QTest::newRow("fine") << "C:\\a\\b" << "";
    QTest::newRow("device folder on the way") << "C:\\a\\CON\\b" << "CON";
    QTest::newRow("the first of two") << "C:\\nul\\b.\\c" << "nul";
    QTest::newRow("trailing blank in the last") << "C:\\a\\b " << "b ";
    QTest::newRow("share with a trailing dot") << "\\\\s\\x\\a." << "a.";
    // The root is the system's business, not a name this program makes.
    QTest::newRow("server named like a device") << "\\\\aux\\x\\a" << "";
    QTest::newRow("drive root") << "C:\\" << "";
    QTest::newRow("no root") << "a\\CON" << "";
}
// clang-format on

void TestWindowsPaths::pathProblems()
{
    QFETCH(QString, path);
    QFETCH(QString, component);
    const WindowsPaths::Problem p = WindowsPaths::pathProblem(path);
    QCOMPARE(p.component, component);
    QCOMPARE(p.why.isEmpty(), component.isEmpty());
}

namespace
{

// A version 1 record: the path in a field of 260 characters.
QByteArray version1(const QString& path)
{
    RecycleBinRecord r{2, 4096, 133000000000000000LL, path};
    QByteArray bytes = r.bytes();
    bytes[0] = 1;
    bytes.remove(24, 4); // no length
    bytes.resize(24 + 520, '\0');
    return bytes;
}

} // namespace

void TestWindowsPaths::recycleBinRecords_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("original"); // empty: not a record

    const QString path = u"C:\\work\\案件 001"_qs;
    const QByteArray good = RecycleBinRecord{2, 4096, 133000000000000000LL, path}.bytes();
    QTest::newRow("version 2") << good << path;
    QTest::newRow("version 1") << version1(path) << path;
    QTest::newRow("cut short") << good.chopped(2) << QString();
    QTest::newRow("a byte too many") << good + '\0' << QString();
    QByteArray longer = good;
    longer[24] = char(longer[24] + 1); // the length says one more character than there is
    QTest::newRow("length too long") << longer << QString();
    QByteArray noEnd = good;
    noEnd[noEnd.size() - 2] = 'x'; // the last character is no NUL
    QTest::newRow("no NUL at the end") << noEnd << QString();
    QByteArray nulInside = good;
    nulInside[24 + 4 + 2] = '\0';
    nulInside[24 + 4 + 3] = '\0';
    QTest::newRow("NUL inside") << nulInside << QString();
    QByteArray version3 = good;
    version3[0] = 3;
    QTest::newRow("unknown version") << version3 << QString();
    QTest::newRow("no deletion time") << RecycleBinRecord{2, 4096, 0, path}.bytes() << QString();
    QTest::newRow("empty path") << RecycleBinRecord{2, 0, 1, QString()}.bytes() << QString();
    QTest::newRow("header only") << good.left(24) << QString();
}

void TestWindowsPaths::recycleBinRecords()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, original);
    const std::optional<RecycleBinRecord> r = RecycleBinRecord::parse(bytes);
    QCOMPARE(r.has_value(), !original.isEmpty());
    if (r) {
        QCOMPARE(r->original, original);
        QCOMPARE(r->size, 4096);
        QCOMPARE(r->deletedAt, 133000000000000000LL);
    }
}

QTEST_GUILESS_MAIN(TestWindowsPaths)
#include "test_windows_paths.moc"
