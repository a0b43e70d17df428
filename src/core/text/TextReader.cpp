#include "TextReader.h"

#include "CodePage932.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{

constexpr qint64 ReadChunk = TextReadChunk;
const QByteArray Utf8Bom("\xEF\xBB\xBF", 3);

// Well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF), fed a chunk at a
// time: a sequence may straddle two chunks.
struct Utf8Check {
    bool ok = true;
    int need = 0;
    uchar low = 0x80;
    uchar high = 0xBF;
    bool nonAscii = false;
    bool twoByte = false;  // a character of U+0080..U+07FF: Latin, Greek, Cyrillic, ...
    bool japanese = false; // kana, kanji or full-width forms (U+3000..U+9FFF, U+FF00..)
    uchar lead = 0;

    void feed(QByteArrayView bytes)
    {
        for (const char ch : bytes) {
            if (!ok)
                return;
            const auto b = uchar(ch);
            if (need > 0) {
                if (b < low || b > high) {
                    ok = false;
                    return;
                }
                if (lead == 0xEF && need == 2 && b >= 0xBC)
                    japanese = true;
                lead = 0;
                low = 0x80;
                high = 0xBF;
                --need;
                continue;
            }
            if (b < 0x80)
                continue;
            nonAscii = true;
            if (b >= 0xC2 && b <= 0xDF) {
                need = 1;
                twoByte = true;
            } else if (b >= 0xE0 && b <= 0xEF) {
                need = 2;
                lead = b;
                if (b >= 0xE3 && b <= 0xE9)
                    japanese = true;
                if (b == 0xE0)
                    low = 0xA0;
                else if (b == 0xED)
                    high = 0x9F;
            } else if (b >= 0xF0 && b <= 0xF4) {
                need = 3;
                if (b == 0xF0)
                    low = 0x90;
                else if (b == 0xF4)
                    high = 0x8F;
            } else {
                ok = false;
            }
        }
    }
    bool valid() const { return ok && need == 0; }
};

// Text a Japanese list holds: nothing of the C1 controls, the private use area (the user-defined
// characters of code page 932) or the codes a converter gives bytes without a character.
bool isPlausibleJapanese(const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80)
            continue;
        if (u <= 0x9F || (u >= 0xE000 && u <= 0xF8FF) || u == 0xFFFD || u == 0x1A)
            return false;
    }
    return true;
}

} // namespace

struct TextReader::Scan {
    QByteArray head;
    Utf8Check utf8;
    bool cr = false;
    bool lf = false;
    bool japanese932 = false; // judged only where both readings are valid
    bool undecided = false;   // valid in both, with no converter to judge by
    TextEncoding encoding = TextEncoding::Utf8;
    EncodingReason reason = EncodingReason::OnlyAscii;
};

TextReader::TextReader() = default;
TextReader::~TextReader() = default;

TextEncoding TextReader::encoding() const
{
    switch (m_choice) {
    case EncodingChoice::Utf8:
        return TextEncoding::Utf8;
    case EncodingChoice::CodePage932:
        return TextEncoding::CodePage932;
    case EncodingChoice::Auto:
        break;
    }
    return m_scan ? m_scan->encoding : TextEncoding::Utf8;
}

EncodingReason TextReader::reason() const
{
    if (m_choice != EncodingChoice::Auto)
        return EncodingReason::Asked;
    return m_scan ? m_scan->reason : EncodingReason::OnlyAscii;
}

TextReader::Opened TextReader::open(const QString& path, qint64 maxBytes,
                                    const std::function<bool(qint64, qint64)>& progress)
{
    auto file = std::make_unique<QFile>();
#ifdef Q_OS_UNIX
    // Non-blocking, so that a FIFO without a writer cannot hold the open; then only a regular
    // file goes on.
    const QByteArray name = QFile::encodeName(path);
    if (path.isEmpty() || name.contains('\0'))
        return Opened::CannotOpen;
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return Opened::CannotOpen;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Opened::NotAFile;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Opened::CannotOpen;
    }
