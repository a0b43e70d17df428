#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Every Unix but macOS keeps its trash in the freedesktop.org layout.
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
#define NMAKER_FREEDESKTOP_TRASH 1
#endif

#include <memory>
#include <vector>

// The trash of the freedesktop.org layout (files/ and info/ with a .trashinfo per item), so
// that the desktop's own "restore" brings items back. Items only ever move by rename(2) into
// a trash on their own volume: whatever cannot go there stays where it is.
//
// HOME and XDG_DATA_HOME are read when the object is made; one object serves one batch.
class MountTable;

class FreedesktopTrash
{
public:
    FreedesktopTrash();
    ~FreedesktopTrash();
    FreedesktopTrash(const FreedesktopTrash&) = delete;
    FreedesktopTrash& operator=(const FreedesktopTrash&) = delete;

    // True only when the item sits in a trash's files/ with a complete .trashinfo and is gone
    // from its place. On false the item is where it was and no .trashinfo is left behind.
    bool moveToTrash(const QString& path);

    // Pushes the .trashinfo files written so far to the disk; the destructor does it too.
    void flush();

    // Why the latest moveToTrash failed, for diagnostics.
    QString lastError() const { return m_lastError; }

    // The home trash folder, empty when neither XDG_DATA_HOME nor HOME names an absolute one.
    QString homeTrashPath() const { return QString::fromLocal8Bit(m_homeTrash); }

    // The .trashinfo Path value: every byte but unreserved characters and '/' percent-encoded.
    static QByteArray encodePath(const QByteArray& path);

private:
    struct Volume;
    struct TrashDir;

    Volume* volumeOf(const QByteArray& canonicalDir, quint64 dev, quint64 mnt);
    TrashDir* homeTrash();
    TrashDir* topdirTrash(const QByteArray& topdir);
    bool fail(const QString& why);
    QByteArray deletionDate();

    QByteArray m_homeTrash;
    bool m_homeKnown = false;
    quint64 m_homeDev = 0;
    quint64 m_homeMnt = 0;
    std::unique_ptr<TrashDir> m_home;
    std::vector<std::unique_ptr<TrashDir>> m_topdirTrashes;
    std::vector<std::unique_ptr<Volume>> m_volumes;

    // The latest parent folder and what it resolved to, since a batch mostly shares one.
    QByteArray m_lastParent;
    QByteArray m_lastCanonical;
    Volume* m_lastVolume = nullptr;

    long long m_dateTime = -1;
    QByteArray m_date;
    quint32 m_suffixSeed = 0;
    QString m_lastError;
    std::unique_ptr<MountTable> m_mounts; // read at the first item of the batch
};
