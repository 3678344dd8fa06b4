// Printing a list of 100,000 rows to PDF, streamed page by page. Reports the pages and the
// process's peak memory. Run: build/bench/bench_report
#include "common/schema.h"
#include "common/session.h"
#include "ui/common/data_grid.h"
#include "ui/common/list_report.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace tavomi;

namespace {

long peakKiB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

void BM_ListReport100k(benchmark::State &state)
{
    QTemporaryDir dir;
    Session s(QStringLiteral("bench-report"));
    ConnectionSettings cs;
    cs.sqliteFile = QDir(dir.path()).filePath(QStringLiteral("REZE.db"));
    s.open(cs);
    schema::ensure(s);
    Session::setCurrent(&s);
    s.begin();
    for (int i = 0; i < 100000; ++i)
        s.runCached(QStringLiteral("insert into 商品(编码,条码,品名,进价,售价,淘汰否) values(?,?,?,?,?,'否')"),
                    {QStringLiteral("B%1").arg(i, 6, 10, QLatin1Char('0')), QStringLiteral("SP%1").arg(i),
                     QStringLiteral("商品%1 规格%2").arg(i).arg(i % 17), 1.5 + i % 10, 2.5 + i % 10});
    s.commit();
    DataGrid grid;
    grid.setColumns({{QStringLiteral("编码"), QStringLiteral("编码")},
                     {QStringLiteral("条码"), QStringLiteral("速记码")},
                     {QStringLiteral("品名"), QStringLiteral("品名+规格"), GridFormat::Text, true, false, 3},
                     {QStringLiteral("进价"), QStringLiteral("进价"), GridFormat::Money, true, true},
                     {QStringLiteral("售价"), QStringLiteral("售价"), GridFormat::Money, true, true}});
    grid.setQuery(QStringLiteral("select 编码,条码,品名,进价,售价 from 商品"));
    const long before = peakKiB();
    int pages = 0;
    for (auto _ : state) {
        const ListReport r = gridListReport(&grid, QStringLiteral("商品资料"));
        writeListReportPdf(QDir(dir.path()).filePath(QStringLiteral("list.pdf")), r, &pages);
    }
    state.counters["pages"] = pages;
    state.counters["peak_MiB"] = double(peakKiB()) / 1024.0;
    state.counters["peak_growth_MiB"] = double(peakKiB() - before) / 1024.0;
    Session::setCurrent(nullptr);
}
BENCHMARK(BM_ListReport100k)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
