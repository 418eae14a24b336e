// The statements of the preparation and the clean-up as the database receives them:
// their number and order, every line with its width, and the parameter values.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "DAY_MORVEL_CODE_UpDate_Unit.h"
#include "list_walk.h"
#include "engine/trace.h"
#include "test_database.h"

namespace {

using codeprep_test::walk;
using codeprep_test::kNoLink;

// A statement line: its leading blanks, its text and the width it is padded to.
struct Line {
    int leading;
    std::string text;
    std::size_t width;
};

std::vector<std::string> padded(const std::vector<Line>& lines) {
    std::vector<std::string> out;
    for (const auto& line : lines) {
        std::string s = std::string(line.leading, ' ') + line.text;
        s.resize(line.width, ' ');
        out.push_back(s);
    }
    return out;
}

const Line kA{4, "UpDate         Test_Ac_Code", 72};
const Line kB{12, "Set    Jan_Check  =  :tbJan_Check", 72};
const Line kC{4, "Where          A_Kubun  IN   ('1')          And", 70};
const Line kD{4, "Where          A_Kubun  IN   ('4')          And", 70};
const Line kE{4, "Where          A_Kubun  IN   ('2','3')          And", 68};
const Line kF{19, "B_Kubun  IN   ('03','04','05','07','10','13','15')   And", 82};
const Line kG{19, "B_Kubun  IN   ('01','02','09','12')  And", 64};
const Line kH{19, "Code_Kubun  Is  Not  Null", 72};

std::vector<Line> insertLines() {
    const std::vector<std::pair<int, std::string>> lines = {
        {2, "Insert  Into  Test_Ac_Code    ("},
        {16, "A_Kubun,     B_Kubun,       C_Kubun,             D_Kubun,           E_Kubun,"},
        {16, "Ac_Code,     Ac_Name,       Ac_Name_SiSan,       Ac_Name_Gita"},
        {32, ")"},
        {5, "Values  ("},
        {16, ":tbA_Kubun,  :tbB_Kubun,    :tbC_Kubun,          :tbD_Kubun,        :tbE_Kubun,"},
        {16, ":tbAc_Code,  :tbAc_Name,    :tbAc_Name_SiSan,    :tbAc_Name_Gita"},
        {13, ")"}};
    std::vector<Line> out;
    for (const auto& [leading, text] : lines) out.push_back({leading, text, 102});
    return out;
}

const std::vector<Line> kClassOfCode = {{4, "UpDate         Test_Ac_Code", 62},
                                        {12, "Set    Jan_Check  =  :tbJan_Check", 62},
                                        {4, "Where          Ac_Code    =  :tbAc_Code", 62}};

const std::vector<Line> kLinksOfCode = {{4, "UpDate         Test_Ac_Code", 69},
                                        {12, "Set    The_Code          =  :tbThe_Code,", 69},
                                        {19, "Code_MoveCode     =  :tbCode_MoveCode,", 69},
                                        {19, "Code_TwoMove      =  :tbCode_TwoMove,", 69},
                                        {19, "Code_ThreeMove    =  :tbCode_ThreeMove", 69},
                                        {4, "Where          Ac_Code           =  :tbAc_Code", 69}};

const std::vector<Line> kDelete = {{4, "Delete", 55},
                                   {4, "From        Test_Ac_Code", 55},
                                   {4, "Where       Serial_No      IS       Null", 55}};

const std::vector<Line> kReset = {{4, "UpDate         Test_Ac_Code", 72},
                                  {12, "Set    Jan_Check        =  :tbJan_Check,", 72},
                                  {19, "The_Code         =  :tbThe_Code,", 72},
                                  {19, "Code_MoveCode    =  :tbCode_MoveCode,", 72},
                                  {19, "Code_TwoMove     =  :tbCode_TwoMove,", 72},
                                  {19, "Code_ThreeMove   =  :tbCode_ThreeMove", 72}};

// The lines of a traced statement (joined by CR LF).
std::vector<std::string> linesOf(const engine::TraceEntry& entry) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= entry.text.size()) {
        const auto end = entry.text.find("\r\n", start);
        lines.push_back(entry.text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 2;
    }
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

// The value a traced statement bound to a parameter name; "<missing>" when it has none.
std::string param(const engine::TraceEntry& entry, const std::string& name) {
    for (const auto& [entryName, value] : entry.params)
        if (lower(entryName) == lower(name)) return value;
    return "<missing>";
}

class StatementTrace : public ::testing::Test {
protected:
    void SetUp() override {
        db.insertChart(codeprep_test::Chart::Test);
        previous = engine::setTraceSink([this](const engine::TraceEntry& entry) { trace.push_back(entry); });
    }
    void TearDown() override { engine::setTraceSink(previous); }

    codeprep_test::TestDatabase db;
    TfmDAY_MORVEL_CODE_Update_Form form;
    std::vector<engine::TraceEntry> trace;
    engine::TraceSink previous;
};

TEST_F(StatementTrace, PreparationRunsItsStatementsInOrder) {
    form.pRun_CodeUpdate();
    ASSERT_EQ(trace.size(), 429u);
    for (const auto& entry : trace) {
        EXPECT_EQ(entry.alias, "Account");
        EXPECT_EQ(entry.error, "");
        EXPECT_FALSE(entry.isSelect);
    }

    // 129 heading-row inserts: the code without its blank, split into its parts.
    const auto insert = padded(insertLines());
    const auto headingCodes = walk(*form.cbCode);
    const auto names01 = walk(*form.cbCode_Name_01);
    const auto names02 = walk(*form.cbCode_Name_02);
    const auto names03 = walk(*form.cbCode_Name_03);
    for (std::size_t i = 0; i < 129; ++i) {
        const auto& entry = trace[i];
        ASSERT_EQ(linesOf(entry), insert) << i;
        const std::string& code = headingCodes[i];
        EXPECT_EQ(param(entry, "tbA_Kubun"), code.substr(0, 1));
        EXPECT_EQ(param(entry, "tbB_Kubun"), code.substr(1, 2));
        EXPECT_EQ(param(entry, "tbC_Kubun"), code.substr(3, 2));
        EXPECT_EQ(param(entry, "tbD_Kubun"), code.substr(5, 3));
        EXPECT_EQ(param(entry, "tbE_Kubun"), code.substr(8, 3));
        EXPECT_EQ(param(entry, "tbAc_Code"), code.substr(0, 11));
        EXPECT_EQ(param(entry, "tbAc_Name"), names01[i]);
        EXPECT_EQ(param(entry, "tbAc_Name_SiSan"), names02[i]);
        EXPECT_EQ(param(entry, "tbAc_Name_Gita"), names03[i]);
        EXPECT_EQ(entry.rows, 1) << i;
    }
    EXPECT_EQ(param(trace[0], "tbAc_Code"), "10000000000");
    EXPECT_EQ(param(trace[128], "tbAc_Code"), "50909000000");
    EXPECT_EQ(param(trace[2], "tbB_Kubun"), "01");
    EXPECT_EQ(param(trace[2], "tbAc_Name_Gita"), "(1) 당좌자산");

    // Four class-wide updates.
    const std::vector<std::pair<std::vector<Line>, std::string>> classWide = {
        {{kA, kB, kC, kH}, "10"}, {{kA, kB, kD, kF, kH}, "10"}, {{kA, kB, kE, kH}, "50"}, {{kA, kB, kD, kG, kH}, "50"}};
    for (std::size_t s = 0; s < 4; ++s) {
        EXPECT_EQ(linesOf(trace[129 + s]), padded(classWide[s].first)) << "class-wide update " << s + 1;
        EXPECT_EQ(param(trace[129 + s], "tbJan_Check"), classWide[s].second);
    }

    // 137 per-code updates, list by list, each code with its trailing blank.
    const std::vector<std::pair<forms::ComboBox*, std::string>> lists = {
        {form.cbJan_Check_30, "30"}, {form.cbJan_Check_70, "70"}, {form.cbJan_Check_15, "15"},
        {form.cbJan_Check_17, "17"}, {form.cbJan_Check_20, "20"}, {form.cbJan_Check_23, "23"},
        {form.cbJan_Check_25, "25"}, {form.cbJan_Check_27, "27"}, {form.cbJan_Check_60, "60"},
        {form.cbJan_Check_65, "65"}, {form.cbJan_Check_70_2, "70"}, {form.cbJan_Check_80, "80"},
        {form.cbJan_Check_10, "10"}, {form.cbJan_Check_57, "57"}};
    std::size_t at = 133;
    const auto classOfCode = padded(kClassOfCode);
    for (const auto& [list, value] : lists) {
        for (const auto& code : walk(*list)) {
            ASSERT_LT(at, trace.size());
            EXPECT_EQ(linesOf(trace[at]), classOfCode) << at;
            EXPECT_EQ(param(trace[at], "tbJan_Check"), value) << list->name();
            EXPECT_EQ(param(trace[at], "tbAc_Code"), code) << list->name();
            ++at;
        }
    }
    EXPECT_EQ(at, 270u);
    EXPECT_EQ(param(trace[133], "tbAc_Code"), "10101040000 ");

    // 159 link updates in link-table order.
    const auto acCodes = walk(*form.cbAc_Code);
    const auto moveCodes = walk(*form.cbCode_MoveCode);
    const auto twoMoves = walk(*form.cbCode_TwoMove);
    const auto linksOfCode = padded(kLinksOfCode);
    for (std::size_t i = 0; i < 159; ++i) {
        const auto& entry = trace[270 + i];
        EXPECT_EQ(linesOf(entry), linksOfCode) << i;
        EXPECT_EQ(param(entry, "tbAc_Code"), acCodes[i]);
        EXPECT_EQ(param(entry, "tbThe_Code"), kNoLink);
        EXPECT_EQ(param(entry, "tbCode_MoveCode"), moveCodes[i]);
        EXPECT_EQ(param(entry, "tbCode_TwoMove"), twoMoves[i]);
        EXPECT_EQ(param(entry, "tbCode_ThreeMove"), kNoLink);
    }
    EXPECT_EQ(param(trace[270 + 20], "tbAc_Code"), "10102004000 ");
    EXPECT_EQ(param(trace[270 + 20], "tbCode_MoveCode"), "40301007000 ");
    EXPECT_EQ(param(trace[270 + 34], "tbCode_TwoMove"), "10201027000 ");
    EXPECT_EQ(param(trace[428], "tbAc_Code"), "40409000000 ");

    // Afterwards the walked lists stand on their last item.
    EXPECT_EQ(form.cbCode->text(), "50909000000 ");
    EXPECT_EQ(form.cbAc_Code->text(), "40409000000 ");
}

TEST_F(StatementTrace, CleanUpDeletesThenResets) {
    form.pDelete_Update();
    ASSERT_EQ(trace.size(), 2u);
    EXPECT_EQ(linesOf(trace[0]), padded(kDelete));
    EXPECT_TRUE(trace[0].params.empty());
    EXPECT_EQ(linesOf(trace[1]), padded(kReset));
    EXPECT_EQ(param(trace[1], "tbJan_Check"), "99");
    for (const char* name : {"tbThe_Code", "tbCode_MoveCode", "tbCode_TwoMove", "tbCode_ThreeMove"})
        EXPECT_EQ(param(trace[1], name), kNoLink) << name;
    EXPECT_EQ(trace[1].rows, db.count());
}

TEST_F(StatementTrace, ZeroCountsRunNothing) {
    form.pKubun_SSSSS(0);
    form.pJaSan_Kubun(*form.cbJan_Check_30, 0, "30");
    form.pCode_Mode(0);
    EXPECT_TRUE(trace.empty());
}

TEST_F(StatementTrace, ListedCodeMissingFromTheTableChangesNothing) {
    const std::string missing = codeprep_test::missingListedCode() + " ";
    ASSERT_EQ(db.rowsOf(missing).size(), 0u);
    form.pRun_CodeUpdate();
    ASSERT_EQ(trace.size(), 429u);
    int seen = 0;
    for (const auto& entry : trace) {
        if (param(entry, "tbAc_Code") != missing) continue;
        ++seen;
        EXPECT_EQ(entry.rows, 0);
        EXPECT_EQ(entry.error, "");
    }
    EXPECT_EQ(seen, 2);  // its balance class and its links
    EXPECT_EQ(db.rowsOf(missing).size(), 0u);
}

}  // namespace
