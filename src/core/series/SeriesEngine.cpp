#include "SeriesEngine.h"

#include "fileops/FileSystem.h"
#include "messages/Prompter.h"
#include "run/RunContext.h"
#include "settings/Options.h"

#include <exception>

SeriesEngine::SeriesEngine(FileSystem& fs, Prompter& prompter, const Options& options,
                           PathStyle style)
    : m_fs(fs), m_prompter(prompter), m_options(options), m_style(style)
{
}

void SeriesEngine::createSeries(const SeriesParameters& p, RunContext& context)
{
    startRun();
    if (!m_fs.folderExist(p.targetFolder)) {
        if (m_prompter.ask(8) != Answer::Yes)
            return;
        if (m_fs.createFolder(p.targetFolder) == CreateResult::PathNotFound) {
            m_prompter.ask(10);
            return;
        }
    }
    const int total = p.last - p.first + 1;
    for (int n = p.first; n <= p.last; ++n) {
        context.yieldOnce();
        if (context.isCancelRequested())
            return;
        context.reportProgress(n - p.first, total);
        try {
            if (createOneFolder(seriesFolderName(p, n)))
                return;
        } catch (const std::exception&) {
            // One folder going wrong never ends the run.
        }
    }
    context.reportProgress(total, total);
}

bool SeriesEngine::createOneFolder(const QString& path)
{
    switch (m_fs.createFolder(path)) {
    case CreateResult::Created:
        return false;
    case CreateResult::PathNotFound:
        m_prompter.ask(12);
        return true;
    case CreateResult::AlreadyExists:
        if (!m_options.confirmExisting() || m_ignoreExisting)
            return false;
        switch (m_prompter.ask(13, path)) {
        case Answer::Retry: // the existing folder stays untouched; go on with the next
            return false;
        case Answer::Ignore:
            m_ignoreExisting = true;
            return false;
        default:
            return true;
        }
    default:
        m_prompter.ask(14);
        return false;
    }
}

void SeriesEngine::deleteSeries(const SeriesParameters& p, RunContext& context)
{
    startRun();
    const int total = p.last - p.first + 1;
    QStringList paths;
    paths.reserve(total);
    if (!m_fs.folderExist(p.targetFolder)) {
        m_prompter.ask(15);
        return;
    }
    for (int n = p.first; n <= p.last; ++n) {
        context.yieldOnce();
        if (context.isCancelRequested())
            return; // nothing is deleted until every name is collected
        context.reportProgress(n - p.first, total);
        paths << seriesFolderName(p, n);
    }
    context.reportProgress(total, total);
    deleteFolders(paths, &context);
}

bool SeriesEngine::deleteFolders(const QStringList& paths, RunContext* context)
{
    const bool withContents = m_options.deleteNonEmpty();
    const QString anyFile = pathSeparator(m_style) + QStringLiteral("*.*");
    QStringList doomed;
    QString missing;
    const auto total = int(paths.size());
    for (int i = 0; i < total; ++i) {
        const QString& path = paths.at(i);
        // Looking at 100,000 folders takes seconds: keep the window painting and showing how
        // far it is. There is no cancel here; the trash's confirmation still lets the user out.
        if (context && i % 64 == 0) {
            context->yieldOnce();
            context->reportProgress(i, total);
        }
        if (m_fs.folderExist(path)) {
            if (withContents || !m_fs.fileExist(path + anyFile))
                doomed << path;
        } else {
            missing += path + QStringLiteral("\r\n");
        }
    }
    const bool ok = m_fs.recycled(toPathList(doomed));
    if (!ok)
        m_prompter.ask(16);
    if (!missing.isEmpty())
        m_prompter.ask(17, missing);
    return ok;
}
