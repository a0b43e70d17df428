#pragma once

#include "run/FolderOutcome.h"

#include <QList>
#include <QString>
#include <QStringList>

// One folder of a run, as the report lists it.
struct ReportRow {
    FolderOutcome outcome = FolderOutcome::Failed;
    QString path;
    QString reason;
    qint64 line = -1; // the list line it came from (1 for the first), -1 when none
    const char* reasonCode = nullptr;
    // Of a folder that got a template's copy: what arrived, and what did not with why.
    int copiedFolders = -1;
    int copiedFiles = -1;
    QList<NotCopied> notCopied = {};
};

// What the latest run did, folder by folder: it listens to the folder steps and keeps every
// folder's outcome of the run that is going or went last, for the report window, the export
// of the report and the command line's --report.
class RunReport : public FolderListener
{
public:
    void folderDone(const FolderEvent& event) override;
    void runStarted(RunKind kind) override;

    bool hasRun() const { return m_started; }
    RunKind kind() const { return m_kind; }
    const QList<ReportRow>& rows() const { return m_rows; }
    // How many rows have each outcome, indexed by FolderOutcome.
    int count(FolderOutcome outcome) const { return m_counts[int(outcome)]; }

    // The summary line, as the command line prints it: "作成 118、既存 2、失敗 0" or
    // "削除 118、保持 2、なし 0、失敗 0", or for a deletion taken back
    // "復元 118、保持 2、なし 0、失敗 0".
    QString summary() const;

private:
    bool m_started = false;
    RunKind m_kind = RunKind::Create;
    QList<ReportRow> m_rows;
    int m_counts[7] = {};
};

// The summary lines of a creation, a deletion and a deletion taken back: the terminal and
// the report window say the same.
QString createSummary(qint64 created, qint64 existing, qint64 failed);
QString deleteSummary(qint64 trashed, qint64 kept, qint64 missing, qint64 failed);
QString restoreSummary(qint64 restored, qint64 kept, qint64 missing, qint64 failed);

// What a template copy did, as one line of a report: the counts, then what did not arrive.
QString copyText(const TreeCopyResult& copy);

// The word for an outcome, as the report shows it, and the name scripts read.
QString outcomeText(FolderOutcome outcome);
const char* outcomeName(FolderOutcome outcome);

// The rows as CSV: UTF-8 with a byte-order mark, so Japanese spreadsheet programs read it; a
// header line, then one line per row; fields quoted where they hold a comma, a quote or a line
// break. Written whole or not at all.
QByteArray reportCsv(const QList<ReportRow>& rows);
bool writeReportCsv(const QString& path, const QList<ReportRow>& rows);
