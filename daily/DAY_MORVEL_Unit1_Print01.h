// The daily program's report form. For now an empty, hidden form: the report itself
// (bands, preview and printing) is still to come.
#pragma once

#include "forms/form.h"

class TqrfmDay_Morvel_Form : public forms::Form {
    Q_OBJECT
public:
    explicit TqrfmDay_Morvel_Form(QWidget* parent = nullptr);
};

extern TqrfmDay_Morvel_Form* qrfmDay_Morvel_Form;
