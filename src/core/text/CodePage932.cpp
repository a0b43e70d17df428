#include "CodePage932.h"

#include "CodePage932Host.h"

#include <QCoreApplication>

#include <atomic>

namespace cp932
{

namespace
{

std::atomic<bool> missingForTests{false};

bool isLead(uchar b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrail(uchar b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// Single bytes that code page 932's table leaves empty; Windows still maps 0x80 (and, leniently,
// A0 and FD to FF) to some character, ICU maps none: both read them as errors here.
bool isUnassignedSingle(uchar b)
{
    return b == 0x80 || b == 0xA0 || b >= 0xFD;
}

// A lead byte at the very end is dropped by some decoders without a trace; an unassigned single
// byte is taken by others. Either makes the bytes no text.
bool hasStrayByte(QByteArrayView bytes)
{
    qsizetype i = 0;
    const qsizetype n = bytes.size();
    while (i < n) {
        const uchar b = uchar(bytes[i]);
        if (isLead(b)) {
            if (i + 1 == n)
                return true;
            i += isTrail(uchar(bytes[i + 1])) ? 2 : 1;
            continue;
        }
        if (isUnassignedSingle(b))
            return true;
        ++i;
    }
    return false;
}

std::optional<QString> decodeWith(host::Converter& converter, QByteArrayView bytes)
{
    if (hasStrayByte(bytes))
        return std::nullopt;
    return converter.decode(bytes);
}

} // namespace

void setMissingForTests(bool missing)
{
    missingForTests = missing;
}

QString missingText()
{
    return QCoreApplication::translate(
        "CodePage932", "この環境にはシフトJIS (コードページ 932) の文字コード変換がありません");
}

bool available()
{
    return !missingForTests && host::available();
}

std::optional<QString> decode(QByteArrayView bytes)
{
    if (!available())
        return std::nullopt;
    host::Converter converter;
    return decodeWith(converter, bytes);
}

std::optional<QByteArray> encode(const QString& text)
{
    if (!available())
        return std::nullopt;
    host::Converter converter;
    auto bytes = converter.encode(text);
    if (!bytes)
        return std::nullopt;
    const auto back = decodeWith(converter, *bytes);
    if (!back || *back != text)
        return std::nullopt;
    return bytes;
}

struct LineDecoder::State {
    host::Converter converter;
};

LineDecoder::LineDecoder() : m_state(std::make_unique<State>()) {}
LineDecoder::~LineDecoder() = default;

bool LineDecoder::decode(QByteArrayView bytes, QString& text)
{
    if (!available()) {
        text = QString(bytes.size(), QChar::ReplacementCharacter);
        return false;
    }
    if (auto clean = decodeWith(m_state->converter, bytes)) {
        text = std::move(*clean);
        return true;
    }
    // Shown with U+FFFD where it went wrong: what decodes, byte by byte or pair by pair.
    text.clear();
    qsizetype i = 0;
    while (i < bytes.size()) {
        const qsizetype step = isLead(uchar(bytes[i])) && i + 1 < bytes.size() ? 2 : 1;
        const auto part = decodeWith(m_state->converter, bytes.sliced(i, step));
        text += part ? *part : QString(QChar::ReplacementCharacter);
        i += step;
    }
    return false;
}

} // namespace cp932
