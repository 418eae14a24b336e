#include "summary_model.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <sstream>

namespace model {
namespace {

constexpr const char* kCash = "10101001000";

// Text compares without regard to trailing blanks, as every text column does.
std::string trimmed(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}
bool same(const std::string& a, const std::string& b) { return trimmed(a) == trimmed(b); }
bool is(const std::optional<std::string>& value, const std::string& text) {
    return value && same(*value, text);
}
bool isOneOf(const std::optional<std::string>& value, std::initializer_list<const char*> texts) {
    return std::any_of(texts.begin(), texts.end(), [&](const char* t) { return is(value, t); });
}

using Amount = std::optional<double>;

// SQL's SUM: NULL until a non-NULL value has been added.
struct Sum {
    Amount value;
    void add(Amount a) {
        if (a) value = value.value_or(0) + *a;
    }
};

// a + b with NULL on either side giving NULL.
Amount plus(Amount a, Amount b) { return a && b ? Amount(*a + *b) : std::nullopt; }

// One row of a row set: the line's account and its four amounts.
struct SetRow {
    std::string account;
    Amount cr01, cr01Cash, dr01Cash, dr01;
};

// One row of a union member: its key (NULL possible) and four amounts.
struct MemberRow {
    std::optional<std::string> key;
    Amount cr01, cr01Cash, dr01Cash, dr01;
};

struct Sums {
    Sum cr01, cr01Cash, dr01Cash, dr01;
    void add(const SetRow& r) {
        cr01.add(r.cr01);
        cr01Cash.add(r.cr01Cash);
        dr01Cash.add(r.dr01Cash);
        dr01.add(r.dr01);
    }
    MemberRow row(std::optional<std::string> key) const {
        return {std::move(key), cr01.value, cr01Cash.value, dr01Cash.value, dr01.value};
    }
};

class Summary {
public:
    Summary(const std::vector<demo::JournalLine>& journal, const std::vector<WorkRow>& table,
            const Period& period)
        : journal_(journal), table_(table), period_(period) {
        for (const WorkRow& row : table_) rowsOfCode_.emplace(trimmed(row.code), &row);
        buildRowSets();
    }

