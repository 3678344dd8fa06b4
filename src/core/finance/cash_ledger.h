#pragma once

#include <QString>

namespace tavomi {
class Session;
}

namespace tavomi::finance {

// The kinds of money movement and the side of the account each one lands on.
enum class MoneyType {
    SalesCollection,          // 销售收款出入: in
    CustomerReturnPayout,     // 客户退货支出: out
    SalesCollectionReversal,  // 销售收款收入反冲流: out
    CustomerReturnReversal,   // 客户退货支出反冲流: in
    PurchasePayment,          // 采购付款支出: out
    PurchaseReturnRefund,     // 采购退货款收入: in
    PurchasePaymentReversal,  // 采购付款支出反冲流: in
    PurchaseRefundReversal,   // 采购退货款收入反冲流: out
    TransferOut,              // 银行存取款(转出): out
    TransferIn,               // 银行存取款(转入): in
};

QString moneyTypeName(MoneyType type);
// +1 when the money comes into the account, −1 when it leaves.
int moneyTypeSide(MoneyType type);

struct Movement
{
    QString account;     // 账户名称 of 银行帐户表
    QString sourceCode;  // the collection, payment, transfer or other record
    QString date;        // its business date
    QString businessType;// 业务类型 written to the ledger
    double in = 0;       // 借方发生
    double out = 0;      // 贷方发生
    QString reference;   // 票据号码
};

// Moves money: changes the account's balance relatively and writes the ledger row with the
// balance right after it. Runs in the caller's transaction. Throws Error when the account does
// not exist (missingAccountText). Returns the new balance.
double postMovement(Session &session, const Movement &movement,
                    const QString &missingAccountText = QStringLiteral("账户不存在!"));
// A movement of a known kind for a positive amount (the side comes from the kind).
double postMovement(Session &session, MoneyType type, const QString &account, double amount, const QString &sourceCode,
                    const QString &date, const QString &reference, const QString &missingAccountText = QStringLiteral("账户不存在!"));

double accountBalance(Session &session, const QString &account);

} // namespace tavomi::finance
