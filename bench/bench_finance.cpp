// Money benchmarks on SQLite: 5,000 customers with 200,000 receivables (a quarter of them open,
// some return credits) and 150,000 audited collections, 8 accounts and 1,000,000 ledger rows over
// two years. Measured with the statements the forms and the engine run:
// - the receivables list filtered on one customer over the whole history (its rows as the grid
//   fetches them, first 256, and the footer totals), and the cash desk loading one customer;
// - one customer's balance;
// - a collection's confirm and audit;
// - the cash-flow ledger of one account: its first page (256 rows, newest first) and the totals.
// Run: build/bench/bench_finance
#include "common/clock.h"
#include "common/identity.h"
#include "common/permissions.h"
#include "common/schema.h"
#include "common/session.h"
#include "finance/settlement.h"
#include "finance/transfers.h"

#include "data/bench_company.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QSqlQuery>
#include <QTemporaryDir>

using namespace tavomi;
using namespace tavomi::finance;

namespace {

constexpr int kCustomers = 5000;
constexpr int kReceivables = 200000;
constexpr int kLedgerRows = 1000000;
constexpr int kAccounts = 8;
constexpr int kDays = 730;
constexpr int kFirstPage = 256; // what the grid fetches at once

QString customer(int i)
{
    return QStringLiteral("客户%1").arg(i % kCustomers);
}

QString account(int i)
{
    return QStringLiteral("账户%1").arg(i % kAccounts);
}

QString day(qint64 i, qint64 n)
{
    return QDate(2024, 3, 16).addDays(i * kDays / n).toString(QStringLiteral("yyyy-MM-dd"));
}

struct OpenRow
{
    QString partner;
    QString bill;
    QString code;
};

struct Company
{
    QTemporaryDir dir;
    Session session{QStringLiteral("bench-finance")};
    QList<OpenRow> open; // positive open receivables, for the collections

