#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>
#include <memory>

// The reader takes files in pieces of this size; progress is told after each.
constexpr qint64 TextReadChunk = 64 * 1024;

// The encodings the program's text files come in.
enum class TextEncoding { Utf8, CodePage932 };
// What the user asks for: the reader's own judgement, or one encoding whatever it judges.
enum class EncodingChoice { Auto, Utf8, CodePage932 };

// Why the reader took the encoding it took, for whoever shows it.
enum class EncodingReason {
    Asked,      // the user chose it
    ByteOrder,  // a byte-order mark: UTF-8
    OnlyAscii,  // nothing but ASCII: both readings are the same
    NotUtf8,    // not valid UTF-8: code page 932
    LfOnly,     // valid UTF-8 with line feeds only, as Linux editors write
    Utf8Text,   // valid UTF-8 that reads as plausible text
    Japanese932 // valid in both, but only code page 932 reads as Japanese
};

// Where lines end.
enum class LineBreaks {
    // CR LF or a lone CR; a lone LF stays in the line. A file without any CR but with LF
    // (saved by a Linux editor) has its lines end at LF instead.
    CrLfOrCr,
    CrLfOrCrOnly, // the same, without the LF-only rule
    AnyBreak      // CR LF, CR or LF
};

// Reads a text file of the program's (a folder list, the settings) line by line in bounded
// memory: a first pass judges the encoding and the line ends from the whole file, a second
// pass hands over each line decoded on its own. Only a regular file is read: a FIFO or a
// device is refused before anything could wait on it.
class TextReader
{
public:
    // NoConverter: the file is (or, with two readings, may be) code page 932 and this build
    // has no converter for it (cp932::missingText() tells the user); nothing is read.
    enum class Opened { Ok, CannotOpen, NotAFile, TooLarge, ReadError, NoConverter };

    TextReader();
    ~TextReader();

    // Opens and scans the file; more than `maxBytes` bytes (-1: no bound) is TooLarge.
    // `progress` (may be empty) hears the bytes scanned, at most once per chunk; its false
    // stops the scan (Opened::ReadError, with cancelled() true).
    Opened open(const QString& path, qint64 maxBytes,
                const std::function<bool(qint64 done, qint64 total)>& progress = {});
    // The same over bytes in memory.
    Opened openBytes(const QByteArray& bytes);

    void setEncoding(EncodingChoice choice) { m_choice = choice; }
    void setLineBreaks(LineBreaks breaks) { m_breaks = breaks; }
    // Lines longer than this many bytes are handed over cut to it, marked too long.
    void setMaxLineBytes(qsizetype bytes) { m_maxLineBytes = bytes; }

    // The encoding the lines will be read in, and why; valid after open().
    TextEncoding encoding() const;
    EncodingReason reason() const;
    qint64 size() const { return m_bytes; }
    bool cancelled() const { return m_cancelled; }

    struct Line {
        QString text;
        bool clean = true;    // false: the bytes are no text of the encoding (U+FFFD shows where)
        bool tooLong = false; // cut to the maximum; `text` holds its start only
        qint64 number = 0;    // its line in the file, 1 for the first
    };
    // Hands over every line in file order; the handler's false stops. `progress` as for open.
    // False on a read error or a stop.
    bool readLines(const std::function<bool(const Line& line)>& handler,
                   const std::function<bool(qint64 done, qint64 total)>& progress = {});

private:
    struct Scan;
    Opened scan(const std::function<bool(qint64, qint64)>& progress);
    bool readAll(const std::function<bool(QByteArrayView)>& chunk,
                 const std::function<bool(qint64, qint64)>& progress);
    bool decodesAsJapanese932();

    std::unique_ptr<QIODevice> m_device;
    QByteArray m_memory;
    EncodingChoice m_choice = EncodingChoice::Auto;
    LineBreaks m_breaks = LineBreaks::CrLfOrCr;
    qsizetype m_maxLineBytes = -1;
    std::unique_ptr<Scan> m_scan;
    qint64 m_bytes = 0;
    bool m_cancelled = false;
};

// The name of an encoding as the user reads it.
QString encodingName(TextEncoding encoding);
