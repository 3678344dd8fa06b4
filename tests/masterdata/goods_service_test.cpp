#include "common/clock.h"
#include "common/error.h"
#include "common/helpers.h"
#include "common/permissions.h"
#include "masterdata/field_error.h"
#include "masterdata/goods_service.h"
#include "support/test_db.h"

using namespace tavomi;
using tavomi::test::DbTest;

namespace {

GoodsInput newGoods(const QString &prefix, const QString &item, const QString &name)
{
    GoodsInput in;
    in.categoryPrefix = prefix;
    in.itemNumber = item;
    in.name = name;
    in.shorthand = QStringLiteral("SC") + item;
    in.units = {QStringLiteral("件"), QStringLiteral("袋"), QStringLiteral("包"), QStringLiteral("12"), QStringLiteral("24")};
    in.wholesale = QStringLiteral("1.5");
    in.retail = QStringLiteral("2");
    return in;
}

QString fieldErrorOf(Session &s, const GoodsInput &in)
{
    try {
        addGoods(s, in);
    } catch (const FieldError &e) {
        return e.column() + QLatin1Char(':') + e.message();
    } catch (const Error &e) {
        return QStringLiteral("-:") + e.message();
    }
    return QString();
}

} // namespace

class GoodsServiceTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        addWarehouse(QStringLiteral("一号仓"));
        addWarehouse(QStringLiteral("Store_B"));
    }
};

TEST_F(GoodsServiceTest, CodeIsBPlusCategoryPrefixPlusItemNumber)
{
    EXPECT_EQ(goodsCode(categoryPrefix(QStringLiteral("01")), QStringLiteral("001")), QStringLiteral("B0100001"));
    EXPECT_EQ(goodsCode(categoryPrefix(QStringLiteral("0101")), QStringLiteral("001")), QStringLiteral("B0101001"));
    EXPECT_EQ(categoryPrefix(QStringLiteral("5")), QStringLiteral("5"));
    EXPECT_EQ(categoryPrefix(QStringLiteral("010")), QStringLiteral("010"));

    EXPECT_EQ(tavomi::addGoods(db(), newGoods(categoryPrefix(QStringLiteral("01")), QStringLiteral("001"), QStringLiteral("瓜子"))),
              QStringLiteral("B0100001"));
    EXPECT_EQ(tavomi::addGoods(db(), newGoods(categoryPrefix(QStringLiteral("0101")), QStringLiteral("001"), QStringLiteral("花生"))),
              QStringLiteral("B0101001"));
    EXPECT_EQ(count(QStringLiteral("商品")), 2);
}

TEST_F(GoodsServiceTest, NewGoodsIsStoredWithItsUnitsAndZeroStockEverywhere)
{
    GoodsInput in = newGoods(QStringLiteral("0100"), QStringLiteral("001"), QStringLiteral("瓜子"));
    in.barcode = QStringLiteral("6901234567890");
    in.priceLevels = {QStringLiteral("3"), QString(), QStringLiteral("4.25")};
    const QString code = tavomi::addGoods(db(), in);

    const QVariantMap g = loadGoods(db(), code);
    EXPECT_EQ(g.value(QStringLiteral("单位")).toString(), QStringLiteral("包*24"));
    EXPECT_EQ(g.value(QStringLiteral("柜组")).toString(), QStringLiteral("1件*12袋*24包"));
    EXPECT_EQ(g.value(QStringLiteral("换算数")).toString(), QStringLiteral("件袋包"));
    EXPECT_EQ(g.value(QStringLiteral("大包装")).toString(), QStringLiteral("件"));
    EXPECT_DOUBLE_EQ(g.value(QStringLiteral("小包装")).toDouble(), 288);
    EXPECT_EQ(g.value(QStringLiteral("淘汰否")).toString(), QStringLiteral("否"));
    EXPECT_DOUBLE_EQ(g.value(QStringLiteral("进价")).toDouble(), 0);
    EXPECT_DOUBLE_EQ(g.value(QStringLiteral("批价")).toDouble(), 1.5);
    EXPECT_DOUBLE_EQ(g.value(QStringLiteral("价格一")).toDouble(), 3);
    EXPECT_DOUBLE_EQ(g.value(QStringLiteral("价格二")).toDouble(), 0);
    EXPECT_DOUBLE_EQ(g.value(QStringLiteral("价格三")).toDouble(), 4.25);
    EXPECT_DOUBLE_EQ(g.value(QStringLiteral("价格20")).toDouble(), 0);

    const struct
    {
        QString table;
        QString place;
    } stock[] = {{QStringLiteral("库存"), QStringLiteral("库存")},
                 {QStringLiteral("库存2"), QStringLiteral("库存2")},
                 {db().quoteName(QStringLiteral("一号仓")), QStringLiteral("一号仓")},
                 {db().quoteName(QStringLiteral("Store_B")), QStringLiteral("Store_B")}};
    for (const auto &s : stock) {
        QSqlQuery q = db().run(QStringLiteral("select 货位,数量,金额,日期,标记,组合库存 from %1 where 编码=?").arg(s.table), {code});
        ASSERT_TRUE(q.next()) << s.table.toStdString();
        EXPECT_EQ(q.value(0).toString(), s.place);
        EXPECT_DOUBLE_EQ(q.value(1).toDouble(), 0);
        EXPECT_DOUBLE_EQ(q.value(2).toDouble(), 0);
        EXPECT_EQ(q.value(3).toString(), QStringLiteral("2026-03-15"));
        EXPECT_EQ(q.value(4).toInt(), 0);
        EXPECT_EQ(q.value(5).toString(), QStringLiteral("0"));
    }
    EXPECT_EQ(count(QStringLiteral("日志"), QStringLiteral("操作内容=? and 性质='重要'"),
                    {QStringLiteral("新增商品资料,新增的商品名为:瓜子")}),
              1);
}

