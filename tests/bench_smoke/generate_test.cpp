// tavomi-generate at scale 0.001 on SQLite: the counts it was asked for, and stock, receivables,
// payables and the ledger consistent with the bills it saved and audited.
#include "data/generator.h"

#include "common/session.h"
#include "documents/bill_store.h"
#include "documents/sales_rules.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

using namespace tavomi;

namespace {

constexpr double kScale = 0.001;

QString generate(const QTemporaryDir &dir, const QString &name, const QStringList &extra = {})
{
    const QString file = QDir(dir.path()).filePath(name);
    QProcess p;
    p.start(QStringLiteral(TAVOMI_GENERATE_EXE),
            QStringList{QStringLiteral("--database"), file, QStringLiteral("--scale"), QString::number(kScale), QStringLiteral("--seed"),
                        QStringLiteral("7")}
                + extra);
    EXPECT_TRUE(p.waitForFinished(120000));
    const QString log = QString::fromLocal8Bit(p.readAllStandardError());
    EXPECT_EQ(p.exitCode(), 0) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("[bills]"))) << "progress is shown: " << log.toStdString();
    return file;
}

double number(Session &s, const QString &sql)
{
    return s.scalar(sql, {}, 0).toDouble();
}

class GenerateSmoke : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        s_file = generate(*s_dir, QStringLiteral("smoke.db"));
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }
    void SetUp() override
    {
        m_session = std::make_unique<Session>(QStringLiteral("smoke"));
        m_session->open(bench::sqliteSettings(s_file));
    }
    Session &s() { return *m_session; }

    static QTemporaryDir *s_dir;
    static QString s_file;
    std::unique_ptr<Session> m_session;
};

QTemporaryDir *GenerateSmoke::s_dir = nullptr;
QString GenerateSmoke::s_file;

TEST_F(GenerateSmoke, BuildsTheSizesAskedFor)
{
    const bench::Sizes z = bench::Sizes::scaled(kScale);
    const bench::CompanyCounts c = bench::countCompany(s());
    EXPECT_EQ(c.goods, z.goods);
    EXPECT_EQ(c.warehouses, z.warehouses);
    EXPECT_EQ(c.customers, z.customers);
    EXPECT_EQ(c.suppliers, z.suppliers);
    EXPECT_EQ(c.categories, z.rootCategories * (1 + z.subCategories));
    EXPECT_EQ(c.purchaseLines, z.purchaseLines);
    // A sales line is dropped only when no goods in stock is found for it.
    EXPECT_LE(c.salesLines, z.salesLines);
    EXPECT_GE(c.salesLines, z.salesLines * 9 / 10);
    EXPECT_GT(c.auditedSalesBills, 0);
    EXPECT_LT(c.auditedSalesBills, c.salesBills) << "the last day's shipments wait for their audit";
    EXPECT_GT(c.collections, 0);
    EXPECT_EQ(c.ledgerRows, c.collections + c.payments);
    // Every bill dated within the period.
    EXPECT_EQ(number(s(), QStringLiteral("select count(*) from 销售主 where 日期<'2026-03-10' or 日期>'2026-03-14'")), 0);
    EXPECT_EQ(number(s(), QStringLiteral("select count(distinct 日期) from 销售主")), z.days);
}

TEST_F(GenerateSmoke, StockIsWhatTheAuditedBillsMoved)
{
    // Per goods: 库存 equals the warehouse rows and bought minus sold over audited bills; never below zero.
    QString warehouses;
    QSqlQuery w = s().run(QStringLiteral("select 货位名称 from 货位"));
    QStringList parts;
    while (w.next())
        parts << QStringLiteral("coalesce((select 数量 from %1 where 编码=k.编码),0)").arg(s().quoteName(w.value(0).toString()));
    const QString sql = QStringLiteral(
        "select count(*) from 库存 k where abs(k.数量 - (%1)) > 0.001 "
        "or abs(k.数量 - (coalesce((select sum(l.数量) from 进货子 l join 进货主 m on m.单号=l.单号 where m.审核标志=1 and l.编码=k.编码),0) "
        "- coalesce((select sum(l.数量) from 销售子 l join 销售主 m on m.单号=l.单号 where m.审核标志=1 and l.编码=k.编码),0))) > 0.001 "
        "or k.数量 < 0")
                            .arg(parts.join(QLatin1Char('+')));
    EXPECT_EQ(number(s(), sql), 0);
    EXPECT_GT(number(s(), QStringLiteral("select sum(数量) from 库存")), 0);
}

