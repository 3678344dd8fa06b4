// Bill engine benchmarks on SQLite: a 2,000-line purchase receipt in a company with
// 100,000 goods and 20 warehouses. Run: build/bench/bench_documents
#include "common/clock.h"
#include "common/helpers.h"
#include "common/identity.h"
#include "common/permissions.h"
#include "common/schema.h"
#include "common/session.h"
#include "documents/bill_store.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

using namespace tavomi;
using namespace tavomi::docs;

namespace {

constexpr int kGoods = 100000;
constexpr int kWarehouses = 20;
constexpr int kLines = 2000;

struct Company
{
    QTemporaryDir dir;
    Session session{QStringLiteral("bench-documents")};

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
        session.execute(QStringLiteral("insert into 供应商(编码,公司名) values('GYS','供应商甲')"));
        for (int i = 0; i < kGoods; ++i) {
            const QString code = QStringLiteral("B%1").arg(i, 6, 10, QLatin1Char('0'));
            session.runCached(QStringLiteral("insert into 商品(编码,条码,品名,单位,进价,大包装,小包装,柜组,换算数,淘汰否) "
                                             "values(?,?,?,'瓶*24',1.5,'件',24,'1件*24瓶','件瓶','否')"),
                              {code, code, QStringLiteral("商品%1").arg(i)});
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

    Bill receipt() const
    {
        Bill b;
        b.header.partnerCode = QStringLiteral("GYS");
        b.header.partnerName = QStringLiteral("供应商甲");
        for (int i = 0; i < kLines; ++i) {
            BillLine l;
            l.row = i + 1;
            l.code = QStringLiteral("B%1").arg((i * 37) % kGoods, 6, 10, QLatin1Char('0'));
            l.unit = i % 2 ? QStringLiteral("件") : QStringLiteral("瓶");
            l.quantity = 1 + i % 5;
            l.price = 2.5;
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

void BM_SaveReceipt(benchmark::State &state)
{
    Company &c = company();
    BillStore store(c.session, BillKind::PurchaseReceipt);
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
    BillStore store(c.session, BillKind::PurchaseReceipt);
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
    BillStore store(c.session, BillKind::PurchaseReceipt);
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
        c.session.begin();
        for (const BillLine &l : b.lines) {
            for (const QString &t : {c.session.quoteName(l.warehouse), QStringLiteral("库存"), QStringLiteral("库存2")})
                c.session.runCached(QStringLiteral("update %1 set 数量=数量+? where 编码=?").arg(t), {l.quantity, l.code});
        }
        c.session.commit();
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
