// The daily and monthly summary statements, run on SQLite through the engine, against the
// independent model: row by row (code, title, six amounts, NULL versus 0).
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <regex>

#include "MONTH_MORVEL_Unit1.h"
#include "summary_fixture.h"
#include "summary_model.h"
#include "work_table_prep.h"

namespace {

using fixture::line;
using model::SummaryRow;

std::vector<SummaryRow> sortedByCodeAndTitle(std::vector<SummaryRow> rows) {
    std::stable_sort(rows.begin(), rows.end(), [](const SummaryRow& a, const SummaryRow& b) {
        return std::tie(a.code, a.title) < std::tie(b.code, b.title);
    });
    return rows;
}

// Compares the statement's rows with the model's; rows of one code may come in any order.
void expectSameRows(const std::vector<SummaryRow>& statement, const std::vector<SummaryRow>& expected) {
    for (std::size_t i = 1; i < statement.size(); ++i) {
        ASSERT_LE(statement[i - 1].code, statement[i].code) << "rows out of code order at " << i;
    }
    const auto actual = sortedByCodeAndTitle(statement);
    const auto wanted = sortedByCodeAndTitle(expected);
    for (std::size_t i = 0; i < std::min(actual.size(), wanted.size()); ++i) {
        ASSERT_EQ(actual[i], wanted[i]) << "row " << i << "\n statement: " << model::describe(actual[i])
                                        << "\n model:     " << model::describe(wanted[i]);
    }
    ASSERT_EQ(actual.size(), wanted.size());
}

const SummaryRow* find(const std::vector<SummaryRow>& rows, const std::string& code) {
    for (const SummaryRow& row : rows) {
        if (row.code == code) return &row;
    }
    return nullptr;
}

// Each case runs on SQLite and, when the test server is there, on PostgreSQL.
class SummaryTest : public ::testing::TestWithParam<fixture::Backend> {
protected:
    std::unique_ptr<fixture::SummaryDatabase> database;
    std::vector<demo::JournalLine> journal;

    void SetUp() override {
        if (!test_backends::available(GetParam())) {
            GTEST_SKIP() << test_backends::kNoServer;
        }
        database = std::make_unique<fixture::SummaryDatabase>(GetParam());
    }

    fixture::SummaryDatabase& db() { return *database; }

    void add(std::vector<demo::JournalLine> lines) {
        db().addJournal(lines);
        journal.insert(journal.end(), lines.begin(), lines.end());
    }

    std::vector<SummaryRow> daily(const std::string& first, const std::string& end,
                                  const std::string& branch = "00000") {
        auto rows = db().dailySummary(first, end, branch);
        const auto expected =
            model::computeSummary(journal, db().workTable(), {model::Period::Unit::Day, first, end, branch});
        expectSameRows(rows, expected);
        return rows;
    }

