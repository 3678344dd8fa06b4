#include "masterdata/basic_lists.h"

#include "common/command.h"
#include "common/error.h"
#include "common/helpers.h"
#include "common/identity.h"
#include "common/session.h"
#include "common/text_utils.h"
#include "common/transaction.h"

namespace tavomi {

const QList<BasicListDef> &basicLists()
{
    static const QList<BasicListDef> lists = [] {
        const QString code = QStringLiteral("编   码");
        QList<BasicListDef> l;
        l.append({BasicList::Units, QStringLiteral("计量单位"), QStringLiteral("单位"), QStringLiteral("编号"), QStringLiteral("单位名"),
                  QString(), false, QStringLiteral("单位名"), QStringLiteral("单位名称"), code, QString(),
                  QStringLiteral("是否删除此单位？")});
        l.append({BasicList::Handlers, QStringLiteral("经手人"), QStringLiteral("经手人"), QStringLiteral("编号"), QStringLiteral("经手人"),
                  QString(), false, QStringLiteral("经手人"), QStringLiteral("经手人"), code, QString(),
                  QStringLiteral("是否删除此经手人？")});
        l.append({BasicList::ExpenseItems, QStringLiteral("其它支出项目"), QStringLiteral("其它支出"), QStringLiteral("编号"),
                  QStringLiteral("账户名称"), QString(), false, QStringLiteral("项目名称"), QStringLiteral("项目名称"), code, QString(),
                  QStringLiteral("是否删除此项目名称？")});
        l.append({BasicList::IncomeItems, QStringLiteral("其它收入项目"), QStringLiteral("其它收入"), QStringLiteral("编号"),
                  QStringLiteral("账户名称"), QString(), false, QStringLiteral("项目名称"), QStringLiteral("项目名称"), code, QString(),
                  QStringLiteral("是否删除此项目名称？")});
        l.append({BasicList::Accounts, QStringLiteral("银行账户资料"), QStringLiteral("银行帐户表"), QStringLiteral("编号"),
                  QStringLiteral("账户名称"), QStringLiteral("期初额"), true, QStringLiteral("账户名称"), QStringLiteral("账户名称"),
                  QStringLiteral("科目编码"), QStringLiteral("期初金额"), QStringLiteral("是否删除此账户？")});
        l.append({BasicList::PaymentMethods, QStringLiteral("付款方式"), QStringLiteral("银行账户"), QStringLiteral("科目编码"),
                  QStringLiteral("科目名称"), QStringLiteral("期初额"), false, QStringLiteral("科目名称"), QStringLiteral("账户名称"),
                  QStringLiteral("科目编码"), QStringLiteral("期初金额"), QStringLiteral("是否删除此账户编码？")});
        return l;
    }();
    return lists;
}

const BasicListDef &basicList(BasicList kind)
{
    for (const BasicListDef &d : basicLists())
        if (d.kind == kind)
            return d;
    return basicLists().first();
}

QList<BasicListRow> readBasicList(Session &session, const BasicListDef &def)
{
    QList<BasicListRow> out;
    const QString amount = def.amountColumn.isEmpty() ? QStringLiteral("0") : def.amountColumn;
    QSqlQuery q = session.run(QStringLiteral("select %1,%2,%3 from %4").arg(def.codeColumn, def.nameColumn, amount, def.table));
    while (q.next())
        out.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toDouble()});
    // Codes in numeric order where they are numbers ("09" before "010").
    std::stable_sort(out.begin(), out.end(), [](const BasicListRow &a, const BasicListRow &b) {
        bool okA = false, okB = false;
        const qlonglong x = a.code.toLongLong(&okA);
        const qlonglong y = b.code.toLongLong(&okB);
        if (okA && okB)
            return x < y;
        if (okA != okB)
            return okA;
        return a.code < b.code;
    });
    return out;
}

QString nextBasicCode(Session &session, const BasicListDef &def)
{
    QSqlQuery q = session.run(QStringLiteral("select %1 from %2").arg(def.codeColumn, def.table));
    bool any = false;
    qlonglong highest = 0;
    while (q.next()) {
        bool ok = false;
        const qlonglong v = q.value(0).toString().trimmed().toLongLong(&ok);
        if (ok) {
            highest = any ? qMax(highest, v) : v;
            any = true;
        }
    }
    return any ? QStringLiteral("0%1").arg(highest + 1) : QStringLiteral("01");
}

