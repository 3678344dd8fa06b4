#include "documents_ui/form_fixture.h"

#include "ui/documents/bill_print.h"
#include "ui/documents/input_modi_frm.h"
#include "ui/documents/return_modi_frm.h"

#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

using namespace tavomi;
using tavomi::test::BillFormTest;
using Col = tavomi::BillGrid::Column;

namespace {

using ReceiptFormTest = BillFormTest;

TEST_F(ReceiptFormTest, TypingACodeAndEnterFillsTheLine)
{
    auto f = open<Tfrm_input_modi>();
    startBill(*f);
    EXPECT_EQ(field(*f, "Edit4"), QStringLiteral("GYS"));
    EXPECT_EQ(field(*f, "Edit3"), QStringLiteral("供应商甲"));

    type(*f, QStringLiteral("B02"));
    key(*f, Qt::Key_Enter);
    EXPECT_EQ(cell(*f, 0, Col::Code), QStringLiteral("B02"));
    EXPECT_EQ(cell(*f, 0, Col::Name), QStringLiteral("铅笔"));
    EXPECT_EQ(cell(*f, 0, Col::Unit), QStringLiteral("支"));
    EXPECT_EQ(cell(*f, 0, Col::Price), QStringLiteral("0.50"));
    EXPECT_EQ(cell(*f, 0, Col::Discount), QStringLiteral("1.00"));
    EXPECT_EQ(cell(*f, 0, Col::Warehouse), QStringLiteral("一号仓"));
    EXPECT_EQ(f->grid()->currentColumn(), int(Col::Unit));
    EXPECT_EQ(f->findChild<QLabel *>(QStringLiteral("Panel6"))->text(), QStringLiteral("单位转换:按1为 件/  按2为 盒/  按3为 支"));

    // A shorthand that is not a code: the search finds one goods and the row gets that goods.
    for (int i = 0; i < 5; ++i)
        key(*f, Qt::Key_Enter);
    ASSERT_EQ(f->grid()->currentRow(), 1);
    type(*f, QStringLiteral("QB"));
    key(*f, Qt::Key_Enter);
    EXPECT_EQ(cell(*f, 1, Col::Code), QStringLiteral("B02"));
    EXPECT_EQ(cell(*f, 1, Col::Name), QStringLiteral("铅笔"));
}

TEST_F(ReceiptFormTest, UnitKeysConvertThePrice)
{
    struct Case
    {
        const char *key;
        const char *unit;
        const char *price;
        bool refused;
    };
    const Case cases[] = {
        {"1", "件", "60.00", false},
        {"2", "盒", "5.00", false},
        {"3", "支", "0.50", false},
        {"4", "支", "0.50", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.key);
        messages().clear();
        auto f = open<Tfrm_input_modi>();
        startBill(*f);
        type(*f, QStringLiteral("B02"));
        key(*f, Qt::Key_Enter);
        type(*f, QString::fromLatin1(c.key));
        EXPECT_EQ(cell(*f, 0, Col::Unit), QString::fromUtf8(c.unit));
        EXPECT_EQ(cell(*f, 0, Col::Price), QString::fromLatin1(c.price));
        EXPECT_EQ(messages().texts().contains(QStringLiteral("此产品没有定义此单位！")), c.refused);
        EXPECT_EQ(f->grid()->currentColumn(), c.refused ? int(Col::Unit) : int(Col::Quantity));
    }
}

TEST_F(ReceiptFormTest, EnterWalksTheLineAndSpaceCopiesTheCodeAbove)
{
    auto f = open<Tfrm_input_modi>();
    startBill(*f);
    type(*f, QStringLiteral("B02"));
    key(*f, Qt::Key_Enter); // unit
    key(*f, Qt::Key_Enter); // quantity
    EXPECT_EQ(f->grid()->currentColumn(), int(Col::Quantity));
    type(*f, QStringLiteral("3x.5.")); // letters and a second point are not taken
    EXPECT_EQ(QApplication::focusWidget()->property("text").toString(), QStringLiteral("3.5"));
    key(*f, Qt::Key_Enter); // warehouse: the picker takes the keys
    EXPECT_EQ(f->grid()->currentColumn(), int(Col::Warehouse));
    auto *picker = f->findChild<QListWidget *>(QStringLiteral("Panel10"));
    EXPECT_TRUE(picker->isVisible());
    key(*f, Qt::Key_Down);
    key(*f, Qt::Key_Enter); // discount
    EXPECT_EQ(cell(*f, 0, Col::Warehouse), QStringLiteral("二号仓"));
    EXPECT_FALSE(picker->isVisible());
    EXPECT_EQ(f->grid()->currentColumn(), int(Col::Discount));
    key(*f, Qt::Key_Enter); // price
    key(*f, Qt::Key_Enter); // next line
    EXPECT_EQ(f->grid()->rowCount(), 2);
    EXPECT_EQ(f->grid()->currentRow(), 1);
    EXPECT_EQ(f->grid()->currentColumn(), int(Col::Code));
    EXPECT_EQ(cell(*f, 0, Col::Amount), QStringLiteral("1.75"));
    EXPECT_EQ(field(*f, "Edit7"), QStringLiteral("1.75"));
    EXPECT_EQ(cell(*f, 1, Col::RowNo), QStringLiteral("2"));

    key(*f, Qt::Key_Space);
    EXPECT_EQ(cell(*f, 1, Col::Code), QStringLiteral("B02"));
    // The next line defaults to the warehouse picked last.
    key(*f, Qt::Key_Enter);
    EXPECT_EQ(cell(*f, 1, Col::Warehouse), QStringLiteral("二号仓"));
}

TEST_F(ReceiptFormTest, DeleteBlanksALineThatTheSaveDrops)
{
    auto f = open<Tfrm_input_modi>();
    startBill(*f);
    typeLine(*f, QStringLiteral("B01"), QString(), QStringLiteral("2"));
    typeLine(*f, QStringLiteral("B02"), QStringLiteral("2"), QStringLiteral("3"));
    f->grid()->setCurrentCell(0, Col::Code);
    key(*f, Qt::Key_Delete);
    const QStringList blanked = {QString(), QString(), QStringLiteral("0.00"), QString(), QStringLiteral("0.00"),
                                 QStringLiteral("0.00"), QStringLiteral("0.00"), QString()};
    for (int c = Col::Code; c <= Col::Name; ++c)
        EXPECT_EQ(cell(*f, 0, c), blanked.at(c - 1)) << c;
    EXPECT_EQ(field(*f, "Edit7"), QStringLiteral("15.00"));

    ASSERT_TRUE(f->saveBill());
    const QString number = f->number();
    EXPECT_EQ(count(QStringLiteral("进货主"), QStringLiteral("单号=?"), {number}), 1);
    QSqlQuery q = db().run(QStringLiteral("select 序号,编码,大单位,件数量,件进价,入库仓库,金额 from 进货子 where 单号=?"), {number});
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("2"));
    EXPECT_EQ(q.value(1).toString(), QStringLiteral("B02"));
    EXPECT_EQ(q.value(2).toString(), QStringLiteral("盒"));
    EXPECT_DOUBLE_EQ(q.value(3).toDouble(), 3);
    EXPECT_DOUBLE_EQ(q.value(4).toDouble(), 5);
    EXPECT_EQ(q.value(5).toString(), QStringLiteral("一号仓"));
    EXPECT_DOUBLE_EQ(q.value(6).toDouble(), 15);
    EXPECT_FALSE(q.next());
}

