#include "TextFile.h"

#include "CodePage932.h"
#include "TextReader.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryFile>

#include <optional>

#ifdef Q_OS_UNIX
#include "fileops/PosixFiles.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{

const QByteArray utf8Bom("\xEF\xBB\xBF", 3);

LineBreaks breaksOf(LineEnds ends)
{
    return ends == LineEnds::AnyBreak ? LineBreaks::AnyBreak : LineBreaks::CrLfOrCrOnly;
}

QStringList linesOf(TextReader& reader, LineEnds ends)
{
    reader.setLineBreaks(breaksOf(ends));
    QStringList lines;
    reader.readLines([&lines](const TextReader::Line& line) {
        lines.append(line.text);
        return true;
    });
    return lines;
}

} // namespace

std::optional<QByteArray> textFileBytes(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines)
        text += line + QLatin1String("\r\n");
    if (const auto bytes = cp932::encode(text))
        return *bytes;
    if (cp932::available())
        return utf8Bom + text.toUtf8();
    // ASCII is the same in code page 932; anything else cannot be told to fit or not.
    bool ascii = true;
    for (const QChar c : std::as_const(text))
        ascii = ascii && c.unicode() < 0x80;
    if (ascii)
        return text.toLatin1();
    return std::nullopt;
}

QByteArray encodeTextLines(const QStringList& lines)
{
    return textFileBytes(lines).value_or(QByteArray());
}

QStringList decodeTextLines(const QByteArray& bytes, LineEnds ends)
{
    TextReader reader;
    reader.openBytes(bytes);
    return linesOf(reader, ends);
}

TextFileRead readTextLines(const QString& path, LineEnds ends, qint64 maxBytes)
{
    TextFileRead result;
    TextReader reader;
    switch (reader.open(path, maxBytes)) {
    case TextReader::Opened::Ok:
        break;
    case TextReader::Opened::TooLarge:
        result.ok = true;
        result.tooLarge = true;
        return result;
    default:
        return result;
    }
    result.ok = true;
    result.lines = linesOf(reader, ends);
    return result;
}

bool writeTextLines(const QString& path, const QStringList& lines, TextWriteError* error)
{
    const std::optional<QByteArray> bytes = textFileBytes(lines);
    const TextWriteError why = !bytes                                 ? TextWriteError::NoConverter
                               : !writeFileAtomically(path, *bytes) ? TextWriteError::CannotWrite
                                                                      : TextWriteError::None;
    if (error)
        *error = why;
    return why == TextWriteError::None;
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
    bool ok = posix::writeAll(fd, bytes.constData(), bytes.size()) && ::fchmod(fd, mode) == 0 &&
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
