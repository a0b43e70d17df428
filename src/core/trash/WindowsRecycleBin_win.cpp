#include "WindowsRecycleBin.h"

#ifdef Q_OS_WIN

#include "RecycleBinRecord.h"
#include "fileops/HostPath.h"
#include "fileops/TrashReasons.h"
#include "fileops/WindowsFiles.h"
#include "fileops/WindowsPaths.h"

#include <QCoreApplication>

#include <knownfolders.h>
#include <shellapi.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <shobjidl.h>

#include <sddl.h>

#include <cstring>
#include <vector>

namespace
{

// Holds one COM reference.
template <class T> class ComPtr
{
public:
    ComPtr() = default;
    ~ComPtr()
    {
        if (m_p)
            m_p->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T* operator->() const { return m_p; }
    T* get() const { return m_p; }
    T** put() { return &m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};

bool succeeded(HRESULT hr)
{
    return hr >= 0;
}

constexpr HRESULT NotImplemented = HRESULT(0x80004001L); // E_NOTIMPL
constexpr HRESULT Cancelled = HRESULT(0x800704C7L);      // HRESULT_FROM_WIN32(ERROR_CANCELLED)

TrashResult result(TrashResult::Kind kind, const QString& why = {})
{
    // The recycle bin's reasons are its own texts, or the system's in its language.
    return TrashResult{kind, Reason{why, why.isEmpty() ? nullptr : "recycle_failed"}, {}};
}

TrashResult failed(const QString& why)
{
    return result(TrashResult::Kind::Failed, why);
}

QString whyStayed()
{
    return QCoreApplication::translate("WindowsRecycleBin",
                                       "ごみ箱に移動できませんでした (元の場所に残っています)");
}
QString whyOutright()
{
    return QCoreApplication::translate(
        "WindowsRecycleBin",
        "ごみ箱に入れられないため、完全に削除される前に止めました (元の場所に残っています)");
}
QString whyGone()
{
    return QCoreApplication::translate(
        "WindowsRecycleBin",
        "ごみ箱に入らずに元の場所から消えました (完全に削除されたおそれがあります)");
}

// The recycle-bin key of an original path: the system compares names without case.
QString originKey(const QString& path)
{
    return WindowsPaths::cleaned(path).toCaseFolded();
}

QString fromStrRet(STRRET& s, PCUITEMID_CHILD child)
{
    wchar_t* text = nullptr;
    if (!succeeded(::StrRetToStrW(&s, child, &text)) || !text)
        return {};
    const QString out = QString::fromWCharArray(text);
    ::CoTaskMemFree(text);
    return out;
}

// The listing's texts of one entry: its original folder and its name.
QString originOf(IShellFolder2* bin, PCUITEMID_CHILD child)
{
    QString folder;
    const SHCOLUMNID from = {PSGUID_DISPLACED, PID_DISPLACED_FROM};
    VARIANT v;
    ::VariantInit(&v);
    if (succeeded(bin->GetDetailsEx(child, &from, &v)) && v.vt == VT_BSTR && v.bstrVal)
        folder = QString::fromWCharArray(v.bstrVal);
    ::VariantClear(&v);
    // Wine has only the columns: 0 the name, 1 the original folder.
    SHELLDETAILS details = {};
    if (folder.isEmpty() && succeeded(bin->GetDetailsOf(child, 1, &details)))
        folder = fromStrRet(details.str, child);
    QString name;
    STRRET s;
    if (succeeded(bin->GetDisplayNameOf(child, SHGDN_INFOLDER | SHGDN_FOREDITING, &s)))
        name = fromStrRet(s, child);
    if (name.isEmpty() && succeeded(bin->GetDetailsOf(child, 0, &details)))
        name = fromStrRet(details.str, child);
    if (folder.isEmpty() || name.isEmpty())
        return {};
    if (!folder.endsWith(QLatin1Char('\\')))
        folder += QLatin1Char('\\');
    return folder + name;
}

// Reports, for the one item of an operation, whether the shell would recycle it and what
// became of it.
// COM interfaces are released through Release(), never deleted through a base pointer.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif
class DeleteSink final : public IFileOperationProgressSink
{
public:
    bool refusedOutright = false;
    bool reached = false;
    HRESULT deleteResult = NotImplemented;
    bool newlyCreated = false;
    QString createdPath; // the item as it now lies in the recycle bin

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IFileOperationProgressSink)) {
            *out = static_cast<IFileOperationProgressSink*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the stack for one operation.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE PreDeleteItem(DWORD flags, IShellItem*) override
    {
        reached = true;
        // Without this flag the shell would destroy the item instead: never.
        if (!(flags & TSF_DELETE_RECYCLE_IF_POSSIBLE)) {
            refusedOutright = true;
            return Cancelled;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE PostDeleteItem(DWORD, IShellItem*, HRESULT hr,
                                             IShellItem* created) override
    {
        deleteResult = hr;
        newlyCreated = created != nullptr;
        wchar_t* name = nullptr;
        if (created && succeeded(created->GetDisplayName(SIGDN_FILESYSPATH, &name)) && name) {
            createdPath = QString::fromWCharArray(name);
            ::CoTaskMemFree(name);
        }
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE StartOperations() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE FinishOperations(HRESULT) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE PreRenameItem(DWORD, IShellItem*, LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE PostRenameItem(DWORD, IShellItem*, LPCWSTR, HRESULT,
                                             IShellItem*) override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE PreMoveItem(DWORD, IShellItem*, IShellItem*, LPCWSTR) override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE PostMoveItem(DWORD, IShellItem*, IShellItem*, LPCWSTR, HRESULT,
                                           IShellItem*) override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE PreCopyItem(DWORD, IShellItem*, IShellItem*, LPCWSTR) override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE PostCopyItem(DWORD, IShellItem*, IShellItem*, LPCWSTR, HRESULT,
                                           IShellItem*) override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE PreNewItem(DWORD, IShellItem*, LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE PostNewItem(DWORD, IShellItem*, LPCWSTR, LPCWSTR, DWORD, HRESULT,
                                          IShellItem*) override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UpdateProgress(UINT, UINT) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResetTimer() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE PauseTimer() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResumeTimer() override { return S_OK; }
};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

// No dialog of the shell's own: the program asks once and shows its own progress; only the
// warning before an outright deletion stays the shell's (and the sink refuses that anyway).
constexpr DWORD OperationFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI | FOF_ALLOWUNDO |
                                 FOF_WANTNUKEWARNING | FOFX_RECYCLEONDELETE;

// Opens a "$I" record, for removing it too when `forDelete`; nobody may write it meanwhile.
win::Handle openRecord(const QString& cleanPath, bool forDelete)
{
    const std::wstring path = win::systemPath(cleanPath);
    return win::Handle(::CreateFileW(path.c_str(), GENERIC_READ | (forDelete ? DELETE : 0),
                                     FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

// The record read through its handle; a record is a few hundred bytes at most.
std::optional<RecycleBinRecord> readRecord(HANDLE h)
{
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(h, &size) || size.QuadPart < 0 || size.QuadPart > 1 << 17)
        return std::nullopt;
    QByteArray bytes(qsizetype(size.QuadPart), '\0');
    DWORD got = 0;
    if (!::ReadFile(h, bytes.data(), DWORD(bytes.size()), &got, nullptr) ||
        qsizetype(got) != bytes.size())
        return std::nullopt;
    return RecycleBinRecord::parse(bytes);
}

struct RecordLook {
    win::Node node;
    std::optional<RecycleBinRecord> record;
};

RecordLook lookAtRecord(HANDLE h)
{
    RecordLook look{win::nodeOf(h), std::nullopt};
    if (look.node.ok && !look.node.folder() && !look.node.link())
        look.record = readRecord(h);
    return look;
}

// The name's parts: the recycle-bin folder and the entry in it.
bool splitLast(const QString& cleanPath, QString& folder, QString& name)
{
    const qsizetype cut = cleanPath.lastIndexOf(QLatin1Char('\\'));
    if (cut < 0 || cut + 1 >= cleanPath.size())
        return false;
    folder = cleanPath.left(cut);
    name = cleanPath.mid(cut + 1);
    return true;
}

// The "$I" record's name for the entry "$R…"; empty when the entry is no such name.
QString recordNameOf(const QString& entry)
{
    if (entry.size() < 3 || !entry.startsWith(QLatin1String("$R"), Qt::CaseInsensitive) ||
        entry.contains(QLatin1Char('\\')) || entry.contains(QLatin1Char('/')))
        return {};
    return QLatin1String("$I") + entry.mid(2);
}

// NtSetInformationFile renames relative to a folder's handle, which the Win32 call does not.
using SetInformationFile = LONG(WINAPI*)(HANDLE, void*, void*, ULONG, ULONG);
using StatusToError = ULONG(WINAPI*)(LONG);
constexpr ULONG FileRenameInformation = 10;

template <class F> F ntdllCall(const char* name)
{
    // Through a plain function pointer: the system's exports have no common type.
    return reinterpret_cast<F>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), name)));
}

// Renames the entry open as `item` to `name` in the folder open as `into`, never over
// anything and never across volumes; 0, or the system's error.
DWORD renameInto(HANDLE item, HANDLE into, const QString& name)
{
    static const auto set = ntdllCall<SetInformationFile>("NtSetInformationFile");
    static const auto toError = ntdllCall<StatusToError>("RtlNtStatusToDosError");
    if (!set || !toError)
        return ERROR_NOT_SUPPORTED;
    const std::wstring wide = name.toStdWString();
    const size_t size = offsetof(FILE_RENAME_INFO, FileName) + (wide.size() + 1) * sizeof(wchar_t);
    std::vector<ULONG_PTR> buffer(size / sizeof(ULONG_PTR) + 1, 0);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = FALSE;
    info->RootDirectory = into;
    info->FileNameLength = DWORD(wide.size() * sizeof(wchar_t));
    std::memcpy(info->FileName, wide.c_str(), wide.size() * sizeof(wchar_t));
    struct {
        LONG status;
        ULONG_PTR information;
    } io = {};
    const LONG status = set(item, &io, info, ULONG(size), FileRenameInformation);
    return status >= 0 ? 0 : toError(status);
}

// Opens the "$R" entry so that it can be renamed through this very handle.
win::Handle openForMove(const QString& cleanPath)
{
    const std::wstring path = win::systemPath(cleanPath);
    return win::Handle(::CreateFileW(
        path.c_str(), DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

bool sameNode(const FolderId& id, const win::Node& node)
{
    return node.ok && node.id.volume == id.volume && node.id.node == id.node;
}

} // namespace

WindowsRecycleBin::WindowsRecycleBin()
{
    const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    // S_FALSE: already started on this thread, which still needs its matching call.
    m_comStarted = succeeded(hr);
}

WindowsRecycleBin::~WindowsRecycleBin()
{
    if (m_comStarted)
        ::CoUninitialize();
}

TrashResult WindowsRecycleBin::moveToRecycleBin(const QString& path, const FolderId& expected,
                                                TrashItem::KeepIf keepIf)
{
    ++m_calls;
    const QString clean = hostPath(path);
    if (clean.isEmpty())
        return failed(QCoreApplication::translate("WindowsRecycleBin", "絶対パスではありません"));
    if (clean == WindowsPaths::rootOf(clean))
        return failed(QCoreApplication::translate(
            "WindowsRecycleBin", "ドライブや共有のルートはごみ箱に移動できません"));
    // The shell reads paths through the Win32 layer, which would mean another item.
    const WindowsPaths::Problem problem = WindowsPaths::pathProblem(clean);
    if (!problem.why.isEmpty())
        return failed(problem.why);

    // Held open to the end: it tells what this item is whatever happens to the path.
    const win::Handle held = win::openEntry(clean, false);
    if (!held.valid()) {
        const DWORD error = ::GetLastError();
        return win::isAbsent(error) ? result(TrashResult::Kind::Missing)
                                    : failed(win::errorText(error));
    }
    const win::Node item = win::nodeOf(held.get());
    if (!item.ok)
        return failed(win::errorText(item.error));
    if (expected.isKnown() && !expected.sameAs(item.id))
        return result(TrashResult::Kind::Replaced);

    if (keepIf != TrashItem::KeepIf::Never && item.folder()) {
        // Looked at again right before the move: it may have been filled since the check.
        const win::Handle target = item.link() ? win::openEntry(clean, true) : win::Handle();
        const win::Contents contents = win::readContents(
            item.link() ? target.get() : held.get(),
            keepIf == TrashItem::KeepIf::HoldsFile ? win::StopAt::File : win::StopAt::Anything);
        if (!contents.ok)
            return failed(
                QCoreApplication::translate("WindowsRecycleBin", "フォルダの中を読めません"));
        if (keepIf == TrashItem::KeepIf::HoldsFile ? contents.file : contents.anything)
            return result(TrashResult::Kind::Kept);
    }

    if (m_beforeMove)
        m_beforeMove(path);
    // The shell takes a path: what stands there now must still be the item held.
    const win::Node now = win::nodeAt(clean, false);
    if (!now.ok)
        return win::isAbsent(now.error) ? result(TrashResult::Kind::Missing)
                                        : failed(win::errorText(now.error));
    if (!now.sameNode(item))
        return result(TrashResult::Kind::Replaced);

    Outcome outcome;
    if (m_shell) {
        if (!m_before)
            m_before = countsByOrigin();
        m_shell(clean);
        outcome.ran = true;
        outcome.confirmLater = true;
    } else {
        if (m_shellKind != Shell::OldOperation)
            outcome = recycleWithFileOperation(clean);
        if (m_shellKind == Shell::OldOperation)
            outcome = recycleWithOldOperation(clean);
    }

    const win::Node after = win::nodeAt(clean, false);
    if (after.ok && after.sameNode(item)) {
        if (outcome.refusedOutright)
            return failed(whyOutright());
        return failed(outcome.why.isEmpty() ? whyStayed() : outcome.why);
    }
    if (!outcome.ran)
        return failed(outcome.why.isEmpty() ? whyGone() : outcome.why);
    if (outcome.confirmLater) {
        m_pending.append(Pending{m_calls - 1, originKey(clean)});
        return result(TrashResult::Kind::Trashed);
    }
    if (!outcome.recycled)
        return failed(whyGone());
    TrashResult done = result(TrashResult::Kind::Trashed);
    done.place = placeOf(outcome.recycledPath, clean);
    // Only the item held goes on record: anything else could be another's folder.
    if (done.place.isKnown() && !sameNode(done.place.entryId, item))
        done.place = {};
    return done;
}

TrashPlace WindowsRecycleBin::placeOf(const QString& recycled, const QString& original)
{
    const QString entryPath = WindowsPaths::cleaned(recycled);
    const QString from = WindowsPaths::cleaned(original);
    QString folder, entry;
    if (from.isEmpty() || !splitLast(entryPath, folder, entry))
        return {};
    const QString info = recordNameOf(entry);
    if (info.isEmpty())
        return {};
    const win::Node item = win::nodeAt(entryPath, false);
    const win::Handle h = openRecord(folder + QLatin1Char('\\') + info, false);
    if (!item.ok || !h.valid())
        return {};
    const RecordLook look = lookAtRecord(h.get());
    if (!look.record || originKey(look.record->original) != originKey(from))
        return {};
    TrashPlace p;
    p.trashDir = folder.toUtf8();
    p.entry = entry.toUtf8();
    p.info = info.toUtf8();
    // For a recycle-bin record: its size field and its deletion time as a FILETIME.
    p.infoStamp = {look.node.id.volume, look.node.id.node, look.record->size,
                   look.record->deletedAt};
    p.entryId = item.id;
    p.original = from.toUtf8();
    return p;
}

WindowsRecycleBin::Outcome WindowsRecycleBin::recycleWithFileOperation(const QString& cleanPath)
{
    Outcome outcome;
    ComPtr<IFileOperation> op;
    HRESULT hr = ::CoCreateInstance(CLSID_FileOperation, nullptr, CLSCTX_ALL, IID_IFileOperation,
                                    reinterpret_cast<void**>(op.put()));
    DeleteSink sink;
    DWORD cookie = 0;
    if (succeeded(hr))
        hr = op->Advise(&sink, &cookie);
    if (succeeded(hr))
        hr = op->SetOperationFlags(OperationFlags);
    // Wine has the class with nothing behind it: the older operation then, for the batch.
    if (!succeeded(hr)) {
        m_shellKind = Shell::OldOperation;
        return outcome;
    }
    m_shellKind = Shell::FileOperation;
    ComPtr<IShellItem> item;
    const std::wstring wide = cleanPath.toStdWString();
    hr = ::SHCreateItemFromParsingName(wide.c_str(), nullptr, IID_IShellItem,
                                       reinterpret_cast<void**>(item.put()));
    if (succeeded(hr))
        hr = op->DeleteItem(item.get(), nullptr);
    if (succeeded(hr)) {
        outcome.ran = true;
        hr = op->PerformOperations();
    }
    op->Unadvise(cookie);
    if (!succeeded(hr) && !outcome.ran)
        outcome.why = win::errorText(DWORD(hr));
    outcome.refusedOutright = sink.refusedOutright;
    outcome.recycled =
        sink.reached && !sink.refusedOutright && succeeded(sink.deleteResult) && sink.newlyCreated;
    outcome.recycledPath = sink.createdPath;
    return outcome;
}

WindowsRecycleBin::Outcome WindowsRecycleBin::recycleWithOldOperation(const QString& cleanPath)
{
    Outcome outcome;
    // This operation takes no long paths, and the listing that confirms it cuts them short.
    if (cleanPath.size() >= MAX_PATH) {
        outcome.why = QCoreApplication::translate(
            "WindowsRecycleBin", "パスが長すぎて、この Windows ではごみ箱に移動できません");
        return outcome;
    }
    if (!m_before)
        m_before = countsByOrigin();
    if (!m_before) {
        outcome.why = QCoreApplication::translate(
            "WindowsRecycleBin", "ごみ箱の中を確かめられないため移動しませんでした");
        return outcome;
    }
    // The double-NUL list form with one item.
    std::wstring from = cleanPath.toStdWString();
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FILEOP_FLAGS(FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI | FOF_ALLOWUNDO |
                             FOF_WANTNUKEWARNING);
    const int code = ::SHFileOperationW(&op);
    outcome.ran = true;
    outcome.confirmLater = true;
    if (code != 0)
        outcome.why = QCoreApplication::translate(
                          "WindowsRecycleBin", "ごみ箱に移動できませんでした (シェルのエラー %1)")
                          .arg(code);
    else if (op.fAnyOperationsAborted)
        outcome.why = whyStayed();
    return outcome;
}

std::optional<QStringList> WindowsRecycleBin::originalPaths()
{
    const bool started =
        succeeded(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    std::optional<QStringList> paths;
    {
        PIDLIST_ABSOLUTE location = nullptr;
        ComPtr<IShellFolder> desktop;
        ComPtr<IShellFolder2> bin;
        ComPtr<IEnumIDList> entries;
        if (succeeded(::SHGetKnownFolderIDList(FOLDERID_RecycleBinFolder, 0, nullptr, &location)) &&
            succeeded(::SHGetDesktopFolder(desktop.put())) &&
            succeeded(desktop->BindToObject(location, nullptr, IID_IShellFolder2,
                                            reinterpret_cast<void**>(bin.put())))) {
            const HRESULT hr = bin->EnumObjects(
                nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN,
                entries.put());
            if (succeeded(hr)) {
                paths.emplace();
                PITEMID_CHILD child = nullptr;
                // S_FALSE with no enumerator: an empty recycle bin.
                while (entries && entries->Next(1, &child, nullptr) == S_OK) {
                    const QString origin = originOf(bin.get(), child);
                    if (!origin.isEmpty())
                        paths->append(origin);
                    ::CoTaskMemFree(child);
                }
            }
        }
        if (location)
            ::CoTaskMemFree(location);
    }
    if (started)
        ::CoUninitialize();
    return paths;
}

std::optional<QHash<QString, int>> WindowsRecycleBin::countsByOrigin()
{
    const std::optional<QStringList> paths = originalPaths();
    if (!paths)
        return std::nullopt;
    QHash<QString, int> counts;
    for (const QString& p : *paths)
        ++counts[originKey(p)];
    return counts;
}

void WindowsRecycleBin::settle(QList<TrashResult>& results)
{
    if (m_pending.isEmpty())
        return;
    std::optional<QHash<QString, int>> after = countsByOrigin();
    const QString gone = whyGone(); // once for the batch
    for (const Pending& p : std::as_const(m_pending)) {
        if (p.index >= results.size() || results.at(p.index).kind != TrashResult::Kind::Trashed)
            continue;
        const bool arrived = after && m_before && after->value(p.key) > m_before->value(p.key);
        if (!arrived)
            results[p.index] = failed(gone);
    }
    m_pending.clear();
}

QString RecycleBinRestore::userSid()
{
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    const win::Handle held(token);
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<ULONG_PTR> buffer(size / sizeof(ULONG_PTR) + 1);
    wchar_t* text = nullptr;
    if (!size || !::GetTokenInformation(token, TokenUser, buffer.data(), size, &size) ||
        !::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text))
        return {};
    const QString sid = QString::fromWCharArray(text);
    ::LocalFree(text);
    return sid;
}

RecycleBinRestore::RecycleBinRestore() : m_sid(userSid()) {}

RestoreResult RecycleBinRestore::restore(const TrashPlace& place, bool dryRun)
{
    using Kind = RestoreResult::Kind;
    auto result = [](Kind kind, Reason why = {}) { return RestoreResult{kind, std::move(why)}; };

    // The record names this user's folder of a recycle bin, an entry of it and a place.
    const QString folder = WindowsPaths::cleaned(QString::fromUtf8(place.trashDir));
    const QString entry = QString::fromUtf8(place.entry);
    const QString info = recordNameOf(entry);
    const QString original = WindowsPaths::cleaned(QString::fromUtf8(place.original));
    QString binPath, sid, binRoot, binName;
    if (folder.isEmpty() || original.isEmpty() || original == WindowsPaths::rootOf(original) ||
        info.isEmpty() || info != QString::fromUtf8(place.info) ||
        !splitLast(folder, binPath, sid) || !splitLast(binPath, binRoot, binName))
        return result(Kind::Invalid);
    if (m_sid.isEmpty() || sid.compare(m_sid, Qt::CaseInsensitive) != 0 ||
        binName.compare(QLatin1String("$Recycle.Bin"), Qt::CaseInsensitive) != 0)
        return result(Kind::Invalid, TrashReason::notOwnRecycleBin());

    const win::Node bin = win::nodeAt(folder, false);
    if (!bin.ok)
        return win::isAbsent(bin.error)
                   ? result(Kind::Unavailable, TrashReason::recycleBinUnreachable(folder))
                   : result(Kind::Failed, TrashReason::systemError(int(bin.error)));
    if (!bin.folder() || bin.link())
        return result(Kind::Invalid, TrashReason::notOwnRecycleBin());

    const QString entryPath = folder + QLatin1Char('\\') + entry;
    const QString recordPath = folder + QLatin1Char('\\') + info;
    const win::Handle item = openForMove(entryPath);
    if (!item.valid()) {
        const DWORD error = ::GetLastError();
        if (!win::isAbsent(error))
            return result(Kind::Failed, TrashReason::systemError(int(error)));
        // Out of the bin: put back by other means (or by a run killed before its record
        // went, which goes now), or emptied.
        if (!sameNode(place.entryId, win::nodeAt(original, false)))
            return result(Kind::Gone);
        if (!dryRun) {
            const win::Handle stale = openRecord(recordPath, true);
            const RecordLook look = stale.valid() ? lookAtRecord(stale.get()) : RecordLook{};
            FILE_DISPOSITION_INFO gone = {TRUE};
            if (look.record &&
                sameNode({place.infoStamp.volume, place.infoStamp.node, -1}, look.node))
                ::SetFileInformationByHandle(stale.get(), FileDispositionInfo, &gone, sizeof gone);
        }
        return result(Kind::Back);
    }
    const win::Node node = win::nodeOf(item.get());
    if (!node.ok)
        return result(Kind::Failed, TrashReason::systemError(int(node.error)));
    if (!sameNode(place.entryId, node))
        return result(Kind::Replaced);

    const win::Handle record = openRecord(recordPath, !dryRun);
    if (!record.valid()) {
        const DWORD error = ::GetLastError();
        return win::isAbsent(error) ? result(Kind::Replaced)
                                    : result(Kind::Failed, TrashReason::systemError(int(error)));
    }
    const RecordLook look = lookAtRecord(record.get());
    if (!look.record || !sameNode({place.infoStamp.volume, place.infoStamp.node, -1}, look.node) ||
        look.record->size != place.infoStamp.size ||
        look.record->deletedAt != place.infoStamp.modified ||
        originKey(look.record->original) != originKey(original))
        return result(Kind::Replaced);

    QString parent, name;
    splitLast(original, parent, name);
    if (parent == WindowsPaths::rootOf(original).chopped(1))
        parent += QLatin1Char('\\');
    const win::Handle into = win::openEntry(parent, true);
    const win::Node there = win::nodeAt(original, false);
    if (dryRun) {
        if (!into.valid() && !m_planned.contains(originKey(parent)))
            return result(Kind::NoParent);
        if (there.ok)
            return result(Kind::Occupied);
        m_planned.insert(originKey(original));
        return result(Kind::Restored);
    }
    if (!into.valid()) {
        const DWORD error = ::GetLastError();
        return win::isAbsent(error) ? result(Kind::NoParent)
                                    : result(Kind::Failed, TrashReason::systemError(int(error)));
    }
    const win::Node intoNode = win::nodeOf(into.get());
    if (!intoNode.folder())
        return result(Kind::NoParent);
    if (there.ok)
        return result(Kind::Occupied);
    if (intoNode.id.volume != node.id.volume)
        return result(Kind::Unavailable, TrashReason::otherVolume());

    if (m_beforeMove)
        m_beforeMove(QString::fromUtf8(place.original));
    const DWORD error = renameInto(item.get(), into.get(), name);
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
        return result(Kind::Occupied);
    if (error == ERROR_NOT_SAME_DEVICE)
        return result(Kind::Unavailable, TrashReason::otherVolume());
    if (error != 0)
        return result(Kind::Failed, TrashReason::systemError(int(error)));
    // Once the item is back its record goes; a kill in between leaves a stale record that the
    // next attempt removes.
    FILE_DISPOSITION_INFO gone = {TRUE};
    ::SetFileInformationByHandle(record.get(), FileDispositionInfo, &gone, sizeof gone);
    return result(Kind::Restored);
}

#endif
