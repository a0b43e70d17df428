#include "JsonLines.h"

#include "TerminalText.h"

#include "run/RunReport.h"

#include <QFile>

QString jsonString(QStringView text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            const QChar low = text.at(++i);
            if (isControlCharacter(QChar::surrogateToUcs4(c, low)))
                out += QStringLiteral("\\u%1\\u%2")
                           .arg(uint(u), 4, 16, QLatin1Char('0'))
                           .arg(uint(low.unicode()), 4, 16, QLatin1Char('0'));
            else
                out += QStringView(text).mid(i - 1, 2);
            continue;
        }
        switch (u) {
        case u'"':
            out += QLatin1String("\\\"");
            continue;
        case u'\\':
            out += QLatin1String("\\\\");
            continue;
        case u'\n':
            out += QLatin1String("\\n");
            continue;
        case u'\r':
            out += QLatin1String("\\r");
            continue;
        case u'\t':
            out += QLatin1String("\\t");
            continue;
        default:
            break;
        }
        // What would act on a terminal, and the lone halves of a pair: escaped, so every byte
        // written is UTF-8, no line of output is ever split and nothing reaches a terminal as a
        // command.
        if (c.isSurrogate() || isControlCharacter(u))
            out += QStringLiteral("\\u%1").arg(uint(u), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    out += QLatin1Char('"');
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

QString jsonPathObject(const char* type, const QString& path, qint64 line,
                       const QList<std::pair<const char*, QString>>& more)
{
    QString text = QStringLiteral("{\"type\": \"%1\", \"path\": ").arg(QLatin1String(type)) +
                   jsonString(path);
    if (needsNameBytes(path))
        text += QStringLiteral(", \"path_bytes\": \"") +
                QString::fromLatin1(QFile::encodeName(path).toBase64()) + QLatin1Char('"');
    for (const auto& [key, value] : more)
        text += QStringLiteral(", \"%1\": ").arg(QLatin1String(key)) + value;
    text += QStringLiteral(", \"line\": ") +
            (line >= 0 ? QString::number(line) : QStringLiteral("null")) + QLatin1Char('}');
    return text;
}

void JsonFolderLines::folderDone(const FolderEvent& event)
{
    QList<std::pair<const char*, QString>> more{
        {"outcome", QLatin1Char('"') + QLatin1String(outcomeName(event.outcome)) + QLatin1Char('"')},
        {"reason", event.reason.isEmpty() ? QStringLiteral("null") : jsonString(event.reason)}};
    if (event.target)
        more.append({"target", QStringLiteral("true")});
    m_out.line(jsonPathObject("folder", event.path, event.line, more));
}

QString jsonSummary(const char* command, const QList<std::pair<const char*, qint64>>& counts,
                    int exit, bool dryRun)
{
    QString text = QStringLiteral("{\"type\": \"summary\", \"command\": \"%1\"")
                       .arg(QLatin1String(command));
    if (dryRun)
        text += QStringLiteral(", \"dry_run\": true");
    for (const auto& [key, count] : counts)
        text += QStringLiteral(", \"%1\": %2").arg(QLatin1String(key)).arg(count);
    return text + QStringLiteral(", \"exit\": %1}").arg(exit);
}
