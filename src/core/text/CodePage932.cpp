#include "CodePage932.h"

#include <QStringDecoder>
#include <QStringEncoder>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace cp932
{

namespace
{

#ifndef Q_OS_WIN
// ICU's name for it; a Qt without ICU has no such codec, and then nothing is converted.
constexpr const char* CodecName = "windows-31j";
#endif

bool isLead(uchar b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrail(uchar b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// A lead byte at the very end is dropped by some decoders without a trace.
bool endsInLoneLead(QByteArrayView bytes)
{
    qsizetype i = 0;
    const qsizetype n = bytes.size();
    while (i < n) {
        if (!isLead(uchar(bytes[i]))) {
            ++i;
            continue;
        }
        if (i + 1 == n)
            return true;
        i += isTrail(uchar(bytes[i + 1])) ? 2 : 1;
    }
    return false;
}

} // namespace

#ifdef Q_OS_WIN

bool available()
{
    return IsValidCodePage(932) != 0;
}

std::optional<QString> decode(QByteArrayView bytes)
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

std::optional<QByteArray> encode(const QString& text)
{
    if (text.isEmpty())
        return QByteArray();
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int size = int(text.size());
    BOOL lossy = FALSE;
    const int need = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, size, nullptr, 0,
                                         nullptr, &lossy);
    if (need <= 0 || lossy)
        return std::nullopt;
    QByteArray bytes(need, Qt::Uninitialized);
    if (WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, size, bytes.data(), need, nullptr,
                            &lossy) != need ||
        lossy)
        return std::nullopt;
    const auto back = decode(bytes);
    if (!back || *back != text)
        return std::nullopt;
    return bytes;
}

struct LineDecoder::State {
};

LineDecoder::LineDecoder() : m_state(std::make_unique<State>()) {}
LineDecoder::~LineDecoder() = default;

bool LineDecoder::decode(QByteArrayView bytes, QString& text)
{
    if (const auto clean = cp932::decode(bytes)) {
        text = *clean;
        return true;
    }
    // Shown with U+FFFD where it went wrong: what decodes, byte by byte or pair by pair.
    text.clear();
    qsizetype i = 0;
    while (i < bytes.size()) {
        const qsizetype step = isLead(uchar(bytes[i])) && i + 1 < bytes.size() ? 2 : 1;
        const auto part = cp932::decode(bytes.sliced(i, step));
        text += part ? *part : QString(QChar::ReplacementCharacter);
        i += step;
    }
    return false;
}

#else

bool available()
{
    return QStringDecoder(CodecName).isValid();
}

std::optional<QString> decode(QByteArrayView bytes)
{
    QStringDecoder decoder(CodecName, QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(bytes);
    if (decoder.hasError() || endsInLoneLead(bytes))
        return std::nullopt;
    return text;
}

std::optional<QByteArray> encode(const QString& text)
{
    QStringEncoder encoder(CodecName);
    if (!encoder.isValid())
        return std::nullopt;
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    const auto back = decode(bytes);
    if (!back || *back != text)
        return std::nullopt;
    return bytes;
}

struct LineDecoder::State {
    QStringDecoder decoder{CodecName, QStringDecoder::Flag::Stateless};
};

LineDecoder::LineDecoder() : m_state(std::make_unique<State>()) {}
LineDecoder::~LineDecoder() = default;

bool LineDecoder::decode(QByteArrayView bytes, QString& text)
{
    if (!m_state->decoder.isValid()) {
        text = QString(bytes.size(), QChar::ReplacementCharacter);
        return false;
    }
    text = m_state->decoder.decode(bytes);
    if (!m_state->decoder.hasError() && !endsInLoneLead(bytes))
        return true;
    // The error flag outlives resetState() with ICU: only a new decoder starts clean.
    m_state->decoder = QStringDecoder(CodecName, QStringDecoder::Flag::Stateless);
    // ICU writes U+001A for bytes that are no character of code page 932.
    text.replace(QChar(0x1A), QChar::ReplacementCharacter);
    if (endsInLoneLead(bytes))
        text.append(QChar::ReplacementCharacter);
    return false;
}

#endif

} // namespace cp932
