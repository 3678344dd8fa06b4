#include "common/session.h"

#include "common/error.h"

#include <QFileInfo>
#include <QDir>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>

namespace tavomi {

namespace {
Session *g_current = nullptr;

QString describe(const QSqlError &e)
{
    QString t = e.text().trimmed();
    if (t.isEmpty())
        t = e.databaseText().trimmed();
    return t.isEmpty() ? QStringLiteral("数据库错误") : t;
}

// Busy and lock errors of SQLite, serialization failures and deadlocks of PostgreSQL end a
// command without harm: the transaction is rolled back and the command can run again.
DbError::Kind classify(const QSqlError &e)
{
    const QString code = e.nativeErrorCode();
    const QString text = e.databaseText() + QLatin1Char(' ') + e.driverText();
    if (code == QLatin1String("5") || code == QLatin1String("6") || code == QLatin1String("40001")
        || code == QLatin1String("40P01") || code == QLatin1String("55P03")
        || text.contains(QLatin1String("database is locked")) || text.contains(QLatin1String("database table is locked")))
        return DbError::Kind::Transient;
    if (code == QLatin1String("23505") || text.contains(QLatin1String("UNIQUE constraint failed")))
        return DbError::Kind::Duplicate;
    return DbError::Kind::Other;
}

DbError failure(const QSqlError &e, const QString &sql = {})
{
    return DbError(sql.isEmpty() ? describe(e) : describe(e) + QStringLiteral("\n") + sql, classify(e));
}
} // namespace

QVariant nullText()
{
    return QVariant(QMetaType::fromType<QString>());
}

Session::Session(const QString &connectionName)
    : m_name(connectionName)
{}

Session::~Session()
{
    close();
    if (g_current == this)
        g_current = nullptr;
}

void Session::open(const ConnectionSettings &settings)
{
    close();
    m_settings = settings;
    QSqlDatabase db = QSqlDatabase::addDatabase(settings.driver, m_name);
    if (!db.isValid()) {
        QSqlDatabase::removeDatabase(m_name);
        throw DbError(QStringLiteral("数据库驱动 %1 不可用").arg(settings.driver));
    }
    QString options = settings.options;
    if (settings.isSqlite()) {
        QDir().mkpath(QFileInfo(settings.sqliteFile).absolutePath());
        db.setDatabaseName(settings.sqliteFile);
        if (!options.contains(QLatin1String("QSQLITE_BUSY_TIMEOUT")))
            options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=8000") + (options.isEmpty() ? QString() : QStringLiteral(";") + options);
    } else if (settings.isPostgres()) {
        db.setHostName(settings.host);
        db.setPort(settings.port);
        db.setDatabaseName(settings.database);
        db.setUserName(settings.user);
        if (!settings.password.isEmpty())
            db.setPassword(settings.password);
    } else {
        db.setDatabaseName(settings.dsn.isEmpty() ? settings.database : settings.dsn);
        db.setUserName(settings.user);
        if (!settings.password.isEmpty())
            db.setPassword(settings.password);
    }
    db.setConnectOptions(options);
    if (!db.open()) {
        const QString text = describe(db.lastError());
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        throw DbError(text);
    }
    if (settings.isSqlite()) {
        // Switching the journal needs the database to itself: only when it is not WAL yet, so a
        // workstation can open while another one writes.
        if (scalar(QStringLiteral("PRAGMA journal_mode")).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
            run(QStringLiteral("PRAGMA journal_mode=WAL"));
        run(QStringLiteral("PRAGMA synchronous=NORMAL"));
        run(QStringLiteral("PRAGMA foreign_keys=OFF"));
        // The stock tables of a large company are read row by row during postings: keep them in memory.
        run(QStringLiteral("PRAGMA cache_size=-65536"));
    } else if (settings.isPostgres()) {
        run(QStringLiteral("SET client_encoding TO 'UTF8'"));
    }
    m_depth = 0;
    m_rollbackOnly = false;
}

void Session::close()
{
    qDeleteAll(m_cache);
    m_cache.clear();
    if (!QSqlDatabase::contains(m_name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
    m_depth = 0;
}

void Session::reopen()
{
    const ConnectionSettings s = m_settings;
    close();
    open(s);
}

bool Session::isOpen() const
{
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

QSqlDatabase Session::database() const
{
    return QSqlDatabase::database(m_name, false);
}

QSqlQuery Session::run(const QString &sql, const QVariantList &values) const
{
    QSqlDatabase db = database();
    if (!db.isOpen())
        throw DbError(QStringLiteral("数据库连接没有打开"));
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (values.isEmpty()) {
        // Nothing to bind: run it as it is (PostgreSQL cannot prepare DDL or SET).
        if (!q.exec(sql))
            throw failure(q.lastError(), sql);
        return q;
    }
    if (!q.prepare(sql))
        throw failure(q.lastError(), sql);
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values.at(i));
    if (!q.exec())
        throw failure(q.lastError(), sql);
    return q;
}

QSqlQuery &Session::runCached(const QString &sql, const QVariantList &values)
{
    QSqlQuery *q = m_cache.value(sql);
    if (!q) {
        QSqlDatabase db = database();
        if (!db.isOpen())
            throw DbError(QStringLiteral("数据库连接没有打开"));
        q = new QSqlQuery(db);
        q->setForwardOnly(true);
        if (!q->prepare(sql)) {
            const DbError error = failure(q->lastError(), sql);
            delete q;
            throw error;
        }
        m_cache.insert(sql, q);
    }
    q->finish();
    for (int i = 0; i < values.size(); ++i)
        q->bindValue(i, values.at(i));
    if (!q->exec())
        throw failure(q->lastError(), sql);
    return *q;
}

void Session::finishCached()
{
    for (QSqlQuery *q : std::as_const(m_cache))
        q->finish();
}

void Session::clearCache()
{
    qDeleteAll(m_cache);
    m_cache.clear();
}

int Session::execute(const QString &sql, const QVariantList &values) const
{
    QSqlQuery q = run(sql, values);
    return q.numRowsAffected();
}

QVariant Session::scalar(const QString &sql, const QVariantList &values, const QVariant &fallback) const
{
    QSqlQuery q = run(sql, values);
    if (q.next())
        return q.value(0);
    return fallback;
}

bool Session::exists(const QString &sql, const QVariantList &values) const
{
    QSqlQuery q = run(sql, values);
    return q.next();
}

QString Session::quoteName(const QString &identifier) const
{
    return database().driver()->escapeIdentifier(identifier, QSqlDriver::TableName);
}

QStringList Session::tables() const
{
    if (isPostgres()) {
        QStringList out;
        QSqlQuery q = run(QStringLiteral(
            "select table_name from information_schema.tables where table_schema = current_schema()"));
        while (q.next())
            out << q.value(0).toString();
        return out;
    }
    return database().tables(QSql::Tables);
}

bool Session::hasTable(const QString &name) const
{
    if (isPostgres())
        return exists(QStringLiteral("select 1 from information_schema.tables where table_schema = current_schema() and table_name = ?"),
                      {name});
    if (isSqlite())
        return exists(QStringLiteral("select 1 from sqlite_master where type in ('table','view') and name = ?"), {name});
    return tables().contains(name);
}

QStringList Session::columns(const QString &table) const
{
    QStringList out;
    if (isPostgres()) {
        QSqlQuery q = run(QStringLiteral("select column_name from information_schema.columns "
                                         "where table_schema = current_schema() and table_name = ? order by ordinal_position"),
                          {table});
        while (q.next())
            out << q.value(0).toString();
        return out;
    }
    const QSqlRecord rec = database().record(table);
    for (int i = 0; i < rec.count(); ++i)
        out << rec.fieldName(i);
    return out;
}

void Session::begin()
{
    if (m_depth == 0) {
        // A cached statement left positioned on a row would keep an old snapshot of the file
        // open, and SQLite refuses to write from an old snapshot once another workstation wrote.
        finishCached();
        if (isSqlite()) {
            // Take the write lock at once: a reader that later wants to write could otherwise be
            // refused mid-command when another workstation wrote in between.
            QSqlQuery q(database());
            if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
                throw failure(q.lastError());
        } else if (!database().transaction()) {
            throw failure(database().lastError());
        }
        m_rollbackOnly = false;
    }
    ++m_depth;
}

void Session::commit()
{
    if (m_depth == 0)
        return;
    if (m_depth > 1) {
        --m_depth;
        return;
    }
    if (m_rollbackOnly) {
        rollback();
        throw DbError(QStringLiteral("事务已回滚"));
    }
    if (!database().commit()) {
        const DbError error = failure(database().lastError());
        database().rollback();
        m_depth = 0;
        throw error;
    }
    m_depth = 0;
    finishCached();
}

void Session::rollback()
{
    if (m_depth == 0)
        return;
    if (m_depth > 1) {
        // An inner command failed: the whole outer command must not commit.
        --m_depth;
        m_rollbackOnly = true;
        return;
    }
    finishCached();
    database().rollback();
    m_depth = 0;
    m_rollbackOnly = false;
}

Session &Session::current()
{
    if (!g_current)
        throw DbError(QStringLiteral("数据库会话没有建立"));
    return *g_current;
}

bool Session::hasCurrent()
{
    return g_current != nullptr;
}

void Session::setCurrent(Session *session)
{
    g_current = session;
}

} // namespace tavomi
