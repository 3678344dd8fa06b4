#include "common/command.h"
#include "common/error.h"
#include "common/transaction.h"
#include "support/test_db.h"

#include <optional>

using namespace tavomi;
using tavomi::test::DbTest;

using SessionTest = DbTest;

TEST_F(SessionTest, QuotesAreStoredAndFoundIntact)
{
    addCustomer(QStringLiteral("OB"), QStringLiteral("O'Brien; drop table 客户;--"));
    EXPECT_EQ(db().scalar(QStringLiteral("select 编码 from 客户 where 公司名=?"), {QStringLiteral("O'Brien; drop table 客户;--")})
                  .toString(),
              QStringLiteral("OB"));
}

TEST_F(SessionTest, GuardRollsBackUnlessCommitted)
{
    try {
        TransactionGuard tx(db());
        addSupplier(QStringLiteral("A"), QStringLiteral("甲"));
        throw Error(QStringLiteral("失败"));
    } catch (const Error &) {
    }
    EXPECT_EQ(count(QStringLiteral("供应商")), 0);

    {
        TransactionGuard outer(db());
        addSupplier(QStringLiteral("B"), QStringLiteral("乙"));
        {
            TransactionGuard inner(db());
            addSupplier(QStringLiteral("C"), QStringLiteral("丙"));
            inner.commit();
        }
        outer.commit();
    }
    EXPECT_EQ(count(QStringLiteral("供应商")), 2);

    // An inner failure spoils the outer command as a whole.
    {
        TransactionGuard outer(db());
        addSupplier(QStringLiteral("D"), QStringLiteral("丁"));
        {
            TransactionGuard inner(db());
        }
        EXPECT_THROW(outer.commit(), DbError);
    }
    EXPECT_EQ(count(QStringLiteral("供应商")), 2);
    EXPECT_FALSE(db().inTransaction());
}

TEST_F(SessionTest, ErrorsCarryTheDriverText)
{
    try {
        db().run(QStringLiteral("select nothing from 不存在的表"));
        FAIL() << "no error";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("不存在的表"))) << e.message().toStdString();
    }
}

TEST_F(SessionTest, NumbersKeepTheirFractionsOnEveryEngine)
{
    db().execute(QStringLiteral("insert into 库存(货位,编码,数量,金额) values('库存','A',?,?)"), {3.0, 10.0});
    db().execute(QStringLiteral("insert into 库存(货位,编码,数量,金额) values('库存','B',?,?)"), {1.0, 0.5});
    // sum/sum must not truncate to an integer division
    EXPECT_DOUBLE_EQ(db().scalar(QStringLiteral("select sum(金额)/sum(数量) from 库存")).toDouble(), 10.5 / 4.0);
}

TEST_F(SessionTest, ReopenKeepsWorking)
{
    addSupplier(QStringLiteral("A"), QStringLiteral("甲"));
    db().reopen();
    EXPECT_EQ(count(QStringLiteral("供应商")), 1);
}

TEST(SessionOpen, UnreachableDatabaseGivesTheDriverText)
{
    Session s(QStringLiteral("bad"));
    ConnectionSettings settings;
    settings.driver = QStringLiteral("QSQLITE");
    settings.sqliteFile = QStringLiteral("/proc/definitely/not/here/REZE.db");
    EXPECT_THROW(s.open(settings), DbError);
    EXPECT_FALSE(s.isOpen());
}

// A command turned away by a busy database or a lost race runs again; other errors, and commands
// inside an outer transaction, are not repeated.
TEST_F(SessionTest, CommandsRunAgainOnlyAfterTransientErrors)
{
    struct Case
    {
        DbError::Kind kind;
        bool outer;
        int failures;
        int expectedRuns;
        bool succeeds;
    };
    const Case cases[] = {
        {DbError::Kind::Transient, false, 2, 3, true},
        {DbError::Kind::Duplicate, false, 1, 2, true},
        {DbError::Kind::Transient, false, 100, 6, false},
        {DbError::Kind::Other, false, 1, 1, false},
        {DbError::Kind::Transient, true, 1, 1, false},
    };
    for (const Case &c : cases) {
        int runs = 0;
        std::optional<TransactionGuard> outer;
        if (c.outer)
            outer.emplace(db());
        bool ok = true;
        try {
            runCommand(db(), [&] {
                TransactionGuard tx(db());
                db().execute(QStringLiteral("insert into 单位(编号,单位名) values(?,?)"), {QString::number(runs), QStringLiteral("u")});
                if (++runs <= c.failures)
                    throw DbError(QStringLiteral("busy"), c.kind);
                tx.commit();
            });
        } catch (const DbError &) {
            ok = false;
        }
        outer.reset();
        EXPECT_EQ(runs, c.expectedRuns);
        EXPECT_EQ(ok, c.succeeds);
        // Only the run that committed left its row.
        EXPECT_EQ(count(QStringLiteral("单位"), QStringLiteral("单位名='u'")), c.succeeds ? 1 : 0);
        db().execute(QStringLiteral("delete from 单位 where 单位名='u'"));
    }
}

// A second workstation that cannot get the write lock is told so as a transient error.
TEST_F(SessionTest, LockedDatabaseIsATransientError)
{
    if (test::usingPostgres())
        GTEST_SKIP() << "file locking is the embedded engine's";
    ConnectionSettings s = database().settings();
    s.options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=50");
    Session other(QStringLiteral("impatient"));
    other.open(s);
    TransactionGuard holding(db());
    try {
        other.begin();
        FAIL() << "the second writer got the lock";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.transient()) << e.message().toStdString();
    }
}
