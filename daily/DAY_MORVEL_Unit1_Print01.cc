#include "DAY_MORVEL_Unit1_Print01.h"

TqrfmDay_Morvel_Form* qrfmDay_Morvel_Form = nullptr;

namespace {

const summary_report::FormData kFormData{
    "qrfmDay_Morvel_Form",
    "일 계 표",
    "fmDay_Morvel_Form.Query_Print",
    {182, 81},  // QRDBText4
    {264, 188}, // QRDBText5
    {453, 81},  // QRDBText3
    [] { qrfmDay_Morvel_Form = nullptr; },
};

}  // namespace

TqrfmDay_Morvel_Form::TqrfmDay_Morvel_Form(QWidget* parent)
    : AccountSummaryReportForm(kFormData, printQuery(), parent) {}

report::QueryBinding& TqrfmDay_Morvel_Form::printQuery() {
    static report::QueryBinding binding;
    return binding;
}
