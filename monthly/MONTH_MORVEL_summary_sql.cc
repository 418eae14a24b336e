#include "MONTH_MORVEL_summary_sql.h"

#include <string_view>

#include "DAY_MORVEL_summary_sql.h"

namespace monthly {
namespace {

constexpr std::string_view kDailyPredicate = "(DATE_DAY ";
constexpr std::string_view kMonthlyPredicate = "(YEAR_CHAR + MONTH_CHAR ";

}  // namespace

std::vector<std::string> monthlyFromDaily(const std::vector<std::string>& dailyLines) {
    std::vector<std::string> lines = dailyLines;
    for (std::string& line : lines) {
        const std::size_t text = line.find_first_not_of(" \t");
        if (text == std::string::npos || line.compare(text, kDailyPredicate.size(), kDailyPredicate) != 0) continue;
        line.replace(text, kDailyPredicate.size(), kMonthlyPredicate);
    }
    return lines;
}

const std::vector<std::string>& summaryStatementLines() {
    static const std::vector<std::string> lines = monthlyFromDaily(daily::summaryStatementLines());
    return lines;
}

}  // namespace monthly
