#include "ListRun.h"

#include "fileops/FileSystem.h"
#include "fileops/FolderBrowser.h"
#include "messages/Prompter.h"
#include "run/FolderSteps.h"
#include "run/RunContext.h"
#include "run/TargetFolder.h"
#include "text/TextRules.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <QSet>

namespace
{

// A yield costs a few microseconds; once per entry would make the check of 100,000 entries
// take longer than the rest of the run's preparation.
constexpr int entriesPerYield = 512;

} // namespace

DuplicateCheck checkDuplicates(const QStringList& entries, RunContext& context)
{
    QSet<QString> seen;
    seen.reserve(entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (i % entriesPerYield == 0 && context.nextStep())
            return DuplicateCheck::Cancelled;
        const qsizetype before = seen.size();
        seen.insert(entries.at(i));
        if (seen.size() == before)
            return DuplicateCheck::Duplicate;
    }
    return DuplicateCheck::Unique;
}

QString duplicateListText()
{
    return QCoreApplication::translate("ListRun", "リストの中に同一のフォルダが存在します。\r\n"
                                                  "リストを修正してやり直して下さい。");
}

namespace
{
constexpr size_t HashSeed = size_t(0x9E3779B97F4A7C15ull);
} // namespace

DuplicateFinder::DuplicateFinder(qsizetype expected)
{
    m_seen.reserve(expected);
}

void DuplicateFinder::see(const QString& entry)
{
    const size_t h = qHash(entry, HashSeed);
    if (m_seen.contains(h))
        m_twice.insert(h);
    else
        m_seen.insert(h);
}

bool DuplicateFinder::confirm(const QString& entry)
{
    if (!m_twice.contains(qHash(entry, HashSeed)))
        return false;
    const qsizetype before = m_suspects.size();
    m_suspects.insert(entry);
    return m_suspects.size() == before;
}

ListEntryCheck::ListEntryCheck(QString base, PathStyle style, qsizetype namedLimit)
    : m_base(std::move(base)), m_style(style), m_rootless(namedLimit), m_refused(namedLimit)
{
}

QString ListEntryCheck::add(const QString& entry)
{
    if (!carriesDrive(entry, m_style)) {
        if (m_base.isEmpty()) {
            m_rootless.add(entry);
            return entry;
        }
        const QString placed = m_base + entry;
        if (hasRefusedChars(placed, RefuseMode::Path, m_style))
            m_refused.add(placed);
        return placed;
    }
    if (hasRefusedChars(entry, RefuseMode::Path, m_style))
        m_refused.add(entry);
    return entry;
}

ListRun::ListRun(FolderSteps& steps, FolderBrowser& browser, const BaseFolderSource& base)
    : m_steps(steps), m_browser(browser), m_base(base)
{
}

QString ListRun::driveRootOf(const QString& entry, PathStyle style)
{
    if (style == PathStyle::Windows)
        return entry.left(3);
    // Only where a volume comes and goes can a missing "drive" be told. Asked of every entry
    // of a run, so the ordinary ones leave at the first look.
    if (!entry.startsWith(QLatin1String("/media/")) && !entry.startsWith(QLatin1String("/mnt/")) &&
        !entry.startsWith(QLatin1String("/run/media/")))
        return {};
    const QStringList parts = entry.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    const bool media = parts.size() >= 3 && parts.at(0) == QLatin1String("media");
    const bool runMedia = parts.size() >= 4 && parts.at(0) == QLatin1String("run") &&
                          parts.at(1) == QLatin1String("media");
    const bool mnt = parts.size() >= 2 && parts.at(0) == QLatin1String("mnt");
    if (runMedia)
        return QStringLiteral("/run/media/") + parts.at(2) + QLatin1Char('/') + parts.at(3);
    if (media)
        return QStringLiteral("/media/") + parts.at(1) + QLatin1Char('/') + parts.at(2);
    if (mnt)
        return QStringLiteral("/mnt/") + parts.at(1);
    return {};
}

bool isNetworkPath(const QString& entry, PathStyle style)
{
    // \\server\share and \\?\ alike: the program works on local folders only.
    return style == PathStyle::Windows && entry.startsWith(QLatin1String("\\\\"));
}

