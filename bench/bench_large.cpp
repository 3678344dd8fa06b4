// The figures of a large company, on a database built by tavomi-generate (SQLite).
//   TAVOMI_BENCH_DB=/path/large.db build/bench/bench_large
// or build/bench/bench_large --db=/path/large.db. A missing database is generated first, at the
// scale TAVOMI_BENCH_SCALE (default 1.0). Bills the benchmarks save are deleted again.
//
// Where a bare floor is given, it is the same rows written by prepared statements in one
// transaction without the engine, measured in the same loop: counters floor_ms and ratio.
#include "data/generator.h"

#include "common/clock.h"
#include "common/error.h"
#include "common/helpers.h"
#include "common/identity.h"
#include "common/session.h"
#include "documents/bill_store.h"
#include "documents/sales_rules.h"
#include "finance/settlement.h"
#include "finance/transfers.h"
#include "masterdata/warehouse_service.h"
#include "platform/ini_file.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tavomi;
using namespace tavomi::docs;

namespace {

constexpr int kReceiptLines = 2000;
QString g_dbPath;

double msSince(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

struct Customer
{
    QString code;
    QString name;
    QString priceClass;
};

// The generated company, opened once.
struct Large
{
    Session session{QStringLiteral("bench-large")};
    QStringList goods;        // every goods code, in code order
    QHash<QString, double> cost;
    QStringList warehouses;
    QString supplierCode;
    QString supplierName;
    QList<Customer> customers;
    Customer busiest;         // the customer with the most receivable rows
    QString ledgerAccount;    // the account with the most ledger rows
    QString firstDay;
    QString lastDay;

    Large()
    {
        if (!QFileInfo::exists(g_dbPath)) {
            const double scale = qEnvironmentVariableIsSet("TAVOMI_BENCH_SCALE") ? qEnvironmentVariable("TAVOMI_BENCH_SCALE").toDouble() : 1.0;
            std::fprintf(stderr, "generating %s at scale %g\n", qPrintable(g_dbPath), scale);
            Session gen(QStringLiteral("bench-generate"));
            bench::openCompany(gen, bench::sqliteSettings(g_dbPath));
            bench::GenerateOptions o;
            o.sizes = bench::Sizes::scaled(scale);
            bench::generate(gen, o, [](const QString &phase, double done, double rate, const QString &unit) {
                std::fprintf(stderr, "[%s] %.1f%% %.0f %s/s\n", qPrintable(phase), done * 100, rate, qPrintable(unit));
            });
            Session::setCurrent(nullptr);
        }
        bench::openCompany(session, bench::sqliteSettings(g_dbPath));
        // An experiment switch: TAVOMI_BENCH_MMAP=<bytes> maps the database file into memory.
        if (qEnvironmentVariableIsSet("TAVOMI_BENCH_MMAP"))
            session.run(QStringLiteral("PRAGMA mmap_size=%1").arg(qEnvironmentVariable("TAVOMI_BENCH_MMAP").toLongLong()));
        QSqlQuery q = session.run(QStringLiteral("select 编码,进价 from 商品 order by 编码"));
        while (q.next()) {
            goods << q.value(0).toString();
            cost.insert(goods.last(), q.value(1).toDouble());
        }
        warehouses = warehouseNames(session);
        q = session.run(QStringLiteral("select 编码,公司名 from 供应商 order by 编码"));
        if (q.next()) {
            supplierCode = q.value(0).toString();
            supplierName = q.value(1).toString();
        }
        q = session.run(QStringLiteral("select 编码,公司名,性质 from 客户 order by 编码"));
        while (q.next())
            customers.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toString()});
        q = session.run(QStringLiteral("select 客户名称 from 销售应收款表 group by 客户名称 order by count(*) desc"));
        const QString top = q.next() ? q.value(0).toString() : QString();
        for (const Customer &c : customers)
            if (c.name == top)
                busiest = c;
        q = session.run(QStringLiteral("select 备注 from 现金明细表 group by 备注 order by count(*) desc"));
        ledgerAccount = q.next() ? q.value(0).toString() : QString();
        firstDay = session.scalar(QStringLiteral("select min(日期) from 进货主")).toString();
        lastDay = session.scalar(QStringLiteral("select max(日期) from 销售主")).toString();
        if (goods.size() < kReceiptLines || warehouses.isEmpty() || customers.isEmpty())
            throw Error(QStringLiteral("the database is too small for these benchmarks"));
        std::fprintf(stderr, "%s: %lld goods, %lld customers, busiest %s, ledger account %s\n", qPrintable(g_dbPath),
                     qlonglong(goods.size()), qlonglong(customers.size()), qPrintable(busiest.name), qPrintable(ledgerAccount));
    }

