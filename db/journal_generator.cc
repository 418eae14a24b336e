#include "journal_generator.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>

#include "demo_chart.h"

namespace demo {
namespace {

// A small, fully specified generator so that a seed gives the same journal everywhere.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 .. bound-1
    std::uint64_t below(std::uint64_t bound) { return next() % bound; }
    // true with probability p
    bool chance(double p) { return static_cast<double>(next() >> 11) * 0x1.0p-53 < p; }

private:
    std::uint64_t state_;
};

std::chrono::sys_days parseDate(const std::string& text) {
    if (!isIsoDate(text)) throw std::invalid_argument("not a date (YYYY-MM-DD): " + text);
    const int y = std::stoi(text.substr(0, 4));
    const unsigned m = std::stoul(text.substr(5, 2));
    const unsigned d = std::stoul(text.substr(8, 2));
    return std::chrono::sys_days{std::chrono::year{y} / std::chrono::month{m} / std::chrono::day{d}};
}

std::string formatDate(std::chrono::sys_days day) {
    const std::chrono::year_month_day ymd{day};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
    return text;
}

// Accounts that most vouchers touch: banks, receivables and payables, sales, expenses.
constexpr const char* kCommonAccounts[] = {
    "10101003000", "10101002000", "10101040000", "10101042000", "10101046000", "10101054000",
    "10101061000", "10102001000", "10102008000", "20101001000", "20101002000", "20101003000",
    "20101004000", "20101005000", "40201001000", "40201007000", "40201030000", "40404001000",
    "40403001000", "40701001000", "40701003000", "40701004000", "40701005000", "40701006000",
    "40701007000", "40701010000", "40701012000", "40701013000", "40701014000", "40901001000",
    "41001001000",
};

// Codes without an account row: heading codes of the chart (cost-of-sales lines, a
// liability heading) and codes that no chart holds.
constexpr const char* kStrayCodes[] = {
    "40301003000", "40301007000", "40401003000", "40304005000", "20201015000",
    "10101099000", "40701099000", "99999999999",
};

class VoucherWriter {
public:
    VoucherWriter(const JournalOptions& options, const std::function<void(const JournalLine&)>& sink)
        : options_(options), sink_(sink), random_(options.seed) {
        for (const ChartAccount& account : chartAccounts()) {
            if (std::string(account.code) != kCashAccount) accounts_.push_back(account.code);
        }
    }

    void run() {
        const std::chrono::sys_days first = parseDate(options_.from);
        const std::chrono::sys_days last = parseDate(options_.to);
        if (last < first) throw std::invalid_argument("period ends before it starts");
        if (options_.branches < 1) throw std::invalid_argument("at least one branch is needed");
        const long long days = (last - first).count() + 1;

        // Vouchers are spread evenly over the days, in date order; voucher numbers count
        // up within each date across all branches.
        long long remaining = options_.lines;
        long long dayIndex = -1;
        int numberOfDay = 0;
        const double linesPerDay = static_cast<double>(options_.lines) / static_cast<double>(days);
        double due = 0;
        while (remaining > 0) {
            const long long written = options_.lines - remaining;
            while (dayIndex < 0 || (dayIndex + 1 < days && written >= due)) {
                ++dayIndex;
                numberOfDay = 0;
                due = linesPerDay * static_cast<double>(dayIndex + 1);
            }
            const long long size = voucherSize(remaining);
            writeVoucher(formatDate(first + std::chrono::days{dayIndex}), ++numberOfDay,
                         static_cast<int>(size));
            remaining -= size;
        }
    }

private:
    // 2 to 4 lines, never leaving a single line for the last voucher.
    long long voucherSize(long long remaining) {
        if (remaining <= 4) return remaining < 2 ? 2 : remaining;
        long long size = 2 + static_cast<long long>(random_.below(3));
        if (remaining - size == 1) size = size == 4 ? 3 : size + 1;
        return size;
    }

    std::string branch() {
        // The head office books about half of the vouchers.
        int index = 0;
        if (options_.branches > 1 && random_.chance(0.5)) {
            index = 1 + static_cast<int>(random_.below(static_cast<std::uint64_t>(options_.branches - 1)));
        }
        char text[16];
        std::snprintf(text, sizeof text, "%05d", index);
        return text;
    }

    std::string account() {
        if (options_.strayShare > 0 && random_.chance(options_.strayShare)) {
            return kStrayCodes[random_.below(std::size(kStrayCodes))];
        }
        if (random_.chance(0.5)) return kCommonAccounts[random_.below(std::size(kCommonAccounts))];
        return accounts_[random_.below(accounts_.size())];
    }

