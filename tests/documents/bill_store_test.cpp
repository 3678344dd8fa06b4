#include "common/error.h"
#include "common/helpers.h"
#include "documents/bill_store.h"
#include "documents/stock_ledger.h"
#include "support/test_db.h"

using namespace tavomi;
using namespace tavomi::docs;
using tavomi::test::DbTest;

namespace {

class BillStoreTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        addWarehouse(QStringLiteral("一号仓"));
        addWarehouse(QStringLiteral("二号仓"));
        addSupplier(QStringLiteral("GYS"), QStringLiteral("供应商甲"));
        addGoods(QStringLiteral("B01"), QStringLiteral("啤酒"), 1.5);
        db().execute(QStringLiteral("update 商品 set 单位='瓶*24',大包装='件',小包装=24,柜组='1件*24瓶',换算数='件瓶' where 编码='B01'"));
        addGoods(QStringLiteral("B02"), QStringLiteral("铅笔"), 0.5);
        db().execute(QStringLiteral("update 商品 set 单位='支*10',大包装='件',小包装=120,柜组='1件*12盒*10支',换算数='件盒支' where 编码='B02'"));
    }

    Bill receipt(const QList<BillLine> &lines, double writeOff = 0)
    {
        Bill b;
        b.header.partnerCode = QStringLiteral("GYS");
        b.header.partnerName = QStringLiteral("供应商甲");
        b.header.writeOff = writeOff;
        b.lines = lines;
        return b;
    }
    static BillLine line(int row, const char *code, const char *unit, double qty, double price, const char *wh = "一号仓")
    {
        BillLine l;
        l.row = row;
        l.code = QString::fromUtf8(code);
        l.unit = QString::fromUtf8(unit);
        l.quantity = qty;
        l.price = price;
        l.warehouse = QString::fromUtf8(wh);
        return l;
    }
    double stock(const QString &table, const QString &code, const char *column = "数量")
    {
        return db().scalar(QStringLiteral("select %1 from %2 where 编码=?").arg(QString::fromUtf8(column), db().quoteName(table)), {code}).toDouble();
    }
};

} // namespace

TEST_F(BillStoreTest, ReceiptSaveStoresBaseQuantitiesAndSetsCostPrice)
{
    BillStore store(db(), BillKind::PurchaseReceipt);
    Bill b = receipt({line(1, "B01", "件", 2, 48), line(2, "B02", "盒", 3, 5), line(3, "", "", 0, 0), line(4, "NOPE", "个", 1, 1)});
    b.header.number = store.newNumber();
    const auto r = store.save(b, false);
    EXPECT_EQ(r.kept, 2);
    EXPECT_EQ(r.dropped, 1);
    EXPECT_FALSE(r.discarded);

    QSqlQuery q = db().run(QStringLiteral("select 数量,进价,件数量,件进价,金额,序号 from 进货子 where 编码='B01'"));
    ASSERT_TRUE(q.next());
    EXPECT_DOUBLE_EQ(q.value(0).toDouble(), 48);
    EXPECT_DOUBLE_EQ(q.value(1).toDouble(), 2);
    EXPECT_DOUBLE_EQ(q.value(2).toDouble(), 2);
    EXPECT_DOUBLE_EQ(q.value(3).toDouble(), 48);
    EXPECT_DOUBLE_EQ(q.value(4).toDouble(), 96);
    EXPECT_EQ(q.value(5).toString(), QStringLiteral("1"));
    EXPECT_DOUBLE_EQ(db().scalar(QStringLiteral("select 进价 from 商品 where 编码='B01'")).toDouble(), 2);
    EXPECT_DOUBLE_EQ(db().scalar(QStringLiteral("select 进价 from 商品 where 编码='B02'")).toDouble(), 0.5);
    EXPECT_DOUBLE_EQ(db().scalar(QStringLiteral("select 金额合计 from 进货主")).toDouble(), 111);
    EXPECT_EQ(count(QStringLiteral("日志"), QStringLiteral("操作内容=?"), {QStringLiteral("新增进货单据,单据号为:") + r.number}), 1);
}

