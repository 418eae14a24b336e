// Stand-in for the account-code preparation form until its unit is part of the
// build: same class, instance and two procedures, doing nothing.
#pragma once

#include "forms/form.h"

class TfmDAY_MORVEL_CODE_Update_Form : public forms::Form {
    Q_OBJECT
public:
    explicit TfmDAY_MORVEL_CODE_Update_Form(QWidget* parent = nullptr);
    void pRun_CodeUpdate() {}
    void pDelete_Update() {}
};

extern TfmDAY_MORVEL_CODE_Update_Form* fmDAY_MORVEL_CODE_Update_Form;
