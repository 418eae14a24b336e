// The hidden lists of the preparation form: their widgets, their data and the ties
// between them.
#include <gtest/gtest.h>

#include <QString>
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "DAY_MORVEL_CODE_UpDate_Unit.h"
#include "list_walk.h"
#include "MONTH_MORVEL_CODE_Update_Unit.h"

namespace {

using codeprep_test::walk;
using forms::ComboBox;
using Links = std::pair<std::string, std::string>;

bool isListedCode(const std::string& item) {
    return item.size() == 12 && item.back() == ' ' &&
           std::all_of(item.begin(), item.end() - 1, [](char c) { return c >= '0' && c <= '9'; });
}

std::string bare(const std::string& code) { return code.substr(0, 11); }

class ListData : public ::testing::Test {
protected:
    TfmDAY_MORVEL_CODE_Update_Form form;
    std::vector<std::string> codes = walk(*form.cbCode);
    std::vector<std::string> names01 = walk(*form.cbCode_Name_01);
    std::vector<std::string> names02 = walk(*form.cbCode_Name_02);
    std::vector<std::string> names03 = walk(*form.cbCode_Name_03);
    std::vector<std::string> acCodes = walk(*form.cbAc_Code);
    std::vector<std::string> theCodes = walk(*form.cbThe_Code);
    std::vector<std::string> moveCodes = walk(*form.cbCode_MoveCode);
    std::vector<std::string> twoMoves = walk(*form.cbCode_TwoMove);
    std::vector<std::string> threeMoves = walk(*form.cbCode_ThreeMove);

