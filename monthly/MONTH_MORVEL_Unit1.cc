#include "MONTH_MORVEL_Unit1.h"

#include "MONTH_MORVEL_CODE_Update_Unit.h"
#include "MONTH_MORVEL_Unit1_Print01.h"
#include "MONTH_MORVEL_summary_sql.h"
#include "mainform_period.h"
#include "mainform_requests.h"

TfmMonth_Morvel_Form* fmMonth_Morvel_Form = nullptr;

namespace {

// The unit's run flag (not a field of the form).
std::string Run_Check;

using forms::GridOption;

const mainform::WindowLayout kLayout{
    "fmMonth_Morvel_Form",
    TfmMonth_Morvel_Form::kCaption,
    {864, 695},
    {131, 135},
    {"시작월", {88, 5, 43, 13}},
    {"종료월", {161, 5, 43, 13}},
    {"부터", {129, 24, 29, 13}},
    {"본지점구분", {232, 6, 71, 13}},
    {161, 3},  // cbMonth_End
    {232, 4},  // cbKubun
    {343, 5},  // BitBtn1
    584,
    "Panel3",
    856,
    6,
    // Editing is on, but the grid's rows cannot be changed: it never writes.
    GridOption::dgEditing | GridOption::dgAlwaysShowEditor | GridOption::dgTitles | GridOption::dgIndicator |
        GridOption::dgColumnResize | GridOption::dgColLines | GridOption::dgRowLines | GridOption::dgTabs |
        GridOption::dgConfirmDelete | GridOption::dgCancelOnExit,
    0,  // every amount column as wide as its field's display width
    15,
    &monthly::summaryStatementLines,
};

}  // namespace

std::string& MonthRunCheck() { return Run_Check; }

TfmMonth_Morvel_Form::TfmMonth_Morvel_Form(QWidget* parent)
    : SummaryMainForm(kLayout, Run_Check, TqrfmMonth_Morvel_Form::printQuery(), parent) {}

void TfmMonth_Morvel_Form::setDefaultPeriod() {
    cbYear->setText(mainform::todayCharacters(1, 4));
    cbMonth_First->setText(mainform::todayCharacters(6, 2));
    cbMonth_End->setText(mainform::todayCharacters(6, 2));
}

bool TfmMonth_Morvel_Form::periodAccepted() {
    if (cbMonth_First->text().compare(cbMonth_End->text()) > 0) {
        refuseOrder();
        return false;
    }
    return true;
}

std::string TfmMonth_Morvel_Form::firstPeriodParameter() const { return cbYear->text() + cbMonth_First->text(); }

std::string TfmMonth_Morvel_Form::endPeriodParameter() const { return cbYear->text() + cbMonth_End->text(); }

std::string TfmMonth_Morvel_Form::reportPeriodCaption() const {
    return "기간 : " + cbYear->text() + "년 " + cbMonth_First->text() + "월 부터 " + cbYear->text() + "년 " +
           cbMonth_End->text() + "월 까지";
}

codeprep::CodeUpdateForm& TfmMonth_Morvel_Form::preparation() const { return *fmMONTH_MORVEL_CODE_Update_Form; }

summary_report::AccountSummaryReportForm& TfmMonth_Morvel_Form::newReportForm() {
    mainform::createReportForm(qrfmMonth_Morvel_Form);
    return *qrfmMonth_Morvel_Form;
}

void TfmMonth_Morvel_Form::forgetInstance() { fmMonth_Morvel_Form = nullptr; }
