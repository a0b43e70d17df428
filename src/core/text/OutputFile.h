#pragma once

#include "Reason.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The one way the program writes a file the user reads or keeps (a report, a list export, the
// settings, the preferences): never onto someone else's file, never onto a file the user made
// read-only, never onto the file it reads, and whole or not at all.

// Why `path` may not be written, or an empty reason when it may: a folder, a FIFO or a device
// stands there; a read-only file (one the user may not write, or with no write permission at
// all); a link that another user put in a shared folder (sticky and writable by all, /tmp);
// the same file as one of `inputs`; a folder that is missing or takes no new file.
Reason outputFileProblem(const QString& path, const QStringList& inputs = {});

// Replaces the file at `path` by `bytes` all at once, keeping its permissions, or leaves it as
// it was and answers false, with why when asked. A link of the user's own is followed: its
// target is written.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, Reason* why = nullptr);

// Makes a folder of the user's own with every missing parent, private to the user; as root
// never inside another user's folder (a HOME that sudo left as it was). False when it is not
// there afterwards.
bool makeOwnFolder(const QString& folder);

// Whether a file can be written at `path`, as outputFileProblem() tells it.
inline bool canWriteFile(const QString& path)
{
    return outputFileProblem(path).isEmpty();
}

namespace OutputReason
{
inline Reason notAFile()
{
    return {QCoreApplication::translate(
                "OutputReason", "ファイルではないもの (フォルダ、FIFO、デバイス) があります"),
            "not_a_file"};
}
inline Reason readOnly()
{
    return {QCoreApplication::translate("OutputReason", "読み取り専用のファイルです"), "read_only"};
}
inline Reason foreignLink()
{
    return {QCoreApplication::translate("OutputReason",
                                        "共有フォルダにほかのユーザーが置いたリンクです"),
            "foreign_link"};
}
inline Reason brokenLink()
{
    return {QCoreApplication::translate("OutputReason", "行き先のないリンクです"), "broken_link"};
}
inline Reason sameAsInput(const QString& input)
{
    return {QCoreApplication::translate("OutputReason", "読み込むファイル %1 と同じファイルです")
                .arg(input),
            "same_as_input"};
}
inline Reason noFolder()
{
    return {QCoreApplication::translate("OutputReason",
                                        "書き込む先のフォルダがないか、新しいファイルを置けません"),
            "no_folder"};
}
inline Reason badName()
{
    return {QCoreApplication::translate("OutputReason", "ファイル名が正しくありません"),
            "bad_name"};
}
inline Reason notWritten()
{
    return {QCoreApplication::translate("OutputReason",
                                        "書き込めませんでした (ディスクがいっぱいなど)"),
            "not_written"};
}
} // namespace OutputReason
