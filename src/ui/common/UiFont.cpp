#include "UiFont.h"

#include <QStringList>

QFont uiFont(int pointSize, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans JP")});
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}
