#pragma once

#include "finance/cash_ledger.h"

#include <QList>
#include <QtGlobal>
#include <QtNumeric>
#include <QString>

namespace tavomi {
class Session;
}

namespace tavomi::finance {

// Receivables with their collections and payables with their payments are one design: open
// items owed by (or to) a partner, cleared by money rows that reach an account when audited.
// A descriptor names the tables, columns, codes, texts and the side of the money.
struct SettlementDescriptor
{
    bool receivable = true;

    // open items
    QString itemTable;        // 销售应收款表
    QString itemPartner;      // 客户名称
    QString itemCode;         // 应收款编码
    QString itemDue;          // 收款日期
    QString itemAmount;       // 应收款
    QString itemSettled;      // 已收款
    QString itemOwed;         // 欠款
    QString itemCodePrefix;   // YS
    QString manualPrefix;     // ysk

    // money rows
    QString moneyTable;       // 销售收款表
    QString moneyPartner;     // 客户名称
    QString moneyCode;        // 收款单编码
    QString moneyDate;        // 收款日期
    QString moneyAmount;      // 收款金额
    QString moneyMethod;      // 收款方式
    QString moneyAccount;     // 收款去向
    QString moneyItemRef;     // 处理单号
    QString moneyPrefix;      // SK

    MoneyType auditType;         // money of 0 or more at audit
    MoneyType auditNegativeType; // negative money at audit
    MoneyType deleteType;        // deleting an audited row of 0 or more
    MoneyType deleteNegativeType;

    // texts
    QString partnerWord;          // 客户 / 供应商
    QString noOpenItemsText;      // 此客户没有欠款!
    QString choosePartnerText;    // 请先选择客户
    QString emptyAccountText;     // 请确保收款方式和收款去向不为空!
    QString badAmountText;        // 收款金额不能等于0或小于零或大于尚欠款!
    QString negativeAmountText;   // 如果本次收款为负数那么金额应为尚欠款
    QString missingAccountText;   // 收款去向账户不存在!
    QString newMoneyLog;          // 新增销售收款单记录,收款单编码为:
    QString auditLog;             // 审核销售收款记录,收款单编码为:
    QString deleteMoneyLog;       // 删除销售收款记录,收款单编码为:
    QString writeOffText;         // 去零头不能大于等于应收款或等于零!…
    QString datesText;            // 发生日期不能大于收款日期!
    QString noPartnerText;        // 客户不能为空!
    QString zeroAmountText;       // 应收款不能为零!
    QString newItemLog;           // 新增销售应收款记录,应收款编码为:
    QString modifyItemLog;        // 修改销售应收款记录,应收款编码为:
    QString deleteItemLog;        // 删除销售应收款记录,应收款编码为:
    QString itemInUseText;        // "应收款单据: %1 已经发生了收款操作,请你在销售收款窗口中操作!"
    QString itemDeleteRefusal;    // 此单据已经结账,或已经有收款业务发生了,…
    bool negativeDeleteNeedsOffsetRemark = false; // payments: the offset refusal also needs the remark
};

const SettlementDescriptor &receivables();
const SettlementDescriptor &payables();

inline const QString kStateOpen = QStringLiteral("未付清");
inline const QString kStatePending = QStringLiteral("正待审核");
inline const QString kStateSettled = QStringLiteral("已付清");
inline const QString kOffsetRemark = QStringLiteral("抵扣负数欠款所生成单据");
inline const QString kAlreadyAuditedText = QStringLiteral("此单据已经审核");
inline const QString kSettledItemText = QStringLiteral("此单据已经结账,不能再进行修改了!");
inline const QString kOffsetMoneyText = QStringLiteral("此单据为正负冲账产生的单据,不能删除!");

// One open item as the cash desk lists it.
struct OpenItem
{
    QString date;     // 发生日期
    QString due;      // 收款日期 / 付款日期
    double amount = 0;
    double writeOff = 0;
    double settled = 0;
    double owed = 0;
    QString bill;     // 处理单据
    QString order;    // 订单号
    QString code;     // 应收款编码 / 应付款编码
};

// What the cash desk shows for the selected item.
struct Desk
{
    double outstanding = 0; // 尚欠款
    double deduct = 0;      // 应扣款
};

struct MoneyRequest
{
    QString partner;
    QString bill;     // the item's 处理单据
    QString code;     // the item's own code
    QString amountText;
    QString date;
    QString invoice;
    QString handler;
    QString method;
    QString account;
    QString remark;
};

enum class PostingCase { Normal, CreditRow, Offset, Zero };

struct PostingResult
{
    PostingCase postingCase = PostingCase::Normal;
    QString moneyCode;     // empty for an offset
    QString offsetItemCode; // the new item of an offset
};

// A hand-entered item (new or modify).
struct ManualItem
{
    QString code;      // empty for new
    QString bill;      // 处理单据
    QString partner;
    QString date;
    QString due;
    double amount = 0;
    double writeOff = 0;
    double settled = 0;
    QString order;
    QString remark;
};

class Settlement
{
public:
    Settlement(Session &session, const SettlementDescriptor &descriptor);

    const SettlementDescriptor &descriptor() const { return m_d; }

    // The partner's open items; empty when nothing is open.
    QList<OpenItem> openItems(const QString &partner) const;
    // The partner's open credit rows summed (0 or below).
    double creditTotal(const QString &partner) const;
    // What the partner owes (or is owed) over all items.
    double balance(const QString &partner) const;
    // 尚欠款 and 应扣款 for an item given the partner's credit total.
    static Desk desk(const OpenItem &item, double credit);

    // Checks the cash desk's entry; throws Error with the refusal text.
    void validate(const QString &method, const QString &account, const QString &amountText, double outstanding) const;
    // Posts a collection or payment against one item: validates against the stored rows, then
    // the offset, credit-row or normal case, in one transaction.
    PostingResult post(const MoneyRequest &request);

    // Audits a money row: the permission, the flag only where it is still 0, the account and its
    // ledger row, the item settled when no unaudited money row is left for it.
    void audit(const QString &moneyCode);
    // Throws when the money row may not be deleted (offset rows).
    void checkDelete(const QString &moneyCode) const;
    // Deletes a money row and reverses what it did.
    void remove(const QString &moneyCode);

    // Hand-entered items. save returns the item code.
    QString saveManual(const ManualItem &item);
    void checkModify(const QString &itemCode) const;
    void checkDeleteItem(const QString &itemCode) const;
    void removeItem(const QString &itemCode);

private:
    PostingResult postOnce(const MoneyRequest &request);
    void auditOnce(const QString &moneyCode);
    void removeOnce(const QString &moneyCode);
    QString saveManualOnce(const ManualItem &item);
    void removeItemOnce(const QString &itemCode);
    void closeCredits(const QString &partner);
    QString insertMoney(const MoneyRequest &request, double amount, bool audited);

    Session &m_s;
    const SettlementDescriptor &m_d;
};

// Amounts are compared in cents.
inline bool sameMoney(double a, double b)
{
    return qRound64(a * 100.0) == qRound64(b * 100.0);
}
inline int moneySign(double a)
{
    const qint64 c = qRound64(a * 100.0);
    return c > 0 ? 1 : (c < 0 ? -1 : 0);
}

} // namespace tavomi::finance