    // A receipt of 2,000 different goods over every warehouse, priced at the stored cost (so the
    // save leaves 商品.进价 as it was). Spread: goods from the whole catalogue, each stock row on a
    // page of its own (the worst case); else 2,000 neighbouring codes (one supplier's range).
    Bill receipt(bool spread) const
    {
        Bill b;
        b.header.partnerCode = supplierCode;
        b.header.partnerName = supplierName;
        b.header.summary = QStringLiteral("进货");
        const qsizetype step = spread ? goods.size() / kReceiptLines : 1;
        for (int i = 0; i < kReceiptLines; ++i) {
            BillLine l;
            l.row = i + 1;
            l.code = goods.at(spread ? i * step + step / 2 : goods.size() / 2 + i);
            l.unit = i % 2 ? QStringLiteral("件") : QStringLiteral("瓶");
            l.quantity = 1 + i % 5;
            l.price = cost.value(l.code) * (i % 2 ? 24 : 1);
            l.warehouse = warehouses.at(i % warehouses.size());
            b.lines.append(l);
        }
        return b;
    }
};

Large &large()
{
    static Large l;
    return l;
}

// ------------------------------------------------------------------ the bare floor

// The rows a save writes: the log row, the master row, one row per line and the goods' cost
// price, prepared, in one transaction.
void floorSave(Session &s, const Bill &b, const QString &number)
{
    s.begin();
    logAction(s, kLogImportant, QStringLiteral("新增进货单据,单据号为:") + number);
    s.execute(QStringLiteral("insert into 进货主(单号,发票号,货位,备注,供应商,公司名,摘要,账户,本次付款,发票号码,附加说明,数量合计,金额合计,审核标志,日期,时间,操作员) "
                             "values(?,'','','',?,?,?,'',0,'','',0,0,0,?,?,?)"),
              {number, b.header.partnerCode, b.header.partnerName, b.header.summary, Clock::today(), Clock::timeText(),
               QStringLiteral("系统管理员")});
    for (const BillLine &l : b.lines) {
        const double factor = l.unit == QStringLiteral("件") ? 24 : 1;
        s.runCached(QStringLiteral("insert into 进货子(序号,单号,编码,条码,品名,单位,进价,入库仓库,数量,金额,新进,大单位,件数量,进率,件进价,原进价) "
                                   "values(?,?,?,' ',?,'',?,?,?,?,0,?,?,?,?,?)"),
                    {QString::number(l.row), number, l.code, l.name, l.price / factor, l.warehouse, l.quantity * factor,
                     l.price * l.quantity, l.unit, l.quantity, 1.0, l.price, l.price / factor});
        s.runCached(QStringLiteral("update 商品 set 进价=? where 编码=?"), {l.price / factor, l.code});
    }
    s.commit();
}

void floorRemove(Session &s, const QString &number)
{
    s.begin();
    s.execute(QStringLiteral("delete from 进货主 where 单号=?"), {number});
    s.execute(QStringLiteral("delete from 进货子 where 单号=?"), {number});
    s.commit();
}

// The rows an audit (direction 1) or un-audit (−1) writes: the flag, three relative stock
// updates per line, the payable row and the log row.
void floorPost(Session &s, const Bill &b, const QString &number, int direction)
{
    s.begin();
    s.execute(QStringLiteral("update 进货主 set 审核标志=? where 单号=?"), {direction > 0 ? 1 : 0, number});
    for (const BillLine &l : b.lines) {
        const double factor = l.unit == QStringLiteral("件") ? 24 : 1;
        const double quantity = direction * l.quantity * factor;
        const double amount = direction * l.price * l.quantity;
        for (const QString &t : {s.quoteName(l.warehouse), QStringLiteral("库存"), QStringLiteral("库存2")})
            s.runCached(QStringLiteral("update %1 set 数量=数量+?,金额=金额+?,组合库存=? where 编码=?").arg(t),
                        {quantity, amount, QStringLiteral("1件"), l.code});
    }
    if (direction > 0)
        s.execute(QStringLiteral("insert into 采购应付款表(处理单据,供应商,应付款编码,发生日期,付款日期,应付金额,去零头,已付金额,还欠进货款,付清状态) "
                                 "values(?,?,?,?,?,1,0,0,1,'未付清')"),
                  {number, b.header.partnerName, QStringLiteral("YF") + number, Clock::today(), Clock::today()});
    else
        s.execute(QStringLiteral("delete from 采购应付款表 where 处理单据=?"), {number});
    logAction(s, kLogImportant, QStringLiteral("审核进货单据,单据号为:") + number);
    s.commit();
}

