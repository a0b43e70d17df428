#include "RunReport.h"

#include "templates/TemplateTexts.h"

#include "text/TextFile.h"

#include <QCoreApplication>

void RunReport::runStarted(RunKind kind)
{
    m_started = true;
    m_kind = kind;
    m_rows.clear();
    std::fill(std::begin(m_counts), std::end(m_counts), 0);
}

void RunReport::folderDone(const FolderEvent& event)
{
    // The target folder of a series is no folder of the series: it is in the report when it
    // failed, counted nowhere.
    if (!event.target)
        ++m_counts[int(event.outcome)];
    // A reason is one line here: a table cell, a CSV field.
    QString reason = event.reason;
    if (event.copy)
        reason = reason.isEmpty() ? copyText(*event.copy) : reason + u' ' + copyText(*event.copy);
    reason.replace(QLatin1String("\r\n"), QLatin1String(" "));
    ReportRow row{event.outcome, event.path, reason, event.line, event.reasonCode, -1, -1, {}};
    if (event.copy) {
        row.copiedFolders = event.copy->folders;
        row.copiedFiles = event.copy->files;
        row.notCopied = event.copy->notCopied;
    }
    m_rows.append(std::move(row));
}

QString copyText(const TreeCopyResult& copy)
{
    QString text = TemplateText::copied(copy.folders, copy.files);
    if (copy.notCopied.isEmpty())
        return text;
    text += QCoreApplication::translate("RunReport", "。", "ends the counts of a template copy") +
            TemplateText::notCopiedCount(copy.notCopied.size()) + QStringLiteral(": ");
    // The first few by name; the JSON lines list every one.
    constexpr qsizetype Shown = 5;
    for (qsizetype i = 0; i < copy.notCopied.size() && i < Shown; ++i) {
        const NotCopied& n = copy.notCopied.at(i);
        if (i > 0)
            text += QCoreApplication::translate("RunReport", "、", "between entries not copied");
        text += n.path + QStringLiteral(" (") + n.why.text + u')';
    }
    if (copy.notCopied.size() > Shown)
        text += QStringLiteral(" …");
    return text;
}

QString RunReport::summary() const
{
    if (m_kind == RunKind::Create)
        return createSummary(count(FolderOutcome::Created), count(FolderOutcome::Existing),
                             count(FolderOutcome::Failed));
    if (m_kind == RunKind::Restore)
        return restoreSummary(count(FolderOutcome::Restored), count(FolderOutcome::Kept),
                              count(FolderOutcome::Missing), count(FolderOutcome::Failed));
    return deleteSummary(count(FolderOutcome::Trashed), count(FolderOutcome::Kept),
                         count(FolderOutcome::Missing), count(FolderOutcome::Failed));
}

namespace
{

// The word for an outcome untranslated: the report's CSV keeps it as it is, for the scripts
// that read its outcome column.
const char* outcomeWord(FolderOutcome outcome)
{
    switch (outcome) {
    case FolderOutcome::Created:
        return QT_TRANSLATE_NOOP("RunReport", "作成");
    case FolderOutcome::Existing:
        return QT_TRANSLATE_NOOP("RunReport", "既存");
    case FolderOutcome::Failed:
        return QT_TRANSLATE_NOOP("RunReport", "失敗");
    case FolderOutcome::Trashed:
        return QT_TRANSLATE_NOOP("RunReport", "削除");
    case FolderOutcome::Kept:
        return QT_TRANSLATE_NOOP("RunReport", "保持");
    case FolderOutcome::Missing:
        return QT_TRANSLATE_NOOP("RunReport", "なし");
    case FolderOutcome::Restored:
        return QT_TRANSLATE_NOOP("RunReport", "復元");
    }
    return "";
}

} // namespace

QString outcomeText(FolderOutcome outcome)
{
    return QCoreApplication::translate("RunReport", outcomeWord(outcome));
}

const char* outcomeName(FolderOutcome outcome)
{
    switch (outcome) {
    case FolderOutcome::Created:
        return "created";
    case FolderOutcome::Existing:
        return "existing";
    case FolderOutcome::Failed:
        return "failed";
    case FolderOutcome::Trashed:
        return "trashed";
    case FolderOutcome::Kept:
        return "kept";
    case FolderOutcome::Missing:
        return "missing";
    case FolderOutcome::Restored:
        return "restored";
    }
    return "";
}

QString createSummary(qint64 created, qint64 existing, qint64 failed)
{
    return QCoreApplication::translate("RunReport", "作成 %1、既存 %2、失敗 %3")
        .arg(created)
        .arg(existing)
        .arg(failed);
}

QString deleteSummary(qint64 trashed, qint64 kept, qint64 missing, qint64 failed)
{
    return QCoreApplication::translate("RunReport", "削除 %1、保持 %2、なし %3、失敗 %4")
        .arg(trashed)
        .arg(kept)
        .arg(missing)
        .arg(failed);
}

QString restoreSummary(qint64 restored, qint64 kept, qint64 missing, qint64 failed)
{
    return QCoreApplication::translate("RunReport", "復元 %1、保持 %2、なし %3、失敗 %4")
        .arg(restored)
        .arg(kept)
        .arg(missing)
        .arg(failed);
}

namespace
{

QString csvField(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

QByteArray reportCsv(const QList<ReportRow>& rows)
{
    // The header and the outcome column stay as they are in every language: scripts read them.
    QString words[7];
    for (int i = 0; i < 7; ++i)
        words[i] = QString::fromUtf8(outcomeWord(FolderOutcome(i)));
    QString text = QStringLiteral("結果,フォルダ,理由,行\r\n");
    for (const ReportRow& r : rows) {
        text += csvField(words[int(r.outcome)]) + QLatin1Char(',') + csvField(r.path) +
                QLatin1Char(',') + csvField(r.reason) + QLatin1Char(',') +
                (r.line >= 0 ? QString::number(r.line) : QString()) + QLatin1String("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

bool writeReportCsv(const QString& path, const QList<ReportRow>& rows)
{
    return writeFileAtomically(path, reportCsv(rows));
}
