// The daily and monthly report forms: layout, the detail band's font rule and the binding
// to the main form's print query.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPointer>
#include <map>

#include "DAY_MORVEL_Unit1_Print01.h"
#include "MONTH_MORVEL_Unit1_Print01.h"
#include "print_query_fixture.h"
#include "report/report.h"

using report::PlacedBand;
using report::ProducedReport;

namespace {

class DailyReportForm : public ::testing::Test {
protected:
    void SetUp() override {
        TqrfmDay_Morvel_Form::printQuery() = data.binding();
        form = new TqrfmDay_Morvel_Form;
    }
    void TearDown() override {
        delete form;  // unless the application's end has freed it
        TqrfmDay_Morvel_Form::printQuery() = {};
    }

    std::vector<const PlacedBand*> details(const ProducedReport& produced) {
        std::vector<const PlacedBand*> all;
        for (const auto& page : produced.pages)
            for (const auto* band : page.bandsNamed("QRBand2")) all.push_back(band);
        return all;
    }
    std::vector<const PlacedBand*> details(ProducedReport&&) = delete;  // would dangle

    PrintQueryFixture data;
    QPointer<TqrfmDay_Morvel_Form> form;
};

SummaryRow row(std::optional<std::string> code, const std::string& name = "계정") {
    return SummaryRow{std::move(code), 1000, 2000, 3000, name, 4000, 5000, 6000};
}

struct Look {
    int points;
    bool bold;
    bool operator==(const Look&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Look& l) { return os << l.points << (l.bold ? " bold" : ""); }

Look lookOf(const PlacedBand& band, const char* text) {
    const auto* t = band.text(text);
    if (!t) {
        ADD_FAILURE() << "no text " << text;
        return Look{0, false};
    }
    EXPECT_FALSE(t->font.underline);
    return Look{t->font.pointSize, t->font.bold};
}

constexpr const char* kAmounts[] = {"QRDBText1", "QRDBText2", "QRDBText3", "QRDBText4", "QRDBText6", "QRDBText7"};

}  // namespace

TEST_F(DailyReportForm, FontRuleByKindOfRow) {
    struct Case {
        std::optional<std::string> code;
        Look title;
        Look amounts;
    };
    const Look plain{8, false}, heading{9, true}, summary{7, true};
    const std::vector<Case> cases{
        {"10101001000", plain, plain},     // an account
        {"10100000000", heading, plain},   // a section
        {"50909000000", heading, summary}, // grand total
        {"10101001000", plain, plain},     // the line after a highlighted one is plain again
        {"50808000000", heading, summary},
        {"50807000000", heading, summary},
        {"50806000000", heading, summary},
        {"20000000000", heading, plain},   // a class
        {"50805000000", heading, summary},
        {"50909000000 ", heading, summary}, // stored with its trailing blank
        {"50805000000x", heading, summary}, // only characters 1 to 11 count
        {"50900000000", heading, plain},   // a roll-up code that is no summary code
        {"5090900000", plain, plain},       // ten characters: 6 to 10 never equal six zeros
        {"1230000000", plain, plain},
        {"12345", plain, plain},
        {"", plain, plain},
        {std::nullopt, plain, plain},       // NULL reads as empty
        {"10100000000 ", heading, plain},
        {" 0909000000", heading, plain},    // positions count from the blank: 6 to 11 are zeros
        {"5090900000 ", plain, plain},      // the blank is the eleventh character
        {"50909 00000", plain, plain},      // no trimming inside
    };
    std::vector<SummaryRow> rows;
    for (const Case& c : cases) rows.push_back(row(c.code));
    data.setRows(rows);

    const ProducedReport produced = form->QuickRep1->produce();
    const auto bands = details(produced);
    ASSERT_EQ(bands.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE("code '" + cases[i].code.value_or("<NULL>") + "'");
        EXPECT_EQ(lookOf(*bands[i], "QRDBText5"), cases[i].title);
        for (const char* amount : kAmounts) EXPECT_EQ(lookOf(*bands[i], amount), cases[i].amounts) << amount;
    }
}

TEST_F(DailyReportForm, FontRuleLeavesEveryLinePrintingAndFontsSetOnTheInstance) {
    data.setRows({row("50909000000")});
    data.Query_Print.first();
    bool printBand = true;
    form->QRBand2BeforePrint(*form->QRBand2, printBand);
    EXPECT_TRUE(printBand);
    EXPECT_EQ(form->QRDBText5->font().pointSize, 9);
    EXPECT_EQ(form->QRDBText7->font().pointSize, 7);
    // Face and colour never change; the header texts are never touched.
    EXPECT_EQ(form->QRDBText7->font().family, "굴림");
    EXPECT_EQ(form->QRLabel1->font().pointSize, 20);
    printBand = false;
    form->QRBand2BeforePrint(*form->QRBand2, printBand);
    EXPECT_FALSE(printBand);
}

TEST_F(DailyReportForm, DataTextsShowTheDisplayTextOfTheFieldsInMirroredColumns) {
    data.setRows({SummaryRow{"11101001000", 1234567, 0, std::nullopt, "보통예금", 12.4, -9876.6, 1000},
                  SummaryRow{"50909000000", std::nullopt, std::nullopt, std::nullopt, "합      계", std::nullopt,
                             std::nullopt, std::nullopt}});
    const ProducedReport produced = form->QuickRep1->produce();
    const auto bands = details(produced);
    ASSERT_EQ(bands.size(), 2u);
    const PlacedBand& b = *bands[0];
    EXPECT_EQ(b.text("QRDBText1")->text, "1,234,567");  // CR00
    EXPECT_EQ(b.text("QRDBText2")->text, "");           // CR01 zero
    EXPECT_EQ(b.text("QRDBText4")->text, "");           // CR01_CASH NULL
    EXPECT_EQ(b.text("QRDBText5")->text, "보통예금");
    EXPECT_EQ(b.text("QRDBText3")->text, "12");         // DR01_CASH
    EXPECT_EQ(b.text("QRDBText6")->text, "-9,877");     // DR01
    EXPECT_EQ(b.text("QRDBText7")->text, "1,000");      // DR00
    for (const char* amount : kAmounts) EXPECT_EQ(bands[1]->text(amount)->text, "") << amount;

    // Debit columns left of the title, credit columns right of it, each under its heading.
    const auto order = [&](const char* name) { return b.text(name)->rect.left(); };
    EXPECT_LT(order("QRDBText1"), order("QRDBText2"));
    EXPECT_LT(order("QRDBText2"), order("QRDBText4"));
    EXPECT_LT(order("QRDBText4"), order("QRDBText5"));
    EXPECT_LT(order("QRDBText5"), order("QRDBText3"));
    EXPECT_LT(order("QRDBText3"), order("QRDBText6"));
    EXPECT_LT(order("QRDBText6"), order("QRDBText7"));
    EXPECT_EQ(b.text("QRDBText5")->alignment, forms::Alignment::Center);
}

TEST_F(DailyReportForm, PagesRepeatHeaderHeadingsAndFooterWithTheCaptionsSet) {
    std::vector<SummaryRow> rows;
    for (int i = 0; i < 120; ++i) rows.push_back(row("1010100" + std::to_string(1000 + i)));
    data.setRows(rows);
    form->qrlYear->setCaption("기간 : 2002년 05월 01일 부터 2002년 12월 31일 까지");
    form->qrlKubun->setCaption("구 분 : 본점/서울");
    const ProducedReport produced = form->QuickRep1->produce();

    // 51 rows fit between the 117 units of header and headings and the 20 of the footer.
    ASSERT_EQ(produced.pages.size(), 3u);
    EXPECT_EQ(produced.pages[0].bandsNamed("QRBand2").size(), 51u);
    EXPECT_EQ(produced.pages[2].bandsNamed("QRBand2").size(), 18u);
    for (const auto& page : produced.pages) {
        ASSERT_EQ(page.bands.front().name, "QRBand1");
        EXPECT_EQ(page.bands.front().text("QRLabel1")->text, "일 계 표");
        EXPECT_EQ(page.bands.front().text("qrlYear")->text, "기간 : 2002년 05월 01일 부터 2002년 12월 31일 까지");
        EXPECT_EQ(page.bands.front().text("qrlKubun")->text, "구 분 : 본점/서울");
        EXPECT_EQ(page.bands[1].name, "ChildBand1");
        EXPECT_EQ(page.bands[1].text("QRLabel10")->text, "계      정          과      목");
        EXPECT_TRUE(page.bands[1].frame.drawTop && page.bands[1].frame.drawBottom);
        EXPECT_EQ(page.bands[1].frame.style, Qt::DashDotLine);
        const PlacedBand& footer = page.bands.back();
        ASSERT_EQ(footer.name, "QRBand3");
        EXPECT_TRUE(footer.frame.drawTop);
        EXPECT_FALSE(footer.frame.drawBottom);
        EXPECT_TRUE(footer.text("QRSysData2")->text.startsWith("출력일자 : "));
        EXPECT_EQ(footer.text("QRSysData1")->text, QString::number(page.number));
        EXPECT_NEAR(footer.rect.bottom(), (297.0 - 15.0) / 25.4 * 96.0, 1e-9);
    }
}

TEST_F(DailyReportForm, EmptyResultGivesOnePageWithOneEmptyLine) {
    data.setRows({});
    const ProducedReport produced = form->QuickRep1->produce();
    ASSERT_EQ(produced.pages.size(), 1u);
    const auto lines = details(produced);
    ASSERT_EQ(lines.size(), 1u);
    for (const auto& text : lines[0]->texts) EXPECT_EQ(text.text, "") << text.name.toStdString();
    EXPECT_EQ(lookOf(*lines[0], "QRDBText5"), (Look{8, false}));
    EXPECT_EQ(produced.pages[0].bands.back().name, "QRBand3");
}

TEST_F(DailyReportForm, EachProductionReadsTheRowsTheQueryHoldsThen) {
    data.setRows({row("10101001000", "현금")});
    const ProducedReport first = form->QuickRep1->produce();
    EXPECT_EQ(details(first)[0]->text("QRDBText5")->text, "현금");
    data.setRows({row("10102001000", "당좌예금"), row("10103001000", "보통예금")});
    const ProducedReport second = form->QuickRep1->produce();
    const auto again = details(second);
    ASSERT_EQ(again.size(), 2u);
    EXPECT_EQ(again[1]->text("QRDBText5")->text, "보통예금");
}

TEST_F(DailyReportForm, ReportSettingsAndFixedTexts) {
    const report::Report& rep = *form->QuickRep1;
    EXPECT_EQ(rep.page().paperWidthMm, 210.0);
    EXPECT_EQ(rep.page().paperLengthMm, 297.0);
    EXPECT_EQ(rep.page().topMarginMm, 15.0);
    EXPECT_EQ(rep.page().bottomMarginMm, 15.0);
    EXPECT_EQ(rep.page().leftMarginMm, 10.0);
    EXPECT_EQ(rep.page().rightMarginMm, 10.0);
    EXPECT_TRUE(rep.firstPageHeader && rep.lastPageFooter && rep.printIfEmpty && rep.showProgress);
    EXPECT_EQ(rep.printerSettings().copies, 1);
    EXPECT_EQ(form->caption(), "qrfmDay_Morvel_Form");
    EXPECT_EQ(form->name(), "qrfmDay_Morvel_Form");
    EXPECT_EQ(form->dataSetName(), "fmDay_Morvel_Form.Query_Print");
    EXPECT_EQ(form->QRLabel1->font(), (report::TextFont{"굴림", 20, true, true, Qt::black}));
    EXPECT_EQ(form->qrlYear->font(), (report::TextFont{"굴림", 11, true, false, Qt::black}));
    EXPECT_EQ(form->QRLabel3->caption(), "(단위 : 원)");
    EXPECT_EQ(form->QRSysData2->text(), "출력일자 : ");
    // The title, the period line and the page number are centred on the 718-unit band.
    EXPECT_EQ(form->qrlYear->left() * 2 + form->qrlYear->width(), 718);
    EXPECT_EQ(form->QRSysData1->left() * 2 + form->QRSysData1->width(), 717);
}

TEST_F(DailyReportForm, FormCloseForgetsTheGlobalInstanceAndFreesTheForm) {
    qrfmDay_Morvel_Form = form.data();
    summary_report::CloseAction action = summary_report::CloseAction::Hide;
    form->FormClose(form.data(), action);
    EXPECT_EQ(action, summary_report::CloseAction::Free);
    EXPECT_EQ(qrfmDay_Morvel_Form, nullptr);

    QPointer<TqrfmDay_Morvel_Form> closed = new TqrfmDay_Morvel_Form;
    qrfmDay_Morvel_Form = closed;
    closed->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
    EXPECT_EQ(qrfmDay_Morvel_Form, nullptr);
}

// The monthly report form differs from the daily one in its title, names and three boxes.
TEST_F(DailyReportForm, MonthlyFormDiffersOnlyInTitleNamesAndThreeDetailBoxes) {
    TqrfmMonth_Morvel_Form::printQuery() = data.binding();
    TqrfmMonth_Morvel_Form monthly;
    data.setRows({row("50909000000")});
    const ProducedReport day = form->QuickRep1->produce();
    const ProducedReport month = monthly.QuickRep1->produce();
    TqrfmMonth_Morvel_Form::printQuery() = {};

    EXPECT_EQ(monthly.caption(), "qrfmMonth_Morvel_Form");
    EXPECT_EQ(monthly.dataSetName(), "fmMonth_Morvel_Form.Query_Print");
    const std::map<QString, std::pair<int, int>> moved{
        {"QRDBText4", {181, 80}}, {"QRDBText5", {262, 189}}, {"QRDBText3", {452, 82}}};
    ASSERT_EQ(day.pages.size(), 1u);
    ASSERT_EQ(month.pages.size(), 1u);
    const auto& dayBands = day.pages[0].bands;
    const auto& monthBands = month.pages[0].bands;
    ASSERT_EQ(dayBands.size(), monthBands.size());
    int differences = 0;
    for (std::size_t b = 0; b < dayBands.size(); ++b) {
        EXPECT_EQ(dayBands[b].name, monthBands[b].name);
        EXPECT_EQ(dayBands[b].rect, monthBands[b].rect);
        ASSERT_EQ(dayBands[b].texts.size(), monthBands[b].texts.size());
        for (std::size_t t = 0; t < dayBands[b].texts.size(); ++t) {
            const auto& d = dayBands[b].texts[t];
            const auto& m = monthBands[b].texts[t];
            ASSERT_EQ(d.name, m.name);
            EXPECT_EQ(d.font, m.font) << d.name.toStdString();
            EXPECT_EQ(d.alignment, m.alignment);
            if (d.name == "QRLabel1") {
                EXPECT_EQ(d.text, "일 계 표");
                EXPECT_EQ(m.text, "월 계 표");
                ++differences;
            } else if (const auto it = moved.find(d.name); it != moved.end()) {
                EXPECT_EQ(m.rect.left() - monthBands[b].rect.left(), it->second.first) << d.name.toStdString();
                EXPECT_EQ(m.rect.width(), it->second.second) << d.name.toStdString();
                EXPECT_NE(d.rect, m.rect);
                EXPECT_EQ(d.rect.top(), m.rect.top());
                EXPECT_EQ(d.rect.height(), m.rect.height());
                ++differences;
            } else if (d.name != "QRSysData2") {  // the moment of production may differ
                EXPECT_EQ(d.rect, m.rect) << d.name.toStdString();
                EXPECT_EQ(d.text, m.text) << d.name.toStdString();
            }
        }
    }
    EXPECT_EQ(differences, 4);
}
