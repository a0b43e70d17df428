#pragma once

#include <QString>
#include <QStringList>

class HostFileSystem;

// Lists what a folder holds, one level deep or through every level below it, as full paths:
// a folder always before its contents, one subfolder complete before the next entry of its
// parent. Links to folders are listed as folders but never entered; a folder that cannot be
// read is listed and adds nothing. Every counter reads -1 until its member has run, and after
// a run whose start folder was missing.
class FolderEnumeration
{
public:
    // Uses the host's path rules and its prompter for the missing-folder box.
    explicit FolderEnumeration(HostFileSystem& host);

    // All levels: the start folder, then every folder below it.
    QStringList sFolderPath(const QString& folderPath);
    // One level: the subfolders.
    QStringList getFolder(const QString& folderPath);
    // All levels: every file below the start folder.
    QStringList sFilePath(const QString& folderPath);
    // One level: the files.
    QStringList getFile(const QString& folderPath);
    // All levels: the start folder, then every folder and file below it. Folder entries end
    // with the separator here and in getFileFolder.
    QStringList sFileFolderPath(const QString& folderPath);
    // One level: the subfolders and files.
    QStringList getFileFolder(const QString& folderPath);

    // What the last run of each all-levels member returned.
    const QStringList& sFolderPathList() const { return m_sFolderPathList; }
    const QStringList& sFilePathList() const { return m_sFilePathList; }
    const QStringList& sFileFolderPathList() const { return m_sFileFolderPathList; }

    int sFolderPathCount() const { return m_sFolderPathCount; }
    int folderPathCount() const { return m_folderPathCount; }
    int sFilePathCount() const { return m_sFilePathCount; }
    int filePathCount() const { return m_filePathCount; }
    int bsFolderPathCount() const { return m_bsFolderPathCount; }
    int bsFilePathCount() const { return m_bsFilePathCount; }
    int bFolderPathCount() const { return m_bFolderPathCount; }
    int bFilePathCount() const { return m_bFilePathCount; }

private:
    enum class Lists { Folders, Files, Both };

    // One run: the list (never empty) and the run's counters, `folders` or `files` null where
    // the run has no such counter.
    QStringList run(const QString& folderPath, Lists lists, bool deep, int* folders, int* files);

    HostFileSystem& m_host;
    QStringList m_sFolderPathList{QString()};
    QStringList m_sFilePathList{QString()};
    QStringList m_sFileFolderPathList{QString()};
    int m_sFolderPathCount = -1;
    int m_folderPathCount = -1;
    int m_sFilePathCount = -1;
    int m_filePathCount = -1;
    int m_bsFolderPathCount = -1;
    int m_bsFilePathCount = -1;
    int m_bFolderPathCount = -1;
    int m_bFilePathCount = -1;
};
