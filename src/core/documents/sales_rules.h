#pragma once

#include <QString>

#include <optional>

namespace tavomi {
class Session;
}

namespace tavomi::docs {

// The goods price column a customer's price class (客户.性质) names; empty for a class that names
// none. "价格6" … "价格10" name the columns 价格六 … 价格十.
QString priceColumnForClass(const QString &priceClass);

// The price per base unit a sales line of this goods starts with, for this customer:
// no customer: the goods' 售价; the customer's last price when the memory is used and holds one;
// else the column of the customer's price class. Empty when the goods is not an active goods or
// the class names no column (the line keeps its price).
std::optional<double> salesPrice(Session &session, const QString &goodsCode, const QString &customerCode,
                                 const QString &priceClass, bool useMemory);

// What the customer still owes: the sum of 欠款 over the customer's receivable rows.
double customerDebt(Session &session, const QString &customerName);

} // namespace tavomi::docs
