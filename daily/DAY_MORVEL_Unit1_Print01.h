// The daily account summary report ("일 계 표"): the account summary report form bound to
// the daily main form's print query.
//
// A print request creates one with no parent (the application owns it), stores it in
// qrfmDay_Morvel_Form, sets the captions of qrlYear and qrlKubun and calls QuickRep1->preview(),
// which returns once the preview window is closed or the application is ending.
#pragma once

#include "report/query_data_set.h"
#include "account_summary_report_form.h"

class TqrfmDay_Morvel_Form : public summary_report::AccountSummaryReportForm {
public:
    explicit TqrfmDay_Morvel_Form(QWidget* parent = nullptr);

    // The binding of "fmDay_Morvel_Form.Query_Print" and its persistent fields, which the
    // main form fills in when it is created and empties when it goes. Every report form
    // of this class reads it; empty, the report has no rows.
    static report::QueryBinding& printQuery();
};

extern TqrfmDay_Morvel_Form* qrfmDay_Morvel_Form;
