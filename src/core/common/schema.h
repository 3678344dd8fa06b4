#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tavomi {

class Session;

namespace schema {

// Raised when the schema changes shape; ensure() migrates older databases up to it.
inline constexpr int kVersion = 1;

// Column kinds: text, number (REAL on SQLite, numeric on PostgreSQL), flag (smallint),
// integer, and the fixed stock-table types.
enum class Kind { Text, Number, Flag, Integer, Varchar50, Varchar600, Quantity, Amount };

struct Column
{
    QString name;
    Kind kind;
};

struct Table
{
    QString name;
    QList<Column> columns;
};

const QList<Table> &tables();
const Table *findTable(const QString &name);

// The trigram index of the goods search (SQLite only).
inline const QString kGoodsSearchTable = QStringLiteral("商品检索");

// Names the schema itself uses; a warehouse may not take one of them as its stock table.
QStringList reservedNames();

// The SQL type of a column kind for the session's driver.
QString sqlType(const Session &session, Kind kind);
// "create table <quoted name>(...)" for the given table definition.
QString createTableSql(const Session &session, const QString &quotedName, const QList<Column> &columns);
// The stock-table layout shared by 库存, 库存2 and every warehouse table.
const QList<Column> &stockColumns();

// Creates what is missing (tables, columns, indexes), seeds a new database and records the version.
// Safe to run on every start. Returns true when the database was new.
bool ensure(Session &session);

// The version recorded in the database (0 when none).
int storedVersion(Session &session);

} // namespace schema
} // namespace tavomi
