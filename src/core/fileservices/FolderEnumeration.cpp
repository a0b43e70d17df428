#include "FolderEnumeration.h"

#include "PathStyle.h"
#include "host/HostFileSystem.h"
#include "messages/Prompter.h"

#include <QCoreApplication>
#include <QFile>

#include <utility>
#include <vector>

#ifdef Q_OS_UNIX
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QDirIterator>
#include <QFileInfo>
#endif

namespace
{

const QChar Separator = pathSeparator(hostPathStyle());

enum class Kind : quint8 { File, Folder, FolderLink };

// What a run lists and where it goes.
struct Sink {
    bool deep = false;
    bool folders = false;
    bool files = false;
    bool folderSuffix = false;
    QStringList list;
    int folderCount = 0;
    int fileCount = 0;

    // One allocation per entry, the separator included.
    void addFolder(const QString& parent, const QString& name)
    {
        list.append(folderSuffix ? QString(parent % name % Separator) : QString(parent % name));
        ++folderCount;
    }
    void addFile(const QString& parent, const QString& name)
    {
        list.append(parent % name);
        ++fileCount;
    }
};

#ifdef Q_OS_UNIX

struct Entry {
    qsizetype offset; // into Level::names
    Kind kind;
};

// One folder on the way down. Its entries are read in full when it is entered, so that only
// the deepest folder's descriptor has to stay open.
struct Level {
    QByteArray name; // in its parent; empty for the start folder
    dev_t dev = 0;
    ino_t ino = 0;
    qsizetype pathLength = 0; // of the path up to here, separator included
    QByteArray names;         // the entries' names, each closed by a NUL
    std::vector<Entry> entries;
    size_t next = 0;
    bool lost = false; // could not be found again after a descent
};

constexpr int DirFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

bool sameFolder(int fd, const Level& level)
{
    struct stat st;
    return ::fstat(fd, &st) == 0 && st.st_dev == level.dev && st.st_ino == level.ino;
}

// Walks with descriptors relative to each other, so neither depth nor path length has a limit,
// and without recursion.
class PosixWalk
{
public:
    explicit PosixWalk(Sink& sink) : m_sink(sink) {}
    ~PosixWalk() { setFd(-1, 0); }
    PosixWalk(const PosixWalk&) = delete;
    PosixWalk& operator=(const PosixWalk&) = delete;

    void run(const QString& start, const QString& prefix)
    {
        m_start = QFile::encodeName(start);
        // The start folder itself may be reached through a link: that is where the user points.
        const int fd = ::open(m_start.constData(), DirFlags);
        if (fd < 0)
            return;
        Level top;
        if (!enter(fd, top)) {
            ::close(fd);
            return;
        }
        setFd(fd, 0);
        m_path = prefix;
        top.pathLength = m_path.size();
        push(std::move(top));

        while (!m_levels.empty()) {
            Level& level = m_levels.back();
            if (level.next == level.entries.size()) {
                m_ancestors.erase({level.dev, level.ino});
                m_levels.pop_back();
                if (!m_levels.empty())
                    m_path.truncate(m_levels.back().pathLength);
                continue;
            }
            const Entry entry = level.entries[level.next++];
            const char* name = level.names.constData() + entry.offset;
            if (entry.kind == Kind::File) {
                if (m_sink.files)
                    m_sink.addFile(m_path, QFile::decodeName(name));
                continue;
            }
            const bool enters = m_sink.deep && entry.kind == Kind::Folder;
            if (!m_sink.folders && !enters)
                continue;
            const QString decoded = QFile::decodeName(name);
            if (m_sink.folders)
                m_sink.addFolder(m_path, decoded);
            if (enters)
                descend(name, decoded);
        }
    }

private:
    // Reads the folder behind `fd` into `level`; false when it cannot be listed.
    static bool enter(int fd, Level& level)
    {
        struct stat st;
        if (::fstat(fd, &st) != 0)
            return false;
        level.dev = st.st_dev;
        level.ino = st.st_ino;
        // The stream takes its own descriptor; `fd` stays for opening the subfolders.
        const int streamFd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        DIR* dir = streamFd < 0 ? nullptr : ::fdopendir(streamFd);
        if (!dir) {
            if (streamFd >= 0)
                ::close(streamFd);
            return false;
        }
        while (const dirent* d = ::readdir(dir)) {
            const char* name = d->d_name;
            if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
                continue;
            level.entries.push_back({level.names.size(), kindOf(fd, name, d->d_type)});
            level.names.append(name, static_cast<qsizetype>(std::strlen(name)) + 1);
        }
        ::closedir(dir);
        return true;
    }

