#pragma once

#include <QString>
#include <QStringList>

class FileSystem;
class FolderBrowser;
class RunContext;

// The folder browser as the target folder and the list's base folder use it: rooted at the
// desktop, real folders only. Empty when the user cancelled.
QString browseTargetFolder(FolderBrowser& browser);

// What a drop of file-manager items puts into the target-folder field: the last of them that
// is an existing folder, or nothing (files and vanished items do not count). Pending input
// gets a chance before every 20th item, so a drop of hundreds keeps the window painting.
QString lastExistingFolder(const QStringList& paths, FileSystem& fs, RunContext& context);
