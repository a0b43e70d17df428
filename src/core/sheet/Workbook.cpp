#include "Workbook.h"

#include "SheetTexts.h"
#include "ZipArchive.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QHash>
#include <QLocale>
#include <QTime>
#include <QXmlStreamReader>

#include <cmath>

namespace
{

bool isDateBuiltin(int id)
{
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
           (id >= 50 && id <= 58);
}

QString builtinCode(int id)
{
    switch (id) {
    case 1:
        return QStringLiteral("0");
    case 2:
        return QStringLiteral("0.00");
    case 3:
        return QStringLiteral("#,##0");
    case 4:
        return QStringLiteral("#,##0.00");
    case 9:
        return QStringLiteral("0%");
    case 10:
        return QStringLiteral("0.00%");
    case 11:
        return QStringLiteral("0.00E+00");
    default:
        return {};
    }
}

// The code's first section without what only decorates it: quoted text, escapes, [colours].
QString bareCode(const QString& code)
{
    QString bare;
    bool quoted = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (c == u'"') {
            quoted = !quoted;
        } else if (quoted) {
            continue;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i;
        } else if (c == u'[') {
            const qsizetype end = code.indexOf(u']', i);
            i = end < 0 ? code.size() : end;
        } else if (c == u';') {
            break;
        } else {
            bare += c.toLower();
        }
    }
    return bare;
}

// "General" and a scientific exponent hold letters that are no date's.
QString dateLetters(const QString& code)
{
    QString bare = bareCode(code);
    bare.remove(QLatin1String("general"));
    bare.remove(QLatin1String("e+"));
    bare.remove(QLatin1String("e-"));
    return bare;
}

bool isDateCode(const QString& code)
{
    const QString bare = dateLetters(code);
    // "m" is the month beside a day or year, the minutes beside hours or seconds.
    const bool clock = bare.contains(u'h') || bare.contains(u's');
    return bare.contains(u'y') || bare.contains(u'd') || bare.contains(u'g') ||
           bare.contains(u'e') || (bare.contains(u'm') && !clock);
}

bool isTimeCode(const QString& code)
{
    const QString bare = dateLetters(code);
    return bare.contains(u'h') || bare.contains(u's');
}

bool isScientific(const QString& code)
{
    const QString bare = bareCode(code);
    return bare.contains(QLatin1String("e+")) || bare.contains(QLatin1String("e-"));
}

// The code's sections, split at the semicolons outside quotes.
QStringList sectionsOf(const QString& code)
{
    QStringList sections(1);
    bool quoted = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (c == u'"')
            quoted = !quoted;
        if (c == u'\\' && !quoted && i + 1 < code.size()) {
            sections.last() += c;
            sections.last() += code.at(++i);
            continue;
        }
        if (c == u';' && !quoted)
            sections << QString();
        else
            sections.last() += c;
    }
    return sections;
}

QString dateOf(double serial, bool date1904)
{
    const qint64 days = qint64(std::floor(serial));
    QDate base = date1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 30);
    // Serial 60 is the 29 February 1900 that never was; the days before it count from a day
    // later.
    if (!date1904 && days < 60)
        base = QDate(1899, 12, 31);
    return base.addDays(days).toString(QStringLiteral("yyyy-MM-dd"));
}

QString plainNumber(double value)
{
    if (std::fabs(value) < 1e15 && value == std::floor(value))
        return QString::number(qint64(value));
    return QString::number(value, 'g', 15);
}

} // namespace

