// Engine benchmarks. Run: build/bench/bench_core
#include "common/helpers.h"
#include "common/schema.h"
#include "common/session.h"
#include "common/text_utils.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

using namespace tavomi;

static void BM_MoneyToCapitals(benchmark::State &state)
{
    double v = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(MoneyToCapitals(123456789.12 + v));
        v += 0.01;
    }
}
BENCHMARK(BM_MoneyToCapitals);

// Opening a new company database: every table, index and seed row.
static void BM_CreateSchema(benchmark::State &state)
{
    int n = 0;
    for (auto _ : state) {
        QTemporaryDir dir;
        Session s(QStringLiteral("bench") + QString::number(++n));
        ConnectionSettings cs;
        cs.sqliteFile = QDir(dir.path()).filePath(QStringLiteral("REZE.db"));
        s.open(cs);
        schema::ensure(s);
    }
}
BENCHMARK(BM_CreateSchema)->Unit(benchmark::kMillisecond);

// Looking up goods by shorthand code in a catalogue of 100,000 goods.
static void BM_SearchGoods(benchmark::State &state)
{
    QTemporaryDir dir;
    Session s(QStringLiteral("bench-search"));
    ConnectionSettings cs;
    cs.sqliteFile = QDir(dir.path()).filePath(QStringLiteral("REZE.db"));
    s.open(cs);
    schema::ensure(s);
    s.begin();
    for (int i = 0; i < 100000; ++i)
        s.execute(QStringLiteral("insert into 商品(编码,条码,品名,淘汰否) values(?,?,?,'否')"),
                  {QStringLiteral("B%1").arg(i, 6, 10, QLatin1Char('0')), QStringLiteral("SP%1").arg(i),
                   QStringLiteral("商品%1").arg(i)});
    s.commit();
    int i = 0;
    for (auto _ : state) {
        QSqlQuery q = SearchGoods(s, QStringLiteral("SP%1").arg((i++ * 7919) % 100000));
        int rows = 0;
        while (q.next())
            ++rows;
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_SearchGoods)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
