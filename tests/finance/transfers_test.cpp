#include "common/error.h"
#include "finance/cash_ledger.h"
#include "finance/transfers.h"
#include "support/test_db.h"

#include <QSqlQuery>

using namespace tavomi;
using namespace tavomi::finance;
using tavomi::test::DbTest;

namespace {

class TransfersTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        for (const auto &[name, balance] : {std::pair{QStringLiteral("工商银行"), 1000.0}, std::pair{QStringLiteral("现金"), 50.0},
                                            std::pair{QStringLiteral("现金2"), 0.0}})
            db().execute(QStringLiteral("insert into 银行帐户表(编号,账户名称,期初额,期未额) values(?,?,?,?)"), {name, name, balance, balance});
        loginAs(QStringLiteral("0001"));
    }

    Transfer transfer(const QString &amount = QStringLiteral("300"))
    {
        Transfer t;
        t.date = QStringLiteral("2026-03-15");
        t.amountText = amount;
        t.from = QStringLiteral("工商银行");
        t.to = QStringLiteral("现金");
        t.handler = QStringLiteral("张三");
        t.reference = QStringLiteral("R-7");
        return t;
    }

    int ledgerRows(const QString &account)
    {
        QVariantList values;
        const QString sql = ledgerQuery(account, QStringLiteral("2026-03-01"), QStringLiteral("2026-03-31"), &values);
        QSqlQuery q = db().run(QStringLiteral("select count(*) from (%1) g").arg(sql), values);
        return q.next() ? q.value(0).toInt() : -1;
    }
};

} // namespace

TEST_F(TransfersTest, SaveThenAuditMovesTheMoney)
{
    Transfers transfers(db());
    const QString number = transfers.save(transfer());
    EXPECT_TRUE(number.startsWith(QStringLiteral("BK")));
    EXPECT_DOUBLE_EQ(accountBalance(db(), QStringLiteral("工商银行")), 1000);
    EXPECT_DOUBLE_EQ(accountBalance(db(), QStringLiteral("现金")), 50);
    EXPECT_EQ(count(QStringLiteral("现金明细表"), QStringLiteral("编码=? and 审核状态='0'"), {number}), 2);
    EXPECT_EQ(ledgerRows(QStringLiteral("全部")), 0);

    transfers.audit(number);
    EXPECT_DOUBLE_EQ(accountBalance(db(), QStringLiteral("工商银行")), 700);
    EXPECT_DOUBLE_EQ(accountBalance(db(), QStringLiteral("现金")), 350);
    QSqlQuery q = db().run(QStringLiteral("select 业务类型,借方发生,贷方发生,余额,备注,票据号码 from 现金明细表 where 编码=? and 审核状态='1' order by 流水号"),
                           {number});
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("银行存取款(转出)"));
    EXPECT_DOUBLE_EQ(q.value(2).toDouble(), 300);
    EXPECT_DOUBLE_EQ(q.value(3).toDouble(), 700);
    EXPECT_EQ(q.value(4).toString(), QStringLiteral("工商银行"));
    EXPECT_EQ(q.value(5).toString(), QStringLiteral("R-7"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("银行存取款(转入)"));
    EXPECT_DOUBLE_EQ(q.value(1).toDouble(), 300);
    EXPECT_DOUBLE_EQ(q.value(3).toDouble(), 350);
    EXPECT_FALSE(q.next());

    // Audited once; afterwards neither audit, modify nor delete.
    EXPECT_THROW(transfers.audit(number), Error);
    Transfer again = transfer(QStringLiteral("10"));
    again.number = number;
    EXPECT_THROW(transfers.save(again), Error);
    try {
        transfers.remove(number);
        FAIL();
    } catch (const Error &e) {
        EXPECT_EQ(e.message(), QStringLiteral("审核单据，不能删除!"));
    }
    EXPECT_DOUBLE_EQ(accountBalance(db(), QStringLiteral("工商银行")), 700);
    EXPECT_EQ(count(QStringLiteral("现金明细表")), 2);
}

TEST_F(TransfersTest, ChecksComeInOrder)
{
    struct Case
    {
        const char *from, *to, *handler, *amount, *text;
    };
    const Case cases[] = {
        {"现金", "现金", "张三", "abc", "转出账户不能和转入账户相同!"},
        {"工商银行", "现金", "", "10", "请确保：转入转出账户和经手人资料不为空!"},
        {"工商银行", "现金", "张三", "0", "请输入金额,且金额不能小于或等于零!"},
        {"工商银行", "现金", "张三", "0.0", "请输入金额,且金额不能小于或等于零!"},
    };
    Transfers transfers(db());
    for (const Case &c : cases) {
        Transfer t = transfer(QString::fromUtf8(c.amount));
        t.from = QString::fromUtf8(c.from);
        t.to = QString::fromUtf8(c.to);
        t.handler = QString::fromUtf8(c.handler);
        try {
            transfers.save(t);
            ADD_FAILURE() << c.text;
        } catch (const Error &e) {
            EXPECT_EQ(e.message(), QString::fromUtf8(c.text));
        }
    }
    EXPECT_EQ(count(QStringLiteral("存取款表")), 0);
}

TEST_F(TransfersTest, ModifyAndDeleteAnUnauditedTransfer)
{
    Transfers transfers(db());
    Transfer t = transfer();
    t.number = transfers.save(t);
    t.amountText = QStringLiteral("400");
    t.to = QStringLiteral("现金2");
    transfers.save(t);
    EXPECT_EQ(count(QStringLiteral("现金明细表"), QStringLiteral("编码=? and 备注='现金2' and 借方发生=400 and 余额=400"), {t.number}), 1);
    EXPECT_EQ(count(QStringLiteral("现金明细表")), 2);
    transfers.remove(t.number);
    EXPECT_EQ(count(QStringLiteral("现金明细表")), 0);
    EXPECT_EQ(count(QStringLiteral("存取款表")), 0);
}

// The ledger keeps 现金 and 现金2 apart, newest movement first even within one second.
TEST_F(TransfersTest, LedgerMatchesTheAccountExactly)
{
    postMovement(db(), MoneyType::SalesCollection, QStringLiteral("现金"), 10, QStringLiteral("SK1"), QStringLiteral("2026-03-15"), QString());
    postMovement(db(), MoneyType::SalesCollection, QStringLiteral("现金2"), 20, QStringLiteral("SK2"), QStringLiteral("2026-03-15"), QString());
    postMovement(db(), MoneyType::SalesCollection, QStringLiteral("现金"), 5, QStringLiteral("SK3"), QStringLiteral("2026-03-15"), QString());
    EXPECT_EQ(ledgerRows(QStringLiteral("现金")), 2);
    EXPECT_EQ(ledgerRows(QStringLiteral("现金2")), 1);
    EXPECT_EQ(ledgerRows(QStringLiteral("全部")), 3);
    QVariantList values;
    const QString sql = ledgerQuery(QStringLiteral("现金"), QStringLiteral("2026-03-15"), QStringLiteral("2026-03-15"), &values);
    QSqlQuery q = db().run(sql + QStringLiteral(" order by 流水号 desc"), values);
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(1).toString(), QStringLiteral("SK3"));
    EXPECT_DOUBLE_EQ(q.value(6).toDouble(), 65);
}
