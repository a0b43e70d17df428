#pragma once

#include <QString>
#include <QUrl>

#include <functional>

class Prompter;
class QWidget;

// Opens NMAKER_INDEX.htm in `programFolder` in the desktop's viewer, or shows message 22 when
// the file is missing or nothing could be started to show it. `open` stands in for
// QDesktopServices::openUrl.
void openManual(Prompter& prompter, const QString& programFolder,
                const std::function<bool(const QUrl&)>& open = {});

// Shows the version dialog modally.
void showAbout(QWidget* parent);
