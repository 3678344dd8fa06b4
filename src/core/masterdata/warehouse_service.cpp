#include "masterdata/warehouse_service.h"

#include "common/error.h"
#include "common/helpers.h"
#include "common/permissions.h"
#include "common/session.h"
#include "masterdata/field_error.h"

namespace tavomi {

namespace {

// Bill tables whose unaudited rows name a warehouse: the master, its line table, and the
// columns of the line (or master) that hold a warehouse name.
struct WarehouseUse
{
    const char *master;
    const char *line;       // nullptr: the master names the warehouse itself
    const char *columns;    // comma separated
};

constexpr WarehouseUse kUses[] = {
    {"进货主", "进货子", "入库仓库"},
    {"采购订单主", "采购订单子", "入库仓库"},
    {"退货主", "退货子", "退货仓库"},
    {"其它入库主", "其它入库子", "入库仓库"},
    {"销售主", "销售子", "出货仓库"},
    {"客户订单主", "客户订单子", "出货仓库"},
    {"销售退货主", "销售退货子", "出货仓库"},
    {"其它出库主", "其它出库子", "出货仓库"},
    {"库存调拨主", "库存调拨子", "出货仓库,入库仓库"},
    {"归还主", "归还子", "出货仓库"},
    {"盘点主", nullptr, "货位"},
};

bool usedByUnauditedBill(Session &session, const QString &name)
{
    for (const WarehouseUse &u : kUses) {
        const QString master = QString::fromUtf8(u.master);
        const QStringList columns = QString::fromUtf8(u.columns).split(QLatin1Char(','));
        QStringList named;
        QVariantList values;
        const QString alias = u.line ? QStringLiteral("l.") : QStringLiteral("m.");
        for (const QString &c : columns) {
            named << alias + c + QStringLiteral("=?");
            values << name;
        }
        QString sql;
        if (u.line)
            sql = QStringLiteral("select 1 from %1 l inner join %2 m on m.单号=l.单号 where ")
                      .arg(QString::fromUtf8(u.line), master);
        else
            sql = QStringLiteral("select 1 from %1 m where ").arg(master);
        sql += QStringLiteral("(m.审核标志 is null or m.审核标志=0) and (") + named.join(QStringLiteral(" or ")) + QLatin1Char(')');
        if (session.exists(sql, values))
            return true;
    }
    return false;
}

QString nameOf(const MasterRow &row)
{
    return warehouseTable().value(row, QStringLiteral("货位名称")).trimmed();
}

// A new warehouse gets its stock table, one zero row for every goods of 库存.
void createStockTable(Session &session, const MasterRow &row)
{
    const QString name = nameOf(row);
    if (!warehouseNameProblem(session, name).isEmpty())
        throw FieldError(kWarehouseNameRefused, QStringLiteral("货位名称"));
    MaintainStockTable(session, StockTableAction::Create, name);
    MaintainStockTable(session, StockTableAction::Seed, name);
}

void refuseDelete(Session &session, const MasterRow &row)
{
    const QString refusal = warehouseDeleteRefusal(session, nameOf(row));
    if (!refusal.isEmpty())
        throw Error(refusal);
}

void dropStockTable(Session &session, const MasterRow &row)
{
    const QString name = nameOf(row);
    // Another warehouse row may still carry the same name (two codes, one name): keep its table then.
    if (session.exists(QStringLiteral("select 1 from 货位 where 货位名称=?"), {name}))
        return;
    if (checkWarehouseTableName(name).isEmpty() && session.hasTable(name))
        MaintainStockTable(session, StockTableAction::Drop, name);
}

MasterTableDef buildDef()
{
    MasterTableDef d;
    d.table = QStringLiteral("货位");
    d.columns = {{QStringLiteral("货位编码"), true},
                 {QStringLiteral("货位名称"), true},
                 {QStringLiteral("货位性质"), false},
                 {QStringLiteral("管理人员"), false},
                 {QStringLiteral("备注"), false}};
    d.keyColumns = {QStringLiteral("货位编码"), QStringLiteral("货位名称")};
    d.listOrder = QStringLiteral("货位编码 asc");
    d.writeRight = QStringLiteral("仓库货位增加");
    d.nameColumn = QStringLiteral("货位名称");
    d.beforeInsert = createStockTable;
    d.beforeDelete = refuseDelete;
    d.afterDelete = dropStockTable;
    return d;
}

} // namespace

const MasterTableDef &warehouseTable()
{
    static const MasterTableDef def = buildDef();
    return def;
}

QString warehouseNameProblem(Session &session, const QString &name)
{
    const QString problem = checkWarehouseTableName(name);
    if (!problem.isEmpty())
        return problem;
    // SQLite compares table names without regard to ASCII case; refuse such near-twins everywhere.
    for (const QString &t : session.tables())
        if (t.compare(name, Qt::CaseInsensitive) == 0)
            return QStringLiteral("已经有一个名为“%1”的数据表").arg(name);
    for (const QString &w : warehouseNames(session))
        if (w.compare(name, Qt::CaseInsensitive) == 0)
            return QStringLiteral("已经有一个名为“%1”的仓库").arg(name);
    return QString();
}

QString warehouseDeleteRefusal(Session &session, const QString &name)
{
    if (checkWarehouseTableName(name).isEmpty() && session.hasTable(name)
        && session.exists(QStringLiteral("select 1 from %1 where 数量<>0").arg(session.quoteName(name))))
        return QStringLiteral("仓库[%1]中还有库存数量不为零的商品,不能删除此仓库!").arg(name);
    if (usedByUnauditedBill(session, name))
        return QStringLiteral("还有未审核的单据使用仓库[%1],请先审核或删除这些单据,再删除此仓库!").arg(name);
    return QString();
}

QStringList warehouseNames(Session &session)
{
    QStringList out;
    QSqlQuery q = session.run(QStringLiteral("select 货位名称 from 货位 order by 货位编码"));
    while (q.next())
        out << q.value(0).toString();
    return out;
}

} // namespace tavomi
