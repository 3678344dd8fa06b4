#include "ui/documents/bill_print.h"

#include "common/session.h"

#include <QHash>

namespace tavomi {

report::ReportData billPrintData(const docs::BillDescriptor &d, const QString &number)
{
    const bool purchase = d.shape == docs::Shape::Purchase;
    const QString partnerTable = purchase ? QStringLiteral("供应商") : QStringLiteral("客户");
    const QString partnerCode = purchase ? QStringLiteral("供应商") : QStringLiteral("客户编码");
    const QString partnerName = purchase ? QStringLiteral("公司名") : QStringLiteral("客户名称");
    // Bill and partner columns by name; every other printed column is the line's.
    const QHash<QString, QString> qualified = {
        {QStringLiteral("公司名"), QStringLiteral("p.公司名")}, {QStringLiteral("电话一"), QStringLiteral("p.电话一")},
        {QStringLiteral("单号"), QStringLiteral("m.单号")},     {QStringLiteral("金额合计"), QStringLiteral("m.金额合计")},
        {QStringLiteral("操作员"), QStringLiteral("m.操作员")}, {QStringLiteral("日期"), QStringLiteral("m.日期")},
        {QStringLiteral("帐户"), QStringLiteral("m.帐户")},     {QStringLiteral("主备注"), QStringLiteral("m.备注")},
    };
    QStringList select;
    for (const QString &c : d.printColumns)
        select << qualified.value(c, QStringLiteral("l.") + c);

    Session &s = Session::current();
    report::ReportData data;
    data.title = d.printTitle;
    report::DataSet lines{QStringLiteral("lines"), d.printColumns, {}};
    QSqlQuery q = s.run(QStringLiteral("select %1 from %2 m join %3 l on l.单号=m.单号 left join %4 p on p.编码=m.%5 "
                                       "where m.单号=? order by cast(l.序号 as integer)")
                            .arg(select.join(QLatin1Char(',')), d.masterTable, d.lineTable, partnerTable, partnerCode),
                        {number});
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i < d.printColumns.size(); ++i)
            row << q.value(i);
        lines.rows.append(row);
    }
    data.sets.append(lines);

    report::DataSet company{QStringLiteral("company"),
                            {QStringLiteral("公司名"), QStringLiteral("销售电话"), QStringLiteral("传真"), QStringLiteral("地址")},
                            {}};
    QSqlQuery c = s.run(QStringLiteral("select 公司名,销售电话,传真,地址 from 报表参数"));
    while (c.next())
        company.rows.append({c.value(0), c.value(1), c.value(2), c.value(3)});
    data.sets.append(company);

    const QString name = s.scalar(QStringLiteral("select %1 from %2 where 单号=?").arg(partnerName, d.masterTable), {number}).toString();
    data.values.insert(QStringLiteral("getchm"), name);
    data.functions.insert(QStringLiteral("getchm"), [name](const QStringList &) { return name; });
    // gettxm(品名): the goods' 备注 (its barcode text), empty when there is none.
    data.functions.insert(QStringLiteral("gettxm"), [](const QStringList &args) {
        if (args.isEmpty() || !Session::hasCurrent())
            return QString();
        return Session::current().scalar(QStringLiteral("select 备注 from 商品 where 品名=?"), {args.first()}).toString();
    });
    // getsjm(品名): the goods' 条码 (its shorthand code).
    data.functions.insert(QStringLiteral("getsjm"), [](const QStringList &args) {
        if (args.isEmpty() || !Session::hasCurrent())
            return QString();
        return Session::current().scalar(QStringLiteral("select 条码 from 商品 where 品名=?"), {args.first()}).toString();
    });
    return data;
}

} // namespace tavomi
