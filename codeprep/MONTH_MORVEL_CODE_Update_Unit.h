// The monthly program's account-code preparation form (the same lists, statements and
// operations as the daily one) and its global instance.
#pragma once

#include "code_update_form.h"

class TfmMONTH_MORVEL_CODE_Update_Form : public codeprep::CodeUpdateForm {
    Q_OBJECT
public:
    explicit TfmMONTH_MORVEL_CODE_Update_Form(QWidget* parent = nullptr);
};

// Created by the program at start-up; never shown.
extern TfmMONTH_MORVEL_CODE_Update_Form* fmMONTH_MORVEL_CODE_Update_Form;
