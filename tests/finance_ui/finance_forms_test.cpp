#include "finance/cash_ledger.h"
#include "finance/settlement.h"
#include "support/test_db.h"
#include "ui/common/data_grid.h"
#include "ui/finance/bank_forms.h"
#include "ui/finance/settlement_forms.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QTableView>
#include <QTableWidget>

using namespace tavomi;
using namespace tavomi::finance;
using tavomi::test::DbTest;

namespace {

class FinanceFormsTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        addCustomer(QStringLiteral("HL"), QStringLiteral("华联超市"));
        for (const QString &name : {QStringLiteral("现金"), QStringLiteral("现金2")})
            db().execute(QStringLiteral("insert into 银行帐户表(编号,账户名称,期初额,期未额) values(?,?,0,0)"), {name, name});
        const QString sql = QStringLiteral("insert into 销售应收款表(订单号,处理单据,客户名称,应收款编码,发生日期,收款日期,应收款,去零头,已收款,欠款,录入日期,付清状态) "
                                           "values('',?,'华联超市',?,'2026-03-15','2026-03-15',?,0,0,?,'2026-03-15','未付清')");
        db().execute(sql, {QStringLiteral("X1"), QStringLiteral("YS1"), 100.0, 100.0});
        db().execute(sql, {QStringLiteral("T1"), QStringLiteral("YS2"), -30.0, -30.0});
        loginAs(QStringLiteral("0001"));
    }
};

} // namespace

// Road of a collection through the forms: cash desk, list, audit, ledger.
TEST_F(FinanceFormsTest, CollectAuditAndSeeTheLedger)
{
    {
        CashDeskDialog desk(receivableForms());
        ASSERT_TRUE(desk.loadPartner(QStringLiteral("华联超市")));
        int bill = -1;
        for (int r = 0; r < desk.table()->rowCount(); ++r)
            if (desk.table()->item(r, 6)->text() == QStringLiteral("X1"))
                bill = r;
        desk.selectRow(bill);
        desk.openDesk();
        EXPECT_EQ(desk.outstandingEdit()->text(), QStringLiteral("70.00"));
        EXPECT_EQ(desk.deductEdit()->text(), QStringLiteral("-30.00"));
        desk.confirm(); // no account chosen
        EXPECT_EQ(messages().lastText(), QStringLiteral("请确保收款方式和收款去向不为空!"));
        desk.methodCombo()->setCurrentText(QStringLiteral("现金"));
        desk.accountCombo()->setCurrentIndex(desk.accountCombo()->findText(QStringLiteral("现金2")));
        desk.confirm();
        EXPECT_EQ(desk.result(), QDialog::Accepted); // nothing left open
    }
    MoneyListForm list(receivableForms());
    ASSERT_EQ(list.grid()->totalRows(), 1);
    list.grid()->view()->selectRow(0);
    messages().answer(false);
    list.auditCurrent();
    EXPECT_EQ(count(QStringLiteral("销售收款表"), QStringLiteral("审核标志=1")), 0);
    messages().answer(true);
    list.auditCurrent();
    EXPECT_EQ(count(QStringLiteral("销售收款表"), QStringLiteral("审核标志=1")), 1);
    list.grid()->view()->selectRow(0);
    list.auditCurrent();
    EXPECT_EQ(messages().lastText(), kAlreadyAuditedText);

    BankLedgerForm ledger;
    ledger.accountCombo()->setCurrentText(QStringLiteral("现金"));
    EXPECT_EQ(ledger.grid()->totalRows(), 0);
    ledger.accountCombo()->setCurrentText(QStringLiteral("现金2"));
    EXPECT_EQ(ledger.grid()->totalRows(), 1);
    EXPECT_DOUBLE_EQ(ledger.grid()->total(QStringLiteral("借方发生")), 70);
}

TEST_F(FinanceFormsTest, ReceivableListFiltersAndDeletes)
{
    ItemListForm list(receivableForms());
    EXPECT_EQ(list.grid()->totalRows(), 2);
    EXPECT_DOUBLE_EQ(list.grid()->total(QStringLiteral("欠款")), 70);
    list.grid()->view()->selectRow(0);
    messages().answer(true);
    list.deleteItem();
    EXPECT_EQ(messages().lastText(), QStringLiteral("删除成功！"));
    EXPECT_EQ(count(QStringLiteral("销售应收款表")), 1);
}
