#include "test_database.h"

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

#include "code_lists.h"
#include "engine/alias_config.h"
#include "engine/database.h"
#ifdef MORVEL_DEMO_CHART
#include "demo_database.h"
#endif

namespace codeprep_test {
namespace {

// The table as the back office keeps it; text compares without trailing blanks.
const char* const kCreateTable = R"(
CREATE TABLE Test_Ac_Code (
    Serial_No      INTEGER,
    Code_Kubun     TEXT         COLLATE RTRIM,
    A_Kubun        CHAR(1)      COLLATE RTRIM,
    B_Kubun        CHAR(2)      COLLATE RTRIM,
    C_Kubun        CHAR(2)      COLLATE RTRIM,
    D_Kubun        CHAR(3)      COLLATE RTRIM,
    E_Kubun        CHAR(3)      COLLATE RTRIM,
    Ac_Code        CHAR(12)     COLLATE RTRIM,
    Ac_Name        VARCHAR(90)  COLLATE RTRIM,
    Ac_Name_SiSan  VARCHAR(90)  COLLATE RTRIM,
    Ac_Name_Gita   VARCHAR(90)  COLLATE RTRIM,
    Jan_Check      CHAR(2)      COLLATE RTRIM,
    The_Code       CHAR(12)     COLLATE RTRIM,
    Code_MoveCode  CHAR(12)     COLLATE RTRIM,
    Code_TwoMove   CHAR(12)     COLLATE RTRIM,
    Code_ThreeMove CHAR(12)     COLLATE RTRIM
))";

std::string trimmed(std::string_view code) {
    while (!code.empty() && code.back() == ' ') code.remove_suffix(1);
    return std::string(code);
}

std::optional<std::string> columnText(sqlite3_stmt* statement, int column) {
    if (sqlite3_column_type(statement, column) == SQLITE_NULL) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)));
}

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

std::vector<Chart> charts() {
#ifdef MORVEL_DEMO_CHART
    return {Chart::Test, Chart::Demo};
#else
    return {Chart::Test};
#endif
}

std::string chartName(Chart chart) { return chart == Chart::Test ? "TestChart" : "DemoChart"; }

TestDatabase::TestDatabase() {
    char name[] = "/tmp/codeprep_test_XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) throw std::runtime_error("cannot create a temporary database");
    close(fd);
    path_ = name;
    if (sqlite3_open(path_.c_str(), &db_) != SQLITE_OK) throw std::runtime_error("cannot open " + path_);
    sqlite3_busy_timeout(db_, 5000);

    const std::filesystem::path schema = std::filesystem::path(MORVEL_SOURCE_DIR) / "db" / "schema.sql";
    if (std::filesystem::exists(schema)) {
        std::ifstream in(schema);
        std::stringstream text;
        text << in.rdbuf();
        exec(text.str());
    } else {
        exec(kCreateTable);
    }

    engine::resetDatabases();
    engine::AliasConfig config;
    config.driver = "sqlite";
    config.path = path_;
    engine::databaseForAlias("Account").setConfig(config);
}

TestDatabase::~TestDatabase() {
    engine::resetDatabases();
    sqlite3_close(db_);
    std::remove(path_.c_str());
    std::remove((path_ + "-wal").c_str());
    std::remove((path_ + "-shm").c_str());
}

void TestDatabase::exec(const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : "unknown error";
        sqlite3_free(error);
        throw std::runtime_error(message + " in: " + sql);
    }
}

void TestDatabase::insertAccounts(const std::vector<ChartAccount>& accounts) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db_,
                       "INSERT INTO Test_Ac_Code (Serial_No, Code_Kubun, A_Kubun, B_Kubun, C_Kubun, D_Kubun,"
                       " E_Kubun, Ac_Code, Ac_Name, Ac_Name_SiSan, Ac_Name_Gita, Jan_Check, The_Code,"
                       " Code_MoveCode, Code_TwoMove, Code_ThreeMove)"
                       " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?9, ?9, '99', ?10, ?10, ?10, ?10)",
                       -1, &statement, nullptr);
    exec("BEGIN");
    long long serial = count("Serial_No IS NOT NULL");
    for (const auto& account : accounts) {
        const std::string& c = account.code;
        const std::string parts[] = {c.substr(0, 1), c.substr(1, 2), c.substr(3, 2), c.substr(5, 3),
                                     c.substr(8, 3), c + " ", "계정 " + c};
        sqlite3_reset(statement);
        sqlite3_bind_int64(statement, 1, ++serial);
        if (account.codeKubun)
            sqlite3_bind_text(statement, 2, account.codeKubun->c_str(), -1, SQLITE_TRANSIENT);
        else
            sqlite3_bind_null(statement, 2);
        for (int i = 0; i < 7; ++i) sqlite3_bind_text(statement, 3 + i, parts[i].c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(statement, 10, kNoLink, -1, SQLITE_STATIC);
        if (sqlite3_step(statement) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db_));
    }
    exec("COMMIT");
    sqlite3_finalize(statement);
}

void TestDatabase::insertChart(Chart chart) {
    if (chart == Chart::Test) return insertAccounts(testChart());
#ifdef MORVEL_DEMO_CHART
    demo::insertChart(db_);
#else
    throw std::runtime_error("the demo chart is not built");
#endif
}

long long TestDatabase::count(const std::string& where) {
    sqlite3_stmt* statement = nullptr;
    const std::string sql = "SELECT COUNT(*) FROM Test_Ac_Code WHERE " + where;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db_));
    sqlite3_step(statement);
    const long long n = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return n;
}

std::vector<AccountRow> TestDatabase::rows(const std::string& where) {
    sqlite3_stmt* statement = nullptr;
    const std::string sql =
        "SELECT Serial_No, Code_Kubun, A_Kubun, B_Kubun, C_Kubun, D_Kubun, E_Kubun, Ac_Code, Ac_Name,"
        " Ac_Name_SiSan, Ac_Name_Gita, Jan_Check, The_Code, Code_MoveCode, Code_TwoMove, Code_ThreeMove"
        " FROM Test_Ac_Code WHERE " + where + " ORDER BY rowid";
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db_));
    std::vector<AccountRow> result;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        AccountRow row;
        std::optional<std::string>* columns[] = {
            &row.serialNo, &row.codeKubun, &row.aKubun,      &row.bKubun,      &row.cKubun,   &row.dKubun,
            &row.eKubun,   &row.acCode,    &row.acName,      &row.acNameSiSan, &row.acNameGita, &row.janCheck,
            &row.theCode,  &row.moveCode,  &row.twoMove,     &row.threeMove};
        for (int i = 0; i < 16; ++i) *columns[i] = columnText(statement, i);
        result.push_back(std::move(row));
    }
    sqlite3_finalize(statement);
    return result;
}

std::vector<AccountRow> TestDatabase::rowsOf(const std::string& code) {
    return rows("rtrim(Ac_Code) = '" + trimmed(code) + "'");
}

}  // namespace codeprep_test
