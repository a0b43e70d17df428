#include "TerminalText.h"

#include <QList>

namespace
{

QString hex(uint value, int width)
{
    return QString::number(value, 16).toUpper().rightJustified(width, QLatin1Char('0'));
}

void appendEscape(QString& out, char32_t c)
{
    switch (c) {
    case '\a':
        out += QLatin1String("\\a");
        return;
    case '\b':
        out += QLatin1String("\\b");
        return;
    case '\t':
        out += QLatin1String("\\t");
        return;
    case '\n':
        out += QLatin1String("\\n");
        return;
    case '\v':
        out += QLatin1String("\\v");
        return;
    case '\f':
        out += QLatin1String("\\f");
        return;
    case '\r':
        out += QLatin1String("\\r");
        return;
    case 0x1B:
        out += QLatin1String("\\E");
        return;
    default:
        break;
    }
    out += c < 0x80 ? QString(QLatin1String("\\x") + hex(c, 2))
                    : QString(QLatin1String("\\u") + hex(c, 4));
}

} // namespace

bool isControlCharacter(char32_t c)
{
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F) || c == 0x2028 || c == 0x2029 ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E ||
           c == 0x200F || c == 0x061C;
}

QString terminalName(const QString& name)
{
    // The code points as they stand, a lone surrogate too: a byte of a name that is no text
    // stands as one of U+DC80..U+DCFF (nameOfBytes).
    QList<char32_t> points;
    points.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c.isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            points << QChar::surrogateToUcs4(c, name.at(i + 1));
            ++i;
        } else {
            points << c.unicode();
        }
    }
    auto byteOfName = [](char32_t c) { return c >= 0xDC80 && c <= 0xDCFF; };
    bool plain = true;
    for (const char32_t c : points) {
        if (isControlCharacter(c) || byteOfName(c)) {
            plain = false;
            break;
        }
    }
    if (plain)
        return name;
    QString out = QStringLiteral("$'");
    for (const char32_t c : points) {
        if (c == '\\' || c == '\'') {
            out += QLatin1Char('\\');
            out += QChar(c);
        } else if (byteOfName(c)) {
            out += QStringLiteral("\\x%1").arg(uint(c & 0xFF), 2, 16, QLatin1Char('0'));
        } else if (isControlCharacter(c)) {
            appendEscape(out, c);
        } else {
            out += QString::fromUcs4(&c, 1);
        }
    }
    return out + QLatin1Char('\'');
}

QString terminalBytes(const QByteArray& bytes)
{
    QString out = QStringLiteral("$'");
    for (const char b : bytes) {
        const auto u = uchar(b);
        if (u >= 0x20 && u < 0x7F && b != '\\' && b != '\'')
            out += QLatin1Char(b);
        else
            out += QLatin1String("\\x") + hex(u, 2);
    }
    return out + QLatin1Char('\'');
}
