#include "DAY_MORVEL_CODE_UpDate_Unit.h"

TfmDAY_MORVEL_CODE_Update_Form* fmDAY_MORVEL_CODE_Update_Form = nullptr;

TfmDAY_MORVEL_CODE_Update_Form::TfmDAY_MORVEL_CODE_Update_Form(QWidget* parent)
    : codeprep::CodeUpdateForm("fmDAY_MORVEL_CODE_Update_Form", parent) {
    setGeometry(192, 107, 696, 480);
}
