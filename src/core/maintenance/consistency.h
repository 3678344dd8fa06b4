#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace tavomi {
class Session;
}

namespace tavomi::maintenance {

struct Difference
{
    QString area; // "库存", "应收款", "应付款", "账户", "现金明细"
    QString text;
};

struct ConsistencyReport
{
    QStringList checked;           // one line per thing checked, e.g. "库存: 1200 种商品, 20 个仓库"
    QList<Difference> differences;
    bool ok() const { return differences.isEmpty(); }
};

// Whether the running totals of the database agree with what they are made of:
// - 库存 holds, for every goods, the sum of its rows in the warehouse stock tables (quantity, and
//   amount in cents); a goods in a warehouse table without a 库存 row is a difference too;
// - every audited bill with a total above 0 that creates money has exactly one receivable or
//   payable of its amount (returns: of minus its amount), and every receivable or payable that
//   names a bill (not a hand-entered "ysk"/"yfk" row) has that bill, audited;
// - every account's balance is its opening amount plus its audited ledger movements, and the
//   ledger's balances follow each other per account in 流水号 order.
// Reads only, in one read transaction when none is open (a snapshot on PostgreSQL), with a few
// set-based statements. progress (may be empty) gets a short text per step.
ConsistencyReport checkConsistency(Session &session, const std::function<void(const QString &)> &progress = {});

} // namespace tavomi::maintenance
