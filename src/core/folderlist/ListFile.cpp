#include "ListFile.h"

#include "run/RunContext.h"
#include "text/TextFile.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>

namespace
{

constexpr qint64 ReadChunk = 1 << 20;
// A line of MaxListLineLength characters takes at most three bytes per character in UTF-8 and
// two in code page 932: a line with more bytes is too long whatever it holds, so its bytes
// beyond this are not kept.
constexpr qsizetype MaxLineBytes = 3 * MaxListLineLength;
// How much of a too-long line the report shows.
constexpr qsizetype ShownLineStart = 200;

const QByteArray utf8Bom("\xEF\xBB\xBF", 3);
constexpr const char* codePage932 = "windows-31j";

void addRejected(QStringList& group, qsizetype& omitted, const QString& line)
{
    if (group.size() < MaxReportedLines) {
        group.append(line);
        return;
    }
    ++omitted;
    const QString summary = QStringLiteral("ほか %1 行").arg(omitted);
    if (omitted == 1)
        group.append(summary);
    else
        group.last() = summary;
}

QString shownStart(const QString& text)
{
    qsizetype n = std::min(text.size(), ShownLineStart);
    if (n > 0 && text.at(n - 1).isHighSurrogate())
        --n;
    return text.left(n) + QChar(u'…');
}

void rejectLongLine(const QString& text, ListImport& into)
{
    addRejected(into.notExpandable, into.notExpandableOmitted, shownStart(text));
}

// Well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF), fed a chunk at a
// time: a sequence may straddle two chunks.
struct Utf8Check {
    bool ok = true;
    int need = 0;
    uchar low = 0x80;
    uchar high = 0xBF;
};

void feedUtf8(Utf8Check& s, QByteArrayView bytes)
{
    for (const char ch : bytes) {
        if (!s.ok)
            return;
        const auto b = uchar(ch);
        if (s.need > 0) {
            if (b < s.low || b > s.high) {
                s.ok = false;
                return;
            }
            s.low = 0x80;
            s.high = 0xBF;
            --s.need;
            continue;
        }
        if (b < 0x80)
            continue;
        if (b >= 0xC2 && b <= 0xDF) {
            s.need = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            s.need = 2;
            if (b == 0xE0)
                s.low = 0xA0;
            else if (b == 0xED)
                s.high = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            s.need = 3;
            if (b == 0xF0)
                s.low = 0x90;
            else if (b == 0xF4)
                s.high = 0x8F;
        } else {
            s.ok = false;
        }
    }
}

bool isLead932(uchar b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrail932(uchar b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// A lead byte at the very end is dropped by the decoder without a trace.
bool endsInLoneLead932(QByteArrayView bytes)
{
    qsizetype i = 0;
    const qsizetype n = bytes.size();
    while (i < n) {
        if (!isLead932(uchar(bytes[i]))) {
            ++i;
            continue;
        }
        if (i + 1 == n)
            return true;
        i += isTrail932(uchar(bytes[i + 1])) ? 2 : 1;
    }
    return false;
}

QStringDecoder lineDecoder(bool utf8)
{
    // Stateless: every line is decoded on its own, and a sequence cut at its end is an error
    // instead of a byte held back for the next line.
    return utf8 ? QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless)
                : QStringDecoder(codePage932, QStringDecoder::Flag::Stateless);
}

// False when the bytes are not clean text; `text` then shows U+FFFD where they were not.
bool decodeLine(QStringDecoder& decoder, bool utf8, QByteArrayView bytes, QString& text)
{
    text = decoder.decode(bytes);
    if (!decoder.hasError())
        return true;
    // The error flag outlives resetState() with ICU: only a new decoder starts clean.
    decoder = lineDecoder(utf8);
    if (!utf8) {
        // ICU writes U+001A for bytes that are no character of code page 932.
        text.replace(QChar(0x1A), QChar::ReplacementCharacter);
        if (endsInLoneLead932(bytes))
            text.append(QChar::ReplacementCharacter);
    }
    return false;
}

// What the first pass learns about the file as a whole.
struct FileScan {
    qint64 bytes = 0;
    QByteArray head; // the first bytes, for the BOM
    Utf8Check utf8;
    bool cr = false;
    bool lf = false;
};

// False on a read error. Stops early once the file is found too large.
bool scanFile(QFile& file, FileScan& scan)
{
    QByteArray chunk(ReadChunk, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(chunk.data(), ReadChunk);
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        const QByteArrayView bytes(chunk.constData(), got);
        scan.bytes += got;
        if (scan.bytes > MaxListFileBytes)
            return true;
        if (scan.head.size() < utf8Bom.size())
            scan.head.append(
                bytes.first(std::min<qsizetype>(got, utf8Bom.size() - scan.head.size())));
        scan.cr = scan.cr || std::memchr(bytes.data(), '\r', size_t(got)) != nullptr;
        scan.lf = scan.lf || std::memchr(bytes.data(), '\n', size_t(got)) != nullptr;
        feedUtf8(scan.utf8, bytes);
    }
}

ListImport refused(const QString& why)
{
    ListImport r;
    r.opened = true;
    r.refusal = why;
    return r;
}

QString lines(const QStringList& group)
{
    QString text;
    for (const QString& line : group)
        text += line + QLatin1String("\r\n");
    return text;
}

} // namespace

void importListLine(const QString& line, ListImport& into)
{
    if (line.isEmpty())
        return;
    if (line.size() > MaxListLineLength) {
        rejectLongLine(line, into);
        return;
    }
    switch (expandListLine(line, into.entries)) {
    case ListLineKind::PlainPath:
        into.rawLines.append(line);
        into.entries.append(line);
        break;
    case ListLineKind::Expanded:
        into.rawLines.append(line);
        break;
    case ListLineKind::NotExpandable:
        addRejected(into.notExpandable, into.notExpandableOmitted, line);
        break;
    case ListLineKind::TooManyDigits:
        addRejected(into.tooManyDigits, into.tooManyDigitsOmitted, line);
        break;
    }
}

ListImport importListFile(const QString& path, RunContext* context)
{
    const QString tooLarge =
        QStringLiteral("リストファイルが大きすぎます。\r\n(上限は 64 MB です)");
    const QString tooMany =
        QStringLiteral("リストの項目が多すぎます。\r\n(上限は 1,000,000 項目です)");

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Refused before a byte is read; the count while reading covers what has no true size.
    if (file.size() > MaxListFileBytes)
        return refused(tooLarge);

    // First pass: the encoding and the line ends, which only the whole file tells.
    FileScan scan;
    if (!scanFile(file, scan))
        return {};
    if (scan.bytes > MaxListFileBytes)
        return refused(tooLarge);
    const bool bom = scan.head == utf8Bom;
    const bool utf8 = bom || (scan.utf8.ok && scan.utf8.need == 0);
    // A file from a Linux editor has LF alone; taken as written it would be one line.
    const char lineEnd = !scan.cr && scan.lf ? '\n' : '\r';
    if (!file.seek(bom ? utf8Bom.size() : 0))
        return {};

    // Second pass: split the bytes at the line ends (never part of a character in either
    // encoding) and decode each line on its own.
    ListImport into;
    into.opened = true;
    QStringDecoder decoder = lineDecoder(utf8);
    QByteArray line;
    bool tooLong = false;
    bool afterCr = false;
    QString text;
    auto finishLine = [&]() {
        if (context)
            context->yieldOnce();
        const bool clean = decodeLine(decoder, utf8, line, text);
        if (tooLong || text.size() > MaxListLineLength)
            rejectLongLine(text, into);
        else if (!clean)
            addRejected(into.notExpandable, into.notExpandableOmitted, text);
        else
            importListLine(text, into);
        line.truncate(0); // keeps the buffer for the next line
        tooLong = false;
        return into.entries.size() <= MaxListEntries;
    };
    auto keep = [&](const char* bytes, qsizetype size) {
        if (tooLong || size == 0)
            return;
        if (line.size() + size > MaxLineBytes) {
            size = MaxLineBytes - line.size();
            tooLong = true;
        }
        line.append(bytes, size);
    };

    // No more than the first pass judged: a file that grows meanwhile stays within the limit.
    qint64 left = scan.bytes - file.pos();
    QByteArray chunk(ReadChunk, Qt::Uninitialized);
    while (left > 0) {
        const qint64 got = file.read(chunk.data(), std::min(left, ReadChunk));
        if (got < 0)
            return {};
        if (got == 0)
            break;
        left -= got;
        const char* data = chunk.constData();
        qsizetype i = 0;
        while (i < got) {
            if (afterCr) {
                afterCr = false;
                if (data[i] == '\n') {
                    ++i;
                    continue;
                }
            }
            const auto* found =
                static_cast<const char*>(std::memchr(data + i, lineEnd, size_t(got - i)));
            const qsizetype at = found ? found - data : got;
            keep(data + i, at - i);
            if (!found)
                break;
            if (!finishLine())
                return refused(tooMany);
            afterCr = lineEnd == '\r';
            i = at + 1;
        }
    }
    if ((!line.isEmpty() || tooLong) && !finishLine())
        return refused(tooMany);
    return into;
}

std::optional<ListReport> rejectedLineReport(const ListImport& import)
{
    if (!import.refusal.isEmpty())
        return std::nullopt;
    const QString digits = QString::number(MaxRangeDigits);
    const bool wrong = !import.notExpandable.isEmpty();
    const bool wide = !import.tooManyDigits.isEmpty();
    if (wrong && wide)
        return ListReport{19, lines(import.notExpandable), digits, lines(import.tooManyDigits)};
    if (wrong)
        return ListReport{20, lines(import.notExpandable), {}, {}};
    if (wide)
        return ListReport{21, digits, lines(import.tooManyDigits), {}};
    return std::nullopt;
}

bool writeListFile(const QString& path, const QStringList& lines)
{
    return writeTextLines(path, lines);
}

namespace
{
FileFilter listFilter()
{
    return {QStringLiteral("リストファイル(*.txt,*.lst)"), QStringLiteral("*.txt;*.lst")};
}
} // namespace

ListFileChoice openListChoice()
{
    return {QStringLiteral("ファイルリストの選択"),
            {listFilter(), {QStringLiteral("全てのファイル(*.*)"), QStringLiteral("*.*")}},
            {}};
}

ListFileChoice saveListChoice()
{
    return {QStringLiteral("ファイルリストの保存"), {listFilter()}, QStringLiteral("txt")};
}
