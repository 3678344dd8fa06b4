#include "common/error.h"
#include "common/helpers.h"
#include "documents/stock_ledger.h"
#include "support/test_db.h"

using namespace tavomi;
using namespace tavomi::docs;
using tavomi::test::DbTest;

namespace {

class StockLedgerTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        addWarehouse(QStringLiteral("一号仓"));
        addWarehouse(QStringLiteral("二号仓"));
        // two units: 件 of 24 瓶; three units: 件 of 12 盒 of 10 支
        addGoods(QStringLiteral("B01"), QStringLiteral("啤酒"), 2);
        db().execute(QStringLiteral("update 商品 set 单位='瓶*24',大包装='件',小包装=24,柜组='1件*24瓶',换算数='件瓶' where 编码='B01'"));
        addGoods(QStringLiteral("B02"), QStringLiteral("铅笔"), 0.5);
        db().execute(QStringLiteral("update 商品 set 单位='支*10',大包装='件',小包装=120,柜组='1件*12盒*10支',换算数='件盒支' where 编码='B02'"));
    }
    double stock(const QString &table, const QString &code, const char *column = "数量")
    {
        return db().scalar(QStringLiteral("select %1 from %2 where 编码=?").arg(QString::fromUtf8(column), db().quoteName(table)), {code}).toDouble();
    }
    QString package(const QString &table, const QString &code)
    {
        return db().scalar(QStringLiteral("select 组合库存 from %1 where 编码=?").arg(db().quoteName(table)), {code}).toString();
    }
};

} // namespace

TEST_F(StockLedgerTest, BaseQuantityByUnit)
{
    StockLedger ledger(db());
    const struct
    {
        const char *code, *unit;
        double quantity, expected;
    } cases[] = {
        {"B01", "件", 2, 48}, {"B01", "瓶", 2, 2}, {"B02", "盒", 3, 30}, {"B02", "件", 1, 120}, {"B02", "支", 7, 7},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(ledger.baseQuantity(QString::fromUtf8(c.code), QString::fromUtf8(c.unit), c.quantity), c.expected)
            << c.code << c.unit;
}

TEST_F(StockLedgerTest, PostingInAndOutRestoresEverything)
{
    StockLedger ledger(db());
    ledger.postLine(QStringLiteral("一号仓"), QStringLiteral("B01"), 48, 96, +1, true, QStringLiteral("存放仓库"));
    for (const QString &t : {QStringLiteral("一号仓"), QStringLiteral("库存"), QStringLiteral("库存2")}) {
        EXPECT_DOUBLE_EQ(stock(t, QStringLiteral("B01")), 48) << t.toStdString();
        EXPECT_DOUBLE_EQ(stock(t, QStringLiteral("B01"), "金额"), 96) << t.toStdString();
        EXPECT_EQ(package(t, QStringLiteral("B01")), QStringLiteral("2件")) << t.toStdString();
    }
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("二号仓"), QStringLiteral("B01")), 0);
    ledger.postLine(QStringLiteral("一号仓"), QStringLiteral("B02"), 300, 150, +1, true, QStringLiteral("存放仓库"));
    EXPECT_EQ(package(QStringLiteral("一号仓"), QStringLiteral("B02")), QStringLiteral("2件6盒"));
    ledger.postLine(QStringLiteral("一号仓"), QStringLiteral("B01"), 48, 96, -1, true, QStringLiteral("存放仓库"));
    for (const QString &t : {QStringLiteral("一号仓"), QStringLiteral("库存"), QStringLiteral("库存2")}) {
        EXPECT_DOUBLE_EQ(stock(t, QStringLiteral("B01")), 0);
        EXPECT_DOUBLE_EQ(stock(t, QStringLiteral("B01"), "金额"), 0);
        EXPECT_EQ(package(t, QStringLiteral("B01")), QString());
    }
    // Outbound may go below zero.
    ledger.postLine(QStringLiteral("二号仓"), QStringLiteral("B01"), 5, 10, -1, false, QStringLiteral("出货仓库"));
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("二号仓"), QStringLiteral("B01")), -5);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("库存"), QStringLiteral("B01")), 0);
}

TEST_F(StockLedgerTest, MissingRowIsCreatedMissingTableRefuses)
{
    StockLedger ledger(db());
    db().execute(QStringLiteral("delete from %1 where 编码='B01'").arg(db().quoteName(QStringLiteral("一号仓"))));
    ledger.postLine(QStringLiteral("一号仓"), QStringLiteral("B01"), 3, 6, +1, true, QStringLiteral("存放仓库"));
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("一号仓"), QStringLiteral("B01")), 3);

    try {
        ledger.postLine(QStringLiteral("三号仓"), QStringLiteral("B01"), 3, 6, -1, true, QStringLiteral("出货仓库"));
        FAIL();
    } catch (const Error &e) {
        EXPECT_EQ(e.message(), QStringLiteral("警告：下面的出货仓库--[三号仓]已经被删除!"));
    }
}

TEST_F(StockLedgerTest, RebuildSumsEveryWarehouseCountingMissingRowsAsZero)
{
    StockLedger ledger(db());
    ledger.postLine(QStringLiteral("一号仓"), QStringLiteral("B01"), 10, 20, +1, false, QString());
    ledger.postLine(QStringLiteral("二号仓"), QStringLiteral("B01"), 4, 8, +1, false, QString());
    db().execute(QStringLiteral("insert into 货位(货位编码,货位名称) values('09','三号仓')"));
    MaintainStockTable(db(), StockTableAction::Create, QStringLiteral("三号仓")); // empty: no row for B01
    ledger.rebuildTotal(QStringLiteral("B01"));
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("库存"), QStringLiteral("B01")), 14);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("库存"), QStringLiteral("B01"), "金额"), 28);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("库存2"), QStringLiteral("B01")), 0);
}
