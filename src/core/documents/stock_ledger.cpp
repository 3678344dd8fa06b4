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

GoodsUnits StockLedger::units(const QString &code) const
{
    GoodsUnits g;
    QSqlQuery &q = m_session.runCached(QStringLiteral("select 单位,大包装,小包装,柜组,换算数,进价 from 商品 where 编码=?"), {code});
    if (q.next()) {
        g.exists = true;
        g.baseUnitText = q.value(0).toString();
        g.bigUnit = q.value(1).toString();
        g.perBig = q.value(2).toDouble();
        g.spec = q.value(3).toString();
        g.names = q.value(4).toString();
        g.cost = q.value(5).toDouble();
    }
    q.finish();
    return g;
}

double StockLedger::baseQuantity(const GoodsUnits &goods, const QString &unit, double quantity)
{
    return quantity * goods.factor(unit);
}

double StockLedger::baseQuantity(const QString &code, const QString &unit, double quantity) const
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

void StockLedger::postTable(const QString &quotedTable, const QString &rowLabel, const GoodsUnits &goods,
                            const QString &code, double quantity, double amount)
{
    // Read the row (locked on PostgreSQL), then write the new quantity, amount and package text in one go.
    const QString lock = m_session.isPostgres() ? QStringLiteral(" for update") : QString();
    QSqlQuery &q = m_session.runCached(QStringLiteral("select 数量 from %1 where 编码=?%2").arg(quotedTable, lock), {code});
    const bool found = q.next();
    const double current = found ? q.value(0).toDouble() : 0;
    q.finish();
    if (!found)
        m_session.runCached(QStringLiteral("insert into %1(货位,编码,数量,金额,日期,标记,组合库存) values(?,?,0,0,?,0,'')")
                                .arg(quotedTable),
                            {rowLabel, code, Clock::today()});
    const double updated = current + quantity;
    QString package;
    if (goods.perBig != 0)
        package = PackageText(numberText(updated / goods.perBig), goods.spec, goods.names);
    m_session.runCached(QStringLiteral("update %1 set 数量=数量+?,金额=金额+?,组合库存=? where 编码=?").arg(quotedTable),
                        {quantity, amount, package, code});
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
    postTable(m_session.quoteName(warehouse), warehouse, goods, code, q, a);
    if (totalsFollow) {
        postTable(QStringLiteral("库存"), QStringLiteral("库存"), goods, code, q, a);
        postTable(QStringLiteral("库存2"), QStringLiteral("库存2"), goods, code, q, a);
    }
}

void StockLedger::zeroWarehouseRow(const QString &warehouse, const QString &code)
{
    checkWarehouse(warehouse, QString());
    m_session.runCached(QStringLiteral("update %1 set 数量=0,金额=0,组合库存='0' where 编码=?").arg(m_session.quoteName(warehouse)),
                        {code});
}

void StockLedger::rebuildTotal(const QString &code)
{
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
        package = PackageText(numberText(quantity / goods.perBig), goods.spec, goods.names);
    const int changed = m_session.execute(QStringLiteral("update 库存 set 数量=?,金额=?,组合库存=? where 编码=?"),
                                          {quantity, amount, package, code});
    if (changed == 0)
        m_session.execute(QStringLiteral("insert into 库存(货位,编码,数量,金额,日期,标记,组合库存) values('库存',?,?,?,?,0,?)"),
                          {code, quantity, amount, Clock::today(), package});
}

} // namespace tavomi::docs
