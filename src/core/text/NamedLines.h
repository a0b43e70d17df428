#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// How many more lines a report leaves out: "ほか N 行".
inline QString moreLinesText(qsizetype count)
{
    return QCoreApplication::translate("NamedLines", "ほか %1 行").arg(count);
}

// Lines a message names, bounded: the first `limit` kept, the rest only counted.
class NamedLines
{
public:
    explicit NamedLines(qsizetype limit) : m_limit(limit) {}

    void add(const QString& line)
    {
        if (m_first.size() < m_limit)
            m_first << line;
        ++m_total;
    }
    bool isEmpty() const { return m_total == 0; }
    qsizetype total() const { return m_total; }
    const QStringList& first() const { return m_first; }

    // Each line followed by CR LF, then the count of the rest, as a message insert; `shown`
    // gives each line as it is to appear.
    template <class Shown> QString text(Shown&& shown) const
    {
        QString out;
        for (const QString& line : m_first)
            out += shown(line) + QLatin1String("\r\n");
        if (m_total > m_first.size())
            out += moreLinesText(m_total - m_first.size()) + QLatin1String("\r\n");
        return out;
    }
    QString text() const
    {
        return text([](const QString& line) { return line; });
    }

private:
    qsizetype m_limit;
    QStringList m_first;
    qsizetype m_total = 0;
};
