#include "TextFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>

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

QStringList splitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (text.at(i) != QLatin1Char('\r'))
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

QStringList decodeTextLines(const QByteArray& bytes)
{
    if (bytes.startsWith(utf8Bom)) {
        // Broken sequences after a BOM still read as UTF-8, with replacement characters.
        return splitLines(QString::fromUtf8(QByteArrayView(bytes).sliced(utf8Bom.size())));
    }
    if (const auto text = fromUtf8(bytes))
        return splitLines(*text);
    QStringDecoder decoder(codePage932);
    return splitLines(decoder.decode(bytes));
}

TextFileRead readTextLines(const QString& path)
{
    TextFileRead result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return result;
    result.ok = true;
    result.lines = decodeTextLines(bytes);
    return result;
}

bool writeTextLines(const QString& path, const QStringList& lines)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = encodeTextLines(lines);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
