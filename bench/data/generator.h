#pragma once

#include "bench_company.h"

#include <QString>

#include <functional>

namespace tavomi::bench {

// Where the generator is: the phase, how much of it is done (0…1) and its rate in units per second.
using Progress = std::function<void(const QString &phase, double done, double rate, const QString &unit)>;

struct GenerateOptions
{
    Sizes sizes;
    quint32 seed = 20260315;
    int commitEvery = 200;     // engine commands per outer transaction
    QDate lastDay;             // the last business day; default 2026-03-14
};

// What a generated company holds, counted from the database.
struct CompanyCounts
{
    qint64 goods = 0;
    qint64 categories = 0;
    qint64 warehouses = 0;
    qint64 customers = 0;
    qint64 suppliers = 0;
    qint64 purchaseBills = 0;
    qint64 purchaseLines = 0;
    qint64 salesBills = 0;
    qint64 salesLines = 0;
    qint64 auditedSalesBills = 0;
    qint64 receivables = 0;
    qint64 collections = 0;
    qint64 payables = 0;
    qint64 payments = 0;
    qint64 ledgerRows = 0;

    QString text() const;
};
CompanyCounts countCompany(Session &session);

// Builds a company on an empty database through the engine's own commands: categories,
// accounts, suppliers and customers through the master-data services, goods by bulkGoods,
// warehouses through the warehouse service; then, day by day over the period, the day's
// collections and payments of earlier bills (posted and audited), purchase receipts (saved and
// audited: stock, cost price, payable) and sales shipments (priced by the sales price rule, saved
// and audited: stock, price memory, receivable). Sales take only what the warehouse holds. The
// clock is pinned to each command's moment. Throws Error when the database already holds goods.
void generate(Session &session, const GenerateOptions &options, const Progress &progress = {});

} // namespace tavomi::bench