TEST_F(BillStoreTest, SaveRefusalsWriteNothing)
{
    BillStore store(db(), BillKind::PurchaseReceipt);
    Bill noSupplier = receipt({line(1, "B01", "瓶", 1, 1)});
    noSupplier.header.partnerCode.clear();
    EXPECT_THROW(
        {
            try {
                store.save(noSupplier, false);
            } catch (const Error &e) {
                EXPECT_EQ(e.message(), QStringLiteral("请正确输入供应商名称!"));
                throw;
            }
        },
        Error);
    Bill tooMuchWriteOff = receipt({line(1, "B01", "瓶", 1, 10)}, 10.01);
    EXPECT_THROW(store.save(tooMuchWriteOff, false), Error);
    Bill blank = receipt({line(1, "", "", 0, 0)});
    EXPECT_TRUE(store.save(blank, false).discarded);
    EXPECT_EQ(count(QStringLiteral("进货主")), 0);
    EXPECT_EQ(count(QStringLiteral("进货子")), 0);
}

TEST_F(BillStoreTest, ReceiptAuditPaymentGuardAndUnaudit)
{
    BillStore store(db(), BillKind::PurchaseReceipt);
    Bill b = receipt({line(1, "B01", "件", 2, 48), line(2, "B02", "盒", 3, 5, "二号仓")}, 0.5);
    const QString number = store.save(b, false).number;

    EXPECT_EQ(store.audit(number), QStringLiteral("应付款已生成!审核成功."));
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("一号仓"), QStringLiteral("B01")), 48);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("库存"), QStringLiteral("B01")), 48);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("库存2"), QStringLiteral("B01"), "金额"), 96);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("二号仓"), QStringLiteral("B02")), 30);
    QSqlQuery p = db().run(QStringLiteral("select 供应商,应付金额,去零头,已付金额,还欠进货款,付清状态,应付款编码 from 采购应付款表 where 处理单据=?"), {number});
    ASSERT_TRUE(p.next());
    EXPECT_EQ(p.value(0).toString(), QStringLiteral("供应商甲"));
    EXPECT_DOUBLE_EQ(p.value(1).toDouble(), 111);
    EXPECT_DOUBLE_EQ(p.value(2).toDouble(), 0.5);
    EXPECT_DOUBLE_EQ(p.value(3).toDouble(), 0);
    EXPECT_DOUBLE_EQ(p.value(4).toDouble(), 110.5);
    EXPECT_EQ(p.value(5).toString(), QStringLiteral("未付清"));
    EXPECT_TRUE(p.value(6).toString().startsWith(QStringLiteral("YF")));
    EXPECT_EQ(db().scalar(QStringLiteral("select 审核标志 from 进货主")).toInt(), 1);

    // A second audit (another workstation) is refused and posts nothing.
    EXPECT_THROW(store.audit(number), Error);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("库存"), QStringLiteral("B01")), 48);
    // Audited bills cannot be changed or deleted.
    Bill again = store.load(number);
    EXPECT_THROW(store.save(again, true), Error);
    EXPECT_THROW(store.remove(number), Error);

    // A payment against the bill blocks the un-audit.
    db().execute(QStringLiteral("insert into 采购付款表(供应商,付款单编码,付款金额,审核标志,处理单据) values('供应商甲','FK1',10,0,?)"), {number});
    EXPECT_THROW(store.unaudit(number), Error);
    EXPECT_EQ(db().scalar(QStringLiteral("select 审核标志 from 进货主")).toInt(), 1);
    db().execute(QStringLiteral("delete from 采购付款表"));
    // So does a payable settled by an offset.
    db().execute(QStringLiteral("update 采购应付款表 set 已付金额=5"));
    EXPECT_THROW(store.unaudit(number), Error);
    db().execute(QStringLiteral("update 采购应付款表 set 已付金额=0"));

    store.unaudit(number);
    EXPECT_EQ(count(QStringLiteral("采购应付款表")), 0);
    for (const QString &t : {QStringLiteral("一号仓"), QStringLiteral("库存"), QStringLiteral("库存2")}) {
        EXPECT_DOUBLE_EQ(stock(t, QStringLiteral("B01")), 0);
        EXPECT_DOUBLE_EQ(stock(t, QStringLiteral("B01"), "金额"), 0);
    }
    EXPECT_THROW(store.unaudit(number), Error);
}

