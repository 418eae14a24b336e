// The daily program's account-code preparation form and its global instance, through
// which the main form runs the preparation and the clean-up.
#pragma once

#include "code_update_form.h"

class TfmDAY_MORVEL_CODE_Update_Form : public codeprep::CodeUpdateForm {
    Q_OBJECT
public:
    explicit TfmDAY_MORVEL_CODE_Update_Form(QWidget* parent = nullptr);
};

// Created by the program at start-up; never shown.
extern TfmDAY_MORVEL_CODE_Update_Form* fmDAY_MORVEL_CODE_Update_Form;
