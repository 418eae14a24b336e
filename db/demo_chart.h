// The demo database's own rows: the back office's chart of accounts and its branches.
#pragma once

#include <span>
#include <string>

namespace demo {

// One account row of the back office: code (11 digits) and title. The three title columns
// of the row all take the title.
struct ChartAccount {
    const char* code;
    const char* title;
};

// Every account row of the demo chart, in Serial_No order (Serial_No = position + 1).
std::span<const ChartAccount> chartAccounts();

// The cash account; its lines make a voucher a cash voucher.
inline constexpr const char* kCashAccount = "10101001000";

struct Branch {
    const char* name;
    const char* place;
};

// Branch names and places for Kubun_Table, in Kubun_Code order; a demo with more branches
// than listed numbers the extra ones.
std::span<const Branch> branchNames();

// The branch row of position `index` (0-based): its code, name and place, padded with
// trailing blanks to the width of their CHAR columns.
struct BranchRow {
    std::string code;
    std::string name;
    std::string place;
};
BranchRow branchRow(int index);

}  // namespace demo
