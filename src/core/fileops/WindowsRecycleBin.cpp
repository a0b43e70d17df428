#include "WindowsRecycleBin.h"

#ifdef Q_OS_WIN

#include "HostPath.h"
#include "WindowsFiles.h"
#include "WindowsPaths.h"

#include <knownfolders.h>
#include <shellapi.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <shobjidl.h>

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

const QString WhyStayed = QStringLiteral("ごみ箱に移動できませんでした (元の場所に残っています)");
const QString WhyOutright = QStringLiteral(
    "ごみ箱に入れられないため、完全に削除される前に止めました (元の場所に残っています)");
const QString WhyGone =
    QStringLiteral("ごみ箱に入らずに元の場所から消えました (完全に削除されたおそれがあります)");

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
        return failed(QStringLiteral("絶対パスではありません"));
    if (clean == WindowsPaths::rootOf(clean))
        return failed(QStringLiteral("ドライブや共有のルートはごみ箱に移動できません"));
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
            return failed(QStringLiteral("フォルダの中を読めません"));
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
            return failed(WhyOutright);
        return failed(outcome.why.isEmpty() ? WhyStayed : outcome.why);
    }
    if (!outcome.ran)
        return failed(outcome.why.isEmpty() ? WhyGone : outcome.why);
    if (outcome.confirmLater) {
        m_pending.append(Pending{m_calls - 1, originKey(clean)});
        return result(TrashResult::Kind::Trashed);
    }
    return outcome.recycled ? result(TrashResult::Kind::Trashed) : failed(WhyGone);
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
    return outcome;
}

WindowsRecycleBin::Outcome WindowsRecycleBin::recycleWithOldOperation(const QString& cleanPath)
{
    Outcome outcome;
    // This operation takes no long paths, and the listing that confirms it cuts them short.
    if (cleanPath.size() >= MAX_PATH) {
        outcome.why = QStringLiteral("パスが長すぎて、この Windows ではごみ箱に移動できません");
        return outcome;
    }
    if (!m_before)
        m_before = countsByOrigin();
    if (!m_before) {
        outcome.why = QStringLiteral("ごみ箱の中を確かめられないため移動しませんでした");
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
        outcome.why = QStringLiteral("ごみ箱に移動できませんでした (シェルのエラー %1)").arg(code);
    else if (op.fAnyOperationsAborted)
        outcome.why = WhyStayed;
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
    for (const Pending& p : std::as_const(m_pending)) {
        if (p.index >= results.size() || results.at(p.index).kind != TrashResult::Kind::Trashed)
            continue;
        const bool arrived = after && m_before && after->value(p.key) > m_before->value(p.key);
        if (!arrived)
            results[p.index] = failed(WhyGone);
    }
    m_pending.clear();
}

#endif
