#include "documents/sales_rules.h"
#include "documents/stock_ledger.h"
#include "form_fixture.h"
#include "ui/app/form_registry.h"
#include "ui/documents/locate_sell_frm.h"
#include "ui/documents/sell_frm.h"
#include "ui/documents/xsthgl_modi_loc_frm.h"
#include "ui/documents/xsthgl_modi_frm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>

using namespace tavomi;
using tavomi::test::BillFormTest;

namespace {

// A customer buying at 批价 with a remembered price for B02, default warehouse 一号仓 and a
// default discount of 0.95.
class SalesFormTest : public BillFormTest
{
protected:
    void SetUp() override
    {
        BillFormTest::SetUp();
        addCustomer(QStringLiteral("KH1"), QStringLiteral("客户甲"), QStringLiteral("批价"));
        db().execute(QStringLiteral("update 商品 set 批价=2 where 编码='B01'"));
        db().execute(QStringLiteral("insert into 客户售价(商品编码,客户编码,最近售价) values('B02','KH1',0.8)"));
        IniFile::write(kBdchangeIni, QStringLiteral("销售出货"), QStringLiteral("一号仓"));
        IniFile::write(kBdchangeIni, QStringLiteral("销售退货"), QStringLiteral("二号仓"));
        IniFile::write(kBdchangeIni, QStringLiteral("销售出货默认折扣"), QStringLiteral("0.95"));
    }
    // A toolbar key: the button shows itself pressed for a moment before it acts.
    static void command(QWidget &f, Qt::Key k)
    {
        key(f, k);
        QTest::qWait(200);
    }
    void startSale(DocumentForm &f)
    {
        click(f, "TBO5B");
        type(f, QStringLiteral("KH1"));
        key(f, Qt::Key_Enter);
    }
};

} // namespace

TEST_F(SalesFormTest, KeyboardOnlyShipmentSavesAuditsAndShowsTheDebt)
{
    auto f = open<Tfrm_sell>();
    EXPECT_EQ(f->grid()->horizontalHeaderItem(BillGrid::Note)->text(), QStringLiteral("备注/条形码"));
    startSale(*f);
    EXPECT_EQ(field(*f, "Edit4"), QStringLiteral("KH1"));
    EXPECT_EQ(field(*f, "Edit13"), QStringLiteral("批价"));
    EXPECT_EQ(field(*f, "Edit14"), QStringLiteral("0.00"));
    EXPECT_EQ(f->findChild<QComboBox *>(QStringLiteral("ComboBox2"))->currentText(), QStringLiteral("现金"));

    typeLine(*f, QStringLiteral("B01"), QStringLiteral("1"), QStringLiteral("2")); // 2 件 at 批价 2 per 瓶
    typeLine(*f, QStringLiteral("B02"), QString(), QStringLiteral("5"));            // the remembered 0.8 per 支
    EXPECT_EQ(cell(*f, 0, BillGrid::Price), QStringLiteral("48.00"));
    EXPECT_EQ(cell(*f, 0, BillGrid::Discount), QStringLiteral("0.95"));
    EXPECT_EQ(cell(*f, 0, BillGrid::Warehouse), QStringLiteral("一号仓"));
    EXPECT_EQ(cell(*f, 1, BillGrid::Price), QStringLiteral("0.80"));
    // End reaches the note column; Enter there goes to the next line.
    key(*f, Qt::Key_Up);
    key(*f, Qt::Key_Up);
    key(*f, Qt::Key_End);
    EXPECT_EQ(f->grid()->currentColumn(), int(BillGrid::Note));
    type(*f, QStringLiteral("TM01"));
    key(*f, Qt::Key_Enter);
    EXPECT_EQ(f->grid()->currentRow(), 1);
    EXPECT_EQ(f->grid()->currentColumn(), int(BillGrid::Code));

    command(*f, Qt::Key_F6);
    ASSERT_FALSE(f->isEditing()) << messages().lastText().toStdString();
    QSqlQuery m = db().run(QStringLiteral("select 客户编码,客户名称,帐户,金额合计,结算标志,摘要 from 销售主"));
    ASSERT_TRUE(m.next());
    EXPECT_EQ(m.value(0).toString(), QStringLiteral("KH1"));
    EXPECT_EQ(m.value(2).toString(), QStringLiteral("现金"));
    EXPECT_DOUBLE_EQ(m.value(3).toDouble(), 95); // 0.95 × (96 + 4)
    EXPECT_EQ(m.value(4).toString(), QStringLiteral("未付清"));
    EXPECT_EQ(m.value(5).toString(), QStringLiteral("销售出货"));
    EXPECT_EQ(db().scalar(QStringLiteral("select 备注 from 销售子 where 编码='B01'")).toString(), QStringLiteral("TM01"));
    EXPECT_DOUBLE_EQ(db().scalar(QStringLiteral("select 最近售价 from 客户售价 where 商品编码='B01'")).toDouble(), 2);

    messages().answer(true);
    command(*f, Qt::Key_F9);
    EXPECT_EQ(messages().lastText(), QStringLiteral("应收款已生成!审核成功."));
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("一号仓"), QStringLiteral("B01")), -48);

    // The next bill for the customer shows what it owes.
    startSale(*f);
    EXPECT_EQ(field(*f, "Edit14"), QStringLiteral("95.00"));
}

