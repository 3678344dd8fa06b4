#include "documents/stock_ledger.h"

#include "common/clock.h"
#include "common/error.h"
#include "common/session.h"
#include "common/text_utils.h"

namespace tavomi::docs {

QString GoodsUnits::baseUnit() const
{
    return gbkLeft(baseUnitText.trimmed(), 2);
}

double GoodsUnits::middleRatio() const
{
    const QString s = baseUnitText.trimmed();
    const QString head = gbkLeft(s, 3);
    bool ok = false;
    const double n = s.mid(head.size()).trimmed().toDouble(&ok);
    return ok ? n : 0;
}

double GoodsUnits::factor(const QString &unit) const
{
    const QString u = unit.trimmed();
    if (!bigUnit.trimmed().isEmpty() && u == bigUnit.trimmed())
        return perBig;
    if (u == baseUnit())
        return 1;
    return middleRatio();
}

StockLedger::StockLedger(Session &session)
    : m_session(session)
{}

namespace {

GoodsUnits readUnits(const QSqlQuery &q, int first)
{
    GoodsUnits g;
    g.exists = true;
    g.baseUnitText = q.value(first).toString();
    g.bigUnit = q.value(first + 1).toString();
    g.perBig = q.value(first + 2).toDouble();
    g.packing = q.value(first + 3).toString();
    g.names = q.value(first + 4).toString();
    g.cost = q.value(first + 5).toDouble();
    return g;
}

// Bound "in" lists of at most this many codes.
constexpr int kChunk = 200;

QString marks(int n)
{
    QStringList m;
    for (int i = 0; i < n; ++i)
        m << QStringLiteral("?");
    return m.join(QLatin1Char(','));
}

} // namespace

GoodsUnits StockLedger::units(const QString &code)
{
    const auto it = m_goods.constFind(code);
    if (it != m_goods.constEnd())
        return *it;
    GoodsUnits g;
    QSqlQuery &q = m_session.runCached(QStringLiteral("select 单位,大包装,小包装,柜组,换算数,进价 from 商品 where 编码=?"), {code});
    if (q.next())
        g = readUnits(q, 0);
    q.finish();
    return g;
}

void StockLedger::preloadGoods(const QStringList &codes)
{
    QStringList distinct = QStringList(codes);
    distinct.removeDuplicates();
    for (int i = 0; i < distinct.size(); i += kChunk) {
        const QStringList part = distinct.mid(i, kChunk);
        QVariantList values;
        for (const QString &c : part)
            values << c;
        QSqlQuery q = m_session.run(
            QStringLiteral("select 编码,单位,大包装,小包装,柜组,换算数,进价 from 商品 where 编码 in (%1)").arg(marks(int(part.size()))), values);
        while (q.next())
            m_goods.insert(q.value(0).toString(), readUnits(q, 1));
    }
}

void StockLedger::preloadStock(const QString &table, const QStringList &codes)
{
    // Rows are locked in code order, so two workstations posting the same goods never wait on
    // each other crosswise.
    QStringList distinct = QStringList(codes);
    distinct.removeDuplicates();
    distinct.sort();
    QHash<QString, double> &known = m_quantities[table];
    const QString lock = m_session.isPostgres() ? QStringLiteral(" for update") : QString();
    for (int i = 0; i < distinct.size(); i += kChunk) {
        const QStringList part = distinct.mid(i, kChunk);
        QVariantList values;
        for (const QString &c : part) {
            values << c;
            known.insert(c, qQNaN());
        }
        QSqlQuery q = m_session.run(
            QStringLiteral("select 编码,数量 from %1 where 编码 in (%2) order by 编码%3").arg(quoted(table), marks(int(part.size())), lock),
            values);
        while (q.next())
            known.insert(q.value(0).toString(), q.value(1).toDouble());
    }
}

QString StockLedger::quoted(const QString &table) const
{
    if (table == QStringLiteral("库存") || table == QStringLiteral("库存2"))
        return table;
    return m_session.quoteName(table);
}

double StockLedger::baseQuantity(const GoodsUnits &goods, const QString &unit, double quantity)
{
    return quantity * goods.factor(unit);
}

double StockLedger::baseQuantity(const QString &code, const QString &unit, double quantity)
{
    return baseQuantity(units(code), unit, quantity);
}

QString StockLedger::missingWarehouseText(const QString &warningWord, const QString &warehouse)
{
    return QStringLiteral("警告：下面的") + warningWord + QStringLiteral("--[") + warehouse + QStringLiteral("]已经被删除!");
}

void StockLedger::checkWarehouse(const QString &warehouse, const QString &warningWord)
{
    if (m_checked.contains(warehouse))
        return;
    const QString word = warningWord.isEmpty() ? QStringLiteral("存放仓库") : warningWord;
    const bool known = !warehouse.trimmed().isEmpty()
        && m_session.exists(QStringLiteral("select 1 from 货位 where 货位名称=?"), {warehouse}) && m_session.hasTable(warehouse);
    if (!known)
        throw Error(missingWarehouseText(word, warehouse));
    m_checked.insert(warehouse);
}

void StockLedger::postTable(const QString &table, const GoodsUnits &goods, const QString &code, double quantity,
                            double amount)
{
    const QString name = quoted(table);
    QHash<QString, double> &known = m_quantities[table];
    auto it = known.find(code);
    if (it == known.end()) {
        const QString lock = m_session.isPostgres() ? QStringLiteral(" for update") : QString();
        QSqlQuery &q = m_session.runCached(QStringLiteral("select 数量 from %1 where 编码=?%2").arg(name, lock), {code});
        it = known.insert(code, q.next() ? q.value(0).toDouble() : qQNaN());
        q.finish();
    }
    if (qIsNaN(*it)) {
        // A goods created before the warehouse, or a row lost: start it at zero.
        m_session.runCached(QStringLiteral("insert into %1(货位,编码,数量,金额,日期,标记,组合库存) values(?,?,0,0,?,0,'')").arg(name),
                            {table, code, Clock::today()});
        *it = 0;
    }
    const double updated = *it + quantity;
    QString package;
    if (goods.perBig != 0)
        package = PackageText(numberText(updated / goods.perBig), goods.packing, goods.names);
    m_session.runCached(QStringLiteral("update %1 set 数量=数量+?,金额=金额+?,组合库存=? where 编码=?").arg(name),
                        {quantity, amount, package, code});
    *it = updated;
}

void StockLedger::postLine(const QString &warehouse, const QString &code, double baseQuantity, double amount,
                           int direction, bool totalsFollow, const QString &warningWord)
{
    checkWarehouse(warehouse, warningWord);
    const GoodsUnits goods = units(code);
    if (!goods.exists)
        throw Error(QStringLiteral("商品[%1]已经不存在，不能过账").arg(code));
    const double q = direction * baseQuantity;
    const double a = direction * amount;
    postTable(warehouse, goods, code, q, a);
    if (totalsFollow) {
        postTable(QStringLiteral("库存"), goods, code, q, a);
        postTable(QStringLiteral("库存2"), goods, code, q, a);
    }
}

void StockLedger::zeroWarehouseRow(const QString &warehouse, const QString &code)
{
    checkWarehouse(warehouse, QString());
    m_session.runCached(QStringLiteral("update %1 set 数量=0,金额=0,组合库存='0' where 编码=?").arg(m_session.quoteName(warehouse)),
                        {code});
    m_quantities[warehouse].remove(code);
}

void StockLedger::rebuildTotal(const QString &code)
{
    // Hold the total's row first, so a second workstation posting the same goods waits here and
    // then reads the warehouse rows as they are after it.
    if (m_session.isPostgres())
        m_session.run(QStringLiteral("select 数量 from 库存 where 编码=? for update"), {code});
    QStringList warehouses;
    {
        QSqlQuery q = m_session.run(QStringLiteral("select 货位名称 from 货位"));
        while (q.next())
            warehouses << q.value(0).toString();
    }
    double quantity = 0, amount = 0;
    for (const QString &w : warehouses) {
        if (!m_session.hasTable(w))
            continue;
        QSqlQuery &q = m_session.runCached(QStringLiteral("select 数量,金额 from %1 where 编码=?").arg(m_session.quoteName(w)), {code});
        if (q.next()) {
            quantity += q.value(0).toDouble();
            amount += q.value(1).toDouble();
        }
        q.finish();
    }
    const GoodsUnits goods = units(code);
    QString package;
    if (goods.perBig != 0)
        package = PackageText(numberText(quantity / goods.perBig), goods.packing, goods.names);
    m_quantities[QStringLiteral("库存")].remove(code);
    const int changed = m_session.execute(QStringLiteral("update 库存 set 数量=?,金额=?,组合库存=? where 编码=?"),
                                          {quantity, amount, package, code});
    if (changed == 0)
        m_session.execute(QStringLiteral("insert into 库存(货位,编码,数量,金额,日期,标记,组合库存) values('库存',?,?,?,?,0,?)"),
                          {code, quantity, amount, Clock::today(), package});
}

} // namespace tavomi::docs
