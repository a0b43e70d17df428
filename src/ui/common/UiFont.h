#pragma once

#include <QFont>

// "ＭＳ Ｐゴシック" where Windows has it, a Japanese face that Linux has otherwise.
QFont uiFont(int pointSize = 11, bool bold = false);
