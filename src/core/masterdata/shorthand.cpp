#include "masterdata/shorthand.h"

#include <QStringEncoder>

#include <array>

namespace tavomi {

namespace {

struct InitialRange
{
    int first;
    int last;
    char initial;
};

// Level-1 hanzi of GB 2312 are ordered by pinyin; these are the code ranges per initial.
constexpr std::array<InitialRange, 23> kRanges = {{
    {0xB0A1, 0xB0C4, 'A'}, {0xB0C5, 0xB2C0, 'B'}, {0xB2C1, 0xB4ED, 'C'}, {0xB4EE, 0xB6E9, 'D'},
    {0xB6EA, 0xB7A1, 'E'}, {0xB7A2, 0xB8C0, 'F'}, {0xB8C1, 0xB9FD, 'G'}, {0xB9FE, 0xBBF6, 'H'},
    {0xBBF7, 0xBFA5, 'J'}, {0xBFA6, 0xC0AB, 'K'}, {0xC0AC, 0xC2E7, 'L'}, {0xC2E8, 0xC4C2, 'M'},
    {0xC4C3, 0xC5B5, 'N'}, {0xC5B6, 0xC5BD, 'O'}, {0xC5BE, 0xC6D9, 'P'}, {0xC6DA, 0xC8BA, 'Q'},
    {0xC8BB, 0xC8F5, 'R'}, {0xC8F6, 0xCBF9, 'S'}, {0xCBFA, 0xCDD9, 'T'}, {0xCDDA, 0xCEF3, 'W'},
    {0xCEF4, 0xD1B8, 'X'}, {0xD1B9, 0xD4D0, 'Y'}, {0xD4D1, 0xD7F9, 'Z'},
}};

} // namespace

QChar gb2312Initial(int code)
{
    // The ranges are sorted and contiguous: binary search on the first code.
    int lo = 0;
    int hi = int(kRanges.size()) - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        if (code < kRanges[mid].first)
            hi = mid - 1;
        else if (code > kRanges[mid].last)
            lo = mid + 1;
        else
            return QLatin1Char(kRanges[mid].initial);
    }
    return QLatin1Char('M');
}

QString ShorthandCode(const QString &name)
{
    QStringEncoder encoder("GB18030");
    const QByteArray bytes = encoder.encode(name.trimmed());
    QString out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes.at(i));
        if (b < 0x80) {
            out += QLatin1Char(char(b));
            ++i;
            continue;
        }
        // GB18030: a lead byte followed by a digit byte starts a four-byte sequence
        // (characters outside GBK); those have no initial.
        if (i + 1 < bytes.size()) {
            const auto b2 = static_cast<unsigned char>(bytes.at(i + 1));
            if (b2 >= 0x30 && b2 <= 0x39) {
                out += QLatin1Char('M');
                i += 4;
                continue;
            }
            out += gb2312Initial(b * 256 + b2);
            i += 2;
            continue;
        }
        out += QLatin1Char('M');
        ++i;
    }
    return out;
}

} // namespace tavomi
