#include "common/text_utils.h"

#include <QStringEncoder>
#include <QStringList>

#include <cmath>
#include <limits>

namespace tavomi {

double roundHalfAway(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    // The small nudge absorbs binary representation error (1.005 is stored as 1.00499999...).
    const double scaled = std::fabs(value) * scale;
    const double rounded = std::floor(scaled + 0.5 + 8 * std::numeric_limits<double>::epsilon() * std::max(1.0, scaled));
    return std::copysign(rounded / scale, value);
}

QString numberText(double value)
{
    if (value == 0.0)
        return QStringLiteral("0");
    return QString::number(value, 'g', 15);
}

bool IsNumberText(const QString &text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(v) && v >= -1e18 && v <= 1e18;
}

bool amountFromText(const QString &text, double *value)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > kMaxAmount)
        return false;
    *value = v;
    return true;
}

QString MoneyToCapitals(double amount)
{
    if (amount < 0)
        return QStringLiteral("负") + MoneyToCapitals(-amount);
    if (amount == 0)
        return QStringLiteral("零");

    static const QString digits = QStringLiteral("零壹贰叁肆伍陆柒捌玖");
    static const QStringList units = {QStringLiteral("圆"), QStringLiteral("拾"), QStringLiteral("佰"), QStringLiteral("仟"),
                                      QStringLiteral("万"), QStringLiteral("拾"), QStringLiteral("佰"), QStringLiteral("仟"),
                                      QStringLiteral("亿"), QStringLiteral("拾"), QStringLiteral("佰"), QStringLiteral("仟"),
                                      QStringLiteral("万")};

    const QString s = QString::number(roundHalfAway(amount, 2), 'f', 2);
    const int len = int(s.size());
    const bool small = amount < 1;
    auto digitAt = [&s](int i) {
        const QChar c = s.at(i);
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ? c.digitValue() : 0;
    };

    QString integer;
    bool prevZero = small;
    const int intDigits = len - 3;
    for (int p = 1; p <= intDigits; ++p) {
        const int d = digitAt(intDigits - p);
        QString part;
        const bool skipDigit = d == 0 && (prevZero || p == 1 || p == 5 || p == 9);
        if (!skipDigit)
            part += digits.at(d);
        if (p <= units.size()) {
            if (d != 0 || p == 5 || p == 9 || (p == 1 && !small))
                part += units.at(p - 1);
        }
        integer.prepend(part);
        prevZero = d == 0;
    }

    const int hundredths = digitAt(len - 1);
    const int tenths = digitAt(len - 2);
    QString fraction;
    if (hundredths != 0)
        fraction = QString(digits.at(hundredths)) + QStringLiteral("分");
    else
        fraction = QStringLiteral("整");
    QString tenthPart;
    if (!(tenths == 0 && (hundredths == 0 || small)))
        tenthPart += digits.at(tenths);
    if (tenths > 0)
        tenthPart += QStringLiteral("角");
    fraction.prepend(tenthPart);

    integer.replace(QStringLiteral("亿万"), QStringLiteral("亿"));
    return integer + fraction;
}

namespace {

// A value that is a whole number within 15 significant digits.
bool wholeNumber(double v, qint64 *out)
{
    const QString text = QString::number(v, 'g', 15);
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    if (!ok)
        return false;
    *out = n;
    return true;
}

} // namespace

QString PackageText(const QString &quantityInLargestUnits, const QString &packing, const QString &unitNames)
{
    bool ok = false;
    const double q = quantityInLargestUnits.trimmed().toDouble(&ok);
    if (!ok)
        return QString();

    // "1件*12盒*10支" -> "1/12/10/": digits kept, every other run of characters becomes one "/".
    QString work;
    for (int i = 0; i + 1 < packing.size(); ++i) {
        const QChar c = packing.at(i);
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            work += c;
        else if (!work.endsWith(QLatin1Char('/')))
            work += QLatin1Char('/');
    }
    const QStringList numbers = work.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    auto ratio = [&numbers](int i) -> qint64 { return i < numbers.size() ? numbers.at(i).toLongLong() : 0; };
    const qint64 n0 = ratio(0), n1 = ratio(1), n2 = ratio(2);

    QString out;
    switch (unitNames.size()) {
    case 3: {
        if (n1 == 0 || n2 == 0)
            return QString();
        qint64 t = 0;
        if (!wholeNumber(double(n2) * (double(n1) * q), &t))
            return QString();
        const qint64 b = (t / n2) / n1;
        const qint64 m = (t / n2) % n1;
        const qint64 r = t - n2 * n1 * b - n2 * m;
        if (b != 0)
            out += QString::number(b) + unitNames.at(0);
        if (m != 0)
            out += QString::number(m) + unitNames.at(1);
        if (r != 0)
            out += QString::number(r) + unitNames.at(2);
        return out;
    }
    case 2: {
        if (n1 == 0)
            return QString();
        const double tv = double(n1) * q;
        qint64 t = 0;
        if (wholeNumber(tv, &t)) {
            if (t / n1 != 0)
                out += QString::number(t / n1) + unitNames.at(0);
            if (t % n1 != 0)
                out += QString::number(t % n1) + unitNames.at(1);
            return out;
        }
        return QString::number(tv, 'g', 15) + unitNames.at(1);
    }
    case 1:
        return QString::number(double(n0) * q, 'f', 6) + unitNames.at(0);
    default:
        return QString();
    }
}

int gbkByteWidth(const QString &text)
{
    QStringEncoder enc("GB18030");
    if (!enc.isValid()) {
        int n = 0;
        for (const QChar c : text)
            n += c.unicode() < 0x80 ? 1 : 2;
        return n;
    }
    const QByteArray bytes = enc.encode(text);
    return int(bytes.size());
}

QString gbkLeft(const QString &text, int bytes)
{
    QString out;
    int used = 0;
    for (int i = 0; i < text.size(); ++i) {
        int len = 1;
        if (text.at(i).isHighSurrogate() && i + 1 < text.size())
            len = 2;
        const QString ch = text.mid(i, len);
        const int w = gbkByteWidth(ch);
        if (used + w > bytes)
            break;
        out += ch;
        used += w;
        i += len - 1;
    }
    return out;
}

} // namespace tavomi
