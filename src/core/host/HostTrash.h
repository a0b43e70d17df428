#pragma once

#include "fileops/FileSystem.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>

// The host's own trash for one batch, behind HostFileSystem: the freedesktop.org trash on
// Linux, the recycle bin on Windows. Each host has its file (HostFileSystem_posix.cpp,
// HostFileSystem_win.cpp).
class HostTrash
{
public:
    struct Hooks {
        std::function<void(const QString&)> beforeMove; // after every check
        std::function<void(const QString&)> shell;      // Windows: stands in for the shell
    };
    explicit HostTrash(const Hooks& hooks);
    ~HostTrash();
    HostTrash(const HostTrash&) = delete;
    HostTrash& operator=(const HostTrash&) = delete;

    TrashResult move(const TrashItem& item);
    // Whether each result is final as move() gives it; otherwise finish() settles them.
    bool tellsEachItem() const;
    // After the last item: the results settled, the changes pushed to the disk.
    void finish(QList<TrashResult>& results);

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

// Takes items back out of the host's trash, one batch at a time.
class HostRestore
{
public:
    explicit HostRestore(const std::function<void(const QString&)>& beforeMove);
    ~HostRestore();
    HostRestore(const HostRestore&) = delete;
    HostRestore& operator=(const HostRestore&) = delete;

    // Whether this host can take anything back at all.
    static bool available();
    RestoreResult restore(const TrashPlace& place, bool dryRun);
    void finish();

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};
