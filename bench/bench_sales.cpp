// Sales bill benchmarks on SQLite: a company with 100,000 goods, 5,000 customers (each goods with a
// remembered price for one customer) and 20 warehouses. Filling a line (goods read and the price
// choice), and save and audit of a 500-line shipment. Run: build/bench/bench_sales
#include "data/bench_company.h"

#include "common/clock.h"
#include "common/session.h"
#include "common/transaction.h"
#include "documents/bill_store.h"
#include "documents/sales_rules.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

using namespace tavomi;
using namespace tavomi::docs;

namespace {

constexpr int kLines = 500;

bench::Sizes salesSizes()
{
    bench::Sizes s;
    s.suppliers = 1;
    return s;
}

QString goodsCode(int i)
{
    return bench::goodsCode(salesSizes(), i % salesSizes().goods);
}

QString customerCode(int i)
{
    return bench::customerCode(i % salesSizes().customers);
}

// Each goods with a remembered price for one customer.
struct Company : bench::ScratchCompany
{
    Company()
        : ScratchCompany(QStringLiteral("bench-sales"), salesSizes(), true)
    {
        TransactionGuard tx(session());
        for (int i = 0; i < salesSizes().goods; ++i)
            session().runCached(QStringLiteral("insert into 客户售价(商品编码,客户编码,最近售价) values(?,?,2.2)"), {goodsCode(i), customerCode(i * 7)});
        tx.commit();
    }

    Bill shipment() const
    {
        Bill b;
        b.header.partnerCode = customerCode(42);
        b.header.partnerName = bench::customerName(42);
        for (int i = 0; i < kLines; ++i) {
            BillLine l;
            l.row = i + 1;
            l.code = goodsCode(i * 191);
            l.unit = i % 2 ? QStringLiteral("件") : QStringLiteral("瓶");
            l.quantity = 1 + i % 5;
            l.price = i % 2 ? 60 : 2.5;
            l.discount = 0.95;
            l.warehouse = bench::warehouseName(i % salesSizes().warehouses);
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
        QSqlQuery &g = c.session().runCached(QStringLiteral("select 编码,条码,品名,单位,大包装,小包装,柜组,换算数,进价,批价,售价 from 商品 "
                                                          "where 编码=? and (淘汰否 is null or 淘汰否<>'是')"),
                                           {code});
        benchmark::DoNotOptimize(g.next());
        benchmark::DoNotOptimize(salesPrice(c.session(), code, customer, QStringLiteral("价格6"), true));
        ++i;
    }
}
BENCHMARK(BM_FillLine)->Unit(benchmark::kMicrosecond);

void BM_SaveShipment(benchmark::State &state)
{
    Company &c = company();
    BillStore store(c.session(), BillKind::SalesShipment);
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
    BillStore store(c.session(), BillKind::SalesShipment);
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
    BillStore store(c.session(), BillKind::SalesShipment);
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