#else
    file->setFileName(path);
    if (!QFileInfo(path).isFile())
        return QFileInfo::exists(path) ? Opened::NotAFile : Opened::CannotOpen;
    if (!file->open(QIODevice::ReadOnly))
        return Opened::CannotOpen;
#endif
    // Refused before a byte is read; the count while reading covers what has no true size.
    if (maxBytes >= 0 && file->size() > maxBytes)
        return Opened::TooLarge;
    m_device = std::move(file);
    const Opened scanned = scan(progress);
    if (scanned == Opened::Ok && maxBytes >= 0 && m_bytes > maxBytes)
        return Opened::TooLarge;
    return scanned;
}

TextReader::Opened TextReader::openBytes(const QByteArray& bytes)
{
    m_memory = bytes;
    auto buffer = std::make_unique<QBuffer>(&m_memory);
    buffer->open(QIODevice::ReadOnly);
    m_device = std::move(buffer);
    return scan({});
}

bool TextReader::readAll(const std::function<bool(QByteArrayView)>& chunk,
                         const std::function<bool(qint64, qint64)>& progress)
{
    if (!m_device->seek(0))
        return false;
    // No more than the first pass judged: a file that grows meanwhile stays within it.
    const qint64 limit = m_scan ? m_bytes : -1;
    qint64 done = 0;
    QByteArray buffer(ReadChunk, Qt::Uninitialized);
    for (;;) {
        qint64 want = ReadChunk;
        if (limit >= 0)
            want = std::min(want, limit - done);
        if (want <= 0)
            return true;
        const qint64 got = m_device->read(buffer.data(), want);
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        done += got;
        if (!chunk(QByteArrayView(buffer.constData(), got)))
            return false;
        if (progress && !progress(done, std::max(done, m_bytes))) {
            m_cancelled = true;
            return false;
        }
    }
}

TextReader::Opened TextReader::scan(const std::function<bool(qint64, qint64)>& progress)
{
    m_scan.reset();
    m_bytes = 0;
    m_cancelled = false;
    auto s = std::make_unique<Scan>();
    const bool read = readAll(
        [&](QByteArrayView bytes) {
            m_bytes += bytes.size();
            if (s->head.size() < Utf8Bom.size())
                s->head.append(bytes.first(
                    std::min<qsizetype>(bytes.size(), Utf8Bom.size() - s->head.size())));
            s->cr = s->cr || std::memchr(bytes.data(), '\r', size_t(bytes.size())) != nullptr;
            s->lf = s->lf || std::memchr(bytes.data(), '\n', size_t(bytes.size())) != nullptr;
            s->utf8.feed(bytes);
            return true;
        },
        progress);
    if (!read)
        return Opened::ReadError;

    // The judgement, in the order the manual gives it.
    if (s->head == Utf8Bom) {
        s->reason = EncodingReason::ByteOrder;
    } else if (!s->utf8.valid()) {
        s->encoding = TextEncoding::CodePage932;
        s->reason = EncodingReason::NotUtf8;
    } else if (!s->utf8.nonAscii) {
        s->reason = EncodingReason::OnlyAscii;
    } else if (s->lf && !s->cr) {
        s->reason = EncodingReason::LfOnly;
    } else if (!s->utf8.twoByte || s->utf8.japanese) {
        // Japanese in UTF-8 takes three bytes a character: a file that holds some is a UTF-8
        // one, also with a foreign letter in it; one without two-byte characters reads as
        // nothing else either.
        s->reason = EncodingReason::Utf8Text;
    } else if (cp932::available()) {
        m_scan = std::move(s);
        const bool japanese = decodesAsJapanese932();
        s = std::move(m_scan);
        s->encoding = japanese ? TextEncoding::CodePage932 : TextEncoding::Utf8;
        s->reason = japanese ? EncodingReason::Japanese932 : EncodingReason::Utf8Text;
    } else {
        // Valid in both, and only the converter could tell which: better no reading than a
        // guess.
        s->undecided = true;
    }
    const bool needs932 = m_choice == EncodingChoice::CodePage932 ||
                          (m_choice == EncodingChoice::Auto &&
                           (s->undecided || s->encoding == TextEncoding::CodePage932));
    if (needs932 && !cp932::available())
        return Opened::NoConverter;
    m_scan = std::move(s);
    return Opened::Ok;
}

