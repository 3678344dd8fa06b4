#include "ui/masterdata/workstation_defaults.h"

#include "common/error.h"
#include "platform/ini_file.h"

namespace tavomi {

const QStringList &defaultWarehouseKeys()
{
    static const QStringList keys = {QStringLiteral("采购入库"), QStringLiteral("采购退货"), QStringLiteral("销售出货"),
                                     QStringLiteral("销售退货"), QStringLiteral("其它入库"), QStringLiteral("其它出库")};
    return keys;
}

WorkstationDefaults readWorkstationDefaults()
{
    WorkstationDefaults d;
    for (const QString &k : defaultWarehouseKeys())
        d.warehouses << IniFile::read(kBdchangeIni, k, QStringLiteral("0"));
    bool ok = false;
    const int decimals = IniFile::read(kBdchangeIni, QStringLiteral("小数点位数1"), QStringLiteral("2")).toInt(&ok);
    d.decimals = ok ? qBound(0, decimals, 4) : 2;
    const QString stored = IniFile::read(kBdchangeIni, QStringLiteral("销售出货默认折扣"), QStringLiteral("0")).trimmed();
    const double factor = stored.toDouble(&ok);
    if (!ok)
        d.discountText = QStringLiteral("1");
    else if (stored == QLatin1String("1"))
        d.discountText = QStringLiteral("0");
    else
        d.discountText = QString::number(factor * 10, 'g', 15);
    d.noStartupPage = IniFile::read(kBdchangeIni, QStringLiteral("启动提示设置"), QStringLiteral("1")) == QLatin1String("1");
    return d;
}

void writeWorkstationDefaults(const WorkstationDefaults &d)
{
    // Everything is checked before the first key is written.
    if (d.decimals < 0 || d.decimals > 4)
        throw Error(QStringLiteral("单价小数位数只能是0到4!"));
    const QString text = d.discountText.trimmed();
    bool ok = text.isEmpty();
    const double discount = text.isEmpty() ? 0 : text.toDouble(&ok);
    if (!ok || !(discount >= 0) || discount > 10)
        throw Error(kDefaultDiscountInvalid);

    const QStringList &keys = defaultWarehouseKeys();
    for (int i = 0; i < keys.size(); ++i)
        IniFile::write(kBdchangeIni, keys.at(i), d.warehouses.value(i).trimmed());
    IniFile::write(kBdchangeIni, QStringLiteral("小数点位数"),
                   d.decimals == 0 ? QStringLiteral("0") : QStringLiteral("0.") + QString(d.decimals, QLatin1Char('0')));
    IniFile::write(kBdchangeIni, QStringLiteral("小数点位数1"), QString::number(d.decimals));
    IniFile::write(kBdchangeIni, QStringLiteral("销售出货默认折扣"),
                   discount > 0 ? QString::number(discount / 10, 'g', 15) : QStringLiteral("1"));
}

void writeStartupSetting(bool noStartupPage)
{
    IniFile::write(kBdchangeIni, QStringLiteral("启动提示设置"), noStartupPage ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace tavomi
