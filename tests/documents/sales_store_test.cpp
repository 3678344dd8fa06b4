#include "common/error.h"
#include "documents/bill_store.h"
#include "documents/sales_rules.h"
#include "documents/stock_ledger.h"
#include "support/test_db.h"

#include <optional>

using namespace tavomi;
using namespace tavomi::docs;
using tavomi::test::DbTest;

namespace {

class SalesStoreTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        addWarehouse(QStringLiteral("一号仓"));
        addWarehouse(QStringLiteral("二号仓"));
        addCustomer(QStringLiteral("KH1"), QStringLiteral("客户甲"), QStringLiteral("批价"));
        addGoods(QStringLiteral("B01"), QStringLiteral("啤酒"), 1.5, 3);
        db().execute(QStringLiteral("update 商品 set 单位='瓶*24',大包装='件',小包装=24,柜组='1件*24瓶',换算数='件瓶',批价=2 where 编码='B01'"));
        addGoods(QStringLiteral("B02"), QStringLiteral("铅笔"), 0.5, 1);
        db().execute(QStringLiteral("update 商品 set 单位='支*10',大包装='件',小包装=120,柜组='1件*12盒*10支',换算数='件盒支' where 编码='B02'"));
    }

    Bill bill(const QList<BillLine> &lines, double writeOff = 0)
    {
        Bill b;
        b.header.partnerCode = QStringLiteral("KH1");
        b.header.partnerName = QStringLiteral("客户甲");
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
    void putStock(const char *warehouse, const char *code, double quantity, double amount)
    {
        StockLedger(db()).postLine(QString::fromUtf8(warehouse), QString::fromUtf8(code), quantity, amount, 1, true, QString());
    }
    double stock(const QString &table, const char *code, const char *column = "数量")
    {
        return db().scalar(QStringLiteral("select %1 from %2 where 编码=?").arg(QString::fromUtf8(column), db().quoteName(table)),
                           {QString::fromUtf8(code)})
            .toDouble();
    }
    QString saveAndAudit(BillKind kind, Bill b)
    {
        BillStore store(db(), kind);
        const QString number = store.save(b, false).number;
        store.audit(number);
        return number;
    }
};

} // namespace

TEST_F(SalesStoreTest, PriceChoiceFollowsCustomerClass)
{
    const char *const spelled[] = {"价格一", "价格二", "价格三", "价格四", "价格五", "价格六", "价格七", "价格八", "价格九", "价格十"};
    for (int i = 0; i < 10; ++i)
        db().execute(QStringLiteral("update 商品 set %1=? where 编码='B01'").arg(QString::fromUtf8(spelled[i])), {11.0 + i});
    for (int i = 11; i <= 20; ++i)
        db().execute(QStringLiteral("update 商品 set 价格%1=? where 编码='B01'").arg(i), {double(10 + i)});
    db().execute(QStringLiteral("update 商品 set 进价=1.25 where 编码='B01'"));

    const struct
    {
        const char *priceClass;
        std::optional<double> price;
    } cases[] = {
        {"批价", 2},    {"售价", 3},    {"进价", 1.25}, {" 价格一 ", 11}, {"价格五", 15},  {"价格6", 16},
        {"价格7", 17},  {"价格10", 20}, {"价格11", 21}, {"价格20", 30},   {"价格六", {}}, {"价格21", {}},
        {"会员价", {}}, {"", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.priceClass);
        EXPECT_EQ(salesPrice(db(), QStringLiteral("B01"), QStringLiteral("KH1"), QString::fromUtf8(c.priceClass), true), c.price);
    }
    // Without a customer the line takes 售价; a goods that is not active gives nothing.
    EXPECT_EQ(salesPrice(db(), QStringLiteral("B01"), QString(), QStringLiteral("批价"), true), 3.0);
    db().execute(QStringLiteral("update 商品 set 淘汰否='是' where 编码='B02'"));
    EXPECT_EQ(salesPrice(db(), QStringLiteral("B02"), QStringLiteral("KH1"), QStringLiteral("售价"), true), std::nullopt);
}

