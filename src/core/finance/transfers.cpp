#include "finance/transfers.h"

#include "common/error.h"
#include "common/helpers.h"
#include "common/identity.h"
#include "common/permissions.h"
#include "common/session.h"
#include "common/text_utils.h"
#include "common/transaction.h"
#include "finance/cash_ledger.h"
#include "common/command.h"

#include <QSqlQuery>

namespace tavomi::finance {

namespace {
QVariant text(const QString &value)
{
    return value.isNull() ? QVariant(QString(QLatin1String(""))) : QVariant(value);
}
const QString kAudited = QStringLiteral("1");
} // namespace

Transfers::Transfers(Session &session)
    : m_s(session)
{
}

void Transfers::writeProvisionalRows(const QString &number, const Transfer &t, double amount)
{
    // Provisional balances: what the accounts would hold now; the audit writes the real ones.
    const double fromBalance = roundMoney(accountBalance(m_s, t.from) - amount);
    const double toBalance = roundMoney(accountBalance(m_s, t.to) + amount);
    const QString sql = QStringLiteral("insert into 现金明细表(自动编码,编码,日期,业务类型,借方发生,贷方发生,余额,票据号码,备注,审核状态) "
                                       "values(?,?,?,?,?,?,?,?,?,'0')");
    m_s.execute(sql, {MakeFreeBillNo(m_s, QStringLiteral("ZDBM"), QStringLiteral("现金明细表"), QStringLiteral("自动编码")), number,
                      text(t.date), moneyTypeName(MoneyType::TransferOut), 0.0, amount, fromBalance, text(t.reference), t.from});
    m_s.execute(sql, {MakeFreeBillNo(m_s, QStringLiteral("ZDBM"), QStringLiteral("现金明细表"), QStringLiteral("自动编码")), number,
                      text(t.date), moneyTypeName(MoneyType::TransferIn), amount, 0.0, toBalance, text(t.reference), t.to});
}

QString Transfers::save(const Transfer &t)
{
    if (t.from == t.to)
        throw Error(QStringLiteral("转出账户不能和转入账户相同!"));
    if (t.from.trimmed().isEmpty() || t.to.trimmed().isEmpty() || t.handler.trimmed().isEmpty())
        throw Error(QStringLiteral("请确保：转入转出账户和经手人资料不为空!"));
    double typed = 0;
    const bool ok = amountFromText(t.amountText, &typed);
    const double amount = roundMoney(typed);
    if (!ok || qRound64(amount * 100.0) <= 0)
        throw Error(QStringLiteral("请输入金额,且金额不能小于或等于零!"));
    return runCommand(m_s, [&] { return saveOnce(t, amount); });
}

QString Transfers::saveOnce(const Transfer &t, double amount)
{
    TransactionGuard tx(m_s);
    QString number = t.number;
    if (number.isEmpty()) {
        number = MakeFreeBillNo(m_s, QStringLiteral("BK"), QStringLiteral("存取款表"), QStringLiteral("单据"));
        logAction(m_s, kLogImportant, QStringLiteral("新增银行存取款记录,单据号为:") + number);
        m_s.execute(QStringLiteral("insert into 存取款表(单据,日期,金额,转出帐户,转入帐户,经手人,审核状态,备注,相关单据,操作员) "
                                   "values(?,?,?,?,?,?,'0',?,?,?)"),
                    {number, text(t.date), amount, t.from, t.to, t.handler, text(t.remark), text(t.reference),
                     text(LoginIdentity::current().userName)});
    } else {
        logAction(m_s, kLogImportant, QStringLiteral("修改银行存取款记录,单据号为:") + number);
        if (m_s.execute(QStringLiteral("update 存取款表 set 日期=?,金额=?,转出帐户=?,转入帐户=?,经手人=?,备注=?,相关单据=? "
                                       "where 单据=? and 审核状态<>?"),
                        {text(t.date), amount, t.from, t.to, t.handler, text(t.remark), text(t.reference), number, kAudited})
            == 0)
            throw Error(QStringLiteral("审核记录，不能修改!"));
        m_s.execute(QStringLiteral("delete from 现金明细表 where 编码=? and 审核状态<>?"), {number, kAudited});
    }
    writeProvisionalRows(number, t, amount);
    tx.commit();
    return number;
}

bool Transfers::isAudited(const QString &number) const
{
    return m_s.exists(QStringLiteral("select 1 from 存取款表 where 单据=? and 审核状态=?"), {number, kAudited});
}

void Transfers::audit(const QString &number)
{
    if (!hasRight(m_s, QStringLiteral("审核单据")))
        throw Error(kNoRightText);
    runCommand(m_s, [&] { auditOnce(number); });
}

void Transfers::auditOnce(const QString &number)
{
    TransactionGuard tx(m_s);
    // The flag first: it locks the transfer, so what is read next is what gets posted.
    if (m_s.execute(QStringLiteral("update 存取款表 set 审核状态=? where 单据=? and 审核状态<>?"), {kAudited, number, kAudited}) == 0) {
        if (!m_s.exists(QStringLiteral("select 1 from 存取款表 where 单据=?"), {number}))
            throw Error(QStringLiteral("当前无记录可审核"));
        throw Error(QStringLiteral("此单据已经审核"));
    }
    QSqlQuery q = m_s.run(QStringLiteral("select 日期,金额,转出帐户,转入帐户,相关单据 from 存取款表 where 单据=?"), {number});
    if (!q.next())
        throw Error(QStringLiteral("当前无记录可审核"));
    const QString date = q.value(0).toString();
    const double amount = roundMoney(q.value(1).toDouble());
    const QString from = q.value(2).toString();
    const QString to = q.value(3).toString();
    const QString reference = q.value(4).toString();
    q.finish();
    logAction(m_s, kLogImportant, QStringLiteral("审核银行存取款,单据号为:") + number);
    // The provisional rows give way to the real movements, written in posting order.
    m_s.execute(QStringLiteral("delete from 现金明细表 where 编码=?"), {number});
    postMovement(m_s, MoneyType::TransferOut, from, amount, number, date, reference, kTransferOutMissing);
    postMovement(m_s, MoneyType::TransferIn, to, amount, number, date, reference, kTransferInMissing);
    tx.commit();
}

void Transfers::remove(const QString &number)
{
    runCommand(m_s, [&] { removeOnce(number); });
}

void Transfers::removeOnce(const QString &number)
{
    TransactionGuard tx(m_s);
    if (isAudited(number))
        throw Error(QStringLiteral("审核单据，不能删除!"));
    logAction(m_s, kLogImportant, QStringLiteral("删除银行存取款,单据号为:") + number);
    // The transfer first: a workstation auditing it at the same moment either finished before
    // (nothing is deleted) or finds it gone.
    if (m_s.execute(QStringLiteral("delete from 存取款表 where 单据=? and 审核状态<>?"), {number, kAudited}) == 0)
        throw Error(QStringLiteral("审核单据，不能删除!"));
    m_s.execute(QStringLiteral("delete from 现金明细表 where 编码=?"), {number});
    tx.commit();
}

QString ledgerQuery(const QString &account, const QString &from, const QString &to, QVariantList *values)
{
    const QString select = QStringLiteral("select 自动编码,编码,日期,业务类型,借方发生,贷方发生,余额,票据号码,备注,审核状态,流水号 from 现金明细表 ");
    if (account.isEmpty() || account == QStringLiteral("全部")) {
        *values = {from, to};
        return select + QStringLiteral("where 审核状态='1' and 日期>=? and 日期<=?");
    }
    // One account: its index (account, state, serial, date, amounts) gives the rows newest first
    // and the totals without reading the table. The date is compared as an expression so that
    // SQLite does not take the date index instead, which is far slower over a long range.
    *values = {account, from, to};
    return select + QStringLiteral("where 备注=? and 审核状态='1' and 日期||''>=? and 日期||''<=?");
}

} // namespace tavomi::finance
