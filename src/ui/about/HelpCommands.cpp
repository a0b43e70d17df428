#include "HelpCommands.h"

#include "AboutDialog.h"
#include "i18n/Language.h"
#include "messages/Prompter.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

void openManual(Prompter& prompter, const QString& programFolder,
                const std::function<bool(const QUrl&)>& open)
{
    // The manual in the language the program speaks.
    const QString name = installedLanguage() == Language::English
                             ? QStringLiteral("NMAKER_INDEX_en.htm")
                             : QStringLiteral("NMAKER_INDEX.htm");
    const QString path = QDir::fromNativeSeparators(programFolder) + u'/' + name;
    // openUrl answers true once a launcher started, even for a missing file, so look first.
    bool opened = QFileInfo(path).isFile();
    if (opened) {
        const QUrl url = QUrl::fromLocalFile(path);
        opened = open ? open(url) : QDesktopServices::openUrl(url);
    }
    if (!opened)
        prompter.showMessage(22, u'\\' + name);
}

void showAbout(QWidget* parent)
{
    AboutDialog::showModal(parent);
}
