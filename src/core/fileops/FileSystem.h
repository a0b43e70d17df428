#pragma once

#include "FolderTree.h"
#include "Reason.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Result codes of folder creation, as the Windows shell returns them.
namespace CreateResult
{
constexpr int Created = 0;
constexpr int PathNotFound = 3;
constexpr int AlreadyExists = 183;
constexpr int Failed = 1; // any other value is "other failure"; this one is ours
} // namespace CreateResult

// What tells one folder from another that later stands at the same path: the volume and the
// node number, and the birth time where the file system keeps one (a node number can be
// given again to a folder made after the first one went).
struct FolderId {
    quint64 volume = 0;
    quint64 node = 0;
    qint64 birth = -1; // nanoseconds since the epoch; -1 where unknown

    bool isKnown() const { return node != 0 || volume != 0; }
    // The same folder, as far as both sides know: a birth time counts only where both have one.
    bool sameAs(const FolderId& other) const
    {
        return volume == other.volume && node == other.node &&
               (birth < 0 || other.birth < 0 || birth == other.birth);
    }
};

// One look at a path before a deletion: is it a folder, does it hold a file, which is it.
struct FolderLook {
    bool folder = false;    // a folder, or a link to one
    bool holdsFile = false; // asked for only: an ordinary, visible file directly inside
    FolderId id;            // of the entry itself: a link's own, not its target's
};

// A folder that a creation made, with what identified it right then.
struct MadeFolder {
    QString path;
    FolderId id;
    QByteArray bytes; // the path as the host's bytes, where the host had them at hand
    // Of a folder that got a template's copy: how many entries it held after the copy and
    // what they were (their digest); -1 for a folder made empty.
    qint64 copyEntries = -1;
    QByteArray copyDigest;
};

// One item for the trash and what must still hold when it moves.
struct TrashItem {
    enum class KeepIf {
        Never,        // goes whatever it holds
        HoldsFile,    // stays when it holds an ordinary, visible file
        HoldsAnything // stays unless it is empty
    };
    QString path;
    FolderId expected; // unknown: whatever stands there
    KeepIf keepIf = KeepIf::Never;
    // Asked right before it moves, where set: false leaves it in place as kept.
    std::function<bool()> stillAsMade;
};

// What tells one file from another that later stands at the same name, as far as a plain
// stat tells it: enough to know an info file is still the one the trash wrote.
struct FileStamp {
    quint64 volume = 0;
    quint64 node = 0;
    qint64 size = -1;
    qint64 modified = -1; // nanoseconds since the epoch

    bool isKnown() const { return node != 0 || volume != 0; }
    bool operator==(const FileStamp& other) const = default;
};

// Where a trashed item went and what identified it there, so that it can be taken back: only
// while its entry and its info file are still those, and the info file still names the place
// it came from. Host bytes throughout; empty for a trash that cannot be taken back from.
// On Windows: the recycle-bin folder, its "$R" entry and "$I" record, the record's node, size
// field and deletion time (a FILETIME), all as UTF-8.
struct TrashPlace {
    QByteArray trashDir; // the folder that holds files/ and info/
    QByteArray topdir;   // the volume's top folder for a volume's trash; empty for the home one
    QByteArray entry;    // the item's name in files/
    QByteArray info;     // its info file's name in info/
    FileStamp infoStamp;
    FolderId entryId;    // the item itself
    QByteArray original; // where it stood: absolute, links resolved

    bool isKnown() const { return !trashDir.isEmpty(); }
};

// What became of one trash item.
struct TrashResult {
    enum class Kind {
        Trashed,  // in the trash, restorable
        Kept,     // not empty, as its KeepIf did not allow, when it was to move: left in place
        Replaced, // another item than the expected one stands there: left in place
        Missing,  // nothing there when it was to move
        Failed,   // could not go to the trash: left in place
        NotDone   // the confirmation was declined or the operation cancelled before it
    };
    Kind kind = Kind::NotDone;
    Reason why;       // for a failure: what stood in the way
    TrashPlace place; // for a trashed item, where the trash can take it back from
};

// What became of one item taken back out of the trash.
struct RestoreResult {
    enum class Kind {
        Restored,    // back at its place (for a dry run: would be)
        Back,        // at its place already: put back by other means
        Gone,        // no longer in the trash
        Occupied,    // something of the same name stands at its place: left in the trash
        Replaced,    // the entry or its info file is another now, or names another place
        NoParent,    // the folder it came from is not there: left in the trash
        Unavailable, // its trash cannot be reached now (a volume not mounted): left there
        Invalid,     // the record names no trash item of ours: nothing was touched
        Failed,      // could not be moved back: left in the trash
        NotDone      // cancelled before its turn
    };
    Kind kind = Kind::NotDone;
    Reason why; // for a failure: what stood in the way
};