    std::vector<SummaryRow> compute() {
        using Filter = std::function<bool(const WorkRow&)>;
        using Key = std::function<std::optional<std::string>(const WorkRow&)>;
        const Key own = [](const WorkRow& w) { return std::optional<std::string>(w.code); };
        const Key moved = [](const WorkRow& w) { return w.moveCode; };
        const Key group = [](const WorkRow& w) { return std::optional(w.code.substr(0, 5) + "000000"); };
        const Key section = [](const WorkRow& w) { return std::optional(w.code.substr(0, 3) + "00000000"); };
        const Key movedSection = [](const WorkRow& w) {
            return w.moveCode ? std::optional(w.moveCode->substr(0, 3) + "00000000") : std::nullopt;
        };
        const Filter notRefund = [](const WorkRow& w) { return w.janCheck && !is(w.janCheck, "15"); };
        const Filter refund = [](const WorkRow& w) { return is(w.janCheck, "15"); };
        const Filter asset = [](const WorkRow& w) {
            return is(w.aKubun, "1") && isOneOf(w.janCheck, {"10", "17", "20", "23", "25", "27", "30", "70"});
        };
        const Filter liabilityOrCapital = [](const WorkRow& w) { return isOneOf(w.aKubun, {"2", "3"}); };
        const Filter profitAndLoss = [](const WorkRow& w) {
            return is(w.aKubun, "4") && isOneOf(w.bKubun, {"01", "02", "07", "09", "10", "12", "13", "15"});
        };
        const Filter costOfSales = [](const WorkRow& w) { return is(w.aKubun, "4") && is(w.bKubun, "03"); };
        const Filter manufacturing = [](const WorkRow& w) { return is(w.aKubun, "4") && is(w.bKubun, "04"); };

        // Own rows and the refund accounts under their linked code.
        grouped(transfer_, own, notRefund);
        grouped(counter_, own, notRefund);
        grouped(transfer_, moved, refund);
        grouped(counter_, moved, refund);
        zeroRows();
        // Group and section rows.
        for (const Key& key : {group, section}) {
            grouped(transfer_, key, asset);
            grouped(counter_, key, asset);
        }
        grouped(transfer_, group, liabilityOrCapital);
        grouped(counter_, group, liabilityOrCapital);
        grouped(transfer_, group, profitAndLoss);
        grouped(counter_, group, profitAndLoss);
        grouped(transfer_, section, costOfSales);
        grouped(counter_, section, costOfSales);
        grouped(transfer_, movedSection, refund);
        grouped(counter_, movedSection, refund);
        for (const Key& key : {group, section}) {
            grouped(transfer_, key, manufacturing);
            grouped(counter_, key, manufacturing);
        }
        // Subtotal, cash balances, grand total.
        total(transfer_, "50805000000");
        total(counter_, "50805000000");
        total(closing_, "50806000000");
        total(opening_, "50806000000");
        for (const auto* set : {&transfer_, &counter_, &closing_, &opening_}) total(*set, "50909000000");
        return outer();
    }

private:
    bool inBranch(const demo::JournalLine& l) const { return same(l.kubunBon, period_.branch); }
    std::string when(const demo::JournalLine& l) const {
        return trimmed(period_.unit == Period::Unit::Day ? l.dateDay : l.yearChar + l.monthChar);
    }
    bool inPeriod(const demo::JournalLine& l) const {
        const std::string w = when(l);
        return w >= trimmed(period_.first) && w <= trimmed(period_.end);
    }
    static bool amountCounts(const demo::JournalLine& l) { return l.kubunAmt && !same(*l.kubunAmt, "0"); }
    static bool isCash(const demo::JournalLine& l) { return same(l.acJenCode, kCash); }
    static std::string voucher(const demo::JournalLine& l) { return trimmed(l.serialJen + l.serialBun); }

    void buildRowSets() {
        // Cash vouchers: a line on the cash account with a counting amount, in the branch
        // and period, of any kind.
        for (const auto& l : journal_) {
            if (isCash(l) && amountCounts(l) && inBranch(l) && inPeriod(l)) cashVouchers_.insert(voucher(l));
        }
        for (const auto& l : journal_) {
            const bool periodLine = isOneOf(l.serialCrdr, {"01", "02"}) && amountCounts(l) && inBranch(l) &&
                                    inPeriod(l);
            const bool ofCashVoucher = cashVouchers_.count(voucher(l)) > 0;
            if (periodLine && !ofCashVoucher) transfer_.push_back({l.acJenCode, l.crAmt, 0.0, 0.0, l.drAmt});
            if (periodLine && ofCashVoucher && !isCash(l)) {
                counter_.push_back({l.acJenCode, 0.0, l.crAmt, l.drAmt, 0.0});
            }
            if (isCash(l) && inBranch(l)) {
                const double balance = l.crAmt.value_or(0) - l.drAmt.value_or(0);
                if (when(l) <= trimmed(period_.end)) closing_.push_back({l.acJenCode, 0.0, balance, 0.0, 0.0});
                if (when(l) < trimmed(period_.first)) opening_.push_back({l.acJenCode, 0.0, 0.0, balance, 0.0});
            }
        }
    }

    // Each row-set row counts once for every work-table row of its account that passes.
    template <typename Each>
    void forEachJoined(const std::vector<SetRow>& set, Each each) const {
        for (const SetRow& r : set) {
            auto [from, to] = rowsOfCode_.equal_range(trimmed(r.account));
            for (auto it = from; it != to; ++it) each(r, *it->second);
        }
    }

    void grouped(const std::vector<SetRow>& set,
                 const std::function<std::optional<std::string>(const WorkRow&)>& key,
                 const std::function<bool(const WorkRow&)>& filter) {
        std::map<std::optional<std::string>, Sums> groups;
        forEachJoined(set, [&](const SetRow& r, const WorkRow& w) {
            if (!filter(w)) return;
            std::optional<std::string> k = key(w);
            if (k) k = trimmed(*k);
            groups[k].add(r);
        });
        for (const auto& [k, sums] : groups) members_.push_back(sums.row(k));
    }

