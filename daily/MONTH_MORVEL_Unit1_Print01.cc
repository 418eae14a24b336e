#include "MONTH_MORVEL_Unit1_Print01.h"

TqrfmMonth_Morvel_Form* qrfmMonth_Morvel_Form = nullptr;

namespace {

const summary_report::FormData kFormData{
    "qrfmMonth_Morvel_Form",
    "월 계 표",
    "fmMonth_Morvel_Form.Query_Print",
    {181, 80},  // QRDBText4
    {262, 189}, // QRDBText5
    {452, 82},  // QRDBText3
    [] { qrfmMonth_Morvel_Form = nullptr; },
};

}  // namespace

TqrfmMonth_Morvel_Form::TqrfmMonth_Morvel_Form(QWidget* parent)
    : AccountSummaryReportForm(kFormData, printQuery(), parent) {}

report::QueryBinding& TqrfmMonth_Morvel_Form::printQuery() {
    static report::QueryBinding binding;
    return binding;
}
