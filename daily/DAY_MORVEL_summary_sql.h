// The statement of the daily account summary, as the main form's two summary queries
// (Query1 for the grid, Query_Print for the report) hold it.
#pragma once

#include <string>
#include <vector>

namespace daily {

// The statement's lines in order. Parameters: tbFirst_Day and tbEnd_Day (YYYY-MM-DD text,
// first and last day of the period) and tbKubun_Bon (the branch's position, five digits),
// 155 entries in all. The result rows are AC_CODE, CR00, CR01, CR01_CASH, AC_NAME,
// DR01_CASH, DR01, DR00 in ascending order of AC_CODE.
const std::vector<std::string>& summaryStatementLines();

}  // namespace daily