TEST_F(GenerateSmoke, EveryAuditedBillHasItsOpenItem)
{
    EXPECT_EQ(number(s(), QStringLiteral("select count(*) from 销售主 m where m.审核标志=1 and m.金额合计>0 and not exists "
                                         "(select 1 from 销售应收款表 r where r.处理单据=m.单号 and abs(r.应收款-m.金额合计)<0.005)")),
              0);
    EXPECT_EQ(number(s(), QStringLiteral("select count(*) from 销售应收款表 r where not exists "
                                         "(select 1 from 销售主 m where m.单号=r.处理单据 and m.审核标志=1)")),
              0);
    EXPECT_EQ(number(s(), QStringLiteral("select count(*) from 进货主 m where m.审核标志=1 and m.金额合计>0 and not exists "
                                         "(select 1 from 采购应付款表 r where r.处理单据=m.单号)")),
              0);
    // What was collected is what the items say was settled.
    EXPECT_NEAR(number(s(), QStringLiteral("select sum(收款金额) from 销售收款表 where 审核标志=1")),
                number(s(), QStringLiteral("select sum(已收款) from 销售应收款表")), 0.01);
}

TEST_F(GenerateSmoke, AccountsFollowTheirLedger)
{
    EXPECT_EQ(number(s(), QStringLiteral("select count(*) from 银行帐户表 a where abs(a.期未额 - a.期初额 - "
                                         "coalesce((select sum(借方发生)-sum(贷方发生) from 现金明细表 l where l.备注=a.账户名称),0)) > 0.005")),
              0);
}

TEST(GenerateOptions, SameSeedSameCompany)
{
    QTemporaryDir dir;
    QStringList totals;
    for (const QString &name : {QStringLiteral("a.db"), QStringLiteral("b.db")}) {
        Session s(QStringLiteral("seed-") + name);
        s.open(bench::sqliteSettings(generate(dir, name)));
        totals << s.scalar(QStringLiteral("select sum(金额合计) || '/' || count(*) from 销售主")).toString();
    }
    EXPECT_EQ(totals.at(0), totals.at(1));
}

TEST(GenerateOptions, RefusesAnExistingFileWithoutReplace)
{
    QTemporaryDir dir;
    const QString file = QDir(dir.path()).filePath(QStringLiteral("x.db"));
    QFile(file).open(QIODevice::WriteOnly);
    QProcess p;
    p.start(QStringLiteral(TAVOMI_GENERATE_EXE), {QStringLiteral("--database"), file, QStringLiteral("--scale"), QStringLiteral("0.001")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 2);
}

// The generator runs the engine's reads and writes for minutes on one connection; a cached read
// left on a row kept SQLite's read snapshot open, so the write-ahead log could never start over and
// grew to gigabytes. After the commands, another connection can fold the log back in completely.
TEST(EngineReads, LeaveNoReadSnapshotOpen)
{
    QTemporaryDir dir;
    const QString file = generate(dir, QStringLiteral("wal.db"));
    Session s(QStringLiteral("wal-engine"));
    bench::openCompany(s, bench::sqliteSettings(file));
    const QString customer = s.scalar(QStringLiteral("select 客户编码 from 客户售价")).toString();
    const QString goods = s.scalar(QStringLiteral("select 商品编码 from 客户售价 where 客户编码=?"), {customer}).toString();
    ASSERT_TRUE(docs::salesPrice(s, goods, customer, QStringLiteral("批价"), true).has_value());
    docs::BillStore store(s, docs::BillKind::SalesShipment);
    docs::Bill b = store.load(s.scalar(QStringLiteral("select 单号 from 销售主 where 审核标志=0")).toString());
    QString message;
    store.stockShortage(b, 0, &message);
    b.header.number.clear();
    store.save(b, false);

    Session other(QStringLiteral("wal-other"));
    other.open(bench::sqliteSettings(file));
    QSqlQuery q = other.run(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 0) << "a read of the engine still holds its snapshot";
    Session::setCurrent(nullptr);
}

} // namespace
