#include "common/schema.h"

#include "common/clock.h"
#include "common/error.h"
#include "common/permissions.h"
#include "common/session.h"
#include "common/transaction.h"

#include <QSet>

namespace tavomi::schema {

namespace {

// Compact column lists: "name" is text, "name:n" number, "name:f" flag, "name:i" integer.
QList<Column> cols(const QString &list)
{
    QList<Column> out;
    for (const QString &part : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString p = part.trimmed();
        const int colon = p.indexOf(QLatin1Char(':'));
        if (colon < 0) {
            out.append({p, Kind::Text});
            continue;
        }
        const QString name = p.left(colon);
        const QChar k = p.at(colon + 1);
        Kind kind = Kind::Text;
        if (k == QLatin1Char('n'))
            kind = Kind::Number;
        else if (k == QLatin1Char('f'))
            kind = Kind::Flag;
        else if (k == QLatin1Char('i'))
            kind = Kind::Integer;
        out.append({name, kind});
    }
    return out;
}

QString priceLevels()
{
    return QStringLiteral("价格一:n,价格二:n,价格三:n,价格四:n,价格五:n,价格六:n,价格七:n,价格八:n,价格九:n,价格十:n,"
                          "价格11:n,价格12:n,价格13:n,价格14:n,价格15:n,价格16:n,价格17:n,价格18:n,价格19:n,价格20:n");
}

const QString kPurchaseMaster = QStringLiteral(
    "单号,发票号,货位,备注,供应商,公司名,摘要,账户,本次付款:n,发票号码,附加说明,数量合计:n,金额合计:n,"
    "审核标志:f,日期,时间,操作员,预发生款:n");
const QString kPurchaseLine = QStringLiteral(
    "序号,单号,编码,条码,品名,单位,进价:n,%1,数量:n,金额:n,新进:n,大单位,件数量:n,进率:n,件进价:n,原进价:n,颜色");
const QString kSalesMaster = QStringLiteral(
    "单号,发票号,货位,客户编码,客户名称,数量合计:n,金额合计:n,审核标志:f,日期,时间,操作员,业务员,帐户,"
    "本次收款:n,摘要,备注,预发生款:n%1,结算标志,附加说明");
const QString kSalesLine = QStringLiteral(
    "序号,单号,编码,品名,单位,售价:n,数量:n,金额:n,大单位,件数量:n,进率:n,件售价:n,原售价:n,出货仓库,备注,"
    "成本价:n,客户编码,颜色");
const QString kTransferLine = QStringLiteral(
    "序号,单号,编码,品名,单位,入库仓库,数量:n,金额:n,大单位,件数量:n,进率:n,件售价:n,原售价:n,出货仓库,备注,"
    "成本价:n,客户编码,颜色");

QList<Table> buildTables()
{
    QList<Table> t;
    auto add = [&t](const QString &name, const QString &list) { t.append({name, cols(list)}); };

    // master data and settings
    add(QStringLiteral("商品"), QStringLiteral("编码,条码,品名,单位,进价:n,批价:n,售价:n,上限:n,下限:n,供应商,公司名,淘汰否,"
                                             "柜组,备注,大包装,换算数,小包装:n,")
                                 + priceLevels());
    add(QStringLiteral("类别"), QStringLiteral("编码,类名,未级标志,父项编码,层次码"));
    add(QStringLiteral("单位"), QStringLiteral("编号,单位名,进制:n"));
    add(QStringLiteral("客户"), QStringLiteral("编码,公司名,电话一,性质,电话二,应收款:n,联系人,负责人,地址,传真,邮件地址,所处街区,"
                                             "所处片区,行业类别,规模,信用等级,信用额度,结账方式,结账日,银行账号,税号,业务员,"
                                             "进场费,进场起始,进场天数,营业面积,桌数,包间,客户等级"));
    add(QStringLiteral("客户售价"), QStringLiteral("商品编码,客户编码,最近售价:n"));
    add(QStringLiteral("供应商"), QStringLiteral("编码,公司名,联系人,电话一,电话二,电话,手机,邮箱,银行账户,行业类别,期初应付"));
    add(QStringLiteral("业务员"), QStringLiteral("客服代号,业务员姓名,身份证号,电话,备注,家庭地址,手机,邮箱,学历,工资卡号,所属片区"));
    add(QStringLiteral("货位"), QStringLiteral("货位编码,货位名称,货位性质,管理人员,备注"));
    add(QStringLiteral("会员"), QStringLiteral("快捷码,持卡人姓名,身份证号,电话,手提电话,卡号,持卡人通信地址,邮编,会员等级,购物目的,"
                                             "会员售价,性别"));
    add(QStringLiteral("会员活动"), QStringLiteral("会员类型,折扣:n"));
    add(QStringLiteral("借货人表"), QStringLiteral("编码,联系人,电话,住址"));
    add(QStringLiteral("站点"), QStringLiteral("站点名称,站点性质,管理人员,备注"));
    add(QStringLiteral("经手人"), QStringLiteral("编号,经手人"));
    add(QStringLiteral("其它收入"), QStringLiteral("编号,账户名称"));
    add(QStringLiteral("其它支出"), QStringLiteral("编号,账户名称"));
    add(QStringLiteral("银行账户"), QStringLiteral("科目编码,科目名称,期初额:n"));
    add(QStringLiteral("默认资料表"), QStringLiteral("指针,POS仓库,收款去向,POS打印小票"));
    add(QStringLiteral("报表参数"), QStringLiteral("公司名,销售电话,传真,地址"));

    // bills: purchase side
    add(QStringLiteral("进货主"), kPurchaseMaster);
    add(QStringLiteral("进货子"), kPurchaseLine.arg(QStringLiteral("入库仓库")));
    add(QStringLiteral("采购订单主"), kPurchaseMaster + QStringLiteral(",交货日期,完成标志"));
    add(QStringLiteral("采购订单子"), kPurchaseLine.arg(QStringLiteral("入库仓库")) + QStringLiteral(",完成数量:n,完成金额:n"));
    add(QStringLiteral("退货主"), kPurchaseMaster);
    add(QStringLiteral("退货子"), kPurchaseLine.arg(QStringLiteral("退货仓库")));
    add(QStringLiteral("其它入库主"), kPurchaseMaster);
    add(QStringLiteral("其它入库子"), kPurchaseLine.arg(QStringLiteral("入库仓库")));
    // bills: sales side
    add(QStringLiteral("销售主"), kSalesMaster.arg(QStringLiteral(",发票号码")));
    add(QStringLiteral("销售子"), kSalesLine);
    add(QStringLiteral("客户订单主"), kSalesMaster.arg(QStringLiteral(",发票号码")) + QStringLiteral(",交货日期,完成标志"));
    add(QStringLiteral("客户订单子"), kSalesLine);
    add(QStringLiteral("销售退货主"), kSalesMaster.arg(QStringLiteral(",发票号码")));
    add(QStringLiteral("销售退货子"), kSalesLine);
    add(QStringLiteral("其它出库主"), kSalesMaster.arg(QStringLiteral(",发票号码")));
    add(QStringLiteral("其它出库子"), kSalesLine);
    add(QStringLiteral("库存调拨主"), kSalesMaster.arg(QStringLiteral(",发票号码")));
    add(QStringLiteral("库存调拨子"), kTransferLine);
    add(QStringLiteral("归还主"), kSalesMaster.arg(QString()));
    add(QStringLiteral("归还子"), kSalesLine);
    add(QStringLiteral("盘点主"), QStringLiteral("单号,货位,备注,附加说明,操作员,审核标志:f,盘点时间,盘点日期,盘点数量:n,盘点金额:n,"
                                               "审核日期,审核时间"));
    add(QStringLiteral("盘点子"), QStringLiteral("序号,单号,编码,品名,单位,售价:n,个数:n,金额:n,盘存数量:n,帐面数量:n,帐面金额:n,"
                                               "规格,进价:n,备注"));
    // stock
    t.append({QStringLiteral("库存"), stockColumns()});
    t.append({QStringLiteral("库存2"), stockColumns()});
    add(QStringLiteral("期初库存表"), QStringLiteral("编码,货位,期初库存:n,期初金额:n"));
    add(QStringLiteral("库存转结表"), QStringLiteral("编码,货位,月份,数量:n,金额:n,日期"));

    // settlement and finance
    add(QStringLiteral("销售应收款表"), QStringLiteral("订单号,处理单据,客户名称,应收款编码,发生日期,收款日期,应收款:n,去零头:n,"
                                                   "已收款:n,欠款:n,录入日期,付清状态,发票号,备注"));
    add(QStringLiteral("销售收款表"), QStringLiteral("客户名称,收款单编码,收款日期,收款金额:n,发票号,经手人,收款方式,收款去向,"
                                                 "审核标志:f,备注,处理单号"));
    add(QStringLiteral("采购应付款表"), QStringLiteral("订单号,处理单据,供应商,应付款编码,发生日期,付款日期,应付金额:n,去零头:n,"
                                                   "已付金额:n,还欠进货款:n,录入日期,付清状态,发票号,备注"));
    add(QStringLiteral("采购付款表"), QStringLiteral("供应商,付款单编码,付款日期,付款金额:n,发票号,经手人,付款方式,付款来源,"
                                                 "审核标志:f,备注,处理单据"));
    add(QStringLiteral("银行帐户表"), QStringLiteral("编号,账户名称,期初额:n,期未额:n"));
    add(QStringLiteral("存取款表"), QStringLiteral("单据,日期,金额:n,转出帐户,转入帐户,经手人,审核状态,备注,相关单据,操作员"));
    add(QStringLiteral("现金明细表"), QStringLiteral("自动编码,编码,日期,业务类型,借方发生:n,贷方发生:n,余额:n,票据号码,备注,审核状态,流水号:i"));
    add(QStringLiteral("其它费用收入表"), QStringLiteral("编码,收款日期,收款项目,金额:n,收款方式,收款去向,经手人,审核状态,备注,"
                                                     "相关单据,操作员,付款客户"));
    add(QStringLiteral("其它费用支出表"), QStringLiteral("编码,付款日期,付款项目,金额:n,付款方式,付款来源,经手人,审核状态,备注,"
                                                     "相关单据,操作员,付款客户"));

    // system
    add(QStringLiteral("权限密码"), QStringLiteral("工号,姓名,密码,级别,登陆站点,") + permissionColumns().join(QLatin1Char(',')));
    add(QStringLiteral("日志"), QStringLiteral("日期,时间,操作电脑名,操作员,操作内容,性质,工号"));
    add(QStringLiteral("参数"), QStringLiteral("进货单号:i,退货单号:i,采购单号:i,移库单号:i,盘点单号:i,出库单号:i,销售单号:i,"
                                             "付款单号:i,客户销售单号:i,采购订单号:i,报价新品单号:i,销售退货单号:i,其它入库主:i,"
                                             "其它出库主单号:i,借出归还单号:i,商品出库单号:i,客户订单单号:i,采购收货单号:i,"
                                             "库存调拨单号:i"));

    // report work tables (their content is the last run's result)
    add(QStringLiteral("库存报警表"), QStringLiteral("编码,名称,单位,当前库存:n,库存上限:n,库存下限:n,超过库存上限:n,低于库存下限:n"));
    add(QStringLiteral("客户销售汇总表"), QStringLiteral("客户名称,品名,单位,销售数量:n,销售金额:n,退货数量:n,退货金额:n,赠送数量:n"));
    add(QStringLiteral("采购进货汇总表"), QStringLiteral("供商名称,品名,单位,进货数量:n,进货金额:n,退货数量:n,退货金额:n,赠送数量:n"));
    const QString order = QStringLiteral("编码,品名,数量合计:n,金额合计:n,完成数量:n,完成金额:n,数量合计1:n");
    add(QStringLiteral("采购订单报表"), order);
    add(QStringLiteral("销售订单报表"), order);
    add(QStringLiteral("采购订单报表1"), order + QStringLiteral(",日期"));
    add(QStringLiteral("销售订单报表1"), order + QStringLiteral(",日期"));

    add(QStringLiteral("tavomi_schema"), QStringLiteral("version:i"));
    return t;
}

struct Index
{
    QString table;
    QString column; // or columns, comma-separated
    bool unique;
};

QList<Index> indexes()
{
    QList<Index> out;
    const QStringList masters = {QStringLiteral("进货主"), QStringLiteral("采购订单主"), QStringLiteral("退货主"),
                                 QStringLiteral("其它入库主"), QStringLiteral("销售主"), QStringLiteral("客户订单主"),
                                 QStringLiteral("销售退货主"), QStringLiteral("其它出库主"), QStringLiteral("库存调拨主"),
                                 QStringLiteral("归还主")};
    for (const QString &m : masters) {
        out.append({m, QStringLiteral("单号"), true});
        out.append({m, QStringLiteral("日期"), false});
        out.append({m, QStringLiteral("审核标志"), false});
    }
    out.append({QStringLiteral("盘点主"), QStringLiteral("单号"), true});
    out.append({QStringLiteral("盘点主"), QStringLiteral("盘点日期"), false});
    const QStringList lines = {QStringLiteral("进货子"), QStringLiteral("采购订单子"), QStringLiteral("退货子"),
                               QStringLiteral("其它入库子"), QStringLiteral("销售子"), QStringLiteral("客户订单子"),
                               QStringLiteral("销售退货子"), QStringLiteral("其它出库子"), QStringLiteral("库存调拨子"),
                               QStringLiteral("归还子"), QStringLiteral("盘点子")};
    for (const QString &l : lines) {
        out.append({l, QStringLiteral("单号"), false});
        out.append({l, QStringLiteral("编码"), false});
    }
    out.append({QStringLiteral("商品"), QStringLiteral("编码"), true});
    // the goods search walks this one in 条码 order and tests its entries without reading the rows
    out.append({QStringLiteral("商品"), QStringLiteral("条码,品名,编码,备注,淘汰否"), false});
    out.append({QStringLiteral("商品"), QStringLiteral("备注"), false}); // a barcode kept in 备注 finds its goods
    out.append({QStringLiteral("商品"), QStringLiteral("品名"), false});
    out.append({QStringLiteral("库存"), QStringLiteral("编码"), true});
    out.append({QStringLiteral("库存2"), QStringLiteral("编码"), true});
    out.append({QStringLiteral("期初库存表"), QStringLiteral("编码"), false});
    out.append({QStringLiteral("客户售价"), QStringLiteral("商品编码"), false});
    out.append({QStringLiteral("权限密码"), QStringLiteral("工号"), true});
    out.append({QStringLiteral("日志"), QStringLiteral("日期"), false});
    out.append({QStringLiteral("销售应收款表"), QStringLiteral("订单号"), false});
    out.append({QStringLiteral("销售应收款表"), QStringLiteral("发生日期"), false});
    out.append({QStringLiteral("采购应付款表"), QStringLiteral("订单号"), false});
    out.append({QStringLiteral("采购应付款表"), QStringLiteral("发生日期"), false});
    out.append({QStringLiteral("销售收款表"), QStringLiteral("收款日期"), false});
    out.append({QStringLiteral("采购付款表"), QStringLiteral("付款日期"), false});
    out.append({QStringLiteral("现金明细表"), QStringLiteral("日期"), false});
    // the ledger of one account: its rows newest first straight from the index, and its totals
    // read from the index alone
    out.append({QStringLiteral("现金明细表"), QStringLiteral("备注,审核状态,流水号,日期,借方发生,贷方发生,余额"), false});
    out.append({QStringLiteral("现金明细表"), QStringLiteral("自动编码"), true});
    // settlement codes are unique; lookups by partner, bill and source code
    out.append({QStringLiteral("销售应收款表"), QStringLiteral("应收款编码"), true});
    // a partner's items, its open ones for the cash desk
    out.append({QStringLiteral("销售应收款表"), QStringLiteral("客户名称,付清状态"), false});
    out.append({QStringLiteral("销售应收款表"), QStringLiteral("处理单据"), false});
    out.append({QStringLiteral("销售收款表"), QStringLiteral("收款单编码"), true});
    out.append({QStringLiteral("销售收款表"), QStringLiteral("处理单号"), false});
    out.append({QStringLiteral("采购应付款表"), QStringLiteral("应付款编码"), true});
    out.append({QStringLiteral("采购应付款表"), QStringLiteral("供应商,付清状态"), false});
    out.append({QStringLiteral("采购应付款表"), QStringLiteral("处理单据"), false});
    out.append({QStringLiteral("采购付款表"), QStringLiteral("付款单编码"), true});
    out.append({QStringLiteral("采购付款表"), QStringLiteral("处理单据"), false});
    out.append({QStringLiteral("存取款表"), QStringLiteral("单据"), true});
    out.append({QStringLiteral("存取款表"), QStringLiteral("日期"), false});
    out.append({QStringLiteral("现金明细表"), QStringLiteral("编码"), false});
    out.append({QStringLiteral("现金明细表"), QStringLiteral("流水号"), false});
    return out;
}

void seed(Session &s)
{
    // The reserved administrator with every permission and an empty password.
    QStringList names = {QStringLiteral("工号"), QStringLiteral("姓名"), QStringLiteral("密码"), QStringLiteral("级别"),
                         QStringLiteral("登陆站点")};
    QVariantList values = {kAdminWorkNumber, QStringLiteral("系统管理员"), QString(QLatin1String("")),
                           QStringLiteral("系统管理员"), QStringLiteral("未设站点")};
    for (const QString &c : permissionColumns()) {
        names << c;
        values << QStringLiteral("1");
    }
    QStringList marks;
    for (int i = 0; i < names.size(); ++i)
        marks << QStringLiteral("?");
    s.execute(QStringLiteral("insert into 权限密码(%1) values(%2)").arg(names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
              values);

    // Bill-number counters at 1.
    const Table *params = findTable(QStringLiteral("参数"));
    QStringList pn, pm;
    QVariantList pv;
    for (const Column &c : params->columns) {
        pn << c.name;
        pm << QStringLiteral("?");
        pv << 1;
    }
    s.execute(QStringLiteral("insert into 参数(%1) values(%2)").arg(pn.join(QLatin1Char(',')), pm.join(QLatin1Char(','))), pv);

    // The three per-function default rows the sales, purchase and POS forms read.
    s.execute(QStringLiteral("insert into 默认资料表(指针,POS仓库,收款去向) values(?,?,?)"),
              {QStringLiteral("销售管理"), QString(QLatin1String("")), QString(QLatin1String(""))});
    s.execute(QStringLiteral("insert into 默认资料表(指针,POS仓库) values(?,?)"),
              {QStringLiteral("进货管理"), QString(QLatin1String(""))});
    s.execute(QStringLiteral("insert into 默认资料表(指针,POS仓库,收款去向,POS打印小票) values(?,?,?,?)"),
              {QStringLiteral("商场POS"), QString(QLatin1String("")), QString(QLatin1String("")), QStringLiteral("0")});

    // Everyday units and payment methods, so that the first goods and bills can be entered at once.
    const QStringList units = {QStringLiteral("个"), QStringLiteral("件"), QStringLiteral("箱"), QStringLiteral("盒"),
                               QStringLiteral("包"), QStringLiteral("袋"), QStringLiteral("瓶"), QStringLiteral("支"),
                               QStringLiteral("斤")};
    for (int i = 0; i < units.size(); ++i)
        s.execute(QStringLiteral("insert into 单位(编号,单位名,进制) values(?,?,?)"),
                  {i == 0 ? QStringLiteral("01") : QStringLiteral("0%1").arg(i + 1), units.at(i), 1.0});
    s.execute(QStringLiteral("insert into 银行账户(科目编码,科目名称,期初额) values(?,?,?)"),
              {QStringLiteral("01"), QStringLiteral("现金"), 0.0});
    s.execute(QStringLiteral("insert into 银行账户(科目编码,科目名称,期初额) values(?,?,?)"),
              {QStringLiteral("02"), QStringLiteral("银行转账"), 0.0});
}

} // namespace

const QList<Column> &stockColumns()
{
    static const QList<Column> c = {
        {QStringLiteral("货位"), Kind::Varchar50},   {QStringLiteral("编码"), Kind::Varchar600},
        {QStringLiteral("数量"), Kind::Quantity},    {QStringLiteral("金额"), Kind::Amount},
        {QStringLiteral("日期"), Kind::Text},        {QStringLiteral("标记"), Kind::Flag},
        {QStringLiteral("组合库存"), Kind::Varchar50},
    };
    return c;
}

const QList<Table> &tables()
{
    static const QList<Table> t = buildTables();
    return t;
}

const Table *findTable(const QString &name)
{
    for (const Table &t : tables())
        if (t.name == name)
            return &t;
    return nullptr;
}

QStringList reservedNames()
{
    QStringList out;
    for (const Table &t : tables())
        out << t.name;
    out << QStringLiteral("input_view") << QStringLiteral("returninput_view") << QStringLiteral("sell_view")
        << QStringLiteral("sell_view1") << QStringLiteral("Othersell_view") << QStringLiteral("Othersell_view1");
    out << kGoodsSearchTable;
    for (const char *part : {"_data", "_idx", "_docsize", "_config", "_content"})
        out << kGoodsSearchTable + QLatin1String(part);
    return out;
}

QString sqlType(const Session &session, Kind kind)
{
    const bool pg = session.isPostgres();
    switch (kind) {
    case Kind::Text:
        return QStringLiteral("text");
    case Kind::Number:
        return pg ? QStringLiteral("numeric") : QStringLiteral("REAL");
    case Kind::Flag:
        return QStringLiteral("smallint");
    case Kind::Integer:
        return QStringLiteral("integer");
    case Kind::Varchar50:
        return QStringLiteral("varchar(50)");
    case Kind::Varchar600:
        return QStringLiteral("varchar(600)");
    case Kind::Quantity:
        return pg ? QStringLiteral("numeric(30,6)") : QStringLiteral("REAL");
    case Kind::Amount:
        return pg ? QStringLiteral("numeric(19,4)") : QStringLiteral("REAL");
    }
    return QStringLiteral("text");
}

QString createTableSql(const Session &session, const QString &quotedName, const QList<Column> &columns)
{
    QStringList parts;
    for (const Column &c : columns)
        parts << c.name + QLatin1Char(' ') + sqlType(session, c.kind);
    return QStringLiteral("create table %1(%2)").arg(quotedName, parts.join(QLatin1Char(',')));
}

int storedVersion(Session &session)
{
    if (!session.hasTable(QStringLiteral("tavomi_schema")))
        return 0;
    return session.scalar(QStringLiteral("select max(version) from tavomi_schema"), {}, 0).toInt();
}

void ensureGoodsSearch(Session &session)
{
    // The goods search finds text anywhere in 条码, 品名 and 编码. On SQLite a trigram index
    // answers that from three characters on instead of a pass over every goods; triggers keep it
    // in step with 商品 (an update of prices does not touch it). Without FTS5 the search scans.
    if (session.exists(QStringLiteral("select 1 from sqlite_master where name=?"), {kGoodsSearchTable}))
        return;
    try {
        session.execute(QStringLiteral("create virtual table 商品检索 using fts5(条码,品名,编码,content='商品',content_rowid='rowid',"
                                       "tokenize='trigram')"));
    } catch (const DbError &) {
        return;
    }
    session.execute(QStringLiteral("create trigger 商品检索_新增 after insert on 商品 begin "
                                   "insert into 商品检索(rowid,条码,品名,编码) values(new.rowid,new.条码,new.品名,new.编码); end"));
    session.execute(QStringLiteral("create trigger 商品检索_删除 after delete on 商品 begin "
                                   "insert into 商品检索(商品检索,rowid,条码,品名,编码) values('delete',old.rowid,old.条码,old.品名,old.编码); end"));
    session.execute(QStringLiteral("create trigger 商品检索_修改 after update of 条码,品名,编码 on 商品 begin "
                                   "insert into 商品检索(商品检索,rowid,条码,品名,编码) values('delete',old.rowid,old.条码,old.品名,old.编码); "
                                   "insert into 商品检索(rowid,条码,品名,编码) values(new.rowid,new.条码,new.品名,new.编码); end"));
    session.execute(QStringLiteral("insert into 商品检索(商品检索) values('rebuild')"));
}

bool ensure(Session &session)
{
    const bool fresh = !session.hasTable(QStringLiteral("权限密码"));
    const int version = storedVersion(session);
    if (version > kVersion)
        throw Error(QStringLiteral("数据库版本(%1)比本程序(%2)新，请升级程序").arg(version).arg(kVersion));

    TransactionGuard tx(session);
    const QStringList existing = session.tables();
    QSet<QString> have;
    for (const QString &name : existing)
        have.insert(name);

    for (const Table &t : tables()) {
        if (!have.contains(t.name)) {
            session.execute(createTableSql(session, t.name, t.columns));
            continue;
        }
        // Older databases: add the columns that later versions introduced.
        const QStringList present = session.columns(t.name);
        for (const Column &c : t.columns)
            if (!present.contains(c.name, Qt::CaseInsensitive))
                session.execute(QStringLiteral("alter table %1 add column %2 %3").arg(t.name, c.name, sqlType(session, c.kind)));
    }
    // Replaced by the wider goods search index (an older database has it).
    session.execute(QStringLiteral("drop index if exists ix_商品_条码"));
    for (const Index &ix : indexes()) {
        // A composite index lists its columns with commas; its name joins them with underscores.
        const QString name = QStringLiteral("ix_%1_%2").arg(ix.table, QString(ix.column).replace(QLatin1Char(','), QLatin1Char('_')));
        session.execute(QStringLiteral("create %1index if not exists %2 on %3(%4)")
                            .arg(ix.unique ? QStringLiteral("unique ") : QString(), name, ix.table, ix.column));
    }
    if (session.isSqlite())
        ensureGoodsSearch(session);
    if (fresh)
        seed(session);
    if (version < kVersion) {
        session.execute(QStringLiteral("delete from tavomi_schema"));
        session.execute(QStringLiteral("insert into tavomi_schema(version) values(?)"), {kVersion});
    }
    tx.commit();
    return fresh;
}

} // namespace tavomi::schema
