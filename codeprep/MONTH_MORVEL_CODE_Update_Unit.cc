#include "MONTH_MORVEL_CODE_Update_Unit.h"

TfmMONTH_MORVEL_CODE_Update_Form* fmMONTH_MORVEL_CODE_Update_Form = nullptr;

TfmMONTH_MORVEL_CODE_Update_Form::TfmMONTH_MORVEL_CODE_Update_Form(QWidget* parent)
    : codeprep::CodeUpdateForm("fmMONTH_MORVEL_CODE_Update_Form", parent) {
    setGeometry(220, 134, 712, 492);
}
