#pragma once

#include "documents/bill.h"
#include "documents/bill_descriptor.h"
#include "documents/stock_ledger.h"

#include <QStringList>

namespace tavomi {
class Session;
}

namespace tavomi::docs {

// Saves, loads, deletes, audits and un-audits the bills of one type. Every command is one
// transaction; state changes only happen where the stored flag still has the expected value.
class BillStore
{
public:
    BillStore(Session &session, const BillDescriptor &descriptor);
    BillStore(Session &session, BillKind kind);

    const BillDescriptor &descriptor() const { return m_d; }

    // A number for a new bill: prefix + date + time, moved on while it is taken.
    QString newNumber() const;
    // Unaudited bills, oldest first.
    QStringList unauditedNumbers() const;
    bool exists(const QString &number) const;
    // Throws Error when the bill does not exist.
    Bill load(const QString &number) const;

    struct SaveResult
    {
        QString number;
        int kept = 0;
        int dropped = 0;        // lines whose code is not an active goods
        bool discarded = false; // no line was kept: nothing stays
        bool renumbered = false;
    };
    // New (modify = false) or replacing an unaudited bill (modify = true). Amounts are recomputed
    // from quantity × price × discount and rounded to cents.
    SaveResult save(Bill &bill, bool modify);
    void remove(const QString &number);
    // Returns the message that closes a successful audit.
    QString audit(const QString &number);
    void unaudit(const QString &number);
    // Throws the refusal unaudit() would give (permission, stored flag, money guard) without
    // changing anything, so the form can refuse before it asks for confirmation.
    void checkUnaudit(const QString &number);

    // Stock check of a sales bill: whether the warehouse of a line holds what the bill takes of that
    // goods from that warehouse over all its lines (a missing stock table or row holds nothing).
    // Checks line `index`, or every line in order when index < 0; returns the first line short of
    // stock with its warning in `message`, or -1.
    int stockShortage(const Bill &bill, int index, QString *message);

    // The line amount rule of the grid.
    static double lineAmount(const BillLine &line);

private:
    SaveResult saveOnce(Bill &bill, bool modify);
    void removeOnce(const QString &number);
    QString auditOnce(const QString &number);
    void unauditOnce(const QString &number);
    QString masterDateColumn() const;
    QString masterTimeColumn() const;
    void insertMaster(const Bill &bill);
    void insertLine(const Bill &bill, const BillLine &line, int row);
    QList<BillLine> savedLines(const QString &number) const;
    void post(const Bill &bill, int direction);
    QString moneyStep(const Bill &bill);
    void moneyGuard(const Bill &bill);
    void moneyReverse(const Bill &bill);
    void closeOrder(const Bill &bill, bool audit);
    void rememberPrice(const QString &customerCode, const BillLine &line, const GoodsUnits &goods);

    Session &m_s;
    const BillDescriptor &m_d;
};

} // namespace tavomi::docs
