#include <gtest/gtest.h>

#include "forms/fields.h"
#include "mainform_roll_up_row.h"

using forms::formatFloat;
using mainform::isRollUpCode;

TEST(RollUpCode, HeadingsAndSummaryRowsAreRollUps) {
    for (const char* code : {"10100000000", "10909000000", "50805000000", "50806000000", "50909000000",
                             "10000000000", "10100000000 "})
        EXPECT_TRUE(isRollUpCode(code)) << code;
}

TEST(RollUpCode, AccountsAreNot) {
    // "20201022000": characters 6 to 11 read as 22000.
    for (const char* code : {"20201015000", "20201022000", "10101001000", "10100000001", "10100100000"})
        EXPECT_FALSE(isRollUpCode(code)) << code;
}

TEST(RollUpCode, CodesThatDoNotReadAsANumberAreOrdinaryRows) {
    for (const char* code : {"", "1", "10100", "1010000000", "10100 00000", "10100A00000", "10100      ",
                             "10100-00000", "10100+0000 ", "101000x0000"})
        EXPECT_FALSE(isRollUpCode(code)) << '"' << code << '"';
}

TEST(AmountFormat, ThousandsSeparatedNoDecimalsZeroEmpty) {
    EXPECT_EQ(formatFloat("#,###", 1234567), "1,234,567");
    EXPECT_EQ(formatFloat("#,###", 123), "123");
    EXPECT_EQ(formatFloat("#,###", 1000), "1,000");
    EXPECT_EQ(formatFloat("#,###", 0), "");
    EXPECT_EQ(formatFloat("#,###", -1234), "-1,234");
    EXPECT_EQ(formatFloat("#,###", -0.4), "");  // no lone minus sign
    EXPECT_EQ(formatFloat("#,###", 123456789012345.0), "123,456,789,012,345");
}

TEST(AmountFormat, HalvesRoundAwayFromZero) {
    EXPECT_EQ(formatFloat("#,###", 2.5), "3");
    EXPECT_EQ(formatFloat("#,###", 1234.5), "1,235");
    EXPECT_EQ(formatFloat("#,###", -2.5), "-3");
    EXPECT_EQ(formatFloat("#,###", 999999.5), "1,000,000");
    EXPECT_EQ(formatFloat("#,###", 0.49), "");
    // The nearest double to 0.285 lies just below it; the amount still reads 0.29.
    EXPECT_EQ(formatFloat("#,##0.00", 0.285), "0.29");
    EXPECT_EQ(formatFloat("0.00", 0.004), "0.00");
}
