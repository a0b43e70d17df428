#include "CommandServices.h"

#include "fileops/HostPath.h"
#include "messages/MessageCatalogue.h"

#include <QDir>

CommandServices::CommandServices(const TerminalStreams& streams, bool create)
    : err(streams.err, streams.errIsTerminal), failures(err, create)
{
    host.setTrashShowing({false, false}); // a script asks nothing and has no window to show
    options.setCheckedIndex(Options::Create, 0);
    steps.addListener(&failures);
}

int CommandServices::finish(bool create)
{
    err.clearProgress();
    const FolderSteps::Tally& t = steps.tally();
    if (create)
        err.line(QStringLiteral("作成 %1、既存 %2、失敗 %3").arg(t.created).arg(t.existing).arg(t.failed));
    else
        err.line(QStringLiteral("削除 %1、保持 %2、なし %3、失敗 %4")
                     .arg(t.trashed)
                     .arg(t.kept)
                     .arg(t.missing)
                     .arg(t.failed));
    return failures.anyFailed() ? ExitStatus::Failed : ExitStatus::Done;
}

QString absoluteFolder(const QString& text)
{
    if (isAbsoluteHostPath(text))
        return text;
    const QString path = QDir::currentPath() + QLatin1Char('/') + text;
    // ".." is left to the file system, which follows links to apply it.
    return path.contains(QLatin1String("..")) ? path : QDir::cleanPath(path);
}

QString withSeparator(QString folder)
{
    const QChar sep = pathSeparator(hostPathStyle());
    if (!folder.endsWith(sep))
        folder += sep;
    return folder;
}

int outputStatus(LineOutput& out, ErrorOutput& err)
{
    if (out.flush())
        return ExitStatus::Done;
    err.line(QStringLiteral("nmaker: 標準出力に書き込めませんでした"));
    return ExitStatus::Failed;
}

QString catalogueText(int number, const QString& t1, const QString& t2, const QString& t3)
{
    const auto message = catalogueMessage(number, t1, t2, t3);
    return message ? message->text : QString();
}
