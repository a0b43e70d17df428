#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>
#include <optional>

// Code page 932 (Shift_JIS with the NEC and IBM extensions, as Japanese Windows writes it),
// without relying on one particular converter being there: the program must never read a
// list wrongly or write one in another encoding than it says.
namespace cp932
{

// Whether this build can convert code page 932 at all.
bool available();

// What to tell the user when it cannot.
QString missingText();

// For tests: while true, every function here behaves as in a build without a converter.
void setMissingForTests(bool missing);

// The text of the bytes, or nothing when any byte sequence is no character of code page 932
// (or no converter is there).
std::optional<QString> decode(QByteArrayView bytes);

// The bytes of the text, or nothing unless every character has its own code in code page 932
// and the bytes read back as the very same text (a few characters map only one way).
std::optional<QByteArray> encode(const QString& text);

// Decodes one line at a time, each on its own: a sequence cut at a line's end is an error.
class LineDecoder
{
public:
    LineDecoder();
    ~LineDecoder();
    LineDecoder(const LineDecoder&) = delete;
    LineDecoder& operator=(const LineDecoder&) = delete;

    // False when the bytes are not clean text; `text` then shows U+FFFD where they were not.
    bool decode(QByteArrayView bytes, QString& text);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace cp932
