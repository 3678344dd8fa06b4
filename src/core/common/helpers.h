#pragma once

#include <QDateTime>
#include <QSqlQuery>
#include <QString>

namespace tavomi {

class Session;

inline const QString kLogImportant = QStringLiteral("重要");
inline const QString kLogGeneral = QStringLiteral("一般");

// One row in 日志 with the current date and time.
void AddOperationLog(Session &session, const QString &computerName, const QString &userName, const QString &workNumber,
                     const QString &category, const QString &text);

// Prefix + yyyyMMdd + HHmmss of the given moment (default: the clock's now).
QString MakeBillNo(const QString &prefix);
QString MakeBillNo(const QString &prefix, const QDateTime &when);
// A number that is free in table.column: starts at now and moves on a second while it is taken.
QString MakeFreeBillNo(Session &session, const QString &prefix, const QString &table,
                       const QString &column = QStringLiteral("单号"));

// Warehouse stock tables: create, drop, seed (one zero row per goods of 库存).
enum class StockTableAction { Create = 1, Drop = 2, Seed = 3 };
void MaintainStockTable(Session &session, StockTableAction action, const QString &warehouseName);
// Empty when the name may be a stock table; otherwise the reason it may not.
QString checkWarehouseTableName(const QString &name);

// Active goods whose shorthand code, name or code contains the text, or whose barcode equals it,
// in shorthand-code order; at most `limit` of them when limit > 0.
QSqlQuery SearchGoods(Session &session, const QString &text, int limit = 0);
// How many goods the goods picker lists for one search.
inline constexpr int kGoodsPickerRows = 500;

// "like" that ignores ASCII case on every engine.
QString likeOperator(const Session &session);
// "like" patterns that find what the user typed literally: '%' and '_' match only themselves.
// Use them with kLikeEscape after the bound value: "品名 like ?" + kLikeEscape.
QString containsPattern(const QString &text);
QString startsWithPattern(const QString &text);
inline const QString kLikeEscape = QStringLiteral(" escape '!'");
// kLikeEscape when the text holds a character the pattern escapes (or PostgreSQL's own escape,
// the backslash), else nothing: the escape clause makes a pass over a large table a third slower.
QString likeEscapeFor(const QString &text);

} // namespace tavomi