TEST_F(SalesStoreTest, SavedShipmentRemembersCustomerPriceForTheNextBill)
{
    BillStore store(db(), BillKind::SalesShipment);
    // 2 件 at 48 per 件: 2 per bottle, before the discount.
    BillLine l = line(1, "B01", "件", 2, 48);
    l.discount = 0.9;
    Bill first = bill({l});
    store.save(first, false);
    EXPECT_DOUBLE_EQ(db().scalar(QStringLiteral("select 最近售价 from 客户售价 where 客户编码='KH1' and 商品编码='B01'")).toDouble(), 2);
    EXPECT_EQ(salesPrice(db(), QStringLiteral("B01"), QStringLiteral("KH1"), QStringLiteral("售价"), true), 2.0);
    // The memory is off: the price class decides.
    EXPECT_EQ(salesPrice(db(), QStringLiteral("B01"), QStringLiteral("KH1"), QStringLiteral("售价"), false), 3.0);

    Bill next = bill({line(1, "B01", "瓶", 5, 2.5)});
    store.save(next, false);
    EXPECT_EQ(count(QStringLiteral("客户售价")), 1);
    EXPECT_EQ(salesPrice(db(), QStringLiteral("B01"), QStringLiteral("KH1"), QStringLiteral("批价"), true), 2.5);

    // A return reads the memory but never writes it.
    Bill back = bill({line(1, "B02", "支", 1, 9)});
    BillStore(db(), BillKind::SalesReturn).save(back, false);
    EXPECT_EQ(count(QStringLiteral("客户售价")), 1);
}

TEST_F(SalesStoreTest, StockCheckSumsEachGoodsPerWarehouse)
{
    putStock("一号仓", "B01", 10, 15);
    putStock("二号仓", "B01", 10, 15);
    BillStore store(db(), BillKind::SalesShipment);
    QString message;

    // Six from each warehouse: each holds ten.
    EXPECT_EQ(store.stockShortage(bill({line(1, "B01", "瓶", 6, 2), line(2, "B01", "瓶", 6, 2, "二号仓")}), -1, &message), -1);

    // Six and five from the same warehouse: eleven of ten.
    const Bill b = bill({line(1, "B01", "瓶", 6, 2), line(2, "B01", "瓶", 5, 2)});
    EXPECT_EQ(store.stockShortage(b, -1, &message), 0);
    EXPECT_EQ(message, QStringLiteral("警告:[一号仓]的B01商品库存已经不够你现在要出货的数量了,现在库存为：10瓶"));
    EXPECT_EQ(store.stockShortage(b, 1, &message), 1);

    // A goods the warehouse has no row for holds nothing.
    EXPECT_EQ(store.stockShortage(bill({line(1, "B02", "支", 1, 1)}), 0, &message), 0);
    EXPECT_EQ(message, QStringLiteral("警告:[一号仓]的B02商品库存已经不够你现在要出货的数量了,现在库存为：0支"));
    // So does a warehouse that is gone.
    EXPECT_EQ(store.stockShortage(bill({line(1, "B01", "瓶", 1, 1, "旧仓")}), -1, &message), 0);
}

