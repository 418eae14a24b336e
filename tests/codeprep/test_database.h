// A test database behind the alias "Account" holding Test_Ac_Code with a chart of
// back-office account rows in the neutral state: a temporary SQLite file, or a database
// of the test PostgreSQL server (test_backends.h). The tests
// read and arrange the table through a connection of their own, so what they see does
// not depend on the code under test.
#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "test_backends.h"

namespace codeprep_test {

inline constexpr const char* kNoLink = "123456789012";

// One row of Test_Ac_Code; NULL reads as nullopt.
struct AccountRow {
    std::optional<std::string> serialNo, codeKubun;
    std::optional<std::string> aKubun, bKubun, cKubun, dKubun, eKubun;
    std::optional<std::string> acCode, acName, acNameSiSan, acNameGita;
    std::optional<std::string> janCheck, theCode, moveCode, twoMove, threeMove;
    bool operator==(const AccountRow&) const = default;
};
std::ostream& operator<<(std::ostream& out, const AccountRow& row);

// A back-office account row to put into the table.
struct ChartAccount {
    std::string code;                      // 11 digits
    std::optional<std::string> codeKubun;  // the back office's kind of row
};

// The account rows of the test chart: every listed account that is not a heading code
// (but one, see missingListedCode()), plus accounts of every class and section that the
// class-wide rules name or skip, a class-5 row and a row without Code_Kubun.
std::vector<ChartAccount> testChart();
// A code that the preparation's lists name but the test chart leaves out.
std::string missingListedCode();

using test_backends::Backend;

// The charts a table can be filled with: the test chart above, and the demo database's
// chart (SQLite only) where the demo data is built.
enum class Chart { Test, Demo };

struct Setup {
    Backend backend;
    Chart chart;
};
// Every backend and chart combination that this build can run.
std::vector<Setup> setups();
std::string setupName(const Setup& setup);

// Raw access to the test database, one backend each.
class Connection {
public:
    virtual ~Connection() = default;
    virtual void exec(const std::string& sql) = 0;
    virtual std::vector<std::vector<std::optional<std::string>>> select(const std::string& sql) = 0;
};

class TestDatabase {
public:
    // Creates the table and points "Account" at the database. On PostgreSQL without a
    // test server, available() is false and nothing else may be called.
    explicit TestDatabase(Backend backend = Backend::SQLite);
    bool available() const { return connection_ != nullptr; }
    Backend backend() const { return backend_; }
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    // Inserts the accounts with Serial_No 1.., in the neutral state ("99", no links).
    void insertAccounts(const std::vector<ChartAccount>& accounts);
    // Inserts the account rows of a chart the same way.
    void insertChart(Chart chart);

    void exec(const std::string& sql);
    long long count(const std::string& where = "1 = 1");
    std::vector<AccountRow> rows(const std::string& where = "1 = 1");
    // The rows holding `code` (compared without trailing blanks).
    std::vector<AccountRow> rowsOf(const std::string& code);

private:
    Backend backend_;
    std::string path_;  // SQLite file
    std::unique_ptr<Connection> connection_;
};

}  // namespace codeprep_test
