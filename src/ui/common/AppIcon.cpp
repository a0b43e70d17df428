#include "AppIcon.h"

#include <QSize>
#include <QString>

QIcon appIcon()
{
    // The icons live in a static library, whose resource initialiser the linker would drop.
    static const bool registered = [] {
        Q_INIT_RESOURCE(nmaker);
        return true;
    }();
    Q_UNUSED(registered);

    // PNGs rather than the SVG: reading SVG would take one more Qt module.
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/nmaker-%1.png").arg(size), QSize(size, size));
    return icon;
}
