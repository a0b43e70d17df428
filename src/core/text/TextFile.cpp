#include "TextFile.h"

#include "CodePage932.h"
#include "TextReader.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>

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
    const TextWriteError why = !bytes                               ? TextWriteError::NoConverter
                               : !writeFileAtomically(path, *bytes) ? TextWriteError::CannotWrite
                                                                    : TextWriteError::None;
    if (error)
        *error = why;
    return why == TextWriteError::None;
}
