#include "masterdata/partner_service.h"

#include "common/command.h"
#include "common/error.h"
#include "common/helpers.h"
#include "common/identity.h"
#include "common/session.h"
#include "common/transaction.h"
#include "masterdata/field_error.h"
#include "common/permissions.h"

namespace tavomi {

namespace {

QList<MasterColumn> columnsOf(const char *names, const char *required)
{
    const QStringList req = QString::fromUtf8(required).split(QLatin1Char(','), Qt::SkipEmptyParts);
    QList<MasterColumn> out;
    for (const QString &n : QString::fromUtf8(names).split(QLatin1Char(',')))
        out.append({n, req.contains(n)});
    return out;
}

// Renames the partner in every table that refers to it by name. `where` restricts each statement
// further (bill masters also carry the partner's code).
struct NameReference
{
    const char *table;
    const char *nameColumn;
    const char *codeColumn; // nullptr: the table knows the partner by name only
};

void renameReferences(Session &session, const QList<NameReference> &refs, const QString &code, const QString &oldName,
                      const QString &newName)
{
    if (oldName == newName)
        return;
    for (const NameReference &r : refs) {
        const QString table = QString::fromUtf8(r.table);
        const QString column = QString::fromUtf8(r.nameColumn);
        QString sql = QStringLiteral("update %1 set %2=? where %2=?").arg(table, column);
        QVariantList values = {newName, oldName};
        if (r.codeColumn) {
            sql += QStringLiteral(" and %1=?").arg(QString::fromUtf8(r.codeColumn));
            values << code;
        }
        session.execute(sql, values);
    }
}

const QList<NameReference> kCustomerReferences = {
    {"销售应收款表", "客户名称", nullptr},
    {"销售收款表", "客户名称", nullptr},
    {"销售主", "客户名称", "客户编码"},
    {"客户订单主", "客户名称", "客户编码"},
    {"销售退货主", "客户名称", "客户编码"},
};

const QList<NameReference> kSupplierReferences = {
    {"采购应付款表", "供应商", nullptr},
    {"采购付款表", "供应商", nullptr},
    {"进货主", "公司名", "供应商"},
    {"采购订单主", "公司名", "供应商"},
    {"退货主", "公司名", "供应商"},
    {"商品", "公司名", "供应商"},
};

void refuseTakenCard(Session &session, const MasterRow &row, const QString &ownKey)
{
    const MasterTableDef &def = memberTable();
    const QString card = def.value(row, QStringLiteral("卡号"));
    if (card.isEmpty())
        return;
    if (session.exists(QStringLiteral("select 快捷码 from 会员 where 卡号=? and 快捷码<>?"), {card, ownKey}))
        throw FieldError(kCardTaken, QStringLiteral("卡号"));
}

bool parseDiscount(const QString &text, double *value)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !(v > 0) || v > 10)
        return false;
    *value = v;
    return true;
}

} // namespace

const QStringList &customerPriceLevels()
{
    static const QStringList levels = [] {
        QStringList l = {QStringLiteral("售价"), QStringLiteral("批价"), QStringLiteral("进价"), QStringLiteral("价格一"),
                         QStringLiteral("价格二"), QStringLiteral("价格三"), QStringLiteral("价格四"), QStringLiteral("价格五")};
        for (int i = 6; i <= 20; ++i)
            l << QStringLiteral("价格%1").arg(i);
        return l;
    }();
    return levels;
}

const MasterTableDef &customerTable()
{
    static const MasterTableDef def = [] {
        MasterTableDef d;
        d.table = QStringLiteral("客户");
        d.columns = columnsOf("编码,公司名,电话一,性质,电话二,负责人,传真,联系人,银行账号,结账方式,结账日,行业类别,所处片区,邮件地址,所处街区",
                              "编码,公司名,性质");
        d.keyColumns = {QStringLiteral("编码"), QStringLiteral("公司名")};
        d.listCondition = QStringLiteral("公司名<>''");
        d.listOrder = QStringLiteral("公司名");
        d.writeRight = QStringLiteral("客户资料查询");
        d.nameColumn = QStringLiteral("公司名");
        d.logInsert = QStringLiteral("新增加客户信息资料,新增加的客户名是:");
        d.logUpdate = QStringLiteral("修改客户信息资料,修改后的客户名是:");
        d.afterUpdate = [](Session &s, const MasterRow &row, const MasterRow &key) {
            const MasterTableDef &t = customerTable();
            renameReferences(s, kCustomerReferences, t.value(key, QStringLiteral("编码")), t.value(key, QStringLiteral("公司名")),
                             t.value(row, QStringLiteral("公司名")));
        };
        return d;
    }();
    return def;
}

