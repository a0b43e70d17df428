// Reading a template's tree and copying it into a new folder on Windows. Win32 goes by path, so
// every entry is checked by its own handle to be the one read, a link is opened as itself and
// never followed, and the folders being filled, like the file being copied, are held open
// without delete sharing: nobody renames them or puts a link in their place meanwhile. Nothing
// is ever written over (CreateDirectoryW, COPY_FILE_FAIL_IF_EXISTS and CreateSymbolicLinkW all
// refuse what stands there).

#include "HostFileSystem.h"

#include "fileops/CopyReasons.h"
#include "fileops/HostPath.h"
#include "fileops/WindowsFiles.h"
#include "fileops/WindowsPaths.h"

#include <QElapsedTimer>

#include <winioctl.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace
{

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD ShareNoDelete = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr DWORD Itself = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;
constexpr DWORD DiskQuotaExceeded = 1295; // ERROR_DISK_QUOTA_EXCEEDED, not in every SDK

// The attributes a copy keeps, in TreeEntry::mode: Windows has no permission bits, and a
// file's attributes come along with CopyFileExW; a folder gets them once it is filled.
constexpr DWORD KeptAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

bool isNoSpace(DWORD error)
{
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL ||
           error == DiskQuotaExceeded;
}

Reason systemReason(DWORD error)
{
    return CopyReason::system(win::errorText(error));
}

QString inside(const QString& folder, QStringView name)
{
    QString path = folder;
    if (!path.endsWith(u'\\'))
        path += u'\\';
    path += name;
    return path;
}

// Opens the entry itself, a link's own entry. `pinned`: with read access and without delete
// sharing, so that while the handle is open nobody renames or removes it and its path keeps
// naming it; where another holder does not allow that, an unpinned handle.
win::Handle openItself(const QString& host, DWORD access, bool pinned)
{
    const std::wstring path = win::systemPath(host);
    if (pinned) {
        HANDLE h = ::CreateFileW(path.c_str(), access | FILE_READ_DATA, ShareNoDelete, nullptr,
                                 OPEN_EXISTING, Itself, nullptr);
        if (h != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_SHARING_VIOLATION)
            return win::Handle(h);
    }
    return win::Handle(
        ::CreateFileW(path.c_str(), access, ShareAll, nullptr, OPEN_EXISTING, Itself, nullptr));
}

TreeEntry::Kind kindOf(DWORD attributes, DWORD tag)
{
    // Symbolic links and junctions lead to another name; other reparse points (a cloud
    // folder's files, deduplicated files) are the files and folders they look like.
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsReparseTagNameSurrogate(tag))
        return TreeEntry::Kind::Link;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return TreeEntry::Kind::Folder;
    if (attributes & FILE_ATTRIBUTE_DEVICE)
        return TreeEntry::Kind::Special;
    return TreeEntry::Kind::File;
}

// One entry as its own handle tells it.
struct Look {
    bool ok = false;
    DWORD error = 0;
    win::Node node;
    TreeEntry::Kind kind = TreeEntry::Kind::File;
    qint64 size = 0; // a file's
};

Look lookAt(HANDLE h)
{
    Look l;
    l.node = win::nodeOf(h);
    if (!l.node.ok) {
        l.error = l.node.error;
        return l;
    }
    DWORD tag = 0;
    if (l.node.link()) {
        FILE_ATTRIBUTE_TAG_INFO info = {};
        // A reparse point of a tag nobody tells is taken for a link: never followed.
        tag = ::GetFileInformationByHandleEx(h, FileAttributeTagInfo, &info, sizeof info)
                  ? info.ReparseTag
                  : DWORD(IO_REPARSE_TAG_SYMLINK);
    }
    l.kind = kindOf(l.node.attributes, tag);
    if (l.kind == TreeEntry::Kind::File) {
        LARGE_INTEGER size;
        if (!::GetFileSizeEx(h, &size)) {
            l.error = ::GetLastError();
            return l;
        }
        l.size = size.QuadPart;
    }
    l.ok = true;
    return l;
}

Look lookAt(const QString& host)
{
    const win::Handle h = openItself(host, FILE_READ_ATTRIBUTES, false);
    if (!h.valid()) {
        Look l;
        l.error = ::GetLastError();
        return l;
    }
    return lookAt(h.get());
}

