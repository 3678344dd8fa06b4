#include "common/error.h"
#include "common/permissions.h"
#include "masterdata/field_error.h"
#include "masterdata/warehouse_service.h"
#include "support/test_db.h"

using namespace tavomi;
using tavomi::test::DbTest;

namespace {
MasterRow warehouse(const QString &code, const QString &name, const QString &kind = QString())
{
    return {code, name, kind, QStringLiteral("李四"), QString()};
}
} // namespace

class WarehouseTest : public DbTest
{
protected:
    MasterTableStore store() { return MasterTableStore(db(), warehouseTable()); }
    QString insertError(const MasterRow &row)
    {
        try {
            store().insert(row);
        } catch (const Error &e) {
            return e.message();
        }
        return QString();
    }
};

TEST_F(WarehouseTest, NewWarehouseIsSeededWithEveryGoods)
{
    const QString empty = QStringLiteral("空仓");
    store().insert(warehouse(QStringLiteral("01"), empty));
    EXPECT_TRUE(db().hasTable(empty));
    EXPECT_EQ(count(db().quoteName(empty)), 0);

    addGoods(QStringLiteral("B0100001"), QStringLiteral("瓜子"));
    addGoods(QStringLiteral("B0100002"), QStringLiteral("花生"));
    addGoods(QStringLiteral("B0100003"), QStringLiteral("糖"));
    db().execute(QStringLiteral("update 库存 set 数量=5, 金额=10"));
    const QString name = QStringLiteral("Main_仓");
    store().insert(warehouse(QStringLiteral("02"), name, QStringLiteral("成品")));

    const QString t = db().quoteName(name);
    EXPECT_EQ(count(t), 3);
    EXPECT_EQ(count(t, QStringLiteral("货位=? and 数量=0 and 金额=0 and 日期='2026-03-15'"), {name}), 3);
    EXPECT_EQ(count(QStringLiteral("货位"), QStringLiteral("货位编码='02' and 货位名称=? and 货位性质='成品'"), {name}), 1);
    // The empty warehouse got its row for every goods added later.
    EXPECT_EQ(count(db().quoteName(empty)), 3);
}

TEST_F(WarehouseTest, RefusedNamesLeaveNothingBehind)
{
    store().insert(warehouse(QStringLiteral("01"), QStringLiteral("Main")));
    const QStringList refused = {
        QStringLiteral("x;drop table 商品"), QStringLiteral("a b"), QStringLiteral("a'b"), QStringLiteral("仓\"库"),
        QStringLiteral("商品"), QStringLiteral("库存2"), QStringLiteral("日志"), QStringLiteral("MAIN"),
        QString(26, QLatin1Char('w')),
    };
    const int tables = int(db().tables().size());
    for (const QString &name : refused)
        EXPECT_EQ(insertError(warehouse(QStringLiteral("09"), name)), kWarehouseNameRefused) << name.toStdString();
    EXPECT_EQ(int(db().tables().size()), tables);
    EXPECT_TRUE(db().hasTable(QStringLiteral("商品")));
    EXPECT_EQ(count(QStringLiteral("货位")), 1);
    // 25 characters are allowed.
    EXPECT_EQ(insertError(warehouse(QStringLiteral("09"), QString(25, QLatin1Char('w')))), QString());
}

TEST_F(WarehouseTest, FailedInsertLeavesNoOrphanTable)
{
    if (test::usingPostgres())
        GTEST_SKIP() << "the failure is staged with an SQLite trigger";
    db().execute(QStringLiteral("create trigger no_more after insert on 货位 begin select raise(abort, 'full'); end"));
    EXPECT_FALSE(insertError(warehouse(QStringLiteral("01"), QStringLiteral("一号仓"))).isEmpty());
    EXPECT_FALSE(db().hasTable(QStringLiteral("一号仓")));
    EXPECT_EQ(count(QStringLiteral("货位")), 0);
}

TEST_F(WarehouseTest, SameCodeAndNameUpdatesOtherwiseANewWarehouse)
{
    store().insert(warehouse(QStringLiteral("01"), QStringLiteral("一号仓")));
    MasterRow changed = warehouse(QStringLiteral("01"), QStringLiteral("一号仓"), QStringLiteral("原料"));
    ASSERT_TRUE(store().find(changed));
    store().update(changed, changed);
    EXPECT_EQ(count(QStringLiteral("货位"), QStringLiteral("货位性质='原料'")), 1);

    const MasterRow renamed = warehouse(QStringLiteral("01"), QStringLiteral("二号仓"));
    EXPECT_FALSE(store().find(renamed));
    store().insert(renamed);
    EXPECT_EQ(count(QStringLiteral("货位")), 2);
    EXPECT_TRUE(db().hasTable(QStringLiteral("一号仓")));
    EXPECT_TRUE(db().hasTable(QStringLiteral("二号仓")));
}

TEST_F(WarehouseTest, DeleteIsRefusedWhileStockOrOpenBillsNameIt)
{
    addGoods(QStringLiteral("B0100001"), QStringLiteral("瓜子"));
    const MasterRow row = warehouse(QStringLiteral("01"), QStringLiteral("一号仓"));
    store().insert(row);
    const QString t = db().quoteName(QStringLiteral("一号仓"));

    db().execute(QStringLiteral("update %1 set 数量=2").arg(t));
    EXPECT_THROW(store().remove(row), Error);
    db().execute(QStringLiteral("update %1 set 数量=0").arg(t));

    const struct
    {
        const char *master;
        const char *line;
        const char *column;
    } bills[] = {{"进货主", "进货子", "入库仓库"}, {"退货主", "退货子", "退货仓库"}, {"销售主", "销售子", "出货仓库"},
                 {"库存调拨主", "库存调拨子", "入库仓库"}, {"归还主", "归还子", "出货仓库"}};
    for (const auto &b : bills) {
        const QString master = QString::fromUtf8(b.master);
        const QString line = QString::fromUtf8(b.line);
        db().execute(QStringLiteral("insert into %1(单号,审核标志) values('N1',0)").arg(master));
        db().execute(QStringLiteral("insert into %1(单号,编码,%2) values('N1','B0100001','一号仓')").arg(line, QString::fromUtf8(b.column)));
        EXPECT_FALSE(warehouseDeleteRefusal(db(), QStringLiteral("一号仓")).isEmpty()) << b.line;
        db().execute(QStringLiteral("update %1 set 审核标志=1").arg(master));
        EXPECT_TRUE(warehouseDeleteRefusal(db(), QStringLiteral("一号仓")).isEmpty()) << b.line;
    }
    db().execute(QStringLiteral("insert into 盘点主(单号,货位,审核标志) values('PD1','一号仓',0)"));
    EXPECT_FALSE(warehouseDeleteRefusal(db(), QStringLiteral("一号仓")).isEmpty());
    db().execute(QStringLiteral("delete from 盘点主"));

    store().remove(row);
    EXPECT_EQ(count(QStringLiteral("货位")), 0);
    EXPECT_FALSE(db().hasTable(QStringLiteral("一号仓")));
}

TEST_F(WarehouseTest, WritesNeedTheWarehouseRight)
{
    addUser(QStringLiteral("0002"), QStringLiteral("张三"));
    loginAs(QStringLiteral("0002"));
    EXPECT_EQ(insertError(warehouse(QStringLiteral("01"), QStringLiteral("一号仓"))), kNoRightText);
    EXPECT_FALSE(db().hasTable(QStringLiteral("一号仓")));
}
