// The daily program's main window: the shared main window with day boxes beside the
// months, a period of calendar dates, and the daily summary statement.
#pragma once

#include <QObject>
#include <string>

#include "summary_main_form.h"

class TfmDay_Morvel_Form : public mainform::SummaryMainForm {
    Q_OBJECT
public:
    explicit TfmDay_Morvel_Form(QWidget* parent = nullptr);

    // The window's caption, which the pick lists write back after every key.
    static constexpr const char* kCaption = "일계표 입니다.";

    forms::ComboBox* cbDay_First;
    forms::ComboBox* cbDay_End;

    void cbDay_FirstChange(QObject* Sender);
    void cbDay_FirstEnter(QObject* Sender);
    void cbDay_FirstExit(QObject* Sender);
    void cbDay_EndChange(QObject* Sender);
    void cbDay_EndEnter(QObject* Sender);
    void cbDay_EndExit(QObject* Sender);

protected:
    void setDefaultPeriod() override;
    // The order of the two dates, then each date as a calendar date.
    bool periodAccepted() override;
    std::string firstPeriodParameter() const override;  // YYYY-MM-DD
    std::string endPeriodParameter() const override;
    std::string reportPeriodCaption() const override;
    codeprep::CodeUpdateForm& preparation() const override;
    summary_report::AccountSummaryReportForm& newReportForm() override;
    void forgetInstance() override;
};

// The one instance of the main window; set at start-up, cleared by FormClose.
extern TfmDay_Morvel_Form* fmDay_Morvel_Form;

// The unit's run flag: empty at program start, "NN" once FormCreate has finished,
// "YY" after a run.
std::string& DayRunCheck();
