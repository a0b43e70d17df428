#pragma once

#include "OutputFile.h"

#include <QString>
#include <QStringList>

#include <optional>

// The program's text files (settings, folder lists): lines ended by CR LF, code page 932 when
// every character fits and UTF-8 with a byte-order mark otherwise, so nothing is ever lost.

struct TextFileRead {
    bool ok = false;       // false: the file could not be opened or read
    bool tooLarge = false; // larger than the reader's limit: nothing was decoded
    QStringList lines;
};

// Where a line ends. List files keep a lone LF inside the line; the settings file, whose
// values never hold a line break, also takes the LF of a file edited on Linux.
enum class LineEnds { CrLfOrCr, AnyBreak };

// A line ends at CR LF or at a lone CR (and with AnyBreak also at a lone LF). A last line
// without a line end counts like the others. Bytes with a BOM or valid as UTF-8 are read as
// UTF-8, anything else as code page 932. A file of more than `maxBytes` is not read at all.
TextFileRead readTextLines(const QString& path, LineEnds ends = LineEnds::CrLfOrCr,
                           qint64 maxBytes = -1);

// Why a text file was not written.
enum class TextWriteError {
    None,
    NoConverter, // text beyond ASCII, and no converter of code page 932 to tell whether it fits
    CannotWrite  // the file could not be written
};

// Writes every line followed by CR LF through a temporary file beside the target, renamed
// into place only when every byte is on the disk: on false the old file is untouched, and
// `error` (when given) tells why. A CR inside a line would end it when read back, so callers
// keep lines free of CR.
bool writeTextLines(const QString& path, const QStringList& lines, TextWriteError* error = nullptr);

// The bytes as they would be written; nothing when they cannot be made (no converter of code
// page 932, for text beyond ASCII: never UTF-8 in its place).
std::optional<QByteArray> textFileBytes(const QStringList& lines);
// The same, empty when they cannot be made; and the text those bytes are read as.
QByteArray encodeTextLines(const QStringList& lines);
QStringList decodeTextLines(const QByteArray& bytes, LineEnds ends = LineEnds::CrLfOrCr);
