#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tavomi {

class Session;

// A row of 权限密码 as the user form shows it. rights holds the permission columns that are "1".
struct UserRecord
{
    QString workNumber;
    QString name;
    QString level;
    QString site;
    QStringList rights;

    bool has(const QString &column) const { return rights.contains(column); }
};

// The values a new user starts with in the user form; it must be given another work number and
// a level before it can be saved.
inline const QString kTemplateWorkNumber = QStringLiteral("0000");
inline const QString kTemplateName = QStringLiteral("操作员");
inline const QString kTemplateLevel = QStringLiteral("级别");
inline const QString kUnsetSite = QStringLiteral("未设站点");

// The levels a user may be given (informational only).
const QStringList &userLevels();

enum class LoginOutcome {
    Ok,
    NoWorkNumber,      // nothing typed
    UnknownWorkNumber, // no such row
    WrongPassword,
    NoPassword,        // the stored password is NULL: this account cannot log in
};

enum class PasswordChangeOutcome {
    Changed,
    WrongOldPassword,
    NewPasswordsDiffer, // empty, or the two boxes differ
};

// Users, their passwords and permissions. Every write runs in its own transaction; refusals are
// thrown as Error with the text the user reads.
class UserService
{
public:
    explicit UserService(Session &session);

    // --- login and lock ---
    QStringList workNumbers() const;
    QStringList warehouseNames() const;
    // The user's name, or nothing when the work number is unknown.
    std::optional<QString> nameOf(const QString &workNumber) const;
    // Checks the password of the trimmed work number; on success fills the login identity
    // (site as given, company name, date and time) and writes the login log row.
    LoginOutcome login(const QString &workNumber, const QString &password, const QString &site);
    // Writes the lock log row for the logged-in user.
    void lock();
    // Tries to unlock: with administrator set, against the reserved administrator's password,
    // otherwise against the password of the row with this work number and name.
    // Every attempt writes a log row.
    bool unlock(const QString &workNumber, const QString &name, const QString &password, bool administrator);

    // --- the user form ---
    // Every user except the reserved administrator and the given (logged-in) work number.
    QList<UserRecord> listUsers(const QString &loggedInWorkNumber) const;
    std::optional<UserRecord> user(const QString &workNumber) const;
    // A new user as the form shows it: the template values, every right of the template
    // columns except POS前台销售 and 可查看商品进价.
    static UserRecord newUser();
    // The refusal text of the first save check that fails, empty when the user may be saved.
    // oldWorkNumber is the number the user had when it was shown (the template number for a new user).
    QString checkUser(const UserRecord &user, const QString &oldWorkNumber) const;
    // Runs the checks again, then inserts the new user (isNew) or updates the row of oldWorkNumber.
    // The password is not touched; a new user starts with the empty password.
    void saveUser(const UserRecord &user, const QString &oldWorkNumber, bool isNew);
    // Deletes the user's row (work number and name must both match); false when no row was deleted.
    bool deleteUser(const QString &workNumber, const QString &name);
    // The log row of "放弃此单据".
    void logNewUserAbandoned();

    // --- own password ---
    PasswordChangeOutcome changePassword(const QString &workNumber, const QString &oldPassword,
                                         const QString &newPassword, const QString &confirmation,
                                         bool useEmptyPassword);
    void logPasswordChangeAbandoned(const QString &workNumber);

private:
    void requireUserAdministration(const QString &workNumber) const;

    Session &m_session;
};

} // namespace tavomi
