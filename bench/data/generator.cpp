#include "generator.h"

#include "common/clock.h"
#include "common/error.h"
#include "common/session.h"
#include "common/transaction.h"
#include "documents/bill_store.h"
#include "documents/sales_rules.h"
#include "finance/settlement.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace tavomi::bench {

namespace {

const QString kCustomerClasses[] = {QStringLiteral("批价"), QStringLiteral("售价"), QStringLiteral("价格6"), QStringLiteral("价格12")};

qint64 count(Session &s, const QString &sql)
{
    return s.scalar(sql, {}, 0).toLongLong();
}

// Money owed for a bill that is paid later: the bill, its partner and the share paid (1 = all).
struct Due
{
    QString bill;
    QString partner;
    QString account;
    bool half = false;
    bool receivable = false;
};

class Generator
{
public:
    Generator(Session &session, const GenerateOptions &options, const Progress &progress)
        : m_s(session)
        , m_o(options)
        , m_z(options.sizes)
        , m_progress(progress)
        , m_random(options.seed)
        , m_receipts(session, docs::BillKind::PurchaseReceipt)
        , m_shipments(session, docs::BillKind::SalesShipment)
        , m_collections(session, finance::receivables())
        , m_payments(session, finance::payables())
    {}

    void run()
    {
        if (count(m_s, QStringLiteral("select count(*) from 商品")) > 0)
            throw Error(QStringLiteral("the database already holds goods: generate into an empty database"));
        const QDate last = m_o.lastDay.isValid() ? m_o.lastDay : QDate(2026, 3, 14);
        m_firstDay = last.addDays(1 - m_z.days);
        Clock::setFixed(QDateTime(m_firstDay.addDays(-1), QTime(8, 0, 0)));
        masterData();
        bills();
        Clock::setFixed(QDateTime(last, QTime(18, 0, 0)));
    }

private:
    void report(const QString &phase, double done, double units, const QString &unit, bool force = false)
    {
        if (!m_progress)
            return;
        if (!force && m_lastReport.isValid() && m_lastReport.elapsed() < 2000)
            return;
        const double seconds = std::max(0.001, double(m_phaseClock.nsecsElapsed()) / 1e9);
        m_progress(phase, done, units / seconds, unit);
        m_lastReport.start();
    }

    void startPhase()
    {
        m_phaseClock.start();
        m_lastReport.invalidate();
    }

    void masterData()
    {
        startPhase();
        const QString phase = QStringLiteral("master data");
        {
            TransactionGuard tx(m_s);
            createCategories(m_s, m_z);
            createAccounts(m_s);
            createSuppliers(m_s, m_z.suppliers);
            createCustomers(m_s, m_z.customers);
            tx.commit();
        }
        report(phase, 0.02, m_z.customers + m_z.suppliers, QStringLiteral("partners"), true);
        const int chunk = 5000;
        for (int from = 0; from < m_z.goods; from += chunk) {
            const int to = std::min(m_z.goods, from + chunk);
            bulkGoods(m_s, m_z, from, to);
            report(phase, 0.02 + 0.9 * double(to) / m_z.goods, to, QStringLiteral("goods"), to == m_z.goods);
        }
        createWarehouses(m_s, m_z.warehouses);
        report(phase, 1.0, m_z.goods, QStringLiteral("goods"), true);

        m_stock.assign(size_t(m_z.goods), 0.0);
    }

    int home(int goods) const
    {
        return int((qint64(goods) * 2654435761LL) % m_z.warehouses);
    }

    // Splits `total` over `parts` near-equal shares; share i.
    static qint64 share(qint64 total, qint64 parts, qint64 i)
    {
        return (total * (i + 1)) / parts - (total * i) / parts;
    }

