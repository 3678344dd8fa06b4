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
    using Error::Error;
};

} // namespace tavomi
