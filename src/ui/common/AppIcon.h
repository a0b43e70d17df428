#pragma once

#include <QIcon>

// The program's icon in every size that ships with it, for the windows and the version dialog.
QIcon appIcon();
