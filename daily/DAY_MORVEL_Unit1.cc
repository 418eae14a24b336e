#include "DAY_MORVEL_Unit1.h"

#include "DAY_MORVEL_CODE_UpDate_Unit.h"
#include "DAY_MORVEL_Unit1_Print01.h"
#include "DAY_MORVEL_summary_sql.h"
#include "forms/date_format.h"
#include "forms/message_box.h"
#include "mainform_period.h"
#include "mainform_pick_lists.h"
#include "mainform_requests.h"

TfmDay_Morvel_Form* fmDay_Morvel_Form = nullptr;

namespace {

// The unit's run flag (not a field of the form).
std::string Run_Check;

using forms::GridOption;

const mainform::WindowLayout kLayout{
    "fmDay_Morvel_Form",
    TfmDay_Morvel_Form::kCaption,
    {960, 695},
    {45, 135},
    {"시 작   월 일", {88, 5, 82, 13}},
    {"종 료   월 일", {208, 5, 82, 13}},
    {"부터", {176, 24, 29, 13}},
    {"본지점구분", {400, 6, 71, 13}},
    {208, 4},  // cbMonth_End
    {400, 6},  // cbKubun
    {511, 7},  // BitBtn1
    680,
    "",
    952,
    8,
    GridOption::dgAlwaysShowEditor | GridOption::dgTitles | GridOption::dgIndicator | GridOption::dgColumnResize |
        GridOption::dgColLines | GridOption::dgRowLines | GridOption::dgTabs | GridOption::dgCancelOnExit,
    110,
    17,
    &daily::summaryStatementLines,
};

}  // namespace

std::string& DayRunCheck() { return Run_Check; }

TfmDay_Morvel_Form::TfmDay_Morvel_Form(QWidget* parent)
    : SummaryMainForm(kLayout, Run_Check, TqrfmDay_Morvel_Form::printQuery(), parent) {
    cbDay_First = makePickList("cbDay_First", 132, 38, 3, "01");
    cbDay_First->setItems(mainform::numberedItems(1, 31, 2));
    cbDay_End = makePickList("cbDay_End", 252, 38, 5, "01");
    cbDay_End->setItems(mainform::numberedItems(1, 31, 2));
    using F = TfmDay_Morvel_Form;
    connectPickList(cbDay_First, &F::cbDay_FirstChange, &F::cbDay_FirstEnter, &F::cbDay_FirstExit);
    connectPickList(cbDay_End, &F::cbDay_EndChange, &F::cbDay_EndEnter, &F::cbDay_EndExit);
    applyTabOrder();
}

void TfmDay_Morvel_Form::setDefaultPeriod() {
    cbYear->setText(mainform::todayCharacters(1, 4));
    cbMonth_First->setText(mainform::todayCharacters(6, 2));
    cbDay_First->setText(mainform::todayCharacters(9, 2));
    cbMonth_End->setText(mainform::todayCharacters(6, 2));
    cbDay_End->setText(mainform::todayCharacters(9, 2));
}

bool TfmDay_Morvel_Form::periodAccepted() {
    // The two month-day keys compare as texts; the year is the same for both.
    const std::string startKey = cbMonth_First->text() + "-" + cbDay_First->text();
    const std::string endKey = cbMonth_End->text() + "-" + cbDay_End->text();
    if (startKey.compare(endKey) > 0) {
        refuseOrder();
        return false;
    }
    const std::string start = firstPeriodParameter();
    try {
        forms::strToDate(start);
    } catch (const forms::ConvertError&) {
        forms::showWarning("시작일자 " + start + " : 유효하지 않은 날짜 형식입니다.");
        cbDay_First->setFocus();
        return false;
    }
    const std::string end = endPeriodParameter();
    try {
        forms::strToDate(end);
    } catch (const forms::ConvertError&) {
        forms::showWarning("종료일자 " + end + " : 유효하지 않은 날짜 형식입니다.");
        cbDay_End->setFocus();
        return false;
    }
    return true;
}

std::string TfmDay_Morvel_Form::firstPeriodParameter() const {
    return cbYear->text() + "-" + cbMonth_First->text() + "-" + cbDay_First->text();
}

std::string TfmDay_Morvel_Form::endPeriodParameter() const {
    return cbYear->text() + "-" + cbMonth_End->text() + "-" + cbDay_End->text();
}

std::string TfmDay_Morvel_Form::reportPeriodCaption() const {
    return "기간 : " + cbYear->text() + "년 " + cbMonth_First->text() + "월 " + cbDay_First->text() + "일 부터 " +
           cbYear->text() + "년 " + cbMonth_End->text() + "월 " + cbDay_End->text() + "일 까지";
}

codeprep::CodeUpdateForm& TfmDay_Morvel_Form::preparation() const { return *fmDAY_MORVEL_CODE_Update_Form; }

summary_report::AccountSummaryReportForm& TfmDay_Morvel_Form::newReportForm() {
    mainform::createReportForm(qrfmDay_Morvel_Form);
    return *qrfmDay_Morvel_Form;
}

void TfmDay_Morvel_Form::forgetInstance() { fmDay_Morvel_Form = nullptr; }

void TfmDay_Morvel_Form::cbDay_FirstChange(QObject* Sender) { mainform::pickListChange(mainform::pickListOf(Sender)); }
void TfmDay_Morvel_Form::cbDay_FirstEnter(QObject* Sender) { mainform::pickListEnter(mainform::pickListOf(Sender)); }
void TfmDay_Morvel_Form::cbDay_FirstExit(QObject* Sender) { mainform::pickListExit(mainform::pickListOf(Sender)); }
void TfmDay_Morvel_Form::cbDay_EndChange(QObject* Sender) { mainform::pickListChange(mainform::pickListOf(Sender)); }
void TfmDay_Morvel_Form::cbDay_EndEnter(QObject* Sender) { mainform::pickListEnter(mainform::pickListOf(Sender)); }
void TfmDay_Morvel_Form::cbDay_EndExit(QObject* Sender) { mainform::pickListExit(mainform::pickListOf(Sender)); }