TEST_F(GoodsServiceTest, NewGoodsRefusalsComeInTheEditorsOrderAndWriteNothing)
{
    addGoods(QStringLiteral("B01000012"), QStringLiteral("旧瓜子"));
    db().execute(QStringLiteral("update 商品 set 备注='690' where 编码='B01000012'"));
    auto with = [](auto change) {
        GoodsInput in = newGoods(QStringLiteral("0100"), QStringLiteral("002"), QStringLiteral("瓜子"));
        change(in);
        return in;
    };
    const QString required = kGoodsRequiredText;
    const struct
    {
        GoodsInput input;
        QString expected;
    } cases[] = {
        // the new code B0100001 is contained in B01000012
        {with([](GoodsInput &i) { i.itemNumber = QStringLiteral("001"); i.name.clear(); }),
         kItemNumberField + QStringLiteral(":") + kGoodsDuplicateText},
        {with([](GoodsInput &i) { i.units.largest = kNoUnit; i.name.clear(); }), kUnitsField + QStringLiteral(":") + required},
        {with([](GoodsInput &i) { i.itemNumber = QStringLiteral("  "); }), kItemNumberField + QStringLiteral(":") + required},
        {with([](GoodsInput &i) { i.shorthand.clear(); }), QStringLiteral("条码:") + required},
        {with([](GoodsInput &i) { i.name = QStringLiteral(" "); }), QStringLiteral("品名:") + required},
        {with([](GoodsInput &i) { i.cost = QStringLiteral("1.2.3"); }),
         QStringLiteral("进价:[进价]不是正确的数字,请重新输入!")},
        {with([](GoodsInput &i) { i.priceLevels = {QStringLiteral("1"), QStringLiteral("..")}; }),
         QStringLiteral("价格二:[价格二]不是正确的数字,请重新输入!")},
        {with([](GoodsInput &i) { i.units.ratio1 = QStringLiteral("0"); }),
         kUnitsField + QStringLiteral(":第一单位与第二单位的换算数必须是大于或等于1的整数!")},
        {with([](GoodsInput &i) { i.barcode = QStringLiteral("690"); }), QStringLiteral("备注:") + kBarcodeDuplicateText},
    };
    for (const auto &c : cases)
        EXPECT_EQ(fieldErrorOf(db(), c.input), c.expected);
    EXPECT_EQ(count(QStringLiteral("商品")), 1);
    EXPECT_EQ(count(QStringLiteral("库存")), 1);
    EXPECT_EQ(count(QStringLiteral("日志")), 0);
}

TEST_F(GoodsServiceTest, NoWarehouseAndNoRightAreRefused)
{
    db().execute(QStringLiteral("delete from 货位"));
    EXPECT_EQ(fieldErrorOf(db(), newGoods(QStringLiteral("0100"), QStringLiteral("001"), QStringLiteral("瓜子"))),
              kWarehouseField + QStringLiteral(":") + kNoWarehouseText);

    addWarehouse(QStringLiteral("三号仓"));
    addUser(QStringLiteral("0002"), QStringLiteral("张三"), {QStringLiteral("可查看商品进价")});
    loginAs(QStringLiteral("0002"));
    EXPECT_EQ(fieldErrorOf(db(), newGoods(QStringLiteral("0100"), QStringLiteral("001"), QStringLiteral("瓜子"))),
              QStringLiteral("-:") + kNoRightText);
    EXPECT_EQ(count(QStringLiteral("商品")), 0);
}

