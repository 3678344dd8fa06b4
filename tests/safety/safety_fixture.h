#pragma once

#include "support/test_db.h"

#include <QProcess>
#include <QString>
#include <memory>

namespace tavomi::test {

// A small company for the worker processes: three warehouses, a dozen goods, one customer, one
// supplier. Workers find it through the connection file the fixture writes.
class SafetyTest : public DbTest
{
protected:
    void SetUp() override;

    // connection.ini of this test's database, for the workers.
    QString connectionFile();
    std::unique_ptr<QProcess> startWorker(int seed, int commands);
    // Every warehouse quantity against the sum of the audited bills' lines for it; one text line
    // per difference, empty when they agree.
    QString stockDifferences();
    // The engine's own consistency check; its differences, empty when consistent.
    QString consistencyDifferences();
    static bool longRun();
};

} // namespace tavomi::test
