// The monthly program's run and print requests on a demo database: the month order,
// the six-digit period sent, the run flag, the report's period line and title, what a
// failing request leaves behind, and the grid that shows but never changes the rows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "MONTH_MORVEL_CODE_Update_Unit.h"
#include "MONTH_MORVEL_Unit1.h"
#include "MONTH_MORVEL_Unit1_Print01.h"
#include "demo_request_database.h"
#include "engine/trace.h"
#include "forms/application.h"
#include "forms/message_box.h"
#include "forms/platform.h"
#include "report/texts.h"
#include "unowned_report_forms.h"

namespace {

const char* const kOrder = "종료일자보다 시작일자 더 큽니다......";
const char* const kRunFirst = "실행 번튼을 먼저 실행 하세요.....";
// A request's statements: the check for rows left behind, 429 preparation statements,
// the summary, 2 clean-up statements.
constexpr std::size_t kRequestStatements = 433;
constexpr std::size_t kSummaryAt = 430;

class MonthlyRequests : public ::testing::Test {
protected:
    DemoDatabaseCopy database;  // first made, last gone: the form's queries run on it

    void SetUp() override {
        forms::setApplicationTitle("Month_morvel");
        forms::resetPlatform();
        forms::setClock([] { return QDateTime(QDate(2002, 5, 10), QTime(9, 0)); });
        forms::setScreenSize(QSize(1024, 768));
        forms::setMessageResponder([this](const forms::ShownMessage& box) { boxes.push_back(box); });
        engine::setTraceSink([this](const engine::TraceEntry& e) { statements.push_back(e); });
        MonthRunCheck().clear();

        form = new TfmMonth_Morvel_Form;
        fmMonth_Morvel_Form = form;
        form->create();
        fmMONTH_MORVEL_CODE_Update_Form = new TfmMONTH_MORVEL_CODE_Update_Form;
        form->show();
        QApplication::setActiveWindow(form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
        ASSERT_EQ(MonthRunCheck(), "NN");
        boxes.clear();
        statements.clear();
    }

    void TearDown() override {
        engine::setTraceSink({});
        forms::setMessageResponder({});
        freeUnownedReportForms();
        qrfmMonth_Morvel_Form = nullptr;
        delete form;
        fmMonth_Morvel_Form = nullptr;
        delete fmMONTH_MORVEL_CODE_Update_Form;
        fmMONTH_MORVEL_CODE_Update_Form = nullptr;
        forms::resetPlatform();
    }

    void period(const std::string& year, const std::string& first, const std::string& end) {
        form->cbYear->setText(year);
        form->cbMonth_First->setText(first);
        form->cbMonth_End->setText(end);
    }
    void run() { QTest::mouseClick(form->BitBtn1, Qt::LeftButton); }
    void print() { QTest::mouseClick(form->PrintBtn, Qt::LeftButton); }

    std::vector<std::string> texts() const {
        std::vector<std::string> t;
        for (const auto& b : boxes) t.push_back(b.text);
        return t;
    }

    TfmMonth_Morvel_Form* form = nullptr;
    std::vector<forms::ShownMessage> boxes;
    std::vector<engine::TraceEntry> statements;
};

TEST_F(MonthlyRequests, RunSendsSixDigitMonthsOfTheOneYear) {
    period("2002", "03", "05");
    run();
    EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : boxes[0].text);
    EXPECT_EQ(MonthRunCheck(), "YY");
    EXPECT_EQ(forms::screenCursor(), forms::ScreenCursor::Default);
    ASSERT_TRUE(form->Query1.active());
    EXPECT_GT(form->Query1.recordCount(), 3);
    ASSERT_EQ(statements.size(), kRequestStatements);
    const engine::TraceEntry& summary = statements[kSummaryAt];
    EXPECT_TRUE(summary.isSelect);
    EXPECT_NE(summary.text.find("YEAR_CHAR + MONTH_CHAR BETWEEN :tbFirst_Day AND :tbEnd_Day"), std::string::npos);
    EXPECT_EQ(summary.text.find("DATE_DAY"), std::string::npos);
    ASSERT_EQ(summary.params.size(), 155u);
    for (const auto& [name, value] : summary.params) {
        if (name == "tbFirst_Day") EXPECT_EQ(value, "200203");
        else if (name == "tbEnd_Day") EXPECT_EQ(value, "200205");
        else EXPECT_EQ(value, "00000") << name;
    }
    EXPECT_TRUE(database.neutral());
}

TEST_F(MonthlyRequests, MonthOrderIsCheckedAsTextAndNothingElse) {
    period("2002", "05", "05");  // one month
    run();
    EXPECT_TRUE(boxes.empty());
    const auto gridRows = rowsOf(form->Query1);
    ASSERT_FALSE(gridRows.empty());

    statements.clear();
    period("2002", "12", "01");
    run();
    EXPECT_EQ(texts(), std::vector<std::string>{kOrder});
    EXPECT_EQ(boxes[0].kind, forms::MessageKind::Warning);
    EXPECT_EQ(QApplication::focusWidget(), form->cbMonth_End);
    EXPECT_TRUE(statements.empty());
    EXPECT_EQ(rowsOf(form->Query1), gridRows);
    EXPECT_EQ(MonthRunCheck(), "YY");

    // Texts, not numbers: a month shortened to "3" sorts after "10".
    boxes.clear();
    period("2002", "3", "10");
    run();
    EXPECT_EQ(texts(), std::vector<std::string>{kOrder});
    EXPECT_TRUE(statements.empty());

    // No month is refused as a date: the whole year passes.
    boxes.clear();
    period("2002", "01", "12");
    run();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(statements.size(), kRequestStatements);
}

TEST_F(MonthlyRequests, EveryReportNeedsARunAndItsPeriodLineNamesMonthsOnly) {
    period("2002", "05", "06");
    form->cbKubun->setItemIndex(1);
    run();
    int previews = 0;
    std::string title, periodLine, branchLine;
    std::vector<std::string> reportRows;
    whenPreviewOpens([&](report::PreviewWindow&) {
        ++previews;
        title = qrfmMonth_Morvel_Form->QRLabel1->caption();
        periodLine = qrfmMonth_Morvel_Form->qrlYear->caption();
        branchLine = qrfmMonth_Morvel_Form->qrlKubun->caption();
        reportRows = rowsOf(form->Query_Print);
    });
    print();
    EXPECT_EQ(previews, 1);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(title, "월 계 표");
    EXPECT_EQ(periodLine, "기간 : 2002년 05월 부터 2002년 06월 까지");
    EXPECT_EQ(branchLine, "구 분 : " + form->cbKubun->item(1));
    EXPECT_EQ(reportRows, rowsOf(form->Query1));
    EXPECT_EQ(MonthRunCheck(), "NN");
    EXPECT_TRUE(database.neutral());

    print();
    EXPECT_EQ(previews, 1);
    EXPECT_EQ(texts(), std::vector<std::string>{kRunFirst});
    EXPECT_EQ(form->focusWidget(), form->PrintBtn);
    EXPECT_EQ(MonthRunCheck(), "NN");
    EXPECT_TRUE(database.neutral());
}

TEST_F(MonthlyRequests, PrintBeforeAnyRunShowsNothingButRunsItsStatements) {
    period("2002", "05", "05");
    print();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(MonthRunCheck(), "NN");
    EXPECT_EQ(statements.size(), kRequestStatements);
    EXPECT_TRUE(form->Query_Print.active());
    EXPECT_TRUE(database.neutral());
}

TEST_F(MonthlyRequests, RunAndPrintAreRefusedWhileAPreviewIsOpen) {
    period("2002", "05", "05");
    run();
    bool buttonsOff = false;
    std::size_t statementsDuringPreview = 0;
    whenPreviewOpens([&](report::PreviewWindow&) {
        buttonsOff = !form->BitBtn1->isEnabled() && !form->PrintBtn->isEnabled();
        const std::size_t before = statements.size();
        QTest::keyClick(form, Qt::Key_R, Qt::AltModifier);
        QTest::mouseClick(form->PrintBtn, Qt::LeftButton);
        statementsDuringPreview = statements.size() - before;
    });
    print();
    EXPECT_TRUE(buttonsOff);
    EXPECT_EQ(statementsDuringPreview, 0u);
    EXPECT_TRUE(form->BitBtn1->isEnabled());
    EXPECT_TRUE(form->PrintBtn->isEnabled());
    EXPECT_TRUE(database.neutral());
}

TEST_F(MonthlyRequests, AFailingSummaryIsCleanedUpBeforeTheErrorBox) {
    period("2002", "05", "05");
    database.raw("ALTER TABLE ACCOUNT_JEN_AA RENAME TO ACCOUNT_JEN_AA_AWAY");
    run();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, forms::MessageKind::Error);
    EXPECT_NE(boxes[0].text.find("ACCOUNT_JEN_AA"), std::string::npos) << boxes[0].text;
    EXPECT_EQ(forms::screenCursor(), forms::ScreenCursor::Default);
    EXPECT_EQ(MonthRunCheck(), "NN");
    EXPECT_TRUE(database.neutral());
}

TEST_F(MonthlyRequests, TheGridRefusesEditsThoughEditingIsOn) {
    period("2002", "01", "12");
    run();
    ASSERT_TRUE(form->DBGrid1->options().testFlag(forms::GridOption::dgEditing));
    const auto rows = rowsOf(form->Query1);
    const std::string shown = form->DBGrid1->cellText(0, 1);
    statements.clear();

    form->DBGrid1->setCurrentIndex(form->DBGrid1->model()->index(0, 1));
    form->DBGrid1->setFocus(Qt::OtherFocusReason);
    // Editing puts an edit field on the current cell; nothing typed there reaches the rows.
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "42");
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete, Qt::ControlModifier);

    EXPECT_TRUE(boxes.empty());  // no confirmation asked: there is nothing to delete
    EXPECT_TRUE(statements.empty());
    EXPECT_EQ(form->DBGrid1->cellText(0, 1), shown);
    EXPECT_EQ(rowsOf(form->Query1), rows);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