bool sameEntry(const Look& l, const TreeEntry& e)
{
    return l.ok && l.kind == e.kind && l.node.id.volume == e.volume && l.node.id.node == e.node;
}

bool sameFolder(const win::Node& n, const TreeEntry& e)
{
    return n.folder() && n.id.volume == e.volume && n.id.node == e.node;
}

// A folder to look into: a reparse point that is no link is read through, as itself.
win::Handle openFolder(const QString& host, const Look& look)
{
    return win::openEntry(host, look.node.link());
}

// Where the folder opened as `h` (reached through `host`) really is, so that a link on the
// way, changed meanwhile, leads no later step elsewhere; `host` where that cannot be told.
QString reached(HANDLE h, const win::Node& node, const QString& host)
{
    std::wstring buffer(MAX_PATH, L'\0');
    const DWORD flags = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
    DWORD n = ::GetFinalPathNameByHandleW(h, buffer.data(), DWORD(buffer.size()), flags);
    if (n >= buffer.size()) {
        buffer.resize(n + 1);
        n = ::GetFinalPathNameByHandleW(h, buffer.data(), DWORD(buffer.size()), flags);
    }
    if (n == 0 || n >= buffer.size())
        return host;
    const QString real = WindowsPaths::cleaned(QString::fromWCharArray(buffer.data(), n));
    const win::Node there = real.isEmpty() ? win::Node() : win::nodeAt(real, false);
    return there.ok && there.folder() && there.sameNode(node) ? real : host;
}

FILETIME fileTime(qint64 ns)
{
    const quint64 ticks = quint64(ns / 100 + 116444736000000000LL);
    FILETIME t;
    t.dwLowDateTime = DWORD(ticks & 0xFFFFFFFFu);
    t.dwHighDateTime = DWORD(ticks >> 32);
    return t;
}

