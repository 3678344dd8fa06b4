#pragma once

#include "masterdata/goods_service.h"

#include <QSqlQueryModel>

namespace tavomi {

class Session;

// The goods grid's rows. Rows are fetched from the open result in chunks as the view scrolls,
// so a list of any length opens at once; the total comes from a separate count.
class GoodsListModel : public QSqlQueryModel
{
    Q_OBJECT
public:
    explicit GoodsListModel(QObject *parent = nullptr);

    // Runs the query (throws DbError); the previous rows are dropped.
    void run(Session &session, const GoodsListQuery &query);
    const GoodsListQuery &lastQuery() const { return m_query; }
    int total() const { return m_total; }
    // The stored column shown in the given grid column.
    static QString columnName(int column);
    static int columnOf(const QString &name);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    GoodsListQuery m_query;
    int m_total = 0;
};

} // namespace tavomi
