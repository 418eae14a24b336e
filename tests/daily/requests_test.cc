// The daily program's run and print requests on a demo database: the period checks,
// what reaches the database, the run flag, the report preview, and what a failing
// request leaves behind.
#include <gtest/gtest.h>

#include <QApplication>
#include <QRegularExpression>
#include <QTest>
#include <algorithm>
#include <functional>

#include "DAY_MORVEL_CODE_UpDate_Unit.h"
#include "DAY_MORVEL_Unit1.h"
#include "DAY_MORVEL_Unit1_Print01.h"
#include "engine/database.h"
#include "engine/query.h"
#include "engine/trace.h"
#include "forms/application.h"
#include "forms/date_format.h"
#include "forms/message_box.h"
#include "forms/platform.h"
#include "mainform_requests.h"
#include "report/texts.h"
#include "decimal_comma_locale.h"
#include "demo_request_database.h"
#include "unowned_report_forms.h"

namespace {

const char* const kOrder = "종료일자보다 시작일자 더 큽니다......";
const char* const kRunFirst = "실행 번튼을 먼저 실행 하세요.....";

class Requests : public ::testing::Test {
protected:
    DemoDatabaseCopy database;  // first made, last gone: the form's queries run on it

    void SetUp() override {
        forms::setApplicationTitle("Day_morvel");
        forms::resetPlatform();
        forms::setShortDateFormat({});
        forms::setClock([] { return QDateTime(QDate(2002, 5, 10), QTime(9, 0)); });
        forms::setScreenSize(QSize(1024, 768));
        forms::setMessageResponder([this](const forms::ShownMessage& box) {
            boxes.push_back(box);
            if (onBox) onBox(box);
        });
        engine::setTraceSink([this](const engine::TraceEntry& e) { statements.push_back(e); });
        DayRunCheck().clear();

        form = new TfmDay_Morvel_Form;
        fmDay_Morvel_Form = form;
        form->create();
        codeUpdate = new TfmDAY_MORVEL_CODE_Update_Form;
        fmDAY_MORVEL_CODE_Update_Form = codeUpdate;
        form->show();
        QApplication::setActiveWindow(form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
        ASSERT_EQ(DayRunCheck(), "NN");
        boxes.clear();
        statements.clear();
    }

    void TearDown() override {
        engine::setTraceSink({});
        forms::setMessageResponder({});
        freeUnownedReportForms();
        qrfmDay_Morvel_Form = nullptr;
        delete form;
        fmDay_Morvel_Form = nullptr;
        delete codeUpdate;
        fmDAY_MORVEL_CODE_Update_Form = nullptr;
        forms::resetPlatform();
        forms::setShortDateFormat({});
    }

    void period(const std::string& year, const std::string& m1, const std::string& d1, const std::string& m2,
                const std::string& d2) {
        form->cbYear->setText(year);
        form->cbMonth_First->setText(m1);
        form->cbDay_First->setText(d1);
        form->cbMonth_End->setText(m2);
        form->cbDay_End->setText(d2);
    }

    void run() { QTest::mouseClick(form->BitBtn1, Qt::LeftButton); }
    void print() { QTest::mouseClick(form->PrintBtn, Qt::LeftButton); }

    int scalar(const std::string& sql) { return database.scalar(sql); }
    void raw(const std::string& sql) { database.raw(sql); }
    bool neutral() { return database.neutral(); }

    std::vector<std::string> texts() const {
        std::vector<std::string> t;
        for (const auto& b : boxes) t.push_back(b.text);
        return t;
    }

    int countStatements(bool selects) const {
        int n = 0;
        for (const auto& s : statements) n += s.isSelect == selects;
        return n;
    }

    TfmDay_Morvel_Form* form = nullptr;
    TfmDAY_MORVEL_CODE_Update_Form* codeUpdate = nullptr;
    std::vector<forms::ShownMessage> boxes;
    std::vector<engine::TraceEntry> statements;
    std::function<void(const forms::ShownMessage&)> onBox;
};

TEST_F(Requests, RunFillsTheGridBetweenPreparationAndCleanUp) {
    period("2002", "05", "10", "05", "10");  // one day
    run();
    EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : boxes[0].text);
    EXPECT_EQ(DayRunCheck(), "YY");
    EXPECT_EQ(forms::screenCursor(), forms::ScreenCursor::Default);
    ASSERT_TRUE(form->Query1.active());
    EXPECT_GE(form->Query1.recordCount(), 3);
    // The look for heading rows left behind, 429 preparation statements, the summary,
    // 2 clean-up statements, in this order.
    ASSERT_EQ(statements.size(), 433u);
    EXPECT_TRUE(statements[0].isSelect);
    EXPECT_NE(statements[0].text.find("Serial_No      IS       Null"), std::string::npos);
    EXPECT_TRUE(statements[430].isSelect);
    EXPECT_NE(statements[430].text.find("UNION ALL"), std::string::npos);
    EXPECT_NE(statements[431].text.find("Delete"), std::string::npos);
    for (const auto& [name, value] : statements[430].params) {
        if (name == "tbFirst_Day" || name == "tbEnd_Day") EXPECT_EQ(value, "2002-05-10");
        else EXPECT_EQ(value, "00000");
    }
    EXPECT_TRUE(neutral());
}

TEST_F(Requests, PeriodOrderIsCheckedAsTextBeforeAnyDate) {
    period("2002", "05", "01", "05", "31");
    run();
    const auto gridRows = rowsOf(form->Query1);
    ASSERT_FALSE(gridRows.empty());
    statements.clear();

    period("2002", "12", "31", "01", "01");
    run();
    EXPECT_EQ(texts(), std::vector<std::string>{kOrder});
    EXPECT_EQ(boxes[0].kind, forms::MessageKind::Warning);
    EXPECT_EQ(QApplication::focusWidget(), form->cbMonth_End);
    EXPECT_TRUE(statements.empty());
    EXPECT_EQ(rowsOf(form->Query1), gridRows);
    EXPECT_EQ(DayRunCheck(), "YY");

    // The order test comes first: 31 April to 30 April is out of order, not a bad date.
    boxes.clear();
    period("2002", "04", "31", "04", "30");
    run();
    EXPECT_EQ(texts(), std::vector<std::string>{kOrder});

    // Texts, not numbers: a day shortened to "3" sorts after "10".
    boxes.clear();
    period("2002", "05", "3", "05", "10");
    run();
    EXPECT_EQ(texts(), std::vector<std::string>{kOrder});
    EXPECT_TRUE(statements.empty());
}

TEST_F(Requests, DatesThatAreNoCalendarDays) {
    period("2002", "04", "31", "05", "31");
    run();
    EXPECT_EQ(texts(), std::vector<std::string>{"시작일자 2002-04-31 : 유효하지 않은 날짜 형식입니다."});
    EXPECT_EQ(QApplication::focusWidget(), form->cbDay_First);

    boxes.clear();
    period("2002", "04", "30", "06", "31");
    run();
    EXPECT_EQ(texts(), std::vector<std::string>{"종료일자 2002-06-31 : 유효하지 않은 날짜 형식입니다."});
    EXPECT_EQ(QApplication::focusWidget(), form->cbDay_End);

    // Two bad dates: the start alone is reported.
    boxes.clear();
    period("2002", "02", "30", "04", "31");
    run();
    EXPECT_EQ(texts(), std::vector<std::string>{"시작일자 2002-02-30 : 유효하지 않은 날짜 형식입니다."});
    EXPECT_TRUE(statements.empty());
    EXPECT_EQ(DayRunCheck(), "NN");
}

TEST_F(Requests, TwentyNinthOfFebruaryOnlyInLeapYears) {
    for (int year = 2000; year <= 2011; ++year) {
        boxes.clear();
        period(std::to_string(year), "02", "29", "02", "29");
        run();
        const bool leap = year % 4 == 0;
        EXPECT_EQ(boxes.empty(), leap) << year;
    }
}

TEST_F(Requests, AShortDateFormatThatIsNotYearFirstRefusesEveryRun) {
    forms::setShortDateFormat("dd/MM/yyyy");
    period("2002", "05", "01", "05", "31");
    run();
    EXPECT_EQ(texts(), std::vector<std::string>{"시작일자 2002-05-01 : 유효하지 않은 날짜 형식입니다."});
    EXPECT_TRUE(statements.empty());
}

TEST_F(Requests, PrintBeforeAnyRunShowsNothingButPreparesQueriesAndResets) {
    period("2002", "05", "01", "05", "31");
    print();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(DayRunCheck(), "NN");
    EXPECT_EQ(countStatements(false), 431);
    EXPECT_EQ(countStatements(true), 2);  // the look for heading rows left behind, the print query
    EXPECT_TRUE(form->Query_Print.active());
    EXPECT_TRUE(neutral());
}

TEST_F(Requests, FiguresAreTheSameUnderADecimalCommaLocale) {
    // The grid's and the report's figures, in the "C" locale and again under a locale
    // that writes the decimal point as a comma.
    period("2002", "05", "01", "05", "31");
    const auto figures = [&] {
        const QRegularExpression figure("^-?[0-9][0-9,.]*$");
        std::vector<std::string> shown;
        run();
        for (int row = 0; row < form->DBGrid1->recordCount(); ++row)
            for (int col = 1; col < 8; ++col) shown.push_back(form->DBGrid1->cellText(row, col));
        whenPreviewOpens([&](report::PreviewWindow& preview) {
            for (const auto& page : preview.produced().pages)
                for (const auto& band : page.bands)
                    for (const auto& text : band.texts)
                        if (figure.match(text.text).hasMatch()) shown.push_back(text.text.toStdString());
        });
        print();
        return shown;
    };
    const std::vector<std::string> inC = figures();
    ASSERT_TRUE(std::any_of(inC.begin(), inC.end(), [](const std::string& f) { return f.find(',') != f.npos; }));
    const DecimalCommaLocale locale;
    ASSERT_TRUE(locale.ok) << DecimalCommaLocale::kMissing;
    EXPECT_EQ(figures(), inC);
}

TEST_F(Requests, EveryReportNeedsARunBeforeIt) {
    period("2002", "05", "01", "05", "31");
    run();
    int previews = 0;
    whenPreviewOpens([&](report::PreviewWindow&) { ++previews; });
    print();
    EXPECT_EQ(previews, 1);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(DayRunCheck(), "NN");
    EXPECT_TRUE(neutral());

    print();
    EXPECT_EQ(texts(), std::vector<std::string>{kRunFirst});
    EXPECT_EQ(form->focusWidget(), form->PrintBtn);
    EXPECT_EQ(DayRunCheck(), "NN");
    EXPECT_TRUE(neutral());

    boxes.clear();
    run();
    whenPreviewOpens([&](report::PreviewWindow&) { ++previews; });
    print();
    EXPECT_EQ(previews, 2);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Requests, PrintFollowsTheCriteriaOfTheMomentWhileTheGridKeepsTheRun) {
    period("2002", "05", "01", "05", "31");
    run();
    const auto gridRows = rowsOf(form->Query1);

    period("2002", "06", "01", "06", "30");
    form->cbKubun->setItemIndex(1);
    std::string periodCaption, branchCaption;
    std::vector<std::string> reportRows;
    whenPreviewOpens([&](report::PreviewWindow&) {
        periodCaption = qrfmDay_Morvel_Form->qrlYear->caption();
        branchCaption = qrfmDay_Morvel_Form->qrlKubun->caption();
        reportRows = rowsOf(form->Query_Print);
    });
    print();
    EXPECT_EQ(periodCaption, "기간 : 2002년 06월 01일 부터 2002년 06월 30일 까지");
    EXPECT_EQ(branchCaption, "구 분 : " + form->cbKubun->item(1));
    EXPECT_EQ(rowsOf(form->Query1), gridRows);
    EXPECT_NE(reportRows, gridRows);
    EXPECT_TRUE(neutral());

    // The same criteria for both: the report holds exactly the grid's rows.
    period("2002", "05", "01", "05", "31");
    form->cbKubun->setItemIndex(0);
    run();
    whenPreviewOpens([&](report::PreviewWindow&) { reportRows = rowsOf(form->Query_Print); });
    print();
    EXPECT_EQ(reportRows, rowsOf(form->Query1));
}

TEST_F(Requests, RunAndPrintAreRefusedWhileAPreviewIsOpen) {
    period("2002", "05", "01", "05", "31");
    run();
    bool buttonsOff = false;
    size_t statementsDuringPreview = 0;
    whenPreviewOpens([&](report::PreviewWindow&) {
        buttonsOff = !form->BitBtn1->isEnabled() && !form->PrintBtn->isEnabled();
        const size_t before = statements.size();
        QTest::keyClick(form, Qt::Key_R, Qt::AltModifier);
        QTest::mouseClick(form->PrintBtn, Qt::LeftButton);
        statementsDuringPreview = statements.size() - before;
    });
    print();
    EXPECT_TRUE(buttonsOff);
    EXPECT_EQ(statementsDuringPreview, 0u);
    EXPECT_TRUE(form->BitBtn1->isEnabled());
    EXPECT_TRUE(form->PrintBtn->isEnabled());
    EXPECT_TRUE(neutral());
}

TEST_F(Requests, AFailingPreparationIsCleanedUpBeforeTheErrorBox) {
    raw("CREATE TRIGGER fail_heading BEFORE INSERT ON Test_Ac_Code WHEN NEW.Ac_Code = '40301000000' "
        "BEGIN SELECT RAISE(ABORT, 'heading refused'); END");
    period("2002", "05", "01", "05", "31");
    forms::ScreenCursor cursorAtBox = forms::ScreenCursor::HourGlass;
    onBox = [&](const forms::ShownMessage&) { cursorAtBox = forms::screenCursor(); };
    run();
    EXPECT_EQ(texts(), std::vector<std::string>{"heading refused."});
    EXPECT_EQ(boxes[0].kind, forms::MessageKind::Error);
    EXPECT_EQ(cursorAtBox, forms::ScreenCursor::Default);
    EXPECT_EQ(forms::screenCursor(), forms::ScreenCursor::Default);
    EXPECT_EQ(DayRunCheck(), "NN");
    EXPECT_TRUE(neutral());
}

TEST_F(Requests, AFailingSummaryIsCleanedUpBeforeTheErrorBox) {
    period("2002", "05", "01", "05", "31");
    raw("ALTER TABLE ACCOUNT_JEN_AA RENAME TO ACCOUNT_JEN_AA_AWAY");
    run();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("ACCOUNT_JEN_AA"), std::string::npos) << boxes[0].text;
    EXPECT_EQ(forms::screenCursor(), forms::ScreenCursor::Default);
    EXPECT_FALSE(form->Query1.active());
    EXPECT_EQ(DayRunCheck(), "NN");
    EXPECT_TRUE(neutral());

    boxes.clear();
    print();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(neutral());
}

TEST_F(Requests, AFailingCleanUpIsMadeGoodBeforeTheNextPreparation) {
    period("2002", "05", "01", "05", "31");
    run();
    const auto fresh = rowsOf(form->Query1);

    // The clean-up's delete fails once.
    raw("CREATE TABLE fail_once (x); INSERT INTO fail_once VALUES (1);"
        "CREATE TRIGGER fail_delete BEFORE DELETE ON Test_Ac_Code WHEN (SELECT COUNT(*) FROM fail_once) > 0 "
        "BEGIN DELETE FROM fail_once; SELECT RAISE(FAIL, 'clean-up refused'); END");
    run();
    EXPECT_EQ(texts(), std::vector<std::string>{"clean-up refused."});
    EXPECT_EQ(forms::screenCursor(), forms::ScreenCursor::Default);
    EXPECT_GT(scalar("SELECT COUNT(*) FROM Test_Ac_Code WHERE Serial_No IS NULL"), 0);

    // The next run cleans up first, so its roll-up rows are not counted twice.
    boxes.clear();
    run();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(rowsOf(form->Query1), fresh);
    EXPECT_TRUE(neutral());
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