    // The monthly statement as the monthly main window runs it: the period and branch
    // picked in its lists, Query1 rerun by its own Query_Search.
    std::vector<SummaryRow> monthly(const std::string& first, const std::string& end,
                                    const std::string& branch = "00000") {
        std::vector<SummaryRow> rows;
        {
            TfmMonth_Morvel_Form form;
            form.create();
            form.cbYear->setText(first.substr(0, 4));
            form.cbMonth_First->setText(first.substr(4, 2));
            EXPECT_EQ(end.substr(0, 4), first.substr(0, 4)) << "both ends take the one year";
            form.cbMonth_End->setText(end.substr(4, 2));
            form.cbKubun->setItemIndex(std::stoi(branch));
            form.Query_Search();
            rows = fixture::summaryRowsOf(form.Query1);
        }
        const auto expected =
            model::computeSummary(journal, db().workTable(), {model::Period::Unit::Month, first, end, branch});
        expectSameRows(rows, expected);
        return rows;
    }
};

// --- Generated journals -------------------------------------------------------------------

TEST_P(SummaryTest, GeneratedJournalsAgreeWithTheModelDaily) {
    demo::JournalOptions options;
    options.lines = 6000;
    options.from = "2025-01-01";
    options.to = "2025-12-31";
    options.strayShare = 0.02;
    options.seed = 11;
    add(demo::generateJournalLines(options));
    db().prepare();
    struct Case { const char* first; const char* end; const char* branch; };
    for (const Case& c : {Case{"2025-03-01", "2025-03-31", "00000"}, Case{"2025-01-01", "2025-12-31", "00001"},
                          Case{"2025-06-15", "2025-06-15", "00002"}, Case{"2025-02-10", "2025-08-20", "00000"},
                          Case{"2025-12-31", "2025-12-31", "00001"}, Case{"2024-01-01", "2024-12-31", "00000"}}) {
        SCOPED_TRACE(std::string(c.first) + ".." + c.end + " branch " + c.branch);
        const auto rows = daily(c.first, c.end, c.branch);
        ASSERT_GE(rows.size(), 3u);
    }
}

TEST_P(SummaryTest, ManySeedsAgreeWithTheModel) {
    for (std::uint64_t seed = 100; seed < 112; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        journal.clear();
        db().exec("DELETE FROM ACCOUNT_JEN_AA");
        demo::JournalOptions options;
        options.lines = 800;
        options.branches = 2;
        options.from = "2025-05-01";
        options.to = "2025-07-31";
        options.strayShare = seed % 2 ? 0.05 : 0.0;
        options.seed = seed;
        add(demo::generateJournalLines(options));
        fixture::cleanUpWorkTable();
        db().prepare();
        daily("2025-06-01", "2025-06-30", seed % 3 ? "00000" : "00001");
        monthly("202506", "202507", "00001");
    }
}

TEST_P(SummaryTest, GeneratedJournalsAgreeWithTheModelMonthly) {
    demo::JournalOptions options;
    options.lines = 5000;
    options.from = "2025-01-01";
    options.to = "2026-06-30";
    options.strayShare = 0.02;
    options.seed = 23;
    add(demo::generateJournalLines(options));
    db().prepare();
    monthly("202501", "202512", "00000");
    monthly("202604", "202604", "00002");
    monthly("202602", "202606", "00001");
}

TEST(SummaryIndexes, MonthIndexesAndStatisticsLeaveTheResultsAlone) {
    fixture::SummaryDatabase db(fixture::Backend::SQLite, 3, true);
    demo::JournalOptions options;
    options.lines = 4000;
    options.from = "2025-01-01";
    options.to = "2025-12-31";
    options.strayShare = 0.02;
    options.seed = 31;
    const auto journal = demo::generateJournalLines(options);
    db.addJournal(journal);
    db.prepare();
    db.analyze();
    const auto table = db.workTable();
    expectSameRows(db.monthlySummary("202502", "202504", "00001"),
                   model::computeSummary(journal, table, {model::Period::Unit::Month, "202502", "202504", "00001"}));
    expectSameRows(db.monthlySummary("202512", "202512", "00000"),
                   model::computeSummary(journal, table, {model::Period::Unit::Month, "202512", "202512", "00000"}));
    expectSameRows(db.dailySummary("2025-07-01", "2025-07-31", "00002"),
                   model::computeSummary(journal, table, {model::Period::Unit::Day, "2025-07-01", "2025-07-31", "00002"}));
    // The monthly statement reads the journal's lines by the month indexes.
    const std::regex journalRead(R"((SEARCH|SCAN) (ACCOUNT_JEN_AA|CC) [^\n]*)");
    for (const auto& plan : db.summaryPlans(true, "202502", "202504", "00001"))
        for (auto it = std::sregex_iterator(plan.begin(), plan.end(), journalRead); it != std::sregex_iterator(); ++it)
            EXPECT_NE(it->str().find("_Month ("), std::string::npos) << it->str();
}

// The server compares the journal's columns in their own types, so that its indexes and
// statistics serve, and finds the lines of transfer and of cash vouchers by joins: a
// subquery run for each line, which the server hashes only while the cash vouchers fit in
// its working memory, took a large office's year beyond the server's time limit.
TEST(SummaryPlans, TheServerReadsTheJournalInItsOwnTypesAndByJoins) {
    if (!test_backends::available(fixture::Backend::PostgreSQL)) GTEST_SKIP() << test_backends::kNoServer;
    fixture::SummaryDatabase db(fixture::Backend::PostgreSQL);
    db.addJournal({line("10101001000", 5000, 0, "2025-03-02", 1), line("40201001000", 0, 5000, "2025-03-02", 1)});
    db.prepare();
    const std::string column = R"(\((\w+\.)?(ac_jencode|cr_amt|dr_amt|serial_crdr|kubun_amt|kubun_bon|date_day|year_char|)"
                               R"(month_char|serial_jen|serial_bun)\)::)";
    const std::regex castColumnCompared(column + R"([a-z ]+ (=|<>|<|<=|>|>=|~~))" + "|" +
                                        R"((=|<>|<|<=|>|>=|~~) \(?)" + column);
    for (const bool monthly : {false, true}) {
        const auto plans = monthly ? db.summaryPlans(true, "202501", "202512", "00000")
                                   : db.summaryPlans(false, "2025-01-01", "2025-12-31", "00000");
        ASSERT_FALSE(plans.empty());
        for (const auto& plan : plans) {
            EXPECT_FALSE(std::regex_search(plan, castColumnCompared)) << plan;
            EXPECT_EQ(plan.find("SubPlan"), std::string::npos) << plan;
        }
    }
}

// --- Hand-made journals -------------------------------------------------------------------

TEST_P(SummaryTest, APeriodWithoutLinesGivesTheThreeSummaryRowsWithBalances) {
    add({line("10101001000", 5000, 0, "2025-03-02", 1), line("40201001000", 0, 5000, "2025-03-02", 1),
         line("10101001000", 0, 1200, "2025-03-20", 2), line("40701003000", 1200, 0, "2025-03-20", 2),
         line("10101001000", 700, 0, "2025-04-02", 3), line("40201001000", 0, 700, "2025-04-02", 3)});
    db().prepare();
    const auto rows = daily("2025-03-10", "2025-03-15");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (SummaryRow{"50805000000", "<금일소계>", {}, {}, {}, {}, {}, {}}));
    for (const SummaryRow& row : {rows[1], rows[2]}) {
        EXPECT_EQ(row.cr01Cash, 5000.0);
        EXPECT_EQ(row.cr00, 5000.0);
        EXPECT_EQ(row.dr01Cash, 5000.0);
        EXPECT_EQ(row.dr00, 5000.0);
        // The closing balance members carry 0 in the transfer columns.
        EXPECT_EQ(row.cr01, 0.0);
    }
    EXPECT_EQ(rows[1].code, "50806000000");
    EXPECT_EQ(rows[2].code, "50909000000");
    // A period after the cash payment: closing and opening balances differ by it.
    const auto april = daily("2025-04-01", "2025-04-30");
    const SummaryRow* balances = find(april, "50806000000");
    ASSERT_NE(balances, nullptr);
    EXPECT_EQ(balances->cr01Cash, 4500.0);
    EXPECT_EQ(balances->dr01Cash, 3800.0);
}

