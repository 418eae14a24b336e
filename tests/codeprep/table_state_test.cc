// The work table after a preparation, after a clean-up and after a failure midway, on
// the test chart (accounts in every class and section) and on the demo chart.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "DAY_MORVEL_CODE_UpDate_Unit.h"
#include "list_walk.h"
#include "engine/error.h"
#include "engine/trace.h"
#include "test_database.h"

namespace {

using codeprep_test::trimmed;
using codeprep_test::walk;
using codeprep_test::AccountRow;
using codeprep_test::kNoLink;

using codeprep_test::Backend;
using codeprep_test::Chart;

class TableStateBase : public ::testing::Test {
protected:
    explicit TableStateBase(Backend backend) : db(backend) {}

    void load(Chart chart) {
        db.insertChart(chart);
        neutral = db.rows();
        const std::vector<std::pair<forms::ComboBox*, std::string>> lists = {
            {form.cbJan_Check_30, "30"}, {form.cbJan_Check_70, "70"}, {form.cbJan_Check_15, "15"},
            {form.cbJan_Check_17, "17"}, {form.cbJan_Check_20, "20"}, {form.cbJan_Check_23, "23"},
            {form.cbJan_Check_25, "25"}, {form.cbJan_Check_27, "27"}, {form.cbJan_Check_60, "60"},
            {form.cbJan_Check_65, "65"}, {form.cbJan_Check_70_2, "70"}, {form.cbJan_Check_80, "80"},
            {form.cbJan_Check_10, "10"}, {form.cbJan_Check_57, "57"}};
        for (const auto& [list, value] : lists)
            for (const auto& code : walk(*list)) listedClass[trimmed(code)] = value;
        const auto acCodes = walk(*form.cbAc_Code);
        const auto moveCodes = walk(*form.cbCode_MoveCode);
        const auto twoMoves = walk(*form.cbCode_TwoMove);
        for (std::size_t i = 0; i < acCodes.size(); ++i) links[trimmed(acCodes[i])] = {moveCodes[i], twoMoves[i]};
        for (const auto& code : walk(*form.cbCode)) headingCodes.insert(trimmed(code));
    }

    // The class an account row must hold after a preparation from the neutral state.
    std::string expectedClass(const AccountRow& row) const {
        const std::string code = trimmed(*row.acCode);
        if (const auto it = listedClass.find(code); it != listedClass.end()) return it->second;
        if (!row.codeKubun) return "99";
        const std::string section = code.substr(1, 2);
        const std::set<std::string> costSections = {"03", "04", "05", "07", "10", "13", "15"};
        const std::set<std::string> incomeSections = {"01", "02", "09", "12"};
        switch (code[0]) {
            case '1': return "10";
            case '2':
            case '3': return "50";
            case '4':
                if (costSections.count(section)) return "10";
                if (incomeSections.count(section)) return "50";
                return "99";
            default: return "99";
        }
    }

    AccountRow accountRow(const std::string& code) {
        const auto rows = db.rows("Serial_No IS NOT NULL AND rtrim(Ac_Code) = '" + code + "'");
        EXPECT_EQ(rows.size(), 1u) << code;
        return rows.empty() ? AccountRow{} : rows.front();
    }
    AccountRow headingRow(const std::string& code) {
        const auto rows = db.rows("Serial_No IS NULL AND rtrim(Ac_Code) = '" + code + "'");
        EXPECT_EQ(rows.size(), 1u) << code;
        return rows.empty() ? AccountRow{} : rows.front();
    }

    // A title as stored; PostgreSQL's CHAR(90) reads back padded to its width.
    std::string title(const std::optional<std::string>& value) const {
        if (!value) return "<NULL>";
        return db.backend() == Backend::PostgreSQL ? trimmed(*value) : *value;
    }

    void expectNeutral() {
        EXPECT_EQ(db.count("Serial_No IS NULL"), 0);
        EXPECT_EQ(db.rows(), neutral) << "the table differs from its neutral state";
    }

