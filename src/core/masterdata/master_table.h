#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>

namespace tavomi {

class Session;

// One row of a master-data table: the values of MasterTableDef::columns, in that order.
using MasterRow = QStringList;

struct MasterColumn
{
    QString name;
    bool required = false;
};

// What the list-and-editor pattern needs to know about one master-data table
// (warehouses, customers, suppliers, staff, members, borrowers).
struct MasterTableDef
{
    QString table;
    QList<MasterColumn> columns;   // the columns the form shows and writes, in insert order
    QStringList keyColumns;        // the columns that identify a row
    QString listOrder;             // "order by" of the re-list after a save or delete
    QString listCondition;         // a fixed condition every listing keeps (fixed SQL, no values)
    QString writeRight;            // permission column a save or delete needs; empty: none
    QString nameColumn;            // the column whose value the log texts end with
    QString logInsert;             // log text prefixes ("重要"); empty: no log row
    QString logUpdate;
    QString logDelete;
    QString logSaveCategory = QStringLiteral("重要");   // category of the insert and update rows

    // Hooks run inside the command's transaction; they refuse by throwing tavomi::Error.
    std::function<void(Session &, const MasterRow &)> beforeInsert;
    std::function<void(Session &, const MasterRow &)> afterInsert;
    // `key` holds the identifying values of the stored row being changed (its old values).
    std::function<void(Session &, const MasterRow &row, const MasterRow &key)> beforeUpdate;
    std::function<void(Session &, const MasterRow &row, const MasterRow &key)> afterUpdate;
    std::function<void(Session &, const MasterRow &)> beforeDelete;
    std::function<void(Session &, const MasterRow &)> afterDelete;

    int indexOf(const QString &column) const;
    QString value(const MasterRow &row, const QString &column) const;
    QStringList columnNames() const;
};

// Reads and writes one master-data table described by a MasterTableDef.
// Every write is one transaction; values are trimmed before they are stored.
class MasterTableStore
{
public:
    MasterTableStore(Session &session, const MasterTableDef &def);

    // All rows, in the given order ("" for the database's own order).
    QList<MasterRow> list(const QString &orderBy = QString()) const;
    // The statements behind list() and search(), for grids that run them themselves.
    QString listSql(const QString &orderBy = QString()) const;
    QString searchSql(const MasterRow &texts, QVariantList &values) const;
    // Rows where every column contains the text given for it (ASCII case ignored).
    // Empty texts put no condition on their column.
    QList<MasterRow> search(const MasterRow &texts) const;
    // The stored row with the key values of the given row, if any.
    bool find(const MasterRow &row, MasterRow *stored = nullptr) const;

    void insert(const MasterRow &row);
    // Writes the row over the stored row identified by the key values of `key`.
    void update(const MasterRow &row, const MasterRow &key);
    void remove(const MasterRow &key);

    // Fails with the standard refusal when the logged-in user lacks the write permission.
    void checkWriteRight() const;

private:
    QString keyCondition(QVariantList &values, const MasterRow &key) const;
    QList<MasterRow> read(const QString &sql, const QVariantList &values) const;

    Session &m_session;
    const MasterTableDef &m_def;
};

} // namespace tavomi
