#pragma once

#include <QString>

// Why something went as it did: the text the user reads (Japanese, from one place per area)
// and a stable code that scripts read instead ("reason_code" in JSON).
struct Reason {
    QString text;
    const char* code = nullptr;

    bool isEmpty() const { return text.isEmpty(); }
};
