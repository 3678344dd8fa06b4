#pragma once

// What the benchmarks and the data generator share: the names of the generated master data, the
// sizes of a company, opening a session on SQLite or PostgreSQL, and the bulk steps that write
// the same rows the master-data services write.

#include "common/connection_settings.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace tavomi {
class Session;
}

namespace tavomi::bench {

// The sizes of a generated company. scaled(1.0) is the large company: 100,000 goods, 20
// warehouses, 5,000 customers, 1,000 suppliers, two years of bills with about 1,000,000 sales
// lines and 200,000 purchase lines. A bill keeps its size at every scale.
struct Sizes
{
    int goods = 100000;
    int warehouses = 20;
    int customers = 5000;
    int suppliers = 1000;
    int rootCategories = 10;   // each with subCategories leaves; goods are spread over the leaves
    int subCategories = 10;
    int days = 730;
    qint64 salesLines = 1000000;
    qint64 purchaseLines = 200000;
    int linesPerSale = 20;     // average; a bill has between half and one and a half times this
    int linesPerPurchase = 40;
    int collectPercent = 85;   // of the receivables, collected (audited) some days later
    int payPercent = 90;       // of the payables, paid

    static Sizes scaled(double factor);
};

// Names of the generated master data (index from 0).
QString rootCategoryCode(int r);      // "11" … : two characters, goods prefix "1100"
QString leafCategoryCode(int r, int s); // "1101" …
QString goodsCode(const Sizes &sizes, int i);
QString goodsName(int i);
// The cost price per bottle bulkGoods gives goods i.
double goodsCost(int i);
QString customerCode(int i);
QString customerName(int i);
QString supplierCode(int i);
QString supplierName(int i);
QString warehouseName(int w);
QString accountName(int a);           // 现金, 工商银行, 建设银行
inline constexpr int kAccounts = 3;

// A SQLite file (PostgreSQL: ConnectionSettings::postgres).
ConnectionSettings sqliteSettings(const QString &file);

// Opens the session, creates or checks the schema, makes it the current session and logs in as
// the administrator (0001) in this process.
void openCompany(Session &session, const ConnectionSettings &settings);
void loginAsAdmin();

// Goods with their zero stock rows in 库存, 库存2 and every warehouse table that exists, and the
// log row addGoods writes: the rows of the goods service, by prepared statements (the service
// checks every new code against all stored codes, too slow for 100,000 goods). The unit scheme
// is 瓶 with 24 to the 件. Joins the caller's transaction, or opens its own.
void bulkGoods(Session &session, const Sizes &sizes, int from, int to);
// Categories through the category service.
void createCategories(Session &session, const Sizes &sizes);
// Warehouses through the warehouse service (each gets its stock table, seeded from 库存).
void createWarehouses(Session &session, int count);
// Customers and suppliers through the shared master-data store; customers get the four price
// classes in turn.
void createCustomers(Session &session, int count);
void createSuppliers(Session &session, int count);
// The money accounts through the basic lists, with their opening amounts.
void createAccounts(Session &session);

// A throw-away SQLite company in a temporary folder, for the benchmarks that build their own
// data: goods, warehouses and optionally customers, without bills.
class ScratchCompany
{
public:
    ScratchCompany(const QString &connectionName, const Sizes &sizes, bool withCustomers);
    ~ScratchCompany();
    Session &session() { return *m_session; }
    const Sizes &sizes() const { return m_sizes; }

private:
    QTemporaryDir m_dir;
    Sizes m_sizes;
    std::unique_ptr<Session> m_session;
};

} // namespace tavomi::bench
