// Success, or a failure with the engine's status code and the message the user is to see.
// What the address-file logic returns; the windows show the message, and may choose their own
// for a code (a locked file, a damaged one and a full disk each get theirs).
#pragma once

#include "Status.h"

#include <QString>

struct TResult {
    bool ok = true;
    // Ok on success. On failure the engine's code, or for a request the logic itself refuses
    // (no file open, no record shown) InvalidArgument; a move that found no record there
    // (past either end, a record that is not visible) answers NotFound.
    xbase::StatusCode code = xbase::StatusCode::Ok;
    QString message; // the text for the message box; empty on success (and for NotFound moves)

    static TResult success() { return {}; }
    static TResult failure(const QString &text, xbase::StatusCode why = xbase::StatusCode::InvalidArgument)
    {
        return {false, why == xbase::StatusCode::Ok ? xbase::StatusCode::InvalidArgument : why, text};
    }
    // The engine's status as a result: its code, and `text` when given, else the status's own
    // message. A successful status gives success().
    static TResult fromStatus(const xbase::Status &status, const QString &text = QString())
    {
        if (status.ok())
            return success();
        return {false, status.code(), text.isEmpty() ? QString::fromStdString(status.message()) : text};
    }
    // A move that stayed because there is no record there: not an engine failure.
    static TResult notFound() { return {false, xbase::StatusCode::NotFound, QString()}; }

    bool isNotFound() const { return code == xbase::StatusCode::NotFound; }
    explicit operator bool() const { return ok; }
};
