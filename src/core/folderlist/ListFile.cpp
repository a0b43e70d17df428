#include "ListFile.h"

#include "run/RunContext.h"
#include "text/NamedLines.h"
#include "text/TextFile.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cstring>

namespace
{

// A line of MaxListLineLength characters takes at most three bytes per character in UTF-8 and
// two in code page 932: a line with more bytes is too long whatever it holds, so its bytes
// beyond this are not kept.
constexpr qsizetype MaxLineBytes = 3 * MaxListLineLength;
// How much of a too-long line the report shows.
constexpr qsizetype ShownLineStart = 200;

void addRejected(QStringList& group, qsizetype& omitted, const QString& line,
                 QStringList* reasons = nullptr, const QString& reason = {})
{
    if (group.size() < MaxReportedLines) {
        group.append(line);
        if (reasons)
            reasons->append(reason);
        return;
    }
    ++omitted;
    const QString summary = moreLinesText(omitted);
    if (omitted == 1) {
        group.append(summary);
        if (reasons)
            reasons->append(QString());
    } else {
        group.last() = summary;
    }
}

void addNotExpandable(ListImport& into, const QString& line, const QString& reason = {})
{
    // Kept in step with the lines, so each reason stays beside its own.
    while (into.notExpandableReasons.size() < into.notExpandable.size())
        into.notExpandableReasons.append(QString());
    addRejected(into.notExpandable, into.notExpandableOmitted, line, &into.notExpandableReasons,
                reason);
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
    addNotExpandable(into, shownStart(text));
}

ListImport refused(const QString& why)
{
    ListImport r;
    r.opened = true;
    r.refusal = why;
    return r;
}

QString lines(const QStringList& group, const QStringList& reasons = {})
{
    QString text;
    for (qsizetype i = 0; i < group.size(); ++i) {
        text += group.at(i);
        if (i < reasons.size() && !reasons.at(i).isEmpty())
            text += QLatin1String(" (") + reasons.at(i) + QLatin1Char(')');
        text += QLatin1String("\r\n");
    }
    return text;
}

QString tooManyText()
{
    return QCoreApplication::translate("ListFile",
                                       "リストの項目が多すぎます。\r\n(上限は 1,000,000 項目です)");
}

QString tooLongText()
{
    return QCoreApplication::translate(
        "ListFile",
        "リストを展開すると大きすぎます。\r\n(展開した項目は合わせて 1 億文字までです)");
}

} // namespace

bool importListLine(const QString& line, ListImport& into, bool keepEntries,
                    const ListSyntax& syntax)
{
    if (line.isEmpty())
        return true;
    if (line.size() > MaxListLineLength) {
        rejectLongLine(line, into);
        return true;
    }
    const ListLineSize size = measureListLine(line, syntax);
    switch (size.kind) {
    case ListLineKind::NotExpandable:
        addNotExpandable(into, line, listLineProblemText(size.problem));
        return true;
    case ListLineKind::TooManyDigits:
        addRejected(into.tooManyDigits, into.tooManyDigitsOmitted, line);
        return true;
    default:
        break;
    }
    // Counted before anything is made, so a line that stands for gigabytes costs nothing.
    if (into.entryCount + size.entries > MaxListEntries) {
        into.refusal = tooManyText();
        return false;
    }
    if (into.characters + size.characters > MaxListCharacters) {
        into.refusal = tooLongText();
        return false;
    }
    into.entryCount += size.entries;
    into.characters += size.characters;
    into.rawLines.append(line);
    if (!keepEntries)
        return true;
    if (size.kind == ListLineKind::PlainPath)
        into.entries.append(line);
    else
        expandListLine(line, into.entries, syntax);
    return true;
}

