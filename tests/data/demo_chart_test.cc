// The demo chart of accounts and branches.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "demo_chart.h"
#include "code_lists.h"

namespace {

std::set<std::string> chartCodes() {
    std::set<std::string> codes;
    for (const auto& account : demo::chartAccounts()) codes.insert(account.code);
    return codes;
}

TEST(DemoChart, HoldsEveryCodeThePreparationNamesExceptHeadings) {
    const auto chart = chartCodes();
    // The preparation's codes carry a trailing blank.
    const auto digits = [](std::string_view code) { return std::string(code.substr(0, 11)); };
    std::set<std::string> headings;
    for (const auto& row : codeprep::headingRows()) headings.insert(digits(row.code));
    // A heading code among the account rows would stand twice after each preparation.
    for (const auto& code : headings) EXPECT_EQ(chart.count(code), 0u) << code;

    std::set<std::string> named;
    for (const auto& list : codeprep::balanceClassLists()) {
        for (std::string_view code : list.items) named.insert(digits(code));
    }
    for (const auto& link : codeprep::linkRows()) {
        for (std::string_view code : {link.acCode, link.moveCode, link.twoMove}) {
            if (code != codeprep::kNoLink) named.insert(digits(code));
        }
    }
    EXPECT_EQ(headings.size(), 129u);
    EXPECT_GT(named.size(), 150u);
    for (const auto& code : named) {
        if (!headings.count(code)) {
            EXPECT_EQ(chart.count(code), 1u) << code;
        }
    }
    EXPECT_EQ(chart.count(demo::kCashAccount), 1u);
}

TEST(DemoChart, CodesAreUniqueElevenDigitAccountsOfEveryClass) {
    std::set<std::string> seen;
    std::set<std::string> classes, profitSections;
    for (const auto& account : demo::chartAccounts()) {
        const std::string code = account.code;
        ASSERT_EQ(code.size(), 11u) << code;
        EXPECT_EQ(code.find_first_not_of("0123456789"), std::string::npos) << code;
        EXPECT_TRUE(seen.insert(code).second) << "twice: " << code;
        EXPECT_NE(code.substr(5), "000000") << "a heading-like code: " << code;
        EXPECT_FALSE(std::string(account.title).empty());
        classes.insert(code.substr(0, 1));
        if (code[0] == '4') profitSections.insert(code.substr(1, 2));
    }
    EXPECT_EQ(classes, (std::set<std::string>{"1", "2", "3", "4"}));
    EXPECT_TRUE(profitSections.count("06"));
    EXPECT_TRUE(profitSections.count("07"));
}

TEST(DemoChart, BranchRowsArePaddedLikeCharColumns) {
    const auto head = demo::branchRow(0);
    EXPECT_EQ(head.code, "01   ");
    EXPECT_EQ(head.name, "본사" + std::string(18, ' '));
    EXPECT_EQ(head.place, "서울" + std::string(28, ' '));
    EXPECT_EQ(demo::branchRow(2).name.substr(0, 12), "대구공장");
    // Beyond the named branches the rows are numbered.
    EXPECT_EQ(demo::branchRow(11).code, "12   ");
    EXPECT_EQ(demo::branchRow(11).name.rfind("지점12", 0), 0u);
}

}  // namespace