TEST_F(GoodsServiceTest, AnyOfTheElevenLineTablesMarksGoodsAsUsed)
{
    const QString code = tavomi::addGoods(db(), newGoods(QStringLiteral("0100"), QStringLiteral("001"), QStringLiteral("瓜子")));
    ASSERT_EQ(goodsLineTables().size(), 11);
    for (const QString &table : goodsLineTables()) {
        EXPECT_FALSE(goodsUsedInBills(db(), code)) << table.toStdString();
        db().execute(QStringLiteral("insert into %1(单号,编码) values('T1',?)").arg(table), {code});
        EXPECT_TRUE(goodsUsedInBills(db(), code)) << table.toStdString();
        EXPECT_FALSE(goodsDeleteRefusal(db(), code).isEmpty());
        db().execute(QStringLiteral("delete from %1").arg(table));
    }
}

TEST_F(GoodsServiceTest, ChangeKeepsTheUnitSchemeOfGoodsUsedInBillsAndCanRetire)
{
    const QString code = tavomi::addGoods(db(), newGoods(QStringLiteral("0100"), QStringLiteral("001"), QStringLiteral("瓜子")));
    GoodsInput in = newGoods(QString(), QString(), QStringLiteral("五香瓜子"));
    in.code = code;
    in.shorthand = QStringLiteral("WXGZ");
    in.units = {QStringLiteral("斤"), kNoUnit, kNoUnit, QStringLiteral("1"), QStringLiteral("1")};

    // Used in a customer order: the scheme stays.
    db().execute(QStringLiteral("insert into 客户订单子(单号,编码) values('DD1',?)"), {code});
    in.retired = true;
    changeGoods(db(), in);
    QVariantMap g = loadGoods(db(), code);
    EXPECT_EQ(g.value(QStringLiteral("品名")).toString(), QStringLiteral("五香瓜子"));
    EXPECT_EQ(g.value(QStringLiteral("柜组")).toString(), QStringLiteral("1件*12袋*24包"));
    EXPECT_DOUBLE_EQ(g.value(QStringLiteral("小包装")).toDouble(), 288);
    EXPECT_EQ(g.value(QStringLiteral("淘汰否")).toString(), QStringLiteral("是"));
    // Retired goods are no longer found by the bills' goods lookup.
    EXPECT_FALSE(SearchGoods(db(), QStringLiteral("五香")).next());
    // The 库存 row carries the first warehouse, as the editor shows it.
    EXPECT_EQ(db().scalar(QStringLiteral("select 货位 from 库存 where 编码=?"), {code}).toString(), QStringLiteral("一号仓"));
    EXPECT_EQ(count(QStringLiteral("日志"), QStringLiteral("操作内容=?"), {QStringLiteral("修改商品资料,商品名修改为:五香瓜子")}),
              1);

    // Not used any more: the new scheme is written, all unit columns together.
    db().execute(QStringLiteral("delete from 客户订单子"));
    in.retired = false;
    changeGoods(db(), in);
    g = loadGoods(db(), code);
    EXPECT_EQ(g.value(QStringLiteral("柜组")).toString(), QStringLiteral("1斤"));
    EXPECT_EQ(g.value(QStringLiteral("单位")).toString(), QStringLiteral("斤*1"));
    EXPECT_EQ(g.value(QStringLiteral("大包装")).toString(), QStringLiteral("斤"));
    EXPECT_DOUBLE_EQ(g.value(QStringLiteral("小包装")).toDouble(), 1);
    EXPECT_EQ(g.value(QStringLiteral("淘汰否")).toString(), QStringLiteral("否"));
}

TEST_F(GoodsServiceTest, OwnBarcodeIsAcceptedWhenChanging)
{
    GoodsInput first = newGoods(QStringLiteral("0100"), QStringLiteral("001"), QStringLiteral("瓜子"));
    first.barcode = QStringLiteral("111");
    const QString code = tavomi::addGoods(db(), first);
    GoodsInput second = newGoods(QStringLiteral("0100"), QStringLiteral("002"), QStringLiteral("花生"));
    second.barcode = QStringLiteral("222");
    const QString other = tavomi::addGoods(db(), second);

    first.code = code;
    first.name = QStringLiteral("瓜子大包");
    EXPECT_NO_THROW(changeGoods(db(), first));
    EXPECT_FALSE(barcodeTaken(db(), QStringLiteral("111"), code));
    EXPECT_TRUE(barcodeTaken(db(), QStringLiteral("111"), other));
    second.code = other;
    second.barcode = QStringLiteral("111");
    EXPECT_THROW(changeGoods(db(), second), FieldError);
}

