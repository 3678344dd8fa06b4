#pragma once

#include "common/error.h"

namespace tavomi {

// A refusal that belongs to one input: the form shows the message and puts the cursor
// into the box of that column.
class FieldError : public Error
{
public:
    FieldError(const QString &message, const QString &column)
        : Error(message)
        , m_column(column)
    {}
    const QString &column() const { return m_column; }

private:
    QString m_column;
};

} // namespace tavomi
