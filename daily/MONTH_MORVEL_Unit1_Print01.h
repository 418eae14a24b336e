// The monthly account summary report ("월 계 표"): the account summary report form bound to
// the monthly main form's print query.
//
// A print request creates one with no parent (the application owns it), stores it in
// qrfmMonth_Morvel_Form, sets the captions of qrlYear and qrlKubun and calls QuickRep1->preview(),
// which returns once the preview window is closed or the application is ending.
#pragma once

#include "report/query_data_set.h"
#include "account_summary_report_form.h"

class TqrfmMonth_Morvel_Form : public summary_report::AccountSummaryReportForm {
public:
    explicit TqrfmMonth_Morvel_Form(QWidget* parent = nullptr);

    // The binding of "fmMonth_Morvel_Form.Query_Print" and its persistent fields, which the
    // main form fills in when it is created and empties when it goes. Every report form
    // of this class reads it; empty, the report has no rows.
    static report::QueryBinding& printQuery();
};

extern TqrfmMonth_Morvel_Form* qrfmMonth_Morvel_Form;
