#pragma once

#include <QString>

namespace tavomi {

class Session;

// Who is logged in on this workstation. Filled by the login, read by every form that logs,
// stamps or checks permissions.
struct LoginIdentity
{
    bool loggedIn = false;
    QString workNumber;
    QString userName;
    QString site;
    QString loginDate;
    QString loginTime;
    QString companyName;

    static LoginIdentity &current();
};

// The computer name every log row of this program carries.
inline const QString kLocalComputer = QStringLiteral("本地计算机");

// Writes a log row for the logged-in user.
void logAction(Session &session, const QString &category, const QString &text);
// CheckRight for the logged-in user.
bool hasRight(Session &session, const QString &column);

} // namespace tavomi
