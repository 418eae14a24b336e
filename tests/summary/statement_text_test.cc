// The summary statements' text: parameter entries, sections, members and the monthly
// statement's period predicates.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "DAY_MORVEL_summary_sql.h"
#include "MONTH_MORVEL_summary_sql.h"
#include "engine/query.h"

namespace {

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += l + "\r\n";
    return text;
}

std::string stripped(const std::string& line) {
    const auto from = line.find_first_not_of(' ');
    const auto to = line.find_last_not_of(' ');
    return from == std::string::npos ? "" : line.substr(from, to - from + 1);
}

int countLines(const std::vector<std::string>& lines, const std::string& text) {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                          [&](const std::string& l) { return stripped(l) == text; }));
}

int countOccurrences(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

class StatementText : public ::testing::TestWithParam<bool> {
protected:
    const std::vector<std::string>& lines() const {
        return GetParam() ? monthly::summaryStatementLines() : daily::summaryStatementLines();
    }
};

TEST_P(StatementText, HasTheParameterEntriesInTextOrderAndLetterCase) {
    const auto names = engine::parseParamNames(joined(lines()));
    ASSERT_EQ(names.size(), 155u);
    std::map<std::string, int> byName;
    for (const auto& n : names) ++byName[n];
    EXPECT_EQ(byName["tbKubun_Bon"], 4);
    EXPECT_EQ(byName["tbKUBUN_BON"], 49);
    EXPECT_EQ(byName["tbFirst_Day"], 51);
    EXPECT_EQ(byName["tbEnd_Day"], 51);
    EXPECT_EQ(byName.size(), 4u);
    // Members 1 and 2 spell the branch "tbKubun_Bon" in their row set and subquery.
    const std::vector<std::string> firstMember = {"tbKubun_Bon", "tbFirst_Day", "tbEnd_Day",
                                                  "tbKubun_Bon", "tbFirst_Day", "tbEnd_Day"};
    EXPECT_TRUE(std::equal(firstMember.begin(), firstMember.end(), names.begin()));
    EXPECT_TRUE(std::equal(firstMember.begin(), firstMember.end(), names.begin() + 6));
    EXPECT_EQ(names[12], "tbKUBUN_BON");
}

TEST_P(StatementText, HasNineFramedSectionsOfTwentyNineMembers) {
    EXPECT_EQ(countLines(lines(), std::string(90, '-')), 18);
    EXPECT_EQ(countLines(lines(), "UNION ALL"), 28);
    const std::string text = joined(lines());
    EXPECT_EQ(countOccurrences(text, "ACCOUNT_JEN_AA"), 53);
    EXPECT_EQ(countOccurrences(text, ") RR"), 28);
    // Each section opens and closes with its numbered comment, in order.
    std::size_t at = 0;
    for (int section = 1; section <= 9; ++section) {
        const std::string marker = (section == 7 || section == 8) ? " == " : " === ";
        const std::string head = "-- " + std::to_string(section) + ") ";
        const auto open = text.find(head, at);
        ASSERT_NE(open, std::string::npos) << "section " << section;
        const auto openEnd = text.find("\r\n", open);
        const std::string opening = text.substr(open, openEnd - open);
        ASSERT_TRUE(opening.ends_with(marker + "시작")) << opening;
        const std::string closing = opening.substr(0, opening.size() - std::string("시작").size()) + "종료";
        const auto close = text.find(closing, openEnd);
        ASSERT_NE(close, std::string::npos) << closing;
        at = close + closing.size();
    }
    // The outer query.
    EXPECT_EQ(stripped(lines().front()), "SELECT A.AC_CODE,");
    EXPECT_EQ(stripped(lines().back()), "ORDER BY A.AC_CODE");
}

INSTANTIATE_TEST_SUITE_P(DailyAndMonthly, StatementText, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Monthly" : "Daily"; });

TEST(MonthlyStatementText, DiffersFromTheDailyOnlyInItsPeriodPredicates) {
    const auto& day = daily::summaryStatementLines();
    const auto& month = monthly::summaryStatementLines();
    ASSERT_EQ(day.size(), month.size());
    int changed = 0;
    for (std::size_t i = 0; i < day.size(); ++i) {
        if (day[i] == month[i]) continue;
        ++changed;
        std::string expected = day[i];
        expected.replace(expected.find("DATE_DAY"), 8, "YEAR_CHAR + MONTH_CHAR");
        EXPECT_EQ(month[i], expected);
    }
    EXPECT_EQ(changed, 53);
    EXPECT_EQ(joined(month).find("DATE_DAY"), std::string::npos);
}

}  // namespace