    // Whole won amounts from a thousand to a few million, rounded to ten won.
    double amount() {
        const std::uint64_t scale = std::uint64_t{1000} << random_.below(12);
        return static_cast<double>((scale + random_.below(scale)) / 10 * 10);
    }

    // Splits `total` into `parts` positive amounts (multiples of ten won).
    std::vector<double> split(double total, int parts) {
        std::vector<double> result;
        double left = total;
        for (int i = 0; i + 1 < parts; ++i) {
            const auto units = static_cast<std::uint64_t>(left / 10);
            const auto share = 1 + random_.below(units > static_cast<std::uint64_t>(parts - i)
                                                     ? units - static_cast<std::uint64_t>(parts - i)
                                                     : 1);
            result.push_back(static_cast<double>(share * 10));
            left -= static_cast<double>(share * 10);
        }
        result.push_back(left);
        return result;
    }

    void writeVoucher(const std::string& date, int number, int size) {
        JournalLine line;
        line.kubunBon = branch();
        line.dateDay = date;
        line.yearChar = date.substr(0, 4);
        line.monthChar = date.substr(5, 2);
        line.serialJen = date.substr(0, 4) + date.substr(5, 2) + date.substr(8, 2);
        char bun[16];
        std::snprintf(bun, sizeof bun, "%05d", number % 100000);
        line.serialBun = bun;

        // Kinds: cash received (cash debited), cash paid (cash credited), transfer.
        const std::uint64_t kind = random_.below(10);
        const double total = amount();
        if (kind < 6) {
            const bool received = kind < 3;
            // Now and then a cash voucher also carries a line that moves no cash, on the
            // cash line's side (a payment partly left owing, a receipt partly on account).
            const bool withOther = size >= 3 && random_.chance(0.2);
            const int counterLines = size - 1 - (withOther ? 1 : 0);
            std::vector<double> counter = split(total, counterLines);
            double cash = total;
            double other = 0;
            if (withOther) {
                other = std::max(10.0, static_cast<double>(static_cast<long long>(total / 30)) * 10);
                if (other >= total) other = total / 2;
                cash = total - other;
            }
            emit(line, kCashAccount, cash, received);
            if (withOther) emit(line, account(), other, received);
            for (double part : counter) emit(line, account(), part, !received);
        } else {
            const int debits = size == 4 ? 2 : 1 + static_cast<int>(random_.below(static_cast<std::uint64_t>(size - 1)));
            for (double part : split(total, debits)) emit(line, account(), part, true);
            for (double part : split(total, size - debits)) emit(line, account(), part, false);
        }
    }

    void emit(JournalLine line, const std::string& code, double value, bool debit) {
        line.acJenCode = code;
        // The other side of a line is mostly NULL, sometimes a stored 0.
        const std::optional<double> none =
            random_.chance(0.3) ? std::optional<double>(0.0) : std::nullopt;
        line.crAmt = debit ? std::optional<double>(value) : none;
        line.drAmt = debit ? none : std::optional<double>(value);
        line.serialCrdr = debit ? "01" : "02";
        if (random_.chance(0.02)) line.serialCrdr = random_.chance(0.5) ? "03" : "00";
        line.kubunAmt = random_.chance(0.02) ? "0" : "1";
        sink_(line);
    }

    const JournalOptions& options_;
    const std::function<void(const JournalLine&)>& sink_;
    Random random_;
    std::vector<std::string> accounts_;
};

}  // namespace

bool isIsoDate(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (text[i] < '0' || text[i] > '9') return false;
    }
    const std::chrono::year_month_day ymd{
        std::chrono::year{std::stoi(text.substr(0, 4))},
        std::chrono::month{static_cast<unsigned>(std::stoul(text.substr(5, 2)))},
        std::chrono::day{static_cast<unsigned>(std::stoul(text.substr(8, 2)))}};
    return ymd.ok();
}

std::string addDays(const std::string& isoDate, int days) {
    return formatDate(parseDate(isoDate) + std::chrono::days{days});
}

int daysBetween(const std::string& fromIso, const std::string& toIso) {
    return static_cast<int>((parseDate(toIso) - parseDate(fromIso)).count());
}

void generateJournal(const JournalOptions& options,
                     const std::function<void(const JournalLine&)>& sink) {
    VoucherWriter(options, sink).run();
}

std::vector<JournalLine> generateJournalLines(const JournalOptions& options) {
    std::vector<JournalLine> lines;
    generateJournal(options, [&](const JournalLine& line) { lines.push_back(line); });
    return lines;
}

}  // namespace demo
