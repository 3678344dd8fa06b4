// Sales bill benchmarks on SQLite: a company with 100,000 goods, 5,000 customers (each goods with a
// remembered price for one customer) and 20 warehouses. Filling a line (goods read and the price
// choice), and save and audit of a 500-line shipment. Run: build/bench/bench_sales
#include "common/clock.h"
#include "common/helpers.h"
#include "common/identity.h"
#include "common/permissions.h"
#include "common/schema.h"
#include "common/session.h"
#include "documents/bill_store.h"
#include "documents/sales_rules.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

using namespace tavomi;
using namespace tavomi::docs;

namespace {

constexpr int kGoods = 100000;
constexpr int kCustomers = 5000;
constexpr int kWarehouses = 20;
constexpr int kLines = 500;

QString goodsCode(int i)
{
    return QStringLiteral("B%1").arg(i % kGoods, 6, 10, QLatin1Char('0'));
}

QString customerCode(int i)
{
    return QStringLiteral("KH%1").arg(i % kCustomers, 5, 10, QLatin1Char('0'));
}

struct Company
{
    QTemporaryDir dir;
    Session session{QStringLiteral("bench-sales")};

    Company()
    {
        ConnectionSettings cs;
        cs.sqliteFile = QDir(dir.path()).filePath(QStringLiteral("REZE.db"));
        session.open(cs);
        schema::ensure(session);
        Session::setCurrent(&session);
        LoginIdentity::current().workNumber = kAdminWorkNumber;
        LoginIdentity::current().userName = QStringLiteral("系统管理员");
        session.begin();
        const QStringList classes = {QStringLiteral("批价"), QStringLiteral("售价"), QStringLiteral("价格6"), QStringLiteral("价格12")};
        for (int c = 0; c < kCustomers; ++c)
            session.runCached(QStringLiteral("insert into 客户(编码,公司名,性质,结账方式) values(?,?,?,'现金')"),
                              {customerCode(c), QStringLiteral("客户%1").arg(c), classes.at(c % classes.size())});
        for (int i = 0; i < kGoods; ++i) {
            const QString code = goodsCode(i);
            session.runCached(QStringLiteral("insert into 商品(编码,条码,品名,单位,进价,批价,售价,价格六,价格12,大包装,小包装,柜组,换算数,淘汰否) "
                                             "values(?,?,?,'瓶*24',1.5,2,3,2.6,2.7,'件',24,'1件*24瓶','件瓶','否')"),
                              {code, code, QStringLiteral("商品%1").arg(i)});
            session.runCached(QStringLiteral("insert into 客户售价(商品编码,客户编码,最近售价) values(?,?,2.2)"), {code, customerCode(i * 7)});
            for (const char *t : {"库存", "库存2"})
                session.runCached(QStringLiteral("insert into %1(货位,编码,数量,金额,日期,标记,组合库存) values(?,?,0,0,'2026-01-01',0,'0')")
                                      .arg(QString::fromUtf8(t)),
                                  {QString::fromUtf8(t), code});
        }
        for (int w = 1; w <= kWarehouses; ++w) {
            const QString name = QStringLiteral("仓库%1").arg(w);
            session.execute(QStringLiteral("insert into 货位(货位编码,货位名称) values(?,?)"), {QString::number(w), name});
            MaintainStockTable(session, StockTableAction::Create, name);
            MaintainStockTable(session, StockTableAction::Seed, name);
        }
        session.commit();
    }

    Bill shipment() const
    {
        Bill b;
        b.header.partnerCode = customerCode(42);
        b.header.partnerName = QStringLiteral("客户42");
        for (int i = 0; i < kLines; ++i) {
            BillLine l;
            l.row = i + 1;
            l.code = goodsCode(i * 191);
            l.unit = i % 2 ? QStringLiteral("件") : QStringLiteral("瓶");
            l.quantity = 1 + i % 5;
            l.price = i % 2 ? 60 : 2.5;
            l.discount = 0.95;
            l.warehouse = QStringLiteral("仓库%1").arg(1 + i % kWarehouses);
            b.lines.append(l);
        }
        return b;
    }
};

Company &company()
{
    static Company c;
    return c;
}

// What filling a line reads: the goods by its exact code, then the price choice for the customer
// (the memory first, then the price class).
void BM_FillLine(benchmark::State &state)
{
    Company &c = company();
    int i = 0;
    for (auto _ : state) {
        const QString code = goodsCode(i * 7919);
        const QString customer = customerCode(i * 7);
        QSqlQuery &g = c.session.runCached(QStringLiteral("select 编码,条码,品名,单位,大包装,小包装,柜组,换算数,进价,批价,售价 from 商品 "
                                                          "where 编码=? and (淘汰否 is null or 淘汰否<>'是')"),
                                           {code});
        benchmark::DoNotOptimize(g.next());
        benchmark::DoNotOptimize(salesPrice(c.session, code, customer, QStringLiteral("价格6"), true));
        ++i;
    }
}
BENCHMARK(BM_FillLine)->Unit(benchmark::kMicrosecond);

void BM_SaveShipment(benchmark::State &state)
{
    Company &c = company();
    BillStore store(c.session, BillKind::SalesShipment);
    for (auto _ : state) {
        Bill b = c.shipment();
        const auto r = store.save(b, false);
        state.PauseTiming();
        store.remove(r.number);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SaveShipment)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_StockCheckShipment(benchmark::State &state)
{
    Company &c = company();
    BillStore store(c.session, BillKind::SalesShipment);
    const Bill b = c.shipment();
    for (auto _ : state) {
        QString message;
        benchmark::DoNotOptimize(store.stockShortage(b, -1, &message));
    }
}
BENCHMARK(BM_StockCheckShipment)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_AuditShipment(benchmark::State &state)
{
    Company &c = company();
    BillStore store(c.session, BillKind::SalesShipment);
    for (auto _ : state) {
        state.PauseTiming();
        Bill b = c.shipment();
        const QString number = store.save(b, false).number;
        state.ResumeTiming();
        store.audit(number);
        state.PauseTiming();
        store.unaudit(number);
        store.remove(number);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AuditShipment)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Clock::setFixed(QDateTime(QDate(2026, 3, 15), QTime(9, 30, 0)));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