const MasterTableDef &supplierTable()
{
    static const MasterTableDef def = [] {
        MasterTableDef d;
        d.table = QStringLiteral("供应商");
        d.columns = columnsOf("编码,公司名,联系人,电话一,电话二,电话,手机,邮箱,银行账户,行业类别,期初应付", "编码,公司名");
        d.keyColumns = {QStringLiteral("编码"), QStringLiteral("公司名")};
        d.listOrder = QStringLiteral("公司名 asc");
        d.writeRight = QStringLiteral("供应商信息管理");
        d.nameColumn = QStringLiteral("公司名");
        d.logInsert = QStringLiteral("新增加供应商资料,新增的供应商名称是：");
        d.logUpdate = QStringLiteral("修改供应商资料,修改后的供应商名称是：");
        d.logDelete = QStringLiteral("删除供应商资料,删除的供应商名称是：");
        d.afterUpdate = [](Session &s, const MasterRow &row, const MasterRow &key) {
            const MasterTableDef &t = supplierTable();
            renameReferences(s, kSupplierReferences, t.value(key, QStringLiteral("编码")), t.value(key, QStringLiteral("公司名")),
                             t.value(row, QStringLiteral("公司名")));
        };
        return d;
    }();
    return def;
}

const MasterTableDef &staffTable()
{
    static const MasterTableDef def = [] {
        MasterTableDef d;
        d.table = QStringLiteral("业务员");
        d.columns = columnsOf("客服代号,业务员姓名,身份证号,电话,备注,家庭地址,手机,邮箱,学历,工资卡号,所属片区", "客服代号,业务员姓名");
        d.keyColumns = {QStringLiteral("客服代号"), QStringLiteral("业务员姓名")};
        d.listOrder = QStringLiteral("客服代号");
        d.nameColumn = QStringLiteral("业务员姓名");
        d.logInsert = QStringLiteral("新增加业务员资料,业务员名为:");
        d.logUpdate = QStringLiteral("修改业务员资料,修改后的业务员名为:");
        d.logDelete = QStringLiteral("删除业务员资料,删除的业务员名为:");
        return d;
    }();
    return def;
}

const MasterTableDef &memberTable()
{
    static const MasterTableDef def = [] {
        MasterTableDef d;
        d.table = QStringLiteral("会员");
        d.columns = columnsOf("快捷码,持卡人姓名,身份证号,电话,手提电话,卡号,持卡人通信地址,邮编,会员等级,购物目的,会员售价,性别",
                              "快捷码,持卡人姓名,身份证号,卡号,会员售价,性别");
        d.keyColumns = {QStringLiteral("快捷码")};
        d.listOrder = QStringLiteral("持卡人姓名");
        d.writeRight = QStringLiteral("会员资料管理");
        d.nameColumn = QStringLiteral("持卡人姓名");
        d.logInsert = QStringLiteral("新增加会员信息资料,新增加的会员名是:");
        d.logUpdate = QStringLiteral("修改会员信息资料,修改后的会员名是:");
        d.beforeInsert = [](Session &s, const MasterRow &row) {
            refuseTakenCard(s, row, memberTable().value(row, QStringLiteral("快捷码")));
        };
        d.beforeUpdate = [](Session &s, const MasterRow &row, const MasterRow &key) {
            refuseTakenCard(s, row, memberTable().value(key, QStringLiteral("快捷码")));
        };
        return d;
    }();
    return def;
}

const MasterTableDef &borrowerTable()
{
    static const MasterTableDef def = [] {
        MasterTableDef d;
        d.table = QStringLiteral("借货人表");
        d.columns = columnsOf("编码,联系人,电话,住址", "编码,联系人");
        d.keyColumns = {QStringLiteral("编码")};
        d.listOrder = QStringLiteral("联系人");
        d.nameColumn = QStringLiteral("联系人");
        d.logInsert = QStringLiteral("新增加借货人资料,借货人名:");
        d.logUpdate = QStringLiteral("修改借货人资料,借货人名:");
        d.logDelete = QStringLiteral("删除借货人资料,借货人名:");
        d.logSaveCategory = kLogGeneral;
        return d;
    }();
    return def;
}