ListImport importListFile(const QString& path, const ListImportOptions& options)
{
    const QString tooLarge = QCoreApplication::translate(
        "ListFile", "リストファイルが大きすぎます。\r\n(上限は 64 MB です)");

    TextReader reader;
    reader.setEncoding(options.encoding);
    reader.setMaxLineBytes(MaxLineBytes);
    // Two passes over the file: the first judges the encoding and the line ends, which only the
    // whole file tells; the second reads the lines.
    qint64 size = 0;
    auto firstPass = [&](qint64 done, qint64 total) {
        size = total;
        return !options.progress || options.progress(done, 2 * total);
    };
    switch (reader.open(path, MaxListFileBytes, firstPass)) {
    case TextReader::Opened::Ok:
        break;
    case TextReader::Opened::TooLarge:
        return refused(tooLarge);
    case TextReader::Opened::ReadError:
        if (reader.cancelled()) {
            ListImport r;
            r.cancelled = true;
            return r;
        }
        return {};
    default:
        return {};
    }
    size = reader.size();
    std::function<bool(qint64, qint64)> secondPass;
    if (options.progress)
        secondPass = [&](qint64 done, qint64) { return options.progress(size + done, 2 * size); };

    ListSyntax syntax = options.syntax;
    if (!syntax.today.isValid())
        syntax.today = QDate::currentDate();
    ListImport into;
    into.opened = true;
    into.encoding = reader.encoding();
    into.encodingReason = reader.reason();
    bool bounded = true;
    const bool read = reader.readLines(
        [&](const TextReader::Line& line) {
            if (line.text.isEmpty() && !line.tooLong)
                return true; // the many empty lines cost nothing
            if (line.tooLong || line.text.size() > MaxListLineLength)
                rejectLongLine(line.text, into);
            else if (!line.clean)
                addNotExpandable(into, line.text);
            else {
                const qsizetype before = into.entries.size();
                bounded = importListLine(line.text, into, options.keepEntries, syntax);
                if (options.keepLines)
                    into.entryLines.insert(into.entryLines.size(), into.entries.size() - before,
                                           line.number);
            }
            return bounded;
        },
        secondPass);
    if (!bounded)
        return refused(into.refusal);
    if (!read) {
        ListImport r;
        r.cancelled = reader.cancelled();
        r.opened = r.cancelled;
        return r;
    }
    return into;
}

ListImport importListFile(const QString& path, RunContext* context)
{
    ListImportOptions options;
    if (context) {
        options.progress = [context](qint64 done, qint64 total) {
            context->reportProgress(int(done / 1024), int(total / 1024));
            return !context->nextStep();
        };
    }
    return importListFile(path, options);
}

bool forEachListFileEntry(const QString& path, TextEncoding encoding,
                          const std::function<bool(const QString& entry, qint64 line)>& take,
                          const ListSyntax& syntax)
{
    TextReader reader;
    reader.setEncoding(encoding == TextEncoding::Utf8 ? EncodingChoice::Utf8
                                                      : EncodingChoice::CodePage932);
    reader.setMaxLineBytes(MaxLineBytes);
    if (reader.open(path, MaxListFileBytes) != TextReader::Opened::Ok)
        return false;
    bool going = true;
    return reader.readLines([&](const TextReader::Line& line) {
        if (line.text.isEmpty() || line.tooLong || !line.clean ||
            line.text.size() > MaxListLineLength)
            return true;
        forEachListEntry(line.text, syntax, [&](const QString& entry) {
            if (going)
                going = take(entry, line.number);
        });
        return going;
    });
}

std::optional<ListReport> rejectedLineReport(const ListImport& import)
{
    if (!import.refusal.isEmpty())
        return std::nullopt;
    const QString digits = QString::number(MaxRangeDigits);
    const bool wrong = !import.notExpandable.isEmpty();
    const bool wide = !import.tooManyDigits.isEmpty();
    if (wrong && wide)
        return ListReport{19, lines(import.notExpandable, import.notExpandableReasons), digits,
                          lines(import.tooManyDigits)};
    if (wrong)
        return ListReport{20, lines(import.notExpandable, import.notExpandableReasons), {}, {}};
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
    return {QCoreApplication::translate("ListFile", "リストファイル(*.txt,*.lst)"),
            QStringLiteral("*.txt;*.lst")};
}
} // namespace

ListFileChoice openListChoice()
{
    return {
        QCoreApplication::translate("ListFile", "ファイルリストの選択"),
        {listFilter(),
         {QCoreApplication::translate("ListFile", "表(*.csv,*.tsv,*.xlsx)"),
          QStringLiteral("*.csv;*.tsv;*.xlsx")},
         {QCoreApplication::translate("ListFile", "全てのファイル(*.*)"), QStringLiteral("*.*")}},
        {}};
}

ListFileChoice saveListChoice()
{
    return {QCoreApplication::translate("ListFile", "ファイルリストの保存"),
            {listFilter()},
            QStringLiteral("txt")};
}
