// The engine's result type: every operation that can fail returns a Status instead of throwing.
#pragma once

#include <string>
#include <utility>

namespace xbase {

/// What kind of failure a Status reports.
enum class StatusCode {
    Ok,
    NotFound,        ///< a file, field, tag or record that was asked for does not exist
    Corruption,      ///< a file's bytes do not fit its format; nothing was written to it
    IoError,         ///< the operating system refused a read, write, open or lock
    InvalidArgument, ///< the caller's input is wrong (bad expression, bad field spec, ...)
    Locked,          ///< another program or handle holds the file or record
};

/// Success, or a failure with a message for the user (in English, without a trailing period).
class [[nodiscard]] Status
{
public:
    Status() = default;
    Status(StatusCode code, std::string message) : m_code(code), m_message(std::move(message)) {}

    static Status Ok() { return Status(); }
    static Status NotFound(std::string m) { return {StatusCode::NotFound, std::move(m)}; }
    static Status Corruption(std::string m) { return {StatusCode::Corruption, std::move(m)}; }
    static Status IoError(std::string m) { return {StatusCode::IoError, std::move(m)}; }
    static Status InvalidArgument(std::string m) { return {StatusCode::InvalidArgument, std::move(m)}; }
    static Status Locked(std::string m) { return {StatusCode::Locked, std::move(m)}; }

    bool ok() const { return m_code == StatusCode::Ok; }
    explicit operator bool() const { return ok(); }
    StatusCode code() const { return m_code; }
    const std::string &message() const { return m_message; }

private:
    StatusCode m_code = StatusCode::Ok;
    std::string m_message;
};

} // namespace xbase

/// Returns from the calling function when `expr` yields a failed Status.
#define XBASE_TRY(expr)                                                                                      \
    do {                                                                                                     \
        ::xbase::Status xbase_try_status_ = (expr);                                                          \
        if (!xbase_try_status_.ok())                                                                         \
            return xbase_try_status_;                                                                        \
    } while (0)
