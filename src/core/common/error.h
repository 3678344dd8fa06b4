#pragma once

#include <QString>
#include <stdexcept>

namespace tavomi {

// An error the user is meant to read. Engine code throws it; forms catch it and show message().
class Error : public std::runtime_error
{
public:
    explicit Error(const QString &message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// A database statement failed; the text carries the driver's message.
class DbError : public Error
{
public:
    enum class Kind {
        Other,
        Transient, // busy, locked, serialization failure or deadlock: the command may be run again
        Duplicate, // a unique index refused the row
    };
    explicit DbError(const QString &message, Kind kind = Kind::Other)
        : Error(message)
        , m_kind(kind)
    {}
    Kind kind() const { return m_kind; }
    bool transient() const { return m_kind == Kind::Transient; }

private:
    Kind m_kind;
};

} // namespace tavomi
