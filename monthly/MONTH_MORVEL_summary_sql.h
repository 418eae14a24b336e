// The statement of the monthly account summary, as the main form's two summary queries
// (Query1 for the grid, Query_Print for the report) hold it.
#pragma once

#include <string>
#include <vector>

namespace monthly {

// The daily summary statement with each of its period predicates comparing the line's
// year and month run together (YEAR_CHAR + MONTH_CHAR) where the daily one compares
// DATE_DAY; every other line is the daily statement's. Parameters: tbFirst_Day and
// tbEnd_Day (YYYYMM text, first and last month) and tbKubun_Bon (the branch's position,
// five digits), 155 entries in all.
const std::vector<std::string>& summaryStatementLines();

// The rewrite itself: every line that opens with a comparison of DATE_DAY, as the
// daily statement's period predicates do, compares YEAR_CHAR + MONTH_CHAR instead.
std::vector<std::string> monthlyFromDaily(const std::vector<std::string>& dailyLines);

}  // namespace monthly
