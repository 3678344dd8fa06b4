#include "masterdata/master_table.h"

#include "common/command.h"
#include "common/error.h"
#include "common/helpers.h"
#include "common/identity.h"
#include "common/permissions.h"
#include "common/session.h"
#include "common/transaction.h"

namespace tavomi {

int MasterTableDef::indexOf(const QString &column) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns.at(i).name == column)
            return i;
    return -1;
}

QString MasterTableDef::value(const MasterRow &row, const QString &column) const
{
    const int i = indexOf(column);
    return i >= 0 && i < row.size() ? row.at(i) : QString();
}

QStringList MasterTableDef::columnNames() const
{
    QStringList out;
    for (const MasterColumn &c : columns)
        out << c.name;
    return out;
}

MasterTableStore::MasterTableStore(Session &session, const MasterTableDef &def)
    : m_session(session)
    , m_def(def)
{}

QList<MasterRow> MasterTableStore::read(const QString &sql, const QVariantList &values) const
{
    QList<MasterRow> out;
    QSqlQuery q = m_session.run(sql, values);
    const int n = int(m_def.columns.size());
    while (q.next()) {
        MasterRow row;
        row.reserve(n);
        for (int i = 0; i < n; ++i)
            row << q.value(i).toString();
        out << row;
    }
    return out;
}

QString MasterTableStore::listSql(const QString &orderBy) const
{
    QString sql = QStringLiteral("select %1 from %2").arg(m_def.columnNames().join(QLatin1Char(',')), m_def.table);
    if (!m_def.listCondition.isEmpty())
        sql += QStringLiteral(" where ") + m_def.listCondition;
    if (!orderBy.isEmpty())
        sql += QStringLiteral(" order by ") + orderBy;
    return sql;
}

QList<MasterRow> MasterTableStore::list(const QString &orderBy) const
{
    return read(listSql(orderBy), {});
}

QString MasterTableStore::searchSql(const MasterRow &texts, QVariantList &values) const
{
    QStringList conditions;
    if (!m_def.listCondition.isEmpty())
        conditions << QLatin1Char('(') + m_def.listCondition + QLatin1Char(')');
    const QString like = likeOperator(m_session);
    for (int i = 0; i < m_def.columns.size() && i < texts.size(); ++i) {
        const QString t = texts.at(i).trimmed();
        if (t.isEmpty())
            continue;
        conditions << QStringLiteral("%1 %2 ?").arg(m_def.columns.at(i).name, like) + kLikeEscape;
        values << containsPattern(t);
    }
    QString sql = QStringLiteral("select %1 from %2").arg(m_def.columnNames().join(QLatin1Char(',')), m_def.table);
    if (!conditions.isEmpty())
        sql += QStringLiteral(" where ") + conditions.join(QStringLiteral(" and "));
    if (!m_def.listOrder.isEmpty())
        sql += QStringLiteral(" order by ") + m_def.listOrder;
    return sql;
}

QList<MasterRow> MasterTableStore::search(const MasterRow &texts) const
{
    QVariantList values;
    const QString sql = searchSql(texts, values);
    return read(sql, values);
}

QString MasterTableStore::keyCondition(QVariantList &values, const MasterRow &key) const
{
    QStringList parts;
    for (const QString &k : m_def.keyColumns) {
        parts << k + QStringLiteral("=?");
        values << m_def.value(key, k).trimmed();
    }
    return parts.join(QStringLiteral(" and "));
}

bool MasterTableStore::find(const MasterRow &row, MasterRow *stored) const
{
    QVariantList values;
    const QString where = keyCondition(values, row);
    const QList<MasterRow> rows =
        read(QStringLiteral("select %1 from %2 where %3").arg(m_def.columnNames().join(QLatin1Char(',')), m_def.table, where),
             values);
    if (rows.isEmpty())
        return false;
    if (stored)
        *stored = rows.first();
    return true;
}

void MasterTableStore::checkWriteRight() const
{
    if (!m_def.writeRight.isEmpty() && !hasRight(m_session, m_def.writeRight))
        throw Error(kNoRightText);
}

namespace {
MasterRow trimmed(const MasterRow &row, int size)
{
    MasterRow out;
    out.reserve(size);
    for (int i = 0; i < size; ++i)
        out << (i < row.size() ? row.at(i).trimmed() : QString());
    return out;
}
} // namespace

void MasterTableStore::insert(const MasterRow &input)
{
    checkWriteRight();
    const MasterRow row = trimmed(input, int(m_def.columns.size()));
    runCommand(m_session, [&] {
        TransactionGuard tx(m_session);
        if (m_def.beforeInsert)
            m_def.beforeInsert(m_session, row);
        QStringList marks;
        QVariantList values;
        for (const QString &v : row) {
            marks << QStringLiteral("?");
            values << v;
        }
        m_session.execute(QStringLiteral("insert into %1(%2) values(%3)")
                              .arg(m_def.table, m_def.columnNames().join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                          values);
        if (m_def.afterInsert)
            m_def.afterInsert(m_session, row);
        if (!m_def.logInsert.isEmpty())
            logAction(m_session, m_def.logSaveCategory, m_def.logInsert + m_def.value(row, m_def.nameColumn));
        tx.commit();
    });
}

void MasterTableStore::update(const MasterRow &input, const MasterRow &key)
{
    checkWriteRight();
    const MasterRow row = trimmed(input, int(m_def.columns.size()));
    const MasterRow oldKey = trimmed(key, int(m_def.columns.size()));
    runCommand(m_session, [&] {
        TransactionGuard tx(m_session);
        if (m_def.beforeUpdate)
            m_def.beforeUpdate(m_session, row, oldKey);
        QStringList sets;
        QVariantList values;
        for (int i = 0; i < m_def.columns.size(); ++i) {
            sets << m_def.columns.at(i).name + QStringLiteral("=?");
            values << row.at(i);
        }
        const QString where = keyCondition(values, oldKey);
        m_session.execute(QStringLiteral("update %1 set %2 where %3").arg(m_def.table, sets.join(QLatin1Char(',')), where), values);
        if (m_def.afterUpdate)
            m_def.afterUpdate(m_session, row, oldKey);
        if (!m_def.logUpdate.isEmpty())
            logAction(m_session, m_def.logSaveCategory, m_def.logUpdate + m_def.value(row, m_def.nameColumn));
        tx.commit();
    });
}

void MasterTableStore::remove(const MasterRow &input)
{
    checkWriteRight();
    const MasterRow key = trimmed(input, int(m_def.columns.size()));
    runCommand(m_session, [&] {
        TransactionGuard tx(m_session);
        if (m_def.beforeDelete)
            m_def.beforeDelete(m_session, key);
        QVariantList values;
        const QString where = keyCondition(values, key);
        m_session.execute(QStringLiteral("delete from %1 where %2").arg(m_def.table, where), values);
        if (m_def.afterDelete)
            m_def.afterDelete(m_session, key);
        if (!m_def.logDelete.isEmpty())
            logAction(m_session, kLogImportant, m_def.logDelete + m_def.value(key, m_def.nameColumn));
        tx.commit();
    });
}

} // namespace tavomi