TEST_P(SummaryTest, ABranchOfAnEmptyListMatchesNoLine) {
    add({line("10101001000", 5000, 0, "2025-03-02", 1), line("40201001000", 0, 5000, "2025-03-02", 1)});
    db().prepare();
    const auto rows = daily("2025-03-01", "2025-03-31", "-00001");
    ASSERT_EQ(rows.size(), 3u);
    for (const SummaryRow& row : rows) {
        EXPECT_FALSE(row.cr01Cash || row.dr01Cash || row.cr00 || row.dr00) << model::describe(row);
    }
}

TEST_P(SummaryTest, TheFirstAndLastDayCountInThePeriod) {
    add({line("10101001000", 100, 0, "2025-02-28", 1), line("40901001000", 0, 100, "2025-02-28", 1),
         line("10101001000", 1000, 0, "2025-03-01", 2), line("40201001000", 0, 1000, "2025-03-01", 2),
         line("10101001000", 0, 300, "2025-03-31", 3), line("40701004000", 300, 0, "2025-03-31", 3),
         line("10101001000", 50, 0, "2025-04-01", 4), line("40901001000", 0, 50, "2025-04-01", 4)});
    db().prepare();
    const auto rows = daily("2025-03-01", "2025-03-31");
    EXPECT_EQ(find(rows, "40201001000")->dr01Cash, 1000.0);
    EXPECT_EQ(find(rows, "40701004000")->cr01Cash, 300.0);
    EXPECT_EQ(find(rows, "40901001000"), nullptr);
    EXPECT_EQ(find(rows, "50806000000")->cr01Cash, 800.0);  // through the last day
    EXPECT_EQ(find(rows, "50806000000")->dr01Cash, 100.0);  // before the first day
    EXPECT_EQ(find(rows, "10101001000"), nullptr);          // the cash account has no row
}

