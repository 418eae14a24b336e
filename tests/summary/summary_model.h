// An independent model of the daily and monthly account summaries: the rows computed in
// plain C++ from the journal lines and the prepared work table, by the summary's rules
// (cash vouchers, transfer and cash-counter lines, balances, roll-ups, the refund accounts
// shown under cost of sales, NULL where nothing was summed, duplicated codes).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "journal_generator.h"

namespace model {

// A row of the work table, the columns the summary reads.
struct WorkRow {
    std::string code;
    std::optional<std::string> title;  // Ac_Name_SiSan
    std::optional<std::string> janCheck;
    std::optional<std::string> moveCode;
    std::optional<std::string> aKubun;
    std::optional<std::string> bKubun;
};

struct Period {
    enum class Unit { Day, Month };
    Unit unit = Unit::Day;
    std::string first;   // YYYY-MM-DD or YYYYMM
    std::string end;
    std::string branch;  // five digits
};

// One summary row; code and title without trailing blanks.
struct SummaryRow {
    std::string code;
    std::optional<std::string> title;
    std::optional<double> cr00, cr01, cr01Cash, dr01Cash, dr01, dr00;
    bool operator==(const SummaryRow&) const = default;
};

// The summary rows in ascending order of code (then title).
std::vector<SummaryRow> computeSummary(const std::vector<demo::JournalLine>& journal,
                                       const std::vector<WorkRow>& workTable, const Period& period);

std::string describe(const SummaryRow& row);

}  // namespace model
