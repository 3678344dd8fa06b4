#include "common/permissions.h"
#include "masterdata/category_service.h"
#include "masterdata/goods_service.h"
#include "masterdata/warehouse_service.h"
#include "support/test_db.h"
#include "ui/masterdata/category_tree.h"
#include "ui/masterdata/goods_list_model.h"
#include "ui/masterdata/hwxx_info_frm.h"
#include "ui/masterdata/spzl_frm.h"
#include "ui/masterdata/splebei_new_frm.h"
#include "ui/masterdata/tree_check_frm.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace tavomi;
using tavomi::test::DbTest;

using WarehouseFormTest = DbTest;

TEST_F(WarehouseFormTest, SaveWithEnterInTheNoteBoxCreatesTheWarehouse)
{
    addGoods(QStringLiteral("B0100001"), QStringLiteral("瓜子"));
    Tfrm_hwxx_info f;
    EXPECT_FALSE(f.box(QStringLiteral("货位编码"))->isEnabled());

    f.save();   // disabled boxes: "new" first, then the required check
    EXPECT_EQ(messages().lastText(), QStringLiteral("请你确保:货位编码,货位名称 这二个重要资料不为空!"));
    EXPECT_TRUE(f.box(QStringLiteral("货位编码"))->isEnabled());

    QTest::keyClicks(f.box(QStringLiteral("货位编码")), QStringLiteral("01"));
    QTest::keyClick(f.box(QStringLiteral("货位编码")), Qt::Key_Return);
    f.box(QStringLiteral("货位名称"))->setText(QStringLiteral("一号仓"));
    f.box(QStringLiteral("备注"))->setText(QStringLiteral("主仓"));
    messages().answer(true);
    QTest::keyClick(f.box(QStringLiteral("备注")), Qt::Key_Return);
    EXPECT_EQ(messages().asked, QStringList{QStringLiteral("是否保存此货位信息？")});
    EXPECT_TRUE(db().hasTable(QStringLiteral("一号仓")));
    EXPECT_EQ(count(db().quoteName(QStringLiteral("一号仓"))), 1);
    ASSERT_EQ(f.rowCount(), 1);   // listed after the insert
    EXPECT_EQ(f.cell(0, QStringLiteral("备注")), QStringLiteral("主仓"));
    EXPECT_TRUE(f.box(QStringLiteral("货位名称"))->text().isEmpty());

    // Same code and name: changed without a question.
    f.selectRow(0);
    f.box(QStringLiteral("管理人员"))->setText(QStringLiteral("王五"));
    f.save();
    EXPECT_EQ(messages().lastText(), QStringLiteral("修改成功！!"));
    EXPECT_EQ(messages().asked.size(), 1);
    EXPECT_EQ(f.cell(0, QStringLiteral("管理人员")), QStringLiteral("王五"));

    // An injection attempt is refused with the form's own text.
    f.newRecord();
    f.box(QStringLiteral("货位编码"))->setText(QStringLiteral("02"));
    f.box(QStringLiteral("货位名称"))->setText(QStringLiteral("x;drop table 商品"));
    f.save();
    EXPECT_EQ(messages().lastText(), kWarehouseNameRefused);
    EXPECT_TRUE(db().hasTable(QStringLiteral("商品")));
    EXPECT_EQ(f.rowCount(), 1);
}

TEST_F(WarehouseFormTest, DeleteAsksOnlyWhenTheToggleIsTicked)
{
    addWarehouse(QStringLiteral("一号仓"));
    addWarehouse(QStringLiteral("二号仓"));
    addGoods(QStringLiteral("B0100001"), QStringLiteral("瓜子"));
    db().execute(QStringLiteral("update %1 set 数量=1").arg(db().quoteName(QStringLiteral("二号仓"))));
    Tfrm_hwxx_info f;
    ASSERT_EQ(f.rowCount(), 2);
    ASSERT_TRUE(f.deleteToggle()->isChecked());

    f.selectRow(0);
    messages().answer(false);
    f.removeCurrent();
    EXPECT_EQ(f.rowCount(), 2);
    EXPECT_EQ(messages().asked.size(), 1);

    f.deleteToggle()->setChecked(false);
    for (int row = 0; row < f.rowCount(); ++row) {
        if (f.cell(row, QStringLiteral("货位名称")) == QStringLiteral("二号仓"))
            f.selectRow(row);
    }
    f.removeCurrent();   // stock in it: refused
    EXPECT_TRUE(messages().lastText().contains(QStringLiteral("库存"))) << messages().lastText().toStdString();
    EXPECT_TRUE(db().hasTable(QStringLiteral("二号仓")));

    f.selectRow(0);
    const QString name = f.cell(0, QStringLiteral("货位名称"));
    ASSERT_EQ(name, QStringLiteral("一号仓"));
    f.removeCurrent();
    EXPECT_EQ(messages().lastText(), QStringLiteral("删除成功！"));
    EXPECT_EQ(messages().asked.size(), 1);
    EXPECT_FALSE(db().hasTable(name));
    EXPECT_EQ(f.rowCount(), 1);
}

class GoodsListTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        addWarehouse(QStringLiteral("一号仓"));
        addCategory(db(), QString(), QStringLiteral("01"), QStringLiteral("食品"));
        addCategory(db(), QStringLiteral("01"), QStringLiteral("0101"), QStringLiteral("炒货"));
        addGoods(QStringLiteral("B0100001"), QStringLiteral("Apple"), 1, 2);
        addGoods(QStringLiteral("B0101001"), QStringLiteral("Bean"), 1234.5, 3);
        addGoods(QStringLiteral("B0200001"), QStringLiteral("Cola"), 1, 4);
    }
    static QStringList column(const Tfrm_spzl &f, int c)
    {
        QStringList out;
        for (int r = 0; r < f.model()->rowCount(); ++r)
            out << f.model()->index(r, c).data().toString();
        return out;
    }
};

TEST_F(GoodsListTest, ListsFiltersSortsAndFormats)
{
    Tfrm_spzl f;
    EXPECT_EQ(f.recordCountText(), QStringLiteral("记录数：3"));
    EXPECT_EQ(column(f, 2), QStringList({QStringLiteral("Apple"), QStringLiteral("Bean"), QStringLiteral("Cola")}));
    const int cost = GoodsListModel::columnOf(QStringLiteral("进价"));
    EXPECT_FALSE(f.grid()->isColumnHidden(cost));
    EXPECT_EQ(f.model()->index(1, cost).data().toString(), QStringLiteral("￥1,234.50"));
    EXPECT_EQ(f.model()->index(1, GoodsListModel::columnOf(QStringLiteral("上限"))).data().toString(), QStringLiteral("0.0"));
    EXPECT_TRUE(f.button(QStringLiteral("导出EXCEL"))->isEnabled());
    EXPECT_TRUE(f.button(QStringLiteral("打印预览"))->isEnabled());

    f.showCategory(QStringLiteral("01"));
    EXPECT_EQ(f.recordCountText(), QStringLiteral("记录数：2"));

    f.searchBox(2)->setText(QStringLiteral("o"));
    f.search();
    EXPECT_EQ(column(f, 2), QStringList{QStringLiteral("Cola")});

    f.listAll();
    const int name = GoodsListModel::columnOf(QStringLiteral("品名"));
    f.sortByColumn(name);   // the list is by name already: the click turns it round
    EXPECT_EQ(column(f, 2), QStringList({QStringLiteral("Cola"), QStringLiteral("Bean"), QStringLiteral("Apple")}));
    f.sortByColumn(GoodsListModel::columnOf(QStringLiteral("售价")));
    EXPECT_EQ(column(f, 2), QStringList({QStringLiteral("Apple"), QStringLiteral("Bean"), QStringLiteral("Cola")}));
}

TEST_F(GoodsListTest, PurchasePriceColumnFollowsTheRight)
{
    addUser(QStringLiteral("0002"), QStringLiteral("张三"), {QStringLiteral("增加管理商品")});
    loginAs(QStringLiteral("0002"));
    Tfrm_spzl f;
    EXPECT_TRUE(f.grid()->isColumnHidden(GoodsListModel::columnOf(QStringLiteral("进价"))));
}

TEST_F(GoodsListTest, DeleteAsksAndRefusesGoodsInBills)
{
    db().execute(QStringLiteral("insert into 进货子(单号,编码) values('J1','B0100001')"));
    Tfrm_spzl f;
    f.grid()->selectRow(0);
    ASSERT_EQ(f.currentCode(), QStringLiteral("B0100001"));
    messages().answer(true);
    f.deleteGoods();
    EXPECT_EQ(messages().asked, QStringList{QStringLiteral("确实要删除当前选择的商品吗")});
    EXPECT_TRUE(messages().lastText().contains(QStringLiteral("淘汰")));
    EXPECT_EQ(count(QStringLiteral("商品")), 3);

    f.grid()->selectRow(2);
    messages().answer(true);
    f.deleteGoods();
    EXPECT_EQ(messages().lastText(), QStringLiteral("删除成功！"));
    EXPECT_EQ(f.recordCountText(), QStringLiteral("记录数：2"));

    addUser(QStringLiteral("0003"), QStringLiteral("李四"));
    loginAs(QStringLiteral("0003"));
    f.grid()->selectRow(0);
    f.deleteGoods();
    EXPECT_EQ(messages().lastText(), kNoRightText);
}

TEST_F(GoodsListTest, LargeListsAreFetchedInChunks)
{
    if (test::usingPostgres())
        GTEST_SKIP() << "the PostgreSQL driver hands over the whole result at once";
    db().begin();
    for (int i = 0; i < 600; ++i)
        db().execute(QStringLiteral("insert into 商品(编码,品名) values(?,?)"), {QStringLiteral("X%1").arg(i, 4, 10, QLatin1Char('0')),
                                                                              QStringLiteral("N%1").arg(i)});
    db().commit();
    Tfrm_spzl f;
    EXPECT_EQ(f.recordCountText(), QStringLiteral("记录数：603"));
    EXPECT_LT(f.model()->rowCount(), 603);
    while (f.model()->canFetchMore())
        f.model()->fetchMore();
    EXPECT_EQ(f.model()->rowCount(), 603);
}

