#include "SeriesEngine.h"

#include "fileops/FileSystem.h"
#include "messages/Prompter.h"
#include "run/FolderSteps.h"
#include "run/RunContext.h"

#include <QScopeGuard>

SeriesEngine::SeriesEngine(FolderSteps& steps) : m_steps(steps) {}

void SeriesEngine::createSeries(const SeriesParameters& p, RunContext& context)
{
    m_steps.startRun(RunKind::Create);
    const auto finished = qScopeGuard([this] { m_steps.finishRun(); });
    FileSystem& fs = m_steps.fileSystem();
    Prompter& prompter = m_steps.prompter();
    const int total = p.last - p.first + 1;
    // The template is measured and checked before the first question and the first folder.
    if (!m_steps.prepareTemplate(p.targetFolder, {}, total))
        return;
    if (!fs.folderExist(p.targetFolder)) {
        if (prompter.showMessage(8) != Answer::Yes)
            return;
        m_steps.startCreating();
        if (m_steps.createFolder(p.targetFolder) == CreateResult::PathNotFound) {
            m_steps.targetFailed(p.targetFolder);
            return;
        }
    } else {
        m_steps.startCreating();
    }
    QString name = seriesFolderName(p, p.first);
    const qsizetype head = p.targetFolder.size() + p.prefix.size();
    for (int n = p.first; n <= p.last; ++n) {
        const bool stop = context.runStep([&] {
            context.reportProgress(n - p.first, total);
            setSeriesFolderNumber(name, head, p, n);
            return m_steps.createOneFolder(name, &context);
        });
        if (stop)
            return;
    }
    context.reportProgress(total, total);
}

void SeriesEngine::deleteSeries(const SeriesParameters& p, RunContext& context)
{
    m_steps.startRun(RunKind::Delete);
    const auto finished = qScopeGuard([this] { m_steps.finishRun(); });
    const int total = p.last - p.first + 1;
    if (!m_steps.fileSystem().folderExist(p.targetFolder)) {
        m_steps.prompter().showMessage(15);
        return;
    }
    QStringList paths;
    paths.reserve(total);
    for (int n = p.first; n <= p.last; ++n) {
        if (context.nextStep())
            return; // nothing is deleted until every name is collected
        context.reportProgress(n - p.first, total);
        paths << seriesFolderName(p, n);
    }
    context.reportProgress(total, total);
    m_steps.deleteFolders(paths, &context);
}
