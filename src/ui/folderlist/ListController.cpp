#include "ListController.h"

#include "FolderListModel.h"
#include "ListWindow.h"
#include "common/WindowRunContext.h"
#include "fileops/FileSystem.h"
#include "folderlist/ListFile.h"
#include "folderlist/ListFileChooser.h"
#include "folderlist/ListRun.h"
#include "main/MainWindow.h"
#include "messages/Prompter.h"
#include "run/FolderSteps.h"
#include "series/SeriesRules.h"
#include "text/TextFile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPushButton>

ListController::ListController(MainWindow& main, const RunServices& services)
    : QObject(&main), m_main(main), m_services(services)
{
}

ListWindow* ListController::listWindow()
{
    if (!m_list) {
        m_list = new ListWindow(m_services.prompter, &m_main);
        FileSystem& fs = m_services.steps.fileSystem();
        m_list->model().setExistenceProbe(
            [&fs](const QString& path) { return fs.folderExist(path); });
        connect(m_list, &ListWindow::importRequested, this, &ListController::importIntoList);
        connect(m_list, &ListWindow::exportRequested, this,
                [this](int kind) { exportList(static_cast<ExportKind>(kind), true); });
        connect(m_list, &ListWindow::runRequested, this, &ListController::runList);
    }
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
    list->model().clear();
    list->model().appendEntries(names);
    // Exported "as written", the series is its range line, as the main window exports it.
    m_rawListLines = {seriesRawListLine(params)};
    if (!list->isVisible())
        list->exec();
}

void ListController::importList()
{
    if (!m_services.listFiles)
        return;
    const QString path = m_services.listFiles->chooseToOpen(openListChoice());
    if (path.isEmpty())
        return;
    m_main.setCursor(Qt::WaitCursor);
    ListWindow* list = listWindow();
    list->setupListColumns();
    WindowRunContext context(&m_main, m_main.findChild<QPushButton*>(QStringLiteral("cmdExit")));
    const ListImport import = importListFile(path, &context);
    if (!import.opened) { // ends quietly, nothing changed
        m_main.unsetCursor();
        return;
    }
    if (!import.refusal.isEmpty()) {
        m_main.unsetCursor();
        showBox(import.refusal, MessageStyle::Ok | MessageStyle::IconWarning);
        return;
    }
    // Even an import that accepted nothing replaces the lines, so a later export "as written"
    // never writes the lines of an earlier file.
    m_rawListLines = import.rawLines;
    list->model().appendEntries(import.entries);
    if (const auto report = rejectedLineReport(import))
        m_services.prompter.showMessage(report->number, report->t1, report->t2, report->t3);
    if (!list->isVisible())
        list->exec();
    m_main.unsetCursor();
}

void ListController::importIntoList()
{
    ListWindow* list = listWindow();
    list->model().clear();
    importList();
    list->deselectAll();
}

void ListController::exportList(ExportKind kind, bool fromList)
{
    // Taken first: the file dialog's closing activates the list window, which deselects.
    const QStringList selection =
        fromList && kind == ExportKind::Expanded ? listWindow()->selectedEntries() : QStringList();

    SeriesParameters params;
    if (!m_main.getSeriesParameters(params) || !m_services.listFiles)
        return;
    const QString path = m_services.listFiles->chooseToSave(saveListChoice());
    if (path.isEmpty())
        return;
    const QString cannotWrite = QStringLiteral("リストファイルに書き込めませんでした。\r\n") + path;
    if (!canWriteFile(path)) {
        showBox(cannotWrite, MessageStyle::Ok | MessageStyle::IconError);
        return;
    }

    // The list window's own busy state holds its commands off, so the list cannot change
    // under the export, and its close button can cancel it.
    QStringList lines;
    if (fromList) {
        ListWindow* list = listWindow();
        list->enterBusyState();
        WindowRunContext context(list, list->exitButton());
        const QStringList& source = kind == ExportKind::Raw ? m_rawListLines
                                    : selection.isEmpty()   ? list->model().entries()
                                                            : selection;
        collectListLines(source, context, lines);
        list->leaveBusyState();
    } else {
        m_main.enterBusyState();
        if (kind == ExportKind::Raw) {
            lines << seriesRawListLine(params);
        } else {
            WindowRunContext context = m_main.runContext(QStringLiteral("エクスポート"));
            seriesExpandedListLines(params, context, lines);
        }
        m_main.leaveBusyState();
    }
    // Written whole or not at all; a cancelled export keeps the lines made so far.
    if (!writeListFile(path, lines))
        showBox(cannotWrite, MessageStyle::Ok | MessageStyle::IconError);

    if (fromList && m_list->busy().takeCloseAfterRun())
        m_list->closeList();
    if (!fromList && m_main.closeAfterRunRequested())
        m_main.close();
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
            showBox(QStringLiteral("リストの中に同一のフォルダが存在します。\r\n"
                                   "リストを修正してやり直して下さい。"),
                    MessageStyle::Ok | MessageStyle::IconWarning);
            break;
        case DuplicateCheck::Cancelled:
            break;
        case DuplicateCheck::Unique: {
            const BaseFolderSource base{
                m_main.fieldTexts().folder, MainWindow::programFolder(),
                QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName()};
            ListRun(m_services.steps, m_services.browser, base).run(entries, index == 0, context);
            break;
        }
        }
    }
    list->leaveBusyState();
    list->model().refreshExistence();
    m_main.updateUndoItem();
    if (list->busy().takeCloseAfterRun())
        list->closeList();
}