TEST_F(SalesStoreTest, AuditTakesStockAtCostWritesReceivableAndClosesTheOrder)
{
    putStock("一号仓", "B01", 100, 150);
    db().execute(QStringLiteral("insert into 客户订单主(单号,客户编码,客户名称,审核标志,完成标志) values('DD1','KH1','客户甲',0,'未完成')"));
    Bill b = bill({line(1, "B01", "件", 2, 48)}, 1);
    b.header.orderNumber = QStringLiteral("DD1");
    b.header.invoiceNumber = QStringLiteral("FP7");
    BillStore store(db(), BillKind::SalesShipment);
    const QString number = store.save(b, false).number;
    EXPECT_TRUE(number.startsWith(QLatin1Char('X')));
    EXPECT_EQ(db().scalar(QStringLiteral("select 结算标志 from 销售主")).toString(), QStringLiteral("未付清"));

    EXPECT_EQ(store.audit(number), QStringLiteral("应收款已生成!审核成功."));
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("一号仓"), "B01"), 52);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("一号仓"), "B01", "金额"), 78); // 48 bottles at the cost of 1.5
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("库存"), "B01"), 52);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("库存2"), "B01"), 52);
    QSqlQuery r = db().run(QStringLiteral("select 订单号,客户名称,应收款编码,发生日期,收款日期,应收款,去零头,已收款,欠款,录入日期,付清状态,发票号 "
                                          "from 销售应收款表 where 处理单据=?"),
                           {number});
    ASSERT_TRUE(r.next());
    EXPECT_EQ(r.value(0).toString(), QStringLiteral("DD1"));
    EXPECT_EQ(r.value(1).toString(), QStringLiteral("客户甲"));
    EXPECT_TRUE(r.value(2).toString().startsWith(QStringLiteral("YS20260315")));
    EXPECT_EQ(r.value(3).toString(), QStringLiteral("2026-03-15"));
    EXPECT_EQ(r.value(4).toString(), QStringLiteral("2026-03-15"));
    EXPECT_DOUBLE_EQ(r.value(5).toDouble(), 96);
    EXPECT_DOUBLE_EQ(r.value(6).toDouble(), 1);
    EXPECT_DOUBLE_EQ(r.value(7).toDouble(), 0);
    EXPECT_DOUBLE_EQ(r.value(8).toDouble(), 95);
    EXPECT_EQ(r.value(9).toString(), QStringLiteral("2026-03-15"));
    EXPECT_EQ(r.value(10).toString(), QStringLiteral("未付清"));
    EXPECT_EQ(r.value(11).toString(), QStringLiteral("FP7"));
    EXPECT_FALSE(r.next());
    QSqlQuery o = db().run(QStringLiteral("select 审核标志,完成标志,日期 from 客户订单主 where 单号='DD1'"));
    ASSERT_TRUE(o.next());
    EXPECT_EQ(o.value(0).toInt(), 1);
    EXPECT_EQ(o.value(1).toString(), QStringLiteral("已完成"));
    EXPECT_EQ(o.value(2).toString(), QStringLiteral("2026-03-15"));

    store.unaudit(number);
    EXPECT_EQ(count(QStringLiteral("销售应收款表")), 0);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("一号仓"), "B01"), 100);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("库存"), "B01", "金额"), 150);
    EXPECT_EQ(db().scalar(QStringLiteral("select 完成标志 from 客户订单主 where 单号='DD1'")).toString(), QStringLiteral("未完成"));
}

TEST_F(SalesStoreTest, SettleFlagComparesCentsAndZeroTotalWritesNoReceivable)
{
    BillStore store(db(), BillKind::SalesShipment);
    // 3 × 0.1 is 0.30000000000000004 as a double; written off 0.3, nothing is owed.
    Bill paid = bill({line(1, "B02", "支", 3, 0.1)}, 0.3);
    const QString number = store.save(paid, false).number;
    EXPECT_EQ(db().scalar(QStringLiteral("select 结算标志 from 销售主 where 单号=?"), {number}).toString(), QStringLiteral("已付清"));

    Bill free = bill({line(1, "B02", "支", 3, 0)});
    const QString zero = store.save(free, false).number;
    EXPECT_EQ(store.audit(zero), QStringLiteral("金额为零,无应收款生成!审核成功."));
    EXPECT_EQ(count(QStringLiteral("销售应收款表")), 0);
}

TEST_F(SalesStoreTest, ReturnLowersTheCustomersDebt)
{
    putStock("一号仓", "B01", 100, 150);
    saveAndAudit(BillKind::SalesShipment, bill({line(1, "B01", "瓶", 50, 2)}));
    EXPECT_DOUBLE_EQ(customerDebt(db(), QStringLiteral("客户甲")), 100);

    Bill back = bill({line(1, "B01", "瓶", 10, 3)});
    back.header.summary = QStringLiteral("随便");
    back.header.time = QStringLiteral("9:30");
    BillStore returns(db(), BillKind::SalesReturn);
    const QString number = returns.save(back, false).number;
    EXPECT_TRUE(number.startsWith(QStringLiteral("XT")));
    QSqlQuery h = db().run(QStringLiteral("select 摘要,时间 from 销售退货主"));
    ASSERT_TRUE(h.next());
    EXPECT_EQ(h.value(0).toString(), QStringLiteral("良品入库"));
    EXPECT_EQ(h.value(1).toString(), QStringLiteral("09:30:00"));
    EXPECT_EQ(returns.audit(number), QStringLiteral("应收款已生成!审核成功."));

    EXPECT_DOUBLE_EQ(customerDebt(db(), QStringLiteral("客户甲")), 70);
    QSqlQuery r = db().run(QStringLiteral("select 应收款,去零头,欠款,付清状态 from 销售应收款表 where 处理单据=?"), {number});
    ASSERT_TRUE(r.next());
    EXPECT_DOUBLE_EQ(r.value(0).toDouble(), -30);
    EXPECT_DOUBLE_EQ(r.value(1).toDouble(), 0);
    EXPECT_DOUBLE_EQ(r.value(2).toDouble(), -30);
    EXPECT_EQ(r.value(3).toString(), QStringLiteral("未付清"));
    // Goods come back at cost: 100 − 50 + 10 bottles.
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("一号仓"), "B01"), 60);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("库存"), "B01", "金额"), 90);

    returns.unaudit(number);
    EXPECT_DOUBLE_EQ(customerDebt(db(), QStringLiteral("客户甲")), 100);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("一号仓"), "B01"), 50);
}