// Removes a file this copy made; a kept read-only attribute would refuse it.
void removeFile(const QString& host)
{
    const std::wstring path = win::systemPath(host);
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        ::SetFileAttributesW(path.c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
    ::DeleteFileW(path.c_str());
}

// Asked while a large file is copied, now and then only: a caller counts on one question an
// entry, and a small file is through before the first.
struct CopyWatch {
    const CopyProceed* proceed = nullptr;
    QElapsedTimer asked;
    bool stopped = false;
};

DWORD CALLBACK onProgress(LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD,
                          HANDLE, HANDLE, LPVOID data)
{
    auto* watch = static_cast<CopyWatch*>(data);
    if (!*watch->proceed || watch->asked.elapsed() < 250)
        return PROGRESS_CONTINUE;
    watch->asked.restart();
    if ((*watch->proceed)())
        return PROGRESS_CONTINUE;
    watch->stopped = true;
    return PROGRESS_CANCEL;
}

// A reparse point's data as FSCTL_GET_REPARSE_POINT gives it: a header, then for a link and a
// junction the offsets of two names (in bytes, from where the names begin), a link's flags,
// and the names.
struct ReparseHeader {
    ULONG tag;
    USHORT dataLength;
    USHORT reserved;
    USHORT substituteOffset;
    USHORT substituteLength;
    USHORT printOffset;
    USHORT printLength;
};
constexpr qsizetype ReparseHeaderSize = 8;

// The target a link's (or a junction's) data names, as CreateSymbolicLinkW takes it; empty
// when it names none.
QString linkTarget(const std::vector<char>& data, DWORD got, bool junction, bool& relative)
{
    ReparseHeader h;
    if (got < sizeof h)
        return {};
    std::memcpy(&h, data.data(), sizeof h);
    const qsizetype names = qsizetype(sizeof h) + (junction ? 0 : qsizetype(sizeof(ULONG)));
    const qsizetype end = ReparseHeaderSize + h.dataLength;
    if (end > qsizetype(got) || names + h.substituteOffset + h.substituteLength > end ||
        names + h.printOffset + h.printLength > end)
        return {};
    ULONG flags = 0;
    if (!junction)
        std::memcpy(&flags, data.data() + sizeof h, sizeof flags);
    auto text = [&](USHORT offset, USHORT length) {
        QString s(qsizetype(length / 2), Qt::Uninitialized);
        std::memcpy(s.data(), data.data() + names + offset, length / 2 * 2);
        return s;
    };
    const QString substitute = text(h.substituteOffset, h.substituteLength);
    const QString print = text(h.printOffset, h.printLength);
    relative = (flags & SYMLINK_FLAG_RELATIVE) != 0;
    if (relative)
        return substitute;
    // The shown name where it means the same place, so that the copy shows what the original
    // shows; else the system's own name, in the form the Win32 layer passes on unchanged.
    const QString nt = QStringLiteral("\\??\\");
    if (!print.isEmpty() && substitute.size() == nt.size() + print.size() &&
        substitute.startsWith(nt) && substitute.endsWith(print))
        return print;
    if (substitute.startsWith(nt))
        return QStringLiteral("\\\\?\\") + substitute.mid(nt.size());
    return substitute;
}

enum class LinkMade { Made, NotAllowed, Failed };

LinkMade makeSymbolicLink(const QString& dst, const QString& target, bool folder, DWORD& error)
{
    const std::wstring path = win::systemPath(dst);
    const std::wstring to = target.toStdWString();
    const DWORD kind = folder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0;
    BOOLEAN made = ::CreateSymbolicLinkW(path.c_str(), to.c_str(),
                                         kind | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
    error = made ? 0 : ::GetLastError();
    // Windows before the developer mode knows no such flag.
    if (!made && error == ERROR_INVALID_PARAMETER) {
        made = ::CreateSymbolicLinkW(path.c_str(), to.c_str(), kind);
        error = made ? 0 : ::GetLastError();
    }
    if (!made) {
        switch (error) {
        case ERROR_PRIVILEGE_NOT_HELD:
        case ERROR_NOT_SUPPORTED:
        case ERROR_INVALID_FUNCTION:
        case ERROR_CALL_NOT_IMPLEMENTED:
        case ERROR_INVALID_PARAMETER:
            return LinkMade::NotAllowed;
        default:
            return LinkMade::Failed;
        }
    }
    // Some systems (Wine) answer yes and make nothing.
    const Look there = lookAt(dst);
    if (there.ok && there.kind == TreeEntry::Kind::Link)
        return LinkMade::Made;
    if (there.ok) {
        error = ERROR_ALREADY_EXISTS;
        return LinkMade::Failed;
    }
    return LinkMade::NotAllowed;
}

// A junction: a folder of our own that gets the original's reparse data as it is. One to a
// mounted volume is left out: that is the volume's place, not a link to copy.
LinkMade makeJunction(const QString& dst, const std::vector<char>& data, DWORD got, DWORD& error)
{
    bool relative = false;
    if (linkTarget(data, got, true, relative).startsWith(QLatin1String("\\\\?\\Volume{")))
        return LinkMade::NotAllowed;
    const std::wstring path = win::systemPath(dst);
    if (!::CreateDirectoryW(path.c_str(), nullptr)) {
        error = ::GetLastError();
        return LinkMade::Failed;
    }
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             Itself, nullptr);
    DWORD returned = 0;
    const bool set = h != INVALID_HANDLE_VALUE &&
                     ::DeviceIoControl(h, FSCTL_SET_REPARSE_POINT, const_cast<char*>(data.data()),
                                       got, nullptr, 0, &returned, nullptr);
    error = set ? 0 : ::GetLastError();
    if (h != INVALID_HANDLE_VALUE)
        ::CloseHandle(h);
    if (set)
        return LinkMade::Made;
    ::RemoveDirectoryW(path.c_str());
    return isNoSpace(error) ? LinkMade::Failed : LinkMade::NotAllowed;
}

// A link's own time, as the template's.
void keepLinkTime(const QString& dst, qint64 modified)
{
    if (modified < 0)
        return;
    const win::Handle h = openItself(dst, FILE_WRITE_ATTRIBUTES, false);
    const FILETIME t = fileTime(modified);
    if (h.valid())
        ::SetFileTime(h.get(), nullptr, nullptr, &t);
}

} // namespace

