#pragma once

#include "ListFileChooser.h"
#include "ListFormat.h"

#include <QString>
#include <QStringList>

#include <optional>

class RunContext;

// Bounds that keep a wrong file (a disk image, a log) from taking the memory or the afternoon.
constexpr qint64 MaxListFileBytes = 64 * 1024 * 1024;
constexpr qsizetype MaxListEntries = 1000000;
// Per rejected group; further lines are counted in one last line.
constexpr int MaxReportedLines = 1000;

struct ListImport {
    bool opened = false;  // false: the file could not be opened or read; the caller changes nothing
    QString refusal;      // not empty: the whole file was refused; nothing else is meaningful
    QStringList entries;  // every entry, file order
    QStringList rawLines; // the accepted lines exactly as read, file order
    QStringList notExpandable; // not expandable, too long or not decodable, file order
    QStringList tooManyDigits; // a bound longer than MaxRangeDigits, file order
    // Rejected lines beyond MaxReportedLines, counted in each group's "ほか N 行" line.
    qsizetype notExpandableOmitted = 0;
    qsizetype tooManyDigitsOmitted = 0;
};

// One line as the import takes it: an empty line is skipped, a plain path becomes an entry and
// a raw line, an expanded line a raw line (its entries are added), a rejected line is kept for
// the report.
void importListLine(const QString& line, ListImport& into);

// Reads a list file line by line in bounded memory, yielding through `context` (may be null)
// once per line read. Lines end at CR LF or a lone CR; in a file without any CR, at LF.
ListImport importListFile(const QString& path, RunContext* context);

// The catalogue message (19, 20 or 21) and its inserts that report the rejected lines.
struct ListReport {
    int number = -1;
    QString t1, t2, t3;
};
// Nothing when no line was rejected (or the file was refused as a whole).
std::optional<ListReport> rejectedLineReport(const ListImport& import);

// Writes the lines as a list file, whole or not at all: false leaves the old file as it was.
bool writeListFile(const QString& path, const QStringList& lines);

// The file dialogs of import and export.
ListFileChoice openListChoice();
ListFileChoice saveListChoice();