    // The link-table row of a code: its Code_MoveCode and Code_TwoMove.
    std::pair<std::string, std::string> linksOf(const std::string& code) const {
        const auto it = std::find(acCodes.begin(), acCodes.end(), code);
        if (it == acCodes.end()) return {};
        const auto i = it - acCodes.begin();
        return {moveCodes[i], twoMoves[i]};
    }
};

TEST_F(ListData, FormHoldsTwentyThreeHiddenDisabledListsInDeclarationOrder) {
    const std::vector<std::string> expected = {
        "cbCode",         "cbCode_Name_01", "cbCode_Name_02",   "cbCode_Name_03",  "cbJan_Check_30",
        "cbJan_Check_70", "cbJan_Check_15", "cbJan_Check_17",   "cbJan_Check_20",  "cbJan_Check_23",
        "cbJan_Check_25", "cbJan_Check_27", "cbJan_Check_60",   "cbJan_Check_65",  "cbJan_Check_70_2",
        "cbJan_Check_80", "cbCode_ThreeMove", "cbCode_TwoMove", "cbCode_MoveCode", "cbThe_Code",
        "cbAc_Code",      "cbJan_Check_10", "cbJan_Check_57"};
    std::vector<std::string> names;
    for (ComboBox* list : form.lists()) {
        names.push_back(list->name());
        EXPECT_TRUE(list->isHidden()) << list->name();
        EXPECT_FALSE(list->isEnabled()) << list->name();
        EXPECT_EQ(list->parent(), &form) << list->name();
    }
    EXPECT_EQ(names, expected);

    // Before any walk each list shows its own name.
    TfmDAY_MORVEL_CODE_Update_Form fresh;
    for (ComboBox* list : fresh.lists()) EXPECT_EQ(list->text(), list->name());
    EXPECT_EQ(fresh.caption(), "fmDAY_MORVEL_CODE_Update_Form");
    EXPECT_EQ(fresh.Query_SSSSS_Code.databaseName(), "Account");
}

TEST_F(ListData, LabelsCarryTheirCaptionsAndVisibility) {
    EXPECT_EQ(form.Label1->caption(), "잔액 구분 없는 부분");
    EXPECT_EQ(form.Label2->caption(), "자산 계정 잔액 구분의 업데이트");
    EXPECT_EQ(form.Label3->caption(), "부채, 자본,매출액 잔액 구분의 업데이트");
    EXPECT_EQ(form.Label4->caption(), "재무제표 작성시 연결 계정 코드 업데이트");
    EXPECT_FALSE(form.Label1->isHidden());
    EXPECT_TRUE(form.Label2->isHidden());
    EXPECT_FALSE(form.Label3->isHidden());
    EXPECT_TRUE(form.Label4->isHidden());
    for (auto* label : {form.Label1, form.Label2, form.Label3, form.Label4}) {
        EXPECT_FALSE(label->isEnabled());
        EXPECT_TRUE(label->font().bold());
        EXPECT_EQ(label->font().pixelSize(), 16);
        EXPECT_EQ(label->font().family(), QStringLiteral("굴림"));
    }
}

TEST_F(ListData, HeadingListsHoldTheChartHeadings) {
    ASSERT_EQ(codes.size(), 129u);
    ASSERT_EQ(names01.size(), 129u);
    ASSERT_EQ(names02.size(), 129u);
    ASSERT_EQ(names03.size(), 129u);
    EXPECT_EQ(codes.front(), "10000000000 ");
    EXPECT_EQ(codes.back(), "50909000000 ");
    EXPECT_EQ(names02.front(), "자산");
    EXPECT_EQ(names02.back(), "합계");
    EXPECT_EQ(std::set<std::string>(codes.begin(), codes.end()).size(), codes.size()) << "a heading code twice";
    EXPECT_TRUE(std::is_sorted(codes.begin(), codes.end()));

    const std::set<std::string> summaryCodes = {"50805000000 ", "50806000000 ", "50807000000 ", "50808000000 ",
                                                "50909000000 "};
    for (std::size_t i = 0; i < codes.size(); ++i) {
        EXPECT_TRUE(isListedCode(codes[i])) << '"' << codes[i] << '"';
        for (const auto* title : {&names01[i], &names02[i], &names03[i]}) {
            EXPECT_FALSE(title->empty());
            EXPECT_NE(title->front(), ' ') << codes[i];
            EXPECT_NE(title->back(), ' ') << codes[i];
        }
        // Ac_Name is the trial-balance title without its enclosing brackets.
        const QString siSan = QString::fromStdString(names02[i]);
        QString plain = siSan;
        if ((siSan.startsWith('<') && siSan.endsWith('>')) || (siSan.startsWith('(') && siSan.endsWith(')')))
            plain = siSan.mid(1, siSan.size() - 2);
        if (summaryCodes.count(codes[i])) {
            EXPECT_EQ(names01[i], names02[i]);
            EXPECT_EQ(names03[i], names02[i]);
        } else if (codes[i] == "40401000000 ") {
            EXPECT_EQ(names01[i], "원재료비(제)");
        } else if (codes[i] == "40402000000 ") {
            EXPECT_EQ(names01[i], "부재료비(제)");
        } else {
            EXPECT_EQ(QString::fromStdString(names01[i]), plain) << codes[i];
        }
    }

    // Spot rows, the first insert's titles and those with the numbering.
    const auto at = [&](const char* code) {
        return std::find(codes.begin(), codes.end(), std::string(code) + " ") - codes.begin();
    };
    EXPECT_EQ(names01[at("10101000000")], "당좌자산");
    EXPECT_EQ(names03[at("10101000000")], "(1) 당좌자산");
    EXPECT_EQ(names01[at("30301073000")], "B/S상의계정과목에당기순이익표시계정과목");
    EXPECT_EQ(names03[at("30301073000")], "B/S상의계정과목에당기순이익표시계정과목");
    EXPECT_EQ(names02[at("40403000000")], "(노무비(제))");
    EXPECT_EQ(names01[at("40403000000")], "노무비(제)");
    EXPECT_EQ(names03[at("40402000000")], "(1)부재료비");
    EXPECT_EQ(names03[at("40100000000")], "손익");
    EXPECT_EQ(names03[at("50806000000")], "<금일잔고/전일잔고>");

    // Numbering before ". " is "(n)" or Roman numerals, each a single character.
    for (const auto& title : names03) {
        const QString numbered = QString::fromStdString(title);
        const auto dot = numbered.indexOf(". ");
        if (dot < 0) continue;
        const QString number = numbered.left(dot);
        if (number.startsWith('(')) continue;
        for (const QChar c : number) EXPECT_TRUE(c.unicode() >= 0x2160 && c.unicode() <= 0x2169) << title;
    }
    // Roman numerals are single characters; eleven to thirteen are two each.
    EXPECT_EQ(QString::fromStdString(names03[at("10100000000")]), QString(QChar(0x2160)) + ". 유동자산");
    EXPECT_EQ(QString::fromStdString(names03[at("41300000000")]), QString(QChar(0x2169)) + ". 특별손실");
    EXPECT_EQ(QString::fromStdString(names03[at("41400000000")]),
              QString(QChar(0x2169)) + QChar(0x2160) + ". 법인세차감전순이익");
    EXPECT_EQ(QString::fromStdString(names03[at("41601001000")]),
              QString(QChar(0x2169)) + QChar(0x2162) + ". 당기순이익");
}

TEST_F(ListData, BalanceClassListsHoldTheirCodes) {
    const std::map<std::string, std::pair<std::size_t, std::pair<std::string, std::string>>> expected = {
        {"cbJan_Check_30", {51, {"10101040000 ", "10202080000 "}}},
        {"cbJan_Check_70", {51, {"10101041000 ", "10202081000 "}}},
        {"cbJan_Check_15", {2, {"10102004000 ", "10102006000 "}}},
        {"cbJan_Check_17", {12, {"10102002000 ", "10102029000 "}}},
        {"cbJan_Check_20", {2, {"10201025000 ", "10201028000 "}}},
        {"cbJan_Check_23", {2, {"10201026000 ", "10201029000 "}}},
        {"cbJan_Check_25", {2, {"10201027000 ", "10201030000 "}}},
        {"cbJan_Check_27", {1, {"10201044000 ", "10201044000 "}}},
        {"cbJan_Check_60", {2, {"20201001000 ", "20201077000 "}}},
        {"cbJan_Check_65", {2, {"20201002000 ", "20201078000 "}}},
        {"cbJan_Check_70_2", {1, {"30301042000 ", "30301042000 "}}},
        {"cbJan_Check_80", {1, {"20201014000 ", "20201014000 "}}},
        {"cbJan_Check_10", {1, {"30301033000 ", "30301033000 "}}},
        {"cbJan_Check_57", {7, {"40201002000 ", "40201034000 "}}},
    };
    const std::set<std::string> headings(codes.begin(), codes.end());
    std::map<std::string, std::string> listOfCode;
    for (ComboBox* list : form.lists()) {
        const auto found = expected.find(list->name());
        if (found == expected.end()) continue;
        const auto items = walk(*list);
        ASSERT_EQ(items.size(), found->second.first) << list->name();
        EXPECT_EQ(items.front(), found->second.second.first) << list->name();
        EXPECT_EQ(items.back(), found->second.second.second) << list->name();
        for (const auto& code : items) {
            EXPECT_TRUE(isListedCode(code)) << list->name() << " '" << code << "'";
            EXPECT_FALSE(headings.count(code)) << code << " is a heading code";
            const auto [it, fresh] = listOfCode.emplace(code, list->name());
            EXPECT_TRUE(fresh) << code << " in " << it->second << " and " << list->name();
        }
    }
    EXPECT_EQ(listOfCode.size(), 137u);

    // The "70" partner of a "30" code is the next account of its group.
    const auto thirty = walk(*form.cbJan_Check_30);
    const auto seventy = walk(*form.cbJan_Check_70);
    for (std::size_t k = 0; k < thirty.size(); ++k) {
        EXPECT_EQ(seventy[k].substr(0, 5), thirty[k].substr(0, 5)) << k;
        EXPECT_EQ(std::stoi(seventy[k].substr(5, 3)), std::stoi(thirty[k].substr(5, 3)) + 1) << k;
        EXPECT_EQ(seventy[k].substr(8), thirty[k].substr(8)) << k;
    }
}

TEST_F(ListData, LinkTableRowsAreConsistent) {
    ASSERT_EQ(acCodes.size(), 159u);
    ASSERT_EQ(theCodes.size(), 159u);
    ASSERT_EQ(moveCodes.size(), 159u);
    ASSERT_EQ(twoMoves.size(), 159u);
    ASSERT_EQ(threeMoves.size(), 159u);
    EXPECT_EQ(acCodes.front(), "10101040000 ");
    EXPECT_EQ(acCodes.back(), "40409000000 ");
    EXPECT_EQ(std::set<std::string>(acCodes.begin(), acCodes.end()).size(), 159u) << "a code twice";

    for (std::size_t i = 0; i < 159; ++i) {
        EXPECT_TRUE(isListedCode(acCodes[i])) << i;
        EXPECT_TRUE(isListedCode(moveCodes[i])) << i;
        EXPECT_EQ(theCodes[i], "123456789012") << i;
        EXPECT_EQ(threeMoves[i], "123456789012") << i;
        if (i == 34 || i == 37 || i == 42)
            EXPECT_TRUE(isListedCode(twoMoves[i])) << i;
        else
            EXPECT_EQ(twoMoves[i], "123456789012") << i;
    }

    // Pairs of accounts name each other.
    const auto pairs = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i <= to; i += 2) {
            EXPECT_LT(acCodes[i], acCodes[i + 1]) << i;
            EXPECT_EQ(moveCodes[i], acCodes[i + 1]) << i;
            EXPECT_EQ(moveCodes[i + 1], acCodes[i]) << i;
        }
    };
    pairs(0, 16);
    pairs(32, 32);
    pairs(40, 40);
    pairs(43, 121);
    pairs(123, 123);
    pairs(126, 126);
    for (int n = 0; n < 40; ++n) EXPECT_EQ(acCodes[43 + 2 * n], std::to_string(10202002000LL + 2000 * n) + " ");

    const auto thirty = walk(*form.cbJan_Check_30);
    const auto seventy = walk(*form.cbJan_Check_70);
    for (std::size_t k = 0; k < thirty.size(); ++k) {
        EXPECT_EQ(linksOf(thirty[k]).first, seventy[k]) << thirty[k];
        EXPECT_EQ(linksOf(seventy[k]).first, thirty[k]) << seventy[k];
    }
    const std::set<std::string> inventoryTargets = {"10102001000 ", "10102008000 ", "10102011000 ",
                                                    "10102014000 ", "10102017000 ", "10102027000 "};
    for (const auto& code : walk(*form.cbJan_Check_17))
        EXPECT_TRUE(inventoryTargets.count(linksOf(code).first)) << code;
    for (const auto& [twenty, twentyThree, twentyFive] :
         {std::tuple{"10201025000 ", "10201026000 ", "10201027000 "},
          std::tuple{"10201028000 ", "10201029000 ", "10201030000 "}}) {
        EXPECT_EQ(linksOf(twenty), Links(twentyThree, twentyFive));
        EXPECT_EQ(linksOf(twentyThree).first, twenty);
        EXPECT_EQ(linksOf(twentyFive).first, twenty);
    }
    EXPECT_EQ(linksOf("20201001000 ").first, "20201002000 ");
    EXPECT_EQ(linksOf("20201002000 ").first, "20201001000 ");
    EXPECT_EQ(linksOf("20201077000 ").first, "20201078000 ");
    EXPECT_EQ(linksOf("20201078000 ").first, "20201077000 ");
    EXPECT_EQ(linksOf("10201044000 "), Links("20201014000 ", "20201015000 "));
    EXPECT_EQ(linksOf("20201014000 ").first, "20201015000 ");
    // The customs-duty refund accounts and their cost-of-sales codes name each other.
    EXPECT_EQ(linksOf("10102004000 ").first, "40301007000 ");
    EXPECT_EQ(linksOf("40301007000 ").first, "10102004000 ");
    EXPECT_EQ(linksOf("10102006000 ").first, "40304005000 ");
    EXPECT_EQ(linksOf("40304005000 ").first, "10102006000 ");
    for (auto* list : {form.cbJan_Check_70_2, form.cbJan_Check_10, form.cbJan_Check_57})
        for (const auto& code : walk(*list)) EXPECT_EQ(linksOf(code).first, "") << code;
    // Every cost-of-sales code links into the inventory section.
    for (std::size_t i = 128; i < 159; ++i) {
        EXPECT_TRUE(acCodes[i].starts_with("40")) << i;
        EXPECT_TRUE(moveCodes[i].starts_with("10102")) << i;
    }
}