    void bills()
    {
        startPhase();
        const qint64 purchaseBills = std::max<qint64>(1, (m_z.purchaseLines + m_z.linesPerPurchase - 1) / m_z.linesPerPurchase);
        const qint64 salesBills = std::max<qint64>(1, (m_z.salesLines + m_z.linesPerSale - 1) / m_z.linesPerSale);
        const double totalLines = double(m_z.purchaseLines + m_z.salesLines);
        qint64 purchaseLinesLeft = m_z.purchaseLines;
        qint64 salesLinesLeft = m_z.salesLines;
        qint64 purchaseBillsLeft = purchaseBills;
        qint64 salesBillsLeft = salesBills;
        qint64 linesDone = 0;
        int commands = 0;

        m_s.begin();
        for (int day = 0; day < m_z.days; ++day) {
            const QDate date = m_firstDay.addDays(day);
            const int purchasesToday = int(share(purchaseBills, m_z.days, day));
            const int salesToday = int(share(salesBills, m_z.days, day));
            auto dueIt = m_due.find(day);
            const int moneyToday = dueIt == m_due.end() ? 0 : int(dueIt->second.size());
            const int events = purchasesToday + salesToday + moneyToday;
            const int step = std::max(2, 36000 / (events + 1));
            int slot = 0;
            auto at = [&] { Clock::setFixed(QDateTime(date, QTime(8, 0, 0).addSecs(qint64(step) * slot++))); };
            auto maybeCommit = [&] {
                if (++commands % m_o.commitEvery == 0) {
                    m_s.commit();
                    m_s.begin();
                }
            };

            if (dueIt != m_due.end()) {
                for (const Due &d : dueIt->second) {
                    at();
                    settle(d);
                    maybeCommit();
                }
                m_due.erase(dueIt);
            }
            for (int b = 0; b < purchasesToday; ++b) {
                at();
                const qint64 lines = purchaseBillsLeft == 1 ? purchaseLinesLeft
                                                            : std::max<qint64>(1, jitter(purchaseLinesLeft / purchaseBillsLeft));
                const int n = int(std::min(lines, purchaseLinesLeft));
                --purchaseBillsLeft;
                if (n <= 0)
                    continue;
                purchaseLinesLeft -= n;
                linesDone += n;
                receipt(day, n);
                maybeCommit();
            }
            for (int b = 0; b < salesToday; ++b) {
                at();
                const qint64 lines = salesBillsLeft == 1 ? salesLinesLeft : std::max<qint64>(1, jitter(salesLinesLeft / salesBillsLeft));
                const int n = int(std::min(lines, salesLinesLeft));
                --salesBillsLeft;
                if (n <= 0)
                    continue;
                salesLinesLeft -= n;
                linesDone += n;
                // The last day's shipments wait for their audit.
                shipment(day, n, day < m_z.days - 1);
                maybeCommit();
            }
            report(QStringLiteral("bills %1").arg(date.toString(QString::fromLatin1(kDateFormat))), double(linesDone) / totalLines,
                   double(linesDone), QStringLiteral("lines"));
        }
        m_s.commit();
        report(QStringLiteral("bills"), 1.0, double(linesDone), QStringLiteral("lines"), true);
    }

    // A line count near n: between half and one and a half times.
    qint64 jitter(qint64 n)
    {
        if (n < 2)
            return n;
        return n / 2 + qint64(m_random.bounded(quint32(n + 1)));
    }

