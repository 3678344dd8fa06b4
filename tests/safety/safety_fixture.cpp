#include "safety/safety_fixture.h"

#include "documents/bill_descriptor.h"
#include "maintenance/consistency.h"

#include <QDir>
#include <QHash>
#include <QSet>
#include <QSqlQuery>

namespace tavomi::test {

using namespace tavomi::docs;

void SafetyTest::SetUp()
{
    DbTest::SetUp();
    for (const QString &w : {QStringLiteral("一号仓"), QStringLiteral("二号仓"), QStringLiteral("三号仓")})
        addWarehouse(w);
    for (int i = 1; i <= 12; ++i)
        addGoods(QStringLiteral("G%1").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("商品%1").arg(i), 2 + i, 5 + i);
    addCustomer(QStringLiteral("KH01"), QStringLiteral("客户甲"));
    addSupplier(QStringLiteral("GY01"), QStringLiteral("供应商乙"));
}

QString SafetyTest::connectionFile()
{
    const QString file = QDir(folder()).filePath(QStringLiteral("connection.ini"));
    database().settings().saveTo(file);
    return file;
}

std::unique_ptr<QProcess> SafetyTest::startWorker(int seed, int commands)
{
    auto p = std::make_unique<QProcess>();
    p->setProcessChannelMode(QProcess::MergedChannels);
    p->start(QStringLiteral(TAVOMI_STRESS_WORKER), {connectionFile(), QString::number(seed), QString::number(commands)});
    return p;
}

QString SafetyTest::stockDifferences()
{
    // warehouse → goods → quantity the audited bills put there
    QHash<QString, QHash<QString, double>> expected;
    QSet<QString> seen; // the counter sale keeps its bills in the shipment's tables
    for (const BillDescriptor &d : allBills()) {
        if ((d.posting != Posting::Inbound && d.posting != Posting::Outbound) || d.lineWarehouseColumn.isEmpty()
            || seen.contains(d.lineTable))
            continue;
        seen.insert(d.lineTable);
        const double sign = d.posting == Posting::Inbound ? 1 : -1;
        QSqlQuery q = db().run(QStringLiteral("select l.%1,l.编码,sum(l.数量) from %2 l join %3 m on m.单号=l.单号 "
                                              "where m.审核标志=1 group by l.%1,l.编码")
                                   .arg(d.lineWarehouseColumn, d.lineTable, d.masterTable));
        while (q.next())
            expected[q.value(0).toString()][q.value(1).toString()] += sign * q.value(2).toDouble();
    }
    QStringList out;
    QSqlQuery w = db().run(QStringLiteral("select 货位名称 from 货位"));
    QStringList warehouses;
    while (w.next())
        warehouses << w.value(0).toString();
    for (const QString &name : warehouses) {
        QHash<QString, double> want = expected.value(name);
        QSqlQuery q = db().run(QStringLiteral("select 编码,数量 from %1").arg(db().quoteName(name)));
        while (q.next()) {
            const QString code = q.value(0).toString();
            const double have = q.value(1).toDouble();
            const double should = want.take(code);
            if (qRound64(have * 1000) != qRound64(should * 1000))
                out << QStringLiteral("%1 %2: %3, bills say %4").arg(name, code).arg(have).arg(should);
        }
        for (auto it = want.cbegin(); it != want.cend(); ++it)
            if (it.value() != 0)
                out << QStringLiteral("%1 %2: no row, bills say %3").arg(name, it.key()).arg(it.value());
    }
    return out.join(QLatin1Char('\n'));
}

QString SafetyTest::consistencyDifferences()
{
    const maintenance::ConsistencyReport report = maintenance::checkConsistency(db());
    QStringList out;
    for (const maintenance::Difference &d : report.differences)
        out << d.area + QStringLiteral(": ") + d.text;
    return out.join(QLatin1Char('\n'));
}

bool SafetyTest::longRun()
{
    return qEnvironmentVariableIntValue("TAVOMI_LONG_TESTS") != 0;
}

} // namespace tavomi::test
