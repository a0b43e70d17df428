#pragma once

#include <QString>
#include <QStringList>

// The program's text files (settings, folder lists): lines ended by CR LF, code page 932 when
// every character fits and UTF-8 with a byte-order mark otherwise, so nothing is ever lost.

struct TextFileRead {
    bool ok = false; // false: the file could not be opened or read
    QStringList lines;
};

// A line ends at CR LF or at a lone CR; a lone LF stays in the line. A last line without a
// line end counts like the others. Bytes with a BOM or valid as UTF-8 are read as UTF-8,
// anything else as code page 932.
TextFileRead readTextLines(const QString& path);

// Writes every line followed by CR LF through a temporary file beside the target, renamed
// into place only when everything was written: on false the old file is untouched.
// A CR inside a line would end it when read back, so callers keep lines free of CR.
bool writeTextLines(const QString& path, const QStringList& lines);

// The bytes as they would be written, and the text those bytes are read as.
QByteArray encodeTextLines(const QStringList& lines);
QStringList decodeTextLines(const QByteArray& bytes);