    static Kind kindOf(int fd, const char* name, unsigned char type)
    {
        struct stat st;
        if (type == DT_UNKNOWN) {
            if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                return Kind::File;
            type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISLNK(st.st_mode) ? DT_LNK : DT_REG;
        }
        if (type == DT_DIR)
            return Kind::Folder;
        // A link counts as what it points to, a dangling one as a file.
        if (type == DT_LNK && ::fstatat(fd, name, &st, 0) == 0 && S_ISDIR(st.st_mode))
            return Kind::FolderLink;
        return Kind::File;
    }

    void descend(const char* name, const QString& decoded)
    {
        const size_t depth = m_levels.size() - 1;
        const int parentFd = fdOf(depth);
        if (parentFd < 0)
            return;
        // O_NOFOLLOW: a folder swapped for a link meanwhile is not entered either.
        const int fd = ::openat(parentFd, name, DirFlags | O_NOFOLLOW);
        if (fd < 0)
            return;
        Level child;
        // A folder already on the way down (a bind mount of an ancestor) would never end.
        if (!enter(fd, child) || child.entries.empty() ||
            m_ancestors.count({child.dev, child.ino}) != 0) {
            ::close(fd);
            return;
        }
        setFd(fd, depth + 1);
        child.name = name;
        // In place: a fresh copy per level would leave a trail of ever longer freed blocks.
        m_path += decoded;
        m_path += Separator;
        child.pathLength = m_path.size();
        push(std::move(child));
    }

    void push(Level&& level)
    {
        m_ancestors.insert({level.dev, level.ino});
        m_levels.push_back(std::move(level));
    }

    // The descriptor of the folder at `depth`: up through ".." from a deeper one when that
    // lands on the folder recorded, else found again from the start folder level by level.
    int fdOf(size_t depth)
    {
        Level& level = m_levels[depth];
        if (level.lost)
            return -1;
        if (m_fd >= 0 && m_fdDepth > depth) {
            while (m_fd >= 0 && m_fdDepth > depth)
                setFd(::openat(m_fd, "..", DirFlags), m_fdDepth - 1);
            if (m_fd >= 0 && !sameFolder(m_fd, level))
                setFd(-1, 0);
        }
        if (m_fd >= 0 && m_fdDepth == depth)
            return m_fd;

        setFd(::open(m_start.constData(), DirFlags), 0);
        if (m_fd >= 0 && !sameFolder(m_fd, m_levels.front()))
            setFd(-1, 0);
        for (size_t i = 1; i <= depth && m_fd >= 0; ++i) {
            setFd(::openat(m_fd, m_levels[i].name.constData(), DirFlags | O_NOFOLLOW), i);
            if (m_fd >= 0 && !sameFolder(m_fd, m_levels[i]))
                setFd(-1, 0);
        }
        // Moved away or gone: its remaining subfolders stay listed and add nothing.
        if (m_fd < 0)
            level.lost = true;
        return m_fd;
    }

    void setFd(int fd, size_t depth)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
        m_fdDepth = depth;
    }

    Sink& m_sink;
    QByteArray m_start;
    QString m_path; // of the deepest level, ending with the separator
    std::vector<Level> m_levels;
    std::set<std::pair<dev_t, ino_t>> m_ancestors;
    int m_fd = -1;
    size_t m_fdDepth = 0;
};

#else

