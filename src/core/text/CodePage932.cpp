#include "CodePage932.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <atomic>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

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

#ifndef Q_OS_WIN
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
#endif

} // namespace

void setMissingForTests(bool missing)
{
    missingForTests = missing;
}

QString missingText()
{
    return QStringLiteral("この環境にはシフトJIS (コードページ 932) の文字コード変換がありません");
}

#ifdef Q_OS_WIN

namespace
{

std::optional<QString> systemDecode(QByteArrayView bytes)
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

} // namespace

bool available()
{
    return !missingForTests && IsValidCodePage(932) != 0;
}

std::optional<QString> decode(QByteArrayView bytes)
{
    if (!available() || hasStrayByte(bytes))
        return std::nullopt;
    return systemDecode(bytes);
}

std::optional<QByteArray> encode(const QString& text)
{
    if (!available())
        return std::nullopt;
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
    if (!available()) {
        text = QString(bytes.size(), QChar::ReplacementCharacter);
        return false;
    }
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

namespace
{

// ICU's name for it; a Qt without ICU has no such codec, and then nothing is converted.
constexpr const char* CodecName = "windows-31j";

} // namespace

bool available()
{
    return !missingForTests && QStringDecoder(CodecName).isValid();
}

std::optional<QString> decode(QByteArrayView bytes)
{
    if (!available())
        return std::nullopt;
    QStringDecoder decoder(CodecName, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError() || hasStrayByte(bytes))
        return std::nullopt;
    return text;
}

std::optional<QByteArray> encode(const QString& text)
{
    if (!available())
        return std::nullopt;
    QStringEncoder encoder(CodecName);
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
    if (!available() || !m_state->decoder.isValid()) {
        text = QString(bytes.size(), QChar::ReplacementCharacter);
        return false;
    }
    text = m_state->decoder.decode(bytes);
    if (!m_state->decoder.hasError() && !hasStrayByte(bytes))
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
