#include "ListController.h"

#include "FolderListModel.h"
#include "ListHost.h"
#include "ListWindow.h"
#include "SheetPreview.h"
#include "TemplateHintDelegate.h"
#include "common/WindowRunContext.h"
#include "fileops/FileSystem.h"
#include "folderlist/ListExport.h"
#include "folderlist/ListFile.h"
#include "folderlist/ListFileChooser.h"
#include "folderlist/ListRun.h"
#include "messages/Prompter.h"
#include "report/ReportWindow.h"
#include "run/FolderSteps.h"
#include "run/RunContext.h"
#include "run/RunReport.h"
#include "series/SeriesRules.h"
#include "settings/Options.h"
#include "sheet/Workbook.h"
#include "templates/FolderTemplate.h"
#include "text/TextFile.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>

#include <optional>

ListController::ListController(ListHost& host, const RunServices& services,
                               Preferences& preferences, QObject* parent)
    : QObject(parent), m_host(host), m_services(services), m_preferences(preferences)
{
}

void ListController::setExtendedSyntax(bool on)
{
    if (!m_preferences.setExtendedListSyntax(on))
        showBox(tr("拡張書式の設定を保存できませんでした。\r\n"
                   "この設定は NMaker を終了するまで有効です。\r\n") +
                    m_preferences.path(),
                MessageStyle::Ok | MessageStyle::IconWarning);
    if (m_list)
        m_list->setExtendedChecked(on);
}

ListWindow* ListController::listWindow()
{
    if (!m_list) {
        m_list = new ListWindow(m_services.prompter, m_host.hostWindow());
        FileSystem& fs = m_services.fs;
        m_list->model().setExistenceProbe(
            [&fs](const QString& path) { return fs.folderExist(path); });
        connect(m_list, &ListWindow::importRequested, this, &ListController::importIntoList);
        connect(m_list, &ListWindow::pasteRequested, this, &ListController::pasteIntoList);
        connect(m_list, &ListWindow::exportRequested, this,
                [this](int kind) { exportList(static_cast<ExportKind>(kind)); });
        connect(m_list, &ListWindow::runRequested, this, &ListController::runList);
        connect(m_list, &ListWindow::reportRequested, this, [this] { showReport(m_list); });
        connect(m_list, &ListWindow::reimportRequested, this, &ListController::reimport);
        connect(m_list, &ListWindow::extendedToggled, this, &ListController::setExtendedSyntax);
        m_list->setExtendedChecked(extendedSyntax());
    }
    // A run of the main window may have finished since the list window was last open.
    m_list->setReportEnabled(hasReport());
    return m_list;
}

void ListController::showBox(const QString& text, int style)
{
    m_services.prompter.prompt(PromptRequest{-1, text, style});
}

void ListController::showList()
{
    ListWindow* list = listWindow();
    list->setupListColumns();
    if (!list->isVisible())
        list->exec();
}

void ListController::showSeries(const SeriesParameters& params)
{
    ListWindow* list = listWindow();
    list->setupListColumns();
    QStringList names;
    names.reserve(params.last - params.first + 1);
    for (int n = params.first; n <= params.last; ++n)
        names << seriesFolderName(params, n);
    // The template as a run would read it now; a run measures it again for itself.
    const FolderTemplate chosen = m_services.options.folderTemplate();
    QString why;
    std::optional<TemplatePlan> plan;
    if (chosen.isSet())
        plan = measureTemplate(m_services.fs, chosen, &why);
    if (plan)
        list->setTemplateHint(templatePreviewLine(*plan, pathSeparator(m_services.steps.style())));
    else // a why keeps its end, which says what is wrong
        list->setTemplateHint(why, Qt::ElideMiddle);
    list->model().clear();
    list->model().appendEntries(names);
    // Exported "as written", the series is its range line, as the main window exports it.
    m_rawListLines = {seriesRawListLine(params)};
    if (!list->isVisible())
        list->exec();
}

