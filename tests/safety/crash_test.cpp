#include "safety/safety_fixture.h"

#include <QRandomGenerator>
#include <QSqlQuery>
#include <QThread>

#include <csignal>

using tavomi::test::SafetyTest;
using namespace tavomi;

using CrashTest = SafetyTest;

// A workstation dies in the middle of its work (power cut, killed process): whatever it was doing
// is either all there or not there at all.
TEST_F(CrashTest, KilledWorkerLeavesAConsistentDatabase)
{
    if (test::usingPostgres())
        GTEST_SKIP() << "the crash test runs on the embedded database file";
    const int kills = longRun() ? 200 : 10;
    QRandomGenerator rng(20261211);
    int killedWhileWorking = 0;
    for (int k = 0; k < kills; ++k) {
        auto worker = startWorker(1000 + k, 0);
        ASSERT_TRUE(worker->waitForStarted(10000));
        // Let it open the database and get going, then cut it off at a random moment.
        worker->waitForReadyRead(int(50 + rng.bounded(150u)));
        QThread::msleep(20 + rng.bounded(400u));
        ASSERT_EQ(::kill(pid_t(worker->processId()), SIGKILL), 0);
        ASSERT_TRUE(worker->waitForFinished(10000));
        if (worker->exitStatus() == QProcess::CrashExit)
            ++killedWhileWorking;
        const QString output = QString::fromUtf8(worker->readAll());
        EXPECT_FALSE(output.contains(QLatin1String("error:"))) << output.toStdString();

        db().reopen();
        EXPECT_EQ(db().scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok")) << "after kill " << k;
        EXPECT_TRUE(consistencyDifferences().isEmpty()) << consistencyDifferences().toStdString() << "after kill " << k;
        EXPECT_TRUE(stockDifferences().isEmpty()) << stockDifferences().toStdString() << "after kill " << k;
        if (HasFailure())
            break;
    }
    EXPECT_EQ(killedWhileWorking, kills);
    // The workers did real work between the kills.
    EXPECT_GT(count(QStringLiteral("进货主"), QStringLiteral("审核标志=1")) + count(QStringLiteral("销售主"), QStringLiteral("审核标志=1")), 0);
}
