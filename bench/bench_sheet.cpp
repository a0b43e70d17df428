// Tables read as lists: a heading row and 100,000 rows of 4 columns (a year and a department
// written only where they change, the rows below them filled from above; a case number; a
// document name), as an .xlsx written by openpyxl (the case number a number shown as "000000")
// and as CSV the way Excel saves it: code page 932 with CR LF, and UTF-8 with a BOM.
//
// Targets: the .xlsx import within 2 s and 200 MB peak memory; the CSV imports within 0.5 s.
//
// Each import is importSheetFile itself, timed inside a child process (this program started
// again with --child), which also reports its peak resident memory (VmHWM, the whole process,
// the libraries included) and its memory just before the import. Best of a few rounds. Every
// entry and its row are checked against what the rows must give, outside the timing.
//
// Usage: bench_sheet FOLDER [ROUNDS]   (FOLDER: where the scratch folder goes, e.g. /dev/shm/x
// or /work/tmp-bench; 5 rounds)
#include "ScratchHome.h"
#include "sheet/SheetImport.h"
#include "text/CodePage932.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include <sys/resource.h>

namespace
{

constexpr int Rows = 100000;
constexpr double XlsxSeconds = 2.0;
constexpr double XlsxMegabytes = 200.0;
constexpr double CsvSeconds = 0.5;
const char* const Python = "/usr/bin/python3";

// The cells of data row `i` as the sheet shows them; empty where the value above carries on.
QStringList cellsOf(int i)
{
    const QString year = i % 20000 == 0 ? QString::number(2020 + i / 20000) : QString();
    const QString department =
        i % 500 == 0 ? QStringLiteral("部署%1").arg((i / 500) % 40, 2, 10, QLatin1Char('0'))
                     : QString();
    return {year, department, QStringLiteral("%1").arg(i + 1, 6, 10, QLatin1Char('0')),
            QStringLiteral("資料%1").arg(i % 10)};
}

// The entry row `i` must give: every level filled.
QString entryOf(int i)
{
    return QStringLiteral("%1/部署%2/%3/資料%4")
        .arg(2020 + i / 20000)
        .arg((i / 500) % 40, 2, 10, QLatin1Char('0'))
        .arg(i + 1, 6, 10, QLatin1Char('0'))
        .arg(i % 10);
}

QString csvText()
{
    QString text = QStringLiteral("年度,部署,案件番号,資料\r\n");
    text.reserve(Rows * 32);
    for (int i = 0; i < Rows; ++i)
        text += cellsOf(i).join(u',') + QStringLiteral("\r\n");
    return text;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

// The workbook from the UTF-8 CSV: the same rows, the year and case number as numbers, the
// cells left empty where the CSV has none.
const char* const WriteWorkbook = R"(
import csv, sys
import openpyxl
from openpyxl.cell import WriteOnlyCell
wb = openpyxl.Workbook(write_only=True)
ws = wb.create_sheet("案件")
with open(sys.argv[1], encoding="utf-8-sig", newline="") as f:
    for n, row in enumerate(csv.reader(f)):
        if n == 0:
            ws.append(row)
            continue
        year, department, case, document = row
        number = WriteOnlyCell(ws, value=int(case))
        number.number_format = "000000"
        ws.append([int(year) if year else None, department or None, number, document])
wb.save(sys.argv[2])
)";

bool haveOpenpyxl()
{
    QProcess p;
    p.start(QString::fromLatin1(Python), {"-c", "import openpyxl"});
    return p.waitForStarted() && p.waitForFinished(-1) && p.exitStatus() == QProcess::NormalExit &&
           p.exitCode() == 0;
}

long statusKiB(const char* field)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').front().toLong();
    }
    return -1;
}

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(u.ru_utime) + seconds(u.ru_stime);
}

SheetImportOptions importOptions()
{
    SheetImportOptions options;
    options.lines.skipHeader = true;
    return options;
}

// In the child: one import, then "wall cpu peakKiB beforeKiB entries" on stdout.
int child(const QString& path)
{
    const long before = statusKiB("VmRSS:");
    const double cpu = cpuSeconds();
    QElapsedTimer t;
    t.start();
    const ListImport list = importSheetFile(path, importOptions());
    const double wall = t.nsecsElapsed() / 1e9;
    const double used = cpuSeconds() - cpu;
    if (!list.refusal.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(list.refusal));
        return 1;
    }
    std::printf("%.6f %.6f %ld %ld %lld\n", wall, used, statusKiB("VmHWM:"), before,
                qlonglong(list.entries.size()));
    return 0;
}

struct Measure {
    double wall = 1e9;
    double cpu = 1e9;
    long peakKiB = 0;   // the highest of the rounds: memory is no luck of the draw
    long beforeKiB = 0; // the process before its import, in that round
};

