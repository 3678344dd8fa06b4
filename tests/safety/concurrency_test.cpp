#include "safety/safety_fixture.h"

#include "documents/bill_descriptor.h"

#include <QSqlQuery>

using tavomi::test::SafetyTest;
using namespace tavomi;

using ConcurrencyTest = SafetyTest;

// Four workstations save, audit, un-audit and delete bills of the same goods at the same time.
// Every failure a workstation sees is a clean refusal (or a busy database it was told about after
// the engine's retries), and afterwards the books add up.
TEST_F(ConcurrencyTest, FourWorkstationsOnTheSameGoods)
{
    const int commands = longRun() ? 400 : 40;
    std::vector<std::unique_ptr<QProcess>> workers;
    for (int i = 0; i < 4; ++i)
        workers.push_back(startWorker(77 + i, commands));
    int refused = 0, retried = 0;
    for (auto &w : workers) {
        ASSERT_TRUE(w->waitForFinished(600000));
        const QString output = QString::fromUtf8(w->readAll());
        EXPECT_EQ(w->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(w->exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains(QStringLiteral("done %1").arg(commands))) << output.toStdString();
        const QStringList lines = output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString &line : lines) {
            EXPECT_FALSE(line.startsWith(QLatin1String("error:"))) << line.toStdString();
            refused += line.startsWith(QLatin1String("refused:"));
            retried += line.startsWith(QLatin1String("retried:"));
        }
    }
    RecordProperty("refused", refused);
    RecordProperty("retried", retried);

    db().reopen();
    EXPECT_TRUE(consistencyDifferences().isEmpty()) << consistencyDifferences().toStdString();
    EXPECT_TRUE(stockDifferences().isEmpty()) << stockDifferences().toStdString();
    for (const docs::BillDescriptor &d : docs::allBills()) {
        if (!db().hasTable(d.masterTable))
            continue;
        EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from (select 单号 from %1 group by 单号 having count(*)>1) t")
                                  .arg(d.masterTable))
                      .toInt(),
                  0)
            << d.masterTable.toStdString();
    }
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from (select 应收款编码 from 销售应收款表 group by 应收款编码 having count(*)>1) t")).toInt(), 0);
    EXPECT_GT(count(QStringLiteral("进货主")) + count(QStringLiteral("销售主")), 0);
}