TEST_F(BillStoreTest, AuditClosesTheOrderAndRefusesWithoutRight)
{
    db().execute(QStringLiteral("insert into 采购订单主(单号,审核标志,完成标志) values('G1',0,'未完成')"));
    BillStore store(db(), BillKind::PurchaseReceipt);
    Bill b = receipt({line(1, "B01", "瓶", 1, 0)});
    b.header.orderNumber = QStringLiteral("G1");
    const QString number = store.save(b, false).number;
    EXPECT_EQ(store.audit(number), QStringLiteral("金额为零,无付收款生成!审核成功."));
    EXPECT_EQ(count(QStringLiteral("采购应付款表")), 0);
    EXPECT_EQ(db().scalar(QStringLiteral("select 完成标志 from 采购订单主")).toString(), QStringLiteral("已完成"));
    store.unaudit(number);
    EXPECT_EQ(db().scalar(QStringLiteral("select 完成标志 from 采购订单主")).toString(), QStringLiteral("未完成"));

    addUser(QStringLiteral("0002"), QStringLiteral("李四"), {QStringLiteral("采购进货开票")});
    loginAs(QStringLiteral("0002"));
    EXPECT_THROW(store.audit(number), Error);
    EXPECT_EQ(db().scalar(QStringLiteral("select 审核标志 from 进货主")).toInt(), 0);
}

TEST_F(BillStoreTest, MissingWarehouseRefusesTheWholeAudit)
{
    BillStore store(db(), BillKind::PurchaseReceipt);
    Bill b = receipt({line(1, "B01", "瓶", 5, 1), line(2, "B02", "支", 5, 1, "二号仓")});
    const QString number = store.save(b, false).number;
    MaintainStockTable(db(), StockTableAction::Drop, QStringLiteral("二号仓"));
    try {
        store.audit(number);
        FAIL();
    } catch (const Error &e) {
        EXPECT_EQ(e.message(), QStringLiteral("警告：下面的存放仓库--[二号仓]已经被删除!"));
    }
    // nothing of the command stays: not the flag, not the first line, not the payable
    EXPECT_EQ(db().scalar(QStringLiteral("select 审核标志 from 进货主")).toInt(), 0);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("一号仓"), QStringLiteral("B01")), 0);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("库存"), QStringLiteral("B01")), 0);
    EXPECT_EQ(count(QStringLiteral("采购应付款表")), 0);
    EXPECT_EQ(count(QStringLiteral("日志"), QStringLiteral("操作内容 like '审核%'")), 0);
}

TEST_F(BillStoreTest, ReturnWritesANegativePayable)
{
    BillStore in(db(), BillKind::PurchaseReceipt);
    Bill r = receipt({line(1, "B01", "瓶", 10, 2)});
    in.audit(in.save(r, false).number);
    BillStore out(db(), BillKind::PurchaseReturn);
    Bill b = receipt({line(1, "B01", "瓶", 3, 2)});
    const QString number = out.save(b, false).number;
    EXPECT_TRUE(number.startsWith(QStringLiteral("CH")));
    EXPECT_DOUBLE_EQ(db().scalar(QStringLiteral("select 进价 from 商品 where 编码='B01'")).toDouble(), 2); // return leaves cost alone
    out.audit(number);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("一号仓"), QStringLiteral("B01")), 7);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("库存2"), QStringLiteral("B01"), "金额"), 14);
    QSqlQuery p = db().run(QStringLiteral("select 应付金额,去零头,还欠进货款 from 采购应付款表 where 处理单据=?"), {number});
    ASSERT_TRUE(p.next());
    EXPECT_DOUBLE_EQ(p.value(0).toDouble(), -6);
    EXPECT_DOUBLE_EQ(p.value(1).toDouble(), 0);
    EXPECT_DOUBLE_EQ(p.value(2).toDouble(), -6);
    out.unaudit(number);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("一号仓"), QStringLiteral("B01")), 10);
}

