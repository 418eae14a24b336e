// The seeded journal generator.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "demo_chart.h"
#include "journal_generator.h"

namespace {

demo::JournalOptions options(long long lines, std::uint64_t seed = 7) {
    demo::JournalOptions o;
    o.lines = lines;
    o.seed = seed;
    return o;
}

std::string key(const demo::JournalLine& l) { return l.serialJen + l.serialBun; }

TEST(JournalGenerator, IsDeterministicPerSeedAndWritesTheRequestedLines) {
    const auto a = demo::generateJournalLines(options(5001));
    const auto b = demo::generateJournalLines(options(5001));
    const auto c = demo::generateJournalLines(options(5001, 8));
    ASSERT_EQ(a.size(), 5001u);
    ASSERT_EQ(c.size(), 5001u);
    bool allSame = true, anyDifferent = false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        allSame = allSame && a[i].acJenCode == b[i].acJenCode && a[i].crAmt == b[i].crAmt && key(a[i]) == key(b[i]);
        anyDifferent = anyDifferent || a[i].acJenCode != c[i].acJenCode;
    }
    EXPECT_TRUE(allSame);
    EXPECT_TRUE(anyDifferent);
    for (long long n : {0LL, 2LL, 3LL, 5LL, 9LL}) EXPECT_EQ(demo::generateJournalLines(options(n)).size(), n);
}

TEST(JournalGenerator, WritesBalancedVouchersOfTwoToFourLinesInThePeriod) {
    auto o = options(20000);
    o.from = "2025-01-01";
    o.to = "2026-12-31";
    const auto lines = demo::generateJournalLines(o);
    std::map<std::string, std::vector<const demo::JournalLine*>> vouchers;
    for (const auto& l : lines) vouchers[key(l)].push_back(&l);
    for (const auto& [k, ls] : vouchers) {
        ASSERT_GE(ls.size(), 2u) << k;
        ASSERT_LE(ls.size(), 4u) << k;
        double debit = 0, credit = 0;
        for (const auto* l : ls) {
            debit += l->crAmt.value_or(0);
            credit += l->drAmt.value_or(0);
            EXPECT_EQ(l->kubunBon, ls.front()->kubunBon);
            EXPECT_EQ(l->dateDay, ls.front()->dateDay);
        }
        EXPECT_EQ(debit, credit) << k;
    }
    EXPECT_EQ(lines.front().dateDay, "2025-01-01");
    EXPECT_EQ(lines.back().dateDay, "2026-12-31");
    for (const auto& l : lines) {
        ASSERT_TRUE(demo::isIsoDate(l.dateDay)) << l.dateDay;
        ASSERT_GE(l.dateDay, o.from);
        ASSERT_LE(l.dateDay, o.to);
        EXPECT_EQ(l.yearChar + "-" + l.monthChar, l.dateDay.substr(0, 7));
        EXPECT_EQ(l.serialJen, l.yearChar + l.monthChar + l.dateDay.substr(8, 2));
        EXPECT_EQ(l.serialBun.size(), 5u);
        EXPECT_TRUE(l.kubunBon == "00000" || l.kubunBon == "00001" || l.kubunBon == "00002") << l.kubunBon;
    }
}

TEST(JournalGenerator, CoversTheCasesTheSummaryTellsApart) {
    const auto lines = demo::generateJournalLines(options(20000));
    std::set<std::string> cashVouchers, allVouchers, classes, codes;
    int leftOut = 0, otherKinds = 0, zeroOtherSide = 0;
    for (const auto& l : lines) {
        allVouchers.insert(key(l));
        if (l.acJenCode == demo::kCashAccount) cashVouchers.insert(key(l));
        classes.insert(l.acJenCode.substr(0, 1));
        codes.insert(l.acJenCode);
        leftOut += l.kubunAmt == "0";
        otherKinds += l.serialCrdr != "01" && l.serialCrdr != "02";
        zeroOtherSide += (l.crAmt == 0.0) || (l.drAmt == 0.0);
    }
    EXPECT_GT(cashVouchers.size(), allVouchers.size() / 3);
    EXPECT_LT(cashVouchers.size(), allVouchers.size() * 3 / 4);
    EXPECT_EQ(classes, (std::set<std::string>{"1", "2", "3", "4"}));
    EXPECT_TRUE(codes.count("10102004000"));
    EXPECT_TRUE(codes.count("10102006000"));
    EXPECT_GT(leftOut, 100);
    EXPECT_GT(otherKinds, 100);
    EXPECT_GT(zeroOtherSide, 1000);
    // Without stray lines every code is an account of the chart.
    std::set<std::string> chart;
    for (const auto& account : demo::chartAccounts()) chart.insert(account.code);
    for (const auto& code : codes) EXPECT_TRUE(chart.count(code)) << code;
}

TEST(JournalGenerator, RefusesABadPeriodOrBranchCount) {
    auto o = options(10);
    o.from = "2025-02-30";
    EXPECT_THROW(demo::generateJournalLines(o), std::invalid_argument);
    o.from = "2025-03-01";
    o.to = "2025-02-28";
    EXPECT_THROW(demo::generateJournalLines(o), std::invalid_argument);
    o.to = "2025-03-01";
    o.branches = 0;
    EXPECT_THROW(demo::generateJournalLines(o), std::invalid_argument);
}

TEST(CalendarText, ChecksAndCountsDates) {
    EXPECT_TRUE(demo::isIsoDate("2024-02-29"));
    EXPECT_FALSE(demo::isIsoDate("2025-02-29"));
    EXPECT_FALSE(demo::isIsoDate("2025-1-01"));
    EXPECT_EQ(demo::addDays("2024-12-31", 1), "2025-01-01");
    EXPECT_EQ(demo::daysBetween("2025-01-01", "2026-12-31"), 729);
}

}  // namespace
