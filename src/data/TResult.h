// Success, or a failure with the message the user is to see. What the address-file logic
// returns; the windows show the message.
#pragma once

#include <QString>

struct TResult {
    bool ok = true;
    QString message; // the text for the message box; empty on success

    static TResult success() { return {}; }
    static TResult failure(const QString &text) { return {false, text}; }
    explicit operator bool() const { return ok; }
};
