#pragma once

#include "admin/password_hash.h"
#include "support/test_db.h"
#include "ui/app/user_login_frm.h"

#include <QSqlQuery>

namespace tavomi::test {

// A database test for the users, login and lock: cheap password hashing, no start-up panel,
// and a few helpers for passwords and log rows.
class AdminTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        passwords::useFastHashing(true);
        TFrmUserLogin::setSplashDuration(0);
    }
    void TearDown() override
    {
        passwords::useFastHashing(false);
        DbTest::TearDown();
    }

    // Stores a password the way the program does (empty stays empty); a null variant stores NULL.
    void setPassword(const QString &workNumber, const QVariant &plain)
    {
        const QVariant stored = plain.isNull() ? nullText() : QVariant(passwords::hashForStorage(plain.toString()));
        db().execute(QStringLiteral("update 权限密码 set 密码=? where 工号=?"), {stored, workNumber});
    }
    QVariant storedPassword(const QString &workNumber)
    {
        QSqlQuery q = db().run(QStringLiteral("select 密码 from 权限密码 where 工号=?"), {workNumber});
        return q.next() ? q.value(0) : QVariant();
    }

    struct LogRow
    {
        QString text;
        QString category;
        QString workNumber;
        QString userName;
    };
    QList<LogRow> logRows()
    {
        QList<LogRow> out;
        QSqlQuery q = db().run(QStringLiteral("select 操作内容,性质,工号,操作员 from 日志"));
        while (q.next())
            out.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString()});
        return out;
    }
    QStringList logTexts()
    {
        QStringList out;
        for (const LogRow &r : logRows())
            out << r.text;
        return out;
    }
};

} // namespace tavomi::test
