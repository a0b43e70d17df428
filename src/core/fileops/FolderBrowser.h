#pragma once

#include "FolderChooser.h"

#include <QString>

class FileSystem;
class Prompter;

// The folder browser: nine option properties and eight ways to open it, each rooted
// elsewhere. All of them go through the folder chooser; without one, every browse answers as
// a cancelled one. FileFolder carries one; anything with a file system can have its own.
class FolderBrowser
{
public:
    explicit FolderBrowser(FileSystem& fs);

    void setFolderChooser(FolderChooser* chooser) { m_chooser = chooser; }
    FolderChooser* folderChooser() const { return m_chooser; }
    // Shows the "no such folder" box of referUser; without one the box is left out.
    void setBrowsePrompter(Prompter* prompter) { m_prompter = prompter; }

    static QString instruction();

    QString referDesktop();
    QString referPrograms();
    QString referPersonal();
    QString referFavorites();
    QString referStartMenu();
    QString referDrives();
    QString referNetwork();
    // Rooted at `path`; a folder that does not exist gets "存在しないフォルダです" and nothing.
    QString referUser(const QString& path);

    quint32 browseFlags() const { return m_flags; }
    bool realFolderOnly() const { return bit(BrowseFlag::RealFolderOnly); }
    void setRealFolderOnly(bool on) { setBit(BrowseFlag::RealFolderOnly, on); }
    bool dontNetwork() const { return bit(BrowseFlag::DontNetwork); }
    void setDontNetwork(bool on) { setBit(BrowseFlag::DontNetwork, on); }
    bool addStatus() const { return bit(BrowseFlag::AddStatus); }
    void setAddStatus(bool on) { setBit(BrowseFlag::AddStatus, on); }
    bool networkOnlySelect() const { return bit(BrowseFlag::NetworkOnlySelect); }
    void setNetworkOnlySelect(bool on) { setBit(BrowseFlag::NetworkOnlySelect, on); }
    bool addFileText() const { return bit(BrowseFlag::AddFileText); }
    void setAddFileText(bool on) { setBit(BrowseFlag::AddFileText, on); }
    bool invalidItem() const { return bit(BrowseFlag::InvalidItem); }
    void setInvalidItem(bool on) { setBit(BrowseFlag::InvalidItem, on); }
    bool networkOnly() const { return bit(BrowseFlag::NetworkOnly); }
    void setNetworkOnly(bool on) { setBit(BrowseFlag::NetworkOnly, on); }
    bool networkPrintOnly() const { return bit(BrowseFlag::NetworkPrintOnly); }
    void setNetworkPrintOnly(bool on) { setBit(BrowseFlag::NetworkPrintOnly, on); }
    bool allResource() const { return bit(BrowseFlag::AllResource); }
    void setAllResource(bool on) { setBit(BrowseFlag::AllResource, on); }

private:
    bool bit(quint32 b) const { return (m_flags & b) != 0; }
    void setBit(quint32 b, bool on) { m_flags = on ? (m_flags | b) : (m_flags & ~b); }
    QString browseFolder(BrowseRoot root, const QString& path = {});

    FileSystem& m_fs;
    FolderChooser* m_chooser = nullptr;
    Prompter* m_prompter = nullptr;
    quint32 m_flags = 0;
};