TEST_F(ListData, TwentySevenLinkCodesAreHeadingCodes) {
    std::vector<std::string> shared;
    for (const auto& code : acCodes)
        if (std::find(codes.begin(), codes.end(), code) != codes.end()) shared.push_back(bare(code));
    const std::vector<std::string> expected = {
        "40301002000", "40301003000", "40301004000", "40301005000", "40301006000", "40301007000", "40301008000",
        "40304002000", "40304003000", "40304004000", "40304005000", "40304006000", "40401002000", "40401003000",
        "40401004000", "40401005000", "40401006000", "40401007000", "40402002000", "40402003000", "40402004000",
        "40402005000", "40402006000", "40402007000", "40406000000", "40408000000", "40409000000"};
    EXPECT_EQ(shared, expected);
}

TEST(MonthlyForm, CarriesTheSameListsUnderItsOwnName) {
    TfmDAY_MORVEL_CODE_Update_Form daily;
    TfmMONTH_MORVEL_CODE_Update_Form monthly;
    EXPECT_EQ(monthly.name(), "fmMONTH_MORVEL_CODE_Update_Form");
    EXPECT_EQ(monthly.caption(), "fmMONTH_MORVEL_CODE_Update_Form");
    EXPECT_STREQ(monthly.metaObject()->className(), "TfmMONTH_MORVEL_CODE_Update_Form");
    EXPECT_STREQ(daily.metaObject()->className(), "TfmDAY_MORVEL_CODE_Update_Form");
    EXPECT_NE(monthly.geometry(), daily.geometry());
    ASSERT_EQ(monthly.lists().size(), daily.lists().size());
    for (std::size_t i = 0; i < daily.lists().size(); ++i) {
        EXPECT_EQ(monthly.lists()[i]->name(), daily.lists()[i]->name());
        EXPECT_EQ(walk(*monthly.lists()[i]), walk(*daily.lists()[i])) << daily.lists()[i]->name();
    }
}

}  // namespace
