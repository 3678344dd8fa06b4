#pragma once

#include "common/session.h"

namespace tavomi {

// One user command, one transaction: begins on construction, rolls back on destruction
// unless commit() was called. Guards nest: an inner guard joins the outer transaction.
class TransactionGuard
{
public:
    explicit TransactionGuard(Session &session)
        : m_session(session)
    {
        m_session.begin();
    }
    ~TransactionGuard()
    {
        if (!m_done) {
            try {
                m_session.rollback();
            } catch (...) {
            }
        }
    }
    TransactionGuard(const TransactionGuard &) = delete;
    TransactionGuard &operator=(const TransactionGuard &) = delete;

    void commit()
    {
        m_done = true;
        m_session.commit();
    }

private:
    Session &m_session;
    bool m_done = false;
};

} // namespace tavomi