TEST_F(GoodsServiceTest, DeleteIsRefusedWhileUsedOrInStockAndOtherwiseRemovesAllRows)
{
    const QString code = tavomi::addGoods(db(), newGoods(QStringLiteral("0100"), QStringLiteral("001"), QStringLiteral("瓜子")));
    db().execute(QStringLiteral("insert into 期初库存表(编码,货位,期初库存) values(?,'一号仓',0)"), {code});

    db().execute(QStringLiteral("insert into 归还子(单号,编码) values('JC1',?)"), {code});
    EXPECT_THROW(deleteGoods(db(), code), Error);
    db().execute(QStringLiteral("delete from 归还子"));

    const QString store = db().quoteName(QStringLiteral("Store_B"));
    db().execute(QStringLiteral("update %1 set 数量=3 where 编码=?").arg(store), {code});
    try {
        deleteGoods(db(), code);
        FAIL() << "stock should refuse the delete";
    } catch (const Error &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("淘汰"))) << e.message().toStdString();
    }
    EXPECT_EQ(count(QStringLiteral("商品")), 1);
    db().execute(QStringLiteral("update %1 set 数量=0 where 编码=?").arg(store), {code});

    deleteGoods(db(), code);
    EXPECT_EQ(count(QStringLiteral("商品")), 0);
    for (const QString &t : {QStringLiteral("库存"), QStringLiteral("库存2"), QStringLiteral("期初库存表"), store,
                             db().quoteName(QStringLiteral("一号仓"))})
        EXPECT_EQ(count(t), 0) << t.toStdString();
    EXPECT_EQ(count(QStringLiteral("日志"), QStringLiteral("操作内容=?"), {QStringLiteral("删除商品资料,商品名为:瓜子")}), 1);
}

TEST_F(GoodsServiceTest, ListQueriesFilterByCategoryAndSearchBoxes)
{
    addWarehouse(QStringLiteral("三号仓"));
    tavomi::addGoods(db(), newGoods(QStringLiteral("0100"), QStringLiteral("001"), QStringLiteral("瓜子")));
    tavomi::addGoods(db(), newGoods(QStringLiteral("0101"), QStringLiteral("001"), QStringLiteral("花生")));
    GoodsInput cola = newGoods(QStringLiteral("0200"), QStringLiteral("001"), QStringLiteral("Cola"));
    cola.supplierName = QStringLiteral("饮料公司");
    tavomi::addGoods(db(), cola);
    // Goods written by other means, without the "B" of the editor.
    addGoods(QStringLiteral("0199"), QStringLiteral("散装糖"));

    // Names in the query's order, or sorted when the order is the database's collation.
    auto names = [this](const GoodsListQuery &q, bool sorted = true) {
        QStringList out;
        QSqlQuery r = db().run(q.sql(), q.values);
        while (r.next())
            out << r.value(2).toString();
        EXPECT_EQ(db().scalar(q.countSql(), q.values).toInt(), out.size());
        if (sorted)
            out.sort();
        return out.join(QLatin1Char(','));
    };
    auto sortedText = [](QStringList l) {
        l.sort();
        return l.join(QLatin1Char(','));
    };
    EXPECT_EQ(names(goodsOfCategory(db(), QStringLiteral("01"))), sortedText({QStringLiteral("花生"), QStringLiteral("瓜子"), QStringLiteral("散装糖")}));
    EXPECT_EQ(names(goodsOfCategory(db(), QStringLiteral("0101"))), QStringLiteral("花生"));
    EXPECT_EQ(names(goodsOfCategory(db(), QStringLiteral("0"))).split(QLatin1Char(',')).size(), 4);

    GoodsSearch s;
    s.name = QStringLiteral("cola");
    EXPECT_EQ(names(goodsSearch(db(), s)), QStringLiteral("Cola"));
    s = GoodsSearch();
    s.supplierName = QStringLiteral("饮料");
    s.code = QStringLiteral("B02");
    EXPECT_EQ(names(goodsSearch(db(), s)), QStringLiteral("Cola"));

    GoodsListQuery byCode = goodsAll();
    byCode.orderColumn = QStringLiteral("编码");
    byCode.descending = true;
    EXPECT_EQ(names(byCode, false), QStringLiteral("Cola,花生,瓜子,散装糖"));
}
