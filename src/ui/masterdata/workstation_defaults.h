#pragma once

#include <QString>
#include <QStringList>

namespace tavomi {

// The defaults page of bdchange.ini.
struct WorkstationDefaults
{
    QStringList warehouses;      // 采购入库 … 其它出库, in that order
    int decimals = 2;            // 小数点位数1
    QString discountText;        // as shown: in 折, "0" for no discount
    bool noStartupPage = true;   // 启动提示设置 "1"
};

const QStringList &defaultWarehouseKeys();
// Reads bdchange.ini; missing keys take their defaults.
WorkstationDefaults readWorkstationDefaults();
inline const QString kDefaultDiscountInvalid = QStringLiteral("销售出货默认折扣必须是0到10之间的数字!");
// Validates everything first (decimals 0..4, discount a number in [0, 10]), then writes every key.
void writeWorkstationDefaults(const WorkstationDefaults &defaults);
void writeStartupSetting(bool noStartupPage);

} // namespace tavomi
