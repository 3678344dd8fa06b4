#include "masterdata/goods_service.h"

#include "common/clock.h"
#include "common/error.h"
#include "common/helpers.h"
#include "common/identity.h"
#include "common/permissions.h"
#include "common/session.h"
#include "common/text_utils.h"
#include "common/transaction.h"
#include "masterdata/field_error.h"
#include "masterdata/warehouse_service.h"

#include <QSqlRecord>

namespace tavomi {

namespace {

const QString kGoodsRight = QStringLiteral("增加管理商品");

void requireGoodsRight(Session &session)
{
    if (!hasRight(session, kGoodsRight))
        throw Error(kNoRightText);
}

struct NumberBox
{
    QString column;
    QString caption;
    QString text;
};

// Every numeric box is checked before anything is written.
void checkNumbers(const QList<NumberBox> &boxes)
{
    for (const NumberBox &b : boxes) {
        const QString t = b.text.trimmed();
        if (t.isEmpty())
            continue;
        bool ok = false;
        const double v = t.toDouble(&ok);
        if (!ok || !IsNumberText(t) || v < 0)
            throw FieldError(QStringLiteral("[%1]不是正确的数字,请重新输入!").arg(b.caption), b.column);
    }
}

double numberOf(const QString &text)
{
    const QString t = text.trimmed();
    return t.isEmpty() ? 0.0 : t.toDouble();
}

QList<NumberBox> numberBoxes(const GoodsInput &in)
{
    QList<NumberBox> boxes = {
        {QStringLiteral("进价"), QStringLiteral("进价"), in.cost},
        {QStringLiteral("批价"), QStringLiteral("批价"), in.wholesale},
        {QStringLiteral("售价"), QStringLiteral("售价"), in.retail},
        {QStringLiteral("上限"), QStringLiteral("库存上限"), in.upperLimit},
        {QStringLiteral("下限"), QStringLiteral("库存下限"), in.lowerLimit},
    };
    const QStringList &levels = priceLevelColumns();
    for (int i = 0; i < in.priceLevels.size() && i < levels.size(); ++i)
        boxes.append({levels.at(i), levels.at(i), in.priceLevels.at(i)});
    return boxes;
}

UnitFields unitFieldsOf(const GoodsInput &in)
{
    try {
        return computeUnitFields(in.units);
    } catch (const FieldError &) {
        throw;
    } catch (const Error &e) {
        throw FieldError(e.message(), kUnitsField);
    }
}

QVariantList priceLevelValues(const GoodsInput &in)
{
    QVariantList out;
    for (int i = 0; i < priceLevelColumns().size(); ++i)
        out << (i < in.priceLevels.size() ? numberOf(in.priceLevels.at(i)) : 0.0);
    return out;
}

void checkBarcode(Session &session, const GoodsInput &in, const QString &ownCode)
{
    if (barcodeTaken(session, in.barcode.trimmed(), ownCode))
        throw FieldError(kBarcodeDuplicateText, QStringLiteral("备注"));
}

void insertStockRow(Session &session, const QString &quotedTable, const QString &place, const QString &code)
{
    session.execute(QStringLiteral("insert into %1(货位,编码,数量,金额,日期,标记,组合库存) values(?,?,0,0,?,0,'0')").arg(quotedTable),
                    {place, code, Clock::today()});
}

QStringList stockTables(Session &session)
{
    QStringList out = {QStringLiteral("库存"), QStringLiteral("库存2")};
    for (const QString &w : warehouseNames(session))
        if (checkWarehouseTableName(w).isEmpty() && session.hasTable(w))
            out << session.quoteName(w);
    return out;
}

} // namespace

const QStringList &priceLevelColumns()
{
    static const QStringList c = {
        QStringLiteral("价格一"), QStringLiteral("价格二"), QStringLiteral("价格三"), QStringLiteral("价格四"),
        QStringLiteral("价格五"), QStringLiteral("价格六"), QStringLiteral("价格七"), QStringLiteral("价格八"),
        QStringLiteral("价格九"), QStringLiteral("价格十"), QStringLiteral("价格11"), QStringLiteral("价格12"),
        QStringLiteral("价格13"), QStringLiteral("价格14"), QStringLiteral("价格15"), QStringLiteral("价格16"),
        QStringLiteral("价格17"), QStringLiteral("价格18"), QStringLiteral("价格19"), QStringLiteral("价格20"),
    };
    return c;
}

const QStringList &goodsLineTables()
{
    static const QStringList t = {
        QStringLiteral("销售子"),     QStringLiteral("采购订单子"), QStringLiteral("销售退货子"), QStringLiteral("退货子"),
        QStringLiteral("进货子"),     QStringLiteral("其它入库子"), QStringLiteral("其它出库子"), QStringLiteral("盘点子"),
        QStringLiteral("库存调拨子"), QStringLiteral("客户订单子"), QStringLiteral("归还子"),
    };
    return t;
}

QString categoryPrefix(const QString &categoryCode)
{
    return categoryCode.size() == 2 ? categoryCode + QStringLiteral("00") : categoryCode;
}

QString goodsCode(const QString &prefix, const QString &itemNumber)
{
    return QStringLiteral("B") + prefix + itemNumber.trimmed();
}

bool goodsCodeTaken(Session &session, const QString &code)
{
    return session.exists(QStringLiteral("select 编码 from 商品 where 编码 %1 ?").arg(likeOperator(session)) + kLikeEscape,
                          {containsPattern(code)});
}

bool goodsUsedInBills(Session &session, const QString &code)
{
    for (const QString &t : goodsLineTables())
        if (session.exists(QStringLiteral("select 1 from %1 where 编码=?").arg(t), {code}))
            return true;
    return false;
}

bool barcodeTaken(Session &session, const QString &barcode, const QString &exceptCode)
{
    if (barcode.trimmed().isEmpty())
        return false;
    if (exceptCode.isEmpty())
        return session.exists(QStringLiteral("select 编码 from 商品 where 备注<>'' and 备注=?"), {barcode.trimmed()});
    return session.exists(QStringLiteral("select 编码 from 商品 where 备注<>'' and 备注=? and 编码<>?"),
                          {barcode.trimmed(), exceptCode});
}

void validateNewGoods(Session &session, const GoodsInput &in)
{
    requireGoodsRight(session);
    const QString item = in.itemNumber.trimmed();
    // The stock tables hold the code in a varchar(600).
    if (goodsCode(in.categoryPrefix, item).size() > 600)
        throw FieldError(QStringLiteral("商品编码太长,最多600个字符!"), kItemNumberField);
    if (!item.isEmpty() && goodsCodeTaken(session, goodsCode(in.categoryPrefix, item)))
        throw FieldError(kGoodsDuplicateText, kItemNumberField);
    if (warehouseNames(session).isEmpty())
        throw FieldError(kNoWarehouseText, kWarehouseField);
    const UnitFields units = unitFieldsOf(in);
    if (units.packing.isEmpty())
        throw FieldError(kGoodsRequiredText, kUnitsField);
    if (item.isEmpty())
        throw FieldError(kGoodsRequiredText, kItemNumberField);
    if (in.shorthand.trimmed().isEmpty())
        throw FieldError(kGoodsRequiredText, QStringLiteral("条码"));
    if (in.name.trimmed().isEmpty())
        throw FieldError(kGoodsRequiredText, QStringLiteral("品名"));
    checkNumbers(numberBoxes(in));
    checkBarcode(session, in, QString());
}

QString addGoods(Session &session, const GoodsInput &in)
{
    validateNewGoods(session, in);
    const UnitFields units = unitFieldsOf(in);
    const QString code = goodsCode(in.categoryPrefix, in.itemNumber);
    const QString name = in.name.trimmed();

    TransactionGuard tx(session);
    logAction(session, kLogImportant, QStringLiteral("新增商品资料,新增的商品名为:") + name);
    QStringList columns = {QStringLiteral("编码"), QStringLiteral("条码"), QStringLiteral("品名"), QStringLiteral("单位"),
                           QStringLiteral("进价"), QStringLiteral("批价"), QStringLiteral("售价"), QStringLiteral("上限"),
                           QStringLiteral("下限"), QStringLiteral("供应商"), QStringLiteral("公司名"), QStringLiteral("淘汰否"),
                           QStringLiteral("柜组"), QStringLiteral("备注"), QStringLiteral("大包装"), QStringLiteral("换算数"),
                           QStringLiteral("小包装")};
    QVariantList values = {code, in.shorthand.trimmed(), name, units.unit,
                           numberOf(in.cost), numberOf(in.wholesale), numberOf(in.retail), numberOf(in.upperLimit),
                           numberOf(in.lowerLimit), in.supplierCode.trimmed(), in.supplierName.trimmed(), QStringLiteral("否"),
                           units.packing, in.barcode.trimmed(), units.largestUnit, units.unitNames,
                           units.smallCount};
    columns << priceLevelColumns();
    values << priceLevelValues(in);
    QStringList marks;
    for (int i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    session.execute(QStringLiteral("insert into 商品(%1) values(%2)").arg(columns.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                    values);
    insertStockRow(session, QStringLiteral("库存"), QStringLiteral("库存"), code);
    insertStockRow(session, QStringLiteral("库存2"), QStringLiteral("库存2"), code);
    for (const QString &w : warehouseNames(session)) {
        if (!checkWarehouseTableName(w).isEmpty() || !session.hasTable(w))
            continue;
        insertStockRow(session, session.quoteName(w), w, code);
    }
    tx.commit();
    return code;
}

void validateGoodsChange(Session &session, const GoodsInput &in)
{
    requireGoodsRight(session);
    if (!session.exists(QStringLiteral("select 1 from 商品 where 编码=?"), {in.code}))
        throw Error(QStringLiteral("当前无资料可修改!"));
    if (!goodsUsedInBills(session, in.code)) {
        const UnitFields units = unitFieldsOf(in);
        if (units.packing.isEmpty())
            throw FieldError(kGoodsRequiredText, kUnitsField);
    }
    if (in.shorthand.trimmed().isEmpty())
        throw FieldError(kGoodsRequiredText, QStringLiteral("条码"));
    if (in.name.trimmed().isEmpty())
        throw FieldError(kGoodsRequiredText, QStringLiteral("品名"));
    checkNumbers(numberBoxes(in));
    checkBarcode(session, in, in.code);
}

void changeGoods(Session &session, const GoodsInput &in)
{
    validateGoodsChange(session, in);
    const QVariantMap stored = loadGoods(session, in.code);
    UnitFields units;
    if (goodsUsedInBills(session, in.code)) {
        // Bills already count this goods in its units: the scheme stays as it is.
        units.unit = stored.value(QStringLiteral("单位")).toString();
        units.packing = stored.value(QStringLiteral("柜组")).toString();
        units.unitNames = stored.value(QStringLiteral("换算数")).toString();
        units.largestUnit = stored.value(QStringLiteral("大包装")).toString();
        units.smallCount = stored.value(QStringLiteral("小包装")).toDouble();
    } else {
        units = unitFieldsOf(in);
        if (units.packing == stored.value(QStringLiteral("柜组")).toString())
            units.smallCount = stored.value(QStringLiteral("小包装")).toDouble();
    }
    const QString name = in.name.trimmed();

    TransactionGuard tx(session);
    logAction(session, kLogImportant, QStringLiteral("修改商品资料,商品名修改为:") + name);
    QStringList sets = {QStringLiteral("条码=?"), QStringLiteral("品名=?"), QStringLiteral("单位=?"), QStringLiteral("柜组=?"),
                        QStringLiteral("进价=?"), QStringLiteral("批价=?"), QStringLiteral("售价=?"), QStringLiteral("上限=?"),
                        QStringLiteral("下限=?"), QStringLiteral("淘汰否=?"), QStringLiteral("供应商=?"), QStringLiteral("公司名=?"),
                        QStringLiteral("备注=?"), QStringLiteral("换算数=?"), QStringLiteral("大包装=?"), QStringLiteral("小包装=?")};
    QVariantList values = {in.shorthand.trimmed(), name, units.unit, units.packing,
                           numberOf(in.cost), numberOf(in.wholesale), numberOf(in.retail), numberOf(in.upperLimit),
                           numberOf(in.lowerLimit), in.retired ? QStringLiteral("是") : QStringLiteral("否"),
                           in.supplierCode.trimmed(), in.supplierName.trimmed(), in.barcode.trimmed(), units.unitNames,
                           units.largestUnit, units.smallCount};
    for (const QString &c : priceLevelColumns())
        sets << c + QStringLiteral("=?");
    values << priceLevelValues(in);
    values << in.code;
    session.execute(QStringLiteral("update 商品 set %1 where 编码=?").arg(sets.join(QLatin1Char(','))), values);
    const QStringList warehouses = warehouseNames(session);
    if (!warehouses.isEmpty())
        session.execute(QStringLiteral("update 库存 set 货位=? where 编码=?"), {warehouses.first(), in.code});
    tx.commit();
}

QString goodsDeleteRefusal(Session &session, const QString &code)
{
    const QString suggestion = QStringLiteral("如果不再经营此商品,请在修改商品资料时勾选[淘汰]。");
    if (goodsUsedInBills(session, code))
        return QStringLiteral("此商品已经在单据中使用,不能删除!") + suggestion;
    for (const QString &t : stockTables(session))
        if (session.exists(QStringLiteral("select 1 from %1 where 编码=? and 数量<>0").arg(t), {code}))
            return QStringLiteral("此商品还有库存,不能删除!") + suggestion;
    return QString();
}

void deleteGoods(Session &session, const QString &code)
{
    requireGoodsRight(session);
    const QVariantMap stored = loadGoods(session, code);
    if (stored.isEmpty())
        throw Error(QStringLiteral("当前无资料可删除!"));
    const QString refusal = goodsDeleteRefusal(session, code);
    if (!refusal.isEmpty())
        throw Error(refusal);
    TransactionGuard tx(session);
    logAction(session, kLogImportant, QStringLiteral("删除商品资料,商品名为:") + stored.value(QStringLiteral("品名")).toString());
    session.execute(QStringLiteral("delete from 商品 where 编码=?"), {code});
    QStringList tables = stockTables(session);
    tables << QStringLiteral("期初库存表");
    for (const QString &t : tables)
        session.execute(QStringLiteral("delete from %1 where 编码=?").arg(t), {code});
    tx.commit();
}

QVariantMap loadGoods(Session &session, const QString &code)
{
    QVariantMap out;
    QSqlQuery q = session.run(QStringLiteral("select * from 商品 where 编码=?"), {code});
    if (!q.next())
        return out;
    const QSqlRecord rec = q.record();
    for (int i = 0; i < rec.count(); ++i)
        out.insert(rec.fieldName(i), q.value(i));
    return out;
}

const QStringList &goodsListColumns()
{
    static const QStringList c = [] {
        QStringList l = {QStringLiteral("编码"), QStringLiteral("条码"), QStringLiteral("品名"), QStringLiteral("单位"),
                         QStringLiteral("进价"), QStringLiteral("批价"), QStringLiteral("售价"), QStringLiteral("上限"),
                         QStringLiteral("下限"), QStringLiteral("供应商"), QStringLiteral("公司名"), QStringLiteral("淘汰否")};
        l << priceLevelColumns().mid(0, 10);
        l << QStringLiteral("柜组") << QStringLiteral("备注") << QStringLiteral("大包装") << QStringLiteral("换算数")
          << QStringLiteral("小包装");
        return l;
    }();
    return c;
}

QString GoodsListQuery::sql() const
{
    QStringList cols;
    for (const QString &c : goodsListColumns())
        cols << QStringLiteral("商品.") + c;
    QString s = QStringLiteral("select ") + cols.join(QLatin1Char(',')) + QStringLiteral(" from 商品");
    QStringList conditions;
    if (joinStock) {
        s += QStringLiteral(",库存");
        conditions << QStringLiteral("商品.编码=库存.编码");
    }
    if (!where.isEmpty())
        conditions << where;
    if (!conditions.isEmpty())
        s += QStringLiteral(" where ") + conditions.join(QStringLiteral(" and "));
    const QString column = goodsListColumns().contains(orderColumn) ? orderColumn : QStringLiteral("品名");
    s += QStringLiteral(" order by 商品.") + column + (descending ? QStringLiteral(" desc") : QStringLiteral(" asc"));
    if (column != QStringLiteral("编码"))
        s += QStringLiteral(",商品.编码");
    return s;
}

QString GoodsListQuery::countSql() const
{
    QString s = QStringLiteral("select count(*) from 商品");
    QStringList conditions;
    if (joinStock) {
        s += QStringLiteral(",库存");
        conditions << QStringLiteral("商品.编码=库存.编码");
    }
    if (!where.isEmpty())
        conditions << where;
    if (!conditions.isEmpty())
        s += QStringLiteral(" where ") + conditions.join(QStringLiteral(" and "));
    return s;
}

GoodsListQuery goodsAll()
{
    return GoodsListQuery();
}

GoodsListQuery goodsOfCategory(Session &session, const QString &nodeCode)
{
    GoodsListQuery q;
    if (nodeCode.isEmpty() || nodeCode == QStringLiteral("0"))
        return q;
    const QString like = likeOperator(session);
    const QString pattern = startsWithPattern(QStringLiteral("B") + nodeCode);
    q.where = QStringLiteral("('B' || 商品.编码 %1 ?%2 or 商品.编码 %1 ?%2)").arg(like, kLikeEscape);
    q.values = {pattern, pattern};
    return q;
}

GoodsListQuery goodsSearch(Session &session, const GoodsSearch &search)
{
    GoodsListQuery q;
    q.joinStock = true;
    const QString like = likeOperator(session);
    const QList<QPair<QString, QString>> boxes = {
        {QStringLiteral("商品.编码"), search.code},     {QStringLiteral("商品.条码"), search.shorthand},
        {QStringLiteral("商品.品名"), search.name},     {QStringLiteral("商品.公司名"), search.supplierName},
        {QStringLiteral("商品.备注"), search.barcode},
    };
    QStringList conditions;
    for (const auto &b : boxes) {
        const QString t = b.second.trimmed();
        if (t.isEmpty())
            continue;
        conditions << QStringLiteral("%1 %2 ?").arg(b.first, like) + kLikeEscape;
        q.values << containsPattern(t);
    }
    q.where = conditions.join(QStringLiteral(" and "));
    return q;
}

} // namespace tavomi
