#include "admin/password_hash.h"
#include "admin/users.h"
#include "common/error.h"
#include "common/identity.h"
#include "common/permissions.h"
#include "core/admin/admin_fixture.h"

using namespace tavomi;
using tavomi::test::AdminTest;

TEST(PasswordHash, StoredValuesKeepTheirMeaning)
{
    passwords::useFastHashing(true);
    const QString hash = passwords::hashForStorage(QStringLiteral("  秘密pw "));
    passwords::useFastHashing(false);
    EXPECT_TRUE(hash.startsWith(QLatin1String("$argon2id$"))) << hash.toStdString();
    EXPECT_FALSE(hash.contains(QStringLiteral("秘密")));
    EXPECT_EQ(passwords::hashForStorage(QStringLiteral("   ")), QString(QLatin1String("")));

    struct Case
    {
        const char *name;
        QVariant stored;
        QString typed;
        bool opens;
    } cases[] = {
        {"empty stored, empty box", QString(QLatin1String("")), QString(), true},
        {"empty stored, blanks typed", QString(QLatin1String("")), QStringLiteral("  "), true},
        {"empty stored, something typed", QString(QLatin1String("")), QStringLiteral("x"), false},
        {"NULL stored, empty box", QVariant(QMetaType(QMetaType::QString)), QString(), false},
        {"NULL stored, text typed", QVariant(QMetaType(QMetaType::QString)), QStringLiteral("x"), false},
        {"hash, same password trimmed", hash, QStringLiteral("秘密pw"), true},
        {"hash, surrounding blanks ignored", hash, QStringLiteral(" 秘密pw  "), true},
        {"hash, case matters", hash, QStringLiteral("秘密PW"), false},
        {"hash, empty box", hash, QString(), false},
        {"plain text is never compared", QStringLiteral("秘密pw"), QStringLiteral("秘密pw"), false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(passwords::matches(c.stored, c.typed), c.opens) << c.name;
}

TEST_F(AdminTest, UserAdministrationIsCheckedInTheEngine)
{
    addUser(QStringLiteral("0002"), QStringLiteral("张三"), {QStringLiteral("库存查询")});
    addUser(QStringLiteral("0003"), QStringLiteral("李四"), {QStringLiteral("增加操作员")});
    UserService users(db());

    // Without 增加操作员 nothing is written.
    loginAs(QStringLiteral("0002"));
    UserRecord fresh = UserService::newUser();
    fresh.workNumber = QStringLiteral("0009");
    fresh.level = QStringLiteral("其它");
    try {
        users.saveUser(fresh, kTemplateWorkNumber, true);
        FAIL() << "saved without the right";
    } catch (const Error &e) {
        EXPECT_EQ(e.message(), kNoRightText);
    }
    EXPECT_THROW(users.deleteUser(QStringLiteral("0003"), QStringLiteral("李四")), Error);

    // With it, the administrator's row and the user's own row stay out of reach.
    loginAs(QStringLiteral("0003"));
    EXPECT_THROW(users.deleteUser(kAdminWorkNumber, QStringLiteral("系统管理员")), Error);
    EXPECT_THROW(users.deleteUser(QStringLiteral("0003"), QStringLiteral("李四")), Error);
    UserRecord self = *users.user(QStringLiteral("0003"));
    EXPECT_THROW(users.saveUser(self, QStringLiteral("0003"), false), Error);
    EXPECT_EQ(count(QStringLiteral("权限密码")), 3);
    EXPECT_EQ(count(QStringLiteral("日志")), 0);
}

TEST_F(AdminTest, DeleteMatchesNumberAndNameAsValuesAndReportsWhatHappened)
{
    addUser(QStringLiteral("0002"), QStringLiteral("O'Neil"));
    UserService users(db());
    // A name that only looks alike deletes nothing and leaves no log row.
    EXPECT_FALSE(users.deleteUser(QStringLiteral("0002"), QStringLiteral("O'Neil' or '1'='1")));
    EXPECT_EQ(count(QStringLiteral("日志")), 0);
    EXPECT_TRUE(users.deleteUser(QStringLiteral("0002"), QStringLiteral("O'Neil")));
    EXPECT_EQ(count(QStringLiteral("权限密码"), QStringLiteral("工号=?"), {QStringLiteral("0002")}), 0);
    EXPECT_EQ(count(QStringLiteral("日志"), QStringLiteral("操作内容=?"), {QStringLiteral("成功删除操作员工号,删除的工号为:0002")}), 1);
}

TEST_F(AdminTest, ChangingAUserThatAnotherWorkstationDeletedIsRefused)
{
    addUser(QStringLiteral("0002"), QStringLiteral("张三"));
    UserService users(db());
    UserRecord shown = *users.user(QStringLiteral("0002"));
    auto other = database().openSecond();
    other->execute(QStringLiteral("delete from 权限密码 where 工号=?"), {QStringLiteral("0002")});
    shown.level = QStringLiteral("经理");
    EXPECT_THROW(users.saveUser(shown, QStringLiteral("0002"), false), Error);
    EXPECT_EQ(count(QStringLiteral("日志")), 0);
}
