#include "summary_fixture.h"

#include <sqlite3.h>

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <stdexcept>

#include "DAY_MORVEL_summary_sql.h"
#include "MONTH_MORVEL_summary_sql.h"
#include "demo_database.h"
#include "engine/database.h"
#include "engine/query.h"
#include "work_table_prep.h"

namespace fixture {
namespace {

std::string trimmed(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

std::optional<std::string> text(const engine::FieldValue& field) {
    return field.isNull() ? std::nullopt : std::optional(field.asString());
}

std::optional<double> amount(const engine::FieldValue& field) {
    return field.isNull() ? std::nullopt : std::optional(field.asFloat());
}

std::vector<model::SummaryRow> runSummary(const std::vector<std::string>& lines, const std::string& first,
                                          const std::string& end, const std::string& branch) {
    engine::Query query;
    for (const std::string& l : lines) query.sql().add(l);
    query.paramByName("tbFirst_Day").setAsString(first);
    query.paramByName("tbEnd_Day").setAsString(end);
    query.paramByName("tbKubun_Bon").setAsString(branch);
    query.open();
    std::vector<model::SummaryRow> rows;
    for (query.first(); !query.eof(); query.next()) {
        rows.push_back({trimmed(query.fieldByName("AC_CODE").asString()), text(query.fieldByName("AC_NAME")),
                        amount(query.fieldByName("CR00")), amount(query.fieldByName("CR01")),
                        amount(query.fieldByName("CR01_CASH")), amount(query.fieldByName("DR01_CASH")),
                        amount(query.fieldByName("DR01")), amount(query.fieldByName("DR00"))});
    }
    return rows;
}

void withConnection(const std::string& path, const std::function<void(sqlite3*)>& work) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + path);
    }
    try {
        demo::registerPlusFunction(db);
        demo::execute(db, "BEGIN");
        work(db);
        demo::execute(db, "COMMIT");
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    sqlite3_close(db);
}

}  // namespace

SummaryDatabase::SummaryDatabase(int branches, bool monthIndexes) {
    static std::atomic<int> counter{0};
    dir_ = std::filesystem::temp_directory_path() /
           ("morvel_summary_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / "account.db").string();
    withConnection(path_, [&](sqlite3* db) {
        demo::createSchema(db);
        demo::insertChart(db);
        demo::insertBranches(db, branches);
        if (monthIndexes) demo::addMonthIndexes(db);
    });
    engine::resetDatabases();
    engine::AliasConfig config;
    config.driver = "sqlite";
    config.path = path_;
    engine::databaseForAlias("Account").setConfig(config);
}

SummaryDatabase::~SummaryDatabase() {
    engine::resetDatabases();
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

void SummaryDatabase::addJournal(const std::vector<demo::JournalLine>& lines) {
    // Bulk lines go in through a connection of their own, in one transaction.
    engine::resetDatabases();
    withConnection(path_, [&](sqlite3* db) { demo::insertJournal(db, lines); });
    engine::AliasConfig config;
    config.driver = "sqlite";
    config.path = path_;
    engine::databaseForAlias("Account").setConfig(config);
}

void SummaryDatabase::analyze() { exec("ANALYZE"); }

void SummaryDatabase::exec(const std::string& sql) {
    engine::Query query;
    query.sql().add(sql);
    query.execSql();
}

void SummaryDatabase::prepare() { prepareWorkTable(); }

std::vector<model::WorkRow> SummaryDatabase::workTable() {
    engine::Query query;
    query.sql().add("SELECT Ac_Code, Ac_Name_SiSan, Jan_Check, Code_MoveCode, A_Kubun, B_Kubun FROM Test_Ac_Code");
    query.open();
    std::vector<model::WorkRow> rows;
    for (query.first(); !query.eof(); query.next()) {
        rows.push_back({query.fieldByName("Ac_Code").asString(), text(query.fieldByName("Ac_Name_SiSan")),
                        text(query.fieldByName("Jan_Check")), text(query.fieldByName("Code_MoveCode")),
                        text(query.fieldByName("A_Kubun")), text(query.fieldByName("B_Kubun"))});
    }
    return rows;
}

std::vector<model::SummaryRow> SummaryDatabase::dailySummary(const std::string& first, const std::string& end,
                                                             const std::string& branch) {
    return runSummary(daily::summaryStatementLines(), first, end, branch);
}

std::vector<model::SummaryRow> SummaryDatabase::monthlySummary(const std::string& first, const std::string& end,
                                                               const std::string& branch) {
    return runSummary(monthly::summaryStatementLines(), first, end, branch);
}

demo::JournalLine line(const std::string& code, double debit, double credit, const std::string& date,
                       int voucher, const std::string& branch) {
    demo::JournalLine l;
    l.acJenCode = code;
    if (debit > 0) l.crAmt = debit;
    if (credit > 0) l.drAmt = credit;
    l.serialCrdr = debit > 0 ? "01" : "02";
    l.kubunAmt = "1";
    l.kubunBon = branch;
    l.dateDay = date;
    l.yearChar = date.substr(0, 4);
    l.monthChar = date.substr(5, 2);
    l.serialJen = date.substr(0, 4) + date.substr(5, 2) + date.substr(8, 2);
    char bun[16];
    std::snprintf(bun, sizeof bun, "%05d", voucher);
    l.serialBun = bun;
    return l;
}

}  // namespace fixture
