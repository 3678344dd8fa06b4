#pragma once

#include <QList>
#include <QString>

namespace tavomi::docs {

// One goods line of a bill as the form's grid holds it.
struct BillLine
{
    int row = 0;           // grid row number, stored as 序号
    QString code;          // goods code
    QString unit;          // unit chosen on the line (大单位)
    double quantity = 0;   // quantity in that unit (件数量)
    QString warehouse;     // warehouse of the line (for a transfer: the one the goods leave)
    QString warehouseIn;   // transfer: the warehouse the goods enter
    double discount = 1;   // 进率
    double price = 0;      // price per chosen unit
    double amount = 0;     // line amount; recomputed on save
    QString name;          // 品名
    QString note;          // sales lines: 备注 / barcode
    double baseQuantity = 0; // filled on save and load
    double costPrice = 0;    // sales lines: the goods' cost price when saved
};

struct BillHeader
{
    QString number;        // 单号
    QString orderNumber;   // 发票号: the order this bill fulfils
    QString place;         // 货位 (stock take: the counted warehouse)
    QString remark;        // 备注
    QString partnerCode;
    QString partnerName;
    QString summary;       // 摘要
    QString account;       // 账户 / 帐户
    double writeOff = 0;   // 本次付款 / 本次收款 (去零头)
    QString invoiceNumber; // 发票号码
    QString extra;         // 附加说明
    double total = 0;      // 金额合计
    int audited = 0;
    QString date;          // yyyy-MM-dd
    QString time;          // HH:mm:ss
    QString operatorName;
    QString salesperson;   // 业务员
    QString settleFlag;    // 结算标志
    QString deliveryDate;  // 交货日期
    QString doneFlag;      // 完成标志
};

struct Bill
{
    BillHeader header;
    QList<BillLine> lines;
};

} // namespace tavomi::docs