bool TextReader::decodesAsJapanese932()
{
    // Line by line, as the lines will be read: every line must decode cleanly and read as
    // Japanese text.
    const EncodingChoice before = m_choice;
    m_choice = EncodingChoice::CodePage932;
    bool japanese = cp932::available();
    if (japanese) {
        readLines([&japanese](const Line& line) {
            japanese = line.clean && isPlausibleJapanese(line.text);
            return japanese;
        });
    }
    m_choice = before;
    return japanese;
}

bool TextReader::readLines(const std::function<bool(const Line& line)>& handler,
                           const std::function<bool(qint64, qint64)>& progress)
{
    if (!m_device || !m_scan)
        return false;
    const bool utf8 = encoding() == TextEncoding::Utf8;
    QStringDecoder utf8Decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    cp932::LineDecoder cp932Decoder;
    const bool lfOnly = m_breaks == LineBreaks::CrLfOrCr && !m_scan->cr && m_scan->lf;
    const bool anyBreak = m_breaks == LineBreaks::AnyBreak;
    const char lineEnd = lfOnly ? '\n' : '\r';
    // A BOM is no part of the text, whatever the encoding asked for.
    qsizetype skip = m_scan->head == Utf8Bom ? Utf8Bom.size() : 0;

    QByteArray bytes;
    Line line;
    bool afterCr = false;
    bool stopped = false;
    auto finish = [&]() {
        line.tooLong = m_maxLineBytes >= 0 && bytes.size() > m_maxLineBytes;
        if (line.tooLong)
            bytes.truncate(m_maxLineBytes);
        if (bytes.isEmpty()) {
            line.text.clear();
            line.clean = true;
        } else if (utf8) {
            line.text = utf8Decoder.decode(bytes);
            line.clean = !utf8Decoder.hasError();
            if (!line.clean)
                utf8Decoder = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        } else {
            line.clean = cp932Decoder.decode(bytes, line.text);
        }
        // A cut line may end inside a character; what counts is that it was too long.
        if (line.tooLong)
            line.clean = true;
        bytes.truncate(0); // keeps the buffer for the next line
        ++line.number;
        if (!handler(line))
            stopped = true;
        return !stopped;
    };
    auto keep = [&](const char* data, qsizetype size) {
        if (m_maxLineBytes >= 0)
            size = std::min<qsizetype>(size, m_maxLineBytes + 1 - bytes.size());
        if (size > 0)
            bytes.append(data, size);
    };
    const bool read = readAll(
        [&](QByteArrayView chunk) {
            const char* data = chunk.data();
            const qsizetype n = chunk.size();
            qsizetype i = std::min(skip, n);
            skip -= i;
            while (i < n) {
                if (afterCr) {
                    afterCr = false;
                    if (data[i] == '\n') {
                        ++i;
                        continue;
                    }
                }
                const char* found = nullptr;
                if (anyBreak) {
                    for (qsizetype k = i; k < n; ++k) {
                        if (data[k] == '\r' || data[k] == '\n') {
                            found = data + k;
                            break;
                        }
                    }
                } else {
                    found = static_cast<const char*>(std::memchr(data + i, lineEnd, size_t(n - i)));
                }
                const qsizetype at = found ? found - data : n;
                keep(data + i, at - i);
                if (!found)
                    break;
                afterCr = *found == '\r';
                i = at + 1;
                if (!finish())
                    return false;
            }
            return true;
        },
        progress);
    if (!read)
        return false;
    if (!bytes.isEmpty() && !finish())
        return false;
    return !stopped;
}

QString encodingName(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8
               ? QStringLiteral("UTF-8")
               : QCoreApplication::translate("TextReader", "シフトJIS (コードページ 932)");
}
