#include "platform/single_instance.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QUuid>

using namespace tavomi;

TEST(SingleInstance, SecondCopyIsRefusedAndRaisesTheFirst)
{
    const QString key = QStringLiteral("tavomi-test-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
    SingleInstance first(key);
    ASSERT_TRUE(first.tryAcquire());
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);

    SingleInstance second(key);
    EXPECT_FALSE(second.tryAcquire());
    EXPECT_TRUE(second.signalRunning());
    EXPECT_TRUE(raised.wait(2000) || raised.count() > 0);
}

TEST(SingleInstance, StaleLockFromACrashedRunDoesNotBlock)
{
    const QString key = QStringLiteral("tavomi-test-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
    const QString lockPath = QDir(QDir::tempPath()).filePath(key + QStringLiteral(".lock"));
    {
        // What a crashed process leaves: a lock file naming a process that no longer exists.
        QFile f(lockPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("999999\ntavomi\n");
        f.write(QSysInfo::machineHostName().toUtf8());
        f.write("\n");
    }
    SingleInstance fresh(key);
    EXPECT_TRUE(fresh.tryAcquire());
}