TEST_F(SalesStoreTest, UnauditRefusedOnceTheReceivableIsSettled)
{
    const QString refusal = QStringLiteral("对不起,此单据已经有对应的收款业务发生,不能反审单据,如果你一定要反审,\n请您先将此单据对应的收款单据删除后再反审!");
    const struct
    {
        const char *name;
        const char *settle; // statement that settles the receivable of bill ?
    } cases[] = {
        {"collection", "insert into 销售收款表(客户名称,收款单编码,收款金额,审核标志,处理单号) values('客户甲','SK1',10,0,?)"},
        {"offset", "update 销售应收款表 set 已收款=欠款,欠款=0,付清状态='已付清' where 处理单据=?"},
        {"credit", "update 销售应收款表 set 付清状态='正待审核' where 处理单据=?"},
        {"part paid", "update 销售应收款表 set 已收款=5 where 处理单据=?"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        BillStore store(db(), BillKind::SalesShipment);
        const QString number = saveAndAudit(BillKind::SalesShipment, bill({line(1, "B01", "瓶", 5, 2)}));
        db().execute(QString::fromUtf8(c.settle), {number});
        try {
            store.checkUnaudit(number);
            ADD_FAILURE() << "un-audit allowed";
        } catch (const Error &e) {
            EXPECT_EQ(e.message(), refusal);
        }
        EXPECT_THROW(store.unaudit(number), Error);
        EXPECT_EQ(db().scalar(QStringLiteral("select 审核标志 from 销售主 where 单号=?"), {number}).toInt(), 1);
        EXPECT_EQ(count(QStringLiteral("销售应收款表"), QStringLiteral("处理单据=?"), {number}), 1);
        db().execute(QStringLiteral("delete from 销售收款表"));
        db().execute(QStringLiteral("delete from 销售应收款表"));
        db().execute(QStringLiteral("delete from 销售主"));
        db().execute(QStringLiteral("delete from 销售子"));
    }
}

// One goods on several lines of one bill, from one warehouse: every line moves the stock.
TEST_F(SalesStoreTest, RepeatedGoodsLinesAllPost)
{
    addSupplier(QStringLiteral("GY1"), QStringLiteral("供应商"));
    for (BillKind kind : {BillKind::SalesShipment, BillKind::PurchaseReceipt, BillKind::SalesShipment}) {
        const double first = stock(QStringLiteral("一号仓"), "B02");
        const double total = stock(QStringLiteral("库存"), "B02");
        const double sign = kind == BillKind::SalesShipment ? -1 : 1;
        Bill b = bill({line(1, "B02", "支", 6, 1), line(2, "B02", "支", 7, 1), line(3, "B02", "支", 4, 1, "二号仓")});
        if (kind == BillKind::PurchaseReceipt) {
            b.header.partnerCode = QStringLiteral("GY1");
            b.header.partnerName = QStringLiteral("供应商");
        }
        saveAndAudit(kind, b);
        EXPECT_DOUBLE_EQ(stock(QStringLiteral("一号仓"), "B02"), first + sign * 13);
        EXPECT_DOUBLE_EQ(stock(QStringLiteral("库存"), "B02"), total + sign * 17);
    }
}
