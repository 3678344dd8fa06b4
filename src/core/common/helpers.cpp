#include "common/helpers.h"

#include <QSet>

#include "common/clock.h"
#include "common/error.h"
#include "common/schema.h"
#include "common/session.h"

#include <QRegularExpression>

namespace tavomi {

void AddOperationLog(Session &session, const QString &computerName, const QString &userName, const QString &workNumber,
                     const QString &category, const QString &text)
{
    const QDateTime now = Clock::now();
    session.execute(QStringLiteral("insert into 日志(日期,时间,操作电脑名,操作员,操作内容,性质,工号) values(?,?,?,?,?,?,?)"),
                    {now.date().toString(QLatin1String(kDateFormat)), now.time().toString(QLatin1String(kTimeFormat)),
                     computerName.trimmed(), userName, text, category, workNumber});
}

QString MakeBillNo(const QString &prefix, const QDateTime &when)
{
    return prefix + when.toString(QStringLiteral("yyyyMMdd")) + when.toString(QStringLiteral("HHmmss"));
}

QString MakeBillNo(const QString &prefix)
{
    return MakeBillNo(prefix, Clock::now());
}

QString MakeFreeBillNo(Session &session, const QString &prefix, const QString &table, const QString &column)
{
    if (!schema::findTable(table))
        throw Error(QStringLiteral("未知的单据表：%1").arg(table));
    // Workstations of a shared server take numbers of one table one at a time, until their
    // command ends (SQLite writers are one at a time already).
    if (session.isPostgres() && session.inTransaction())
        session.run(QStringLiteral("select pg_advisory_xact_lock(hashtext(?))"), {table});
    const QDateTime start = Clock::now();
    const QString first = MakeBillNo(prefix, start);
    // The numbers of the next day that are taken, in one read: fixed-width digits sort in time order.
    QSqlQuery &q = session.runCached(QStringLiteral("select %2 from %1 where %2>=? and %2<=? and length(%2)=? order by %2").arg(table, column),
                                     {first, MakeBillNo(prefix, start.addSecs(86399)), int(first.size())});
    QSet<QString> taken;
    while (q.next())
        taken.insert(q.value(0).toString());
    q.finish();
    for (int i = 0; i < 86400; ++i) {
        const QString number = MakeBillNo(prefix, start.addSecs(i));
        if (!taken.contains(number))
            return number;
    }
    throw Error(QStringLiteral("无法生成新的单号"));
}

QString checkWarehouseTableName(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("仓库名称不能为空");
    if (name.size() > 25)
        return QStringLiteral("仓库名称最多25个字符");
    static const QRegularExpression allowed(QStringLiteral("^[A-Za-z0-9_\\x{3400}-\\x{4DBF}\\x{4E00}-\\x{9FFF}\\x{F900}-\\x{FAFF}]+$"));
    if (!allowed.match(name).hasMatch())
        return QStringLiteral("仓库名称只能由汉字、字母、数字和下划线组成");
    for (const QString &reserved : schema::reservedNames())
        if (reserved.compare(name, Qt::CaseInsensitive) == 0)
            return QStringLiteral("仓库名称“%1”是系统保留的名称，请换一个").arg(name);
    return QString();
}

void MaintainStockTable(Session &session, StockTableAction action, const QString &warehouseName)
{
    const QString problem = checkWarehouseTableName(warehouseName);
    if (!problem.isEmpty())
        throw Error(problem);
    const QString table = session.quoteName(warehouseName);
    session.clearCache();
    switch (action) {
    case StockTableAction::Create: {
        session.execute(schema::createTableSql(session, table, schema::stockColumns()));
        const QString index = session.quoteName(QStringLiteral("ix_") + warehouseName + QStringLiteral("_编码"));
        session.execute(QStringLiteral("create unique index %1 on %2(编码)").arg(index, table));
        break;
    }
    case StockTableAction::Drop:
        session.execute(QStringLiteral("drop table %1").arg(table));
        break;
    case StockTableAction::Seed:
        session.execute(QStringLiteral("insert into %1(货位,编码,数量,金额,日期,标记,组合库存) "
                                       "select ?,编码,0,0,?,标记,'0' from 库存")
                            .arg(table),
                        {warehouseName, Clock::today()});
        break;
    }
}

QString likeOperator(const Session &session)
{
    return session.isPostgres() ? QStringLiteral("ilike") : QStringLiteral("like");
}

namespace {
QString escapeLike(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('!'))
            escaped += QLatin1Char('!');
        escaped += c;
    }
    return escaped;
}
} // namespace

QString containsPattern(const QString &text)
{
    return QLatin1Char('%') + escapeLike(text) + QLatin1Char('%');
}

QString likeEscapeFor(const QString &text)
{
    for (const QChar c : text)
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('!') || c == QLatin1Char('\\'))
            return kLikeEscape;
    return QString();
}

QString startsWithPattern(const QString &text)
{
    return escapeLike(text) + QLatin1Char('%');
}

QSqlQuery SearchGoods(Session &session, const QString &text, int limit)
{
    const QString needle = text.trimmed();
    const QString columns = QStringLiteral("select 编码,条码,品名,批价,售价,进价,单位 from 商品 where (淘汰否 is null or 淘汰否<>'是') ");
    const QString limitSql = limit > 0 ? QStringLiteral(" limit %1").arg(limit) : QString();
    if (session.isSqlite() && needle.toUcs4().size() >= 3
        && session.exists(QStringLiteral("select 1 from sqlite_master where name=?"), {schema::kGoodsSearchTable})) {
        // Three characters and more: the trigram index finds them (ASCII case ignored, as "like"
        // does), as one phrase so that nothing in the text is read as search syntax.
        const QString phrase = QLatin1Char('"') + QString(needle).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
        return session.run(columns + QStringLiteral("and rowid in (select rowid from 商品检索 where 商品检索 match ? "
                                                    "union all select rowid from 商品 where 备注=?) order by 条码")
                               + limitSql,
                           {phrase, text});
    }
    const QString like = likeOperator(session) + QStringLiteral(" ?") + likeEscapeFor(needle);
    const QString pattern = containsPattern(needle);
    // One or two characters match a large part of the goods. With a limit the (条码,品名,编码,
    // 备注,淘汰否) index is walked in order and tested on its own entries until enough are found;
    // without one, reading the table once and sorting what matched beats fetching every row
    // through the index (SQLite's unary + keeps the index out of it).
    const QString order = session.isSqlite() && limit <= 0 ? QStringLiteral("+条码") : QStringLiteral("条码");
    return session.run(columns + QStringLiteral("and (条码 %1 or 品名 %1 or 编码 %1 or 备注=?) order by %2").arg(like, order) + limitSql,
                       {pattern, pattern, pattern, text});
}

} // namespace tavomi
