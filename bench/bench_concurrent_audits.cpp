// Several workstations auditing sales shipments of the same goods at once. Each round saves
// 4 × kBills shipments (kLines lines over kGoods shared goods), then four processes audit their
// share side by side; the figure is audits per second of all four together. Afterwards every
// goods' stock must equal what the audited lines took (no lost update), or the run fails.
//
// PostgreSQL:  TAVOMI_BENCH_PG="host=127.0.0.1;port=5432;user=tavomi;dbname=tavomi_bench" build/bench/bench_concurrent_audits
// SQLite (one file, for comparison): build/bench/bench_concurrent_audits
#include "common/connection_settings.h"
#include "common/error.h"
#include "common/helpers.h"
#include "common/identity.h"
#include "common/permissions.h"
#include "common/schema.h"
#include "common/session.h"
#include "documents/bill_store.h"

#include "data/bench_company.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>

using namespace tavomi;
using namespace tavomi::docs;

namespace {

constexpr int kClients = 4;
constexpr int kBills = 100; // per client and round
constexpr int kLines = 5;
constexpr int kGoods = 40;

ConnectionSettings settingsFromEnvironment(const QString &folder)
{
    const QString pg = qEnvironmentVariable("TAVOMI_BENCH_PG");
    if (!pg.isEmpty())
        return ConnectionSettings::postgres(pg);
    return bench::sqliteSettings(QDir(folder).filePath(QStringLiteral("REZE.db")));
}

// A child: audits the shipments named on its command line.
int auditChild(const QStringList &args)
{
    Session s(QStringLiteral("child"));
    s.open(ConnectionSettings::loadFrom(args.at(2)));
    Session::setCurrent(&s);
    bench::loginAsAdmin();
    BillStore store(s, BillKind::SalesShipment);
    int failed = 0;
    QElapsedTimer t;
    t.start();
    for (const QString &number : args.mid(3)) {
        try {
            store.audit(number);
        } catch (const Error &e) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(number), qPrintable(e.message()));
            ++failed;
        }
    }
    if (qEnvironmentVariableIsSet("TAVOMI_BENCH_VERBOSE"))
        std::fprintf(stderr, "child: %lld audits in %lld ms\n", qlonglong(args.size() - 3), qlonglong(t.elapsed()));
    return failed == 0 ? 0 : 1;
}

struct Company
{
    QTemporaryDir dir;
    Session session{QStringLiteral("bench-concurrent")};
    QString connectionFile;

    Company()
    {
        const ConnectionSettings cs = settingsFromEnvironment(dir.path());
        session.open(cs);
        if (cs.isPostgres()) {
            // A schema of its own, so the run starts from nothing and leaves nothing behind.
            session.execute(QStringLiteral("drop schema if exists bench_concurrent cascade"));
            session.execute(QStringLiteral("create schema bench_concurrent"));
            ConnectionSettings scoped = cs;
            scoped.options = QStringLiteral("options=-csearch_path=bench_concurrent");
            session.open(scoped);
            scoped.saveTo(connectionFile = QDir(dir.path()).filePath(QStringLiteral("connection.ini")));
        } else {
            cs.saveTo(connectionFile = QDir(dir.path()).filePath(QStringLiteral("connection.ini")));
        }
        schema::ensure(session);
        Session::setCurrent(&session);
        bench::loginAsAdmin();
        session.begin();
        session.execute(QStringLiteral("insert into 客户(编码,公司名,性质) values('KH1','客户甲','售价')"));
        session.execute(QStringLiteral("insert into 货位(货位编码,货位名称) values('1','一号仓')"));
        MaintainStockTable(session, StockTableAction::Create, QStringLiteral("一号仓"));
        for (int i = 0; i < kGoods; ++i) {
            const QString code = QStringLiteral("G%1").arg(i, 3, 10, QLatin1Char('0'));
            session.execute(QStringLiteral("insert into 商品(编码,条码,品名,单位,进价,售价,大包装,小包装,柜组,换算数,淘汰否) "
                                           "values(?,?,?,'个',1,2,'个',1,'1个','个','否')"),
                            {code, code, QStringLiteral("商品%1").arg(i)});
        }
        MaintainStockTable(session, StockTableAction::Seed, QStringLiteral("一号仓"));
        for (const char *t : {"库存", "库存2"})
            session.execute(QStringLiteral("insert into %1(货位,编码,数量,金额,日期,标记,组合库存) "
                                           "select ?,编码,0,0,'2026-01-01',0,'0' from 商品")
                                .arg(QString::fromUtf8(t)),
                            {QString::fromUtf8(t)});
        session.commit();
    }

