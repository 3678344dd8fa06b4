#include "finance/cash_ledger.h"
#include "finance/settlement.h"
#include "support/test_db.h"
#include "ui/common/data_grid.h"
#include "ui/finance/bank_forms.h"
#include "ui/finance/settlement_forms.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QPushButton>
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

// The manual dialog of both sides: a new row, a bill's row (number and amount kept, shown
// read-only), a hand-entered row (number editable).
TEST_F(FinanceFormsTest, ManualItemDialogBothSides)
{
    addSupplier(QStringLiteral("GY"), QStringLiteral("永辉批发"));
    db().execute(QStringLiteral("insert into 采购应付款表(订单号,处理单据,供应商,应付款编码,发生日期,付款日期,应付金额,去零头,已付金额,还欠进货款,录入日期,付清状态) "
                                "values('','J1','永辉批发','YF1','2026-03-15','2026-03-15',100,0,0,100,'2026-03-15','未付清')"));
    struct Side
    {
        const SettlementForms *forms;
        const char *partner;
        const char *billCode; // the bill's row
        const char *bill;
    };
    const Side sides[] = {{&receivableForms(), "华联超市", "YS1", "X1"}, {&payableForms(), "永辉批发", "YF1", "J1"}};
    for (const Side &side : sides) {
        const SettlementDescriptor &d = *side.forms->d;
        SCOPED_TRACE(side.forms->itemAddForm.toStdString());
        const QString owedWhere = QStringLiteral("%1=? and 处理单据=? and %2=100 and %3=90").arg(d.itemCode, d.itemAmount, d.itemOwed);

        QString manualCode;
        {
            ManualItemDialog dialog(*side.forms, QString{});
            EXPECT_EQ(dialog.objectName(), side.forms->itemAddForm);
            EXPECT_TRUE(dialog.edit(QStringLiteral("Edit3"))->isReadOnly()); // a new row gets its own number
            dialog.edit(QStringLiteral("Edit4"))->setText(QString::fromUtf8(side.partner));
            dialog.edit(QStringLiteral("Edit1"))->setText(QStringLiteral("80"));
            dialog.edit(QStringLiteral("Edit5"))->setText(QStringLiteral("5"));
            dialog.findChild<QDateEdit *>(QStringLiteral("dt2"))->setDate(QDate(2026, 3, 20));
            dialog.save();
            EXPECT_EQ(messages().lastText(), QStringLiteral("保存成功！"));
            EXPECT_EQ(dialog.edit(QStringLiteral("Edit2"))->text().toDouble(), 75);
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            manualCode = db().scalar(QStringLiteral("select %1 from %2 where 处理单据 like ?").arg(d.itemCode, d.itemTable),
                                     {d.manualPrefix + QStringLiteral("%")})
                             .toString();
            EXPECT_EQ(count(d.itemTable, QStringLiteral("%1=? and %2=75 and %3='2026-03-20' and 付清状态='未付清'").arg(d.itemCode, d.itemOwed, d.itemDue),
                            {manualCode}),
                      1);
        }
        {
            ManualItemDialog dialog(*side.forms, QString::fromUtf8(side.billCode));
            EXPECT_EQ(dialog.edit(QStringLiteral("Edit3"))->text(), QString::fromUtf8(side.bill));
            EXPECT_TRUE(dialog.edit(QStringLiteral("Edit3"))->isReadOnly());
            EXPECT_FALSE(dialog.edit(QStringLiteral("Edit1"))->isEnabled());
            dialog.edit(QStringLiteral("Edit5"))->setText(QStringLiteral("10"));
            dialog.save();
            EXPECT_EQ(messages().lastText(), QStringLiteral("修改成功！"));
            EXPECT_EQ(count(d.itemTable, owedWhere, {QString::fromUtf8(side.billCode), QString::fromUtf8(side.bill)}), 1);
        }
        {
            ManualItemDialog dialog(*side.forms, manualCode);
            EXPECT_FALSE(dialog.edit(QStringLiteral("Edit3"))->isReadOnly());
            EXPECT_TRUE(dialog.edit(QStringLiteral("Edit1"))->isEnabled());
            dialog.edit(QStringLiteral("Edit1"))->setText(QStringLiteral("0"));
            dialog.save();
            EXPECT_EQ(messages().lastText(), d.writeOffText); // 应收款 0 is not above the 去零头 of 5
            EXPECT_NE(dialog.result(), QDialog::Accepted);
        }
    }
}

