#include "masterdata/shorthand.h"

#include <gtest/gtest.h>

using namespace tavomi;

TEST(ShorthandCode, InitialsOfKnownNames)
{
    const struct
    {
        const char *name;
        const char *code;
    } cases[] = {
        {"瓜子", "GZ"},
        {"可口可乐", "KKKL"},
        {"矿泉水500ml", "KQS500ml"},
        {"  康师傅 红烧牛肉面  ", "KSF HSNRM"},
        {"啊座", "AZ"},               // first and last level-1 hanzi of the table
        {"亍", "M"},                  // level-2 hanzi: outside the pinyin-ordered block
        {"《茶》", "MCM"},            // double-byte punctuation
        {"Cola-2L", "Cola-2L"},       // ASCII stays as it is
        {"𠀀米", "MM"},               // a four-byte GB18030 character, then 米
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ShorthandCode(QString::fromUtf8(c.name)), QString::fromUtf8(c.code)) << c.name;
}

TEST(ShorthandCode, RangeBoundaries)
{
    EXPECT_EQ(gb2312Initial(0xB0A0), QLatin1Char('M'));
    EXPECT_EQ(gb2312Initial(0xB0C4), QLatin1Char('A'));
    EXPECT_EQ(gb2312Initial(0xB0C5), QLatin1Char('B'));
    EXPECT_EQ(gb2312Initial(0xB7A1), QLatin1Char('E'));
    EXPECT_EQ(gb2312Initial(0xB7A2), QLatin1Char('F'));
    EXPECT_EQ(gb2312Initial(0xD7F9), QLatin1Char('Z'));
    EXPECT_EQ(gb2312Initial(0xD7FA), QLatin1Char('M'));
}
