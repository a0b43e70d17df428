#include "JsonLines.h"

#include "TerminalText.h"

#include "fileops/HostPath.h"
#include "run/RunReport.h"

#include <QFile>

namespace
{

bool plainInJson(char16_t u)
{
    return u >= 0x20 && u != u'"' && u != u'\\' && u < 0x7F;
}

void appendEscape(QString& out, char16_t u)
{
    static const char hex[] = "0123456789abcdef";
    const char16_t escape[6] = {u'\\',
                                u'u',
                                char16_t(hex[(u >> 12) & 15]),
                                char16_t(hex[(u >> 8) & 15]),
                                char16_t(hex[(u >> 4) & 15]),
                                char16_t(hex[u & 15])};
    out.append(reinterpret_cast<const QChar*>(escape), 6);
}

// The text as a JSON string, appended; a run of plain characters goes in one piece.
void appendJsonString(QString& out, QStringView text)
{
    out += QLatin1Char('"');
    qsizetype plainFrom = 0;
    auto flush = [&](qsizetype upTo) {
        if (upTo > plainFrom)
            out += text.mid(plainFrom, upTo - plainFrom);
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (plainInJson(u))
            continue;
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            const QChar low = text.at(i + 1);
            if (isControlCharacter(QChar::surrogateToUcs4(c, low))) {
                flush(i);
                appendEscape(out, u);
                appendEscape(out, low.unicode());
                plainFrom = i + 2;
            }
            ++i;
            continue;
        }
        // What would act on a terminal, and the lone halves of a pair, are escaped: every
        // byte written is UTF-8, no line of output is ever split and nothing reaches a
        // terminal as a command.
        const char* shortForm = u == u'"'    ? "\\\""
                                : u == u'\\' ? "\\\\"
                                : u == u'\n' ? "\\n"
                                : u == u'\r' ? "\\r"
                                : u == u'\t' ? "\\t"
                                             : nullptr;
        if (!shortForm && !c.isSurrogate() && !isControlCharacter(u))
            continue;
        flush(i);
        if (shortForm)
            out += QLatin1String(shortForm);
        else
            appendEscape(out, u);
        plainFrom = i + 1;
    }
    flush(text.size());
    out += QLatin1Char('"');
}

} // namespace

QString jsonString(QStringView text)
{
    QString out;
    out.reserve(text.size() + 2);
    appendJsonString(out, text);
    return out;
}

bool needsNameBytes(QStringView name)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c.isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate())
            return true;
    }
    return false;
}

namespace
{

// {"type": …, "path": …[, "path_bytes": …], …more, "line": …}: built in one string, since a
// run writes one for each of up to a million folders.
QString pathObject(const char* type, const QString& path, qint64 line, QStringView more)
{
    QString text;
    text.reserve(path.size() + more.size() + 64);
    text += QLatin1String("{\"type\": \"");
    text += QLatin1String(type);
    text += QLatin1String("\", \"path\": ");
    appendJsonString(text, path);
    if (needsNameBytes(path)) {
        text += QLatin1String(", \"path_bytes\": \"");
        text += QLatin1String(nameBytes(path).toBase64());
        text += QLatin1Char('"');
    }
    text += more;
    text += QLatin1String(", \"line\": ");
    if (line >= 0)
        text += QString::number(line);
    else
        text += QLatin1String("null");
    text += QLatin1Char('}');
    return text;
}

} // namespace

QString jsonPathObject(const char* type, const QString& path, qint64 line,
                       const QList<std::pair<const char*, QString>>& more)
{
    QString extra;
    for (const auto& [key, value] : more) {
        extra += QLatin1String(", \"");
        extra += QLatin1String(key);
        extra += QLatin1String("\": ");
        extra += value;
    }
    return pathObject(type, path, line, extra);
}

void JsonFolderLines::folderDone(const FolderEvent& event)
{
    QString more;
    more.reserve(event.reason.size() + 48);
    more += QLatin1String(", \"outcome\": \"");
    more += QLatin1String(outcomeName(event.outcome));
    more += QLatin1String("\", \"reason\": ");
    if (event.reason.isEmpty())
        more += QLatin1String("null");
    else
        appendJsonString(more, event.reason);
    // Beside the text a person reads, what a script can rely on.
    if (event.reasonCode) {
        more += QLatin1String(", \"reason_code\": \"");
        more += QLatin1String(event.reasonCode);
        more += QLatin1Char('"');
    }
    if (event.target)
        more += QLatin1String(", \"target\": true");
    if (event.copy) {
        const TreeCopyResult& copy = *event.copy;
        more += QStringLiteral(", \"copied_folders\": %1, \"copied_files\": %2, \"not_copied\": [")
                    .arg(copy.folders)
                    .arg(copy.files);
        for (qsizetype i = 0; i < copy.notCopied.size(); ++i) {
            const NotCopied& n = copy.notCopied.at(i);
            more += QLatin1String(i ? ", {\"path\": " : "{\"path\": ");
            appendJsonString(more, n.path);
            more += QLatin1String(", \"reason\": ");
            appendJsonString(more, n.why.text);
            if (n.why.code) {
                more += QLatin1String(", \"reason_code\": \"");
                more += QLatin1String(n.why.code);
                more += QLatin1Char('"');
            }
            more += QLatin1Char('}');
        }
        more += QLatin1Char(']');
    }
    m_out.line(pathObject("folder", event.path, event.line, more));
}

QString jsonSummary(const char* command, const QList<std::pair<const char*, qint64>>& counts,
                    int exit, bool dryRun)
{
    QString text =
        QStringLiteral("{\"type\": \"summary\", \"command\": \"%1\"").arg(QLatin1String(command));
    if (dryRun)
        text += QStringLiteral(", \"dry_run\": true");
    for (const auto& [key, count] : counts)
        text += QStringLiteral(", \"%1\": %2").arg(QLatin1String(key)).arg(count);
    return text + QStringLiteral(", \"exit\": %1}").arg(exit);
}
