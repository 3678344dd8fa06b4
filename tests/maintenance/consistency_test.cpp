#include "company_fixture.h"

#include "common/error.h"

#include <QDir>
#include <QFile>
#include <QProcess>

using namespace tavomi;
using namespace tavomi::test;
using maintenance::checkConsistency;

namespace {

using ConsistencyTest = CompanyTest;

struct Corruption
{
    const char *what;
    const char *sql;       // %1 … %3: receipt, sale, first ledger row
    const char *area;      // every difference is in this area
    const char *mentioned; // and one of them names this ("%1"/"%2": the receipt / the sale)
};

} // namespace

TEST_F(ConsistencyTest, CompanyMadeByTheEngineIsConsistent)
{
    buildCompany();
    QStringList steps;
    const maintenance::ConsistencyReport report = checkConsistency(db(), [&](const QString &s) { steps << s; });
    EXPECT_TRUE(report.ok()) << describe(report);
    EXPECT_GE(steps.size(), 3);
    EXPECT_TRUE(report.checked.contains(QStringLiteral("库存: 2 种商品, 2 个仓库"))) << report.checked.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(report.checked.contains(QStringLiteral("应收款: 2 张有金额的已审核单据, 3 条应收款")));
    EXPECT_TRUE(report.checked.contains(QStringLiteral("应付款: 2 张有金额的已审核单据, 2 条应付款")));
    EXPECT_TRUE(report.checked.contains(QStringLiteral("现金明细: 4 条已审核流水的余额")));
}

// Each change made behind the engine's back is found, in its own area, naming what is wrong.
TEST_F(ConsistencyTest, EveryKindOfCorruptionIsFound)
{
    const SmallCompany c = buildCompany();
    ASSERT_TRUE(checkConsistency(db()).ok());
    const Corruption cases[] = {
        {"warehouse row changed", "update 一号仓 set 数量=数量+1 where 编码='B01'", "库存", "B01"},
        {"warehouse amount changed", "update 二号仓 set 金额=金额+0.01 where 编码='B02'", "库存", "B02"},
        {"total row lost", "delete from 库存 where 编码='B02'", "库存", "B02"},
        {"receivable deleted", "delete from 销售应收款表 where 处理单据='%2'", "应收款", "%2"},
        {"receivable amount changed", "update 销售应收款表 set 应收款=应收款+1 where 处理单据='%2'", "应收款", "%2"},
        {"bill un-audited behind the receivable", "update 销售主 set 审核标志=0 where 单号='%2'", "应收款", "%2"},
        {"payable names a missing bill", "update 采购应付款表 set 处理单据='J20990101000000' where 处理单据='%1'", "应付款",
         "J20990101000000"},
        {"account balance changed", "update 银行帐户表 set 期未额=期未额+1 where 账户名称='现金'", "账户", "现金"},
        {"ledger balance changed", "update 现金明细表 set 余额=余额-0.01 where 自动编码='%3'", "现金明细", "%3"},
    };
    auto fill = [&c](const char *text) {
        return QString::fromUtf8(text)
            .replace(QStringLiteral("%1"), c.receipt)
            .replace(QStringLiteral("%2"), c.sale)
            .replace(QStringLiteral("%3"), c.ledgerRow);
    };
    for (const Corruption &k : cases) {
        SCOPED_TRACE(k.what);
        const QString sql = fill(k.sql);
        db().begin();
        ASSERT_EQ(db().execute(sql), 1);
        const maintenance::ConsistencyReport report = checkConsistency(db());
        db().rollback();
        ASSERT_FALSE(report.ok());
        const QString mentioned = fill(k.mentioned);
        bool named = false;
        for (const maintenance::Difference &d : report.differences) {
            EXPECT_EQ(d.area, QString::fromUtf8(k.area)) << describe(report);
            named = named || d.text.contains(mentioned);
        }
        EXPECT_TRUE(named) << describe(report);
    }
    EXPECT_TRUE(checkConsistency(db()).ok());
}

// The tool reads a SQLite file, prints what it checked and every difference, and says by its exit
// status whether the database is consistent (0), is not (1) or cannot be read (2).
TEST_F(ConsistencyTest, ToolReportsByExitStatus)
{
    if (usingPostgres())
        GTEST_SKIP() << "the tool is run on a SQLite file";
    buildCompany();
    const QString file = database().settings().sqliteFile;
    auto run = [](const QStringList &args, QString *output = nullptr) {
        QProcess p;
        p.start(QStringLiteral(TAVOMI_CHECK_EXE), args);
        EXPECT_TRUE(p.waitForFinished(60000));
        if (output)
            *output = QString::fromUtf8(p.readAllStandardOutput());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    };

    QString out;
    EXPECT_EQ(run({QStringLiteral("--database"), file}, &out), 0) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("库存: 2 种商品, 2 个仓库"))) << out.toStdString();

    db().execute(QStringLiteral("update 二号仓 set 数量=数量+5 where 编码='B02'"));
    // The program folder's connection.ini leads to the same file.
    const QString home = QDir(folder()).filePath(QStringLiteral("home"));
    QDir().mkpath(home);
    QFile ini(QDir(home).filePath(QStringLiteral("connection.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[database]\ndriver=QSQLITE\nfile=" + file.toUtf8() + "\n");
    ini.close();
    EXPECT_EQ(run({QStringLiteral("--home"), home}, &out), 1) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("[库存] 商品[B02]"))) << out.toStdString();

    EXPECT_EQ(run({QStringLiteral("--database"), QDir(folder()).filePath(QStringLiteral("missing.db"))}), 2);
    EXPECT_FALSE(QFile::exists(QDir(folder()).filePath(QStringLiteral("missing.db"))));
}
