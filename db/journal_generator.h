// Seeded generator of realistic journal lines for the demo database, tests and benchmarks.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace demo {

// One row of ACCOUNT_JEN_AA. CR_AMT is the debit amount, DR_AMT the credit amount.
struct JournalLine {
    std::string acJenCode;
    std::optional<double> crAmt;
    std::optional<double> drAmt;
    std::optional<std::string> serialCrdr;  // "01" debit line, "02" credit line, others rare
    std::optional<std::string> kubunAmt;    // "1" ordinary amount, "0" an amount left out
    std::string kubunBon;                   // branch position, five digits
    std::string dateDay;                    // YYYY-MM-DD
    std::string yearChar;                   // YYYY
    std::string monthChar;                  // MM
    std::string serialJen;                  // voucher date YYYYMMDD
    std::string serialBun;                  // voucher number of that date, five digits
};

struct JournalOptions {
    long long lines = 20000;       // lines to write; vouchers are kept whole (2 to 4 lines)
    int branches = 3;              // KUBUN_BON "00000" .. branches-1
    std::string from = "2025-01-01";
    std::string to = "2026-12-31";
    std::uint64_t seed = 1;
    // Share of lines (0..1) on codes a chart of accounts does not hold as account rows:
    // heading codes of the chart and codes nobody knows. Tests use it; the demo keeps 0.
    double strayShare = 0.0;
};

// Calls `sink` for every line, voucher by voucher in date order; the same options give
// the same lines. Each voucher's debits equal its credits. Throws std::invalid_argument
// for a malformed or reversed period or a count of branches below 1.
void generateJournal(const JournalOptions& options,
                     const std::function<void(const JournalLine&)>& sink);

// The same lines collected (small journals only).
std::vector<JournalLine> generateJournalLines(const JournalOptions& options);

// Calendar helpers on YYYY-MM-DD text.
bool isIsoDate(const std::string& text);
std::string addDays(const std::string& isoDate, int days);
int daysBetween(const std::string& fromIso, const std::string& toIso);

}  // namespace demo