namespace
{

QString reasonText(EncodingReason reason)
{
    switch (reason) {
    case EncodingReason::Asked:
        return QCoreApplication::translate("ListController", "指定");
    case EncodingReason::ByteOrder:
        return QCoreApplication::translate("ListController", "自動判定: BOM があるため");
    case EncodingReason::OnlyAscii:
        return QCoreApplication::translate("ListController", "自動判定: 半角英数字だけのため");
    case EncodingReason::NotUtf8:
        return QCoreApplication::translate("ListController",
                                           "自動判定: UTF-8 としては読めないため");
    case EncodingReason::LfOnly:
        return QCoreApplication::translate("ListController", "自動判定: 改行が LF だけのため");
    case EncodingReason::Utf8Text:
        return QCoreApplication::translate("ListController", "自動判定");
    case EncodingReason::Japanese932:
        return QCoreApplication::translate("ListController",
                                           "自動判定: シフトJIS として読むと日本語になるため");
    }
    return {};
}

} // namespace

bool ListController::importFile(const QString& path, EncodingChoice encoding, bool fromList)
{
    ListWindow* list = listWindow();
    list->setupListColumns();
    if (const std::optional<SheetFormat> format = sheetFormatOf(path)) {
        // A table: read whole (a workbook's sheet again when another is chosen) and looked
        // at in its preview before anything is added.
        TextEncoding used = TextEncoding::Utf8;
        EncodingReason why = EncodingReason::OnlyAscii;
        const auto read = [&](const QString& sheet) {
            if (*format == SheetFormat::Xlsx)
                return readWorkbook(path, sheet);
            return readDelimitedFile(path, delimiterOf(*format), encoding, &used, &why);
        };
        QWidget* parent = fromList ? static_cast<QWidget*>(list) : m_host.hostWindow();
        std::optional<ListImport> import = previewTable(read, parent, fromList);
        if (!import)
            return false;
        import->encoding = used;
        import->encodingReason = why;
        // A workbook has no text encoding to read it again in.
        return takeImport(*import, path, fromList, false, *format != SheetFormat::Xlsx);
    }
    // Busy like every long command: its other commands off, ｷｬﾝｾﾙ on its exit button.
    const QString what = tr("インポート");
    ListImportOptions options;
    options.encoding = encoding;
    options.syntax.extended = extendedSyntax();
    options.syntax.style = m_services.steps.style();
    options.syntax.today = m_today();
    std::optional<WindowRunContext> context;
    if (fromList) {
        list->enterBusyState();
        context.emplace(list, list->exitButton(), [list, what](int done, int total) {
            list->showProgress(what, done, total);
        });
    } else {
        m_host.enterBusyState();
        context.emplace(m_host.runContext(what));
    }
    options.progress = [&context](qint64 done, qint64 total) {
        // In kilobytes: the file is read twice, and 64 MB twice is more than an int of bytes.
        context->reportProgress(int(done / 1024), int(total / 1024));
        return !context->nextStep();
    };
    const ListImport import = importListFile(path, options);
    if (fromList)
        list->leaveBusyState();
    else
        m_host.leaveBusyState();

    return takeImport(import, path, fromList, false);
}

bool ListController::takeImport(const ListImport& import, const QString& path, bool replace,
                                bool append, bool hasEncoding)
{
    ListWindow* list = listWindow();
    // A cancelled import, one that could not be read and a refused file change nothing.
    if (import.cancelled || !import.opened)
        return false;
    if (!import.refusal.isEmpty()) {
        showBox(import.refusal, MessageStyle::Ok | MessageStyle::IconWarning);
        return false;
    }
    // Even an import that accepted nothing replaces the lines, so a later export "as written"
    // never writes the lines of an earlier file.
    if (append) {
        m_rawListLines += import.rawLines;
    } else {
        m_rawListLines = import.rawLines;
        m_importPath = path;
    }
    list->setTemplateHint({}); // the hint belongs to the series preview
    if (replace)
        list->model().clear();
    list->model().appendEntries(import.entries);
    if (!append && hasEncoding)
        list->showImportEncoding(import.encoding, reasonText(import.encodingReason));
    else if (!append)
        list->showImportEncoding(std::nullopt);
    if (const auto report = rejectedLineReport(import))
        m_services.prompter.showMessage(report->number, report->t1, report->t2, report->t3);
    return true;
}

