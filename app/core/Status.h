#pragma once

#include <QString>

#include <optional>
#include <utility>

// The outcome of an operation that can fail in a way the user must hear of:
// either success, or a text that says what went wrong (naming the file, the
// server, ...). Core code returns it; the windows turn it into a message box
// and the command-line sender into one line on standard error.
class Status
{
public:
    static Status success() { return Status(); }
    static Status failure(QString text) { return Status(std::move(text)); }

    bool ok() const { return !m_failed; }
    const QString& text() const { return m_text; }

private:
    Status() = default;
    explicit Status(QString text) : m_failed(true), m_text(std::move(text)) {}

    bool m_failed = false;
    QString m_text;
};

// A value, or the Status that explains why there is none.
template <typename T> class Result
{
public:
    Result(T value) : m_value(std::move(value)), m_status(Status::success()) {}
    Result(Status failure) : m_status(std::move(failure)) {}

    bool ok() const { return m_value.has_value(); }
    const Status& status() const { return m_status; }
    const T& value() const& { return *m_value; }
    T& value() & { return *m_value; }
    T&& value() && { return std::move(*m_value); }

private:
    std::optional<T> m_value;
    Status m_status;
};
