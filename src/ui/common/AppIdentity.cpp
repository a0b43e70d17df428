#include "AppIdentity.h"

#include "AppIcon.h"

#include "Version.h"

#include <QApplication>

void setApplicationIdentity()
{
    QApplication::setApplicationName(QStringLiteral("NMaker"));
    QApplication::setApplicationVersion(QStringLiteral(NMAKER_VERSION_STRING));
    QGuiApplication::setDesktopFileName(QStringLiteral(NMAKER_APP_ID));
    QApplication::setWindowIcon(appIcon());
}
