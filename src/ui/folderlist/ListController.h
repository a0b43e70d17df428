#pragma once

#include "folderlist/ListExport.h"
#include "run/RunServices.h"
#include "settings/Preferences.h"
#include "sheet/SheetImport.h"
#include "text/TextReader.h"

#include <QDate>
#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

class ListHost;
struct ReportRow;
class ListWindow;
class SheetPreview;
struct SeriesParameters;

// The folder-list commands: showing the list window, importing a list file into it, exporting
// the list, running it. It keeps the lines of the latest import for the export "as written"
// and makes the list window on first use. The rules are core's; this class only gathers,
// forwards and shows. What it needs of the window it is started from comes through ListHost.
class ListController : public QObject
{
    Q_OBJECT

public:
    // The choice of 拡張書式で展開 is kept in `preferences`, which the host owns and shares.
    ListController(ListHost& host, const RunServices& services, Preferences& preferences,
                   QObject* parent = nullptr);

    ListWindow* listWindow();
    const QStringList& rawListLines() const { return m_rawListLines; }

    // Whether imports read the extended list syntax; kept in the preferences file.
    bool extendedSyntax() const { return m_preferences.extendedListSyntax(); }
    void setExtendedSyntax(bool on);
    // What {date} reads; the system's clock unless a test sets another.
    void setClock(std::function<QDate()> today) { m_today = std::move(today); }

    void showList();
    // The series as the list's entries, to be looked at, edited, exported or run as a list;
    // with a template, what it brings is shown under each folder (measured once).
    void showSeries(const SeriesParameters& params);
    // From the main window: into the (empty) list, then the list window.
    void importList();
    // From the list window: the list is replaced by what the file holds; a cancelled dialog or
    // import leaves it as it was.
    void importIntoList();
    // From the list window's 貼り付け: cells copied from a spreadsheet (tab-separated, or CSV
    // where the clipboard offers it) through the table preview, each row an entry; plain
    // lines as a list file's lines. Added after the entries there are.
    void pasteIntoList();
    // For tests: answers the table preview in place of the user (true adds); unset, it is
    // shown modally.
    void setTablePreviewAnswer(std::function<bool(SheetPreview&)> answer)
    {
        m_previewAnswer = std::move(answer);
    }
    // The file of the latest import read again in the given encoding, in place of the list.
    void reimport(TextEncoding encoding);
    // From the list window: its entries (the selection, when there is one) or raw lines.
    void exportList(ExportKind kind);
    // The file an export goes to, asked for and tried: empty when cancelled or when it cannot
    // be written (then the box has said so).
    QString chooseExportFile();
    // Writes the lines whole or not at all; a failure gets its box.
    void writeExport(const QString& path, const QStringList& lines);
    // The list window's 作成 (0) and 削除 (1): every listed folder in one run.
    void runList(int index);

    // The report of the latest run, over `parent`; its リストに送る puts the folders it shows
    // into the list window, in place of the list.
    void showReport(QWidget* parent);
    bool hasReport() const;
    // The entries in place of the list, then the list window.
    void showEntries(const QStringList& entries);
    // The entries as a list file, or a report's rows as CSV, to a file the user picks.
    void exportEntries(const QStringList& entries);
    void exportReportCsv(const QList<ReportRow>& rows);

Q_SIGNALS:
    // A run of the list window is over: what can be undone may have changed.
    void runFinished();

private:
    void showBox(const QString& text, int style);
    // Reads the file into the list window, busy and cancellable meanwhile; the window whose
    // command it is shows the progress. False when nothing changed.
    bool importFile(const QString& path, EncodingChoice encoding, bool fromList);
    // A table through its preview: the import of its rows, or nothing when it was cancelled.
    std::optional<ListImport> previewTable(const std::function<SheetTable(const QString&)>& read,
                                           QWidget* parent, bool replaces);
    // What an accepted import does to the list: the entries in place of (or after) the list,
    // the lines for the export as written, the rejected lines told.
    bool takeImport(const ListImport& import, const QString& path, bool replace, bool append,
                    bool hasEncoding = true);

    ListHost& m_host;
    RunServices m_services;
    ListWindow* m_list = nullptr;
    QStringList m_rawListLines;
    Preferences& m_preferences;
    std::function<QDate()> m_today = [] { return QDate::currentDate(); };
    QString m_importPath; // of the latest import, for reading it again
    std::function<bool(SheetPreview&)> m_previewAnswer;
};
