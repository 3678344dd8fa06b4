#include "maintenance/consistency.h"

#include "common/helpers.h"
#include "common/session.h"
#include "common/text_utils.h"
#include "documents/bill_descriptor.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>

#include <cmath>

namespace tavomi::maintenance {

namespace {

const QString kStock = QStringLiteral("库存");
const QString kReceivables = QStringLiteral("应收款");
const QString kPayables = QStringLiteral("应付款");
const QString kAccounts = QStringLiteral("账户");
const QString kLedger = QStringLiteral("现金明细");

// Differences listed per area; beyond that they are only counted.
constexpr int kListedPerArea = 1000;
// Quantities are compared to this many decimals, amounts in cents.
constexpr double kQuantityTolerance = 0.00005;
constexpr double kMoneyTolerance = 0.005;

QString money(double v)
{
    return QString::number(v, 'f', 2);
}

class Collector
{
public:
    explicit Collector(ConsistencyReport &report)
        : m_report(report)
    {}
    void add(const QString &area, const QString &text)
    {
        const int n = ++m_counts[area];
        if (n <= kListedPerArea)
            m_report.differences.append({area, text});
    }
    void finish()
    {
        for (auto it = m_counts.cbegin(); it != m_counts.cend(); ++it)
            if (it.value() > kListedPerArea)
                m_report.differences.append(
                    {it.key(), QStringLiteral("另有 %1 处差异没有逐一列出").arg(it.value() - kListedPerArea)});
    }

private:
    ConsistencyReport &m_report;
    QHash<QString, int> m_counts;
};

// One read transaction for the whole check, so that its statements see the same moment even
// while workstations keep writing: deferred on SQLite (no write lock is taken), a read-only
// snapshot on PostgreSQL. Inside a caller's transaction the check simply reads there.
class ReadSnapshot
{
public:
    explicit ReadSnapshot(Session &session)
        : m_session(session)
    {
        if (m_session.inTransaction())
            return;
        QSqlDatabase db = m_session.database();
        if (!db.transaction())
            return; // reads then run statement by statement
        m_open = true;
        if (m_session.isPostgres())
            m_session.run(QStringLiteral("set transaction isolation level repeatable read, read only"));
    }
    ~ReadSnapshot()
    {
        if (m_open)
            m_session.database().rollback();
    }
    ReadSnapshot(const ReadSnapshot &) = delete;
    ReadSnapshot &operator=(const ReadSnapshot &) = delete;

private:
    Session &m_session;
    bool m_open = false;
};

qint64 countOf(Session &s, const QString &sql, const QVariantList &values = {})
{
    return s.scalar(sql, values, 0).toLongLong();
}

void checkStock(Session &s, ConsistencyReport &report, Collector &out)
{
    // Warehouses by name: two codes may share one name and one table.
    QStringList warehouses;
    {
        QSet<QString> seen;
        QSqlQuery q = s.run(QStringLiteral("select 货位名称 from 货位 order by 货位编码"));
        while (q.next()) {
            const QString name = q.value(0).toString();
            if (!seen.contains(name)) {
                seen.insert(name);
                warehouses << name;
            }
        }
    }
    QStringList parts = {QStringLiteral("select 编码,数量 as kq,金额 as ka,1 as kn,0 as wq,0 as wa from 库存")};
    int tables = 0;
    for (const QString &w : warehouses) {
        const QString problem = checkWarehouseTableName(w);
        if (!problem.isEmpty()) {
            out.add(kStock, QStringLiteral("仓库[%1]的名称不能作为库存表名: %2").arg(w, problem));
            continue;
        }
        if (!s.hasTable(w)) {
            out.add(kStock, QStringLiteral("仓库[%1]的库存表不存在").arg(w));
            continue;
        }
        parts << QStringLiteral("select 编码,0,0,0,数量,金额 from %1").arg(s.quoteName(w));
        ++tables;
    }
    const qint64 goods = countOf(s, QStringLiteral("select count(*) from 库存"));

    const QString sql = QStringLiteral(
        "select 编码,sum(kn),coalesce(sum(kq),0),coalesce(sum(wq),0),coalesce(sum(ka),0),coalesce(sum(wa),0) "
        "from (%1) t group by 编码 "
        "having sum(kn)<>1 or abs(coalesce(sum(kq),0)-coalesce(sum(wq),0))>=%2 "
        "or abs(coalesce(sum(ka),0)-coalesce(sum(wa),0))>=%3 order by 编码")
                            .arg(parts.join(QStringLiteral(" union all ")), QString::number(kQuantityTolerance, 'f', 5),
                                 QString::number(kMoneyTolerance, 'f', 3));
    QSqlQuery q = s.run(sql);
    while (q.next()) {
        const QString code = q.value(0).toString();
        const int rows = q.value(1).toInt();
        const double totalQ = q.value(2).toDouble(), sumQ = q.value(3).toDouble();
        const double totalA = q.value(4).toDouble(), sumA = q.value(5).toDouble();
        if (rows == 0)
            out.add(kStock, QStringLiteral("商品[%1]在仓库库存表中有记录, 但库存中没有 (各仓库合计数量 %2, 金额 %3)")
                                .arg(code, numberText(sumQ), money(sumA)));
        else if (rows > 1)
            out.add(kStock, QStringLiteral("商品[%1]在库存中有 %2 条记录").arg(code).arg(rows));
        else
            out.add(kStock, QStringLiteral("商品[%1]: 库存数量 %2, 金额 %3; 各仓库合计数量 %4, 金额 %5")
                                .arg(code, numberText(totalQ), money(totalA), numberText(sumQ), money(sumA)));
    }
    report.checked << QStringLiteral("库存: %1 种商品, %2 个仓库").arg(goods).arg(tables);
    // 库存2 is a second total that the stock take and the system initialization leave alone;
    // nothing reads it, so it has no rule to hold against 库存.
    report.checked << QStringLiteral("库存2: 不与仓库合计核对 (盘点和系统初始化不改变它)");
}

// One side of the money that bills create: receivables or payables.
struct MoneySide
{
    QString area;
    QString itemTable;
    QString itemCode;
    QString itemAmount;
    QString manualPrefix;
    QStringList masters;   // bill tables whose audits write the rows
    QList<int> signs;      // +1: the row carries the total; −1: minus the total (returns)
};

QList<MoneySide> moneySides()
{
    MoneySide receivable{kReceivables, QStringLiteral("销售应收款表"), QStringLiteral("应收款编码"), QStringLiteral("应收款"),
                         QStringLiteral("ysk"), {}, {}};
    MoneySide payable{kPayables, QStringLiteral("采购应付款表"), QStringLiteral("应付款编码"), QStringLiteral("应付金额"),
                      QStringLiteral("yfk"), {}, {}};
    for (const docs::BillDescriptor &d : docs::allBills()) {
        MoneySide *side = nullptr;
        int sign = 1;
        switch (d.money) {
        case docs::MoneyStep::Receivable:
            side = &receivable;
            break;
        case docs::MoneyStep::NegativeReceivable:
            side = &receivable;
            sign = -1;
            break;
        case docs::MoneyStep::Payable:
            side = &payable;
            break;
        case docs::MoneyStep::NegativePayable:
            side = &payable;
            sign = -1;
            break;
        default:
            break;
        }
        if (side && !side->masters.contains(d.masterTable)) {
            side->masters << d.masterTable;
            side->signs << sign;
        }
    }
    return {receivable, payable};
}

void checkMoney(Session &s, ConsistencyReport &report, Collector &out, const MoneySide &side)
{
    const QString amountFloor = QString::number(kMoneyTolerance - 0.001, 'f', 3); // a total of at least one cent
    qint64 bills = 0;
    // Every audited bill with a total has exactly one row of its amount.
    for (int i = 0; i < side.masters.size(); ++i) {
        const QString &master = side.masters.at(i);
        const QString expected = side.signs.at(i) < 0 ? QStringLiteral("-m.金额合计") : QStringLiteral("m.金额合计");
        bills += countOf(s, QStringLiteral("select count(*) from %1 where 审核标志=1 and 金额合计>%2").arg(master, amountFloor));
        QSqlQuery q = s.run(QStringLiteral("select m.单号,m.金额合计,count(i.处理单据),coalesce(sum(i.%1),0) from %2 m "
                                           "left join %3 i on i.处理单据=m.单号 "
                                           "where m.审核标志=1 and m.金额合计>%4 group by m.单号,m.金额合计 "
                                           "having count(i.处理单据)<>1 or abs(coalesce(sum(i.%1),0)-(%5))>=%6 order by m.单号")
                                .arg(side.itemAmount, master, side.itemTable, amountFloor, expected,
                                     QString::number(kMoneyTolerance, 'f', 3)));
        while (q.next()) {
            const QString number = q.value(0).toString();
            const double total = q.value(1).toDouble();
            const int rows = q.value(2).toInt();
            const double amount = side.signs.at(i) * total;
            if (rows == 0)
                out.add(side.area, QStringLiteral("已审核单据[%1](%2, 金额 %3)没有%4").arg(number, master, money(total), side.area));
            else if (rows > 1)
                out.add(side.area, QStringLiteral("已审核单据[%1](%2)有 %3 条%4").arg(number, master).arg(rows).arg(side.area));
            else
                out.add(side.area, QStringLiteral("已审核单据[%1](%2)的%3金额为 %4, 应为 %5")
                                       .arg(number, master, side.area, money(q.value(3).toDouble()), money(amount)));
        }
    }

    // Every row that names a bill has that bill, audited.
    QStringList audited, present;
    for (const QString &master : side.masters) {
        audited << QStringLiteral("not exists (select 1 from %1 m where m.单号=i.处理单据 and m.审核标志=1)").arg(master);
        present << QStringLiteral("exists (select 1 from %1 m where m.单号=i.处理单据)").arg(master);
    }
    const qint64 rows = countOf(s, QStringLiteral("select count(*) from %1").arg(side.itemTable));
    QSqlQuery q = s.run(QStringLiteral("select i.%1,i.处理单据,case when %2 then 1 else 0 end from %3 i "
                                       "where i.处理单据 is not null and i.处理单据<>'' and i.处理单据<>'0' "
                                       "and substr(i.处理单据,1,3)<>? and %4 order by i.%1")
                            .arg(side.itemCode, present.join(QStringLiteral(" or ")), side.itemTable,
                                 audited.join(QStringLiteral(" and "))),
                        {side.manualPrefix});
    while (q.next()) {
        const QString code = q.value(0).toString();
        const QString bill = q.value(1).toString();
        if (q.value(2).toInt() == 1)
            out.add(side.area, QStringLiteral("%1[%2]的单据[%3]没有审核").arg(side.area, code, bill));
        else
            out.add(side.area, QStringLiteral("%1[%2]的单据[%3]不存在").arg(side.area, code, bill));
    }
    report.checked << QStringLiteral("%1: %2 张有金额的已审核单据, %3 条%1").arg(side.area).arg(bills).arg(rows);
}

void checkAccounts(Session &s, ConsistencyReport &report, Collector &out)
{
    struct Account
    {
        QString name;
        double opening = 0;
        double balance = 0;
        double moves = 0;      // audited ledger movements: in − out
        double last = 0;       // 余额 of the account's latest ledger row read so far
        bool started = false;
    };
    QList<Account> accounts;
    QHash<QString, int> byName;
    {
        QSqlQuery q = s.run(QStringLiteral("select 账户名称,coalesce(期初额,0),coalesce(期未额,0) from 银行帐户表 order by 编号"));
        while (q.next()) {
            Account a;
            a.name = q.value(0).toString();
            a.opening = q.value(1).toDouble();
            a.balance = q.value(2).toDouble();
            if (!byName.contains(a.name))
                byName.insert(a.name, int(accounts.size()));
            accounts.append(a);
        }
    }

    // One pass over the audited ledger in posting order: each row's balance is the one before it
    // in its account (the opening amount for the first) plus what came in less what went out.
    qint64 rows = 0;
    QHash<QString, qint64> orphans;
    QSqlQuery q = s.run(QStringLiteral("select 备注,流水号,自动编码,coalesce(借方发生,0),coalesce(贷方发生,0),coalesce(余额,0) "
                                       "from 现金明细表 where 审核状态='1' order by 流水号,自动编码"));
    while (q.next()) {
        ++rows;
        const QString name = q.value(0).toString();
        const auto it = byName.constFind(name);
        if (it == byName.constEnd()) {
            ++orphans[name];
            continue;
        }
        Account &a = accounts[*it];
        const double in = q.value(3).toDouble();
        const double outAmount = q.value(4).toDouble();
        const double balance = q.value(5).toDouble();
        const double before = a.started ? a.last : a.opening;
        if (!(std::fabs(before + in - outAmount - balance) < kMoneyTolerance))
            out.add(kLedger, QStringLiteral("账户[%1]流水号 %2 (%3): 余额 %4, 上一余额 %5 加借方 %6 减贷方 %7 应为 %8")
                                 .arg(name, q.value(1).toString(), q.value(2).toString(), money(balance), money(before),
                                      money(in), money(outAmount), money(before + in - outAmount)));
        a.moves += in - outAmount;
        a.last = balance;
        a.started = true;
    }
    for (auto it = orphans.cbegin(); it != orphans.cend(); ++it)
        out.add(kLedger, QStringLiteral("%1 条流水的账户[%2]不存在").arg(it.value()).arg(it.key()));

    // Accounts of one name share their ledger rows; each is held against all of them.
    for (Account &a : accounts) {
        const Account &first = accounts.at(byName.value(a.name));
        if (!(std::fabs(a.opening + first.moves - a.balance) < kMoneyTolerance))
            out.add(kAccounts, QStringLiteral("账户[%1]: 余额 %2, 期初额 %3 加流水发生额 %4 应为 %5")
                                   .arg(a.name, money(a.balance), money(a.opening), money(first.moves), money(a.opening + first.moves)));
    }
    report.checked << QStringLiteral("账户: %1 个账户的余额").arg(accounts.size());
    report.checked << QStringLiteral("现金明细: %1 条已审核流水的余额").arg(rows);
}

} // namespace

ConsistencyReport checkConsistency(Session &session, const std::function<void(const QString &)> &progress)
{
    auto step = [&progress](const QString &text) {
        if (progress)
            progress(text);
    };
    ConsistencyReport report;
    Collector out(report);
    ReadSnapshot snapshot(session);
    step(QStringLiteral("核对库存与各仓库合计…"));
    checkStock(session, report, out);
    for (const MoneySide &side : moneySides()) {
        step(QStringLiteral("核对%1…").arg(side.area));
        checkMoney(session, report, out, side);
    }
    step(QStringLiteral("核对账户余额与现金明细…"));
    checkAccounts(session, report, out);
    out.finish();
    return report;
}

} // namespace tavomi::maintenance