TEST_F(ReceiptFormTest, SaveRefusalsWriteNothing)
{
    auto f = open<Tfrm_input_modi>();
    click(*f, "TBO5B");
    f->grid()->setFocus();
    typeLine(*f, QStringLiteral("B01"), QString(), QStringLiteral("2"));
    EXPECT_FALSE(f->saveBill());
    EXPECT_EQ(messages().lastText(), QStringLiteral("请正确输入供应商名称!"));

    f->findChild<QLineEdit *>(QStringLiteral("Edit3"))->setText(QStringLiteral("供应商甲"));
    f->findChild<QLineEdit *>(QStringLiteral("Edit4"))->setText(QStringLiteral("GYS"));
    f->grid()->setText(0, Col::Quantity, QStringLiteral("1.2.3")); // pasted, not typed
    EXPECT_FALSE(f->saveBill());
    EXPECT_EQ(messages().lastText(), QStringLiteral("第1行的[件数]不是正确的数字!"));

    f->grid()->setText(0, Col::Quantity, QStringLiteral("2"));
    f->findChild<QLineEdit *>(QStringLiteral("Edit2"))->setText(QStringLiteral("3.01")); // write-off above the total 3.00
    EXPECT_FALSE(f->saveBill());
    EXPECT_EQ(messages().lastText(), QStringLiteral("去零头金额不能大于单据总额!"));
    EXPECT_EQ(count(QStringLiteral("进货主")), 0);
    EXPECT_EQ(count(QStringLiteral("进货子")), 0);
    EXPECT_TRUE(f->isEditing());
}