TEST_F(SalesFormTest, StockCheckRefusesTheSaveAndZeroesTheLine)
{
    docs::StockLedger(db()).postLine(QStringLiteral("一号仓"), QStringLiteral("B01"), 30, 45, 1, true, QString());
    auto f = open<Tfrm_sell>();
    startSale(*f);
    f->findChild<QCheckBox *>(QStringLiteral("lkcxs"))->setChecked(false);
    typeLine(*f, QStringLiteral("B01"), QString(), QStringLiteral("20"));
    typeLine(*f, QStringLiteral("B01"), QString(), QStringLiteral("20"));
    const QString warning = QStringLiteral("警告:[一号仓]的B01商品库存已经不够你现在要出货的数量了,现在库存为：30瓶");
    EXPECT_TRUE(messages().texts().contains(warning)); // entering the second line's warehouse column
    EXPECT_EQ(cell(*f, 1, BillGrid::Quantity), QStringLiteral("0"));
    f->grid()->setText(1, BillGrid::Quantity, QStringLiteral("20"));
    messages().clear();
    command(*f, Qt::Key_F6);
    EXPECT_EQ(messages().lastText(), warning);
    EXPECT_TRUE(f->isEditing());
    EXPECT_EQ(count(QStringLiteral("销售主")), 0);
}

TEST_F(SalesFormTest, ReturnHasItsOwnTextsAndAuditsWithoutAQuestion)
{
    auto f = open<Tfrm_xsthgl_modi>();
    EXPECT_EQ(f->windowTitle(), QStringLiteral("客户退货管理"));
    EXPECT_EQ(f->grid()->horizontalHeaderItem(BillGrid::Warehouse)->text(), QStringLiteral("存放仓库"));
    EXPECT_EQ(f->grid()->horizontalHeaderItem(BillGrid::Amount)->text(), QStringLiteral("实退金额"));
    EXPECT_EQ(f->findChild<QLineEdit *>(QStringLiteral("Edit14")), nullptr);
    startSale(*f);
    typeLine(*f, QStringLiteral("B02"), QString(), QStringLiteral("10"));
    EXPECT_EQ(cell(*f, 0, BillGrid::Discount), QStringLiteral("1.00"));
    EXPECT_EQ(cell(*f, 0, BillGrid::Warehouse), QStringLiteral("二号仓"));
    command(*f, Qt::Key_F6);
    ASSERT_FALSE(f->isEditing()) << messages().lastText().toStdString();
    EXPECT_EQ(db().scalar(QStringLiteral("select 摘要 from 销售退货主")).toString(), QStringLiteral("良品入库"));
    command(*f, Qt::Key_F9);
    EXPECT_EQ(messages().lastText(), QStringLiteral("应收款已生成!审核成功."));
    EXPECT_DOUBLE_EQ(docs::customerDebt(db(), QStringLiteral("客户甲")), -8);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("二号仓"), QStringLiteral("B02")), 10);
}