    void receipt(int day, int lines)
    {
        const int supplier = int(m_random.bounded(quint32(m_z.suppliers)));
        docs::Bill b;
        b.header.partnerCode = supplierCode(supplier);
        b.header.partnerName = supplierName(supplier);
        b.header.account = accountName(1);
        b.header.summary = QStringLiteral("进货");
        for (int i = 0; i < lines; ++i) {
            // Goods are bought in turn, so every goods is in stock early and bought again later.
            const int g = int(m_nextPurchase++ % m_z.goods);
            m_purchased = std::max(m_purchased, std::min<qint64>(m_nextPurchase, m_z.goods));
            docs::BillLine l;
            l.row = i + 1;
            l.code = goodsCode(m_z, g);
            l.name = goodsName(g);
            l.unit = QStringLiteral("件");
            l.quantity = 2 + m_random.bounded(9);
            l.price = std::round(goodsCost(g) * 24 * (0.95 + 0.1 * m_random.generateDouble()) * 100) / 100;
            l.warehouse = warehouseName(home(g));
            b.lines.append(l);
            m_stock[size_t(g)] += l.quantity * 24;
        }
        const QString number = m_receipts.save(b, false).number;
        m_receipts.audit(number);
        if (int(m_random.bounded(100)) < m_z.payPercent)
            schedule(day + 5 + int(m_random.bounded(40)), {number, b.header.partnerName, accountName(1 + int(m_random.bounded(2))), false, false});
    }

    void shipment(int day, int lines, bool audit)
    {
        // A few customers buy much more than the rest.
        const double u = m_random.generateDouble();
        const int customer = std::min(m_z.customers - 1, int(std::pow(u, 2.0) * m_z.customers));
        const QString customerCodeText = customerCode(customer);
        const QString priceClass = kCustomerClasses[customer % 4];
        docs::Bill b;
        b.header.partnerCode = customerCodeText;
        b.header.partnerName = customerName(customer);
        b.header.account = accountName(customer % kAccounts);
        b.header.summary = QStringLiteral("销售");
        std::vector<int> taken;
        for (int i = 0; i < lines; ++i) {
            int g = -1;
            double base = 0;
            bool big = false;
            double quantity = 0;
            for (int attempt = 0; attempt < 12 && g < 0; ++attempt) {
                const int c = int(m_random.bounded(quint32(std::max<qint64>(1, m_purchased))));
                big = m_random.bounded(10) == 0;
                quantity = big ? 1 + m_random.bounded(2) : 1 + m_random.bounded(12);
                base = big ? quantity * 24 : quantity;
                if (m_stock[size_t(c)] >= base && std::find(taken.begin(), taken.end(), c) == taken.end())
                    g = c;
            }
            if (g < 0)
                continue;
            taken.push_back(g);
            m_stock[size_t(g)] -= base;
            docs::BillLine l;
            l.row = int(b.lines.size()) + 1;
            l.code = goodsCode(m_z, g);
            l.name = goodsName(g);
            l.unit = big ? QStringLiteral("件") : QStringLiteral("瓶");
            l.quantity = quantity;
            const std::optional<double> price = docs::salesPrice(m_s, l.code, customerCodeText, priceClass, true);
            const double perBottle = price ? *price : goodsCost(g) * 1.3;
            l.price = std::round(perBottle * (big ? 24 : 1) * 100) / 100;
            l.discount = m_random.bounded(10) == 0 ? 0.95 : 1.0;
            l.warehouse = warehouseName(home(g));
            b.lines.append(l);
        }
        if (b.lines.isEmpty())
            return;
        const QString number = m_shipments.save(b, false).number;
        if (!audit)
            return;
        m_shipments.audit(number);
        if (int(m_random.bounded(100)) < m_z.collectPercent)
            schedule(day + int(m_random.bounded(31)),
                     {number, b.header.partnerName, b.header.account, m_random.bounded(10) == 0, true});
    }

    void schedule(int day, const Due &due)
    {
        if (day < m_z.days)
            m_due[day].push_back(due);
    }