QString formatCellNumber(double value, int builtin, const QString& givenCode, bool date1904)
{
    if (isDateBuiltin(builtin))
        return dateOf(value, date1904);
    const QString whole = givenCode.isEmpty() ? builtinCode(builtin) : givenCode;
    // A negative number takes the second section, without its sign, when there is one.
    const QStringList sections = sectionsOf(whole);
    const bool ownNegative = value < 0 && sections.size() > 1 && !sections.at(1).isEmpty();
    const QString code = ownNegative ? sections.at(1) : sections.front();
    if (ownNegative)
        value = -value;
    if (code.isEmpty() || dateLetters(code).trimmed().isEmpty() || code == QLatin1String("@"))
        return plainNumber(value);
    if (isDateCode(code))
        return dateOf(value, date1904);
    if (isTimeCode(code)) {
        const qint64 seconds = qint64(std::llround((value - std::floor(value)) * 86400));
        return QTime(0, 0)
            .addSecs(int(seconds % 86400))
            .toString(dateLetters(code).contains(u's') ? QStringLiteral("HH:mm:ss")
                                                       : QStringLiteral("HH:mm"));
    }
    if (isScientific(code)) {
        const QString bare = bareCode(code);
        const qsizetype point = bare.indexOf(u'.');
        const qsizetype e = bare.indexOf(u'e');
        const int decimals = point >= 0 && point < e ? int(e - point - 1) : 0;
        return QString::number(value, 'E', decimals);
    }
    // The number's part of the code: its digits, point, grouping and percent sign; text
    // around it stays as written.
    QString before, after;
    int minInteger = 0, decimals = 0;
    bool grouping = false, percent = false, inNumber = false, seenNumber = false, point = false;
    bool quoted = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (c == u';' && !quoted)
            break;
        if (c == u'"') {
            quoted = !quoted;
            inNumber = false;
            continue;
        }
        if (quoted) {
            (seenNumber ? after : before) += c;
            continue;
        }
        if (c == u'\\' && i + 1 < code.size()) {
            inNumber = false;
            (seenNumber ? after : before) += code.at(++i);
            continue;
        }
        if (c == u'0' || c == u'#' || c == u'?') {
            if (seenNumber && !inNumber)
                break; // a second number (a fraction): shown plainly below
            inNumber = seenNumber = true;
            if (point)
                ++decimals;
            else if (c == u'0')
                ++minInteger;
            continue;
        }
        if (c == u'.' && inNumber) {
            point = true;
            continue;
        }
        if (c == u',' && inNumber) {
            grouping = true;
            continue;
        }
        if (c == u'%') {
            percent = true;
            inNumber = false;
            (seenNumber ? after : before) += c;
            continue;
        }
        if (c == u'[') {
            const qsizetype end = code.indexOf(u']', i);
            i = end < 0 ? code.size() : end;
            continue;
        }
        if (c == u'_' || c == u'*') {
            ++i;
            continue;
        }
        inNumber = false;
        (seenNumber ? after : before) += c;
    }
    if (!seenNumber)
        return before.isEmpty() ? plainNumber(value) : before;
    double shown = percent ? value * 100 : value;
    const bool negative = shown < 0;
    shown = std::fabs(shown);
    QString digits = QString::number(shown, 'f', decimals);
    QString integer = digits.section(u'.', 0, 0);
    const QString fraction = decimals > 0 ? digits.section(u'.', 1) : QString();
    if (integer == QLatin1String("0") && minInteger == 0)
        integer.clear();
    while (integer.size() < minInteger)
        integer.prepend(u'0');
    if (grouping) {
        for (qsizetype at = integer.size() - 3; at > 0; at -= 3)
            integer.insert(at, u',');
    }
    QString number = integer;
    if (decimals > 0)
        number += u'.' + fraction;
    return (negative ? QStringLiteral("-") : QString()) + before + number + after;
}

namespace
{

struct Archive {
    ZipArchive zip;
    QHash<QString, const ZipArchive::Entry*> parts; // by lower-case name
    QString refusal;

    explicit Archive(const QString& path) : zip(path) {}

    bool open()
    {
        switch (zip.open(WorkbookBound::Entries)) {
        case ZipArchive::Opened::Ok:
            break;
        case ZipArchive::Opened::TooManyEntries:
            refusal = SheetText::tooBig(QCoreApplication::translate("Workbook", "項目の数"));
            return false;
        case ZipArchive::Opened::NotZip:
            refusal = SheetText::notAWorkbook();
            return false;
        }
        qint64 total = 0;
        for (const ZipArchive::Entry& entry : zip.entries()) {
            if (entry.encrypted()) {
                refusal = SheetText::encrypted();
                return false;
            }
            if (entry.size > WorkbookBound::PartBytes ||
                (total += entry.size) > WorkbookBound::TotalBytes) {
                refusal = SheetText::tooBig(entry.name);
                return false;
            }
            parts.insert(entry.name.toLower(), &entry);
        }
        return true;
    }

    bool has(const QString& name) const { return parts.contains(name.toLower()); }

