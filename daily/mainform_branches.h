// The branch list of a main form: one entry per row of Kubun_Table, name and place
// trimmed and joined by "/", in Kubun_Code order; the query parameter of a branch is
// the position of its entry written with five digits.
#pragma once

#include <string>

namespace engine { class Query; }
namespace forms { class ComboBox; }

namespace mainform {

// The three statement lines, each padded with blanks to its width.
std::string branchStatementLine(int index);  // 0, 1 or 2

// Runs the branch statement on `query` (closed and rewritten first; left open) and
// fills `box` with one entry per row, then selects its first entry. A database error
// leaves the box as it was and reaches the caller.
void loadBranchList(engine::Query& query, forms::ComboBox& box);

// An item index written with the pattern "00000": 0 -> "00000", -1 -> "-00001".
std::string branchParameter(int itemIndex);

}  // namespace mainform
