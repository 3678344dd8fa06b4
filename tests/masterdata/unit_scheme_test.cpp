#include "common/error.h"
#include "masterdata/unit_scheme.h"

#include <gtest/gtest.h>

using namespace tavomi;

TEST(UnitScheme, StoredFields)
{
    const struct
    {
        UnitChoice choice;
        const char *packing;
        const char *unit;
        const char *names;
        const char *largest;
        double smallCount;
    } cases[] = {
        {{QStringLiteral("斤"), kNoUnit, kNoUnit, QStringLiteral("1"), QStringLiteral("1")}, "1斤", "斤*1", "斤", "斤", 1},
        // A single unit always counts 1, whatever the unused ratio box says.
        {{QStringLiteral("斤"), QString(), QString(), QStringLiteral("12"), QStringLiteral("1")}, "1斤", "斤*1", "斤", "斤", 1},
        {{QStringLiteral("件"), QStringLiteral("瓶"), kNoUnit, QStringLiteral("24"), QStringLiteral("1")},
         "1件*24瓶", "瓶*24", "件瓶", "件", 24},
        {{QStringLiteral("件"), QStringLiteral("袋"), QStringLiteral("包"), QStringLiteral("12"), QStringLiteral("24")},
         "1件*12袋*24包", "包*24", "件袋包", "件", 288},
        {{kNoUnit, kNoUnit, kNoUnit, QStringLiteral("1"), QStringLiteral("1")}, "", "", "", "", 1},
    };
    for (const auto &c : cases) {
        const UnitFields f = computeUnitFields(c.choice);
        EXPECT_EQ(f.packing, QString::fromUtf8(c.packing));
        EXPECT_EQ(f.unit, QString::fromUtf8(c.unit));
        EXPECT_EQ(f.unitNames, QString::fromUtf8(c.names));
        EXPECT_EQ(f.largestUnit, QString::fromUtf8(c.largest));
        EXPECT_DOUBLE_EQ(f.smallCount, c.smallCount) << c.packing;
    }
}

TEST(UnitScheme, RatiosAreWholeNumbersOfAtLeastOne)
{
    const struct
    {
        const char *ratio1;
        const char *ratio2;
    } bad[] = {{"0", "1"}, {"", "1"}, {"1.5", "1"}, {"-2", "1"}, {"12", "0"}, {"12", "2.4"}, {"12", ""}};
    for (const auto &b : bad) {
        const UnitChoice c{QStringLiteral("件"), QStringLiteral("袋"), QStringLiteral("包"), QString::fromUtf8(b.ratio1),
                           QString::fromUtf8(b.ratio2)};
        EXPECT_THROW(computeUnitFields(c), Error) << b.ratio1 << " " << b.ratio2;
    }
    // A third unit needs a second one.
    EXPECT_THROW(computeUnitFields({QStringLiteral("件"), kNoUnit, QStringLiteral("包"), QStringLiteral("1"),
                                    QStringLiteral("24")}),
                 Error);
}
