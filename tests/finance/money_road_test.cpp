#include "common/error.h"
#include "documents/bill_store.h"
#include "finance/cash_ledger.h"
#include "finance/settlement.h"
#include "support/test_db.h"

using namespace tavomi;
using namespace tavomi::docs;
using namespace tavomi::finance;
using tavomi::test::DbTest;

using MoneyRoadTest = DbTest;

// The road of a sale: shipment audited → receivable → collection at the cash desk → audit →
// ledger row with the new balance → the shipment can no longer be un-audited.
TEST_F(MoneyRoadTest, ShipmentReceivableCollectionLedger)
{
    addWarehouse(QStringLiteral("一号仓"));
    addGoods(QStringLiteral("B01"), QStringLiteral("啤酒"), 1.5, 3);
    addCustomer(QStringLiteral("KH1"), QStringLiteral("客户甲"));
    db().execute(QStringLiteral("insert into 银行帐户表(编号,账户名称,期初额,期未额) values('01','现金',100,100)"));

    BillStore sales(db(), BillKind::SalesShipment);
    Bill b;
    b.header.partnerCode = QStringLiteral("KH1");
    b.header.partnerName = QStringLiteral("客户甲");
    BillLine l;
    l.row = 1;
    l.code = QStringLiteral("B01");
    l.unit = QStringLiteral("个");
    l.quantity = 10;
    l.price = 3;
    l.warehouse = QStringLiteral("一号仓");
    b.lines = {l};
    const QString number = sales.save(b, false).number;
    sales.audit(number);
    EXPECT_DOUBLE_EQ(db().scalar(QStringLiteral("select 数量 from 库存 where 编码='B01'")).toDouble(), -10);

    Settlement money(db(), receivables());
    const QList<OpenItem> open = money.openItems(QStringLiteral("客户甲"));
    ASSERT_EQ(open.size(), 1);
    EXPECT_DOUBLE_EQ(open.first().owed, 30);
    EXPECT_EQ(open.first().bill, number);

    MoneyRequest r;
    r.partner = QStringLiteral("客户甲");
    r.bill = open.first().bill;
    r.code = open.first().code;
    r.amountText = QStringLiteral("30");
    r.date = QStringLiteral("2026-03-15");
    r.invoice = QStringLiteral("0001");
    r.handler = QStringLiteral("系统操作员");
    r.method = QStringLiteral("现金");
    r.account = QStringLiteral("现金");
    const PostingResult posted = money.post(r);
    ASSERT_FALSE(posted.moneyCode.isEmpty());
    EXPECT_DOUBLE_EQ(accountBalance(db(), QStringLiteral("现金")), 100); // money reaches the account only at audit

    money.audit(posted.moneyCode);
    EXPECT_DOUBLE_EQ(accountBalance(db(), QStringLiteral("现金")), 130);
    QSqlQuery ledger = db().run(QStringLiteral("select 业务类型,借方发生,余额 from 现金明细表 where 编码=?"), {posted.moneyCode});
    ASSERT_TRUE(ledger.next());
    EXPECT_EQ(ledger.value(0).toString(), QStringLiteral("销售收款出入"));
    EXPECT_DOUBLE_EQ(ledger.value(1).toDouble(), 30);
    EXPECT_DOUBLE_EQ(ledger.value(2).toDouble(), 130);
    EXPECT_EQ(db().scalar(QStringLiteral("select 付清状态 from 销售应收款表 where 处理单据=?"), {number}).toString(), kStateSettled);

    // The collection ties the shipment down.
    EXPECT_THROW(sales.unaudit(number), Error);
    EXPECT_EQ(db().scalar(QStringLiteral("select 审核标志 from 销售主 where 单号=?"), {number}).toInt(), 1);
}
