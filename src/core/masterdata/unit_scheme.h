#pragma once

#include <QString>

namespace tavomi {

// The placeholder at the top of every unit list: "no unit chosen".
inline const QString kNoUnit = QStringLiteral("无单位");

// Up to three units of a goods, largest first, with the whole-number ratios between them.
struct UnitChoice
{
    QString largest;                       // 大单位 (required)
    QString second;                        // 第二单位
    QString third;                         // 第三单位 (only with a second unit)
    QString ratio1 = QStringLiteral("1");  // largest -> second
    QString ratio2 = QStringLiteral("1");  // second -> third
};

// What the unit choice stores in 商品.
struct UnitFields
{
    QString packing;   // 柜组: 1件*12袋*24包
    QString unit;            // 单位: smallest unit * last ratio, 包*24
    QString unitNames;       // 换算数: 件袋包
    QString largestUnit;     // 大包装: 件
    QString smallestUnit;    // the unit prices are given in
    double smallCount = 1;   // 小包装: smallest units per largest unit, 288
};

// Builds the stored fields; an empty choice (no largest unit) gives empty fields.
// Throws tavomi::Error when a ratio in use is not a whole number of at least 1,
// or a third unit is chosen without a second.
UnitFields computeUnitFields(const UnitChoice &choice);

} // namespace tavomi