void deleteCustomer(Session &session, const QString &code, const QString &name, const CustomerDeletion &what)
{
    if (!hasRight(session, customerTable().writeRight))
        throw Error(kNoRightText);
    runCommand(session, [&] {
        TransactionGuard tx(session);
        if (what.salesRecords) {
            const bool audited = session.exists(
                QStringLiteral("select 单号 from 销售主 where 客户编码=? and 客户名称=? and 审核标志=1"), {code, name});
            const bool open = session.exists(
                QStringLiteral("select 应收款编码 from 销售应收款表 where 客户名称=? and 欠款<>0"), {name});
            if (audited || open)
                throw Error(kCustomerSalesBlocked);
        }
        if (what.customer) {
            logAction(session, kLogImportant, QStringLiteral("删除客户资料,删除的客户名为: ") + name);
            session.execute(QStringLiteral("delete from 客户 where 编码=? and 公司名=?"), {code, name});
        }
        if (what.recentPrices) {
            logAction(session, kLogImportant, QStringLiteral("删除客户最近所有销售商品的历史售价,删除的客户名为: ") + name);
            session.execute(QStringLiteral("delete from 客户售价 where 客户编码=?"), {code});
        }
        if (what.salesRecords) {
            logAction(session, kLogImportant, QStringLiteral("删除客户所有的销售记录,删除的客户名为: ") + name);
            const QString bills = QStringLiteral("select 单号 from 销售主 where 客户编码=? and 客户名称=? "
                                                 "and (审核标志 is null or 审核标志=0)");
            session.execute(QStringLiteral("delete from 销售子 where 单号 in (%1)").arg(bills), {code, name});
            session.execute(QStringLiteral("delete from 销售主 where 单号 in (%1)").arg(bills), {code, name});
        }
        tx.commit();
    });
}

QStringList customerSortFields()
{
    return {QStringLiteral("编码"), QStringLiteral("客户名称"), QStringLiteral("电话和送货地址"), QStringLiteral("售价性质"),
            QStringLiteral("传真"), QStringLiteral("电话"), QStringLiteral("手机"), QStringLiteral("联系人"),
            QStringLiteral("银行账户"), QStringLiteral("结账方式"), QStringLiteral("结账日"), QStringLiteral("行业类别"),
            QStringLiteral("所处片区"), QStringLiteral("邮件"), QStringLiteral("期初应收")};
}

QString customerSortColumn(const QString &field)
{
    const QString f = field.trimmed();
    if (f.isEmpty())
        return QStringLiteral("公司名");
    static const QList<QPair<QString, QString>> captions = {
        {QStringLiteral("电话和送货地址"), QStringLiteral("电话一")}, {QStringLiteral("传真"), QStringLiteral("电话二")},
        {QStringLiteral("手机"), QStringLiteral("传真")},           {QStringLiteral("客户名称"), QStringLiteral("公司名")},
        {QStringLiteral("地址"), QStringLiteral("电话一")},         {QStringLiteral("售价性质"), QStringLiteral("性质")},
        {QStringLiteral("电话"), QStringLiteral("负责人")},         {QStringLiteral("银行账户"), QStringLiteral("银行账号")},
        {QStringLiteral("邮件"), QStringLiteral("邮件地址")},       {QStringLiteral("期初应收"), QStringLiteral("所处街区")},
    };
    for (const auto &c : captions)
        if (c.first == f)
            return c.second;
    if (customerTable().indexOf(f) >= 0)
        return f;
    return QString();
}

MemberDiscounts readMemberDiscounts(Session &session)
{
    MemberDiscounts d;
    QSqlQuery q = session.run(QStringLiteral("select 会员类型,折扣 from 会员活动"));
    while (q.next()) {
        d.stored = true;
        if (q.value(0).toString() == QStringLiteral("黄金会员折扣"))
            d.gold = q.value(1).toDouble();
        else
            d.ordinary = q.value(1).toDouble();
    }
    return d;
}

void setMemberDiscounts(Session &session, const QString &goldText, const QString &ordinaryText)
{
    if (!hasRight(session, QStringLiteral("会员折扣设置")))
        throw Error(kNoRightText);
    double gold = 0;
    double ordinary = 0;
    if (!parseDiscount(goldText, &gold) || !parseDiscount(ordinaryText, &ordinary))
        throw Error(kDiscountInvalid);
    runCommand(session, [&] {
        TransactionGuard tx(session);
        session.execute(QStringLiteral("delete from 会员活动"));
        session.execute(QStringLiteral("insert into 会员活动(会员类型,折扣) values(?,?)"), {QStringLiteral("黄金会员折扣"), gold});
        session.execute(QStringLiteral("insert into 会员活动(会员类型,折扣) values(?,?)"), {QStringLiteral("普通会员折扣"), ordinary});
        tx.commit();
    });
}

} // namespace tavomi
