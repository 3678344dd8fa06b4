#pragma once

#include "masterdata/master_table.h"

#include <QStringList>

namespace tavomi {

class Session;

// Customers (客户), suppliers (供应商), staff (业务员), members (会员) and borrowers (借货人表):
// the table definitions the shared list-and-editor form works with, and the few rules beyond it.

const MasterTableDef &customerTable();
const MasterTableDef &supplierTable();
const MasterTableDef &staffTable();
const MasterTableDef &memberTable();
const MasterTableDef &borrowerTable();

// The 23 price levels a customer can be given (性质).
const QStringList &customerPriceLevels();

// What the customer delete dialog removes; each part writes its own log row.
struct CustomerDeletion
{
    bool customer = false;      // the 客户 row
    bool recentPrices = false;  // 客户售价 of the code
    bool salesRecords = false;  // the customer's unaudited sales bills
};

inline const QString kCustomerSalesBlocked =
    QStringLiteral("此客户还有已审核的销售单据或未结清的应收款,请先反审核单据或结清应收款后再删除销售记录!");

// Deletes what `what` asks for in one transaction. Sales records go only while the customer has
// no audited sales bill and no open receivable (kCustomerSalesBlocked); then nothing is deleted.
void deleteCustomer(Session &session, const QString &code, const QString &name, const CustomerDeletion &what);

// The column the customer sort chooses for a field text: the three renamed captions, the grid's
// titles and the listed column names; empty text sorts by name. Empty when the text is none of these.
QString customerSortColumn(const QString &field);
// The choices the sort panel offers.
QStringList customerSortFields();

inline const QString kCardTaken = QStringLiteral("此会员卡号已经有其它会员在使用,请换一个会员卡号!");

// Member discounts (会员活动): the gold and the ordinary discount, in 折 (8.8 = 88%).
struct MemberDiscounts
{
    bool stored = false;
    double gold = 0;
    double ordinary = 0;
};
MemberDiscounts readMemberDiscounts(Session &session);
inline const QString kDiscountInvalid = QStringLiteral("请输入0到10之间的折扣数(大于0,不超过10)!");
// Both texts must be numbers in (0, 10]; else throws kDiscountInvalid and nothing changes.
// Replaces both rows in one transaction.
void setMemberDiscounts(Session &session, const QString &goldText, const QString &ordinaryText);

} // namespace tavomi
