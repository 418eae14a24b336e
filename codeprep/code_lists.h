// The data that the account-code preparation form carries in its hidden lists: the
// heading rows of the chart of accounts, the fourteen balance-class lists and the link
// table. Every account code is written as its 11 digits followed by one blank.
#pragma once

#include <span>
#include <string_view>

namespace codeprep {

// The link-code value that means "no link".
inline constexpr std::string_view kNoLink = "123456789012";

// One heading row of the chart: the lists cbCode, cbCode_Name_01, cbCode_Name_02 and
// cbCode_Name_03 hold these four columns.
struct HeadingRow {
    std::string_view code;              // cbCode
    std::string_view name;              // cbCode_Name_01 -> Ac_Name
    std::string_view trialBalanceName;  // cbCode_Name_02 -> Ac_Name_SiSan
    std::string_view statementName;     // cbCode_Name_03 -> Ac_Name_Gita
};

// One row of the link table: the lists cbAc_Code, cbThe_Code, cbCode_MoveCode,
// cbCode_TwoMove and cbCode_ThreeMove hold these five columns.
struct LinkRow {
    std::string_view acCode;
    std::string_view theCode;
    std::string_view moveCode;
    std::string_view twoMove;
    std::string_view threeMove;
};

// A balance-class list: the combo box it fills and its codes.
struct CodeList {
    std::string_view listName;
    std::span<const std::string_view> items;
};

// The 129 heading rows, in insert order.
std::span<const HeadingRow> headingRows();

// The fourteen balance-class lists, in the order the preparation applies them.
std::span<const CodeList> balanceClassLists();

// The codes of the balance-class list of that combo-box name; empty for any other name.
std::span<const std::string_view> balanceClassCodes(std::string_view listName);

// The 159 rows of the link table.
std::span<const LinkRow> linkRows();

}  // namespace codeprep
