#pragma once

#include "ListFileChooser.h"
#include "ListFormat.h"
#include "text/TextReader.h"

#include <QString>
#include <QStringList>

#include <optional>

class RunContext;

// Bounds that keep a wrong file (a disk image, a log) from taking the memory or the afternoon.
constexpr qint64 MaxListFileBytes = 64 * 1024 * 1024;
constexpr qsizetype MaxListEntries = 1000000;
// What the entries of a file hold together: a line may stand for far more than its bytes.
constexpr qint64 MaxListCharacters = 100000000;
// Per rejected group; further lines are counted in one last line.
constexpr int MaxReportedLines = 1000;

struct ListImport {
    bool opened = false; // false: the file could not be opened or read; the caller changes nothing
    bool cancelled = false; // the user stopped it: nothing is meaningful
    QString refusal;        // not empty: the whole file was refused; nothing else is meaningful
    TextEncoding encoding = TextEncoding::Utf8; // what the lines were read as, and why
    EncodingReason encodingReason = EncodingReason::OnlyAscii;
    qsizetype entryCount = 0;  // entries, also when they were only counted
    qint64 characters = 0;     // what the entries hold together
    QStringList entries;       // every entry, file order
    QList<qint64> entryLines;  // with keepLines: the file line of each entry (1 for the first)
    QStringList rawLines;      // the accepted lines exactly as read, file order
    QStringList notExpandable; // not expandable, too long or not decodable, file order
    // Beside each of them, why the extended syntax rejected it (empty: the format's own kinds).
    QStringList notExpandableReasons;
    QStringList tooManyDigits; // a bound longer than MaxRangeDigits, file order
    // Rejected lines beyond MaxReportedLines, counted in each group's "ほか N 行" line.
    qsizetype notExpandableOmitted = 0;
    qsizetype tooManyDigitsOmitted = 0;
};

// One line as the import takes it: an empty line is skipped, a plain path becomes an entry and
// a raw line, an expanded line a raw line (its entries are added), a rejected line is kept for
// the report. The line is measured before anything is made: false when its entries would
// take the import past its bounds (then nothing of it is added). With `keepEntries` false
// they are only counted.
bool importListLine(const QString& line, ListImport& into, bool keepEntries = true,
                    const ListSyntax& syntax = {});

struct ListImportOptions {
    EncodingChoice encoding = EncodingChoice::Auto;
    bool keepEntries = true; // false: checked and counted only, for a pass that streams them
    bool keepLines = false;  // with the entries, each one's line in the file (entryLines)
    // Hears the bytes read so far (the file is read twice: `total` is twice its size) after
    // every piece; its false stops the import as cancelled.
    std::function<bool(qint64 done, qint64 total)> progress;
    // The format, or the extended syntax; without a date of its own, the import fixes today's.
    ListSyntax syntax;
};

// Reads a list file line by line in bounded memory. Lines end at CR LF or a lone CR; in a file
// without any CR, at LF. Anything but a regular file is not opened.
ListImport importListFile(const QString& path, const ListImportOptions& options = {});
// The same, letting the window paint (and take a cancel) as it goes.
ListImport importListFile(const QString& path, RunContext* context);

// Every entry of an accepted file, streamed in file order, without holding them: the file is
// read once more as the import read it (give the syntax the date the import used). False on a
// read error or when `take` answers false.
bool forEachListFileEntry(const QString& path, TextEncoding encoding,
                          const std::function<bool(const QString& entry, qint64 line)>& take,
                          const ListSyntax& syntax = {});

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
