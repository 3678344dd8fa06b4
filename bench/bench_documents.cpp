// Bill engine benchmarks on SQLite: a 2,000-line purchase receipt in a company with
// 100,000 goods and 20 warehouses. Run: build/bench/bench_documents
#include "data/bench_company.h"

#include "common/clock.h"
#include "common/session.h"
#include "documents/bill_store.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

using namespace tavomi;
using namespace tavomi::docs;

namespace {

constexpr int kLines = 2000;

struct Company : bench::ScratchCompany
{
    Company()
        : ScratchCompany(QStringLiteral("bench-documents"), receiptSizes(), false)
    {}

    static bench::Sizes receiptSizes()
    {
        bench::Sizes s;
        s.suppliers = 1;
        return s;
    }

    Bill receipt() const
    {
        Bill b;
        b.header.partnerCode = bench::supplierCode(0);
        b.header.partnerName = bench::supplierName(0);
        for (int i = 0; i < kLines; ++i) {
            BillLine l;
            l.row = i + 1;
            l.code = bench::goodsCode(receiptSizes(), (i * 37) % receiptSizes().goods);
            l.unit = i % 2 ? QStringLiteral("件") : QStringLiteral("瓶");
            l.quantity = 1 + i % 5;
            l.price = 2.5;
            l.warehouse = bench::warehouseName(i % receiptSizes().warehouses);
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

void BM_SaveReceipt(benchmark::State &state)
{
    Company &c = company();
    BillStore store(c.session(), BillKind::PurchaseReceipt);
    for (auto _ : state) {
        Bill b = c.receipt();
        const auto r = store.save(b, false);
        state.PauseTiming();
        store.remove(r.number);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SaveReceipt)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_AuditReceipt(benchmark::State &state)
{
    Company &c = company();
    BillStore store(c.session(), BillKind::PurchaseReceipt);
    for (auto _ : state) {
        state.PauseTiming();
        Bill b = c.receipt();
        const QString number = store.save(b, false).number;
        state.ResumeTiming();
        store.audit(number);
        state.PauseTiming();
        store.unaudit(number);
        store.remove(number);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AuditReceipt)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_UnauditReceipt(benchmark::State &state)
{
    Company &c = company();
    BillStore store(c.session(), BillKind::PurchaseReceipt);
    for (auto _ : state) {
        state.PauseTiming();
        Bill b = c.receipt();
        const QString number = store.save(b, false).number;
        store.audit(number);
        state.ResumeTiming();
        store.unaudit(number);
        state.PauseTiming();
        store.remove(number);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UnauditReceipt)->Unit(benchmark::kMillisecond)->Iterations(5);

// The floor: the bare relative updates an audit of the bill must make (three tables per line),
// prepared once, in one committed transaction.
void BM_FloorUpdates(benchmark::State &state)
{
    Company &c = company();
    const Bill b = c.receipt();
    for (auto _ : state) {
        c.session().begin();
        for (const BillLine &l : b.lines) {
            for (const QString &t : {c.session().quoteName(l.warehouse), QStringLiteral("库存"), QStringLiteral("库存2")})
                c.session().runCached(QStringLiteral("update %1 set 数量=数量+? where 编码=?").arg(t), {l.quantity, l.code});
        }
        c.session().commit();
    }
}
BENCHMARK(BM_FloorUpdates)->Unit(benchmark::kMillisecond)->Iterations(5);

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