// Without descriptor-relative calls: the same pre-order walk over paths.
void walkPaths(Sink& sink, const QString& prefix)
{
    struct Level {
        QString path; // ending with the separator
        QStringList names;
        std::vector<Kind> kinds;
        qsizetype next = 0;
    };
    const auto read = [](const QString& path) {
        Level level{path, {}, {}, 0};
        QDirIterator it(path,
                        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        while (it.hasNext()) {
            it.next();
            const QFileInfo info = it.fileInfo();
            level.names << info.fileName();
            level.kinds.push_back(!info.isDir()                           ? Kind::File
                                  : info.isSymLink() || info.isJunction() ? Kind::FolderLink
                                                                          : Kind::Folder);
        }
        return level;
    };
    std::vector<Level> levels;
    levels.push_back(read(prefix));
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.next == level.names.size()) {
            levels.pop_back();
            continue;
        }
        const qsizetype i = level.next++;
        const QString& name = level.names.at(i);
        if (level.kinds[static_cast<size_t>(i)] == Kind::File) {
            if (sink.files)
                sink.addFile(level.path, name);
            continue;
        }
        if (sink.folders)
            sink.addFolder(level.path, name);
        if (sink.deep && level.kinds[static_cast<size_t>(i)] == Kind::Folder)
            levels.push_back(read(level.path % name % Separator));
    }
}

#endif

} // namespace

FolderEnumeration::FolderEnumeration(HostFileSystem& host) : m_host(host) {}

QStringList FolderEnumeration::sFolderPath(const QString& folderPath)
{
    m_sFolderPathList = run(folderPath, Lists::Folders, true, &m_sFolderPathCount, nullptr);
    return m_sFolderPathList;
}

QStringList FolderEnumeration::getFolder(const QString& folderPath)
{
    return run(folderPath, Lists::Folders, false, &m_folderPathCount, nullptr);
}

QStringList FolderEnumeration::sFilePath(const QString& folderPath)
{
    m_sFilePathList = run(folderPath, Lists::Files, true, nullptr, &m_sFilePathCount);
    return m_sFilePathList;
}

QStringList FolderEnumeration::getFile(const QString& folderPath)
{
    return run(folderPath, Lists::Files, false, nullptr, &m_filePathCount);
}

QStringList FolderEnumeration::sFileFolderPath(const QString& folderPath)
{
    m_sFileFolderPathList =
        run(folderPath, Lists::Both, true, &m_bsFolderPathCount, &m_bsFilePathCount);
    return m_sFileFolderPathList;
}

QStringList FolderEnumeration::getFileFolder(const QString& folderPath)
{
    return run(folderPath, Lists::Both, false, &m_bFolderPathCount, &m_bFilePathCount);
}

QStringList FolderEnumeration::run(const QString& folderPath, Lists lists, bool deep, int* folders,
                                   int* files)
{
    const auto setCounters = [&](int folderCount, int fileCount) {
        if (folders)
            *folders = folderCount;
        if (files)
            *files = fileCount;
    };
    setCounters(0, 0);

    QString start = m_host.folderPart(folderPath);
    if (start.isEmpty())
        start = folderPath;
    if (start.isEmpty() || !m_host.folderExist(start)) {
        if (Prompter* prompter = m_host.prompter())
            prompter->prompt(
                PromptRequest{-1,
                              QCoreApplication::translate("FolderEnumeration",
                                                          "指定されたフォルダが存在しません"),
                              MessageStyle::Ok});
        setCounters(-1, -1);
        return {QString()};
    }
    // A root keeps its separator: an empty entry would read as "nothing found".
    while (start.size() > 1 && start.endsWith(Separator))
        start.chop(1);
    const QString prefix = start.endsWith(Separator) ? start : start + Separator;

    Sink sink;
    sink.deep = deep;
    sink.folders = lists != Lists::Files;
    sink.files = lists != Lists::Folders;
    sink.folderSuffix = lists == Lists::Both;
    if (deep && sink.folders) {
        sink.list.append(sink.folderSuffix ? prefix : start);
        ++sink.folderCount;
    }
#ifdef Q_OS_UNIX
    PosixWalk(sink).run(start, prefix);
#else
    walkPaths(sink, prefix);
#endif
    setCounters(sink.folderCount, sink.fileCount);
    if (sink.list.isEmpty())
        sink.list.append(QString());
    return sink.list;
}
