#include "common/text_utils.h"

#include <gtest/gtest.h>

using namespace tavomi;

TEST(MoneyToCapitals, Table)
{
    const struct
    {
        double amount;
        const char *expected;
    } cases[] = {
        {0, "零"},
        {0.001, "整"},
        {0.05, "伍分"},
        {0.5, "伍角整"},
        {1, "壹圆整"},
        {10, "壹拾圆整"},
        {12.34, "壹拾贰圆叁角肆分"},
        {101, "壹佰零壹圆整"},
        {1001.05, "壹仟零壹圆零伍分"},
        {10010, "壹万零壹拾圆整"},
        {100000, "壹拾万圆整"},
        {105000.5, "壹拾万伍仟圆伍角整"},
        {100000000, "壹亿圆整"},
        {100010000, "壹亿零壹万圆整"},
        {123456789.12, "壹亿贰仟叁佰肆拾伍万陆仟柒佰捌拾玖圆壹角贰分"},
        {-5, "负伍圆整"},
        {-12.34, "负壹拾贰圆叁角肆分"},
        {2.675, "贰圆陆角捌分"}, // half away from zero despite binary 2.67499...
    };
    for (const auto &c : cases)
        EXPECT_EQ(MoneyToCapitals(c.amount), QString::fromUtf8(c.expected)) << c.amount;
}

TEST(PackageText, Table)
{
    const struct
    {
        const char *quantity, *packing, *units, *expected;
    } cases[] = {
        {"2.5", "1件*12盒*10支", "件盒支", "2件6盒"},
        {"0.1", "1件*12盒*10支", "件盒支", "1盒2支"},
        {"0", "1件*12盒*10支", "件盒支", ""},
        {"1.5", "1件*24瓶", "件瓶", "1件12瓶"},
        {"0.3", "1件*24瓶", "件瓶", "7.2瓶"},
        {"2.5", "1斤", "斤", "2.500000斤"},
        {"-1.5", "1件*24瓶", "件瓶", "-1件-12瓶"},
        // a ratio of 0 cannot be broken down: empty, never a crash
        {"2", "1件*0盒*10支", "件盒支", ""},
        {"2", "1件*0瓶", "件瓶", ""},
        {"abc", "1件*24瓶", "件瓶", ""},
        {"1", "1件*2盒*3支*4粒", "件盒支粒", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PackageText(QString::fromUtf8(c.quantity), QString::fromUtf8(c.packing), QString::fromUtf8(c.units)),
                  QString::fromUtf8(c.expected))
            << c.quantity << " " << c.packing;
}

TEST(Numbers, TextRoundingAndChecks)
{
    EXPECT_EQ(numberText(0.1 + 0.2), QStringLiteral("0.3"));
    EXPECT_EQ(numberText(1234567.5), QStringLiteral("1234567.5"));
    EXPECT_EQ(numberText(-0.0), QStringLiteral("0"));

    EXPECT_DOUBLE_EQ(roundMoney(1.005), 1.01);
    EXPECT_DOUBLE_EQ(roundMoney(-1.005), -1.01);
    EXPECT_DOUBLE_EQ(roundMoney(2.344), 2.34);
    EXPECT_DOUBLE_EQ(roundHalfAway(0.125, 2), 0.13);

    EXPECT_TRUE(IsNumberText(QStringLiteral(" 12.5 ")));
    EXPECT_TRUE(IsNumberText(QStringLiteral("-1e18")));
    EXPECT_FALSE(IsNumberText(QStringLiteral("1e19")));
    EXPECT_FALSE(IsNumberText(QStringLiteral("12a")));
    EXPECT_FALSE(IsNumberText(QString()));
}

TEST(GbkWidth, CountsDoubleBytes)
{
    EXPECT_EQ(gbkByteWidth(QStringLiteral("abc")), 3);
    EXPECT_EQ(gbkByteWidth(QStringLiteral("瓜子")), 4);
    EXPECT_EQ(gbkByteWidth(QStringLiteral("件a")), 3);
    EXPECT_EQ(gbkLeft(QStringLiteral("普通会员折扣"), 8), QStringLiteral("普通会员"));
    EXPECT_EQ(gbkLeft(QStringLiteral("a件"), 2), QStringLiteral("a"));
}