    // A part whole, never past the size the directory states; nothing when it is not there
    // or does not inflate to exactly that.
    std::optional<QByteArray> read(const QString& name)
    {
        const ZipArchive::Entry* entry = parts.value(name.toLower());
        if (!entry)
            return std::nullopt;
        QByteArray bytes;
        switch (zip.read(*entry, &bytes)) {
        case ZipArchive::Read::Ok:
            return bytes;
        case ZipArchive::Read::LargerThanStated:
            refusal = SheetText::tooBig(name);
            return std::nullopt;
        case ZipArchive::Read::Damaged:
        case ZipArchive::Read::Unsupported:
            refusal = SheetText::notAWorkbook();
            return std::nullopt;
        }
        return std::nullopt;
    }
};

// "BC12" -> 54 (0-based column); -1 when it names none.
int columnOf(QStringView ref)
{
    int column = 0;
    qsizetype i = 0;
    for (; i < ref.size() && ref.at(i).isLetter(); ++i)
        column = column * 26 + (ref.at(i).toUpper().unicode() - u'A' + 1);
    return i == 0 || column > 16384 ? -1 : column - 1;
}

// The text of a string item: its runs' <t>, the phonetic guides (<rPh>) left out.
QString itemText(QXmlStreamReader& xml, QStringView end)
{
    QString text;
    int phonetic = 0;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (xml.name() == QLatin1String("rPh"))
                ++phonetic;
            else if (xml.name() == QLatin1String("t") && phonetic == 0)
                text += xml.readElementText();
        } else if (token == QXmlStreamReader::EndElement) {
            if (xml.name() == QLatin1String("rPh"))
                --phonetic;
            else if (xml.name() == end)
                break;
        }
    }
    return text;
}

QString resolvedTarget(const QString& target)
{
    if (target.startsWith(u'/'))
        return target.mid(1);
    return QStringLiteral("xl/") + target;
}

} // namespace

