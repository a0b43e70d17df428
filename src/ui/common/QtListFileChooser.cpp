#include "QtListFileChooser.h"

#include "UiFont.h"
#include "messages/MessageCatalogue.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

QStringList QtListFileChooser::nameFilters(const QList<FileFilter>& filters)
{
    QStringList out;
    for (const FileFilter& f : filters) {
        QStringList patterns = f.patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        // "*.*" means every file to Windows users; Qt's own dialog, used everywhere, would
        // skip names without a dot.
        for (QString& p : patterns) {
            if (p == QLatin1String("*.*"))
                p = QStringLiteral("*");
        }
        out << f.caption + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                   QLatin1Char(')');
    }
    return out;
}

QString QtListFileChooser::withDefaultExtension(const QString& path, const QString& extension)
{
    if (path.isEmpty() || extension.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + extension;
}

QFileDialog* QtListFileChooser::makeDialog(const ListFileChoice& choice, bool save, QWidget* parent)
{
    auto* dialog = new QFileDialog(parent, choice.title, QDir::currentPath());
    dialog->setObjectName(QStringLiteral("listFileDialog"));
    // Qt's own dialog on every desktop: the GTK one checks for overwriting before the
    // default extension is appended, and would replace list.txt when "list" was typed.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog->setNameFilters(nameFilters(choice.filters));
    dialog->setDefaultSuffix(choice.defaultExtension);
    dialog->setFont(uiFont());
    return dialog;
}

bool QtListFileChooser::askReplace(const QString& path)
{
    if (confirmReplace)
        return confirmReplace(path);
    QMessageBox box(QMessageBox::Warning, applicationTitle(),
                    QCoreApplication::translate("QtListFileChooser",
                                                "%1 は既に存在します。\r\n上書きしますか？")
                        .arg(QFileInfo(path).fileName()),
                    QMessageBox::NoButton, m_parent);
    box.setFont(uiFont());
    QPushButton* yes = box.addButton(QCoreApplication::translate("QtListFileChooser", "はい(&Y)"),
                                     QMessageBox::YesRole);
    QPushButton* no = box.addButton(QCoreApplication::translate("QtListFileChooser", "いいえ(&N)"),
                                    QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

QString QtListFileChooser::chooseToOpen(const ListFileChoice& choice)
{
    QFileDialog* dialog = makeDialog(choice, false, m_parent);
    const bool chosen = dialog->exec() == QDialog::Accepted;
    const QStringList files = dialog->selectedFiles();
    delete dialog;
    if (!chosen || files.isEmpty() || !QFileInfo(files.front()).isFile())
        return {};
    return QDir::toNativeSeparators(files.front());
}

QString QtListFileChooser::chooseToSave(const ListFileChoice& choice)
{
    QString start;
    for (;;) {
        QFileDialog* dialog = makeDialog(choice, true, m_parent);
        if (!start.isEmpty())
            dialog->selectFile(start);
        const bool chosen = dialog->exec() == QDialog::Accepted;
        const QStringList files = dialog->selectedFiles();
        delete dialog;
        if (!chosen || files.isEmpty())
            return {};
        // The question is about the file that will really be written.
        const QString path = withDefaultExtension(files.front(), choice.defaultExtension);
        const QFileInfo info(path);
        if (info.isDir())
            return {};
        // The question names it as the user writes paths.
        if (!info.exists() || askReplace(QDir::toNativeSeparators(path)))
            return QDir::toNativeSeparators(path);
        start = path; // "No": back to the dialog, as the system's save dialog does
    }
}
