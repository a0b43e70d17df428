#include "CodePage932Host.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>

namespace cp932::host
{

namespace
{

// ICU's name for it; a Qt without ICU has no such codec, and then nothing is converted.
constexpr const char* CodecName = "windows-31j";

} // namespace

bool available()
{
    return QStringDecoder(CodecName).isValid();
}

struct Converter::State {
    // Built in place and never moved: a moved-to decoder no longer reports ICU's errors.
    std::optional<QStringDecoder> decoder;
    State() { decoder.emplace(CodecName, QStringDecoder::Flag::Stateless); }
};

Converter::Converter() : m_state(std::make_unique<State>()) {}
Converter::~Converter() = default;

std::optional<QString> Converter::decode(QByteArrayView bytes)
{
    auto& decoder = *m_state->decoder;
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(bytes);
    if (!decoder.hasError())
        return text;
    // The error flag outlives resetState() with ICU: only a new decoder starts clean.
    m_state->decoder.emplace(CodecName, QStringDecoder::Flag::Stateless);
    return std::nullopt;
}

std::optional<QByteArray> Converter::encode(const QString& text)
{
    QStringEncoder encoder(CodecName);
    if (!encoder.isValid())
        return std::nullopt;
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

} // namespace cp932::host
