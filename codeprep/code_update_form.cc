#include "code_update_form.h"

#include <QColor>
#include <QFont>
#include <QPalette>
#include <vector>

#include "code_lists.h"

namespace codeprep {
namespace {

// Each statement is added line by line, every line padded with blanks to the
// statement's own width.

// Heading-row insert, 102 characters a line.
constexpr std::string_view kInsertHeadingRow[] = {
    "  Insert  Into  Test_Ac_Code    (                                                                     ",
    "                A_Kubun,     B_Kubun,       C_Kubun,             D_Kubun,           E_Kubun,          ",
    "                Ac_Code,     Ac_Name,       Ac_Name_SiSan,       Ac_Name_Gita                         ",
    "                                )                                                                     ",
    "     Values  (                                                                                        ",
    "                :tbA_Kubun,  :tbB_Kubun,    :tbC_Kubun,          :tbD_Kubun,        :tbE_Kubun,       ",
    "                :tbAc_Code,  :tbAc_Name,    :tbAc_Name_SiSan,    :tbAc_Name_Gita                      ",
    "             )                                                                                        ",
};

// The lines of the class-wide updates (each line its own width).
constexpr std::string_view kClassUpdate = "    UpDate         Test_Ac_Code                                         ";
constexpr std::string_view kClassSet = "            Set    Jan_Check  =  :tbJan_Check                           ";
constexpr std::string_view kWhereClass1 = "    Where          A_Kubun  IN   ('1')          And                   ";
constexpr std::string_view kWhereClass4 = "    Where          A_Kubun  IN   ('4')          And                   ";
constexpr std::string_view kWhereClass2And3 = "    Where          A_Kubun  IN   ('2','3')          And             ";
constexpr std::string_view kCostSections =
    "                   B_Kubun  IN   ('03','04','05','07','10','13','15')   And       ";
constexpr std::string_view kIncomeSections = "                   B_Kubun  IN   ('01','02','09','12')  And     ";
constexpr std::string_view kAccountRowsOnly = "                   Code_Kubun  Is  Not  Null                            ";

static_assert(kClassUpdate.size() == 72 && kClassSet.size() == 72 && kAccountRowsOnly.size() == 72);
static_assert(kWhereClass1.size() == 70 && kWhereClass4.size() == 70);
static_assert(kWhereClass2And3.size() == 68 && kCostSections.size() == 82 && kIncomeSections.size() == 64);

constexpr std::string_view kClass1Accounts[] = {kClassUpdate, kClassSet, kWhereClass1, kAccountRowsOnly};
constexpr std::string_view kClass4CostAccounts[] = {kClassUpdate, kClassSet, kWhereClass4, kCostSections,
                                                    kAccountRowsOnly};
constexpr std::string_view kClass2And3Accounts[] = {kClassUpdate, kClassSet, kWhereClass2And3, kAccountRowsOnly};
constexpr std::string_view kClass4IncomeAccounts[] = {kClassUpdate, kClassSet, kWhereClass4, kIncomeSections,
                                                      kAccountRowsOnly};

// Balance class of one code, 62 characters a line.
constexpr std::string_view kSetClassOfCode[] = {
    "    UpDate         Test_Ac_Code                               ",
    "            Set    Jan_Check  =  :tbJan_Check                 ",
    "    Where          Ac_Code    =  :tbAc_Code                   ",
};

// Link codes of one code, 69 characters a line.
constexpr std::string_view kSetLinksOfCode[] = {
    "    UpDate         Test_Ac_Code                                      ",
    "            Set    The_Code          =  :tbThe_Code,                 ",
    "                   Code_MoveCode     =  :tbCode_MoveCode,            ",
    "                   Code_TwoMove      =  :tbCode_TwoMove,             ",
    "                   Code_ThreeMove    =  :tbCode_ThreeMove            ",
    "    Where          Ac_Code           =  :tbAc_Code                   ",
};

// Clean-up: the delete of the rows without Serial_No, 55 characters a line.
constexpr std::string_view kDeleteAddedRows[] = {
    "    Delete                                             ",
    "    From        Test_Ac_Code                           ",
    "    Where       Serial_No      IS       Null           ",
};

// Recovery: the count of the rows without Serial_No, 55 characters a line.
constexpr std::string_view kCountAddedRows[] = {
    "    Select      Count(*)       As       Left_Over      ",
    "    From        Test_Ac_Code                           ",
    "    Where       Serial_No      IS       Null           ",
};

// Clean-up: the reset of every remaining row, 72 characters a line.
constexpr std::string_view kResetAllRows[] = {
    "    UpDate         Test_Ac_Code                                         ",
    "            Set    Jan_Check        =  :tbJan_Check,                    ",
    "                   The_Code         =  :tbThe_Code,                     ",
    "                   Code_MoveCode    =  :tbCode_MoveCode,                ",
    "                   Code_TwoMove     =  :tbCode_TwoMove,                 ",
    "                   Code_ThreeMove   =  :tbCode_ThreeMove                ",
};

template <std::size_t N>
constexpr bool allLinesOfWidth(const std::string_view (&lines)[N], std::size_t width) {
    for (const auto& line : lines)
        if (line.size() != width) return false;
    return true;
}
static_assert(allLinesOfWidth(kInsertHeadingRow, 102));
static_assert(allLinesOfWidth(kSetClassOfCode, 62));
static_assert(allLinesOfWidth(kSetLinksOfCode, 69));
static_assert(allLinesOfWidth(kDeleteAddedRows, 55));
static_assert(allLinesOfWidth(kCountAddedRows, 55));
static_assert(allLinesOfWidth(kResetAllRows, 72));

// Characters `from`..`to` (1-based, inclusive) of a text; shorter where the text ends.
std::string characters(const std::string& text, std::size_t from, std::size_t to) {
    if (from > text.size()) return {};
    return text.substr(from - 1, to - from + 1);
}

std::vector<std::string> toItems(std::span<const std::string_view> codes) {
    return {codes.begin(), codes.end()};
}

template <typename Row>
std::vector<std::string> column(std::span<const Row> rows, std::string_view Row::*member) {
    std::vector<std::string> items;
    items.reserve(rows.size());
    for (const Row& row : rows) items.emplace_back(row.*member);
    return items;
}

}  // namespace

CodeUpdateForm::CodeUpdateForm(const std::string& name, QWidget* parent) : forms::Form(name, parent) {
    Label1 = makeLabel("Label1", "잔액 구분 없는 부분", true);
    Label2 = makeLabel("Label2", "자산 계정 잔액 구분의 업데이트", false);
    Label3 = makeLabel("Label3", "부채, 자본,매출액 잔액 구분의 업데이트", true);
    Label4 = makeLabel("Label4", "재무제표 작성시 연결 계정 코드 업데이트", false);

    cbCode = makeList("cbCode");
    cbCode_Name_01 = makeList("cbCode_Name_01");
    cbCode_Name_02 = makeList("cbCode_Name_02");
    cbCode_Name_03 = makeList("cbCode_Name_03");
    cbJan_Check_30 = makeList("cbJan_Check_30");
    cbJan_Check_70 = makeList("cbJan_Check_70");
    cbJan_Check_15 = makeList("cbJan_Check_15");
    cbJan_Check_17 = makeList("cbJan_Check_17");
    cbJan_Check_20 = makeList("cbJan_Check_20");
    cbJan_Check_23 = makeList("cbJan_Check_23");
    cbJan_Check_25 = makeList("cbJan_Check_25");
    cbJan_Check_27 = makeList("cbJan_Check_27");
    cbJan_Check_60 = makeList("cbJan_Check_60");
    cbJan_Check_65 = makeList("cbJan_Check_65");
    cbJan_Check_70_2 = makeList("cbJan_Check_70_2");
    cbJan_Check_80 = makeList("cbJan_Check_80");
    cbCode_ThreeMove = makeList("cbCode_ThreeMove");
    cbCode_TwoMove = makeList("cbCode_TwoMove");
    cbCode_MoveCode = makeList("cbCode_MoveCode");
    cbThe_Code = makeList("cbThe_Code");
    cbAc_Code = makeList("cbAc_Code");
    cbJan_Check_10 = makeList("cbJan_Check_10");
    cbJan_Check_57 = makeList("cbJan_Check_57");

    const auto headings = headingRows();
    cbCode->setItems(column(headings, &HeadingRow::code));
    cbCode_Name_01->setItems(column(headings, &HeadingRow::name));
    cbCode_Name_02->setItems(column(headings, &HeadingRow::trialBalanceName));
    cbCode_Name_03->setItems(column(headings, &HeadingRow::statementName));

    for (const CodeList& list : balanceClassLists())
        for (forms::ComboBox* box : lists_)
            if (box->name() == list.listName) box->setItems(toItems(list.items));

    const auto links = linkRows();
    cbAc_Code->setItems(column(links, &LinkRow::acCode));
    cbThe_Code->setItems(column(links, &LinkRow::theCode));
    cbCode_MoveCode->setItems(column(links, &LinkRow::moveCode));
    cbCode_TwoMove->setItems(column(links, &LinkRow::twoMove));
    cbCode_ThreeMove->setItems(column(links, &LinkRow::threeMove));
}

forms::Label* CodeUpdateForm::makeLabel(const char* name, const char* caption, bool visible) {
    auto* label = new forms::Label(name, caption, this);
    QFont font(QStringLiteral("굴림"));
    font.setPixelSize(16);
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::WindowText, QColor(0, 128, 0));
    label->setPalette(palette);
    label->setEnabled(false);
    if (!visible) label->hide();
    return label;
}

