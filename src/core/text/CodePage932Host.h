#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>
#include <optional>

// The host's own converter, and nothing more: which bytes are text and which texts can be
// written is decided once, in CodePage932.cpp, for every host alike.
namespace cp932::host
{

bool available();

class Converter
{
public:
    Converter();
    ~Converter();
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Nothing when the converter reports an error.
    std::optional<QString> decode(QByteArrayView bytes);
    std::optional<QByteArray> encode(const QString& text);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace cp932::host
