#include "sqlite_in_lookup.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <string_view>
#include <unordered_set>

#include "error.h"

namespace engine {
namespace {

constexpr const char* kLookupFunction = "morvel_in_rows";

std::string_view trailingBlanksCut(const unsigned char* text, int bytes) {
    size_t size = static_cast<size_t>(bytes);
    while (size > 0 && text[size - 1] == ' ') --size;
    return {reinterpret_cast<const char*>(text), size};
}

// A set of texts in one block of memory, found by open addressing: a look-up touches
// one slot and one text, where a node-based set chases pointers.
class TextSet {
public:
    void insert(std::string_view text) {
        if ((count_ + 1) * 2 > slots_.size()) grow();
        const size_t hash = std::hash<std::string_view>{}(text);
        size_t at = hash & (slots_.size() - 1);
        for (; slots_[at].used; at = (at + 1) & (slots_.size() - 1))
            if (slots_[at].hash == hash && textAt(slots_[at]) == text) return;
        slots_[at] = {hash, texts_.size(), text.size(), true};
        texts_.append(text);
        ++count_;
    }

    bool contains(std::string_view text) const {
        if (count_ == 0) return false;
        const size_t hash = std::hash<std::string_view>{}(text);
        for (size_t at = hash & (slots_.size() - 1); slots_[at].used; at = (at + 1) & (slots_.size() - 1))
            if (slots_[at].hash == hash && textAt(slots_[at]) == text) return true;
        return false;
    }

private:
    struct Slot {
        size_t hash = 0;
        size_t offset = 0, size = 0;
        bool used = false;
    };
    std::string_view textAt(const Slot& slot) const { return std::string_view(texts_).substr(slot.offset, slot.size); }

    void grow() {
        std::vector<Slot> old(std::max<size_t>(16, slots_.size() * 2));
        old.swap(slots_);
        for (const Slot& slot : old) {
            if (!slot.used) continue;
            size_t at = slot.hash & (slots_.size() - 1);
            while (slots_[at].used) at = (at + 1) & (slots_.size() - 1);
            slots_[at] = slot;
        }
    }

    std::vector<Slot> slots_;
    std::string texts_;
    size_t count_ = 0;
};

// A real that holds an integer is that integer, as SQLite compares them.
bool asInteger(double d, std::int64_t& out) {
    if (!(d >= -9223372036854775808.0 && d < 9223372036854775808.0) || std::floor(d) != d) return false;
    out = static_cast<std::int64_t>(d);
    return true;
}

std::string replacedAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

}  // namespace

// The rows of one subquery, by the kind of their value.
class InLookups::RowSet {
public:
    void add(sqlite3_value* v) {
        ++rows_;
        switch (sqlite3_value_type(v)) {
            case SQLITE_NULL: hasNull_ = true; break;
            case SQLITE_INTEGER: integers_.insert(sqlite3_value_int64(v)); break;
            case SQLITE_FLOAT: {
                std::int64_t i = 0;
                const double d = sqlite3_value_double(v);
                if (asInteger(d, i)) integers_.insert(i);
                else reals_.insert(d);
                break;
            }
            case SQLITE_TEXT: {
                const unsigned char* text = sqlite3_value_text(v);
                texts_.insert(trailingBlanksCut(text, sqlite3_value_bytes(v)));
                break;
            }
            default: {
                const auto* blob = static_cast<const char*>(sqlite3_value_blob(v));
                blobs_.insert(std::string_view(blob ? blob : "", static_cast<size_t>(sqlite3_value_bytes(v))));
            }
        }
    }

