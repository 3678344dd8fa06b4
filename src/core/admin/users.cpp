#include "admin/users.h"

#include "admin/password_hash.h"
#include "common/clock.h"
#include "common/error.h"
#include "common/helpers.h"
#include "common/identity.h"
#include "common/permissions.h"
#include "common/session.h"
#include "common/transaction.h"

#include <QSqlQuery>

namespace tavomi {

namespace {

const QString kNoCompany = QStringLiteral("还未填写公司信息");
const QString kUserAdministration = QStringLiteral("增加操作员");

QString userColumns()
{
    return QStringLiteral("工号,姓名,级别,登陆站点,") + permissionColumns().join(QLatin1Char(','));
}

UserRecord readUser(const QSqlQuery &q)
{
    UserRecord u;
    u.workNumber = q.value(0).toString();
    u.name = q.value(1).toString();
    u.level = q.value(2).toString();
    u.site = q.value(3).toString();
    const QStringList &columns = permissionColumns();
    for (int i = 0; i < columns.size(); ++i)
        if (q.value(4 + i).toString().trimmed() == QLatin1String("1"))
            u.rights << columns.at(i);
    return u;
}

QString flag(const UserRecord &u, const QString &column)
{
    return u.has(column) ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

const QStringList &userLevels()
{
    static const QStringList levels = {QStringLiteral("系统管理员"), QStringLiteral("销售员"), QStringLiteral("采购员"),
                                       QStringLiteral("仓库管理员"), QStringLiteral("财务专员"), QStringLiteral("经理"),
                                       QStringLiteral("POS前台销售员"), QStringLiteral("其它")};
    return levels;
}

UserService::UserService(Session &session)
    : m_session(session)
{
}

QStringList UserService::workNumbers() const
{
    QStringList out;
    QSqlQuery q = m_session.run(QStringLiteral("select 工号 from 权限密码 order by 工号"));
    while (q.next())
        out << q.value(0).toString();
    return out;
}

QStringList UserService::warehouseNames() const
{
    QStringList out;
    QSqlQuery q = m_session.run(QStringLiteral("select 货位名称 from 货位 order by 货位编码"));
    while (q.next())
        out << q.value(0).toString();
    return out;
}

std::optional<QString> UserService::nameOf(const QString &workNumber) const
{
    QSqlQuery q = m_session.run(QStringLiteral("select 姓名 from 权限密码 where 工号=?"), {workNumber.trimmed()});
    if (!q.next())
        return std::nullopt;
    return q.value(0).toString();
}

LoginOutcome UserService::login(const QString &workNumber, const QString &password, const QString &site)
{
    const QString number = workNumber.trimmed();
    if (number.isEmpty())
        return LoginOutcome::NoWorkNumber;
    QSqlQuery q = m_session.run(QStringLiteral("select 工号,姓名,密码 from 权限密码 where 工号=?"), {number});
    if (!q.next())
        return LoginOutcome::UnknownWorkNumber;
    const QVariant stored = q.value(2);
    if (stored.isNull())
        return LoginOutcome::NoPassword;
    if (!passwords::matches(stored, password))
        return LoginOutcome::WrongPassword;

    LoginIdentity who;
    who.loggedIn = true;
    who.workNumber = q.value(0).toString();
    who.userName = q.value(1).toString().trimmed();
    who.site = site;
    who.loginDate = Clock::today();
    who.loginTime = Clock::timeText();
    try {
        QSqlQuery c = m_session.run(QStringLiteral("select 公司名 from 报表参数"));
        who.companyName = c.next() && !c.value(0).isNull() ? c.value(0).toString() : kNoCompany;
    } catch (const Error &) {
        who.companyName = kNoCompany;
    }

    const LoginIdentity previous = LoginIdentity::current();
    LoginIdentity::current() = who;
    try {
        TransactionGuard tx(m_session);
        // The sales-site text is never filled on this workstation, so the log shows it empty.
        logAction(m_session, kLogImportant,
                  QStringLiteral("销售站点为：") + QStringLiteral(" 工号为：") + who.workNumber + QStringLiteral(" 姓名为:")
                      + who.userName + QStringLiteral(" 的操作员成功登入了进销存软件系统"));
        tx.commit();
    } catch (...) {
        LoginIdentity::current() = previous;
        throw;
    }
    return LoginOutcome::Ok;
}

void UserService::lock()
{
    TransactionGuard tx(m_session);
    logAction(m_session, kLogImportant, QStringLiteral("锁定了进销存软件系统的操作"));
    tx.commit();
}

bool UserService::unlock(const QString &workNumber, const QString &name, const QString &password, bool administrator)
{
    QSqlQuery q = administrator
        ? m_session.run(QStringLiteral("select 密码 from 权限密码 where 工号=?"), {kAdminWorkNumber})
        : m_session.run(QStringLiteral("select 密码 from 权限密码 where 工号=? and 姓名=?"), {workNumber, name});
    const bool opened = q.next() && passwords::matches(q.value(0), password);
    TransactionGuard tx(m_session);
    if (opened)
        logAction(m_session, kLogImportant, QStringLiteral("成功解锁了进销存软件系统的锁定操作"));
    else if (administrator)
        logAction(m_session, kLogImportant, QStringLiteral("使用系统管理员账户对进销存软件系统的解锁操作失败"));
    else
        logAction(m_session, kLogImportant, QStringLiteral("对进销存软件系统的解锁操作失败"));
    tx.commit();
    return opened;
}

QList<UserRecord> UserService::listUsers(const QString &loggedInWorkNumber) const
{
    QList<UserRecord> out;
    QSqlQuery q = m_session.run(
        QStringLiteral("select %1 from 权限密码 where 工号<>? and 工号<>? order by 工号").arg(userColumns()),
        {kAdminWorkNumber, loggedInWorkNumber});
    while (q.next())
        out << readUser(q);
    return out;
}

std::optional<UserRecord> UserService::user(const QString &workNumber) const
{
    QSqlQuery q = m_session.run(QStringLiteral("select %1 from 权限密码 where 工号=?").arg(userColumns()), {workNumber});
    if (!q.next())
        return std::nullopt;
    return readUser(q);
}

UserRecord UserService::newUser()
{
    UserRecord u;
    u.workNumber = kTemplateWorkNumber;
    u.name = kTemplateName;
    u.level = kTemplateLevel;
    u.site = kUnsetSite;
    u.rights = templatePermissionColumns();
    u.rights.removeAll(QStringLiteral("POS前台销售"));
    u.rights.removeAll(QStringLiteral("可查看商品进价"));
    return u;
}

QString UserService::checkUser(const UserRecord &user, const QString &oldWorkNumber) const
{
    const QString number = user.workNumber.trimmed();
    // An empty work number could never log in: it is refused like the template's number.
    if (number == kTemplateWorkNumber || number.isEmpty())
        return QStringLiteral("如果是新增加的操作员请你先把工号修改后再保存!");
    if (user.level == kTemplateLevel)
        return QStringLiteral("请先修改级别后再保存!");
    if (number != oldWorkNumber
        && m_session.exists(QStringLiteral("select 工号 from 权限密码 where 工号=?"), {number}))
        return QStringLiteral("已经有相同的工号了，请你输入其它的工号!");
    if (user.name.trimmed().isEmpty())
        return QStringLiteral("请选择一个用户！");
    return QString();
}

void UserService::requireUserAdministration(const QString &workNumber) const
{
    const LoginIdentity &who = LoginIdentity::current();
    if (!CheckRight(m_session, who.workNumber, kUserAdministration))
        throw Error(kNoRightText);
    if (workNumber == kAdminWorkNumber || workNumber == who.workNumber)
        throw Error(QStringLiteral("系统管理员和当前登入的操作员不能在这里修改或删除"));
}

void UserService::saveUser(const UserRecord &user, const QString &oldWorkNumber, bool isNew)
{
    if (!isNew)
        requireUserAdministration(oldWorkNumber);
    else
        requireUserAdministration(QString());
    TransactionGuard tx(m_session);
    const QString refusal = checkUser(user, oldWorkNumber);
    if (!refusal.isEmpty())
        throw Error(refusal);
    const QString number = user.workNumber.trimmed();
    const QString name = user.name.trimmed();
    logAction(m_session, kLogImportant,
              QStringLiteral("成功增加/修改一条操作员记录,将工号：") + oldWorkNumber + QStringLiteral(" 修改为：") + number);

    const QStringList &columns = permissionColumns();
    if (isNew) {
        QStringList names = {QStringLiteral("工号"), QStringLiteral("姓名"), QStringLiteral("密码"), QStringLiteral("级别"),
                             QStringLiteral("登陆站点")};
        QVariantList values = {number, name, QString(QLatin1String("")), user.level,
                               user.site.isEmpty() ? kUnsetSite : user.site};
        for (const QString &c : columns) {
            names << c;
            values << flag(user, c);
        }
        QStringList marks;
        for (int i = 0; i < names.size(); ++i)
            marks << QStringLiteral("?");
        m_session.execute(QStringLiteral("insert into 权限密码(%1) values(%2)")
                              .arg(names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                          values);
    } else {
        QStringList sets;
        QVariantList values;
        for (const QString &c : columns) {
            sets << c + QStringLiteral("=?");
            values << flag(user, c);
        }
        sets << QStringLiteral("姓名=?") << QStringLiteral("工号=?") << QStringLiteral("级别=?") << QStringLiteral("登陆站点=?");
        values << name << number << user.level << (user.site.isEmpty() ? kUnsetSite : user.site) << oldWorkNumber;
        const int changed = m_session.execute(
            QStringLiteral("update 权限密码 set %1 where 工号=?").arg(sets.join(QLatin1Char(','))), values);
        if (changed != 1)
            throw Error(QStringLiteral("修改失败：工号%1已不存在!").arg(oldWorkNumber));
    }
    tx.commit();
}

bool UserService::deleteUser(const QString &workNumber, const QString &name)
{
    requireUserAdministration(workNumber);
    TransactionGuard tx(m_session);
    logAction(m_session, kLogImportant, QStringLiteral("成功删除操作员工号,删除的工号为:") + workNumber);
    const int removed =
        m_session.execute(QStringLiteral("delete from 权限密码 where 工号=? and 姓名=?"), {workNumber, name});
    if (removed == 0)
        return false; // the guard rolls the log row back
    tx.commit();
    return true;
}

void UserService::logNewUserAbandoned()
{
    TransactionGuard tx(m_session);
    logAction(m_session, kLogImportant, QStringLiteral("放弃新增的工号,放弃的工号为:") + kTemplateWorkNumber);
    tx.commit();
}

PasswordChangeOutcome UserService::changePassword(const QString &workNumber, const QString &oldPassword,
                                                  const QString &newPassword, const QString &confirmation,
                                                  bool useEmptyPassword)
{
    TransactionGuard tx(m_session);
    QSqlQuery q = m_session.run(QStringLiteral("select 密码 from 权限密码 where 工号=?"), {workNumber});
    if (!q.next())
        throw Error(QStringLiteral("对不起，此工号不存在!"));
    const QVariant stored = q.value(0);
    // A missing (NULL) password has nothing to confirm.
    if (!stored.isNull() && !passwords::matches(stored, oldPassword))
        return PasswordChangeOutcome::WrongOldPassword;

    if (useEmptyPassword) {
        m_session.execute(QStringLiteral("update 权限密码 set 密码=? where 工号=?"), {QString(QLatin1String("")), workNumber});
        tx.commit();
        return PasswordChangeOutcome::Changed;
    }
    const QString fresh = newPassword.trimmed();
    if (fresh.isEmpty() || fresh != confirmation.trimmed())
        return PasswordChangeOutcome::NewPasswordsDiffer;
    m_session.execute(QStringLiteral("update 权限密码 set 密码=? where 工号=?"), {passwords::hashForStorage(fresh), workNumber});
    logAction(m_session, kLogImportant, QStringLiteral("工号为：") + workNumber + QStringLiteral(" 成功修改密码!"));
    tx.commit();
    return PasswordChangeOutcome::Changed;
}

void UserService::logPasswordChangeAbandoned(const QString &workNumber)
{
    TransactionGuard tx(m_session);
    logAction(m_session, kLogImportant, QStringLiteral("工号为：") + workNumber + QStringLiteral(" 放弃修改密码!"));
    tx.commit();
}

} // namespace tavomi
