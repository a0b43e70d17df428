#pragma once

#include <QElapsedTimer>
#include <QIODevice>
#include <QString>
#include <QStringEncoder>

// Where a command writes: its output (paths, help) and its messages (failures, the summary,
// progress). The streams are given, so that a command runs just as well onto buffers.
struct TerminalStreams {
    QIODevice& out;
    QIODevice& err;
    bool errIsTerminal = false; // progress is shown on a terminal only
    QIODevice* in = nullptr;    // a list given as "-" is read from here
};

// A box's text as one line of a terminal, and a box's text that lists lines as lines.
QString oneLine(QString text);
QString lines(QString text);

// The output: UTF-8, through one buffer, since a dry run or an expansion writes up to a million
// paths. With `nul` each path goes as it is, ended by NUL; else one per line, quoted where it
// holds a control character.
class LineOutput
{
public:
    LineOutput(QIODevice& device, bool nul = false);
    ~LineOutput();
    LineOutput(const LineOutput&) = delete;
    LineOutput& operator=(const LineOutput&) = delete;

    void path(const QString& text);
    // Text of ours, with line ends of its own.
    void line(QStringView text);
    // False once a write failed.
    bool flush();

private:
    void append(QStringView text, char end);
    void appendBytes(const QByteArray& bytes, char end);

    static constexpr qsizetype Capacity = 64 * 1024;
    QIODevice& m_device;
    QStringEncoder m_encoder{QStringConverter::Utf8};
    QByteArray m_buffer;
    qsizetype m_used = 0;
    bool m_ok = true;
    bool m_nul = false;
};

// The messages: each line written at once; on a terminal also a progress line, which the next
// line replaces.
class ErrorOutput
{
public:
    ErrorOutput(QIODevice& device, bool terminal) : m_device(device), m_terminal(terminal) {}

    // Names in `text` come quoted already; any other control character is shown, not sent.
    void line(const QString& text);
    // At most four times a second, and only on a terminal; never when quiet.
    void progress(const QString& label, qint64 done, qint64 total);
    void setQuiet(bool quiet) { m_quiet = quiet; }
    bool quiet() const { return m_quiet; }
    void clearProgress();

private:
    void write(const QString& text);

    QIODevice& m_device;
    bool m_terminal;
    bool m_quiet = false;
    bool m_shown = false;
    QElapsedTimer m_timer;
};