    Company()
    {
        bench::openCompany(session, bench::sqliteSettings(QDir(dir.path()).filePath(QStringLiteral("REZE.db"))));

        // The fixture goes in directly, in one transaction.
        session.begin();
        for (int c = 0; c < kCustomers; ++c)
            session.runCached(QStringLiteral("insert into 客户(编码,公司名,性质,结账方式) values(?,?,'售价','现金')"),
                              {QStringLiteral("KH%1").arg(c, 5, 10, QLatin1Char('0')), customer(c)});
        for (int i = 0; i < kReceivables; ++i) {
            const QString bill = QStringLiteral("XS%1").arg(i, 7, 10, QLatin1Char('0'));
            const QString code = QStringLiteral("YSF%1").arg(i, 7, 10, QLatin1Char('0'));
            const QString date = day(i, kReceivables);
            const bool credit = i % 50 == 7;
            const bool openRow = credit || i % 4 == 0;
            const double amount = credit ? -double(10 + i % 90) : double(100 + i % 900);
            session.runCached(QStringLiteral("insert into 销售应收款表(订单号,处理单据,客户名称,应收款编码,发生日期,收款日期,应收款,去零头,已收款,欠款,"
                                             "录入日期,付清状态,备注,发票号) values('',?,?,?,?,?,?,0,?,?,?,?,'','')"),
                              {bill, customer(i), code, date, date, amount, openRow ? 0.0 : amount, openRow ? amount : 0.0, date,
                               openRow ? kStateOpen : kStateSettled});
            if (!openRow)
                session.runCached(QStringLiteral("insert into 销售收款表(客户名称,收款单编码,收款日期,收款金额,发票号,经手人,收款方式,收款去向,审核标志,备注,处理单号) "
                                                 "values(?,?,?,?,'0001','系统操作员','现金',?,1,'',?)"),
                                  {customer(i), QStringLiteral("SKF%1").arg(i, 7, 10, QLatin1Char('0')), date, amount, account(i), bill});
            else if (!credit)
                open.append({customer(i), bill, code});
        }
        double balance[kAccounts] = {};
        for (int i = 0; i < kLedgerRows; ++i) {
            const int a = i % kAccounts;
            const bool in = i % 3 != 0;
            const double amount = double(50 + i % 500);
            balance[a] += in ? amount : -amount;
            session.runCached(QStringLiteral("insert into 现金明细表(自动编码,编码,日期,业务类型,借方发生,贷方发生,余额,票据号码,备注,审核状态,流水号) "
                                             "values(?,?,?,?,?,?,?,'0001',?,'1',?)"),
                              {QStringLiteral("ZDBMF%1").arg(i, 8, 10, QLatin1Char('0')), QStringLiteral("SKF%1").arg(i % kReceivables),
                               day(i, kLedgerRows), in ? QStringLiteral("销售收款出入") : QStringLiteral("采购付款支出"), in ? amount : 0.0,
                               in ? 0.0 : amount, balance[a], account(a), i + 1});
        }
        for (int a = 0; a < kAccounts; ++a)
            session.execute(QStringLiteral("insert into 银行帐户表(编号,账户名称,期初额,期未额) values(?,?,0,?)"),
                            {QString::number(a), account(a), balance[a]});
        session.commit();
        session.execute(QStringLiteral("analyze"));
    }
};

Company &company()
{
    static Company c;
    return c;
}

// Runs a grid's statements: the rows in the grid's order, of which the first page is read, and the
// footer totals over the whole result.
int openGrid(Session &s, const QString &fields, const QString &sql, const QVariantList &values, const QString &order,
             const QString &sums)
{
    QSqlQuery q = s.run(QStringLiteral("select %1 from (%2) g order by %3").arg(fields, sql, order), values);
    int rows = 0;
    while (rows < kFirstPage && q.next())
        ++rows;
    QSqlQuery t = s.run(QStringLiteral("select count(*),%1 from (%2) g").arg(sums, sql), values);
    benchmark::DoNotOptimize(t.next());
    return rows;
}

// "应收款查询" filtered on one customer (a contains match, as the form does) over the last
// range(0) days.
void BM_ReceivableListOfCustomer(benchmark::State &state)
{
    Company &c = company();
    int i = 0;
    for (auto _ : state) {
        const QString sql = QStringLiteral("select 订单号,处理单据,客户名称,应收款编码,发生日期,收款日期,应收款,去零头,已收款,欠款,录入日期,付清状态,备注,发票号 "
                                           "from 销售应收款表 where 发生日期>=? and 发生日期<=? and 客户名称 like ?");
        const QVariantList values = {QDate(2026, 3, 15).addDays(-state.range(0)).toString(QStringLiteral("yyyy-MM-dd")), QStringLiteral("2026-03-15"),
                                     QString(QLatin1Char('%') + customer(i * 7919 + 1234) + QLatin1Char('%'))};
        benchmark::DoNotOptimize(openGrid(c.session,
                                          QStringLiteral("订单号,处理单据,客户名称,应收款编码,发生日期,收款日期,应收款,去零头,已收款,欠款,录入日期,付清状态,备注,发票号"),
                                          sql, values, QStringLiteral("处理单据 asc"), QStringLiteral("sum(应收款),sum(去零头),sum(已收款),sum(欠款)")));
        ++i;
    }
}
// Over the whole two years, and over the last month.
BENCHMARK(BM_ReceivableListOfCustomer)->Unit(benchmark::kMillisecond)->Arg(kDays)->Arg(31);

// The cash desk loading a customer: the open receivables and the credit total.
void BM_CashDeskLoadCustomer(benchmark::State &state)
{
    Company &c = company();
    Settlement s(c.session, receivables());
    int i = 0;
    for (auto _ : state) {
        const QString name = customer(i * 7919 + 7);
        benchmark::DoNotOptimize(s.openItems(name).size());
        benchmark::DoNotOptimize(s.creditTotal(name));
        ++i;
    }
}
BENCHMARK(BM_CashDeskLoadCustomer)->Unit(benchmark::kMillisecond);

void BM_CustomerBalance(benchmark::State &state)
{
    Company &c = company();
    Settlement s(c.session, receivables());
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(s.balance(customer(i * 7919)));
        ++i;
    }
}
BENCHMARK(BM_CustomerBalance)->Unit(benchmark::kMicrosecond);

