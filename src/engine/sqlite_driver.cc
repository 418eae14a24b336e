#include "sqlite_driver.h"

#include <sqlite3.h>

#include <filesystem>
#include <map>

#include "alias_config.h"
#include "dialect.h"
#include "error.h"

namespace engine {
namespace {

// Debian's SQLite 3.40 returns wrong rows when a column with a collation is joined
// to a derived table through an automatic index with its Bloom filter; this turns
// that optimisation off for the connection.
constexpr int kBloomFilterOptimisation = 0x00080000;
constexpr int kBusyTimeoutMs = 5000;

// a + b as the programs' dialect means it: two texts are joined, anything else is
// added as numbers; NULL on either side gives NULL.
void plusFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int ta = sqlite3_value_type(argv[0]);
    const int tb = sqlite3_value_type(argv[1]);
    if (ta == SQLITE_NULL || tb == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    if ((ta == SQLITE_TEXT || ta == SQLITE_BLOB) && (tb == SQLITE_TEXT || tb == SQLITE_BLOB)) {
        const int la = sqlite3_value_bytes(argv[0]);
        const int lb = sqlite3_value_bytes(argv[1]);
        std::string joined;
        joined.reserve(static_cast<size_t>(la + lb));
        joined.append(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])), static_cast<size_t>(la));
        joined.append(reinterpret_cast<const char*>(sqlite3_value_text(argv[1])), static_cast<size_t>(lb));
        sqlite3_result_text(ctx, joined.data(), static_cast<int>(joined.size()), SQLITE_TRANSIENT);
        return;
    }
    if (ta == SQLITE_INTEGER && tb == SQLITE_INTEGER) {
        sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]) + sqlite3_value_int64(argv[1]));
        return;
    }
    sqlite3_result_double(ctx, sqlite3_value_double(argv[0]) + sqlite3_value_double(argv[1]));
}

class SqliteDriver : public Driver {
public:
    SqliteDriver(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}
    ~SqliteDriver() override {
        for (auto& [text, stmt] : cache_) sqlite3_finalize(stmt);
        sqlite3_close_v2(db_);
    }

    std::string name() const override { return "sqlite"; }

    TranslatedStatement translate(const std::string& text) const override {
        return translateStatement(text, SqlTarget::Sqlite);
    }

    ResultSet execute(const TranslatedStatement& st, const std::vector<std::optional<std::string>>& values) override {
        sqlite3_stmt* stmt = statementFor(st.sql);
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
        for (size_t i = 0; i < values.size(); ++i) {
            const int index = static_cast<int>(i + 1);
            const int rc = values[i] ? sqlite3_bind_text(stmt, index, values[i]->data(),
                                                         static_cast<int>(values[i]->size()), SQLITE_TRANSIENT)
                                     : sqlite3_bind_null(stmt, index);
            if (rc != SQLITE_OK) fail("bind");
        }
        ResultSet result;
        const int columns = sqlite3_column_count(stmt);
        for (int c = 0; c < columns; ++c) {
            const char* n = sqlite3_column_name(stmt, c);
            result.columns.emplace_back(n ? n : "");
        }
        while (true) {
            const int rc = sqlite3_step(stmt);
            if (rc == SQLITE_DONE) break;
            if (rc != SQLITE_ROW) {
                const std::string message = sqlite3_errmsg(db_);
                sqlite3_reset(stmt);
                throw DatabaseError(message);
            }
            std::vector<Value> row;
            row.reserve(static_cast<size_t>(columns));
            for (int c = 0; c < columns; ++c) {
                switch (sqlite3_column_type(stmt, c)) {
                    case SQLITE_NULL: row.emplace_back(); break;
                    case SQLITE_INTEGER:
                    case SQLITE_FLOAT: row.push_back(Value::number(sqlite3_column_double(stmt, c))); break;
                    default: {
                        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                        row.push_back(Value::text(std::string(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(stmt, c)))));
                    }
                }
            }
            result.rows.push_back(std::move(row));
        }
        result.rowsChanged = columns == 0 ? sqlite3_changes64(db_) : 0;
        sqlite3_reset(stmt);
        return result;
    }

private:
    sqlite3_stmt* statementFor(const std::string& sql) {
        if (auto it = cache_.find(sql); it != cache_.end()) return it->second;
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr) != SQLITE_OK) {
            const std::string message = sqlite3_errmsg(db_);
            sqlite3_finalize(stmt);
            throw DatabaseError(message);
        }
        if (cache_.size() > 64) {
            for (auto& [text, old] : cache_) sqlite3_finalize(old);
            cache_.clear();
        }
        cache_.emplace(sql, stmt);
        return stmt;
    }

    [[noreturn]] void fail(const char* what) const {
        throw DatabaseError(std::string(what) + ": " + sqlite3_errmsg(db_));
    }

    sqlite3* db_;
    std::string path_;
    std::map<std::string, sqlite3_stmt*> cache_;
};

void exec(sqlite3* db, const char* sql) {
    char* err = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        const std::string message = err ? err : "unknown error";
        sqlite3_free(err);
        throw DatabaseError(message);
    }
}

}  // namespace

std::unique_ptr<Driver> openSqliteDriver(const AliasConfig& config) {
    const std::string path = config.path.empty() ? defaultDatabasePath() : config.path;
    if (path != ":memory:") {
        std::error_code ec;
        const auto folder = std::filesystem::path(path).parent_path();
        if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    }
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close_v2(db);
        throw DatabaseError("Cannot open database '" + config.alias + "' at " + path + ": " + message);
    }
    sqlite3_test_control(SQLITE_TESTCTRL_OPTIMIZATIONS, db, kBloomFilterOptimisation);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    auto driver = std::make_unique<SqliteDriver>(db, path);
    try {
        exec(db, "PRAGMA journal_mode=WAL");
        exec(db, "PRAGMA synchronous=NORMAL");
    } catch (const DatabaseError& e) {
        throw DatabaseError("Cannot open database '" + config.alias + "' at " + path + ": " + e.what());
    }
    if (sqlite3_create_function_v2(db, kPlusFunction, 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                   plusFunction, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw DatabaseError(std::string("Cannot register functions: ") + sqlite3_errmsg(db));
    return driver;
}

}  // namespace engine
