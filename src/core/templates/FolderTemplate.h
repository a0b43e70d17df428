#pragma once

#include "PathStyle.h"
#include "fileops/FolderTree.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class FileSystem;

// A folder whose inside every folder a run creates gets a copy of: its subfolders, and its
// files unless only the folders are asked for.
struct FolderTemplate {
    QString folder; // empty: no template
    bool foldersOnly = false;

    bool isSet() const { return !folder.isEmpty(); }
    bool operator==(const FolderTemplate& other) const = default;
};

// What one copy may hold at most; past any of these the template is refused before anything
// is made.
namespace TemplateBound
{
constexpr qsizetype Entries = 10000;
constexpr qint64 Bytes = qint64(1) << 30; // 1 GiB a copy
constexpr int Depth = 32;                 // levels below the template's top
} // namespace TemplateBound

// A template as measured before the run, copied as it was then.
struct TemplatePlan {
    FolderTemplate source;
    QList<TreeEntry> entries;
    qint64 bytes = 0; // its files' bytes
    int folders = 0;
    int files = 0; // links included
    int special = 0;

    // What one copy writes.
    qint64 bytesPerCopy() const { return source.foldersOnly ? 0 : bytes; }
    // The names right inside the template that a copy brings, as the preview shows them.
    QStringList firstLevel() const;
};

// Reads and measures the template; nothing, and why in `why` as the user reads it, when it
// cannot be used.
std::optional<TemplatePlan> measureTemplate(FileSystem& fs, const FolderTemplate& source,
                                            QString* why);

// Why folders cannot be made at `path` with this template: it is the template, lies inside
// it, or (for a run's target) holds it. Empty when they can.
QString templateOverlap(const TemplatePlan& plan, const QString& path, PathStyle style,
                        bool isTarget);

// Why `copies` copies do not fit on the volume of `target` (the nearest folder that exists);
// empty when they fit or the free space is unknown.
QString templateSpace(FileSystem& fs, const TemplatePlan& plan, const QString& target,
                      qsizetype copies, PathStyle style);

// Everything a run checks before it makes anything: measureTemplate, then templateOverlap
// against the target (a series) or each folder (a list), then templateSpace for `copies`
// copies. Nothing, and why, when the run must not start.
std::optional<TemplatePlan> checkTemplate(FileSystem& fs, const FolderTemplate& source,
                                          const QString& target, const QStringList& folders,
                                          qsizetype copies, PathStyle style, QString* why);

// The first entry a copy failed to bring, leaving out the special files it skips by rule;
// null when the copy is whole.
const NotCopied* firstFailure(const TreeCopyResult& copy);

// What tells a copied tree from the same tree changed: every entry's name, kind, identity,
// size and time.
QByteArray treeDigest(const QList<TreeEntry>& entries);

// Whether the folder holds exactly the tree it held when `digest` was taken of its `count`
// entries.
bool treeStillAsCopied(FileSystem& fs, const QString& folder, qint64 count,
                       const QByteArray& digest);
