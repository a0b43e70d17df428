#include "QtFolderChooser.h"

#include "UiFont.h"
#include "messages/MessageCatalogue.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace
{

QString firstExisting(std::initializer_list<QString> candidates)
{
    for (const QString& c : candidates) {
        if (!c.isEmpty() && QFileInfo(c).isDir())
            return c;
    }
    return QDir::rootPath();
}

QString location(QStandardPaths::StandardLocation where)
{
    return QStandardPaths::writableLocation(where);
}

} // namespace

QString QtFolderChooser::startFolder(const FolderChoice& choice)
{
    const QString home = QDir::homePath();
    switch (choice.root) {
    case BrowseRoot::Desktop: // the top of the user's namespace
        return firstExisting({home});
    case BrowseRoot::Programs:
    case BrowseRoot::StartMenu: // where the desktop's menu entries live
        return firstExisting({location(QStandardPaths::ApplicationsLocation), home});
    case BrowseRoot::Personal:
        return firstExisting({location(QStandardPaths::DocumentsLocation), home});
    case BrowseRoot::Favorites:
        return firstExisting({home});
    case BrowseRoot::Drives: // the volumes the system has mounted
    case BrowseRoot::Network:
        return QDir::rootPath();
    case BrowseRoot::Folder:
        return firstExisting({choice.folder, home});
    }
    return home;
}

QDialog* QtFolderChooser::makeDialog(const FolderChoice& choice, QWidget* parent)
{
    auto* dialog = new QDialog(parent);
    dialog->setObjectName(QStringLiteral("folderChooser"));
    dialog->setWindowTitle(QCoreApplication::translate("QtFolderChooser", "フォルダの参照 - ") +
                           applicationTitle());
    dialog->setFont(uiFont());
    auto* layout = new QVBoxLayout(dialog);
    auto* instruction = new QLabel(choice.instruction, dialog);
    instruction->setObjectName(QStringLiteral("instruction"));
    instruction->setWordWrap(true);
    layout->addWidget(instruction);

    // Qt's own dialog, so the instruction stands right above the folders it speaks of.
    auto* files = new QFileDialog(dialog, QString(), startFolder(choice));
    files->setObjectName(QStringLiteral("folderDialog"));
    files->setWindowFlags(Qt::Widget);
    files->setOption(QFileDialog::DontUseNativeDialog);
    files->setFileMode(QFileDialog::Directory);
    files->setOption(QFileDialog::ShowDirsOnly, !(choice.flags & BrowseFlag::AllResource));
    files->setOption(QFileDialog::DontResolveSymlinks);
    files->setAcceptMode(QFileDialog::AcceptOpen);
    layout->addWidget(files);
    QObject::connect(files, &QFileDialog::accepted, dialog, &QDialog::accept);
    QObject::connect(files, &QFileDialog::rejected, dialog, &QDialog::reject);
    dialog->resize(640, 460);
    return dialog;
}

QString QtFolderChooser::chooseFolder(const FolderChoice& choice)
{
    QDialog* dialog = makeDialog(choice, m_parent);
    auto* files = dialog->findChild<QFileDialog*>(QStringLiteral("folderDialog"));
    const bool chosen = dialog->exec() == QDialog::Accepted;
    const QStringList selected = files->selectedFiles();
    delete dialog;
    if (!chosen || selected.isEmpty())
        return {};
    // Directory mode accepts only folders that exist; the path comes in the host's form, a
    // root with its separator, anything else without one.
    const QString path = QDir::cleanPath(selected.front());
    if (!QFileInfo(path).isDir())
        return {};
    return QDir::toNativeSeparators(path);
}