    ~Company()
    {
        if (session.isPostgres()) {
            try {
                session.execute(QStringLiteral("drop schema if exists bench_concurrent cascade"));
            } catch (...) {
            }
        }
    }

    QStringList saveShipments(int count, int round)
    {
        BillStore store(session, BillKind::SalesShipment);
        QStringList numbers;
        session.begin();
        for (int b = 0; b < count; ++b) {
            Bill bill;
            bill.header.partnerCode = QStringLiteral("KH1");
            bill.header.partnerName = QStringLiteral("客户甲");
            bill.header.number = QStringLiteral("X%1-%2").arg(round).arg(b, 5, 10, QLatin1Char('0'));
            for (int l = 0; l < kLines; ++l) {
                BillLine line;
                line.row = l + 1;
                line.code = QStringLiteral("G%1").arg((b * 7 + l * 13) % kGoods, 3, 10, QLatin1Char('0'));
                line.unit = QStringLiteral("个");
                line.quantity = 1 + (b + l) % 3;
                line.price = 2;
                line.warehouse = QStringLiteral("一号仓");
                bill.lines << line;
            }
            numbers << store.save(bill, false).number;
        }
        session.commit();
        return numbers;
    }

    // Goods whose stock differs from the audited lines.
    int lostUpdates()
    {
        QSqlQuery q = session.run(QStringLiteral(
            "select count(*) from 库存 k where k.数量 <> -(select coalesce(sum(l.数量),0) from 销售子 l join 销售主 m "
            "on m.单号=l.单号 where m.审核标志=1 and l.编码=k.编码)"));
        q.next();
        return q.value(0).toInt();
    }
};

void BM_FourClientsAuditingSales(benchmark::State &state)
{
    Company company;
    int round = 0;
    double audits = 0, seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QStringList numbers = company.saveShipments(kClients * kBills, ++round);
        state.ResumeTiming();
        QElapsedTimer timer;
        timer.start();
        std::vector<std::unique_ptr<QProcess>> children;
        for (int c = 0; c < kClients; ++c) {
            QStringList args = {QStringLiteral("--audit-child"), company.connectionFile};
            for (int i = c; i < numbers.size(); i += kClients)
                args << numbers.at(i);
            auto p = std::make_unique<QProcess>();
            p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            p->start(QCoreApplication::applicationFilePath(), args);
            children.push_back(std::move(p));
        }
        bool allOk = true;
        for (auto &p : children) {
            p->waitForFinished(-1);
            allOk = allOk && p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0;
        }
        const double elapsed = timer.nsecsElapsed() / 1e9;
        state.SetIterationTime(elapsed);
        seconds += elapsed;
        audits += numbers.size();
        if (!allOk) {
            state.SkipWithError("an audit failed");
            break;
        }
    }
    const int lost = company.lostUpdates();
    if (lost != 0)
        state.SkipWithError("stock differs from the audited lines");
    state.counters["audits_per_s"] = seconds > 0 ? audits / seconds : 0;
    state.counters["lost_updates"] = lost;
    state.SetLabel(company.session.isPostgres() ? "PostgreSQL" : "SQLite");
}
BENCHMARK(BM_FourClientsAuditingSales)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() > 2 && args.at(1) == QLatin1String("--audit-child"))
        return auditChild(args);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
