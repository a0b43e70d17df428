#pragma once

#include <QString>

// Option bits of the folder browser, as the Windows shell names them. A host chooser honours
// what it can (RealFolderOnly above all) and ignores the rest.
namespace BrowseFlag
{
constexpr quint32 RealFolderOnly = 0x0001;    // only file-system folders can be chosen
constexpr quint32 DontNetwork = 0x0002;       // no network folders below the domain
constexpr quint32 AddStatus = 0x0004;         // a status line
constexpr quint32 NetworkOnlySelect = 0x0008; // only file-system ancestors
constexpr quint32 AddFileText = 0x0010;       // a field to type the name in
constexpr quint32 InvalidItem = 0x0020;       // a typed name is validated
constexpr quint32 NetworkOnly = 0x1000;       // only computers
constexpr quint32 NetworkPrintOnly = 0x2000;  // only printers
constexpr quint32 AllResource = 0x4000;       // files shown too
} // namespace BrowseFlag

// Where the browser starts: the shell's special folders, or a given folder.
enum class BrowseRoot {
    Desktop,
    Programs,
    Personal,
    Favorites,
    StartMenu,
    Drives,
    Network,
    Folder
};

struct FolderChoice {
    BrowseRoot root = BrowseRoot::Desktop;
    QString folder;      // the start for BrowseRoot::Folder
    quint32 flags = 0;   // BrowseFlag bits
    QString instruction; // shown where the user reads it, above the folders
};

// The port through which core asks the user for a folder. The Qt version is a folder dialog;
// tests script the answers.
class FolderChooser
{
public:
    virtual ~FolderChooser() = default;

    // The chosen folder's full path in the host's form (a root keeps its separator, any other
    // folder has none at its end), or an empty string when the user cancelled.
    virtual QString chooseFolder(const FolderChoice& choice) = 0;
};
