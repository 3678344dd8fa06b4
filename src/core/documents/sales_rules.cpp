#include "documents/sales_rules.h"

#include "common/session.h"

#include <QHash>

namespace tavomi::docs {

QString priceColumnForClass(const QString &priceClass)
{
    static const QHash<QString, QString> columns = [] {
        QHash<QString, QString> m;
        for (const char *same : {"批价", "售价", "进价", "价格一", "价格二", "价格三", "价格四", "价格五"})
            m.insert(QString::fromUtf8(same), QString::fromUtf8(same));
        const char *const spelled[] = {"价格六", "价格七", "价格八", "价格九", "价格十"};
        for (int i = 6; i <= 10; ++i)
            m.insert(QStringLiteral("价格") + QString::number(i), QString::fromUtf8(spelled[i - 6]));
        for (int i = 11; i <= 20; ++i)
            m.insert(QStringLiteral("价格") + QString::number(i), QStringLiteral("价格") + QString::number(i));
        return m;
    }();
    return columns.value(priceClass.trimmed());
}

std::optional<double> salesPrice(Session &s, const QString &goodsCode, const QString &customerCode, const QString &priceClass,
                                 bool useMemory)
{
    const QString code = goodsCode.trimmed();
    const QString customer = customerCode.trimmed();
    const QString column = priceColumnForClass(priceClass);
    // One read of the goods: whether it is active, its 售价 and the price-class column.
    QSqlQuery &g = s.runCached(QStringLiteral("select 售价,%1 from 商品 where 编码=? and (淘汰否 is null or 淘汰否<>'是')")
                                  .arg(column.isEmpty() ? QStringLiteral("售价") : column),
                              {code});
    // Each cached read is finished once read: a statement left on a row keeps SQLite's read
    // snapshot open, and the write-ahead log can then never start over (it grows without end).
    if (!g.next()) {
        g.finish();
        return std::nullopt;
    }
    const double retail = g.value(0).toDouble();
    const double classPrice = g.value(1).toDouble();
    g.finish();
    if (customer.isEmpty())
        return retail;
    if (useMemory) {
        QSqlQuery &m = s.runCached(QStringLiteral("select 最近售价 from 客户售价 where 客户编码=? and 商品编码=?"), {customer, code});
        const std::optional<double> remembered = m.next() ? std::optional<double>(m.value(0).toDouble()) : std::nullopt;
        m.finish();
        if (remembered)
            return remembered;
    }
    if (column.isEmpty())
        return std::nullopt;
    return classPrice;
}

double customerDebt(Session &s, const QString &customerName)
{
    return s.scalar(QStringLiteral("select coalesce(sum(欠款),0) from 销售应收款表 where 客户名称=?"), {customerName.trimmed()}).toDouble();
}

} // namespace tavomi::docs