TreeRead HostFileSystem::readTree(const QString& path, qsizetype limit)
{
    TreeRead r;
    struct Level {
        win::Handle folder;
        QString host;
        QString prefix;
        QStringList names;
        qsizetype next = 0;
    };
    std::vector<Level> levels;
    const QString host = hostPath(path);
    // The common answers in the program's own words; the rest as the system words them.
    const auto topFailure = [](DWORD error) {
        switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            return CopyReason::noSuchFolder();
        case ERROR_DIRECTORY:
            return CopyReason::notAFolder();
        case ERROR_ACCESS_DENIED:
            return CopyReason::accessDenied();
        default:
            return systemReason(error);
        }
    };
    if (host.isEmpty()) {
        r.failure = topFailure(ERROR_PATH_NOT_FOUND);
        return r;
    }
    win::Handle top = win::openEntry(host, true);
    if (!top.valid()) {
        r.failure = topFailure(::GetLastError());
        return r;
    }
    const win::Node topNode = win::nodeOf(top.get());
    if (!topNode.folder()) {
        r.failure = topFailure(topNode.ok ? DWORD(ERROR_DIRECTORY) : topNode.error);
        return r;
    }
    const QString base = reached(top.get(), topNode, host);
    levels.push_back(Level{std::move(top), base, QString(), {}, 0});
    if (!win::readNames(levels.back().folder.get(), levels.back().names))
        r.failure = CopyReason::unreadable();
    // Ordinal on the UTF-16 names, as every host's listing is ordered.
    std::sort(levels.back().names.begin(), levels.back().names.end());
    while (!levels.empty() && r.ok()) {
        Level& level = levels.back();
        if (level.next == level.names.size()) {
            levels.pop_back();
            continue;
        }
        const QString name = level.names.at(level.next++);
        const QString at = inside(level.host, name);
        const Look look = lookAt(at);
        if (!look.ok) {
            if (!win::isAbsent(look.error)) // one that went meanwhile is simply not there
                r.failure = systemReason(look.error);
            continue;
        }
        if (r.entries.size() >= limit) {
            r.pastLimit = true;
            break;
        }
        TreeEntry e;
        e.path = level.prefix + name;
        e.kind = look.kind;
        e.size = look.kind == TreeEntry::Kind::File ? look.size : 0;
        e.modified = look.node.modified;
        e.volume = look.node.id.volume;
        e.node = look.node.id.node;
        e.birth = look.node.id.birth;
        e.mode = quint32(look.node.attributes & KeptAttributes);
        const QString prefix = e.path + u'/';
        r.entries.append(std::move(e));
        if (look.kind != TreeEntry::Kind::Folder)
            continue;
        Level inner{openFolder(at, look), at, prefix, {}, 0};
        if (!inner.folder.valid() ||
            !sameFolder(win::nodeOf(inner.folder.get()), r.entries.back()) ||
            !win::readNames(inner.folder.get(), inner.names)) {
            r.failure = CopyReason::unreadable();
            break;
        }
        std::sort(inner.names.begin(), inner.names.end());
        levels.push_back(std::move(inner)); // `level` is not used past here
    }
    if (!r.ok())
        r.entries.clear();
    return r;
}

