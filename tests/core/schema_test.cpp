#include "common/permissions.h"
#include "common/schema.h"
#include "support/test_db.h"

using namespace tavomi;
using tavomi::test::DbTest;

using SchemaTest = DbTest;

TEST_F(SchemaTest, CreatesEveryTableWithItsColumns)
{
    for (const schema::Table &t : schema::tables()) {
        ASSERT_TRUE(db().hasTable(t.name)) << t.name.toStdString();
        const QStringList present = db().columns(t.name);
        for (const schema::Column &c : t.columns)
            EXPECT_TRUE(present.contains(c.name, Qt::CaseInsensitive)) << t.name.toStdString() << "." << c.name.toStdString();
    }
    EXPECT_EQ(schema::storedVersion(db()), schema::kVersion);
}

TEST_F(SchemaTest, SeedsTheAdministratorCountersAndDefaults)
{
    EXPECT_EQ(db().scalar(QStringLiteral("select 姓名 from 权限密码 where 工号=?"), {kAdminWorkNumber}).toString(),
              QStringLiteral("系统管理员"));
    EXPECT_EQ(db().scalar(QStringLiteral("select 密码 from 权限密码 where 工号=?"), {kAdminWorkNumber}).toString(), QString());
    EXPECT_FALSE(db().scalar(QStringLiteral("select 密码 from 权限密码 where 工号=?"), {kAdminWorkNumber}).isNull());
    for (const QString &c : permissionColumns())
        EXPECT_TRUE(CheckRight(db(), kAdminWorkNumber, c)) << c.toStdString();
    EXPECT_EQ(db().scalar(QStringLiteral("select 进货单号 from 参数")).toInt(), 1);
    EXPECT_EQ(count(QStringLiteral("参数")), 1);
    EXPECT_EQ(count(QStringLiteral("默认资料表")), 3);
    for (const QString &key : {QStringLiteral("销售管理"), QStringLiteral("进货管理"), QStringLiteral("商场POS")})
        EXPECT_EQ(count(QStringLiteral("默认资料表"), QStringLiteral("指针=?"), {key}), 1);
}

TEST_F(SchemaTest, RunningAgainChangesNothingAndRestoresMissingColumns)
{
    EXPECT_FALSE(schema::ensure(db()));
    EXPECT_EQ(count(QStringLiteral("权限密码")), 1);
    EXPECT_EQ(count(QStringLiteral("单位")), 9);

    // An older database without a column gets it added.
    db().execute(QStringLiteral("drop table 报表参数"));
    db().execute(QStringLiteral("create table 报表参数(公司名 text)"));
    schema::ensure(db());
    EXPECT_TRUE(db().columns(QStringLiteral("报表参数")).contains(QStringLiteral("地址")));
}

TEST_F(SchemaTest, BillNumbersAreUniquePerMasterTable)
{
    db().execute(QStringLiteral("insert into 进货主(单号,审核标志) values(?,0)"), {QStringLiteral("J20260315093000")});
    EXPECT_ANY_THROW(db().execute(QStringLiteral("insert into 进货主(单号,审核标志) values(?,0)"), {QStringLiteral("J20260315093000")}));
}

TEST_F(SchemaTest, RefusesADatabaseFromANewerProgram)
{
    db().execute(QStringLiteral("update tavomi_schema set version=?"), {schema::kVersion + 1});
    EXPECT_ANY_THROW(schema::ensure(db()));
}
