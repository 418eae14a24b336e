// The statement of the monthly account summary, as the main form's two summary queries
// (Query1 for the grid, Query_Print for the report) hold it.
#pragma once

#include <string>
#include <vector>

namespace monthly {

// The statement's lines in order: the daily summary limited by year and month
// (YEAR_CHAR + MONTH_CHAR) instead of by date. Parameters: tbFirst_Day and tbEnd_Day
// (YYYYMM text, first and last month) and tbKubun_Bon (the branch's position, five
// digits), 155 entries in all.
const std::vector<std::string>& summaryStatementLines();

}  // namespace monthly
