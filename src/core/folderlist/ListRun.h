#pragma once

#include "PathStyle.h"
#include "Reason.h"
#include "text/NamedLines.h"

#include <QCoreApplication>
#include <QSet>
#include <QString>
#include <QStringList>

class FolderBrowser;
class FolderSteps;
class RunContext;

enum class DuplicateCheck { Unique, Duplicate, Cancelled };

// A line that names a network path (UNC, or \\?\ on Windows): rooted of its own, never joined
// to the base folder, and not made, since the program works on local folders only.
bool isNetworkPath(const QString& entry, PathStyle style);

// Why a list run left an entry as it was.
namespace ListReason
{
inline Reason networkPath()
{
    return {QCoreApplication::translate("ListReason", "ネットワーク上のパス (UNC) は使えません"),
            "network_path"};
}
inline Reason notTried()
{
    return {QCoreApplication::translate("ListReason",
                                        "前のフォルダで実行が止まったため、作りませんでした"),
            "not_tried"};
}
} // namespace ListReason

// Whether two entries have the very same text (case counts). One pass with a hash set; the
// run stays responsive and cancellable, looking for pending input every few hundred entries.
DuplicateCheck checkDuplicates(const QStringList& entries, RunContext& context);

// The box of a list that names one folder twice.
QString duplicateListText();

// The same test for entries that are streamed rather than held: their hashes first; only where
// a hash came twice are the entries themselves compared, in a second pass.
class DuplicateFinder
{
public:
    explicit DuplicateFinder(qsizetype expected = 0);
    // First pass: every entry.
    void see(const QString& entry);
    // Whether a second pass is needed at all.
    bool hasSuspects() const { return !m_twice.isEmpty(); }
    // Second pass: every entry again; true once a duplicate is certain.
    bool confirm(const QString& entry);

private:
    QSet<size_t> m_seen;
    QSet<size_t> m_twice;
    QSet<QString> m_suspects;
};

// The checks of a list before a command-line run, entry by entry, so that a list can be
// streamed: the entry placed in the base folder when it carries no drive, and the entries
// named that have no drive and no base to go in, or that hold characters a path cannot hold.
class ListEntryCheck
{
public:
    ListEntryCheck(QString base, PathStyle style, qsizetype namedLimit);
    // The entry as the run uses it.
    QString add(const QString& entry);
    const NamedLines& rootless() const { return m_rootless; }
    const NamedLines& refused() const { return m_refused; }

private:
    QString m_base;
    PathStyle m_style;
    NamedLines m_rootless;
    NamedLines m_refused;
};

// What the base folder question needs to know of the main window.
struct BaseFolderSource {
    QString targetText;    // the target-folder field as typed
    QString programFolder; // the program's own folder
    QString programName;   // the executable's name without its extension
};

// Creates or trashes every folder of a list, through the per-folder steps the series runs use.
// Entries without a drive (on POSIX: relative ones) get a base folder asked once per run;
// an entry on a missing drive is asked about; entries with characters a path cannot hold are
// skipped and listed at the end.
class ListRun
{
public:
    ListRun(FolderSteps& steps, FolderBrowser& browser, const BaseFolderSource& base);

    // `entries` is the run's own copy: slots get the base folder put in front of them.
    // `lines` gives each entry's line in its file; without them an entry's line is its place
    // in the list (1 for the first). The outcomes carry them.
    void run(QStringList entries, bool create, RunContext& context,
             const QList<qint64>& lines = {});

    // The drive root an entry's drive question names, or empty when no question can arise:
    // on Windows its first three characters; on POSIX the place of a removable volume
    // (/media/<user>/X, /run/media/<user>/X, /mnt/X) it lies on.
    static QString driveRootOf(const QString& entry, PathStyle style);

    // The base folder question: message 26, then the browser, the target text or the
    // program's folder; empty when the user gives none. Ends with the separator.
    QString askBaseFolder();

private:
    FolderSteps& m_steps;
    FolderBrowser& m_browser;
    BaseFolderSource m_base;
};