void reportFloor(benchmark::State &state, double engineMs, double floorMs)
{
    const double n = double(state.iterations());
    state.counters["floor_ms"] = floorMs / n;
    state.counters["ratio"] = floorMs > 0 ? engineMs / floorMs : 0;
}

// ------------------------------------------------------------------ bills

void BM_ReceiptSave(benchmark::State &state)
{
    Large &c = large();
    BillStore store(c.session, BillKind::PurchaseReceipt);
    const Bill model = c.receipt(state.range(0) == 0);
    double engine = 0, floor = 0;
    for (auto _ : state) {
        Bill b = model;
        QElapsedTimer t;
        t.start();
        const QString number = store.save(b, false).number;
        const double ms = msSince(t);
        engine += ms;
        state.SetIterationTime(ms / 1000);
        store.remove(number);
        t.start();
        floorSave(c.session, b, QStringLiteral("FLOOR") + number);
        floor += msSince(t);
        floorRemove(c.session, QStringLiteral("FLOOR") + number);
    }
    reportFloor(state, engine, floor);
}
BENCHMARK(BM_ReceiptSave)->ArgName("neighbours")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

void BM_ReceiptAudit(benchmark::State &state)
{
    Large &c = large();
    BillStore store(c.session, BillKind::PurchaseReceipt);
    const Bill model = c.receipt(state.range(0) == 0);
    double engine = 0, floor = 0;
    for (auto _ : state) {
        Bill b = model;
        const QString number = store.save(b, false).number;
        QElapsedTimer t;
        t.start();
        store.audit(number);
        const double ms = msSince(t);
        engine += ms;
        state.SetIterationTime(ms / 1000);
        store.unaudit(number);
        store.remove(number);
        const QString bare = QStringLiteral("FLOOR") + number;
        floorSave(c.session, b, bare);
        t.start();
        floorPost(c.session, b, bare, 1);
        floor += msSince(t);
        floorPost(c.session, b, bare, -1);
        floorRemove(c.session, bare);
    }
    reportFloor(state, engine, floor);
}
BENCHMARK(BM_ReceiptAudit)->ArgName("neighbours")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

void BM_ReceiptUnaudit(benchmark::State &state)
{
    Large &c = large();
    BillStore store(c.session, BillKind::PurchaseReceipt);
    const Bill model = c.receipt(state.range(0) == 0);
    double engine = 0, floor = 0;
    for (auto _ : state) {
        Bill b = model;
        const QString number = store.save(b, false).number;
        store.audit(number);
        QElapsedTimer t;
        t.start();
        store.unaudit(number);
        const double ms = msSince(t);
        engine += ms;
        state.SetIterationTime(ms / 1000);
        store.remove(number);
        const QString bare = QStringLiteral("FLOOR") + number;
        floorSave(c.session, b, bare);
        floorPost(c.session, b, bare, 1);
        t.start();
        floorPost(c.session, b, bare, -1);
        floor += msSince(t);
        floorRemove(c.session, bare);
    }
    reportFloor(state, engine, floor);
}
BENCHMARK(BM_ReceiptUnaudit)->ArgName("neighbours")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

// ------------------------------------------------------------------ the sales form

// What the sales form does when a goods code is entered on a line: the exact-code lookup, the
// goods read, the starting price for the customer, and the stock check of the line.
void BM_FillSalesLine(benchmark::State &state)
{
    Large &c = large();
    BillStore store(c.session, BillKind::SalesShipment);
    const QString active = QStringLiteral("(淘汰否 is null or 淘汰否<>'是')");
    int i = 0;
    for (auto _ : state) {
        const QString code = c.goods.at((qint64(i) * 7919) % c.goods.size());
        const Customer &who = c.customers.at((i * 13) % c.customers.size());
        ++i;
        QSqlQuery exact = c.session.run(QStringLiteral("select 编码 from 商品 where 编码=? and ") + active, {code});
        benchmark::DoNotOptimize(exact.next());
        QSqlQuery g = c.session.run(QStringLiteral("select 编码,条码,品名,单位,大包装,小包装,柜组,换算数,进价,批价,售价 from 商品 where 编码=? and ")
                                        + active,
                                    {code});
        benchmark::DoNotOptimize(g.next());
        benchmark::DoNotOptimize(salesPrice(c.session, code, who.code, who.priceClass, true));
        Bill b;
        BillLine l;
        l.row = 1;
        l.code = code;
        l.unit = QStringLiteral("瓶");
        l.quantity = 1;
        l.warehouse = c.warehouses.at(i % c.warehouses.size());
        b.lines.append(l);
        QString message;
        benchmark::DoNotOptimize(store.stockShortage(b, 0, &message));
    }
}
BENCHMARK(BM_FillSalesLine)->Unit(benchmark::kMillisecond);

