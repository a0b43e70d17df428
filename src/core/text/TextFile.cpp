#include "TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryFile>

#include <optional>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{

// Code page 932 with the NEC and IBM extensions, as Japanese Windows writes it.
constexpr const char* codePage932 = "windows-31j";
const QByteArray utf8Bom("\xEF\xBB\xBF", 3);

// The encoder substitutes what it cannot map, and a few characters map only one way, so the
// only sure test is that the bytes decode to the very same text.
std::optional<QByteArray> toCodePage932(const QString& text)
{
    QStringEncoder encoder(codePage932);
    if (!encoder.isValid())
        return std::nullopt;
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    QStringDecoder decoder(codePage932);
    const QString back = decoder.decode(bytes);
    if (decoder.hasError() || back != text)
        return std::nullopt;
    return bytes;
}

std::optional<QString> fromUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QStringList splitLines(const QString& text, LineEnds ends)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    const bool lfEnds = ends == LineEnds::AnyBreak;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (lfEnds && c == QLatin1Char('\n')) {
            lines.append(text.mid(start, i - start));
            start = i + 1;
            continue;
        }
        if (c != QLatin1Char('\r'))
            continue;
        lines.append(text.mid(start, i - start));
        if (i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

} // namespace

QByteArray encodeTextLines(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines)
        text += line + QLatin1String("\r\n");
    if (const auto bytes = toCodePage932(text))
        return *bytes;
    return utf8Bom + text.toUtf8();
}

QStringList decodeTextLines(const QByteArray& bytes, LineEnds ends)
{
    if (bytes.startsWith(utf8Bom)) {
        // Broken sequences after a BOM still read as UTF-8, with replacement characters.
        return splitLines(QString::fromUtf8(QByteArrayView(bytes).sliced(utf8Bom.size())), ends);
    }
    if (const auto text = fromUtf8(bytes))
        return splitLines(*text, ends);
    QStringDecoder decoder(codePage932);
    return splitLines(decoder.decode(bytes), ends);
}

TextFileRead readTextLines(const QString& path, LineEnds ends, qint64 maxBytes)
{
    TextFileRead result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    // Read one byte past the limit: the size a file reports may be wrong (pipes, /proc).
    const QByteArray bytes = maxBytes < 0 ? file.readAll() : file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return result;
    result.ok = true;
    if (maxBytes >= 0 && bytes.size() > maxBytes) {
        result.tooLarge = true;
        return result;
    }
    result.lines = decodeTextLines(bytes, ends);
    return result;
}

bool writeTextLines(const QString& path, const QStringList& lines)
{
    return writeFileAtomically(path, encodeTextLines(lines));
}

bool canWriteFile(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || info.isDir() || path.contains(QChar(u'\0')))
        return false;
    QTemporaryFile probe(info.absolutePath() + QStringLiteral("/.nmaker-probe-XXXXXX"));
    return probe.open();
}

#ifdef Q_OS_UNIX

namespace
{

bool writeAll(int fd, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

mode_t currentUmask()
{
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

} // namespace

// QSaveFile buffers its writes and, in Qt 6.4, renames the temporary file into place even when
// the delayed write failed (a full disk then leaves an empty file). Every step is checked here,
// and the data is on the disk before the rename makes it the file.
bool writeFileAtomically(const QString& path, const QByteArray& bytes)
{
    QByteArray target = QFile::encodeName(path);
    if (target.isEmpty() || target.contains('\0'))
        return false;
    struct stat st;
    if (::lstat(target.constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
        // A link stays a link: its target is what gets replaced.
        char* real = ::realpath(target.constData(), nullptr);
        if (!real)
            return false;
        target = real;
        std::free(real);
    }
    const bool exists = ::stat(target.constData(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode))
        return false;
    const mode_t mode = exists ? (st.st_mode & 07777) : (0666 & ~currentUmask());

    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray dir = slash < 0 ? QByteArray(".") : target.left(slash + 1);
    const QByteArray name = target.mid(slash + 1);
    QByteArray temp = dir + '.' + name + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, bytes.constData(), bytes.size()) && ::fchmod(fd, mode) == 0 &&
              ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.constData(), target.constData()) == 0;
    if (!ok) {
        ::unlink(temp.constData());
        return false;
    }
    // The rename itself reaches the disk with its folder.
    const int dirFd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

#else

bool writeFileAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // flush() reports the failure of a delayed write, which commit() may not.
    if (file.write(bytes) != bytes.size() || !file.flush() ||
        file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

#endif
