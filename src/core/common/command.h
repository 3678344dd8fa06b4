#pragma once

#include "common/error.h"
#include "common/session.h"

#include <QRandomGenerator>
#include <QThread>

namespace tavomi {

// Runs one user command (a body that opens its own TransactionGuard). When the database turns
// the command away because another workstation holds a lock or won a conflict (including a race
// for the same new bill or record number), the transaction has been rolled back and nothing of it
// stays, so the whole body runs again, a bounded number of times with a short random pause. Inside an outer transaction the body runs once: the
// outermost command is the one that retries.
template <class Body>
decltype(auto) runCommand(Session &session, Body &&body, int attempts = 6)
{
    if (session.inTransaction())
        return body();
    for (int attempt = 1;; ++attempt) {
        try {
            return body();
        } catch (const DbError &e) {
            if ((!e.transient() && e.kind() != DbError::Kind::Duplicate) || attempt >= attempts)
                throw;
        }
        QThread::msleep(5u * unsigned(attempt) + QRandomGenerator::global()->bounded(20u));
    }
}

} // namespace tavomi