TEST_F(ReceiptFormTest, ToolbarFollowsEachEvent)
{
    const QStringList browse = {QStringLiteral("TBO6B"), QStringLiteral("TBO5B"), QStringLiteral("TBO1B"), QStringLiteral("TBO2B"),
                                QStringLiteral("TBO3B"), QStringLiteral("TBO4B"), QStringLiteral("TBO7B"), QStringLiteral("helpbutton")};
    const QStringList bill = browse
        + QStringList{QStringLiteral("TBO18C"), QStringLiteral("TBO19C"), QStringLiteral("TBO16C"), QStringLiteral("TBO17C")};
    auto sorted = [](QStringList l) {
        l.sort();
        return l;
    };
    auto f = open<Tfrm_input_modi>();
    EXPECT_EQ(sorted(enabledSpeedButtons(*f)), sorted(browse));
    EXPECT_FALSE(f->findChild<QToolButton *>(QStringLiteral("TBO88C"))->isVisible());

    startBill(*f);
    EXPECT_EQ(sorted(enabledSpeedButtons(*f)), sorted({QStringLiteral("SBO1BC"), QStringLiteral("SBO2BC"), QStringLiteral("helpbutton")}));
    typeLine(*f, QStringLiteral("B01"), QString(), QStringLiteral("1"));
    click(*f, "SBO1BC");
    // After a save every button but save and discard (un-audit stays hidden and off outside its mode).
    EXPECT_EQ(sorted(enabledSpeedButtons(*f)), sorted(bill));

    click(*f, "TBO18C");
    EXPECT_EQ(sorted(enabledSpeedButtons(*f)), sorted({QStringLiteral("SBO1BC"), QStringLiteral("SBO2BC")}));
    click(*f, "SBO2BC");
    EXPECT_EQ(sorted(enabledSpeedButtons(*f)), sorted(browse));
    click(*f, "TBO1B");
    EXPECT_EQ(sorted(enabledSpeedButtons(*f)), sorted(bill));

    messages().answer(true);
    click(*f, "TBO17C");
    EXPECT_EQ(sorted(enabledSpeedButtons(*f)), sorted(browse));
}

TEST_F(ReceiptFormTest, NavigationWalksTheUnauditedBills)
{
    const QString first = saveReceipt({{QStringLiteral("B01"), QStringLiteral("瓶"), 1, 1}});
    const QString second = saveReceipt({{QStringLiteral("B01"), QStringLiteral("瓶"), 2, 1}});
    const QString third = saveReceipt({{QStringLiteral("B01"), QStringLiteral("瓶"), 3, 1}});
    auto f = open<Tfrm_input_modi>();
    const auto *label = f->findChild<QLabel *>(QStringLiteral("Label_no"));
    const struct
    {
        const char *button;
        QString number;
    } steps[] = {{"TBO1B", first}, {"TBO3B", second}, {"TBO3B", third}, {"TBO3B", third}, {"TBO2B", second}, {"TBO4B", third}};
    for (const auto &s : steps) {
        click(*f, s.button);
        EXPECT_EQ(f->number(), s.number) << s.button;
        EXPECT_EQ(label->text(), QStringLiteral("NO：") + s.number);
    }
    EXPECT_EQ(cell(*f, 0, Col::Quantity), QStringLiteral("3"));
    EXPECT_EQ(field(*f, "Edit8"), QStringLiteral("未审核"));
    EXPECT_FALSE(f->grid()->editing());

    // An audited bill leaves the list.
    messages().answer(true);
    click(*f, "TBO17C");
    EXPECT_EQ(f->billList(), (QStringList{first, second}));
}