TEST_P(SummaryTest, CashLinesOfOtherKindsCountOnlyInTheBalances) {
    auto otherKind = line("10101001000", 400, 0, "2025-03-05", 1);
    otherKind.serialCrdr = "03";
    auto leftOut = line("10101001000", 250, 0, "2025-03-06", 2);
    leftOut.kubunAmt = "0";
    add({otherKind, line("40201001000", 0, 400, "2025-03-05", 1),  // still a cash voucher
         leftOut, line("40201007000", 0, 250, "2025-03-06", 2)});  // a transfer voucher
    db().prepare();
    const auto rows = daily("2025-03-01", "2025-03-31");
    EXPECT_EQ(find(rows, "40201001000")->dr01Cash, 400.0);
    EXPECT_EQ(find(rows, "40201001000")->dr01, 0.0);
    EXPECT_EQ(find(rows, "40201007000")->dr01, 250.0);
    EXPECT_EQ(find(rows, "40201007000")->dr01Cash, 0.0);
    EXPECT_EQ(find(rows, "50806000000")->cr01Cash, 650.0);
}

TEST_P(SummaryTest, ACashVoucherShowsItsNonCashLinesAsCash) {
    add({line("40701010000", 1000, 0, "2025-03-05", 1), line("10101001000", 0, 600, "2025-03-05", 1),
         line("20101003000", 0, 400, "2025-03-05", 1),
         line("40701010000", 500, 0, "2025-03-06", 2), line("20101003000", 0, 500, "2025-03-06", 2)});
    db().prepare();
    const auto rows = daily("2025-03-01", "2025-03-31");
    const SummaryRow* payable = find(rows, "20101003000");
    ASSERT_NE(payable, nullptr);
    EXPECT_EQ(payable->dr01Cash, 400.0);
    EXPECT_EQ(payable->dr01, 500.0);
    EXPECT_EQ(payable->dr00, 900.0);
    EXPECT_EQ(find(rows, "40701010000")->cr01Cash, 1000.0);
    EXPECT_EQ(find(rows, "40701010000")->cr01, 500.0);
    EXPECT_EQ(find(rows, "50805000000")->cr00, 1500.0);
    EXPECT_EQ(find(rows, "50805000000")->dr00, 900.0);  // the cash line itself is not summed
}

TEST_P(SummaryTest, WithoutACashAccountRowTheBalancesAreEmpty) {
    add({line("10101001000", 5000, 0, "2025-03-02", 1), line("40201001000", 0, 5000, "2025-03-02", 1)});
    db().exec("DELETE FROM Test_Ac_Code WHERE Ac_Code = '10101001000'");
    db().prepare();
    const auto rows = daily("2025-03-01", "2025-03-31");
    EXPECT_FALSE(find(rows, "50806000000")->cr01Cash);
    EXPECT_EQ(find(rows, "40201001000")->dr01Cash, 5000.0);
}

TEST_P(SummaryTest, LinesOfUnknownAccountsCountNowhere) {
    add({line("40701099000", 800, 0, "2025-03-05", 1), line("20101003000", 0, 800, "2025-03-05", 1)});
    db().prepare();
    const auto rows = daily("2025-03-01", "2025-03-31");
    EXPECT_EQ(find(rows, "40701099000"), nullptr);
    EXPECT_EQ(find(rows, "40701000000"), nullptr);
    // The payable's line has no debit amount: NULL + 0 leaves the debit total empty.
    EXPECT_FALSE(find(rows, "50805000000")->cr00);
    EXPECT_EQ(find(rows, "50805000000")->dr00, 800.0);
}

TEST_P(SummaryTest, AnAccountWithoutBalanceClassCountsOnlyInRollUps) {
    // 40301003000 is a heading code: its row has no balance class.
    add({line("40301003000", 900, 0, "2025-03-05", 1), line("20101001000", 0, 900, "2025-03-05", 1),
         line("40701001000", 300, 0, "2025-03-06", 2), line("10101003000", 0, 300, "2025-03-06", 2)});
    db().prepare();
    db().exec("UPDATE Test_Ac_Code SET Jan_Check = NULL WHERE Ac_Code = '40701001000'");
    const auto rows = daily("2025-03-01", "2025-03-31");
    EXPECT_EQ(find(rows, "40301003000"), nullptr);
    EXPECT_EQ(find(rows, "40300000000")->cr01, 900.0);
    EXPECT_EQ(find(rows, "40701001000"), nullptr);
    EXPECT_EQ(find(rows, "40701000000")->cr01, 300.0);
    EXPECT_EQ(find(rows, "50805000000")->cr01, 1200.0);
}

