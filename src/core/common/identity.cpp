#include "common/identity.h"

#include "common/helpers.h"
#include "common/permissions.h"
#include "common/session.h"

namespace tavomi {

LoginIdentity &LoginIdentity::current()
{
    static LoginIdentity identity;
    return identity;
}

void logAction(Session &session, const QString &category, const QString &text)
{
    const LoginIdentity &who = LoginIdentity::current();
    AddOperationLog(session, kLocalComputer, who.userName, who.workNumber, category, text);
}

bool hasRight(Session &session, const QString &column)
{
    return CheckRight(session, LoginIdentity::current().workNumber, column);
}

} // namespace tavomi
