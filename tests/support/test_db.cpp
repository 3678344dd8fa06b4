#include "support/test_db.h"

#include "common/clock.h"
#include "common/helpers.h"
#include "common/identity.h"
#include "common/permissions.h"
#include "common/program_folder.h"
#include "common/schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QUuid>

namespace tavomi::test {

namespace {
int g_counter = 0;

QString uniqueName(const QString &prefix)
{
    return prefix + QString::number(QCoreApplication::applicationPid()) + QStringLiteral("_") + QString::number(++g_counter);
}

ConnectionSettings pgSettings(const QString &extraOptions)
{
    ConnectionSettings s = ConnectionSettings::postgres(qEnvironmentVariable("TAVOMI_TEST_PG"));
    s.options = extraOptions;
    return s;
}
} // namespace

bool usingPostgres()
{
    return !qEnvironmentVariableIsEmpty("TAVOMI_TEST_PG");
}

TestDatabase::TestDatabase()
{
    if (usingPostgres()) {
        m_pgSchema = uniqueName(QStringLiteral("t_"));
        {
            Session admin(uniqueName(QStringLiteral("admin_")));
            admin.open(pgSettings(QString()));
            admin.execute(QStringLiteral("drop schema if exists %1 cascade").arg(m_pgSchema));
            admin.execute(QStringLiteral("create schema %1").arg(m_pgSchema));
        }
        m_settings = pgSettings(QStringLiteral("options=-csearch_path=") + m_pgSchema);
    } else {
        m_settings.driver = QStringLiteral("QSQLITE");
        m_settings.sqliteFile = QDir(m_dir.path()).filePath(QStringLiteral("REZE.db"));
    }
    m_session = std::make_unique<Session>(uniqueName(QStringLiteral("test_")));
    m_session->open(m_settings);
}

TestDatabase::~TestDatabase()
{
    m_session.reset();
    if (!m_pgSchema.isEmpty()) {
        try {
            Session admin(uniqueName(QStringLiteral("admin_")));
            admin.open(pgSettings(QString()));
            admin.execute(QStringLiteral("drop schema if exists %1 cascade").arg(m_pgSchema));
        } catch (...) {
        }
    }
}

std::unique_ptr<Session> TestDatabase::openSecond() const
{
    auto s = std::make_unique<Session>(uniqueName(QStringLiteral("second_")));
    s->open(m_settings);
    return s;
}

void DbTest::SetUp()
{
    ProgramFolder::setOverride(m_folder.path());
    Clock::setFixed(QDateTime(QDate(2026, 3, 15), QTime(9, 30, 0)));
    Messages::install(&m_messages);
    m_db = std::make_unique<TestDatabase>();
    schema::ensure(db());
    Session::setCurrent(&db());
    loginAs(kAdminWorkNumber);
}

void DbTest::TearDown()
{
    Session::setCurrent(nullptr);
    m_db.reset();
    Messages::install(nullptr);
    Clock::reset();
    ProgramFolder::setOverride(QString());
    LoginIdentity::current() = LoginIdentity();
}

void DbTest::addWarehouse(const QString &name)
{
    const int n = count(QStringLiteral("货位")) + 1;
    db().execute(QStringLiteral("insert into 货位(货位编码,货位名称,货位性质,管理人员,备注) values(?,?,?,?,?)"),
                 {QStringLiteral("0%1").arg(n), name, QString(), QString(), QString()});
    MaintainStockTable(db(), StockTableAction::Create, name);
    MaintainStockTable(db(), StockTableAction::Seed, name);
}

void DbTest::addGoods(const QString &code, const QString &name, double cost, double price, const QString &shorthand)
{
    db().execute(QStringLiteral("insert into 商品(编码,条码,品名,单位,进价,批价,售价,上限,下限,淘汰否,柜组,大包装,换算数,小包装) "
                                "values(?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                 {code, shorthand.isEmpty() ? code : shorthand, name, QStringLiteral("个"), cost, price, price, 0.0, 0.0,
                  QStringLiteral("否"), QStringLiteral("1个"), QStringLiteral("个"), QStringLiteral("个"), 1.0});
    const QString today = Clock::today();
    for (const QString &table : {QStringLiteral("库存"), QStringLiteral("库存2")})
        db().execute(QStringLiteral("insert into %1(货位,编码,数量,金额,日期,标记,组合库存) values(?,?,0,0,?,0,'0')").arg(table),
                     {table, code, today});
    QSqlQuery q = db().run(QStringLiteral("select 货位名称 from 货位"));
    QStringList warehouses;
    while (q.next())
        warehouses << q.value(0).toString();
    for (const QString &w : warehouses)
        db().execute(QStringLiteral("insert into %1(货位,编码,数量,金额,日期,标记,组合库存) values(?,?,0,0,?,0,'0')")
                         .arg(db().quoteName(w)),
                     {w, code, today});
}

void DbTest::addSupplier(const QString &code, const QString &name)
{
    db().execute(QStringLiteral("insert into 供应商(编码,公司名) values(?,?)"), {code, name});
}

void DbTest::addCustomer(const QString &code, const QString &name, const QString &priceLevel)
{
    db().execute(QStringLiteral("insert into 客户(编码,公司名,性质) values(?,?,?)"), {code, name, priceLevel});
}

void DbTest::addUser(const QString &workNumber, const QString &name, const QStringList &rights)
{
    QStringList cols = {QStringLiteral("工号"), QStringLiteral("姓名"), QStringLiteral("密码"), QStringLiteral("级别"),
                        QStringLiteral("登陆站点")};
    QVariantList values = {workNumber, name, QString(QLatin1String("")), QStringLiteral("其它"), QStringLiteral("未设站点")};
    for (const QString &c : permissionColumns()) {
        cols << c;
        values << (rights.contains(c) ? QStringLiteral("1") : QStringLiteral("0"));
    }
    QStringList marks;
    for (int i = 0; i < cols.size(); ++i)
        marks << QStringLiteral("?");
    db().execute(QStringLiteral("insert into 权限密码(%1) values(%2)").arg(cols.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                 values);
}

void DbTest::loginAs(const QString &workNumber)
{
    LoginIdentity &who = LoginIdentity::current();
    who = LoginIdentity();
    who.loggedIn = true;
    who.workNumber = workNumber;
    who.userName = db().scalar(QStringLiteral("select 姓名 from 权限密码 where 工号=?"), {workNumber}).toString();
    who.loginDate = Clock::today();
    who.loginTime = Clock::timeText();
}

int DbTest::count(const QString &table, const QString &where, const QVariantList &values)
{
    QString sql = QStringLiteral("select count(*) from %1").arg(table);
    if (!where.isEmpty())
        sql += QStringLiteral(" where ") + where;
    return db().scalar(sql, values, 0).toInt();
}

} // namespace tavomi::test
