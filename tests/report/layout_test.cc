// Page production of the report library: which bands land on which page, where, and what
// their texts print.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "report/clock.h"
#include "report/report.h"
#include "table_data_set.h"

using report::Band;
using report::BandKind;
using report::DBText;
using report::ProducedReport;

namespace {

// A4 with margins 15/15/10/10 mm: header 100 with a 17-unit child, detail 17, footer 20.
struct SmallReport {
    report::Report rep{"rep"};
    Band* header;
    Band* child;
    Band* detail;
    Band* footer;
    report::SysData* pageNumber;

    explicit SmallReport(std::vector<TableDataSet::Row> rows, bool open = true) {
        rep.setDataSet(std::make_shared<TableDataSet>(std::move(rows), open));
        header = rep.addBand("Header", BandKind::PageHeader);
        header->setSize(718, 100);
        child = rep.addBand("Headings", BandKind::Child, header);
        child->setSize(718, 17);
        detail = rep.addBand("Detail", BandKind::Detail);
        detail->setSize(718, 17);
        auto* n = detail->add<DBText>("N", rep.font());
        n->setBounds(2, 2, 89, 13);
        n->setDataField("N");
        footer = rep.addBand("Footer", BandKind::PageFooter);
        footer->setSize(718, 20);
        pageNumber = footer->add<report::SysData>("Page", rep.font());
        pageNumber->setData(report::SysData::Data::PageNumber);
        pageNumber->setBounds(336, 4, 45, 12);
    }
};

// Rows that fit between the header (with its child) and the footer, worked out from the
// page length and margins in millimetres.
int rowsPerPage() {
    const double usable = (297.0 - 15.0 - 15.0) / 25.4 * 96.0;
    return static_cast<int>(std::floor((usable - 100 - 17 - 20) / 17));
}

std::vector<QString> detailTexts(const ProducedReport& produced) {
    std::vector<QString> texts;
    for (const auto& page : produced.pages)
        for (const auto* band : page.bandsNamed("Detail")) texts.push_back(band->text("N")->text);
    return texts;
}

}  // namespace

TEST(PageProduction, EveryPageHasHeaderHeadingsAndFooterAndRowsFillThePage) {
    const int perPage = rowsPerPage();
    ASSERT_EQ(perPage, 51);
    SmallReport r(numberedRows(2 * perPage + 5));
    const ProducedReport produced = r.rep.produce();

    ASSERT_EQ(produced.pages.size(), 3u);
    const double top = 15.0 / 25.4 * 96.0;
    const double footerTop = (297.0 - 15.0) / 25.4 * 96.0 - 20;
    for (const auto& page : produced.pages) {
        const auto& bands = page.bands;
        ASSERT_GE(bands.size(), 3u);
        EXPECT_EQ(bands.front().name, "Header");
        EXPECT_NEAR(bands[0].rect.top(), top, 1e-9);
        EXPECT_EQ(bands[1].name, "Headings");
        EXPECT_NEAR(bands[1].rect.top(), top + 100, 1e-9);
        EXPECT_EQ(bands.back().name, "Footer");
        EXPECT_NEAR(bands.back().rect.top(), footerTop, 1e-9);
        EXPECT_NEAR(bands[0].rect.left(), 10.0 / 25.4 * 96.0, 1e-9);
        // Detail bands follow one another directly below the headings.
        const auto details = page.bandsNamed("Detail");
        for (std::size_t i = 0; i < details.size(); ++i)
            EXPECT_NEAR(details[i]->rect.top(), top + 117 + 17.0 * i, 1e-9);
        if (!details.empty()) {
            EXPECT_LE(details.back()->rect.bottom(), footerTop + 1e-9);
        }
        EXPECT_EQ(page.bands.back().text("Page")->text, QString::number(page.number));
    }
    EXPECT_EQ(produced.pages[0].bandsNamed("Detail").size(), std::size_t(perPage));
    EXPECT_EQ(produced.pages[1].bandsNamed("Detail").size(), std::size_t(perPage));
    EXPECT_EQ(produced.pages[2].bandsNamed("Detail").size(), 5u);

    // Every row once, in the data set's order.
    const auto texts = detailTexts(produced);
    ASSERT_EQ(texts.size(), std::size_t(2 * perPage + 5));
    for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(texts[i], QString::number(i + 1));
}