forms::ComboBox* CodeUpdateForm::makeList(const char* name) {
    auto* list = new forms::ComboBox(name, this);
    list->setText(name);
    list->setEnabled(false);
    list->hide();
    lists_.push_back(list);
    return list;
}

void CodeUpdateForm::runStatement(std::span<const std::string_view> lines, Params params) {
    Query_SSSSS_Code.close();
    Query_SSSSS_Code.sql().clear();
    for (const std::string_view line : lines) Query_SSSSS_Code.sql().add(std::string(line));
    for (const auto& [name, value] : params) Query_SSSSS_Code.paramByName(name).setAsString(value);
    Query_SSSSS_Code.prepare();
    Query_SSSSS_Code.execSql();
}

void CodeUpdateForm::pRun_CodeUpdate() {
    leftPrepared_ = true;
    pKubun_SSSSS(cbCode->itemCount());
    pJan_Kubun_Update();
    pJaSan_Kubun(*cbJan_Check_30, cbJan_Check_30->itemCount(), "30");
    pJaSan_Kubun(*cbJan_Check_70, cbJan_Check_70->itemCount(), "70");
    pJaSan_Kubun(*cbJan_Check_15, cbJan_Check_15->itemCount(), "15");
    pJaSan_Kubun(*cbJan_Check_17, cbJan_Check_17->itemCount(), "17");
    pJaSan_Kubun(*cbJan_Check_20, cbJan_Check_20->itemCount(), "20");
    pJaSan_Kubun(*cbJan_Check_23, cbJan_Check_23->itemCount(), "23");
    pJaSan_Kubun(*cbJan_Check_25, cbJan_Check_25->itemCount(), "25");
    pJaSan_Kubun(*cbJan_Check_27, cbJan_Check_27->itemCount(), "27");
    pJaSan_Kubun(*cbJan_Check_60, cbJan_Check_60->itemCount(), "60");
    pJaSan_Kubun(*cbJan_Check_65, cbJan_Check_65->itemCount(), "65");
    pJaSan_Kubun(*cbJan_Check_70_2, cbJan_Check_70_2->itemCount(), "70");
    pJaSan_Kubun(*cbJan_Check_80, cbJan_Check_80->itemCount(), "80");
    pJaSan_Kubun(*cbJan_Check_10, cbJan_Check_10->itemCount(), "10");
    pJaSan_Kubun(*cbJan_Check_57, cbJan_Check_57->itemCount(), "57");
    pCode_Mode(cbAc_Code->itemCount());
}

