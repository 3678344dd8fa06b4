#include "ui/masterdata/goods_list_model.h"

#include "common/error.h"
#include "common/session.h"

#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>

namespace tavomi {

namespace {

const QStringList &titles()
{
    static const QStringList t = [] {
        QStringList l = {QStringLiteral("编码"), QStringLiteral("速记码"), QStringLiteral("品名+规格"), QStringLiteral("单位"),
                         QStringLiteral("进价"), QStringLiteral("批价"), QStringLiteral("售价"), QStringLiteral("上限"),
                         QStringLiteral("下限"), QStringLiteral("供应商"), QStringLiteral("公司名"), QStringLiteral("淘汰否")};
        l << priceLevelColumns().mid(0, 10);
        l << QStringLiteral("柜组") << QStringLiteral("条形码") << QStringLiteral("大包装") << QStringLiteral("换算数")
          << QStringLiteral("小包装");
        return l;
    }();
    return t;
}

enum class Format { Plain, Money, Limit, Number };

Format formatOf(const QString &column)
{
    if (column == QStringLiteral("进价") || column == QStringLiteral("批价") || column == QStringLiteral("售价"))
        return Format::Money;
    if (column == QStringLiteral("上限") || column == QStringLiteral("下限"))
        return Format::Limit;
    if (column == QStringLiteral("小包装") || priceLevelColumns().contains(column))
        return Format::Number;
    return Format::Plain;
}

} // namespace

GoodsListModel::GoodsListModel(QObject *parent)
    : QSqlQueryModel(parent)
{}

QString GoodsListModel::columnName(int column)
{
    return goodsListColumns().value(column);
}

int GoodsListModel::columnOf(const QString &name)
{
    return int(goodsListColumns().indexOf(name));
}

void GoodsListModel::run(Session &session, const GoodsListQuery &query)
{
    QSqlQuery q(session.database());
    if (!q.prepare(query.sql()))
        throw DbError(q.lastError().text());
    for (int i = 0; i < query.values.size(); ++i)
        q.bindValue(i, query.values.at(i));
    if (!q.exec())
        throw DbError(q.lastError().text());
    m_total = session.scalar(query.countSql(), query.values, 0).toInt();
    m_query = query;
    setQuery(std::move(q));
    for (int i = 0; i < titles().size(); ++i)
        setHeaderData(i, Qt::Horizontal, titles().at(i));
}

QVariant GoodsListModel::data(const QModelIndex &index, int role) const
{
    if (role == Qt::DisplayRole || role == Qt::TextAlignmentRole) {
        const Format f = formatOf(columnName(index.column()));
        if (role == Qt::TextAlignmentRole)
            return f == Format::Plain ? QVariant(int(Qt::AlignLeft | Qt::AlignVCenter))
                                      : QVariant(int(Qt::AlignRight | Qt::AlignVCenter));
        const QVariant v = QSqlQueryModel::data(index, Qt::DisplayRole);
        if (f == Format::Plain || v.isNull())
            return v;
        static const QLocale c(QLocale::English, QLocale::UnitedStates);
        const double d = v.toDouble();
        switch (f) {
        case Format::Money:
            return QStringLiteral("￥") + c.toString(d, 'f', 2);
        case Format::Limit:
            return c.toString(d, 'f', 1);
        default:
            return QString::number(d, 'g', 15);
        }
    }
    return QSqlQueryModel::data(index, role);
}

} // namespace tavomi