TEST_F(ReceiptFormTest, ABillOfFifteenLinesComesBackInOrder)
{
    for (int i = 1; i <= 15; ++i)
        addGoods(QStringLiteral("G%1").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("商品%1").arg(i), i);
    auto f = open<Tfrm_input_modi>();
    startBill(*f);
    for (int i = 1; i <= 15; ++i)
        typeLine(*f, QStringLiteral("G%1").arg(i, 2, 10, QLatin1Char('0')), QString(), QString::number(i));
    EXPECT_EQ(f->grid()->rowCount(), 16);
    click(*f, "SBO1BC");
    const QString number = f->number();
    EXPECT_EQ(count(QStringLiteral("进货子"), QStringLiteral("单号=?"), {number}), 15);

    click(*f, "TBO5B");
    click(*f, "SBO2BC");
    click(*f, "TBO4B");
    ASSERT_EQ(f->number(), number);
    ASSERT_EQ(f->grid()->rowCount(), 15);
    for (int r = 0; r < 15; ++r) {
        EXPECT_EQ(cell(*f, r, Col::RowNo), QString::number(r + 1));
        EXPECT_EQ(cell(*f, r, Col::Code), QStringLiteral("G%1").arg(r + 1, 2, 10, QLatin1Char('0')));
        EXPECT_EQ(cell(*f, r, Col::Quantity), QString::number(r + 1));
    }
    EXPECT_EQ(field(*f, "Edit7"), QStringLiteral("1240.00")); // Σ i·i for i = 1..15

    // More than twelve lines: modify goes to the last line without appending one.
    click(*f, "TBO18C");
    EXPECT_EQ(f->grid()->rowCount(), 15);
    EXPECT_EQ(f->grid()->currentRow(), 14);
}

TEST_F(ReceiptFormTest, ModifyReplacesTheBillUnderItsNumber)
{
    const QString number = saveReceipt({{QStringLiteral("B01"), QStringLiteral("瓶"), 1, 1}});
    auto f = open<Tfrm_input_modi>();
    click(*f, "TBO1B");
    click(*f, "TBO18C");
    EXPECT_EQ(f->grid()->rowCount(), 2); // an empty line to go on with
    EXPECT_EQ(f->grid()->currentRow(), 1);
    typeLine(*f, QStringLiteral("B02"), QString(), QStringLiteral("4"));
    click(*f, "SBO1BC");
    EXPECT_EQ(f->number(), number);
    EXPECT_EQ(count(QStringLiteral("进货主")), 1);
    EXPECT_EQ(count(QStringLiteral("进货子"), QStringLiteral("单号=?"), {number}), 2);
    EXPECT_EQ(count(QStringLiteral("日志"), QStringLiteral("操作内容=?"), {QStringLiteral("修改进货单据,单据号为:") + number}), 1);
}

TEST_F(ReceiptFormTest, AuditAsksThenPostsAndWritesThePayable)
{
    const QString number = saveReceipt({{QStringLiteral("B01"), QStringLiteral("件"), 2, 48}});
    auto f = open<Tfrm_input_modi>();
    click(*f, "TBO1B");

    messages().answer(false);
    click(*f, "TBO17C");
    EXPECT_EQ(messages().asked.last(), QStringLiteral("单据审核后将不能修改数据,您确实要审核单据吗？"));
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("一号仓"), QStringLiteral("B01")), 0);
    EXPECT_EQ(count(QStringLiteral("进货主"), QStringLiteral("审核标志=1")), 0);

    messages().answer(true);
    click(*f, "TBO17C");
    EXPECT_EQ(messages().lastText(), QStringLiteral("应付款已生成!审核成功."));
    EXPECT_EQ(field(*f, "Edit8"), QStringLiteral("已审核"));
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("一号仓"), QStringLiteral("B01")), 48);
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("库存"), QStringLiteral("B01")), 48);
    EXPECT_EQ(count(QStringLiteral("采购应付款表"), QStringLiteral("处理单据=?"), {number}), 1);
}