SheetTable readWorkbook(const QString& path, const QString& wanted)
{
    SheetTable table;
    {
        QFile head(path);
        if (head.open(QIODevice::ReadOnly) && head.read(4) == QByteArray("\xD0\xCF\x11\xE0", 4)) {
            // A protected workbook is a compound file holding the encrypted zip; so is an
            // old .xls.
            table.refusal = SheetText::oldFormat();
            return table;
        }
    }
    Archive archive(path);
    if (!archive.open()) {
        table.refusal = archive.refusal;
        return table;
    }
    auto fail = [&](const QString& why) {
        table = {};
        table.refusal = why.isEmpty() ? SheetText::notAWorkbook() : why;
        return table;
    };

    // The sheets, by name, and where each is.
    if (!archive.has(QStringLiteral("xl/workbook.xml")))
        return fail(archive.has(QStringLiteral("content.xml")) ||
                            archive.has(QStringLiteral("xl/workbook.bin"))
                        ? SheetText::otherFormat()
                        : SheetText::notAWorkbook());
    const auto workbook = archive.read(QStringLiteral("xl/workbook.xml"));
    const auto rels = archive.read(QStringLiteral("xl/_rels/workbook.xml.rels"));
    if (!workbook || !rels)
        return fail(archive.refusal);
    QHash<QString, QString> targets;
    {
        QXmlStreamReader xml(*rels);
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement &&
                xml.name() == QLatin1String("Relationship"))
                targets.insert(xml.attributes().value(QLatin1String("Id")).toString(),
                               xml.attributes().value(QLatin1String("Target")).toString());
        }
    }
    bool date1904 = false;
    QString sheetPart;
    {
        QXmlStreamReader xml(*workbook);
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("workbookPr")) {
                const auto v = xml.attributes().value(QLatin1String("date1904"));
                date1904 = v == QLatin1String("1") || v == QLatin1String("true");
            } else if (xml.name() == QLatin1String("sheet")) {
                const QString name = xml.attributes().value(QLatin1String("name")).toString();
                QString id;
                for (const QXmlStreamAttribute& a : xml.attributes()) {
                    if (a.name() == QLatin1String("id"))
                        id = a.value().toString();
                }
                table.sheets << name;
                // Excel tells sheets apart without case.
                if (sheetPart.isEmpty() &&
                    (wanted.isEmpty() || name.compare(wanted, Qt::CaseInsensitive) == 0)) {
                    table.sheet = name;
                    sheetPart = resolvedTarget(targets.value(id));
                }
            }
        }
        if (xml.hasError())
            return fail({});
    }
    if (table.sheets.isEmpty())
        return fail(SheetText::noSheets());
    if (sheetPart.isEmpty() && !wanted.isEmpty())
        return fail(SheetText::noSheet(wanted));

    // The shared strings and the number formats, where the workbook has them.
    QStringList shared;
    if (archive.has(QStringLiteral("xl/sharedStrings.xml"))) {
        const auto bytes = archive.read(QStringLiteral("xl/sharedStrings.xml"));
        if (!bytes)
            return fail(archive.refusal);
        QXmlStreamReader xml(*bytes);
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement &&
                xml.name() == QLatin1String("si"))
                shared << itemText(xml, u"si");
        }
        if (xml.hasError())
            return fail({});
    }
    QList<std::pair<int, QString>> styles; // per cell style: its format's number and code
    if (archive.has(QStringLiteral("xl/styles.xml"))) {
        const auto bytes = archive.read(QStringLiteral("xl/styles.xml"));
        if (!bytes)
            return fail(archive.refusal);
        QHash<int, QString> codes;
        QXmlStreamReader xml(*bytes);
        bool inCellXfs = false;
        while (!xml.atEnd()) {
            const auto token = xml.readNext();
            if (token == QXmlStreamReader::StartElement) {
                if (xml.name() == QLatin1String("numFmt"))
                    codes.insert(xml.attributes().value(QLatin1String("numFmtId")).toInt(),
                                 xml.attributes().value(QLatin1String("formatCode")).toString());
                else if (xml.name() == QLatin1String("cellXfs"))
                    inCellXfs = true;
                else if (inCellXfs && xml.name() == QLatin1String("xf")) {
                    const int id = xml.attributes().value(QLatin1String("numFmtId")).toInt();
                    styles.append({id, codes.value(id)});
                }
            } else if (token == QXmlStreamReader::EndElement &&
                       xml.name() == QLatin1String("cellXfs")) {
                inCellXfs = false;
            }
        }
        if (xml.hasError())
            return fail({});
    }

    const auto sheetBytes = archive.read(sheetPart);
    if (!sheetBytes)
        return fail(archive.refusal);
    QXmlStreamReader xml(*sheetBytes);
    QStringList row;
    qint64 rowNumber = 0;
    qint64 nextRow = 1;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("row")) {
            while (!row.isEmpty() && row.last().isEmpty())
                row.removeLast();
            if (!row.isEmpty()) {
                if (table.rows.size() >= WorkbookBound::Rows)
                    return fail(SheetText::tooManyRows());
                table.rows << row;
                table.rowNumbers << rowNumber;
            }
            row.clear();
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("row")) {
            bool ok = false;
            rowNumber = xml.attributes().value(QLatin1String("r")).toLongLong(&ok);
            if (!ok)
                rowNumber = nextRow;
            nextRow = rowNumber + 1;
            continue;
        }
        if (xml.name() != QLatin1String("c"))
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        const QStringView ref = a.value(QLatin1String("r"));
        int column = ref.isEmpty() ? int(row.size()) : columnOf(ref);
        if (column < 0)
            return fail({});
        const QStringView type = a.value(QLatin1String("t"));
        const int style = a.value(QLatin1String("s")).toInt();
        QString value;
        bool hasValue = false;
        bool formula = false;
        QString inline_;
        while (!xml.atEnd()) {
            const auto t = xml.readNext();
            if (t == QXmlStreamReader::StartElement) {
                if (xml.name() == QLatin1String("v")) {
                    value = xml.readElementText();
                    hasValue = true;
                } else if (xml.name() == QLatin1String("f")) {
                    formula = true;
                    xml.skipCurrentElement();
                } else if (xml.name() == QLatin1String("is")) {
                    inline_ = itemText(xml, u"is");
                    hasValue = true;
                }
            } else if (t == QXmlStreamReader::EndElement && xml.name() == QLatin1String("c")) {
                break;
            }
        }
        const int shownColumn = column + 1;
        QString text;
        if (formula && (!hasValue || (value.isEmpty() && type != QLatin1String("str"))))
            return fail(SheetText::noCachedValue(rowNumber, shownColumn));
        if (!hasValue) {
            text.clear();
        } else if (type == QLatin1String("s")) {
            bool ok = false;
            const int index = value.toInt(&ok);
            if (!ok || index < 0 || index >= shared.size())
                return fail({});
            text = shared.at(index);
        } else if (type == QLatin1String("inlineStr")) {
            text = inline_;
        } else if (type == QLatin1String("str")) {
            text = value;
        } else if (type == QLatin1String("b")) {
            text = value == QLatin1String("1") ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        } else if (type == QLatin1String("e")) {
            return fail(SheetText::errorValue(rowNumber, shownColumn, value));
        } else if (type == QLatin1String("d")) {
            text = value.left(10);
        } else {
            bool ok = false;
            const double number = value.toDouble(&ok);
            if (!ok)
                return fail({});
            const auto& format = styles.value(style);
            text = formatCellNumber(number, format.first, format.second, date1904);
        }
        while (row.size() < column)
            row << QString();
        if (row.size() == column)
            row << text;
        else
            row[column] = text;
    }
    if (xml.hasError())
        return fail({});
    return table;
}