QString ListRun::askBaseFolder()
{
    const QString text = m_base.targetText;
    const QString named =
        text.isEmpty()
            ? m_base.programName + QCoreApplication::translate("ListRun", "のあるフォルダ")
            : text;
    QString folder;
    switch (m_steps.prompter().showMessage(26, named)) {
    case Answer::Yes:
        folder = browseTargetFolder(m_browser);
        break;
    case Answer::No:
        folder = text.isEmpty() ? m_base.programFolder : text;
        break;
    default:
        return {};
    }
    const QChar sep = pathSeparator(m_steps.style());
    if (!folder.isEmpty() && !folder.endsWith(sep))
        folder += sep;
    return folder;
}

void ListRun::run(QStringList entries, bool create, RunContext& context, const QList<qint64>& lines)
{
    const PathStyle style = m_steps.style();
    FileSystem& fs = m_steps.fileSystem();
    Prompter& prompter = m_steps.prompter();

    // Drives and the base folder first, for every entry, without a pause.
    QString base;
    bool skipDriveQuestion = false;
    for (QString& entry : entries) {
        // On Windows a line written with '/' is the same path with '\\', as in the target field.
        if (style == PathStyle::Windows)
            entry.replace(QLatin1Char('/'), QLatin1Char('\\'));
        // A network path is rooted of its own: never placed in the base folder.
        if (isNetworkPath(entry, style))
            continue;
        if (!carriesDrive(entry, style)) {
            if (base.isEmpty()) {
                base = askBaseFolder();
                if (base.isEmpty())
                    return;
            }
            entry = base + entry;
            continue;
        }
        const QString root = driveRootOf(entry, style);
        if (root.isEmpty() || skipDriveQuestion || fs.folderExist(root))
            continue;
        switch (prompter.showMessage(23, root)) {
        case Answer::Yes:
            skipDriveQuestion = true;
            break;
        case Answer::No:
            break;
        default:
            return;
        }
    }

    m_steps.startRun(create ? RunKind::Create : RunKind::Delete);
    const auto finished = qScopeGuard([this] { m_steps.finishRun(); });
    if (m_steps.hasListeners()) {
        const bool fromFile = lines.size() == entries.size();
        QHash<QString, qint64> lineOf;
        lineOf.reserve(entries.size());
        for (qsizetype i = 0; i < entries.size(); ++i)
            lineOf.insert(entries.at(i), fromFile ? lines.at(i) : i + 1);
        m_steps.setLines(std::move(lineOf));
    }
    // The template is measured and checked against every folder before anything is made.
    if (create && !m_steps.prepareTemplate({}, entries, entries.size()))
        return;
    if (create)
        m_steps.startCreating();
    QString refused;
    QStringList batch;
    bool failedStop = false;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString& entry = entries.at(i);
        const bool stop = context.runStep([&] {
            if (isNetworkPath(entry, style)) {
                m_steps.refuseFolder(entry, ListReason::networkPath());
                return false;
            }
            // A NUL (from an edited or pasted entry) would cut the path short where the system
            // reads it: refused like the characters a path may not hold.
            if (hasRefusedChars(entry, RefuseMode::Path, style) || entry.contains(QChar(u'\0'))) {
                refused += entry + QStringLiteral("\r\n");
                return false;
            }
            if (!create) {
                batch << entry;
                return false;
            }
            failedStop = m_steps.createOneFolder(entry, &context);
            return failedStop;
        });
        // A cancel, or a folder step that ends the run: no report, and in delete mode
        // nothing at all is deleted. After a failure that ends it, the entries it did not get
        // to are told as such: every entry has an outcome.
        if (stop) {
            const Reason notTried = ListReason::notTried();
            for (qsizetype j = i + 1; failedStop && j < entries.size(); ++j)
                m_steps.refuseFolder(entries.at(j), notTried);
            return;
        }
    }
    if (!create && !batch.isEmpty())
        m_steps.deleteFolders(batch, &context);
    if (!refused.isEmpty())
        prompter.showMessage(create ? 24 : 25, refused);
}
