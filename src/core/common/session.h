#pragma once

#include "common/connection_settings.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

namespace tavomi {

// The one database session of the program. Every statement runs through it,
// always prepared, every value bound.
class Session
{
public:
    explicit Session(const QString &connectionName = QStringLiteral("tavomi"));
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    // Opens the connection described by the settings; throws DbError with the driver's text.
    void open(const ConnectionSettings &settings);
    void close();
    // Closes and opens again with the same settings (backup and restore do this).
    void reopen();
    bool isOpen() const;

    const ConnectionSettings &settings() const { return m_settings; }
    QSqlDatabase database() const;
    QString connectionName() const { return m_name; }
    bool isSqlite() const { return m_settings.isSqlite(); }
    bool isPostgres() const { return m_settings.isPostgres(); }

    // Prepares the statement, binds the values by position ('?'), executes it.
    // Throws DbError on any failure. The query is forward-only.
    QSqlQuery run(const QString &sql, const QVariantList &values = {}) const;
    // Same, for statements that change rows: returns the number of rows affected.
    int execute(const QString &sql, const QVariantList &values = {}) const;
    // First column of the first row, or fallback when there is no row.
    QVariant scalar(const QString &sql, const QVariantList &values = {}, const QVariant &fallback = {}) const;

    // For statements run many times in one command (bill lines): prepared once per text and
    // kept until the connection closes. The returned query is positioned before its first row.
    QSqlQuery &runCached(const QString &sql, const QVariantList &values = {});
    // Forgets the prepared statements (after tables were created or dropped).
    void clearCache();
    // Lets go of the rows the cached statements still hold (they stay prepared).
    void finishCached();
    bool exists(const QString &sql, const QVariantList &values = {}) const;

    // Quotes an identifier the driver's way (only for names validated by the caller).
    QString quoteName(const QString &identifier) const;
    // Names of the tables of the current database/schema.
    QStringList tables() const;
    bool hasTable(const QString &name) const;
    QStringList columns(const QString &table) const;

    // Transactions; nested begin/commit pairs join the outer transaction.
    void begin();
    void commit();
    void rollback();
    bool inTransaction() const { return m_depth > 0; }

    // The application's session; forms reach the database through it.
    static Session &current();
    static bool hasCurrent();
    static void setCurrent(Session *session);

private:
    QString m_name;
    ConnectionSettings m_settings;
    int m_depth = 0;
    QHash<QString, QSqlQuery *> m_cache;
    bool m_rollbackOnly = false;
};

// A typed NULL text value for binding.
QVariant nullText();

} // namespace tavomi
