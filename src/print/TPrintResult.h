// What a print-engine operation answers: success, or a failure with its kind and the text the
// user is to see. The recording reader, the recording player and the preview return it; only
// windows show the message. It must be looked at: dropping one needs a cast and a comment.
#pragma once

#include <QString>

class [[nodiscard]] TPrintResult
{
public:
    enum class Code {
        Ok,
        // A recording that is damaged or not a recording at all; nothing was played.
        Corruption,
        // The printer could not be opened, or the printing service failed.
        IoError,
    };

    TPrintResult() = default;
    static TPrintResult success() { return {}; }
    static TPrintResult corruption(const QString &message) { return {Code::Corruption, message}; }
    static TPrintResult ioError(const QString &message) { return {Code::IoError, message}; }

    bool ok() const { return m_code == Code::Ok; }
    explicit operator bool() const { return ok(); }
    Code code() const { return m_code; }
    // Empty on success.
    const QString &message() const { return m_message; }

private:
    TPrintResult(Code code, const QString &message) : m_code(code), m_message(message) {}

    Code m_code = Code::Ok;
    QString m_message;
};