    // A collection or payment of a bill's open item, posted and audited.
    void settle(const Due &d)
    {
        const bool receivable = d.receivable;
        const finance::SettlementDescriptor &sd = receivable ? finance::receivables() : finance::payables();
        QSqlQuery q = m_s.run(QStringLiteral("select %1,%2 from %3 where 处理单据=? and 付清状态=?").arg(sd.itemCode, sd.itemOwed, sd.itemTable),
                              {d.bill, finance::kStateOpen});
        if (!q.next())
            return;
        const QString code = q.value(0).toString();
        const double owed = q.value(1).toDouble();
        q.finish();
        if (owed <= 0.004)
            return;
        finance::MoneyRequest r;
        r.partner = d.partner;
        r.bill = d.bill;
        r.code = code;
        r.amountText = QString::number(d.half ? std::round(owed * 50) / 100 : owed, 'f', 2);
        r.date = Clock::today();
        r.method = d.account == accountName(0) ? QStringLiteral("现金") : QStringLiteral("转账");
        r.account = d.account;
        r.handler = QStringLiteral("系统管理员");
        finance::Settlement &s = receivable ? m_collections : m_payments;
        const finance::PostingResult posted = s.post(r);
        if (!posted.moneyCode.isEmpty())
            s.audit(posted.moneyCode);
    }

    Session &m_s;
    const GenerateOptions &m_o;
    const Sizes &m_z;
    const Progress &m_progress;
    QRandomGenerator m_random;
    docs::BillStore m_receipts;
    docs::BillStore m_shipments;
    finance::Settlement m_collections;
    finance::Settlement m_payments;
    QDate m_firstDay;
    std::vector<double> m_stock; // base units per goods in its warehouse, as the bills leave it
    qint64 m_nextPurchase = 0;
    qint64 m_purchased = 0;       // goods 0 … m_purchased-1 have been bought at least once
    std::map<int, std::vector<Due>> m_due;
    QElapsedTimer m_phaseClock;
    QElapsedTimer m_lastReport;
};

} // namespace

QString CompanyCounts::text() const
{
    return QStringLiteral("goods %1, categories %2, warehouses %3, customers %4, suppliers %5, purchase bills %6 (%7 lines), "
                          "sales bills %8 (%9 lines, %10 audited), receivables %11, collections %12, payables %13, payments %14, "
                          "ledger rows %15")
        .arg(goods)
        .arg(categories)
        .arg(warehouses)
        .arg(customers)
        .arg(suppliers)
        .arg(purchaseBills)
        .arg(purchaseLines)
        .arg(salesBills)
        .arg(salesLines)
        .arg(auditedSalesBills)
        .arg(receivables)
        .arg(collections)
        .arg(payables)
        .arg(payments)
        .arg(ledgerRows);
}

CompanyCounts countCompany(Session &s)
{
    CompanyCounts c;
    c.goods = count(s, QStringLiteral("select count(*) from 商品"));
    c.categories = count(s, QStringLiteral("select count(*) from 类别"));
    c.warehouses = count(s, QStringLiteral("select count(*) from 货位"));
    c.customers = count(s, QStringLiteral("select count(*) from 客户"));
    c.suppliers = count(s, QStringLiteral("select count(*) from 供应商"));
    c.purchaseBills = count(s, QStringLiteral("select count(*) from 进货主"));
    c.purchaseLines = count(s, QStringLiteral("select count(*) from 进货子"));
    c.salesBills = count(s, QStringLiteral("select count(*) from 销售主"));
    c.salesLines = count(s, QStringLiteral("select count(*) from 销售子"));
    c.auditedSalesBills = count(s, QStringLiteral("select count(*) from 销售主 where 审核标志=1"));
    c.receivables = count(s, QStringLiteral("select count(*) from 销售应收款表"));
    c.collections = count(s, QStringLiteral("select count(*) from 销售收款表"));
    c.payables = count(s, QStringLiteral("select count(*) from 采购应付款表"));
    c.payments = count(s, QStringLiteral("select count(*) from 采购付款表"));
    c.ledgerRows = count(s, QStringLiteral("select count(*) from 现金明细表"));
    return c;
}

void generate(Session &session, const GenerateOptions &options, const Progress &progress)
{
    Generator g(session, options, progress);
    g.run();
}

} // namespace tavomi::bench
