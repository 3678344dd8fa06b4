#include "common/permissions.h"
#include "masterdata/category_service.h"
#include "masterdata/goods_service.h"
#include "support/test_db.h"
#include "ui/masterdata/product_frm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

using namespace tavomi;
using tavomi::test::DbTest;

class ProductFormTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        addWarehouse(QStringLiteral("一号仓"));
        addCategory(db(), QString(), QStringLiteral("01"), QStringLiteral("食品"));
    }
    static void choose(QComboBox *c, const QString &text)
    {
        const int i = c->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        c->setCurrentIndex(i);
    }
    // Types the text key by key, Chinese characters included.
    static void type(QLineEdit *e, const QString &text)
    {
        e->clear();
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
};

TEST_F(ProductFormTest, AddingGoodsRunsThroughBothSteps)
{
    TFrm_product f;
    f.startAdd(QStringLiteral("01"));
    EXPECT_EQ(f.categoryPrefix(), QStringLiteral("0100"));
    EXPECT_TRUE(f.field(kItemNumberField)->isEnabled());
    EXPECT_EQ(f.warehouseBox()->text(), QStringLiteral("一号仓"));

    // Step 1: the shorthand code follows the name as it is typed.
    type(f.field(kItemNumberField), QStringLiteral("001"));
    type(f.field(QStringLiteral("品名")), QStringLiteral("瓜子500g"));
    EXPECT_EQ(f.field(QStringLiteral("条码"))->text(), QStringLiteral("GZ500g"));
    type(f.field(QStringLiteral("批价")), QStringLiteral("1.5"));
    type(f.field(QStringLiteral("售价")), QStringLiteral("2"));
    type(f.field(QStringLiteral("上限")), QStringLiteral("10"));

    // Step 2: three units; the third is open only with a second one.
    f.steps()->setCurrentIndex(1);
    choose(f.unitList(1), QStringLiteral("件"));
    EXPECT_FALSE(f.unitList(3)->isEnabled());
    choose(f.unitList(2), QStringLiteral("袋"));
    EXPECT_TRUE(f.unitList(3)->isEnabled());
    type(f.ratioBox(1), QStringLiteral("12"));
    choose(f.unitList(3), QStringLiteral("包"));
    type(f.ratioBox(2), QStringLiteral("24"));
    const QString summary = f.summaryText();
    EXPECT_TRUE(summary.contains(QStringLiteral("1件*12袋*24包"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("库存上限：10件"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("售价：2元/包"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("进价：0元/包"))) << summary.toStdString();

    // The price panel: empty levels become 0 on confirm.
    f.showPricePanel();
    EXPECT_TRUE(f.pricePanelVisible());
    type(f.priceLevelBox(0), QStringLiteral("1.8"));
    f.confirmPrices();
    EXPECT_FALSE(f.pricePanelVisible());
    EXPECT_EQ(f.priceLevelBox(19)->text(), QStringLiteral("0"));

    messages().answer(true);
    f.save();
    EXPECT_EQ(messages().asked, QStringList{QStringLiteral("确实要增加商品吗？")});
    EXPECT_EQ(messages().lastText(), QStringLiteral("增加新商品成功！"));
    EXPECT_EQ(f.lastAddedCode(), QStringLiteral("B0100001"));
    const QVariantMap g = loadGoods(db(), QStringLiteral("B0100001"));
    EXPECT_EQ(g.value(QStringLiteral("条码")).toString(), QStringLiteral("GZ500g"));
    EXPECT_EQ(g.value(QStringLiteral("单位")).toString(), QStringLiteral("包*24"));
    EXPECT_DOUBLE_EQ(g.value(QStringLiteral("小包装")).toDouble(), 288);
    EXPECT_DOUBLE_EQ(g.value(QStringLiteral("价格一")).toDouble(), 1.8);
    EXPECT_DOUBLE_EQ(g.value(QStringLiteral("上限")).toDouble(), 10);
    // Ready for the next goods of the same category.
    EXPECT_TRUE(f.field(kItemNumberField)->text().isEmpty());
    EXPECT_TRUE(f.field(kItemNumberField)->isEnabled());
    EXPECT_EQ(f.categoryPrefix(), QStringLiteral("0100"));
}

TEST_F(ProductFormTest, RefusalsPointAtTheBoxToFix)
{
    TFrm_product f;
    f.startAdd();
    EXPECT_FALSE(f.field(QStringLiteral("品名"))->isEnabled());
    f.save();
    EXPECT_EQ(messages().lastText(), QStringLiteral("请先选择品类!"));

    f.chooseCategory(QStringLiteral("食品(01)"));
    EXPECT_TRUE(f.field(QStringLiteral("品名"))->isEnabled());
    type(f.field(kItemNumberField), QStringLiteral("001"));
    type(f.field(QStringLiteral("品名")), QStringLiteral("瓜子"));
    f.save();   // no largest unit yet
    EXPECT_EQ(messages().lastText(), kGoodsRequiredText);
    EXPECT_EQ(f.steps()->currentIndex(), 1);

    choose(f.unitList(1), QStringLiteral("斤"));
    type(f.field(QStringLiteral("进价")), QStringLiteral("1.2.3"));
    f.save();
    EXPECT_EQ(messages().lastText(), QStringLiteral("[进价]不是正确的数字,请重新输入!"));
    EXPECT_EQ(f.steps()->currentIndex(), 0);
    EXPECT_TRUE(messages().asked.isEmpty());
    EXPECT_EQ(count(QStringLiteral("商品")), 0);

    type(f.field(QStringLiteral("进价")), QStringLiteral("1.2"));
    messages().answer(false);
    f.save();
    EXPECT_EQ(messages().asked.size(), 1);
    EXPECT_EQ(count(QStringLiteral("商品")), 0);
}

TEST_F(ProductFormTest, ChangingGoodsUsedInBillsHidesTheUnitStep)
{
    addGoods(QStringLiteral("B0100001"), QStringLiteral("瓜子"));
    db().execute(QStringLiteral("insert into 归还子(单号,编码) values('JC1','B0100001')"));

    TFrm_product f;
    ASSERT_TRUE(f.startChange(QStringLiteral("B0100001"), {QStringLiteral("食品(01)")}));
    EXPECT_EQ(f.mode(), TFrm_product::Mode::Change);
    EXPECT_FALSE(f.unitStepVisible());
    EXPECT_FALSE(f.noteLabel()->isHidden());
    EXPECT_FALSE(f.retiredBox()->isHidden());
    EXPECT_TRUE(f.field(kItemNumberField)->isReadOnly());
    EXPECT_EQ(f.field(kItemNumberField)->text(), QStringLiteral("B0100001"));
    EXPECT_FALSE(f.categoryList()->isEnabled());
    EXPECT_EQ(f.categoryList()->currentText(), QStringLiteral("食品(01)"));

    type(f.field(QStringLiteral("品名")), QStringLiteral("五香瓜子"));
    f.retiredBox()->setChecked(true);
    messages().answer(true);
    f.save();
    EXPECT_EQ(messages().asked, QStringList{QStringLiteral("确实要修改吗？")});
    EXPECT_EQ(f.result(), int(QDialog::Accepted));
    const QVariantMap g = loadGoods(db(), QStringLiteral("B0100001"));
    EXPECT_EQ(g.value(QStringLiteral("品名")).toString(), QStringLiteral("五香瓜子"));
    EXPECT_EQ(g.value(QStringLiteral("淘汰否")).toString(), QStringLiteral("是"));
    EXPECT_EQ(g.value(QStringLiteral("柜组")).toString(), QStringLiteral("1个"));

    TFrm_product missing;
    EXPECT_FALSE(missing.startChange(QStringLiteral("NOPE")));
    EXPECT_EQ(messages().lastText(), QStringLiteral("当前无资料可修改!"));
}

TEST_F(ProductFormTest, PurchasePriceIsHiddenWithoutTheRight)
{
    addUser(QStringLiteral("0002"), QStringLiteral("张三"), {QStringLiteral("增加管理商品")});
    loginAs(QStringLiteral("0002"));
    TFrm_product f;
    f.startAdd(QStringLiteral("01"));
    EXPECT_TRUE(f.field(QStringLiteral("进价"))->isHidden());
    EXPECT_FALSE(f.summaryText().contains(QStringLiteral("进价")));
    EXPECT_FALSE(f.field(QStringLiteral("批价"))->isHidden());
}
