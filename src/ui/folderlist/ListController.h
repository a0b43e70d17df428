#pragma once

#include "folderlist/ListExport.h"
#include "run/RunServices.h"
#include "text/TextReader.h"

#include <QObject>
#include <QStringList>

class ListWindow;
class MainWindow;
struct SeriesParameters;

// The folder-list commands of the main window: showing the list window, importing a list
// file into it and exporting the list or the series. It keeps the lines of the latest import
// for the export "as written" and makes the list window on first use. The rules are core's;
// this class only gathers, forwards and shows.
class ListController : public QObject
{
    Q_OBJECT

public:
    ListController(MainWindow& main, const RunServices& services);

    ListWindow* listWindow();
    const QStringList& rawListLines() const { return m_rawListLines; }

    void showList();
    // The series as the list's entries, to be looked at, edited, exported or run as a list.
    void showSeries(const SeriesParameters& params);
    // From the main window: into the (empty) list, then the list window.
    void importList();
    // From the list window: the list is replaced by what the file holds; a cancelled dialog or
    // import leaves it as it was.
    void importIntoList();
    // The file of the latest import read again in the given encoding, in place of the list.
    void reimport(TextEncoding encoding);
    // From either window; `fromList` exports the list window's entries or raw lines.
    void exportList(ExportKind kind, bool fromList);
    // The list window's 作成 (0) and 削除 (1): every listed folder in one run.
    void runList(int index);

private:
    void showBox(const QString& text, int style);
    // Reads the file into the list window, busy and cancellable meanwhile; the window whose
    // command it is shows the progress. False when nothing changed.
    bool importFile(const QString& path, EncodingChoice encoding, bool fromList);

    MainWindow& m_main;
    RunServices m_services;
    ListWindow* m_list = nullptr;
    QStringList m_rawListLines;
    QString m_importPath; // of the latest import, for reading it again
};
