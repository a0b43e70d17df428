#pragma once

#include "TerminalOutput.h"

#include "run/FolderOutcome.h"

#include <QList>
#include <QString>
#include <utility>

// Output for scripts: one JSON object per line on stdout (JSON Lines). Every object names its
// "type": "folder" for an outcome of a run, "planned" for a folder a dry run would touch,
// "entry" for an expanded entry, and one "summary" last.

// The text as a JSON string, quotes included. Control characters are escaped; a lone surrogate
// (a name that is no Unicode text) is written as its \u escape, never as a replacement
// character.
QString jsonString(QStringView text);

// Whether the name needs its bytes beside it: its text does not say which bytes it is.
bool needsNameBytes(QStringView name);

// {"type": …, "path": …, …}: the path, and "path_bytes" (base64) where its text is no Unicode.
QString jsonPathObject(const char* type, const QString& path, qint64 line,
                       const QList<std::pair<const char*, QString>>& more = {});

// Writes a folder object for every outcome of a run.
class JsonFolderLines : public FolderListener
{
public:
    explicit JsonFolderLines(LineOutput& out) : m_out(out) {}
    void folderDone(const FolderEvent& event) override;

private:
    LineOutput& m_out;
};

// {"type": "summary", "command": …, counts…, "exit": N}
QString jsonSummary(const char* command, const QList<std::pair<const char*, qint64>>& counts,
                    int exit, bool dryRun = false);