namespace {

QVariant amountValue(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t == QLatin1String("."))
        return 0.0;
    double v = 0;
    if (!amountFromText(t, &v))
        throw Error(QStringLiteral("期初金额必须是数字!"));
    return roundMoney(v);
}

void checkUnitName(const BasicListDef &def, const QString &name)
{
    if (def.kind == BasicList::Units && gbkByteWidth(name) > 2)
        throw Error(QStringLiteral("单位名称最多一个汉字或两个字母!"));
}

// Every column that names a money account, by table.
struct AccountReference
{
    const char *table;
    const char *column;
};
constexpr AccountReference kAccountReferences[] = {
    {"现金明细表", "备注"},       {"默认资料表", "收款去向"},   {"销售收款表", "收款去向"},
    {"采购付款表", "付款来源"},   {"存取款表", "转出帐户"},     {"存取款表", "转入帐户"},
    {"其它费用收入表", "收款去向"}, {"其它费用支出表", "付款来源"},
};

} // namespace

bool addBasicRow(Session &session, const BasicListDef &def, const QString &code, const QString &nameText,
                 const QString &amountText)
{
    const QString name = nameText.trimmed();
    if (name.isEmpty())
        return false;
    checkUnitName(def, name);
    runCommand(session, [&] {
        TransactionGuard tx(session);
        switch (def.kind) {
        case BasicList::Units:
            session.execute(QStringLiteral("insert into 单位(编号,单位名,进制) values(?,?,?)"), {code.trimmed(), name, 1.0});
            break;
        case BasicList::Accounts: {
            const QVariant amount = amountValue(amountText);
            session.execute(QStringLiteral("insert into 银行帐户表(编号,账户名称,期初额,期未额) values(?,?,?,?)"),
                            {code.trimmed(), name, amount, amount});
            break;
        }
        case BasicList::PaymentMethods:
            session.execute(QStringLiteral("insert into 银行账户(科目编码,科目名称,期初额) values(?,?,?)"),
                            {code.trimmed(), name, amountValue(amountText)});
            break;
        default:
            session.execute(QStringLiteral("insert into %1(%2,%3) values(?,?)").arg(def.table, def.codeColumn, def.nameColumn),
                            {code.trimmed(), name});
            break;
        }
        tx.commit();
    });
    return true;
}

bool changeBasicRow(Session &session, const BasicListDef &def, const QString &code, const QString &nameText,
                    const QString &amountText)
{
    const QString name = nameText.trimmed();
    if (name.isEmpty())
        return false;
    checkUnitName(def, name);
    runCommand(session, [&] {
        TransactionGuard tx(session);
        if (def.kind == BasicList::Accounts) {
            const QString old = session.scalar(QStringLiteral("select 账户名称 from 银行帐户表 where 编号=?"), {code.trimmed()}).toString();
            if (!old.isEmpty() && old != name)
                for (const AccountReference &r : kAccountReferences)
                    session.execute(QStringLiteral("update %1 set %2=? where %2=?").arg(QString::fromUtf8(r.table), QString::fromUtf8(r.column)),
                                    {name, old});
        }
        switch (def.kind) {
        case BasicList::Units:
            session.execute(QStringLiteral("update 单位 set 单位名=?,进制=? where 编号=?"), {name, 1.0, code.trimmed()});
            break;
        case BasicList::PaymentMethods:
            session.execute(QStringLiteral("update 银行账户 set 科目名称=?,期初额=? where 科目编码=?"),
                            {name, amountValue(amountText), code.trimmed()});
            break;
        default:
            session.execute(QStringLiteral("update %1 set %2=? where %3=?").arg(def.table, def.nameColumn, def.codeColumn),
                            {name, code.trimmed()});
            break;
        }
        tx.commit();
    });
    return true;
}

