#include "finance/settlement.h"

#include <cmath>

#include "common/clock.h"
#include "common/error.h"
#include "common/helpers.h"
#include "common/identity.h"
#include "common/permissions.h"
#include "common/session.h"
#include "common/text_utils.h"
#include "common/transaction.h"
#include "common/command.h"

#include <QSqlQuery>

namespace tavomi::finance {

namespace {

// Text values are stored as empty texts, never as NULL.
QVariant text(const QString &value)
{
    return value.isNull() ? QVariant(QString(QLatin1String(""))) : QVariant(value);
}

SettlementDescriptor makeReceivables()
{
    SettlementDescriptor d;
    d.receivable = true;
    d.itemTable = QStringLiteral("销售应收款表");
    d.itemPartner = QStringLiteral("客户名称");
    d.itemCode = QStringLiteral("应收款编码");
    d.itemDue = QStringLiteral("收款日期");
    d.itemAmount = QStringLiteral("应收款");
    d.itemSettled = QStringLiteral("已收款");
    d.itemOwed = QStringLiteral("欠款");
    d.itemCodePrefix = QStringLiteral("YS");
    d.manualPrefix = QStringLiteral("ysk");
    d.moneyTable = QStringLiteral("销售收款表");
    d.moneyPartner = QStringLiteral("客户名称");
    d.moneyCode = QStringLiteral("收款单编码");
    d.moneyDate = QStringLiteral("收款日期");
    d.moneyAmount = QStringLiteral("收款金额");
    d.moneyMethod = QStringLiteral("收款方式");
    d.moneyAccount = QStringLiteral("收款去向");
    d.moneyItemRef = QStringLiteral("处理单号");
    d.moneyPrefix = QStringLiteral("SK");
    d.auditType = MoneyType::SalesCollection;
    d.auditNegativeType = MoneyType::CustomerReturnPayout;
    d.deleteType = MoneyType::SalesCollectionReversal;
    d.deleteNegativeType = MoneyType::CustomerReturnReversal;
    d.partnerWord = QStringLiteral("客户");
    d.noOpenItemsText = QStringLiteral("此客户没有欠款!");
    d.choosePartnerText = QStringLiteral("请先选择客户");
    d.emptyAccountText = QStringLiteral("请确保收款方式和收款去向不为空!");
    d.badAmountText = QStringLiteral("收款金额不能等于0或小于零或大于尚欠款!");
    d.negativeAmountText = QStringLiteral("如果本次收款为负数那么金额应为尚欠款");
    d.missingAccountText = QStringLiteral("收款去向账户不存在!");
    d.newMoneyLog = QStringLiteral("新增销售收款单记录,收款单编码为:");
    d.auditLog = QStringLiteral("审核销售收款记录,收款单编码为:");
    d.deleteMoneyLog = QStringLiteral("删除销售收款记录,收款单编码为:");
    d.writeOffText = QStringLiteral("去零头不能大于等于应收款或等于零!如果你要收款请你在收款窗口操作!");
    d.datesText = QStringLiteral("发生日期不能大于收款日期!");
    d.noPartnerText = QStringLiteral("客户不能为空!");
    d.zeroAmountText = QStringLiteral("应收款不能为零!");
    d.newItemLog = QStringLiteral("新增销售应收款记录,应收款编码为:");
    d.modifyItemLog = QStringLiteral("修改销售应收款记录,应收款编码为:");
    d.deleteItemLog = QStringLiteral("删除销售应收款记录,应收款编码为:");
    d.itemInUseText = QStringLiteral("应收款单据: %1 已经发生了收款操作,请你在销售收款窗口中操作!");
    d.itemDeleteRefusal = QStringLiteral("此单据已经结账,或已经有收款业务发生了,不能进行删除!如果一定要删除请先将收款业务数据删除");
    d.negativeDeleteNeedsOffsetRemark = false;
    return d;
}

SettlementDescriptor makePayables()
{
    SettlementDescriptor d;
    d.receivable = false;
    d.itemTable = QStringLiteral("采购应付款表");
    d.itemPartner = QStringLiteral("供应商");
    d.itemCode = QStringLiteral("应付款编码");
    d.itemDue = QStringLiteral("付款日期");
    d.itemAmount = QStringLiteral("应付金额");
    d.itemSettled = QStringLiteral("已付金额");
    d.itemOwed = QStringLiteral("还欠进货款");
    d.itemCodePrefix = QStringLiteral("YF");
    d.manualPrefix = QStringLiteral("yfk");
    d.moneyTable = QStringLiteral("采购付款表");
    d.moneyPartner = QStringLiteral("供应商");
    d.moneyCode = QStringLiteral("付款单编码");
    d.moneyDate = QStringLiteral("付款日期");
    d.moneyAmount = QStringLiteral("付款金额");
    d.moneyMethod = QStringLiteral("付款方式");
    d.moneyAccount = QStringLiteral("付款来源");
    d.moneyItemRef = QStringLiteral("处理单据");
    d.moneyPrefix = QStringLiteral("FK");
    d.auditType = MoneyType::PurchasePayment;
    d.auditNegativeType = MoneyType::PurchaseReturnRefund;
    d.deleteType = MoneyType::PurchasePaymentReversal;
    d.deleteNegativeType = MoneyType::PurchaseRefundReversal;
    d.partnerWord = QStringLiteral("供应商");
    d.noOpenItemsText = QStringLiteral("对不起,目前还没有欠此客户货款!");
    d.choosePartnerText = QStringLiteral("请先选择供应商");
    d.emptyAccountText = QStringLiteral("请确保付款方式和付款来源不为空!");
    d.badAmountText = QStringLiteral("付款金额不能等于0或小于零或大于尚欠款!");
    d.negativeAmountText = QStringLiteral("如果本次付款为负数那么金额应为尚欠款");
    d.missingAccountText = QStringLiteral("付款来源账户不存在!");
    d.newMoneyLog = QStringLiteral("新增采购付款记录,付款编码为:");
    d.auditLog = QStringLiteral("审核采购付款记录,付款单编码为:");
    d.deleteMoneyLog = QStringLiteral("删除采购付款记录,付款单编码为:");
    d.writeOffText = QStringLiteral("去零头不能大于等于应付款或等于零!如果你要付款请你在付款窗口操作!");
    d.datesText = QStringLiteral("发生日期不能大于付款日期!");
    d.noPartnerText = QStringLiteral("供应商不能为空!");
    d.zeroAmountText = QStringLiteral("应付款不能为零!");
    d.newItemLog = QStringLiteral("新增进货应付款记录,应付款编码为:");
    d.modifyItemLog = QStringLiteral("修改进货应付款记录,应付款编码为:");
    d.deleteItemLog = QStringLiteral("删除进货应付款记录,应付款编码为:");
    d.itemInUseText = QStringLiteral("应付款单据: %1 已经发生了付款操作,请你在采购付款窗口中操作!");
    d.itemDeleteRefusal = QStringLiteral("此单据已经结账,或已经有付款业务发生了,不能进行删除!如果一定要删除请先将付款业务数据删除");
    d.negativeDeleteNeedsOffsetRemark = true;
    return d;
}

struct StoredItem
{
    bool found = false;
    QString partner;
    QString bill;
    double amount = 0;
    double writeOff = 0;
    double settled = 0;
    double owed = 0;
    QString state;
};

struct StoredMoney
{
    QString partner;
    QString code;
    QString date;
    double amount = 0;
    QString invoice;
    QString account;
    bool audited = false;
    QString remark;
    QString itemRef;
};

} // namespace

const SettlementDescriptor &receivables()
{
    static const SettlementDescriptor d = makeReceivables();
    return d;
}

const SettlementDescriptor &payables()
{
    static const SettlementDescriptor d = makePayables();
    return d;
}

Settlement::Settlement(Session &session, const SettlementDescriptor &descriptor)
    : m_s(session)
    , m_d(descriptor)
{
}

QList<OpenItem> Settlement::openItems(const QString &partner) const
{
    QList<OpenItem> out;
    QSqlQuery q = m_s.run(QStringLiteral("select 发生日期,%1,%2,%3,去零头,%4,处理单据,订单号,%5 from %6 where %7=? and 付清状态=? "
                                         "order by 发生日期,%5")
                              .arg(m_d.itemDue, m_d.itemAmount, m_d.itemSettled, m_d.itemOwed, m_d.itemCode, m_d.itemTable,
                                   m_d.itemPartner),
                          {partner, kStateOpen});
    while (q.next()) {
        OpenItem it;
        it.date = q.value(0).toString();
        it.due = q.value(1).toString();
        it.amount = q.value(2).toDouble();
        it.settled = q.value(3).toDouble();
        it.writeOff = q.value(4).toDouble();
        it.owed = q.value(5).toDouble();
        it.bill = q.value(6).toString();
        it.order = q.value(7).toString();
        it.code = q.value(8).toString();
        out.append(it);
    }
    return out;
}

double Settlement::creditTotal(const QString &partner) const
{
    return roundMoney(m_s.scalar(QStringLiteral("select coalesce(sum(%1),0) from %2 where %3=? and 付清状态=? and %1<-0.004")
                                     .arg(m_d.itemOwed, m_d.itemTable, m_d.itemPartner),
                                 {partner, kStateOpen}, 0)
                          .toDouble());
}

double Settlement::balance(const QString &partner) const
{
    return roundMoney(m_s.scalar(QStringLiteral("select coalesce(sum(%1),0) from %2 where %3=?").arg(m_d.itemOwed, m_d.itemTable, m_d.itemPartner),
                                 {partner}, 0)
                          .toDouble());
}

Desk Settlement::desk(const OpenItem &item, double credit)
{
    Desk d;
    const int sign = moneySign(item.owed);
    if (sign > 0) {
        d.outstanding = roundMoney(item.owed + credit);
        d.deduct = roundMoney(credit);
    } else if (sign < 0) {
        d.outstanding = roundMoney(item.amount);
    }
    // An open item with nothing owed has nothing to collect (it is closed by a zero entry).
    return d;
}

void Settlement::validate(const QString &method, const QString &account, const QString &amountText, double outstanding) const
{
    if (method.trimmed().isEmpty() || account.trimmed().isEmpty())
        throw Error(m_d.emptyAccountText);
    double amount = 0;
    if (!amountFromText(amountText, &amount))
        throw Error(m_d.badAmountText);
    const qint64 a = qRound64(amount * 100.0);
    const qint64 s = qRound64(outstanding * 100.0);
    if (a == 0 && s != 0)
        throw Error(m_d.badAmountText);
    if (a > s)
        throw Error(m_d.badAmountText);
    if (a < 0 && a != s)
        throw Error(m_d.negativeAmountText);
}

void Settlement::closeCredits(const QString &partner)
{
    m_s.execute(QStringLiteral("update %1 set %2=%3,%3=0,付清状态=? where %4=? and 付清状态=? and %3<-0.004")
                    .arg(m_d.itemTable, m_d.itemSettled, m_d.itemOwed, m_d.itemPartner),
                {kStateSettled, partner, kStateOpen});
}

QString Settlement::insertMoney(const MoneyRequest &r, double amount, bool audited)
{
    const QString code = MakeFreeBillNo(m_s, m_d.moneyPrefix, m_d.moneyTable, m_d.moneyCode);
    logAction(m_s, kLogImportant, m_d.newMoneyLog + code);
    m_s.execute(QStringLiteral("insert into %1(%2,%3,%4,%5,发票号,经手人,%6,%7,审核标志,备注,%8) values(?,?,?,?,?,?,?,?,?,?,?)")
                    .arg(m_d.moneyTable, m_d.moneyPartner, m_d.moneyCode, m_d.moneyDate, m_d.moneyAmount, m_d.moneyMethod,
                         m_d.moneyAccount, m_d.moneyItemRef),
                {r.partner, code, text(r.date), amount, text(r.invoice), text(r.handler), text(r.method), text(r.account),
                 audited ? 1 : 0, text(r.remark), r.bill});
    return code;
}

PostingResult Settlement::post(const MoneyRequest &r)
{
    if (r.partner.trimmed().isEmpty())
        throw Error(m_d.choosePartnerText);
    return runCommand(m_s, [&] { return postOnce(r); });
}

PostingResult Settlement::postOnce(const MoneyRequest &r)
{
    TransactionGuard tx(m_s);
    // The stored row, not the grid's copy: another workstation may have collected meanwhile.
    QSqlQuery q = m_s.run(QStringLiteral("select %1,去零头,%2,%3,付清状态 from %4 where 处理单据=? and %5=? and %6=?")
                              .arg(m_d.itemAmount, m_d.itemSettled, m_d.itemOwed, m_d.itemTable, m_d.itemCode, m_d.itemPartner),
                          {r.bill, r.code, r.partner});
    if (!q.next() || q.value(4).toString() != kStateOpen)
        throw Error(m_d.noOpenItemsText);
    OpenItem item;
    item.amount = q.value(0).toDouble();
    item.writeOff = q.value(1).toDouble();
    item.settled = q.value(2).toDouble();
    item.owed = q.value(3).toDouble();
    item.bill = r.bill;
    item.code = r.code;
    q.finish();
    const double credit = creditTotal(r.partner);
    const Desk desk = Settlement::desk(item, credit);
    validate(r.method, r.account, r.amountText, desk.outstanding);
    const double a = roundMoney(r.amountText.trimmed().toDouble());
    const double s = desk.outstanding;
    const bool full = sameMoney(a, s);
    const int owedSign = moneySign(item.owed);

    PostingResult result;
    const QString matchItem = QStringLiteral(" where 处理单据=? and %1=?").arg(m_d.itemCode);
    if (owedSign > 0 && moneySign(s) < 0) {
        // Offset: the credits exceed this debt; everything is settled and the rest stays as a credit.
        result.postingCase = PostingCase::Offset;
        closeCredits(r.partner);
        m_s.execute(QStringLiteral("update %1 set %2=%3,%3=0,付清状态=?").arg(m_d.itemTable, m_d.itemSettled, m_d.itemOwed) + matchItem,
                    {kStateSettled, r.bill, r.code});
        const QString bill = MakeFreeBillNo(m_s, m_d.manualPrefix, m_d.itemTable, QStringLiteral("处理单据"));
        const QString code = MakeFreeBillNo(m_s, m_d.itemCodePrefix, m_d.itemTable, m_d.itemCode);
        const QString today = Clock::today();
        m_s.execute(QStringLiteral("insert into %1(订单号,处理单据,%2,%3,发生日期,%4,%5,去零头,%6,%7,录入日期,付清状态,备注) "
                                   "values(?,?,?,?,?,?,?,0,0,?,?,?,?)")
                        .arg(m_d.itemTable, m_d.itemPartner, m_d.itemCode, m_d.itemDue, m_d.itemAmount, m_d.itemSettled,
                             m_d.itemOwed),
                    {text(QString()), bill, r.partner, code, today, today, a, a, today, kStateOpen, kOffsetRemark});
        result.offsetItemCode = code;
    } else if (owedSign < 0 || (moneySign(s) < 0 && !m_s.exists(QStringLiteral("select 1 from %1 where %2=? and 付清状态=? and %3>0.004")
                                                                      .arg(m_d.itemTable, m_d.itemPartner, m_d.itemOwed),
                                                                  {r.partner, kStateOpen}))) {
        // A credit row taken on its own: the money goes back to the partner.
        result.postingCase = PostingCase::CreditRow;
        m_s.execute(QStringLiteral("update %1 set %2=%3,%3=0%4").arg(m_d.itemTable, m_d.itemSettled, m_d.itemOwed,
                                                                     full ? QStringLiteral(",付清状态=?") : QString())
                        + matchItem,
                    full ? QVariantList{kStatePending, r.bill, r.code} : QVariantList{r.bill, r.code});
        result.moneyCode = insertMoney(r, a, false);
    } else {
        // The credits were counted in 尚欠款 only when the item itself is owed.
        if (owedSign > 0)
            closeCredits(r.partner);
        const bool zero = moneySign(s) == 0 && moneySign(a) == 0;
        if (zero) {
            result.postingCase = PostingCase::Zero;
            m_s.execute(QStringLiteral("update %1 set %2=%3,%4=0,付清状态=?").arg(m_d.itemTable, m_d.itemSettled, m_d.itemAmount, m_d.itemOwed)
                            + matchItem,
                        {kStateSettled, r.bill, r.code});
        } else {
            m_s.execute(QStringLiteral("update %1 set %2=%2+?,%3=?%4").arg(m_d.itemTable, m_d.itemSettled, m_d.itemOwed,
                                                                          full ? QStringLiteral(",付清状态=?") : QString())
                            + matchItem,
                        full ? QVariantList{a, roundMoney(s - a), kStatePending, r.bill, r.code}
                             : QVariantList{a, roundMoney(s - a), r.bill, r.code});
        }
        result.moneyCode = insertMoney(r, a, zero);
    }
    tx.commit();
    return result;
}

namespace {

StoredMoney readMoney(Session &s, const SettlementDescriptor &d, const QString &code)
{
    QSqlQuery q = s.run(QStringLiteral("select %1,%2,%3,%4,发票号,%5,审核标志,备注,%6 from %7 where %2=?")
                            .arg(d.moneyPartner, d.moneyCode, d.moneyDate, d.moneyAmount, d.moneyAccount, d.moneyItemRef, d.moneyTable),
                        {code});
    if (!q.next())
        throw Error(QStringLiteral("当前无记录可审核"));
    StoredMoney m;
    m.partner = q.value(0).toString();
    m.code = q.value(1).toString();
    m.date = q.value(2).toString();
    m.amount = roundMoney(q.value(3).toDouble());
    m.invoice = q.value(4).toString();
    m.account = q.value(5).toString();
    m.audited = q.value(6).toInt() == 1;
    m.remark = q.value(7).toString();
    m.itemRef = q.value(8).toString();
    return m;
}

} // namespace

void Settlement::audit(const QString &moneyCode)
{
    if (!hasRight(m_s, QStringLiteral("审核单据")))
        throw Error(kNoRightText);
    runCommand(m_s, [&] { auditOnce(moneyCode); });
}

void Settlement::auditOnce(const QString &moneyCode)
{
    TransactionGuard tx(m_s);
    // The flag first, only where it is still 0: it locks the row, so another workstation auditing
    // or deleting it at the same moment waits for this one and then finds nothing to do.
    if (m_s.execute(QStringLiteral("update %1 set 审核标志=1 where %2=? and 审核标志=0").arg(m_d.moneyTable, m_d.moneyCode), {moneyCode}) == 0) {
        readMoney(m_s, m_d, moneyCode); // "当前无记录可审核" when it is gone
        throw Error(kAlreadyAuditedText);
    }
    const StoredMoney m = readMoney(m_s, m_d, moneyCode);
    logAction(m_s, kLogImportant, m_d.auditLog + moneyCode);
    m_s.execute(QStringLiteral("delete from 现金明细表 where 编码=?"), {moneyCode});
    const bool negative = moneySign(m.amount) < 0;
    postMovement(m_s, negative ? m_d.auditNegativeType : m_d.auditType, m.account, qAbs(m.amount), moneyCode, m.date, m.invoice,
                 m_d.missingAccountText);
    if (!m_s.exists(QStringLiteral("select 1 from %1 where %2=? and 审核标志=0").arg(m_d.moneyTable, m_d.moneyItemRef), {m.itemRef}))
        m_s.execute(QStringLiteral("update %1 set 付清状态=? where 处理单据=? and 付清状态=?").arg(m_d.itemTable),
                    {kStateSettled, m.itemRef, kStatePending});
    tx.commit();
}

void Settlement::checkDelete(const QString &moneyCode) const
{
    const StoredMoney m = readMoney(m_s, m_d, moneyCode);
    if (moneySign(m.amount) >= 0)
        return;
    if (m_d.negativeDeleteNeedsOffsetRemark && m.remark != kOffsetRemark)
        return;
    QSqlQuery q = m_s.run(QStringLiteral("select 处理单据 from %1 where %2=? and abs(%3-?)<0.005 order by %4")
                              .arg(m_d.itemTable, m_d.itemPartner, m_d.itemSettled, m_d.itemCode),
                          {m.partner, m.amount});
    if (q.next() && q.value(0).toString() == QLatin1String("0"))
        throw Error(kOffsetMoneyText);
}

void Settlement::remove(const QString &moneyCode)
{
    runCommand(m_s, [&] { removeOnce(moneyCode); });
}

void Settlement::removeOnce(const QString &moneyCode)
{
    TransactionGuard tx(m_s);
    // Lock the row before reading it: an audit running at the same moment has then either
    // finished (and its posting is reversed below) or waits and finds the row gone.
    if (m_s.execute(QStringLiteral("update %1 set 审核标志=审核标志 where %2=?").arg(m_d.moneyTable, m_d.moneyCode), {moneyCode}) == 0)
        throw Error(QStringLiteral("当前记录已被删除"));
    checkDelete(moneyCode);
    const StoredMoney m = readMoney(m_s, m_d, moneyCode);
    logAction(m_s, kLogImportant, m_d.deleteMoneyLog + moneyCode);
    if (m.audited) {
        const bool negative = moneySign(m.amount) < 0;
        postMovement(m_s, negative ? m_d.deleteNegativeType : m_d.deleteType, m.account, qAbs(m.amount), moneyCode, m.date, m.invoice,
                     m_d.missingAccountText);
    }
    if (moneySign(m.amount) > 0)
        m_s.execute(QStringLiteral("update %1 set 付清状态=?,%2=%2-?,%3=%3+? where 处理单据=?").arg(m_d.itemTable, m_d.itemSettled, m_d.itemOwed),
                    {kStateOpen, m.amount, m.amount, m.itemRef});
    else
        m_s.execute(QStringLiteral("update %1 set 付清状态=?,%2=0,%3=? where 处理单据=? and %4=?")
                        .arg(m_d.itemTable, m_d.itemSettled, m_d.itemOwed, m_d.itemPartner),
                    {kStateOpen, m.amount, m.itemRef, m.partner});
    if (m_s.execute(QStringLiteral("delete from %1 where %2=?").arg(m_d.moneyTable, m_d.moneyCode), {moneyCode}) != 1)
        throw Error(QStringLiteral("当前记录已被删除"));
    tx.commit();
}

QString Settlement::saveManual(const ManualItem &item)
{
    return runCommand(m_s, [&] { return saveManualOnce(item); });
}

QString Settlement::saveManualOnce(const ManualItem &item)
{
    for (double v : {item.amount, item.writeOff, item.settled})
        if (!std::isfinite(v) || std::abs(v) > 1e13)
            throw Error(QStringLiteral("金额不正确!"));
    const double owed = roundMoney(item.amount - item.writeOff - item.settled);
    if (!item.code.isEmpty())
        checkModify(item.code);
    if (qRound64(item.amount * 100.0) <= qRound64(item.writeOff * 100.0))
        throw Error(m_d.writeOffText);
    if (item.due < item.date)
        throw Error(m_d.datesText);
    if (item.partner.trimmed().isEmpty())
        throw Error(m_d.noPartnerText);
    if (moneySign(item.amount) <= 0)
        throw Error(m_d.zeroAmountText);
    TransactionGuard tx(m_s);
    const QString today = Clock::today();
    QString code = item.code;
    if (code.isEmpty()) {
        const QString bill = MakeFreeBillNo(m_s, m_d.manualPrefix, m_d.itemTable, QStringLiteral("处理单据"));
        code = MakeFreeBillNo(m_s, m_d.itemCodePrefix, m_d.itemTable, m_d.itemCode);
        logAction(m_s, kLogImportant, m_d.newItemLog + code);
        m_s.execute(QStringLiteral("insert into %1(处理单据,%2,%3,发生日期,%4,%5,去零头,%6,%7,录入日期,付清状态,备注,订单号) "
                                   "values(?,?,?,?,?,?,?,0,?,?,?,?,?)")
                        .arg(m_d.itemTable, m_d.itemPartner, m_d.itemCode, m_d.itemDue, m_d.itemAmount, m_d.itemSettled, m_d.itemOwed),
                    {bill, item.partner, code, text(item.date), text(item.due), roundMoney(item.amount), roundMoney(item.writeOff),
                     roundMoney(item.amount - item.writeOff), today, kStateOpen, text(item.remark), text(item.order)});
    } else {
        QSqlQuery q = m_s.run(QStringLiteral("select 处理单据,%1 from %2 where %3=?").arg(m_d.itemAmount, m_d.itemTable, m_d.itemCode), {code});
        if (!q.next())
            throw Error(kSettledItemText);
        const QString storedBill = q.value(0).toString();
        const double storedAmount = q.value(1).toDouble();
        q.finish();
        // Rows written by bills keep their bill number and amount: the bill refers to them.
        const bool fromBill = !storedBill.startsWith(m_d.manualPrefix);
        const QString bill = fromBill || item.bill.trimmed().isEmpty() ? storedBill : item.bill.trimmed();
        const double amount = fromBill ? storedAmount : roundMoney(item.amount);
        logAction(m_s, kLogImportant, m_d.modifyItemLog + code);
        m_s.execute(QStringLiteral("update %1 set 处理单据=?,%2=?,发生日期=?,%3=?,%4=?,去零头=?,%5=?,录入日期=?,备注=? where %6=?")
                        .arg(m_d.itemTable, m_d.itemPartner, m_d.itemDue, m_d.itemAmount, m_d.itemOwed, m_d.itemCode),
                    {bill, item.partner, text(item.date), text(item.due), amount, roundMoney(item.writeOff),
                     fromBill ? roundMoney(amount - item.writeOff - item.settled) : owed, today, text(item.remark), code});
    }
    tx.commit();
    return code;
}

void Settlement::checkModify(const QString &itemCode) const
{
    QSqlQuery q = m_s.run(QStringLiteral("select 处理单据,%1 from %2 where %3=?").arg(m_d.itemOwed, m_d.itemTable, m_d.itemCode), {itemCode});
    if (!q.next() || moneySign(q.value(1).toDouble()) == 0)
        throw Error(kSettledItemText);
    const QString bill = q.value(0).toString();
    if (m_s.exists(QStringLiteral("select 1 from %1 where %2=?").arg(m_d.moneyTable, m_d.moneyItemRef), {bill}))
        throw Error(m_d.itemInUseText.arg(itemCode));
}

void Settlement::checkDeleteItem(const QString &itemCode) const
{
    QSqlQuery q = m_s.run(QStringLiteral("select 处理单据,%1 from %2 where %3=?").arg(m_d.itemOwed, m_d.itemTable, m_d.itemCode), {itemCode});
    if (!q.next() || moneySign(q.value(1).toDouble()) == 0
        || m_s.exists(QStringLiteral("select 1 from %1 where %2=?").arg(m_d.moneyTable, m_d.moneyItemRef), {q.value(0).toString()}))
        throw Error(m_d.itemDeleteRefusal);
}

void Settlement::removeItem(const QString &itemCode)
{
    runCommand(m_s, [&] { removeItemOnce(itemCode); });
}

void Settlement::removeItemOnce(const QString &itemCode)
{
    TransactionGuard tx(m_s);
    checkDeleteItem(itemCode);
    logAction(m_s, kLogImportant, m_d.deleteItemLog + itemCode);
    m_s.execute(QStringLiteral("delete from %1 where %2=?").arg(m_d.itemTable, m_d.itemCode), {itemCode});
    tx.commit();
}

} // namespace tavomi::finance
