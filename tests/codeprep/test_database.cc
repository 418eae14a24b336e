#include "test_database.h"

#include <libpq-fe.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <stdexcept>

#include "code_lists.h"
#include "demo_database.h"
#include "test_backends.h"

namespace codeprep_test {
namespace {

std::string trimmed(std::string_view code) {
    while (!code.empty() && code.back() == ' ') code.remove_suffix(1);
    return std::string(code);
}

const char* const kPostgresDatabase = "morvel_codeprep_test";

class SqliteConnection : public Connection {
public:
    explicit SqliteConnection(const std::string& path) {
        if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) throw std::runtime_error("cannot open " + path);
        sqlite3_busy_timeout(db_, 5000);
    }
    ~SqliteConnection() override { sqlite3_close(db_); }
    sqlite3* handle() const { return db_; }

    void exec(const std::string& sql) override {
        char* error = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            const std::string message = error ? error : "unknown error";
            sqlite3_free(error);
            throw std::runtime_error(message + " in: " + sql);
        }
    }

    std::vector<std::vector<std::optional<std::string>>> select(const std::string& sql) override {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string(sqlite3_errmsg(db_)) + " in: " + sql);
        std::vector<std::vector<std::optional<std::string>>> result;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            auto& row = result.emplace_back();
            for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                if (sqlite3_column_type(statement, i) == SQLITE_NULL)
                    row.emplace_back();
                else
                    row.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(statement, i)));
            }
        }
        sqlite3_finalize(statement);
        return result;
    }

private:
    sqlite3* db_ = nullptr;
};

class PostgresConnection : public Connection {
public:
    PostgresConnection() {
        const std::string info = test_backends::postgresConnectionInfo(kPostgresDatabase);
        conn_ = PQconnectdb(info.c_str());
        if (PQstatus(conn_) != CONNECTION_OK) {
            const std::string message = PQerrorMessage(conn_);
            PQfinish(conn_);
            throw std::runtime_error(message);
        }
        PQsetClientEncoding(conn_, "UTF8");
    }
    ~PostgresConnection() override { PQfinish(conn_); }

    void exec(const std::string& sql) override { PQclear(run(sql)); }

    std::vector<std::vector<std::optional<std::string>>> select(const std::string& sql) override {
        PGresult* result = run(sql);
        std::vector<std::vector<std::optional<std::string>>> rows;
        for (int r = 0; r < PQntuples(result); ++r) {
            auto& row = rows.emplace_back();
            for (int c = 0; c < PQnfields(result); ++c) {
                if (PQgetisnull(result, r, c))
                    row.emplace_back();
                else
                    row.emplace_back(PQgetvalue(result, r, c));
            }
        }
        PQclear(result);
        return rows;
    }

private:
    PGresult* run(const std::string& sql) {
        PGresult* result = PQexec(conn_, sql.c_str());
        const auto status = PQresultStatus(result);
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
            const std::string message = PQresultErrorMessage(result);
            PQclear(result);
            throw std::runtime_error(message + " in: " + sql);
        }
        return result;
    }

    PGconn* conn_ = nullptr;
};


std::string sqlText(const std::optional<std::string>& text) { return text ? "'" + *text + "'" : "NULL"; }

}  // namespace

std::ostream& operator<<(std::ostream& out, const AccountRow& row) {
    const std::optional<std::string>* columns[] = {
        &row.serialNo, &row.codeKubun, &row.acCode,   &row.acName,  &row.janCheck,
        &row.theCode,  &row.moveCode,  &row.twoMove,  &row.threeMove};
    out << '{';
    for (const auto* column : columns) out << (column->has_value() ? "'" + **column + "'" : "NULL") << ' ';
    return out << '}';
}

std::string missingListedCode() { return "10202081000"; }

std::vector<ChartAccount> testChart() {
    std::set<std::string> headings;
    for (const auto& row : codeprep::headingRows()) headings.insert(trimmed(row.code));

    std::set<std::string> codes;
    for (const auto& list : codeprep::balanceClassLists())
        for (const auto code : list.items) codes.insert(trimmed(code));
    for (const auto& row : codeprep::linkRows()) codes.insert(trimmed(row.acCode));
    for (const auto& code : headings) codes.erase(code);
    codes.erase(missingListedCode());

    // Accounts outside the lists: the link targets of the inventory section and one
    // account in every section of every class.
    for (const char* code :
         {"10101001000", "10101002000", "10102001000", "10102005000", "10102008000", "10102011000",
          "10102014000", "10102017000", "10102024000", "10102027000", "10203001000", "10204001000",
          "20101001000", "20301001000", "30101001000", "30201001000", "30301001000", "30401001000",
          "40101001000", "40201001000", "40303001000", "40404001000", "40501001000", "40601002000",
          "40701001000", "40801002000", "40901001000", "41001001000", "41101002000", "41201001000",
          "41301001000", "41401002000", "41501001000", "41601002000", "50101001000"})
        codes.insert(code);

    std::vector<ChartAccount> chart;
    for (const auto& code : codes) chart.push_back({code, "A"});
    chart.push_back({"20101099000", std::nullopt});  // a back-office row without a kind
    return chart;
}

