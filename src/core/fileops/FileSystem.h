#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Result codes of folder creation, as the Windows shell returns them.
namespace CreateResult
{
constexpr int Created = 0;
constexpr int PathNotFound = 3;
constexpr int AlreadyExists = 183;
constexpr int Failed = 1; // any other value is "other failure"; this one is ours
} // namespace CreateResult

// The port through which the runs touch the disk. The host's version is FileFolder; tests use
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
    virtual int createFolder(const QString& path, QStringList* made = nullptr) = 0;
    // Sends every path of a NUL-separated list (each path followed by one NUL, the whole
    // closed by one more) to the trash in one operation, with one confirmation. True only when
    // every item reached the trash; false without any activity when the first entry is empty.
    virtual bool recycled(const QString& pathList) = 0;

    // When the folder came into being: its birth time or, where the host keeps none, the last
    // change of its entry; nanoseconds on the clock of clockNow(). Nothing when it is not
    // there. It tells a folder from another one made later in its place.
    virtual std::optional<qint64> folderBirth(const QString& path) = 0;
    // Now, on the clock folder times are taken from.
    virtual qint64 clockNow() = 0;
    // The names of everything the folder holds, hidden entries included; nothing when it
    // cannot be read.
    virtual std::optional<QStringList> folderEntries(const QString& path) = 0;
};

// Whether `name` matches `pattern` as a directory listing matches it: `*` and `?` are
// wildcards, brackets are ordinary characters, and a trailing ".*" also matches a name without
// extension, so "*.*" matches every name.
bool listingMatch(QStringView pattern, QStringView name, Qt::CaseSensitivity cs);

// The NUL-separated list form of `paths`.
QString toPathList(const QStringList& paths);
// The paths of a NUL-separated list, up to its first empty entry.
QStringList fromPathList(const QString& pathList);