TEST_F(ReceiptFormTest, AuditNeedsThePermission)
{
    saveReceipt({{QStringLiteral("B01"), QStringLiteral("瓶"), 1, 1}});
    addUser(QStringLiteral("0101"), QStringLiteral("录入员"), {QStringLiteral("采购进货开票")});
    loginAs(QStringLiteral("0101"));
    auto f = open<Tfrm_input_modi>();
    click(*f, "TBO1B");
    click(*f, "TBO17C");
    EXPECT_EQ(messages().lastText(), QStringLiteral("对不起,你没有操作此功能的权限,请您联系-系统管理员"));
    EXPECT_TRUE(messages().asked.isEmpty());
    EXPECT_EQ(count(QStringLiteral("进货主"), QStringLiteral("审核标志=1")), 0);
}

TEST_F(ReceiptFormTest, UnauditThroughTheFormAndItsGuard)
{
    const QString number = saveReceipt({{QStringLiteral("B01"), QStringLiteral("瓶"), 5, 2}});
    docs::BillStore(db(), docs::BillKind::PurchaseReceipt).audit(number);

    auto f = open<Tfrm_input_modi>();
    f->locate(number, DocumentForm::kModeUnaudit);
    EXPECT_TRUE(f->findChild<QToolButton *>(QStringLiteral("TBO88C"))->isVisible());
    EXPECT_FALSE(f->findChild<QToolButton *>(QStringLiteral("TBO17C"))->isVisible());
    for (const char *off : {"TBO18C", "TBO19C", "TBO16C"})
        EXPECT_FALSE(f->findChild<QToolButton *>(QString::fromLatin1(off))->isEnabled()) << off;

    // A payment against the bill: refused before anything is asked.
    db().execute(QStringLiteral("insert into 采购付款表(处理单据,付款金额) values(?,10)"), {number});
    click(*f, "TBO88C");
    EXPECT_TRUE(messages().lastText().startsWith(QStringLiteral("对不起,此单据已经有对应的付款业务发生")));
    EXPECT_TRUE(messages().asked.isEmpty());
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("一号仓"), QStringLiteral("B01")), 5);

    db().execute(QStringLiteral("delete from 采购付款表"));
    messages().answer(true);
    click(*f, "TBO88C");
    EXPECT_EQ(messages().asked.last(), QStringLiteral("真的要反审单据吗？(如果存在相应的应付款也会被同时删除)"));
    EXPECT_EQ(messages().lastText(), QStringLiteral("反审核成功!"));
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("一号仓"), QStringLiteral("B01")), 0);
    EXPECT_EQ(count(QStringLiteral("采购应付款表")), 0);
    EXPECT_FALSE(f->isVisible()); // the form closes
}

TEST_F(ReceiptFormTest, LocateChecksTheStoredFlagAndALoadErrorStopsModifyAndAudit)
{
    const QString number = saveReceipt({{QStringLiteral("B01"), QStringLiteral("瓶"), 1, 1}});
    auto f = open<Tfrm_input_modi>();
    f->locate(number, DocumentForm::kModeUnaudit); // not audited: no un-audit
    EXPECT_FALSE(f->findChild<QToolButton *>(QStringLiteral("TBO88C"))->isEnabled());
    EXPECT_EQ(messages().lastText(), QStringLiteral("单据[%1]还没有审核，不能反审核!").arg(number));

    f->locate(QStringLiteral("J-NONE"), DocumentForm::kModeAudit);
    EXPECT_EQ(messages().lastText(), QStringLiteral("单据[J-NONE]不存在!"));
    for (const char *off : {"TBO18C", "TBO17C"})
        EXPECT_FALSE(f->findChild<QToolButton *>(QString::fromLatin1(off))->isEnabled()) << off;
}

TEST_F(ReceiptFormTest, DeleteAsksAndShowsTheLastBill)
{
    const QString first = saveReceipt({{QStringLiteral("B01"), QStringLiteral("瓶"), 1, 1}});
    const QString second = saveReceipt({{QStringLiteral("B01"), QStringLiteral("瓶"), 2, 1}});
    auto f = open<Tfrm_input_modi>();
    click(*f, "TBO4B");
    messages().answer(true);
    click(*f, "TBO19C");
    EXPECT_EQ(messages().asked.last(), QStringLiteral("确定要删除本单据吗？"));
    EXPECT_TRUE(messages().texts().contains(QStringLiteral("删除成功!")));
    EXPECT_EQ(count(QStringLiteral("进货主"), QStringLiteral("单号=?"), {second}), 0);
    EXPECT_EQ(f->number(), first);
}