QString basicRowDeleteRefusal(Session &session, const BasicListDef &def, const QString &name)
{
    if (def.kind != BasicList::Accounts)
        return QString();
    if (session.exists(QStringLiteral("select 自动编码 from 现金明细表 where 备注=?"), {name}))
        return QStringLiteral("此账户已经有资金流水记录,不能删除!");
    if (session.exists(QStringLiteral("select 编号 from 银行帐户表 where 账户名称=? and 期未额<>0"), {name}))
        return QStringLiteral("此账户的余额不为0,不能删除!");
    if (session.exists(QStringLiteral("select 指针 from 默认资料表 where 收款去向=?"), {name}))
        return QStringLiteral("此账户是默认收款账户,请先在默认资料设置中更换后再删除!");
    return QString();
}

void deleteBasicRow(Session &session, const BasicListDef &def, const QString &code, const QString &name)
{
    runCommand(session, [&] {
        TransactionGuard tx(session);
        const QString refusal = basicRowDeleteRefusal(session, def, name);
        if (!refusal.isEmpty())
            throw Error(refusal);
        const int n = session.execute(QStringLiteral("delete from %1 where %2=? and %3=?").arg(def.table, def.codeColumn, def.nameColumn),
                                      {code, name});
        if (n == 0)
            throw Error(QStringLiteral("当前没有记录可删除!"));
        tx.commit();
    });
}

PosDefaults readPosDefaults(Session &session)
{
    PosDefaults d;
    QSqlQuery q = session.run(QStringLiteral("select 指针,POS仓库,收款去向,POS打印小票 from 默认资料表"));
    while (q.next()) {
        const QString key = q.value(0).toString();
        if (key == QStringLiteral("销售管理")) {
            d.salesWarehouse = q.value(1).toString();
            d.salesAccount = q.value(2).toString();
        } else if (key == QStringLiteral("进货管理")) {
            d.purchaseWarehouse = q.value(1).toString();
        } else if (key == QStringLiteral("商场POS")) {
            d.posWarehouse = q.value(1).toString();
            d.posAccount = q.value(2).toString();
            if (!q.value(3).isNull())
                d.printReceipt = q.value(3).toString().trimmed() == QLatin1String("1");
        }
    }
    return d;
}

void savePosDefaults(Session &session, const PosDefaults &d)
{
    runCommand(session, [&] {
        TransactionGuard tx(session);
        session.execute(QStringLiteral("delete from 默认资料表"));
        session.execute(QStringLiteral("insert into 默认资料表(指针,POS仓库,收款去向) values(?,?,?)"),
                        {QStringLiteral("销售管理"), d.salesWarehouse.trimmed(), d.salesAccount.trimmed()});
        session.execute(QStringLiteral("insert into 默认资料表(指针,POS仓库) values(?,?)"),
                        {QStringLiteral("进货管理"), d.purchaseWarehouse.trimmed()});
        session.execute(QStringLiteral("insert into 默认资料表(指针,POS仓库,收款去向,POS打印小票) values(?,?,?,?)"),
                        {QStringLiteral("商场POS"), d.posWarehouse.trimmed(), d.posAccount.trimmed(),
                         d.printReceipt ? QStringLiteral("1") : QStringLiteral("0")});
        tx.commit();
    });
}

CompanyData readCompanyData(Session &session)
{
    CompanyData d;
    QSqlQuery q = session.run(QStringLiteral("select 公司名,销售电话,传真,地址 from 报表参数"));
    if (q.next())
        d = {q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString()};
    return d;
}

bool saveCompanyData(Session &session, const CompanyData &d)
{
    if (d.name.trimmed().isEmpty() || d.phone.trimmed().isEmpty())
        return false;
    runCommand(session, [&] {
        TransactionGuard tx(session);
        session.execute(QStringLiteral("delete from 报表参数"));
        session.execute(QStringLiteral("insert into 报表参数(公司名,销售电话,传真,地址) values(?,?,?,?)"),
                        {d.name.trimmed(), d.phone.trimmed(), d.fax.trimmed(), d.address.trimmed()});
        logAction(session, kLogImportant, QStringLiteral("修改了公司的基础资料信息"));
        tx.commit();
    });
    return true;
}

} // namespace tavomi