// Goods search as a user types a goods' shorthand code (initials, size, number: "YHQKL 5kg 33334H"),
// one search per keystroke: the argument is the length typed so far. The rows the goods picker
// lists are read (at most kGoodsPickerRows, and one more to know there are more).
void BM_GoodsSearchKeystroke(benchmark::State &state)
{
    Large &c = large();
    const QString typed = c.session.scalar(QStringLiteral("select 条码 from 商品 where 编码=?"), {c.goods.at(c.goods.size() / 3)})
                              .toString()
                              .left(int(state.range(0)));
    qint64 rows = 0;
    for (auto _ : state) {
        QSqlQuery q = SearchGoods(c.session, typed, kGoodsPickerRows + 1);
        rows = 0;
        while (q.next()) {
            benchmark::DoNotOptimize(q.value(0).toString());
            ++rows;
        }
    }
    state.SetLabel(typed.toStdString());
    state.counters["rows"] = double(rows);
}
BENCHMARK(BM_GoodsSearchKeystroke)->DenseRange(1, 8)->Unit(benchmark::kMillisecond);

// ------------------------------------------------------------------ money

void BM_CustomerBalance(benchmark::State &state)
{
    Large &c = large();
    for (auto _ : state)
        benchmark::DoNotOptimize(customerDebt(c.session, c.busiest.name));
    state.SetLabel(c.busiest.name.toStdString());
}
BENCHMARK(BM_CustomerBalance)->Unit(benchmark::kMillisecond);

void BM_ReceivableList(benchmark::State &state)
{
    Large &c = large();
    finance::Settlement s(c.session, finance::receivables());
    qsizetype rows = 0;
    for (auto _ : state) {
        const QList<finance::OpenItem> items = s.openItems(c.busiest.name);
        rows = items.size();
        benchmark::DoNotOptimize(rows);
    }
    state.SetLabel(c.busiest.name.toStdString());
    state.counters["rows"] = double(rows);
}
BENCHMARK(BM_ReceivableList)->Unit(benchmark::kMillisecond);

// The ledger form's first page for one account over the whole period: its grid's ordered query
// (newest first) with the first 256 rows the model fetches, and the count-and-sums query of the footer.
void BM_LedgerFirstPage(benchmark::State &state)
{
    Large &c = large();
    QVariantList values;
    const QString sql = finance::ledgerQuery(c.ledgerAccount, c.firstDay, c.lastDay, &values);
    const QString page = QStringLiteral("select 编码,日期,业务类型,借方发生,贷方发生,余额,票据号码,备注,流水号 from (%1) g order by 流水号 desc").arg(sql);
    const QString totals = QStringLiteral("select count(*),sum(借方发生),sum(贷方发生),sum(余额) from (%1) g").arg(sql);
    qint64 total = 0;
    for (auto _ : state) {
        QSqlQuery q = c.session.run(page, values);
        for (int r = 0; r < 256 && q.next(); ++r)
            benchmark::DoNotOptimize(q.value(5).toDouble());
        QSqlQuery t = c.session.run(totals, values);
        if (t.next())
            total = t.value(0).toLongLong();
    }
    state.SetLabel(c.ledgerAccount.toStdString());
    state.counters["rows"] = double(total);
}
BENCHMARK(BM_LedgerFirstPage)->Unit(benchmark::kMillisecond);

// ------------------------------------------------------------------ the program

struct Run
{
    double shownMs = 0; // from the start to the awaited window
    double wallMs = 0;  // from the start to the end of the process
    double peakMb = 0;  // the child's peak resident memory (VmHWM)
};

