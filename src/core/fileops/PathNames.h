#pragma once

#include <QString>

// The name and path helpers that look at the text only, never at the disk. Host paths:
// '/' separates on POSIX; '\\', '/' and ':' on Windows.
namespace PathNames
{

// The last component, as the shell finds it: the text after the last separator that has
// something after it ("/a/b/" gives "b/").
QString getFileNameA(const QString& fullPath);
// The last component as the shell strips the path; a text without a folder part stays.
QString getFileNameAB(const QString& fullPath);
// The file's title: the last component, empty for a folder form or a wildcard.
QString getFileName(const QString& fullPath);
// The extension without its dot, empty when there is none.
QString getFileTypeA(const QString& fullPath);
// The last component without its extension; empty when either part is empty.
QString getNoTypeFileNameA(const QString& fullPath);
// The text before the first NUL; the whole text when there is none.
QString nullDel(const QString& buffer);

} // namespace PathNames
