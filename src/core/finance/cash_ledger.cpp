#include "finance/cash_ledger.h"

#include "common/error.h"
#include "common/helpers.h"
#include "common/session.h"
#include "common/text_utils.h"

namespace tavomi::finance {

namespace {

struct TypeInfo
{
    MoneyType type;
    const char *name;
    int side;
};

const TypeInfo kTypes[] = {
    {MoneyType::SalesCollection, "销售收款出入", +1},
    {MoneyType::CustomerReturnPayout, "客户退货支出", -1},
    {MoneyType::SalesCollectionReversal, "销售收款收入反冲流", -1},
    {MoneyType::CustomerReturnReversal, "客户退货支出反冲流", +1},
    {MoneyType::PurchasePayment, "采购付款支出", -1},
    {MoneyType::PurchaseReturnRefund, "采购退货款收入", +1},
    {MoneyType::PurchasePaymentReversal, "采购付款支出反冲流", +1},
    {MoneyType::PurchaseRefundReversal, "采购退货款收入反冲流", -1},
    {MoneyType::TransferOut, "银行存取款(转出)", -1},
    {MoneyType::TransferIn, "银行存取款(转入)", +1},
};

const TypeInfo &info(MoneyType type)
{
    for (const TypeInfo &t : kTypes)
        if (t.type == type)
            return t;
    return kTypes[0];
}

} // namespace

QString moneyTypeName(MoneyType type)
{
    return QString::fromUtf8(info(type).name);
}

int moneyTypeSide(MoneyType type)
{
    return info(type).side;
}

double accountBalance(Session &session, const QString &account)
{
    return session.scalar(QStringLiteral("select 期未额 from 银行帐户表 where 账户名称=?"), {account}, 0).toDouble();
}

double postMovement(Session &session, const Movement &m, const QString &missingAccountText)
{
    const double in = roundMoney(m.in);
    const double out = roundMoney(m.out);
    // Relative update: another workstation's movement in between is never lost.
    if (session.execute(QStringLiteral("update 银行帐户表 set 期未额=期未额+? where 账户名称=?"), {in - out, m.account}) == 0)
        throw Error(missingAccountText);
    const double balance = roundMoney(accountBalance(session, m.account));
    const int serial = session.scalar(QStringLiteral("select coalesce(max(流水号),0)+1 from 现金明细表")).toInt();
    session.execute(QStringLiteral("insert into 现金明细表(自动编码,编码,日期,业务类型,借方发生,贷方发生,余额,票据号码,备注,审核状态,流水号) "
                                   "values(?,?,?,?,?,?,?,?,?,'1',?)"),
                    {MakeFreeBillNo(session, QStringLiteral("ZDBM"), QStringLiteral("现金明细表"), QStringLiteral("自动编码")),
                     m.sourceCode, m.date, m.businessType, in, out, balance, m.reference, m.account, serial});
    return balance;
}

double postMovement(Session &session, MoneyType type, const QString &account, double amount, const QString &sourceCode,
                    const QString &date, const QString &reference, const QString &missingAccountText)
{
    Movement m;
    m.account = account;
    m.sourceCode = sourceCode;
    m.date = date;
    m.businessType = moneyTypeName(type);
    m.reference = reference;
    if (moneyTypeSide(type) > 0)
        m.in = amount;
    else
        m.out = amount;
    return postMovement(session, m, missingAccountText);
}

} // namespace tavomi::finance