TEST_P(SummaryTest, AssetsOutsideTheListedClassesStayOutOfTheAssetRollUps) {
    // An account row of the back office without a kind keeps the class "99".
    db().exec("INSERT INTO Test_Ac_Code (Serial_No, A_Kubun, B_Kubun, C_Kubun, D_Kubun, E_Kubun, Ac_Code, "
            "Ac_Name, Ac_Name_SiSan, Ac_Name_Gita, Jan_Check) VALUES (999, '1', '01', '01', '099', '000', "
            "'10101099000 ', '기타당좌자산', '기타당좌자산', '기타당좌자산', '99')");
    add({line("10101099000", 700, 0, "2025-03-05", 1), line("20101003000", 0, 700, "2025-03-05", 1),
         line("10101003000", 200, 0, "2025-03-06", 2), line("20101003000", 0, 200, "2025-03-06", 2)});
    db().prepare();
    const auto rows = daily("2025-03-01", "2025-03-31");
    EXPECT_EQ(find(rows, "10101099000")->cr01, 700.0);
    EXPECT_EQ(find(rows, "10101000000")->cr01, 200.0);
    EXPECT_EQ(find(rows, "10100000000")->cr01, 200.0);
}

TEST_P(SummaryTest, RefundAccountsShowUnderCostOfSalesWithTheZeroRow) {
    add({line("10101003000", 3000, 0, "2025-03-05", 1), line("10102004000", 0, 3000, "2025-03-05", 1),
         line("10102006000", 800, 0, "2025-03-06", 2), line("10101001000", 0, 800, "2025-03-06", 2)});
    db().prepare();
    const auto rows = daily("2025-03-01", "2025-03-31");
    EXPECT_EQ(find(rows, "10102004000"), nullptr);
    EXPECT_EQ(find(rows, "10102006000"), nullptr);
    EXPECT_EQ(find(rows, "40301007000")->dr01, 3000.0);
    EXPECT_EQ(find(rows, "40304005000")->cr01Cash, 800.0);
    EXPECT_EQ(find(rows, "40300000000")->dr01, 3000.0);
    EXPECT_EQ(find(rows, "40300000000")->cr01Cash, 800.0);
    // The credit on 10102004000 lists 40301001000 with zero amounts; the debit on
    // 10102006000 (no credit amount) lists nothing under 40304001000.
    ASSERT_NE(find(rows, "40301001000"), nullptr);
    EXPECT_EQ(find(rows, "40301001000")->cr00, 0.0);
    EXPECT_EQ(find(rows, "40304001000"), nullptr);
    // The refund accounts stay out of the inventory group.
    EXPECT_EQ(find(rows, "10102000000"), nullptr);
}

TEST_P(SummaryTest, ADuplicatedCodeMultipliesItsSums) {
    add({line("40701006000", 100, 0, "2025-03-05", 1), line("20101003000", 0, 100, "2025-03-05", 1),
         line("40701007000", 60, 0, "2025-03-06", 2), line("20101003000", 0, 60, "2025-03-06", 2)});
    db().exec("INSERT INTO Test_Ac_Code (Serial_No, Code_Kubun, A_Kubun, B_Kubun, Ac_Code, Ac_Name_SiSan) "
            "VALUES (901, '1', '4', '07', '40701006000', '통신비')");
    db().exec("INSERT INTO Test_Ac_Code (Serial_No, Code_Kubun, A_Kubun, B_Kubun, Ac_Code, Ac_Name_SiSan) "
            "VALUES (902, '1', '4', '07', '40701007000 ', '수도광열비(2)')");
    db().prepare();
    const auto rows = daily("2025-03-01", "2025-03-31");
    // Same title: one row, its line counted twice per member and twice in the outer join.
    EXPECT_EQ(find(rows, "40701006000")->cr01, 400.0);
    // Two titles: two rows, each with the line counted twice.
    const auto utilities = std::count_if(rows.begin(), rows.end(),
                                         [](const SummaryRow& r) { return r.code == "40701007000"; });
    EXPECT_EQ(utilities, 2);
    EXPECT_EQ(find(rows, "40701007000")->cr01, 120.0);
    // The group row takes both rows of each code once: 2 x 100 + 2 x 60.
    EXPECT_EQ(find(rows, "40701000000")->cr01, 320.0);
}

