#pragma once

#include "fileops/FileSystem.h"
#include "run/CreationRecord.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// What the last create run and the last delete run did, kept on disk so that either can be
// taken back after a restart and from a terminal: for a creation the folders it made, for a
// deletion where each item went in the trash. Written whole and atomically; read whole and
// only when it is a complete journal of ours. Even then it is only a pointer: whatever it
// names is checked again on disk before anything moves.
class RunJournal
{
public:
    // An empty path keeps the journal in memory only.
    explicit RunJournal(QString path = {});

    // $XDG_STATE_HOME/NMaker/journal (~/.local/state/NMaker/journal); on Windows under the
    // local application data folder; empty when neither can be found.
    static QString defaultPath();

    const QString& path() const { return m_path; }
    // Uses the file at `path` from now on, and reads it.
    void setPath(QString path);

    enum class State {
        None, // no file (yet), or memory only
        Read, // the file was read
        Bad   // the file is no complete journal of ours: it was not used
    };
    State state() const { return m_state; }
    QString problem() const { return m_problem; } // for Bad: why, as the user reads it

    // Reads the file again when it changed since this object last read or wrote it (another
    // process ran meanwhile). A file that is not taken leaves the records as they were.
    void refresh();
    // Writes both records; false when the file could not be written (the records stay in
    // memory, and the file names neither of them, so that no older run is taken back for the
    // one that could not be kept).
    bool save();

    CreationRecord& creation() { return m_creation; }
    const CreationRecord& creation() const { return m_creation; }
    QList<TrashPlace>& deletion() { return m_deletion; }
    const QList<TrashPlace>& deletion() const { return m_deletion; }
    // Which record is newer: each new run gets the next number.
    quint64 creationNumber() const { return m_creationNumber; }
    quint64 deletionNumber() const { return m_deletionNumber; }

    // A create run begins: its record replaces the last one.
    void startCreation() { m_creation.start(); }
    // The create run ended: its record becomes the newest run, beside whatever deletion the
    // file holds now; then saved.
    bool commitCreation();
    // A delete run sent these to the trash: they replace the last deletion and become the
    // newest run; then saved.
    bool commitDeletion(QList<TrashPlace> places);

    // The file's bytes for the records, and the records of such bytes (false, with why, for
    // anything but a complete journal of ours).
    QByteArray serialized() const;
    bool parse(const QByteArray& bytes, QString* why = nullptr);

    // A journal larger than this is none of ours; a record that would make it larger is kept
    // in memory only.
    static constexpr qint64 MaxBytes = 64 * 1024 * 1024;

private:
    struct Stamp {
        bool exists = false;
        qint64 size = -1;
        QDateTime modified;
        QDateTime changed;
        bool operator==(const Stamp& other) const = default;
    };
    Stamp stampOf() const;
    void read();

    QString m_path;
    State m_state = State::None;
    QString m_problem;
    Stamp m_known; // the file as last read or written
    CreationRecord m_creation;
    QList<TrashPlace> m_deletion;
    quint64 m_next = 1;
    quint64 m_creationNumber = 0;
    quint64 m_deletionNumber = 0;
};