// Hears of each item of a trash or restore operation as it is done, so that a run keeps its
// record as it goes rather than at the end; and may stop the operation between two items.
class ItemObserver
{
public:
    virtual ~ItemObserver() = default;
    // The caller asked the user already: the operation asks nothing itself.
    virtual bool confirmed() const { return false; }
    // After the confirmation, right before the first item moves.
    virtual void beforeFirstMove() {}
    // Item `index` is done; false stops the operation before the next one.
    virtual bool trashed(qsizetype index, const TrashResult& result)
    {
        (void)index;
        (void)result;
        return true;
    }
    virtual bool restored(qsizetype index, const RestoreResult& result)
    {
        (void)index;
        (void)result;
        return true;
    }
};

// The port through which the runs touch the disk. The host's version is HostFileSystem; tests use
// an in-memory one with Windows-style drives.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    // True when the path names an existing folder; a trailing separator is allowed.
    virtual bool folderExist(const QString& path) = 0;
    // True when at least one ordinary (not hidden, not a folder) file matches; `*` and `?`
    // in the last component are wildcards, and `*.*` matches every name, as on Windows.
    virtual bool fileExist(const QString& pattern) = 0;
    // Creates the folder and every missing parent; returns a CreateResult code. `made`, when
    // given, gets every folder this call created, topmost first, as the host spells it.
    virtual int createFolder(const QString& path, QList<MadeFolder>* made = nullptr) = 0;
    // Whether the path names a folder, which one, and (when `forFile`) whether it holds an
    // ordinary visible file, as fileExist(path + "*.*") tells it; in one look.
    virtual FolderLook lookAtFolder(const QString& path, bool forFile) = 0;
    // The names of everything the folder holds, hidden entries included; nothing when it
    // cannot be read.
    virtual std::optional<QStringList> folderEntries(const QString& path) = 0;
    // Sends the items to the trash in one operation with one confirmation, each only while it
    // is still the expected one and its KeepIf allows, checked as it moves; one result per
    // item. Nothing happens for an empty list. The observer hears of every item as it is done.
    virtual QList<TrashResult> trash(const QList<TrashItem>& items,
                                     ItemObserver* observer = nullptr) = 0;
    // Moves each item back to its original place, in the order given, never over anything
    // and never by copying: each only while the trash still holds the recorded entry with
    // the recorded info file naming that place, and only into a folder that stands there
    // (an earlier item may have brought it back). With `dryRun` nothing moves and each
    // result tells what would become of it. A host without such a trash takes nothing back.
    virtual QList<RestoreResult> restore(const QList<TrashPlace>& places, bool dryRun,
                                         ItemObserver* observer = nullptr);
    // Every entry below the folder `path`, links not followed; at most `limit` of them (past
    // it, pastLimit and nothing more). The folder itself may be reached through a link.
    virtual TreeRead readTree(const QString& path, qsizetype limit);
    // Copies `entries` (as readTree gave them for `from`) into the folder `to`, which this run
    // has just made: never over anything, links as links, special files left out, each entry
    // only while it is still the one that was read; without `withFiles` the folders only.
    // Permission bits and modification times come along, ownership does not.
    virtual TreeCopyResult copyTree(const QString& from, const QString& to,
                                    const QList<TreeEntry>& entries, bool withFiles,
                                    const CopyProceed& proceed);
    // The bytes an ordinary user may still write on the volume of `path`; -1 when unknown.
    virtual qint64 freeBytes(const QString& path);
    // Why createFolder(path) answered `code` (neither created nor there already), as far as
    // the host can tell; empty when it cannot.
    virtual Reason createFailure(const QString& path, int code);
};

// Whether `name` matches `pattern` as a directory listing matches it: `*` and `?` are
// wildcards, brackets are ordinary characters, and a trailing ".*" also matches a name without
// extension, so "*.*" matches every name.
bool listingMatch(QStringView pattern, QStringView name, Qt::CaseSensitivity cs);

// The NUL-separated list form of `paths`.
QString toPathList(const QStringList& paths);
// The paths of a NUL-separated list, up to its first empty entry.
QStringList fromPathList(const QString& pathList);

// A copy that was stopped or cut short at `from`: every entry from there that the copy would
// have brought is told as not copied, with why.
void noteRestNotCopied(TreeCopyResult& result, const QList<TreeEntry>& entries, qsizetype from,
                       bool withFiles);

// True when every result is Trashed (an empty list is no success).
bool allTrashed(const QList<TrashResult>& results);