// Starts the program offscreen on the large database with a hidden bench option and waits for it.
Run runProgram(const QStringList &arguments)
{
    static QTemporaryDir home;
    ConnectionSettings cs = bench::sqliteSettings(g_dbPath);
    cs.saveTo(QDir(home.path()).filePath(QStringLiteral("connection.ini")));
    IniFile ini(QDir(home.path()).filePath(kBdchangeIni));
    ini.setValue(kIniSection, QStringLiteral("启动提示设置"), QStringLiteral("1"));
    ini.save();

    int out[2];
    if (pipe(out) != 0)
        throw Error(QStringLiteral("pipe failed"));
    const QByteArray exe = TAVOMI_APP_EXE;
    QList<QByteArray> args = {exe};
    for (const QString &a : arguments)
        args << a.toLocal8Bit();
    QList<QByteArray> env = {QByteArray("QT_QPA_PLATFORM=offscreen"), "TAVOMI_HOME=" + home.path().toLocal8Bit()};
    for (const char *keep : {"PATH", "HOME", "LANG", "LC_ALL", "XDG_RUNTIME_DIR", "FONTCONFIG_PATH"})
        if (qEnvironmentVariableIsSet(keep))
            env << QByteArray(keep) + '=' + qgetenv(keep);
    std::vector<char *> argv, envp;
    for (QByteArray &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (QByteArray &e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        if (!qEnvironmentVariableIsSet("TAVOMI_BENCH_VERBOSE")) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDERR_FILENO);
        }
        close(out[0]);
        close(out[1]);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(out[1]);
    QByteArray text;
    char buf[256];
    for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;)
        text.append(buf, n);
    close(out[0]);
    int status = 0;
    rusage ru{};
    wait4(pid, &status, 0, &ru);
    timespec end{};
    clock_gettime(CLOCK_MONOTONIC, &end);
    auto ns = [](const timespec &t) { return double(t.tv_sec) * 1e9 + double(t.tv_nsec); };
    Run r;
    r.wallMs = (ns(end) - ns(start)) / 1e6;
    r.peakMb = double(ru.ru_maxrss) / 1024.0;
    const int at = text.indexOf("shown ");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || at < 0)
        throw Error(QStringLiteral("the program did not reach the awaited window (status %1): %2").arg(status).arg(QString::fromLocal8Bit(text)));
    r.shownMs = (text.mid(at + 6, text.indexOf('\n', at) - at - 6).trimmed().toDouble() - ns(start)) / 1e6;
    // ru_maxrss also counts this process's pages the child had between fork and exec: the child's
    // own peak (VmHWM) is what it reports.
    const int hwm = text.indexOf("hwm ");
    if (hwm >= 0)
        r.peakMb = text.mid(hwm + 4).trimmed().split(' ').first().toDouble() / 1024.0;
    return r;
}

void measureProgram(benchmark::State &state, const QStringList &arguments)
{
    large();
    double wall = 0, peak = 0;
    for (auto _ : state) {
        Run r;
        try {
            r = runProgram(arguments);
        } catch (const Error &e) {
            state.SkipWithError(e.message().toStdString().c_str());
            return;
        }
        state.SetIterationTime(r.shownMs / 1000);
        wall += r.wallMs;
        peak = std::max(peak, r.peakMb);
    }
    state.counters["wall_ms"] = wall / double(state.iterations());
    state.counters["peak_MB"] = peak;
}

// Start to the login dialog as shipped: includes the start-up panel, shown 1.5 s by design.
void BM_StartToLogin(benchmark::State &state)
{
    measureProgram(state, {QStringLiteral("--bench-exit=login")});
}
BENCHMARK(BM_StartToLogin)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

// The same without the start-up panel's fixed wait: the program's own work.
void BM_StartToLoginNoPanel(benchmark::State &state)
{
    measureProgram(state, {QStringLiteral("--bench-exit=login"), QStringLiteral("--bench-splash=0")});
}
BENCHMARK(BM_StartToLoginNoPanel)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

// Start, log in as 0001, open the goods list: time to the list and the peak memory (peak_MB).
void BM_GoodsListMemory(benchmark::State &state)
{
    measureProgram(state, {QStringLiteral("--bench-exit=goods"), QStringLiteral("--bench-splash=0")});
}
BENCHMARK(BM_GoodsListMemory)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    g_dbPath = qEnvironmentVariable("TAVOMI_BENCH_DB");
    std::vector<char *> rest;
    for (int i = 0; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a.startsWith("--db="))
            g_dbPath = QString::fromLocal8Bit(a.mid(5));
        else
            rest.push_back(argv[i]);
    }
    if (g_dbPath.isEmpty())
        g_dbPath = QDir::current().filePath(QStringLiteral("tavomi_large.db"));
    g_dbPath = QFileInfo(g_dbPath).absoluteFilePath();
    int n = int(rest.size());
    Clock::setFixed(QDateTime(QDate(2026, 3, 15), QTime(9, 30, 0)));
    benchmark::Initialize(&n, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
