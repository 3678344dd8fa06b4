#include "documents/bill_store.h"

#include "common/command.h"

#include "common/clock.h"
#include "common/error.h"
#include "common/helpers.h"
#include "common/identity.h"
#include "common/permissions.h"
#include "common/session.h"
#include "common/text_utils.h"
#include "common/transaction.h"
#include "documents/stock_ledger.h"

#include <QHash>

#include <cmath>

namespace tavomi::docs {

namespace {

QString lineOrder()
{
    // 序号 is text; lines come back in numeric order.
    return QStringLiteral(" order by cast(序号 as integer)");
}

bool isPurchase(const BillDescriptor &d)
{
    return d.shape == Shape::Purchase;
}

qint64 cents(double v)
{
    return qint64(std::llround(roundMoney(v) * 100));
}

} // namespace

BillStore::BillStore(Session &session, const BillDescriptor &descriptor)
    : m_s(session)
    , m_d(descriptor)
{}

BillStore::BillStore(Session &session, BillKind kind)
    : BillStore(session, bill(kind))
{}

QString BillStore::masterDateColumn() const
{
    return m_d.shape == Shape::StockTake ? QStringLiteral("盘点日期") : QStringLiteral("日期");
}

QString BillStore::masterTimeColumn() const
{
    return m_d.shape == Shape::StockTake ? QStringLiteral("盘点时间") : QStringLiteral("时间");
}

double BillStore::lineAmount(const BillLine &line)
{
    return roundMoney(line.discount * (line.price * line.quantity));
}

QString BillStore::newNumber() const
{
    return MakeFreeBillNo(m_s, m_d.prefix, m_d.masterTable);
}

QStringList BillStore::unauditedNumbers() const
{
    QStringList out;
    QSqlQuery q = m_s.run(QStringLiteral("select 单号 from %1 where 审核标志=0 order by %2,%3,单号")
                              .arg(m_d.masterTable, masterDateColumn(), masterTimeColumn()));
    while (q.next())
        out << q.value(0).toString();
    return out;
}

bool BillStore::exists(const QString &number) const
{
    return m_s.exists(QStringLiteral("select 1 from %1 where 单号=?").arg(m_d.masterTable), {number});
}

Bill BillStore::load(const QString &number) const
{
    Bill b;
    BillHeader &h = b.header;
    if (m_d.shape == Shape::StockTake) {
        QSqlQuery q = m_s.run(QStringLiteral("select 单号,货位,备注,附加说明,操作员,审核标志,盘点时间,盘点日期,盘点金额 from 盘点主 where 单号=?"),
                              {number});
        if (!q.next())
            throw Error(QStringLiteral("单据[%1]不存在!").arg(number));
        h.number = q.value(0).toString();
        h.place = q.value(1).toString();
        h.remark = q.value(2).toString();
        h.extra = q.value(3).toString();
        h.operatorName = q.value(4).toString();
        h.audited = q.value(5).toInt();
        h.time = q.value(6).toString();
        h.date = q.value(7).toString();
        h.total = q.value(8).toDouble();
        QSqlQuery l = m_s.run(QStringLiteral("select 序号,编码,单位,个数,售价,金额,品名,盘存数量,备注 from 盘点子 where 单号=?") + lineOrder(),
                              {number});
        while (l.next()) {
            BillLine line;
            line.row = l.value(0).toInt();
            line.code = l.value(1).toString();
            line.unit = l.value(2).toString();
            line.quantity = l.value(3).toDouble();
            line.price = l.value(4).toDouble();
            line.amount = l.value(5).toDouble();
            line.name = l.value(6).toString();
            line.baseQuantity = l.value(7).toDouble();
            line.note = l.value(8).toString();
            line.warehouse = h.place;
            b.lines.append(line);
        }
        return b;
    }

    const bool purchase = isPurchase(m_d);
    const QString partnerCols = purchase ? QStringLiteral("供应商,公司名,账户,本次付款") : QStringLiteral("客户编码,客户名称,帐户,本次收款");
    QString extraCols = purchase ? QStringLiteral(",附加说明") : QStringLiteral(",业务员");
    if (m_d.masterTable != QStringLiteral("归还主"))
        extraCols += QStringLiteral(",发票号码");
    QSqlQuery q = m_s.run(QStringLiteral("select 单号,发票号,货位,备注,%1,摘要,金额合计,审核标志,日期,时间,操作员%2 from %3 where 单号=?")
                              .arg(partnerCols, extraCols, m_d.masterTable),
                          {number});
    if (!q.next())
        throw Error(QStringLiteral("单据[%1]不存在!").arg(number));
    h.number = q.value(0).toString();
    h.orderNumber = q.value(1).toString();
    h.place = q.value(2).toString();
    h.remark = q.value(3).toString();
    h.partnerCode = q.value(4).toString();
    h.partnerName = q.value(5).toString();
    h.account = q.value(6).toString();
    h.writeOff = q.value(7).toDouble();
    h.summary = q.value(8).toString();
    h.total = q.value(9).toDouble();
    h.audited = q.value(10).toInt();
    h.date = q.value(11).toString();
    h.time = q.value(12).toString();
    h.operatorName = q.value(13).toString();
    if (purchase)
        h.extra = q.value(14).toString();
    else
        h.salesperson = q.value(14).toString();
    if (m_d.masterTable != QStringLiteral("归还主"))
        h.invoiceNumber = q.value(15).toString();
    b.lines = savedLines(number);
    return b;
}

QList<BillLine> BillStore::savedLines(const QString &number) const
{
    QList<BillLine> out;
    if (m_d.shape == Shape::StockTake)
        return out;
    const bool purchase = isPurchase(m_d);
    const bool transfer = m_d.kind == BillKind::StockTransfer;
    const QString price = purchase ? QStringLiteral("件进价") : QStringLiteral("件售价");
    const QString extra = purchase ? QStringLiteral(",'' as 备注,0 as 成本价") : QStringLiteral(",备注,成本价");
    const QString in = transfer ? QStringLiteral(",入库仓库") : QStringLiteral(",'' as 入库仓库");
    QSqlQuery q = m_s.run(QStringLiteral("select 序号,编码,大单位,件数量,%1,进率,%2,金额,品名,数量%3%4 from %5 where 单号=?")
                              .arg(m_d.lineWarehouseColumn, price, extra, in, m_d.lineTable)
                              + lineOrder(),
                          {number});
    while (q.next()) {
        BillLine line;
        line.row = q.value(0).toInt();
        line.code = q.value(1).toString();
        line.unit = q.value(2).toString();
        line.quantity = q.value(3).toDouble();
        line.warehouse = q.value(4).toString();
        line.discount = q.value(5).toDouble();
        line.price = q.value(6).toDouble();
        line.amount = q.value(7).toDouble();
        line.name = q.value(8).toString();
        line.baseQuantity = q.value(9).toDouble();
        line.note = q.value(10).toString();
        line.costPrice = q.value(11).toDouble();
        line.warehouseIn = q.value(12).toString();
        out.append(line);
    }
    return out;
}

void BillStore::insertMaster(const Bill &b)
{
    const BillHeader &h = b.header;
    if (m_d.shape == Shape::StockTake) {
        m_s.execute(QStringLiteral("insert into 盘点主(单号,货位,备注,附加说明,操作员,审核标志,盘点时间,盘点日期,盘点数量,盘点金额,审核日期,审核时间) "
                                   "values(?,?,?,?,?,0,?,?,0,?,'','')"),
                    {h.number, h.place.trimmed(), h.remark.trimmed(), h.extra.trimmed(), h.operatorName, h.time, h.date, h.total});
        return;
    }
    if (isPurchase(m_d)) {
        QString cols = QStringLiteral("单号,发票号,货位,备注,供应商,公司名,摘要,账户,本次付款,发票号码,附加说明,数量合计,金额合计,审核标志,日期,时间,操作员");
        QVariantList v = {h.number, h.orderNumber.trimmed(), h.place.trimmed(), h.remark.trimmed(), h.partnerCode.trimmed(),
                          h.partnerName.trimmed(), h.summary.trimmed(), h.account.trimmed(), h.writeOff,
                          h.invoiceNumber.trimmed(), h.extra.trimmed(), 0.0, h.total, 0, h.date, h.time, h.operatorName};
        if (m_d.kind == BillKind::PurchaseOrder) {
            cols += QStringLiteral(",交货日期,完成标志");
            v << h.deliveryDate << (h.doneFlag.isEmpty() ? QStringLiteral("未完成") : h.doneFlag);
        }
        QStringList marks;
        for (int i = 0; i < v.size(); ++i)
            marks << QStringLiteral("?");
        m_s.execute(QStringLiteral("insert into %1(%2) values(%3)").arg(m_d.masterTable, cols, marks.join(QLatin1Char(','))), v);
        return;
    }
    QString cols = QStringLiteral("单号,发票号,货位,客户编码,客户名称,数量合计,金额合计,审核标志,日期,时间,操作员,业务员,帐户,本次收款,摘要,备注,预发生款");
    QVariantList v = {h.number, h.orderNumber.trimmed(), h.place.trimmed(), h.partnerCode.trimmed(), h.partnerName.trimmed(),
                      0.0, h.total, 0, h.date, h.time, h.operatorName, h.salesperson.trimmed(), h.account.trimmed(),
                      h.writeOff, h.summary.trimmed(), h.remark.trimmed(), 0.0};
    if (m_d.masterTable != QStringLiteral("归还主")) {
        cols += QStringLiteral(",发票号码");
        v << h.invoiceNumber.trimmed();
    }
    if (m_d.masterTable == QStringLiteral("销售主") || m_d.masterTable == QStringLiteral("客户订单主")) {
        cols += QStringLiteral(",结算标志");
        v << (h.settleFlag.isEmpty() ? QStringLiteral("未付清") : h.settleFlag);
    }
    if (m_d.kind == BillKind::CustomerOrder) {
        cols += QStringLiteral(",交货日期,完成标志");
        v << h.deliveryDate << (h.doneFlag.isEmpty() ? QStringLiteral("未完成") : h.doneFlag);
    }
    if (m_d.masterTable == QStringLiteral("其它出库主") || m_d.masterTable == QStringLiteral("库存调拨主")) {
        cols += QStringLiteral(",附加说明");
        v << h.extra.trimmed();
    }
    QStringList marks;
    for (int i = 0; i < v.size(); ++i)
        marks << QStringLiteral("?");
    m_s.execute(QStringLiteral("insert into %1(%2) values(%3)").arg(m_d.masterTable, cols, marks.join(QLatin1Char(','))), v);
}

void BillStore::insertLine(const Bill &b, const BillLine &line, int row)
{
    const QString seq = QString::number(row);
    if (m_d.shape == Shape::StockTake) {
        m_s.runCached(QStringLiteral("insert into 盘点子(序号,单号,编码,品名,单位,售价,个数,金额,盘存数量,帐面数量,帐面金额,规格,进价,备注) "
                                     "values(?,?,?,?,?,?,?,?,?,0,0,'',?,?)"),
                      {seq, b.header.number, line.code, line.name, line.unit, line.price, line.quantity, line.amount,
                       line.baseQuantity, line.costPrice, line.note});
        return;
    }
    if (isPurchase(m_d)) {
        QString extra;
        QVariantList v = {seq, b.header.number, line.code, QStringLiteral(" "), line.name, QString(QLatin1String("")),
                          line.quantity == 0 || line.baseQuantity == 0 ? line.price : line.price * line.quantity / line.baseQuantity,
                          line.warehouse, line.baseQuantity, line.amount, 0.0, line.unit, line.quantity, line.discount,
                          line.price, line.costPrice};
        if (m_d.kind == BillKind::PurchaseOrder) {
            extra = QStringLiteral(",完成数量,完成金额");
            v << 0.0 << 0.0;
        }
        QStringList marks;
        for (int i = 0; i < v.size(); ++i)
            marks << QStringLiteral("?");
        m_s.runCached(QStringLiteral("insert into %1(序号,单号,编码,条码,品名,单位,进价,%2,数量,金额,新进,大单位,件数量,进率,件进价,原进价%3) values(%4)")
                          .arg(m_d.lineTable, m_d.lineWarehouseColumn, extra, marks.join(QLatin1Char(','))),
                      v);
        return;
    }
    // Sales shape: the unit as typed, except that 件 is stored as 个.
    const QString unit = line.unit == QStringLiteral("件") ? QStringLiteral("个") : line.unit;
    if (m_d.kind == BillKind::StockTransfer) {
        m_s.runCached(QStringLiteral("insert into 库存调拨子(序号,单号,编码,品名,单位,入库仓库,数量,金额,大单位,件数量,进率,件售价,原售价,出货仓库,备注,成本价,客户编码) "
                                     "values(?,?,?,?,?,?,?,?,?,?,?,?,0,?,?,?,?)"),
                      {seq, b.header.number, line.code, line.name, unit, line.warehouseIn, line.baseQuantity, line.amount,
                       line.unit, line.quantity, line.discount, line.price, line.warehouse, line.note, line.costPrice,
                       b.header.partnerCode});
        return;
    }
    m_s.runCached(QStringLiteral("insert into %1(序号,单号,编码,品名,单位,售价,数量,金额,大单位,件数量,进率,件售价,原售价,出货仓库,备注,成本价,客户编码) "
                                 "values(?,?,?,?,?,0,?,?,?,?,?,?,0,?,?,?,?)")
                      .arg(m_d.lineTable),
                  {seq, b.header.number, line.code, line.name, unit, line.baseQuantity, line.amount, line.unit, line.quantity,
                   line.discount, line.price, line.warehouse, line.note, line.costPrice, b.header.partnerCode});
}

BillStore::SaveResult BillStore::save(Bill &b, bool modify)
{
    // Run again after a lost race (the bill's number moves on): from the bill as it was given.
    const Bill original = b;
    return runCommand(m_s, [&] {
        b = original;
        return saveOnce(b, modify);
    });
}

BillStore::SaveResult BillStore::saveOnce(Bill &b, bool modify)
{
    BillHeader &h = b.header;
    if (m_d.partnerRequired && (h.partnerName.trimmed().isEmpty() || h.partnerCode.trimmed().isEmpty()))
        throw Error(m_d.partnerMissingText);
    if (m_d.shape == Shape::StockTake && h.place.trimmed().isEmpty())
        throw Error(QStringLiteral("请选择盘点仓库!"));
    if (!std::isfinite(h.writeOff) || h.writeOff < 0)
        throw Error(QStringLiteral("去零头金额不能小于0!"));

    SaveResult result;
    TransactionGuard tx(m_s);
    StockLedger ledger(m_s);

    // Which lines stay: those with the code of an active goods.
    QList<BillLine> kept;
    qint64 totalCents = 0;
    for (BillLine &line : b.lines) {
        if (line.code.trimmed().isEmpty() || line.code.trimmed() == QLatin1String("0"))
            continue;
        line.code = line.code.trimmed();
        QSqlQuery &activeQuery = m_s.runCached(QStringLiteral("select 1 from 商品 where 编码=? and (淘汰否 is null or 淘汰否<>'是')"), {line.code});
        const bool active = activeQuery.next();
        activeQuery.finish(); // a statement left on a row holds SQLite's read snapshot past the commit
        if (!active) {
            ++result.dropped;
            continue;
        }
        if (!std::isfinite(line.quantity) || !std::isfinite(line.price) || !std::isfinite(line.discount))
            throw Error(QStringLiteral("第%1行的数字不正确!").arg(line.row));
        if (m_d.kind == BillKind::StockTransfer) {
            if (line.warehouse.trimmed().isEmpty() || line.warehouseIn.trimmed().isEmpty())
                throw Error(QStringLiteral("第%1行没有选择调出或调入仓库!").arg(line.row));
        } else if (m_d.shape == Shape::StockTake) {
            line.warehouse = h.place;
        }
        line.amount = lineAmount(line);
        totalCents += cents(line.amount);
        kept.append(line);
    }
    h.total = double(totalCents) / 100.0;
    if (cents(h.writeOff) > totalCents && !kept.isEmpty())
        throw Error(QStringLiteral("去零头金额不能大于单据总额!"));

    if (h.date.isEmpty())
        h.date = Clock::today();
    if (h.time.isEmpty() || m_d.kind == BillKind::SalesReturn)
        h.time = Clock::timeText(); // a return is stamped with the time it is saved
    if (m_d.kind == BillKind::SalesReturn && h.summary.trimmed() != QStringLiteral("废品处理"))
        h.summary = QStringLiteral("良品入库");
    if (m_d.kind == BillKind::SalesShipment)
        h.settleFlag = totalCents == cents(h.writeOff) ? QStringLiteral("已付清") : QStringLiteral("未付清");
    if (h.operatorName.isEmpty())
        h.operatorName = LoginIdentity::current().userName;

    if (modify) {
        logAction(m_s, kLogImportant, logText(m_d, QStringLiteral("修改"), h.number));
        const int removed = m_s.execute(QStringLiteral("delete from %1 where 单号=? and 审核标志=0").arg(m_d.masterTable), {h.number});
        if (removed == 0) {
            if (exists(h.number))
                throw Error(QStringLiteral("单据[%1]已经被审核，不能再修改!").arg(h.number));
            throw Error(QStringLiteral("单据[%1]已经被删除，不能再修改!").arg(h.number));
        }
        m_s.execute(QStringLiteral("delete from %1 where 单号=?").arg(m_d.lineTable), {h.number});
    } else {
        if (h.number.isEmpty() || exists(h.number)) {
            h.number = newNumber();
            result.renumbered = true;
        }
        logAction(m_s, kLogImportant, logText(m_d, QStringLiteral("新增"), h.number));
    }

    insertMaster(b);
    for (BillLine &line : kept) {
        const GoodsUnits goods = ledger.units(line.code);
        line.baseQuantity = StockLedger::baseQuantity(goods, line.unit, line.quantity);
        line.costPrice = goods.cost;
        if (line.name.isEmpty())
            line.name = m_s.scalar(QStringLiteral("select 品名 from 商品 where 编码=?"), {line.code}).toString();
        insertLine(b, line, line.row > 0 ? line.row : result.kept + 1);
        if (m_d.updatesCostPrice && line.price > 0) {
            const double factor = goods.factor(line.unit);
            const double basePrice = factor != 0 ? line.price / factor : line.price;
            m_s.runCached(QStringLiteral("update 商品 set 进价=? where 编码=?"), {basePrice, line.code});
        }
        if (m_d.kind == BillKind::SalesShipment && line.price > 0)
            rememberPrice(h.partnerCode.trimmed(), line, goods);
        ++result.kept;
    }
    if (kept.isEmpty()) {
        m_s.execute(QStringLiteral("delete from %1 where 单号=?").arg(m_d.masterTable), {h.number});
        result.discarded = true;
    }
    tx.commit();
    b.lines = kept;
    result.number = h.number;
    return result;
}

void BillStore::rememberPrice(const QString &customerCode, const BillLine &line, const GoodsUnits &goods)
{
    // The customer's last price for the goods, per base unit and before the discount.
    const double factor = goods.factor(line.unit);
    const double basePrice = factor != 0 ? line.price / factor : line.price;
    if (m_s.runCached(QStringLiteral("update 客户售价 set 最近售价=? where 客户编码=? and 商品编码=?"), {basePrice, customerCode, line.code})
            .numRowsAffected()
        > 0)
        return;
    m_s.runCached(QStringLiteral("insert into 客户售价(商品编码,客户编码,最近售价) values(?,?,?)"), {line.code, customerCode, basePrice});
}

int BillStore::stockShortage(const Bill &b, int index, QString *message)
{
    const QList<BillLine> &lines = b.lines;
    StockLedger ledger(m_s);
    auto check = [&](int i) {
        const BillLine &line = lines.at(i);
        const QString code = line.code.trimmed();
        const QString warehouse = line.warehouse.trimmed();
        if (code.isEmpty() || code == QLatin1String("0"))
            return true;
        const GoodsUnits goods = ledger.units(code);
        if (!goods.exists)
            return true;
        // What the bill takes of this goods from this warehouse, over all its lines.
        double wanted = 0;
        for (const BillLine &other : lines)
            if (other.code.trimmed() == code && other.warehouse.trimmed() == warehouse)
                wanted += StockLedger::baseQuantity(goods, other.unit, other.quantity);
        // A missing stock table or row holds nothing.
        double stock = 0;
        if (checkWarehouseTableName(warehouse).isEmpty() && m_s.hasTable(warehouse)) {
            QSqlQuery &q = m_s.runCached(QStringLiteral("select 数量 from %1 where 编码=?").arg(m_s.quoteName(warehouse)), {code});
            if (q.next())
                stock = q.value(0).toDouble();
            q.finish();
        }
        if (wanted <= stock + 1e-9)
            return true;
        if (message)
            *message = QStringLiteral("警告:[") + warehouse + QStringLiteral("]的") + code
                + QStringLiteral("商品库存已经不够你现在要出货的数量了,现在库存为：") + numberText(stock) + goods.baseUnit();
        return false;
    };
    if (index >= 0)
        return index < lines.size() && !check(index) ? index : -1;
    for (int i = 0; i < lines.size(); ++i)
        if (!check(i))
            return i;
    return -1;
}

void BillStore::remove(const QString &number)
{
    runCommand(m_s, [&] { removeOnce(number); });
}

void BillStore::removeOnce(const QString &number)
{
    TransactionGuard tx(m_s);
    logAction(m_s, kLogImportant, logText(m_d, QStringLiteral("删除"), number));
    const int removed = m_s.execute(QStringLiteral("delete from %1 where 单号=? and 审核标志=0").arg(m_d.masterTable), {number});
    if (removed == 0) {
        if (exists(number))
            throw Error(QStringLiteral("单据[%1]已经被审核，不能删除!").arg(number));
        throw Error(QStringLiteral("单据[%1]不存在!").arg(number));
    }
    m_s.execute(QStringLiteral("delete from %1 where 单号=?").arg(m_d.lineTable), {number});
    tx.commit();
}

void BillStore::closeOrder(const Bill &b, bool audit)
{
    if (m_d.orderMasterTable.isEmpty() || b.header.orderNumber.trimmed().isEmpty())
        return;
    if (audit)
        m_s.execute(QStringLiteral("update %1 set 审核标志=1,完成标志='已完成',日期=? where 单号=?").arg(m_d.orderMasterTable),
                    {Clock::today(), b.header.orderNumber.trimmed()});
    else
        m_s.execute(QStringLiteral("update %1 set 审核标志=0,完成标志='未完成' where 单号=?").arg(m_d.orderMasterTable),
                    {b.header.orderNumber.trimmed()});
}

void BillStore::post(const Bill &b, int direction)
{
    if (m_d.posting == Posting::None)
        return;
    StockLedger ledger(m_s);
    // Read what the postings need in a few statements instead of one per line.
    QStringList codes;
    QHash<QString, QStringList> byWarehouse;
    for (const BillLine &line : b.lines) {
        codes << line.code;
        if (m_d.posting == Posting::Inbound || m_d.posting == Posting::Outbound) {
            byWarehouse[line.warehouse] << line.code;
        } else if (m_d.posting == Posting::Transfer) {
            byWarehouse[line.warehouse] << line.code;
            byWarehouse[line.warehouseIn] << line.code;
        }
    }
    ledger.preloadGoods(codes);
    // Warehouses in name order, then the totals: the same order on every workstation. Only names
    // that can be stock tables: a line may name any table ("商品") in its warehouse cell.
    QStringList warehouses = byWarehouse.keys();
    warehouses.sort();
    for (const QString &w : warehouses)
        if (checkWarehouseTableName(w).isEmpty() && m_s.hasTable(w))
            ledger.preloadStock(w, byWarehouse.value(w));
    if (m_d.totalsFollow) {
        ledger.preloadStock(QStringLiteral("库存"), codes);
        ledger.preloadStock(QStringLiteral("库存2"), codes);
    }
    switch (m_d.posting) {
    case Posting::None:
        return;
    case Posting::Inbound:
    case Posting::Outbound: {
        const int sign = (m_d.posting == Posting::Inbound ? 1 : -1) * direction;
        for (const BillLine &line : b.lines) {
            const GoodsUnits goods = ledger.units(line.code);
            if (!goods.exists)
                throw Error(QStringLiteral("第%1行的商品[%2]已经被删除，不能过账!").arg(line.row).arg(line.code));
            const double amount = m_d.amount == AmountKind::LineAmount
                ? line.amount
                : (line.baseQuantity == 0 ? 0 : line.baseQuantity * goods.cost);
            ledger.postLine(line.warehouse, line.code, line.baseQuantity, amount, sign, m_d.totalsFollow, m_d.warningWord);
        }
        return;
    }
    case Posting::StockTake: {
        if (direction > 0)
            for (const BillLine &line : b.lines)
                ledger.zeroWarehouseRow(b.header.place, line.code);
        for (const BillLine &line : b.lines) {
            const GoodsUnits goods = ledger.units(line.code);
            if (!goods.exists)
                throw Error(QStringLiteral("第%1行的商品[%2]已经被删除，不能过账!").arg(line.row).arg(line.code));
            const double amount = line.baseQuantity == 0 ? 0 : line.baseQuantity * goods.cost;
            ledger.postLine(b.header.place, line.code, line.baseQuantity, amount, direction, false, QString());
        }
        for (const BillLine &line : b.lines)
            ledger.rebuildTotal(line.code);
        return;
    }
    case Posting::Transfer:
        for (const BillLine &line : b.lines) {
            if (line.warehouse.trimmed().isEmpty() || line.warehouse.trimmed() == QLatin1String("0"))
                continue;
            const GoodsUnits goods = ledger.units(line.code);
            if (!goods.exists)
                throw Error(QStringLiteral("第%1行的商品[%2]已经被删除，不能过账!").arg(line.row).arg(line.code));
            const double amount = line.baseQuantity == 0 ? 0 : line.baseQuantity * goods.cost;
            ledger.postLine(line.warehouse, line.code, line.baseQuantity, amount, -direction, false, m_d.warningWord);
            ledger.postLine(line.warehouseIn, line.code, line.baseQuantity, amount, direction, false, m_d.warningWord);
        }
        return;
    }
}

QString BillStore::moneyStep(const Bill &b)
{
    const QString done = QStringLiteral("应付款已生成!审核成功.");
    const QString zero = QStringLiteral("金额为零,无付收款生成!审核成功.");
    switch (m_d.money) {
    case MoneyStep::None:
        return QStringLiteral("审核成功!");
    case MoneyStep::Payable:
    case MoneyStep::NegativePayable: {
        const double total = b.header.total;
        if (total <= 0)
            return zero;
        if (m_s.exists(QStringLiteral("select 1 from 采购应付款表 where 处理单据=?"), {b.header.number}))
            return done;
        const double sign = m_d.money == MoneyStep::Payable ? 1 : -1;
        const QString today = Clock::today();
        m_s.execute(QStringLiteral("insert into 采购应付款表(订单号,处理单据,供应商,应付款编码,发生日期,付款日期,应付金额,去零头,已付金额,还欠进货款,录入日期,付清状态,发票号) "
                                   "values(?,?,?,?,?,?,?,?,0,?,?,'未付清',?)"),
                    {b.header.orderNumber.trimmed(), b.header.number, b.header.partnerName.trimmed(),
                     MakeFreeBillNo(m_s, QStringLiteral("YF"), QStringLiteral("采购应付款表"), QStringLiteral("应付款编码")), today,
                     today, sign * total, sign * b.header.writeOff, sign * roundMoney(total - b.header.writeOff), today,
                     b.header.invoiceNumber.trimmed()});
        return done;
    }
    case MoneyStep::Receivable:
    case MoneyStep::NegativeReceivable: {
        const double total = b.header.total;
        if (cents(total) <= 0)
            return QStringLiteral("金额为零,无应收款生成!审核成功.");
        const QString made = QStringLiteral("应收款已生成!审核成功.");
        if (m_s.exists(QStringLiteral("select 1 from 销售应收款表 where 处理单据=?"), {b.header.number}))
            return made;
        // A return leaves a negative row: it lowers what the customer owes.
        const double sign = m_d.money == MoneyStep::Receivable ? 1 : -1;
        const QString today = Clock::today();
        m_s.execute(QStringLiteral("insert into 销售应收款表(订单号,处理单据,客户名称,应收款编码,发生日期,收款日期,应收款,去零头,已收款,欠款,录入日期,付清状态,发票号) "
                                   "values(?,?,?,?,?,?,?,?,0,?,?,'未付清',?)"),
                    {b.header.orderNumber.trimmed(), b.header.number, b.header.partnerName.trimmed(),
                     MakeFreeBillNo(m_s, QStringLiteral("YS"), QStringLiteral("销售应收款表"), QStringLiteral("应收款编码")), today,
                     today, sign * total, sign * b.header.writeOff, sign * roundMoney(total - b.header.writeOff), today,
                     b.header.invoiceNumber.trimmed()});
        return made;
    }
    default:
        throw Error(QStringLiteral("此类单据的审核尚未开放"));
    }
}

void BillStore::moneyGuard(const Bill &b)
{
    if (m_d.money == MoneyStep::Receivable || m_d.money == MoneyStep::NegativeReceivable) {
        const QString refusal = QStringLiteral("对不起,此单据已经有对应的收款业务发生,不能反审单据,如果你一定要反审,\n请您先将此单据对应的收款单据删除后再反审!");
        if (m_s.exists(QStringLiteral("select 1 from 销售收款表 where 处理单号=?"), {b.header.number}))
            throw Error(refusal);
        // A receivable settled by an offset or a credit has no collection row but is no longer open.
        if (m_s.exists(QStringLiteral("select 1 from 销售应收款表 where 处理单据=? and (已收款<>0 or 付清状态 is null or 付清状态<>'未付清')"),
                       {b.header.number}))
            throw Error(refusal);
        return;
    }
    if (m_d.money != MoneyStep::Payable && m_d.money != MoneyStep::NegativePayable)
        return;
    const QString refusal = QStringLiteral("对不起,此单据已经有对应的付款业务发生,不能反审单据,如果你一定要反审,\n 请您先将此单据对应的付款单据删除后再反审!");
    if (m_s.exists(QStringLiteral("select 1 from 采购付款表 where 处理单据=?"), {b.header.number}))
        throw Error(refusal);
    // A payable settled by an offset or a credit has no payment row but is no longer open.
    if (m_s.exists(QStringLiteral("select 1 from 采购应付款表 where 处理单据=? and (已付金额<>0 or 付清状态 is null or 付清状态<>'未付清')"),
                   {b.header.number}))
        throw Error(refusal);
}

void BillStore::moneyReverse(const Bill &b)
{
    if (m_d.money == MoneyStep::Payable || m_d.money == MoneyStep::NegativePayable)
        m_s.execute(QStringLiteral("delete from 采购应付款表 where 处理单据=?"), {b.header.number});
    if (m_d.money == MoneyStep::Receivable || m_d.money == MoneyStep::NegativeReceivable)
        m_s.execute(QStringLiteral("delete from 销售应收款表 where 处理单据=?"), {b.header.number});
}

QString BillStore::audit(const QString &number)
{
    if (!hasRight(m_s, QStringLiteral("审核单据")))
        throw Error(kNoRightText);
    return runCommand(m_s, [&] { return auditOnce(number); });
}

QString BillStore::auditOnce(const QString &number)
{
    TransactionGuard tx(m_s);
    const QString flagSql = m_d.shape == Shape::StockTake
        ? QStringLiteral("update 盘点主 set 审核标志=1,审核日期=?,审核时间=? where 单号=? and 审核标志=0")
        : QStringLiteral("update %1 set 审核标志=1,日期=? where 单号=? and 审核标志=0").arg(m_d.masterTable);
    const QVariantList flagValues = m_d.shape == Shape::StockTake ? QVariantList{Clock::today(), Clock::timeText(), number}
                                                                  : QVariantList{Clock::today(), number};
    // The flag first: it locks the bill, so what is read next is what gets posted (a second
    // workstation cannot change or audit it in between).
    if (m_s.execute(flagSql, flagValues) == 0) {
        if (!exists(number))
            throw Error(QStringLiteral("单据[%1]不存在!").arg(number));
        throw Error(QStringLiteral("单据[%1]已经审核过了，不能重复审核!").arg(number));
    }
    // Stock-take lines come back through load(); the counted warehouse is the header's.
    const Bill b = load(number);
    if (b.lines.isEmpty())
        throw Error(QStringLiteral("没有记录可审核!"));
    logAction(m_s, kLogImportant, logText(m_d, QStringLiteral("审核"), number));
    closeOrder(b, true);
    post(b, 1);
    const QString message = moneyStep(b);
    tx.commit();
    return message;
}

void BillStore::checkUnaudit(const QString &number)
{
    if (!hasRight(m_s, QStringLiteral("反审单据")))
        throw Error(kNoRightText);
    const Bill b = load(number);
    if (b.header.audited != 1)
        throw Error(QStringLiteral("单据[%1]还没有审核，不能反审核!").arg(number));
    moneyGuard(b);
}

void BillStore::unaudit(const QString &number)
{
    if (!hasRight(m_s, QStringLiteral("反审单据")))
        throw Error(kNoRightText);
    runCommand(m_s, [&] { unauditOnce(number); });
}

void BillStore::unauditOnce(const QString &number)
{
    TransactionGuard tx(m_s);
    if (m_s.execute(QStringLiteral("update %1 set 审核标志=0 where 单号=? and 审核标志=1").arg(m_d.masterTable), {number}) == 0) {
        if (!exists(number))
            throw Error(QStringLiteral("单据[%1]不存在!").arg(number));
        throw Error(QStringLiteral("单据[%1]还没有审核，不能反审核!").arg(number));
    }
    const Bill b = load(number);
    moneyGuard(b);
    logAction(m_s, kLogImportant, logText(m_d, QStringLiteral("反审核"), number));
    moneyReverse(b);
    closeOrder(b, false);
    post(b, -1);
    tx.commit();
}

} // namespace tavomi::docs