using CategoryFormsTest = DbTest;

TEST_F(CategoryFormsTest, TreeLoadsChildrenOnFirstExpand)
{
    addCategory(db(), QString(), QStringLiteral("01"), QStringLiteral("食品"));
    addCategory(db(), QStringLiteral("01"), QStringLiteral("0101"), QStringLiteral("炒货"));
    addCategory(db(), QString(), QStringLiteral("02"), QStringLiteral("饮料"));
    CategoryTree tree;
    QTreeWidgetItem *root = tree.topLevelItem(0);
    ASSERT_EQ(root->childCount(), 2);
    QTreeWidgetItem *food = root->child(0);
    EXPECT_EQ(food->text(0), QStringLiteral("食品(01)"));
    EXPECT_EQ(food->childCount(), 0);
    EXPECT_EQ(food->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    EXPECT_EQ(root->child(1)->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicatorWhenChildless);
    food->setExpanded(true);
    ASSERT_EQ(food->childCount(), 1);
    EXPECT_EQ(food->child(0)->text(0), QStringLiteral("炒货(0101)"));

    CategoryTree other;
    EXPECT_TRUE(other.selectCode(QStringLiteral("0101")));
    EXPECT_EQ(other.currentEntry(), QStringLiteral("炒货(0101)"));
}

TEST_F(CategoryFormsTest, EditorAddsRenamesAndDeletes)
{
    Tfrm_splebei_new f;
    f.codeBox()->setText(QStringLiteral("01"));
    f.nameBox()->setText(QStringLiteral("食品"));
    f.addCategory();   // nothing clicked: a root category
    EXPECT_EQ(messages().lastText(), QStringLiteral("增加成功!"));
    EXPECT_EQ(f.parentBox()->text(), QStringLiteral("商品类别"));
    EXPECT_TRUE(f.rootBox()->isChecked());
    EXPECT_EQ(f.tree()->currentCode(), QStringLiteral("01"));

    // Under the clicked node.
    QTreeWidgetItem *food = f.tree()->currentItem();
    emit f.tree()->itemClicked(food, 0);
    EXPECT_EQ(f.parentBox()->text(), QStringLiteral("食品(01)"));
    EXPECT_FALSE(f.rootBox()->isChecked());
    f.codeBox()->setText(QStringLiteral("0101"));
    f.nameBox()->setText(QStringLiteral("炒货"));
    f.addCategory();
    EXPECT_EQ(db().scalar(QStringLiteral("select 父项编码 from 类别 where 编码='0101'")).toString(), QStringLiteral("01"));

    f.nameBox()->setText(QStringLiteral("商品类别"));
    f.codeBox()->clear();
    f.addCategory();
    EXPECT_EQ(messages().lastText(), QStringLiteral("类别名称不能为[商品类别]!"));

    ASSERT_TRUE(f.tree()->selectCode(QStringLiteral("0101")));
    f.changeCategory();
    EXPECT_EQ(f.changeButton()->text(), QStringLiteral("保存"));
    EXPECT_EQ(f.nameBox()->text(), QStringLiteral("炒货"));
    f.nameBox()->setText(QStringLiteral("坚果"));
    f.changeCategory();
    EXPECT_EQ(messages().lastText(), QStringLiteral("修改成功！"));
    EXPECT_EQ(f.changeButton()->text(), QStringLiteral("修改"));
    EXPECT_TRUE(categoryEntries(db()).contains(QStringLiteral("坚果(0101)")));

    ASSERT_TRUE(f.tree()->selectCode(QStringLiteral("01")));
    f.deleteCategory();
    EXPECT_EQ(messages().lastText(), QStringLiteral("此大类下面还有子类,您必须先将子类删除!"));
    ASSERT_TRUE(f.tree()->selectCode(QStringLiteral("0101")));
    f.deleteCategory();
    EXPECT_EQ(messages().lastText(), QStringLiteral("删除成功!"));
    EXPECT_EQ(count(QStringLiteral("类别")), 1);
}

TEST_F(CategoryFormsTest, PickerRefusesTheRoot)
{
    addCategory(db(), QString(), QStringLiteral("01"), QStringLiteral("食品"));
    Tfrm_tree_check f;
    emit f.tree()->itemClicked(f.tree()->topLevelItem(0), 0);
    EXPECT_FALSE(f.choose());
    EXPECT_EQ(messages().lastText(), QStringLiteral("选中的项目-不能为[根目录]或不能为\"空\",请重新选择!"));
    emit f.tree()->itemClicked(f.tree()->topLevelItem(0)->child(0), 0);
    EXPECT_TRUE(f.choose());
    EXPECT_EQ(f.chosenEntry(), QStringLiteral("食品(01)"));
}
