#pragma once

#include <QHash>
#include <QSet>
#include <QStringList>
#include <QString>

namespace tavomi {
class Session;
}

namespace tavomi::docs {

// The unit scheme of one goods, as the ledger needs it.
struct GoodsUnits
{
    bool exists = false;
    QString baseUnitText; // 单位: base unit, separator, ratio ("瓶*24", "支*10")
    QString bigUnit;      // 大包装
    double perBig = 1;    // 小包装: base units per big unit
    QString packing;      // 柜组: "1件*12盒*10支"
    QString names;        // 换算数: "件盒支"
    double cost = 0;      // 进价 per base unit

    // The base unit name (the first unit name of 单位).
    QString baseUnit() const;
    // Base units per middle unit (the number after the base unit in 单位).
    double middleRatio() const;
    // Base units in one of the given unit (1 for the base unit).
    double factor(const QString &unit) const;
};

class StockLedger
{
public:
    explicit StockLedger(Session &session);

    GoodsUnits units(const QString &code);
    // Reads, in a few statements, what the postings of a bill will need: the goods' unit schemes
    // and the current rows of the stock tables. Optional; postings read what is not preloaded.
    void preloadGoods(const QStringList &codes);
    void preloadStock(const QString &table, const QStringList &codes);

    // Quantity of a line in base units.
    static double baseQuantity(const GoodsUnits &goods, const QString &unit, double quantity);
    double baseQuantity(const QString &code, const QString &unit, double quantity);

    // Adds (direction +1) or takes away (−1) a line's base quantity and amount in the warehouse's
    // stock table, and in 库存 and 库存2 when the totals follow. A missing row is created at zero
    // first; a missing warehouse table refuses with the warning text (the warning word names the column).
    void postLine(const QString &warehouse, const QString &code, double baseQuantity, double amount, int direction,
                  bool totalsFollow, const QString &warningWord);
    // Sets the warehouse row to zero (stock take).
    void zeroWarehouseRow(const QString &warehouse, const QString &code);
    // 库存 of the goods := the sum of every warehouse's row (a missing row counts 0).
    void rebuildTotal(const QString &code);

    // The warning shown when a bill names a warehouse whose stock table is gone.
    static QString missingWarehouseText(const QString &warningWord, const QString &warehouse);

private:
    void checkWarehouse(const QString &warehouse, const QString &warningWord);
    void postTable(const QString &table, const GoodsUnits &goods, const QString &code, double quantity, double amount);
    QString quoted(const QString &table) const;

    Session &m_session;
    QSet<QString> m_checked;
    QHash<QString, GoodsUnits> m_goods;
    // Current 数量 per stock table and goods code, as this command has left it; absent: not read yet;
    // NaN: no row.
    QHash<QString, QHash<QString, double>> m_quantities;
};

} // namespace tavomi::docs
