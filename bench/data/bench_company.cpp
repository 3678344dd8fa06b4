#include "bench_company.h"

#include "common/clock.h"
#include "common/helpers.h"
#include "common/identity.h"
#include "common/permissions.h"
#include "common/schema.h"
#include "common/session.h"
#include "common/transaction.h"
#include "masterdata/basic_lists.h"
#include "masterdata/category_service.h"
#include "masterdata/partner_service.h"
#include "masterdata/shorthand.h"
#include "masterdata/warehouse_service.h"

#include <QDir>

#include <algorithm>
#include <cmath>

namespace tavomi::bench {

Sizes Sizes::scaled(double f)
{
    Sizes s;
    auto at = [f](qint64 v, qint64 least) { return std::max<qint64>(least, qint64(std::llround(double(v) * f))); };
    s.goods = int(at(s.goods, 50));
    s.warehouses = int(at(s.warehouses, 2));
    s.customers = int(at(s.customers, 10));
    s.suppliers = int(at(s.suppliers, 5));
    s.rootCategories = int(std::clamp<qint64>(at(s.rootCategories, 2), 2, 10));
    s.subCategories = int(std::clamp<qint64>(at(s.subCategories, 2), 2, 10));
    s.days = int(std::clamp<qint64>(at(s.days, 5), 5, 730));
    s.salesLines = at(s.salesLines, 200);
    s.purchaseLines = at(s.purchaseLines, 80);
    return s;
}

QString rootCategoryCode(int r)
{
    return QString::number(11 + r);
}

QString leafCategoryCode(int r, int s)
{
    return rootCategoryCode(r) + QStringLiteral("%1").arg(s + 1, 2, 10, QLatin1Char('0'));
}

QString goodsCode(const Sizes &sizes, int i)
{
    const int leaves = sizes.rootCategories * sizes.subCategories;
    const int perLeaf = (sizes.goods + leaves - 1) / leaves;
    const int leaf = i / perLeaf;
    return QStringLiteral("B") + leafCategoryCode(leaf / sizes.subCategories, leaf % sizes.subCategories)
        + QStringLiteral("%1").arg(i % perLeaf, 5, 10, QLatin1Char('0'));
}

QString goodsName(int i)
{
    static const QStringList brands = {QStringLiteral("康乐"), QStringLiteral("金禾"), QStringLiteral("华丰"), QStringLiteral("青山"),
                                       QStringLiteral("百顺"), QStringLiteral("银河"), QStringLiteral("鑫源"), QStringLiteral("东方"),
                                       QStringLiteral("泰和"), QStringLiteral("永盛"), QStringLiteral("长城"), QStringLiteral("海天"),
                                       QStringLiteral("明珠"), QStringLiteral("红星"), QStringLiteral("绿野"), QStringLiteral("春晖")};
    static const QStringList products = {
        QStringLiteral("矿泉水"), QStringLiteral("绿茶"), QStringLiteral("方便面"), QStringLiteral("饼干"), QStringLiteral("酱油"),
        QStringLiteral("食醋"), QStringLiteral("大米"), QStringLiteral("面粉"), QStringLiteral("花生油"), QStringLiteral("洗衣粉"),
        QStringLiteral("牙膏"), QStringLiteral("香皂"), QStringLiteral("毛巾"), QStringLiteral("纸巾"), QStringLiteral("啤酒"),
        QStringLiteral("白酒"), QStringLiteral("果汁"), QStringLiteral("牛奶"), QStringLiteral("咖啡"), QStringLiteral("巧克力"),
        QStringLiteral("瓜子"), QStringLiteral("火腿肠"), QStringLiteral("电池"), QStringLiteral("灯泡")};
    static const QStringList packs = {QStringLiteral("250ml"), QStringLiteral("500ml"), QStringLiteral("1L"),  QStringLiteral("100g"),
                                      QStringLiteral("200g"),  QStringLiteral("1kg"),   QStringLiteral("5kg"), QStringLiteral("小包"),
                                      QStringLiteral("大包"),  QStringLiteral("家庭装")};
    const int b = i % brands.size();
    const int p = (i / brands.size()) % products.size();
    const int s = (i / (brands.size() * products.size())) % packs.size();
    return brands.at(b) + products.at(p) + QLatin1Char(' ') + packs.at(s) + QStringLiteral(" %1号").arg(i + 1);
}

double goodsCost(int i)
{
    return std::round((1.0 + double((qint64(i) * 7919) % 5900) / 100.0) * 100.0) / 100.0;
}

QString customerCode(int i)
{
    return QStringLiteral("KH%1").arg(i + 1, 5, 10, QLatin1Char('0'));
}

QString customerName(int i)
{
    static const QStringList towns = {QStringLiteral("城东"), QStringLiteral("城西"), QStringLiteral("南湖"), QStringLiteral("北山"),
                                      QStringLiteral("新华"), QStringLiteral("人民"), QStringLiteral("解放"), QStringLiteral("中山")};
    static const QStringList kinds = {QStringLiteral("超市"), QStringLiteral("便利店"), QStringLiteral("商行"), QStringLiteral("批发部")};
    return towns.at(i % towns.size()) + kinds.at((i / towns.size()) % kinds.size()) + QStringLiteral("%1号").arg(i + 1);
}

QString supplierCode(int i)
{
    return QStringLiteral("GYS%1").arg(i + 1, 4, 10, QLatin1Char('0'));
}

QString supplierName(int i)
{
    static const QStringList kinds = {QStringLiteral("食品有限公司"), QStringLiteral("贸易公司"), QStringLiteral("日化厂"),
                                      QStringLiteral("饮料有限公司")};
    return QStringLiteral("供货商%1").arg(i + 1) + kinds.at(i % kinds.size());
}

QString warehouseName(int w)
{
    return QStringLiteral("仓库%1").arg(w + 1);
}

QString accountName(int a)
{
    static const QStringList names = {QStringLiteral("现金"), QStringLiteral("工商银行"), QStringLiteral("建设银行")};
    return names.at(a % names.size());
}

ConnectionSettings sqliteSettings(const QString &file)
{
    ConnectionSettings s;
    s.driver = QStringLiteral("QSQLITE");
    s.sqliteFile = QFileInfo(file).absoluteFilePath();
    return s;
}

void loginAsAdmin()
{
    LoginIdentity &who = LoginIdentity::current();
    who = LoginIdentity();
    who.loggedIn = true;
    who.workNumber = kAdminWorkNumber;
    who.userName = QStringLiteral("系统管理员");
}

void openCompany(Session &session, const ConnectionSettings &settings)
{
    session.open(settings);
    schema::ensure(session);
    Session::setCurrent(&session);
    loginAsAdmin();
}

void bulkGoods(Session &session, const Sizes &sizes, int from, int to)
{
    TransactionGuard tx(session);
    QStringList stockTables = {QStringLiteral("库存"), QStringLiteral("库存2")};
    for (const QString &w : warehouseNames(session))
        if (checkWarehouseTableName(w).isEmpty() && session.hasTable(w))
            stockTables << w;
    const QString today = Clock::today();
    for (int i = from; i < to; ++i) {
        const QString code = goodsCode(sizes, i);
        const QString name = goodsName(i);
        // The price columns a customer's class names follow the cost.
        const double cost = goodsCost(i);
        auto price = [cost](double f) { return std::round(cost * f * 100.0) / 100.0; };
        const int supplier = i % std::max(1, sizes.suppliers);
        session.runCached(QStringLiteral("insert into 商品(编码,条码,品名,单位,进价,批价,售价,上限,下限,供应商,公司名,淘汰否,柜组,备注,"
                                         "大包装,换算数,小包装,价格六,价格12) "
                                         "values(?,?,?,'瓶*24',?,?,?,0,0,?,?,'否','1件*24瓶',?,'件','件瓶',24,?,?)"),
                          {code, ShorthandCode(name), name, cost, price(1.15), price(1.3), supplierCode(supplier),
                           supplierName(supplier), QStringLiteral("69%1").arg(qint64(i) * 7 + 1000003, 11, 10, QLatin1Char('0')),
                           price(1.2), price(1.25)});
        for (const QString &t : stockTables)
            session.runCached(QStringLiteral("insert into %1(货位,编码,数量,金额,日期,标记,组合库存) values(?,?,0,0,?,0,'0')")
                                  .arg(session.quoteName(t)),
                              {t, code, today});
        logAction(session, kLogImportant, QStringLiteral("新增商品资料,新增的商品名为:") + name);
    }
    tx.commit();
}

void createCategories(Session &session, const Sizes &sizes)
{
    static const QStringList roots = {QStringLiteral("饮料"), QStringLiteral("粮油"), QStringLiteral("调味品"), QStringLiteral("休闲食品"),
                                      QStringLiteral("日化"), QStringLiteral("烟酒"), QStringLiteral("乳品"), QStringLiteral("冲调"),
                                      QStringLiteral("百货"), QStringLiteral("五金电器")};
    for (int r = 0; r < sizes.rootCategories; ++r) {
        addCategory(session, kCategoryRootCode, rootCategoryCode(r), roots.at(r % roots.size()));
        for (int s = 0; s < sizes.subCategories; ++s)
            addCategory(session, rootCategoryCode(r), leafCategoryCode(r, s),
                        roots.at(r % roots.size()) + QStringLiteral("%1类").arg(s + 1));
    }
}

void createWarehouses(Session &session, int count)
{
    MasterTableStore store(session, warehouseTable());
    for (int w = 0; w < count; ++w)
        store.insert({QString::number(w + 1), warehouseName(w), QStringLiteral("仓库"), QStringLiteral("管理员%1").arg(w + 1), QString()});
    session.clearCache();
}

void createCustomers(Session &session, int count)
{
    static const QStringList classes = {QStringLiteral("批价"), QStringLiteral("售价"), QStringLiteral("价格6"), QStringLiteral("价格12")};
    const MasterTableDef &def = customerTable();
    MasterTableStore store(session, def);
    TransactionGuard tx(session);
    for (int c = 0; c < count; ++c) {
        MasterRow row(def.columns.size());
        row[def.indexOf(QStringLiteral("编码"))] = customerCode(c);
        row[def.indexOf(QStringLiteral("公司名"))] = customerName(c);
        row[def.indexOf(QStringLiteral("性质"))] = classes.at(c % classes.size());
        row[def.indexOf(QStringLiteral("电话一"))] = QStringLiteral("0571-8%1").arg(c, 7, 10, QLatin1Char('0'));
        row[def.indexOf(QStringLiteral("结账方式"))] = accountName(c % kAccounts);
        store.insert(row);
    }
    tx.commit();
}

void createSuppliers(Session &session, int count)
{
    const MasterTableDef &def = supplierTable();
    MasterTableStore store(session, def);
    TransactionGuard tx(session);
    for (int c = 0; c < count; ++c) {
        MasterRow row(def.columns.size());
        row[def.indexOf(QStringLiteral("编码"))] = supplierCode(c);
        row[def.indexOf(QStringLiteral("公司名"))] = supplierName(c);
        row[def.indexOf(QStringLiteral("联系人"))] = QStringLiteral("联系人%1").arg(c + 1);
        store.insert(row);
    }
    tx.commit();
}

void createAccounts(Session &session)
{
    const BasicListDef &def = basicList(BasicList::Accounts);
    for (int a = 0; a < kAccounts; ++a)
        addBasicRow(session, def, QStringLiteral("0%1").arg(a + 1), accountName(a), QString::number(10000 * (a + 1)));
}

ScratchCompany::ScratchCompany(const QString &connectionName, const Sizes &sizes, bool withCustomers)
    : m_sizes(sizes)
{
    m_session = std::make_unique<Session>(connectionName);
    openCompany(*m_session, sqliteSettings(QDir(m_dir.path()).filePath(QStringLiteral("REZE.db"))));
    TransactionGuard tx(*m_session);
    createSuppliers(*m_session, std::max(1, sizes.suppliers));
    if (withCustomers)
        createCustomers(*m_session, sizes.customers);
    bulkGoods(*m_session, sizes, 0, sizes.goods);
    createWarehouses(*m_session, sizes.warehouses);
    tx.commit();
}

ScratchCompany::~ScratchCompany()
{
    if (Session::hasCurrent() && &Session::current() == m_session.get())
        Session::setCurrent(nullptr);
}

} // namespace tavomi::bench
