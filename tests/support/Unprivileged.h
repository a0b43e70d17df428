#pragma once

#include <functional>

// Runs `body` as an ordinary user: directly when the tests already run as one, in a child
// process switched to "nobody" when they run as root (who ignores permissions). Answers the
// body's result, or -1 when the switch failed.
int runUnprivileged(const std::function<int()>& body);

// The user id the body runs under.
unsigned unprivilegedUid();

class QString;
// Sets or clears the immutable flag of a file or folder (Linux, root, a file system that has
// it): even root cannot write there then. False where that cannot be done.
bool setImmutable(const QString& path, bool on);