TEST_F(ReceiptFormTest, GoodsPickerTakesOneOrImportsSeveral)
{
    addGoods(QStringLiteral("P01"), QStringLiteral("笔记本A"), 3, 0, QStringLiteral("BJB"));
    addGoods(QStringLiteral("P02"), QStringLiteral("笔记本B"), 4, 0, QStringLiteral("BJB"));
    auto f = open<Tfrm_input_modi>();
    startBill(*f);
    type(*f, QStringLiteral("BJB"));
    key(*f, Qt::Key_Enter);
    auto *panel = f->findChild<QFrame *>(QStringLiteral("Panel4"));
    auto *list = f->findChild<QTableWidget *>(QStringLiteral("DBGrid2"));
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(field(*f, "Edit12"), QStringLiteral("BJB"));
    ASSERT_EQ(list->rowCount(), 2);

    // Enter in the search field goes to the list; Down and Enter take the second goods.
    key(*f, Qt::Key_Enter);
    key(*f, Qt::Key_Down);
    key(*f, Qt::Key_Enter);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(cell(*f, 0, Col::Code), QStringLiteral("P02"));
    EXPECT_EQ(cell(*f, 0, Col::Price), QStringLiteral("4.00"));
    EXPECT_EQ(f->grid()->currentColumn(), int(Col::Unit));

    // Ctrl+click ticks several; "<<导入商品" appends a line for each.
    f->grid()->setCurrentCell(0, Col::Code);
    key(*f, Qt::Key_F3);
    ASSERT_TRUE(panel->isVisible());
    f->findChild<QLineEdit *>(QStringLiteral("Edit12"))->clear(); // an empty search lists every goods
    key(*f, Qt::Key_Enter);
    ASSERT_EQ(list->rowCount(), 4);
    for (int r : {2, 3}) { // P01, P02 in code order after B01, B02
        const QRect rect = list->visualItemRect(list->item(r, 1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, rect.center());
    }
    QTest::mouseClick(f->findChild<QPushButton *>(QStringLiteral("LbSpeedButton2")), Qt::LeftButton);
    ASSERT_EQ(f->grid()->rowCount(), 4);
    EXPECT_EQ(cell(*f, 1, Col::Code), QStringLiteral("P01"));
    EXPECT_EQ(cell(*f, 2, Col::Code), QStringLiteral("P02"));
    EXPECT_EQ(cell(*f, 1, Col::Quantity), QStringLiteral("1"));
    EXPECT_EQ(cell(*f, 1, Col::Warehouse), QStringLiteral("一号仓"));
    EXPECT_EQ(cell(*f, 1, Col::Amount), QStringLiteral("3.00"));
    EXPECT_TRUE(cell(*f, 3, Col::Code).isEmpty());
}

// A search that matches more goods than the picker lists shows the first ones and says so.
TEST_F(ReceiptFormTest, GoodsPickerListsTheFirstGoodsOfALargeSearch)
{
    db().begin();
    for (int i = 0; i <= Tfrm_input_modi::kPickerRows; ++i)
        db().execute(QStringLiteral("insert into 商品(编码,条码,品名,单位,进价,淘汰否,大包装,小包装,换算数) values(?,?,?,'个',1,'否','个',1,'个')"),
                     {QStringLiteral("M%1").arg(i, 4, 10, QLatin1Char('0')), QStringLiteral("MB%1").arg(i), QStringLiteral("毛笔%1").arg(i)});
    db().commit();
    auto f = open<Tfrm_input_modi>();
    startBill(*f);
    type(*f, QStringLiteral("MB"));
    key(*f, Qt::Key_Enter);
    auto *list = f->findChild<QTableWidget *>(QStringLiteral("DBGrid2"));
    auto *more = f->findChild<QLabel *>(QStringLiteral("goodsMore"));
    EXPECT_EQ(list->rowCount(), Tfrm_input_modi::kPickerRows);
    EXPECT_TRUE(more->isVisible());
    auto *search = f->findChild<QLineEdit *>(QStringLiteral("Edit12"));
    search->setText(QStringLiteral("MB12"));
    QTest::keyClick(search, Qt::Key_Enter);
    EXPECT_EQ(list->rowCount(), 11); // MB12, MB120 … MB129
    EXPECT_FALSE(more->isVisible());
}

TEST_F(ReceiptFormTest, ClosingWhileEditingAsks)
{
    auto f = open<Tfrm_input_modi>();
    click(*f, "TBO5B");
    messages().answer(false);
    f->reject();
    EXPECT_EQ(messages().asked.last(), QStringLiteral("您现正在录入商品进货单,要退出吗？"));
    EXPECT_TRUE(f->isVisible());
    messages().answer(true);
    key(*f, Qt::Key_Escape);
    EXPECT_FALSE(f->isVisible());
}

TEST_F(ReceiptFormTest, PrintDataIsTheBillWithItsSupplierInLineOrder)
{
    db().execute(QStringLiteral("update 供应商 set 电话一='0571-1' where 编码='GYS'"));
    QList<std::tuple<QString, QString, double, double>> lines;
    for (int i = 0; i < 11; ++i)
        lines.append({QStringLiteral("B01"), QStringLiteral("瓶"), double(i + 1), 1});
    const QString number = saveReceipt(lines);
    const report::ReportData data = billPrintData(docs::bill(docs::BillKind::PurchaseReceipt), number);
    const report::DataSet *set = data.set(QStringLiteral("lines"));
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->columns.last(), QStringLiteral("进率"));
    ASSERT_EQ(set->rows.size(), 11);
    const int seq = int(set->columns.indexOf(QStringLiteral("序号")));
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(set->rows.at(i).at(seq).toString(), QString::number(i + 1));
    EXPECT_EQ(set->rows.first().at(0).toString(), QStringLiteral("供应商甲"));
    EXPECT_EQ(set->rows.first().at(1).toString(), QStringLiteral("0571-1"));
    EXPECT_EQ(data.functions.value(QStringLiteral("getchm"))({}), QStringLiteral("供应商甲"));
    EXPECT_NE(data.set(QStringLiteral("company")), nullptr);
    EXPECT_FALSE(billPrintData(docs::bill(docs::BillKind::PurchaseReturn), number).set(QStringLiteral("lines"))->columns.contains(QStringLiteral("进率")));
}