TEST(PageProduction, AFullPageOfRowsGivesNoEmptyTrailingPage) {
    SmallReport r(numberedRows(rowsPerPage()));
    EXPECT_EQ(r.rep.produce().pages.size(), 1u);
    SmallReport more(numberedRows(rowsPerPage() + 1));
    EXPECT_EQ(more.rep.produce().pages.size(), 2u);
}

TEST(PageProduction, EmptyOrClosedDataSetGivesOnePageWithOneEmptyDetailLine) {
    for (bool open : {true, false}) {
        SmallReport r({}, open);
        const ProducedReport produced = r.rep.produce();
        ASSERT_EQ(produced.pages.size(), 1u) << open;
        const auto& page = produced.pages[0];
        ASSERT_EQ(page.bands.size(), 4u);
        EXPECT_EQ(page.bands[0].name, "Header");
        EXPECT_EQ(page.bands[1].name, "Headings");
        EXPECT_EQ(page.bands[2].name, "Detail");
        EXPECT_EQ(page.bands[2].text("N")->text, "");
        EXPECT_TRUE(page.bands[2].text("N")->lines.isEmpty());
        EXPECT_EQ(page.bands[3].name, "Footer");
    }
    SmallReport r({});
    r.rep.printIfEmpty = false;
    EXPECT_TRUE(r.rep.produce().pages.empty());
}

TEST(PageProduction, FirstPageHeaderAndLastPageFooterOptions) {
    SmallReport r(numberedRows(60));
    r.rep.firstPageHeader = false;
    r.rep.lastPageFooter = false;
    const ProducedReport produced = r.rep.produce();
    ASSERT_EQ(produced.pages.size(), 2u);
    // Without header on the first page its child goes too, and the rows start at the margin.
    EXPECT_EQ(produced.pages[0].bands.front().name, "Detail");
    EXPECT_EQ(produced.pages[0].bands.back().name, "Footer");
    EXPECT_EQ(produced.pages[1].bands.front().name, "Header");
    EXPECT_EQ(produced.pages[1].bands.back().name, "Detail");
}

