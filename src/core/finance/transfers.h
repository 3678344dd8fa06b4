#pragma once

#include <QString>
#include <QVariantList>

namespace tavomi {
class Session;
}

namespace tavomi::finance {

// A movement of money between two accounts (存取款表). Saved unaudited with two provisional
// ledger rows; the audit moves the money and writes the rows with the real balances.
struct Transfer
{
    QString number;      // 单据, empty for a new transfer
    QString date;
    QString amountText;
    QString from;        // 转出帐户
    QString to;          // 转入帐户
    QString handler;     // 经手人
    QString reference;   // 相关单据
    QString remark;
};

inline const QString kTransferOutMissing = QStringLiteral("转出账户不存在!");
inline const QString kTransferInMissing = QStringLiteral("转入账户不存在!");

class Transfers
{
public:
    explicit Transfers(Session &session);

    // Checks and stores the transfer (new or modify); returns its number.
    QString save(const Transfer &transfer);
    bool isAudited(const QString &number) const;
    // Needs 审核单据; refuses an audited transfer.
    void audit(const QString &number);
    // Refuses an audited transfer.
    void remove(const QString &number);

private:
    QString saveOnce(const Transfer &transfer, double amount);
    void auditOnce(const QString &number);
    void removeOnce(const QString &number);
    void writeProvisionalRows(const QString &number, const Transfer &t, double amount);
    Session &m_s;
};

// The ledger's detail query: movements that took effect, of one account exactly (empty or
// "全部" for all), newest first with the serial as the tie-break.
QString ledgerQuery(const QString &account, const QString &from, const QString &to, QVariantList *values);

} // namespace tavomi::finance
