#include "masterdata/category_service.h"

#include "common/error.h"
#include "common/session.h"
#include "common/transaction.h"

namespace tavomi {

QString categoryEntry(const QString &name, const QString &code)
{
    return name + QLatin1Char('(') + code + QLatin1Char(')');
}

QString categoryCodeOfEntry(const QString &entry)
{
    const qsizetype close = entry.lastIndexOf(QLatin1Char(')'));
    if (close < 0)
        return QString();
    const qsizetype open = entry.lastIndexOf(QLatin1Char('('), close);
    if (open < 0)
        return QString();
    return entry.mid(open + 1, close - open - 1);
}

QList<CategoryNode> categoryChildren(Session &session, const QString &parentCode)
{
    QList<CategoryNode> out;
    QSqlQuery q = session.run(QStringLiteral("select 编码,类名,父项编码,未级标志 from 类别 where 父项编码=? order by 编码"),
                              {parentCode});
    while (q.next())
        out.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                    q.value(3).toString() == QStringLiteral("否")});
    return out;
}

bool categoryHasChildren(Session &session, const QString &code)
{
    return session.exists(QStringLiteral("select 编码 from 类别 where 父项编码=?"), {code});
}

QStringList categoryEntries(Session &session)
{
    QStringList out;
    QSqlQuery q = session.run(QStringLiteral("select 类名,编码 from 类别 order by 类名"));
    while (q.next())
        out << categoryEntry(q.value(0).toString(), q.value(1).toString());
    return out;
}

void addCategory(Session &session, const QString &parentCode, const QString &codeText, const QString &nameText)
{
    const QString code = codeText.trimmed();
    const QString name = nameText.trimmed();
    const QString parent = parentCode.trimmed().isEmpty() ? kCategoryRootCode : parentCode.trimmed();
    if (name == kCategoryRootName)
        throw Error(QStringLiteral("类别名称不能为[商品类别]!"));
    if (code.isEmpty())
        throw Error(QStringLiteral("请输入类别编码!"));
    if (name.isEmpty())
        throw Error(QStringLiteral("请输入类别名称!"));
    if (code == kCategoryRootCode)
        throw Error(QStringLiteral("类别编码不能为0(零)!"));
    if (session.scalar(QStringLiteral("select count(*) from 类别 where 编码=?"), {code}, 0).toInt() > 0)
        throw Error(QStringLiteral("已经有此[类别编码],请用其它的编码!"));

    TransactionGuard tx(session);
    int depth = 0;
    if (parent != kCategoryRootCode)
        depth = session.scalar(QStringLiteral("select 层次码 from 类别 where 编码=?"), {parent}, 0).toInt() + 1;
    session.execute(QStringLiteral("insert into 类别(编码,类名,未级标志,父项编码,层次码) values(?,?,?,?,?)"),
                    {code, name, QStringLiteral("是"), parent, QString::number(depth)});
    if (parent != kCategoryRootCode)
        session.execute(QStringLiteral("update 类别 set 未级标志='否' where 编码=?"), {parent});
    tx.commit();
}

void deleteCategory(Session &session, const QString &code)
{
    QSqlQuery q = session.run(QStringLiteral("select 未级标志,父项编码 from 类别 where 编码=?"), {code});
    if (!q.next())
        return;
    const QString flag = q.value(0).toString();
    const QString parent = q.value(1).toString();
    if (flag == QStringLiteral("否") || categoryHasChildren(session, code))
        throw Error(QStringLiteral("此大类下面还有子类,您必须先将子类删除!"));
    TransactionGuard tx(session);
    if (parent != kCategoryRootCode
        && session.scalar(QStringLiteral("select count(*) from 类别 where 父项编码=?"), {parent}, 0).toInt() == 1)
        session.execute(QStringLiteral("update 类别 set 未级标志='是' where 编码=?"), {parent});
    session.execute(QStringLiteral("delete from 类别 where 编码=?"), {code});
    tx.commit();
}

void renameCategory(Session &session, const QString &code, const QString &name)
{
    if (code.isEmpty() || code == kCategoryRootCode)
        throw Error(QStringLiteral("父结点为[商品类别]不能修改"));
    if (name.trimmed().isEmpty())
        throw Error(QStringLiteral("请输入类别名称!"));
    TransactionGuard tx(session);
    session.execute(QStringLiteral("update 类别 set 类名=? where 编码=?"), {name.trimmed(), code});
    tx.commit();
}

} // namespace tavomi
