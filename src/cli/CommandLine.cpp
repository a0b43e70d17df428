#include "CommandLine.h"

#include "ArgumentParser.h"
#include "ListCommands.h"
#include "SeriesCommands.h"
#include "TerminalText.h"
#include "UndoCommand.h"

#include "Version.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include "i18n/Language.h"
#include "run/StopRequest.h"

#include <cstdio>

#ifdef Q_OS_UNIX
#include <csignal>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <io.h>
#include <windows.h>
#endif

namespace
{

#ifdef Q_OS_UNIX
void onStopSignal(int signal)
{
    StopRequest::request(signal);
}
#elif defined(Q_OS_WIN)
BOOL WINAPI onConsoleEvent(DWORD event)
{
    StopRequest::request(event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? StopRequest::Interrupt
                                                                            : StopRequest::Hangup);
    // Ctrl+C: the run stops at its next folder; closing the console gives a few seconds.
    return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
}
#endif

#ifdef Q_OS_WIN
// Standard input through ReadFile: the end of a pipe is ERROR_BROKEN_PIPE there, which QFile
// takes for a failure (`type list.txt | NMaker.exe list-create -`).
class StandardInput : public QIODevice
{
protected:
    qint64 readData(char* data, qint64 size) override
    {
        DWORD got = 0;
        if (::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), data, DWORD(qMin<qint64>(size, 1 << 30)),
                       &got, nullptr))
            return qint64(got);
        const DWORD error = ::GetLastError();
        return error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF ? 0 : -1;
    }
    qint64 writeData(const char*, qint64) override { return -1; }
    bool isSequential() const override { return true; }
};
#endif

// A run asked to stop ends at its next folder with its record whole, rather than dying with
// the last few lines of it unwritten. A second Ctrl+C ends the program at once.
void catchStopSignals()
{
#ifdef Q_OS_UNIX
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        struct sigaction action = {};
        action.sa_handler = onStopSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = signal == SIGINT ? SA_RESETHAND : 0;
        ::sigaction(signal, &action, nullptr);
    }
#elif defined(Q_OS_WIN)
    ::SetConsoleCtrlHandler(onConsoleEvent, TRUE);
#endif
}

} // namespace

int runCommand(const QStringList& args, const TerminalStreams& streams,
               const CommandEnvironment& environment)
{
    const ParsedArguments parsed = parseCommandLine(args);
    if (!parsed.arguments) {
        ErrorOutput err(streams.err, streams.errIsTerminal);
        QString text = QStringLiteral("nmaker: ") + parsed.error;
        if (parsed.usageError)
            text += QCoreApplication::translate("CommandLine", " (使い方: nmaker --help)");
        err.line(text);
        return ExitStatus::BadArguments;
    }
    const CommandArguments& a = *parsed.arguments;
    switch (a.command) {
    case Command::Help:
    case Command::Version: {
        LineOutput out(streams.out);
        ErrorOutput err(streams.err, streams.errIsTerminal);
        out.line(a.command == Command::Help ? lines(usageText())
                                            : QStringLiteral("NMaker " NMAKER_VERSION_STRING));
        return outputStatus(out, err);
    }
    case Command::Create:
    case Command::Delete:
        return runSeries(a, streams);
    case Command::ListCreate:
    case Command::ListDelete:
        return runList(a, streams, environment);
    case Command::Expand:
        return runExpand(a, streams, environment);
    case Command::Undo:
        return runUndo(a, streams);
    }
    return ExitStatus::BadArguments;
}

int runCommandLineMain(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("nmaker"));
    QCoreApplication::setApplicationVersion(QStringLiteral(NMAKER_VERSION_STRING));

    QFile out;
    QFile err;
#ifdef Q_OS_WIN
    StandardInput in;
#else
    QFile in;
#endif
    out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
#ifdef Q_OS_WIN
    in.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
#else
    in.open(stdin, QIODevice::ReadOnly | QIODevice::Unbuffered);
#endif
#ifdef Q_OS_WIN
    const bool terminal = ::_isatty(2) != 0;
#else
    const bool terminal = ::isatty(2) == 1;
#endif
    const TerminalStreams streams{out, err, terminal, &in};
    catchStopSignals();

    // The language first, so that every message, the first one too, is in it.
    QStringList named = QCoreApplication::arguments().mid(1);
    const LanguageArgument language = takeLanguageArgument(named);
    installLanguage(chooseLanguage(language, qEnvironmentVariable("NMAKER_LANG")));
    if (language.given && !language.language) {
        ErrorOutput(err, terminal).line(QStringLiteral("nmaker: ") + badLanguageText(language.bad));
        return ExitStatus::BadArguments;
    }

#ifdef Q_OS_WIN
    // The command line as typed, from the wide one (GetCommandLineW): argv holds the ANSI code
    // page's best fit of it, in which "café" is "cafe" and a Korean name is "???".
    QStringList args = QCoreApplication::arguments().mid(1);
#else
    // Straight from argv, and only what reads back as the same bytes: a name that is no text
    // in the file-name encoding would otherwise turn into another name.
    QStringList args;
    for (int i = 1; i < argc; ++i) {
        const QByteArray bytes(argv[i]);
        const QString text = QFile::decodeName(bytes);
        if (QFile::encodeName(text) != bytes) {
            ErrorOutput(err, terminal)
                .line(QCoreApplication::translate(
                          "CommandLine",
                          "nmaker: 引数を文字として読めません (UTF-8 ではありません): ") +
                      terminalBytes(bytes));
            return ExitStatus::BadArguments;
        }
        args << text;
    }
#endif
    takeLanguageArgument(args);
    const CommandEnvironment environment{
        withSeparator(QCoreApplication::applicationDirPath()),
        QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName(),
        QDate::currentDate()};
    const int status = runCommand(args, streams, environment);
    out.flush();
    err.flush();
    return status;
}