    // 1 when the probe is among the rows, 0 when it is not, -1 when that is unknown
    // (a NULL probe, or a NULL among the rows and no equal value).
    int contains(sqlite3_value* probe) const {
        if (rows_ == 0) return 0;
        bool found = false;
        switch (sqlite3_value_type(probe)) {
            case SQLITE_NULL: return -1;
            case SQLITE_INTEGER: found = integers_.count(sqlite3_value_int64(probe)) > 0; break;
            case SQLITE_FLOAT: {
                std::int64_t i = 0;
                const double d = sqlite3_value_double(probe);
                found = asInteger(d, i) ? integers_.count(i) > 0 : reals_.count(d) > 0;
                break;
            }
            case SQLITE_TEXT: {
                const unsigned char* text = sqlite3_value_text(probe);
                found = texts_.contains(trailingBlanksCut(text, sqlite3_value_bytes(probe)));
                break;
            }
            default: {
                const auto* blob = static_cast<const char*>(sqlite3_value_blob(probe));
                found = blobs_.contains(std::string_view(blob ? blob : "", static_cast<size_t>(sqlite3_value_bytes(probe))));
            }
        }
        return found ? 1 : hasNull_ ? -1 : 0;
    }

private:
    long long rows_ = 0;
    bool hasNull_ = false;
    std::unordered_set<std::int64_t> integers_;
    std::unordered_set<double> reals_;
    TextSet texts_;  // without trailing blanks
    TextSet blobs_;  // bytes as they are
};

namespace {

// morvel_in_rows(probe, set, negated): probe [NOT] IN the rows of the set.
void lookupFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const auto& sets = *static_cast<const std::vector<std::unique_ptr<InLookups::RowSet>>*>(sqlite3_user_data(ctx));
    const auto index = sqlite3_value_int64(argv[1]);
    if (index < 0 || static_cast<size_t>(index) >= sets.size()) {
        sqlite3_result_error(ctx, "look-up rows of another statement", -1);
        return;
    }
    const int in = sets[static_cast<size_t>(index)]->contains(argv[0]);
    if (in < 0) sqlite3_result_null(ctx);
    else sqlite3_result_int(ctx, sqlite3_value_int(argv[2]) ? !in : in);
}

}  // namespace

void bindValues(sqlite3* db, sqlite3_stmt* stmt, const std::vector<std::optional<std::string>>& values) {
    const int bindable = std::min(static_cast<int>(values.size()), sqlite3_bind_parameter_count(stmt));
    for (int index = 1; index <= bindable; ++index) {
        const auto& v = values[static_cast<size_t>(index - 1)];
        const int rc = v ? sqlite3_bind_text(stmt, index, v->data(), static_cast<int>(v->size()), SQLITE_TRANSIENT)
                         : sqlite3_bind_null(stmt, index);
        if (rc != SQLITE_OK) throw DatabaseError(std::string("bind: ") + sqlite3_errmsg(db));
    }
}

InLookups::InLookups() = default;
InLookups::~InLookups() = default;

void InLookups::registerOn(sqlite3* db) const {
    auto* sets = const_cast<std::vector<std::unique_ptr<RowSet>>*>(&sets_);
    if (sqlite3_create_function_v2(db, kLookupFunction, 3, SQLITE_UTF8 | SQLITE_DETERMINISTIC, sets, lookupFunction,
                                   nullptr, nullptr, nullptr) != SQLITE_OK)
        throw DatabaseError(std::string("Cannot register functions: ") + sqlite3_errmsg(db));
}

TranslatedStatement InLookups::begin(sqlite3* db, const TranslatedStatement& statement,
                                     const std::vector<std::optional<std::string>>& values) {
    TranslatedStatement out = statement;
    out.inSubqueries.clear();
    std::map<std::string, size_t> setOf;  // subquery text -> its rows
    try {
        for (const InSubquery& in : statement.inSubqueries) {
            auto known = setOf.find(in.subquery);
            if (known == setOf.end()) {
                sqlite3_stmt* stmt = nullptr;
                // A subquery that names a column of the statement around it does not prepare alone.
                if (sqlite3_prepare_v2(db, in.subquery.c_str(), -1, &stmt, nullptr) != SQLITE_OK || !stmt ||
                    sqlite3_column_count(stmt) != 1 || sqlite3_column_decltype(stmt, 0) != nullptr) {
                    sqlite3_finalize(stmt);
                    continue;
                }
                auto rows = std::make_unique<RowSet>();
                try {
                    bindValues(db, stmt, values);
                    int rc;
                    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) rows->add(sqlite3_column_value(stmt, 0));
                    if (rc != SQLITE_DONE) throw DatabaseError(sqlite3_errmsg(db));
                } catch (...) {
                    sqlite3_finalize(stmt);
                    throw;
                }
                sqlite3_finalize(stmt);
                known = setOf.emplace(in.subquery, sets_.size()).first;
                sets_.push_back(std::move(rows));
            }
            const std::string call = std::string(kLookupFunction) + "(" + in.probe + ", " +
                                     std::to_string(known->second) + ", " + (in.negated ? "1" : "0") + ")";
            out.sql = replacedAll(out.sql, in.text, call);
            for (auto& part : out.parts) part = replacedAll(part, in.text, call);
            out.combined = replacedAll(out.combined, in.text, call);
        }
    } catch (...) {
        end();
        throw;
    }
    return out;
}

void InLookups::end() { sets_.clear(); }

}  // namespace engine
