// The monthly program's main window: the shared main window with a period of whole
// months of one year, and the monthly summary statement.
#pragma once

#include <QObject>
#include <string>

#include "summary_main_form.h"

class TfmMonth_Morvel_Form : public mainform::SummaryMainForm {
    Q_OBJECT
public:
    explicit TfmMonth_Morvel_Form(QWidget* parent = nullptr);

    // The window's caption, which the pick lists write back after every key.
    static constexpr const char* kCaption = "월계표 입니다.";

protected:
    void setDefaultPeriod() override;
    // The order of the two months, compared as texts.
    bool periodAccepted() override;
    std::string firstPeriodParameter() const override;  // YYYYMM
    std::string endPeriodParameter() const override;
    std::string reportPeriodCaption() const override;
    codeprep::CodeUpdateForm& preparation() const override;
    summary_report::AccountSummaryReportForm& newReportForm() override;
    void forgetInstance() override;
};

// The one instance of the main window; set at start-up, cleared by FormClose.
extern TfmMonth_Morvel_Form* fmMonth_Morvel_Form;

// The unit's run flag: empty at program start, "NN" once FormCreate has finished,
// "YY" after a run.
std::string& MonthRunCheck();