// An amount of sixteen significant digits keeps every digit on both backends, in the
// account's row, its roll-ups and the totals (the model sums the same doubles).
TEST_P(SummaryTest, AmountsOfSixteenDigitsKeepEveryDigit) {
    constexpr double kAmount = 1234567890123456.0;
    add({line("40701006000", kAmount, 0, "2025-03-05", 1), line("20101003000", 0, kAmount, "2025-03-05", 1),
         line("40701006000", 7, 0, "2025-03-06", 2), line("20101003000", 0, 7, "2025-03-06", 2)});
    db().prepare();
    const auto rows = daily("2025-03-01", "2025-03-31");
    EXPECT_EQ(find(rows, "40701006000")->cr01, kAmount + 7);
    EXPECT_EQ(find(rows, "40701000000")->cr01, kAmount + 7);
    EXPECT_EQ(find(rows, "20101003000")->dr01, kAmount + 7);
    EXPECT_EQ(find(monthly("202503", "202503"), "50909000000")->cr00, kAmount + 7);
}

TEST_P(SummaryTest, GroupRowsComeBeforeTheirAccountsAndSummaryRowsLast) {
    demo::JournalOptions options;
    options.lines = 600;
    options.from = "2025-03-01";
    options.to = "2025-03-31";
    add(demo::generateJournalLines(options));
    db().prepare();
    const auto rows = daily("2025-03-01", "2025-03-31");
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ(rows[rows.size() - 3].code, "50805000000");
    EXPECT_EQ(rows[rows.size() - 2].code, "50806000000");
    EXPECT_EQ(rows[rows.size() - 1].code, "50909000000");
    EXPECT_EQ(rows[rows.size() - 1].title, "합계");
    // Grand total: every period line plus the balances on each side.
    const SummaryRow& subtotal = rows[rows.size() - 3];
    const SummaryRow& cash = rows[rows.size() - 2];
    const SummaryRow& total = rows[rows.size() - 1];
    EXPECT_EQ(*total.cr00, *subtotal.cr00 + *cash.cr01Cash);
    EXPECT_EQ(*total.dr00, *subtotal.dr00 + *cash.dr01Cash);
}

// --- Monthly edge cases --------------------------------------------------------------------

TEST_P(SummaryTest, MonthlySpansCountTheirFirstAndLastMonth) {
    add({line("10101001000", 100, 0, "2025-01-31", 1), line("40901001000", 0, 100, "2025-01-31", 1),
         line("10101001000", 1000, 0, "2025-02-01", 2), line("40201001000", 0, 1000, "2025-02-01", 2),
         line("10101001000", 0, 300, "2025-04-30", 3), line("40701004000", 300, 0, "2025-04-30", 3),
         line("10101001000", 50, 0, "2025-05-01", 4), line("40901001000", 0, 50, "2025-05-01", 4)});
    db().prepare();
    auto rows = monthly("202502", "202504");
    EXPECT_EQ(find(rows, "40201001000")->dr01Cash, 1000.0);
    EXPECT_EQ(find(rows, "40701004000")->cr01Cash, 300.0);
    EXPECT_EQ(find(rows, "50806000000")->cr01Cash, 800.0);
    EXPECT_EQ(find(rows, "50806000000")->dr01Cash, 100.0);
    // First month = last month: a line of that month is in the period and in the closing
    // balance, not in the opening one.
    rows = monthly("202502", "202502");
    EXPECT_EQ(find(rows, "40201001000")->dr01Cash, 1000.0);
    EXPECT_EQ(find(rows, "50806000000")->cr01Cash, 1100.0);
    EXPECT_EQ(find(rows, "50806000000")->dr01Cash, 100.0);
    rows = monthly("202504", "202504");
    EXPECT_EQ(find(rows, "40201001000"), nullptr);
    EXPECT_EQ(find(rows, "50806000000")->dr01Cash, 1100.0);
    rows = monthly("202503", "202503");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].cr01Cash, 1100.0);
    EXPECT_EQ(rows[1].dr01Cash, 1100.0);
}

INSTANTIATE_TEST_SUITE_P(Backends, SummaryTest,
                         ::testing::ValuesIn(test_backends::all()),
                         [](const auto& info) { return test_backends::name(info.param); });

}  // namespace
