// Master-data benchmarks. Run: build/bench/bench_masterdata
#include "common/clock.h"
#include "common/schema.h"
#include "common/session.h"
#include "masterdata/goods_service.h"
#include "masterdata/shorthand.h"
#include "ui/masterdata/goods_list_model.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <memory>

using namespace tavomi;

namespace {

// A catalogue of 100,000 goods with their 库存 rows, built once.
struct Catalogue
{
    QTemporaryDir dir;
    std::unique_ptr<Session> session;

    Catalogue()
    {
        session = std::make_unique<Session>(QStringLiteral("bench-goods"));
        ConnectionSettings cs;
        cs.sqliteFile = QDir(dir.path()).filePath(QStringLiteral("REZE.db"));
        session->open(cs);
        schema::ensure(*session);
        session->begin();
        const QString today = Clock::today();
        for (int i = 0; i < 100000; ++i) {
            const QString code = QStringLiteral("B0100%1").arg(i, 6, 10, QLatin1Char('0'));
            session->execute(QStringLiteral("insert into 商品(编码,条码,品名,单位,进价,批价,售价,公司名,备注,淘汰否) "
                                            "values(?,?,?,'个',1,2,3,'供应商甲','','否')"),
                             {code, QStringLiteral("SP%1").arg(i), QStringLiteral("商品%1号").arg(i)});
            session->execute(QStringLiteral("insert into 库存(货位,编码,数量,金额,日期,标记,组合库存) values('库存',?,0,0,?,0,'0')"),
                             {code, today});
        }
        session->commit();
    }
};

Catalogue &catalogue()
{
    static Catalogue c;
    return c;
}

} // namespace

// Opening the goods list: the query, the count and the first screenful of rows.
static void BM_OpenGoodsList(benchmark::State &state)
{
    Session &s = *catalogue().session;
    for (auto _ : state) {
        GoodsListModel model;
        model.run(s, goodsAll());
        benchmark::DoNotOptimize(model.index(30, 2).data());
        benchmark::DoNotOptimize(model.total());
    }
}
BENCHMARK(BM_OpenGoodsList)->Unit(benchmark::kMillisecond);

// One search from the five boxes (name contains a text) over the whole catalogue.
static void BM_SearchGoodsList(benchmark::State &state)
{
    Session &s = *catalogue().session;
    GoodsSearch search;
    search.name = QStringLiteral("9999");
    for (auto _ : state) {
        GoodsListModel model;
        model.run(s, goodsSearch(s, search));
        benchmark::DoNotOptimize(model.total());
    }
}
BENCHMARK(BM_SearchGoodsList)->Unit(benchmark::kMillisecond);

static void BM_ShorthandCode(benchmark::State &state)
{
    const QString name = QStringLiteral("康师傅红烧牛肉面 120g*24袋");
    for (auto _ : state)
        benchmark::DoNotOptimize(ShorthandCode(name));
}
BENCHMARK(BM_ShorthandCode);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
