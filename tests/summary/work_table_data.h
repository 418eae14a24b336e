// What the account-code preparation writes into the work table, as data for the test
// fixture: the chart's heading rows, the balance-class lists and the link table.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace fixture {

struct HeadingRow {
    const char* code;   // 11 digits
    const char* title;  // Ac_Name_SiSan, the title the summary shows
};
// The 129 heading rows in insert order.
std::span<const HeadingRow> headingRows();

struct BalanceClassList {
    const char* value;  // Jan_Check
    std::vector<const char*> codes;
};
// The fourteen balance-class lists in the order they are applied.
const std::vector<BalanceClassList>& balanceClassLists();

struct Link {
    const char* code;
    const char* moveCode;
    const char* twoMove;  // nullptr: the filler
};
// The 159 rows of the link table.
std::span<const Link> links();

}  // namespace fixture