std::optional<ListImport>
ListController::previewTable(const std::function<SheetTable(const QString&)>& read, QWidget* parent,
                             bool replaces)
{
    std::optional<ListImport> import;
    {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        SheetPreview preview(read, m_services.steps.style(), parent);
        QGuiApplication::restoreOverrideCursor();
        preview.setReplaces(replaces);
        const bool accepted =
            m_previewAnswer ? m_previewAnswer(preview) : preview.exec() == QDialog::Accepted;
        if (!accepted)
            return import;
        SheetImportOptions options = preview.options();
        options.syntax.extended = extendedSyntax();
        options.syntax.style = m_services.steps.style();
        options.syntax.today = m_today();
        import = importSheetTable(preview.table(), options);
    }
    return import;
}

void ListController::pasteIntoList()
{
    ListWindow* list = listWindow();
    if (list->busy().isBusy())
        return;
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime)
        return;
    // What a spreadsheet offers besides plain text says how its cells are separated.
    QString text;
    QChar delimiter = u'\t';
    bool table = true;
    if (mime->hasFormat(QStringLiteral("text/tab-separated-values"))) {
        text = QString::fromUtf8(mime->data(QStringLiteral("text/tab-separated-values")));
    } else if (mime->hasFormat(QStringLiteral("text/csv"))) {
        text = QString::fromUtf8(mime->data(QStringLiteral("text/csv")));
        delimiter = u',';
    } else {
        text = mime->text();
        table = text.contains(u'\t');
    }
    if (text.isEmpty())
        return;
    if (text.size() > MaxListFileBytes) {
        showBox(tr("貼り付ける内容が大きすぎます。(上限は 64 MB です)"),
                MessageStyle::Ok | MessageStyle::IconWarning);
        return;
    }
    list->setupListColumns();
    if (table) {
        const SheetTable cells = readDelimited(text, delimiter);
        const std::optional<ListImport> import =
            previewTable([&cells](const QString&) { return cells; }, list, false);
        if (import)
            takeImport(*import, {}, false, true);
        return;
    }
    // Lines as an imported file's lines are read: ranges expand, the extended syntax when on.
    ListSyntax syntax;
    syntax.extended = extendedSyntax();
    syntax.style = m_services.steps.style();
    syntax.today = m_today();
    ListImport import;
    import.opened = true;
    for (const QString& line :
         text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")), Qt::SkipEmptyParts)) {
        if (!importListLine(line, import, true, syntax))
            break;
    }
    takeImport(import, {}, false, true);
}

void ListController::importList()
{
    if (!m_services.listFiles || m_host.isBusy())
        return;
    const QString path = m_services.listFiles->chooseToOpen(openListChoice());
    if (path.isEmpty())
        return;
    const bool imported = importFile(path, EncodingChoice::Auto, false);
    // A close of the host during the import: the host closes, the list window stays shut.
    ListWindow* list = listWindow();
    if (imported && !m_host.isClosing() && !list->isVisible())
        list->exec();
}

void ListController::importIntoList()
{
    ListWindow* list = listWindow();
    if (!m_services.listFiles || list->busy().isBusy())
        return;
    const QString path = m_services.listFiles->chooseToOpen(openListChoice());
    if (!path.isEmpty())
        importFile(path, EncodingChoice::Auto, true);
    list->deselectAll();
    if (list->busy().takeCloseAfterRun())
        list->closeList();
}

void ListController::reimport(TextEncoding encoding)
{
    ListWindow* list = listWindow();
    if (m_importPath.isEmpty() || list->busy().isBusy())
        return;
    importFile(m_importPath,
               encoding == TextEncoding::Utf8 ? EncodingChoice::Utf8 : EncodingChoice::CodePage932,
               true);
    list->deselectAll();
    if (list->busy().takeCloseAfterRun())
        list->closeList();
}

QString ListController::chooseExportFile()
{
    if (!m_services.listFiles)
        return {};
    const QString path = m_services.listFiles->chooseToSave(saveListChoice());
    if (path.isEmpty())
        return {};
    if (!canWriteFile(path)) {
        showBox(tr("リストファイルに書き込めませんでした。\r\n") + path,
                MessageStyle::Ok | MessageStyle::IconError);
        return {};
    }
    return path;
}

