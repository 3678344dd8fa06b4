#pragma once

#include <QString>

namespace tavomi {

// Amount in Chinese capital numerals, as printed on bills ("壹拾贰圆叁角肆分").
// Negative amounts read "负" followed by the capitals of the absolute value.
QString MoneyToCapitals(double amount);

// Package breakdown of a quantity given in largest units, e.g. 2.5 with 1件*12盒*10支 and 件盒支 -> "2件6盒".
// Empty when the scheme cannot express it (including a ratio of 0).
QString PackageText(const QString &quantityInLargestUnits, const QString &packing, const QString &unitNames);

// True when the trimmed text is a number within ±1e18.
bool IsNumberText(const QString &text);

// The largest amount of money the program takes: its cents stay exact in a double and in a
// 64-bit integer.
inline constexpr double kMaxAmount = 1e13;
// The trimmed text as an amount: a finite number within ±kMaxAmount; false for anything else
// ("1.2.3", "NaN", "1e400", an empty text).
bool amountFromText(const QString &text, double *value);

// The general float-to-text conversion: up to 15 significant digits, "." as decimal point.
QString numberText(double value);

// Rounds half away from zero to the given number of decimals (amounts: 2).
double roundHalfAway(double value, int decimals = 2);
inline double roundMoney(double value) { return roundHalfAway(value, 2); }

// Width of the text in bytes of the double-byte Chinese encoding (GBK/GB18030):
// ASCII counts 1, every other character counts 2 (4 for the rare four-byte ones).
int gbkByteWidth(const QString &text);
// The longest prefix of the text that fits in the given number of encoded bytes.
QString gbkLeft(const QString &text, int bytes);

} // namespace tavomi
