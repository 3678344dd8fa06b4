#include "masterdata/unit_scheme.h"

#include "common/error.h"

namespace tavomi {

namespace {

QString chosen(const QString &unit)
{
    const QString u = unit.trimmed();
    return u == kNoUnit ? QString() : u;
}

// A ratio in use: digits only, at least 1.
qint64 ratioValue(const QString &text, const QString &what)
{
    const QString t = text.trimmed();
    bool ok = !t.isEmpty();
    for (const QChar c : t)
        ok = ok && c.isDigit() && c.unicode() < 0x80;
    const qint64 v = ok && t.size() <= 9 ? t.toLongLong() : 0;
    if (v < 1)
        throw Error(QStringLiteral("%1必须是大于或等于1的整数!").arg(what));
    return v;
}

} // namespace

UnitFields computeUnitFields(const UnitChoice &choice)
{
    UnitFields f;
    const QString u1 = chosen(choice.largest);
    const QString u2 = chosen(choice.second);
    const QString u3 = chosen(choice.third);
    if (u1.isEmpty())
        return f;
    if (!u3.isEmpty() && u2.isEmpty())
        throw Error(QStringLiteral("请先选择第二单位,再选择第三单位!"));

    f.largestUnit = u1;
    f.packing = QStringLiteral("1") + u1;
    f.unitNames = u1;
    if (u2.isEmpty()) {
        // A single unit always has the ratio 1.
        f.unit = u1 + QStringLiteral("*1");
        f.smallestUnit = u1;
        f.smallCount = 1;
        return f;
    }
    const qint64 r1 = ratioValue(choice.ratio1, QStringLiteral("第一单位与第二单位的换算数"));
    f.packing += QLatin1Char('*') + QString::number(r1) + u2;
    f.unitNames += u2;
    if (u3.isEmpty()) {
        f.unit = u2 + QLatin1Char('*') + QString::number(r1);
        f.smallestUnit = u2;
        f.smallCount = double(r1);
        return f;
    }
    const qint64 r2 = ratioValue(choice.ratio2, QStringLiteral("第二单位与第三单位的换算数"));
    f.packing += QLatin1Char('*') + QString::number(r2) + u3;
    f.unitNames += u3;
    f.unit = u3 + QLatin1Char('*') + QString::number(r2);
    f.smallestUnit = u3;
    f.smallCount = double(r1) * double(r2);
    return f;
}

} // namespace tavomi