void ListController::writeExport(const QString& path, const QStringList& lines)
{
    // Written whole or not at all; a cancelled export keeps the lines made so far.
    if (!writeListFile(path, lines))
        showBox(tr("リストファイルに書き込めませんでした。\r\n") + path,
                MessageStyle::Ok | MessageStyle::IconError);
}

void ListController::exportList(ExportKind kind)
{
    // Taken first: the file dialog's closing activates the list window, which deselects.
    ListWindow* list = listWindow();
    const QStringList selection =
        kind == ExportKind::Expanded ? list->selectedEntries() : QStringList();
    SeriesParameters params;
    if (!m_host.validateSeries(params))
        return;
    const QString path = chooseExportFile();
    if (path.isEmpty())
        return;
    // The list window's own busy state holds its commands off, so the list cannot change
    // under the export, and its close button can cancel it.
    QStringList lines;
    list->enterBusyState();
    WindowRunContext context(list, list->exitButton());
    const QStringList& source = kind == ExportKind::Raw ? m_rawListLines
                                : selection.isEmpty()   ? list->model().entries()
                                                        : selection;
    collectListLines(source, context, lines);
    list->leaveBusyState();
    writeExport(path, lines);
    if (list->busy().takeCloseAfterRun())
        list->closeList();
}

void ListController::runList(int index)
{
    ListWindow* list = listWindow();
    if (list->busy().isBusy())
        return;
    list->enterBusyState();
    WindowRunContext context(list, list->exitButton());
    const QStringList entries = list->model().entries();
    if (!entries.isEmpty()) {
        switch (checkDuplicates(entries, context)) {
        case DuplicateCheck::Duplicate:
            showBox(duplicateListText(), MessageStyle::Ok | MessageStyle::IconWarning);
            break;
        case DuplicateCheck::Cancelled:
            break;
        case DuplicateCheck::Unique: {
            const BaseFolderSource base{m_host.targetText(), m_services.programFolder,
                                        m_services.programName};
            ListRun(m_services.steps, m_services.browser, base).run(entries, index == 0, context);
            break;
        }
        }
    }
    list->leaveBusyState();
    list->model().refreshExistence();
    list->setReportEnabled(hasReport());
    Q_EMIT runFinished();
    if (list->busy().takeCloseAfterRun())
        list->closeList();
}

bool ListController::hasReport() const
{
    return m_services.report && m_services.report->hasRun();
}

void ListController::showReport(QWidget* parent)
{
    if (!hasReport())
        return;
    ReportWindow report(
        *m_services.report,
        ReportActions{[this](const QStringList& paths) { exportEntries(paths); },
                      [this](const QList<ReportRow>& rows) { exportReportCsv(rows); }},
        parent);
    if (report.exec() == ReportWindow::ToList)
        showEntries(report.pathsForList());
}

void ListController::showEntries(const QStringList& entries)
{
    ListWindow* list = listWindow();
    if (list->busy().isBusy())
        return;
    list->setupListColumns();
    list->setTemplateHint({});
    list->model().clear();
    list->model().appendEntries(entries);
    // Exported "as written", they are the lines that stand for themselves.
    QuietRun quiet; // a report's rows at once: few, or taken in one go
    m_rawListLines.clear();
    collectListLines(entries, quiet, m_rawListLines);
    if (!list->isVisible())
        list->exec();
}

void ListController::exportEntries(const QStringList& entries)
{
    const QString path = chooseExportFile();
    if (path.isEmpty())
        return;
    QuietRun quiet;
    QStringList lines;
    collectListLines(entries, quiet, lines);
    writeExport(path, lines);
}

void ListController::exportReportCsv(const QList<ReportRow>& rows)
{
    if (!m_services.listFiles)
        return;
    const ListFileChoice choice{tr("CSV に書き出す"),
                                {{tr("CSV ファイル (*.csv)"), QStringLiteral("*.csv")},
                                 {tr("すべてのファイル (*.*)"), QStringLiteral("*")}},
                                QStringLiteral("csv")};
    const QString path = m_services.listFiles->chooseToSave(choice);
    if (path.isEmpty())
        return;
    if (!writeReportCsv(path, rows))
        showBox(tr("ファイルに書き込めませんでした。\r\n") + path,
                MessageStyle::Ok | MessageStyle::IconError);
}