    // A constant key: one row even when nothing matches.
    void total(const std::vector<SetRow>& set, const std::string& key) {
        Sums sums;
        forEachJoined(set, [&](const SetRow& r, const WorkRow&) { sums.add(r); });
        members_.push_back(sums.row(key));
    }

    // The first account of a refund account's linked group is listed with zero amounts
    // once the refund account has a credit line in the branch and period.
    void zeroRows() {
        std::set<std::string> codes;
        for (const auto& l : journal_) {
            if (!amountCounts(l) || !inBranch(l) || !inPeriod(l) || !l.drAmt) continue;
            auto [from, to] = rowsOfCode_.equal_range(trimmed(l.acJenCode));
            for (auto it = from; it != to; ++it) {
                const WorkRow& w = *it->second;
                if (is(w.janCheck, "15") && w.moveCode) codes.insert(trimmed(w.moveCode->substr(0, 5) + "001000"));
            }
        }
        for (const WorkRow& w : table_) {
            if (codes.count(trimmed(w.code))) members_.push_back({w.code, 0.0, 0.0, 0.0, 0.0});
        }
    }

    // Every member row counts once for every work-table row holding its key, summed per
    // code and title.
    std::vector<SummaryRow> outer() const {
        struct Totals {
            Sum cr00, cr01, cr01Cash, dr01Cash, dr01, dr00;
        };
        std::map<std::pair<std::string, std::optional<std::string>>, Totals> rows;
        for (const MemberRow& m : members_) {
            if (!m.key) continue;
            auto [from, to] = rowsOfCode_.equal_range(trimmed(*m.key));
            for (auto it = from; it != to; ++it) {
                const WorkRow& a = *it->second;
                const std::optional<std::string> title = a.title ? std::optional(trimmed(*a.title)) : std::nullopt;
                Totals& t = rows[{trimmed(a.code), title}];
                t.cr00.add(plus(m.cr01, m.cr01Cash));
                t.cr01.add(m.cr01);
                t.cr01Cash.add(m.cr01Cash);
                t.dr01Cash.add(m.dr01Cash);
                t.dr01.add(m.dr01);
                t.dr00.add(plus(m.dr01, m.dr01Cash));
            }
        }
        std::vector<SummaryRow> result;
        for (const auto& [key, t] : rows) {
            result.push_back({key.first, key.second, t.cr00.value, t.cr01.value, t.cr01Cash.value,
                              t.dr01Cash.value, t.dr01.value, t.dr00.value});
        }
        return result;
    }

    const std::vector<demo::JournalLine>& journal_;
    const std::vector<WorkRow>& table_;
    const Period& period_;
    std::multimap<std::string, const WorkRow*> rowsOfCode_;
    std::set<std::string> cashVouchers_;
    std::vector<SetRow> transfer_, counter_, closing_, opening_;
    std::vector<MemberRow> members_;
};

std::string amount(const std::optional<double>& a) {
    if (!a) return "NULL";
    std::ostringstream out;
    out.precision(17);
    out << *a;
    return out.str();
}

}  // namespace

std::vector<SummaryRow> computeSummary(const std::vector<demo::JournalLine>& journal,
                                       const std::vector<WorkRow>& workTable, const Period& period) {
    return Summary(journal, workTable, period).compute();
}

std::string describe(const SummaryRow& row) {
    return row.code + " " + (row.title ? "\"" + *row.title + "\"" : "NULL") + " cr00=" + amount(row.cr00) +
           " cr01=" + amount(row.cr01) + " cr01_cash=" + amount(row.cr01Cash) + " dr01_cash=" +
           amount(row.dr01Cash) + " dr01=" + amount(row.dr01) + " dr00=" + amount(row.dr00);
}

}  // namespace model