void CodeUpdateForm::pDelete_Update() {
    runStatement(kDeleteAddedRows, {});
    const std::string noLink(kNoLink);
    runStatement(kResetAllRows, {{"tbJan_Check", "99"},
                                 {"tbThe_Code", noLink},
                                 {"tbCode_MoveCode", noLink},
                                 {"tbCode_TwoMove", noLink},
                                 {"tbCode_ThreeMove", noLink}});
    leftPrepared_ = false;
}

bool CodeUpdateForm::pClean_Leftovers() {
    Query_SSSSS_Code.close();
    Query_SSSSS_Code.sql().clear();
    for (const std::string_view line : kCountAddedRows) Query_SSSSS_Code.sql().add(std::string(line));
    Query_SSSSS_Code.open();
    const bool leftOver = Query_SSSSS_Code.fieldByName("Left_Over").asFloat() > 0;
    Query_SSSSS_Code.close();
    if (leftOver) pDelete_Update();
    return leftOver;
}

void CodeUpdateForm::pJan_Kubun_Update() {
    runStatement(kClass1Accounts, {{"tbJan_Check", "10"}});
    runStatement(kClass4CostAccounts, {{"tbJan_Check", "10"}});
    runStatement(kClass2And3Accounts, {{"tbJan_Check", "50"}});
    runStatement(kClass4IncomeAccounts, {{"tbJan_Check", "50"}});
}