// A transfer through its two forms: saved, modified while unaudited, audited from the list; the
// audit button follows the selected row.
TEST_F(FinanceFormsTest, TransferSavedModifiedAndAuditedThroughTheForms)
{
    db().execute(QStringLiteral("update 银行帐户表 set 期初额=1000,期未额=1000 where 账户名称='现金'"));
    db().execute(QStringLiteral("update 银行帐户表 set 期初额=50,期未额=50 where 账户名称='现金2'"));
    db().execute(QStringLiteral("insert into 经手人(编号,经手人) values('01','张三')"));
    auto fill = [](BankAddDialog &dialog, const QString &amount) {
        dialog.findChild<QLineEdit *>(QStringLiteral("Edit3"))->setText(amount);
        dialog.findChild<QComboBox *>(QStringLiteral("ComboBox1"))->setCurrentText(QStringLiteral("现金"));
        dialog.findChild<QComboBox *>(QStringLiteral("ComboBox2"))->setCurrentText(QStringLiteral("现金2"));
        dialog.findChild<QComboBox *>(QStringLiteral("ComboBox3"))->setCurrentText(QStringLiteral("张三"));
    };
    {
        BankAddDialog dialog{QString()};
        fill(dialog, QStringLiteral("300"));
        dialog.findChild<QComboBox *>(QStringLiteral("ComboBox2"))->setCurrentText(QStringLiteral("现金"));
        dialog.save();
        EXPECT_EQ(messages().lastText(), QStringLiteral("转出账户不能和转入账户相同!"));
        fill(dialog, QStringLiteral("300"));
        dialog.save();
        EXPECT_EQ(messages().lastText(), QStringLiteral("增加成功!"));
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    const QString number = db().scalar(QStringLiteral("select 单据 from 存取款表")).toString();
    EXPECT_EQ(count(QStringLiteral("存取款表"), QStringLiteral("金额=300 and 操作员<>'' and 审核状态='0'")), 1);
    {
        BankAddDialog dialog(number);
        EXPECT_EQ(dialog.findChild<QLineEdit *>(QStringLiteral("Edit3"))->text().toDouble(), 300);
        EXPECT_EQ(dialog.findChild<QComboBox *>(QStringLiteral("ComboBox2"))->currentText(), QStringLiteral("现金2"));
        dialog.findChild<QLineEdit *>(QStringLiteral("Edit3"))->setText(QStringLiteral("250"));
        dialog.save();
        EXPECT_EQ(messages().lastText(), QStringLiteral("修改成功!"));
    }
    EXPECT_DOUBLE_EQ(accountBalance(db(), QStringLiteral("现金")), 1000); // nothing moves before the audit

    BankAccessForm list;
    ASSERT_EQ(list.grid()->totalRows(), 1);
    list.grid()->view()->selectRow(0);
    EXPECT_FALSE(list.auditButton()->isHidden());
    list.auditTransfer();
    EXPECT_DOUBLE_EQ(accountBalance(db(), QStringLiteral("现金")), 750);
    EXPECT_DOUBLE_EQ(accountBalance(db(), QStringLiteral("现金2")), 300);
    EXPECT_EQ(count(QStringLiteral("现金明细表"), QStringLiteral("编码=? and 审核状态='1'"), {number}), 2);
    list.grid()->view()->selectRow(0);
    EXPECT_TRUE(list.auditButton()->isHidden());
    list.modifyTransfer();
    EXPECT_EQ(messages().lastText(), QStringLiteral("审核记录，不能修改!"));
    list.deleteTransfer();
    EXPECT_EQ(messages().lastText(), QStringLiteral("审核单据，不能删除!"));
    EXPECT_EQ(count(QStringLiteral("存取款表")), 1);
}

// The payment desk: 500 owed (after a 去零头 of 5) and a return credit of −200 give 300 to pay;
// the 去零头 is shown without its sign.
TEST_F(FinanceFormsTest, PaymentDesk)
{
    addSupplier(QStringLiteral("GY"), QStringLiteral("永辉批发"));
    const QString sql = QStringLiteral("insert into 采购应付款表(订单号,处理单据,供应商,应付款编码,发生日期,付款日期,应付金额,去零头,已付金额,还欠进货款,录入日期,付清状态) "
                                       "values('',?,'永辉批发',?,'2026-03-15','2026-03-15',?,?,0,?,'2026-03-15','未付清')");
    db().execute(sql, {QStringLiteral("J1"), QStringLiteral("YF1"), 505.0, 5.0, 500.0});
    db().execute(sql, {QStringLiteral("R1"), QStringLiteral("YF2"), -205.0, -5.0, -200.0});
    db().execute(QStringLiteral("update 银行帐户表 set 期未额=1000 where 账户名称='现金'"));

    CashDeskDialog desk(payableForms());
    EXPECT_EQ(desk.objectName(), QStringLiteral("Tfrm_fkgl_add"));
    EXPECT_EQ(desk.panel()->title(), QStringLiteral("付款台"));
    desk.openDesk();
    EXPECT_EQ(messages().lastText(), QStringLiteral("请先选择供应商"));
    ASSERT_TRUE(desk.loadPartner(QStringLiteral("永辉批发")));
    auto rowOf = [&](const QString &bill) {
        for (int r = 0; r < desk.table()->rowCount(); ++r)
            if (desk.table()->item(r, 6)->text() == bill)
                return r;
        return -1;
    };
    auto *writeOff = desk.panel()->findChild<QLineEdit *>(QStringLiteral("Edit6"));
    desk.selectRow(rowOf(QStringLiteral("R1")));
    desk.openDesk();
    EXPECT_EQ(writeOff->text(), QStringLiteral("5.00"));
    desk.selectRow(rowOf(QStringLiteral("J1")));
    desk.openDesk();
    EXPECT_EQ(writeOff->text(), QStringLiteral("5.00"));
    EXPECT_EQ(desk.outstandingEdit()->text(), QStringLiteral("300.00"));
    EXPECT_EQ(desk.deductEdit()->text(), QStringLiteral("-200.00"));
    EXPECT_EQ(desk.amountEdit()->text(), QStringLiteral("300.00"));
    desk.methodCombo()->setCurrentIndex(0);
    desk.accountCombo()->setCurrentIndex(desk.accountCombo()->findText(QStringLiteral("现金")));
    desk.amountEdit()->setText(QStringLiteral("300.01"));
    desk.confirm();
    EXPECT_EQ(messages().lastText(), QStringLiteral("付款金额不能等于0或小于零或大于尚欠款!"));
    desk.amountEdit()->setText(QStringLiteral("300"));
    desk.confirm();
    EXPECT_EQ(desk.result(), QDialog::Accepted); // nothing left owed
    EXPECT_EQ(count(QStringLiteral("采购付款表"), QStringLiteral("付款金额=300 and 付款来源='现金' and 审核标志=0 and 处理单据='J1'")), 1);
    EXPECT_EQ(count(QStringLiteral("采购应付款表"), QStringLiteral("付清状态=?"), {kStatePending}), 1);
    EXPECT_EQ(count(QStringLiteral("采购应付款表"), QStringLiteral("处理单据='R1' and 付清状态=?"), {kStateSettled}), 1);
    EXPECT_DOUBLE_EQ(accountBalance(db(), QStringLiteral("现金")), 1000);
}