Measure measure(const QString& name, const QString& path, int rounds)
{
    Measure best;
    for (int r = 0; r < rounds; ++r) {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(QCoreApplication::applicationFilePath(), {"--child", path});
        if (!p.waitForStarted() || !p.waitForFinished(-1) ||
            p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            std::fprintf(stderr, "the import of %s failed\n", qPrintable(path));
            std::exit(2);
        }
        const QList<QByteArray> v = p.readAllStandardOutput().trimmed().split(' ');
        if (v.size() != 5 || v.at(4).toLongLong() != Rows) {
            std::fprintf(stderr, "the import of %s gave no %d entries\n", qPrintable(path), Rows);
            std::exit(2);
        }
        const double wall = v.at(0).toDouble(), cpu = v.at(1).toDouble();
        const long peak = v.at(2).toLong(), before = v.at(3).toLong();
        std::printf("round %d: %-22s %.3f s (cpu %.3f s), peak %.1f MB\n", r + 1, qPrintable(name),
                    wall, cpu, peak / 1024.0);
        best.wall = std::min(best.wall, wall);
        best.cpu = std::min(best.cpu, cpu);
        if (peak > best.peakKiB) {
            best.peakKiB = peak;
            best.beforeKiB = before;
        }
    }
    return best;
}

// The entries and their rows, in process and untimed: the bench measures a correct import.
bool checked(const QString& path)
{
    const ListImport list = importSheetFile(path, importOptions());
    if (!list.refusal.isEmpty() || list.entries.size() != Rows || list.entryLines.size() != Rows)
        return false;
    for (int i = 0; i < Rows; ++i) {
        // The heading is row 1.
        if (list.entries.at(i) != entryOf(i) || list.entryLines.at(i) != i + 2) {
            std::fprintf(stderr, "%s: entry %d is %s at row %lld, not %s\n", qPrintable(path), i,
                         qPrintable(list.entries.at(i)), qlonglong(list.entryLines.at(i)),
                         qPrintable(entryOf(i)));
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--child") == 0)
        return child(QString::fromLocal8Bit(argv[2]));
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_sheet FOLDER [ROUNDS]\n");
        return 2;
    }
    const QString where = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    QDir().mkpath(where);
    QTemporaryDir dir(where + "/bench-sheet-XXXXXX");
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot make a folder in %s\n", qPrintable(where));
        return 2;
    }
    // The children inherit it; an import touches no settings, and none of the user's are read.
    useScratchHome(dir.filePath("home"));
    QDir().mkpath(dir.filePath("home/runtime"));
    QFile::setPermissions(dir.filePath("home/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.filePath("home/runtime")));

    const QString text = csvText();
    const std::optional<QByteArray> cp932 = cp932::encode(text);
    const QString csv932 = dir.filePath("cases-cp932.csv");
    const QString csvUtf8 = dir.filePath("cases-utf8.csv");
    if (!cp932 || !writeFile(csv932, *cp932) ||
        !writeFile(csvUtf8, QByteArray("\xEF\xBB\xBF") + text.toUtf8())) {
        std::fprintf(stderr, "cannot write the CSV files in %s\n", qPrintable(dir.path()));
        return 2;
    }

    QString xlsx;
    if (!haveOpenpyxl()) {
        std::printf("openpyxl is missing for %s (Debian: apt install python3-openpyxl): the "
                    ".xlsx import is skipped, the CSV imports are measured\n",
                    Python);
    } else {
        xlsx = dir.filePath("cases.xlsx");
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedChannels);
        QElapsedTimer t;
        t.start();
        p.start(QString::fromLatin1(Python), {"-c", WriteWorkbook, csvUtf8, xlsx});
        if (!p.waitForStarted() || !p.waitForFinished(-1) ||
            p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            std::fprintf(stderr, "openpyxl could not write %s\n", qPrintable(xlsx));
            return 2;
        }
        std::printf("openpyxl wrote the workbook in %.1f s\n", t.nsecsElapsed() / 1e9);
    }

    struct Case {
        QString name, path;
    };
    QList<Case> cases;
    if (!xlsx.isEmpty())
        cases.append({".xlsx (openpyxl)", xlsx});
    cases.append({"CSV (cp932, CR LF)", csv932});
    cases.append({"CSV (UTF-8, BOM)", csvUtf8});
    std::printf("%d rows of 4 columns and a heading, in %s, best of %d\n", Rows,
                qPrintable(dir.path()), rounds);
    for (const Case& c : cases) {
        std::printf("  %-22s %8.1f KiB\n", qPrintable(c.name), QFileInfo(c.path).size() / 1024.0);
        if (!checked(c.path)) {
            std::fprintf(stderr, "%s does not read as its rows\n", qPrintable(c.path));
            return 2;
        }
    }

    bool met = true;
    QStringList results;
    for (const Case& c : cases) {
        const Measure m = measure(c.name, c.path, rounds);
        const bool workbook = c.path == xlsx;
        const double seconds = workbook ? XlsxSeconds : CsvSeconds;
        const bool timeMet = m.wall <= seconds;
        const double peak = m.peakKiB / 1024.0;
        const bool memoryMet = !workbook || peak <= XlsxMegabytes;
        met = met && timeMet && memoryMet;
        QString line = QString::asprintf("%-22s %.3f s %s (target <= %.1f s), cpu %.3f s; peak "
                                         "%.1f MB",
                                         qPrintable(c.name), m.wall, timeMet ? "✓" : "✗", seconds,
                                         m.cpu, peak);
        if (workbook)
            line +=
                QString::asprintf(" %s (target <= %.0f MB)", memoryMet ? "✓" : "✗", XlsxMegabytes);
        line += QString::asprintf(", %.1f MB before the import", m.beforeKiB / 1024.0);
        results << line;
    }
    std::printf("best of %d:\n", rounds);
    for (const QString& line : results)
        std::printf("  %s\n", qPrintable(line));
    return met ? 0 : 1;
}
