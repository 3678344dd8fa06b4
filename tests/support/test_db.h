#pragma once

#include "common/messages.h"
#include "common/session.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <memory>

namespace tavomi::test {

// True when the database tests run against PostgreSQL (TAVOMI_TEST_PG holds the connect options:
// "host=127.0.0.1;port=55432;user=tavomi;dbname=tavomi_test").
bool usingPostgres();

// A fresh, empty database of the engine under test, private to one test.
class TestDatabase
{
public:
    TestDatabase();
    ~TestDatabase();
    Session &session() { return *m_session; }
    // A second connection to the same database (another workstation).
    std::unique_ptr<Session> openSecond() const;
    const ConnectionSettings &settings() const { return m_settings; }

private:
    QTemporaryDir m_dir;
    ConnectionSettings m_settings;
    QString m_pgSchema;
    std::unique_ptr<Session> m_session;
};

// A test with a fresh database built by the real schema code, installed as the current session,
// a scripted Messages, a program folder of its own, and a clock pinned to 2026-03-15 09:30:00.
class DbTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    Session &db() { return m_db->session(); }
    TestDatabase &database() { return *m_db; }
    ScriptedMessages &messages() { return m_messages; }
    QString folder() const { return m_folder.path(); }

    // Fixture rows, one line each.
    void addWarehouse(const QString &name);
    void addGoods(const QString &code, const QString &name, double cost = 0, double price = 0,
                  const QString &shorthand = QString());
    void addSupplier(const QString &code, const QString &name);
    void addCustomer(const QString &code, const QString &name, const QString &priceLevel = QStringLiteral("售价"));
    void addUser(const QString &workNumber, const QString &name, const QStringList &rights = {});
    // Logs in as the user (fills the login identity without the dialog).
    void loginAs(const QString &workNumber);

    int count(const QString &table, const QString &where = QString(), const QVariantList &values = {});

private:
    std::unique_ptr<TestDatabase> m_db;
    QTemporaryDir m_folder;
    ScriptedMessages m_messages;
};

} // namespace tavomi::test
