#include "HelpCommands.h"

#include "AboutDialog.h"
#include "messages/Prompter.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

void openManual(Prompter& prompter, const QString& programFolder,
                const std::function<bool(const QUrl&)>& open)
{
    const QString path =
        QDir::fromNativeSeparators(programFolder) + QStringLiteral("/NMAKER_INDEX.htm");
    // openUrl answers true once a launcher started, even for a missing file, so look first.
    bool opened = QFileInfo(path).isFile();
    if (opened) {
        const QUrl url = QUrl::fromLocalFile(path);
        opened = open ? open(url) : QDesktopServices::openUrl(url);
    }
    if (!opened)
        prompter.showMessage(22, QStringLiteral("\\NMAKER_INDEX.htm"));
}

void showAbout(QWidget* parent)
{
    AboutDialog::showModal(parent);
}