// "确定收银" and "审核单据" on one open receivable each time.
void BM_CollectionConfirmAndAudit(benchmark::State &state)
{
    Company &c = company();
    Settlement s(c.session, receivables());
    int next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Clock::advanceSeconds(7); // a clerk's pace: codes are taken from the clock
        const OpenRow row = c.open.at((next++ * 101) % c.open.size());
        OpenItem item;
        for (const OpenItem &it : s.openItems(row.partner))
            if (it.code == row.code)
                item = it;
        const Desk desk = Settlement::desk(item, s.creditTotal(row.partner));
        MoneyRequest r;
        r.partner = row.partner;
        r.bill = row.bill;
        r.code = row.code;
        r.amountText = QString::number(desk.outstanding, 'f', 2);
        r.date = Clock::today();
        r.invoice = QStringLiteral("0001");
        r.handler = QStringLiteral("系统操作员");
        r.method = QStringLiteral("现金");
        r.account = account(next);
        state.ResumeTiming();
        const PostingResult posted = s.post(r);
        if (!posted.moneyCode.isEmpty())
            s.audit(posted.moneyCode);
    }
}
BENCHMARK(BM_CollectionConfirmAndAudit)->Unit(benchmark::kMillisecond)->Iterations(300);

// "银行现金流查询", detail view of one account over two years: the first page and the totals.
void BM_LedgerFirstPage(benchmark::State &state)
{
    Company &c = company();
    int i = 0;
    for (auto _ : state) {
        QVariantList values;
        const QString sql = ledgerQuery(account(i++), QStringLiteral("2024-01-01"), QStringLiteral("2026-12-31"), &values);
        benchmark::DoNotOptimize(openGrid(c.session, QStringLiteral("编码,日期,业务类型,借方发生,贷方发生,余额,票据号码,备注,流水号"), sql, values,
                                          QStringLiteral("流水号 desc"), QStringLiteral("sum(借方发生),sum(贷方发生),sum(余额)")));
    }
}
BENCHMARK(BM_LedgerFirstPage)->Unit(benchmark::kMillisecond);

// The ledger's statement for one account with its values written in.
QString ledgerPlanQuery()
{
    QVariantList values;
    QString sql = ledgerQuery(account(3), QStringLiteral("2024-01-01"), QStringLiteral("2026-12-31"), &values);
    for (const QVariant &v : values)
        sql.replace(sql.indexOf(QLatin1Char('?')), 1, QLatin1Char('\'') + v.toString() + QLatin1Char('\''));
    return sql;
}

// The query plans of the statements above, printed once (what the indexes are checked against).
void BM_Plans(benchmark::State &state)
{
    Company &c = company();
    const QStringList statements = {
        QStringLiteral("select 发生日期,收款日期,应收款,已收款,去零头,欠款,处理单据,订单号,应收款编码 from 销售应收款表 where 客户名称='客户7' and 付清状态='未付清' order by 发生日期,应收款编码"),
        QStringLiteral("select coalesce(sum(欠款),0) from 销售应收款表 where 客户名称='客户7'"),
        QStringLiteral("select count(*),sum(应收款) from (select * from 销售应收款表 where 发生日期>='2024-01-01' and 发生日期<='2026-03-15' and 客户名称 like '%客户7%') g"),
        QStringLiteral("select 编码 from (%1) g order by 流水号 desc").arg(ledgerPlanQuery()),
        QStringLiteral("select count(*),sum(借方发生),sum(贷方发生),sum(余额) from (%1) g").arg(ledgerPlanQuery()),
    };
    for (auto _ : state) {
        for (const QString &sql : statements) {
            QSqlQuery q = c.session.run(QStringLiteral("explain query plan ") + sql);
            QStringList plan;
            while (q.next())
                plan << q.value(3).toString();
            state.SetLabel(plan.join(QStringLiteral("; ")).toStdString());
            fprintf(stderr, "%s\n  -> %s\n", qPrintable(sql), qPrintable(plan.join(QStringLiteral("; "))));
        }
    }
}
BENCHMARK(BM_Plans)->Iterations(1);

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