void CodeUpdateForm::pKubun_SSSSS(int count) {
    for (int i = 0; i < count; ++i) {
        cbCode->setItemIndex(i);
        cbCode_Name_01->setItemIndex(i);
        cbCode_Name_02->setItemIndex(i);
        cbCode_Name_03->setItemIndex(i);
        const std::string code = cbCode->text();
        // The code goes in as its 11 digits, the titles as they stand.
        runStatement(kInsertHeadingRow, {{"tbA_Kubun", characters(code, 1, 1)},
                                         {"tbB_Kubun", characters(code, 2, 3)},
                                         {"tbC_Kubun", characters(code, 4, 5)},
                                         {"tbD_Kubun", characters(code, 6, 8)},
                                         {"tbE_Kubun", characters(code, 9, 11)},
                                         {"tbAc_Code", characters(code, 1, 11)},
                                         {"tbAc_Name", cbCode_Name_01->text()},
                                         {"tbAc_Name_SiSan", cbCode_Name_02->text()},
                                         {"tbAc_Name_Gita", cbCode_Name_03->text()}});
    }
}

void CodeUpdateForm::pJaSan_Kubun(forms::ComboBox& list, int count, const std::string& value) {
    for (int i = 0; i < count; ++i) {
        list.setItemIndex(i);
        // The code goes in exactly as listed, its trailing blank included.
        runStatement(kSetClassOfCode, {{"tbJan_Check", value}, {"tbAc_Code", list.text()}});
    }
}

void CodeUpdateForm::pCode_Mode(int count) {
    for (int i = 0; i < count; ++i) {
        cbAc_Code->setItemIndex(i);
        cbThe_Code->setItemIndex(i);
        cbCode_MoveCode->setItemIndex(i);
        cbCode_TwoMove->setItemIndex(i);
        cbCode_ThreeMove->setItemIndex(i);
        runStatement(kSetLinksOfCode, {{"tbAc_Code", cbAc_Code->text()},
                                       {"tbThe_Code", cbThe_Code->text()},
                                       {"tbCode_MoveCode", cbCode_MoveCode->text()},
                                       {"tbCode_TwoMove", cbCode_TwoMove->text()},
                                       {"tbCode_ThreeMove", cbCode_ThreeMove->text()}});
    }
}

}  // namespace codeprep
