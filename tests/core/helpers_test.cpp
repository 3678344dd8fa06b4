#include "common/clock.h"
#include "common/error.h"
#include "common/helpers.h"
#include "common/identity.h"
#include "common/permissions.h"
#include "support/test_db.h"

using namespace tavomi;
using tavomi::test::DbTest;

using HelpersTest = DbTest;

TEST_F(HelpersTest, OperationLogRowCarriesDateTimeAndQuotes)
{
    AddOperationLog(db(), QStringLiteral("  本地计算机 "), QStringLiteral("O'Brien"), QStringLiteral("0002"), kLogImportant,
                    QStringLiteral("删除了客户 O'Brien"));
    QSqlQuery q = db().run(QStringLiteral("select 日期,时间,操作电脑名,操作员,操作内容,性质,工号 from 日志"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("2026-03-15"));
    EXPECT_EQ(q.value(1).toString(), QStringLiteral("09:30:00"));
    EXPECT_EQ(q.value(2).toString(), QStringLiteral("本地计算机"));
    EXPECT_EQ(q.value(3).toString(), QStringLiteral("O'Brien"));
    EXPECT_EQ(q.value(4).toString(), QStringLiteral("删除了客户 O'Brien"));
    EXPECT_EQ(q.value(5).toString(), QStringLiteral("重要"));
    EXPECT_EQ(q.value(6).toString(), QStringLiteral("0002"));
}

TEST_F(HelpersTest, CheckRightReadsTheUsersColumn)
{
    addUser(QStringLiteral("0002"), QStringLiteral("张三"), {QStringLiteral("库存查询")});
    EXPECT_TRUE(CheckRight(db(), QStringLiteral("0002"), QStringLiteral("库存查询")));
    EXPECT_FALSE(CheckRight(db(), QStringLiteral("0002"), QStringLiteral("审核单据")));
    EXPECT_FALSE(CheckRight(db(), QStringLiteral("9999"), QStringLiteral("库存查询")));
    // Only catalogue columns can be checked; anything else is refused before any SQL is built.
    EXPECT_THROW(CheckRight(db(), QStringLiteral("0002"), QStringLiteral("1=1 or 工号")), Error);
    EXPECT_EQ(permissionColumns().size(), 72);
    EXPECT_EQ(templatePermissionColumns().size(), 68);
}

TEST_F(HelpersTest, BillNumbersMoveOnUntilFree)
{
    EXPECT_EQ(MakeBillNo(QStringLiteral("J")), QStringLiteral("J20260315093000"));
    EXPECT_EQ(MakeBillNo(QStringLiteral("J")), MakeBillNo(QStringLiteral("J"))); // same second, same text
    const QString first = MakeFreeBillNo(db(), QStringLiteral("J"), QStringLiteral("进货主"));
    EXPECT_EQ(first, QStringLiteral("J20260315093000"));
    db().execute(QStringLiteral("insert into 进货主(单号,审核标志) values(?,0)"), {first});
    db().execute(QStringLiteral("insert into 进货主(单号,审核标志) values(?,0)"), {QStringLiteral("J20260315093001")});
    EXPECT_EQ(MakeFreeBillNo(db(), QStringLiteral("J"), QStringLiteral("进货主")), QStringLiteral("J20260315093002"));
    // another table is not affected by the receipts
    EXPECT_EQ(MakeFreeBillNo(db(), QStringLiteral("X"), QStringLiteral("销售主")), QStringLiteral("X20260315093000"));
}

TEST_F(HelpersTest, StockTableCreateSeedDrop)
{
    addGoods(QStringLiteral("B0101"), QStringLiteral("瓜子"));
    addGoods(QStringLiteral("B0102"), QStringLiteral("花生"));
    const QString name = QStringLiteral("一号仓");
    MaintainStockTable(db(), StockTableAction::Create, name);
    MaintainStockTable(db(), StockTableAction::Seed, name);
    const QString t = db().quoteName(name);
    EXPECT_EQ(count(t), 2);
    EXPECT_EQ(count(t, QStringLiteral("货位=? and 数量=0 and 金额=0 and 日期=? and 组合库存='0'"), {name, QStringLiteral("2026-03-15")}), 2);
    EXPECT_TRUE(db().columns(name).contains(QStringLiteral("组合库存")));
    MaintainStockTable(db(), StockTableAction::Drop, name);
    EXPECT_FALSE(db().hasTable(name));
}

TEST_F(HelpersTest, StockTableNamesAreChecked)
{
    const char *bad[] = {"", "库存", "库存2", "商品", "日志", "a b", "x;drop table 商品", "仓\"库", "abcdefghijklmnopqrstuvwxyz"};
    for (const char *name : bad) {
        EXPECT_FALSE(checkWarehouseTableName(QString::fromUtf8(name)).isEmpty()) << name;
        EXPECT_THROW(MaintainStockTable(db(), StockTableAction::Create, QString::fromUtf8(name)), Error) << name;
    }
    for (const char *name : {"一号仓", "Store_2", "门店A"})
        EXPECT_TRUE(checkWarehouseTableName(QString::fromUtf8(name)).isEmpty()) << name;
}

TEST_F(HelpersTest, SearchGoodsNeverFindsRetiredGoods)
{
    addGoods(QStringLiteral("B01"), QStringLiteral("瓜子"), 1, 2, QStringLiteral("GZ"));
    addGoods(QStringLiteral("B02"), QStringLiteral("瓜子仁"), 1, 2, QStringLiteral("GZR"));
    db().execute(QStringLiteral("update 商品 set 淘汰否='是' where 编码='B02'"));
    db().execute(QStringLiteral("update 商品 set 备注='6901234' where 编码='B01'"));
    auto codes = [this](const QString &text) {
        QStringList out;
        QSqlQuery q = SearchGoods(db(), text);
        while (q.next())
            out << q.value(0).toString();
        return out;
    };
    EXPECT_EQ(codes(QStringLiteral("瓜子")), QStringList{QStringLiteral("B01")});
    EXPECT_EQ(codes(QStringLiteral("gz")), QStringList{QStringLiteral("B01")}); // ASCII case ignored on every engine
    EXPECT_EQ(codes(QStringLiteral("B02")), QStringList{});
    EXPECT_EQ(codes(QStringLiteral("6901234")), QStringList{QStringLiteral("B01")});
}

// From three characters on the search is answered by an index on SQLite: it must find what a
// pass over the goods finds, also after goods are added, renamed and deleted.
TEST_F(HelpersTest, SearchGoodsFindsTheSameAsAScanAfterChanges)
{
    addGoods(QStringLiteral("A100"), QStringLiteral("五香瓜子 250g"), 1, 2, QStringLiteral("WXGZ250"));
    addGoods(QStringLiteral("A101"), QStringLiteral("原味瓜子"), 1, 2, QStringLiteral("YWGZ"));
    addGoods(QStringLiteral("A102"), QStringLiteral("Cola \"Zero\" 330ml"), 1, 2, QStringLiteral("KL330"));
    db().execute(QStringLiteral("update 商品 set 品名='奶油瓜子' where 编码='A101'"));
    db().execute(QStringLiteral("update 商品 set 进价=3 where 编码='A100'")); // prices do not touch the index
    db().execute(QStringLiteral("delete from 商品 where 编码='A102'"));
    addGoods(QStringLiteral("A103"), QStringLiteral("zero 糖可乐"), 1, 2, QStringLiteral("TKL"));
    auto codes = [this](const QString &text) {
        QStringList out;
        QSqlQuery q = SearchGoods(db(), text);
        while (q.next())
            out << q.value(0).toString();
        out.sort();
        return out;
    };
    const struct
    {
        const char *text;
        QStringList expected;
    } cases[] = {
        {"瓜子", {QStringLiteral("A100"), QStringLiteral("A101")}},
        {"奶油瓜", {QStringLiteral("A101")}},
        {"原味瓜", {}},
        {"wxgz", {QStringLiteral("A100")}},
        {"250", {QStringLiteral("A100")}},
        {"ZERO", {QStringLiteral("A103")}},
        {"\"Zero\"", {}},
        {"A10", {QStringLiteral("A100"), QStringLiteral("A101"), QStringLiteral("A103")}},
        {"0g", {QStringLiteral("A100")}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(codes(QString::fromUtf8(c.text)), c.expected) << c.text;

    // With a limit: the first goods in shorthand-code order, on either path.
    auto firstCodes = [this](const QString &text, int limit) {
        QStringList out;
        QSqlQuery q = SearchGoods(db(), text, limit);
        while (q.next())
            out << q.value(0).toString();
        return out;
    };
    EXPECT_EQ(firstCodes(QStringLiteral("A10"), 2), (QStringList{QStringLiteral("A103"), QStringLiteral("A100")}));
    EXPECT_EQ(firstCodes(QStringLiteral("瓜子"), 1), QStringList{QStringLiteral("A100")});
}