TEST_F(ReceiptFormTest, ReturnFormIsTheSameFormOverItsOwnTables)
{
    auto f = open<Tfrm_return_modi>();
    EXPECT_EQ(f->windowTitle(), QStringLiteral("采购退货管理"));
    EXPECT_FALSE(f->findChild<QLineEdit *>(QStringLiteral("Edit1"))->isVisible()); // no order number
    startBill(*f);
    EXPECT_TRUE(f->number().startsWith(QStringLiteral("CH")));
    type(*f, QStringLiteral("B01"));
    key(*f, Qt::Key_Enter);
    EXPECT_EQ(f->findChild<QLabel *>(QStringLiteral("Panel6"))->text(), QStringLiteral("输入显示:按1为 件/  按2为 瓶"));
    EXPECT_EQ(cell(*f, 0, Col::Warehouse), QStringLiteral("二号仓"));
    key(*f, Qt::Key_Enter);
    type(*f, QStringLiteral("3"));
    for (int i = 0; i < 4; ++i)
        key(*f, Qt::Key_Enter);
    click(*f, "SBO1BC");
    QSqlQuery q = db().run(QStringLiteral("select 退货仓库,件数量,金额 from 退货子 where 单号=?"), {f->number()});
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("二号仓"));
    EXPECT_DOUBLE_EQ(q.value(1).toDouble(), 3);
    EXPECT_DOUBLE_EQ(q.value(2).toDouble(), 4.5);

    messages().answer(true);
    click(*f, "TBO17C");
    EXPECT_EQ(messages().asked.last(), QStringLiteral("审核单据后不能再修改数据,您确实要审核单据吗？"));
    EXPECT_DOUBLE_EQ(stock(QStringLiteral("二号仓"), QStringLiteral("B01")), -3);
    EXPECT_DOUBLE_EQ(db().scalar(QStringLiteral("select 应付金额 from 采购应付款表")).toDouble(), -4.5);
}

} // namespace