TEST_F(BillStoreTest, LinesComeBackInNumericOrderAndModifyReplacesThem)
{
    BillStore store(db(), BillKind::PurchaseReceipt);
    QList<BillLine> lines;
    for (int i = 1; i <= 15; ++i)
        lines << line(i, i % 2 ? "B01" : "B02", i % 2 ? "瓶" : "支", i, 1);
    Bill b = receipt(lines);
    const QString number = store.save(b, false).number;
    Bill loaded = store.load(number);
    ASSERT_EQ(loaded.lines.size(), 15);
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(loaded.lines.at(i).row, i + 1);
    EXPECT_EQ(store.unauditedNumbers(), QStringList{number});

    loaded.lines.removeLast();
    loaded.lines[0].quantity = 100;
    store.save(loaded, true);
    Bill again = store.load(number);
    EXPECT_EQ(again.lines.size(), 14);
    EXPECT_DOUBLE_EQ(again.lines.first().quantity, 100);
    EXPECT_EQ(count(QStringLiteral("进货主")), 1);

    store.remove(number);
    EXPECT_EQ(count(QStringLiteral("进货主")), 0);
    EXPECT_EQ(count(QStringLiteral("进货子")), 0);
}

TEST_F(BillStoreTest, NewNumbersNeverCollide)
{
    BillStore store(db(), BillKind::PurchaseReceipt);
    Bill a = receipt({line(1, "B01", "瓶", 1, 1)});
    Bill b = receipt({line(1, "B01", "瓶", 1, 1)});
    a.header.number = b.header.number = MakeBillNo(QStringLiteral("J")); // both started in the same second
    const auto ra = store.save(a, false);
    const auto rb = store.save(b, false);
    EXPECT_NE(ra.number, rb.number);
    EXPECT_TRUE(rb.renumbered);
    EXPECT_EQ(count(QStringLiteral("进货主")), 2);
}

TEST_F(BillStoreTest, StockTakeAndTransferPostings)
{
    StockLedger ledger(db());
    ledger.postLine(QStringLiteral("一号仓"), QStringLiteral("B01"), 12, 18, +1, true, QString());
    ledger.postLine(QStringLiteral("二号仓"), QStringLiteral("B01"), 3, 4.5, +1, true, QString());

    BillStore take(db(), BillKind::StockTake);
    Bill t;
    t.header.place = QStringLiteral("一号仓");
    t.lines = {line(1, "B01", "瓶", 5, 0)};
    const QString pd = take.save(t, false).number;
    take.audit(pd);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("一号仓"), QStringLiteral("B01")), 5);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("库存"), QStringLiteral("B01")), 8);  // 5 + 3
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("库存2"), QStringLiteral("B01")), 15); // untouched by a stock take

    BillStore transfer(db(), BillKind::StockTransfer);
    Bill m;
    BillLine l = line(1, "B01", "瓶", 4, 0, "一号仓");
    l.warehouseIn = QStringLiteral("二号仓");
    m.lines = {l};
    const QString db_ = transfer.save(m, false).number;
    transfer.audit(db_);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("一号仓"), QStringLiteral("B01")), 1);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("二号仓"), QStringLiteral("B01")), 7);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("库存"), QStringLiteral("B01")), 8);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("二号仓"), QStringLiteral("B01"), "金额"), 4.5 + 4 * 1.5);
    transfer.unaudit(db_);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("一号仓"), QStringLiteral("B01")), 5);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("二号仓"), QStringLiteral("B01")), 3);
}