    codeprep_test::TestDatabase db;
    TfmDAY_MORVEL_CODE_Update_Form form;
    std::vector<AccountRow> neutral;
    std::map<std::string, std::string> listedClass;
    std::map<std::string, std::pair<std::string, std::string>> links;  // move, two
    std::set<std::string> headingCodes;
};

class TableState : public TableStateBase, public ::testing::WithParamInterface<codeprep_test::Setup> {
protected:
    TableState() : TableStateBase(GetParam().backend) {}
    void SetUp() override {
        if (!db.available()) GTEST_SKIP() << test_backends::kNoServer;
        load(GetParam().chart);
    }
};

INSTANTIATE_TEST_SUITE_P(Databases, TableState, ::testing::ValuesIn(codeprep_test::setups()),
                         [](const auto& info) { return codeprep_test::setupName(info.param); });

// Cases that need the test chart's own rows or arrange the table first (SQLite triggers).
class TestChartState : public TableStateBase {
protected:
    TestChartState() : TableStateBase(Backend::SQLite) {}
    void SetUp() override { load(Chart::Test); }
};

TEST_P(TableState, PreparationClassifiesAndLinksEveryAccountRow) {
    form.pRun_CodeUpdate();
    const auto accounts = db.rows("Serial_No IS NOT NULL");
    ASSERT_EQ(accounts.size(), neutral.size());
    for (const auto& row : accounts) {
        const std::string code = trimmed(*row.acCode);
        EXPECT_EQ(row.janCheck.value_or("<NULL>"), expectedClass(row)) << code;
        const auto link = links.find(code);
        EXPECT_EQ(row.theCode, kNoLink) << code;
        EXPECT_EQ(row.threeMove, kNoLink) << code;
        EXPECT_EQ(row.moveCode, link == links.end() ? kNoLink : link->second.first) << code;
        EXPECT_EQ(row.twoMove, link == links.end() ? kNoLink : link->second.second) << code;
    }

    // The cases the summary depends on.
    EXPECT_EQ(accountRow("10102004000").janCheck, "15");
    EXPECT_EQ(accountRow("10102004000").moveCode, "40301007000 ");
    EXPECT_EQ(accountRow("10102006000").janCheck, "15");
    EXPECT_EQ(accountRow("10102006000").moveCode, "40304005000 ");
    EXPECT_EQ(accountRow("30301033000").janCheck, "10");
    EXPECT_EQ(accountRow("30301042000").janCheck, "70");
    EXPECT_EQ(accountRow("40601002000").janCheck, "99");  // section 06: no class
    EXPECT_EQ(accountRow("40201002000").janCheck, "57");
    EXPECT_EQ(accountRow("10201025000").moveCode, "10201026000 ");
    EXPECT_EQ(accountRow("10201025000").twoMove, "10201027000 ");
    for (const auto& row : accounts)
        if (row.aKubun == "1" && row.codeKubun && row.janCheck != "15") {
            const std::set<std::string> rollUp = {"10", "17", "20", "23", "25", "27", "30", "70"};
            EXPECT_TRUE(rollUp.count(*row.janCheck)) << *row.acCode;
        }
}

TEST_F(TestChartState, RowsOutsideTheClassRulesKeepTheirClass) {
    db.exec("UPDATE Test_Ac_Code SET Jan_Check = '42' WHERE rtrim(Ac_Code) IN ('41101002000', '50101001000')");
    form.pRun_CodeUpdate();
    EXPECT_EQ(accountRow("40601002000").janCheck, "99");  // section 06
    EXPECT_EQ(accountRow("41101002000").janCheck, "42");  // section 11
    EXPECT_EQ(accountRow("50101001000").janCheck, "42");  // class 5
    EXPECT_EQ(accountRow("20101099000").janCheck, "99");  // no Code_Kubun
    EXPECT_EQ(accountRow("40701001000").janCheck, "10");  // section 07
    EXPECT_EQ(accountRow("41201001000").janCheck, "50");  // section 12
}

TEST_P(TableState, PreparationInsertsTheHeadingRows) {
    form.pRun_CodeUpdate();
    const auto headings = db.rows("Serial_No IS NULL");
    ASSERT_EQ(headings.size(), 129u);
    std::set<std::string> codes;
    int linked = 0;
    for (const auto& row : headings) {
        codes.insert(trimmed(*row.acCode));
        // The code goes in as its 11 digits; a CHAR(12) column pads it again.
        EXPECT_EQ(*row.acCode, db.backend() == Backend::SQLite ? trimmed(*row.acCode) : trimmed(*row.acCode) + " ");
        EXPECT_EQ(trimmed(*row.acCode).size(), 11u);
        EXPECT_FALSE(row.codeKubun);
        EXPECT_FALSE(row.janCheck) << *row.acCode << " got a balance class";
        EXPECT_FALSE(row.theCode && row.theCode != kNoLink);
        if (row.moveCode) {
            ++linked;
            EXPECT_EQ(row.moveCode, links.at(trimmed(*row.acCode)).first);
            EXPECT_EQ(row.twoMove, kNoLink);
            EXPECT_EQ(row.threeMove, kNoLink);
        } else {
            EXPECT_FALSE(links.count(trimmed(*row.acCode))) << *row.acCode;
        }
    }
    EXPECT_EQ(codes, headingCodes);
    EXPECT_EQ(linked, 27);

    const auto first = headingRow("10101000000");
    EXPECT_EQ(first.aKubun, "1");
    EXPECT_EQ(first.bKubun, "01");
    EXPECT_EQ(first.cKubun, "01");
    EXPECT_EQ(first.dKubun, "000");
    EXPECT_EQ(first.eKubun, "000");
    EXPECT_EQ(trimmed(first.acCode.value_or("")), "10101000000");
    EXPECT_EQ(title(first.acName), "당좌자산");
    EXPECT_EQ(title(first.acNameSiSan), "<당좌자산>");
    EXPECT_EQ(title(first.acNameGita), "(1) 당좌자산");

    const auto total = headingRow("50909000000");
    EXPECT_EQ(total.aKubun, "5");
    EXPECT_EQ(total.bKubun, "09");
    EXPECT_EQ(total.cKubun, "09");
    EXPECT_EQ(total.dKubun, "000");
    EXPECT_EQ(total.eKubun, "000");
    EXPECT_EQ(title(total.acName), "합계");
    EXPECT_EQ(title(total.acNameSiSan), "합계");
    EXPECT_EQ(title(total.acNameGita), "합계");

    const auto longest = headingRow("30301073000");
    EXPECT_EQ(title(longest.acName), "B/S상의계정과목에당기순이익표시계정과목");
    EXPECT_EQ(longest.acNameSiSan, longest.acName);
    EXPECT_EQ(longest.acNameGita, longest.acName);
    EXPECT_EQ(title(headingRow("41500000000").acNameGita), "ⅩⅡ. 법인세등");

    const auto refund = headingRow("40301007000");
    EXPECT_EQ(title(refund.acName), "상품관세환급금");
    EXPECT_FALSE(refund.janCheck);
    EXPECT_EQ(refund.moveCode, "10102004000 ");
    EXPECT_EQ(refund.twoMove, kNoLink);
}

TEST_P(TableState, CleanUpReturnsToNeutralAndRepeatsHarmlessly) {
    form.pRun_CodeUpdate();
    form.pDelete_Update();
    expectNeutral();
    form.pDelete_Update();
    expectNeutral();
}

TEST_P(TableState, OneCleanUpRemovesTheHeadingsOfTwoPreparations) {
    form.pRun_CodeUpdate();
    form.pRun_CodeUpdate();
    EXPECT_EQ(db.count("Serial_No IS NULL"), 258);
    EXPECT_EQ(db.count("Serial_No IS NULL AND Ac_Code = '50909000000'"), 2);
    form.pDelete_Update();
    expectNeutral();
}

TEST_P(TableState, RecoveryCleansUpHeadingRowsLeftBehindAndNothingElse) {
    int statements = 0;
    const auto previous = engine::setTraceSink([&](const engine::TraceEntry&) { ++statements; });
    EXPECT_FALSE(form.pClean_Leftovers());
    EXPECT_EQ(statements, 1);  // the look, no clean-up on a neutral table
    expectNeutral();

    // A copy that died after its 100th heading row.
    form.pKubun_SSSSS(100);
    form.pJan_Kubun_Update();
    statements = 0;
    EXPECT_TRUE(form.pClean_Leftovers());
    EXPECT_EQ(statements, 3);
    engine::setTraceSink(previous);
    expectNeutral();

    // So a preparation after it holds each heading row once.
    form.pRun_CodeUpdate();
    EXPECT_EQ(db.count("Serial_No IS NULL"), 129);
}

TEST_F(TestChartState, CleanUpNeutralisesAnyState) {
    db.exec("UPDATE Test_Ac_Code SET Jan_Check = '30', Code_TwoMove = NULL WHERE Serial_No % 3 = 0");
    db.exec("INSERT INTO Test_Ac_Code (Ac_Code, Jan_Check) VALUES ('10101000000', '10')");
    form.pDelete_Update();
    expectNeutral();
}

TEST_F(TestChartState, FailingHeadingInsertStopsThePreparation) {
    // The database refuses the 46th heading row.
    db.exec("CREATE TRIGGER refuse BEFORE INSERT ON Test_Ac_Code WHEN NEW.Ac_Code = '40301007000' "
            "BEGIN SELECT RAISE(ABORT, 'refused heading'); END");
    int statements = 0;
    const auto previous = engine::setTraceSink([&](const engine::TraceEntry&) { ++statements; });
    EXPECT_THROW(form.pRun_CodeUpdate(), engine::DatabaseError);
    engine::setTraceSink(previous);
    EXPECT_EQ(statements, 46);
    EXPECT_EQ(db.count("Serial_No IS NULL"), 45);
    EXPECT_EQ(db.count("Serial_No IS NULL AND Ac_Code = '40301006000'"), 1);
    EXPECT_EQ(db.rows("Serial_No IS NOT NULL"), neutral) << "no class or link was written";

    db.exec("DROP TRIGGER refuse");
    form.pDelete_Update();
    expectNeutral();
}

TEST_F(TestChartState, FailingClassUpdateKeepsWhatRanBefore) {
    // The database refuses the first "57" update, statement 264 of 429.
    db.exec("CREATE TRIGGER refuse BEFORE UPDATE ON Test_Ac_Code WHEN NEW.Jan_Check = '57' "
            "BEGIN SELECT RAISE(ABORT, 'refused class'); END");
    int statements = 0;
    const auto previous = engine::setTraceSink([&](const engine::TraceEntry&) { ++statements; });
    try {
        form.pRun_CodeUpdate();
        ADD_FAILURE() << "the preparation reported success";
    } catch (const engine::DatabaseError& error) {
        EXPECT_NE(std::string(error.what()).find("refused class"), std::string::npos) << error.what();
    }
    engine::setTraceSink(previous);
    EXPECT_EQ(statements, 264);
    EXPECT_EQ(db.count("Serial_No IS NULL"), 129);
    EXPECT_EQ(accountRow("30301033000").janCheck, "10");
    EXPECT_EQ(accountRow("40201002000").janCheck, "50");  // class-wide value, the list did not run
    EXPECT_EQ(accountRow("10102004000").janCheck, "15");
    EXPECT_EQ(accountRow("10102004000").moveCode, kNoLink);  // the links did not run

    db.exec("DROP TRIGGER refuse");
    form.pDelete_Update();
    expectNeutral();
}

TEST_F(TestChartState, FailingResetLeavesClassesWithoutHeadings) {
    form.pRun_CodeUpdate();
    db.exec("CREATE TRIGGER refuse BEFORE UPDATE ON Test_Ac_Code WHEN NEW.Jan_Check = '99' "
            "BEGIN SELECT RAISE(ABORT, 'refused reset'); END");
    EXPECT_THROW(form.pDelete_Update(), engine::DatabaseError);
    EXPECT_EQ(db.count("Serial_No IS NULL"), 0);
    EXPECT_EQ(accountRow("10102004000").janCheck, "15");
    EXPECT_EQ(accountRow("10102004000").moveCode, "40301007000 ");

    db.exec("DROP TRIGGER refuse");
    form.pDelete_Update();
    expectNeutral();
}

}  // namespace