TEST(PageProduction, BeforePrintSeesEachRowAndCanSuppressTheBand) {
    SmallReport r(numberedRows(6));
    auto* data = static_cast<TableDataSet*>(r.rep.dataSet());
    std::vector<std::size_t> seen;
    r.detail->setBeforePrint([&](Band& sender, bool& printBand) {
        EXPECT_EQ(&sender, r.detail);
        EXPECT_TRUE(printBand);
        seen.push_back(data->current());
        printBand = data->current() % 2 == 0;
    });
    const ProducedReport produced = r.rep.produce();
    EXPECT_EQ(seen, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(detailTexts(produced), (std::vector<QString>{"1", "3", "5"}));
}

TEST(PageProduction, TextFontIsTakenAsItStandsWhenTheBandPrints) {
    SmallReport r(numberedRows(3));
    auto* text = static_cast<DBText*>(r.detail->texts().front().get());
    int row = 0;
    r.detail->setBeforePrint([&](Band&, bool&) {
        text->font().pointSize = 8 + row;
        text->font().bold = row == 1;
        ++row;
    });
    const ProducedReport produced = r.rep.produce();
    const auto details = produced.pages[0].bandsNamed("Detail");
    ASSERT_EQ(details.size(), 3u);
    EXPECT_EQ(details[0]->text("N")->font.pointSize, 8);
    EXPECT_EQ(details[1]->text("N")->font.pointSize, 9);
    EXPECT_TRUE(details[1]->text("N")->font.bold);
    EXPECT_FALSE(details[2]->text("N")->font.bold);
}

TEST(TextPlacement, AutoSizeKeepsTheEdgeOrMiddleOfItsAlignment) {
    SmallReport r(numberedRows(1));
    auto addAuto = [&](const char* name, forms::Alignment a) {
        auto* label = r.header->add<report::Label>(name, r.rep.font());
        label->setBounds(100, 0, 200, 14);
        label->setAlignment(a);
        label->setAutoSize(true);
        label->setCaption("(단위 : 원)");
        return label;
    };
    addAuto("L", forms::Alignment::Left);
    addAuto("C", forms::Alignment::Center);
    addAuto("R", forms::Alignment::Right);
    const ProducedReport produced = r.rep.produce();
    const auto& header = produced.pages[0].bands[0];
    const double x0 = header.rect.left();
    const QRectF left = header.text("L")->rect, centre = header.text("C")->rect, right = header.text("R")->rect;
    EXPECT_GT(left.width(), 20);
    EXPECT_LT(left.width(), 200);
    EXPECT_DOUBLE_EQ(left.left() - x0, 100);
    EXPECT_DOUBLE_EQ(centre.center().x() - x0, 200);
    EXPECT_DOUBLE_EQ(right.right() - x0, 300);
    EXPECT_EQ(left.height(), 14);
}

TEST(TextPlacement, WordWrapNeverGrowsTheBoxAndShowsOnlyWholeLines) {
    SmallReport r({{{"N", QString("매우 긴 계정 과목 이름 ").repeated(8)}}});
    auto* n = static_cast<DBText*>(r.detail->texts().front().get());
    n->setWordWrap(true);
    const ProducedReport once = r.rep.produce();
    const auto* text = once.pages[0].bandsNamed("Detail")[0]->text("N");
    EXPECT_EQ(text->rect.height(), 13);
    EXPECT_EQ(text->rect.width(), 89);
    ASSERT_EQ(text->lines.size(), 1);  // a second line would not fit in 13 units
    EXPECT_TRUE(text->text.startsWith(text->lines[0]));

    n->setBounds(2, 2, 89, 40);
    const ProducedReport taller = r.rep.produce();
    const auto* tall = taller.pages[0].bandsNamed("Detail")[0]->text("N");
    EXPECT_GE(tall->lines.size(), 2);
    EXPECT_EQ(taller.pages[0].bandsNamed("Detail")[0]->rect.height(), 17);
}

class DateTimeText : public ::testing::Test {
protected:
    void SetUp() override {
        report::setShortDateFormat("yyyy-MM-dd");
        report::setLongTimeFormat("HH:mm:ss");
    }
    void TearDown() override {
        report::setClock({});
        report::setShortDateFormat({});
        report::setLongTimeFormat({});
    }
};

TEST_F(DateTimeText, FormatCLeavesOutTheTimeOnlyAtExactlyMidnight) {
    EXPECT_EQ(report::formatDateTimeC(QDateTime(QDate(2002, 12, 31), QTime(0, 0, 0))), "2002-12-31");
    EXPECT_EQ(report::formatDateTimeC(QDateTime(QDate(2002, 12, 31), QTime(0, 0, 1))), "2002-12-31 00:00:01");
    EXPECT_EQ(report::formatDateTimeC(QDateTime(QDate(2003, 1, 2), QTime(14, 5, 9))), "2003-01-02 14:05:09");
}

TEST_F(DateTimeText, FooterPrintsTheMomentEachPageIsProduced) {
    SmallReport r(numberedRows(60));
    auto* stamp = r.footer->add<report::SysData>("Stamp", r.rep.font());
    stamp->setText("출력일자 : ");
    stamp->setData(report::SysData::Data::DateTime);
    stamp->setBounds(5, 4, 121, 12);
    QDateTime moment(QDate(2002, 5, 1), QTime(23, 59, 59));
    report::setClock([&] {
        const QDateTime now = moment;
        moment = moment.addSecs(1);
        return now;
    });
    const ProducedReport produced = r.rep.produce();
    ASSERT_EQ(produced.pages.size(), 2u);
    EXPECT_EQ(produced.pages[0].bands.back().text("Stamp")->text, "출력일자 : 2002-05-01 23:59:59");
    EXPECT_EQ(produced.pages[1].bands.back().text("Stamp")->text, "출력일자 : 2002-05-02");
}
