#pragma once

#include "fileops/FileSystem.h"
#include "run/CreationRecord.h"
#include "run/FolderOutcome.h"
#include "run/JournalFile.h"

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

struct JournalVersion1;

// A log of the runs, kept on disk so that the newest creation or deletion can be taken back
// after a restart, from a terminal, and after a run that died: a run writes its header before
// its first change and a line per folder as it goes (a few dozen at a time), an undo appends
// what it took off the record; nothing is ever rewritten but the file's first line, which
// numbers the runs. The newest header is the newest run, finished or not. When the file has
// grown past a bound, what is no longer needed is dropped by writing the rest anew, all at
// once. One process at a time writes, under the lock beside the file.
//
// Every line carries a checksum: a line that was cut short or damaged costs that line, not the
// journal. It guards against damage, not against the user, whose file it is; and what any line
// names is checked again on disk before anything moves.
class RunJournal
{
public:
    // An empty path keeps the journal in memory only.
    explicit RunJournal(QString path = {});
    ~RunJournal();
    RunJournal(const RunJournal&) = delete;
    RunJournal& operator=(const RunJournal&) = delete;

    // $XDG_STATE_HOME/NMaker/journal (~/.local/state/NMaker/journal); on Windows under the
    // local application data folder; empty when neither can be found.
    static QString defaultPath();
    // Why defaultPath() is empty, as the user reads it.
    static QString defaultPathProblem();

    const QString& path() const { return m_path; }
    // Uses the file at `path` from now on; it is read when something is asked of it.
    void setPath(QString path);

    enum class State {
        None, // no file (yet), or memory only
        Read, // the file was read
        Bad   // the file is no journal of ours: it was not used
    };
    State state();
    QString problem(); // for Bad: why, as the user reads it

    // Reads what was appended since the last look (by any process), all of it when the file
    // was replaced meanwhile.
    void refresh();

    struct RunInfo {
        quint64 number = 0; // 0: none on record
        QDateTime began;
        qint64 pid = 0;
        bool finished = false; // its end is on record
        bool running = false;  // unfinished, and the process that runs it is still there
        bool interrupted() const { return number != 0 && !finished && !running; }
    };
    // The last create run and the last delete run on record, with what is left of them.
    const RunInfo& creationRun();
    const RunInfo& deletionRun();
    const CreationRecord& creation();
    const QList<TrashPlace>& deletion();
    // Items of the last deletion that went where no record can take them back from.
    qsizetype deletionBeyondReach();
    quint64 creationNumber() { return creationRun().number; }
    quint64 deletionNumber() { return deletionRun().number; }
    // The newest run began but its record could not: no older run may stand in for it.
    bool newestUnrecorded();

    // A create or delete run begins: its header goes on record at once, before its first
    // change. False when it could not; the run goes on unrecorded, and older runs are no
    // longer taken for the newest.
    bool beginRun(RunKind kind);
    bool inRun() const { return m_run.active; }
    // What the run that began did, as it happens.
    void recordMade(const MadeFolder& folder);
    // The folder made last got a template's copy: what it held after it.
    void recordCopy(const QString& path, qint64 entries, const QByteArray& digest);
    void recordTrashed(const TrashPlace& place, const QString& original);
    // The run ends: its end goes on record, and the file is compacted when it has grown past
    // its bound.
    void endRun();

    // An undo took these off the record of the last creation or deletion (taken back, gone,
    // or another's now).
    void recordTakenBack(quint64 run, const QString& path);
    void recordRestored(quint64 run, const TrashPlace& place);

    // Writes what is waiting; the journal does it by itself every few dozen lines.
    void flush();

    // How the record of the current or last run fared.
    enum class Record {
        Whole,   // every line of it is on disk
        Partial, // its header and some lines, but not all
        None     // not even its header
    };
    Record runRecord() const { return m_run.record; }

    // A line as the journal writes it: the fields, their checksum and the line end.
    static QByteArray sealed(QByteArrayView fields);

    // A journal larger than this is none of ours; a line that would make it larger is not
    // written.
    static constexpr qint64 MaxBytes = 256LL * 1024 * 1024;
    // Dropped lines worth a rewrite: at least this much, and a third of the file.
    static constexpr qint64 CompactAfter = 1024 * 1024;
    // Waiting lines are written after this many, or this many milliseconds.
    static constexpr int BatchLines = 128;
    static constexpr int BatchMs = 20;

private:
    struct Head {
        quint64 next = 1;
        quint64 generation = 0;
        qint64 creationAt = 0; // where the last creation's header begins, 0 for none
        qint64 deletionAt = 0;
    };
    static QByteArray headLine(const Head& head);
    static bool parseHead(const QByteArray& bytes, Head& head);
    qint64 startOf(const Head& head) const;

    JournalFile::Snapshot fetch(qint64 from) const;
    void ensureRead();
    void resetModel();
    void setBad(const QString& why);
    qsizetype parseLines(const char* data, qsizetype size);
    void applyLine(const char* line, qsizetype size);
    void applyForgets();
    void settleRuns();
    bool loadVersion1(const QByteArray& bytes);
    static QByteArray version1Lines(const JournalVersion1& old, Head& head);
    static void appendTrashed(QByteArray& out, quint64 run,
                              QList<std::pair<QByteArray, QByteArray>>& trashes,
                              const TrashPlace& place);

    JournalFile::Status storeAppend(const QByteArray& bytes, qint64* at);
    JournalFile::Status storeHead(const QByteArray& bytes);
    JournalFile::Status storeNew(const QByteArray& bytes, bool replacing);
    void queued();
    void compact();
    void markUnrecorded(qint64 when, bool discardOlder);

    QString m_path;
    JournalFile::Lock m_lock;
    JournalFile::Appender m_appender;
    QByteArray m_memory; // the journal's bytes when there is no file

    // What was read.
    bool m_loaded = false;
    bool m_dirty = false; // this process wrote since it last read
    State m_state = State::None;
    QString m_problem;
    Head m_head;
    qint64 m_consumed = 0; // every byte before this is read
    bool m_version1 = false;
    RunInfo m_creationRun;
    RunInfo m_deletionRun;
    qint64 m_creationToken = -1;
    qint64 m_deletionToken = -1;
    CreationRecord m_made;
    QList<TrashPlace> m_trashed;
    QHash<quint64, std::pair<QByteArray, QByteArray>> m_trashes; // of the last deletion
    qsizetype m_beyondReach = 0;
    QSet<QString> m_madeOff;
    QSet<QByteArray> m_trashedOff;

    // What this process writes.
    struct Run {
        bool active = false;
        RunKind kind = RunKind::Create;
        quint64 number = 0;
        bool begun = false; // its header is on record
        Record record = Record::Whole;
        QList<std::pair<QByteArray, QByteArray>> trashes;
    };
    Run m_run;
    QByteArray m_pending;
    int m_pendingLines = 0;
    QElapsedTimer m_pendingSince;
    // A run of this process could not be recorded at all, at this time (ms since the epoch):
    // older runs are not the newest, whatever the disk still says.
    qint64 m_unrecordedAt = -1;
};
