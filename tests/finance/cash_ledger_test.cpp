#include "common/error.h"
#include "common/schema.h"
#include "common/transaction.h"
#include "finance/cash_ledger.h"
#include "support/test_db.h"

using namespace tavomi;
using namespace tavomi::finance;
using tavomi::test::DbTest;

namespace {

class CashLedgerTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        addAccount(QStringLiteral("01"), QStringLiteral("工商银行"), 1000);
        addAccount(QStringLiteral("02"), QStringLiteral("现金"), 50);
        addAccount(QStringLiteral("03"), QStringLiteral("现金2"), 0);
    }
    void addAccount(const QString &code, const QString &name, double opening)
    {
        db().execute(QStringLiteral("insert into 银行帐户表(编号,账户名称,期初额,期未额) values(?,?,?,?)"), {code, name, opening, opening});
    }
};

} // namespace

TEST_F(CashLedgerTest, TransferMovesMoneyAndWritesBothRowsWithBalances)
{
    TransactionGuard tx(db());
    postMovement(db(), MoneyType::TransferOut, QStringLiteral("工商银行"), 300, QStringLiteral("BK1"), QStringLiteral("2026-03-15"), QString());
    postMovement(db(), MoneyType::TransferIn, QStringLiteral("现金"), 300, QStringLiteral("BK1"), QStringLiteral("2026-03-15"), QString());
    tx.commit();
    EXPECT_DOUBLE_EQ(accountBalance(db(), QStringLiteral("工商银行")), 700);
    EXPECT_DOUBLE_EQ(accountBalance(db(), QStringLiteral("现金")), 350);
    EXPECT_DOUBLE_EQ(accountBalance(db(), QStringLiteral("现金2")), 0);
    QSqlQuery q = db().run(QStringLiteral("select 业务类型,借方发生,贷方发生,余额,备注,审核状态 from 现金明细表 order by 流水号"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("银行存取款(转出)"));
    EXPECT_DOUBLE_EQ(q.value(1).toDouble(), 0);
    EXPECT_DOUBLE_EQ(q.value(2).toDouble(), 300);
    EXPECT_DOUBLE_EQ(q.value(3).toDouble(), 700);
    EXPECT_EQ(q.value(4).toString(), QStringLiteral("工商银行"));
    EXPECT_EQ(q.value(5).toString(), QStringLiteral("1"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("银行存取款(转入)"));
    EXPECT_DOUBLE_EQ(q.value(1).toDouble(), 300);
    EXPECT_DOUBLE_EQ(q.value(3).toDouble(), 350);
}

TEST_F(CashLedgerTest, MissingAccountRefusesAndAmountsAreCents)
{
    try {
        postMovement(db(), MoneyType::SalesCollection, QStringLiteral("已删除的账户"), 10, QStringLiteral("SK1"), QString(), QString(),
                     QStringLiteral("收款去向账户不存在!"));
        FAIL();
    } catch (const Error &e) {
        EXPECT_EQ(e.message(), QStringLiteral("收款去向账户不存在!"));
    }
    EXPECT_EQ(count(QStringLiteral("现金明细表")), 0);
    for (int i = 0; i < 10; ++i)
        postMovement(db(), MoneyType::SalesCollection, QStringLiteral("现金2"), 0.1, QStringLiteral("SK"), QString(), QString());
    EXPECT_DOUBLE_EQ(accountBalance(db(), QStringLiteral("现金2")), 1.0);
    EXPECT_EQ(count(QStringLiteral("现金明细表")), 10);
}

TEST_F(CashLedgerTest, TwoWorkstationsNeverLoseAMovement)
{
    auto second = database().openSecond();
    postMovement(db(), MoneyType::SalesCollection, QStringLiteral("现金"), 20, QStringLiteral("SK1"), QString(), QString());
    postMovement(*second, MoneyType::PurchasePayment, QStringLiteral("现金"), 5, QStringLiteral("FK1"), QString(), QString());
    EXPECT_DOUBLE_EQ(accountBalance(db(), QStringLiteral("现金")), 65);
    EXPECT_DOUBLE_EQ(db().scalar(QStringLiteral("select 余额 from 现金明细表 where 编码='FK1'")).toDouble(), 65);
}

// A database made before the money indexes existed gets them when it is opened.
TEST_F(CashLedgerTest, OpeningAnOlderDatabaseAddsTheMoneyIndexes)
{
    const QStringList names = {QStringLiteral("ix_现金明细表_备注_审核状态_流水号_日期_借方发生_贷方发生_余额"),
                               QStringLiteral("ix_销售应收款表_客户名称_付清状态"), QStringLiteral("ix_采购应付款表_供应商_付清状态")};
    const QString present = db().isSqlite()
        ? QStringLiteral("select count(*) from sqlite_master where type='index' and name=?")
        : QStringLiteral("select count(*) from pg_indexes where schemaname=current_schema() and indexname=?");
    for (const QString &name : names) {
        EXPECT_EQ(db().scalar(present, {name}).toInt(), 1) << name.toStdString();
        db().execute(QStringLiteral("drop index %1").arg(name));
    }
    schema::ensure(db());
    for (const QString &name : names)
        EXPECT_EQ(db().scalar(present, {name}).toInt(), 1) << name.toStdString();
}