std::vector<Setup> setups() {
    std::vector<Setup> result = {{Backend::SQLite, Chart::Test}};
    result.push_back({Backend::SQLite, Chart::Demo});
    result.push_back({Backend::PostgreSQL, Chart::Test});
    return result;
}

std::string setupName(const Setup& setup) {
    return test_backends::name(setup.backend) +
           (setup.chart == Chart::Test ? "TestChart" : "DemoChart");
}

TestDatabase::TestDatabase(Backend backend) : backend_(backend) {
    test_backends::releaseAlias();
    if (backend == Backend::PostgreSQL) {
        if (!test_backends::available(backend)) return;
        connection_ = std::make_unique<PostgresConnection>();
        exec("DROP TABLE IF EXISTS Test_Ac_Code");
        exec(demo::postgresSchemaSql());
        test_backends::pointAliasAtPostgres(kPostgresDatabase);
    } else {
        char name[] = "/tmp/codeprep_test_XXXXXX";
        const int fd = mkstemp(name);
        if (fd < 0) throw std::runtime_error("cannot create a temporary database");
        close(fd);
        path_ = name;
        connection_ = std::make_unique<SqliteConnection>(path_);
        exec(demo::schemaSql());
        test_backends::pointAliasAtSqlite(path_);
    }
}

TestDatabase::~TestDatabase() {
    test_backends::releaseAlias();
    connection_.reset();
    if (!path_.empty()) {
        std::remove(path_.c_str());
        std::remove((path_ + "-wal").c_str());
        std::remove((path_ + "-shm").c_str());
    }
}

void TestDatabase::exec(const std::string& sql) { connection_->exec(sql); }

void TestDatabase::insertAccounts(const std::vector<ChartAccount>& accounts) {
    long long serial = count("Serial_No IS NOT NULL");
    std::string sql =
        "INSERT INTO Test_Ac_Code (Serial_No, Code_Kubun, A_Kubun, B_Kubun, C_Kubun, D_Kubun, E_Kubun,"
        " Ac_Code, Ac_Name, Ac_Name_SiSan, Ac_Name_Gita, Jan_Check, The_Code, Code_MoveCode, Code_TwoMove,"
        " Code_ThreeMove) VALUES ";
    const std::string noLink = sqlText(std::string(kNoLink));
    for (const auto& account : accounts) {
        const std::string& c = account.code;
        const std::string title = sqlText("계정 " + c);
        if (&account != &accounts.front()) sql += ",\n";
        sql += "(" + std::to_string(++serial) + ", " + sqlText(account.codeKubun) + ", " + sqlText(c.substr(0, 1)) +
               ", " + sqlText(c.substr(1, 2)) + ", " + sqlText(c.substr(3, 2)) + ", " + sqlText(c.substr(5, 3)) +
               ", " + sqlText(c.substr(8, 3)) + ", " + sqlText(c + " ") + ", " + title + ", " + title + ", " +
               title + ", '99', " + noLink + ", " + noLink + ", " + noLink + ", " + noLink + ")";
    }
    exec(sql);
}

void TestDatabase::insertChart(Chart chart) {
    if (chart == Chart::Test) return insertAccounts(testChart());
    if (backend_ == Backend::SQLite) {
        demo::insertChart(static_cast<SqliteConnection&>(*connection_).handle());
        return;
    }
    throw std::runtime_error("the demo chart is not available here");
}

long long TestDatabase::count(const std::string& where) {
    const auto result = connection_->select("SELECT COUNT(*) FROM Test_Ac_Code WHERE " + where);
    return std::stoll(result.at(0).at(0).value());
}

std::vector<AccountRow> TestDatabase::rows(const std::string& where) {
    const auto result = connection_->select(
        "SELECT Serial_No, Code_Kubun, A_Kubun, B_Kubun, C_Kubun, D_Kubun, E_Kubun, Ac_Code, Ac_Name,"
        " Ac_Name_SiSan, Ac_Name_Gita, Jan_Check, The_Code, Code_MoveCode, Code_TwoMove, Code_ThreeMove"
        " FROM Test_Ac_Code WHERE " + where + " ORDER BY Serial_No, Ac_Code");
    std::vector<AccountRow> rows;
    for (const auto& values : result) {
        AccountRow& row = rows.emplace_back();
        std::optional<std::string>* columns[] = {
            &row.serialNo, &row.codeKubun, &row.aKubun,      &row.bKubun,      &row.cKubun,     &row.dKubun,
            &row.eKubun,   &row.acCode,    &row.acName,      &row.acNameSiSan, &row.acNameGita, &row.janCheck,
            &row.theCode,  &row.moveCode,  &row.twoMove,     &row.threeMove};
        for (int i = 0; i < 16; ++i) *columns[i] = values.at(i);
    }
    return rows;
}

std::vector<AccountRow> TestDatabase::rowsOf(const std::string& code) {
    return rows("rtrim(Ac_Code) = '" + trimmed(code) + "'");
}

}  // namespace codeprep_test