TEST_F(SalesFormTest, UnknownCustomerIsRefused)
{
    auto f = open<Tfrm_sell>();
    click(*f, "TBO5B");
    type(*f, QStringLiteral("NOBODY"));
    key(*f, Qt::Key_Enter);
    EXPECT_EQ(messages().lastText(), QStringLiteral("没有此客户资料!"));
    EXPECT_EQ(field(*f, "Edit3"), QString());
    command(*f, Qt::Key_F6);
    EXPECT_EQ(messages().lastText(), QStringLiteral("请正确输入客户名称!"));
    EXPECT_EQ(count(QStringLiteral("销售主")), 0);
}

TEST_F(SalesFormTest, LookupHandsAnAuditedShipmentToItsFormForUnaudit)
{
    docs::BillStore store(db(), docs::BillKind::SalesShipment);
    docs::Bill b;
    b.header.partnerCode = QStringLiteral("KH1");
    b.header.partnerName = QStringLiteral("客户甲");
    docs::BillLine l;
    l.row = 1;
    l.code = QStringLiteral("B01");
    l.unit = QStringLiteral("瓶");
    l.quantity = 4;
    l.price = 2.5;
    l.warehouse = QStringLiteral("一号仓");
    b.lines = {l};
    const QString number = store.save(b, false).number;
    store.audit(number);

    auto lookup = open<Tfrm_locate_sell>();
    EXPECT_EQ(lookup->windowTitle(), QStringLiteral("销售单据查询"));
    auto *bills = lookup->findChild<QTableWidget *>(QStringLiteral("DBGrid1"));
    ASSERT_EQ(bills->rowCount(), 1);
    QStringList shown;
    for (int c = 0; c < bills->columnCount(); ++c)
        if (!bills->isColumnHidden(c))
            shown << bills->horizontalHeaderItem(c)->text();
    EXPECT_EQ(shown.mid(0, 2), (QStringList{QStringLiteral("单号"), QStringLiteral("订单号")}));
    EXPECT_TRUE(shown.contains(QStringLiteral("销售类型")));
    EXPECT_FALSE(shown.contains(QStringLiteral("附加说明")));
    auto *audit = lookup->findChild<QPushButton *>(QStringLiteral("BitBtn5"));
    EXPECT_EQ(audit->text(), QStringLiteral("反审核"));

    auto f = open<Tfrm_sell>();
    QObject::connect(lookup.get(), &BillLookupForm::handedOver, f.get(), &DocumentForm::locate);
    lookup->auditClicked();
    EXPECT_EQ(f->number(), number);
    messages().answer(true);
    f->unauditBill();
    EXPECT_TRUE(messages().asked.contains(QStringLiteral("真的要反审单据吗？(如果存在相应的应收款也会被同时删除)")));
    EXPECT_EQ(messages().lastText(), QStringLiteral("反审核成功!"));
    EXPECT_EQ(count(QStringLiteral("销售应收款表")), 0);

    auto returns = open<Tfrm_xsthgl_modi_loc>();
    EXPECT_EQ(returns->windowTitle(), QStringLiteral("退货单据查询"));
}

TEST_F(SalesFormTest, CollectFromTheCustomerOpensTheCashDeskOnlyWhenHeOwes)
{
    auto f = open<Tfrm_sell>();
    startSale(*f);
    QStringList opened;
    FormRegistry::Override desk(QStringLiteral("Tfrm_xsskgl_addsk"),
                                [&opened](QWidget *, const QStringList &args) { opened << QStringLiteral("desk:") + args.value(0); });
    FormRegistry::Override list(QStringLiteral("Tfrm_xsskgl"), [&opened](QWidget *, const QStringList &) { opened << QStringLiteral("list"); });
    auto *collect = f->findChild<QPushButton *>(QStringLiteral("LbSpeedButton1"));
    ASSERT_NE(collect, nullptr);
    collect->click();
    EXPECT_EQ(messages().lastText(), QStringLiteral("此客户没有欠款!"));
    EXPECT_TRUE(opened.isEmpty());

    db().execute(QStringLiteral("insert into 销售应收款表(处理单据,客户名称,应收款编码,应收款,已收款,欠款,付清状态) "
                                "values('X1','客户甲','YS1',50,0,50,'未付清')"));
    collect->click();
    EXPECT_EQ(opened, QStringList({QStringLiteral("desk:客户甲"), QStringLiteral("list")}));
}
