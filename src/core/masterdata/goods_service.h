#pragma once

#include "masterdata/unit_scheme.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

namespace tavomi {

class Session;

// The twenty further price columns of 商品: 价格一 … 价格十, 价格11 … 价格20.
const QStringList &priceLevelColumns();

// The eleven bill line tables that name goods by 编码.
const QStringList &goodsLineTables();

// What the goods editor hands over. Numbers are the texts as typed; an empty box means 0.
struct GoodsInput
{
    QString categoryPrefix;   // new goods: the category prefix
    QString itemNumber;       // new goods: the number typed after the prefix
    QString code;             // changed goods: the stored code
    QString shorthand;
    QString name;
    QString barcode;
    QString supplierCode;
    QString supplierName;
    QString cost;
    QString wholesale;
    QString retail;
    QString upperLimit;
    QString lowerLimit;
    UnitChoice units;
    bool retired = false;
    QStringList priceLevels;  // up to twenty texts, in the order of priceLevelColumns()
};

// Field names a FieldError of the goods editor names besides the 商品 columns.
inline const QString kItemNumberField = QStringLiteral("商品编码");
inline const QString kWarehouseField = QStringLiteral("货位");
inline const QString kUnitsField = QStringLiteral("单位");

inline const QString kNoWarehouseText = QStringLiteral("对不起,当前没有一个仓库信息,请您先增加一个仓库!");
inline const QString kGoodsRequiredText = QStringLiteral("请您正确输入带 [*] 号的商品资料!");
inline const QString kGoodsDuplicateText = QStringLiteral("对不起店内码有类似的重复,请你重新输入！");
inline const QString kBarcodeDuplicateText = QStringLiteral("对不起条码有重复，请你重新输入！");

// A category code of exactly two characters is extended by "00"; others stay as they are.
QString categoryPrefix(const QString &categoryCode);
// "B" + category prefix + item number.
QString goodsCode(const QString &prefix, const QString &itemNumber);

// True when a stored code contains the code anywhere (the duplicate rule of new goods).
bool goodsCodeTaken(Session &session, const QString &code);
// True when the code occurs in any bill line table.
bool goodsUsedInBills(Session &session, const QString &code);
// True when another goods (not exceptCode) already carries the non-empty barcode.
bool barcodeTaken(Session &session, const QString &barcode, const QString &exceptCode = QString());

// Checks a new goods in the editor's order; throws FieldError naming the box to fix.
void validateNewGoods(Session &session, const GoodsInput &input);
// Validates, then writes the goods, its zero stock rows in 库存, 库存2 and every warehouse,
// and the log row, in one transaction. Returns the new code.
QString addGoods(Session &session, const GoodsInput &input);

void validateGoodsChange(Session &session, const GoodsInput &input);
// Writes the changed goods. The unit scheme is kept as stored while the goods occurs in a bill.
void changeGoods(Session &session, const GoodsInput &input);

// Why the goods may not be deleted, or empty.
QString goodsDeleteRefusal(Session &session, const QString &code);
// Deletes the goods and all its stock rows in one transaction (refuses as goodsDeleteRefusal says).
void deleteGoods(Session &session, const QString &code);

// Every column of one stored goods; empty when there is none.
QVariantMap loadGoods(Session &session, const QString &code);

// The goods list: all 商品 columns shown by the list, narrowed by a category or the search boxes.
struct GoodsSearch
{
    QString code;
    QString shorthand;
    QString name;
    QString supplierName;
    QString barcode;
};

struct GoodsListQuery
{
    bool joinStock = false;
    QString where;            // conditions after "where", joined by " and "; empty: none
    QVariantList values;
    QString orderColumn = QStringLiteral("品名");
    bool descending = false;

    QString sql() const;
    // The number of goods the query lists.
    QString countSql() const;
};

// The columns the goods list shows, in grid order.
const QStringList &goodsListColumns();

GoodsListQuery goodsAll();
// Goods of a category node and its sub-categories; the root code "0" lists all goods.
GoodsListQuery goodsOfCategory(Session &session, const QString &nodeCode);
// Goods whose columns contain the texts of the five search boxes (goods with a 库存 row only).
GoodsListQuery goodsSearch(Session &session, const GoodsSearch &search);

} // namespace tavomi