TreeCopyResult HostFileSystem::copyTree(const QString& from, const QString& to,
                                        const QList<TreeEntry>& entries, bool withFiles,
                                        const CopyProceed& proceed)
{
    TreeCopyResult result;
    struct Level {
        QString path; // "" for the top
        QString src;  // host paths
        QString dst;
        win::Handle dstFolder; // pinned while it is filled
        const TreeEntry* entry = nullptr;
    };
    std::vector<Level> levels;
    const QString srcHost = hostPath(from);
    const QString dstHost = hostPath(to);
    DWORD error = ERROR_PATH_NOT_FOUND;
    QString srcBase;
    win::Handle dstTop;
    if (!srcHost.isEmpty() && !dstHost.isEmpty()) {
        const win::Handle srcTop = win::openEntry(srcHost, true);
        const win::Node srcNode = srcTop.valid() ? win::nodeOf(srcTop.get()) : win::Node();
        error = srcTop.valid() ? (srcNode.ok ? DWORD(ERROR_DIRECTORY) : srcNode.error)
                               : ::GetLastError();
        if (srcNode.folder()) {
            srcBase = reached(srcTop.get(), srcNode, srcHost);
            // The folder this run made, itself: a link put in its place is not followed.
            dstTop = openItself(dstHost, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES, true);
            const win::Node dstNode = dstTop.valid() ? win::nodeOf(dstTop.get()) : win::Node();
            error = !dstTop.valid()  ? ::GetLastError()
                    : !dstNode.ok    ? dstNode.error
                    : dstNode.link() ? DWORD(ERROR_CANT_RESOLVE_FILENAME)
                                     : DWORD(ERROR_DIRECTORY);
            if (!dstNode.folder() || dstNode.link())
                dstTop.reset();
        }
    }
    if (!dstTop.valid()) {
        const Reason why = systemReason(error);
        for (const TreeEntry& e : entries)
            result.notCopied.append({e.path, why});
        return result;
    }
    levels.push_back(Level{QString(), srcBase, dstHost, std::move(dstTop), nullptr});
    // A folder gets its attributes and time once everything is inside: each entry made inside
    // would move its time.
    auto leave = [&levels]() {
        const Level level = std::move(levels.back());
        levels.pop_back();
        if (!level.entry)
            return;
        FILE_BASIC_INFO info = {};
        if (level.entry->modified >= 0) {
            const FILETIME t = fileTime(level.entry->modified);
            info.LastWriteTime.LowPart = t.dwLowDateTime;
            info.LastWriteTime.HighPart = LONG(t.dwHighDateTime);
        }
        info.FileAttributes = DWORD(level.entry->mode) & KeptAttributes; // 0 leaves them
        ::SetFileInformationByHandle(level.dstFolder.get(), FileBasicInfo, &info, sizeof info);
    };
    auto fail = [&result](const TreeEntry& e, DWORD error) {
        if (isNoSpace(error)) {
            result.notCopied.append({e.path, CopyReason::noSpace()});
            result.cutShort = true;
        } else if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
            result.notCopied.append({e.path, CopyReason::exists()});
        } else if (win::isAbsent(error)) {
            result.notCopied.append({e.path, CopyReason::gone()});
        } else if (error == ERROR_CANT_RESOLVE_FILENAME || error == ERROR_DIRECTORY) {
            result.notCopied.append({e.path, CopyReason::changed()});
        } else {
            result.notCopied.append({e.path, systemReason(error)});
        }
    };

    qsizetype i = 0;
    for (; i < entries.size() && !result.cutShort; ++i) {
        const TreeEntry& e = entries.at(i);
        if (m_beforeCopyEntry)
            m_beforeCopyEntry(e.path);
        if (proceed && !proceed()) {
            result.stopped = true;
            break;
        }
        const qsizetype slash = e.path.lastIndexOf(u'/');
        const QString parent = slash < 0 ? QString() : e.path.left(slash);
        while (levels.size() > 1 && levels.back().path != parent)
            leave();
        if (levels.back().path != parent) {
            result.notCopied.append({e.path, CopyReason::parentMissing()});
            continue;
        }
        const QStringView name = QStringView(e.path).mid(slash + 1);
        const QString src = inside(levels.back().src, name);
        const QString dst = inside(levels.back().dst, name);
        switch (e.kind) {
        case TreeEntry::Kind::Folder: {
            if (!::CreateDirectoryW(win::systemPath(dst).c_str(), nullptr)) {
                fail(e, ::GetLastError());
                break;
            }
            const Look now = lookAt(src);
            win::Handle made = openItself(
                dst, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, true);
            const DWORD madeError = made.valid() ? 0 : ::GetLastError();
            const win::Node madeNode = made.valid() ? win::nodeOf(made.get()) : win::Node();
            if (!sameEntry(now, e) || !madeNode.folder() || madeNode.link()) {
                made.reset();
                // Made a moment ago and still empty: not left behind as a copy of nothing.
                ::RemoveDirectoryW(win::systemPath(dst).c_str());
                if (!now.ok)
                    fail(e, now.error);
                else if (madeError != 0)
                    fail(e, madeError);
                else
                    result.notCopied.append({e.path, CopyReason::changed()});
                break;
            }
            ++result.folders;
            levels.push_back(Level{e.path, src, dst, std::move(made), &e});
            break;
        }
        case TreeEntry::Kind::File: {
            if (!withFiles)
                break;
            // Held so that the copy reads the very file that was checked.
            const win::Handle held = openItself(src, FILE_READ_ATTRIBUTES, true);
            if (!held.valid()) {
                fail(e, ::GetLastError());
                break;
            }
            const Look before = lookAt(held.get());
            if (!sameEntry(before, e) || before.size != e.size ||
                before.node.modified != e.modified) {
                result.notCopied.append({e.path, CopyReason::changed()});
                break;
            }
            // What stands there is another's: told, and never removed below.
            if (::GetFileAttributesW(win::systemPath(dst).c_str()) != INVALID_FILE_ATTRIBUTES) {
                result.notCopied.append({e.path, CopyReason::exists()});
                break;
            }
            CopyWatch watch;
            watch.proceed = &proceed;
            watch.asked.start();
            // A link put in the file's place meanwhile would be copied as a link, never read
            // through, and then found changed.
            const BOOL copied = ::CopyFileExW(
                win::systemPath(src).c_str(), win::systemPath(dst).c_str(), onProgress, &watch,
                nullptr, COPY_FILE_FAIL_IF_EXISTS | COPY_FILE_COPY_SYMLINK);
            const DWORD copyError = copied ? 0 : ::GetLastError();
            if (!copied) {
                // Half a file is no copy; one that stood there first is another's.
                if (copyError != ERROR_FILE_EXISTS && copyError != ERROR_ALREADY_EXISTS)
                    removeFile(dst);
                if (watch.stopped || copyError == ERROR_REQUEST_ABORTED)
                    result.stopped = true;
                else
                    fail(e, copyError);
                break;
            }
            const Look after = lookAt(held.get());
            const Look arrived = lookAt(dst);
            if (!sameEntry(after, e) || after.size != e.size || after.node.modified != e.modified ||
                !arrived.ok || arrived.kind != TreeEntry::Kind::File || arrived.size != e.size) {
                removeFile(dst);
                result.notCopied.append({e.path, CopyReason::changed()});
                break;
            }
            ++result.files;
            result.bytes += e.size;
            break;
        }
        case TreeEntry::Kind::Link: {
            if (!withFiles)
                break;
            const win::Handle link = openItself(src, FILE_READ_ATTRIBUTES, false);
            const Look now = link.valid() ? lookAt(link.get()) : Look();
            std::vector<char> data(MAXIMUM_REPARSE_DATA_BUFFER_SIZE);
            DWORD got = 0;
            if (!sameEntry(now, e) ||
                !::DeviceIoControl(link.get(), FSCTL_GET_REPARSE_POINT, nullptr, 0, data.data(),
                                   DWORD(data.size()), &got, nullptr)) {
                result.notCopied.append({e.path, CopyReason::changed()});
                break;
            }
            ReparseHeader header;
            std::memcpy(&header, data.data(), std::min<size_t>(got, sizeof header));
            DWORD linkError = 0;
            LinkMade made = LinkMade::NotAllowed;
            if (got >= sizeof header && header.tag == IO_REPARSE_TAG_SYMLINK) {
                bool relative = false;
                const QString target = linkTarget(data, got, false, relative);
                if (target.isEmpty()) {
                    result.notCopied.append({e.path, CopyReason::changed()});
                    break;
                }
                const bool folder = (now.node.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
                made = makeSymbolicLink(dst, target, folder, linkError);
            } else if (got >= sizeof header && header.tag == IO_REPARSE_TAG_MOUNT_POINT) {
                made = makeJunction(dst, data, got, linkError);
            }
            if (made == LinkMade::NotAllowed) {
                result.notCopied.append({e.path, CopyReason::linkNotAllowed()});
                break;
            }
            if (made == LinkMade::Failed) {
                fail(e, linkError);
                break;
            }
            keepLinkTime(dst, e.modified);
            ++result.files;
            break;
        }
        case TreeEntry::Kind::Special:
            if (withFiles)
                result.notCopied.append({e.path, CopyReason::special()});
            break;
        }
        if (result.stopped)
            break; // within a file: that one is not copied either
    }
    noteRestNotCopied(result, entries, i, withFiles);
    while (!levels.empty())
        leave();
    return result;
}

qint64 HostFileSystem::freeBytes(const QString& path)
{
    const QString host = hostPath(path);
    if (host.isEmpty())
        return -1;
    // The long form names a folder only with its separator at the end.
    std::wstring folder = win::systemPath(host);
    if (folder.empty() || folder.back() != L'\\')
        folder += L'\\';
    ULARGE_INTEGER available;
    if (!::GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr))
        return -1;
    return qint64(available.QuadPart);
}
