#pragma once

#include <QByteArray>
#include <QString>

// Names as a terminal shows them. A name that holds a control character (a line feed, an
// escape sequence, a bidirectional override) is written in the shell's $'…' form, as GNU ls
// does, so that one name is one line, what is printed is exactly what the run does, and no byte
// of a name reaches the terminal as a command. Other names stand as they are.
QString terminalName(const QString& name);

// Whether the character would act on a terminal, or hide what follows it, rather than show.
bool isControlCharacter(char32_t c);

// Bytes that are no text (an argument that is not UTF-8) in the same form, byte by byte.
QString terminalBytes(const QByteArray& bytes);
