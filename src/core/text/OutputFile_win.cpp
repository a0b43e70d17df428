#include "OutputFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

Reason outputFileProblem(const QString& path, const QStringList& inputs)
{
    if (path.isEmpty() || path.contains(QChar(u'\0')))
        return OutputReason::badName();
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return OutputReason::notAFile();
    if (info.exists() && !info.isWritable())
        return OutputReason::readOnly();
    if (info.exists()) {
        const QString mine = info.canonicalFilePath();
        for (const QString& input : inputs) {
            if (!input.isEmpty() &&
                QFileInfo(input).canonicalFilePath().compare(mine, Qt::CaseInsensitive) == 0)
                return OutputReason::sameAsInput(input);
        }
    }
    QTemporaryFile probe(info.absolutePath() + QStringLiteral("/.nmaker-probe-XXXXXX"));
    if (!probe.open())
        return OutputReason::noFolder();
    return {};
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, Reason* why)
{
    auto fail = [why](const Reason& reason) {
        if (why)
            *why = reason;
        return false;
    };
    const QFileInfo info(path);
    if (path.isEmpty() || path.contains(QChar(u'\0')))
        return fail(OutputReason::badName());
    if (info.exists() && !info.isFile())
        return fail(OutputReason::notAFile());
    // A read-only file is the user's way of keeping it as it is.
    if (info.exists() && !info.isWritable())
        return fail(OutputReason::readOnly());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(OutputReason::noFolder());
    // flush() reports the failure of a delayed write, which commit() may not.
    if (file.write(bytes) != bytes.size() || !file.flush() ||
        file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return fail(OutputReason::notWritten());
    }
    return file.commit() || fail(OutputReason::notWritten());
}

bool makeOwnFolder(const QString& folder)
{
    return !folder.isEmpty() && QDir().mkpath(folder);
}
