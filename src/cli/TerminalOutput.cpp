#include "TerminalOutput.h"

#include "JsonLines.h"
#include "fileops/HostPath.h"

#include <cstring>

#include "TerminalText.h"

QString oneLine(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

QString lines(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    while (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

LineOutput::LineOutput(QIODevice& device, bool nul)
    : m_device(device), m_buffer(Capacity, Qt::Uninitialized), m_nul(nul)
{
}

LineOutput::~LineOutput()
{
    flush();
}

void LineOutput::path(const QString& text)
{
    // A name that is no text goes out as the bytes it stands for.
    if (m_nul && needsNameBytes(text)) {
        appendBytes(nameBytes(text), '\0');
        return;
    }
    if (m_nul)
        append(text, '\0');
    else
        append(terminalName(text), '\n');
}

void LineOutput::line(QStringView text)
{
    append(text, '\n');
}

void LineOutput::append(QStringView text, char end)
{
    const qsizetype need = m_encoder.requiredSpace(text.size()) + 1;
    if (m_used + need > m_buffer.size()) {
        flush();
        if (need > m_buffer.size())
            m_buffer.resize(need);
    }
    char* last = m_encoder.appendToBuffer(m_buffer.data() + m_used, text);
    *last++ = end;
    m_used = last - m_buffer.data();
}

void LineOutput::appendBytes(const QByteArray& bytes, char end)
{
    const qsizetype need = bytes.size() + 1;
    if (m_used + need > m_buffer.size()) {
        flush();
        if (need > m_buffer.size())
            m_buffer.resize(need);
    }
    std::memcpy(m_buffer.data() + m_used, bytes.constData(), size_t(bytes.size()));
    m_used += bytes.size();
    m_buffer[m_used++] = end;
}

bool LineOutput::flush()
{
    if (m_used > 0 && m_device.write(m_buffer.constData(), m_used) != m_used)
        m_ok = false;
    m_used = 0;
    return m_ok;
}

void ErrorOutput::line(const QString& text)
{
    clearProgress();
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        if (c != QLatin1Char('\n') && isControlCharacter(c.unicode()))
            shown += terminalName(QString(c)).mid(2).chopped(1);
        else
            shown += c;
    }
    write(shown + QLatin1Char('\n'));
}

void ErrorOutput::progress(const QString& label, qint64 done, qint64 total)
{
    if (!m_terminal || m_quiet || (m_timer.isValid() && m_timer.elapsed() < 250))
        return;
    m_timer.start();
    write(QStringLiteral("\r%1 %2/%3\x1b[K").arg(label).arg(done).arg(total));
    m_shown = true;
}

void ErrorOutput::clearProgress()
{
    if (!m_shown)
        return;
    write(QStringLiteral("\r\x1b[K"));
    m_shown = false;
    m_timer.invalidate();
}

void ErrorOutput::write(const QString& text)
{
    m_device.write(text.toUtf8());
}
