#include "CodePage932Host.h"

#include <windows.h>

namespace cp932::host
{

bool available()
{
    return IsValidCodePage(932) != 0;
}

struct Converter::State {
};

Converter::Converter() : m_state(std::make_unique<State>()) {}
Converter::~Converter() = default;

std::optional<QString> Converter::decode(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return QString();
    const int size = int(bytes.size());
    const int need = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (need <= 0)
        return std::nullopt;
    QString text(need, Qt::Uninitialized);
    if (MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(), size,
                            reinterpret_cast<wchar_t*>(text.data()), need) != need)
        return std::nullopt;
    return text;
}

std::optional<QByteArray> Converter::encode(const QString& text)
{
    if (text.isEmpty())
        return QByteArray();
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int size = int(text.size());
    // No best fit: "‖" must not quietly become the bytes of "∥".
    BOOL lossy = FALSE;
    const int need =
        WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, size, nullptr, 0, nullptr, &lossy);
    if (need <= 0 || lossy)
        return std::nullopt;
    QByteArray bytes(need, Qt::Uninitialized);
    if (WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, size, bytes.data(), need, nullptr,
                            &lossy) != need ||
        lossy)
        return std::nullopt;
    return bytes;
}

} // namespace cp932::host
